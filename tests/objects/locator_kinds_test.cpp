#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "geometry/transform.h"
#include "objects/locator_dispatch.h"
#include "objects/locator_kinds.h"
#include "objects/locator_shapes.h"
#include "objects/payload_access.h"
#include "objects/attribute_services.h"
#include "objects/attribute_locators.h"
#include "objects/drawing_seams.h"
#include "platform/responder.h"
#include "tests/objects/item_helper_seam_fakes.h"
#include "tests/objects/locator_draw_fakes.h"
#include "tests/objects/locator_font.h"
#include "walk_fixture.h"

constexpr std::uint16_t kGlyphCodeBase = 400;  // a glyph record is 400 + its character

namespace {
std::vector<std::string> g_undoCaptions;
}  // namespace

// The editing engine's services to the locator code, as link-time fakes.
void RecordInsertionUndo(const Tower*, const char*) {}
void RecordDeletionUndo(const Tower*) {}
void RecordModificationUndo(const Tower*, const char* caption) { g_undoCaptions.push_back(caption); }
void SetInsertionType(std::uint16_t) {}
int EditSelectionTestPasses() { return 0; }
int NetNameUpdateOption() { return 0; }

namespace {

using locatordraw::Drawn;
using locatorfont::CharacterWidth;
using locatorfont::GlyphHeight;
using walktest::Insert;

// The lines drawn (tracks) and the circles.
std::vector<LinePayload> DrawnLines() {
  std::vector<LinePayload> lines;
  for (const auto& e : Drawn().entities)
    if (e.type == 1) lines.push_back(e.line);
  return lines;
}

// The locators stored directly under a parent.
int CountLocators(const Tower* parent) {
  int n = 0;
  Tower* t = GetChildTower(parent, Type_AttributeLocator);
  while (t && FindNextEntity(t)) ++n;
  ReleaseTower(&t);
  return n;
}

LocatorPayload Locator(std::uint16_t kind, std::int32_t x, std::int32_t y, std::int32_t size = 10) {
  LocatorPayload p{};
  p.kind = kind;
  p.x = x;
  p.y = y;
  p.textSize = size;
  p.head.transform = pl3::R0;
  return p;
}

class LocatorKindsTest : public walktest::WalkTest {
 protected:
  void SetUp() override {
    walktest::WalkTest::SetUp();
    g_undoCaptions.clear();
    font = std::make_unique<locatorfont::Font>();
  }
  void TearDown() override {
    font.reset();
    walktest::WalkTest::TearDown();
  }
  std::unique_ptr<locatorfont::Font> font;

