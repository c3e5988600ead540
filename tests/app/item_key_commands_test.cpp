// The item key commands over recording fakes of the selection engine, the
// undo history and the PCB editor: Backspace, the Spiral tool, the return of
// a moved selection, the selection's turns and the centroid size steps.
#include "app/item_key_commands.h"
#include "app/core_utilities.h"
#include "app/rotate_commands.h"
#include "app/select_layer_dialog.h"
#include "app/registry_values.h"
#include "app/start_values.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "../store/tower_test_support.h"
#include "edit/angle_entry.h"
#include "edit/key_command_seams.h"
#include "edit/object_select.h"
#include "edit/payload_sizes.h"
#include "edit/selection.h"
#include "edit/selection_actions.h"
#include "edit/undo_history.h"
#include "objects/entity_record.h"
#include "edit/window_data.h"
#include "objects/graphic_records.h"
#include "objects/selection_seams.h"
#include "objects/size_table.h"
#include "objects/size_text.h"
#include "objects/type_codes.h"
#include "platform/commctrl.h"
#include "platform/controls.h"
#include "platform/dialog_hooks.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/tower.h"
#include "tests/support/test_windows.h"
#include "ui/size_dialogs.h"

namespace {

struct Calls {
  std::vector<std::string> names;
  pl3::Point moved{};
  pl3::Transform transform{};
  int Count(const std::string& name) const {
    int n = 0;
    for (const auto& s : names) n += s == name;
    return n;
  }
};
Calls& Recorded() {
  static Calls calls;
  return calls;
}

}  // namespace

// A pick's hand-over to the selection; these commands never pick.
int SelectObject(const Tower*, std::uint8_t) { return 0; }
void CopyPickedItem(HWND, const Tower*) {}
void CopyPickedItemStep(HWND, const Tower*, int) {}
int MoveSelectionArray(SelectionInfo*, std::int32_t dx, std::int32_t dy) {
  Recorded().names.push_back("move");
  Recorded().moved = {dx, dy};
  return 1;
}
// The mouse's move of the selection is not these commands' either.
int MoveSelectionToPoint(HWND, SelectionInfo*, pl3::Point, int) { return 0; }
pl3::Box TransformSelectionArray(const pl3::Transform* t) {
  Recorded().names.push_back("transform");
  Recorded().transform = *t;
  return pl3::kEmptyBox;
}
int BeginInsertSpiral(HWND, EntityRecord**, ButtonRecord*) {
  Recorded().names.push_back("spiral");
  return 1;
}
void RipUpTrack(EntityRecord*) { Recorded().names.push_back("rip up track"); }
void RipUpSelectedTrack(SelectionInfo*) { Recorded().names.push_back("rip up selected"); }
void UpdateMovingPoints() { Recorded().names.push_back("moving points"); }
std::uint32_t GetSelectionType(const SelectionInfo*) { return 65535; }
int CountSelections(const SelectionInfo* list, int primaryOnly) {
  int n = 0;
  for (const SelectionInfo* s = list; s; s = s->next) n += !primaryOnly || (s->flags & kSelectionPrimary);
  return n;
}
void GhostSelectionArray(HDC, const SelectionInfo*) { Recorded().names.push_back("ghost"); }
char* DescribeObject(const Tower*) { return nullptr; }
void SetWireTool() { Recorded().names.push_back("wire tool"); }
int BeginInsertWire(HWND, EntityRecord**, ButtonRecord*) {
  Recorded().names.push_back("wire");
  return 1;
}
int ValidateSelectionForAction(std::uint32_t action, std::uint32_t) {
  Recorded().names.push_back("validate " + std::to_string(action));
  return 1;
}
int PerformSelectionArrayAction(std::uint32_t action, std::uint32_t) {
  Recorded().names.push_back("perform " + std::to_string(action));
  return kSelectionActionDone;
}

namespace {

class KeyCommands : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    Recorded() = Calls{};
    window = std::make_unique<CurrentWindowData>(kEditorPcb);
    design = towertest::NewTopLevelEntity(Type_PCB);
    window->design = design;
    ActiveWindowData = window.get();
  }
  void TearDown() override {
    ActiveWindowData = nullptr;
    delete window->PendingRecord;
    delete window->OriginalBlockOrigin;
    std::free(window->Grids);  // the grid set the mouse road copies for the window
    for (Tower*& t : items) ReleaseTower(&t);
    DeleteEntity(design);
    ReleaseTower(&design);
  }
  SelectionInfo* Select(std::uint16_t type, std::uint16_t grabbedPart, std::uint32_t payloadSize = 0,
                        const void* payload = nullptr) {
    Tower* item = InsertEntity(design, payloadSize, type, payload);
    items.push_back(item);
    auto record = std::make_unique<SelectionInfo>();
    record->flags = kSelectionPrimary;
    record->original = item;
    record->grabbedPart = grabbedPart;
    record->next = window->SelectionList;
    window->SelectionList = record.get();
    records.push_back(std::move(record));
    return records.back().get();
  }
  EntityRecord* Pending(std::uint16_t type, std::uint8_t mode) {
    window->PendingRecord = NewEntityRecord().release();
    window->PendingRecord->header.recordType = type;
    window->EditMode = mode;
    return window->PendingRecord;
  }
  void Backspace() { BackspaceCommand(nullptr, &window->PendingRecord, {}); }

  std::unique_ptr<CurrentWindowData> window;
  Tower* design = nullptr;
  std::vector<Tower*> items;
  std::vector<std::unique_ptr<SelectionInfo>> records;
};

