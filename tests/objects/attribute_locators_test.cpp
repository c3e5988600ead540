#include "objects/attribute_locators.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "../store/tower_test_support.h"
#include "edit/window_data.h"
#include "geometry/raster_state.h"
#include "geometry/view_mapping.h"
#include "platform/gdi.h"
#include "objects/attribute_services.h"
#include "objects/colours.h"
#include "objects/editor_seams.h"
#include "objects/locator_kinds.h"
#include "objects/locator_shapes.h"
#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "objects/undo_seams.h"
#include "platform/reset_hooks.h"
#include "platform/user.h"
#include "store/tower.h"
#include "tests/objects/locator_draw_fakes.h"
#include "tests/objects/locator_font.h"

// The editing engine, the view and the netlist code, recorded. The grid
// snaps to 1,000,000 units, the fine snap to 1,000.
namespace {
std::vector<std::string> gUndo;
std::vector<std::string> gProposals;  // texts handed to the net-name dialog
std::string gNetAtPoint = "None";
std::string gEntered;
int gDialogAnswer = 0;
std::uint32_t gMenuKind = 0;
void ResetFakes() {
  gUndo.clear();
  gProposals.clear();
  gNetAtPoint = "None";
  gEntered.clear();
  gDialogAnswer = 0;
  gMenuKind = 0;
}
const bool gRegistered = pl3::RegisterGlobalReset(&ResetFakes);
char* Heap(const std::string& s) {
  char* p = static_cast<char*>(std::malloc(s.size() + 1));
  std::memcpy(p, s.c_str(), s.size() + 1);
  return p;
}
}  // namespace

void SnapXY(std::int32_t* x, std::int32_t* y, int) {
  *x = *x / 1000000 * 1000000;
  *y = *y / 1000000 * 1000000;
}
void SnapXYFine(std::int32_t* x, std::int32_t* y) {
  *x = *x / 1000 * 1000;
  *y = *y / 1000 * 1000;
}
int IsItemAttachedToCursor() { return 0; }
void SetCursorToPoint(void*, pl3::Point) {}
void CentreViewOnPoint(void*, pl3::Point) {}
int UpdateStatusBar(void*) { return 0; }
void RedrawView(void*) {}
void RedrawViewRect(void*, const pl3::Box*, int) {}
void HandleRawMouseRecord(void*, const MouseRecord&) {}
void DoScroll(void*, std::uint32_t, std::uint32_t) {}

void RecordUndoInsert(NodeRef item, std::uint32_t) {
  gUndo.push_back("insert " + std::to_string(NodeAt<Entity>(item)->typeCode));
}
Tower* RecordUndoRemove(const Tower* t, std::uint32_t) {
  gUndo.push_back("delete " + std::to_string(TowerEntity(t)->typeCode));
  return nullptr;
}
Tower* RecordUndoModify(const Tower*, NodeRef, std::uint32_t) { return nullptr; }
void SetUndoStepCaption(std::uint32_t, const char* caption) { gUndo.push_back(caption); }
std::uint32_t NewUndoStepNumber() { return 1; }
void UpdateUndoMenu() {}
int EditSelectionTestPasses() { return 0; }
int NetNameUpdateOption() { return 0; }
void SetSelectionAndOptionsMenus(std::uint32_t kind) { gMenuKind = kind; }

char* GetLocatorNetName(const Tower*, std::int32_t, std::int32_t) { return Heap(gNetAtPoint); }
char* GetNetNameAtPoint(const Tower*, std::int32_t x, std::int32_t y) {
  return Heap("N" + std::to_string(x) + "_" + std::to_string(y));
}
void UpdateNetNameLocators(const Tower*, std::uint32_t) {}
int ShowNetNameDialog(char* buffer) {
  gProposals.push_back(buffer);
  if (gDialogAnswer) std::strcpy(buffer, gEntered.c_str());
  return gDialogAnswer;
}

namespace {

constexpr std::int32_t kInch = 36576000;

class AttributeLocators : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    schematic_ = towertest::NewTopLevelEntity(Type_Schematic);
    w_.design = schematic_;
    w_.editorKind = kEditorSchematic;
    ActiveWindowData = &w_;
    font_ = std::make_unique<locatorfont::Font>();
  }
  void TearDown() override {
    font_.reset();
    ReleaseTower(&w_.PendingTarget);
    ActiveWindowData = nullptr;
    DeleteEntity(schematic_);
    ReleaseTower(&schematic_);
  }
  AttributeLocatorPayload& L() { return record_->as<AttributeLocatorPayload>(); }
  std::unique_ptr<EntityRecord> Start(std::uint16_t kind, pl3::Point at = {2000000, 3000000}) {
    std::unique_ptr<EntityRecord> r;
    EXPECT_EQ(StartNewLocator(nullptr, r, at, kind), 1);
    return r;
  }
  // The design's attributes as {kind, id, value}.
  struct Attr {
    std::uint32_t kind, id;
    std::string value;
  };
  std::vector<Attr> Attributes() {
    std::vector<Attr> out;
    Tower* a = GetChildTower(schematic_, Type_Attribute);
    while (a && FindNextEntity(a)) {
      const std::uint8_t* p = TowerPayload(a);
      Tower* v = GetChildTower(a, Type_AttributeValue);
      Entity* e = v ? FindNextEntity(v) : nullptr;
      out.push_back({ReadU32(p, 0), ReadU32(p, 12), e ? reinterpret_cast<const char*>(EntityPayload(e)) : "(none)"});
      ReleaseTower(&v);
    }
    ReleaseTower(&a);
    return out;
  }
  std::vector<AttributeLocatorPayload> StoredLocators() {
    std::vector<AttributeLocatorPayload> out;
    Tower* t = GetChildTower(schematic_, Type_AttributeLocator);
    while (t && FindNextEntity(t)) {
      EXPECT_EQ(TowerEntity(t)->payloadSize, 96u);
      AttributeLocatorPayload p;
      std::memcpy(&p, TowerPayload(t), sizeof p);
      out.push_back(p);
    }
    ReleaseTower(&t);
    return out;
  }
  Tower* schematic_ = nullptr;
  CurrentWindowData w_{};
  std::unique_ptr<EntityRecord> record_;
  std::unique_ptr<locatorfont::Font> font_;
};

