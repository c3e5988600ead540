// The accept handlers of the drawing tools: each checks the record in hand,
// stores it in the window's design (with an undo step unless said
// otherwise) and runs the finishing tail, which frees the record and
// returns the window to idle.
#pragma once
#include <cstdint>

#include "geometry/types.h"
#include "platform/win_types.h"

struct EntityRecord;

// Frees the record in the slot (or says there is none), then leaves the
// window idle with the menus for nothing and the normal cursor.
void FinishAcceptedItem(HWND window, EntityRecord** slot);

void AcceptCentroid(EntityRecord** slot);
void AcceptArc(EntityRecord** slot);
void AcceptRectangle(EntityRecord** slot);
// The box of the new text (malloc'd; the caller frees it), or null.
pl3::Box* AcceptText(EntityRecord** slot);
// 1 when stored; 0 for a radius of 0 (the record stays).
int AcceptCircle(EntityRecord** slot);
// Stores a thin line without undo and goes on from its end; the box of the
// segment (malloc'd), or null for a zero-length segment.
pl3::Box* AcceptThinLineSegment(EntityRecord** slot);
void AcceptThinArc(EntityRecord** slot);
