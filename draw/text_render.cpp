#include "draw/text_render.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "draw/display_builders.h"
#include "draw/entity_geometry.h"
#include "draw/gdi_shapes.h"
#include "draw/ghost_pens.h"
#include "draw/ghosts.h"
#include "draw/layer_drawing.h"
#include "draw/polygon_drawing.h"
#include "draw/text_arithmetic.h"
#include "draw/text_layout.h"
#include "draw/text_layout_seams.h"
#include "edit/window_data.h"
#include "geometry/glyph_fonts.h"
#include "geometry/raster_state.h"
#include "geometry/rasterise.h"
#include "geometry/transform.h"
#include "geometry/view_mapping.h"
#include "objects/entity_record.h"
#include "objects/graphic_records.h"
#include "platform/gdi.h"
#include "platform/reset_hooks.h"
#include "store/tower.h"

CollectedPolygonArray CollectedTextPolygons;
std::uint32_t TextTriangleCount = 0;
std::uint8_t PlainTextSwitch = 0;

void FreeCollectedTextPolygons() {
  std::free(CollectedTextPolygons.records);
  CollectedTextPolygons = {};
}

namespace {

constexpr std::int32_t kOverbarGap = 14400000;
constexpr std::int32_t kOverbarInset = 17280000;
constexpr std::int32_t kOverbarRise = 57600000;
constexpr std::int32_t kOverbarThickness = 46080000;

const bool kResetRegistered = pl3::RegisterGlobalReset([] {
  FreeCollectedTextPolygons();
  TextTriangleCount = 0;
  PlainTextSwitch = 0;
});

struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};

const Entity* NewestChildOf(const Entity* parent, std::uint16_t code) {
  for (const TypeGroup* g = parent ? NodeAt<TypeGroup>(parent->firstChild) : nullptr; g; g = NodeAt<TypeGroup>(g->next))
    if (g->typeCode == code) return NodeAt<Entity>(g->firstChild);
  return nullptr;
}

std::int32_t Word(const std::uint8_t* p, std::uint32_t offset) {
  std::int32_t v;
  std::memcpy(&v, p + offset, sizeof v);
  return v;
}
std::uint16_t Half(const std::uint8_t* p, std::uint32_t offset) {
  std::uint16_t v;
  std::memcpy(&v, p + offset, sizeof v);
  return v;
}

// What one text draw works with.
struct Pass {
  void* dc;
  std::uint8_t mode;
  std::uint8_t layer;
  const Entity* font;
  pl3::Transform glyphs;  // font units (pen + glyph point) to world
  pl3::Transform text;    // world offsets from the anchor to world
  std::int64_t factor;    // height x 4096 as an 8.24 factor
  // The font's character records, looked up once per draw.
  mutable const Entity* glyphRecords[256] = {};
  mutable bool glyphLooked[256] = {};
};

// The character record 400 + c of the pass's font, or null.
const Entity* GlyphOf(const Pass& pass, unsigned char c) {
  if (!pass.glyphLooked[c]) {
    pass.glyphRecords[c] = NewestChildOf(pass.font, static_cast<std::uint16_t>(Type_Glyph + c));
    pass.glyphLooked[c] = true;
  }
  return pass.glyphRecords[c];
}

// Scratch room for an outline's points, kept from one glyph to the next
// (the user-interface thread alone draws).
std::vector<pl3::Point>& PointScratch() {
  static std::vector<pl3::Point> points;
  return points;
}

pl3::Point GlyphToWorld(const Pass& pass, pl3::Point pen, std::int32_t x, std::int32_t y) {
  std::int32_t wx = pl3::WrapAdd(x, pen.x), wy = pl3::WrapAdd(y, pen.y);
  pl3::TransformSignedPoint(&pass.glyphs, wx, wy);
  return {wx, wy};
}

pl3::Point ToView(pl3::Point p) {
  pl3::WorldToViewSigned(p.x, p.y);
  return p;
}

