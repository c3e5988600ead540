// The start and the end of the tools that place one new item a click at a
// time (dimensioners, datums): arming on the active window when it is idle,
// and going back to idle once the item is stored or given up.
#pragma once
#include <cstdint>

// The bit of the window's walk flags that a new insertion clears.
constexpr std::uint32_t kWalkNewInsertion = 0x40;

// When the active window is idle: clears kWalkNewInsertion and makes `type`
// the pending insertion type. 1 when armed.
int ArmPlacingTool(std::uint8_t type);
// Clears the pending insertion type, the edit mode, the click state and the
// insertion type code, and rebuilds the selection and options menus for
// nothing selected.
void EndPlacingTool();
