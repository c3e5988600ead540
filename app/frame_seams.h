// What the frame, its menus and its start and exit ask of the drawing
// services (the image cache, the interface colour slots and auto-pan). They
// are defined with the drawing code; until they land the program links the
// stand-ins of app/frame_seams_pending.cpp.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

// ---- Image cache ---------------------------------------------------------------------------

struct ImageCache;

ImageCache* NewImageCache();
// Adds every 32-bit image of the icon group of that size; 0 when there is no
// such group.
int AddIconToImageCache(ImageCache* cache, std::uint32_t iconId, int width, int height);
void PrepareImageCache(ImageCache* cache);
// The 1-based number of the entry of that id and size; 0 when there is none.
int FindCachedImage(ImageCache* cache, std::uint32_t id, int width, int height);
// Draws entry `index` (from 0) at (x, y); state 0 normal, 1 disabled, 2 highlighted.
void DrawCachedImage(ImageCache* cache, HDC dc, int x, int y, int index, int state);
void DestroyImageCache(ImageCache* cache);

// ---- Interface colours ------------------------------------------------------------------------

// 1 when a visual-styles theme is active; set at start-up, 0 on this platform.
extern int ThemeActive;
void InitUIColours();
void DestroyUIColours();
// A slot's colour (18 the selected menu item's background, 2 the tab bar's).
COLORREF GetUIColour(int slot);

// ---- Auto-pan ------------------------------------------------------------------------------------

// "AutoPanOptions" under "Initialisation": read at start, written at exit.
void LoadAutoPanOptions();
void SaveAutoPanOptions();
// The mouse-move check of the view being auto-panned.
void UpdateAutoPan(HWND view);
