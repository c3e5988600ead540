#include <gtest/gtest.h>

#include "app/owner_drawn_menus.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "edit/undo_history.h"
#include "edit/window_data.h"
#include "objects/entity_record.h"
#include "objects/graphic_records.h"
#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "platform/menus.h"
#include "platform/user.h"
#include "store/filing_seams.h"
#include "store/tower.h"
#include "tests/edit/engine_fakes.h"
#include "tests/store/tower_test_support.h"

namespace {

constexpr UINT kUndo = 2271;
constexpr UINT kRedo = 2273;
constexpr std::uint32_t kTrackBytes = 68;
constexpr std::uint32_t kTagOffset = 52;  // where the fakes read an item's tag

HWND gActiveChild = nullptr;
LRESULT CALLBACK ClientProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MDIGETACTIVE) return reinterpret_cast<LRESULT>(gActiveChild);
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

// An active PCB window over a design, a frame with the Edit menu's Undo and
// Redo items and an MDI client that names an active child.
class UndoTest : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    window = std::make_unique<CurrentWindowData>();
    window->editorKind = kEditorPcb;
    design = towertest::NewTopLevelEntity(Type_PCB);
    window->design = design;
    window->UndoStep = 0;  // as the window state's reset leaves it
    ActiveWindowData = window.get();

    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "UndoFrame";
    RegisterClassA(&wc);
    wc.lpfnWndProc = ClientProc;
    wc.lpszClassName = "UndoClient";
    RegisterClassA(&wc);
    HMENU bar = CreateMenu();
    edit = CreatePopupMenu();
    AppendMenuA(edit, MF_STRING, kUndo, "Undo\tBACKSPACE");
    AppendMenuA(edit, MF_STRING, kRedo, "Redo\tShift+BACKSPACE");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "Edit");
    FrameWindow = CreateWindowExA(0, "UndoFrame", "Frame", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, bar, nullptr,
                                  nullptr);
    MDIClientWindow = CreateWindowExA(0, "UndoClient", "", WS_CHILD, 0, 0, 10, 10, FrameWindow, nullptr, nullptr,
                                      nullptr);
    gActiveChild = MDIClientWindow;
    enginefakes::calls.clear();
  }
  void TearDown() override {
    for (Tower*& t : owned) ReleaseTower(&t);
    DestroyWindow(FrameWindow);
    FrameWindow = MDIClientWindow = gActiveChild = nullptr;
    ActiveWindowData = nullptr;
    DeleteEntity(design);
    ReleaseTower(&design);
  }

  Tower* Own(Tower* t) {
    owned.push_back(t);
    return t;
  }
  Tower* StoreTrack(std::int32_t tag, std::uint16_t code = Type_Track) {
    std::uint8_t payload[kTrackBytes] = {};
    std::memcpy(payload + kTagOffset, &tag, 4);
    return Own(InsertEntity(design, kTrackBytes, code, payload));
  }
  // A track stored and recorded as inserted in the window's step.
  Tower* Place(std::int32_t tag) {
    Tower* t = StoreTrack(tag);
    RecordUndoInsert(NodeRefOf(TowerEntity(t)), window->UndoStep);
    return t;
  }
  void Remove(Tower* item) {
    Tower* entry = RecordUndoRemove(item, window->UndoStep);
    ASSERT_NE(entry, nullptr);
    ReleaseTower(&entry);
    DeleteEntity(item);
  }
  void Close(const char* caption) { CloseUndoStep(*window, caption); }

  // The tags of the items of a code directly under the design, newest first.
  std::vector<std::int32_t> Tags(std::uint16_t code = Type_Track) {
    std::vector<std::int32_t> tags;
    for (NodeRef g = TowerEntity(design)->firstChild; g; g = NodeAt<TypeGroup>(g)->next) {
      if (NodeAt<TypeGroup>(g)->typeCode != code) continue;
      for (NodeRef e = NodeAt<TypeGroup>(g)->firstChild; e; e = NodeAt<Entity>(e)->next) {
        std::int32_t tag = 0;
        std::memcpy(&tag, EntityPayload(NodeAt<Entity>(e)) + kTagOffset, 4);
        tags.push_back(tag);
      }
    }
    return tags;
  }
  Entity* History() {
    for (NodeRef g = TowerEntity(design)->firstChild; g; g = NodeAt<TypeGroup>(g)->next)
      if (NodeAt<TypeGroup>(g)->typeCode == Type_UndoHistory) return NodeAt<Entity>(NodeAt<TypeGroup>(g)->firstChild);
    return nullptr;
  }
  // The history's children of a code, newest first.
  std::vector<Entity*> HistoryRecords(std::uint16_t code) {
    std::vector<Entity*> found;
    Entity* h = History();
    for (NodeRef g = h ? h->firstChild : 0; g; g = NodeAt<TypeGroup>(g)->next) {
      if (NodeAt<TypeGroup>(g)->typeCode != code) continue;
      for (NodeRef e = NodeAt<TypeGroup>(g)->firstChild; e; e = NodeAt<Entity>(e)->next) found.push_back(NodeAt<Entity>(e));
    }
    return found;
  }
  std::uint32_t Position() {
    std::vector<Entity*> p = HistoryRecords(Type_UndoPosition);
    return p.empty() ? 0xDEADu : ReadU32(EntityPayload(p[0]), 0);
  }
  std::string Text(UINT id) {
    char text[128] = {};
    GetMenuStringA(edit, id, text, sizeof text, MF_BYCOMMAND);
    return text;
  }
  bool Greyed(UINT id) { return (GetMenuState(edit, id, MF_BYCOMMAND) & MF_GRAYED) != 0; }

  std::unique_ptr<CurrentWindowData> window;
  Tower* design = nullptr;
  HMENU edit = nullptr;
  std::vector<Tower*> owned;
};

