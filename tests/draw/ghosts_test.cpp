#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "../store/tower_test_support.h"
#include "app/settings_block.h"
#include "draw/draw_flags.h"
#include "draw/ghost_pens.h"
#include "draw/ghost_seams.h"
#include "draw/ghosts.h"
#include "draw/entity_drawing.h"
#include "draw/raster_callbacks.h"
#include "draw/text_layout.h"
#include "edit/window_data.h"
#include "geometry/arcs.h"
#include "geometry/raster_state.h"
#include "objects/editor_seams.h"
#include "objects/graphic_records.h"
#include "objects/size_table.h"
#include "objects/spiral_defaults.h"
#include "objects/type_codes.h"
#include "platform/gdi.h"
#include "platform/responder.h"
#include "platform/surface.h"
#include "store/node_pool.h"
#include "store/tower.h"
#include "tests/geometry/raster_fixture.h"

// The font table's setter, declared by the fonts' own header, whose type
// codes repeat those of objects/type_codes.h.
void SetFontRecord(std::uint32_t number, TowerNode* font);

// Recording stand-ins for the ghosts owned elsewhere.
namespace {
std::vector<std::string> g_calls;
}
void DrawCentroid(void*, const void*, const pl3::Transform*) { g_calls.push_back("centroid"); }
void DrawRatsnestLines(void*) { g_calls.push_back("ratsnest"); }

namespace {

// The tests' windows show 1,000 world units per pixel; W gives the world
// value that lands on pixel (or length) v exactly.
constexpr std::int32_t kZoom = 1000;
constexpr std::int32_t W(std::int32_t v) { return v * kZoom + kZoom / 2; }

constexpr int kSize = 200;
constexpr std::uint32_t kBackground = 0x102030;

// What an XOR pen for a wanted colour leaves on the background: the
// background XOR (wanted - background, channel by channel), as 0xRRGGBB.
std::uint32_t Shown(std::uint32_t wanted) {
  const std::uint32_t pen = XorPenColour(wanted, kBackground);
  return kBackground ^ (((pen & 0xFF) << 16) | (pen & 0xFF00) | ((pen >> 16) & 0xFF));
}

// A window of zoom 1 (one world unit per pixel) drawing into a 200 x 200
// surface filled with a pattern, so that a pixel XORed twice shows.
class GhostTest : public ::testing::Test {
 protected:
  std::vector<std::uint32_t> colours = std::vector<std::uint32_t>(65536, 0);
  std::vector<std::uint32_t> pixels = std::vector<std::uint32_t>(kSize * kSize);
  pl3::PixelSurface surface{};
  HDC dc = nullptr;
  pl3::ViewClip clip{0, 0, kSize - 1, kSize - 1, kSize, kSize};
  std::unique_ptr<CurrentWindowData> w = std::make_unique<CurrentWindowData>(kEditorPcb);

  void SetUp() override {
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = (i * 2654435761u) & 0xFFFFFF;
    surface = {pixels.data(), kSize, kSize, kSize};
    dc = pl3::CreateSurfaceDC(&surface, POINT{0, 0}, RECT{0, 0, kSize, kSize});
    for (std::uint32_t i = 0; i < colours.size(); ++i) colours[i] = (i * 0x010305u) & 0xFFFFFF;
    colours[0] = kBackground;
    colours[0xFFFF] = 0xFFFFFF;
    w->ColourTable = colours.data();
    w->BackgroundIndex = 0;
    w->ViewOriginX = 0;
    w->ViewOriginY = 0;
    w->Zoom = kZoom;
    for (int l = 0; l < 256; ++l) {
      w->layerTable.layers[l].planeBit = 1u << (l % 16);
      w->layerTable.layers[l].oppositeLayer = kNoOppositeLayer;
      w->layerTable.layers[l].flags = kLayerPresent;
    }
    ActiveWindowData = w.get();
    UpdateViewGlobals();
    pl3::g_raster.clip = &clip;
    g_calls.clear();
  }
  void TearDown() override {
    pl3::DeleteSurfaceDC(dc);
    ActiveWindowData = nullptr;
    pl3::g_raster.clip = nullptr;
  }
  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * kSize + x]; }
  // True when a pixel within one of (x, y) differs from the background.
  bool LitNear(int x, int y) const {
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        if (At(x + dx, y + dy) != kBackground) return true;
      }
    }
    return false;
  }
  void Clear(std::uint32_t value) { std::fill(pixels.begin(), pixels.end(), value); }
  int Changed(const std::vector<std::uint32_t>& before) const {
    int n = 0;
    for (std::size_t i = 0; i < pixels.size(); ++i) n += pixels[i] != before[i];
    return n;
  }
};

std::unique_ptr<EntityRecord> Track(Point a, Point b, std::int32_t halfWidth, std::uint8_t layer = 1) {
  auto r = NewEntityRecord();
  r->header.recordType = Type_Track;
  r->header.transform = pl3::kIdentityTransform;
  auto& t = r->as<pl3::TrackLayout>();
  t.head.layer = layer;
  t.head.transform = pl3::kIdentityTransform;
  t.width = halfWidth ? W(halfWidth) : 0;
  t.x1 = W(a.x);
  t.y1 = W(a.y);
  t.x2 = W(b.x);
  t.y2 = W(b.y);
  return r;
}

