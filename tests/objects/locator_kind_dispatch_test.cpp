#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "../store/tower_test_support.h"
#include "app/core_utilities.h"
#include "edit/window_data.h"
#include "objects/attribute_locators.h"
#include "objects/attribute_services.h"
#include "objects/locator_kinds.h"
#include "objects/locator_dispatch.h"
#include "objects/type_codes.h"
#include "platform/user.h"
#include "schematic/current_size.h"
#include "tests/objects/locator_font.h"

namespace {

using Calls = std::vector<std::string>;

// What the editing engine's and the frame's services saw.
struct Seen {
  std::vector<std::string> calls;
  int netOption = 1;
  std::vector<std::uint32_t> menuKinds;
};
Seen* g_seen = nullptr;

void Note(const char* call) {
  if (g_seen) g_seen->calls.push_back(call);
}

}  // namespace

// The editing engine's services to the locator code, as link-time fakes.
void RecordInsertionUndo(const Tower*, const char*) {}
void RecordDeletionUndo(const Tower*) {}
void RecordModificationUndo(const Tower*, const char*) {}
void SetInsertionType(std::uint16_t) {}
int EditSelectionTestPasses() { return 0; }
int NetNameUpdateOption() { return g_seen ? g_seen->netOption : 0; }
char* GetLocatorNetName(const Tower*, std::int32_t, std::int32_t) { return nullptr; }
char* GetNetNameAtPoint(const Tower*, std::int32_t, std::int32_t) { return nullptr; }
void UpdateNetNameLocators(const Tower*, std::uint32_t) { Note("updateNetNames"); }
void SetSelectionAndOptionsMenus(std::uint32_t kind) {
  if (g_seen) g_seen->menuKinds.push_back(kind);
}
void MoveCrosshair(HWND, CrosshairRecord*, std::int32_t, std::int32_t) { Note("drawCursor"); }
void ClearToolMode(HWND) { Note("leaveToolMode"); }

namespace {

class LocatorDispatch : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    window = std::make_unique<CurrentWindowData>();
    window->editorKind = kEditorSchematic;
    design = towertest::NewTopLevelEntity(Type_Schematic);
    window->design = design;
    ActiveWindowData = window.get();
    g_seen = &seen;
    font = std::make_unique<locatorfont::Font>();
  }
  void TearDown() override {
    font.reset();
    if (window->Window) DestroyWindow(static_cast<HWND>(window->Window));
    ActiveWindowData = nullptr;
    DeleteEntity(design);
    ReleaseTower(&design);
    g_seen = nullptr;
  }

  // A stored locator of a kind under `parent` (the design by default).
  Tower* AddLocator(std::uint16_t kind, const Tower* parent = nullptr, std::int32_t x = 0, std::uint32_t id = 0) {
    LocatorPayload p{};
    p.kind = kind;
    p.x = x;
    p.attributeId = id;
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
  std::unique_ptr<locatorfont::Font> font;
  std::unique_ptr<CurrentWindowData> window;
  Tower* design = nullptr;
};

