#include "platform/controls/common_control_draw.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace pl3::controls {

namespace {

void Line(HDC dc, int x0, int y0, int x1, int y1) {
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
}

}  // namespace

int ImageListSize(HIMAGELIST list, bool height) {
  int cx = 0, cy = 0;
  if (!list || !ImageList_GetIconSize(list, &cx, &cy)) return 0;
  return height ? cy : cx;
}

HIMAGELIST MakeDragImage(HIMAGELIST icons, int image, HFONT font, const std::string& text, int labelWidth, int height) {
  const int imageWidth = icons ? ImageListSize(icons, false) + 3 : 0;
  const int width = std::max(1, imageWidth + labelWidth);
  height = std::max(1, height);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(nullptr, screen);
  auto oldBitmap = SelectObject(memory, bitmap);
  RECT all{0, 0, width, height};
  FillRect(memory, &all, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  if (icons) ImageList_Draw(icons, image, memory, 0, (height - ImageListSize(icons, true)) / 2, ILD_TRANSPARENT);
  auto oldFont = SelectObject(memory, font);
  SetBkMode(memory, TRANSPARENT);
  SetTextColor(memory, GetSysColor(COLOR_WINDOWTEXT));
  RECT label{imageWidth, 0, width, height};
  DrawTextA(memory, text.c_str(), static_cast<int>(text.size()), &label,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(memory, oldFont);
  SelectObject(memory, oldBitmap);
  DeleteDC(memory);
  // Without alpha: the icon left alpha in its own pixels only, and a 32-bit
  // list would take every other pixel of the picture for transparent.
  HIMAGELIST list = ImageList_Create(width, height, ILC_COLOR24, 1, 0);
  ImageList_Add(list, bitmap, nullptr);
  DeleteObject(bitmap);
  return list;
}

void DrawImageDisabled(HDC dc, HIMAGELIST list, int index, int x, int y) {
  const int w = ImageListSize(list, false), h = ImageListSize(list, true);
  if (w <= 0 || h <= 0 || index < 0 || index >= ImageList_GetImageCount(list)) return;
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, w, h);
  auto old = SelectObject(memory, bitmap);
  ImageList_Draw(list, index, memory, 0, 0, ILD_MASK);
  const COLORREF light = GetSysColor(COLOR_3DHILIGHT), shadow = GetSysColor(COLOR_3DSHADOW);
  for (int offset : {1, 0})
    for (int row = 0; row < h; ++row)
      for (int column = 0; column < w; ++column)
        if (GetPixel(memory, column, row) == RGB(0, 0, 0))
          SetPixelV(dc, x + column + offset, y + row + offset, offset ? light : shadow);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
}

void DrawButtonFace(HDC dc, const RECT& r, bool pressed) {
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  if (r.right - r.left < 2 || r.bottom - r.top < 2) return;
  HPEN light = CreatePen(PS_SOLID, 1, GetSysColor(pressed ? COLOR_3DSHADOW : COLOR_3DHILIGHT));
  HPEN dark = CreatePen(PS_SOLID, 1, GetSysColor(pressed ? COLOR_3DHILIGHT : COLOR_3DDKSHADOW));
  HPEN shadow = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DSHADOW));
  HPEN old = SelectObject(dc, light);
  Line(dc, r.left, r.bottom - 1, r.left, r.top);
  Line(dc, r.left, r.top, r.right - 1, r.top);
  SelectObject(dc, dark);
  Line(dc, r.right - 1, r.top, r.right - 1, r.bottom - 1);
  Line(dc, r.right - 1, r.bottom - 1, r.left - 1, r.bottom - 1);
  if (!pressed) {
    SelectObject(dc, shadow);
    Line(dc, r.right - 2, r.top + 1, r.right - 2, r.bottom - 2);
    Line(dc, r.right - 2, r.bottom - 2, r.left, r.bottom - 2);
  }
  SelectObject(dc, old);
  DeleteObject(light);
  DeleteObject(dark);
  DeleteObject(shadow);
}

void DrawSortMark(HDC dc, const RECT& r, bool up) {
  int cx = (r.left + r.right) / 2;
  int cy = (r.top + r.bottom) / 2;
  HBRUSH brush = GetSysColorBrush(COLOR_3DSHADOW);
  // Rows of a triangle four pixels high: 1, 3, 5, 7 wide.
  for (int row = 0; row < 4; ++row) {
    int half = row;
    int y = up ? cy - 2 + row : cy + 1 - row;
    RECT line{cx - half, y, cx + half + 1, y + 1};
    FillRect(dc, &line, brush);
  }
}

void CopyTextOut(const std::string& text, LPSTR out, int size) {
  if (!out || size <= 0) return;
  size_t n = std::min(text.size(), static_cast<size_t>(size - 1));
  std::memcpy(out, text.data(), n);
  out[n] = '\0';
}

}  // namespace pl3::controls
