// The program's settings block, read from the registry at start-up. It holds
// only what is built so far; the fields grow as their readers arrive.
#pragma once
#include <cstdint>

// Bits of the error mask of ShowAndLogError: a severity's bit shows its
// message box; bits 31 and 0 together also append every report to the error
// log "PL3_Err.log".
constexpr std::uint32_t ErrorMaskLogBits = 0x80000001u;
// The program runs with the mask at 0: internal error reports are neither
// shown nor logged unless a developer sets bits.
constexpr std::uint32_t DefaultErrorMask = 0;

struct SettingsBlock {
  std::uint32_t errorMask = DefaultErrorMask;
};

// The one settings block of the program.
extern SettingsBlock Settings;
