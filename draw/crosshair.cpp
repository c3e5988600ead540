#include "draw/crosshair.h"

#include "platform/gdi.h"
#include "platform/user.h"

namespace {
constexpr COLORREF kCrosshairColour = 0xFFFFFF;
constexpr std::uint32_t kStyleTargetCursors = 1;
}  // namespace

bool CrosshairHiddenInMode(std::uint8_t mode) { return mode == 35 || mode == 36 || mode == 37 || mode == 55; }

namespace {

bool CrosshairSuppressed(const CrosshairRecord* record) {
  const std::uint8_t mode = ActiveWindowData ? ActiveWindowData->EditMode : 0;
  return CrosshairHiddenInMode(mode) || record->style == kStyleTargetCursors;
}

void DrawLinesAt(HWND window, std::int32_t x, std::int32_t y) {
  HDC dc = GetDC(window);
  if (!dc) return;
  RECT client{};
  GetClientRect(window, &client);
  HPEN pen = CreatePen(PS_SOLID, 0, kCrosshairColour);
  HPEN oldPen = SelectObject(dc, pen);
  const int oldRop = SetROP2(dc, R2_XORPEN);
  MoveToEx(dc, 0, y, nullptr);
  LineTo(dc, client.right, y);
  MoveToEx(dc, x, 0, nullptr);
  LineTo(dc, x, client.bottom);
  SetROP2(dc, oldRop);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
  ReleaseDC(window, dc);
}

}  // namespace

void DrawCrosshair(HWND window, const CrosshairRecord* record) {
  if (!record || CrosshairSuppressed(record)) return;
  DrawLinesAt(window, record->position.x, record->position.y);
}

void MoveCrosshair(HWND window, CrosshairRecord* record, std::int32_t x, std::int32_t y) {
  if (!record || (record->position.x == x && record->position.y == y)) return;
  if (CrosshairSuppressed(record)) return;
  DrawLinesAt(window, x, y);
  DrawLinesAt(window, record->position.x, record->position.y);
  record->position = {x, y};
}
