// The installer's seven user texts, German by default; a translation file may replace them.
#pragma once

#include <array>
#include <string>

enum class MessageKey : int {
  All,            // "msg_all": caption of the check box that checks every package
  Pause,          // "msg_pause": pause button, and the text before the seconds of the countdown
  Inst,           // "msg_inst": install button
  Fin,            // "msg_fin": result of an item that installed
  Err,            // "msg_err": caption of the "nothing to install" box
  ErrFailed,      // "msg_err_failed": result of a failed item, before its code
  ErrNoElements,  // "msg_err_noelements": text of the "nothing to install" box
};
inline constexpr int kMessageCount = 7;

class TMessageTable {
public:
  // Every text empty until SetDefaults.
  TMessageTable() = default;

  // The built-in German texts.
  void SetDefaults();
  void Clear();
  const std::u16string& Text(MessageKey key) const { return texts_[static_cast<std::size_t>(key)]; }
  void SetText(MessageKey key, const std::u16string& text) { texts_[static_cast<std::size_t>(key)] = text; }
  // Replaces the text whose key ("msg_all", ...) equals key exactly; false, changing nothing,
  // when key names no text.
  bool Replace(const std::u16string& key, const std::u16string& text);

  static const char16_t* KeyName(MessageKey key);
  static const char16_t* DefaultText(MessageKey key);

private:
  std::array<std::u16string, kMessageCount> texts_;
};

// The process-wide table. Its texts are empty until InitMessageTable, which the program entry
// calls where the window module initialises; FinalizeMessageTable empties it again at exit.
TMessageTable& MessageTable();
void InitMessageTable();
void FinalizeMessageTable();