TEST_F(KeyCommands, BackspaceWithNothingInHandUndoesTheLastStep) {
  auto record = NewEntityRecord();
  InitialiseEntityRecord(record.get(), Type_Track, &pl3::kIdentityTransform, 1);
  window->UndoStep = 0;
  Tower* stored = InsertEntityWithUndo(record.get(), design);
  ASSERT_NE(stored, nullptr);
  ReleaseTower(&stored);
  ASSERT_EQ(CountUndoStepEntries(0), 1u);

  window->editorKind = 64;  // a package window has no Backspace
  Backspace();
  EXPECT_EQ(CountUndoStepEntries(0), 1u);

  window->editorKind = kEditorPcb;
  Backspace();
  EXPECT_EQ(CountUndoStepEntries(0), 0u);
  EXPECT_EQ(CountUndoStepEntries(1), 1u);
}

TEST_F(KeyCommands, BackspaceRipsUpTheTrackInHand) {
  Pending(Type_Track, 1);
  Backspace();
  EXPECT_EQ(Recorded().Count("rip up track"), 1);

  window->EditMode = 39;
  delete window->PendingRecord;
  window->PendingRecord = nullptr;
  Select(Type_Track, 2);
  Backspace();
  EXPECT_EQ(Recorded().Count("rip up selected"), 1);
}

int g_deleteVertexCommands = 0;
LRESULT CountDeleteVertex(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_COMMAND && LOWORD(w) == 422) ++g_deleteVertexCommands;
  return DefWindowProc(h, m, w, l);
}

TEST_F(KeyCommands, BackspaceDeletesTheVertexOfEveryPolygonLikeItemInHand) {
  FrameWindow = MakeTestParentWindow("VertexFrame");
  ASSERT_NE(FrameWindow, nullptr);
  SetWindowLongPtr(FrameWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountDeleteVertex));
  const int beeps = pl3::BeepCount();
  const std::uint16_t types[] = {4, 8, 9, 41, 42, 43, 44, 45, 49};
  for (const std::uint16_t type : types) {  // being drawn (mode 13)
    g_deleteVertexCommands = 0;
    delete window->PendingRecord;
    Pending(type, 13);
    Backspace();
    EXPECT_EQ(g_deleteVertexCommands, 1) << "drawing type " << type;
  }
  delete window->PendingRecord;
  window->PendingRecord = nullptr;
  window->EditMode = 39;
  Select(Type_PolygonKeepout, 5);  // a vertex being added to a selected keepout
  g_deleteVertexCommands = 0;
  Backspace();
  EXPECT_EQ(g_deleteVertexCommands, 1);
  EXPECT_EQ(pl3::BeepCount(), beeps);
  DestroyWindow(FrameWindow);
  FrameWindow = nullptr;
}

TEST_F(KeyCommands, BackspaceBeepsWhenNothingApplies) {
  window->EditMode = 39;
  Select(Type_Track, 0);  // the whole track is moved: no end in hand
  const int beeps = pl3::BeepCount();
  Backspace();
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  EXPECT_TRUE(Recorded().names.empty());
  window->EditMode = 0;
  Backspace();  // a selection but no pending item: not the undo road
  EXPECT_EQ(pl3::BeepCount(), beeps + 2);
}

TEST_F(KeyCommands, SpiralToolOnlyInAnIdleWindow) {
  window->StateFlags = 0x41;
  window->ClickState = 2;
  window->EditMode = 13;
  SetSpiralTool();
  EXPECT_EQ(window->InsertType, 1);
  window->EditMode = 0;
  SetSpiralTool();
  EXPECT_EQ(window->InsertType, Type_Spiral);
  EXPECT_EQ(window->ClickState, 0u);
  EXPECT_EQ(window->StateFlags, 0x1u);
}

TEST_F(KeyCommands, ReturnToStartMovesBackByTheDifference) {
  window->EditMode = 39;
  Select(Type_Track, 0);
  window->OriginalBlockOrigin = new pl3::Point{500000000, 600000000};
  window->BlockOrigin = {500100000, 599000000};
  window->AngleAssist = 2;
  ReturnSelectionToStart(nullptr);
  EXPECT_EQ(Recorded().moved.x, -100000);
  EXPECT_EQ(Recorded().moved.y, 1000000);
  EXPECT_EQ(window->BlockOrigin.x, 500000000);
  EXPECT_EQ(window->BlockOrigin.y, 600000000);
  EXPECT_EQ(window->AngleAssist, 2) << "angle assist is off only for the step";
  EXPECT_EQ(Recorded().Count("ghost"), 2);

  Recorded() = Calls{};
  ReturnSelectionToStart(nullptr);  // already at the start
  EXPECT_TRUE(Recorded().names.empty());
  window->BlockOrigin = {1, 1};
  window->EditMode = 1;
  ReturnSelectionToStart(nullptr);
  EXPECT_TRUE(Recorded().names.empty()) << "only while a selection is moved";
}

TEST_F(KeyCommands, RotateRefusesWhileAVertexIsEdited) {
  for (std::uint16_t code : {4, 5, 8, 9, 10}) {
    records.clear();
    window->SelectionList = nullptr;
    Select(Type_Polygon, code);
    const int beeps = pl3::BeepCount();
    RotateSelection(nullptr, pl3::R90);
    EXPECT_EQ(pl3::BeepCount(), beeps + 1) << code;
    EXPECT_EQ(Recorded().Count("transform"), 0) << code;
  }
  records.clear();
  window->SelectionList = nullptr;
  Select(Type_Polygon, 0);
  RotateSelection(nullptr, pl3::R270);
  EXPECT_EQ(Recorded().Count("transform"), 1);
  EXPECT_EQ(Recorded().transform.b, pl3::R270.b);
}

TEST_F(KeyCommands, RotateTurnsASingleLocatorsText) {
  LocatorPayload locator{};
  locator.kind = 1;
  locator.head.transform = pl3::R0;
  SelectionInfo* s = Select(Type_AttributeLocator, 0, sizeof locator, &locator);
  RotateSelection(nullptr, pl3::R90);
  EXPECT_EQ(Recorded().Count("transform"), 0);
  auto* stored = reinterpret_cast<LocatorPayload*>(EntityPayload(TowerEntity(s->original)));
  const pl3::Transform after = stored->head.transform;
  RotateSelection(nullptr, pl3::R270);
  EXPECT_FALSE(after.a == stored->head.transform.a && after.b == stored->head.transform.b)
      << "the anticlockwise turn undoes the clockwise one";
}

