#include "geometry/glyph_fonts.h"

#include <GL/glu.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>

#include "geometry/types.h"
#include "platform/reset_hooks.h"
#include "platform/text_case.h"
#include "platform/user.h"
#include "store/tower.h"

Tower* ProgramTower = nullptr;
Tower* FontRecordsTower = nullptr;

namespace {

constexpr std::uint16_t kTypeText = 5;
constexpr std::uint16_t kTypeSchematicSymbol = 25;
constexpr std::uint16_t kTypePCB = 102;
constexpr std::uint16_t kTypeSchematic = 103;
constexpr std::uint16_t kTypePage = 104;
constexpr std::uint16_t kTypeSymbolDefinition = 105;
constexpr std::uint16_t kTypeDesignatorInfo = 233;
constexpr std::uint32_t kTextFontField = 52;
constexpr std::uint32_t kDesignatorFontField = 16;
constexpr std::uint32_t kFirstFontCounter = 3;
constexpr int kGlyphCodes = 256;

struct FontState {
  std::uint32_t counter = kFirstFontCounter;  // the number of the last converted face
  std::map<std::uint32_t, NodeRef> records;   // the font-record table
};
FontState& State() {
  static FontState state;
  return state;
}

// ---- Native outline buffer ---------------------------------------------------------

using Fixed1616 = std::int32_t;

Fixed1616 FixedValue(const FIXED& f) {
  return static_cast<Fixed1616>(static_cast<std::uint32_t>(static_cast<std::uint16_t>(f.value)) << 16 | f.fract);
}

// The integer part, plus one when the fraction is a half or more.
std::int32_t RoundHalfUp(Fixed1616 v) { return (v >> 16) + ((v & 0xFFFF) >= 0x8000 ? 1 : 0); }

struct FixedPoint {
  Fixed1616 x;
  Fixed1616 y;
};

FixedPoint ReadPoint(const std::uint8_t* at) {
  POINTFX p;
  std::memcpy(&p, at, sizeof p);
  return {FixedValue(p.x), FixedValue(p.y)};
}

GlyphPoint Rounded(FixedPoint p) { return {RoundHalfUp(p.x), RoundHalfUp(p.y)}; }

std::int32_t CeilingEighth(std::int64_t v) {
  return static_cast<std::int32_t>(v >= 0 ? (v + 7) / 8 : -((-v) / 8));
}

// One quadratic piece from a through control b to c: raised to a cubic with
// integer arithmetic, then its point at t = 1/2 and its end are appended.
void AppendQuadraticPiece(GlyphOutline& out, FixedPoint a, FixedPoint b, FixedPoint c) {
  const GlyphPoint p0 = Rounded(a);
  const GlyphPoint bb = Rounded(b);
  const GlyphPoint p3 = Rounded(c);
  const std::int64_t p1x = p0.x + 2 * (static_cast<std::int64_t>(bb.x) - p0.x) / 3;
  const std::int64_t p1y = p0.y + 2 * (static_cast<std::int64_t>(bb.y) - p0.y) / 3;
  const std::int64_t p2x = bb.x + (static_cast<std::int64_t>(p3.x) - bb.x) / 3;
  const std::int64_t p2y = bb.y + (static_cast<std::int64_t>(p3.y) - bb.y) / 3;
  out.points.push_back(
      {CeilingEighth(p0.x + 3 * p1x + 3 * p2x + p3.x), CeilingEighth(p0.y + 3 * p1y + 3 * p2y + p3.y)});
  out.points.push_back(p3);
}

// A quadratic B-spline record of n points after the point a; returns its end.
FixedPoint FlattenQuadratic(GlyphOutline& out, FixedPoint a, const std::uint8_t* pointsAt, std::uint32_t n) {
  if (n == 1) {  // no control point to bend by: a straight segment
    const FixedPoint only = ReadPoint(pointsAt);
    out.points.push_back(Rounded(only));
    return only;
  }
  std::uint32_t i = 0;
  while (i < n) {
    const FixedPoint b = ReadPoint(pointsAt + 8 * i);
    FixedPoint c;
    if (i + 1 == n - 1) {
      c = ReadPoint(pointsAt + 8 * (n - 1));
      i += 2;
    } else {
      const FixedPoint next = ReadPoint(pointsAt + 8 * (i + 1));
      c = {static_cast<Fixed1616>((static_cast<std::int64_t>(b.x) + next.x) / 2),
           static_cast<Fixed1616>((static_cast<std::int64_t>(b.y) + next.y) / 2)};
      i += 1;
    }
    AppendQuadraticPiece(out, a, b, c);
    a = c;
  }
  return a;
}

// Reads the curve records of one polygon between `at` and `end`; false when a
// record does not fit.
bool ReadCurves(GlyphOutline& out, const std::uint8_t* at, const std::uint8_t* end, FixedPoint a) {
  while (at < end) {
    if (end - at < static_cast<std::ptrdiff_t>(kPolyCurveHeaderSize)) return false;
    WORD type = 0;
    WORD count = 0;
    std::memcpy(&type, at, 2);
    std::memcpy(&count, at + 2, 2);
    const std::uint8_t* pointsAt = at + kPolyCurveHeaderSize;
    if (end - pointsAt < static_cast<std::ptrdiff_t>(8u * count)) return false;
    if (type == TT_PRIM_LINE) {
      for (std::uint32_t k = 0; k < count; ++k) {
        a = ReadPoint(pointsAt + 8 * k);
        out.points.push_back(Rounded(a));
      }
    } else if (type == TT_PRIM_QSPLINE) {
      a = FlattenQuadratic(out, a, pointsAt, count);
    } else if (count > 0) {
      a = ReadPoint(pointsAt + 8 * (count - 1));  // cubic pieces draw nothing
    }
    at = pointsAt + 8u * count;
  }
  return true;
}

// ---- Tessellation ----------------------------------------------------------------------

void* IndexData(std::uint32_t index) { return reinterpret_cast<void*>(static_cast<std::uintptr_t>(index) + 1); }
std::uint32_t DataIndex(void* data) {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(data) - 1);
}

