#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/core_utilities.h"
#include "app/editor_window_services.h"
#include "edit/edit_modes.h"
#include "edit/engine_seams.h"
#include "objects/editor_seams.h"
#include "edit/mouse_road.h"
#include "edit/window_data.h"
#include "geometry/raster_state.h"
#include "objects/graphic_records.h"
#include "objects/polygon_entry.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "platform/reset_hooks.h"
#include "platform/responder.h"
#include "platform/scroll.h"
#include "platform/user.h"
#include "store/tower.h"
#include "tests/app/pending_fakes.h"

// Recording fakes of the tools, the views and the frame services.
namespace {
std::vector<std::string> gCalls;
std::vector<GhostKind> gGhosts;
std::vector<std::uint8_t> gGhostAssist;  // AngleAssist seen by each ghost update
std::vector<int> gPrintZoneEnables;
std::vector<std::uint8_t> gModes;         // the mode handed to the mode-keyed seams
void ResetFakes() {
  gCalls.clear();
  gGhosts.clear();
  gGhostAssist.clear();
  gPrintZoneEnables.clear();
  gModes.clear();
}
const bool gRegistered = pl3::RegisterGlobalReset(&ResetFakes);
void Note(const char* name) { gCalls.emplace_back(name); }
int Count(const char* name) { return static_cast<int>(std::count(gCalls.begin(), gCalls.end(), name)); }
}  // namespace

void UpdateModeGhost(GhostKind kind, HDC, ButtonRecord*, EntityRecord**) {
  gGhosts.push_back(kind);
  gGhostAssist.push_back(ActiveWindowData->AngleAssist);
}
void CommitModeItem(std::uint8_t mode, HWND, ButtonRecord*, EntityRecord**) {
  Note("CommitModeItem");
  gModes.push_back(mode);
}
void RunPickingTool(std::uint8_t mode, HWND, ButtonRecord*, EntityRecord**) {
  Note("RunPickingTool");
  gModes.push_back(mode);
}
void RunHighlightTool(std::uint8_t mode, HWND, ButtonRecord*) {
  Note("RunHighlightTool");
  gModes.push_back(mode);
}
void ShowSchematicNetAtCursor() { Note("ShowSchematicNetAtCursor"); }
void SetPlaneNetAtPoint(HWND, ButtonRecord*) { Note("SetPlaneNetAtPoint"); }
int AcceptGraphicRecord(HWND, EntityRecord**) {
  Note("AcceptGraphicRecord");
  return 1;
}
void GhostCurrentMode(HWND) { Note("GhostCurrentMode"); }
void CentreViewOnCursor(HWND) { Note("CentreViewOnCursor"); }
void ClearToolMode(HWND) { Note("ClearToolMode"); }
void ClearSelectionArray(HWND) { Note("ClearSelectionArray"); }
void DoSelect(HWND, ButtonRecord*, EntityRecord**) { Note("DoSelect"); }
void BeginInsertion(HWND, ButtonRecord*, EntityRecord**) { Note("BeginInsertion"); }
void DoDelete(HWND, ButtonRecord*, EntityRecord**) { Note("DoDelete"); }
void SetPolygonPoint(HWND, ButtonRecord*, EntityRecord**) { Note("SetPolygonPoint"); }
void AddSelectedPolygonPoint(HWND, ButtonRecord*) { Note("AddSelectedPolygonPoint"); }
int AcceptPolygonEntry(HWND, EntityRecord*) {
  Note("AcceptPolygonEntry");
  return 1;
}
void CopyAtCursor(HWND, ButtonRecord*) { Note("CopyAtCursor"); }
void PackageSymbolAtCursor(HWND, ButtonRecord*, EntityRecord**) { Note("PackageSymbolAtCursor"); }
void PlaceFromSchematic(HWND, ButtonRecord*) { Note("PlaceFromSchematic"); }
void EditAtCursor(HWND, ButtonRecord*) { Note("EditAtCursor"); }
int GotoPadCentre(HWND, ButtonRecord*) {
  Note("GotoPadCentre");
  return 0;
}
void SetEditCursor(std::uint32_t) { Note("SetEditCursor"); }
void MoveCrosshair(HWND, CrosshairRecord*, std::int32_t, std::int32_t) {}
void RebuildSelectionMenu(HWND) { Note("RebuildSelectionMenu"); }
void BeginMeasure(HWND, ButtonRecord*) { Note("BeginMeasure"); }
void ShowMeasuringTooltip(HWND) { Note("ShowMeasuringTooltip"); }
void SetMeasureTool(HWND) { Note("SetMeasureTool"); }
void EnablePrintZoneCommand(int enable) { gPrintZoneEnables.push_back(enable); }
void WriteEngineConsoleLine(const char*) {}
std::uint32_t CurrentCrosshairSetting() { return 0; }

