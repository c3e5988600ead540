#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../store/tower_test_support.h"
#include "edit/window_data.h"
#include "locator_kind_fakes.h"
#include "objects/locator_dispatch.h"
#include "objects/locator_services.h"
#include "objects/type_codes.h"
#include "schematic/current_size.h"

namespace {

using locatortest::HandlerCalls;

// What the service slots saw.
struct Seen {
  std::vector<std::string> calls;
  std::uint32_t nextId = 500;
  int netOption = 1;
  std::vector<std::uint32_t> insertedIds;
  std::vector<std::uint32_t> menuKinds;
};
Seen* g_seen = nullptr;

class LocatorDispatch : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    HandlerCalls().clear();
    locatortest::BoxOverride() = {-1, -1, 0, 0};
    window = std::make_unique<CurrentWindowData>();
    window->editorKind = kEditorSchematic;
    design = towertest::NewTopLevelEntity(Type_Schematic);
    window->design = design;
    ActiveWindowData = window.get();
    g_seen = &seen;
    LocatorServices& s = LocatorServiceSlots;
    s.newAttributeId = [](const Tower*) { return g_seen->nextId++; };
    s.insertEntityWithUndo = [](const Tower*, EntityRecord* r) {
      g_seen->calls.push_back("insertWithUndo");
      g_seen->insertedIds.push_back(r->as<LocatorPayload>().attributeId);
    };
    s.netNameUpdateOption = [] { return g_seen->netOption; };
    s.updateNetNameLocators = [](const Tower*) { g_seen->calls.push_back("updateNetNames"); };
    s.deleteLocatorWithAttribute = [](Tower*) { g_seen->calls.push_back("deleteWithAttribute"); };
    s.drawCursor = [](void*) { g_seen->calls.push_back("drawCursor"); };
    s.releaseViewDC = [](void*) { g_seen->calls.push_back("releaseDC"); };
    s.setSelectionAndOptionsMenus = [](std::uint32_t kind) { g_seen->menuKinds.push_back(kind); };
    s.leaveToolMode = [] { g_seen->calls.push_back("leaveToolMode"); };
  }
  void TearDown() override {
    ActiveWindowData = nullptr;
    DeleteEntity(design);
    ReleaseTower(&design);
    g_seen = nullptr;
  }

  // A stored locator of a kind under `parent` (the design by default).
  Tower* AddLocator(std::uint16_t kind, const Tower* parent = nullptr) {
    LocatorPayload p{};
    p.kind = kind;
    return InsertEntity(parent ? parent : design, sizeof p, Type_AttributeLocator, &p);
  }
  std::unique_ptr<EntityRecord> Record(std::uint16_t kind) {
    auto r = NewEntityRecord();
    r->header.recordType = Type_AttributeLocator;
    auto& p = r->as<LocatorPayload>();
    p.kind = kind;
    p.head.sizeIndex = 3;
    p.style1 = 32 | 1;
    p.style2 = 8 | 2;
    p.head.transform = pl3::R90;
    return r;
  }
  int Children(std::uint16_t code) {
    int n = 0;
    Tower* t = GetChildTower(design, code);
    while (t && FindNextEntity(t)) ++n;
    ReleaseTower(&t);
    return n;
  }

  Seen seen;
  std::unique_ptr<CurrentWindowData> window;
  Tower* design = nullptr;
};

