// Length fields of dialogs: a length in internal units shown in a unit with a
// fixed number of decimals, and a typed number read back into internal units.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

// Modes of FormatScaledLength for lists that keep halves.
constexpr int kLengthAsIs = 0;
constexpr int kLengthHalved = 1;   // the value is halved first
constexpr int kLengthDoubled = 2;  // the value is doubled first (a stored half shown whole)

// A new heap string (freed by the caller) with value / unitScale printed with
// `decimals` decimals (0 to 9), then its trailing zeros and a bare trailing
// point cut off: 2.500 gives "2.5", 3.000 gives "3". A unit scale of 0 counts
// as 1. Null only when memory runs out.
char* FormatScaledLength(std::int64_t value, std::int64_t unitScale, int decimals, int mode);
// The same routine under the name the settings dialogs use.
inline char* FormatTrimmedValue(std::int64_t value, std::int64_t unitScale, int decimals, int mode) {
  return FormatScaledLength(value, unitScale, decimals, mode);
}

// Shows FormatScaledLength(length, unitScale, decimals, kLengthAsIs) in the
// field. The size dialogs pass 3 decimals.
void SetDlgItemLength(HWND dialog, int id, std::int64_t length, std::int64_t unitScale, int decimals);

// Reads up to 255 characters of the field as a decimal number (leading blanks
// skipped; text that is no number reads 0), multiplies it by the unit factor
// and returns the product truncated toward zero, held within the 64-bit range.
std::int64_t GetDlgItemScaledValue(HWND dialog, int id, double unitFactor);
// The same routine under the name the settings dialogs use.
inline std::int64_t GetDlgItemScaled(HWND dialog, int id, double unitFactor) {
  return GetDlgItemScaledValue(dialog, id, unitFactor);
}
