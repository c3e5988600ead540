// A via placed while routing, at a track's layer change, and the test that
// keeps holes and vias off pads and other holes.
#pragma once
#include <cstdint>

#include "geometry/types.h"

struct EntityRecord;
struct HolePayload;
struct Tower;

// 1 when a pad or a hole already stands at exactly the hole's centre: in a
// PCB window the display list's holes (with the pads' drills), elsewhere the
// design's own holes and placed pads.
int IsHoleOnPad(const HolePayload* hole);

// The 256-entry layer map of a via placed while routing: 1 on layers 1-32
// and 38-255, 0 on layer 0 and layers 33-37.
std::uint16_t RoutingViaLayerFlag(std::uint32_t layer);

// Stores a via of the window's current via size from the top to the bottom
// layer at the point, as one undo step "Insert Via", and puts it on the
// display list. A Tower on the new via (the caller releases it), or null
// when there is no via size or the point already holds a pad or hole (no
// undo step is then opened).
Tower* InsertViaAtPoint(pl3::Point point);

// The accept of the via and hole tools: the pending via or hole is stored
// with undo, its size becomes the default of its list (vias or holes) and
// the window returns to idle; 1. A record without a size reference, or one
// over a pad or hole, is refused with the exclamation beep; 0.
int StoreViaOrHole(EntityRecord** pendingSlot);