struct CentroidCase {
  std::uint32_t size;
  SizeStep step;
  int result;
  std::uint32_t after;
  bool beeps;
};

class CentroidSteps : public testing::TestWithParam<CentroidCase> {};

TEST_P(CentroidSteps, MoveThroughTheFiveSizes) {
  const CentroidCase& c = GetParam();
  CentroidPayload centroid{};
  centroid.head.sizeIndex = c.size;
  const int beeps = pl3::BeepCount();
  EXPECT_EQ(StepPayloadSize(&centroid, Type_Centroid, c.step), c.result);
  EXPECT_EQ(centroid.head.sizeIndex, c.after);
  EXPECT_EQ(pl3::BeepCount(), beeps + (c.beeps ? 1 : 0));
}

constexpr std::uint32_t kThou = 36576;
INSTANTIATE_TEST_SUITE_P(
    Steps, CentroidSteps,
    testing::Values(CentroidCase{64 * kThou, SizeStep::Up, PayloadSizeAtEnd, 64 * kThou, true},
                    CentroidCase{4 * kThou, SizeStep::Down, PayloadSizeAtEnd, 4 * kThou, true},
                    CentroidCase{10 * kThou, SizeStep::Up, PayloadSizeStepped, 16 * kThou, false},
                    CentroidCase{10 * kThou, SizeStep::Down, PayloadSizeStepped, 8 * kThou, false},
                    CentroidCase{16 * kThou, SizeStep::Up, PayloadSizeStepped, 32 * kThou, false},
                    CentroidCase{10 * kThou, SizeStep::Last, PayloadSizeStepped, 64 * kThou, false},
                    CentroidCase{10 * kThou, SizeStep::First, PayloadSizeStepped, 4 * kThou, false}));

TEST(PayloadSteps, TypesWithoutASizeAnswerZeroAndCustomSizesTwo) {
  std::uint8_t payload[128] = {};
  EXPECT_EQ(StepPayloadSize(payload, Type_Polygon, SizeStep::Up), PayloadSizeStepped);
  EXPECT_EQ(StepPayloadSize(payload, Type_Track, SizeStep::Up), PayloadSizeCustom) << "flags 0: a custom size";
}

// ---- Typed angles on the selection and on the item being placed ---------------

class AngleCommands : public KeyCommands {
 protected:
  void TearDown() override {
    pl3::ClearDialogHooks();
    KeyCommands::TearDown();
  }
  // Types the text into the dialog's new-angle field, optionally picks a
  // mode button, and presses OK.
  static void Answer(int dialog, const char* text, int modeButton = 0, int mirrored = -1) {
    static std::string typed;
    static int button, mirror;
    typed = text;
    button = modeButton;
    mirror = mirrored;
    pl3::SetDialogHook(dialog, [](HWND d) {
      if (button) pl3::SetDialogCheck(d, button, true);
      if (mirror >= 0) pl3::SetDialogCheck(d, kMirroredCheck, mirror != 0);
      pl3::TypeDialogText(d, kNewAngleEdit, typed.c_str());
      pl3::ClickDialogButton(d, IDOK);
    });
  }
  SelectionInfo* SelectText(const pl3::Transform& words) {
    std::vector<std::uint8_t> payload(TextStoredSize(1), 0);
    TextPayload* text = reinterpret_cast<TextPayload*>(payload.data());
    text->textTransform = words;
    text->textTransform.tx = 777;
    return Select(Type_Text, 0, static_cast<std::uint32_t>(payload.size()), payload.data());
  }
  static pl3::Transform Rotation(double degrees) {
    pl3::Transform t{};
    MakeRotationTransform(degrees, &t);
    return t;
  }
  static pl3::Transform& WordsOf(SelectionInfo* s) {
    return reinterpret_cast<TextPayload*>(EntityPayload(TowerEntity(s->original)))->textTransform;
  }
};

TEST_F(AngleCommands, SelectedCentroidTakesTheTypedAngle) {
  CentroidPayload centroid{};
  centroid.head.transform = pl3::kIdentityTransform;
  centroid.head.sizeIndex = 585216;
  centroid.direction = {0, -2 * 585216};
  SelectionInfo* s = Select(Type_Centroid, 0, sizeof centroid, &centroid);
  Answer(kAngleOnlyDialog, "90");
  SetSelectedCentroidAngle(nullptr);
  const auto* stored = reinterpret_cast<CentroidPayload*>(EntityPayload(TowerEntity(s->original)));
  EXPECT_EQ(stored->head.transform.a, 0);
  EXPECT_EQ(stored->head.transform.b, pl3::kFixedOne);
  EXPECT_EQ(stored->direction.x, 2 * 585216) << "(0, -2 x size) turned a quarter";
  EXPECT_EQ(stored->direction.y, 0);
  EXPECT_EQ(Recorded().Count("ghost"), 2) << "erased before and drawn after";
}

TEST_F(AngleCommands, CombiningTurnsTheSelectionAndSetsTheTargetWords) {
  SelectionInfo* s = SelectText(Rotation(300));
  Answer(kAngleDialog, "90", kCombineAngleRadio);
  FreehandRotateSelection(nullptr, false);
  ASSERT_EQ(Recorded().Count("transform"), 1);
  const pl3::Transform quarter = Rotation(90);
  EXPECT_EQ(Recorded().transform.a, quarter.a) << "combining turns by the typed angle";
  EXPECT_EQ(Recorded().transform.b, quarter.b);
  const pl3::Transform words = WordsOf(s);
  const pl3::Transform thirty = Rotation(30);
  EXPECT_EQ(words.a, thirty.a);
  EXPECT_EQ(words.b, thirty.b);
  EXPECT_EQ(words.tx, 777) << "the translation stays";
  EXPECT_EQ(RememberedAngleMode, kAngleCombine);
}