std::unique_ptr<EntityRecord> ArcRecord(Point centre, std::int32_t radius, Point start, Point end,
                                        std::int32_t halfWidth) {
  auto r = NewEntityRecord();
  r->header.recordType = Type_Arc;
  r->header.transform = pl3::kIdentityTransform;
  auto& a = r->as<pl3::ArcLayout>();
  a.head.layer = 1;
  a.head.transform = pl3::kIdentityTransform;
  a.centreX = W(centre.x);
  a.centreY = W(centre.y);
  a.radius = W(radius);
  a.width = halfWidth ? W(halfWidth) : 0;
  a.startX = start.x;
  a.startY = start.y;
  a.endX = end.x;
  a.endY = end.y;
  return r;
}

std::unique_ptr<EntityRecord> PolygonRecord(std::vector<Point> points, std::uint8_t edited = 255) {
  auto r = NewEntityRecord();
  r->header.recordType = Type_Polygon;
  r->header.transform = pl3::kIdentityTransform;
  auto& p = r->as<pl3::PolygonLayout>();
  p.head.layer = 2;
  p.head.transform = pl3::kIdentityTransform;
  p.count = static_cast<std::uint8_t>(points.size());
  p.editIndex = edited;
  for (Point& q : points) q = {W(q.x), W(q.y)};
  std::memcpy(pl3::PolygonPoints(&p), points.data(), points.size() * sizeof(Point));
  return r;
}

std::unique_ptr<EntityRecord> HoleRecord(Point c, std::int32_t size1, std::int32_t size2, std::uint8_t flags) {
  auto r = NewEntityRecord();
  r->header.recordType = Type_Hole;
  r->header.transform = pl3::kIdentityTransform;
  auto& h = r->as<pl3::HoleLayout>();
  h.head.layer = 1;
  h.head.spare = 32;
  h.head.transform = pl3::kIdentityTransform;
  h.flags = flags;
  h.size1 = W(size1);
  h.size2 = W(size2);
  h.centreX = W(c.x);
  h.centreY = W(c.y);
  return r;
}

// ---- Pens -------------------------------------------------------------------

TEST(XorPenColour, SubtractsTheBackgroundPerChannelModulo256InDeviceOrder) {
  struct Case {
    std::uint32_t wanted, background, pen;
  };
  for (const Case c : {Case{0xFF0000, 0x000000, 0x0000FF}, Case{0x102030, 0x203040, 0xF0F0F0},
                       Case{0x00FF00, 0x01FF02, 0xFE00FF}, Case{0x123456, 0x123456, 0x000000}}) {
    EXPECT_EQ(XorPenColour(c.wanted, c.background), c.pen) << std::hex << c.wanted << " over " << c.background;
  }
}

TEST_F(GhostTest, HairlineTurnsWidthOneIntoZeroAndEveryOtherIntoOne) {
  struct Case {
    bool hairline;
    int asked, made;
  };
  for (const Case c : {Case{false, 0, 0}, Case{false, 1, 1}, Case{false, 5, 5}, Case{true, 1, 0},
                       Case{true, 0, 1}, Case{true, 2, 1}, Case{true, 5, 1}}) {
    w->StateFlags = c.hairline ? kStateHairline : 0;
    EXPECT_EQ(GhostPenWidth(*w, c.asked), c.made) << c.hairline << " " << c.asked;
  }
}

TEST_F(GhostTest, XorPenDrawsTheWantedColourOverTheBackgroundAndRestoresTheMode) {
  Clear(kBackground);
  SetROP2(dc, R2_COPYPEN);
  HGDIOBJ before = SelectObject(dc, GetStockObject(BLACK_PEN));
  SetXorPen(dc, 1, kGhostYellow);
  EXPECT_EQ(GetROP2(dc), R2_XORPEN);
  MoveToEx(dc, 10, 10, nullptr);
  LineTo(dc, 20, 10);
  RestoreXorPen(dc);
  EXPECT_EQ(GetROP2(dc), R2_COPYPEN);
  EXPECT_EQ(At(12, 10), Shown(0xFFFF00));
  EXPECT_EQ(Shown(0xFFFF00), 0xFFFFE0u);
  EXPECT_EQ(At(12, 11), kBackground);
  // The black pen is back in the context.
  HGDIOBJ mine = SelectObject(dc, before);
  EXPECT_EQ(mine, GetStockObject(BLACK_PEN));
}

TEST_F(GhostTest, FixedColoursAndTableIndexesAreLookedUp) {
  EXPECT_EQ(LookUpGhostColour(*w, kGhostYellow), 0xFFFF00u);
  EXPECT_EQ(LookUpGhostColour(*w, kGhostWhite), 0xFFFFFFu);
  EXPECT_EQ(LookUpGhostColour(*w, kGhostGreen), 0x00FF00u);
  EXPECT_EQ(LookUpGhostColour(*w, kGhostBlue), 0x0000FFu);
  EXPECT_EQ(LookUpGhostColour(*w, 7), colours[7]);
  w->ColourTable = nullptr;
  EXPECT_EQ(LookUpGhostColour(*w, 7), 0u);
}

