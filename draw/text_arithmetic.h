// Text arithmetic on values read from records and fonts, which may hold
// anything: sums wrap as the program's 32-bit words do, and products with
// the 8.24 height factor are taken wide before they are truncated.
#pragma once
#include <cstdint>

namespace pl3 {

inline std::int32_t WrapToInt32(std::int64_t value) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
}
inline std::int32_t WrapAdd(std::int32_t a, std::int64_t b) { return WrapToInt32(std::int64_t{a} + b); }

// value x factor / 2^24, truncated toward zero, wrapped to 32 bits.
inline std::int32_t ScaleByFixedFactor(std::int64_t value, std::int64_t factor) {
  const __int128 product = static_cast<__int128>(value) * factor;
  return WrapToInt32(static_cast<std::int64_t>(product / (std::int64_t{1} << 24)));
}

}  // namespace pl3