  // An Attribute {kind, 0, 0, id} with its value text (bytes as given).
  Tower* Attribute(const Tower* parent, std::uint32_t kind, const std::string& value, std::uint32_t id = 0) {
    std::uint32_t record[4] = {kind, 0, 0, id};
    Tower* a = InsertEntity(parent, sizeof record, Type_Attribute, record);
    Tower* v = InsertEntity(a, static_cast<std::uint32_t>(value.size() + 1), Type_AttributeValue, value.c_str());
    ReleaseTower(&v);
    return a;
  }
  Tower* Place(const Tower* parent, const LocatorPayload& p) {
    return InsertEntity(parent, sizeof p, Type_AttributeLocator, &p);
  }
  std::string TextOf(const Tower* locator) {
    std::string text;
    return GetLocatorKindText(locator, &text) ? text : "<none>";
  }
};

TEST_F(LocatorKindsTest, TextByKindAndDocument) {
  window->editorKind = kEditorSchematicSymbol;
  struct Case { std::uint16_t kind; const char* library; };
  for (auto c : {Case{1, "Pin"}, Case{4, "Name"}, Case{6, "Designator"}, Case{10, "Value"}, Case{16, "Net Name"},
                 Case{17, "Global Net Names"}, Case{13, "<none>"}, Case{2, "<none>"}}) {
    Tower* t = Place(design, Locator(c.kind, 100, 100));
    EXPECT_EQ(TextOf(t), c.library) << c.kind;
    window->editorKind = kEditorPcb;  // other windows show nothing
    EXPECT_EQ(TextOf(t), "<none>") << c.kind;
    window->editorKind = kEditorSchematicSymbol;
    DeleteEntity(t);
    ReleaseTower(&t);
  }
  // A named global-net list shows its name.
  Tower* named = Place(design, Locator(kLocatorDisplayGlobalNets, 0, 0));
  Tower* name = InsertEntity(named, 5, Type_GlobalNetListName, "PWR1");
  EXPECT_EQ(TextOf(named), "PWR1");
  ReleaseTower(&name);
  ReleaseTower(&named);
}

TEST_F(LocatorKindsTest, SchematicTextsComeFromTheOwner) {
  window->editorKind = kEditorSchematic;
  Tower* symbol = InsertEmptyEntity(design, 30);
  Tower* a = Attribute(symbol, kAttributeDesignator, "U7");
  ReleaseTower(&a);
  a = Attribute(symbol, kLocatorNetName, "CLK", 42);
  ReleaseTower(&a);
  a = Attribute(symbol, kAttributeUser, std::string("VALUE\0" "10k", 9));
  ReleaseTower(&a);
  Tower* designator = Place(symbol, Locator(kLocatorDesignator, 0, 0));
  Tower* pin = Place(symbol, Locator(kLocatorPinNumber, 0, 0));
  LocatorPayload net = Locator(kLocatorNetName, 0, 0);
  net.attributeId = 42;
  Tower* netName = Place(symbol, net);
  net.attributeId = 43;
  Tower* lost = Place(symbol, net);
  Tower* value = Place(symbol, Locator(kLocatorValue, 0, 0));
  Tower* display = Place(symbol, Locator(kLocatorDisplayNetName, 0, 0));
  EXPECT_EQ(TextOf(designator), "U7");
  EXPECT_EQ(TextOf(pin), "<none>");  // the owner has no pin number
  EXPECT_EQ(TextOf(netName), "CLK");
  EXPECT_EQ(TextOf(lost), "<none>");
  EXPECT_EQ(TextOf(value), "10k");
  EXPECT_EQ(TextOf(display), "<none>");
  for (Tower** t : {&designator, &pin, &netName, &lost, &value, &display, &symbol}) ReleaseTower(t);
}

TEST_F(LocatorKindsTest, SchematicPinNumbersHideByTheirWalkFlagAndTheSuppressFlag) {
  window->editorKind = kEditorSchematic;
  Tower* pin = InsertEmptyEntity(design, 26);
  Tower* a = Attribute(pin, kAttributePinNumber, "14");
  ReleaseTower(&a);
  Tower* t = Place(pin, Locator(kLocatorPinNumber, 0, 0));
  const LocatorPayload p = ReadLocatorPayload(t);
  struct Case {
    std::uint32_t walkFlags, suppress;
    bool drawn;
  };
  for (const Case c : {Case{0, 0, true}, Case{0x40000, 0, false}, Case{0, 1, false}, Case{0x4, 0, true}}) {
    Drawn().texts.clear();
    window->WalkFlags = c.walkFlags;
    pl3::SuppressSymbolTextsFlag = c.suppress;
    DrawLocatorKind(nullptr, t, p, pl3::kIdentityTransform, 0);
    EXPECT_EQ(Drawn().texts.size(), c.drawn ? 1u : 0u) << c.walkFlags << " " << c.suppress;
    if (c.drawn && !Drawn().texts.empty()) {
      EXPECT_EQ(Drawn().texts[0].text, "14");
    }
  }
  ReleaseTower(&t);
  ReleaseTower(&pin);
}

TEST_F(LocatorKindsTest, UserLocatorTexts) {
  Tower* notUser = Attribute(design, kAttributeDesignator, "R1");
  Tower* empty = Attribute(design, kAttributeUser, std::string("TOL\0", 4));
  Tower* full = Attribute(design, kAttributeUser, std::string("TOL\0" "5%", 7));
  Tower* noValuePart = Attribute(design, kAttributeUser, "TOL");  // a record cut after the name
  EXPECT_EQ(GetUserLocatorText(notUser, 1, nullptr, nullptr), "??User??");
  EXPECT_EQ(GetUserLocatorText(nullptr, 1, nullptr, nullptr), "??User??");
  EXPECT_EQ(GetUserLocatorText(empty, 1, nullptr, nullptr), "??TOL??");
  EXPECT_EQ(GetUserLocatorText(noValuePart, 1, nullptr, nullptr), "??TOL??");
  EXPECT_EQ(GetUserLocatorText(full, 1, nullptr, nullptr), "5%");
  EXPECT_EQ(GetUserLocatorText(nullptr, 0, "name", nullptr), "??name??");
  Tower* item = InsertEmptyEntity(design, 30);
  Tower* a = Attribute(item, kAttributeUser, std::string("PART\0" "BC547", 11));
  EXPECT_EQ(GetUserLocatorText(nullptr, 0, "part", item), "BC547");
  for (Tower** t : {&notUser, &empty, &full, &noValuePart, &item, &a}) ReleaseTower(t);
}

TEST_F(LocatorKindsTest, UserInsertRefusesAGoneReference) {
  window->editorKind = kEditorSchematicSymbol;
  LocatorPayload p = Locator(kLocatorUserAttribute, 0, 0);
  p.markedEntity = 0x1234;
  EXPECT_EQ(InsertUserLocator(p, nullptr, "X"), nullptr);
  EXPECT_EQ(CountLocators(design), 0);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "Error Inserting Locator");
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "Locator is not associated with any attribute.");

  // With the attribute there, the stored name is the attribute's name part.
  Tower* attribute = Attribute(design, kAttributeUser, std::string("MPN\0" "X1", 7));
  Tower* stored = InsertUserLocator(p, attribute, "ignored");
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(GetLocatorNameChild(stored, Type_UserAttributeName), "MPN");
  ReleaseTower(&stored);
  p.markedEntity = 0;
  stored = InsertUserLocator(p, nullptr, "pending");
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(GetLocatorNameChild(stored, Type_UserAttributeName), "pending");
  EXPECT_EQ(CountLocators(design), 2);
  ReleaseTower(&stored);
  ReleaseTower(&attribute);
}

