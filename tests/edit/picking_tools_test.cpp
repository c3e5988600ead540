#include "edit/picking_tools.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "edit/corner_command.h"
#include "edit/edit_modes.h"
#include "edit/engine_seams.h"
#include "edit/picking_tool_seams.h"
#include "edit/symbol_fixing.h"
#include "edit/track_tools.h"
#include "edit/window_data.h"
#include "objects/editor_seams.h"

// ---- The tools' own work, recorded --------------------------------------------------------------------

namespace {
std::vector<std::string> gCalls;
void Note(const std::string& call) { gCalls.push_back(call); }
}  // namespace

void SetEditCursor(std::uint32_t kind) { Note("cursor " + std::to_string(kind)); }
void DrawCrosshair(HWND, const CrosshairRecord*) { Note("crosshair"); }
void CopyAtCursor(HWND, ButtonRecord*) { Note("CopyAtCursor"); }
void PackageSymbolAtCursor(HWND, ButtonRecord*, EntityRecord**) { Note("PackageSymbolAtCursor"); }
void PlaceFromSchematic(HWND, ButtonRecord*) { Note("PlaceFromSchematic"); }
void FixClosestSymbol(HWND, ButtonRecord*) { Note("FixClosestSymbol"); }
void UnfixClosestSymbol(HWND, ButtonRecord*) { Note("UnfixClosestSymbol"); }
void JoinLines(HWND) { Note("JoinLines"); }
void SplitLine(HWND) { Note("SplitLine"); }
void InsertTrackFromPad(HWND, ButtonRecord*, EntityRecord**) { Note("InsertTrackFromPad"); }
void ContinueTrack(HWND, ButtonRecord*, EntityRecord**) { Note("ContinueTrack"); }
void DoCornerCommand(HWND) { Note("DoCornerCommand"); }
void CheckSelectedNet(HWND, ButtonRecord*) { Note("CheckSelectedNet"); }
void FindComplementaryAtCursor(HWND, EntityRecord**, ButtonRecord*) { Note("FindComplementaryAtCursor"); }
void ShowHideRatsnestNode(HWND, ButtonRecord*, int show) { Note("ShowHideRatsnestNode " + std::to_string(show)); }
void ShowHideRatsnestBySymbol(HWND, ButtonRecord*, int show) {
  Note("ShowHideRatsnestBySymbol " + std::to_string(show));
}
void PinSwapAtCursor(HWND, ButtonRecord*) { Note("PinSwapAtCursor"); }
void SchematicPinSwapAtCursor(HWND, ButtonRecord*) { Note("SchematicPinSwapAtCursor"); }
void EditSymbolInstanceAttributes(HWND, ButtonRecord*) { Note("EditSymbolInstanceAttributes"); }
void EditPackageInstanceAttributes(HWND, ButtonRecord*) { Note("EditPackageInstanceAttributes"); }
void EditPackageGlobalNets(HWND, ButtonRecord*) { Note("EditPackageGlobalNets"); }
void ModifyPreRoutes(HWND, ButtonRecord*) { Note("ModifyPreRoutes"); }
void TogglePlaneFlag() { Note("TogglePlaneFlag"); }