TEST_F(LocatorDispatch, BoxAndStatusGoToTheirKindsHandler) {
  struct Case {
    std::uint16_t kind;
    const char* box;     // null: no handler
    const char* status;  // null: no handler
  } cases[] = {
      {0, nullptr, nullptr},
      {1, "GetPinNumberLocatorBox", "GetPinNumberLocatorStatus"},
      {2, nullptr, nullptr},
      {3, "GetNetNameLocatorBox", "GetNetNameLocatorStatus"},
      {4, "GetPinNameLocatorBox", "GetPinNameLocatorStatus"},
      {5, nullptr, nullptr},
      {6, "GetDesignatorLocatorBox", "GetDesignatorLocatorStatus"},
      {7, nullptr, nullptr},
      {8, nullptr, nullptr},
      {9, "GetIOPortLocatorBox", "GetPortLocatorStatus"},
      {10, "GetValueLocatorBox", "GetValueLocatorStatus"},
      {11, nullptr, nullptr},
      {12, nullptr, nullptr},
      {13, "GetGraphicNetNameLocatorBox", "GetPortLocatorStatus"},
      {14, "GetUserLocatorBox", "GetUserLocatorStatus"},
      {15, "GetNamedIOPortLocatorBox", "GetPortLocatorStatus"},
      {16, "GetDisplayNetNameLocatorBox", "GetDisplayNetNameLocatorStatus"},
      {17, "GetGlobalNetsLocatorBox", "GetGlobalNetsLocatorStatus"},
      {18, nullptr, nullptr},
      {0xFFFF, nullptr, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    Tower* locator = AddLocator(c.kind);
    HandlerCalls().clear();
    pl3::Box box{-1, -1, 0, 0};
    EXPECT_EQ(GetLocatorBox(locator, &box), 1);
    EXPECT_EQ(GetLocatorDrawStatus(locator, nullptr), c.status ? 7 : 1);
    std::vector<std::string> expected;
    if (c.box) expected.push_back(c.box);
    if (c.status) expected.push_back(c.status);
    EXPECT_EQ(HandlerCalls(), expected);
    if (!c.box) {
      EXPECT_EQ(box.xmin, -1) << "a plain kind leaves the box alone";
    }
    ReleaseTower(&locator);
  }
}

TEST_F(LocatorDispatch, ShortOrForeignEntitiesAreNotDispatched) {
  std::uint8_t shortPayload[40] = {};
  Tower* shortLocator = InsertEntity(design, sizeof shortPayload, Type_AttributeLocator, shortPayload);
  LocatorPayload p{};
  p.kind = 1;
  Tower* track = InsertEntity(design, sizeof p, Type_Track, &p);
  pl3::Box box{-1, -1, 0, 0};
  EXPECT_EQ(GetLocatorBox(shortLocator, &box), 1);
  EXPECT_EQ(GetLocatorBox(track, &box), 1);
  EXPECT_EQ(DeleteLocator(track), 0);
  EXPECT_TRUE(HandlerCalls().empty());
  EXPECT_EQ(Children(Type_Track), 1);
  ReleaseTower(&shortLocator);
  ReleaseTower(&track);
}

TEST_F(LocatorDispatch, DeleteByKind) {
  struct Case {
    std::uint16_t kind;
    int remains;                     // locators left under the design
    std::vector<std::string> calls;  // service calls with the net-name option on
  } cases[] = {
      {1, 0, {}},  {4, 0, {}},  {6, 0, {}},  {10, 0, {}}, {14, 0, {}}, {16, 0, {}}, {17, 0, {}},
      {3, 1, {"deleteWithAttribute", "updateNetNames"}},
      {13, 1, {"deleteWithAttribute", "updateNetNames"}},
      {15, 1, {"deleteWithAttribute", "updateNetNames"}},
      {9, 1, {"deleteWithAttribute"}},
      {5, 1, {}},  {0, 1, {}},  {2, 1, {}},  {40, 1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    seen.calls.clear();
    Tower* locator = AddLocator(c.kind);
    EXPECT_EQ(DeleteLocator(locator), 0);
    EXPECT_EQ(Children(Type_AttributeLocator), c.remains);
    EXPECT_EQ(seen.calls, c.calls);
    ReleaseTower(&locator);
    DeleteChildEntities(design, Type_AttributeLocator);
  }
  // With the option off the net names are left alone.
  seen.netOption = 0;
  seen.calls.clear();
  Tower* locator = AddLocator(3);
  DeleteLocator(locator);
  EXPECT_EQ(seen.calls, std::vector<std::string>{"deleteWithAttribute"});
  ReleaseTower(&locator);
}

TEST_F(LocatorDispatch, InsertGoesToTheKindsHandlerAndEndsTheInsertion) {
  struct Case {
    std::uint16_t kind;
    const char* handler;  // null: a plain kind
    bool netNames;
  } cases[] = {
      {1, "InsertPinNumberLocator", false},  {3, "InsertNetNameLocator", true},
      {4, "InsertPinNameLocator", false},    {6, "InsertTextLocator", false},
      {9, "InsertIOPortLocator", false},     {10, "InsertTextLocator", false},
      {13, "InsertGraphicNetNameLocator", true}, {14, "InsertUserLocator", false},
      {15, "InsertNamedIOPortLocator", true}, {16, "InsertTextLocator", false},
      {17, "InsertGlobalNetsLocator", false}, {2, nullptr, false},
      {5, nullptr, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    HandlerCalls().clear();
    seen.calls.clear();
    seen.menuKinds.clear();
    window->InsertType = Type_AttributeLocator;
    auto record = Record(c.kind);
    InsertLocator(record);
    EXPECT_EQ(record, nullptr) << "the working record is freed";
    EXPECT_EQ(window->InsertType, 0);
    std::vector<std::string> expectedHandlers;
    if (c.handler) expectedHandlers.push_back(c.handler);
    EXPECT_EQ(HandlerCalls(), expectedHandlers);
    std::vector<std::string> expected;
    if (!c.handler) expected.push_back("insertWithUndo");
    if (c.netNames) expected.push_back("updateNetNames");
    for (const char* end : {"drawCursor", "releaseDC", "leaveToolMode"}) expected.push_back(end);
    EXPECT_EQ(seen.calls, expected);
    EXPECT_EQ(seen.menuKinds, std::vector<std::uint32_t>{0});
  }
}

TEST_F(LocatorDispatch, PlainKindsGetANewAttributeIdEach) {
  auto first = Record(2);
  auto second = Record(11);
  InsertLocator(first);
  InsertLocator(second);
  EXPECT_EQ(seen.insertedIds, (std::vector<std::uint32_t>{500, 501}));
}

TEST_F(LocatorDispatch, InsertKeepsDefaultsOfKeepingKindsAndTheSizeOfEveryKind) {
  auto pin = Record(1);
  InsertLocator(pin);
  EXPECT_EQ(LastLocatorDefaults.vertical, 32u) << "only bits 16 and 32 are kept";
  EXPECT_EQ(LastLocatorDefaults.horizontal, 8u) << "only bits 4 and 8 are kept";
  EXPECT_TRUE(SameRotation(LastLocatorDefaults.rotation, pl3::R90));
  // A Designator does not change the defaults, but its size is remembered.
  auto designator = Record(6);
  designator->as<LocatorPayload>().style1 = 16;
  designator->as<LocatorPayload>().head.transform = pl3::R180;
  designator->as<LocatorPayload>().head.sizeIndex = 9;
  InsertLocator(designator);
  EXPECT_EQ(LastLocatorDefaults.vertical, 32u);
  EXPECT_TRUE(SameRotation(LastLocatorDefaults.rotation, pl3::R90));
  const std::uint32_t* sizes = GetCurrentSizeRecord(design);
  ASSERT_NE(sizes, nullptr);
  ASSERT_GE(CurrentSizeWord(Type_AttributeLocator, 6), 0);
  EXPECT_EQ(sizes[CurrentSizeWord(Type_AttributeLocator, 6)], 9u);
  ASSERT_GE(CurrentSizeWord(Type_AttributeLocator, 1), 0);
  EXPECT_EQ(sizes[CurrentSizeWord(Type_AttributeLocator, 1)], 3u);
}

TEST_F(LocatorDispatch, InsertModeIsArmedOnlyWhenIdle) {
  window->StateFlags = 0x41;
  window->ClickState = 5;
  window->InsertType = 1;
  window->EditMode = 71;
  EXPECT_EQ(SetInsertLocatorMode(6), 0);
  EXPECT_EQ(window->StateFlags, 0x41u);
  EXPECT_EQ(window->InsertType, 1);
  EXPECT_EQ(window->ClickState, 5u);
  EXPECT_EQ(PendingLocatorKind, 0);

  window->EditMode = 0;
  EXPECT_EQ(SetInsertLocatorMode(6), 1);
  EXPECT_EQ(window->StateFlags, 0x01u);
  EXPECT_EQ(window->InsertType, Type_AttributeLocator);
  EXPECT_EQ(window->ClickState, 0u);
  EXPECT_EQ(PendingLocatorKind, 6);
}

TEST_F(LocatorDispatch, UniteLocatorBoxesTakesHandledKindsDownThroughPlacedPins) {
  Tower* pin = InsertEmptyEntity(design, 33);
  Tower* a = AddLocator(6);
  Tower* plain = AddLocator(5);
  Tower* b = AddLocator(1, pin);
  Tower* track = InsertEmptyEntity(design, Type_Track);
  const pl3::Box boxA = locatortest::HandlerBox("GetDesignatorLocatorBox");
  const pl3::Box boxB = locatortest::HandlerBox("GetPinNumberLocatorBox");

  pl3::Box united{-1, -1, 0, 0};
  EXPECT_EQ(UniteLocatorBoxes(design, &united, 1), 0);
  EXPECT_EQ(united.xmin, std::min(boxA.xmin, boxB.xmin));
  EXPECT_EQ(united.ymin, std::min(boxA.ymin, boxB.ymin));
  EXPECT_EQ(united.xmax, std::max(boxA.xmax, boxB.xmax));
  EXPECT_EQ(united.ymax, std::max(boxA.ymax, boxB.ymax));

  // Not first: the box already holds something and is only widened.
  pl3::Box wide{-5000000, -5000000, -4000000, -4000000};
  EXPECT_EQ(UniteLocatorBoxes(design, &wide, 0), 0);
  EXPECT_EQ(wide.xmin, -5000000);
  EXPECT_EQ(wide.xmax, std::max(boxA.xmax, boxB.xmax));

  // Nothing with a box: `first` comes back set and the box untouched.
  pl3::Box none{-1, -1, 0, 0};
  EXPECT_EQ(UniteLocatorBoxes(track, &none, 1), 1);
  EXPECT_EQ(none.xmin, -1);
  for (Tower** t : {&pin, &a, &plain, &b, &track}) ReleaseTower(t);
}

}  // namespace
