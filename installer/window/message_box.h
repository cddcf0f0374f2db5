// System message boxes from a message kind and a set of buttons.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "platform.h"

// Button kinds, by their position in a set of buttons.
enum class MessageButton : std::uint8_t { Yes = 0, No = 1, OK = 2, Cancel = 3, Abort = 4, Retry = 5 };

// A set of button kinds, one bit per position.
class MessageButtons {
public:
  constexpr MessageButtons() = default;
  constexpr MessageButtons(std::initializer_list<MessageButton> buttons) {
    for (MessageButton b : buttons) bits_ |= Bit(b);
  }
  constexpr bool Has(MessageButton b) const { return (bits_ & Bit(b)) != 0; }

private:
  static constexpr std::uint8_t Bit(MessageButton b) { return static_cast<std::uint8_t>(1u << static_cast<int>(b)); }
  std::uint8_t bits_ = 0;
};

// Message kinds of ShowMessageBox and the icon each one shows.
inline constexpr std::uint8_t kMessageWarning = 0;      // MB_ICONWARNING
inline constexpr std::uint8_t kMessageError = 1;        // MB_ICONERROR
inline constexpr std::uint8_t kMessageInformation = 2;  // MB_ICONINFORMATION
inline constexpr std::uint8_t kMessageQuestion = 3;     // MB_ICONQUESTION; any other kind: no icon

// The MessageBoxW style for a kind and a set of buttons: the kind's icon combined with
// MB_YESNO for Yes and No (with Cancel as well: MB_YESNOCANCEL), else MB_RETRYCANCEL for Retry and
// Cancel, else MB_ABORTRETRYIGNORE for Abort and Retry, else MB_OKCANCEL for OK and Cancel, and
// MB_OK for everything else (the empty set included).
std::uint32_t MessageBoxStyle(std::uint8_t kind, MessageButtons buttons);

// Shows a modal system message box owned by owner (0: none) through the platform and returns
// when the user has closed it. The answer is not needed by any caller and is not returned.
void ShowMessageBox(const std::u16string& caption, const std::u16string& text, std::uint8_t kind,
                    MessageButtons buttons, WindowRef owner);
