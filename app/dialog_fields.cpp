#include "app/dialog_fields.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/dialogs.h"

char* FormatScaledLength(std::int64_t value, std::int64_t unitScale, int decimals, int mode) {
  double shown = static_cast<double>(value) / static_cast<double>(unitScale ? unitScale : 1);
  if (mode == kLengthHalved) shown /= 2.0;
  if (mode == kLengthDoubled) shown *= 2.0;
  decimals = std::clamp(decimals, 0, 9);
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, shown);
  // Only a fraction loses its zeros: "100" keeps its own.
  if (std::strchr(text, '.')) {
    std::size_t n = std::strlen(text);
    while (n > 0 && text[n - 1] == '0') text[--n] = '\0';
    if (n > 0 && text[n - 1] == '.') text[--n] = '\0';
  }
  // "-0" from a tiny negative value reads as 0.
  if (std::strcmp(text, "-0") == 0) std::strcpy(text, "0");
  const std::size_t size = std::strlen(text) + 1;
  char* copy = static_cast<char*>(std::malloc(size));
  if (copy) std::memcpy(copy, text, size);
  return copy;
}

void SetDlgItemLength(HWND dialog, int id, std::int64_t length, std::int64_t unitScale, int decimals) {
  char* text = FormatScaledLength(length, unitScale, decimals, kLengthAsIs);
  SetDlgItemText(dialog, id, text ? text : "");
  std::free(text);
}

std::int64_t GetDlgItemScaledValue(HWND dialog, int id, double unitFactor) {
  char text[256] = {};
  GetDlgItemText(dialog, id, text, sizeof text);
  const double product = std::strtod(text, nullptr) * unitFactor;
  if (std::isnan(product)) return 0;
  // 2^63 is exactly representable; anything at or beyond it is held at the ends.
  constexpr double kLimit = 9223372036854775808.0;
  if (product >= kLimit) return INT64_MAX;
  if (product <= -kLimit) return INT64_MIN;
  return static_cast<std::int64_t>(product);
}