TEST_F(LocatorKindsTest, UserLocatorAddedToAPlacedSymbolIsStoredRelativeToIt) {
  window->editorKind = kEditorSchematic;
  Tower* symbol = InsertEmptyEntity(design, 30);
  pl3::Transform placed = pl3::R90;
  placed.tx = 5000000;
  placed.ty = 6000000;
  Tower* tr = InsertEntity(symbol, sizeof placed, kTypeSymbolTransform, &placed);
  LocatorPayload p = Locator(kLocatorUserAttribute, 5300000, 6100000);
  p.head.transform = pl3::R90;
  Tower* stored = InsertUserLocatorOnSymbol(p, symbol, "MPN");
  ASSERT_NE(stored, nullptr);
  const LocatorPayload local = ReadLocatorPayload(stored);
  // Placed by the symbol again, the point is where it was put.
  std::int32_t x = local.x, y = local.y;
  pl3::TransformSignedPoint(&placed, x, y);
  EXPECT_EQ(x, 5300000);
  EXPECT_EQ(y, 6100000);
  EXPECT_TRUE(SameRotation(local.head.transform, pl3::R0)) << "the symbol's turn is taken out";
  EXPECT_EQ(local.head.transform.tx, 0);
  EXPECT_EQ(GetLocatorNameChild(stored, Type_UserAttributeName), "MPN");
  EXPECT_EQ(g_undoCaptions, std::vector<std::string>{"Insert symbol attribute locator"});
  Tower* owner = LocatorOwner(stored);
  EXPECT_EQ(TowerEntity(owner), TowerEntity(symbol));
  for (Tower** t : {&owner, &stored, &tr, &symbol}) ReleaseTower(t);
}

TEST_F(LocatorKindsTest, PinNumberGrabbedOnItsText) {
  window->editorKind = kEditorSchematicSymbol;
  LocatorPayload p = Locator(kLocatorPinNumber, 1000000, 1000000);
  p.textX = 3000000;
  p.textY = 1000000;
  Tower* t = Place(design, p);
  // "Pin" at size 10: 30,000 wide and centred on the text point, grown by 182,880.
  struct Case { std::uint8_t flag; pl3::Point cursor; std::uint16_t grab; pl3::Point point; };
  for (auto c : {Case{0, {3010000, 1010000}, 11, {3000000, 1000000}},
                 Case{0, {3000000 + 15000 + 182880, 1000000}, 11, {3000000, 1000000}},  // the grown edge
                 Case{0, {3000000 + 15000 + 182881, 1000000}, 0, {1000000, 1000000}},
                 Case{1, {3010000, 1010000}, 7, {1000000, 1000000}},
                 Case{0, {1000000, 1000000}, 0, {1000000, 1000000}}}) {
    DragStatus status{};
    status.flag = c.flag;
    status.cursor = c.cursor;
    EXPECT_EQ(GetLocatorKindHandlePoint(t, &status), 1);
    EXPECT_EQ(status.grabCode, c.grab) << c.cursor.x;
    EXPECT_EQ(status.x, c.point.x) << c.cursor.x;
    EXPECT_EQ(status.y, c.point.y) << c.cursor.x;
  }
  ReleaseTower(&t);
}

