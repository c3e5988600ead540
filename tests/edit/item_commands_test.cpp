// Next Layer and Flip Layer, the library item check with its Completion
// Info, and the replacement of pad stacks, over a design in the store with
// the selection engine and the rule checker faked.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "edit/edit_modes.h"
#include "edit/layer_commands.h"
#include "edit/library_check.h"
#include "edit/library_check_seams.h"
#include "edit/nearest_pad.h"
#include "edit/pad_stack_update.h"
#include "edit/selection.h"
#include "edit/selection_actions.h"
#include "edit/symbol_by_name.h"
#include "edit/symbol_by_name_seams.h"
#include "edit/track_tools.h"
#include "geometry/raster_state.h"
#include "geometry/view_mapping.h"
#include "objects/walker.h"
#include "draw/walk_actions.h"
#include "objects/window_state.h"
#include "geometry/transform.h"
#include "objects/colours.h"
#include "objects/designators.h"
#include "objects/item_helpers.h"
#include "objects/payload_access.h"
#include "objects/placed_item_records.h"
#include "objects/symbol_instances.h"
#include "platform/responder.h"
#include "store/document_titles.h"
#include "view_fixture.h"

namespace {

std::vector<std::string> actions;
std::uint32_t checkBits[4];
std::vector<int> checksRun;

}  // namespace

int PerformSelectionArrayAction(std::uint32_t action, std::uint32_t) {
  actions.push_back("action " + std::to_string(action));
  return 0;
}
std::uint32_t CheckSchematicSymbol() { checksRun.push_back(25); return checkBits[0]; }
std::uint32_t CheckPcbSymbol() { checksRun.push_back(105); return checkBits[1]; }
std::uint32_t CheckShape() { checksRun.push_back(109); return checkBits[2]; }
std::uint32_t CheckPadStack() { checksRun.push_back(115); return checkBits[3]; }
std::uint32_t CompletionEnableMask() { return 0x3000010; }

namespace {
std::vector<std::string> selected;
// Whether the fake's select leaves the item selected, as a first pick does,
// or takes it out, as a pick of what is already the selection does.
bool selectLeavesItSelected = true;
Tower* definitionToLoad = nullptr;
std::string loadAsked;
}  // namespace

int SelectObject(const Tower* item, std::uint8_t add) {
  Tower* group = NewestChildTower(item, Type_Designator);
  const char* text = group ? GetDesignatorText(group) : nullptr;
  selected.push_back(std::string(text ? text : "?") + " add " + std::to_string(add));
  ReleaseTower(&group);
  CurrentWindowData* w = ActiveWindowData;
  if (selectLeavesItSelected && !w->SelectionList) NewSelectionInfo(&w->SelectionList)->flags = kSelectionPrimary;
  if (!selectLeavesItSelected)
    while (w->SelectionList) RemoveSelectionInfo(&w->SelectionList, w->SelectionList);
  return 1;
}
Tower* LoadSymbolDefinitionByName(HWND, const char* path, const char* name) {
  loadAsked = std::string(path) + "|" + name;
  return definitionToLoad ? DuplicateTower(definitionToLoad) : nullptr;
}
std::uint32_t CompletionSecondMask() { return 0x44; }

namespace {

class ItemCommands : public viewtest::DesignView {
 protected:
  void SetUp() override {
    viewtest::DesignView::SetUp();
    actions.clear();
    checksRun.clear();
    std::memset(checkBits, 0, sizeof checkBits);
    pl3::ClearResponderRecords();
  }
  void TearDown() override {
    for (Tower*& t : owned) ReleaseTower(&t);
    window->SelectionList = nullptr;
    ReleaseTower(&window->Selection);
    viewtest::DesignView::TearDown();
  }
  // One primary selection of the item.
  void Select(Tower* item) {
    selection = SelectionInfo{};
    selection.flags = kSelectionPrimary;
    selection.original = item;
    selection.workingCopy = item;
    window->SelectionList = &selection;
  }
  Tower* Add(std::uint16_t type) {
    Tower* t = InsertEntity(design, 8, type, std::vector<std::uint8_t>(8).data());
    owned.push_back(t);
    return t;
  }
  std::vector<std::string> Boxes() {
    std::vector<std::string> boxes;
    for (const pl3::ResponderRecord& r : pl3::ResponderRecords()) boxes.push_back(r.caption + ": " + r.text);
    return boxes;
  }