void GLAPIENTRY OnVertex(void* vertex, void* polygon) {
  auto& out = *static_cast<GlyphOutline*>(polygon);
  if (out.nextCorner == 0) out.triangles.push_back({});
  out.triangles.back().corner[out.nextCorner] = DataIndex(vertex);
  out.nextCorner = (out.nextCorner + 1) % 3;
}

void GLAPIENTRY OnCombine(GLdouble coords[3], void*[4], GLfloat[4], void** made, void* polygon) {
  auto& out = *static_cast<GlyphOutline*>(polygon);
  out.points.push_back({static_cast<std::int32_t>(coords[0]), static_cast<std::int32_t>(coords[1])});
  *made = IndexData(static_cast<std::uint32_t>(out.points.size() - 1));
}

// Registered so that only separate triangles come back, never fans or strips.
void GLAPIENTRY OnEdgeFlag(GLboolean, void*) {}
void GLAPIENTRY OnError(GLenum, void*) {}

struct Tessellator {
  GLUtesselator* tess = gluNewTess();
  ~Tessellator() {
    if (tess) gluDeleteTess(tess);
  }
};

// ---- Stored records -----------------------------------------------------------------

std::int32_t ToWorld(double v) { return static_cast<std::int32_t>(static_cast<std::int64_t>(v * kWorldUnitsPerFontUnit)); }

struct OutlineBox {
  std::uint32_t minX = 0xFFFFFFFFu;
  std::uint32_t minY = 0xFFFFFFFFu;
  std::uint32_t maxX = 0;
  std::uint32_t maxY = 0;
  void Add(std::int32_t x, std::int32_t y) {
    const auto ux = static_cast<std::uint32_t>(x);
    const auto uy = static_cast<std::uint32_t>(y);
    if (ux < minX) minX = ux;
    if (uy < minY) minY = uy;
    if (ux > maxX) maxX = ux;
    if (uy > maxY) maxY = uy;
  }
};