namespace {

class PickingTools : public testing::Test {
 protected:
  void SetUp() override {
    gCalls.clear();
    window = std::make_unique<CurrentWindowData>(kEditorPcb);
    ActiveWindowData = window.get();
  }
  void TearDown() override { ActiveWindowData = nullptr; }
  std::unique_ptr<CurrentWindowData> window;
};

struct ToolCase {
  void (*arm)(HWND);
  std::uint8_t mode;
  std::uint8_t partner;  // 0: idle only
  std::uint32_t cursor;
};

const ToolCase kTools[] = {
    {&SetHighlightNetTool, 62, 63, 24},       {&SetHighlightDestinationTool, 63, 62, 24},
    {&SetTraceLengthTool, 114, 0, 24},        {&SetJoinTool, 53, 54, 20},
    {&SetBreakTool, 54, 53, 21},              {&SetRadiusCornerTool, 112, 0, 41},
    {&SetAssignPlaneNetTool, 73, 0, 9},       {&SetCheckRouteTool, 72, 0, 18},
    {&SetCopyTool, 57, 0, 6},                 {&SetCentreOnPadTool, 55, 0, 22},
    {&SetPackageSymbolTool, 84, 0, 26},       {&SetPackageInGateTool, 102, 0, 26},
    {&SetPlaceFromSchematicTool, 90, 0, 31},  {&SetTrackFromPadTool, 91, 52, 7},
    {&SetTrackFromEndTool, 96, 52, 7},        {&SetShowNetByNodeTool, 92, 0, 32},
    {&SetHideNetByNodeTool, 93, 0, 33},       {&SetShowNetBySymbolTool, 94, 0, 32},
    {&SetHideNetBySymbolTool, 95, 0, 33},     {&SetFixSymbolTool, 44, 52, 5},
    {&SetUnfixSymbolTool, 52, 44, 19},        {&SetFindComplementaryTool, 88, 0, 30},
};

TEST_F(PickingTools, EachToolArmsItsModeAndCursorFromIdleOrItsPartner) {
  for (const ToolCase& c : kTools) {
    SCOPED_TRACE(static_cast<int>(c.mode));
    for (std::uint8_t from : {std::uint8_t{0}, c.partner}) {
      gCalls.clear();
      window->EditMode = from;
      window->ClickState = 0;
      c.arm(nullptr);
      EXPECT_EQ(window->EditMode, c.mode);
      ASSERT_FALSE(gCalls.empty());
      EXPECT_EQ(gCalls.back(), "cursor " + std::to_string(c.cursor));
      EXPECT_EQ(window->ClickState, c.mode == Mode_PlaceFromSchematic ? 5u : 0u);
      if (!c.partner) break;
    }
    // Another mode is left alone.
    gCalls.clear();
    window->EditMode = Mode_EditSelection;
    c.arm(nullptr);
    EXPECT_EQ(window->EditMode, Mode_EditSelection);
    for (const std::string& call : gCalls) EXPECT_EQ(call.rfind("cursor", 0), std::string::npos) << call;
  }
}

TEST_F(PickingTools, CentreOnPadErasesTheCrosshairFirst) {
  SetCentreOnPadTool(nullptr);
  EXPECT_EQ(gCalls, (std::vector<std::string>{"crosshair", "cursor 22"}));
}

TEST_F(PickingTools, CopyAndPackageActAtOnceWhenAModeIsActive) {
  const struct {
    void (*arm)(HWND);
    const char* call;
  } cases[] = {{&SetCopyTool, "CopyAtCursor"},
               {&SetPackageSymbolTool, "PackageSymbolAtCursor"},
               {&SetPackageInGateTool, "PackageSymbolAtCursor"},
               {&SetJoinTool, nullptr}};
  for (const auto& c : cases) {
    gCalls.clear();
    window->EditMode = Mode_EditSelection;
    c.arm(nullptr);
    EXPECT_EQ(window->EditMode, Mode_EditSelection);
    EXPECT_EQ(gCalls, c.call ? std::vector<std::string>{c.call} : std::vector<std::string>{});
  }
}

TEST_F(PickingTools, TheClickGoesToEachModesTool) {
  const struct {
    std::uint8_t mode;
    std::uint32_t kind;
    const char* call;
  } cases[] = {
      {44, kEditorPcb, "FixClosestSymbol"},
      {52, kEditorPcb, "UnfixClosestSymbol"},
      {53, kEditorPcb, "JoinLines"},
      {54, kEditorPcb, "SplitLine"},
      {72, kEditorPcb, "CheckSelectedNet"},
      {84, kEditorSchematic, "PackageSymbolAtCursor"},
      {102, kEditorSchematic, "PackageSymbolAtCursor"},
      {88, kEditorPcb, "FindComplementaryAtCursor"},
      {88, kEditorSchematic, "FindComplementaryAtCursor"},
      {88, kEditorPcbSymbol, nullptr},
      {90, kEditorPcb, "PlaceFromSchematic"},
      {91, kEditorPcb, "InsertTrackFromPad"},
      {96, kEditorPcb, "ContinueTrack"},
      {92, kEditorPcb, "ShowHideRatsnestNode 1"},
      {93, kEditorPcb, "ShowHideRatsnestNode 0"},
      {94, kEditorPcb, "ShowHideRatsnestBySymbol 1"},
      {95, kEditorPcb, "ShowHideRatsnestBySymbol 0"},
      {97, kEditorPcb, "PinSwapAtCursor"},
      {97, kEditorSchematic, "SchematicPinSwapAtCursor"},
      {99, kEditorSchematic, "EditSymbolInstanceAttributes"},
      {100, kEditorSchematic, "EditPackageInstanceAttributes"},
      {101, kEditorSchematic, "EditPackageGlobalNets"},
      {106, kEditorPcb, "ModifyPreRoutes"},
      {112, kEditorPcb, "DoCornerCommand"},
      {47, kEditorPcb, "TogglePlaneFlag"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.mode));
    gCalls.clear();
    window->editorKind = c.kind;
    window->EditMode = c.mode;
    RunPickingTool(c.mode, nullptr, &window->Button, &window->PendingRecord);
    EXPECT_EQ(gCalls, c.call ? std::vector<std::string>{c.call} : std::vector<std::string>{});
  }
}

}  // namespace
