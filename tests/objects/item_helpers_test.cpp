#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "geometry/pot2.h"
#include "objects/entity_record.h"
#include "objects/graphic_records.h"
#include "objects/item_helpers.h"
#include "objects/locator_dispatch.h"
#include "objects/payload_access.h"
#include "objects/real_size.h"
#include "objects/size_table.h"
#include "objects/size_text.h"
#include "walk_fixture.h"

namespace {

using walktest::Insert;

std::vector<std::uint8_t> IndexedText(std::uint32_t index) {
  std::vector<std::uint8_t> p(TextStoredSize(1), 0);
  auto* text = reinterpret_cast<TextPayload*>(p.data());
  text->head.sizeFlags = kSizeByIndex;
  text->head.sizeIndex = index;
  text->size = -1;
  return p;
}

std::int32_t TextSizeOf(const Entity* e) {
  std::int32_t size;
  std::memcpy(&size, EntityPayload(e) + 48, 4);
  return size;
}

std::vector<std::uint8_t> Bytes(const std::string& s, bool terminate = true) {
  std::vector<std::uint8_t> v(s.begin(), s.end());
  if (terminate) v.push_back(0);
  return v;
}

class ItemHelpers : public walktest::WalkTest {
 protected:
  void SetUp() override {
    WalkTest::SetUp();
    const char* text = DefaultSizeText(kEditorPcb);
    window->sizeTable = ParseSizeText(text, std::strlen(text)).release();
  }
  void TearDown() override {
    window->sizeTable = FreeSizeTable(window->sizeTable);
    WalkTest::TearDown();
  }
  std::int32_t FontSize(std::uint32_t index) { return ReturnRealSizeIn(window->sizeTable, Type_Text, index); }
};

TEST_F(ItemHelpers, ResolveItemSizesThroughGroupsAndInfoRecords) {
  RegisterItemHelperWalkHandlers();
  ASSERT_NE(FontSize(3), FontSize(2));
  Tower* designator = InsertEntity(design, 8, Type_Designator, std::vector<std::uint8_t>(8).data());
  Entity* inner = Insert(designator, Type_Text, IndexedText(3));
  Tower* data = InsertEntity(designator, 8, Type_DesignatorData, std::vector<std::uint8_t>(8).data());
  std::vector<std::uint8_t> info(16, 0);
  info[0] = kSizeByIndex;
  WriteU32(info.data(), 4, 2);
  Entity* infoEntity = Insert(data, Type_DesignatorInfo, info);
  Entity* free = Insert(design, Type_Text, IndexedText(2));
  // A damaged text too short to hold its size is left alone.
  Entity* shortText = Insert(design, Type_Text, std::vector<std::uint8_t>(8, 0xFF));

  Tower* d = TowerOn(TowerEntity(designator));
  EXPECT_GT(ResolveItemSizes(d), 0);
  EXPECT_EQ(TextSizeOf(inner), FontSize(3));
  EXPECT_EQ(ReadI32(EntityPayload(infoEntity), 12), FontSize(2));
  EXPECT_EQ(TextSizeOf(free), -1);  // outside the designator

  // The walker's action 14 reaches every item of the design.
  Walk(14);
  EXPECT_EQ(TextSizeOf(free), FontSize(2));
  EXPECT_EQ(ReadU32(EntityPayload(shortText), 0), 0xFFFFFFFFu);
  ReleaseTower(&d);
  ReleaseTower(&data);
  ReleaseTower(&designator);
}

TEST_F(ItemHelpers, CompletionChecks) {
  struct Case { std::uint32_t failure, mask; int complete, bit23Clear; };
  for (auto c : {Case{0, 0, 1, 1}, Case{0x1, 0, 0, 1}, Case{0x8, 0, 1, 1}, Case{0x8, 0x8, 0, 1},
                 Case{0x800000, 0, 1, 0}, Case{0x200000, 0, 0, 1}}) {
    Tower* item = InsertEntity(design, 8, Type_SymbolInstance, std::vector<std::uint8_t>(8).data());
    std::vector<std::uint8_t> info(16, 0);
    WriteU32(info.data(), 2, c.failure);
    WriteU32(info.data(), 6, c.mask);
    Insert(item, Type_CompletionInfo, info);
    EXPECT_EQ(IsItemComplete(item), c.complete) << std::hex << c.failure << " " << c.mask;
    EXPECT_EQ(IsCompletionBit23Clear(item), c.bit23Clear) << std::hex << c.failure;
    DeleteEntity(item);
    ReleaseTower(&item);
  }
  // A record cut short by a damaged file counts as a failed check.
  Tower* cut = InsertEntity(design, 8, Type_SymbolInstance, std::vector<std::uint8_t>(8).data());
  // The store rounds payloads up to 16 bytes: a shorter record can only
  // come from elsewhere, so its size is cut by hand.
  Insert(cut, Type_CompletionInfo, std::vector<std::uint8_t>(16, 0))->payloadSize = 14;
  EXPECT_EQ(IsItemComplete(cut), 0);
  EXPECT_EQ(IsCompletionBit23Clear(cut), 0);
  ReleaseTower(&cut);
  Tower* bare = InsertEntity(design, 8, Type_SymbolInstance, std::vector<std::uint8_t>(8).data());
  EXPECT_EQ(IsItemComplete(bare), 0);
  EXPECT_EQ(IsCompletionBit23Clear(bare), 0);
  ReleaseTower(&bare);
}

std::vector<std::uint8_t> PolygonOf(std::initializer_list<pl3::Point> points) {
  std::vector<std::uint8_t> p(PolygonStoredSize(static_cast<std::uint32_t>(points.size())), 0);
  auto* poly = reinterpret_cast<pl3::PolygonLayout*>(p.data());
  poly->count = static_cast<std::uint8_t>(points.size());
  std::memcpy(pl3::PolygonPoints(poly), points.begin(), points.size() * sizeof(pl3::Point));
  return p;
}

TEST(CleanPolygonPoints, DropsCollinearPointsAndRetriangulates) {
  // A square with a point halfway along its bottom edge and a repeated corner.
  auto bytes = PolygonOf({{0, 0}, {50, 0}, {100, 0}, {100, 100}, {100, 100}, {0, 100}});
  auto* poly = reinterpret_cast<pl3::PolygonLayout*>(bytes.data());
  ASSERT_EQ(CleanPolygonPoints(poly), 1);
  ASSERT_EQ(poly->count, 4);
  const pl3::Point* p = pl3::PolygonPoints(poly);
  EXPECT_EQ(p[1].x, 100);
  EXPECT_EQ(p[1].y, 0);
  EXPECT_EQ(p[3].x, 0);
  const std::uint8_t* tri = pl3::PolygonTriangles(poly);
  for (int i = 0; i < 6; ++i) EXPECT_LT(tri[i], 4) << i;
  EXPECT_NE(tri[0] + tri[1] + tri[2], 0);

  // Points on one line: cleaned down to two, reported with 0.
  auto flat = PolygonOf({{0, 0}, {10, 10}, {20, 20}, {30, 30}});
  EXPECT_EQ(CleanPolygonPoints(reinterpret_cast<pl3::PolygonLayout*>(flat.data())), 0);
  // Far-apart coordinates do not overflow the line test.
  auto wide = PolygonOf({{-2000000000, -2000000000}, {2000000000, -2000000000}, {2000000000, 2000000000}});
  EXPECT_EQ(CleanPolygonPoints(reinterpret_cast<pl3::PolygonLayout*>(wide.data())), 1);
  EXPECT_EQ(reinterpret_cast<pl3::PolygonLayout*>(wide.data())->count, 3);
}

TEST_F(ItemHelpers, RemoveInvalidPolygonsDeletesDegenerateOnes) {
  Tower* page = InsertEntity(design, 8, Type_Page, std::vector<std::uint8_t>(8).data());
  Entity* good = Insert(page, Type_Polygon, PolygonOf({{0, 0}, {5, 0}, {10, 0}, {10, 10}}));
  Insert(page, Type_Polygon, PolygonOf({{0, 0}, {10, 10}, {20, 20}}));
  // A stored count larger than the payload reaches only its real points.
  auto lying = PolygonOf({{0, 0}, {7, 7}, {9, 9}});
  lying[48] = 200;
  Insert(page, Type_Polygon, lying);
  EXPECT_EQ(RemoveInvalidPolygons(design), 2);
  Tower* left = GetChildTower(page, Type_Polygon);
  int n = 0;
  while (FindNextEntity(left)) ++n;
  EXPECT_EQ(n, 1);
  EXPECT_EQ(EntityPayload(good)[48], 3);
  ReleaseTower(&left);
  ReleaseTower(&page);
}

TEST_F(ItemHelpers, LookUpsByNumberAndName) {
  Tower* symbol = InsertEntity(design, 8, Type_SymbolInstance, std::vector<std::uint8_t>(8).data());
  for (std::uint32_t number : {4u, 9u}) {
    std::vector<std::uint8_t> p(16, 0);
    WriteU32(p.data(), 4, number);
    WriteU32(p.data(), 8, number * 100);
    Insert(symbol, Type_PadStackInstanceInfo, p);
  }
  std::uint8_t* found = FindPadStackInstanceInfoByXref(symbol, 9);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(ReadU32(found, 8), 900u);
  EXPECT_EQ(FindPadStackInstanceInfoByXref(symbol, 5), nullptr);

  auto node = [&](const std::string& pad, const std::string& net, bool terminated) {
    Tower* n = InsertEntity(symbol, 8, Type_ImportedNetNodeHier, std::vector<std::uint8_t>(8).data());
    Insert(n, Type_ImportedPadName, Bytes(pad));
    Insert(n, Type_NetName, Bytes(net, terminated));
    ReleaseTower(&n);
  };
  node("A1", "GND", true);
  node("a2", "VCC", true);
  node("B7", "NOTERM", false);
  EXPECT_STREQ(FindImportedNetName(symbol, "A1"), "GND");
  EXPECT_EQ(FindImportedNetName(symbol, "A2"), nullptr);  // exact match only
  EXPECT_STREQ(FindImportedNetName(symbol, "a2"), "VCC");
  // A stored payload is padded to 16 bytes, so a short name still ends; the
  // look-up never reads past the payload.
  EXPECT_NE(FindImportedNetName(symbol, "B7"), nullptr);
  ReleaseTower(&symbol);
}

TEST_F(ItemHelpers, SweepMarksAndHighlight) {
  Entity* symbol = Insert(design, Type_SymbolInstance, 1);
  Entity* group = Insert(design, 163, 2);
  Entity* plane = Insert(design, Type_Plane, 3);
  Entity* datum = Insert(design, Type_Datum, 4);
  SetSymbolsFlag(design, 1);
  EXPECT_TRUE(symbol->flags & kEntitySweepMark);
  EXPECT_TRUE(group->flags & kEntitySweepMark);
  EXPECT_FALSE(plane->flags & kEntitySweepMark);
  SetPlanesFlag(design, 1);
  SetDatumsFlag(design, 1);
  EXPECT_TRUE(plane->flags & kEntitySweepMark);
  EXPECT_TRUE(datum->flags & kEntitySweepMark);
  SetSymbolsFlag(design, 0);
  EXPECT_FALSE(symbol->flags & kEntitySweepMark);
  EXPECT_TRUE(plane->flags & kEntitySweepMark);

  Tower* s = TowerOn(symbol);
  Entity* deep = Insert(s, Type_Text, IndexedText(1));
  symbol->flags |= kEntityHighlighted;
  deep->flags |= kEntityHighlighted;
  plane->flags |= kEntityHighlighted;
  ClearHighlightRecursive(s);
  EXPECT_FALSE(symbol->flags & kEntityHighlighted);
  EXPECT_FALSE(deep->flags & kEntityHighlighted);
  EXPECT_TRUE(plane->flags & kEntityHighlighted);
  ReleaseTower(&s);
}

TEST_F(ItemHelpers, CycleTextJustificationByType) {
  Entity* text = Insert(design, Type_Text, IndexedText(1));
  Tower* t = TowerOn(text);
  std::vector<std::uint32_t> seen;
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(CycleTextJustification(t, 1), 1u);
    seen.push_back(ReadU32(EntityPayload(text), 72));
  }
  EXPECT_NE(seen[0], 0u);
  EXPECT_EQ(seen[0] & ~48u, 0u);
  EXPECT_EQ(seen[2], 0u);
  ReleaseTower(&t);