TEST_F(AttributeLocators, StartSnapsByKindAndSetsUpThePlacing) {
  record_ = Start(kLocatorPinNumber, {2001234, 3005678});
  EXPECT_EQ(L().x, 2001000);  // fine snap: pin kinds attach to pin ends
  EXPECT_EQ(L().y, 3005000);
  EXPECT_EQ(L().kind, kLocatorPinNumber);
  EXPECT_EQ(L().head.sizeFlags & kSizeByIndex, kSizeByIndex);
  EXPECT_EQ(w_.EditMode, kEditModePlacingLocator);
  EXPECT_EQ(w_.InsertionTypeCode, Type_AttributeLocator);
  EXPECT_EQ(gMenuKind, LocatorMenuKind(kLocatorPinNumber));
  record_ = Start(kLocatorValue, {2001234, 3005678});
  EXPECT_EQ(L().x, 2000000);  // grid snap
  EXPECT_EQ(L().y, 3000000);
  EXPECT_EQ(L().textX, 0);
  EXPECT_EQ(L().attributeId, 0u);
}

TEST_F(AttributeLocators, ValueAfterDesignatorKeepsTheLastKeepingKindsDefaults) {
  AttributeLocatorPayload pin{};
  pin.kind = kLocatorPinNumber;
  pin.style1 = 32;
  pin.style2 = 8;
  pin.head.transform = pl3::R90;
  RememberLocatorDefaults(&pin);
  AttributeLocatorPayload designator{};
  designator.kind = kLocatorDesignator;
  designator.style1 = 16;
  designator.style2 = 4;
  designator.head.transform = pl3::R180;
  RememberLocatorDefaults(&designator);

  record_ = Start(kLocatorValue);
  EXPECT_EQ(L().style1, 32u);
  EXPECT_EQ(L().style2, 8u);
  EXPECT_TRUE(SameRotation(L().head.transform, pl3::R90));
  record_ = Start(kLocatorDesignator);  // takes none of them
  EXPECT_EQ(L().style1, 0u);
  EXPECT_EQ(L().style2, 0u);
  EXPECT_TRUE(SameRotation(L().head.transform, pl3::R0));
}

TEST_F(AttributeLocators, TextDragReachesExactlyOneInchByTruncatedDistance) {
  record_ = Start(kLocatorPinNumber, {0, 0});
  ASSERT_EQ(L().x, 0);
  struct Case {
    pl3::Point cursor;
    bool moves;
  };
  // (one inch, 1) is a hair farther than an inch, but its truncated distance is one inch.
  for (const Case c : {Case{{kInch, 0}, true}, Case{{0, -kInch}, true}, Case{{kInch, 1}, true},
                       Case{{kInch + 1, 0}, false}, Case{{kInch - 1, kInch - 1}, false}}) {
    L().textX = 7;
    L().textY = 7;
    DragLocatorText(nullptr, record_.get(), c.cursor);
    if (c.moves) {
      pl3::Point snapped = c.cursor;
      SnapXY(&snapped.x, &snapped.y, 0);
      EXPECT_EQ(L().textX, snapped.x) << c.cursor.x << "," << c.cursor.y;
      EXPECT_EQ(L().textY, snapped.y) << c.cursor.x << "," << c.cursor.y;
    } else {
      EXPECT_EQ(L().textX, 7) << c.cursor.x << "," << c.cursor.y;
    }
  }
}

TEST_F(AttributeLocators, MoveFollowsTheSnappedCursor) {
  record_ = Start(kLocatorIOPort, {0, 0});
  MoveNewLocator(nullptr, record_.get(), {5001999, -4000500});
  EXPECT_EQ(L().x, 5001000);
  EXPECT_EQ(L().y, -4000000);
}