void SnapXY(std::int32_t*, std::int32_t*, int) {}
void SnapXYFine(std::int32_t*, std::int32_t*) {}
int IsItemAttachedToCursor() { return 0; }
void SetCursorToPoint(void*, pl3::Point) {}
void CentreViewOnPoint(void*, pl3::Point) { Note("CentreViewOnPoint"); }
int UpdateStatusBar(void*) { return 0; }
void RedrawView(void*) { Note("RedrawView"); }
void RedrawViewRect(void*, const pl3::Box*, int) {}
void HandleRawMouseRecord(void*, const MouseRecord&) {}
void DoScroll(void*, std::uint32_t, std::uint32_t) { Note("DoScroll"); }

namespace {

constexpr std::int32_t kOrigin = 200000;  // view pixels: world = (origin + pixel) * zoom
constexpr std::uint32_t kZoom = 1000;

LRESULT CALLBACK EditorProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (RouteEditorMouseMessage(hwnd, message, wParam, lParam)) return 0;
  return DefWindowProcA(hwnd, message, wParam, lParam);
}
LRESULT CALLBACK FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kButtonHoldTimer) {
    OnButtonHoldTimer();
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND gEditor = nullptr;

// A frame and an editor window whose active block maps client pixel p to
// world (200,000 + p) x 1,000.
class MouseRoad : public testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA frame{};
    frame.lpfnWndProc = &FrameProc;
    frame.lpszClassName = "MouseRoadFrame";
    RegisterClassA(&frame);
    WNDCLASSA editor{};
    editor.lpfnWndProc = &EditorProc;
    editor.lpszClassName = "MouseRoadEditor";
    RegisterClassA(&editor);
    FrameWindow = CreateWindowExA(0, "MouseRoadFrame", "", WS_OVERLAPPEDWINDOW, 0, 0, 600, 500, nullptr, nullptr,
                                  nullptr, nullptr);
    gEditor = CreateWindowExA(0, "MouseRoadEditor", "", WS_CHILD | WS_VISIBLE, 0, 0, 400, 300, FrameWindow, nullptr,
                              nullptr, nullptr);
    ASSERT_NE(gEditor, nullptr);
    block_ = std::make_unique<CurrentWindowData>(kEditorPcb);
    block_->Window = gEditor;
    block_->Zoom = kZoom;
    block_->ViewOriginX = block_->ViewOriginY = kOrigin;
    block_->MouseWorld = block_->Cursor = {kOrigin * 1000, kOrigin * 1000};
    block_->DisplayedCursor = block_->Cursor;
    ActiveWindowData = block_.get();
  }
  void TearDown() override {
    if (design_) DeleteEntity(design_);
    ReleaseTower(&design_);
    DestroyWindow(gEditor);
    DestroyWindow(FrameWindow);
    FrameWindow = nullptr;
    ActiveWindowData = nullptr;
    pl3::g_raster.view = nullptr;
  }
  static void Send(UINT message, int x, int y) { SendMessageA(gEditor, message, 0, MAKEPOINTLPARAM(x, y)); }
  // A left press at one point and its release at another, moving between.
  static void Drag(int x0, int y0, int x1, int y1) {
    Send(WM_MOUSEMOVE, x0, y0);
    Send(WM_LBUTTONDOWN, x0, y0);
    Send(WM_MOUSEMOVE, x1, y1);
    Send(WM_LBUTTONUP, x1, y1);
  }
  Tower* MakeDesign() {
    design_ = NewTower(0);
    LastLevel(design_).typeCode = Type_PCB;
    InsertAtLastLevel(design_, 0);
    block_->design = design_;
    return design_;
  }

  std::unique_ptr<CurrentWindowData> block_;
  Tower* design_ = nullptr;
};