TEST_F(GhostTest, EntityPenFollowsOverrideOtherSideAndSingleColour) {
  struct Case {
    std::uint32_t state, view;
    std::uint32_t colourIndex;
  };
  w->OverrideLayer = 3;
  w->layerTable.layers[1].oppositeLayer = 32;
  pl3::g_raster.fillValue = 0x820000;
  for (const Case c : {Case{0, 0, 1u << 1}, Case{kStateLayerOverride, 0, 1u << 3}, Case{0, kViewDrawOtherSide, 1u << 0},
                       Case{kStateSingleColour, 0, 0x820000}}) {
    Clear(kBackground);
    w->StateFlags = c.state;
    w->ViewFlags = c.view;
    SetEntityPen(dc, 0, 1);
    MoveToEx(dc, 10, 10, nullptr);
    LineTo(dc, 20, 10);
    RestoreXorPen(dc);
    EXPECT_EQ(At(12, 10), Shown(LookUpGhostColour(*w, c.colourIndex))) << c.state << " " << c.view;
  }
}

TEST_F(GhostTest, NullRecordIsReportedAndDrawsNothing) {
  const std::vector<std::uint32_t> before = pixels;
  GhostEntity(dc, nullptr, 0);
  EXPECT_EQ(Changed(before), 0);
  ASSERT_FALSE(pl3::ResponderRecords().empty());
  EXPECT_EQ(pl3::ResponderRecords().back().text, "Internal error - Graphic is NULL");
  EXPECT_EQ(pl3::ResponderRecords().back().caption, "GhostEntity");
}

// A font 3 of one glyph, 'a': a triangle polygon (with its triangle) and a
// box 100 M wide, for the text ghosts.
struct GlyphFont {
  Tower* font = towertest::NewTopLevelEntity(Type_Font);
  GlyphFont() {
    SetFontRecord(3, TowerEntity(font));
    Tower* glyph = InsertEmptyEntity(font, static_cast<std::uint16_t>(400 + 'a'));  // the glyph record of 'a'
    const std::int32_t box[4] = {0, 0, 100000000, 200000000};
    Tower* t = InsertEntity(glyph, sizeof box, Type_BoundingBox, box);
    ReleaseTower(&t);
    const std::uint32_t info[2] = {1, 0};
    t = InsertEntity(glyph, sizeof info, Type_CharacterInfo, info);
    ReleaseTower(&t);
    std::vector<std::uint8_t> poly(PolygonStoredSize(3), 0);
    auto* head = reinterpret_cast<PolygonHead*>(poly.data());
    head->count = 3;
    Point* p = pl3::PolygonPoints(head);
    p[0] = {0, 0};
    p[1] = {80000000, 0};
    p[2] = {0, 150000000};
    std::uint8_t* triangle = pl3::PolygonTriangles(head);
    triangle[1] = 1;
    triangle[2] = 2;
    t = InsertEntity(glyph, static_cast<std::uint32_t>(poly.size()), 4, poly.data());
    ReleaseTower(&t);
    ReleaseTower(&glyph);
  }
  ~GlyphFont() {
    SetFontRecord(3, nullptr);
    DeleteEntity(font);
    ReleaseTower(&font);
  }
};

// "aa" on layer 3, 2^24 high in font scale (font units are world units),
// left and top justified at (40, 60) pixels.
std::unique_ptr<EntityRecord> TextRecord() {
  auto r = NewEntityRecord();
  r->header.recordType = Type_Text;
  r->header.transform = pl3::kIdentityTransform;
  auto* t = reinterpret_cast<TextPayload*>(r->payload);
  t->head.layer = 3;
  t->size = 1 << 24;
  const std::uint32_t font = 3;
  std::memcpy(t->bytes52, &font, sizeof font);
  t->justification = kTextLeft | kTextTop | kTextHeightScaled;
  t->textTransform = pl3::kIdentityTransform;
  t->textTransform.tx = W(40);
  t->textTransform.ty = W(60) + 200000000;  // the top is 200 M above the drawing origin
  std::memcpy(t->text, "aa", 3);
  SetStringBox(t);
  return r;
}

// ---- Drawing twice restores the window ----------------------------------------