TEST_F(UndoTest, AResetWindowRecordsStepZeroThenAFreshHistoryNumbersFromOne) {
  Place(7);
  Close("Insert Track");
  EXPECT_EQ(window->UndoStep, 1u) << "a fresh history hands out 1 first";
  std::vector<Entity*> entries = HistoryRecords(Type_UndoEntry);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(ReadU32(EntityPayload(entries[0]), 0), 0u);
  EXPECT_EQ(ReadU32(EntityPayload(entries[0]), 4), 1u);
  EXPECT_EQ(Text(kUndo), "Undo Insert Track");
  EXPECT_FALSE(Greyed(kUndo));
  EXPECT_TRUE(Greyed(kRedo));

  UndoLastStep();
  EXPECT_TRUE(Tags().empty());
  EXPECT_EQ(Position(), kUndoNothingDone);
  EXPECT_TRUE(Greyed(kUndo));
  EXPECT_EQ(Text(kUndo), "Undo");
  EXPECT_FALSE(Greyed(kRedo));
  EXPECT_EQ(Text(kRedo), "Redo Insert Track");
  EXPECT_EQ(enginefakes::CallsStartingWith("take"), std::vector<std::string>{"take 1:7"});
  EXPECT_EQ(enginefakes::CallsStartingWith("redraw"), std::vector<std::string>{"redraw view"});

  RedoNextStep();
  EXPECT_EQ(Tags(), std::vector<std::int32_t>{7});
  EXPECT_EQ(Position(), 0u);
  EXPECT_EQ(Text(kUndo), "Undo Insert Track");
  EXPECT_TRUE(Greyed(kRedo));
  EXPECT_TRUE(HistoryRecords(Type_UndoRedoCopy).empty()) << "the redo slot lives only between undo and redo";
  EXPECT_EQ(enginefakes::CallsStartingWith("put"), std::vector<std::string>{"put 1:7"});

  // The restored item is the one the entry names: it undoes again.
  UndoLastStep();
  EXPECT_TRUE(Tags().empty());
}

TEST_F(UndoTest, NothingToUndoOrRedoBeepsAndChangesNothing) {
  const int beeps = pl3::BeepCount();
  UndoLastStep();  // no history
  RedoNextStep();
  EXPECT_EQ(pl3::BeepCount(), beeps + 2);
  EXPECT_EQ(History(), nullptr);
  Place(1);
  Close("Insert Track");
  RedoNextStep();  // nothing undone
  EXPECT_EQ(pl3::BeepCount(), beeps + 3);
  EXPECT_EQ(Tags(), std::vector<std::int32_t>{1});
  UndoLastStep();
  UndoLastStep();  // nothing left to undo
  EXPECT_EQ(pl3::BeepCount(), beeps + 4);
}

