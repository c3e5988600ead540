// The identity record of a library item (ID Info, 209: 52 bytes), by which
// two copies of one schematic symbol definition are known to be the same.
#pragma once
#include <cstdint>

struct Tower;

constexpr std::uint32_t kIdInfoSize = 52;

// 1 when two ID Info records are equal byte for byte, 0 when they differ or
// either is null.
int SameIdInfo(const std::uint8_t* a, const std::uint8_t* b);
// The ID Info record of an item (its 209 child, when it holds 52 bytes), or null.
const std::uint8_t* IdInfoOf(const Tower* item);