TEST_F(AttributeLocators, SecondPinNumberAtOnePointBeepsAndStays) {
  record_ = Start(kLocatorPinNumber, {1000000, 1000000});
  EXPECT_EQ(AcceptLocatorClick(nullptr, record_.get(), {1000000, 1000000}), kLocatorClickStay);
  EXPECT_EQ(w_.EditMode, kEditModeLocatorText);
  L().textX = 2000000;
  L().textY = 1000000;
  ASSERT_EQ(RunLocatorInsertHandler(record_.get()), 1);

  const int beeps = pl3::BeepCount();
  record_ = Start(kLocatorPinNumber, {1000000, 1000000});
  EXPECT_EQ(AcceptLocatorClick(nullptr, record_.get(), {1000000, 1000000}), kLocatorClickStay);
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  EXPECT_EQ(w_.EditMode, kEditModePlacingLocator);
  // A Pin Name at the same point is another kind: no beep.
  record_ = Start(kLocatorPinName, {1000000, 1000000});
  AcceptLocatorClick(nullptr, record_.get(), {1000000, 1000000});
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  EXPECT_EQ(w_.EditMode, kEditModeLocatorText);
}

TEST_F(AttributeLocators, ClickResultsByKind) {
  struct Case {
    std::uint16_t kind;
    LocatorClickResult result;
    std::uint8_t mode;
  };
  for (const Case c : {Case{6, kLocatorClickInsert, 71}, Case{9, kLocatorClickInsert, 71},
                       Case{10, kLocatorClickInsert, 71}, Case{13, kLocatorClickInsert, 71},
                       Case{14, kLocatorClickInsert, 71}, Case{16, kLocatorClickInsert, 71},
                       Case{17, kLocatorClickInsert, 71}, Case{12, kLocatorClickStay, 74},
                       Case{0, kLocatorClickStay, 74}, Case{5, kLocatorClickStay, 74}}) {
    record_ = Start(c.kind);
    EXPECT_EQ(AcceptLocatorClick(nullptr, record_.get(), {2000000, 3000000}), c.result) << c.kind;
    EXPECT_EQ(w_.EditMode, c.mode) << c.kind;
  }
}

TEST_F(AttributeLocators, NetNameProposalIsEmptyForNoneAndConflict) {
  struct Case {
    const char* net;
    const char* proposed;
  };
  for (const Case c : {Case{"None", ""}, Case{"Conflict!", ""}, Case{"VCC", "VCC"}}) {
    gNetAtPoint = c.net;
    gProposals.clear();
    record_ = Start(kLocatorNetName);
    EXPECT_EQ(AcceptLocatorClick(nullptr, record_.get(), {2000000, 3000000}), kLocatorClickStay);
    ASSERT_EQ(gProposals.size(), 1u);
    EXPECT_EQ(gProposals[0], c.proposed) << c.net;
  }
  // Cancelled every time: no attribute, still following the cursor.
  EXPECT_TRUE(Attributes().empty());
  EXPECT_EQ(w_.EditMode, kEditModePlacingLocator);
}

TEST_F(AttributeLocators, NetNameOkCreatesItsAttributeAndInsertsIt) {
  gDialogAnswer = 1;
  gEntered = "CLK";
  record_ = Start(kLocatorNetName);
  EXPECT_EQ(AcceptLocatorClick(nullptr, record_.get(), {2000000, 3000000}), kLocatorClickStay);
  EXPECT_EQ(w_.EditMode, kEditModeLocatorText);
  ASSERT_NE(L().attributeId, 0u);
  auto attributes = Attributes();
  ASSERT_EQ(attributes.size(), 1u);
  EXPECT_EQ(attributes[0].kind, 3u);
  EXPECT_EQ(attributes[0].id, L().attributeId);
  EXPECT_EQ(attributes[0].value, "CLK");
  ASSERT_NE(w_.PendingTarget, nullptr);

  L().textX = 4000000;
  L().textY = 3000000;
  EXPECT_EQ(RunLocatorInsertHandler(record_.get()), 1);
  EXPECT_EQ(w_.PendingTarget, nullptr);  // released, the attribute stays
  EXPECT_EQ(Attributes().size(), 1u);
  ASSERT_EQ(StoredLocators().size(), 1u);
  EXPECT_EQ(StoredLocators()[0].attributeId, attributes[0].id);
  EXPECT_EQ(gUndo, (std::vector<std::string>{"insert 20", "Insert Attribute Locator"}));
  EXPECT_NE(GetEntityData(schematic_, Type_ModifiedNote), nullptr);
}

TEST_F(AttributeLocators, NamedIOPortStartsWithANullAttribute) {
  record_ = Start(kLocatorNamedIOPort);
  auto attributes = Attributes();
  ASSERT_EQ(attributes.size(), 1u);
  EXPECT_EQ(attributes[0].kind, 15u);
  EXPECT_EQ(attributes[0].value, "NULL");
  EXPECT_EQ(attributes[0].id, L().attributeId);
  EXPECT_NE(L().attributeId, 0u);
}

TEST_F(AttributeLocators, CancelledPlacingLeavesNoAttribute) {
  // A Named IO Port cancelled while following the cursor.
  record_ = Start(kLocatorNamedIOPort);
  ASSERT_EQ(Attributes().size(), 1u);
  CancelLocatorPlacing(record_.get());
  EXPECT_TRUE(Attributes().empty());
  EXPECT_EQ(w_.PendingTarget, nullptr);

  // A Named IO Port whose name dialog is cancelled ends the operation.
  record_ = Start(kLocatorNamedIOPort);
  EXPECT_EQ(AcceptLocatorClick(nullptr, record_.get(), {2000000, 3000000}), kLocatorClickCancel);
  CancelLocatorPlacing(record_.get());
  EXPECT_TRUE(Attributes().empty());

  // A Net Name cancelled while its text is positioned.
  gDialogAnswer = 1;
  gEntered = "GND";
  record_ = Start(kLocatorNetName);
  AcceptLocatorClick(nullptr, record_.get(), {2000000, 3000000});
  ASSERT_EQ(Attributes().size(), 1u);
  CancelLocatorPlacing(record_.get());
  EXPECT_TRUE(Attributes().empty());
  EXPECT_TRUE(StoredLocators().empty());
}