TEST_F(UndoTest, AChangeAfterUndoDropsTheUndoneStepsAndRedoBeeps) {
  Place(1);
  Close("Insert Track");
  Place(2);
  Close("Insert Track");
  UndoLastStep();
  EXPECT_EQ(Tags(), std::vector<std::int32_t>{1});
  ASSERT_EQ(HistoryRecords(Type_UndoEntry).size(), 2u);
  Place(3);
  EXPECT_EQ(HistoryRecords(Type_UndoEntry).size(), 2u) << "the undone step's entry is gone, the new one is in";
  Place(4);  // a second change of the same step drops nothing
  Close("Insert Two");
  EXPECT_EQ(HistoryRecords(Type_UndoEntry).size(), 3u);
  const int beeps = pl3::BeepCount();
  RedoNextStep();
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  EXPECT_EQ(Tags(), (std::vector<std::int32_t>{4, 3, 1}));
  EXPECT_EQ(Text(kUndo), "Undo Insert Two");
  UndoLastStep();
  EXPECT_EQ(Tags(), std::vector<std::int32_t>{1}) << "both entries of the step go together";
}

TEST_F(UndoTest, AfterClearingOneUndoReplaysNothingAndGreysUndo) {
  Place(1);
  Close("Insert Track");
  ClearUndoHistory(design);
  EXPECT_TRUE(HistoryRecords(Type_UndoEntry).empty());
  EXPECT_EQ(HistoryRecords(Type_UndoCaption).size(), 1u) << "captions stay";
  UpdateUndoMenu();
  EXPECT_FALSE(Greyed(kUndo)) << "the position keeps its step until the next Undo";
  EXPECT_EQ(Text(kUndo), "Undo Insert Track");
  enginefakes::calls.clear();
  const int beeps = pl3::BeepCount();
  UndoLastStep();
  EXPECT_EQ(pl3::BeepCount(), beeps);
  EXPECT_EQ(Tags(), std::vector<std::int32_t>{1});
  EXPECT_TRUE(enginefakes::CallsStartingWith("take").empty());
  EXPECT_EQ(Position(), kUndoNothingDone);
  EXPECT_TRUE(Greyed(kUndo));
  EXPECT_TRUE(Greyed(kRedo));
}

// The new version is a new node, or the old item changed in place.
TEST_F(UndoTest, InsertModifyUndoTwiceRedoTwiceEndsAsAfterTheModify) {
  for (const bool inPlace : {false, true}) {
    SCOPED_TRACE(inPlace ? "changed in place" : "replaced");
    Tower* a = Place(1);
    Close("Insert Track");
    if (inPlace) {
      Tower* entry = RecordUndoModify(a, NodeRefOf(TowerEntity(a)), window->UndoStep);
      ReleaseTower(&entry);
      const std::int32_t tag = 2;
      std::memcpy(EntityPayload(TowerEntity(a)) + kTagOffset, &tag, 4);
    } else {
      Tower* b = StoreTrack(2);
      Tower* entry = RecordUndoModify(a, NodeRefOf(TowerEntity(b)), window->UndoStep);
      ReleaseTower(&entry);
      DeleteEntity(a);
    }
    Close("Edit Selection");
    ASSERT_EQ(Tags(), std::vector<std::int32_t>{2});
    std::vector<Entity*> entries = HistoryRecords(Type_UndoEntry);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(ReadU32(EntityPayload(entries[0]), 4), 3u);

    UndoLastStep();
    EXPECT_EQ(Tags(), std::vector<std::int32_t>{1});
    EXPECT_EQ(Text(kRedo), "Redo Edit Selection");
    UndoLastStep();
    EXPECT_TRUE(Tags().empty());
    RedoNextStep();
    EXPECT_EQ(Tags(), std::vector<std::int32_t>{1});
    RedoNextStep();
    EXPECT_EQ(Tags(), std::vector<std::int32_t>{2});
    EXPECT_TRUE(HistoryRecords(Type_UndoRedoCopy).empty());
    // The saved copy of the modify still holds the old version.
    Tower* entry = Own(EntityToTower(Own(EntityToTower(design, History(), -1)), HistoryRecords(Type_UndoEntry)[0], -1));
    Tower* saved = Own(OpenUndoCopy(entry));
    ASSERT_NE(saved, nullptr);
    std::int32_t tag = 0;
    std::memcpy(&tag, EntityPayload(TowerEntity(saved)) + kTagOffset, 4);
    EXPECT_EQ(tag, 1);
    // Once more through both steps, then clean up for the next case.
    UndoLastStep();
    UndoLastStep();
    EXPECT_TRUE(Tags().empty());
    RedoNextStep();
    RedoNextStep();
    EXPECT_EQ(Tags(), std::vector<std::int32_t>{2});
    Tower* left = Own(EntityToTower(design, NodeAt<Entity>(NodeAt<TypeGroup>(TowerEntity(design)->firstChild)->firstChild), -1));
    DeleteEntity(left);
    ClearUndoHistory(design);
  }
}