template <typename T>
void Put(std::vector<std::uint8_t>& record, std::size_t at, T value) {
  std::memcpy(record.data() + at, &value, sizeof value);
}

// The outline record (40) of a glyph in world units, y down from the cell's top.
std::vector<std::uint8_t> OutlineRecord(const GlyphOutline& g, std::int32_t cellHeight, OutlineBox& box) {
  const bool fits = g.points.size() <= 0xFFFF && g.triangles.size() <= 0xFFFF && g.contours.size() <= 0xFFFF;
  const auto p = fits ? static_cast<std::uint32_t>(g.points.size()) : 0u;
  const auto t = fits ? static_cast<std::uint32_t>(g.triangles.size()) : 0u;
  const auto c = fits ? static_cast<std::uint32_t>(g.contours.size()) : 0u;
  std::vector<std::uint8_t> record(GlyphOutlineRecordSize(p, t, c), 0);
  Put(record, 24, pl3::kIdentityTransform);
  Put(record, 48, static_cast<std::uint16_t>(p));
  Put(record, 50, static_cast<std::uint16_t>(t));
  Put(record, 52, static_cast<std::uint16_t>(c));
  GlyphPoint* points = nullptr;
  std::uint16_t* triangles = nullptr;
  std::uint16_t* contours = nullptr;
  GetGlyphOutlineArrays(record.data(), &points, &triangles, &contours);
  for (std::uint32_t k = 0; k < p; ++k) {
    const GlyphPoint w{ToWorld(g.points[k].x),
                       static_cast<std::int32_t>(cellHeight - static_cast<std::int64_t>(ToWorld(g.points[k].y)))};
    box.Add(w.x, w.y);
    std::memcpy(points + k, &w, sizeof w);
  }
  for (std::uint32_t k = 0; k < t; ++k)
    for (int j = 0; j < 3; ++j) {
      const auto index = static_cast<std::uint16_t>(g.triangles[k].corner[j]);
      std::memcpy(triangles + 3 * k + j, &index, 2);
    }
  for (std::uint32_t k = 0; k < c; ++k) {
    const std::uint16_t pair[2] = {static_cast<std::uint16_t>(g.contours[k].first),
                                   static_cast<std::uint16_t>(g.contours[k].last)};
    std::memcpy(contours + 2 * k, pair, sizeof pair);
  }
  const std::int32_t boxWords[4] = {static_cast<std::int32_t>(box.minX), static_cast<std::int32_t>(box.minY),
                                    static_cast<std::int32_t>(box.maxX), static_cast<std::int32_t>(box.maxY)};
  std::memcpy(record.data() + 56, boxWords, sizeof boxWords);
  return record;
}

void InsertRecord(const Tower* parent, std::uint16_t code, const void* data, std::uint32_t size) {
  Tower* t = InsertEntity(parent, size, code, data);
  ReleaseTower(&t);
}

void InsertAdvance(const Tower* glyph, std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t full) {
  const std::int32_t advance[4] = {a, b, c, full};
  InsertRecord(glyph, Type_CharacterAdvance, advance, sizeof advance);
}