void AppendCollected(const std::uint8_t* polygon, std::uint32_t size) {
  auto& a = CollectedTextPolygons;
  auto* grown = static_cast<std::uint8_t*>(std::realloc(a.records, std::size_t{a.count + 1} * kCollectedPolygonSize));
  if (!grown) return;
  a.records = grown;
  std::uint8_t* slot = grown + std::size_t{a.count} * kCollectedPolygonSize;
  std::memset(slot, 0, kCollectedPolygonSize);
  std::memcpy(slot, polygon, std::min(size, kCollectedPolygonSize));
  ++a.count;
}

// The edges of one closed outline of world points in XOR with the entity
// pen of the layer (mode 0 outlines and overbars).
void GhostClosedOutline(void* dc, std::uint8_t layer, const pl3::Point* points, std::uint32_t count) {
  if (!dc || count < 2) return;
  SetEntityPen(dc, 0, layer);
  for (std::uint32_t i = 0; i < count; ++i) {
    const pl3::Point a = ToView(points[i]), b = ToView(points[(i + 1) % count]);
    DrawSegmentLine(dc, pl3::ViewSegment{a.x, a.y, b.x, b.y});
  }
  RestoreXorPen(dc);
}

// One glyph polygon (type 4): a copy in a zero-filled record of the largest
// polygon size, its count cut to the points the stored record holds, its
// points in world units and its own transform the identity.
void DrawPolygonChild(const Pass& pass, pl3::Point pen, const Entity* child) {
  const std::uint32_t size = std::min(child->payloadSize, kCollectedPolygonSize);
  if (size < sizeof(PolygonHead)) return;
  alignas(4) std::uint8_t copy[kCollectedPolygonSize] = {};
  std::memcpy(copy, EntityPayload(child), size);
  auto* polygon = reinterpret_cast<PolygonHead*>(copy);
  const std::uint32_t fits = (size - sizeof(PolygonHead)) / sizeof(pl3::Point);
  const std::uint32_t count = std::min<std::uint32_t>(polygon->count, fits);
  polygon->count = static_cast<std::uint8_t>(count);
  polygon->editIndex = 255;
  polygon->head.layer = pass.layer;
  polygon->head.transform = pl3::kIdentityTransform;
  pl3::Point* points = pl3::PolygonPoints(polygon);
  for (std::uint32_t i = 0; i < count; ++i) points[i] = GlyphToWorld(pass, pen, points[i].x, points[i].y);
  switch (pass.mode) {
    case 10: AppendCollected(copy, size); return;
    case 2:
      for (std::uint32_t i = 0; count > 1 && i < count; ++i) {
        const pl3::Point a = ToView(points[i]), b = ToView(points[(i + 1) % count]);
        pl3::DrawTrack(a.x, a.y, b.x, b.y, pl3::ScaleToView(TextPenWidth));
      }
      return;
    case 0: GhostPolygonData(pass.dc, copy, 0, nullptr); return;
    case 1: case 5:
      SetCurrentLayerColour(pass.layer);
      DrawTransformedPolygon(copy, &pl3::kIdentityTransform, kPolygonDrawFilled);
      return;
    case 8: GhostFilledPolygonData(pass.dc, copy, nullptr); return;
    case 9: AddGlyphPolygonToDisplayList(copy, size); return;
    default: return;  // 11 and the counting modes draw no polygons
  }
}