TEST_F(UndoTest, AFiveEntryStepGoesAsOneNewestFirst) {
  std::vector<Tower*> items;
  for (int tag = 1; tag <= 5; ++tag) items.push_back(Place(tag));
  Close("Insert Five");
  for (Tower* item : items) Remove(item);
  Close("Delete Five");
  EXPECT_TRUE(Tags().empty());
  EXPECT_EQ(CountUndoStepEntries(0), 5u);
  EXPECT_EQ(CountUndoStepEntries(1), 0u);
  enginefakes::calls.clear();
  UndoLastStep();
  EXPECT_EQ(Tags().size(), 5u);
  EXPECT_EQ(enginefakes::CallsStartingWith("put"),
            (std::vector<std::string>{"put 1:5", "put 1:4", "put 1:3", "put 1:2", "put 1:1"}));
  EXPECT_EQ(CountUndoStepEntries(1), 5u);
  EXPECT_EQ(Text(kUndo), "Undo Insert Five");
  EXPECT_EQ(Text(kRedo), "Redo Delete Five");
  enginefakes::calls.clear();
  RedoNextStep();
  EXPECT_TRUE(Tags().empty());
  EXPECT_EQ(enginefakes::CallsStartingWith("take"),
            (std::vector<std::string>{"take 1:5", "take 1:4", "take 1:3", "take 1:2", "take 1:1"}));
  UndoLastStep();
  UndoLastStep();
  EXPECT_TRUE(Tags().empty()) << "the restored items are the ones the insert step names";
}

// A freed node's place is reused: an entry whose item left the design
// unrecorded must not act on the item that took its place.
TEST_F(UndoTest, AnEntryWhoseItemLeftUnrecordedIsSkipped) {
  Tower* a = Place(1);
  Close("Insert Track");
  const NodeRef was = NodeRefOf(TowerEntity(a));
  DeleteEntity(a);  // not recorded
  Tower* c = StoreTrack(9);
  ASSERT_EQ(NodeRefOf(TowerEntity(c)), was) << "the fixture needs the pool to reuse the place";
  const int beeps = pl3::BeepCount();
  UndoLastStep();
  EXPECT_EQ(Tags(), std::vector<std::int32_t>{9});
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  EXPECT_TRUE(enginefakes::CallsStartingWith("take").empty());

  // Replaced-in-place too: the modify entry names a node now holding another item.
  Tower* b = Place(2);
  Close("Insert Track");
  Tower* entry = RecordUndoModify(b, NodeRefOf(TowerEntity(b)), window->UndoStep);
  ReleaseTower(&entry);
  Close("Edit Selection");
  DeleteEntity(b);
  StoreTrack(3);
  UndoLastStep();
  EXPECT_EQ(Tags(), (std::vector<std::int32_t>{3, 9}));
}