  std::vector<std::uint8_t> dim(176, 0);
  Entity* d = Insert(design, Type_Dimensioner, dim);
  Tower* dt = TowerOn(d);
  ASSERT_EQ(CycleTextJustification(dt, 0), 1u);
  EXPECT_NE(ReadU32(EntityPayload(d), 100) & 12u, 0u);
  ReleaseTower(&dt);

  Entity* info = Insert(design, Type_DesignatorInfo, std::vector<std::uint8_t>(16, 0));
  Tower* it = TowerOn(info);
  EXPECT_EQ(CycleTextJustification(it, 0), 1u);
  EXPECT_EQ(ReadU32(EntityPayload(info), 0), 0u);
  ReleaseTower(&it);
  Entity* track = Insert(design, Type_Track, 5);
  Tower* tt = TowerOn(track);
  EXPECT_EQ(CycleTextJustification(tt, 0), 0u);
  ReleaseTower(&tt);
}

}  // namespace

namespace {

std::vector<std::uint8_t> LocatorBytes(std::uint16_t kind, const pl3::Transform& rotation, std::int32_t x,
                                       std::int32_t y) {
  LocatorPayload p{};
  p.kind = kind;
  p.head.transform = rotation;
  p.x = x;
  p.y = y;
  std::vector<std::uint8_t> v(sizeof p);
  std::memcpy(v.data(), &p, sizeof p);
  return v;
}

std::int32_t AnchorX(const Entity* e) { return ReadI32(EntityPayload(e), 60); }
std::int32_t AnchorY(const Entity* e) { return ReadI32(EntityPayload(e), 64); }

TEST_F(ItemHelpers, LocatorDragFollowsItsParentsTurn) {
  // A Value locator under a locator turned R90, and a Designator and Pin
  // Number under a schematic symbol turned R180.
  Tower* outer = InsertEntity(design, sizeof(LocatorPayload), Type_AttributeLocator,
                              LocatorBytes(kLocatorDesignator, pl3::R90, 0, 0).data());
  Entity* value = Insert(outer, Type_AttributeLocator, LocatorBytes(kLocatorValue, pl3::R0, 100, 200));
  Tower* symbol = InsertEntity(design, 12, 30, std::vector<std::uint8_t>(12).data());
  std::vector<std::uint8_t> turn(sizeof(pl3::Transform));
  pl3::Transform r180 = pl3::R180;
  r180.tx = 999999;  // the symbol's position plays no part
  std::memcpy(turn.data(), &r180, sizeof r180);
  Insert(symbol, Type_Transform, turn);
  Entity* designator = Insert(symbol, Type_AttributeLocator, LocatorBytes(kLocatorDesignator, pl3::R0, 100, 200));
  Entity* pin = Insert(symbol, Type_AttributeLocator, LocatorBytes(kLocatorPinNumber, pl3::R0, 100, 200));

  Tower* t = TowerOn(value, outer);
  EXPECT_EQ(MoveLocatorWithItem(t, {10, 0}), 1);
  EXPECT_EQ(AnchorX(value), 100);
  EXPECT_EQ(AnchorY(value), 210);
  ReleaseTower(&t);
  t = TowerOn(designator, symbol);
  EXPECT_EQ(MoveLocatorWithItem(t, {10, 5}), 1);
  EXPECT_EQ(AnchorX(designator), 90);
  EXPECT_EQ(AnchorY(designator), 195);
  ReleaseTower(&t);
  t = TowerOn(pin, symbol);
  EXPECT_EQ(MoveLocatorWithItem(t, {10, 5}), 0);
  EXPECT_EQ(AnchorX(pin), 100);
  ReleaseTower(&t);
  ReleaseTower(&symbol);
  ReleaseTower(&outer);
}

TEST_F(ItemHelpers, PinAttributeLookUpAndGateRecords) {
  Tower* symbol = InsertEntity(design, 8, Type_SymbolDefinition, std::vector<std::uint8_t>(8).data());
  auto pin = [&](std::int32_t x, std::int32_t y, std::initializer_list<std::uint32_t> kinds) {
    Tower* p = InsertEntity(symbol, 8, Type_SymbolPin, std::vector<std::uint8_t>(8).data());
    std::vector<std::uint8_t> origin(12, 0);
    WriteI32(origin.data(), 0, x);
    WriteI32(origin.data(), 4, y);
    Insert(p, Type_Origin, origin);
    for (std::uint32_t k : kinds) {
      std::vector<std::uint8_t> a(16, 0);
      WriteU32(a.data(), 0, k);
      WriteU32(a.data(), 4, 1000 + k);
      Insert(p, Type_Attribute, a);
    }
    ReleaseTower(&p);
  };
  pin(0, 0, {kLocatorPinNumber, kLocatorPinName});
  pin(50, 60, {kLocatorPinNumber});  // older: the newer pin at the same point is the one asked
  pin(50, 60, {kLocatorPinName});
  EXPECT_EQ(HasPinAt(symbol, 50, 60), 1);
  EXPECT_EQ(HasPinAt(symbol, 50, 61), 0);
  Tower* a = FindPinAttributeAt(symbol, 0, 0, kLocatorPinNumber);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(ReadU32(TowerPayload(a), 4), 1001u);
  ReleaseTower(&a);
  a = FindPinAttributeAt(symbol, 50, 60, kLocatorPinName);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(ReadU32(TowerPayload(a), 4), 1004u);
  ReleaseTower(&a);
  EXPECT_EQ(FindPinAttributeAt(symbol, 50, 60, kLocatorPinNumber), nullptr);
  EXPECT_EQ(FindPinAttributeAt(symbol, 0, 60, kLocatorPinNumber), nullptr);

  Insert(symbol, 11026, 1);
  Insert(symbol, 11026, 2);
  DeletePackageGateRecords(symbol);
  Tower* gates = GetChildTower(symbol, 11026);
  EXPECT_TRUE(!gates || !FindNextEntity(gates));
  ReleaseTower(&gates);
  EXPECT_EQ(HasPinAt(symbol, 0, 0), 1);  // the pins stay
  ReleaseTower(&symbol);
}

TEST(LeaderTargetPoint, NearestEdgeOrCentrePerAxis) {
  const pl3::Box box{0, 0, 100, 40};
  struct Case { std::int32_t x, y, ex, ey; };
  for (auto c : {Case{-50, 20, 0, 20}, Case{160, -10, 100, 0}, Case{50, 100, 50, 40}, Case{25, 10, 50, 20},
                 Case{24, 9, 0, 0}, Case{76, 31, 100, 40}}) {
    pl3::Point p = LeaderTargetPoint(box, c.x, c.y);
    EXPECT_EQ(p.x, c.ex) << c.x;
    EXPECT_EQ(p.y, c.ey) << c.y;
  }
}

}  // namespace

