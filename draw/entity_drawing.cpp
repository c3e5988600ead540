#include "draw/entity_drawing.h"

#include <algorithm>
#include <cstring>

#include "draw/draw_seams.h"
#include "draw/layer_drawing.h"
#include "draw/raster_callbacks.h"
#include "edit/window_data.h"
#include "geometry/arcs.h"
#include "geometry/graphic_layouts.h"
#include "geometry/raster_state.h"
#include "geometry/rasterise.h"
#include "geometry/record_view.h"
#include "objects/attribute_locators.h"
#include "objects/datums.h"
#include "objects/dimensioners.h"
#include "objects/entity_record.h"
#include "objects/graphic_records.h"
#include "objects/text_item_services.h"
#include "platform/reset_hooks.h"
#include "store/tower.h"

std::uint8_t ThickBoardOutline = 0;

namespace {

using pl3::g_raster;

void ResetEntityDrawing() { ThickBoardOutline = 0; }
[[maybe_unused]] const bool g_registered = pl3::RegisterGlobalReset(&ResetEntityDrawing);

constexpr std::uint32_t kSchematicBoxClass = 25;
constexpr std::uint32_t kLowEightPlanes = 0xFF;
constexpr std::uint8_t kLastCopperLayer = 32;

// Puts the raster operation, fill value and track outline mode back on exit.
struct RasterGuard {
  std::uint8_t op = g_raster.rasterOp;
  std::uint32_t fill = g_raster.fillValue;
  std::uint8_t outline = g_raster.trackOutlineMode;
  ~RasterGuard() {
    g_raster.rasterOp = op;
    g_raster.fillValue = fill;
    g_raster.trackOutlineMode = outline;
  }
};

template <typename Layout>
Layout CopyOf(const void* payload) {
  Layout copy;
  std::memcpy(&copy, payload, sizeof copy);
  return copy;
}

const pl3::GraphicLayoutHead& HeadOf(const void* payload) {
  return *static_cast<const pl3::GraphicLayoutHead*>(payload);
}

// Track, line or slot under the transform in view pixels with `adjust` applied to its width.
template <typename Adjust>
void DrawLine(const void* payload, const pl3::Transform* t, Adjust adjust) {
  auto line = CopyOf<pl3::TrackLayout>(payload);
  pl3::TransformLineToView(&line, t);
  adjust(line);
  pl3::DrawTrackRecord(&line);
}

void DrawSolidLine(const void* payload, const pl3::Transform* t) {
  auto line = CopyOf<pl3::TrackLayout>(payload);
  pl3::TransformAndDrawLine(&line, t);
}

// A cut through the planes of `mask`: the track one pixel narrower, clear-bits.
void DrawLineCut(const void* payload, const pl3::Transform* t, std::uint32_t mask) {
  RasterGuard guard;
  g_raster.rasterOp = pl3::kRasterClearBits;
  g_raster.fillValue = mask;
  DrawLine(payload, t, [](pl3::TrackLayout& l) { l.width = std::max(l.width - 1, 0); });
}

void DrawThinLine(const void* payload, const pl3::Transform* t) {
  DrawLine(payload, t, [](pl3::TrackLayout& l) { l.width = 0; });
}

void DrawArc(const void* payload, const pl3::Transform* t, bool thin) {
  auto arc = CopyOf<pl3::ArcLayout>(payload);
  const CurrentWindowData* w = ActiveWindowData;
  if (w && (w->ViewFlags & kViewOtherSide)) {
    std::swap(arc.startX, arc.endX);
    std::swap(arc.startY, arc.endY);
  }
  if (thin) arc.width = 0;
  pl3::TransformAndDrawArc(&arc, t);
}

void DrawTrackRow(const void* payload, const pl3::Transform* t) {
  if (!(TypeDrawOptionsOf(1) & kTypeDrawOutlines)) {
    DrawSolidLine(payload, t);
    return;
  }
  const CurrentWindowData* w = ActiveWindowData;
  if (w && w->Zoom > kOutlineTrackZoomLimit) return;
  RasterGuard guard;
  g_raster.trackOutlineMode = 1;
  DrawSolidLine(payload, t);
}

// The plane bits of the used copper layers, and with `visible` the view's background too.
std::uint32_t CopperMask(bool visible) {
  if (visible) return GetVisibleLayerMask(1, kLastCopperLayer, 1);
  std::uint32_t mask = 0;
  for (std::uint8_t layer = 1; layer <= kLastCopperLayer; ++layer) AddLayerToMask(mask, layer);
  return mask;
}

// The layers a hole spans: its first and last layer bytes, or all copper
// when the second does not follow the first.
void HoleSpan(const void* payload, std::uint8_t* first, std::uint8_t* last) {
  const pl3::GraphicLayoutHead& head = HeadOf(payload);
  if (head.spare >= head.layer && head.spare != 0) {
    *first = head.layer;
    *last = head.spare;
  } else {
    *first = 1;
    *last = kLastCopperLayer;
  }
}

void DrawHoleRow(const void* payload, const pl3::Transform* t, int pass) {
  const std::uint16_t options = TypeDrawOptionsOf(7);
  RasterGuard guard;
  if (options & kTypeDrawCut) {
    std::uint8_t first = 0, last = 0;
    HoleSpan(payload, &first, &last);
    auto hole = CopyOf<pl3::HoleLayout>(payload);
    g_raster.rasterOp = pl3::kRasterClearBits;
    g_raster.fillValue = GetVisibleLayerMask(first, last, 1);
    pl3::FillHoleOuter(&hole, t);
    g_raster.rasterOp = guard.op;
    g_raster.fillValue = guard.fill;
  }
  if (options & kTypeDrawCross) {
    auto hole = CopyOf<pl3::HoleLayout>(payload);
    g_raster.fillValue = kAllPlanes;
    pl3::DrawHoleCross(&hole, t);
    g_raster.fillValue = guard.fill;
  }
  if (options & kTypeDrawPad) {
    auto hole = CopyOf<pl3::HoleLayout>(payload);
    if ((hole.flags & pl3::kHoleFromViaList) || pass == kDrawPassSymbolInner) {
      if (pass != kDrawPassSymbolEdit) g_raster.fillValue = kAllPlanes;
      pl3::FillHoleInner(&hole, t);
    } else {
      pl3::DrawHoleRing(&hole, t);
    }
  }
}

void DrawSlotRow(const void* payload, std::uint16_t type, const pl3::Transform* t) {
  const std::uint16_t options = TypeDrawOptionsOf(type);
  RasterGuard guard;
  if (options & kTypeDrawCut) {
    auto slot = CopyOf<pl3::TrackLayout>(payload);
    g_raster.rasterOp = pl3::kRasterClearBits;
    g_raster.fillValue = CopperMask(true);
    pl3::TransformAndDrawSlot(&slot, t);
    g_raster.rasterOp = guard.op;
  }
  if (options & kTypeDrawPad) {
    auto slot = CopyOf<pl3::TrackLayout>(payload);
    g_raster.fillValue = CopperMask(false);
    g_raster.trackOutlineMode = 1;
    pl3::TransformAndDrawSlot(&slot, t);
  }
}

bool AnyLayerUsed(const CurrentWindowData& w) {
  for (std::size_t layer = 0; layer < kLayerCount; ++layer)
    if (IsLayerUsed(w, static_cast<std::uint8_t>(layer))) return true;
  return false;
}

void DrawBoardOutlineRow(const void* payload, std::uint16_t type, const pl3::Transform* t, int pass) {
  const CurrentWindowData* w = ActiveWindowData;
  RasterGuard guard;
  if (pass == kDrawPassSymbolEdit) {
    if (!w || !AnyLayerUsed(*w)) return;
    g_raster.fillValue = kAllPlanes;
    const std::int32_t width = ThickBoardOutline ? kThickOutlineWidth : 1;
    if (type == 38) {
      auto arc = CopyOf<pl3::ArcLayout>(payload);
      arc.width = width;
      pl3::TransformAndDrawArc(&arc, t);
    } else {
      auto line = CopyOf<pl3::TrackLayout>(payload);
      line.width = width;
      pl3::TransformAndDrawLine(&line, t);
    }
    return;
  }
  if (g_raster.spanTarget == pl3::kTargetPlane && type == 39) {
    auto line = CopyOf<pl3::TrackLayout>(payload);
    pl3::TransformLine(&line, t);
    g_raster.fillValue = kOutlineDashStart;
    StartDashedLine(kOutlineDashFirst, kOutlineDashSecond);
    pl3::DrawPatternedWorldLine(line.x1, line.y1, line.x2, line.y2);
    return;
  }
  // Other span targets (and the arc, whose dotted GDI form the plane cannot
  // hold): one pixel wide in all planes.
  g_raster.fillValue = kAllPlanes;
  if (type == 38) {
    DrawArc(payload, t, true);
  } else {
    DrawThinLine(payload, t);
  }
}

// A copy whose indexed sizes are resolved, so that a clearance can be added to them.
template <typename Layout>
Layout ResolvedCopyOf(const void* payload, std::uint16_t type) {
  Layout copy = CopyOf<Layout>(payload);
  ResolveEntitySizes(&copy, type);
  copy.head.sizeFlags = static_cast<std::uint16_t>(copy.head.sizeFlags & ~pl3::kSizeIndexed);
  return copy;
}

// The clearance cut of one item on one layer: drawn grown by the clearance with clear-bits.
void DrawClearanceOn(const void* payload, std::uint16_t type, const pl3::Transform* t, std::int32_t clearance) {
  switch (type) {
    case 1: case 10: case 11: case 35: case 37: case 39: {
      auto line = ResolvedCopyOf<pl3::TrackLayout>(payload, type);
      line.width += clearance;
      pl3::TransformAndDrawLine(&line, t);
      break;
    }
    case 2: case 38: {
      auto arc = ResolvedCopyOf<pl3::ArcLayout>(payload, type);
      arc.width += clearance;
      pl3::TransformAndDrawArc(&arc, t);
      break;
    }
    case 3: {
      auto circle = ResolvedCopyOf<pl3::CircleLayout>(payload, type);
      circle.size += clearance;
      pl3::TransformAndFillCircle(&circle, t);
      break;
    }
    case 7: {
      auto hole = ResolvedCopyOf<pl3::HoleLayout>(payload, type);
      hole.size1 += clearance;
      pl3::FillHoleOuter(&hole, t);
      break;
    }
    default:
      break;
  }
}

bool HasClearanceDrawing(std::uint16_t type) {
  switch (type) {
    case 1: case 2: case 3: case 7: case 10: case 11: case 35: case 37: case 38: case 39:
      return true;
    default:
      return false;
  }
}

void DrawClearance(const void* payload, std::uint16_t type, const pl3::Transform* t) {
  const CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  std::uint8_t first = HeadOf(payload).layer, last = first;
  if (type == 7) HoleSpan(payload, &first, &last);
  // Board outlines cut every used copper layer.
  if (type == 38 || type == 39) {
    first = 1;
    last = kLastCopperLayer;
  }
  RasterGuard guard;
  g_raster.rasterOp = pl3::kRasterClearBits;
  const bool singleColour = (w->StateFlags & kStateSingleColour) != 0;
  for (unsigned n = first; n <= last; ++n) {
    const std::uint8_t layer = EffectiveDrawLayer(*w, static_cast<std::uint8_t>(n));
    if ((type == 7 || type == 38 || type == 39) && !IsLayerUsed(*w, layer)) continue;
    if (!singleColour) g_raster.fillValue = w->layerTable.layers[layer].planeBit;
    DrawClearanceOn(payload, type, t, GetPlaneClearance(w->design, layer));
  }
}

void DrawRectangleRow(const void* payload, const pl3::Transform* t) {
  auto rect = CopyOf<pl3::RectangleLayout>(payload);
  pl3::TransformRectangleToView(&rect, t);
  pl3::FillRectangleRecord(&rect);
}

void DrawPolygonRow(const void* payload, const pl3::Transform* t) {
  const auto* polygon = static_cast<const pl3::PolygonLayout*>(payload);
  if (polygon->count < 3) return;
  pl3::FillPolygon(polygon, t);
}

// The dimensioner being drawn, whose label template the label takes: the
// raster kernel's current entity when it is one.
const Tower* DrawnDimensioner() {
  const Entity* e = TowerEntity(g_raster.currentEntity);
  return e && (e->typeCode == 21 || e->typeCode == 22) ? g_raster.currentEntity : nullptr;
}

void DrawByType(const void* payload, std::uint16_t type, const pl3::Transform* t, int pass) {
  switch (type) {
    case 1: case 37:
      DrawTrackRow(payload, t);
      break;
    case 2:
      DrawArc(payload, t, false);
      break;
    case 3: {
      auto circle = CopyOf<pl3::CircleLayout>(payload);
      pl3::TransformAndFillCircle(&circle, t);
      break;
    }
    case 4: case 8: case 9: case 41: case 42: case 43: case 44: case 45: case 49:
      DrawPolygonRow(payload, t);
      break;
    case 5:
      RenderTextEntity(nullptr, static_cast<const TextPayload*>(payload), pass == kDrawPassSymbolEdit ? 5 : 1, t);
      break;
    case 6:
      DrawRectangleRow(payload, t);
      break;
    case 7:
      DrawHoleRow(payload, t, pass);
      break;
    case 10:
      if (TypeDrawOptionsOf(10) & kTypeDrawCut) {
        DrawLineCut(payload, t, g_raster.fillValue);
      } else {
        DrawSolidLine(payload, t);
      }
      break;
    case 11:
      if (TypeDrawOptionsOf(11) & kTypeDrawCut) {
        DrawLineCut(payload, t, kLowEightPlanes);
      } else {
        DrawSolidLine(payload, t);
      }
      break;
    case 20:
      DrawAttributeLocator(static_cast<const AttributeLocatorPayload*>(payload), t, pass);
      break;
    case 21:
      DrawAngleDimensioner(static_cast<const DimensionerPayload*>(payload), nullptr, pass, DrawnDimensioner());
      break;
    case 22:
      DrawDimensioner(static_cast<const DimensionerPayload*>(payload), nullptr, pass, DrawnDimensioner());
      break;
    case 23: case 24: {
      RasterGuard guard;
      if (pass != kDrawPassSymbolEdit) g_raster.fillValue = kAllPlanes;
      if (type == 23) {
        DrawThinLine(payload, t);
      } else {
        DrawArc(payload, t, true);
      }
      break;
    }
    case 34:
      DrawDatum(nullptr, static_cast<const DatumPayload*>(payload));
      break;
    case 35:
      DrawLineCut(payload, t, g_raster.fillValue);
      break;
    case 38: case 39:
      DrawBoardOutlineRow(payload, type, t, pass);
      break;
    case 46: case 47:
      DrawSlotRow(payload, type, t);
      break;
    default:
      break;
  }
}

}  // namespace

