// What auto-pan calls above the drawing code, or in drawing services built
// elsewhere: the strip render of the view redraw, the crosshair, the view's
// scroll bars and the registry routines of the program's key. Declared here
// and defined by their owners; until those land the program links the
// stand-ins of app/auto_pan_seams_pending.cpp and tests link recording fakes.
#pragma once
#include <cstddef>

#include "geometry/types.h"
#include "platform/registry.h"
#include "platform/win_types.h"

// Renders a world box of the view into the layer plane (clear, items, grid)
// without colourising or invalidating; the caller colourises and paints.
void RenderViewRect(void* window, const pl3::Box* box, int clipToClient);
// Toggles the crosshair lines of the window at its crosshair record (the
// block's CrosshairPos, with CrosshairWord and CursorKind after it).
void DrawCrosshair(HWND window, pl3::Point* crosshairRecord);
// Sets the view's scroll bars from its origin and zoom.
void UpdateViewScrollBars(HWND window);

// The program key's routines (app/core_utilities.h, app/registry_values.h;
// OpenProgramRegistryKey is declared in store/filing_seams.h).
LONG CreateProgramRegistryKey(HKEY root, const char* subkey, DWORD reserved, LPSTR keyClass, DWORD options,
                              REGSAM access, LPSECURITY_ATTRIBUTES security, PHKEY key, LPDWORD disposition);
bool ReadRegistryText(HKEY key, const char* name, char* buffer, std::size_t capacity);
void WriteRegistryTextWithNul(HKEY key, const char* name, const char* text);