TEST_F(AttributeLocators, CancelKeepsAPendingTargetItDidNotCreate) {
  // A User locator's pending target is the placed symbol: it must survive.
  const AttributePayload other{3, 0, 0, 77};
  w_.PendingTarget = InsertEntity(schematic_, sizeof other, Type_Attribute, &other);
  record_ = Start(kLocatorUserAttribute);
  CancelLocatorPlacing(record_.get());
  EXPECT_EQ(w_.PendingTarget, nullptr);
  EXPECT_EQ(Attributes().size(), 1u);
  // A Net Name whose pending target has another id is not its own either.
  w_.PendingTarget = FindAttributeById(schematic_, 77);
  record_ = Start(kLocatorNetName);
  CancelLocatorPlacing(record_.get());
  EXPECT_EQ(Attributes().size(), 1u);
}

TEST_F(AttributeLocators, NamedIOPortOkReplacesTheNullAttribute) {
  record_ = Start(kLocatorNamedIOPort);
  const std::uint32_t nullId = L().attributeId;
  gDialogAnswer = 1;
  gEntered = "DATA0";
  EXPECT_EQ(AcceptLocatorClick(nullptr, record_.get(), {2000000, 3000000}), kLocatorClickInsert);
  auto attributes = Attributes();
  ASSERT_EQ(attributes.size(), 1u);
  EXPECT_EQ(attributes[0].value, "DATA0");
  EXPECT_EQ(attributes[0].kind, 15u);
  EXPECT_NE(attributes[0].id, nullId);
  EXPECT_EQ(attributes[0].id, L().attributeId);
  EXPECT_EQ(RunLocatorInsertHandler(record_.get()), 1);
  EXPECT_EQ(w_.PendingTarget, nullptr);
  EXPECT_EQ(Attributes().size(), 1u);
}

TEST_F(AttributeLocators, IOPortInsertNamesItsAttributeAfterTheNet) {
  record_ = Start(kLocatorIOPort, {5000000, 6000000});
  ASSERT_EQ(RunLocatorInsertHandler(record_.get()), 1);
  auto attributes = Attributes();
  ASSERT_EQ(attributes.size(), 1u);
  EXPECT_EQ(attributes[0].kind, 9u);
  EXPECT_EQ(attributes[0].value, "N5000000_6000000");
  auto stored = StoredLocators();
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0].attributeId, attributes[0].id);
  EXPECT_NE(stored[0].attributeId, 0u);
}

TEST_F(AttributeLocators, PinInsertsKeepTheirOwnTextDefaults) {
  PinNameTextDefaults = {11, 12, 13, pl3::R180};
  record_ = Start(kLocatorPinNumber, {1000000, 2000000});
  L().textX = 3000000;
  L().textY = 1000000;
  L().style1 = 16;
  L().style2 = 8;
  L().head.transform = pl3::R270;
  ASSERT_EQ(RunLocatorInsertHandler(record_.get()), 1);
  EXPECT_EQ(PinNumberTextDefaults.x, 2000000);
  EXPECT_EQ(PinNumberTextDefaults.y, -1000000);
  EXPECT_EQ(PinNumberTextDefaults.justification, 24u);
  EXPECT_TRUE(SameRotation(PinNumberTextDefaults.rotation, pl3::R270));
  EXPECT_EQ(PinNameTextDefaults.x, 11);  // untouched by a Pin Number
  EXPECT_EQ(PinNameTextDefaults.justification, 13u);

  record_ = Start(kLocatorPinName, {0, 0});
  L().textX = -5000000;
  L().textY = 0;
  L().style2 = 4;
  ASSERT_EQ(RunLocatorInsertHandler(record_.get()), 1);
  EXPECT_EQ(PinNameTextDefaults.x, -5000000);
  EXPECT_EQ(PinNameTextDefaults.justification & 12u, 4u);
  EXPECT_EQ(PinNumberTextDefaults.x, 2000000);
}

TEST_F(AttributeLocators, GlobalNetsInsertStoresThePendingListName) {
  SetPendingLocatorName("Power Nets");
  record_ = Start(kLocatorDisplayGlobalNets);
  ASSERT_EQ(RunLocatorInsertHandler(record_.get()), 1);
  EXPECT_EQ(PendingLocatorName, nullptr);
  Tower* locator = GetChildTower(schematic_, Type_AttributeLocator);
  ASSERT_TRUE(locator && FindNextEntity(locator));
  const char* name = static_cast<const char*>(GetEntityData(locator, Type_GlobalNetListName));
  ASSERT_NE(name, nullptr);
  EXPECT_STREQ(name, "Power Nets");
  ReleaseTower(&locator);
}