namespace {

TEST_F(ItemHelpers, PadResistOptionsFromTheDesign) {
  PadResistOptions = 0;
  LoadPadResistOptions(design);
  EXPECT_EQ(PadResistOptions, 5u);
  std::vector<std::uint8_t> word(4, 0);
  WriteU32(word.data(), 0, 2);
  Insert(design, 10406, word);
  LoadPadResistOptions(design);
  EXPECT_EQ(PadResistOptions, 2u);
}

TEST_F(ItemHelpers, AttributeKindOfLocatorsAndAttributes) {
  Entity* locator = Insert(design, Type_AttributeLocator, LocatorBytes(kLocatorNamedIOPort, pl3::R0, 0, 0));
  std::vector<std::uint8_t> attribute(16, 0);
  WriteU32(attribute.data(), 0, 0x10008);  // the whole word, not its low half
  Entity* a = Insert(design, Type_Attribute, attribute);
  Entity* track = Insert(design, Type_Track, 14);
  struct Case { Entity* e; std::uint32_t kind; };
  for (auto c : {Case{locator, 15}, Case{a, 0x10008}, Case{track, 0}}) {
    Tower* t = TowerOn(c.e);
    EXPECT_EQ(GetAttributeKind(t), c.kind) << c.e->typeCode;
    ReleaseTower(&t);
  }
  EXPECT_EQ(GetAttributeKind(nullptr), 0u);
}

}  // namespace

