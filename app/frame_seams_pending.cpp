// The program's stand-ins for the drawing services of app/frame_seams.h
// until they land: no image cache (menus fall back to the icon resources),
// the interface colours as the system colours they start from without a
// theme, and auto-pan options that are neither read nor written.
#include "app/frame_seams.h"
#include "platform/gdi.h"

int ThemeActive = 0;

ImageCache* NewImageCache() { return nullptr; }
int AddIconToImageCache(ImageCache*, std::uint32_t, int, int) { return 0; }
void PrepareImageCache(ImageCache*) {}
int FindCachedImage(ImageCache*, std::uint32_t, int, int) { return 0; }
void DrawCachedImage(ImageCache*, HDC, int, int, int, int) {}
void DestroyImageCache(ImageCache*) {}

void InitUIColours() {}
void DestroyUIColours() {}
COLORREF GetUIColour(int slot) { return GetSysColor(slot == 18 ? COLOR_HIGHLIGHT : COLOR_3DFACE); }

void LoadAutoPanOptions() {}
void SaveAutoPanOptions() {}
void UpdateAutoPan(HWND) {}
