#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "edit/cancel_delete.h"
#include "edit/edit_modes.h"
#include "edit/engine_seams.h"
#include "edit/window_data.h"
#include "objects/designators.h"
#include "objects/graphic_records.h"
#include "objects/payload_access.h"
#include "objects/polygon_entry_seams.h"
#include "objects/selection_seams.h"
#include "objects/type_codes.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/tower.h"
#include "tests/edit/engine_fakes.h"
#include "tests/edit/selection_window_fixture.h"
#include "tests/store/tower_test_support.h"

// The polygon records and the selection's type, as their owners will answer.
pl3::Box* SetPolygon(EntityRecord*) { return nullptr; }
int CheckNewPolygonPoint(const pl3::PolygonLayout*) { return 0; }
void SetPolygonPoint(void*, EntityRecord*) {}
Tower* InsertPolygonRecord(const EntityRecord* polygon, const Tower* parent) {
  const auto& head = const_cast<EntityRecord*>(polygon)->as<PolygonHead>();
  return InsertEntity(parent, PolygonStoredSize(head.count), polygon->header.recordType, polygon->payload);
}
void ReversePolygonInHand(HWND, EntityRecord*) {}
void ReverseStoredPolygon(HWND, pl3::PolygonLayout*) {}
std::uint32_t GetSelectionType(const SelectionInfo* list) {
  std::uint32_t type = 65535;
  for (const SelectionInfo* s = list; s; s = s->next) {
    if (!(s->flags & kSelectionPrimary)) continue;
    const std::uint32_t code = TowerEntity(s->workingCopy)->typeCode;
    if (type != 65535 && type != code) return 0xFFFFFFFF;
    type = code;
  }
  return type;
}
int CountSelections(const SelectionInfo*, int) { return 0; }
void GhostSelectionArray(HDC, const SelectionInfo*) {}
char* DescribeObject(const Tower*) { return nullptr; }

namespace {

using Calls = std::vector<std::string>;

bool Has(const std::string& call) {
  for (const std::string& c : enginefakes::calls)
    if (c == call) return true;
  return false;
}

class CancelDeleteTest : public selectiontest::SelectionWindow {
 protected:
  void SetUp() override {
    SelectionWindow::SetUp();
    enginefakes::calls.clear();
  }
  void TearDown() override {
    ReleaseTower(&w->Selection);
    ReleaseTower(&w->TemporaryEntity);
    for (SelectionInfo& s : records) ReleaseTower(&s.workingCopy);
    w->SelectionList = nullptr;  // the records are the test's own
    delete w->PendingRecord;
    w->PendingRecord = nullptr;
    SelectionWindow::TearDown();
  }
  Tower* Store(std::uint16_t code, std::uint32_t size = 16, const Tower* parent = nullptr) {
    std::vector<std::uint8_t> payload(size);
    return Own(InsertEntity(parent ? parent : design, size, code, payload.data()));
  }
  EntityRecord& Pending(std::uint16_t type) {
    delete w->PendingRecord;
    w->PendingRecord = NewEntityRecord().release();
    w->PendingRecord->header.recordType = type;
    return *w->PendingRecord;
  }
  // Count direct children of a code under a parent.
  int Children(const Tower* parent, std::uint16_t code) {
    int n = 0;
    for (NodeRef g = TowerEntity(parent)->firstChild; g; g = NodeAt<TypeGroup>(g)->next)
      if (NodeAt<TypeGroup>(g)->typeCode == code)
        for (NodeRef e = NodeAt<TypeGroup>(g)->firstChild; e; e = NodeAt<Entity>(e)->next) ++n;
    return n;
  }
  void SelectPolygon(std::uint8_t count) {
    std::vector<std::uint8_t> bytes(PolygonStoredSize(count));
    auto* head = reinterpret_cast<PolygonHead*>(bytes.data());
    head->count = count;
    head->editIndex = 1;
    for (int i = 0; i < count; ++i) pl3::PolygonPoints(head)[i] = {1000 * (i + 1), 2000};
    records.assign(1, SelectionInfo{});
    records[0].flags = kSelectionPrimary;
    records[0].workingCopy = InsertEntity(design, static_cast<std::uint32_t>(bytes.size()), Type_Polygon, bytes.data());
    w->SelectionList = records.data();
  }
  void Cancel() { CancelCurrentOperation(view, w.get()); }

