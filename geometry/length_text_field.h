// The check that option pages run on a typed length field before accepting it.
#pragma once
#include "platform/win_types.h"

namespace pl3 {

// True when the dialog control holds a non-empty text that
// ParseLengthWithUnits accepts; false also when the text cannot be read.
bool IsValidLengthText(HWND dialog, int controlId);

}  // namespace pl3