TEST(ButtonActions, ReadTimeRuleMapsOnlyTheRefusedCodes) {
  for (std::uint32_t code = 0; code <= 9; ++code) {
    ButtonActionSet set{code, code, code, 250};
    ApplyButtonActionRule(set);
    const std::uint32_t idle = (code == 2 || code == 4 || code == 7) ? 3 : code;
    const std::uint32_t other = (code == 5 || code == 6 || code == 7) ? 2 : code;
    EXPECT_EQ(set.idle, idle) << code;
    EXPECT_EQ(set.otherModes, other) << code;
    EXPECT_EQ(set.polygonModes, code);
  }
  EXPECT_EQ(LeftButtonActions.idle, 5u);
  EXPECT_EQ(LeftButtonActions.otherModes, 4u);
  EXPECT_EQ(LeftButtonActions.polygonModes, 8u);
  EXPECT_EQ(RightButtonActions.idle, 1u);
  EXPECT_EQ(RightButtonActions.otherModes, 2u);
  EXPECT_EQ(RightButtonActions.polygonModes, 9u);
  EXPECT_EQ(RightButtonActions.holdTime, 250u);
}

TEST(EditModes, NamesAndStatusTexts) {
  ASSERT_NE(FindEditMode(Mode_StartInsert), nullptr);
  EXPECT_STREQ(FindEditMode(83)->name, "Mode_StartInsert");
  EXPECT_EQ(FindEditMode(83)->statusText, nullptr);
  EXPECT_STREQ(FindEditMode(88)->statusText, "Find Complimentary");
  EXPECT_STREQ(FindEditMode(61)->statusText, "Add New Centroid");
  EXPECT_EQ(FindEditMode(4), nullptr);
  EXPECT_EQ(FindEditMode(89), nullptr);
}

TEST_F(MouseRoad, ReleaseWithoutPressIsIgnored) {
  Send(WM_LBUTTONUP, 10, 10);
  EXPECT_TRUE(gCalls.empty());
}

TEST_F(MouseRoad, PressWithTheDropMessageWaitingIsIgnored) {
  PostMessageA(gEditor, kDropButtonPressMessage, 0, 0);
  Send(WM_LBUTTONDOWN, 10, 10);
  EXPECT_EQ(ButtonDownFlag, 0);
  EXPECT_EQ(block_->DragFlags & kDragActive, 0);
  Send(WM_LBUTTONUP, 10, 10);
  EXPECT_TRUE(gCalls.empty());
}

TEST_F(MouseRoad, SmallDragIsAClickAndALargerOneSelectsByRectangle) {
  block_->ClickState = 0;
  Drag(100, 100, 106, 100);  // 6 pixels = 6 x Zoom: still a click
  EXPECT_EQ(Count("BeginInsertion"), 1);
  EXPECT_EQ(Count("DoSelect"), 0);
  EXPECT_EQ(block_->DragFlags & (kDragActive | kDragPrintZone), 0);
  gCalls.clear();
  Drag(100, 100, 107, 100);
  EXPECT_EQ(Count("BeginInsertion"), 0);
  EXPECT_EQ(Count("DoSelect"), 1);
  EXPECT_EQ(Count("ClearSelectionArray"), 1);
}

TEST_F(MouseRoad, ClickStateChoosesWhatAnIdleClickDoes) {
  const struct {
    std::uint32_t clickState;
    const char* call;
  } cases[] = {{0, "BeginInsertion"}, {1, "DoSelect"}, {3, "CopyAtCursor"}, {4, "PackageSymbolAtCursor"},
               {5, "PlaceFromSchematic"}};
  for (const auto& c : cases) {
    gCalls.clear();
    block_->ClickState = c.clickState;
    Drag(50, 50, 50, 50);
    EXPECT_EQ(Count(c.call), 1) << c.clickState;
    EXPECT_EQ(Count("SetEditCursor"), c.clickState == 0 ? 1 : 0) << c.clickState;
  }
}

TEST_F(MouseRoad, RightClickBeforeTheHoldTimeCentresTheView) {
  Send(WM_RBUTTONDOWN, 20, 20);
  EXPECT_EQ(block_->ButtonFlags & kButtonHoldTimerRuns, kButtonHoldTimerRuns);
  pl3::AdvanceTestClock(200);
  pl3::PumpMessages();
  Send(WM_RBUTTONUP, 20, 20);
  EXPECT_EQ(Count("CentreViewOnCursor"), 1);
  EXPECT_EQ(Count("GhostCurrentMode"), 2);  // erased before, drawn again after
  EXPECT_EQ(block_->ButtonFlags, 0);
  pl3::AdvanceTestClock(500);
  pl3::PumpMessages();
  EXPECT_EQ(pendingfakes::Recorded().Count("ShowHoldMenu"), 0);
}

