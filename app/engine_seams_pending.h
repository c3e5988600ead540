// The stand-ins of app/engine_seams_pending.cpp that the mouse road's tool
// dispatch (app/placing_tool_dispatch.cpp) falls back to for the modes and
// insertion types whose tools are not built yet.
#pragma once
#include <cstdint>

#include "edit/engine_seams.h"

void PendingUpdateModeGhost(GhostKind kind, HDC dc, ButtonRecord* button, EntityRecord** pendingSlot);
void PendingCommitModeItem(std::uint8_t mode, HWND window, ButtonRecord* button, EntityRecord** pendingSlot);
void PendingBeginInsertion(HWND window, ButtonRecord* button, EntityRecord** pendingSlot);
