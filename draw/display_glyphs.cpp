// The items texts give in display-list mode: glyph outlines (filled sets of
// triangles with their contours) and polygons, and the polygon builder the
// polygon entities share with them.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "draw/display_builders.h"
#include "draw/layer_drawing.h"
#include "edit/window_data.h"
#include "geometry/box_margins.h"
#include "geometry/glyph_fonts.h"
#include "geometry/raster_state.h"
#include "geometry/transform.h"
#include "objects/graphic_records.h"
#include "objects/payload_access.h"
#include "store/tower.h"

namespace {

using pl3::g_raster;

std::uint32_t& Fill() { return g_raster.fillValue; }


constexpr std::uint16_t kTypePolygon = 4;
constexpr std::uint16_t kTypeText = 5;
constexpr std::uint16_t kSizeGiven = 2;

bool IsPolygonKind(std::uint16_t code) {
  return code == 4 || code == 8 || code == 9 || (code >= 41 && code <= 45) || code == 49;
}

// The points a polygon record of `size` bytes really holds: its count byte,
// cut to the points that fit.
std::uint32_t PolygonPointsThatFit(const pl3::PolygonLayout& polygon, std::uint32_t size) {
  if (size < sizeof(pl3::PolygonLayout)) return 0;
  return std::min<std::uint32_t>(polygon.count, (size - sizeof(pl3::PolygonLayout)) / sizeof(pl3::Point));
}

}  // namespace

std::unique_ptr<std::uint8_t[]> CopyPolygonRecord(const void* record, std::uint32_t size, std::uint32_t* copySize) {
  const auto* source = static_cast<const pl3::PolygonLayout*>(record);
  const std::uint32_t count = PolygonPointsThatFit(*source, size);
  if (count == 0) return nullptr;
  *copySize = PolygonStoredSize(count);
  std::unique_ptr<std::uint8_t[]> copy(new std::uint8_t[*copySize]());
  std::memcpy(copy.get(), record, std::min(size, *copySize));
  reinterpret_cast<pl3::PolygonLayout*>(copy.get())->count = static_cast<std::uint8_t>(count);
  return copy;
}

void BuildPolygonItem(const DisplayBuild& b, const pl3::PolygonLayout* polygon, std::uint32_t size,
                      std::uint16_t code) {
  const bool textOutline = CurrentDisplayEntity && LastLevel(CurrentDisplayEntity).typeCode == kTypeText;
  std::uint16_t kind = IsPolygonKind(code) ? code : 4;
  if (textOutline) kind = 4;
  auto* item = reinterpret_cast<PolygonItem*>(NewDisplayItemFor(b, sizeof(PolygonItem) + size, kind, b.layer));
  if (!item) return;
  item->recordSize = size;
  std::memcpy(PolygonItemRecord(item), polygon, size);
  pl3::PolygonLayout* record = PolygonItemRecord(item);
  record->head.sizeFlags = kSizeGiven;
  if (textOutline) item->head.flags |= kItemTextOutline;
  if ((kind >= 41 && kind <= 45) || kind == 49) item->head.flags |= kItemKeepout;
  item->savedColour = item->currentColour = Fill();
  item->clearance = b.clearance;
  pl3::Box box{};
  const pl3::Point* points = pl3::PolygonPoints(record);
  for (std::uint32_t i = 0; i < record->count; ++i) ExtendItemBox(box, points[i], i == 0);
  item->head.box = box;
  item->head.clearanceBox = GrownItemBox(box, b.clearance);
  item->head.checkClass = GetCheckClass(&item->head);
  StoreDisplayItem(b, TextItemListCode(b, kind), &item->head);
}

void AddGlyphToDisplayList(const std::uint8_t* outline, std::uint32_t size, const pl3::Transform* transform,
                           std::uint8_t layer) {
  const DisplayBuild* b = CurrentDisplayBuild();
  if (!b || !outline || size < kGlyphOutlineHeaderSize) return;
  const std::uint32_t nPoints = ReadU16(outline, 48), nTriangles = ReadU16(outline, 50), nContours = ReadU16(outline, 52);
  const std::uint32_t recordSize = GlyphOutlineRecordSize(nPoints, nTriangles, nContours);
  if (recordSize > size) return;
  const std::uint8_t op = g_raster.rasterOp;
  if (!IsSchematicKind(ActiveWindowData->editorKind)) SetCurrentLayerColour(layer);
  const std::uint8_t drawnLayer = EffectiveDrawLayer(*ActiveWindowData, layer);
  auto* item = reinterpret_cast<GlyphItem*>(NewDisplayItemFor(*b, sizeof(GlyphItem), Type_GlyphOutline, drawnLayer));
  if (!item) return;
  item->outline = static_cast<std::uint8_t*>(std::malloc(recordSize));
  if (!item->outline) {
    FreeDisplayItem(&item->head);
    return;
  }
  std::memcpy(item->outline, outline, recordSize);
  pl3::Transform t;
  std::memcpy(&t, item->outline + 24, sizeof t);
  if (transform) pl3::ComposeTransform(&t, transform);
  GlyphPoint* points = nullptr;
  GetGlyphOutlineArrays(item->outline, &points, &item->triangles, &item->contours);
  item->points = reinterpret_cast<pl3::Point*>(points);
  item->pointCount = nPoints;
  item->triangleCount = nTriangles;
  item->contourCount = nContours;
  pl3::Box box{};
  for (std::uint32_t i = 0; i < nPoints; ++i) {
    pl3::TransformSignedPoint(&t, item->points[i].x, item->points[i].y);
    ExtendItemBox(box, item->points[i], i == 0);
  }
  item->head.flags |= kItemTextOutline;
  item->savedColour = item->currentColour = Fill();
  item->clearance = b->clearance;
  item->head.box = box;
  item->head.clearanceBox = GrownItemBox(box, b->clearance);
  item->head.checkClass = GetCheckClass(&item->head);
  StoreDisplayItem(*b, TextItemListCode(*b, Type_GlyphOutline), &item->head);
  g_raster.rasterOp = op;
}

void AddGlyphPolygonToDisplayList(const void* polygon, std::uint32_t size) {
  const DisplayBuild* b = CurrentDisplayBuild();
  if (!b || !polygon) return;
  std::uint32_t copySize = 0;
  std::unique_ptr<std::uint8_t[]> copy = CopyPolygonRecord(polygon, size, &copySize);
  if (!copy) return;
  auto* record = reinterpret_cast<pl3::PolygonLayout*>(copy.get());
  if (!IsSchematicKind(ActiveWindowData->editorKind)) SetCurrentLayerColour(record->head.layer);
  DisplayBuild glyph = *b;
  glyph.layer = EffectiveDrawLayer(*ActiveWindowData, record->head.layer);
  BuildPolygonItem(glyph, record, copySize, kTypePolygon);
}
