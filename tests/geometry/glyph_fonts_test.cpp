#include "geometry/glyph_fonts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "store/tower.h"

namespace {

// ---- Native outline buffers built by hand --------------------------------------------

std::int32_t Fix(double v) { return static_cast<std::int32_t>(std::lround(v * 65536.0)); }

struct Curve {
  WORD type;
  std::vector<std::pair<std::int32_t, std::int32_t>> points;  // 16.16
};

void PutPoint(std::vector<std::uint8_t>& out, std::int32_t x, std::int32_t y) {
  const std::int32_t xy[2] = {x, y};
  const auto* b = reinterpret_cast<const std::uint8_t*>(xy);
  out.insert(out.end(), b, b + 8);
}

void AddPolygon(std::vector<std::uint8_t>& out, std::pair<std::int32_t, std::int32_t> start,
                const std::vector<Curve>& curves, DWORD type = TT_POLYGON_TYPE) {
  const std::size_t at = out.size();
  out.resize(at + 8);
  PutPoint(out, start.first, start.second);
  std::memcpy(out.data() + at + 4, &type, 4);
  for (const Curve& c : curves) {
    const WORD head[2] = {c.type, static_cast<WORD>(c.points.size())};
    const auto* b = reinterpret_cast<const std::uint8_t*>(head);
    out.insert(out.end(), b, b + 4);
    for (const auto& p : c.points) PutPoint(out, p.first, p.second);
  }
  const auto cb = static_cast<DWORD>(out.size() - at);
  std::memcpy(out.data() + at, &cb, 4);
}

std::pair<std::int32_t, std::int32_t> U(double x, double y) { return {Fix(x), Fix(y)}; }

std::vector<std::pair<int, int>> Points(const GlyphOutline& g) {
  std::vector<std::pair<int, int>> out;
  for (const GlyphPoint& p : g.points) out.emplace_back(p.x, p.y);
  return out;
}

using PointList = std::vector<std::pair<int, int>>;

struct ParseCase {
  const char* name;
  std::vector<std::uint8_t> buffer;
  PointList points;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> contours;
};

std::vector<ParseCase> ParseCases() {
  std::vector<ParseCase> cases;
  {
    ParseCase c{"lines closed by a copy of the start", {}, {{0, 0}, {10, 0}, {10, 10}, {0, 0}}, {{0, 3}}};
    AddPolygon(c.buffer, U(0, 0), {{TT_PRIM_LINE, {U(10, 0), U(10, 10)}}});
    cases.push_back(c);
  }
  {
    ParseCase c{"a contour already closed gets no copy", {}, {{0, 0}, {10, 0}, {0, 0}}, {{0, 2}}};
    AddPolygon(c.buffer, U(0, 0), {{TT_PRIM_LINE, {U(10, 0), U(0, 0)}}});
    cases.push_back(c);
  }
  {
    // A = (0,0), B = (10,0), C = (10,10): P1 = (6,0), P2 = (10,3), middle ceil(58/8, 19/8).
    ParseCase c{"a two-point quadratic appends two points", {}, {{0, 0}, {8, 3}, {10, 10}, {0, 0}}, {{0, 3}}};
    AddPolygon(c.buffer, U(0, 0), {{TT_PRIM_QSPLINE, {U(10, 0), U(10, 10)}}});
    cases.push_back(c);
  }
  {
    // Three points: pieces (0,0)-(4,0)-mid(4,0;8,9)=(6,4.5) and (6,4.5)-(8,9)-(8,12).
    // Piece 1: A (0,0) B (4,0) C rounds to (6,5) (4.5 half up): P1 (2,0), P2 (4,1), middle (24/8, 8/8).
    // Piece 2: A (6,4.5)->(6,5) B (8,9) C (8,12): P1 (7,7), P2 (8,10), middle (ceil 59/8, ceil 68/8).
    ParseCase c{"a three-point quadratic splits at the midpoint",
                {},
                {{0, 0}, {3, 1}, {6, 5}, {8, 9}, {8, 12}, {0, 0}},
                {{0, 5}}};
    AddPolygon(c.buffer, U(0, 0), {{TT_PRIM_QSPLINE, {U(4, 0), U(8, 9), U(8, 12)}}});
    cases.push_back(c);
  }
  {
    // The midpoint of 1.0 and 0x1FFFF (just under 2) truncates to just under 1.5, so it rounds to 1.
    ParseCase c{"midpoints truncate in 16.16 before rounding",
                {},
                {{0, 0}, {1, 0}, {1, 0}, {2, 0}, {4, 0}, {0, 0}},
                {{0, 5}}};
    AddPolygon(c.buffer, U(0, 0), {{TT_PRIM_QSPLINE, {U(1, 0), {0x1FFFF, 0}, U(4, 0)}}});
    cases.push_back(c);
  }
  {
    ParseCase c{"half fractions round up, below half down, negatives too",
                {},
                {{2, -1}, {1, -2}, {2, -1}},
                {{0, 2}}};
    AddPolygon(c.buffer, U(1.5, -1.5), {{TT_PRIM_LINE, {{Fix(1) + 0x7FFF, Fix(-2) + 0x7FFF}}}});
    cases.push_back(c);
  }
  {
    ParseCase c{"cubic records and other polygon types add nothing", {}, {{0, 0}, {5, 5}, {0, 0}}, {{0, 2}}};
    AddPolygon(c.buffer, U(7, 7), {{TT_PRIM_LINE, {U(8, 8)}}}, 99);
    AddPolygon(c.buffer, U(0, 0), {{TT_PRIM_CSPLINE, {U(1, 9), U(2, 9), U(3, 3)}}, {TT_PRIM_LINE, {U(5, 5)}}});
    cases.push_back(c);
  }
  {
    ParseCase c{"two contours index their own points", {}, {{0, 0}, {1, 0}, {0, 0}, {5, 5}, {6, 5}, {5, 5}},
                {{0, 2}, {3, 5}}};
    AddPolygon(c.buffer, U(0, 0), {{TT_PRIM_LINE, {U(1, 0)}}});
    AddPolygon(c.buffer, U(5, 5), {{TT_PRIM_LINE, {U(6, 5)}}});
    cases.push_back(c);
  }
  return cases;
}

TEST(NativeOutline, ParsesContoursAndFlattensQuadratics) {
  for (const ParseCase& c : ParseCases()) {
    GlyphOutline g;
    EXPECT_EQ(ParseNativeOutline(c.buffer.data(), c.buffer.size(), g), 1) << c.name;
    EXPECT_EQ(Points(g), c.points) << c.name;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> contours;
    for (const GlyphContour& k : g.contours) contours.emplace_back(k.first, k.last);
    EXPECT_EQ(contours, c.contours) << c.name;
  }
}

TEST(NativeOutline, DamagedBuffersAreReadOnlyWithinTheirSize) {
  std::vector<std::uint8_t> good;
  AddPolygon(good, U(0, 0), {{TT_PRIM_LINE, {U(1, 0), U(1, 1)}}});
  struct Damage {
    const char* name;
    std::vector<std::uint8_t> tail;
  };
  std::vector<Damage> damages;
  {
    std::vector<std::uint8_t> t;
    AddPolygon(t, U(3, 3), {{TT_PRIM_LINE, {U(4, 4)}}});
    t.resize(t.size() - 3);  // the header's length runs past the end
    damages.push_back({"polygon longer than the buffer", t});
  }
  {
    std::vector<std::uint8_t> t;
    AddPolygon(t, U(3, 3), {{TT_PRIM_LINE, {U(4, 4)}}});
    const WORD tooMany = 40;
    std::memcpy(t.data() + 18, &tooMany, 2);  // the record's count runs past the polygon
    damages.push_back({"curve record longer than its polygon", t});
  }
  damages.push_back({"a header cut short", {16, 0, 0, 0, 24, 0}});
  {
    std::vector<std::uint8_t> t;
    AddPolygon(t, U(3, 3), {});
    const DWORD tiny = 4;
    std::memcpy(t.data(), &tiny, 4);  // shorter than a header: would never advance
    damages.push_back({"a length below the header's", t});
  }
  for (const Damage& d : damages) {
    std::vector<std::uint8_t> buffer = good;
    buffer.insert(buffer.end(), d.tail.begin(), d.tail.end());
    GlyphOutline g;
    EXPECT_EQ(ParseNativeOutline(buffer.data(), buffer.size(), g), 0) << d.name;
    EXPECT_EQ(Points(g), (PointList{{0, 0}, {1, 0}, {1, 1}, {0, 0}})) << d.name << ": the good contour stays";
    EXPECT_EQ(g.contours.size(), 1u) << d.name;
  }
}

// ---- Triangulation ----------------------------------------------------------------------

double TriangleArea(const GlyphOutline& g) {
  double sum = 0;
  for (const GlyphTriangle& t : g.triangles) {
    for (std::uint32_t c : t.corner) EXPECT_LT(c, g.points.size());
    const GlyphPoint& a = g.points[t.corner[0]];
    const GlyphPoint& b = g.points[t.corner[1]];
    const GlyphPoint& c = g.points[t.corner[2]];
    sum += std::abs(static_cast<double>(b.x - a.x) * (c.y - a.y) - static_cast<double>(c.x - a.x) * (b.y - a.y)) / 2;
  }
  return sum;
}

GlyphOutline Square(GlyphOutline g, int x0, int y0, int size, bool reversed = false) {
  const auto first = static_cast<std::uint32_t>(g.points.size());
  std::vector<GlyphPoint> corners = {{x0, y0}, {x0 + size, y0}, {x0 + size, y0 + size}, {x0, y0 + size}};
  if (reversed) std::swap(corners[1], corners[3]);
  for (const GlyphPoint& p : corners) g.points.push_back(p);
  g.points.push_back(corners[0]);
  g.contours.push_back({first, first + 4});
  return g;
}

TEST(GlyphTriangles, FillTheNonZeroInterior) {
  GlyphOutline square = Square({}, 0, 0, 10);
  TriangulateGlyphOutline(square);
  EXPECT_DOUBLE_EQ(TriangleArea(square), 100.0);

  // A hole wound the other way is left open.
  GlyphOutline ring = Square(Square({}, 0, 0, 30), 10, 10, 10, true);
  TriangulateGlyphOutline(ring);
  EXPECT_DOUBLE_EQ(TriangleArea(ring), 800.0);

  // Two overlapping squares wound alike fill their union; the crossings are new points.
  GlyphOutline overlap = Square(Square({}, 0, 0, 10), 5, 5, 10);
  const std::size_t before = overlap.points.size();
  TriangulateGlyphOutline(overlap);
  EXPECT_DOUBLE_EQ(TriangleArea(overlap), 175.0);
  const PointList all = Points(overlap);
  const PointList added(all.begin() + static_cast<std::ptrdiff_t>(before), all.end());
  for (std::pair<int, int> crossing : {std::pair{10, 5}, std::pair{5, 10}})
    EXPECT_NE(std::find(added.begin(), added.end(), crossing), added.end()) << crossing.first << "," << crossing.second;

  GlyphOutline empty;
  TriangulateGlyphOutline(empty);
  EXPECT_TRUE(empty.triangles.empty());
}

// ---- Stored record accessors -------------------------------------------------------------

TEST(GlyphOutlineRecord, SizeAndArraysFollowTheCounts) {
  EXPECT_EQ(GlyphOutlineRecordSize(0, 0, 0), 76u);
  EXPECT_EQ(GlyphOutlineRecordSize(5, 3, 2), 76u + 40 + 18 + 8);
  std::vector<std::uint8_t> record(GlyphOutlineRecordSize(5, 3, 2));
  const std::uint16_t counts[3] = {5, 3, 2};
  std::memcpy(record.data() + 48, counts, sizeof counts);
  GlyphPoint* points = nullptr;
  std::uint16_t* triangles = nullptr;
  std::uint16_t* contours = nullptr;
  GetGlyphOutlineArrays(record.data(), &points, &triangles, &contours);
  EXPECT_EQ(reinterpret_cast<std::uint8_t*>(points) - record.data(), 76);
  EXPECT_EQ(reinterpret_cast<std::uint8_t*>(triangles) - record.data(), 116);
  EXPECT_EQ(reinterpret_cast<std::uint8_t*>(contours) - record.data(), 134);
  GetGlyphOutlineArrays(record.data(), nullptr, nullptr, &contours);  // any output may be left out
  EXPECT_EQ(reinterpret_cast<std::uint8_t*>(contours) - record.data(), 134);
}

// ---- Fonts in the store --------------------------------------------------------------

Tower* TopLevel(std::uint16_t code) {
  Tower* t = NewTower(0);
  LastLevel(t).typeCode = code;
  InsertAtLastLevel(t, 0);
  return t;
}

class Fonts : public ::testing::Test {
 protected:
  void SetUp() override {
    ProgramTower = TopLevel(211);
    FontRecordsTower = TopLevel(305);
  }
  void TearDown() override {
    ReleaseTower(&ProgramTower);
    ReleaseTower(&FontRecordsTower);
  }

