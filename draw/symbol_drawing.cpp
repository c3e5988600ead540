#include "draw/symbol_drawing.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "draw/ghost_pens.h"
#include "draw/plane_dc.h"
#include "draw/text_render.h"
#include "edit/window_data.h"
#include "geometry/raster_state.h"
#include "geometry/rasterise.h"
#include "geometry/transform.h"
#include "geometry/view_mapping.h"
#include "objects/attribute_services.h"
#include "objects/designators.h"
#include "objects/payload_access.h"
#include "objects/symbol_instances.h"
#include "objects/text_item_services.h"
#include "objects/type_codes.h"
#include "objects/walker.h"
#include "platform/gdi.h"
#include "platform/reset_hooks.h"
#include "store/tower.h"

std::uint32_t PinPlacementOptions = 0;

namespace {

[[maybe_unused]] const bool g_registered = pl3::RegisterGlobalReset([] { PinPlacementOptions = 0; });

constexpr std::uint32_t kSymbolOnOtherSide = 0x2;  // SymbolInstanceInfo flags
// The dialog font's height in pixels (8 points on a 96-dot screen).
constexpr int kDialogFontHeight = -11;

HDC AsDC(void* dc) { return static_cast<HDC>(dc); }

pl3::Point ToView(const pl3::Transform* t, std::int32_t x, std::int32_t y) {
  if (t) pl3::TransformPoint(t, x, y);
  pl3::WorldToView(x, y);
  return {x, y};
}

// A text of the pin ghosted with the vector font at the origin.
void GhostPinText(void* dc, const Tower* item, std::uint32_t kind, pl3::Point at, std::uint16_t justification) {
  const char* value = GetAttributeValue(item, kind);
  if (!value || !*value) return;
  const CurrentWindowData* w = ActiveWindowData;
  pl3::Transform t = pl3::kIdentityTransform;
  t.tx = at.x;
  t.ty = at.y;
  TextPayload* text = CreateTextItemEx(value, CurrentTextExplicitSize, kOriginSquareLayer, &t, justification,
                                       w ? w->CurrentFont : 3);
  if (!text) return;
  RenderTextEntity(dc, text, 0, nullptr);
  std::free(text);
}

// One centred text of the pin in its box: above the middle line (upper) or
// below it, when its measured rectangle fits inside the box.
void DrawPinBoxText(HDC dc, const char* text, const RECT& box, bool upper) {
  if (!text || !*text) return;
  RECT measured{0, 0, 0, 0};
  DrawTextA(dc, text, -1, &measured, DT_CALCRECT);
  const int width = measured.right - measured.left, height = measured.bottom - measured.top;
  const int middle = (box.top + box.bottom) / 2;
  RECT placed{box.left, upper ? middle - height : middle, box.right, upper ? middle : middle + height};
  if (width > box.right - box.left || placed.top < box.top || placed.bottom > box.bottom) return;
  DrawTextA(dc, text, -1, &placed, DT_CENTER | DT_NOCLIP);
}

}  // namespace

void DrawOriginSquare(void* dc, const Tower* item) {
  const std::uint8_t* origin = ChildPayloadOfAtLeast(item, Type_Origin, 8);
  const CurrentWindowData* w = ActiveWindowData;
  if (!dc || !origin || !w) return;
  const std::int32_t x = ReadI32(origin, 0), y = ReadI32(origin, 4);
  const pl3::Point a = ToView(nullptr, x - kOriginSquareHalfSide, y - kOriginSquareHalfSide);
  const pl3::Point b = ToView(nullptr, x + kOriginSquareHalfSide, y + kOriginSquareHalfSide);
  SetEntityPen(dc, 0, kOriginSquareLayer);
  Rectangle(AsDC(dc), a.x, a.y, b.x + 1, b.y + 1);
  RestoreXorPen(dc);
  if (w->EditMode != kModePlacingPin) return;
  // The number above the square's right, the name below it.
  if (PinPlacementOptions & kPinShowNumber)
    GhostPinText(dc, item, 1, {x + kOriginSquareHalfSide, y - kOriginSquareHalfSide}, 4 | 32);
  if (PinPlacementOptions & kPinShowName)
    GhostPinText(dc, item, 4, {x + kOriginSquareHalfSide, y + kOriginSquareHalfSide}, 4 | 16);
}

