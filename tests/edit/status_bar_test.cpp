#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "edit/edit_modes.h"
#include "edit/status_bar.h"
#include "edit/status_seams.h"
#include "edit/window_data.h"
#include "objects/graphic_records.h"
#include "objects/grid_sets.h"
#include "objects/size_table.h"
#include "objects/attribute_services.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "platform/commctrl.h"
#include "platform/user.h"
#include "store/tower.h"
#include "tests/support/test_windows.h"

// The frame's status bar is a real control made by the test; the panes and
// the netlist values are recorded or answered here.
namespace {
HWND gStatusBar = nullptr;
struct PaneCall {
  std::uint32_t pane;
  UINT message;
  WPARAM wParam;
};
std::vector<PaneCall> gPaneCalls;
}  // namespace

HWND FrameStatusBar() { return gStatusBar; }
LRESULT Docking_SendToPaneClient(std::uint32_t pane, UINT message, WPARAM wParam, LPARAM) {
  gPaneCalls.push_back({pane, message, wParam});
  return 0;
}
// The view never scrolls or centres here: faked so that the status texts do
// not link the scrolling code and the mouse handling behind it.
void DoScroll(void*, std::uint32_t, std::uint32_t) {}
void CentreViewOnPoint(void*, pl3::Point) {}
const char* GetImportedSymbolValue(const Tower*, const char* name) {
  if (std::strcmp(name, "NAME") == 0) return "NE555";
  return nullptr;  // no VALUE
}

namespace {

std::string Inches(std::int32_t v) {
  char b[kLengthTextSize];
  FormatInches(b, v);
  return b;
}
std::string Millimetres(std::int32_t v) {
  char b[kLengthTextSize];
  FormatMillimetres(b, v);
  return b;
}

TEST(StatusFormatting, InchesAndMillimetresRoundHalfUpAndPad) {
  EXPECT_EQ(Inches(-18288), "-0.0005");
  EXPECT_EQ(Inches(0), "0.0000");
  EXPECT_EQ(Inches(43891), "0.0012");
  EXPECT_EQ(Inches(36576000 + 2 * 3657600 + 3 * 365760 + 4 * 36576 + 5 * 3658), "1.2345");
  EXPECT_EQ(Inches(1828), "0.0000");  // 0.4998 tenths
  EXPECT_EQ(Inches(1829), "0.0001");  // 0.5001 tenths: half up
  EXPECT_EQ(Inches(-1829), "-0.0001");
  EXPECT_EQ(Inches(-36576000), "-1.0000");
  EXPECT_EQ(Millimetres(0), "0.00");
  EXPECT_EQ(Millimetres(72000), "0.05");
  EXPECT_EQ(Millimetres(7199), "0.00");
  EXPECT_EQ(Millimetres(7200), "0.01");
  EXPECT_EQ(Millimetres(-1440000), "-1.00");
  EXPECT_EQ(Millimetres(INT32_MIN), "-1491.31");
}

TEST(StatusFormatting, SizeValuesLoseTrailingZeros) {
  char b[48];
  EXPECT_EQ(*FormatSizeValue(b, 14400000, 2), '0');
  EXPECT_STREQ(b, "10");
  FormatSizeValue(b, 3600000, 2);
  EXPECT_STREQ(b, "2.5");
  FormatSizeValue(b, 4572, 0);
  EXPECT_STREQ(b, "0.125");
  const char* last = FormatSizeValue(b, 36576000, 1);
  EXPECT_STREQ(b, "1");
  EXPECT_EQ(last, b);
}

// An active window with a status bar, a size table and a selection source.
class StatusBarTest : public ::testing::Test {
 protected:
  HWND parent = nullptr;
  CurrentWindowData block{kEditorPcb};
  std::unique_ptr<SizeTable> sizes = NewSizeTable();
  std::vector<SelectionInfo> records;
  static inline std::vector<StatusItem> items;
  static inline std::vector<StatusSymbol> symbols;

