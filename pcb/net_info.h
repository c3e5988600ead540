// The Net Info record (120) of a net: {u32 net id, u32 flags}.
#pragma once
#include <cstdint>

struct Tower;

// Declared for the store in store/seams.h: the net's Net Info payload,
// created with the window's next net id and flags 0 when missing; null when
// the Tower stands on nothing.
std::uint32_t* GetNetInfo(const Tower* net);