void StoreGlyph(const Tower* font, unsigned code, const GlyphOutline& g) {
  Tower* glyph = InsertEmptyEntity(font, static_cast<std::uint16_t>(Type_Glyph + code));
  const auto cellHeight = static_cast<std::int32_t>(
      static_cast<std::int64_t>(g.metrics.tmHeight + g.metrics.tmDescent) * kWorldUnitsPerFontUnit);
  const std::uint32_t info[2] = {static_cast<std::uint32_t>(cellHeight), 0};
  InsertRecord(glyph, Type_CharacterInfo, info, sizeof info);
  OutlineBox box;
  const std::vector<std::uint8_t> record = OutlineRecord(g, cellHeight, box);
  InsertRecord(glyph, Type_GlyphOutline, record.data(), static_cast<std::uint32_t>(record.size()));
  InsertRecord(glyph, Type_BoundingBox, record.data() + 56, 16);
  const ABCFLOAT& w = g.widths;
  InsertAdvance(glyph, ToWorld(w.abcfA), ToWorld(w.abcfB), ToWorld(w.abcfC),
                ToWorld(static_cast<double>(w.abcfA) + w.abcfB + w.abcfC));
  ReleaseTower(&glyph);
}

// ---- Font lists --------------------------------------------------------------------

std::string NameOf(const Tower* entry) {
  Tower* t = OpenChildTower(entry, Type_FontName);
  std::string name;
  if (Entity* e = TowerEntity(t)) {
    const char* text = reinterpret_cast<const char*>(EntityPayload(e));
    name.assign(text, strnlen(text, e->payloadSize));
  }
  ReleaseTower(&t);
  return name;
}

template <typename T>
T FieldOf(const Tower* entry, std::uint16_t code) {
  Tower* t = OpenChildTower(entry, code);
  T value{};
  if (Entity* e = TowerEntity(t); e && e->payloadSize >= sizeof(T)) std::memcpy(&value, EntityPayload(e), sizeof(T));
  ReleaseTower(&t);
  return value;
}

template <typename Visit>
void ForEachChild(const Tower* parent, std::uint16_t code, Visit visit) {
  Tower* children = GetChildTower(parent, code);
  while (children && FindNextEntity(children))
    if (!visit(children)) break;
  ReleaseTower(&children);
}

// The list's entry of a name and character set, visited; false when none.
template <typename Visit>
bool FindEntry(const Tower* t, const char* name, std::uint8_t charset, Visit visit) {
  bool found = false;
  Tower* list = OpenChildTower(t, Type_FontList);
  if (!list) return false;
  ForEachChild(list, Type_FontListEntry, [&](Tower* entry) {
    if (!pl3::EqualsNoCase(NameOf(entry), name) || FieldOf<std::uint8_t>(entry, Type_FontCharset) != charset)
      return true;
    visit(entry);
    found = true;
    return false;
  });
  ReleaseTower(&list);
  return found;
}

void AddListEntry(const Tower* t, const char* name, std::uint32_t number, std::uint8_t charset) {
  Tower* list = OpenChildTower(t, Type_FontList);
  if (!list) list = InsertEmptyEntity(t, Type_FontList);
  Tower* entry = InsertEmptyEntity(list, Type_FontListEntry);
  InsertRecord(entry, Type_FontName, name, static_cast<std::uint32_t>(std::strlen(name) + 1));
  InsertRecord(entry, Type_FontNumber, &number, sizeof number);
  InsertRecord(entry, Type_FontCharset, &charset, sizeof charset);
  ReleaseTower(&entry);
  ReleaseTower(&list);
}

// The number of a face in this run, converting it when the program has not yet.
std::uint32_t ProgramFontNumber(const char* name, std::uint8_t charset) {
  std::uint32_t number = 0;
  if (ProgramTower && FindFontInList(ProgramTower, name, &number, charset)) return number;
  return CreateTrueTypeFont(name, charset);
}

bool IsFontListOwner(std::uint16_t code) {
  return code == kTypeSchematicSymbol || code == kTypePCB || code == kTypeSchematic || code == kTypeSymbolDefinition;
}

void RemapField(Entity* e, std::uint32_t offset, const std::vector<FontNumberPair>& map) {
  if (e->payloadSize < offset + 4) return;
  std::uint32_t stored = 0;
  std::memcpy(&stored, EntityPayload(e) + offset, 4);
  std::uint32_t current = 0;
  for (const FontNumberPair& pair : map)
    if (pair.stored == stored) {
      current = pair.current;
      break;
    }
  std::memcpy(EntityPayload(e) + offset, &current, 4);
}

