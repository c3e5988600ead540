#include "library/dialog_text.h"

#include <vector>

#include "platform/dialogs.h"
#include "platform/user.h"

namespace pl3 {

std::optional<std::string> GetDlgItemTextAlloc(HWND dialog, int controlId) {
  HWND control = GetDlgItem(dialog, controlId);
  if (!control) return std::nullopt;
  const int length = GetWindowTextLength(control);
  if (length <= 0) return std::string();
  // Read into a buffer of its own: this file then instantiates no string
  // filling, so that a program whose tests define this reader themselves
  // never pulls the file in to resolve that template.
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
  const UINT copied = GetDlgItemText(dialog, controlId, buffer.data(), length + 1);
  return std::string(buffer.data(), copied);
}

}  // namespace pl3
