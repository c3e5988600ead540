// The time-stamp record (209) a design is marked with: the local time and
// the program's entropy pool.
#pragma once
#include <cstdint>

struct Tower;

constexpr std::uint16_t Type_TimeStamp = 209;
constexpr std::uint32_t kTimeStampRecordSize = 52;

// Appends a time-stamp record under the Tower: the local time as a
// SYSTEMTIME, a zero word and the eight words of EntropyPool. The new
// record's Tower (the caller releases it), or null when it could not be stored.
Tower* AddTimeStampRecord(const Tower* t);