TEST_F(AttributeLocators, PlainKindsTakeANewAttributeIdEach) {
  record_ = Start(kLocatorFootprint);
  ASSERT_EQ(RunLocatorInsertHandler(record_.get()), 1);
  record_ = Start(kLocatorGateName);
  ASSERT_EQ(RunLocatorInsertHandler(record_.get()), 1);
  auto stored = StoredLocators();
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_NE(stored[0].attributeId, 0u);
  EXPECT_NE(stored[1].attributeId, 0u);
  EXPECT_NE(stored[0].attributeId, stored[1].attributeId);
  // A User locator goes to its own handler: stored with its pending name,
  // which is then freed.
  SetPendingLocatorName("MPN");
  record_ = Start(kLocatorUserAttribute);
  EXPECT_EQ(RunLocatorInsertHandler(record_.get()), 1);
  stored = StoredLocators();
  ASSERT_EQ(stored.size(), 3u);
  Tower* user = GetChildTower(schematic_, Type_AttributeLocator);
  ASSERT_TRUE(user && FindNextEntity(user));
  EXPECT_EQ(ReadLocatorPayload(user).kind, kLocatorUserAttribute);
  EXPECT_EQ(GetLocatorNameChild(user, Type_UserAttributeName), "MPN");
  ReleaseTower(&user);
  EXPECT_EQ(PendingLocatorName, nullptr);
}

TEST_F(AttributeLocators, DeleteWithAttributeRemovesBoth) {
  gDialogAnswer = 1;
  gEntered = "A";
  record_ = Start(kLocatorNetName);
  AcceptLocatorClick(nullptr, record_.get(), {2000000, 3000000});
  RunLocatorInsertHandler(record_.get());
  ASSERT_EQ(Attributes().size(), 1u);
  Tower* locator = GetChildTower(schematic_, Type_AttributeLocator);
  ASSERT_TRUE(locator && FindNextEntity(locator));
  gUndo.clear();
  EXPECT_EQ(DeleteLocatorWithAttribute(locator), 1);
  ReleaseTower(&locator);
  EXPECT_TRUE(Attributes().empty());
  EXPECT_TRUE(StoredLocators().empty());
  EXPECT_EQ(gUndo, (std::vector<std::string>{"delete 31", "delete 20"}));
}

TEST_F(AttributeLocators, GhostTextByKind) {
  AttributeLocatorPayload l{};
  l.x = 1000;
  l.y = 1000;
  struct Case {
    std::uint16_t kind;
    bool textPoint;
    GhostTextPlacement placement;
    const char* text;
  };
  for (const Case c : {Case{1, false, GhostTextPlacement::None, ""}, Case{1, true, GhostTextPlacement::Placed, "Pin"},
                       Case{3, true, GhostTextPlacement::Placed, "Name"},
                       Case{4, true, GhostTextPlacement::Placed, "Name"},
                       Case{6, false, GhostTextPlacement::AtPoint, "Designator"},
                       Case{10, false, GhostTextPlacement::AtPoint, "Value"},
                       Case{16, false, GhostTextPlacement::AtPoint, "Net Name"},
                       Case{9, false, GhostTextPlacement::Shape, ""}, Case{13, false, GhostTextPlacement::Shape, ""},
                       Case{17, false, GhostTextPlacement::Placed, "Global Net Names"},
                       Case{12, false, GhostTextPlacement::None, ""},
                       Case{12, true, GhostTextPlacement::Placed, "Footprint"},
                       Case{300, true, GhostTextPlacement::Placed, ""}}) {
    l.kind = c.kind;
    l.textX = c.textPoint ? 5000 : 0;
    const GhostText g = GetLocatorGhostText(&l);
    EXPECT_EQ(g.placement, c.placement) << c.kind;
    EXPECT_EQ(g.text, c.text) << c.kind;
  }
  // A Net Name shows its attribute's value.
  Tower* a = InsertAttributeWithId(schematic_, 3, "RESET", 0, 42);
  ReleaseTower(&a);
  l.kind = kLocatorNetName;
  l.attributeId = 42;
  l.textX = 5000;
  EXPECT_EQ(GetLocatorGhostText(&l).text, "RESET");
}

TEST_F(AttributeLocators, GhostTextSpecAdjustsJustificationForTheRotation) {
  AttributeLocatorPayload l{};
  l.style1 = 16;
  l.style2 = 4;
  l.head.transform = pl3::R180;
  l.head.sizeFlags = 0;
  l.textSize = 123;
  LocatorTextSpec s = LocatorTextOf(&l, "x");
  EXPECT_EQ(s.justification, 32u | 8u);
  EXPECT_EQ(s.sizeByIndex, 0);
  EXPECT_EQ(s.size, 123);
  l.head.transform = pl3::R0;
  l.head.sizeFlags = kSizeByIndex;
  l.head.sizeIndex = 3;
  s = LocatorTextOf(&l, "x");
  EXPECT_EQ(s.justification, 16u | 4u);
  EXPECT_EQ(s.sizeByIndex, 1);
  EXPECT_EQ(s.size, 3);
}