void ReleaseWhileMenuIsOpen() {
  EXPECT_EQ(ActiveWindowData->ButtonFlags & kButtonHoldMenuOpen, kButtonHoldMenuOpen);
  SendMessageA(gEditor, WM_RBUTTONUP, 0, 0);
  // A second press inside the menu cannot start another timer.
  SendMessageA(gEditor, WM_RBUTTONDOWN, 0, 0);
  EXPECT_EQ(ActiveWindowData->ButtonFlags & kButtonHoldTimerRuns, 0);
}

TEST_F(MouseRoad, RightButtonHeldOpensTheHoldMenuAndItsReleaseDoesNothing) {
  SetCursorPos(30, 40);
  Send(WM_RBUTTONDOWN, 20, 20);
  SetCursorPos(200, 220);
  pendingfakes::Recorded().duringHoldMenu = &ReleaseWhileMenuIsOpen;
  pl3::AdvanceTestClock(260);
  pl3::PumpMessages();
  EXPECT_EQ(pendingfakes::Recorded().Count("ShowHoldMenu"), 1);
  EXPECT_EQ(Count("CentreViewOnCursor"), 0);
  EXPECT_EQ(block_->ButtonFlags, 0);
  POINT at{};
  GetCursorPos(&at);
  EXPECT_EQ(at.x, 30);  // back where the button was pressed
  EXPECT_EQ(at.y, 40);
  EXPECT_TRUE(pl3::ResponderRecords().empty());
}

TEST_F(MouseRoad, HoldMenuThatCannotShowSaysSo) {
  pendingfakes::Recorded().holdMenuResult = 0;
  Send(WM_RBUTTONDOWN, 20, 20);
  pl3::AdvanceTestClock(300);
  pl3::PumpMessages();
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "Menu Failed");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "DoRButtonMenu");
}

TEST_F(MouseRoad, RightReleaseActsByMode) {
  const struct {
    std::uint8_t mode;
    const char* call;
  } cases[] = {{0, "CentreViewOnCursor"}, {1, "CancelCurrentOperation"}, {13, "AcceptCurrentEdit"}};
  for (const auto& c : cases) {
    gCalls.clear();
    pendingfakes::Recorded() = pendingfakes::Calls{};
    block_->EditMode = c.mode;
    Send(WM_RBUTTONDOWN, 20, 20);
    Send(WM_RBUTTONUP, 20, 20);
    if (c.mode == 1) {
      EXPECT_EQ(pendingfakes::Recorded().operations.size(), 1u);
    } else if (c.mode == 13) {
      // Polygon action with no pending record: accept, which the tool commits.
      EXPECT_EQ(Count("CommitModeItem"), 1);
    } else {
      EXPECT_EQ(Count(c.call), 1);
    }
  }
}

TEST_F(MouseRoad, AcceptInIdleDoesNothing) {
  block_->ClickState = 1;
  AcceptCurrentEdit(gEditor, &block_->Button, &block_->PendingRecord);
  PerformMouseAction(Action_Accept, gEditor, &block_->Button, &block_->PendingRecord);
  EXPECT_TRUE(gCalls.empty());
  EXPECT_TRUE(pendingfakes::Recorded().operations.empty());
}

TEST_F(MouseRoad, AcceptRowsReachTheirHandlers) {
  const struct {
    std::uint8_t mode;
    const char* call;
  } cases[] = {{1, "CommitModeItem"},    {24, "CommitModeItem"}, {113, "CommitModeItem"},
               {37, "CentreViewOnPoint"}, {6, "AcceptGraphicRecord"}, {47, "AcceptGraphicRecord"}};
  for (const auto& c : cases) {
    gCalls.clear();
    gModes.clear();
    block_->EditMode = c.mode;
    AcceptCurrentEdit(gEditor, &block_->Button, &block_->PendingRecord);
    EXPECT_EQ(Count(c.call), 1) << int{c.mode};
    if (std::string(c.call) == "CommitModeItem") {
      EXPECT_EQ(gModes.at(0), c.mode);
    }
  }
}

