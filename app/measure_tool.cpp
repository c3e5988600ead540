#include "app/measure_tool.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <numbers>

#include "draw/ghost_pens.h"
#include "edit/engine_seams.h"
#include "edit/status_bar.h"
#include "edit/window_data.h"
#include "geometry/view_mapping.h"
#include "objects/editor_modes.h"
#include "objects/graphic_records.h"
#include "objects/view_seams.h"
#include "platform/commctrl.h"
#include "platform/gdi.h"
#include "platform/reset_hooks.h"
#include "platform/user.h"

HWND MeasuringTooltip = nullptr;

namespace {

constexpr std::uint32_t kStateMeasureDrawn = 0x4;  // StateFlags bit 2 while the measurement is drawn
constexpr std::uint32_t kStateToolChosen = 0x40;   // StateFlags bit 6, cleared when a tool is chosen
constexpr int kTooltipGap = 15;
constexpr int kCrossArm = 5;

void ResetMeasuring() {
  if (MeasuringTooltip) DestroyWindow(MeasuringTooltip);
  MeasuringTooltip = nullptr;
}
const bool g_resetRegistered = pl3::RegisterGlobalReset(&ResetMeasuring);

TOOLINFOA MeasuringTool(HWND window) {
  TOOLINFOA ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE;
  ti.hwnd = window;
  ti.uId = reinterpret_cast<UINT_PTR>(window);
  return ti;
}

HWND ViewOf(const CurrentWindowData& w) { return static_cast<HWND>(w.Window); }

POINT ToView(pl3::Point p) {
  pl3::WorldToView(p.x, p.y);
  return {p.x, p.y};
}

// The horizontal reference and the arc between it and the measuring line.
void DrawAngleArc(HDC dc, POINT start, POINT end) {
  const double length = std::hypot(static_cast<double>(end.x - start.x), static_cast<double>(end.y - start.y));
  const int r = static_cast<int>(length);
  if (r < 2) return;
  const bool left = end.x < start.x;
  const bool above = end.y < start.y;
  const POINT reference{left ? start.x - r : start.x + r, start.y};
  MoveToEx(dc, start.x, start.y, nullptr);
  LineTo(dc, reference.x, reference.y);
  const int a = r / 2;
  // Arcs run anticlockwise on the screen, from the first radial to the second.
  const bool fromReference = above != left;
  const POINT from = fromReference ? reference : end;
  const POINT to = fromReference ? end : reference;
  Arc(dc, start.x - a, start.y - a, start.x + a, start.y + a, from.x, from.y, to.x, to.y);
}

void ShowText(const MeasuringPayload& m) {
  if (!MeasuringTooltip || !ActiveWindowData) return;
  const std::string text = MeasurementText(m);
  TOOLINFOA ti = MeasuringTool(ViewOf(*ActiveWindowData));
  ti.lpszText = const_cast<char*>(text.c_str());
  SendMessage(MeasuringTooltip, TTM_UPDATETIPTEXT, 0, reinterpret_cast<LPARAM>(&ti));
  SendMessage(MeasuringTooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
}

void MoveTooltip(const CurrentWindowData& w) {
  if (!MeasuringTooltip) return;
  TOOLINFOA ti = MeasuringTool(ViewOf(w));
  const LRESULT size = SendMessage(MeasuringTooltip, TTM_GETBUBBLESIZE, 0, reinterpret_cast<LPARAM>(&ti));
  POINT cursor{w.MousePixel.x, w.MousePixel.y};
  ClientToScreen(ViewOf(w), &cursor);
  const POINT at = MeasuringTooltipPosition(cursor, SIZE{LOWORD(size), HIWORD(size)});
  SendMessage(MeasuringTooltip, TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y));
}

void DrawWithWindowDc(HWND window, const EntityRecord* record) {
  HDC dc = GetDC(window);
  DrawMeasurement(dc, record);
  ReleaseDC(window, dc);
}

}  // namespace

MeasuringPayload* MeasuringOf(EntityRecord* record) {
  if (!record || record->header.recordType != kMeasuringType) return nullptr;
  return reinterpret_cast<MeasuringPayload*>(record->payload);
}

void UpdateMeasurement(MeasuringPayload* m) {
  m->dx = static_cast<std::int32_t>(static_cast<std::uint32_t>(m->end.x) - static_cast<std::uint32_t>(m->start.x));
  m->dy = static_cast<std::int32_t>(static_cast<std::uint32_t>(m->start.y) - static_cast<std::uint32_t>(m->end.y));
  const double dx = m->dx, dy = m->dy;
  m->distance = static_cast<std::uint32_t>(std::sqrt(dx * dx + dy * dy));
  m->angle = m->distance == 0 ? 0.0 : std::asin(std::min(1.0, std::fabs(dy) / m->distance));
}

