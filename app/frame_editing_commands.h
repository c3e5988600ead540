// The editing commands of the frame's menus that the hub performs on the
// active editor window before forwarding them.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

struct CurrentWindowData;

// True when the id is one of them (it ran, or found no window to act on);
// the hub then forwards the command.
bool RunFrameEditingCommand(HWND frame, HWND child, CurrentWindowData* state, UINT id);

// A command whose operation is done by its owner (PerformFrameCommandOperation)
// with the hub's own steps around it.
constexpr std::uint8_t kRowNeedsWindow = 0x1;  // nothing without an active window
constexpr std::uint8_t kRowCancel = 0x2;       // cancel the current operation first
constexpr std::uint8_t kRowRedraw = 0x4;       // redraw the view when the operation ran
constexpr std::uint8_t kRowRecord = 0x8;       // record the design change when it ran
constexpr std::uint8_t kRowRebuild = 0x10;     // rebuild a PCB window's display list when it ran
struct FrameOperationRow {
  UINT id;
  std::uint8_t steps;
};
// The row of the id, or null for an id the hub only forwards.
const FrameOperationRow* FindFrameOperationRow(UINT id);
