#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "draw/crosshair.h"
#include "objects/display_list_seams.h"
#include "objects/designators.h"
#include "objects/type_codes.h"
#include "platform/mdi.h"
#include "platform/resources.h"
#include "platform/surface.h"
#include "platform/user.h"
#include "store/filing_seams.h"
#include "store/tower.h"
#include "tests/support/test_windows.h"

// The display list is built elsewhere: record what the designator bits do to it.
namespace {
std::vector<std::string> gDisplayCalls;
}
void* RemoveFromDisplayList(void* list, const Tower*) {
  gDisplayCalls.push_back("remove");
  return list;
}
void PutEntityOnDisplayList(void*, const Tower*) { gDisplayCalls.push_back("put"); }

namespace {

// A window whose framebuffer shows the crosshair, with the active block.
class CrosshairTest : public ::testing::Test {
 protected:
  HWND window = nullptr;
  CurrentWindowData block;
  void SetUp() override {
    window = MakeTestParentWindow("CrosshairView");
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOW);
    pl3::PumpMessages();
    ActiveWindowData = &block;
    block.Window = window;
  }
  void TearDown() override {
    ActiveWindowData = nullptr;
    DestroyWindow(window);
  }
  std::vector<std::uint32_t> Pixels() {
    const pl3::PixelSurface* s = pl3::WindowSurface(window);
    std::vector<std::uint32_t> out;
    for (int y = 0; y < s->height; ++y)
      for (int x = 0; x < s->width; ++x) out.push_back(s->pixels[static_cast<std::size_t>(y) * s->stride + x]);
    return out;
  }
  // The client pixel (x, y) differs from white.
  bool Drawn(int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    RECT w{};
    GetWindowRect(window, &w);
    const pl3::PixelSurface* s = pl3::WindowSurface(window);
    return (s->pixels[static_cast<std::size_t>(p.y - w.top) * s->stride + (p.x - w.left)] & 0xFFFFFF) != 0xFFFFFF;
  }
};

TEST_F(CrosshairTest, MovingDrawsAtTheNewPlaceAndErasesTheOld) {
  const auto blank = Pixels();
  // The lines show at the record's position once drawn there (as a paint does).
  block.CrosshairPos = {10, 10};
  DrawCrosshair(window, &block.Crosshair);
  const auto atStart = Pixels();
  EXPECT_NE(atStart, blank);
  MoveCrosshair(window, &block.Crosshair, 10, 10);  // the same position: nothing
  EXPECT_EQ(Pixels(), atStart);
  MoveCrosshair(window, &block.Crosshair, 40, 30);
  EXPECT_FALSE(Drawn(100, 10));
  EXPECT_EQ(block.CrosshairPos.x, 40);
  EXPECT_TRUE(Drawn(100, 30));
  EXPECT_TRUE(Drawn(40, 100));
  EXPECT_FALSE(Drawn(100, 31));
  MoveCrosshair(window, &block.Crosshair, 60, 50);
  EXPECT_FALSE(Drawn(100, 30));
  EXPECT_TRUE(Drawn(100, 50));
  const auto shown = Pixels();
  DrawCrosshair(window, &block.Crosshair);
  EXPECT_EQ(Pixels(), blank);  // drawn twice, the window is as before
  DrawCrosshair(window, &block.Crosshair);
  EXPECT_EQ(Pixels(), shown);
}

TEST_F(CrosshairTest, ZoomModesAndTargetCursorsDrawNoLines) {
  const auto blank = Pixels();
  for (const std::uint8_t mode : {35, 36, 37, 55}) {
    block.EditMode = mode;
    MoveCrosshair(window, &block.Crosshair, 40, 30);
    DrawCrosshair(window, &block.Crosshair);
    EXPECT_EQ(Pixels(), blank);
    EXPECT_EQ(block.CrosshairPos.x, 0);
  }
  block.EditMode = 0;
  block.CrosshairWord = 1;
  MoveCrosshair(window, &block.Crosshair, 40, 30);
  EXPECT_EQ(Pixels(), blank);
  EXPECT_EQ(block.CrosshairPos.x, 0);  // not updated while the style is 1
}