  SelectionInfo selection{};
  std::vector<Tower*> owned;
};

// ---- Next Layer and Flip Layer ------------------------------------------------------

TEST_F(ItemCommands, IdleSelectsAtTheCursor) {
  for (auto command : {&NextLayerCommand, &FlipLayerCommand}) {
    enginefakes::calls.clear();
    command(view, &window->Button, &window->PendingRecord);
    EXPECT_EQ(enginefakes::CallsStartingWith("select"), std::vector<std::string>{"select"});
    EXPECT_TRUE(actions.empty());
  }
}

// In Edit Selection the selection gets the action of the command and of what
// it holds: placed symbols and pad stacks change side as a whole.
TEST_F(ItemCommands, EditingTheSelectionAppliesTheActionOfWhatItHolds) {
  struct Case {
    std::uint32_t kind;
    std::uint16_t type;
    bool flip;
    const char* action;
  };
  for (const Case& c : {Case{kEditorPcb, Type_Track, false, "action 3"}, Case{kEditorPcb, Type_Track, true, "action 6"},
                        Case{kEditorPcb, Type_SymbolInstance, false, "action 6"},
                        Case{kEditorPcbSymbol, Type_PadStackInstanceHier, false, "action 6"},
                        Case{kEditorPcb, 163, false, "action 6"}, Case{kEditorSchematic, Type_Track, false, "action 9"},
                        Case{kEditorSchematicSymbol, Type_Track, true, "action 9"}}) {
    actions.clear();
    window->editorKind = c.kind;
    window->EditMode = Mode_EditSelection;
    Select(Add(c.type));
    (c.flip ? FlipLayerCommand : NextLayerCommand)(view, &window->Button, &window->PendingRecord);
    EXPECT_EQ(actions, std::vector<std::string>{c.action}) << c.kind << " " << c.type << " " << c.flip;
  }
}

TEST_F(ItemCommands, ASymbolBeingPlacedGoesToTheOtherSideAndBack) {
  window->EditMode = Mode_NewSymbol;
  window->Selection = DuplicateTower(Add(Type_SymbolDefinition));
  window->RoutingLayer = window->TopLayer;
  NextLayerCommand(view, &window->Button, &window->PendingRecord);
  EXPECT_EQ(window->RoutingLayer, window->BottomLayer);
  EXPECT_NE(window->ViewFlags & kViewDrawOtherSide, 0u);
  FlipLayerCommand(view, &window->Button, &window->PendingRecord);
  EXPECT_EQ(window->RoutingLayer, window->TopLayer);
  EXPECT_EQ(window->ViewFlags & kViewDrawOtherSide, 0u);
  EXPECT_TRUE(actions.empty());
}

TEST_F(ItemCommands, AnItemPlacedInASchematicTakesTheNextColourOfItsClass) {
  window->editorKind = kEditorSchematic;
  window->EditMode = 1;
  window->PendingRecord = NewEntityRecord().release();
  window->PendingRecord->header.recordType = Type_Track;
  window->PendingRecord->payload[0] = 3;
  NextLayerCommand(view, &window->Button, &window->PendingRecord);
  EXPECT_EQ(window->PendingRecord->payload[0], NextColourInClass(3));
  EXPECT_NE(window->PendingRecord->payload[0], 3);
}

// ---- The library item check ----------------------------------------------------------

TEST_F(ItemCommands, TheCheckOfEachLibraryKindIsRun) {
  checkBits[0] = 0x1;
  checkBits[1] = 0x2;
  checkBits[2] = 0x4;
  checkBits[3] = 0x8;
  struct Case { std::uint16_t type; std::uint32_t bits; };
  for (const Case& c : {Case{25, 0x1}, Case{Type_SymbolDefinition, 0x2}, Case{Type_ShapeDefinition, 0x4},
                        Case{Type_PadStackDefinition, 0x8}, Case{Type_Track, 0}}) {
    EXPECT_EQ(PerformLibraryItemDRC(Add(c.type), 0), c.bits) << c.type;
  }
  EXPECT_EQ(checksRun, (std::vector<int>{25, 105, 109, 115}));
  EXPECT_TRUE(enginefakes::CallsStartingWith("tool ended").empty()) << "nothing cancelled unless asked";
}

TEST_F(ItemCommands, ACompletionRecordReplacesTheOldOneWithTheMasks) {
  Tower* stack = Add(Type_PadStackDefinition);
  CompletionInfoRecord stale{};
  stale.failureBits = 0xFFFF;
  Tower* old = InsertEntity(stack, sizeof stale, Type_CompletionInfo, &stale);
  ReleaseTower(&old);
  checkBits[3] = 0x10;
  window->EditMode = Mode_EditSelection;
  Tower* made = RecordCompletionInfo(stack, 1);
  ASSERT_NE(made, nullptr);
  ReleaseTower(&made);
  EXPECT_EQ(window->EditMode, Mode_Idle) << "the operation in progress was cancelled first";
  Tower* records = GetChildTower(stack, Type_CompletionInfo);
  std::vector<CompletionInfoRecord> found;
  while (const Entity* e = records ? FindNextEntity(records) : nullptr) {
    ASSERT_EQ(e->payloadSize, 16u);
    found.emplace_back();
    std::memcpy(&found.back(), EntityPayload(e), sizeof(CompletionInfoRecord));
  }
  ReleaseTower(&records);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(+found[0].itemType, Type_PadStackDefinition);
  EXPECT_EQ(+found[0].failureBits, 0x10u);
  EXPECT_EQ(+found[0].enableMask, 0x3000010u);
  EXPECT_EQ(+found[0].secondMask, 0x44u);
  EXPECT_EQ(IsItemComplete(stack), 0) << "an enabled failure";
  checkBits[3] = 0x20;
  made = RecordCompletionInfo(stack, 0);
  ReleaseTower(&made);
  EXPECT_EQ(IsItemComplete(stack), 1);
}

// ---- Replacing pad stacks ------------------------------------------------------------

// A PCB symbol with two pads of one pad stack and one of another; the
// chooser loads a replacement whose origin lies 100 to the right and 50 down.
class PadStackUpdate : public ItemCommands {
 protected:
  void SetUp() override {
    ItemCommands::SetUp();
    DeleteEntity(design);
    ReleaseTower(&design);
    design = towertest::NewTopLevelEntity(Type_SymbolDefinition);
    window->design = design;
    window->editorKind = kEditorPcbSymbol;
    oldStack = Stack({0, 0});
    otherStack = Stack({0, 0});
    pads[0] = Pad(oldStack, pl3::kIdentityTransform, 1000);
    pl3::Transform turned = pl3::R90;
    pads[1] = Pad(oldStack, turned, 2000);
    pads[2] = Pad(otherStack, pl3::kIdentityTransform, 3000);
    ChoosePadStackItem = &Choose;
    replacementComplete = true;
  }
  std::uint32_t Stack(pl3::Point origin) {
    Tower* stack = InsertEntity(design, 4, Type_PadStackDefinition, "PAD");
    Tower* o = InsertEntity(stack, sizeof origin, Type_Origin, &origin);
    ReleaseTower(&o);
    const pl3::Box extent{origin.x - 100, origin.y - 100, origin.x + 100, origin.y + 100};
    Tower* b = InsertEntity(stack, sizeof extent, Type_BoundingBox, &extent);
    ReleaseTower(&b);
    const std::uint32_t ref = NodeRefOf(TowerEntity(stack));
    ReleaseTower(&stack);
    return ref;
  }
  Tower* Pad(std::uint32_t stack, pl3::Transform t, std::int32_t x) {
    Tower* pad = InsertEmptyEntity(design, Type_PadStackInstanceHier);
    PadStackInfoRecord info{};
    info.definition = stack;
    t.tx = x;
    t.ty = 500;
    info.transform = t;
    Tower* i = InsertEntity(pad, sizeof info, Type_PadStackInfo, &info);
    ReleaseTower(&i);
    owned.push_back(pad);
    return pad;
  }
  static StoreItemChoice* Choose(HWND, const char* filter, int, const Tower* parent) {
    chosenFilter = filter;
    auto* choice = new StoreItemChoice;
    Tower* stack = InsertEntity(parent, 4, Type_PadStackDefinition, "NEW");
    const pl3::Point origin{100, 50};
    Tower* o = InsertEntity(stack, sizeof origin, Type_Origin, &origin);
    ReleaseTower(&o);
    Tower* saved = InsertEmptyEntity(stack, Type_DontReloadGroup);
    ReleaseTower(&saved);
    if (replacementComplete) {
      CompletionInfoRecord done{};
      done.itemType = Type_PadStackDefinition;
      Tower* c = InsertEntity(stack, sizeof done, Type_CompletionInfo, &done);
      ReleaseTower(&c);
    }
    loadedRef = NodeRefOf(TowerEntity(stack));
    choice->document = stack;
    return choice;
  }
  const PadStackInfoRecord& Info(int i) {
    return *reinterpret_cast<const PadStackInfoRecord*>(ChildPayloadOfAtLeast(pads[i], Type_PadStackInfo, 36));
  }
  int StacksStored() {
    int n = 0;
    Tower* t = GetChildTower(design, Type_PadStackDefinition);
    while (t && FindNextEntity(t)) ++n;
    ReleaseTower(&t);
    return n;
  }
  void Update() { UpdatePadStacks(view, &window->Button, &window->PendingRecord); }

