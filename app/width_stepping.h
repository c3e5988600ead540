// The width commands: Increase Width, Decrease Width, Maximise Width and
// Minimise Width step the size of the item being placed or edited, or of the
// selection in Edit Selection, through the "on" entries of its size list.
#pragma once
#include "platform/win_types.h"

struct CurrentWindowData;

// Each erases the ghost of the current operation, steps by the edit mode and
// draws the ghost again. At the end of a list Increase and Decrease show the
// "Invalid Size" notice ("Largest available size already selected" under
// "Increase Width", "Smallest available size already selected" under
// "Decrease Width"), or only beep when the user switched the notice off (bit 0
// of "Flags" under "Initialisation"). A custom size is refused with its own
// message. A null state means the active window's.
void IncreaseWidth(HWND window, CurrentWindowData* state);
void DecreaseWidth(HWND window, CurrentWindowData* state);
void MaximiseWidth(HWND window, CurrentWindowData* state);
void MinimiseWidth(HWND window, CurrentWindowData* state);