  static int CountChildren(const Tower* t, std::uint16_t code) {
    int n = 0;
    Tower* c = GetChildTower(t, code);
    while (c && FindNextEntity(c)) ++n;
    ReleaseTower(&c);
    return n;
  }

  static std::vector<std::string> ListNames(const Tower* t) {
    std::vector<std::string> names;
    Tower* list = OpenChildTower(t, Type_FontList);
    Tower* entries = list ? GetChildTower(list, Type_FontListEntry) : nullptr;
    while (entries && FindNextEntity(entries))
      names.emplace_back(static_cast<const char*>(GetEntityData(entries, Type_FontName)));
    ReleaseTower(&entries);
    ReleaseTower(&list);
    return names;
  }

  template <typename T>
  static T Word(const Tower* t, std::uint16_t code, int index) {
    T v{};
    std::memcpy(&v, static_cast<std::uint8_t*>(GetEntityData(t, code)) + sizeof(T) * index, sizeof v);
    return v;
  }
};

TEST_F(Fonts, NumbersCountFromFourAndConvertOnce) {
  Tower* doc = TopLevel(102);
  EXPECT_EQ(GetFontNumber(doc, "Arial", ANSI_CHARSET), 4u);
  EXPECT_EQ(GetFontNumber(doc, "ARIAL", ANSI_CHARSET), 4u);
  EXPECT_EQ(CountChildren(FontRecordsTower, Type_Font), 1) << "the second use only looks the list up";
  EXPECT_EQ(GetFontNumber(doc, "Arial", SYMBOL_CHARSET), 5u) << "another character set is another font";
  EXPECT_EQ(GetFontNumber(doc, "Courier New", ANSI_CHARSET), 6u) << "and another name the next number";
  for (const char* legacy : {"corvane legacy font", "CORVANE Legacy Font"})
    EXPECT_EQ(GetFontNumber(doc, legacy, ANSI_CHARSET), 3u);
  EXPECT_EQ(CountChildren(FontRecordsTower, Type_Font), 3) << "the legacy font is never converted";
  EXPECT_EQ(ListNames(doc), (std::vector<std::string>{"Courier New", "Arial", "Arial"}));
  EXPECT_EQ(ListNames(ProgramTower), (std::vector<std::string>{"Courier New", "Arial", "Arial"}));

  // Another document finds the program's conversion and records it in its own list.
  Tower* other = TopLevel(102);
  EXPECT_EQ(GetFontNumber(other, "arial", ANSI_CHARSET), 4u);
  EXPECT_EQ(CountChildren(FontRecordsTower, Type_Font), 3);
  EXPECT_EQ(ListNames(other), (std::vector<std::string>{"arial"}));
  std::uint32_t number = 0;
  EXPECT_EQ(FindFontInList(other, "ARIAL", &number, ANSI_CHARSET), 1);
  EXPECT_EQ(number, 4u);
  EXPECT_EQ(FindFontInList(other, "Arial", &number, SYMBOL_CHARSET), 0);
  Tower* bare = TopLevel(102);
  EXPECT_EQ(FindFontInList(bare, "Arial", &number, ANSI_CHARSET), 0) << "no list at all";
  EXPECT_NE(FontRecordOf(4), nullptr);
  EXPECT_EQ(FontRecordOf(7), nullptr);
  ReleaseTower(&bare);
  ReleaseTower(&other);
  ReleaseTower(&doc);
}

TEST_F(Fonts, APageRecordsItsFontInItsSchematic) {
  Tower* schematic = TopLevel(103);
  Tower* page = InsertEmptyEntity(schematic, 104);
  EXPECT_EQ(GetFontNumber(page, "Arial", ANSI_CHARSET), 4u);
  EXPECT_EQ(ListNames(schematic), (std::vector<std::string>{"Arial"}));
  EXPECT_TRUE(ListNames(page).empty());
  ReleaseTower(&page);
  ReleaseTower(&schematic);
}

TEST_F(Fonts, NamesComeFromTheProgramListAndAreCutToTheBuffer) {
  EXPECT_EQ(CreateTrueTypeFont("Times New Roman", ANSI_CHARSET), 4u);
  char name[64];
  GetFontName(4, name, sizeof name);
  EXPECT_STREQ(name, "Times New Roman");
  for (std::uint32_t n : {0u, 2u, 3u, 99u}) {
    GetFontName(n, name, sizeof name);
    EXPECT_STREQ(name, "Corvane Legacy Font") << n;
  }
  char small[6] = "xxxxx";
  GetFontName(4, small, 4);
  EXPECT_STREQ(small, "Tim");
  EXPECT_EQ(small[4], 'x') << "nothing written past the stated size";
}

TEST_F(Fonts, ConvertedGlyphsCarryConsistentRecords) {
  ASSERT_EQ(CreateTrueTypeFont("Arial", ANSI_CHARSET), 4u);
  Tower* font = GetChildTower(FontRecordsTower, Type_Font);
  ASSERT_NE(FindNextEntity(font), nullptr);
  EXPECT_STREQ(static_cast<const char*>(GetEntityData(font, Type_FontName)), "Arial");
  EXPECT_EQ(Word<std::uint32_t>(font, Type_FontNumber, 0), 4u);
  int glyphs = 0;
  Tower* all = GetAllChildrenTower(font);
  while (all && FindNextEntity(all))
    if (TowerEntity(all)->typeCode >= Type_Glyph) ++glyphs;
  ReleaseTower(&all);
  EXPECT_EQ(glyphs, 256);

  for (char c : {'I', 'O', ' '}) {
    Tower* glyph = OpenChildTower(font, static_cast<std::uint16_t>(Type_Glyph + static_cast<unsigned char>(c)));
    ASSERT_NE(glyph, nullptr) << c;
    Tower* outline = OpenChildTower(glyph, Type_GlyphOutline);
    auto* record = TowerPayload(outline);
    std::uint16_t counts[3];
    std::memcpy(counts, record + 48, sizeof counts);
    EXPECT_GE(TowerEntity(outline)->payloadSize, GlyphOutlineRecordSize(counts[0], counts[1], counts[2]));
    std::int32_t headerBox[4];
    std::memcpy(headerBox, record + 56, sizeof headerBox);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(Word<std::int32_t>(glyph, Type_BoundingBox, k), headerBox[k]) << c << k;
    const std::int32_t a = Word<std::int32_t>(glyph, Type_CharacterAdvance, 0);
    const std::int32_t b = Word<std::int32_t>(glyph, Type_CharacterAdvance, 1);
    const std::int32_t cc = Word<std::int32_t>(glyph, Type_CharacterAdvance, 2);
    EXPECT_NEAR(Word<std::int32_t>(glyph, Type_CharacterAdvance, 3), a + b + cc, 2) << c;
    const std::uint32_t cell = Word<std::uint32_t>(glyph, Type_CharacterInfo, 0);
    EXPECT_EQ(cell % kWorldUnitsPerFontUnit, 0u);
    if (c == ' ') {
      EXPECT_EQ(counts[0], 0) << "a glyph without contours stores an empty outline";
      EXPECT_EQ(headerBox[0], -1) << "the box starts at 0xFFFFFFFF and stays there";
      EXPECT_GT(a + b + cc, 0) << "and still advances";
    } else {
      EXPECT_EQ(headerBox[0], 0) << c << ": shifted to start at x = 0";
      EXPECT_GT(counts[1], 0) << c;
      EXPECT_EQ(counts[2], c == 'O' ? 2 : 1) << c;
      // y is measured downwards, cell height minus the height above the baseline.
      EXPECT_GE(headerBox[1], 0);
      if (c == 'I') {
        EXPECT_EQ(static_cast<std::uint32_t>(headerBox[3]), cell) << "I stands on the baseline";
      }
      EXPECT_NEAR(b, headerBox[2], kWorldUnitsPerFontUnit) << c << ": B is the black box's width";
    }
    ReleaseTower(&outline);
    ReleaseTower(&glyph);
  }
  ReleaseTower(&font);
}

TEST_F(Fonts, TheLetterIStartsAtZeroInEveryFace) {
  for (const char* face : {"Arial", "Times New Roman", "Courier New", "DejaVu Sans"}) {
    HFONT font = CreateFont(kTrueTypeFontHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0,
                            NONANTIALIASED_QUALITY, 0, face);
    const GlyphOutline g = BuildGlyphOutline(font, 'I');
    DeleteObject(font);
    ASSERT_FALSE(g.points.empty()) << face;
    std::int32_t minX = g.points[0].x;
    for (const GlyphPoint& p : g.points) minX = std::min(minX, p.x);
    EXPECT_EQ(minX, 0) << face;
    EXPECT_GT(g.widths.abcfA, 0.0f) << face << ": the side bearing is kept in the widths";
    EXPECT_GT(TriangleArea(g), 0.0) << face;
  }
}

// ---- Re-mapping a loaded document -----------------------------------------------------

Entity* InsertWithWord(const Tower* parent, std::uint16_t code, std::uint32_t size, std::uint32_t offset,
                       std::uint32_t value) {
  std::vector<std::uint8_t> payload(size, 0);
  std::memcpy(payload.data() + offset, &value, 4);
  Tower* t = InsertEntity(parent, size, code, payload.data());
  Entity* e = TowerEntity(t);
  ReleaseTower(&t);
  return e;
}

std::uint32_t WordAt(const Entity* e, std::uint32_t offset) {
  std::uint32_t v = 0;
  std::memcpy(&v, EntityPayload(e) + offset, 4);
  return v;
}

void AddEntry(const Tower* doc, const char* name, std::uint32_t number, std::uint8_t charset) {
  Tower* list = OpenChildTower(doc, Type_FontList);
  if (!list) list = InsertEmptyEntity(doc, Type_FontList);
  Tower* entry = InsertEmptyEntity(list, Type_FontListEntry);
  Tower* t = InsertEntity(entry, static_cast<std::uint32_t>(std::strlen(name) + 1), Type_FontName, name);
  ReleaseTower(&t);
  t = InsertEntity(entry, 4, Type_FontNumber, &number);
  ReleaseTower(&t);
  t = InsertEntity(entry, 1, Type_FontCharset, &charset);
  ReleaseTower(&t);
  ReleaseTower(&entry);
  ReleaseTower(&list);
}

TEST_F(Fonts, RemappingRewritesTextsAndDesignatorsThroughTheList) {
  for (std::uint16_t docType : {std::uint16_t{25}, std::uint16_t{102}, std::uint16_t{103}, std::uint16_t{105}}) {
    SCOPED_TRACE(docType);
    Tower* doc = TopLevel(docType);
    AddEntry(doc, "Arial", 9, ANSI_CHARSET);
    Entity* text = InsertWithWord(doc, 5, 64, 52, 9);
    Entity* stray = InsertWithWord(doc, 5, 64, 52, 7);
    Entity* designator = InsertWithWord(doc, 233, 32, 16, 9);
    Tower* item = InsertEmptyEntity(doc, 20);
    Entity* nested = InsertWithWord(item, 5, 64, 52, 9);
    Entity* other = InsertWithWord(item, 6, 64, 52, 9);  // not a text: left alone
    RemapDocumentFonts(doc);
    const std::uint32_t arial = 4;  // converted by the first document, found by the rest
    EXPECT_EQ(WordAt(text, 52), arial);
    EXPECT_EQ(WordAt(stray, 52), 0u) << "a number the list does not hold becomes the legacy font";
    EXPECT_EQ(WordAt(designator, 16), arial);
    EXPECT_EQ(WordAt(nested, 52), arial) << "children are walked with the document's map";
    EXPECT_EQ(WordAt(other, 52), 9u);
    std::uint32_t listed = 0;
    EXPECT_EQ(FindFontInList(doc, "Arial", &listed, ANSI_CHARSET), 1);
    EXPECT_EQ(listed, arial) << "the list entry takes the current number";
    ReleaseTower(&item);
    DeleteEntity(doc);
    ReleaseTower(&doc);
  }
  EXPECT_EQ(CountChildren(FontRecordsTower, Type_Font), 1) << "converted once for all four documents";
}

TEST_F(Fonts, RemappingWithoutAListTouchesNothing) {
  Tower* doc = TopLevel(102);
  Entity* text = InsertWithWord(doc, 5, 64, 52, 9);
  Tower* wrongType = TopLevel(50);
  AddEntry(wrongType, "Arial", 9, ANSI_CHARSET);
  Entity* text2 = InsertWithWord(wrongType, 5, 64, 52, 9);
  RemapDocumentFonts(doc);
  RemapDocumentFonts(wrongType);
  EXPECT_EQ(WordAt(text, 52), 9u);
  EXPECT_EQ(WordAt(text2, 52), 9u) << "only documents own font lists";
  EXPECT_EQ(CountChildren(FontRecordsTower, Type_Font), 0);
  ReleaseTower(&wrongType);
  ReleaseTower(&doc);
}

// ---- Stroke advances ------------------------------------------------------------------

TEST_F(Fonts, StrokeAdvancesComeFromTheBoxes) {
  Tower* font = InsertEmptyEntity(FontRecordsTower, Type_Font);
  const std::int32_t spaceBox[4] = {0, 0, 0, 0};
  const std::int32_t aBox[4] = {0, -5, 1000, 400};
  Tower* space = InsertEmptyEntity(font, Type_Glyph + ' ');
  Tower* a = InsertEmptyEntity(font, Type_Glyph + 'A');
  Tower* t = InsertEntity(space, 16, Type_BoundingBox, spaceBox);
  ReleaseTower(&t);
  t = InsertEntity(a, 16, Type_BoundingBox, aBox);
  ReleaseTower(&t);
  Tower* description = InsertEmptyEntity(font, 121);  // not a glyph
  SetStrokeFontAdvances(FontRecordsTower);
  const std::int32_t spaceWant[4] = {0, 184320000, 0, 184320000};
  const std::int32_t aWant[4] = {0, 1000, 14400000, 14401000};
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(Word<std::int32_t>(space, Type_CharacterAdvance, k), spaceWant[k]) << k;
    EXPECT_EQ(Word<std::int32_t>(a, Type_CharacterAdvance, k), aWant[k]) << k;
  }
  EXPECT_EQ(CountChildren(description, Type_CharacterAdvance), 0);
  ReleaseTower(&description);
  ReleaseTower(&a);
  ReleaseTower(&space);
  ReleaseTower(&font);
}

}  // namespace