TEST_F(GhostTest, EveryGhostDrawnTwiceRestoresTheWindow) {
  struct Case {
    const char* name;
    std::unique_ptr<EntityRecord> record;
    std::uint8_t angleAssist;
  };
  std::vector<Case> cases;
  for (std::uint8_t assist = 0; assist <= 2; ++assist) {
    for (std::uint8_t bend = 0; bend < 4; ++bend) {
      auto r = Track({20, 30}, {150, 90}, 6);
      r->header.headerLayer = bend;
      cases.push_back({"two legs", std::move(r), assist});
      auto edge = Track({50, 50}, {260, 120}, 5);  // the joint lands on or past the view edge
      edge->header.headerLayer = bend;
      cases.push_back({"joint at the edge", std::move(edge), assist});
    }
  }
  cases.push_back({"dot", Track({60, 60}, {60, 60}, 8), 2});
  cases.push_back({"arc zero start", ArcRecord({100, 100}, 40, {0, 0}, {0, 40}, 4), 2});
  cases.push_back({"arc full", ArcRecord({100, 100}, 40, {40, 0}, {40, 0}, 4), 2});
  cases.push_back({"arc huge", ArcRecord({100, 5100}, 5000, {-1, -1}, {1, -1}, 3), 2});
  cases.push_back({"plated hole", HoleRecord({80, 80}, 20, 30, kHoleQuartered | kHoleIsVia), 2});
  cases.push_back({"hole", HoleRecord({80, 80}, 20, 30, 0), 2});
  cases.push_back({"two-point polygon", PolygonRecord({{10, 10}, {150, 170}}), 2});
  cases.push_back({"polygon with edited point", PolygonRecord({{10, 10}, {150, 20}, {90, 170}}, 1), 2});
  {
    auto r = NewEntityRecord();
    r->header.recordType = Type_Rectangle;
    r->header.transform = pl3::kIdentityTransform;
    auto& rect = r->as<pl3::RectangleLayout>();
    rect.head.layer = 4;
    rect.head.transform = pl3::kIdentityTransform;
    const Point corners[4] = {{W(30), W(30)}, {W(170), W(30)}, {W(170), W(120)}, {W(30), W(120)}};
    std::memcpy(rect.corners, corners, sizeof corners);
    rect.centreX = W(100);
    rect.centreY = W(75);
    cases.push_back({"rectangle", std::move(r), 2});
  }
  {
    auto r = ArcRecord({90, 90}, 50, {50, 0}, {0, -50}, 2);
    r->header.recordType = Type_ThinArc;
    cases.push_back({"thin arc", std::move(r), 2});
    auto l = Track({20, 20}, {160, 40}, 4);
    l->header.recordType = Type_ThinLine;
    cases.push_back({"thin line", std::move(l), 2});
  }
  std::vector<pl3::ArcDirection> table;
  for (int i = 0; i <= 8; ++i) {
    const double a = 3.14159265358979 / 4 * i / 8;
    table.push_back({static_cast<std::uint32_t>(std::cos(a) * 4294967295.0),
                     static_cast<std::uint32_t>(std::sin(a) * 4294967295.0)});
  }
  pl3::SetArcDirectionTable(table);
  GlyphFont font;
  cases.push_back({"text", TextRecord(), 2});
  const std::vector<std::uint32_t> original = pixels;
  for (Case& c : cases) {
    w->AngleAssist = c.angleAssist;
    GhostEntity(dc, c.record.get(), 0);
    EXPECT_GT(Changed(original), 0) << c.name << " drew nothing";
    GhostEntity(dc, c.record.get(), 0);
    EXPECT_EQ(Changed(original), 0) << c.name << " assist " << int(c.angleAssist) << " bend "
                                     << int(c.record->header.headerLayer);
    EXPECT_EQ(GetROP2(dc), R2_COPYPEN) << c.name;
  }
}

// ---- Track legs ------------------------------------------------------------------

TEST_F(GhostTest, LegsFollowAngleAssistAndTheBendBits) {
  GhostOutlines = 0;  // centre lines only
  struct Case {
    std::uint8_t assist, bend;
    Point lit;       // on the expected path
    Point dark;      // on the path of the other choice
  };
  // From (20, 20) to (120, 60).
  for (const Case c : {Case{1, 0, {120, 40}, {20, 40}},     // horizontal first, corner (120, 20)
                       Case{1, 1, {20, 40}, {120, 40}},     // vertical first, corner (20, 60)
                       Case{2, 0, {50, 20}, {100, 60}},     // straight first, then the diagonal
                       Case{2, 2, {100, 60}, {50, 20}},     // the diagonal first, then straight
                       Case{0, 0, {70, 40}, {50, 20}}}) {   // one piece
    Clear(kBackground);
    w->AngleAssist = c.assist;
    auto r = Track({20, 20}, {120, 60}, 1);
    r->header.headerLayer = c.bend;
    GhostEntity(dc, r.get(), 0);
    EXPECT_NE(At(c.lit.x, c.lit.y), kBackground) << int(c.assist) << "/" << int(c.bend);
    EXPECT_EQ(At(c.dark.x, c.dark.y), kBackground) << int(c.assist) << "/" << int(c.bend);
  }
}

TEST_F(GhostTest, ExactDiagonalIsOnePieceInTheFortyFiveMode) {
  GhostOutlines = 0;
  Clear(kBackground);
  w->AngleAssist = 2;
  auto r = Track({20, 20}, {80, 80}, 1);
  GhostEntity(dc, r.get(), 0);
  EXPECT_NE(At(50, 50), kBackground);
  EXPECT_EQ(At(80, 20), kBackground);
  EXPECT_EQ(At(20, 80), kBackground);
}

TEST_F(GhostTest, JointAndDotCirclesAreDrawnOnce) {
  // Drawn twice under XOR a circle would vanish; each must show.
  Clear(kBackground);
  w->AngleAssist = 1;
  auto r = Track({20, 20}, {120, 100}, 10);
  GhostEntity(dc, r.get(), 0);
  EXPECT_NE(At(120, 20 - 10), kBackground);  // the joint's circle, above the corner
  EXPECT_NE(At(120 + 10, 100), kBackground);  // the end circle of the second leg
  Clear(kBackground);
  auto dot = Track({60, 60}, {60, 60}, 10);
  GhostEntity(dc, dot.get(), 0);
  EXPECT_NE(At(70, 60), kBackground);
}