TEST_F(CrosshairTest, CursorKindsLoadTheirNamedCursors) {
  const HMODULE program = GetModuleHandleA(nullptr);
  struct Case {
    std::uint32_t kind, style;
    const char* name;
  };
  const Case cases[] = {
      {42, 1, "CURSOR_CROSS"}, {0, 1, "CURSOR_CROSS"}, {42, 0, nullptr}, {0, 0, nullptr},
      {1, 1, "CURSOR_A"},      {1, 0, "CURSOR_A_NO_TARGET"}, {10, 0, "CURSOR_NO"}, {26, 1, "CURSOR_P"},
      {32, 0, "CURSOR_+N_NO_TARGET"}, {41, 1, "CURSOR_RADIUS"}, {22, 1, "CURSOR_PAD_CENTRE"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    block.CrosshairWord = c.style;
    SetEditCursor(c.kind);
    EXPECT_EQ(block.CursorKind, c.kind);
    if (c.name) {
      const HCURSOR expected = LoadCursorA(program, c.name);
      ASSERT_NE(expected, nullptr);
      EXPECT_EQ(block.CursorHandle, expected);
    } else {
      EXPECT_EQ(block.CursorHandle, nullptr);
    }
  }
  // Every kind has its resource with both styles.
  for (std::uint32_t kind = 0; kind <= 42; ++kind) {
    const CursorNames names = CursorNamesOfKind(kind);
    EXPECT_NE(LoadCursorA(program, names.withTarget), nullptr) << kind;
    if (names.withLines) {
      EXPECT_NE(LoadCursorA(program, names.withLines), nullptr) << kind;
    }
  }
}

TEST_F(CrosshairTest, SetEditCursorMovesTheCrosshairToTheMouse) {
  block.MousePixel = {70, 20};
  SetEditCursor(6);
  EXPECT_EQ(block.CrosshairPos.x, 70);
  EXPECT_TRUE(Drawn(150, 20));
}

// ---- Window operations ---------------------------------------------------------

Tower* NewDesign() {
  Tower* t = NewTower(0);
  LastLevel(t).typeCode = Type_PCB;
  InsertAtLastLevel(t, 0);
  return t;
}

std::uint32_t CountChildren(const Tower* parent, std::uint16_t code) {
  std::uint32_t n = 0;
  Tower* c = GetChildTower(parent, code);
  while (c && FindNextEntity(c)) ++n;
  ReleaseTower(&c);
  return n;
}

TEST(WindowOperations, SubNetPointListsAreClearedUnderEveryNet) {
  Tower* design = NewDesign();
  Tower* group = InsertEmptyEntity(design, Type_NetHierGroup);
  std::vector<Tower*> subNets;
  for (int n = 0; n < 2; ++n) {
    Tower* net = InsertEmptyEntity(group, Type_Net);
    for (int s = 0; s < 2; ++s) {
      Tower* sub = InsertEmptyEntity(net, Type_SubNetHier);
      for (int p = 0; p < 3; ++p) {
        Tower* list = InsertEmptyEntity(sub, Type_SubNetPointsListInfo);
        ReleaseTower(&list);
      }
      Tower* other = InsertEmptyEntity(sub, 120);
      ReleaseTower(&other);
      subNets.push_back(sub);
    }
    ReleaseTower(&net);
  }
  ClearSubNetPointLists(design);
  for (Tower*& sub : subNets) {
    EXPECT_EQ(CountChildren(sub, Type_SubNetPointsListInfo), 0u);
    EXPECT_EQ(CountChildren(sub, 120), 1u);
    ReleaseTower(&sub);
  }
  ClearSubNetPointLists(nullptr);
  ReleaseTower(&group);
  DeleteEntity(design);
  ReleaseTower(&design);
}

TEST(WindowOperations, DesignatorInfoBitsAreSetAndClearedOnEverySymbol) {
  gDisplayCalls.clear();
  Tower* design = NewDesign();
  std::vector<DesignatorInfo*> infos;
  for (int i = 0; i < 2; ++i) {
    Tower* symbol = InsertEmptyEntity(design, Type_SymbolInstance);
    Tower* designator = InsertEmptyEntity(symbol, Type_Designator);
    Tower* data = InsertEmptyEntity(designator, Type_DesignatorData);
    DesignatorInfo info{};
    info.display = 0x0C;
    Tower* stored = InsertEntity(data, sizeof info, Type_DesignatorInfo, &info);
    infos.push_back(reinterpret_cast<DesignatorInfo*>(TowerPayload(stored)));
    for (Tower* t : {symbol, designator, data, stored}) ReleaseTower(&t);
  }
  CurrentWindowData block(kEditorPcb, design);
  ActiveWindowData = &block;
  SetDesignatorInfoBits(kDesignatorHidden, 1);
  for (const DesignatorInfo* info : infos) EXPECT_EQ(+info->display, 0x4C);
  SetDesignatorInfoBits(0x08, 0);
  for (const DesignatorInfo* info : infos) EXPECT_EQ(+info->display, 0x44);
  EXPECT_EQ(gDisplayCalls, (std::vector<std::string>{"remove", "put", "remove", "put", "remove", "put", "remove", "put"}));
  ActiveWindowData = nullptr;
  DeleteEntity(design);
  ReleaseTower(&design);
}

LRESULT CALLBACK FrameProc(HWND hwnd, UINT m, WPARAM w, LPARAM l) { return DefFrameProcA(hwnd, MDIClientWindow, m, w, l); }
LPARAM gCreationParameter = 0;
LRESULT CALLBACK SchematicProc(HWND hwnd, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_CREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(l);
    gCreationParameter = reinterpret_cast<const MDICREATESTRUCTA*>(create->lpCreateParams)->lParam;
  }
  return DefMDIChildProcA(hwnd, m, w, l);
}

TEST(WindowOperations, SchematicWindowIsMaximisedWhenTheActiveChildIs) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = &FrameProc;
  wc.lpszClassName = "SchematicTestFrame";
  ASSERT_TRUE(RegisterClassA(&wc));
  wc.lpfnWndProc = &SchematicProc;
  wc.lpszClassName = "SCHEMATIC_CHILD";
  ASSERT_TRUE(RegisterClassA(&wc));
  HWND frame = CreateWindowExA(0, "SchematicTestFrame", "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 480,
                               nullptr, nullptr, nullptr, nullptr);
  CLIENTCREATESTRUCT ccs{nullptr, 100};
  MDIClientWindow = CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 600, 400, frame, nullptr,
                                    nullptr, &ccs);
  ASSERT_NE(MDIClientWindow, nullptr);
  int parameter = 0;
  HWND first = CreateSchematicWindow(&parameter);
  ASSERT_NE(first, nullptr);
  char title[64];
  GetWindowTextA(first, title, sizeof title);
  EXPECT_STREQ(title, "Schematic Window");
  EXPECT_EQ(gCreationParameter, reinterpret_cast<LPARAM>(&parameter));
  EXPECT_FALSE(IsZoomed(first));
  SendMessageA(MDIClientWindow, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(first), 0);
  HWND second = CreateSchematicWindow(nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(IsZoomed(second));
  DestroyWindow(frame);
  MDIClientWindow = nullptr;
}

}  // namespace