std::string MeasurementText(const MeasuringPayload& m) {
  char dx[kLengthTextSize], dy[kLengthTextSize], distance[kLengthTextSize];
  FormatDisplayLength(dx, m.dx);
  FormatDisplayLength(dy, m.dy);
  FormatDisplayLength(distance, static_cast<std::int32_t>(std::min<std::uint32_t>(m.distance, 0x7FFFFFFF)));
  const char* unit = DisplayUnitSuffix();
  char text[256];
  std::snprintf(text, sizeof text, "dX %s%s\r\ndY %s%s\r\nDistance %s%s\r\nAngle %.2f degrees", dx, unit, dy, unit,
                distance, unit, m.angle * 180.0 / std::numbers::pi);
  return text;
}

POINT MeasuringTooltipPosition(POINT cursor, SIZE bubble) {
  const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  POINT at{cursor.x + kTooltipGap, cursor.y + kTooltipGap};
  if (at.x + bubble.cx > width) at.x = cursor.x - kTooltipGap - bubble.cx;
  if (at.y + bubble.cy > height) at.y = cursor.y - kTooltipGap - bubble.cy;
  return at;
}

void DrawMeasurement(HDC dc, const EntityRecord* record) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !dc || !record || record->header.recordType != kMeasuringType) return;
  const auto& m = *reinterpret_cast<const MeasuringPayload*>(record->payload);
  const std::uint32_t flags = w->StateFlags;
  const std::uint32_t colour = w->GhostColour;
  w->StateFlags |= kStateMeasureDrawn;
  w->GhostColour = kGhostWhite;
  SetXorPen(dc, 1, kGhostWhite);
  const POINT start = ToView(m.start);
  const POINT end = ToView(m.end);
  MoveToEx(dc, start.x, start.y, nullptr);
  LineTo(dc, end.x, end.y);
  MoveToEx(dc, start.x - kCrossArm, start.y, nullptr);
  LineTo(dc, start.x + kCrossArm + 1, start.y);
  MoveToEx(dc, start.x, start.y - kCrossArm, nullptr);
  LineTo(dc, start.x, start.y + kCrossArm + 1);
  if (static_cast<double>(m.distance) > 100.0 * w->Zoom && m.angle != 0.0) DrawAngleArc(dc, start, end);
  RestoreXorPen(dc);
  w->GhostColour = colour;
  w->StateFlags = flags;
  ShowText(m);
}

void SetMeasureTool(HWND) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || w->EditMode != 0) return;
  w->StateFlags &= ~kStateToolChosen;
  w->InsertType = static_cast<std::uint8_t>(kMeasuringType);
  w->ClickState = 0;
}

void BeginMeasureAt(HWND window, EntityRecord** slot, pl3::Point point) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !slot) return;
  EntityRecord* record = NewEntityRecord().release();
  record->header.recordType = kMeasuringType;
  record->header.headerLayer = 0;
  record->header.transform = pl3::kIdentityTransform;
  auto* m = reinterpret_cast<MeasuringPayload*>(record->payload);
  m->start = m->end = point;
  delete *slot;
  *slot = record;
  w->EditMode = Mode_Measure;
  w->InsertType = static_cast<std::uint8_t>(kMeasuringType);
  DrawWithWindowDc(window, record);
}

void BeginMeasure(HWND window, ButtonRecord* button) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !button) return;
  BeginMeasureAt(window, &w->PendingRecord, button->Cursor);
}

void ShowMeasuringTooltip(HWND window) {
  if (MeasuringTooltip) return;
  MeasuringTooltip =
      CreateWindowEx(WS_EX_TOPMOST, TOOLTIPS_CLASS, nullptr, WS_POPUP, 0, 0, 0, 0, window, nullptr, nullptr, nullptr);
  if (!MeasuringTooltip) return;
  SendMessage(MeasuringTooltip, TTM_SETMAXTIPWIDTH, 0, 400);
  TOOLINFOA ti = MeasuringTool(window);
  ti.lpszText = const_cast<char*>("");
  SendMessage(MeasuringTooltip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti));
}

// Cancelling the measure tool only deactivates the tracking: the tooltip
// window is kept for the next measurement.
void HideMeasuringTooltip(HWND window) {
  if (!MeasuringTooltip) return;
  TOOLINFOA ti = MeasuringTool(window);
  SendMessage(MeasuringTooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
}

void MeasureDragStep(HWND window, HDC dc, EntityRecord* record, pl3::Point point) {
  CurrentWindowData* w = ActiveWindowData;
  MeasuringPayload* m = MeasuringOf(record);
  if (!w || !m) return;
  const EntityRecord* old = record;
  auto copy = NewEntityRecord();
  std::memcpy(copy.get(), old, sizeof(EntityRecordHeader) + sizeof(MeasuringPayload));
  m->end = point;
  UpdateMeasurement(m);
  DrawMeasurement(dc, copy.get());
  DrawMeasurement(dc, record);
  UpdateStatusBar(window);
  MoveTooltip(*w);
}

int MeasureAcceptStep(HWND window, EntityRecord* record) {
  MeasuringPayload* m = MeasuringOf(record);
  if (!m) return 1;
  DrawWithWindowDc(window, record);
  m->start = m->end;
  m->dx = m->dy = 0;
  m->distance = 0;
  m->angle = 0.0;
  DrawWithWindowDc(window, record);
  UpdateStatusBar(window);
  return 1;
}