TEST_F(GhostTest, NarrowTracksAndSwitchedOffOutlinesDrawTheCentreLine) {
  struct Case {
    std::int8_t outlines;
    std::int32_t halfWidth;
    bool centre;
  };
  w->AngleAssist = 0;
  for (const Case c : {Case{1, 1, true}, Case{1, 8, false}, Case{0, 8, true}}) {
    Clear(kBackground);
    GhostOutlines = c.outlines;
    auto r = Track({20, 50}, {150, 50}, c.halfWidth);
    GhostEntity(dc, r.get(), 0);
    EXPECT_EQ(At(80, 50) != kBackground, c.centre) << int(c.outlines) << " " << c.halfWidth;
    if (!c.centre) {
      EXPECT_NE(At(80, 50 - c.halfWidth), kBackground);
      EXPECT_NE(At(80, 50 + c.halfWidth), kBackground);
    }
  }
}

TEST_F(GhostTest, QuasiTrackAddsAnOutlineAtTheGapInPcbWindowsOnly) {
  SettingsBlock settings{};
  settings.QuasiTrackEnabled = 1;
  settings.QuasiTrackGap = 0.25;
  settings.QuasiTrackUnits = 0;  // thou: 9,144 world units
  Settings = &settings;
  w->AngleAssist = 0;
  auto r = Track({20, 80}, {150, 80}, 8);  // the gap of 9,144 units is 9 pixels
  struct Case {
    std::uint32_t kind;
    std::uint8_t enabled;
    bool outer;
  };
  for (const Case c : {Case{kEditorPcb, 1, true}, Case{kEditorPcb, 0, false}, Case{kEditorPcbSymbol, 1, false}}) {
    Clear(kBackground);
    w->editorKind = c.kind;
    settings.QuasiTrackEnabled = c.enabled;
    GhostEntity(dc, r.get(), 0);
    EXPECT_NE(At(80, 80 - 8), kBackground);  // the gap is 9 pixels
    EXPECT_EQ(At(80, 80 - 17) != kBackground, c.outer) << c.kind << " " << int(c.enabled);
  }
  Settings = nullptr;
}

// ---- Arcs, circles, holes, polygons ----------------------------------------------

TEST_F(GhostTest, ArcsFromTheThresholdOnAreTracedNotDrawnByGdi) {
  w->StateFlags = kStateNoArcRadii;
  GhostOutlines = 0;
  pl3::SetArcDirectionTable({});  // the tracer draws nothing without its table
  struct Case {
    std::int32_t radius;
    bool gdi;
  };
  for (const Case c : {Case{4000, true}, Case{4001, false}}) {
    Clear(kBackground);
    auto r = ArcRecord({100, 100 + c.radius}, c.radius, {-1, -1}, {1, -1}, 0);
    GhostEntity(dc, r.get(), 0);
    EXPECT_EQ(At(100, 100) != kBackground || At(100, 101) != kBackground, c.gdi) << c.radius;
  }
}

TEST_F(GhostTest, ArcWithZeroStartVectorDrawsTheFullCircleThroughItsEnd) {
  GhostOutlines = 0;
  w->StateFlags = kStateNoArcRadii;
  auto r = ArcRecord({100, 100}, 50, {0, 0}, {50, 0}, 0);
  Clear(kBackground);
  GhostEntity(dc, r.get(), 0);
  for (const Point p : {Point{100, 51}, Point{100, 151}, Point{50, 101}, Point{150, 101}}) {
    EXPECT_NE(At(p.x, p.y), kBackground) << p.x << "," << p.y;
  }
}

TEST_F(GhostTest, ArcSweepsFromStartTowardPlusYWithItsRadiusLinesUnlessSwitchedOff) {
  GhostOutlines = 0;
  auto r = ArcRecord({100, 100}, 50, {0, -50}, {50, 0}, 0);  // top to right, through the upper right
  struct Case {
    std::uint32_t state;
    bool radii;
  };
  for (const Case c : {Case{0, true}, Case{kStateNoArcRadii, false}}) {
    Clear(kBackground);
    w->StateFlags = c.state;
    GhostEntity(dc, r.get(), 0);
    EXPECT_TRUE(LitNear(135, 66));    // on the arc, upper right (shifted one down)
    EXPECT_FALSE(LitNear(65, 136));   // lower left: not swept
    EXPECT_EQ(At(125, 100) != kBackground, c.radii);
    EXPECT_EQ(At(100, 75) != kBackground, c.radii);
  }
}

TEST_F(GhostTest, CirclesReachingTheGdiLimitAreSkipped) {
  clip = {0, 0, 40000, kSize - 1, 40001, kSize};
  struct Case {
    std::int32_t centreX;
    bool drawn;
  };
  for (const Case c : {Case{16382, true}, Case{16383, false}}) {
    Clear(kBackground);
    SetViewportOrgEx(dc, -(c.centreX - 100), 0, nullptr);
    auto r = NewEntityRecord();
    r->header.recordType = Type_Circle;
    r->header.transform = pl3::kIdentityTransform;
    auto& circle = r->as<pl3::CircleLayout>();
    circle.head.layer = 1;
    circle.head.transform = pl3::kIdentityTransform;
    circle.size = W(10);
    circle.centreX = W(c.centreX);
    circle.centreY = W(100);
    GhostEntity(dc, r.get(), 0);
    int lit = 0;
    for (std::uint32_t p : pixels) lit += p != kBackground;
    EXPECT_EQ(lit > 0, c.drawn) << c.centreX;
  }
}