void DrawPinBox(const Tower* pin, const pl3::Transform* transform) {
  pl3::Box box{};
  if (!GetSymbolPinBox(pin, &box)) return;
  GetRectangleBox(&box, transform);
  if (box.xmin > box.xmax) std::swap(box.xmin, box.xmax);
  if (box.ymin > box.ymax) std::swap(box.ymin, box.ymax);
  pl3::Point c[4] = {ToView(nullptr, box.xmin, box.ymin), ToView(nullptr, box.xmax, box.ymin),
                     ToView(nullptr, box.xmax, box.ymax), ToView(nullptr, box.xmin, box.ymax)};
  pl3::RasterState& r = pl3::g_raster;
  const std::uint32_t fill = r.fillValue;
  r.fillValue = kPinBoxFill;
  pl3::FillTriangle(c[0].x, c[0].y, c[1].x, c[1].y, c[2].x, c[2].y);
  pl3::FillTriangle(c[0].x, c[0].y, c[2].x, c[2].y, c[3].x, c[3].y);
  r.fillValue = kPinBoxOutline;
  for (int i = 0; i < 4; ++i) pl3::DrawViewLine(c[i].x, c[i].y, c[(i + 1) % 4].x, c[(i + 1) % 4].y);
  r.fillValue = fill;

  const char* upper = GetAttributeValue(pin, kPinBoxUpperKind);
  const char* lower = GetAttributeValue(pin, kPinBoxLowerKind);
  if ((!upper || !*upper) && (!lower || !*lower)) return;
  PlaneDC plane;
  if (!plane.dc) return;
  // Plane words are bit masks: the font draws whole pixels, never blends.
  HFONT font = CreateFontA(kDialogFontHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH, "MS Sans Serif");
  HFONT oldFont = SelectObject(plane.dc, font);
  SetBkMode(plane.dc, TRANSPARENT);
  SetTextColor(plane.dc, kPinBoxTextColour);
  const RECT rect{c[0].x, c[0].y, c[2].x, c[2].y};
  DrawPinBoxText(plane.dc, upper, rect, true);
  DrawPinBoxText(plane.dc, lower, rect, false);
  SelectObject(plane.dc, oldFont);
  DeleteObject(font);
}

std::int32_t DrawWalkedDesignator(const Tower* instance, const pl3::Transform* transform, const pl3::Box* region,
                                  std::uint8_t action) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !instance || (DisplayOptions & kDisplayHideAttributes)) return 0;
  pl3::Transform placed;
  GetTransform(&placed, instance, transform);
  Tower* group = NewestChildTower(instance, Type_Designator);
  if (!group) return 0;
  if (region) {
    pl3::Box box{};
    if (const std::uint8_t* stored = ChildPayloadOfAtLeast(group, Type_BoundingBox, sizeof box)) {
      std::memcpy(&box, stored, sizeof box);
      GetRectangleBox(&box, &placed);
      if (box.xmax < region->xmin || box.xmin > region->xmax || box.ymax < region->ymin || box.ymin > region->ymax) {
        ReleaseTower(&group);
        return 0;
      }
    }
  }
  const std::uint32_t savedView = w->ViewFlags;
  const std::uint8_t* info = ChildPayloadOfAtLeast(instance, Type_SymbolInstanceInfo, 4);
  if (info && (ReadU32(info, 0) & kSymbolOnOtherSide)) w->ViewFlags ^= kViewOtherSide;
  std::int32_t result = 0;
  Tower* copies = GetChildTower(group, Type_DesignatorData);
  while (copies && FindNextEntity(copies)) {
    Tower* copy = DuplicateTower(copies);
    LastLevel(copy).flags = kLevelLast | kLevelPositioned;
    const std::uint8_t* copyInfo = ChildPayloadOfAtLeast(copy, Type_DesignatorInfo, sizeof(DesignatorInfo));
    DesignatorInfo di{};
    if (copyInfo) std::memcpy(&di, copyInfo, sizeof di);
    const bool shown = copyInfo && !(di.display & kDesignatorHidden) &&
                       (w->layerTable.layers[di.layer].flags & kLayerVisible);
    if (shown) result = ProcessDesignatorData(copy, &placed, action);
    ReleaseTower(&copy);
    if (shown) break;
  }
  ReleaseTower(&copies);
  ReleaseTower(&group);
  w->ViewFlags = savedView;
  return result;
}