void DrawEntityByType(const void* payload, std::uint16_t type, const pl3::Transform* transform, int pass) {
  if (!payload) return;
  const pl3::Transform* t = transform ? transform : &pl3::kIdentityTransform;
  const std::uint8_t layer = HeadOf(payload).layer;
  if (const CurrentWindowData* w = ActiveWindowData) {
    const std::uint8_t drawn = EffectiveDrawLayer(*w, layer);
    RasterFirstLayer = drawn;
    RasterLastLayer = drawn;
  }
  SetCurrentLayerColour(layer);
  if ((TypeDrawOptionsOf(type) & kTypeDrawClearance) && HasClearanceDrawing(type)) {
    DrawClearance(payload, type, t);
    return;
  }
  DrawByType(payload, type, t, pass);
}

void DrawBoxOutline(const pl3::Box& box) {
  RasterGuard guard;
  const CurrentWindowData* w = ActiveWindowData;
  g_raster.fillValue = (w && IsSchematicKind(w->editorKind)) ? kSchematicBoxClass : kAllPlanes;
  pl3::DrawWorldLine(box.xmin, box.ymin, box.xmax, box.ymin);
  pl3::DrawWorldLine(box.xmax, box.ymin, box.xmax, box.ymax);
  pl3::DrawWorldLine(box.xmax, box.ymax, box.xmin, box.ymax);
  pl3::DrawWorldLine(box.xmin, box.ymax, box.xmin, box.ymin);
}

void StartDashedLine(std::uint32_t first, std::uint32_t second) {
  pl3::StartLinePattern(first, second, g_raster.fillValue);
}