TEST_F(UndoTest, AMissingCounterStartsCountingAgain) {
  EXPECT_EQ(NewUndoStepNumber(), 1u);
  EXPECT_EQ(NewUndoStepNumber(), 2u);
  Tower* history = Own(EntityToTower(design, History(), -1));
  DeleteChildEntities(history, Type_UndoStepCounter);
  EXPECT_EQ(NewUndoStepNumber(), 1u);
  EXPECT_EQ(NewUndoStepNumber(), 2u);
}

// A history as a stored design brings it: references of another run, an
// entry of unknown kind, a short entry, entries without their saved copy, a
// caption without its NUL.
TEST_F(UndoTest, ADamagedOrLoadedHistoryIsReplayedWithoutTouchingWhatItDoesNotOwn) {
  Tower* live = StoreTrack(1);
  const NodeRef ref = NodeRefOf(TowerEntity(live));
  Tower* history = Own(InsertEmptyEntity(design, Type_UndoHistory));
  const std::uint32_t position = 0;
  Own(InsertEntity(history, 4, Type_UndoPosition, &position));
  for (const std::uint32_t kind : {kUndoInserted, kUndoRemoved, kUndoModified, 7u}) {
    const std::uint32_t words[2] = {0, kind};
    Tower* entry = Own(InsertEntity(history, sizeof words, Type_UndoEntry, words));
    Own(InsertEntity(entry, 4, Type_UndoItem, &ref));
  }
  Own(InsertEntity(history, 4, Type_UndoEntry, &position));  // short
  const char text[16] = {'B', 'r', 'o', 'k', 'e', 'n', '!', '!', '!', '!', '!', '!', '!', '!', '!', '!'};
  Tower* caption = Own(InsertEntity(history, sizeof text, Type_UndoCaption, text));
  Own(InsertEntity(caption, 4, Type_UndoPosition, &position));

  // The store keeps payloads in 16-byte units: the short entry reads as kind 0.
  EXPECT_EQ(CountUndoStepEntries(0), 5u);
  UpdateUndoMenu();
  EXPECT_FALSE(Greyed(kUndo));
  const std::string shown = Text(kUndo);
  EXPECT_EQ(shown.rfind("Undo Broken!", 0), 0u);
  EXPECT_LE(shown.size(), std::string("Undo ").size() + sizeof text);
  const int beeps = pl3::BeepCount();
  UndoLastStep();
  EXPECT_EQ(pl3::BeepCount(), beeps + 1) << "skipped entries are heard";
  EXPECT_EQ(Tags(), std::vector<std::int32_t>{1});
  EXPECT_TRUE(enginefakes::CallsStartingWith("take").empty());
  EXPECT_EQ(Position(), kUndoNothingDone);
  EXPECT_TRUE(Greyed(kUndo));
  RedoNextStep();  // nothing it can redo either
  EXPECT_EQ(Tags(), std::vector<std::int32_t>{1});

  // Clearing on load leaves nothing to skip.
  ClearUndoHistory(design);
  EXPECT_EQ(CountUndoStepEntries(1), 0u);
  EXPECT_TRUE(HistoryRecords(Type_UndoEntry).empty());
}

TEST_F(UndoTest, SettingACaptionAgainReplacesIt) {
  Place(1);
  SetUndoStepCaption(0, "First");
  SetUndoStepCaption(0, "Second");
  EXPECT_EQ(HistoryRecords(Type_UndoCaption).size(), 1u);
  Tower* found = Own(FindUndoStepCaption(0));
  ASSERT_NE(found, nullptr);
  EXPECT_STREQ(reinterpret_cast<const char*>(EntityPayload(TowerEntity(found))), "Second");
  EXPECT_EQ(FindUndoStepCaption(5), nullptr);
}

TEST_F(UndoTest, OwnerDrawnItemsTakeTheirTextThroughTheFrame) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_DATA;
  OwnerDrawnMenuRecord* record = NewOwnerDrawnRecord("Undo\tBACKSPACE", 0, 0);
  info.dwItemData = reinterpret_cast<ULONG_PTR>(record);
  ASSERT_TRUE(SetMenuItemInfoA(edit, kUndo, FALSE, &info));
  Place(1);
  Close("Insert Track");
  EXPECT_STREQ(record->text, "Undo Insert Track");
  EXPECT_EQ(Text(kUndo), "Undo\tBACKSPACE") << "the item's own string is the frame's record's business";
  EXPECT_EQ(Text(kRedo), "Redo");
  info.dwItemData = 0;
  SetMenuItemInfoA(edit, kUndo, FALSE, &info);
  FreeOwnerDrawnItem(record);
}

