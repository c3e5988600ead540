// Icons, cursors and bitmaps made from a module's resources
// (platform/resources.h), and drawing icons.
//
// An icon or cursor handle names a record of its own, never reused; a stale
// handle fails the call. Loading picks the group's image of the asked size
// (the largest smaller one when there is none, else the smallest) and scales
// it to that size by nearest pixel. LoadIcon and LoadCursor return shared
// handles: loading the same resource again gives the same handle, and
// DestroyIcon leaves shared icons alone.
#pragma once
#include "platform/gdi.h"
#include "platform/resources.h"

constexpr UINT IMAGE_BITMAP = 0;
constexpr UINT IMAGE_ICON = 1;
constexpr UINT IMAGE_CURSOR = 2;
constexpr UINT LR_DEFAULTCOLOR = 0x0000;
constexpr UINT LR_LOADFROMFILE = 0x0010;  // bitmaps only: `name` is a file path
constexpr UINT LR_DEFAULTSIZE = 0x0040;
constexpr UINT LR_CREATEDIBSECTION = 0x2000;
constexpr UINT LR_SHARED = 0x8000;

constexpr UINT DI_MASK = 0x0001;
constexpr UINT DI_IMAGE = 0x0002;
constexpr UINT DI_NORMAL = 0x0003;
constexpr UINT DI_DEFAULTSIZE = 0x0008;

// The stock icons, drawn by the platform (32 x 32).
#define IDI_APPLICATION MAKEINTRESOURCE(32512)
#define IDI_HAND MAKEINTRESOURCE(32513)
#define IDI_QUESTION MAKEINTRESOURCE(32514)
#define IDI_EXCLAMATION MAKEINTRESOURCE(32515)
#define IDI_ASTERISK MAKEINTRESOURCE(32516)
#define IDI_WINLOGO MAKEINTRESOURCE(32517)
#define IDI_SHIELD MAKEINTRESOURCE(32518)
#define IDI_WARNING IDI_EXCLAMATION
#define IDI_ERROR IDI_HAND
#define IDI_INFORMATION IDI_ASTERISK

// Bitmaps come back as top-down 32-bit DIB sections.
HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags);
#define LoadImage LoadImageA
HICON LoadIconA(HINSTANCE instance, LPCSTR name);
#define LoadIcon LoadIconA
HBITMAP LoadBitmapA(HINSTANCE instance, LPCSTR name);
#define LoadBitmap LoadBitmapA
BOOL DestroyIcon(HICON icon);
BOOL DestroyCursor(HCURSOR cursor);
// Draws the icon at (x, y) scaled to cx by cy (0: its own size, or the
// system icon size with DI_DEFAULTSIZE), blending its alpha. DI_IMAGE alone
// copies the colours without alpha; DI_MASK alone blacks out its opaque
// pixels. A flicker-free brush first fills the rectangle.
BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, UINT step, HBRUSH flickerFree, UINT flags);
BOOL DrawIcon(HDC dc, int x, int y, HICON icon);

namespace pl3 {

// A cursor made from a resource (LoadCursor falls back to it for every name
// that is not a standard shape).
HCURSOR LoadCursorResource(HINSTANCE instance, LPCSTR name);

// The pixels of an icon or cursor, for a backend that shows it: top-down
// 0xAARRGGBB words, straight alpha. False for a stale handle.
struct IconPixels {
  int width;
  int height;
  POINT hotSpot;
  const std::uint32_t* pixels;
};
bool GetIconPixels(HICON icon, IconPixels* out);

// A new icon of width x height top-down 0xAARRGGBB words (straight alpha);
// DestroyIcon frees it. Null for a size outside 1 to 4096.
HICON CreateIconFromPixels(const std::uint32_t* pixels, int width, int height);

}  // namespace pl3
