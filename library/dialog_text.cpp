#include "library/dialog_text.h"

#include "platform/dialogs.h"
#include "platform/user.h"

namespace pl3 {

std::optional<std::string> GetDlgItemTextAlloc(HWND dialog, int controlId) {
  HWND control = GetDlgItem(dialog, controlId);
  if (!control) return std::nullopt;
  const int length = GetWindowTextLength(control);
  if (length <= 0) return std::string();
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const UINT copied = GetDlgItemText(dialog, controlId, text.data(), length + 1);
  text.resize(copied);
  return text;
}

}  // namespace pl3
