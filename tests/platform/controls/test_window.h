// A visible top-level window for a control to live in, and clicks as the
// user makes them, through the input queue.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/commctrl.h"
#include "platform/gdi.h"
#include "platform/resource_images.h"
#include "platform/surface.h"
#include "platform/user.h"

namespace pl3test {

// Registers the class (again is fine) and makes a visible window of it.
inline HWND MakeParentWindow(const char* className, WNDPROC proc, int width, int height, int background = COLOR_WINDOW) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = proc;
  wc.lpszClassName = className;
  wc.hbrBackground = GetSysColorBrush(background);
  RegisterClassA(&wc);
  return CreateWindowA(className, className, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
                       nullptr, nullptr);
}

inline void ClickAt(HWND window, POINT client, pl3::MouseButton button = pl3::MouseButton::Left) {
  ClientToScreen(window, &client);
  pl3::InjectMouseMove(client);
  pl3::InjectMouseButton(button, true, client);
  pl3::InjectMouseButton(button, false, client);
  pl3::PumpMessages();
}

// Clicks the middle of a rectangle in the window's client coordinates.
inline void ClickMiddle(HWND window, const RECT& r) {
  ClickAt(window, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

// One image of a list drawn with ILD_NORMAL into a fresh bitmap, read back.
struct DrawnImage {
  int cx = 0, cy = 0;
  std::vector<COLORREF> pixels;  // row by row; empty when drawing failed
  COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y * cx + x)]; }
  // Pixels in the columns from `left` on that are not `paper`.
  int CountUnlike(int left, COLORREF paper) const {
    int n = 0;
    for (int y = 0; y < cy; ++y)
      for (int x = left; x < cx; ++x) n += At(x, y) != paper;
    return n;
  }
};

inline DrawnImage DrawImage(HIMAGELIST list, int index) {
  DrawnImage out;
  ImageList_GetIconSize(list, &out.cx, &out.cy);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, out.cx, out.cy);
  auto old = SelectObject(dc, bitmap);
  if (ImageList_Draw(list, index, dc, 0, 0, ILD_NORMAL))
    for (int y = 0; y < out.cy; ++y)
      for (int x = 0; x < out.cx; ++x) out.pixels.push_back(GetPixel(dc, x, y));
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return out;
}

// An image list of solid squares, one per colour (0xRRGGBB).
inline HIMAGELIST SolidImages(int size, const std::vector<std::uint32_t>& colours) {
  HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 2, 1);
  for (std::uint32_t colour : colours) {
    const std::vector<std::uint32_t> pixels(static_cast<size_t>(size * size), 0xFF000000u | colour);
    HICON icon = pl3::CreateIconFromPixels(pixels.data(), size, size);
    ImageList_AddIcon(list, icon);
    DestroyIcon(icon);
  }
  return list;
}

// The colour (0xRRGGBB) a child window shows at a client point.
inline std::uint32_t ShownAt(HWND hwnd, POINT p) {
  const pl3::PixelSurface* s = pl3::WindowSurface(hwnd);
  if (!s) return 0xDEADBEEF;
  MapWindowPoints(hwnd, GetAncestor(hwnd, GA_ROOT), &p, 1);
  return s->pixels[p.y * s->stride + p.x] & 0xFFFFFFu;
}


// A colour as ShownAt gives it.
inline std::uint32_t AsPixel(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

}  // namespace pl3test