TEST_F(LocatorKindsTest, SchematicHandlePointFollowsTheSymbol) {
  window->editorKind = kEditorSchematic;
  Tower* symbol = InsertEmptyEntity(design, 30);
  pl3::Transform placed = pl3::R90;
  placed.tx = 5000000;
  placed.ty = 6000000;
  Tower* tr = InsertEntity(symbol, sizeof placed, kTypeSymbolTransform, &placed);
  Tower* t = Place(symbol, Locator(kLocatorDesignator, 100000, 0));
  DragStatus status{};
  ASSERT_EQ(GetLocatorKindHandlePoint(t, &status), 1);
  std::int32_t x = 100000, y = 0;
  pl3::TransformSignedPoint(&placed, x, y);
  EXPECT_EQ(status.x, x);
  EXPECT_EQ(status.y, y);
  EXPECT_NE(status.x, 100000);
  // A mirrored symbol mirrors the locator first.
  std::uint32_t mirrored[3] = {1, 0, 0};
  Tower* record = InsertEntity(symbol, sizeof mirrored, Type_SchematicSymbol, mirrored);
  ASSERT_EQ(GetLocatorKindHandlePoint(t, &status), 1);
  x = -100000, y = 0;
  pl3::TransformSignedPoint(&placed, x, y);
  EXPECT_EQ(status.x, x);
  EXPECT_EQ(status.y, y);
  for (Tower** p : {&record, &t, &tr, &symbol}) ReleaseTower(p);
}

TEST_F(LocatorKindsTest, BoxesIncludeTheirSquare) {
  window->editorKind = kEditorSchematicSymbol;
  const std::int32_t x = 20000000, y = 20000000, s = 8;
  // "Designator" at size 8 is 80,000 wide and 8,000 high, centred: grown by
  // 8 x 18,288 it reaches past the 5-thou square across, while the square
  // rules upright.
  Tower* designator = Place(design, Locator(kLocatorDesignator, x, y, s));
  Tower* plain = Place(design, Locator(kLocatorDesignatorName, x, y, s));
  const std::int32_t grow = s * 18288, half = 10 * CharacterWidth(s) / 2;
  static_assert(10 * CharacterWidth(8) / 2 + 8 * 18288 > kLocatorSmallDot, "the text rules across");
  static_assert(GlyphHeight(8) / 2 + 8 * 18288 < kLocatorSmallDot, "the square rules upright");
  pl3::Box box;
  ASSERT_EQ(GetLocatorKindBox(designator, &box), 1);
  EXPECT_EQ(box.xmin, x - half - grow);
  EXPECT_EQ(box.xmax, x + half + grow);
  EXPECT_EQ(box.ymin, y - kLocatorSmallDot);
  EXPECT_EQ(box.ymax, y + kLocatorSmallDot);
  EXPECT_EQ(GetLocatorKindBox(plain, &box), 0);  // plain kinds have no box of their own

  // In a schematic the symbol's designator is measured alone.
  window->editorKind = kEditorSchematic;
  ASSERT_EQ(GetLocatorKindBox(designator, &box), 1);
  EXPECT_EQ(box.xmin, x - half);
  EXPECT_EQ(box.xmax, x + half);
  EXPECT_EQ(box.ymin, y - GlyphHeight(s) / 2);
  EXPECT_EQ(box.ymax, y + GlyphHeight(s) / 2);
  ReleaseTower(&designator);
  ReleaseTower(&plain);
}