  void SetUp() override {
    parent = MakeTestParentWindow("StatusParent");
    gStatusBar = CreateStatusWindowA(WS_CHILD | WS_VISIBLE, "", parent, 1);
    ASSERT_NE(gStatusBar, nullptr);
    gPaneCalls.clear();
    items.clear();
    symbols.clear();
    DisplayUnitsCode = 2;
    block.sizeTable = sizes.get();
    ActiveWindowData = &block;
    StatusSources.readSelection = [](const SelectionInfo* s, StatusItem* out) {
      *out = items[static_cast<std::size_t>(s->grabPoint.x)];
      return 1;
    };
    StatusSources.readSymbol = [](const Tower* t, StatusSymbol* out) {
      *out = symbols[reinterpret_cast<std::uintptr_t>(t) - 1];
      return 1;
    };
  }
  void TearDown() override {
    block.sizeTable = nullptr;
    block.SelectionList = nullptr;
    ActiveWindowData = nullptr;
    DestroyWindow(parent);
    gStatusBar = nullptr;
  }
  // Selection records for the items (each record names its item by index).
  void Select(std::vector<StatusItem> selected) {
    items = std::move(selected);
    records.assign(items.size(), SelectionInfo{});
    for (std::size_t i = 0; i < records.size(); ++i) {
      records[i].grabPoint.x = static_cast<std::int32_t>(i);
      records[i].next = i + 1 < records.size() ? &records[i + 1] : nullptr;
    }
    block.SelectionList = records.empty() ? nullptr : records.data();
  }
  std::string Part(int part) {
    char text[kStatusTextSize] = "";
    SendMessageA(gStatusBar, SB_GETTEXT, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text));
    return text;
  }
  std::vector<int> Parts() {
    int edges[8] = {};
    const auto n = static_cast<int>(SendMessageA(gStatusBar, SB_GETPARTS, 8, reinterpret_cast<LPARAM>(edges)));
    return std::vector<int>(edges, edges + n);
  }
  std::string Selection() {
    char text[kStatusTextSize];
    SelectionText(block, text);
    return text;
  }
  std::string Mode() {
    char text[kStatusTextSize];
    ModeText(block, text);
    return text;
  }
  void AddSize(std::uint32_t kind, const char* name, std::int32_t v1, std::int32_t v2, std::uint8_t unit) {
    SizeEntry e{};
    e.unit = unit;
    e.value1 = v1;
    e.value2 = v2;
    SetSizeEntryName(e, name);
    (*sizes)[kind].entries.push_back(e);
  }
};

StatusItem Item(std::uint16_t type, std::uint32_t sizeIndex = 0, std::int32_t layer = -1) {
  StatusItem i{};
  i.type = type;
  i.sized = 1;
  i.sizeIndex = sizeIndex;
  i.layer = layer;
  return i;
}

TEST_F(StatusBarTest, PartsAndIconByKind) {
  for (const std::uint32_t kind : {1u, 2u, 4u, 8u}) {
    SetStatusBarLayout(kind);
    EXPECT_EQ(Parts(), (std::vector<int>{300, 450, 750, -1})) << kind;
    EXPECT_NE(SendMessageA(gStatusBar, SB_GETICON, 0, 0), 0) << kind;
  }
  for (const std::uint32_t kind : {16u, 32u}) {
    SetStatusBarLayout(kind);
    EXPECT_EQ(Parts(), (std::vector<int>{300, 700, -1})) << kind;
    EXPECT_NE(SendMessageA(gStatusBar, SB_GETICON, 0, 0), 0);
  }
  for (const std::uint32_t kind : {64u, 128u, 256u}) {  // package, 3D, contour views
    SetStatusBarLayout(kind);
    EXPECT_EQ(Parts(), std::vector<int>{-1});
    EXPECT_EQ(SendMessageA(gStatusBar, SB_GETICON, 0, 0), 0);
    EXPECT_EQ(Part(0), "");
  }
}

TEST_F(StatusBarTest, UpdateFillsThePartsAndTellsTheInfoPane) {
  SetStatusBarLayout(kEditorPcb);
  block.Grids = BuildDefaultGridSet();
  block.CoordinateOrigin = {1000000000, 1000000000};
  block.DisplayedCursor = {1000000000 + 1440000, 1000000000 + 720000};
  block.AxisLock = 2;
  block.RoutingLayer = 3;
  block.layerTable.layers[3].flags = 2;
  std::strcpy(block.layerTable.layers[3].name, "Inner 1");
  block.EditMode = Mode_AddNewTrack;
  UpdateStatusBar(nullptr);
  EXPECT_EQ(Part(0), "1.00,-0.50L mm (1 mm)");
  EXPECT_EQ(Part(1), "Inner 1");
  EXPECT_EQ(Part(3), "Add New Track");
  ASSERT_EQ(gPaneCalls.size(), 1u);
  EXPECT_EQ(gPaneCalls[0].pane, Pane_Info);
  EXPECT_EQ(gPaneCalls[0].message, 1030u);
  EXPECT_EQ(gPaneCalls[0].wParam, reinterpret_cast<WPARAM>(&block));

  // Imperial units; a layer not in use shows nothing; a schematic shows three parts.
  DisplayUnitsCode = 1;
  block.layerTable.layers[3].flags = 0;
  block.editorKind = kEditorSchematic;
  SetStatusBarLayout(kEditorSchematic);
  UpdateStatusBar(nullptr);
  EXPECT_EQ(Part(0), "0.0394,-0.0197L Inch (1 mm)");
  EXPECT_EQ(Part(2), "Add New Line");
  ShowLayerName(1);
  EXPECT_EQ(Part(1), "");

  // A polar grid names its step angle, ring spacing and unit.
  auto* set = static_cast<GridSet*>(block.Grids);
  GridEntry polar{};
  polar.kind = kGridPolar;
  polar.unit = kGridUnitMm;
  polar.ringSpacing = 2.0;
  polar.angleStyle = kAngleEveryFraction;
  polar.angleValue = 10.0;
  set->current = polar;
  ShowCursorPosition(0);
  EXPECT_EQ(Part(0), "0.0394,-0.0197L Inch (36\xB0, 2 mm)");
  std::free(block.Grids);
  block.Grids = nullptr;
}

