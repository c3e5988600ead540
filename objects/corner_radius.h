// Rounding and sharpening the corner where two tracks meet. A sharp corner is
// rounded (RadiusCorner): both tracks are shortened and joined by an arc. A
// rounded corner, two tracks joined by an arc, is made sharp again
// (UnradiusCorner): the arc goes and the tracks are extended to meet. Each is
// one undo step of the window. The corner command (DoCornerCommand) finds the
// corner under the cursor and hands it over.
#pragma once
#include <cstdint>

#include "objects/graphic_records.h"
#include "platform/win_types.h"

struct Tower;

// The corner as the corner finder hands it over. In both payloads the first
// end point is the one at the corner. The Towers stay the finder's.
struct CornerRecord {
  LinePayload first;    // the stored payload of the first track
  Tower* firstTrack;
  Tower* secondTrack;
  Tower* arc;           // the arc between them; null at a sharp corner
  LinePayload second;   // the stored payload of the second track
};

// Rounds a sharp corner with an arc of the radius. A corner too small for it
// adds "Corner is too small to radius." to the window's log and beeps,
// changing nothing. RadiusCorner may exchange the record's two payloads (not
// its Towers) so that the turn from the first to the second is at most half
// a turn; the old tracks are deleted, so the record's Towers no longer stand
// on entities afterwards.
void RadiusCorner(HWND window, CornerRecord* corner, std::uint32_t radius);
// Replaces the arc and the two tracks by two tracks that meet where their
// lines cross. Nothing happens for parallel tracks or a crossing between the
// ends of a track; a crossing outside the editable area only beeps.
void UnradiusCorner(HWND window, const CornerRecord* corner);