TEST_F(LocatorDispatch, BoxAndStatusOnlyForKindsWithHandlers) {
  window->editorKind = kEditorSchematicSymbol;
  const std::vector<std::uint16_t> handled = {1, 3, 4, 6, 9, 10, 13, 14, 15, 16, 17};
  for (std::uint16_t kind : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 0xFFFF}) {
    SCOPED_TRACE(kind);
    const bool has = std::find(handled.begin(), handled.end(), kind) != handled.end();
    Tower* locator = AddLocator(kind, nullptr, 4000);
    pl3::Box box{-1, -1, 0, 0};
    GetLocatorBox(locator, &box);
    DragStatus status{};
    status.x = -7;
    GetLocatorDrawStatus(locator, &status);
    // The kind's handle point starts at the locator point; its box holds it.
    EXPECT_EQ(status.x, has ? 4000 : -7);
    if (has) {
      EXPECT_LE(box.xmin, 4000);
      EXPECT_GE(box.xmax, 4000);
    } else {
      EXPECT_EQ(box.xmin, -1) << "a plain kind leaves the box alone";
      EXPECT_EQ(GetLocatorBox(locator, &box), 1);
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
  EXPECT_EQ(Children(Type_AttributeLocator), 1);
  EXPECT_EQ(Children(Type_Track), 1);
  ReleaseTower(&shortLocator);
  ReleaseTower(&track);
}

TEST_F(LocatorDispatch, DeleteByKind) {
  struct Case {
    std::uint16_t kind;
    int remains;         // locators left under the design
    bool withAttribute;  // its design attribute goes with it
    bool netNames;       // net-name locators updated (the option is on)
  } cases[] = {
      {1, 0, false, false},  {4, 0, false, false},  {6, 0, false, false}, {10, 0, false, false},
      {14, 0, false, false}, {16, 0, false, false}, {17, 0, false, false},
      {3, 0, true, true},    {13, 0, true, true},   {15, 0, true, true},  {9, 0, true, false},
      {5, 1, false, false},  {0, 1, false, false},  {2, 1, false, false}, {40, 1, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    seen.calls.clear();
    Tower* attribute = InsertAttributeWithId(design, c.kind, "NET", 0, 77);
    ReleaseTower(&attribute);
    Tower* locator = AddLocator(c.kind, nullptr, 0, 77);
    EXPECT_EQ(DeleteLocator(locator), 0);
    EXPECT_EQ(Children(Type_AttributeLocator), c.remains);
    EXPECT_EQ(Children(Type_Attribute), c.withAttribute ? 0 : 1);
    DeleteChildEntities(design, Type_Attribute);
    EXPECT_EQ(seen.calls, (c.netNames ? Calls{"updateNetNames"} : Calls{}));
    ReleaseTower(&locator);
    DeleteChildEntities(design, Type_AttributeLocator);
  }
  // With the option off the net names are left alone.
  seen.netOption = 0;
  seen.calls.clear();
  Tower* locator = AddLocator(3);
  DeleteLocator(locator);
  EXPECT_TRUE(seen.calls.empty());
  ReleaseTower(&locator);
}

TEST_F(LocatorDispatch, InsertGoesToTheKindsHandlerAndEndsTheInsertion) {
  // A view whose context the end of the insertion takes and gives back.
  window->Window = CreateWindowEx(0, "STATIC", "view", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window->Window, nullptr);
  struct Case {
    std::uint16_t kind;
    bool netNames;
  } cases[] = {
      {1, false},  {3, true},   {4, false},  {6, false},  {9, false}, {10, false}, {13, true},
      {14, false}, {15, true},  {16, false}, {17, false}, {2, false}, {5, false},  {300, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    seen.calls.clear();
    seen.menuKinds.clear();
    window->InsertType = Type_AttributeLocator;
    auto record = Record(c.kind);
    InsertLocator(record);
    EXPECT_EQ(record, nullptr) << "the working record is freed";
    EXPECT_EQ(window->InsertType, 0);
    // The kind's own handler stored exactly one locator of the kind.
    Tower* stored = GetChildTower(design, Type_AttributeLocator);
    int count = 0;
    while (stored && FindNextEntity(stored)) {
      ++count;
      EXPECT_EQ(ReadLocatorPayload(stored).kind, c.kind);
    }
    ReleaseTower(&stored);
    EXPECT_EQ(count, 1);
    DeleteChildEntities(design, Type_AttributeLocator);
    std::vector<std::string> expected;
    if (c.netNames) expected.push_back("updateNetNames");
    for (const char* end : {"drawCursor", "leaveToolMode"}) expected.push_back(end);
    EXPECT_EQ(seen.calls, expected);
    EXPECT_EQ(ViewDCCount, 0u) << "the view's context is released";
    EXPECT_EQ(seen.menuKinds, std::vector<std::uint32_t>{0});
  }
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
  Tower* a = AddLocator(6, nullptr, 9000);
  Tower* plain = AddLocator(5, nullptr, -90000);
  Tower* b = AddLocator(1, pin, 2000);
  Tower* track = InsertEmptyEntity(design, Type_Track);
  pl3::Box boxA{-1, -1, 0, 0}, boxB{-1, -1, 0, 0};
  ASSERT_EQ(GetLocatorBox(a, &boxA), 1);
  ASSERT_EQ(GetLocatorBox(b, &boxB), 1);
  ASSERT_NE(boxA.xmin, boxB.xmin);

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
