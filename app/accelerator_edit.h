// "ACCELERATOREDIT": the control that captures one key combination (Ctrl,
// Shift and one other key) for the Keyboard page.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

// Clears the captured combination and its text.
constexpr UINT kAccelEditClear = 0x0400 + 1;
// lParam: a KeySequence to fill with a new heap copy of the captured codes
// (the caller frees them); 1 when a combination was captured, else 0.
constexpr UINT kAccelEditGetKeys = 0x0400 + 2;
// The WM_NOTIFY code sent to the parent after each captured combination.
constexpr UINT kAccelEditCaptured = 1;

extern ATOM AcceleratorEditClass;

ATOM RegisterAcceleratorEditClass(HINSTANCE instance);
LRESULT AcceleratorEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
