#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "edit/picked_delete.h"
#include "edit/undo_history.h"
#include "edit/window_data.h"
#include "objects/designators.h"
#include "objects/graphic_records.h"
#include "objects/type_codes.h"
#include "platform/user.h"
#include "store/tower.h"
#include "tests/edit/engine_fakes.h"
#include "tests/store/tower_test_support.h"

namespace {

constexpr std::uint16_t kInfoBox = 264;

bool Called(const std::string& call) {
  for (const std::string& c : enginefakes::calls)
    if (c.rfind(call, 0) == 0) return true;
  return false;
}

class PickedDeleteTest : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    window = std::make_unique<CurrentWindowData>();
    window->editorKind = kEditorPcb;
    design = towertest::NewTopLevelEntity(Type_PCB);
    window->design = design;
    window->UndoStep = NewUndoStepNumber();
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "PickedDeleteView";
    RegisterClassA(&wc);
    view = CreateWindowExA(0, "PickedDeleteView", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                           nullptr);
    window->Window = view;
    ActiveWindowData = window.get();
    enginefakes::calls.clear();
  }
  void TearDown() override {
    for (Tower*& t : owned) ReleaseTower(&t);
    DestroyWindow(view);
    ActiveWindowData = nullptr;
    DeleteEntity(design);
    ReleaseTower(&design);
  }

  Tower* Own(Tower* t) {
    owned.push_back(t);
    return t;
  }
  Tower* Store(const Tower* parent, std::uint16_t code, std::uint32_t tag, std::uint32_t size = 68) {
    std::vector<std::uint8_t> bytes(size);
    std::memcpy(bytes.data() + size - 4, &tag, 4);
    return Own(InsertEntity(parent, size, code, bytes.data()));
  }
  // The tags of the items of a code directly under the parent.
  std::vector<std::uint32_t> Tags(const Tower* parent, std::uint16_t code, std::uint32_t size = 68) {
    std::vector<std::uint32_t> tags;
    Tower* t = GetChildTower(parent, code);
    while (t && FindNextEntity(t)) {
      std::uint32_t tag = 0;
      std::memcpy(&tag, TowerPayload(t) + size - 4, 4);
      tags.push_back(tag);
    }
    ReleaseTower(&t);
    return tags;
  }
  std::string Caption(std::uint32_t step) {
    Tower* found = FindUndoStepCaption(step);
    std::string text = found ? reinterpret_cast<const char*>(TowerPayload(found)) : "(none)";
    ReleaseTower(&found);
    return text;
  }

  std::unique_ptr<CurrentWindowData> window;
  Tower* design = nullptr;
  HWND view = nullptr;
  std::vector<Tower*> owned;
};

TEST_F(PickedDeleteTest, AGraphicGoesWithAStepNamedByItsTypeAndComesBackOnUndo) {
  struct Case {
    std::uint16_t code;
    std::uint32_t editor;
    const char* caption;
    std::uint32_t size;
  };
  for (const Case c : {Case{Type_Track, kEditorPcb, "Delete Track", 68}, Case{Type_Wire, kEditorSchematic, "Delete Wire", 72},
                       Case{Type_Hole, kEditorPcbSymbol, "Delete Hole", 604}}) {
    SCOPED_TRACE(c.caption);
    window->editorKind = c.editor;
    Store(design, c.code, 11, c.size);
    Tower* item = Store(design, c.code, 22, c.size);
    const std::uint32_t step = window->UndoStep;
    DeletePickedObject(item);
    EXPECT_EQ(Tags(design, c.code, c.size), std::vector<std::uint32_t>{11});
    EXPECT_EQ(Caption(step), c.caption);
    EXPECT_NE(window->UndoStep, step);
    EXPECT_TRUE(Called("redraw view"));
    UndoLastStep();
    EXPECT_EQ(Tags(design, c.code, c.size), (std::vector<std::uint32_t>{22, 11}));
    DeleteChildEntities(design, c.code);
  }
}