// One glyph outline (type 40); an outline whose counts exceed its payload is skipped.
void DrawOutlineChild(const Pass& pass, pl3::Point pen, const Entity* child) {
  const std::uint8_t* p = EntityPayload(child);
  const std::uint32_t size = child->payloadSize;
  if (size < kGlyphOutlineHeaderSize) return;
  const std::uint32_t nPoints = Half(p, 48), nTriangles = Half(p, 50), nContours = Half(p, 52);
  if (GlyphOutlineRecordSize(nPoints, nTriangles, nContours) > size) return;
  pl3::Transform own;
  std::memcpy(&own, p + 24, sizeof own);
  const std::uint8_t* pointBytes = p + kGlyphOutlineHeaderSize;
  const std::uint8_t* triangleBytes = pointBytes + 8 * nPoints;
  const std::uint8_t* contourBytes = triangleBytes + 6 * nTriangles;
  if (pass.mode == 9) {
    AddGlyphToDisplayList(p, size, &pass.glyphs, pass.layer);
    return;
  }
  if (pass.mode != 0 && pass.mode != 1 && pass.mode != 5 && pass.mode != 11 && pass.mode != 2) return;
  // Every point placed once: in world units for the ghost, in view pixels
  // for the plane.
  std::vector<pl3::Point>& points = PointScratch();
  points.resize(nPoints);
  for (std::uint32_t i = 0; i < nPoints; ++i) {
    std::int32_t x = Word(pointBytes, 8 * i), y = Word(pointBytes, 8 * i + 4);
    pl3::TransformSignedPoint(&own, x, y);
    points[i] = GlyphToWorld(pass, pen, x, y);
    if (pass.mode != 0) points[i] = ToView(points[i]);
  }
  switch (pass.mode) {
    case 0:
      for (std::uint32_t c = 0; c < nContours; ++c) {
        const std::uint32_t first = Half(contourBytes, 4 * c), last = Half(contourBytes, 4 * c + 2);
        if (first > last || last >= nPoints) continue;
        GhostClosedOutline(pass.dc, pass.layer, points.data() + first, last - first + 1);
      }
      return;
    case 1: case 5: case 11:
      SetCurrentLayerColour(pass.layer);
      for (std::uint32_t t = 0; t < nTriangles; ++t) {
        const std::uint16_t a = Half(triangleBytes, 6 * t), b = Half(triangleBytes, 6 * t + 2),
                            c = Half(triangleBytes, 6 * t + 4);
        if (a >= nPoints || b >= nPoints || c >= nPoints) continue;
        pl3::FillTriangle(points[a].x, points[a].y, points[b].x, points[b].y, points[c].x, points[c].y);
      }
      return;
    case 2: {
      const std::int32_t pen = pl3::ScaleToView(TextPenWidth);
      for (std::uint32_t c = 0; c < nContours; ++c) {
        const std::uint32_t first = Half(contourBytes, 4 * c), last = Half(contourBytes, 4 * c + 2);
        if (first > last || last >= nPoints) continue;
        for (std::uint32_t i = first; i <= last; ++i) {
          const pl3::Point& from = points[i];
          const pl3::Point& to = points[i == last ? first : i + 1];
          pl3::DrawTrack(from.x, from.y, to.x, to.y, pen);
        }
      }
      return;
    }
    default: return;
  }
}

// Draws one character at the pen and moves the pen on.
void DrawCharacter(const Pass& pass, pl3::Point& pen, unsigned char c) {
  const Entity* glyph = GlyphOf(pass, c);
  if (!glyph) {
    pen.x = pl3::WrapAdd(pen.x, kMissingGlyphSize);
    return;
  }
  if (!NewestChildOf(glyph, Type_CharacterInfo)) return;
  const Entity* metrics = NewestChildOf(glyph, Type_CharacterAdvance);
  if (metrics && metrics->payloadSize < 16) metrics = nullptr;
  if (metrics) pen.x = pl3::WrapAdd(pen.x, Word(EntityPayload(metrics), 0));
  for (const TypeGroup* g = NodeAt<TypeGroup>(glyph->firstChild); g; g = NodeAt<TypeGroup>(g->next)) {
    if (g->typeCode != 4 && g->typeCode != Type_GlyphOutline) continue;
    for (const Entity* e = NodeAt<Entity>(g->firstChild); e; e = NodeAt<Entity>(e->next)) {
      if (g->typeCode == 4) {
        DrawPolygonChild(pass, pen, e);
      } else {
        DrawOutlineChild(pass, pen, e);
      }
    }
  }
  if (metrics) {
    pen.x = pl3::WrapAdd(pen.x, std::int64_t{Word(EntityPayload(metrics), 4)} + Word(EntityPayload(metrics), 8));
  } else {
    const Entity* box = NewestChildOf(glyph, Type_BoundingBox);
    if (box && box->payloadSize >= 16) pen.x = pl3::WrapAdd(pen.x, Word(EntityPayload(box), 8));
  }
}