TEST_F(AttributeLocators, GhostRadiusByKind) {
  for (std::uint16_t k : {1, 3, 4, 13}) EXPECT_EQ(LocatorGhostRadius(k), 365760) << k;
  for (std::uint16_t k : {6, 9, 10, 14, 15, 16, 17}) EXPECT_EQ(LocatorGhostRadius(k), 182880) << k;
}

using locatordraw::Drawn;

TEST_F(AttributeLocators, DrawDispatchSetsLocatorTextFlagAndRestoresIt) {
  // A handled kind is drawn by its kind handler, its texts from the stored locator.
  w_.editorKind = kEditorSchematicSymbol;
  w_.WalkFlags = 0x100;
  AttributeLocatorPayload l{};
  l.kind = kLocatorPinNumber;
  l.x = 700;
  Tower* stored = InsertEntity(schematic_, sizeof l, Type_AttributeLocator, &l);
  DrawAttributeLocator(&l, &pl3::kIdentityTransform, 0, stored);
  ASSERT_EQ(Drawn().texts.size(), 1u);
  EXPECT_EQ(Drawn().texts[0].text, "Pin");
  EXPECT_EQ(Drawn().texts[0].walkFlags, 0x100 | kDrawLocatorText);
  EXPECT_EQ(w_.WalkFlags, 0x100u);
  // Drawn by type alone (the walk's draw), the locator is the walk's current entity.
  Drawn() = {};
  pl3::g_raster.currentEntity = stored;
  DrawAttributeLocator(&l, &pl3::kIdentityTransform, 0);
  pl3::g_raster.currentEntity = nullptr;
  ASSERT_EQ(Drawn().texts.size(), 1u);
  EXPECT_EQ(Drawn().texts[0].text, "Pin");
  ReleaseTower(&stored);

  // A plain kind under a symbol whose origin is at x = 1,000: mirrored about it.
  Tower* symbol = InsertEmptyEntity(schematic_, 30);
  const std::int32_t origin[2] = {1000, 0};
  Tower* o = InsertEntity(symbol, sizeof origin, Type_Origin, origin);
  ReleaseTower(&o);
  l.kind = kLocatorFootprint;
  l.x = 500;
  stored = InsertEntity(symbol, sizeof l, Type_AttributeLocator, &l);
  Drawn() = {};
  w_.WalkFlags = kDrawMirrored | 0x100;
  DrawAttributeLocator(&l, &pl3::kIdentityTransform, 0, stored);
  ASSERT_EQ(Drawn().texts.size(), 1u);
  EXPECT_EQ(Drawn().texts[0].text, "Footprint");
  EXPECT_EQ(Drawn().texts[0].walkFlags, 0x100 | kDrawLocatorText) << "the text itself is drawn unmirrored";
  EXPECT_EQ(Drawn().texts[0].textTransform.tx, 1500);  // the copy is mirrored, and has no text point still
  EXPECT_EQ(l.x, 500);                                 // the stored payload is not
  EXPECT_EQ(w_.WalkFlags, kDrawMirrored | 0x100u);
  w_.WalkFlags = 0;
  Drawn() = {};
  DrawAttributeLocator(&l, &pl3::kIdentityTransform, 0, stored);
  ASSERT_EQ(Drawn().texts.size(), 1u);
  EXPECT_EQ(Drawn().texts[0].textTransform.tx, 500);  // not mirrored without the flag
  ReleaseTower(&stored);
  ReleaseTower(&symbol);
}

// The ghost's circle and cross, XOR-drawn into a 64 x 64 bitmap at 36,576
// units (1 thou) per pixel: 10 thou is 10 pixels.
TEST_F(AttributeLocators, GhostCircleSizeByKindAndXorRestores) {
  pl3::ViewMapping view{0, 0, 36576};
  pl3::ViewMapping* savedView = pl3::g_raster.view;
  pl3::g_raster.view = &view;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, 64, 64);
  HBITMAP old = SelectObject(dc, bitmap);
  SetDefaultNamedColours();
  AttributeLocatorPayload l{};
  l.head.layer = 3;  // a colour class with a colour that shows
  l.x = 32 * 36576;
  l.y = 32 * 36576;
  std::int32_t cx = l.x, cy = l.y;
  pl3::WorldToView(cx, cy);
  const auto lit = [&](int x, int y) { return GetPixel(dc, x, y) != RGB(0, 0, 0); };
  struct Case {
    std::uint16_t kind;
    std::int32_t worldRadius;
  };
  for (const Case c : {Case{kLocatorPinNumber, 365760}, Case{kLocatorDesignator, 182880},
                       Case{kLocatorGraphicNetName, 365760}}) {
    l.kind = c.kind;
    std::int32_t vx = l.x, vy = l.y;
    pl3::WorldToView(vx, vy);  // sets the scale for the radius too
    const int radius = pl3::ScaleToView(c.worldRadius);
    ASSERT_GT(radius, 3);
    GhostLocatorRecord(dc, &l);
    for (const pl3::Point p : {pl3::Point{cx + radius, cy}, pl3::Point{cx, cy - radius},  // the circle
                               pl3::Point{cx, cy}, pl3::Point{cx + radius - 1, cy},           // the cross
                               pl3::Point{cx, cy + radius - 1}, pl3::Point{cx, cy - 1}}) {
      EXPECT_TRUE(lit(p.x, p.y)) << c.kind << " at " << p.x << "," << p.y;
    }
    EXPECT_FALSE(lit(cx + radius + 1, cy)) << c.kind;
    EXPECT_FALSE(lit(cx + radius - 1, cy + 2)) << c.kind;
    GhostLocatorRecord(dc, &l);  // the second draw erases the first
    for (int x = 0; x < 64; ++x) {
      for (int y = 0; y < 64; ++y) ASSERT_FALSE(lit(x, y)) << c.kind << " at " << x << "," << y;
    }
  }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  pl3::g_raster.view = savedView;
}