TEST_F(StatusBarTest, SizesAndSelections) {
  AddSize(SizeKind_Lines, "Signal", 182880, 0, 0);  // a half width of 5 thou
  AddSize(SizeKind_Lines, "", 360000, 0, 2);
  AddSize(SizeKind_Vias, "V1", 864000, 1440000, 2);
  AddSize(SizeKind_Rectangles, "", 36576000, 18288000, 1);
  AddSize(SizeKind_Fonts, "Big", 24, 0, kSizeUnitNone);
  block.EditMode = Mode_EditSelection;
  struct Case {
    std::vector<StatusItem> selected;
    std::string expected;
  };
  StatusItem imported = Item(1);
  imported.importedSize = 1;
  StatusItem locator = Item(20, 0);
  locator.locatorKind = 3;
  StatusItem unsized = Item(6);
  unsized.sized = 0;
  const Case cases[] = {
      {{}, ""},
      {{Item(1, 0)}, "Track Signal (10 Thou)"},
      {{Item(2, 1)}, "Arced Track 0.5 mm"},
      {{imported}, "Track (Imported Size)"},
      {{Item(17, 0)}, "Via V1 (0.6 mm hole 1 mm copper)"},
      {{Item(6, 0)}, "Rectangle 1 Inch * 0.5 Inch"},
      {{Item(5, 0)}, "Text Big (24)"},
      {{locator}, "Net Name Big (24)"},
      {{Item(44)}, "Component Placement Outline"},
      {{Item(17, 0), Item(17, 0)}, "2 Vias Selected (V1 (0.6 mm hole 1 mm copper))"},
      {{Item(2, 1), Item(2, 1), Item(2, 1)}, "3 Arcs Selected 0.5 mm"},
      {{Item(29, 0), Item(29, 1)}, "2 Bus Selected"},
      {{Item(1, 0), Item(1, 0)}, "2 Tracks Selected (Signal (10 Thou))"},
      {{Item(21), Item(21)}, "2 Angle Dimensioner Selected"},
      {{Item(1, 0), Item(17, 0)}, "2 Items Selected"},
      {{Item(kStatusPin)}, "1 Pin Selected"},
      {{Item(kStatusPin), Item(kStatusPin)}, "2 Pins Selected"},
      {{Item(kStatusSchematicSymbol), Item(kStatusSchematicSymbol)}, "2 Schematic Symbols Selected"},
  };
  for (const Case& c : cases) {
    Select(c.selected);
    EXPECT_EQ(Selection(), c.expected);
  }
  block.editorKind = kEditorSchematicSymbol;
  Select({Item(1, 1)});
  EXPECT_EQ(Selection(), "Line 0.5 mm");
  Select({unsized});
  EXPECT_EQ(Selection(), "Rectangle ");
}

