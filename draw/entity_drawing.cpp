#include "draw/entity_drawing.h"

#include <algorithm>
#include <cstring>

#include "draw/draw_seams.h"
#include "draw/entity_geometry.h"
#include "draw/ghost_seams.h"
#include "draw/layer_drawing.h"
#include "draw/plane_dc.h"
#include "draw/raster_callbacks.h"
#include "draw/text_render.h"
#include "edit/window_data.h"
#include "geometry/arcs.h"
#include "geometry/graphic_layouts.h"
#include "geometry/octants.h"
#include "geometry/raster_state.h"
#include "geometry/rasterise.h"
#include "geometry/record_view.h"
#include "geometry/transform.h"
#include "geometry/view_mapping.h"
#include "objects/attribute_locators.h"
#include "objects/editor_seams.h"
#include "objects/datums.h"
#include "objects/dimensioners.h"
#include "objects/entity_record.h"
#include "objects/graphic_boxes.h"
#include "objects/graphic_records.h"
#include "objects/plane_clearances.h"
#include "objects/symbol_instances.h"
#include "objects/text_item_services.h"
#include "platform/reset_hooks.h"
#include "store/tower.h"

std::uint8_t ThickBoardOutline = 0;

namespace {

using pl3::g_raster;
using pl3::Point;

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

bool IsLineType(std::uint16_t type) {
  switch (type) {
    case 1: case 10: case 11: case 35: case 37: case 39: return true;
    default: return false;
  }
}
bool IsPolygonType(std::uint16_t type) {
  return type == 4 || type == 8 || type == 9 || (type >= 41 && type <= 45) || type == 49;
}

// The origin x of the symbol being drawn when it is mirrored: the entity the
// walk names as current, inside a schematic symbol (30).
bool MirroredSymbolOrigin(std::int32_t* originX) {
  const CurrentWindowData* w = ActiveWindowData;
  if (!w || !(w->StateFlags & kStateSymbolMirrored)) return false;
  return ContainingSymbolOriginX(g_raster.currentEntity, originX);
}

// A line-like copy, mirrored about a mirrored symbol's origin.
pl3::TrackLayout LineCopy(const void* payload) {
  auto line = CopyOf<pl3::TrackLayout>(payload);
  std::int32_t originX = 0;
  if (MirroredSymbolOrigin(&originX)) MirrorLineData(&line, originX);
  return line;
}

// An arc copy as every arc row draws it: mirrored about a mirrored symbol's
// origin, its ends exchanged in the view from the other side, turned by its
// own transform.
pl3::ArcLayout ArcCopy(const void* payload, std::uint16_t type) {
  auto arc = CopyOf<pl3::ArcLayout>(payload);
  std::int32_t originX = 0;
  if (MirroredSymbolOrigin(&originX)) MirrorArcData(&arc, originX);
  const CurrentWindowData* w = ActiveWindowData;
  if (w && (w->ViewFlags & kViewOtherSide)) {
    std::swap(arc.startX, arc.endX);
    std::swap(arc.startY, arc.endY);
  }
  const pl3::Transform own = arc.head.transform;
  RotateEntityData(&arc, type, nullptr, &own);
  return arc;
}

pl3::CircleLayout CircleCopy(const void* payload) {
  auto circle = CopyOf<pl3::CircleLayout>(payload);
  const pl3::Transform own = circle.head.transform;
  RotateEntityData(&circle, 3, nullptr, &own);
  std::int32_t originX = 0;
  if (MirroredSymbolOrigin(&originX)) MirrorCircleData(&circle, originX);
  return circle;
}

// A polygon copy of the largest record size, its count capped to the points
// a record holds, turned by its own transform.
struct PolygonCopy {
  alignas(4) std::uint8_t bytes[kPolygonRoom] = {};
  pl3::PolygonLayout* get() { return reinterpret_cast<pl3::PolygonLayout*>(bytes); }
};
void CopyPolygon(const void* payload, PolygonCopy* copy, bool turn) {
  const auto* source = static_cast<const pl3::PolygonLayout*>(payload);
  const std::uint32_t n = std::min<std::uint32_t>(source->count, kPolygonMaxPoints);
  std::memcpy(copy->bytes, payload, PolygonStoredSize(n) < sizeof copy->bytes ? PolygonStoredSize(n) : sizeof copy->bytes);
  copy->get()->count = static_cast<std::uint8_t>(n);
  if (!turn) return;
  const pl3::Transform own = copy->get()->head.transform;
  RotateEntityData(copy->bytes, 4, nullptr, &own);
}

void DrawSolidLine(const void* payload, const pl3::Transform* t) {
  auto line = LineCopy(payload);
  pl3::TransformAndDrawLine(&line, t);
}

// A cut through the planes of `mask`: the track one pixel narrower, clear-bits.
void DrawLineCut(const void* payload, const pl3::Transform* t, std::uint32_t mask) {
  RasterGuard guard;
  g_raster.rasterOp = pl3::kRasterClearBits;
  g_raster.fillValue = mask;
  auto line = LineCopy(payload);
  pl3::TransformLineToView(&line, t);
  line.width = std::max(line.width - 1, 0);
  pl3::DrawTrackRecord(&line);
}

void DrawThinLine(const void* payload, const pl3::Transform* t) {
  auto line = LineCopy(payload);
  pl3::TransformLineToView(&line, t);
  line.width = 0;
  pl3::DrawTrackRecord(&line);
}

void DrawArc(const void* payload, std::uint16_t type, const pl3::Transform* t, bool thin) {
  auto arc = ArcCopy(payload, type);
  if (thin) {
    arc.width = 0;
    arc.head.sizeFlags = static_cast<std::uint16_t>(arc.head.sizeFlags & ~pl3::kSizeIndexed);
  }
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

// A board outline arc in the plane: GDI's dotted pen in the first dash code
// over an opaque background of the second, round the arc's bounding square
// (one pixel added to its right and bottom). GDI sweeps counter-clockwise on
// the screen and arcs sweep from their start toward +y, so GDI is given the
// ends the other way round.
void DrawDottedOutlineArc(const void* payload, const pl3::Transform* t) {
  auto arc = ArcCopy(payload, 38);
  // The end vectors keep their world length, as the kernel's arcs do.
  Point start{arc.startX, arc.startY}, end{arc.endX, arc.endY};
  pl3::TransformArcToViewKeepWidth(&arc, t);
  pl3::TransformVector(t, start.x, start.y);
  pl3::TransformVector(t, end.x, end.y);
  const std::int32_t r = arc.radius;
  const Point s = pl3::LatticeVector(start.x, start.y, r), e = pl3::LatticeVector(end.x, end.y, r);
  PlaneDC plane;
  if (!plane.dc) return;
  HPEN pen = CreatePen(PS_DOT, 0, PlaneCodeColour(kOutlineDashFirst));
  HPEN oldPen = SelectObject(plane.dc, pen);
  SetBkMode(plane.dc, OPAQUE);
  SetBkColor(plane.dc, PlaneCodeColour(kOutlineDashSecond));
  const std::int32_t cx = arc.centreX, cy = arc.centreY;
  Arc(plane.dc, cx - r, cy - r, cx + r + 1, cy + r + 1, cx + e.x, cy + e.y, cx + s.x, cy + s.y);
  SelectObject(plane.dc, oldPen);
  DeleteObject(pen);
}

void DrawBoardOutlineRow(const void* payload, std::uint16_t type, const pl3::Transform* t, int pass) {
  const CurrentWindowData* w = ActiveWindowData;
  RasterGuard guard;
  if (pass == kDrawPassSymbolEdit) {
    if (!w || !AnyLayerUsed(*w)) return;
    g_raster.fillValue = kAllPlanes;
    const std::int32_t width = ThickBoardOutline ? kThickOutlineWidth : 1;
    if (type == 38) {
      auto arc = ArcCopy(payload, type);
      arc.width = width;
      arc.head.sizeFlags = static_cast<std::uint16_t>(arc.head.sizeFlags & ~pl3::kSizeIndexed);
      pl3::TransformAndDrawArc(&arc, t);
    } else {
      auto line = LineCopy(payload);
      line.width = width;
      line.head.sizeFlags = static_cast<std::uint16_t>(line.head.sizeFlags & ~pl3::kSizeIndexed);
      pl3::TransformAndDrawLine(&line, t);
    }
    return;
  }
  if (g_raster.spanTarget == pl3::kTargetPlane && type == 38) {
    DrawDottedOutlineArc(payload, t);
    return;
  }
  if (g_raster.spanTarget == pl3::kTargetPlane && type == 39) {
    auto line = LineCopy(payload);
    pl3::TransformLine(&line, t);
    g_raster.fillValue = kOutlineDashStart;
    StartDashedLine(kOutlineDashFirst, kOutlineDashSecond);
    pl3::DrawPatternedWorldLine(line.x1, line.y1, line.x2, line.y2);
    return;
  }
  // Other span targets: one pixel wide in all planes.
  g_raster.fillValue = kAllPlanes;
  if (type == 38) {
    DrawArc(payload, type, t, true);
  } else {
    DrawThinLine(payload, t);
  }
}

// The rectangle's corners in view pixels: mirrored about a mirrored symbol's
// origin, turned by its own transform about its centre, then placed; each
// corner pushed out by `grow` world units along both of its edges.
void RectangleCorners(const void* payload, const pl3::Transform* t, std::int32_t grow, Point out[4]) {
  auto rect = CopyOf<RectanglePayload>(payload);
  std::int32_t originX = 0;
  if (MirroredSymbolOrigin(&originX)) MirrorRectangleData(&rect, originX);
  Point c[4];
  GetRectangleCorners(&rect, nullptr, c);
  for (int i = 0; i < 4; ++i) {
    out[i] = c[i];
    if (grow > 0) {
      for (const Point& next : {c[(i + 1) % 4], c[(i + 3) % 4]}) {
        const Point d = pl3::LatticeVector(c[i].x - next.x, c[i].y - next.y, grow);
        out[i].x += d.x;
        out[i].y += d.y;
      }
    }
    if (t) pl3::TransformPoint(t, out[i].x, out[i].y);
    pl3::WorldToView(out[i].x, out[i].y);
  }
}

void FillQuad(const Point c[4]) {
  pl3::FillTriangle(c[0].x, c[0].y, c[1].x, c[1].y, c[2].x, c[2].y);
  pl3::FillTriangle(c[0].x, c[0].y, c[2].x, c[2].y, c[3].x, c[3].y);
}

int PolygonKindOf(std::uint16_t type) {
  switch (type) {
    case 4: return kPolygonDrawFilled;
    case 8: return kPolygonDrawPlane;
    case 9: return kPolygonDrawCutout;
    default: return kPolygonDrawOutline;
  }
}

void DrawPolygonRow(const void* payload, std::uint16_t type, const pl3::Transform* t) {
  PolygonCopy copy;
  CopyPolygon(payload, &copy, true);
  std::int32_t originX = 0;
  if (MirroredSymbolOrigin(&originX)) MirrorPolygonData(copy.bytes, originX, sizeof copy.bytes);
  DrawTransformedPolygon(copy.bytes, t, PolygonKindOf(type));
}

// ---- Clearance view ----------------------------------------------------------------

bool HasClearanceDrawing(std::uint16_t type, const void* payload) {
  if (IsLineType(type) || IsPolygonType(type)) return true;
  switch (type) {
    case 2: case 3: case 5: case 6: case 38: return true;
    case 7: return (static_cast<const pl3::HoleLayout*>(payload)->flags & kHoleQuartered) != 0;  // plated only
    default: return false;
  }
}

// The number of bytes the payload of a type holds, for the copies the box
// and the text drawing work on.
std::size_t PayloadBytes(const void* payload, std::uint16_t type) {
  if (IsLineType(type)) return sizeof(pl3::TrackLayout);
  if (IsPolygonType(type))
    return PolygonStoredSize(std::min<std::uint32_t>(static_cast<const pl3::PolygonLayout*>(payload)->count,
                                                     kPolygonMaxPoints));
  switch (type) {
    case 2: case 38: return sizeof(pl3::ArcLayout);
    case 3: return sizeof(pl3::CircleLayout);
    case 5: return TextStoredSize(static_cast<std::uint32_t>(
                 strnlen(static_cast<const TextPayload*>(payload)->text, kTextMaxBytes - 1)));
    case 6: return sizeof(RectanglePayload);
    case 7: return sizeof(pl3::HoleLayout);
    default: return 0;
  }
}

// The item's world box under the transform (its box taken on a copy, which
// GetGraphicBox may resolve sizes into).
bool PlacedItemBox(const void* payload, std::uint16_t type, const pl3::Transform* t, pl3::Box* box) {
  alignas(4) std::uint8_t copy[kLargestPayloadRoom] = {};
  const std::size_t n = std::min(PayloadBytes(payload, type), sizeof copy - 1);
  if (n == 0) return false;
  std::memcpy(copy, payload, n);
  pl3::Box b{};
  if (!GetGraphicBox(copy, type, &b)) return false;
  GetRectangleBox(&b, t);
  *box = b;
  return true;
}

bool BoxesMeet(const pl3::Box& a, const pl3::Box& b) {
  return a.xmin <= b.xmax && b.xmin <= a.xmax && a.ymin <= b.ymax && b.ymin <= a.ymax;
}

// A copy whose indexed sizes are resolved, so that a clearance can be added to them.
template <typename Layout>
Layout ResolvedCopyOf(const Layout& source, std::uint16_t type) {
  Layout copy = source;
  ResolveEntitySizes(&copy, type);
  copy.head.sizeFlags = static_cast<std::uint16_t>(copy.head.sizeFlags & ~pl3::kSizeIndexed);
  return copy;
}

// The clearance cut of one item on one layer: drawn grown by the clearance
// with the raster operation and colour the caller set.
void DrawClearanceOn(const void* payload, std::uint16_t type, const pl3::Transform* t, std::int32_t clearance) {
  if (IsLineType(type)) {
    auto line = ResolvedCopyOf(LineCopy(payload), type);
    line.width += clearance;
    pl3::TransformAndDrawLine(&line, t);
    return;
  }
  if (IsPolygonType(type)) {
    PolygonCopy copy;
    CopyPolygon(payload, &copy, true);
    std::int32_t originX = 0;
    if (MirroredSymbolOrigin(&originX)) MirrorPolygonData(copy.bytes, originX, sizeof copy.bytes);
    DrawPolygonEdges(copy.get(), t, pl3::ScaleToView(clearance));
    return;
  }
  switch (type) {
    case 2: case 38: {
      auto arc = ResolvedCopyOf(ArcCopy(payload, type), type);
      arc.width += clearance;
      pl3::TransformAndDrawArc(&arc, t);
      return;
    }
    case 3: {
      auto circle = ResolvedCopyOf(CircleCopy(payload), type);
      circle.size += clearance;
      pl3::TransformAndFillCircle(&circle, t);
      return;
    }
    case 5: {
      const std::int32_t pen = TextPenWidth;
      TextPenWidth = clearance;
      RenderTextEntity(nullptr, static_cast<const TextPayload*>(payload), 2, t);
      TextPenWidth = pen;
      return;
    }
    case 6: {
      Point c[4];
      RectangleCorners(payload, t, clearance, c);
      FillQuad(c);
      return;
    }
    case 7: {
      auto hole = ResolvedCopyOf(CopyOf<pl3::HoleLayout>(payload), type);
      hole.size1 += clearance;
      pl3::FillHoleOuter(&hole, t);
      return;
    }
    default:
      return;
  }
}

// The clearance view: the item cut, grown by each layer's plane clearance,
// out of the planes of its layer span.
void DrawClearance(const void* payload, std::uint16_t type, const pl3::Transform* t) {
  const CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  std::uint8_t first = HeadOf(payload).layer, last = first;
  if (type == 7) HoleSpan(payload, &first, &last);
  // Board outlines cut every used copper layer.
  const bool outline = type == 38 || type == 39;
  if (outline) {
    first = 1;
    last = kLastCopperLayer;
  }
  if (!(w->ViewFlags & kViewRegionRender)) {
    pl3::Box item{};
    if (!PlacedItemBox(payload, type, t, &item)) return;
    bool meets = false;
    for (unsigned n = first; n <= last && !meets; ++n) {
      pl3::Box plane{};
      meets = GetLayerPlaneBox(EffectiveDrawLayer(*w, static_cast<std::uint8_t>(n)), &plane) && BoxesMeet(item, plane);
    }
    if (!meets) return;
  }
  RasterGuard guard;
  g_raster.rasterOp = pl3::kRasterClearBits;
  const bool singleColour = (w->StateFlags & kStateSingleColour) != 0;
  for (unsigned n = first; n <= last; ++n) {
    const std::uint8_t layer = EffectiveDrawLayer(*w, static_cast<std::uint8_t>(n));
    if ((type == 7 || outline) && !IsLayerUsed(*w, layer)) continue;
    if (!singleColour) g_raster.fillValue = w->layerTable.layers[layer].planeBit;
    DrawClearanceOn(payload, type, t, GetPlaneClearance(w->design, layer));
  }
}

// ---- The rows -----------------------------------------------------------------------

void DrawSpiralRow(const void* payload, const pl3::Transform* t) {
  static EntityRecord record;  // the user-interface thread alone draws
  record.header = {19, 0, 0, t ? *t : pl3::kIdentityTransform};
  std::memcpy(record.payload, payload, kSpiralPayloadSize);
  DrawSpiral(nullptr, &record);
}

// The dimensioner being drawn, whose label template the label takes: the
// raster kernel's current entity when it is one.
const Tower* DrawnDimensioner() {
  const Entity* e = TowerEntity(g_raster.currentEntity);
  return e && (e->typeCode == 21 || e->typeCode == 22) ? g_raster.currentEntity : nullptr;
}

void DrawByType(const void* payload, std::uint16_t type, const pl3::Transform* t, int pass) {
  if (IsPolygonType(type)) {
    DrawPolygonRow(payload, type, t);
    return;
  }
  switch (type) {
    case 1: case 37:
      DrawTrackRow(payload, t);
      break;
    case 2:
      DrawArc(payload, type, t, false);
      break;
    case 3: {
      auto circle = CircleCopy(payload);
      pl3::TransformAndFillCircle(&circle, t);
      break;
    }
    case 5:
      RenderTextEntity(nullptr, static_cast<const TextPayload*>(payload), pass == kDrawPassSymbolEdit ? 5 : 1, t);
      break;
    case 6: {
      Point c[4];
      RectangleCorners(payload, t, 0, c);
      FillQuad(c);
      break;
    }
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
    case 18: {
      const CurrentWindowData* w = ActiveWindowData;
      if (!w || w->editorKind != kEditorPcb) DrawCentroid(nullptr, payload, t);
      break;
    }
    case 19:
      DrawSpiralRow(payload, t);
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
        DrawArc(payload, type, t, true);
      }
      break;
    }
    case 28: case 29:
      DrawWireEntity(payload, type, t, pass);
      break;
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
  if ((TypeDrawOptionsOf(type) & kTypeDrawClearance) && HasClearanceDrawing(type, payload)) {
    DrawClearance(payload, type, t);
    return;
  }
  DrawByType(payload, type, t, pass);
}

void DrawTrackItem(const Tower* item) {
  const Entity* e = TowerEntity(item);
  if (!e || e->payloadSize < sizeof(pl3::TrackLayout)) return;
  const pl3::Transform placement = ActiveWindowData ? ActiveWindowData->PlacementTransform : pl3::kIdentityTransform;
  SetCurrentLayerColour(HeadOf(EntityPayload(e)).layer);
  DrawSolidLine(EntityPayload(e), &placement);
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