TEST_F(MouseRoad, StartInsertDragMeasuresAndClickInserts) {
  block_->EditMode = Mode_StartInsert;
  block_->ClickState = 0;
  Drag(100, 100, 100, 150);  // a press in an armed mode starts no rectangle
  EXPECT_EQ(Count("BeginMeasure"), 0);
  EXPECT_EQ(Count("BeginInsertion"), 1);
  gCalls.clear();
  // The rectangle the tolerance looks at is the one left by an idle press.
  block_->EditMode = Mode_Idle;
  Send(WM_MOUSEMOVE, 100, 100);
  Send(WM_LBUTTONDOWN, 100, 100);
  block_->EditMode = Mode_StartInsert;
  Send(WM_MOUSEMOVE, 100, 150);
  Send(WM_LBUTTONUP, 100, 150);
  EXPECT_EQ(Count("BeginMeasure"), 1);
  EXPECT_EQ(Count("ShowMeasuringTooltip"), 1);
  EXPECT_EQ(Count("SetMeasureTool"), 1);
  EXPECT_EQ(Count("BeginInsertion"), 0);
}

TEST_F(MouseRoad, PrintZoneOfZeroWidthIsCleared) {
  Tower* design = MakeDesign();
  const pl3::Box old{1, 2, 3, 4};
  Tower* t = InsertEntity(design, sizeof old, kPrintZoneRecord, &old);
  ReleaseTower(&t);
  block_->EditMode = Mode_SetPrintZone;
  Drag(100, 100, 100, 150);
  EXPECT_EQ(block_->PrintZone.xmin, -1);
  EXPECT_EQ(block_->PrintZone.ymin, -1);
  EXPECT_EQ(block_->PrintZone.xmax, -1);
  EXPECT_EQ(block_->PrintZone.ymax, -1);
  EXPECT_EQ(GetEntityData(design, kPrintZoneRecord), nullptr);
  EXPECT_EQ(gPrintZoneEnables, std::vector<int>{0});
  EXPECT_EQ(pendingfakes::Recorded().operations.size(), 1u);  // the tool ends
}

TEST_F(MouseRoad, PrintZoneDragStoresOrderedCorners) {
  Tower* design = MakeDesign();
  block_->EditMode = Mode_SetPrintZone;
  Drag(150, 160, 100, 120);
  const auto* zone = static_cast<const pl3::Box*>(GetEntityData(design, kPrintZoneRecord));
  ASSERT_NE(zone, nullptr);
  EXPECT_EQ(zone->xmin, (kOrigin + 100) * 1000);
  EXPECT_EQ(zone->ymin, (kOrigin + 120) * 1000);
  EXPECT_EQ(zone->xmax, (kOrigin + 150) * 1000);
  EXPECT_EQ(zone->ymax, (kOrigin + 160) * 1000);
  EXPECT_EQ(block_->PrintZone.xmin, zone->xmin);
  EXPECT_EQ(gPrintZoneEnables, std::vector<int>{1});
  Tower* child = GetChildTower(design, kPrintZoneRecord);
  int n = 0;
  while (FindNextEntity(child)) ++n;
  ReleaseTower(&child);
  EXPECT_EQ(n, 1);
}

TEST_F(MouseRoad, ZoomToRectangleIsTruncatedAndHeldInItsLimits) {
  RECT client{};
  GetClientRect(gEditor, &client);
  ASSERT_EQ(client.right, 400);
  const struct {
    pl3::Point start, current;
    std::uint32_t zoom;
  } cases[] = {
      {{300000000, 300000000}, {300799999, 300100000}, 1999},  // width rules: 799,999 / 400, truncated
      {{300000000, 300000000}, {300100000, 300600000}, 2000},  // height rules: 600,000 / 300
      {{300000000, 300000000}, {300000100, 300000000}, 500},   // nearly nothing: the closest zoom
      {{200000000, 200000000}, {1800000000, 200000000}, 1024000},
  };
  for (const auto& c : cases) {
    block_->DragStart = c.start;
    block_->DragCurrent = c.current;
    ZoomToDragRectangle(gEditor);
    EXPECT_EQ(block_->Zoom, c.zoom);
    EXPECT_EQ(pl3::g_raster.viewFactor, 4294967295u / c.zoom);
    EXPECT_EQ(block_->Cursor.x, static_cast<std::int32_t>((std::int64_t{c.start.x} + c.current.x) / 2));
  }
}