TEST_F(StatusBarTest, SymbolsShowTheirDesignatorsAndNetlistValues) {
  block.EditMode = Mode_EditSelection;
  symbols = {{"U1", 0, 0}, {"U2", 0, 1}, {"R7", 0, 0}, {"C3", 0, 0}, {"Q9", 0, 0}, {"M1", 1, 0}};
  std::vector<StatusItem> five;
  for (std::uintptr_t i = 1; i <= 5; ++i) {
    StatusItem s = Item(kStatusSymbolInstance);
    s.tower = reinterpret_cast<const Tower*>(i);
    five.push_back(s);
  }
  Select(five);
  EXPECT_EQ(Selection(), "5 Symbols Selected (U1, U2, R7,...)");
  five.resize(3);
  Select(five);
  EXPECT_EQ(Selection(), "3 Symbols Selected (U1, U2, R7)");

  // One symbol: looked up in the netlist of the design.
  Tower* design = NewTower(0);
  LastLevel(design).typeCode = Type_PCB;
  InsertAtLastLevel(design, 0);
  Tower* group = InsertEmptyEntity(design, Type_NetHierGroup);
  block.design = design;
  // The netlist knows U1 and U2, not R7.
  for (const char* designator : {"U1", "U2"}) {
    Tower* symbol = InsertEntity(group, 0, Type_ImportedSymbol, nullptr);
    Tower* name = InsertEntity(symbol, static_cast<std::uint32_t>(std::strlen(designator) + 1),
                               Type_ImportedDesignator, designator);
    ReleaseTower(&name);
    ReleaseTower(&symbol);
  }
  char text[kStatusTextSize];
  DescribeSymbolText(text, reinterpret_cast<const Tower*>(1), kStatusSymbolInstance);
  EXPECT_STREQ(text, "U1 (NE555, ??VALUE?" "?)");
  DescribeSymbolText(text, reinterpret_cast<const Tower*>(2), kStatusSymbolDefinition);
  EXPECT_STREQ(text, "U2 (NE555, ??VALUE??, Mirrored)");
  DescribeSymbolText(text, reinterpret_cast<const Tower*>(3), kStatusSymbolInstance);
  EXPECT_STREQ(text, "Unknown Symbol");
  DescribeSymbolText(text, reinterpret_cast<const Tower*>(6), kStatusSymbolInstance);
  EXPECT_STREQ(text, "Mechanical Symbol");
  DescribeSymbolText(text, reinterpret_cast<const Tower*>(1), Type_Track);
  EXPECT_STREQ(text, "Unknown Symbol");
  block.design = nullptr;
  ReleaseTower(&group);
  DeleteEntity(design);
  ReleaseTower(&design);
}

