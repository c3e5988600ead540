// Kept apart from the other drawing code: tests of the design objects bring
// their own GhostOriginMarkerOnDC and DrawDatumMarker.
#include "draw/view_markers.h"

#include "draw/gdi_shapes.h"
#include "geometry/view_mapping.h"
#include "objects/cursor_zoom.h"
#include "objects/frame_seams.h"
#include "objects/graphic_records.h"
#include "platform/gdi.h"
#include "platform/reset_hooks.h"
#include "platform/user.h"

std::uint32_t DatumMarkerColour = 0x0000FF00;

namespace {

constexpr std::int32_t kDatumArm = 20;
constexpr std::int32_t kOriginArrow = 20;
constexpr std::int32_t kOriginTail = 5;
constexpr std::int32_t kOriginHead = 5;
constexpr COLORREF kWhite = 0x00FFFFFF;
constexpr COLORREF kGhostGreen = 0x0000FF00;
constexpr std::int32_t kGhostCrossArm = 20;

void ResetMarkerColour() { DatumMarkerColour = 0x0000FF00; }
[[maybe_unused]] const bool g_registered = pl3::RegisterGlobalReset(&ResetMarkerColour);

// The view pixel of a world point; false when it lies left of or above the view's origin.
bool MarkerPixel(std::int32_t x, std::int32_t y, std::int32_t* px, std::int32_t* py) {
  pl3::WorldToView(x, y);
  if (x < 0 || y < 0) return false;
  *px = x;
  *py = y;
  return true;
}

void Line(HDC dc, int x1, int y1, int x2, int y2) {
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

// A cross through (px, py) reaching `arm` pixels each way. Every pixel is
// drawn once (the vertical arm leaves out the centre), so XOR toggles it.
void DrawCross(HDC dc, int px, int py, int arm) {
  Line(dc, px - arm, py, px + arm + 1, py);
  Line(dc, px, py - arm, px, py);
  Line(dc, px, py + 1, px, py + arm + 1);
}

// The two arrows of the origin marker: x to the right, y upward, each from
// `tail` behind the point to `length` ahead, with heads `head` by `head`.
// The shafts include their tips, the barbs stop before them, and the y shaft
// leaves out the point the x shaft drew.
void DrawArrowPair(HDC dc, int px, int py, int length, int tail, int head) {
  const int tipX = px + length, tipY = py - length;
  Line(dc, px - tail, py, tipX + 1, py);
  Line(dc, tipX - head, py - head, tipX, py);
  Line(dc, tipX - head, py + head, tipX, py);
  Line(dc, px, py + tail, px, py);
  Line(dc, px, py - 1, px, tipY - 1);
  Line(dc, px - head, tipY + head, px, tipY);
  Line(dc, px + head, tipY + head, px, tipY);
}

// Draws on the context with a solid pen of the colour and the raster
// operation, both put back afterwards.
template <typename Draw>
void WithPen(HDC dc, COLORREF colour, int rop, Draw draw) {
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  HPEN oldPen = SelectObject(dc, pen);
  const int oldRop = SetROP2(dc, rop);
  draw(dc);
  SetROP2(dc, oldRop);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
}

// Draws with a solid copy pen of the colour in a fresh window context.
template <typename Draw>
void WithCopyPen(void* window, COLORREF colour, Draw draw) {
  HWND hwnd = static_cast<HWND>(window);
  HDC dc = GetDC(hwnd);
  if (!dc) return;
  WithPen(dc, colour, R2_COPYPEN, draw);
  ReleaseDC(hwnd, dc);
}

// Draws with a green XOR pen on a counted view context of the window.
template <typename Draw>
void WithGhostPen(void* window, Draw draw) {
  HWND hwnd = static_cast<HWND>(window);
  HDC dc = GetViewDC(hwnd);
  if (!dc) return;
  WithPen(dc, kGhostGreen, R2_XORPEN, draw);
  ReleaseViewDC(hwnd, dc);
}

}  // namespace

void GhostOriginMarker(void* window, const MarkerDrag& record) {
  WithGhostPen(window, [&](HDC dc) { GhostOriginMarkerOnDC(dc, record.marker.x, record.marker.y); });
}

void GhostCrossMarker(void* window, const MarkerDrag& record) {
  WithGhostPen(window, [&](HDC dc) {
    std::int32_t px = 0, py = 0;
    if (MarkerPixel(record.marker.x, record.marker.y, &px, &py)) DrawCross(dc, px, py, kGhostCrossArm);
  });
}

void DrawDatumMarker(void* dc, std::int32_t x, std::int32_t y) {
  std::int32_t px = 0, py = 0;
  if (!MarkerPixel(x, y, &px, &py)) return;
  HDC context = static_cast<HDC>(dc);
  DrawCross(context, px, py, kDatumArm);
  HGDIOBJ oldBrush = SelectObject(context, GetStockObject(HOLLOW_BRUSH));
  DrawCircle(dc, px, py, kDatumArm);
  SelectObject(context, oldBrush);
}

void GhostOriginMarkerOnDC(void* dc, std::int32_t x, std::int32_t y) {
  std::int32_t px = 0, py = 0;
  if (!MarkerPixel(x, y, &px, &py)) return;
  DrawArrowPair(static_cast<HDC>(dc), px, py, kOriginArrow, kOriginTail, kOriginHead);
}

void DrawSizedOriginMarker(void* dc, std::int32_t x, std::int32_t y, std::int32_t length) {
  std::int32_t px = 0, py = 0;
  if (!MarkerPixel(x, y, &px, &py)) return;
  const std::int32_t pixels = pl3::ScaleToView(length);
  const std::int32_t third = pixels / 3;
  DrawArrowPair(static_cast<HDC>(dc), px, py, pixels, third, third);
}

void ShowOriginMarker(void* window, std::int32_t x, std::int32_t y) {
  WithCopyPen(window, kWhite, [&](HDC dc) { GhostOriginMarkerOnDC(dc, x, y); });
}

void ShowDatumMarker(void* window, const DatumPayload* datum) {
  if (!datum) return;
  WithCopyPen(window, DatumMarkerColour, [&](HDC dc) { DrawDatumMarker(dc, datum->x, datum->y); });
}