  std::uint32_t oldStack = 0, otherStack = 0;
  Tower* pads[3] = {};
  static inline bool replacementComplete = true;
  static inline std::uint32_t loadedRef = 0;
  static inline std::string chosenFilter;
};

TEST_F(PadStackUpdate, YesReplacesEveryPadOfTheStackAndKeepsItsOriginInPlace) {
  Select(pads[0]);
  RecordUndoInsert(NodeRefOf(TowerEntity(pads[2])), window->UndoStep);
  window->UndoStep = NewUndoStepNumber();
  ASSERT_EQ(CountUndoStepEntries(0), 1u);
  pl3::PushButtonAnswer(IDYES);
  Update();
  EXPECT_EQ(CountUndoStepEntries(0), 0u) << "nothing before the replacement can be undone";
  EXPECT_EQ(chosenFilter, "padstack");
  EXPECT_EQ(Boxes(), std::vector<std::string>{"Pelmora3: Do you want to update all padstacks of this type?"});
  EXPECT_EQ(Info(0).definition, loadedRef);
  EXPECT_EQ(Info(1).definition, loadedRef);
  EXPECT_EQ(Info(2).definition, otherStack);
  // The new origin (100, 50) lands where the old one (0, 0) was.
  EXPECT_EQ(Info(0).transform.tx, 1000 - 100);
  EXPECT_EQ(Info(0).transform.ty, 500 - 50);
  pl3::Point p{100, 50};
  pl3::TransformPoint(&Info(1).transform, p.x, p.y);
  EXPECT_EQ(p.x, 2000);
  EXPECT_EQ(p.y, 500);
  EXPECT_EQ(Info(2).transform.tx, 3000);
  Tower* loaded = ResolveReferenceUnder(design, loadedRef);
  Tower* saved = GetChildTower(loaded, Type_DontReloadGroup);
  EXPECT_FALSE(saved && FindNextEntity(saved)) << "its saved window data is gone";
  ReleaseTower(&saved);
  ReleaseTower(&loaded);
}

TEST_F(PadStackUpdate, NoReplacesTheSelectedPadOnly) {
  Select(pads[1]);
  pl3::PushButtonAnswer(IDNO);
  Update();
  EXPECT_EQ(Info(0).definition, oldStack);
  EXPECT_EQ(Info(1).definition, loadedRef);
  EXPECT_EQ(Info(2).definition, otherStack);
  EXPECT_EQ(Info(0).transform.tx, 1000);
}

TEST_F(PadStackUpdate, CancelOrAFailedCheckLeaveTheDesignAndDropTheLoadedStack) {
  Select(pads[0]);
  pl3::PushButtonAnswer(IDCANCEL);
  Update();
  EXPECT_EQ(Info(0).definition, oldStack);
  EXPECT_EQ(StacksStored(), 2);

  pl3::ClearResponderRecords();
  replacementComplete = false;
  Update();
  EXPECT_EQ(Info(0).definition, oldStack);
  EXPECT_EQ(Info(1).definition, oldStack);
  EXPECT_EQ(StacksStored(), 2);
  EXPECT_EQ(Boxes(), std::vector<std::string>{"Pelmora3: PadStack has not passed DRC."});
}

TEST_F(PadStackUpdate, WithoutASelectedPadItBeepsAndChoosesNothing) {
  chosenFilter.clear();
  for (Tower* selected : {static_cast<Tower*>(nullptr), Add(Type_Track)}) {
    if (selected) Select(selected);
    const int beeps = pl3::BeepCount();
    Update();
    EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  }
  EXPECT_TRUE(chosenFilter.empty());
}

// ---- The plane filled flag ------------------------------------------------------------

// Draws each item as one view pixel at payload words 60 and 64 (a track at
// its first end), which the nearest-hit search measures.
std::int32_t DrawAsPoint(const pl3::Transform*, Tower* entity, void*, std::uint8_t, std::uint8_t, std::int32_t*) {
  const std::uint8_t* p = TowerPayload(entity);
  std::int32_t x = ReadI32(p, 60), y = ReadI32(p, 64);
  if (TowerEntity(entity)->typeCode == Type_Track) {
    LinePayload t;
    std::memcpy(&t, p, sizeof t);
    x = t.x1;
    y = t.y1;
  }
  pl3::WorldToView(x, y);
  pl3::EmitHorizontalRun(x, x, y);
  return 1;
}

class PlaneFlag : public ItemCommands {
 protected:
  void SetUp() override {
    ItemCommands::SetUp();
    WalkHandlers.drawWalkedEntity = &DrawAsPoint;
    UpdateViewGlobals();
  }
  void TearDown() override {
    ReleaseTower(&window->PreviousPick);
    ItemCommands::TearDown();
  }
  Entity* At(std::uint16_t code, std::int32_t x, std::int32_t y) {
    std::vector<std::uint8_t> p(96, 0);
    p[0] = 1;  // layer
    std::memcpy(p.data() + 60, &x, 4);
    std::memcpy(p.data() + 64, &y, 4);
    Tower* t = InsertEntity(design, static_cast<std::uint32_t>(p.size()), code, p.data());
    owned.push_back(t);
    return TowerEntity(t);
  }
};

TEST_F(PlaneFlag, TheNearestPlaneTogglesItsFilledFlag) {
  Entity* near = At(Type_Plane, viewtest::C + 2000, viewtest::C);
  Entity* far = At(Type_Plane, viewtest::C + 20000, viewtest::C);
  CursorAt(viewtest::C, viewtest::C);
  window->ViewFlags = 0x4;
  TogglePlaneFlag();
  EXPECT_EQ(near->flags & kPlaneFilledFlag, kPlaneFilledFlag);
  EXPECT_EQ(far->flags & kPlaneFilledFlag, 0);
  EXPECT_EQ(window->ViewFlags, 0x4u) << "the search leaves the view flags as they were";
  ReleaseTower(&window->PreviousPick);
  TogglePlaneFlag();
  EXPECT_EQ(near->flags & kPlaneFilledFlag, 0);
}

TEST_F(PlaneFlag, ATrackNearerThanThePlaneChangesNothing) {
  Entity* plane = At(Type_Plane, viewtest::C + 5000, viewtest::C);
  Store(viewtest::Track({viewtest::C + 1000, viewtest::C, viewtest::C + 1000, viewtest::C + 90000}));
  CursorAt(viewtest::C, viewtest::C);
  TogglePlaneFlag();
  EXPECT_EQ(plane->flags & kPlaneFilledFlag, 0);
  Tower* track = GetChildTower(design, Type_Track);
  ASSERT_NE(track ? FindNextEntity(track) : nullptr, nullptr);
  EXPECT_EQ(TowerEntity(track)->flags & kPlaneFilledFlag, 0) << "only a plane has the flag";
  ReleaseTower(&track);
}

// ---- Placing a symbol by name ---------------------------------------------------------

class SymbolByName : public ItemCommands {
 protected:
  void SetUp() override {
    ItemCommands::SetUp();
    selected.clear();
    selectLeavesItSelected = true;
    loadAsked.clear();
    definitionToLoad = nullptr;
  }
  void TearDown() override {
    ReleaseTower(&definitionToLoad);
    while (window->SelectionList) RemoveSelectionInfo(&window->SelectionList, window->SelectionList);
    FreeInsertionArray(*window);
    ItemCommands::TearDown();
  }
  void Placed(const char* designator) {
    Tower* symbol = Add(Type_SymbolInstance);
    Tower* group = InsertEmptyEntity(symbol, Type_Designator);
    SetDesignatorText(group, designator);
    ReleaseTower(&group);
  }
  std::vector<std::string> PendingDesignators() {
    std::vector<std::string> found;
    Tower* t = GetChildTower(design, kTypePendingDesignator);
    while (const Entity* e = t ? FindNextEntity(t) : nullptr)
      found.emplace_back(reinterpret_cast<const char*>(EntityPayload(e)));
    ReleaseTower(&t);
    return found;
  }
};

TEST_F(SymbolByName, APlacedSymbolOfThatDesignatorIsSelected) {
  Placed("R1");
  Placed("U7");
  CursorAt(123, 456);
  EXPECT_EQ(PlaceSymbolByName(view, "lib", "u7"), 1);
  EXPECT_EQ(selected, std::vector<std::string>{"U7 add 0"});
  EXPECT_TRUE(loadAsked.empty());
  EXPECT_TRUE(enginefakes::CallsStartingWith("tool ended").empty());
  EXPECT_EQ(window->Cursor.x, 123);
  EXPECT_EQ(window->Cursor.y, 456);

  // Asked again, the symbol that is the selection is taken out of it and
  // nothing is left selected.
  selectLeavesItSelected = false;
  EXPECT_EQ(PlaceSymbolByName(view, "lib", "U7"), 1);
  EXPECT_EQ(enginefakes::CallsStartingWith("tool ended").size(), 1u) << "nothing selected ends the tool";
  EXPECT_EQ(window->Cursor.x, 123);
}

TEST_F(SymbolByName, AnUnplacedNameIsLoadedAndHangsOnTheCursorAsANewSymbol) {
  Placed("R1");
  definitionToLoad = towertest::NewTopLevelEntity(Type_SymbolDefinition);
  const std::int32_t origin[2] = {5000, 7000};
  Tower* o = InsertEntity(definitionToLoad, sizeof origin, Type_Origin, origin);
  ReleaseTower(&o);
  Tower* saved = InsertEmptyEntity(definitionToLoad, Type_DontReloadGroup);
  ReleaseTower(&saved);
  Tower* stale = InsertEntity(design, 3, kTypePendingDesignator, "U1");
  ReleaseTower(&stale);
  window->RoutingLayer = 5;
  EXPECT_EQ(PlaceSymbolByName(view, "C:\\lib.p3p", "U2"), 1);
  EXPECT_EQ(loadAsked, "C:\\lib.p3p|U2");
  EXPECT_TRUE(selected.empty());
  EXPECT_EQ(window->EditMode, Mode_NewSymbol);
  EXPECT_EQ(window->InsertType, 4);
  EXPECT_EQ(window->RoutingLayer, window->TopLayer);
  EXPECT_EQ(window->InsertionTransform.tx, -5000);
  EXPECT_EQ(window->InsertionTransform.ty, -7000);
  ASSERT_NE(window->Selection, nullptr);
  EXPECT_EQ(TowerEntity(window->Selection), TowerEntity(definitionToLoad));
  Tower* group = GetChildTower(definitionToLoad, Type_DontReloadGroup);
  EXPECT_FALSE(group && FindNextEntity(group)) << "its saved window data is cleared";
  ReleaseTower(&group);
  EXPECT_EQ(PendingDesignators(), std::vector<std::string>{"U2"});
  EXPECT_EQ(enginefakes::CallsStartingWith("cursor").back(), "cursor 6");
  DeleteEntity(definitionToLoad);
}

TEST_F(SymbolByName, NothingToLoadBeepsAndLeavesTheWindowIdle) {
  const int beeps = pl3::BeepCount();
  EXPECT_EQ(PlaceSymbolByName(view, "lib", "Q9"), 0);
  EXPECT_EQ(loadAsked, "lib|Q9");
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  EXPECT_EQ(window->EditMode, Mode_Idle);
  EXPECT_TRUE(PendingDesignators().empty());
}

// ---- The pad nearest the cursor and the pad-naming hover --------------------------------

// The pads lie in the design area (the pick box compares unsigned
// coordinates): x 1000, 2000 and 3000, y 500 from the corner At.
class NamePins : public PadStackUpdate {
 protected:
  static constexpr std::int32_t At = viewtest::C;
  void SetUp() override {
    PadStackUpdate::SetUp();
    for (int i = 0; i < 3; ++i) {
      auto* info = reinterpret_cast<PadStackInfoRecord*>(ChildPayloadOfAtLeast(pads[i], Type_PadStackInfo, 36));
      info->xref = 11 + i;
      info->transform.tx += At;
      info->transform.ty += At;
    }
  }
  void TearDown() override {
    ResetNearestPad();
    PadStackUpdate::TearDown();
  }
  int Find(std::int32_t x, std::int32_t y) {
    CursorAt(At + x, At + y);
    return FindNearestPad(At + x, At + y, design, &pl3::kIdentityTransform);
  }
  void Hover(std::int32_t x, std::int32_t y) {
    CursorAt(At + x, At + y);
    window->Button.Cursor = {At + x, At + y};
    DoNamePins(view, &window->Button);
  }
  bool Lit(int i) { return (TowerEntity(pads[i])->flags & kEntityHighlighted) != 0; }
};

TEST_F(NamePins, TheNearestPadIsFoundByItsOriginAndEqualDistancesKeepTheFirst) {
  ASSERT_EQ(Find(2100, 520), 1);
  EXPECT_EQ(NearestPadResult.xref, 12u);
  // The second pad's stack is turned, but its origin (0, 0) stays at its translation.
  ASSERT_EQ(Find(1500, 500), 1);
  // A group is walked newest first: the second pad is met first and keeps the tie.
  EXPECT_EQ(NearestPadResult.xref, 12u);
  EXPECT_EQ(WalkHandlers.extendBoxByEntity, nullptr) << "the walk's slot is put back";
}

TEST_F(NamePins, HoveringHighlightsOnePadAtATime) {
  Hover(2900, 480);
  EXPECT_TRUE(Lit(2));
  ASSERT_NE(window->Selection, nullptr);
  EXPECT_EQ(TowerEntity(window->Selection), TowerEntity(pads[2]));
  EXPECT_EQ(enginefakes::CallsStartingWith("cursor").back(), "cursor 9");
  Hover(2950, 500);
  EXPECT_TRUE(Lit(2)) << "the same pad stays";
  Hover(1100, 500);
  EXPECT_FALSE(Lit(2));
  EXPECT_TRUE(Lit(0));
  EXPECT_EQ(TowerEntity(window->Selection), TowerEntity(pads[0]));
}

TEST_F(NamePins, APadOutsideThePickBoxIsNoneToName) {
  // The pick box reaches 40 pixels of 1000 units around the point; the
  // third pad's box ends at x 3100.
  EXPECT_EQ(Find(3100 + 40'000, 500), 1) << "the box's edge touches";
  EXPECT_EQ(NearestPadResult.xref, 13u);
  Hover(2900, 480);
  ASSERT_TRUE(Lit(2));
  Hover(3101 + 40'000, 500);
  EXPECT_FALSE(Lit(2)) << "the nearest pad lies beyond the pick box";
  EXPECT_EQ(window->Selection, nullptr);
  EXPECT_EQ(window->CursorHandle, LoadCursor(nullptr, IDC_NO));
  EXPECT_EQ(WalkHandlers.testBoundingBox, nullptr) << "the walk's box test is put back";
}

TEST_F(NamePins, WithNoPadNearTheHeldPadIsLetGoAndTheNoCursorShown) {
  // A pad without its info is no pad to name.
  for (Tower* pad : pads) DeleteChildEntities(pad, Type_PadStackInfo);
  Tower* held = DuplicateTower(pads[1]);
  TowerEntity(held)->flags |= kEntityHighlighted;
  window->Selection = held;
  Hover(1000, 500);
  EXPECT_EQ(window->Selection, nullptr);
  EXPECT_FALSE(Lit(1));
  EXPECT_EQ(window->CursorHandle, LoadCursor(nullptr, IDC_NO));
}

}  // namespace