TEST_F(StatusBarTest, ModeTextFollowsItsRules) {
  auto pending = NewEntityRecord();
  struct Case {
    std::uint8_t mode;
    std::uint32_t kind;
    std::uint16_t recordType;  // 0: no pending record
    std::uint8_t state;
    std::uint8_t holeFlags;
    std::string expected;
  };
  const Case cases[] = {
      {Mode_AddNewTrack, kEditorPcb, 1, 0, 0, "Add New Track"},
      {Mode_AddNewTrack, kEditorSchematic, 1, 0, 0, "Add New Line"},
      {Mode_ContinueTrack, kEditorPcb, 1, kStateThermalBreak, 0, "Add New Thermal Break"},
      {Mode_AddNewTrack, kEditorPcb, 1, kStateLinkedCut, 0, "Add New Linked Cut"},
      {Mode_AddNewPolygon, kEditorPcb, 4, 0, 0, "Add New Polygon"},
      {Mode_AddNewPolygon, kEditorPcb, 4, kStatePlaneCutout, 0, "Add New Poly Cut"},
      {Mode_AddNewPolygon, kEditorPcb, 4, kStatePlane, 0, "Add New Poly Plane"},
      {Mode_AddNewPolygon, kEditorPcb, 42, kStateKeepout, 0, "Add New Via Keepout Polygon"},
      {Mode_AddNewPolygon, kEditorPcb, 45, kStateKeepout, 0, "Add New Component Body Outline"},
      {Mode_AddNewVia, kEditorPcb, 7, 0, 8, "Add New Via"},
      {Mode_AddNewViaB, kEditorPcb, 7, 0, 4, "Add New Plated Through Hole"},
      {Mode_AddNewVia, kEditorPcb, 7, 0, 0, "Add New Unplated Hole"},
      {Mode_AddNewVia, kEditorPcb, 0, 0, 0, "Add New Hole"},
      {Mode_JoinTrack, kEditorPcb, 0, 0, 0, "Join Track"},
      {Mode_BreakTrack, kEditorSchematic, 0, 0, 0, "Break Line"},
      {Mode_SetPrintZone, kEditorPcb, 0, 0, 0, "Set starting position for print zone"},
      {Mode_ZoomIn, kEditorPcb, 0, 0, 0, "Zoom In"},
      {Mode_Idle, kEditorPcb, 0, 0, 0, ""},
  };
  for (const Case& c : cases) {
    block.EditMode = c.mode;
    block.editorKind = c.kind;
    block.PendingRecord = nullptr;
    if (c.recordType) {
      *pending = EntityRecord{};
      pending->header.recordType = c.recordType;
      pending->header.state = c.state;
      pending->as<HolePayload>().hole.flags = c.holeFlags;
      block.PendingRecord = pending.get();
    }
    EXPECT_EQ(Mode(), c.expected) << int{c.mode};
  }
  block.PendingRecord = nullptr;
  block.editorKind = kEditorPcb;

  // Edit Selection by the grabbed part, the assist and the record count.
  block.EditMode = Mode_EditSelection;
  Select({Item(1)});
  const std::pair<std::uint16_t, const char*> grabbed[] = {
      {0, "Edit Selection - Move Mode"}, {3, "Edit Selection - Edit Radius Mode"},
      {7, "EditSelection - Fixed"},      {15, "EditSelection - Edit Dimensioner Text"},
      {11, "EditSelection - Edit Net Name Locator"}, {1, "Edit Selection (45 Degree Assist)"}};
  StatusSources.grabbedLocatorKind = [](const SelectionInfo*) { return 3; };
  block.SubMode = 2;
  for (const auto& [part, text] : grabbed) {
    records[0].grabbedPart = part;
    EXPECT_EQ(Mode(), text);
  }
  Select({Item(1), Item(1)});
  EXPECT_EQ(Mode(), "Edit Selection - Move Mode");
  records[0].grabbedPart = 4;
  block.SubMode = 1;
  EXPECT_EQ(Mode(), "Edit Selection (90 Degree Assist)");

  block.EditMode = Mode_AddNewLocator;
  block.InsertLocatorKind = 17;
  EXPECT_EQ(Mode(), "Add New Display Global Net Locator");
  block.EditMode = Mode_PositionLocator;
  block.InsertLocatorKind = 4;
  EXPECT_EQ(Mode(), "Position Pin Name Locator");

  DisplayUnitsCode = 0;
  block.EditMode = Mode_Measure;
  StatusSources.readMeasurement = [](StatusMeasurement* m) {
    *m = {36576000, -18288, 36576000 * 2, 3.14159265358979 / 4};
    return 1;
  };
  EXPECT_EQ(Mode(), "Distance - 2.0000 Inch, Angle - 45.00 degrees");
  EXPECT_EQ(Selection(), "Difference : x - 1.0000 Inch, y - -0.0005 Inch");
  block.EditMode = Mode_SetPrintZone;
  block.DragFlags = kDragPrintZone;
  block.PrintZone = {36576000, 0, 0, 18288000};
  EXPECT_EQ(Mode(), "Set print zone (1.0000 Inch, 0.5000 Inch)");
  block.EditMode = Mode_RadiusCorner;
  StatusSources.readCornerRadius = [](double* r, int* metric) {
    *r = 0.25;
    *metric = 1;
    return 1;
  };
  EXPECT_EQ(Mode(), "Radius Corner (0.25 mm)");
  block.ViewOnlyHighlighted = 1;
  EXPECT_EQ(Mode(), "Radius Corner (0.25 mm) (Viewing only highlighted)");
}

TEST_F(StatusBarTest, PendingItemsAndTextSizes) {
  AddSize(SizeKind_Holes, "Drill", 720000, 0, 2);
  AddSize(SizeKind_Fonts, "", 12, 0, kSizeUnitNone);
  auto pending = NewEntityRecord();
  pending->header.recordType = 7;
  pending->head().sizeFlags = kSizeByIndex;
  block.PendingRecord = pending.get();
  block.EditMode = Mode_AddNewVia;
  EXPECT_EQ(Selection(), "Hole Drill (1 mm)");
  StatusSources.pendingImportedSize = [](const CurrentWindowData&) { return 1; };
  EXPECT_EQ(Selection(), "Hole (Imported Size)");
  block.PendingRecord = nullptr;

  block.EditMode = Mode_PlaceDesignator;
  static StatusTextSize size;
  StatusSources.readPendingTextSize = [](const CurrentWindowData&, StatusTextSize* out) {
    *out = size;
    return 1;
  };
  const std::pair<StatusTextSize, const char*> sizes[] = {
      {{StatusTextSizeKind::Custom, 0, 0}, "Custom Size"},
      {{StatusTextSizeKind::ImportedDesignator, 9, 0}, "Imported designator size - 9 points."},
      {{StatusTextSizeKind::ImportedText, 11, 0}, "Imported text size - 11 points."},
      {{StatusTextSizeKind::UserDefined, 0, 0}, "User Defined Size"},
      {{StatusTextSizeKind::Table, 0, 0}, "Text 12"},
  };
  for (const auto& [s, text] : sizes) {
    size = s;
    EXPECT_EQ(Selection(), text);
  }
  block.EditMode = Mode_NewPin;
  EXPECT_EQ(Selection(), "1 Pin Selected");
}

}  // namespace