  std::vector<SelectionInfo> records;
};

const Calls kCommonEnd = {"cursor 0", "status", "status", "change menu 1"};

TEST_F(CancelDeleteTest, IdleCancelRunsOnlyTheCommonEnd) {
  w->ViewFlags = 0x11;
  w->SubMode = 3;
  Cancel();
  EXPECT_EQ(enginefakes::calls, kCommonEnd);
  EXPECT_EQ(w->ViewFlags, 0x1u) << "bit 4 cleared, the others kept";
  EXPECT_EQ(w->SubMode, 0);
}

// Each row: the mode, what it must have called before the common end, and
// whether the common end runs.
TEST_F(CancelDeleteTest, EachModeUndoesItsOwnState) {
  struct Row {
    std::uint8_t mode;
    Calls expected;
    bool commonEnd;
    std::uint8_t modeAfter;
  };
  const Row rows[] = {
      {Mode_EditSelection, {"selection cancelled", "menus 0", "tool ended", "redraw view"}, true, 0},
      {Mode_AddNewPad, {"selection cancelled", "menus 0", "tool ended", "redraw view"}, true, 0},
      {Mode_AddNewSymbol, {"selection cancelled", "menus 0", "tool ended", "redraw view"}, true, 0},
      {Mode_SetBlockOrigin, {"menus 0"}, false, Mode_EditSelection},
      {Mode_PlaceMacroBlock, {"ghost mode 113 assist 2", "menus 0"}, false, Mode_PlaceMacroBlock},
      {Mode_Measure, {"tooltip hidden", "menus 0"}, true, 0},
      {Mode_ZoomIn, {}, true, 0},  // the crosshair drawn again by the drawing code
      {Mode_CentreOnPad, {}, true, 0},
      {Mode_MoveOrigin, {"ghost mode 34 assist 2"}, true, 0},
      {Mode_EditNet, {"ghost mode 111 assist 2"}, true, 0},
      {Mode_AddNewTrack, {"menus 0"}, true, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(static_cast<int>(row.mode));
    enginefakes::calls.clear();
    w->EditMode = row.mode;
    Pending(Type_Track);
    Cancel();
    Calls expected = row.expected;
    if (row.commonEnd) expected.insert(expected.end(), kCommonEnd.begin(), kCommonEnd.end());
    EXPECT_EQ(enginefakes::calls, expected);
    EXPECT_EQ(w->EditMode, row.modeAfter);
    const bool keepsRecord = row.mode == Mode_SetBlockOrigin || (row.mode >= Mode_ZoomIn && row.mode <= Mode_CentreView) ||
                             row.mode == Mode_CentreOnPad || row.mode == Mode_MoveOrigin ||
                             (row.mode >= Mode_EditSelection && row.mode <= Mode_AddNewSymbol && row.mode != 40);
    if (!keepsRecord) {
      EXPECT_EQ(w->PendingRecord, nullptr);
    }
  }
}

TEST_F(CancelDeleteTest, AHeldItemLosesItsGhostWithoutAngleAssistAndIsReleased) {
  w->EditMode = Mode_AddNewTrack;
  w->AngleAssist = 2;
  Pending(Type_Track);
  w->Selection = DuplicateTower(Store(Type_Track));
  Cancel();
  EXPECT_EQ(enginefakes::calls.front(), "ghost mode 1 assist 0");
  EXPECT_EQ(w->AngleAssist, 2) << "the assist comes back after the ghost";
  EXPECT_EQ(w->Selection, nullptr);
  EXPECT_EQ(w->PendingRecord, nullptr);
  EXPECT_EQ(w->EditMode, Mode_Idle);
}

TEST_F(CancelDeleteTest, PolygonEditReleasesTheSelectedItemAndEndsTheTool) {
  Tower* polygon = Store(Type_Polygon, 80);
  TowerEntity(polygon)->flags |= kEntitySelected;
  w->EditMode = Mode_EditPolygon;
  w->Selection = DuplicateTower(polygon);
  Pending(Type_Polygon);
  Cancel();
  EXPECT_EQ(TowerEntity(polygon)->flags & kEntitySelected, 0);
  EXPECT_EQ(w->Selection, nullptr);
  EXPECT_EQ(w->PendingRecord, nullptr);
  EXPECT_TRUE(Has("tool ended"));
  EXPECT_TRUE(Has("menus 0"));
}

TEST_F(CancelDeleteTest, NewSymbolDropsTheMovingRatsnestOfADefinitionOnly) {
  for (const std::uint16_t code : {Type_SymbolDefinition, Type_SymbolInstance}) {
    enginefakes::calls.clear();
    w->EditMode = Mode_NewSymbol;
    w->Selection = DuplicateTower(Store(code));
    Cancel();
    EXPECT_EQ(Has("moving points dropped " + std::to_string(code)), code == Type_SymbolDefinition);
    EXPECT_EQ(w->Selection, nullptr);
    EXPECT_TRUE(Has("redraw view"));
  }
}

TEST_F(CancelDeleteTest, PadNameModesClearTheirFlagsAndReleaseTheirNodes) {
  Tower* item = Store(Type_Track);
  Tower* name = Store(Type_Text);
  TowerEntity(item)->flags |= kEntityHighlighted;
  TowerEntity(name)->flags |= kEntitySelected | kEntitySelectedPart;
  w->EditMode = 32;
  w->Selection = DuplicateTower(item);
  w->TemporaryEntity = DuplicateTower(name);
  Cancel();
  EXPECT_EQ(TowerEntity(item)->flags & kEntityHighlighted, 0);
  EXPECT_EQ(TowerEntity(name)->flags & (kEntitySelected | kEntitySelectedPart), 0);
  EXPECT_EQ(w->Selection, nullptr);
  EXPECT_EQ(w->TemporaryEntity, nullptr);
  EXPECT_EQ(Children(design, Type_Text), 1) << "the name node stays";

  TowerEntity(item)->flags |= kEntityHighlighted;
  w->EditMode = Mode_NamePad;
  w->Selection = DuplicateTower(item);
  Cancel();
  EXPECT_EQ(TowerEntity(item)->flags & kEntityHighlighted, 0);
  EXPECT_EQ(w->Selection, nullptr);
}

TEST_F(CancelDeleteTest, NewPinDeletesTheOriginsOfItsNode) {
  Tower* pin = Store(Type_Track);
  Store(Type_Origin, 16, pin);
  Store(Type_Origin, 16, pin);
  Store(Type_Text, 16, pin);
  w->EditMode = Mode_NewPin;
  w->TemporaryEntity = DuplicateTower(pin);
  Cancel();
  EXPECT_EQ(Children(pin, Type_Origin), 0);
  EXPECT_EQ(Children(pin, Type_Text), 1);
  EXPECT_EQ(w->TemporaryEntity, nullptr);
  EXPECT_EQ(w->EditMode, Mode_Idle);
}

TEST_F(CancelDeleteTest, LocatorPlacingDeletesThePendingNodeOfNetNameKindsOnly) {
  for (const std::uint16_t kind : {3, 15, 5}) {
    SCOPED_TRACE(kind);
    Tower* node = Store(Type_Text);
    const int before = Children(design, Type_Text);
    w->EditMode = Mode_AddNewLocator;
    Pending(Type_AttributeLocator).as<LocatorPayload>().kind = kind;
    w->TemporaryEntity = DuplicateTower(node);
    Cancel();
    EXPECT_EQ(Children(design, Type_Text), kind == 5 ? before : before - 1);
    EXPECT_EQ(w->TemporaryEntity, nullptr);
    EXPECT_EQ(w->PendingRecord, nullptr);
    EXPECT_EQ(w->EditMode, Mode_Idle);
  }
}

TEST_F(CancelDeleteTest, DeleteWhileIdleArmsTheDeleteClickWhichPicksAndDeletes) {
  DeleteCommand(view);
  EXPECT_EQ(w->EditMode, Mode_Delete);
  EXPECT_TRUE(Has("cursor 17"));
  EXPECT_FALSE(Has("pick 2"));
  enginefakes::calls.clear();
  DoDelete(view, &w->Button, &w->PendingRecord);
  EXPECT_EQ(enginefakes::calls, (Calls{"pick 2", "menus 0"}));
}

TEST_F(CancelDeleteTest, DeleteDuringPlacingCancelsIt) {
  w->EditMode = Mode_AddNewTrack;
  Pending(Type_Track);
  DeleteCommand(view);
  EXPECT_EQ(w->PendingRecord, nullptr);
  EXPECT_EQ(w->EditMode, Mode_Idle);
  EXPECT_FALSE(Has("pick 2"));
}

TEST_F(CancelDeleteTest, DeleteBySelectionMode) {
  w->EditMode = Mode_EditSymbol;
  DoDelete(view, &w->Button, &w->PendingRecord);
  EXPECT_EQ(enginefakes::calls, (Calls{"held item deleted", "redraw view", "tool ended", "menus 0"}));

  enginefakes::calls.clear();
  w->EditMode = Mode_EditSelection;
  SelectPolygon(4);
  DoDelete(view, &w->Button, &w->PendingRecord);
  EXPECT_EQ(enginefakes::calls, (Calls{"selection deleted", "menus 0"}));
}

TEST_F(CancelDeleteTest, DeletingNetNameLocatorsOnlyCancels) {
  for (const std::uint16_t kind : {16, 3}) {
    SCOPED_TRACE(kind);
    enginefakes::calls.clear();
    LocatorPayload locator{};
    locator.kind = kind;
    records.assign(1, SelectionInfo{});
    records[0].flags = kSelectionPrimary;
    records[0].workingCopy = InsertEntity(design, sizeof locator, Type_AttributeLocator, &locator);
    w->SelectionList = records.data();
    w->EditMode = Mode_EditSelection;
    DoDelete(view, &w->Button, &w->PendingRecord);
    EXPECT_EQ(Has("selection deleted"), kind != 16);
    EXPECT_EQ(Has("selection cancelled"), kind == 16);
    ReleaseTower(&records[0].workingCopy);
  }
}

TEST_F(CancelDeleteTest, AFailedPadStackLayerDeleteIsReported) {
  w->editorKind = kEditorPadStack;
  w->EditMode = Mode_PlaceShape;
  const std::size_t boxes = pl3::ResponderRecords().size();
  DoDelete(view, &w->Button, &w->PendingRecord);
  ASSERT_EQ(pl3::ResponderRecords().size(), boxes + 1);
  EXPECT_EQ(pl3::ResponderRecords().back().text, "Error deleting pad stack layer");
  EXPECT_EQ(pl3::ResponderRecords().back().caption, "DoDelete");
  EXPECT_FALSE(Has("tool ended"));
  EXPECT_EQ(w->EditMode, Mode_PlaceShape);
}

// A designator copy held in a PCB window is hidden or shown; elsewhere the
// whole designator goes.
TEST_F(CancelDeleteTest, DeletingAHeldDesignatorCopy) {
  for (const std::uint32_t kind : {kEditorPcb, kEditorPcb + 1}) {
    SCOPED_TRACE(kind);
    w->editorKind = kind;
    Tower* symbol = Store(Type_SymbolInstance);
    Tower* group = Store(Type_Designator, 16, symbol);
    Tower* copy = Store(Type_DesignatorData, 16, group);
    DesignatorInfo info{};
    Own(InsertEntity(copy, sizeof info, Type_DesignatorInfo, &info));
    w->EditMode = Mode_Edit;
    w->Selection = DuplicateTower(copy);
    DoDelete(view, &w->Button, &w->PendingRecord);
    if (kind == kEditorPcb) {
      ASSERT_EQ(Children(symbol, Type_Designator), 1);
      Tower* infoTower = Own(GetChildTower(copy, Type_DesignatorInfo));
      ASSERT_TRUE(FindNextEntity(infoTower));
      EXPECT_EQ(reinterpret_cast<DesignatorInfo*>(EntityPayload(TowerEntity(infoTower)))->display, kDesignatorHidden);
    } else {
      EXPECT_EQ(Children(symbol, Type_Designator), 0);
    }
    EXPECT_EQ(w->Selection, nullptr);
    EXPECT_EQ(w->EditMode, Mode_Idle);
    EXPECT_TRUE(Has("menus 0"));
  }
}

TEST_F(CancelDeleteTest, RemovingAPolygonPoint) {
  struct Row {
    std::uint8_t index;
    int backwards;
    std::uint8_t indexAfter;
    std::vector<std::int32_t> xs;  // the x of each point after, the current one snapped
  };
  const Row rows[] = {
      {2, 0, 1, {1000, 12000, 4000, 5000}},
      {0, 0, 3, {2000, 3000, 4000, 12000}},   // wraps back to the last point
      {4, 1, 0, {12000, 2000, 3000, 4000}},   // the last point removed: forwards wraps to 0
      {4, 0, 3, {1000, 2000, 3000, 12000}},
      {1, 1, 1, {1000, 12000, 4000, 5000}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "index " << int(row.index) << " backwards " << row.backwards);
    EntityRecord& r = Pending(Type_Polygon);
    PolygonHead& p = r.as<PolygonHead>();
    p.count = 5;
    p.editIndex = row.index;
    for (int i = 0; i < 5; ++i) pl3::PolygonPoints(&p)[i] = {1000 * (i + 1), 7000};
    w->Cursor = {12345, 67890};
    RemovePolygonPoint(view, &p, row.backwards);
    ASSERT_EQ(p.count, 4);
    EXPECT_EQ(p.editIndex, row.indexAfter);
    std::vector<std::int32_t> xs;
    for (int i = 0; i < 4; ++i) xs.push_back(pl3::PolygonPoints(&p)[i].x);
    EXPECT_EQ(xs, row.xs);
    EXPECT_EQ(pl3::PolygonPoints(&p)[row.indexAfter].y, 67000);
  }
}

TEST_F(CancelDeleteTest, RemovingAPointOfTooSmallAPolygonCancels) {
  w->EditMode = Mode_AddNewPolygon;
  EntityRecord& r = Pending(Type_Polygon);
  r.as<PolygonHead>().count = 2;
  RemoveVertexCommand(view);
  EXPECT_EQ(w->PendingRecord, nullptr);
  EXPECT_EQ(w->EditMode, Mode_Idle);
}

TEST_F(CancelDeleteTest, RemoveVertexOnADrawnPolygonRedrawsItsOldBox) {
  w->EditMode = Mode_AddNewPolygon;
  EntityRecord& r = Pending(Type_Polygon);
  r.as<PolygonHead>().count = 5;
  r.as<PolygonHead>().editIndex = 4;
  RemoveVertexCommand(view);
  ASSERT_NE(w->PendingRecord, nullptr);
  EXPECT_EQ(w->PendingRecord->as<PolygonHead>().count, 4);
  EXPECT_TRUE(Has("redraw view"));
  EXPECT_FALSE(enginefakes::CallsStartingWith("redraw box").empty());
}

TEST_F(CancelDeleteTest, RemoveVertexOnASelectedPolygon) {
  w->EditMode = Mode_EditSelection;
  SelectPolygon(2);
  RemoveVertexCommand(view);
  EXPECT_TRUE(Has("selection deleted")) << "two points left: the polygon goes";

  enginefakes::calls.clear();
  ReleaseTower(&records[0].workingCopy);
  SelectPolygon(4);
  const NodeRef old = NodeRefOf(TowerEntity(records[0].workingCopy));
  RemoveVertexCommand(view);
  EXPECT_FALSE(Has("selection deleted"));
  ASSERT_NE(records[0].workingCopy, nullptr);
  const Entity* e = TowerEntity(records[0].workingCopy);
  EXPECT_NE(NodeRefOf(e), old);
  EXPECT_NE(e->flags & kEntitySelected, 0);
  const auto* head = reinterpret_cast<const PolygonHead*>(EntityPayload(e));
  EXPECT_EQ(head->count, 3);
  EXPECT_EQ(Children(design, Type_Polygon), 2) << "the first polygon stays, the second is replaced";
}

}  // namespace