TEST_F(AttributeLocators, PlainKindsDrawTheirNameAndDamagedKindsAnEmptyOne) {
  AttributeLocatorPayload l{};
  std::vector<std::string> labels;
  for (std::uint16_t kind : {12, 5, 500}) {
    l.kind = kind;
    DrawAttributeLocator(&l, nullptr, 0);
  }
  for (const auto& t : Drawn().texts) {
    labels.push_back(t.text);
    EXPECT_EQ(t.mode, 1) << "drawn into the plane";
    EXPECT_EQ(t.walkFlags & kDrawLocatorText, kDrawLocatorText);
  }
  EXPECT_EQ(labels, (std::vector<std::string>{"Footprint", "Function Name", ""}));
  EXPECT_EQ(w_.WalkFlags & kDrawLocatorText, 0u);
}

TEST_F(AttributeLocators, SetLocatorTargetStoresTheEntityReference) {
  record_ = Start(kLocatorUserAttribute);
  Tower* a = InsertAttributeWithId(schematic_, 14, "VALUE", 0, 5);
  SetLocatorTarget(record_.get(), a);
  EXPECT_EQ(L().markedEntity, NodeRefOf(TowerEntity(a)));
  EXPECT_NE(L().markedEntity, 0u);
  ReleaseTower(&a);
}

}  // namespace

// ---- Placing through the whole chain ---------------------------------------------------
// Insert mode, start, the placing click, the text point, the insert by kind,
// then the box and the delete of what was stored, in the library editor.

namespace {

using locatorfont::CharacterWidth;
using locatorfont::GlyphHeight;
constexpr std::int32_t kTextSize = 10;

}  // namespace

class LocatorPlacingFlow : public AttributeLocators {
 protected:
  void SetUp() override {
    AttributeLocators::SetUp();
    w_.editorKind = kEditorSchematicSymbol;
  }
  // Arms the insert mode and starts the kind at the cursor, as the engine does.
  void Arm(std::uint16_t kind, pl3::Point cursor) {
    ASSERT_EQ(SetInsertLocatorMode(kind), 1);
    ASSERT_EQ(w_.InsertType, Type_AttributeLocator);
    ASSERT_EQ(StartNewLocator(nullptr, record_, cursor, PendingLocatorKind), 1);
    // An explicit text size: the window has no size table.
    L().head.sizeFlags = 0;
    L().textSize = kTextSize;
  }
  Tower* OnlyLocator() {
    Tower* t = GetChildTower(schematic_, Type_AttributeLocator);
    if (t && FindNextEntity(t)) return t;
    ReleaseTower(&t);
    return nullptr;
  }
};

TEST_F(LocatorPlacingFlow, PinNumberIsPlacedWithItsTextThenMeasuredAndDeleted) {
  Arm(kLocatorPinNumber, {2000000, 3000000});
  EXPECT_EQ(AcceptLocatorClick(nullptr, record_.get(), {2000000, 3000000}), kLocatorClickStay);
  ASSERT_EQ(w_.EditMode, kEditModeLocatorText);
  DragLocatorText(nullptr, record_.get(), {5000000, 4000000});
  InsertLocator(record_);
  EXPECT_EQ(record_, nullptr);
  EXPECT_EQ(w_.InsertType, 0);

  Tower* pin = OnlyLocator();
  ASSERT_NE(pin, nullptr);
  const LocatorPayload p = ReadLocatorPayload(pin);
  EXPECT_EQ(p.kind, kLocatorPinNumber);
  EXPECT_EQ(p.textX, 5000000);
  EXPECT_EQ(p.textY, 4000000);
  EXPECT_EQ(PinNumberTextDefaults.x, 3000000) << "the text offset is kept for the next pin";

  // "Pin" centred on the text point, grown by the text size, united with the
  // 10-thou square around the locator point: the text reaches furthest right
  // and up, the square left and down.
  pl3::Box box{-1, -1, 0, 0};
  ASSERT_EQ(GetLocatorBox(pin, &box), 1);
  const std::int32_t grow = kTextSize * kTextBoxGrowthPerSize, half = 3 * CharacterWidth(kTextSize) / 2;
  EXPECT_EQ(box.xmin, 2000000 - kLocatorLargeDot);
  EXPECT_EQ(box.xmax, 5000000 + half + grow);
  EXPECT_EQ(box.ymin, 3000000 - kLocatorLargeDot);
  EXPECT_EQ(box.ymax, 4000000 + GlyphHeight(kTextSize) / 2 + grow);

  // A second Pin Number at the same point beeps and stays in mode 71.
  w_.EditMode = 0;
  Arm(kLocatorPinNumber, {2000000, 3000000});
  EXPECT_EQ(AcceptLocatorClick(nullptr, record_.get(), {2000000, 3000000}), kLocatorClickStay);
  EXPECT_EQ(w_.EditMode, kEditModePlacingLocator);
  record_.reset();

  EXPECT_EQ(DeleteLocator(pin), 0);
  ReleaseTower(&pin);
  EXPECT_TRUE(StoredLocators().empty());
}