TEST_F(GhostTest, HoleGhostsByPlating) {
  struct Case {
    std::uint8_t flags;
    bool second, wideCross;
  };
  for (const Case c : {Case{0, false, true}, Case{kHoleQuartered, false, false},
                       Case{kHoleQuartered | kHoleIsVia, true, false}}) {
    Clear(kBackground);
    auto r = HoleRecord({100, 100}, 20, 40, c.flags);
    GhostEntity(dc, r.get(), 0);
    EXPECT_TRUE(LitNear(120, 100));  // the first circle
    EXPECT_EQ(LitNear(140, 100), c.second) << int(c.flags);
    EXPECT_EQ(At(100, 85) != kBackground, c.wideCross) << int(c.flags);  // the long cross arm
    EXPECT_NE(At(100, 97), kBackground);  // every cross reaches a few pixels
  }
}

TEST_F(GhostTest, PolygonEdgesAndTheEditedPointsEdge) {
  // Triangle (20,20) (180,20) (100,180), point 1 edited.
  auto r = PolygonRecord({{20, 20}, {180, 20}, {100, 180}}, 1);
  const std::uint32_t first = Shown(LookUpGhostColour(*w, 1u << 2));
  struct Case {
    std::uint32_t flags;
    Point doubled, single;
  };
  for (const Case c : {Case{0, {140, 100}, {100, 20}}, Case{1, {100, 20}, {140, 100}}}) {
    Clear(kBackground);
    r->header.headerLayer = static_cast<std::uint8_t>(c.flags);
    GhostEntity(dc, r.get(), 0);
    // The second pen has the colour of the first: the edited edge is toggled
    // off, which is how it shows.
    EXPECT_EQ(At(c.single.x, c.single.y), first) << c.flags;
    EXPECT_EQ(At(c.doubled.x, c.doubled.y), kBackground) << c.flags;
    EXPECT_NE(At(60, 100), kBackground);  // the closing edge
  }
  Clear(kBackground);
  auto two = PolygonRecord({{20, 20}, {180, 20}});
  GhostEntity(dc, two.get(), 0);
  EXPECT_NE(At(100, 20), kBackground);
  int lit = 0;
  for (std::uint32_t p : pixels) lit += p != kBackground;
  EXPECT_EQ(lit, 160);  // one edge, no closing edge back over it
}

// ---- Dispatch ---------------------------------------------------------------------

TEST_F(GhostTest, OwnedGhostsAreCalledAndUnknownCodesDrawNothing) {
  std::uint8_t payload[kLargestPayloadRoom] = {};
  const std::vector<std::uint32_t> before = pixels;
  for (std::uint16_t type : {0, 12, 25, 50, 300}) GhostEntityData(dc, type, payload, 0, &pl3::kIdentityTransform);
  EXPECT_EQ(Changed(before), 0);
  EXPECT_TRUE(g_calls.empty());
  GhostEntityData(dc, Type_Centroid, payload, 0, &pl3::kIdentityTransform);
  EXPECT_EQ(g_calls, (std::vector<std::string>{"centroid"}));
}

// Dimensioners and datums ghost through the design objects' own drawers:
// each draws, and a second call erases it.
TEST_F(GhostTest, DimensionerAndDatumGhostsDrawAndEraseThemselves) {
  auto sizes = NewSizeTable();
  SizeEntry font{};
  font.flags = kSizeEntryOn;
  font.unit = kSizeUnitNone;
  font.value1 = 1;  // a text height of 131,072: 131 pixels
  (*sizes)[SizeKind_Fonts].entries.push_back(font);
  w->sizeTable = sizes.get();

  DimensionerPayload d{};
  d.head.layer = 3;
  d.a = {W(20), W(40)};
  d.b = {W(150), W(40)};
  d.c = {W(20), W(90)};
  d.unit = 2;
  std::vector<std::uint8_t> datumBytes(kDatumRoom, 0);
  auto& datum = *reinterpret_cast<DatumPayload*>(datumBytes.data());
  datum.head.sizeFlags = 1;
  datum.x = W(40);
  datum.y = W(160);
  std::memcpy(datum.name, "D1", 3);
  const std::pair<std::uint16_t, const void*> cases[] = {
      {Type_Dimensioner, &d}, {Type_AngleDimensioner, &d}, {Type_Datum, &datum}};
  for (const auto& [type, payload] : cases) {
    const std::vector<std::uint32_t> before = pixels;
    GhostEntityData(dc, type, payload, 0, &pl3::kIdentityTransform);
    EXPECT_GT(Changed(before), 20) << type;
    GhostEntityData(dc, type, payload, 0, &pl3::kIdentityTransform);
    EXPECT_EQ(Changed(before), 0) << type;
  }
  // The datum's arms: up from the point to the tip 131 pixels above it.
  const std::vector<std::uint32_t> before = pixels;
  GhostEntityData(dc, Type_Datum, &datum, 0, &pl3::kIdentityTransform);
  EXPECT_NE(At(40, 100), before[100 * kSize + 40]);
  EXPECT_NE(At(100, 160), before[160 * kSize + 100]);
  EXPECT_TRUE(g_calls.empty());
  w->sizeTable = nullptr;
}