TEST_F(AngleCommands, AttachedEndsAreReleasedBeforeTheTurn) {
  SelectionInfo* s = SelectText(Rotation(0));
  LinePayload line{};
  line.head.transform = pl3::kIdentityTransform;
  line.x2 = 400000;
  Tower* track = InsertEntity(design, sizeof line, Type_Track, &line);
  items.push_back(track);
  ASSERT_NE(AppendSecondarySelection(track, &window->SelectionList, 1, 0, 0), nullptr);
  Answer(kAngleOnlyDialog, "90");
  FreehandRotateSelection(nullptr, false);
  EXPECT_FALSE(HasSecondarySelections(window->SelectionList));
  EXPECT_EQ(Recorded().Count("transform"), 1);
  EXPECT_NEAR(GetTransformAngle(WordsOf(s)), 90.0, 1e-4) << "one item left selected: its words take the angle";
}

TEST_F(AngleCommands, OverridingTurnsFromTheCurrentAngleToTheTarget) {
  SelectionInfo* s = SelectText(Rotation(90));
  Answer(kAngleDialog, "180", kOverrideAngleRadio);
  FreehandRotateSelection(nullptr, false);
  ASSERT_EQ(Recorded().Count("transform"), 1);
  EXPECT_NEAR(GetTransformAngle(Recorded().transform), 90.0, 1e-4) << "the turn from 90 to 180";
  EXPECT_NEAR(GetTransformAngle(WordsOf(s)), 180.0, 1e-4);
}

TEST_F(AngleCommands, NothingHappensForNoChange) {
  SelectionInfo* s = SelectText(Rotation(45));
  Answer(kAngleDialog, "45", kOverrideAngleRadio);
  FreehandRotateSelection(nullptr, false);
  Answer(kAngleDialog, "0", kCombineAngleRadio);
  FreehandRotateSelection(nullptr, false);
  pl3::SetDialogHook(kAngleDialog, [](HWND d) { pl3::ClickDialogButton(d, IDCANCEL); });
  FreehandRotateSelection(nullptr, false);
  EXPECT_TRUE(Recorded().names.empty());
  EXPECT_EQ(WordsOf(s).b, Rotation(45).b);
}

TEST_F(AngleCommands, MirrorBoxStartsFromTheReflectionAndMirrorsWhenItDiffers) {
  pl3::Transform reflected = Rotation(90);  // (0, 1, -1, 0) mirrored: (0, 1, 1, 0)
  reflected.c = -reflected.c;
  SelectText(reflected);
  static UINT preset = 0;
  pl3::SetDialogHook(kAngleMirrorDialog, [](HWND d) {
    preset = IsDlgButtonChecked(d, kMirroredCheck);
    pl3::SetDialogCheck(d, kOverrideAngleRadio, true);
    pl3::TypeDialogText(d, kNewAngleEdit, "30");
    pl3::ClickDialogButton(d, IDOK);
  });
  FreehandRotateSelection(nullptr, true);
  EXPECT_EQ(preset, 1u);
  ASSERT_EQ(Recorded().Count("transform"), 2) << "the turn, then the mirror the box asks for";
  EXPECT_EQ(Recorded().transform.a, -pl3::kFixedOne);
}

TEST_F(AngleCommands, RefusedTurnLeavesTheWordsAlone) {
  SelectionInfo* s = SelectText(Rotation(45));
  s->grabbedPart = 8;  // a radius or locator is being edited
  Answer(kAngleDialog, "90", kOverrideAngleRadio);
  const int beeps = pl3::BeepCount();
  FreehandRotateSelection(nullptr, false);
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  EXPECT_EQ(WordsOf(s).b, Rotation(45).b);
  EXPECT_EQ(Recorded().Count("transform"), 0);
}

TEST_F(AngleCommands, PlacedCentroidTurnsAndFollowsTheMouse) {
  EntityRecord* r = Pending(Type_Centroid, 59);
  r->as<CentroidPayload>().head.transform = pl3::kIdentityTransform;
  r->as<CentroidPayload>().head.sizeIndex = 146304;
  Answer(kAngleOnlyDialog, "-90");
  SetPlacedCentroidAngle(nullptr);
  EXPECT_EQ(window->EditMode, 61);
  EXPECT_NEAR(GetTransformAngle(r->as<CentroidPayload>().head.transform), 270.0, 1e-6);
  EXPECT_EQ(r->as<CentroidPayload>().direction.x, -2 * 146304);
}

TEST_F(AngleCommands, TheItemBeingPlacedTurnsToTheTypedAngle) {
  EntityRecord* r = Pending(Type_Rectangle, 5);
  r->head().transform = Rotation(300);
  r->as<RectanglePayload>().rect.centreX = 555;
  Answer(kAngleDialog, "90", kCombineAngleRadio);
  FreehandRotateModeItem(nullptr, false);
  EXPECT_NEAR(GetTransformAngle(r->head().transform), 30.0, 1e-4) << "300 and 90 combined";
  EXPECT_EQ(r->head().transform.b, Rotation(30).b);
  EXPECT_EQ(r->head().transform.tx, 0) << "it turns where it stands";
  EXPECT_EQ(r->as<RectanglePayload>().rect.centreX, 555);
  Answer(kAngleDialog, "200", kOverrideAngleRadio);
  FreehandRotateModeItem(nullptr, false);
  EXPECT_NEAR(GetTransformAngle(r->head().transform), 200.0, 1e-4);
  pl3::SetDialogHook(kAngleDialog, [](HWND d) { pl3::ClickDialogButton(d, IDCANCEL); });
  FreehandRotateModeItem(nullptr, false);
  EXPECT_NEAR(GetTransformAngle(r->head().transform), 200.0, 1e-4) << "Cancel changes nothing";
}

