// The mouse road's rows of the drawing tools: the ghost step of a mode that
// draws a single record, and the commit of its click.
#pragma once
#include <cstdint>

#include "edit/engine_seams.h"
#include "platform/win_types.h"

struct ButtonRecord;
struct EntityRecord;

// The ghost step of the drawing tools' modes; 0 when the kind or mode is not
// theirs (the caller hands it on).
int UpdateDrawnItemGhost(GhostKind kind, HDC dc, ButtonRecord* button, EntityRecord** slot);
// The commit of a drawing tool's click; 0 when the mode is not theirs.
int CommitDrawnItem(std::uint8_t mode, HWND window, ButtonRecord* button, EntityRecord** slot);

// The second end of a track-like pending record follows the cursor (modes 1
// and 104); its ghost is redrawn when the end moved.
void DragPendingSecondEnd(HDC dc, EntityRecord** slot, ButtonRecord* button);
// The pending record moves whole to the snapped cursor (mode 17): held by
// its reference point (a track's second end, the centre of an arc, circle,
// rectangle or hole, a polygon's first point, a text's position), its ghost
// redrawn when the move shows in view pixels.
void DragPendingRecord(HDC dc, EntityRecord** slot, ButtonRecord* button);