namespace {

TEST_F(ItemHelpers, PurgeKeepsOnlyNamedPadStackDefinitions) {
  Tower* symbol = InsertEntity(design, 8, Type_SymbolDefinition, std::vector<std::uint8_t>(8).data());
  Entity* used = Insert(symbol, Type_PadStackDefinition, 1);
  Entity* spare = Insert(symbol, Type_PadStackDefinition, 2);
  Entity* alsoUsed = Insert(symbol, Type_PadStackDefinition, 3);
  for (Entity* def : {used, alsoUsed, used}) {
    Tower* pad = InsertEmptyEntity(symbol, Type_PadStackInstanceHier);
    std::vector<std::uint8_t> info(16, 0);
    WriteU32(info.data(), 8, NodeRefOf(def));
    Insert(pad, Type_PadStackInfo, info);
    ReleaseTower(&pad);
  }
  (void)spare;
  EXPECT_EQ(PurgeUnusedPadStackDefs(symbol), 1);
  Tower* left = GetChildTower(symbol, Type_PadStackDefinition);
  std::vector<std::uint32_t> tags;
  while (Entity* e = FindNextEntity(left)) tags.push_back(walktest::TagOf(e));
  EXPECT_EQ(tags, (std::vector<std::uint32_t>{3, 1}));
  ReleaseTower(&left);
  EXPECT_EQ(PurgeUnusedPadStackDefs(symbol), 0);
  ReleaseTower(&symbol);
}

}  // namespace