TEST_F(AngleCommands, ASymbolBeingPlacedTurnsItsInsertionWords) {
  window->EditMode = 24;
  window->InsertionTransform = pl3::kIdentityTransform;
  window->PlacementTransform = pl3::kIdentityTransform;
  Answer(kAngleOnlyDialog, "-90");
  FreehandRotateModeItem(nullptr, false);
  EXPECT_EQ(window->InsertionTransform.a, Rotation(270).a);
  EXPECT_EQ(window->InsertionTransform.b, Rotation(270).b);
  EXPECT_NEAR(GetTransformAngle(window->InsertionTransform), 270.0, 1e-6);
  EXPECT_EQ(window->PlacementTransform.b, 0) << "the view's own placement is not the item's";
}

TEST_F(AngleCommands, AnItemWithoutRotationWordsBeepsAndAsksNothing) {
  EntityRecord* track = Pending(Type_Track, 1);
  track->head().transform = pl3::kIdentityTransform;
  static int asked = 0;
  asked = 0;
  pl3::SetDialogHook(kAngleOnlyDialog, [](HWND d) {
    ++asked;
    pl3::ClickDialogButton(d, IDCANCEL);
  });
  const int beeps = pl3::BeepCount();
  FreehandRotateModeItem(nullptr, false);
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(track->head().transform.a, pl3::kFixedOne);
}

// ---- Set Layer -----------------------------------------------------------------

class SetLayer : public KeyCommands {
 protected:
  void SetUp() override {
    KeyCommands::SetUp();
    static const char* const names[] = {"Top Silk", "Top Copper", "Inner", "Bottom Copper"};
    for (int i = 0; i < 4; ++i) {
      LayerRecord& r = window->layerTable.layers[i];
      r.flags = kLayerVisible | kLayerPresent | kLayerSelectable;
      r.kind = i == 0 ? LayerKind_Silkscreen : LayerKind_Copper;
      std::snprintf(r.name, sizeof r.name, "%s", names[i]);
    }
    window->layerTable.layers[2].flags = kLayerPresent;  // in use but not active: not listed
    window->layerTable.layers[4].flags = kLayerVisible | kLayerSelectable;  // not in use: not listed
    std::snprintf(window->layerTable.layers[4].name, kLayerNameSize, "Unused");
    window->RoutingLayer = 1;
    dialogs = 0;
    rows.clear();
  }
  void TearDown() override {
    pl3::ClearDialogHooks();
    KeyCommands::TearDown();
  }
  // Picks the row showing the name (or presses Cancel for null).
  void Pick(const char* name) {
    static std::string wanted;
    wanted = name ? name : "";
    pl3::SetDialogHook("SELECTLAYERDLG", [](HWND d) {
      ++dialogs;
      // The rows are drawn by the dialog: each holds its layer's index.
      HWND list = GetDlgItem(d, kSelectLayerList);
      const int n = static_cast<int>(SendMessage(list, LB_GETCOUNT, 0, 0));
      int picked = -1;
      for (int i = 0; i < n; ++i) {
        const auto layer = static_cast<std::size_t>(SendMessage(list, LB_GETITEMDATA, static_cast<WPARAM>(i), 0));
        rows.push_back(ActiveWindowData->layerTable.layers[layer].name);
        if (rows.back() == wanted) picked = i;
      }
      if (wanted.empty()) {
        pl3::ClickDialogButton(d, IDCANCEL);
        return;
      }
      pl3::PickDialogListItem(d, kSelectLayerList, picked);
      pl3::ClickDialogButton(d, IDOK);
    });
  }
  void Press() { SetCurrentItemLayer(nullptr, &window->PendingRecord, {}); }
  static inline int dialogs = 0;
  static inline std::vector<std::string> rows;
};

TEST_F(SetLayer, TheItemBeingDrawnTakesTheChosenLayer) {
  EntityRecord* track = Pending(Type_Track, 1);
  track->payload[0] = 1;
  Pick("Bottom Copper");
  Press();
  EXPECT_EQ(dialogs, 1);
  EXPECT_EQ(rows, (std::vector<std::string>{"Top Silk", "Top Copper", "Bottom Copper"}))
      << "only active, enabled layers in use";
  EXPECT_EQ(track->payload[0], 3);
  EXPECT_EQ(window->RoutingLayer, 3);
  Pick(nullptr);
  Press();
  EXPECT_EQ(track->payload[0], 3) << "Cancel changes nothing";
  EXPECT_EQ(window->RoutingLayer, 3);
}

TEST_F(SetLayer, HolesAndBoardOutlinesBeingPlacedAreLeftAlone) {
  Pick("Bottom Copper");
  EntityRecord* outline = Pending(Type_Track, 1);
  outline->header.state = kStateBoardOutline;
  outline->payload[0] = 1;
  Press();
  EXPECT_EQ(outline->payload[0], 1);
  delete window->PendingRecord;
  EntityRecord* arc = Pending(Type_Arc, 2);
  arc->header.state = kStateOutlineArc;
  Press();
  delete window->PendingRecord;
  Pending(Type_Hole, 7);
  Press();
  EXPECT_EQ(dialogs, 0);
  EXPECT_EQ(Recorded().Count("spiral"), 0) << "the drawing goes on";
  EXPECT_EQ(window->EditMode, 7);
}

TEST_F(SetLayer, SelectionWithASymbolInstanceBeeps) {
  window->EditMode = 39;
  Select(Type_Track, 0);
  Select(Type_SymbolInstance, 0);
  Pick("Bottom Copper");
  const int beeps = pl3::BeepCount();
  Press();
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  EXPECT_EQ(dialogs, 0);
}

TEST_F(SetLayer, IdleBeginsASpiral) {
  Pick("Bottom Copper");
  Press();
  EXPECT_EQ(dialogs, 0);
  EXPECT_EQ(Recorded().Count("spiral"), 1);
  EXPECT_EQ(window->InsertType, Type_Spiral);
  window->editorKind = kEditorSchematic;
  Press();
  EXPECT_EQ(Recorded().Count("spiral"), 1) << "not in a schematic";
}