TEST_F(LocatorKindsTest, LibraryDotsAndLabels) {
  window->editorKind = kEditorSchematicSymbol;
  LocatorPayload dp = Locator(kLocatorDesignator, 0, 0, 12);
  dp.head.layer = 9;
  Tower* designator = Place(design, dp);
  Tower* value = Place(design, Locator(kLocatorValue, 0, 0, 12));
  pl3::Transform shifted = pl3::kIdentityTransform;
  shifted.tx = 7000;
  DrawLocatorKind(nullptr, designator, ReadLocatorPayload(designator), shifted, 0);
  DrawLocatorKind(nullptr, value, ReadLocatorPayload(value), pl3::kIdentityTransform, 0);
  std::vector<std::int32_t> radii;
  for (const auto& e : Drawn().entities) {
    ASSERT_EQ(e.type, 3);
    EXPECT_EQ(e.layer, 22);
    radii.push_back(e.circle.size);
  }
  EXPECT_EQ(radii, (std::vector<std::int32_t>{kLocatorSmallDot, 12 * kValueDotPerSize}));
  EXPECT_EQ(Drawn().entities[0].transform.tx, 7000) << "the dot is placed by the parent";
  ASSERT_EQ(Drawn().texts.size(), 2u);
  EXPECT_EQ(Drawn().texts[0].text, "Designator");
  EXPECT_EQ(Drawn().texts[0].layer, 9) << "in the locator's colour class";
  EXPECT_EQ(Drawn().texts[0].mode, 1);
  // A schematic draws no dot.
  window->editorKind = kEditorSchematic;
  DrawLocatorKind(nullptr, value, ReadLocatorPayload(value), pl3::kIdentityTransform, 0);
  EXPECT_EQ(Drawn().entities.size(), 2u);

  // A plain kind's label is drawn into the plane with its leader; the
  // drawing flags and the fill value come back.
  Drawn() = {};
  window->WalkFlags = 0x10;
  LocatorPayload plain = Locator(kLocatorFunctionName, 0, 0, 99);
  plain.textX = 500000;
  plain.textY = 700000;
  DrawLocatorKindLabel(nullptr, plain, 8);
  ASSERT_EQ(Drawn().texts.size(), 1u);
  EXPECT_EQ(Drawn().texts[0].text, GetLocatorKindName(kLocatorFunctionName));
  EXPECT_EQ(Drawn().texts[0].size, 8);
  EXPECT_EQ(Drawn().texts[0].textTransform.tx, 500000);
  EXPECT_EQ(Drawn().texts[0].walkFlags & kDrawLocatorText, kDrawLocatorText);
  ASSERT_EQ(DrawnLines().size(), 1u);
  EXPECT_EQ(DrawnLines()[0].x1, 0) << "the leader starts at the locator point";
  EXPECT_EQ(window->WalkFlags, 0x10u);
  // The ghost's string is XOR-drawn, its leader too.
  DrawPlacedString(nullptr, plain, "Pin", {500000, 700000});
  ASSERT_EQ(Drawn().texts.size(), 2u);
  EXPECT_EQ(Drawn().texts[1].mode, 0);
  EXPECT_EQ(DrawnLines().size(), 1u);
  ASSERT_EQ(itemseams::Recorded().ghosts.size(), 1u);
  EXPECT_EQ(itemseams::Recorded().ghosts[0].type, 1);
  ReleaseTower(&designator);
  ReleaseTower(&value);
}

// ---- IO ports ----------------------------------------------------------------------

bool HasLine(const IOPortOutline& o, pl3::Point a, pl3::Point b) {
  for (int i = 0; i < o.lineCount; ++i) {
    const auto& l = o.lines[i];
    if ((l[0].x == a.x && l[0].y == a.y && l[1].x == b.x && l[1].y == b.y) ||
        (l[0].x == b.x && l[0].y == b.y && l[1].x == a.x && l[1].y == a.y))
      return true;
  }
  return false;
}

TEST_F(LocatorKindsTest, IOPortOutlineEnds) {
  const std::int32_t s = 10, x = 50000000, y = 40000000;
  LocatorPayload p = Locator(kLocatorIOPort, x, y, s);
  IOPortOutline o;
  // Type 0: pointed at both ends; the text starts s x (18,288 + 109,728) from
  // the point, and its left-justified box 10,000 x s before that.
  ASSERT_TRUE(BuildIOPortOutline(p, "NET", &o));
  const std::int32_t left = 10000 * s, top = y - GlyphHeight(s) / 2, bottom = y + GlyphHeight(s) / 2;
  const std::int32_t x0 = x + s * (18288 + 109728) - left, x1 = x0 + 3 * CharacterWidth(s);
  EXPECT_EQ(o.text.x, x0 + left);
  EXPECT_EQ(o.text.y, y);
  EXPECT_EQ(o.lineCount, 6);
  EXPECT_EQ(o.width, s * 4572);
  const pl3::Point tip{x1 + s * 109728, y};
  EXPECT_TRUE(HasLine(o, {x0, top}, {x1, top}));
  EXPECT_TRUE(HasLine(o, {x0, bottom}, {x1, bottom}));
  EXPECT_TRUE(HasLine(o, tip, {x1, top}));
  EXPECT_TRUE(HasLine(o, tip, {x1, bottom}));
  EXPECT_TRUE(HasLine(o, {x, y}, {x0, top}));
  EXPECT_TRUE(HasLine(o, {x, y}, {x0, bottom}));

  // Type 3: straight at both ends, the text only the margin away.
  p.portType = 3;
  ASSERT_TRUE(BuildIOPortOutline(p, "NET", &o));
  const std::int32_t n0 = x + s * 18288 - left, n1 = n0 + 3 * CharacterWidth(s);
  EXPECT_EQ(o.lineCount, 4);
  EXPECT_EQ(o.text.x, n0 + left);
  EXPECT_TRUE(HasLine(o, {n0, top}, {n0, bottom}));
  EXPECT_TRUE(HasLine(o, {n1, top}, {n1, bottom}));

  // Type 1: a straight far end, a pointed near end.
  p.portType = 1;
  ASSERT_TRUE(BuildIOPortOutline(p, "NET", &o));
  EXPECT_EQ(o.lineCount, 5);
  EXPECT_TRUE(HasLine(o, {x1, top}, {x1, bottom}));
  EXPECT_TRUE(HasLine(o, {x, y}, {x0, top}));
}