// A schematic wire taken away leaves the pieces it held apart: the clean-up
// joins them in the delete's own step, unless something else still meets there.
TEST_F(PickedDeleteTest, DeletingTheStemOfAWireTJoinsTheTopInTheSameStep) {
  window->editorKind = kEditorSchematic;
  const auto wire = [&](std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    ThinLinePayload l{};
    l.line.head.sizeFlags = 1;
    l.line.head.transform = pl3::kIdentityTransform;
    l.line.x1 = x1;
    l.line.y1 = y1;
    l.line.x2 = x2;
    l.line.y2 = y2;
    return Own(InsertEntity(design, sizeof l, Type_Wire, &l));
  };
  const auto wires = [&] {
    std::vector<std::vector<std::int32_t>> out;
    Tower* t = GetChildTower(design, Type_Wire);
    while (t && FindNextEntity(t)) {
      const auto* l = reinterpret_cast<const LinePayload*>(TowerPayload(t));
      std::vector<std::int32_t> line = {l->x1, l->y1, l->x2, l->y2};
      if (std::make_pair(line[2], line[3]) < std::make_pair(line[0], line[1])) line = {line[2], line[3], line[0], line[1]};
      out.push_back(line);
    }
    ReleaseTower(&t);
    std::sort(out.begin(), out.end());
    return out;
  };
  for (const bool crossing : {false, true}) {
    SCOPED_TRACE(crossing ? "a fourth wire still meets" : "the stem alone");
    DeleteChildEntities(design, Type_Wire);
    wire(0, 0, 500, 0);
    wire(500, 0, 1000, 0);
    if (crossing) wire(500, -700, 500, 0);
    Tower* stem = wire(500, 0, 500, 700);
    const auto before = wires();
    const std::uint32_t step = window->UndoStep;
    DeletePickedObject(stem);
    if (crossing)
      EXPECT_EQ(wires(), (std::vector<std::vector<std::int32_t>>{{0, 0, 500, 0}, {500, -700, 500, 0}, {500, 0, 1000, 0}}));
    else
      EXPECT_EQ(wires(), (std::vector<std::vector<std::int32_t>>{{0, 0, 1000, 0}}));
    EXPECT_EQ(Caption(step), "Delete Wire");
    UndoLastStep();
    EXPECT_EQ(wires(), before) << "one Undo puts every wire back";
  }
}

// Any item taken off a page is followed by the clean-up in the same step:
// two collinear wires left touching on the page are joined, and one Undo puts
// the item and both wires back.
TEST_F(PickedDeleteTest, AnItemTakenOffAPageIsFollowedByTheWireCleanUpInItsStep) {
  window->editorKind = kEditorSchematic;
  for (const auto& [x1, x2] : {std::pair{0, 500}, std::pair{500, 1000}}) {
    ThinLinePayload l{};
    l.line.head.sizeFlags = 1;
    l.line.head.transform = pl3::kIdentityTransform;
    l.line.x1 = x1;
    l.line.x2 = x2;
    Own(InsertEntity(design, sizeof l, Type_Wire, &l));
  }
  Tower* arc = Store(design, Type_Arc, 33, 116);
  const std::uint32_t step = window->UndoStep;
  DeletePickedObject(arc);
  EXPECT_TRUE(Tags(design, Type_Arc, 116).empty());
  EXPECT_EQ(Tags(design, Type_Wire, 72).size(), 1u) << "the two halves became one wire";
  EXPECT_EQ(Caption(step), "Delete Arc");
  UndoLastStep();
  EXPECT_EQ(Tags(design, Type_Arc, 116), std::vector<std::uint32_t>{33});
  EXPECT_EQ(Tags(design, Type_Wire, 72).size(), 2u) << "one Undo puts both wires back";
}

TEST_F(PickedDeleteTest, ASymbolLeavesTheBinAndTheRatsnestAndReturnsPlacedOnUndo) {
  Tower* symbol = Store(design, Type_SymbolInstance, 5, 16);
  const std::uint32_t step = window->UndoStep;
  DeletePickedObject(symbol);
  EXPECT_TRUE(Tags(design, Type_SymbolInstance, 16).empty());
  EXPECT_EQ(Caption(step), "Delete symbol");
  const std::vector<std::string> order = {"bin unplaced", "nets emptied", "nets of", "nets updated"};
  std::size_t at = 0;
  for (const std::string& c : enginefakes::calls)
    if (at < order.size() && c.rfind(order[at], 0) == 0) ++at;
  EXPECT_EQ(at, order.size()) << "the bin and the ratsnest follow in order";
  enginefakes::calls.clear();
  UndoLastStep();
  EXPECT_EQ(Tags(design, Type_SymbolInstance, 16).size(), 1u);
  EXPECT_TRUE(Called("bin placed"));
}