TEST(SelectLayerDialog, NoRowIsRefusedAndMissingBlockReported) {
  pl3::ClearResponderRecords();
  auto block = std::make_unique<SelectLayerBlock>();
  LayerTable table{};
  table.layers[5].flags = 0xB;
  std::snprintf(table.layers[5].name, sizeof table.layers[5].name, "Five");
  PrepareSelectLayerBlock(block.get(), table, 9, 0);  // layer 9 is not listed: no row selected
  pl3::SetDialogHook("SELECTLAYERDLG", [](HWND d) {
    pl3::ClickDialogButton(d, IDOK);
    pl3::PickDialogListItem(d, kSelectLayerList, 0);
    pl3::ClickDialogButton(d, IDOK);
  });
  EXPECT_EQ(ShowSelectLayerDialog(nullptr, block.get()), 1);
  EXPECT_EQ(block->chosenLayer, 5);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "Nothing selected");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "Select Layer");
  pl3::ClearDialogHooks();
  EXPECT_EQ(ShowSelectLayerDialog(nullptr, nullptr), 0);
  ASSERT_EQ(pl3::ResponderRecords().size(), 2u);
  EXPECT_EQ(pl3::ResponderRecords()[1].text, "SelectLayerDlg called without LParam");
}

// A 400 x 16 memory bitmap to draw one list row into.
struct RowCanvas {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HBITMAP old = nullptr;
  RowCanvas() {
    HDC screen = GetDC(nullptr);
    dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    bitmap = CreateCompatibleBitmap(dc, 400, 16);
    old = SelectObject(dc, bitmap);
  }
  ~RowCanvas() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  DRAWITEMSTRUCT Item(ULONG_PTR layer, UINT state) const {
    DRAWITEMSTRUCT item{};
    item.hDC = dc;
    item.rcItem = {0, 0, 400, 16};
    item.itemData = layer;
    item.itemState = state;
    return item;
  }
};

// Layers 1 and 4 are in use, active and enabled; 2 is not enabled, 3 not
// active. Each has a key letter.
std::unique_ptr<SelectLayerBlock> KeyedLayers() {
  LayerTable table{};
  const std::uint32_t flags[] = {0, 0xB, 0x3, 0xA, 0xB};
  const char letters[] = {0, 'B', 'C', 'E', 'D'};
  for (int i = 1; i <= 4; ++i) {
    table.layers[i].flags = flags[i];
    table.layers[i].letter = static_cast<std::uint8_t>(letters[i]);
    std::snprintf(table.layers[i].name, sizeof table.layers[i].name, "L%d", i);
  }
  auto block = std::make_unique<SelectLayerBlock>();
  PrepareSelectLayerBlock(block.get(), table, 1, 0);
  return block;
}

TEST(SelectLayerDialog, ListsActiveEnabledLayersAndTakesATypedKeyLetter) {
  static int rows = 0;
  static int chosenAfterRefused = -1;
  auto block = KeyedLayers();
  pl3::SetDialogHook("SELECTLAYERDLG", [](HWND d) {
    HWND list = GetDlgItem(d, kSelectLayerList);
    rows = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    SendMessageA(list, WM_CHAR, 'c', 0);  // layer 2's letter, but it is not enabled
    SendMessageA(list, WM_CHAR, 'e', 0);  // layer 3's, not active
    chosenAfterRefused = reinterpret_cast<SelectLayerBlock*>(GetWindowLongPtr(d, GWLP_USERDATA))->chosenLayer;
    SendMessageA(list, WM_CHAR, 'd', 0);  // layer 4: closes the dialog
  });
  EXPECT_EQ(ShowSelectLayerDialog(nullptr, block.get()), 1);
  EXPECT_EQ(rows, 2) << "only layers 1 and 4 are listed";
  EXPECT_EQ(chosenAfterRefused, 1) << "letters of layers not listed pick nothing";
  EXPECT_EQ(block->chosenLayer, 4);
  // Cancel leaves the block's choice as it came.
  block->chosenLayer = 1;
  pl3::SetDialogHook("SELECTLAYERDLG", [](HWND d) { pl3::ClickDialogButton(d, IDCANCEL); });
  EXPECT_EQ(ShowSelectLayerDialog(nullptr, block.get()), 0);
  EXPECT_EQ(block->chosenLayer, 1);
  pl3::ClearDialogHooks();
}

TEST(SelectLayerDialog, RowsShowTheirLayerAndDropKeyLettersThatAreNotLettersOrDigits) {
  auto block = KeyedLayers();
  block->table.layers[1].letter = '#';
  RowCanvas canvas;
  DRAWITEMSTRUCT item = canvas.Item(1, ODS_SELECTED);
  DrawLayerListItem(nullptr, kLayerListHeader, &item, block.get());
  EXPECT_EQ(block->table.layers[1].letter, 0) << "cleared while drawing";
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  EXPECT_EQ(GetPixel(canvas.dc, 399, 1), highlight) << "a selected row on the highlight colour";
  item = canvas.Item(4, 0);
  DrawLayerListItem(nullptr, kLayerListHeader, &item, block.get());
  EXPECT_EQ(block->table.layers[4].letter, 'D') << "a letter stays";
  EXPECT_EQ(GetPixel(canvas.dc, 399, 1), GetSysColor(COLOR_WINDOW));
  EXPECT_STREQ(LayerKindName(2), "Copper");
  EXPECT_STREQ(LayerKindName(10), "Board Outline");
  EXPECT_STREQ(LayerKindName(11), "Undefined");
}

std::vector<TestHeaderColumn> LayerHeaderColumns(HWND dialog) {
  return TestHeaderColumns(GetDlgItem(dialog, kLayerListHeader));
}