TEST_F(LocatorKindsTest, IOPortOutlineTurnsAboutItsPoint) {
  const std::int32_t s = 10, x = 50000000, y = 40000000;
  LocatorPayload p = Locator(kLocatorIOPort, x, y, s);
  p.portType = 3;
  p.head.transform = pl3::R180;
  IOPortOutline o;
  ASSERT_TRUE(BuildIOPortOutline(p, "NET", &o));
  const std::int32_t d0 = s * 18288 - 10000 * s, d1 = d0 + 3 * CharacterWidth(s), h = GlyphHeight(s) / 2;
  // Turned through the locator point: the outline lies on the other side.
  EXPECT_TRUE(HasLine(o, {x - d0, y - h}, {x - d0, y + h}));
  EXPECT_TRUE(HasLine(o, {x - d1, y - h}, {x - d1, y + h}));
  EXPECT_EQ(o.text.x, x - s * 18288);
  EXPECT_EQ(o.text.justification & 12u, 8u);  // left-justified text reads from the far side
  EXPECT_EQ(o.bounds.xmax, x - d0);
  EXPECT_EQ(o.bounds.xmin, x - d1);
}

TEST_F(LocatorKindsTest, NamedIOPortShowsNullWithoutItsAttribute) {
  window->editorKind = kEditorSchematic;
  Tower* port = Place(design, Locator(kLocatorNamedIOPort, 1000000, 1000000));
  DrawIOPortLocator(nullptr, port, ReadLocatorPayload(port), pl3::kIdentityTransform);
  ASSERT_EQ(Drawn().texts.size(), 1u);
  EXPECT_EQ(Drawn().texts[0].text, "NULL");
  const std::vector<LinePayload> lines = DrawnLines();
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0].width, 10 * 4572 / 2) << "a track keeps half the line width";
  ReleaseTower(&port);
}

// ---- Display Global Nets -----------------------------------------------------------

class GlobalNetsTest : public LocatorKindsTest {
 protected:
  void SetUp() override {
    LocatorKindsTest::SetUp();
    window->editorKind = kEditorSchematic;
    schematic = InsertEmptyEntity(design, Type_Schematic);
    page = InsertEmptyEntity(schematic, Type_Page);
    package = InsertEmptyEntity(schematic, kTypePackageInstance);
    symbol = InsertEmptyEntity(page, 30);
    const std::uint32_t ref = NodeRefOf(TowerEntity(package));
    Tower* r = InsertEntity(symbol, 4, kTypePackageReference, &ref);
    ReleaseTower(&r);
  }
  void TearDown() override {
    for (Tower** t : {&symbol, &package, &page, &schematic}) ReleaseTower(t);
    LocatorKindsTest::TearDown();
  }
  void Pin(const char* number, const char* net) {
    Tower* pin = InsertEmptyEntity(package, kTypePackagePin);
    Tower* a = nullptr;
    if (number) a = Attribute(pin, kAttributePinNumber, number), ReleaseTower(&a);
    if (net) a = Attribute(pin, kAttributeGlobalNet, net), ReleaseTower(&a);
    ReleaseTower(&pin);
  }
  static bool Has(const std::vector<std::string>& lines, const std::string& line) {
    for (const auto& l : lines)
      if (l == line) return true;
    return false;
  }
  Tower* schematic = nullptr;
  Tower* page = nullptr;
  Tower* package = nullptr;
  Tower* symbol = nullptr;
};