TEST_F(GhostTest, InsertionArrayIsGhostedMovedAndItsTransformsKept) {
  auto a = Track({10, 10}, {60, 10}, 1);
  auto b = Track({10, 40}, {60, 40}, 1);
  a->header.transform.tx = 5 * kZoom;
  w->Insertion[0] = a.get();
  w->Insertion[1] = b.get();
  w->InsertionCount = 2;
  w->AngleAssist = 0;
  Clear(kBackground);
  GhostInsertionArrayOffset(dc, &pl3::kIdentityTransform, 30 * kZoom, 50 * kZoom);
  EXPECT_NE(At(70, 60), kBackground);  // a moved by its own 5 and the 30, 50
  EXPECT_NE(At(50, 90), kBackground);  // b moved by 30, 50
  EXPECT_EQ(At(30, 10), kBackground);
  EXPECT_EQ(a->header.transform.tx, 5 * kZoom);
  EXPECT_EQ(b->header.transform.tx, 0);
  EXPECT_EQ(g_calls, (std::vector<std::string>{"ratsnest"}));
  w->Insertion[0] = w->Insertion[1] = nullptr;
  w->InsertionCount = 0;
}

// ---- Symbol contents -----------------------------------------------------------------

Tower* Child(const Tower* parent, std::uint16_t code, const void* payload, std::uint32_t size) {
  return InsertEntity(parent, size, code, payload);
}
void AddChild(const Tower* parent, std::uint16_t code, const void* payload, std::uint32_t size) {
  Tower* t = Child(parent, code, payload, size);
  ReleaseTower(&t);
}

// A symbol definition with one pad: its pad stack holds a hole of radius 10
// and a layer entry whose shape is a circle of radius 20 on layer 4; the pad
// places the stack at (100, 100).
struct PaddedSymbol {
  Tower* design = towertest::NewTopLevelEntity(Type_PCB);
  Tower* definition = Child(design, Type_SymbolDefinition, nullptr, 0);
  PaddedSymbol() {
    Tower* stack = Child(definition, Type_PadStackDefinition, nullptr, 0);
    AddChild(stack, Type_Hole, HoleRecord({0, 0}, 10, 0, 0)->payload, sizeof(pl3::HoleLayout));
    Tower* shape = Child(stack, Type_ShapeDefinition, nullptr, 0);
    pl3::CircleLayout circle{};
    circle.head.transform = pl3::kIdentityTransform;
    circle.size = W(20);
    AddChild(shape, Type_Circle, &circle, sizeof circle);
    std::uint8_t entry[44] = {};
    entry[4] = 4;
    const std::uint32_t shapeRef = NodeRefOf(TowerEntity(shape));
    std::memcpy(entry + 8, &shapeRef, 4);
    std::memcpy(entry + 20, &pl3::kIdentityTransform, sizeof(pl3::Transform));
    AddChild(stack, Type_PadStackLayerInfo, entry, sizeof entry);
    Tower* pad = Child(definition, Type_PadStackInstanceHier, nullptr, 0);
    std::uint8_t info[36] = {};
    const std::uint32_t stackRef = NodeRefOf(TowerEntity(stack));
    std::memcpy(info + 8, &stackRef, 4);
    pl3::Transform at = pl3::kIdentityTransform;
    at.tx = W(100);
    at.ty = W(100);
    std::memcpy(info + 12, &at, sizeof at);
    AddChild(pad, Type_PadStackInfo, info, sizeof info);
    ReleaseTower(&pad);
    ReleaseTower(&shape);
    ReleaseTower(&stack);
  }
  ~PaddedSymbol() {
    ReleaseTower(&definition);
    DeleteEntity(design);
    ReleaseTower(&design);
  }
};

TEST_F(GhostTest, PadsAreGhostedThroughTheirPadStacksAndErasedBySecondGhost) {
  PaddedSymbol symbol;
  const std::vector<std::uint32_t> before = pixels;
  GhostSymbolContents(dc, nullptr, symbol.definition, {0, 0});
  EXPECT_NE(At(110, 100), before[100 * kSize + 110]) << "the hole";
  EXPECT_NE(At(120, 100), before[100 * kSize + 120]) << "the shape's circle, on its layer";
  EXPECT_EQ(At(100, 130), before[130 * kSize + 100]);
  GhostSymbolContents(dc, nullptr, symbol.definition, {0, 0});
  EXPECT_EQ(Changed(before), 0);
  EXPECT_EQ(w->ViewFlags, 0u);
  EXPECT_EQ(w->StateFlags, 0u);
}