TEST_F(LocatorPlacingFlow, DesignatorIsInsertedByTheFirstClickWithItsSmallSquare) {
  Arm(kLocatorDesignator, {4000000, 1000000});
  ASSERT_EQ(AcceptLocatorClick(nullptr, record_.get(), {4000000, 1000000}), kLocatorClickInsert);
  InsertLocator(record_);
  Tower* designator = OnlyLocator();
  ASSERT_NE(designator, nullptr);
  EXPECT_EQ(ReadLocatorPayload(designator).kind, kLocatorDesignator);
  pl3::Box box{-1, -1, 0, 0};
  ASSERT_EQ(GetLocatorBox(designator, &box), 1);
  EXPECT_LE(box.xmin, 4000000 - kLocatorSmallDot);
  EXPECT_LE(box.ymin, 1000000 - kLocatorSmallDot);
  EXPECT_GE(box.xmax, 4000000 + kLocatorSmallDot);
  EXPECT_GE(box.ymax, 1000000 + kLocatorSmallDot);
  EXPECT_GT(box.xmin, 4000000 - kLocatorLargeDot) << "a Designator's square is the 5-thou one";
  EXPECT_EQ(DeleteLocator(designator), 0);
  ReleaseTower(&designator);
  EXPECT_TRUE(StoredLocators().empty());
}

TEST_F(LocatorPlacingFlow, NamedIOPortTakesTheEnteredNameAndGoesWithIt) {
  Arm(kLocatorNamedIOPort, {2000000, 3000000});
  ASSERT_EQ(Attributes().size(), 1u);
  EXPECT_EQ(Attributes()[0].value, "NULL");
  gDialogAnswer = 1;
  gEntered = "RESET";
  ASSERT_EQ(AcceptLocatorClick(nullptr, record_.get(), {2000000, 3000000}), kLocatorClickInsert);
  InsertLocator(record_);
  auto attributes = Attributes();
  ASSERT_EQ(attributes.size(), 1u) << "the NULL attribute made at the start is gone";
  EXPECT_EQ(attributes[0].value, "RESET");

  Tower* port = OnlyLocator();
  ASSERT_NE(port, nullptr);
  EXPECT_EQ(ReadLocatorPayload(port).attributeId, attributes[0].id);
  // The outline around "RESET" reaches past the text's width from the point.
  pl3::Box box{-1, -1, 0, 0};
  ASSERT_EQ(GetLocatorBox(port, &box), 1);
  EXPECT_GE(box.xmax, 2000000 + 5 * CharacterWidth(kTextSize));
  EXPECT_LE(box.xmin, 2000000 - kLocatorLargeDot);

  EXPECT_EQ(DeleteLocator(port), 0);
  ReleaseTower(&port);
  EXPECT_TRUE(StoredLocators().empty());
  EXPECT_TRUE(Attributes().empty());
}

// The engine ends the operation when the name dialog is cancelled; its cancel
// runs CancelLocatorPlacing before it frees the record.
TEST_F(LocatorPlacingFlow, CancelledNamedIOPortLeavesNoNullAttribute) {
  Arm(kLocatorNamedIOPort, {2000000, 3000000});
  gDialogAnswer = 0;
  ASSERT_EQ(AcceptLocatorClick(nullptr, record_.get(), {2000000, 3000000}), kLocatorClickCancel);
  CancelLocatorPlacing(record_.get());
  record_.reset();
  EXPECT_TRUE(Attributes().empty());
  EXPECT_TRUE(StoredLocators().empty());
  EXPECT_EQ(w_.PendingTarget, nullptr);
}

TEST_F(LocatorPlacingFlow, GhostsOfAUserLocatorAndANamedIOPortShowTheirTexts) {
  SetPendingLocatorName("MPN");
  Arm(kLocatorUserAttribute, {2000000, 3000000});
  EXPECT_EQ(GetLocatorGhostText(&L()).text, "??MPN??");
  Tower* attribute = SetUserAttribute(schematic_, "MPN", "BC547");
  ReleaseTower(&attribute);
  const GhostText g = GetLocatorGhostText(&L());
  EXPECT_EQ(g.placement, GhostTextPlacement::Placed);
  EXPECT_EQ(g.text, "BC547");
  record_.reset();

  w_.EditMode = 0;
  Arm(kLocatorNamedIOPort, {2000000, 3000000});
  Drawn() = {};
  GhostIOPortLocator(nullptr, L());
  ASSERT_EQ(Drawn().texts.size(), 1u);
  EXPECT_EQ(Drawn().texts[0].text, "NULL");
  EXPECT_EQ(Drawn().texts[0].mode, 0) << "XOR-drawn";
  EXPECT_TRUE(Drawn().entities.empty()) << "nothing stays in the plane";
  EXPECT_GE(Drawn().ghosts.size(), 4u) << "the outline is XOR-drawn";
}
