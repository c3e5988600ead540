// The spiral tool's begin (BeginInsertSpiral, declared in
// edit/key_command_seams.h) and its ghost steps while the mouse moves.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

struct ButtonRecord;
struct EntityRecord;

// Mode 64: the centre follows the snapped cursor.
void MoveSpiralCentre(HDC dc, EntityRecord** slot, ButtonRecord* cursor);
// Mode 65: the start point follows the snapped cursor.
void MoveSpiralStart(HDC dc, EntityRecord** slot, ButtonRecord* cursor);
// Mode 67: the end point follows the cursor, unsnapped.
void MoveSpiralEnd(HDC dc, EntityRecord** slot, ButtonRecord* cursor);
// Mode 66: the pitch is the distance from the start to the snapped cursor, truncated.
void SetSpiralPitch(HDC dc, EntityRecord** slot, ButtonRecord* cursor);
// The ghost step of a spiral mode (64 to 67); 0 for any other mode.
int UpdateSpiralGhost(std::uint8_t mode, HDC dc, EntityRecord** slot, ButtonRecord* cursor);
