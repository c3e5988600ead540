// The frame's services to the walks that draw: the list of transformed hole
// copies that the drawing passes draw after the copper. The fill of the
// walker's per-type table is app/net_flag_table.cpp.
#pragma once
#include <cstdint>

#include "geometry/types.h"

struct Tower;

// One hole copy: the entity's payload (at most 604 bytes, the rest zero)
// turned by the transform, and the net it belongs to when asked for.
constexpr std::uint32_t kTransformedCopyBody = 604;
struct TransformedCopy {
  TransformedCopy* next;
  std::uint32_t netCode;
  std::uint16_t typeCode;
  std::uint16_t spare;
  std::uint8_t body[kTransformedCopyBody];
};

// The copies pushed since the list was last freed, newest first, and their count.
TransformedCopy* TransformedCopies();
std::uint32_t TransformedCopyCount();
void FreeTransformedCopies();