TEST_F(GlobalNetsTest, OneLinePerNetWithItsPins) {
  Pin("7", "VCC");
  Pin("14", "vcc");  // the same net, compared without regard to case
  Pin("8", "GND");
  Pin("3", nullptr);  // no global net
  Pin(nullptr, "AGND");  // no pin number
  const std::vector<std::string> all = BuildGlobalNetLines(symbol, "");
  ASSERT_EQ(all.size(), 2u);
  EXPECT_TRUE(Has(all, "GND 8"));
  EXPECT_TRUE(Has(all, "VCC 7, 14") || Has(all, "vcc 14, 7") || Has(all, "VCC 14, 7") || Has(all, "vcc 7, 14"));
  EXPECT_EQ(BuildGlobalNetLines(symbol, "gnd"), std::vector<std::string>{"GND 8"});
  EXPECT_EQ(BuildGlobalNetLines(symbol, "AGND"), std::vector<std::string>{"?AGND?"});
  EXPECT_EQ(BuildGlobalNetLines(symbol, "NAME"), std::vector<std::string>{"?NAME?"});
}

TEST_F(GlobalNetsTest, TwoPinsOnOneNetMakeOneLine) {
  Pin("1", "NET");
  Pin("2", "NET");
  const std::vector<std::string> lines = BuildGlobalNetLines(symbol, nullptr);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_TRUE(lines[0] == "NET 1, 2" || lines[0] == "NET 2, 1") << lines[0];
  // An unpackaged symbol lists nothing.
  Tower* loose = InsertEmptyEntity(page, 30);
  EXPECT_TRUE(BuildGlobalNetLines(loose, nullptr).empty());
  ReleaseTower(&loose);
}

TEST_F(GlobalNetsTest, BlockPlacementByJustification) {
  struct Case { std::uint32_t vertical; pl3::Transform turn; std::int32_t offset; };
  const std::int32_t h = 1000;
  for (auto c : {Case{16, pl3::R0, 200}, Case{32, pl3::R0, -3000 + 200}, Case{0, pl3::R0, -1500 + 200},
                 Case{16, pl3::R180, -200}, Case{32, pl3::R90, -3000 - 200}, Case{16, pl3::R270, 200}}) {
    LocatorPayload p = Locator(kLocatorDisplayGlobalNets, 0, 0);
    p.style1 = c.vertical;
    p.head.transform = c.turn;
    EXPECT_EQ(GlobalNetBlockOffset(p, h, 3), c.offset) << c.vertical;
  }
}

TEST_F(GlobalNetsTest, DrawsEachLineOneLineHeightApart) {
  Pin("1", "A");
  Pin("2", "B");
  // The design font: the line height comes from its 'X' and 'y' glyph boxes.
  Tower* font = InsertEmptyEntity(design, Type_Font);
  for (auto [c, box] : {std::pair<unsigned char, std::vector<std::int32_t>>{'X', {0, 0, 5, 472320000}},
                        std::pair<unsigned char, std::vector<std::int32_t>>{'y', {0, -150000000, 4, 3}}}) {
    Tower* glyph = InsertEmptyEntity(font, static_cast<std::uint16_t>(kGlyphCodeBase + c));
    Tower* b = InsertEntity(glyph, 16, Type_BoundingBox, box.data());
    ReleaseTower(&b);
    ReleaseTower(&glyph);
  }
  SetFontRecord(3, TowerEntity(font));
  LocatorPayload p = Locator(kLocatorDisplayGlobalNets, 500000, 600000);
  p.style1 = 16;
  const std::int32_t h = GetStringBoxHeight(GetLocatorTextSize(p));
  ASSERT_GT(h, 0);
  Tower* t = Place(symbol, p);
  DrawLocatorKind(nullptr, t, p, pl3::kIdentityTransform, 0);
  SetFontRecord(3, nullptr);
  ReleaseTower(&font);
  ASSERT_EQ(Drawn().texts.size(), 2u);
  EXPECT_EQ(Drawn().texts[0].textTransform.tx, 500000);
  EXPECT_EQ(Drawn().texts[0].textTransform.ty, 600000 + GlobalNetBlockOffset(p, h, 2));
  EXPECT_EQ(Drawn().texts[1].textTransform.ty, Drawn().texts[0].textTransform.ty + h);
  // The walker's suppress flag hides the list.
  Drawn().texts.clear();
  pl3::SuppressSymbolTextsFlag = 1;
  DrawLocatorKind(nullptr, t, p, pl3::kIdentityTransform, 0);
  EXPECT_TRUE(Drawn().texts.empty());
  ReleaseTower(&t);
}