// The first column of the row (x) where the colour stroke of layer 4 is
// drawn, in the dialog's present columns; -1 when none is.
int StrokeStart(HWND dialog, SelectLayerBlock* block) {
  RowCanvas canvas;
  const DRAWITEMSTRUCT item = canvas.Item(4, 0);
  DrawLayerListItem(dialog, kLayerListHeader, &item, block);
  for (int x = 0; x < 400; ++x)
    if (GetPixel(canvas.dc, x, 8) == RGB(0, 0, 0)) return x;
  return -1;
}

TEST(SelectLayerDialog, HeaderColumnsComeFromTheListWidthThenFromTheWidthsDragged) {
  static std::vector<TestHeaderColumn> first, second;
  static int listWidth = 0;
  static int strokeBefore = -1, strokeAfter = -1;
  auto block = KeyedLayers();
  block->table.layers[4].name[0] = 0;  // no text beside the stroke
  pl3::SetDialogHook("SELECTLAYERDLG", [](HWND d) {
    RECT list{};
    GetWindowRect(GetDlgItem(d, kSelectLayerList), &list);
    listWidth = list.right - list.left;
    first = LayerHeaderColumns(d);
    auto* b = reinterpret_cast<SelectLayerBlock*>(GetWindowLongPtr(d, GWLP_USERDATA));
    strokeBefore = StrokeStart(d, b);
    HDITEM name{};
    name.mask = HDI_WIDTH;
    name.cxy = first.empty() ? 0 : first[0].width + 30;  // the user widens the Name column
    SendDlgItemMessage(d, kLayerListHeader, HDM_SETITEM, 0, reinterpret_cast<LPARAM>(&name));
    strokeAfter = StrokeStart(d, b);
    pl3::ClickDialogButton(d, IDCANCEL);
  });
  ShowSelectLayerDialog(nullptr, block.get());
  const auto w = [](float f) { return static_cast<int>(static_cast<float>(listWidth) * f); };
  ASSERT_GT(listWidth, 100);
  EXPECT_EQ(first, (std::vector<TestHeaderColumn>{{"Name", w(0.2f)},
                                              {"Colour", w(0.15f)},
                                              {"Type", w(0.2f)},
                                              {"Next", w(0.2f)},
                                              {"Active", w(0.15f)},
                                              {"Key", w(1.0f)}}));
  EXPECT_EQ(strokeBefore, w(0.2f)) << "the stroke (its round end included) starts at the Colour column";
  EXPECT_EQ(strokeAfter, w(0.2f) + 30) << "and moves with its divider";
  // The dragged width is remembered for the run and written at close.
  ColumnWidthEntry* set = *ColumnWidthSet(kSelectLayerColumnSet);
  ASSERT_NE(set, nullptr);
  EXPECT_EQ(set[0].width, w(0.2f) + 30);
  char* saved = GetRegistryString("Initialisation\\DefaultLayerHeader");
  ASSERT_NE(saved, nullptr);
  EXPECT_EQ(std::atoi(saved), w(0.2f) + 30) << saved;
  std::free(saved);
  // The next opening shows the remembered widths; Configure Layers keeps its own set.
  pl3::SetDialogHook("SELECTLAYERDLG", [](HWND d) {
    second = LayerHeaderColumns(d);
    pl3::ClickDialogButton(d, IDCANCEL);
  });
  ShowSelectLayerDialog(nullptr, block.get());
  ASSERT_EQ(second.size(), 6u);
  EXPECT_EQ(second[0].width, w(0.2f) + 30);
  EXPECT_EQ(second[1].width, w(0.15f));
  EXPECT_EQ(*ColumnWidthSet(kAdvancedLayerColumnSet), nullptr);
  pl3::ClearDialogHooks();
}

// ---- Set Size ------------------------------------------------------------------

// Lines 3 entries, Holes 3, Vias 2, Fonts 4 (the second the default): the
// row count tells which list is shown.
const char kSetSizeLists[] =
    "[Lines]\r\n\"0.1\" \"mm\" \"\" \"Y\" \"\"\r\n\"0.2\" \"mm\" \"\" \"Y\" \"\"\r\n\"0.3\" \"mm\" \"\" \"Y\" \"\"\r\n"
    "[Holes]\r\n\"1\" \"mm\" \"\" \"Y\" \"\"\r\n\"2\" \"mm\" \"\" \"Y\" \"\"\r\n\"3\" \"mm\" \"\" \"Y\" \"\"\r\n"
    "[Vias]\r\n\"0.3\" \"0.7\" \"mm\" \"\" \"Y\" \"\"\r\n\"0.4\" \"0.8\" \"mm\" \"\" \"Y\" \"\"\r\n"
    "[Fonts]\r\n\"8\"\t\t\t\"\"\t\"Y\"\t\"\"\r\n\"10\"\t\t\t\"\"\t\"D\"\t\"\"\r\n"
    "\"12\"\t\t\t\"\"\t\"Y\"\t\"\"\r\n\"16\"\t\t\t\"\"\t\"Y\"\t\"\"\r\n";

class SetSize : public KeyCommands {
 protected:
  void SetUp() override {
    KeyCommands::SetUp();
    window->sizeTable = ParseSizeText(kSetSizeLists, sizeof kSetSizeLists - 1).release();
    dialogs = 0;
    rows = 0;
  }
  void TearDown() override {
    pl3::ClearDialogHooks();
    window->sizeTable = FreeSizeTable(window->sizeTable);
    KeyCommands::TearDown();
  }
  // Picks the row (or presses Cancel for -1).
  static void Pick(int row) {
    static int wanted;
    wanted = row;
    pl3::SetDialogHook("SELECTSIZEDLG", [](HWND d) {
      ++dialogs;
      rows = static_cast<int>(SendDlgItemMessageA(d, kSelectSizeList, LB_GETCOUNT, 0, 0));
      preset = static_cast<int>(SendDlgItemMessageA(d, kSelectSizeList, LB_GETCURSEL, 0, 0));
      if (wanted < 0) {
        pl3::ClickDialogButton(d, IDCANCEL);
        return;
      }
      pl3::PickDialogListItem(d, kSelectSizeList, wanted);
      pl3::ClickDialogButton(d, IDOK);
    });
  }
  void Press() { SetCurrentItemSize(nullptr, window.get(), window.get()); }
  static inline int dialogs = 0;
  static inline int rows = 0;
  static inline int preset = -1;
};