TEST_F(MouseRoad, MouseMoveUpdatesTheModesGhost) {
  block_->EditMode = Mode_AddNewTrack;
  Send(WM_MOUSEMOVE, 10, 10);
  ASSERT_EQ(gGhosts.size(), 1u);
  EXPECT_EQ(gGhosts[0], GhostKind::RubberBandLine);
  EXPECT_EQ(gGhostAssist[0], 2);
  EXPECT_EQ(block_->Cursor.x, (kOrigin + 10) * 1000);

  block_->EditMode = Mode_NewSymbol;  // angle assist off while the insertion ghost draws
  Send(WM_MOUSEMOVE, 12, 10);
  ASSERT_EQ(gGhosts.size(), 2u);
  EXPECT_EQ(gGhosts[1], GhostKind::InsertionArray);
  EXPECT_EQ(gGhostAssist[1], 0);
  EXPECT_EQ(block_->AngleAssist, 2);

  block_->EditMode = Mode_EditSelection;  // the selection follows only a moved cursor
  Send(WM_MOUSEMOVE, 12, 10);
  EXPECT_EQ(gGhosts.size(), 2u);
  Send(WM_MOUSEMOVE, 13, 10);
  EXPECT_EQ(gGhosts.size(), 3u);

  SuppressGhostUpdates = 1;
  Send(WM_MOUSEMOVE, 20, 10);
  EXPECT_EQ(gGhosts.size(), 3u);
  EXPECT_EQ(DrawingDepth, 0);
}

TEST(GhostTable, ModesReachTheirUpdaters) {
  const struct {
    std::uint8_t mode;
    GhostKind kind;
  } cases[] = {{4, GhostKind::PolygonEdge},    {17, GhostKind::PolygonEdge},   {9, GhostKind::DragShape},
               {23, GhostKind::DragShape},     {7, GhostKind::DragStep},       {27, GhostKind::InsertionArray},
               {42, GhostKind::PadNameMoving}, {110, GhostKind::TemporaryEntity}, {85, GhostKind::OriginMarker},
               {70, GhostKind::SelectionMove}, {60, GhostKind::Centroid},      {67, GhostKind::Spiral},
               {74, GhostKind::Locator},       {82, GhostKind::Dimensioner},   {86, GhostKind::Datum},
               {87, GhostKind::MeasuringLine}, {111, GhostKind::NetEditing},   {113, GhostKind::MacroBlock},
               {0, GhostKind::None},           {83, GhostKind::None},          {105, GhostKind::None}};
  for (const auto& c : cases) EXPECT_EQ(GhostKindOfMode(c.mode), c.kind) << int{c.mode};
}

TEST_F(MouseRoad, ActionCodesAboveNineBeginAnInsertion) {
  const struct {
    std::uint32_t action;
    const char* call;
  } cases[] = {{10, "BeginInsertion"}, {200, "BeginInsertion"}, {7, "DoDelete"}, {8, "SetPolygonPoint"}};
  for (const auto& c : cases) {
    gCalls.clear();
    PerformMouseAction(c.action, gEditor, &block_->Button, &block_->PendingRecord);
    EXPECT_EQ(Count(c.call), 1) << c.action;
  }
}

TEST_F(MouseRoad, FinishingAPolygonNeedsThreePoints) {
  auto record = NewEntityRecord();
  record->header.recordType = 4;
  EntityRecord* pending = record.get();
  block_->EditMode = Mode_AddNewPolygon;
  record->as<PolygonHead>().count = 2;
  PerformMouseAction(Action_FinishPolygon, gEditor, &block_->Button, &pending);
  EXPECT_EQ(pendingfakes::Recorded().operations.size(), 1u);
  EXPECT_EQ(Count("AcceptPolygonEntry"), 0);
  record->as<PolygonHead>().count = 3;
  PerformMouseAction(Action_FinishPolygon, gEditor, &block_->Button, &pending);
  EXPECT_EQ(Count("AcceptPolygonEntry"), 1);
  // The Accept Polygon command: the same finish, or a cancel for other items.
  FinishOrCancel(gEditor, &block_->Button, &pending);
  EXPECT_EQ(Count("AcceptPolygonEntry"), 2);
  record->header.recordType = 1;
  FinishOrCancel(gEditor, &block_->Button, &pending);
  EXPECT_EQ(Count("AcceptPolygonEntry"), 2);
  EXPECT_EQ(pendingfakes::Recorded().operations.size(), 2u);
}