// ---- Graphic net names -------------------------------------------------------------

TEST_F(GlobalNetsTest, GraphicNetNameCopiesTheSymbolsNetNameLocators) {
  Tower* graphic = InsertEmptyEntity(schematic, 25);
  const pl3::Point origin{1000000, 2000000};
  Tower* o = InsertEntity(graphic, sizeof origin, kTypeSymbolOrigin, &origin);
  Tower* a = Place(graphic, Locator(kLocatorDisplayNetName, 1500000, 2000000));
  Tower* b = Place(graphic, Locator(kLocatorDesignator, 0, 0));  // not copied
  Tower* net = Attribute(design, kLocatorNetName, "SDA", 77);
  LocatorPayload p = Locator(kLocatorGraphicNetName, 30000000, 40000000);
  p.markedEntity = NodeRefOf(TowerEntity(graphic));
  p.attributeId = 77;
  Tower* placed = Place(page, p);
  Tower* stale = Place(placed, Locator(kLocatorDisplayNetName, 1, 1));
  ReleaseTower(&stale);
  EXPECT_EQ(RefreshGraphicNetNames(schematic), 1);
  Tower* copies = GetChildTower(placed, Type_AttributeLocator);
  int count = 0;
  while (copies && FindNextEntity(copies)) {
    ++count;
    EXPECT_EQ(ReadI32(EntityPayload(TowerEntity(copies)), 60), 1500000);
  }
  ReleaseTower(&copies);
  EXPECT_EQ(count, 1);

  // The net name lands at the copy's point placed about the symbol's origin.
  DragStatus status{};
  Tower* copy = GetChildTower(placed, Type_AttributeLocator);
  FindNextEntity(copy);
  LastLevel(copy).flags = kLevelLast | kLevelPositioned;
  ASSERT_EQ(GetLocatorKindHandlePoint(copy, &status), 1);
  EXPECT_EQ(status.x, 30000000 + 500000);
  EXPECT_EQ(status.y, 40000000);
  DrawLocatorKind(nullptr, placed, p, pl3::kIdentityTransform, 0);
  ASSERT_EQ(Drawn().texts.size(), 1u);
  EXPECT_EQ(Drawn().texts[0].text, "SDA");
  EXPECT_EQ(Drawn().texts[0].textTransform.tx, 30000000 + 500000);

  // Without its origin the copy has no handle point.
  DeleteChildEntities(graphic, kTypeSymbolOrigin);
  EXPECT_EQ(GetLocatorKindHandlePoint(copy, &status), 0);
  for (Tower** t : {&copy, &placed, &net, &b, &a, &o, &graphic}) ReleaseTower(t);
}

TEST_F(GlobalNetsTest, GhostGivesTheSymbolAnOriginOnTheGrid) {
  Tower* graphic = InsertEmptyEntity(schematic, 25);
  PrepareSymbolOrigin(graphic);
  pl3::Point origin{};
  ASSERT_TRUE(GetSymbolOrigin(graphic, &origin));
  EXPECT_EQ(origin.x, 1005840000);
  EXPECT_EQ(origin.y, 1005840000);
  std::uint8_t* bytes = ChildPayloadOfAtLeast(graphic, kTypeSymbolOrigin, 8);
  WriteI32(bytes, 0, 1005840000 + 914401);   // past half a step: up
  WriteI32(bytes, 4, 1005840000 - 914399);   // short of half a step: back
  PrepareSymbolOrigin(graphic);
  ASSERT_TRUE(GetSymbolOrigin(graphic, &origin));
  EXPECT_EQ(origin.x, 1005840000 + 1828800);
  EXPECT_EQ(origin.y, 1005840000);
  ReleaseTower(&graphic);

  LocatorPayload p = Locator(kLocatorGraphicNetName, 100, 200);
  p.head.transform = pl3::R90;
  const pl3::Transform placement = GraphicNetNamePlacement(p, {10, 0});
  std::int32_t x = 10, y = 0;  // the origin lands on the locator point
  pl3::TransformSignedPoint(&placement, x, y);
  EXPECT_EQ(x, 100);
  EXPECT_EQ(y, 200);
}

}  // namespace
