#include "message_box.h"

namespace {

constexpr std::uint32_t kOk = 0x0, kOkCancel = 0x1, kAbortRetryIgnore = 0x2, kYesNoCancel = 0x3, kYesNo = 0x4,
                        kRetryCancel = 0x5;

std::uint32_t IconStyle(std::uint8_t kind) {
  switch (kind) {
    case kMessageWarning: return 0x30;
    case kMessageError: return 0x10;
    case kMessageInformation: return 0x40;
    case kMessageQuestion: return 0x20;
    default: return 0;
  }
}

std::uint32_t ButtonStyle(MessageButtons b) {
  using B = MessageButton;
  if (b.Has(B::Yes) && b.Has(B::No)) return b.Has(B::Cancel) ? kYesNoCancel : kYesNo;
  if (b.Has(B::Retry) && b.Has(B::Cancel)) return kRetryCancel;
  if (b.Has(B::Abort) && b.Has(B::Retry)) return kAbortRetryIgnore;
  if (b.Has(B::OK) && b.Has(B::Cancel)) return kOkCancel;
  return kOk;
}

}  // namespace

std::uint32_t MessageBoxStyle(std::uint8_t kind, MessageButtons buttons) {
  return IconStyle(kind) | ButtonStyle(buttons);
}

void ShowMessageBox(const std::u16string& caption, const std::u16string& text, std::uint8_t kind,
                    MessageButtons buttons, WindowRef owner) {
  Platform::Current().ShowMessage(owner, text, caption, MessageBoxStyle(kind, buttons));
}