// A schematic symbol (30) placed with its origin at x = 100 and a
// translation whose y (7) is not that origin, holding one line.
TEST_F(GhostTest, MirroredSymbolGhostLiesOnTheSymbolsDrawing) {
  Tower* design = towertest::NewTopLevelEntity(Type_Schematic);
  Tower* symbol = Child(design, 30, nullptr, 0);
  const std::int32_t origin[3] = {W(100), W(50), 0};
  AddChild(symbol, Type_Origin, origin, sizeof origin);
  pl3::Transform placement = pl3::kIdentityTransform;
  placement.ty = 7 * kZoom;
  AddChild(symbol, Type_Transform, &placement, sizeof placement);
  auto line = Track({20, 50}, {60, 50}, 0);
  Tower* item = Child(symbol, Type_Track, line->payload, sizeof(pl3::TrackLayout));
  w->StateFlags = kStateSymbolMirrored;
  GhostOutlines = 0;

  // The symbol's drawing into a plane of the view's size.
  geomtest::Plane plane(kSize, kSize);
  UpdateViewGlobals();
  pl3::g_raster.currentEntity = item;
  DrawEntityByType(line->payload, Type_Track, &placement, kDrawPassNormal);
  pl3::g_raster.currentEntity = nullptr;
  const geomtest::PixelSet drawn = plane.Lit();
  ASSERT_FALSE(drawn.empty());

  Clear(kBackground);
  GhostSymbolContents(dc, symbol, symbol, {0, 0});
  geomtest::PixelSet ghost;
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x)
      if (At(x, y) != kBackground) ghost.insert({x, y});
  ASSERT_FALSE(ghost.empty()) << "the mirrored ghost lies in the view";
  int apart = 0;
  for (const auto& [x, y] : ghost) {
    bool near = false;
    for (int d = -1; d <= 1 && !near; ++d)
      for (int e = -1; e <= 1 && !near; ++e) near = drawn.count({x + d, y + e}) != 0;
    apart += !near;
  }
  EXPECT_EQ(apart, 0) << "every ghost pixel lies on the drawing (x from 140 to 180)";
  ReleaseTower(&item);
  ReleaseTower(&symbol);
  DeleteEntity(design);
  ReleaseTower(&design);
}

TEST_F(GhostTest, SpiralGhostShowsItsQuartersWithoutRadiusLinesAndErasesItself) {
  Clear(kBackground);
  auto r = NewEntityRecord();
  r->header.recordType = Type_Spiral;
  r->header.transform = pl3::kIdentityTransform;
  auto& s = r->as<SpiralPayload>();
  s.head.layer = 1;
  s.head.transform = pl3::kIdentityTransform;
  s.centre = {W(100), W(100)};
  s.start = {W(80), W(100)};  // 20 pixels left of the centre
  s.end = {W(100), W(40)};    // above it, two turns out
  s.pitch = 20 * kZoom;
  const std::vector<std::uint32_t> before = pixels;
  GhostEntity(dc, r.get(), 0);
  EXPECT_TRUE(LitNear(80, 100));   // the start
  // The end, at the last quarter's radius (40 pixels), within the pen's reach.
  const auto litWithin = [&](int x, int y, int reach) {
    for (int dy = -reach; dy <= reach; ++dy)
      for (int dx = -reach; dx <= reach; ++dx)
        if (At(x + dx, y + dy) != kBackground) return true;
    return false;
  };
  EXPECT_TRUE(litWithin(100, 60, 3));
  EXPECT_FALSE(litWithin(100, 50, 3));  // nothing beyond the end
  EXPECT_FALSE(LitNear(100, 100));  // no radius line to the centre
  EXPECT_FALSE(LitNear(90, 100));
  EXPECT_EQ(w->StateFlags & kStateNoArcRadii, 0u);  // the switch is put back
  GhostEntity(dc, r.get(), 0);
  EXPECT_EQ(Changed(before), 0);
}

// A spiral whose pitch is 0 or less, or whose end is unset or on its centre,
// shows exactly as the spiral of pitch 1,097,280 ending at |start - centre|
// plus five pitches right of the centre.
TEST_F(GhostTest, SpiralOfUnsetPitchOrEndShowsAsItsDefaults) {
  constexpr std::int32_t kFar = 100000;  // 11 pixels a pitch: the spiral fits the surface
  w->Zoom = kFar;
  UpdateViewGlobals();
  constexpr std::int32_t P = kDefaultSpiralPitch;
  const Point centre{100 * kFar + kFar / 2, 100 * kFar + kFar / 2};
  const auto spiral = [&](Point start, Point end, std::int32_t pitch) {
    auto r = NewEntityRecord();
    r->header.recordType = Type_Spiral;
    r->header.transform = pl3::kIdentityTransform;
    auto& s = r->as<SpiralPayload>();
    s.head.layer = 1;
    s.head.transform = pl3::kIdentityTransform;
    s.centre = centre;
    s.start = start;
    s.end = end;
    s.pitch = pitch;
    return r;
  };
  const Point start{centre.x - P, centre.y - P / 2};
  const Point defaultEnd{centre.x + P + 5 * P, centre.y + P / 2};
  struct Case {
    const char* name;
    Point start, end;
    std::int32_t pitch;
    Point drawnStart;
  };
  const Case cases[] = {
      {"pitch 0, no end", start, {0, 0}, 0, start},
      {"negative pitch, end on the centre", start, centre, -1, start},
      {"pitch 0, end on the centre", start, centre, 0, start},
      {"nothing set", {0, 0}, {0, 0}, 0, {centre.x - P, centre.y}},
  };
  for (const Case& c : cases) {
    const Point end = c.drawnStart.y == centre.y ? Point{centre.x + 6 * P, centre.y} : defaultEnd;
    Clear(kBackground);
    DrawSpiral(dc, spiral(c.drawnStart, end, P).get());
    const std::vector<std::uint32_t> expected = pixels;
    Clear(kBackground);
    EXPECT_GT(Changed(expected), 100) << c.name << ": the reference spiral shows";
    DrawSpiral(dc, spiral(c.start, c.end, c.pitch).get());
    EXPECT_EQ(Changed(expected), 0) << c.name;
  }
}

}  // namespace