// The overbar run's width in font units.
std::int64_t RunWidth(const Pass& pass, const std::vector<unsigned char>& run) {
  std::int64_t width = kOverbarInset;
  for (unsigned char c : run) {
    const Entity* glyph = GlyphOf(pass, c);
    const Entity* metrics = glyph ? NewestChildOf(glyph, Type_CharacterAdvance) : nullptr;
    const Entity* box = glyph ? NewestChildOf(glyph, Type_BoundingBox) : nullptr;
    if (!glyph) {
      width += kMissingGlyphSize;
    } else if (metrics && metrics->payloadSize >= 16) {
      width += Word(EntityPayload(metrics), 12);
    } else if (box && box->payloadSize >= 16) {
      width += std::int64_t{Word(EntityPayload(box), 8)} + kOverbarGap;
    } else {
      width += kOverbarGap;
    }
  }
  return width;
}

// An empty run ("~~") has no bar, as it has no growth of the string box.
void DrawOverbar(const Pass& pass, pl3::Point pen, const std::vector<unsigned char>& run, std::uint32_t reference) {
  std::int32_t width = static_cast<std::int32_t>(RunWidth(pass, run));
  std::int32_t inset = kOverbarInset, rise = kOverbarRise, thick = kOverbarThickness;
  auto ref = static_cast<std::int32_t>(reference);
  std::int32_t px = pen.x, py = pen.y;
  const auto f = static_cast<std::uint32_t>(pass.factor);
  for (std::int32_t* v : {&width, &inset, &rise, &thick, &ref, &px, &py}) pl3::ScaleValueByFactor(*v, f);
  const std::int32_t x0 = pl3::WrapAdd(px, inset), x1 = pl3::WrapAdd(x0, width);
  const std::int32_t lower = pl3::WrapAdd(py, std::int64_t{ref} - rise), upper = pl3::WrapAdd(lower, -std::int64_t{thick});
  pl3::Point corners[4] = {{x0, lower}, {x1, lower}, {x1, upper}, {x0, upper}};
  for (pl3::Point& c : corners) pl3::TransformSignedPoint(&pass.text, c.x, c.y);
  switch (pass.mode) {
    case 0: GhostClosedOutline(pass.dc, pass.layer, corners, 4); return;
    case 6: return;
    case 7: TextTriangleCount += 2; return;
    case 11: {
      POINT pts[4];
      for (int i = 0; i < 4; ++i) {
        const pl3::Point v = ToView(corners[i]);
        pts[i] = {v.x, v.y};
      }
      HDC dc = static_cast<HDC>(pass.dc);
      HBRUSH brush = CreateSolidBrush(pl3::g_raster.fillValue);
      HBRUSH old = SelectObject(dc, brush);
      Polygon(dc, pts, 4);
      SelectObject(dc, old);
      DeleteObject(brush);
      return;
    }
    default: {
      SetCurrentLayerColour(pass.layer);
      pl3::Point v[4];
      for (int i = 0; i < 4; ++i) v[i] = ToView(corners[i]);
      pl3::FillTriangle(v[0].x, v[0].y, v[1].x, v[1].y, v[2].x, v[2].y);
      pl3::FillTriangle(v[0].x, v[0].y, v[2].x, v[2].y, v[3].x, v[3].y);
      return;
    }
  }
}

// The smallest bottom of the boxes of the characters inside overbar runs.
std::uint32_t OverbarReference(const Pass& pass, const char* s) {
  std::int64_t smallest = INT64_MAX;
  bool inRun = false;
  for (const char* p = s; *p; ++p) {
    if (*p == '~') {
      inRun = !inRun;
      continue;
    }
    if (!inRun) continue;
    const Entity* glyph = GlyphOf(pass, static_cast<unsigned char>(*p));
    const Entity* box = glyph ? NewestChildOf(glyph, Type_BoundingBox) : nullptr;
    const std::int64_t bottom = box && box->payloadSize >= 16 ? Word(EntityPayload(box), 4) : 0;
    smallest = std::min(smallest, bottom);
  }
  return smallest == INT64_MAX ? 0xFFFFFFFFu : static_cast<std::uint32_t>(smallest);
}