void ResetFonts() {
  State() = FontState{};
  ProgramTower = FontRecordsTower = nullptr;  // their nodes go with the store's own reset
}
const bool registered = pl3::RegisterGlobalReset(&ResetFonts);

}  // namespace

// ---- Outlines ------------------------------------------------------------------------

int ParseNativeOutline(const std::uint8_t* buffer, std::size_t size, GlyphOutline& out) {
  std::size_t pos = 0;
  while (buffer && pos < size) {
    if (size - pos < sizeof(TTPOLYGONHEADER)) return 0;
    TTPOLYGONHEADER header;
    std::memcpy(&header, buffer + pos, sizeof header);
    if (header.cb < sizeof(TTPOLYGONHEADER) || header.cb > size - pos) return 0;
    if (header.dwType == TT_POLYGON_TYPE) {
      const auto first = static_cast<std::uint32_t>(out.points.size());
      const FixedPoint start{FixedValue(header.pfxStart.x), FixedValue(header.pfxStart.y)};
      out.points.push_back(Rounded(start));
      if (!ReadCurves(out, buffer + pos + sizeof header, buffer + pos + header.cb, start)) {
        out.points.resize(first);  // the damaged contour goes; those before it stay
        return 0;
      }
      const GlyphPoint f = out.points[first];
      const GlyphPoint l = out.points.back();
      if (l.x != f.x || l.y != f.y) out.points.push_back(f);
      out.contours.push_back({first, static_cast<std::uint32_t>(out.points.size() - 1)});
    }
    pos += header.cb;
  }
  return 1;
}