TEST_F(SetSize, TheItemInHandTakesTheChosenIndex) {
  EntityRecord* track = Pending(Type_Track, 1);
  track->head().sizeFlags = kSizeCustom;
  track->head().sizeIndex = 123456;  // an explicit width
  Pick(2);
  Press();
  EXPECT_EQ(dialogs, 1);
  EXPECT_EQ(rows, 3);
  EXPECT_EQ(track->head().sizeIndex, 2u);
  EXPECT_EQ(track->head().sizeFlags, kSizeByIndex) << "given by index, no longer custom";
  Pick(-1);
  Press();
  EXPECT_EQ(dialogs, 2);
  EXPECT_EQ(track->head().sizeIndex, 2u) << "Cancel changes nothing";
  EXPECT_EQ(Recorded().Count("wire"), 0);
}

TEST_F(SetSize, AHoleChoosesFromTheViaListWhenItHasViaSizes) {
  EntityRecord* hole = Pending(Type_Hole, 7);
  hole->head().sizeFlags = kSizeByIndex;
  Pick(1);
  Press();
  EXPECT_EQ(rows, 3) << "the hole list";
  EXPECT_EQ(hole->head().sizeIndex, 1u);
  hole->payload[offsetof(pl3::HoleLayout, flags)] |= kHoleIsVia;
  Pick(0);
  Press();
  EXPECT_EQ(rows, 2) << "the via list";
  EXPECT_EQ(hole->head().sizeIndex, 0u);
}

TEST_F(SetSize, ALocatorBeingPlacedTakesAFontSize) {
  // Mode 110 holds the locator in hand; a custom size presets the default row.
  EntityRecord* locator = Pending(Type_AttributeLocator, 110);
  locator->head().sizeFlags = kSizeCustom;
  locator->head().sizeIndex = 777777;
  Pick(3);
  Press();
  EXPECT_EQ(rows, 4) << "the fonts list";
  EXPECT_EQ(preset, 1) << "the list's default for a custom size";
  EXPECT_EQ(locator->head().sizeIndex, 3u);
  EXPECT_EQ(locator->head().sizeFlags, kSizeByIndex);
  Pick(-1);
  Press();
  EXPECT_EQ(preset, 3) << "an indexed size presets its own row";
  EXPECT_EQ(locator->head().sizeIndex, 3u) << "Cancel changes nothing";
  EXPECT_EQ(Recorded().Count("wire"), 0);

  // Mode 33 places a designator made as a temporary item of the design.
  delete window->PendingRecord;
  window->PendingRecord = nullptr;
  window->EditMode = 33;
  LocatorPayload designator{};
  designator.head.sizeFlags = kSizeByIndex;
  designator.head.sizeIndex = 2;
  window->TemporaryEntity = InsertEntity(design, sizeof designator, Type_AttributeLocator, &designator);
  Pick(0);
  Press();
  EXPECT_EQ(preset, 2);
  const auto* stored = reinterpret_cast<const LocatorPayload*>(EntityPayload(TowerEntity(window->TemporaryEntity)));
  EXPECT_EQ(stored->head.sizeIndex, 0u);
  EXPECT_EQ(dialogs, 3);
  ReleaseTower(&window->TemporaryEntity);
}

TEST_F(SetSize, ADimensionerLabelBeingPlacedTakesAFontSize) {
  for (std::uint8_t mode : {78, 82}) {
    EntityRecord* d = Pending(Type_Dimensioner, mode);
    auto& label = d->as<DimensionerPayload>();
    label.textSizeIndex = 1;
    label.flags = 0;
    Pick(2);
    Press();
    EXPECT_EQ(rows, 4) << "mode " << int{mode};
    EXPECT_EQ(preset, 1) << "mode " << int{mode};
    EXPECT_EQ(label.textSizeIndex, 2u) << "mode " << int{mode};
    EXPECT_EQ(label.flags & kDimensionerTextByIndex, kDimensionerTextByIndex) << "mode " << int{mode};
    Pick(-1);
    Press();
    EXPECT_EQ(label.textSizeIndex, 2u) << "Cancel changes nothing";
    delete window->PendingRecord;
    window->PendingRecord = nullptr;
  }
  EXPECT_EQ(dialogs, 4);
}

TEST_F(SetSize, BoardOutlinesAndIdleWindowsAreLeftAlone) {
  EntityRecord* outline = Pending(Type_Track, 1);
  outline->header.state = kStateBoardOutline;
  outline->head().sizeIndex = 1;
  Pick(2);
  Press();
  window->EditMode = 0;
  Press();
  EXPECT_EQ(dialogs, 0);
  EXPECT_EQ(outline->head().sizeIndex, 1u);
  EXPECT_EQ(Recorded().names, std::vector<std::string>{}) << "a PCB window starts no wire";
}

TEST_F(SetSize, ASchematicWithNothingToSizeStartsAWire) {
  window->editorKind = kEditorSchematic;
  Pick(2);
  Press();
  EXPECT_EQ(dialogs, 0);
  EXPECT_EQ(Recorded().names, (std::vector<std::string>{"wire tool", "wire"}));
  window->editorKind = kEditorPackage;
  Press();
  EXPECT_EQ(Recorded().Count("wire"), 1) << "no other kind of window";
}

TEST_F(SetSize, TheSelectionIsSizedBetweenGhosts) {
  window->EditMode = 39;
  Select(Type_Track, 0);
  Press();
  EXPECT_EQ(Recorded().names, (std::vector<std::string>{"validate 2", "ghost", "perform 2", "ghost"}));
}

}  // namespace
