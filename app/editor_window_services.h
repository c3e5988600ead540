// What every editor window procedure calls on the frame's behalf for the
// mouse: the right-button hold timer and its menu, and the routing of the
// mouse and scroll messages into the editing engine.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

struct ButtonRecord;

// The frame's timer that opens the hold menu.
constexpr UINT_PTR kButtonHoldTimer = 2;

// Unless the hold menu is open: remembers the mouse's screen position, marks
// the timer running and starts the frame's timer with the right button's
// hold time.
void StartButtonHoldTimer(ButtonRecord* button);
// Kills the timer if it runs.
void StopButtonHoldTimer(ButtonRecord* button);
// Stops the timer, then hands the release to the right-button dispatcher.
void StopButtonHoldTimerAndRelease(HWND window, ButtonRecord* button, UINT message);
// The frame's handling of its hold timer: ends any drag rectangle, releases
// the capture and opens the hold menu at the mouse.
void OnButtonHoldTimer();
// Shows the hold menu ("Menu Failed" when it cannot), then moves the mouse
// back to where the button was pressed.
void DoRButtonMenu(HWND owner, ButtonRecord* button);

// The mouse and scroll messages of an editor window whose block is active:
// non-zero when the message was one of them and has been handled.
int RouteEditorMouseMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The mouse's position in the window: the client pixel and the world point
// (view origin + pixel) x units per pixel, truncated to 32 bits, on each axis
// whose lock bit (AxisLock) is clear; the world point becomes the cursor.
void GetCursorWorldPosition(HWND window);

// The program-wide entropy pool that the netlist import stamps designs with.
extern std::uint32_t EntropyPool[8];
// Mixes one message into the pool: a word at a random index is replaced by a
// random number, then wParam, lParam and the message are each added to the
// word at a further random index. Called first by every window procedure.
void AddEntropyFromMessage(UINT message, LPARAM lParam, WPARAM wParam);

// Realises the program palette in the window's context (foreground); when
// colours changed the window hears WM_PALETTECHANGED from itself. Returns the
// number of changed colours.
UINT RealizeViewPalette(HWND window);
// Realises the palette in the background; the window repaints when colours changed.
void OnPaletteChanged(HWND window, HWND changer);
// A new heap box {x0, y0, x0 + width, y0 + height} (free()) of the active
// window's view in world units: its origin and client size times its zoom.
std::int32_t* GetWindowViewBox(HWND window);
