// Tools that work on the tracks at the cursor: go to the origin, find the
// nearest track end, start a track from a pad centre or continue one from a
// track end, join two collinear segments into one and split a segment at
// the cursor, and toggle the filled flag of a plane. GotoPadCentre is
// declared in edit/engine_seams.h.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

struct ButtonRecord;
struct EntityRecord;
struct Tower;

// Moves the cursor to the window's coordinate origin.
void GotoOrigin(HWND window);

// Moves the cursor to the nearest track end within the pick distance (plus
// the track's own size) of it; 1 when one was found, else 0.
int FindTrackEndAtCursor(HWND window);

// A new Tower on the design's track nearest to the world point within the
// pick aperture, or null: the symbol search of FindClosestSymbol over tracks
// (1) alone, so selected tracks are passed over and includeSelected 0 sets
// walk filter bit 8. The caller releases the result.
Tower* FindClosestTrack(std::int32_t x, std::int32_t y, std::uint8_t includeSelected);

// Begin a new track at the nearest pad centre (InsertTrackFromPad) or track
// end (ContinueTrack); a beep and nothing else when there is none. The line
// tool is armed when the window is idle.
void InsertTrackFromPad(HWND window, ButtonRecord* button, EntityRecord** pendingSlot);
void ContinueTrack(HWND window, ButtonRecord* button, EntityRecord** pendingSlot);

// Merges the track nearest the cursor with the collinear tracks of its
// layer and width that meet its nearer end: one undo step "Join lines".
void JoinLines(HWND window);
// Replaces the track nearest the cursor by two that meet at the snapped
// cursor: one undo step "Split line".
void SplitLine(HWND window);

// The node flag of a plane drawn as a filled block.
constexpr std::uint16_t kPlaneFilledFlag = 0x1000;
// Toggles the filled flag of the plane nearest the active window's cursor
// (the walk sees the shown layers only); nothing when the nearest item is not a plane.
void TogglePlaneFlag();