void TriangulateGlyphOutline(GlyphOutline& outline) {
  if (outline.contours.empty()) return;
  Tessellator t;
  if (!t.tess) return;
  using Callback = void(GLAPIENTRY*)();
  gluTessProperty(t.tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
  gluTessCallback(t.tess, GLU_TESS_VERTEX_DATA, reinterpret_cast<Callback>(&OnVertex));
  gluTessCallback(t.tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<Callback>(&OnCombine));
  gluTessCallback(t.tess, GLU_TESS_EDGE_FLAG_DATA, reinterpret_cast<Callback>(&OnEdgeFlag));
  gluTessCallback(t.tess, GLU_TESS_ERROR_DATA, reinterpret_cast<Callback>(&OnError));
  // The tessellator keeps the coordinates' addresses until the polygon ends.
  std::vector<GLdouble> coords(outline.points.size() * 3);
  for (std::size_t k = 0; k < outline.points.size(); ++k) {
    coords[3 * k] = outline.points[k].x;
    coords[3 * k + 1] = outline.points[k].y;
    coords[3 * k + 2] = 0.0;
  }
  const std::vector<GlyphContour> contours = outline.contours;
  outline.nextCorner = 0;
  gluTessBeginPolygon(t.tess, &outline);
  for (const GlyphContour& c : contours) {
    if (c.last < c.first || c.last >= coords.size() / 3) continue;
    gluTessBeginContour(t.tess);
    for (std::uint32_t k = c.first; k <= c.last; ++k) gluTessVertex(t.tess, &coords[3 * k], IndexData(k));
    gluTessEndContour(t.tess);
  }
  gluTessEndPolygon(t.tess);
  // A triangle left unfinished by a tessellator error is dropped.
  if (outline.nextCorner != 0) outline.triangles.pop_back();
  outline.nextCorner = 0;
}

GlyphOutline BuildGlyphOutline(HFONT font, unsigned code) {
  GlyphOutline out;
  HWND desktop = GetDesktopWindow();
  HDC screen = GetDC(desktop);
  HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(desktop, screen);
  if (!dc) return out;
  HFONT previous = SelectObject(dc, font);
  const MAT2 identity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
  GLYPHMETRICS metrics{};
  const DWORD size = GetGlyphOutlineW(dc, code, GGO_NATIVE, &metrics, 0, nullptr, &identity);
  // A refused glyph (an error instead of a size) keeps an empty outline.
  if (size != GDI_ERROR && size > 0) {
    std::vector<std::uint8_t> buffer(size);
    const DWORD got = GetGlyphOutlineW(dc, code, GGO_NATIVE, &metrics, size, buffer.data(), &identity);
    if (got != GDI_ERROR && got <= size) ParseNativeOutline(buffer.data(), got, out);
  }
  GetTextMetricsA(dc, &out.metrics);
  GetCharABCWidthsFloatA(dc, code, code, &out.widths);
  SelectObject(dc, previous);
  DeleteDC(dc);
  TriangulateGlyphOutline(out);
  if (!out.points.empty()) {
    std::int32_t minX = out.points.front().x;
    for (const GlyphPoint& p : out.points) minX = std::min(minX, p.x);
    for (GlyphPoint& p : out.points) p.x -= minX;
  }
  return out;
}

std::uint32_t GlyphOutlineRecordSize(std::uint32_t points, std::uint32_t triangles, std::uint32_t contours) {
  return kGlyphOutlineHeaderSize + 8 * points + 6 * triangles + 4 * contours;
}

void GetGlyphOutlineArrays(std::uint8_t* record, GlyphPoint** points, std::uint16_t** triangles,
                           std::uint16_t** contours) {
  std::uint16_t p = 0;
  std::uint16_t t = 0;
  std::memcpy(&p, record + 48, 2);
  std::memcpy(&t, record + 50, 2);
  std::uint8_t* at = record + kGlyphOutlineHeaderSize;
  if (points) *points = reinterpret_cast<GlyphPoint*>(at);
  at += 8u * p;
  if (triangles) *triangles = reinterpret_cast<std::uint16_t*>(at);
  at += 6u * t;
  if (contours) *contours = reinterpret_cast<std::uint16_t*>(at);
}

// ---- Fonts ---------------------------------------------------------------------------

std::uint32_t CreateTrueTypeFont(const char* name, std::uint8_t charset) {
  FontState& state = State();
  const std::uint32_t number = state.counter + 1;
  HFONT font = CreateFont(kTrueTypeFontHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, charset, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, name);
  Tower* record = FontRecordsTower ? InsertEmptyEntity(FontRecordsTower, Type_Font) : nullptr;
  if (record) {
    InsertRecord(record, Type_FontName, name, static_cast<std::uint32_t>(std::strlen(name) + 1));
    InsertRecord(record, Type_FontNumber, &number, sizeof number);
    for (int code = 0; code < kGlyphCodes; ++code)
      StoreGlyph(record, static_cast<unsigned>(code), BuildGlyphOutline(font, static_cast<unsigned>(code)));
  }
  DeleteObject(font);
  if (ProgramTower) AddListEntry(ProgramTower, name, number, charset);
  state.counter = number;
  SetFontRecord(number, TowerEntity(record));
  ReleaseTower(&record);
  return number;
}

int FindFontInList(const Tower* t, const char* name, std::uint32_t* number, std::uint8_t charset) {
  if (!t || !name) return 0;
  return FindEntry(t, name, charset, [&](Tower* entry) {
    if (number) *number = FieldOf<std::uint32_t>(entry, Type_FontNumber);
  }) ? 1 : 0;
}

std::uint32_t GetFontNumber(const Tower* document, const char* name, std::uint8_t charset) {
  if (!name || pl3::EqualsNoCase(name, kLegacyFontName)) return kLegacyFontNumber;
  Tower* schematic = nullptr;
  if (Entity* e = TowerEntity(document); e && e->typeCode == kTypePage) {
    schematic = GetAncestorTower(document, kTypeSchematic);
    if (schematic) document = schematic;
  }
  std::uint32_t number = 0;
  if (!FindFontInList(document, name, &number, charset)) {
    number = ProgramFontNumber(name, charset);
    if (document) AddListEntry(document, name, number, charset);
  }
  ReleaseTower(&schematic);
  return number;
}

void GetFontName(std::uint32_t number, char* buffer, std::size_t size) {
  if (!buffer || size == 0) return;
  std::string name = kLegacyFontName;
  if (number > kLegacyFontNumber && ProgramTower) {
    Tower* list = OpenChildTower(ProgramTower, Type_FontList);
    if (list)
      ForEachChild(list, Type_FontListEntry, [&](Tower* entry) {
        if (FieldOf<std::uint32_t>(entry, Type_FontNumber) != number) return true;
        name = NameOf(entry);
        return false;
      });
    ReleaseTower(&list);
  }
  const std::size_t n = std::min(name.size(), size - 1);
  std::memcpy(buffer, name.data(), n);
  buffer[n] = '\0';
}

void RemapDocumentFonts(const Tower* node, const std::vector<FontNumberPair>* map) {
  Entity* e = TowerEntity(node);
  if (!e) return;
  std::vector<FontNumberPair> own;
  Tower* list = IsFontListOwner(e->typeCode) ? OpenChildTower(node, Type_FontList) : nullptr;
  if (list) {
    ForEachChild(list, Type_FontListEntry, [&](Tower* entry) {
      const std::uint32_t stored = FieldOf<std::uint32_t>(entry, Type_FontNumber);
      const std::string name = NameOf(entry);
      const std::uint32_t current = ProgramFontNumber(name.c_str(), FieldOf<std::uint8_t>(entry, Type_FontCharset));
      own.push_back({stored, current});
      if (auto* field = static_cast<std::uint32_t*>(GetEntityData(entry, Type_FontNumber)))
        std::memcpy(field, &current, sizeof current);
      return true;
    });
    ReleaseTower(&list);
    map = &own;
  }
  if (!map) return;
  Tower* children = GetAllChildrenTower(node);
  while (children && FindNextEntity(children)) {
    Entity* child = TowerEntity(children);
    if (child->typeCode == kTypeText)
      RemapField(child, kTextFontField, *map);
    else if (child->typeCode == kTypeDesignatorInfo)
      RemapField(child, kDesignatorFontField, *map);
    else
      RemapDocumentFonts(children, map);
  }
  ReleaseTower(&children);
}

void SetStrokeFontAdvances(const Tower* fonts) {
  ForEachChild(fonts, Type_Font, [](Tower* font) {
    Tower* glyphs = GetAllChildrenTower(font);
    while (glyphs && FindNextEntity(glyphs)) {
      const std::uint16_t code = TowerEntity(glyphs)->typeCode;
      if (code < Type_Glyph || code >= Type_Glyph + kGlyphCodes) continue;
      std::int32_t box[4] = {0, 0, 0, 0};
      Tower* boxTower = OpenChildTower(glyphs, Type_BoundingBox);
      if (Entity* b = TowerEntity(boxTower); b && b->payloadSize >= sizeof box)
        std::memcpy(box, EntityPayload(b), sizeof box);
      ReleaseTower(&boxTower);
      const bool space = code == Type_Glyph + ' ';
      const std::int32_t width = space ? kStrokeSpaceWidth : box[2];
      const std::int32_t after = space ? 0 : kStrokeGlyphGap;
      InsertAdvance(glyphs, 0, width, after, width + after);
    }
    ReleaseTower(&glyphs);
    return true;
  });
}

Entity* FontRecordOf(std::uint32_t number) {
  const auto& records = State().records;
  const auto it = records.find(number);
  return it == records.end() ? nullptr : NodeAt<Entity>(it->second);
}

void SetFontRecord(std::uint32_t number, Entity* font) { State().records[number] = NodeRefOf(font); }