TEST_F(MouseRoad, PickingAndHighlightToolsGetTheClick) {
  const struct {
    std::uint8_t mode;
    const char* call;
    bool endsTool;
  } cases[] = {{53, "RunPickingTool", false},   {73, "SetPlaneNetAtPoint", true}, {58, "DoDelete", true},
               {57, "CopyAtCursor", true},      {56, "EditAtCursor", true},   {62, "RunHighlightTool", false},
               {114, "RunHighlightTool", false}, {31, "CommitModeItem", false}};
  for (const auto& c : cases) {
    gCalls.clear();
    block_->EditMode = c.mode;
    Drag(40, 40, 40, 40);
    EXPECT_EQ(Count(c.call), 1) << int{c.mode};
    EXPECT_EQ(Count("ClearToolMode"), c.endsTool ? 1 : 0) << int{c.mode};
  }
  // Outside PCB windows the net highlight is the schematic's.
  const std::uint32_t kind = block_->editorKind;
  for (const std::uint32_t k : {kEditorPcb, kEditorSchematic}) {
    gCalls.clear();
    block_->editorKind = k;
    block_->EditMode = Mode_HighlightNet;
    Drag(40, 40, 40, 40);
    EXPECT_EQ(Count("RunHighlightTool"), k == kEditorPcb ? 1 : 0) << k;
    EXPECT_EQ(Count("ShowSchematicNetAtCursor"), k == kEditorPcb ? 0 : 1) << k;
  }
  block_->editorKind = kind;
  gCalls.clear();
  block_->EditMode = Mode_CentreOnPad;  // no pad there: a beep
  const int beeps = pl3::BeepCount();
  Drag(40, 40, 40, 40);
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
}

TEST_F(MouseRoad, ScrollAndMiddleButtonAreRouted) {
  SendMessageA(gEditor, WM_VSCROLL, SB_LINEDOWN, 0);
  Send(WM_MBUTTONUP, 5, 5);
  EXPECT_EQ(Count("DoScroll"), 1);
  EXPECT_EQ(Count("CentreViewOnCursor"), 1);
}

}  // namespace

namespace {

TEST_F(MouseRoad, CursorWorldPositionKeepsALockedAxis) {
  POINT screen{30, 40};
  ClientToScreen(gEditor, &screen);
  SetCursorPos(screen.x, screen.y);
  GetCursorWorldPosition(gEditor);
  EXPECT_EQ(block_->MousePixel.x, 30);
  EXPECT_EQ(block_->MouseWorld.x, (kOrigin + 30) * 1000);
  EXPECT_EQ(block_->Cursor.y, (kOrigin + 40) * 1000);

  block_->AxisLock = 1;  // x locked: only y follows
  screen = {70, 90};
  ClientToScreen(gEditor, &screen);
  SetCursorPos(screen.x, screen.y);
  GetCursorWorldPosition(gEditor);
  EXPECT_EQ(block_->MousePixel.x, 30);
  EXPECT_EQ(block_->Cursor.x, (kOrigin + 30) * 1000);
  EXPECT_EQ(block_->Cursor.y, (kOrigin + 90) * 1000);

  // Beyond 32 bits the world point keeps its low word.
  block_->AxisLock = 0;
  block_->ViewOriginX = 5000000;
  GetCursorWorldPosition(gEditor);
  const std::uint64_t product = std::uint64_t{5000070} * 1000;
  EXPECT_EQ(block_->Cursor.x, static_cast<std::int32_t>(static_cast<std::uint32_t>(product)));
}

TEST(Entropy, EveryMessageChangesThePool) {
  std::uint32_t before[8];
  std::memcpy(before, EntropyPool, sizeof before);
  AddEntropyFromMessage(WM_MOUSEMOVE, 0x00100020, 0);
  EXPECT_NE(std::memcmp(before, EntropyPool, sizeof before), 0);
  std::memcpy(before, EntropyPool, sizeof before);
  AddEntropyFromMessage(WM_MOUSEMOVE, 0x00100020, 0);
  EXPECT_NE(std::memcmp(before, EntropyPool, sizeof before), 0);
}

}  // namespace
