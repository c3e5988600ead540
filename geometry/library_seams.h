// What the geometry kernel calls in the library editors' subsystem, which lies
// above it. Declared here, defined by library/; geometry never includes a
// library/ header.
#pragma once
#include <optional>
#include <string>

#include "platform/win_types.h"

namespace pl3 {

// A copy of a dialog control's text ("" when the control is empty), or none
// when the control's text cannot be read.
std::optional<std::string> GetDlgItemTextAlloc(HWND dialog, int controlId);

}  // namespace pl3