TEST_F(UndoTest, WithoutAnActiveDesignTheMenuIsLeftAlone) {
  window->design = nullptr;
  UpdateUndoMenu();
  EXPECT_EQ(Text(kUndo), "Undo\tBACKSPACE");
  EXPECT_FALSE(Greyed(kUndo));
  window->design = design;
}

TEST_F(UndoTest, SymbolInstancesAreReportedToTheBinAndTheRatsnest) {
  Tower* s = StoreTrack(5, Type_SymbolInstance);
  RecordUndoInsert(NodeRefOf(TowerEntity(s)), window->UndoStep);
  Close("Insert Symbol");
  enginefakes::calls.clear();
  UndoLastStep();
  EXPECT_EQ(enginefakes::calls,
            (std::vector<std::string>{"nets emptied", "take 106:5", "nets of 106", "bin unplaced 106", "nets updated",
                                      "redraw view"}));
  enginefakes::calls.clear();
  RedoNextStep();
  EXPECT_EQ(enginefakes::calls,
            (std::vector<std::string>{"nets emptied", "put 106", "nets of 106", "bin placed 106", "nets updated",
                                      "redraw view"}));
  Remove(Own(EntityToTower(design, NodeAt<Entity>(NodeAt<TypeGroup>(TowerEntity(design)->firstChild)->firstChild), -1)));
  Close("Delete Symbol");
  enginefakes::calls.clear();
  UndoLastStep();
  EXPECT_EQ(enginefakes::CallsStartingWith("bin"), std::vector<std::string>{"bin placed 106"});
  RedoNextStep();
  EXPECT_EQ(enginefakes::CallsStartingWith("bin"), (std::vector<std::string>{"bin placed 106", "bin unplaced 106"}));
  EXPECT_TRUE(Tags(Type_SymbolInstance).empty());
}

TEST_F(UndoTest, InsertEntityWithUndoIsOneStepCaptionedByTheStoredType) {
  auto record = NewEntityRecord();
  InitialiseEntityRecord(record.get(), Type_Track, &pl3::kIdentityTransform, 1);
  Tower* stored = Own(InsertEntityWithUndo(record.get(), design));
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(TowerEntity(stored)->typeCode, Type_Track);
  EXPECT_EQ(window->UndoStep, 1u);
  EXPECT_EQ(Text(kUndo), "Undo Insert Track");
  EXPECT_EQ(CountUndoStepEntries(0), 1u);
  UndoLastStep();
  EXPECT_TRUE(Tags().empty());
  EXPECT_EQ(InsertEntityWithUndo(nullptr, design), nullptr);
}

// Closing asks to save only a design holding the change mark: an insert, an
// Undo and a Redo each leave it, or the change would be lost unasked.
TEST_F(UndoTest, InsertUndoAndRedoMarkTheDesignChanged) {
  auto changed = [&] { return GetEntityData(design, Type_ModifiedNote) != nullptr; };
  auto record = NewEntityRecord();
  InitialiseEntityRecord(record.get(), Type_Track, &pl3::kIdentityTransform, 1);
  ASSERT_FALSE(changed());
  Own(InsertEntityWithUndo(record.get(), design));
  EXPECT_TRUE(changed()) << "insert";
  DeleteChildEntities(design, Type_ModifiedNote);  // as a save leaves it
  UndoLastStep();
  EXPECT_TRUE(changed()) << "undo";
  DeleteChildEntities(design, Type_ModifiedNote);
  RedoNextStep();
  EXPECT_TRUE(changed()) << "redo";
  DeleteChildEntities(design, Type_ModifiedNote);
  UndoLastStep();
  UndoLastStep();  // nothing left: the beep changes nothing
  DeleteChildEntities(design, Type_ModifiedNote);
  UndoLastStep();
  EXPECT_FALSE(changed()) << "an Undo with nothing to undo changes nothing";
}

}  // namespace