TEST_F(PickedDeleteTest, APcbDesignatorIsHiddenAndShownAgainOnUndoElsewhereItIsDeleted) {
  for (const std::uint32_t editor : {kEditorPcb, kEditorPcbSymbol}) {
    SCOPED_TRACE(editor);
    window->editorKind = editor;
    Tower* symbol = Store(design, Type_SymbolInstance, 1, 16);
    Tower* group = Own(InsertEmptyEntity(symbol, Type_Designator));
    Tower* data = Own(InsertEmptyEntity(group, Type_DesignatorData));
    DesignatorInfo info{};
    Own(InsertEntity(data, sizeof info, Type_DesignatorInfo, &info));
    Own(InsertEmptyEntity(data, Type_Origin));
    const std::uint32_t step = window->UndoStep;
    DeletePickedObject(data);
    if (editor == kEditorPcb) {
      EXPECT_EQ(Caption(step), "Hide Designator");
      Tower* shown = GetChildTower(data, Type_DesignatorInfo);
      ASSERT_TRUE(shown && FindNextEntity(shown));
      EXPECT_TRUE(reinterpret_cast<DesignatorInfo*>(TowerPayload(shown))->display & kDesignatorHidden);
      ReleaseTower(&shown);
      Tower* origins = GetChildTower(data, Type_Origin);
      EXPECT_FALSE(origins && FindNextEntity(origins)) << "the origin markers go";
      ReleaseTower(&origins);
      UndoLastStep();
      // The symbol came back from its saved copy: its designator shows again.
      Tower* back = GetChildTower(design, Type_SymbolInstance);
      ASSERT_TRUE(back && FindNextEntity(back));
      Tower* g = GetChildTower(back, Type_Designator);
      ASSERT_TRUE(g && FindNextEntity(g));
      Tower* d = GetChildTower(g, Type_DesignatorData);
      ASSERT_TRUE(d && FindNextEntity(d));
      Tower* i = GetChildTower(d, Type_DesignatorInfo);
      ASSERT_TRUE(i && FindNextEntity(i));
      EXPECT_FALSE(reinterpret_cast<DesignatorInfo*>(TowerPayload(i))->display & kDesignatorHidden);
      for (Tower* t : {back, g, d, i}) ReleaseTower(&t);
    } else {
      EXPECT_EQ(Caption(step), "Delete Designator");
      Tower* groups = GetChildTower(symbol, Type_Designator);
      EXPECT_FALSE(groups && FindNextEntity(groups));
      ReleaseTower(&groups);
    }
    DeleteChildEntities(design, Type_SymbolInstance);
  }
}

// Info boxes, pads through their pad-stack info and pin origins go without an
// undo entry: an older entry that named the deleted item must not be applied
// to whatever takes its place.
TEST_F(PickedDeleteTest, DeletesWithoutAnEntryLeaveOlderEntriesToBeSkipped) {
  struct Case {
    std::uint16_t stored;  // what the older entry names
    std::uint16_t picked;  // what is picked: the item itself or a child of it
  };
  for (const Case c : {Case{kInfoBox, kInfoBox}, Case{Type_PadStackInstanceHier, Type_PadStackInfo}}) {
    SCOPED_TRACE(c.stored);
    Tower* item = Store(design, c.stored, 1);
    Tower* picked = c.picked == c.stored ? item : Store(item, c.picked, 0, 36);
    // An earlier edit changed the item in place: its old version is kept.
    Tower* entry = RecordUndoModify(item, NodeRefOf(TowerEntity(item)), window->UndoStep);
    ReleaseTower(&entry);
    std::uint32_t two = 2;
    std::memcpy(TowerPayload(item) + 64, &two, 4);
    CloseUndoStep(*window, "Edit");

    DeletePickedObject(picked);
    EXPECT_TRUE(Tags(design, c.stored).empty());
    EXPECT_EQ(CountUndoStepEntries(0), 1u) << "the delete recorded nothing";
    Store(design, c.stored, 7);  // a new item, perhaps in the old one's place
    UndoLastStep();
    EXPECT_EQ(Tags(design, c.stored), std::vector<std::uint32_t>{7}) << "the old entry was skipped";
    DeleteChildEntities(design, c.stored);
  }
}

TEST_F(PickedDeleteTest, APinLosesItsOriginMarkersOnly) {
  Tower* pin = Store(design, Type_SymbolPin, 3);
  Own(InsertEmptyEntity(pin, Type_Origin));
  Own(InsertEmptyEntity(pin, Type_Origin));
  const std::uint32_t step = window->UndoStep;
  DeletePickedObject(pin);
  EXPECT_EQ(Tags(design, Type_SymbolPin), std::vector<std::uint32_t>{3});
  Tower* origins = GetChildTower(pin, Type_Origin);
  EXPECT_FALSE(origins && FindNextEntity(origins));
  ReleaseTower(&origins);
  EXPECT_EQ(window->UndoStep, step);
  EXPECT_EQ(Caption(step), "(none)");
}

}  // namespace