void WalkString(const Pass& pass, const char* s, bool overbars) {
  const std::uint32_t reference = overbars ? OverbarReference(pass, s) : 0;
  pl3::Point pen{0, 0}, runStart{0, 0};
  std::vector<unsigned char> run;
  bool inRun = false;
  for (const char* p = s; *p; ++p) {
    const auto c = static_cast<unsigned char>(*p);
    if (overbars && c == '~') {
      if (inRun && !run.empty()) DrawOverbar(pass, runStart, run, reference);
      inRun = !inRun;
      runStart = pen;
      run.clear();
      continue;
    }
    if (inRun) run.push_back(c);
    DrawCharacter(pass, pen, c);
  }
  if (inRun && !run.empty()) DrawOverbar(pass, runStart, run, reference);
}

bool DrawsFontTwoForThree(std::uint8_t mode) { return (mode >= 3 && mode <= 7) || mode == 11; }

}  // namespace

void RenderTextEntity(void* dc, const TextPayload* item, std::uint8_t mode, const pl3::Transform* transform) {
  if (!item) return;
  const std::size_t length = strnlen(item->text, kTextMaxBytes - 1);
  std::unique_ptr<std::uint8_t[]> bytes(new std::uint8_t[offsetof(TextPayload, text) + length + 1]);
  std::memcpy(bytes.get(), item, offsetof(TextPayload, text) + length);
  bytes[offsetof(TextPayload, text) + length] = 0;
  auto* copy = reinterpret_cast<TextPayload*>(bytes.get());
  CurrentWindowData* w = ActiveWindowData;
  // Drawn into the plane inside a mirrored symbol, the text's anchor is
  // reflected about the symbol's origin and its justification turned round.
  std::int32_t originX = 0;
  if (w && (w->StateFlags & kStateSymbolMirrored) && (mode == 1 || mode == 5 || mode == 11) &&
      ContainingSymbolOriginX(pl3::g_raster.currentEntity, &originX)) {
    MirrorTextPayload(copy, originX);
  }

  std::uint32_t number;
  std::memcpy(&number, copy->bytes52, sizeof number);
  if (number == kFallbackFont && DrawsFontTwoForThree(mode)) number = 2;
  OwnedTower font(GetFontTower(number));
  if (!font) return;
  ResolveEntitySizes(copy, 5);  // a Text

  Pass pass{dc, mode, copy->head.layer, TowerEntity(font.get()), {}, {}, std::int64_t{copy->size} * 4096};
  const std::uint64_t extent = GetTextExtent(copy, font.get());
  pass.text = copy->textTransform;
  pass.text.tx = pl3::WrapAdd(pass.text.tx, static_cast<std::int32_t>(static_cast<std::uint32_t>(extent)));
  pass.text.ty = pl3::WrapAdd(pass.text.ty, static_cast<std::int32_t>(static_cast<std::uint32_t>(extent >> 32)));
  pass.glyphs = HeightScaledTransform(copy);
  pass.glyphs.tx = pass.text.tx;
  pass.glyphs.ty = pass.text.ty;
  if (transform) {
    pl3::ComposeTransform(&pass.text, transform);
    pl3::ComposeTransform(&pass.glyphs, transform);
  }

  const bool schematic = w && (w->editorKind == kEditorSchematic || w->editorKind == kEditorSchematicSymbol);
  if (!schematic) {
    WalkString(pass, copy->text, false);
    return;
  }
  const std::uint32_t saved = w->StateFlags;
  w->StateFlags &= ~kStateSymbolMirrored;
  std::unique_ptr<char, FreeDeleter> expanded(PlainTextSwitch ? nullptr : ExpandTextFields(w->design, copy->text));
  WalkString(pass, expanded ? expanded.get() : copy->text, true);
  w->StateFlags = saved;
}

void DrawTextItem(void* dc, const EntityRecord* record) {
  if (!record) return;
  const pl3::Transform placement = ActiveWindowData ? ActiveWindowData->PlacementTransform : pl3::kIdentityTransform;
  RenderTextEntity(dc, reinterpret_cast<const TextPayload*>(record->payload), 1, &placement);
}
