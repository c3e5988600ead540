// The frame's menu bar by document kind, the shortcut texts it takes from the
// command table at each rebuild, the window list of the "&Window" pop-up, and
// the MDI client's insets around its tab bar.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/command_table.h"
#include "app/core_utilities.h"
#include "app/frame_menus.h"
#include "app/frame_window.h"
#include "app/owner_drawn_menus.h"
#include "app/pending_services.h"
#include "edit/clipboard.h"
#include "edit/window_data.h"
#include "geometry/glyph_fonts.h"
#include "objects/item_helper_seams.h"
#include "platform/gdi.h"
#include "platform/mdi.h"
#include "platform/user.h"
#include "store/filing_seams.h"
#include "store/node_pool.h"
#include "store/tower.h"
#include "tests/support/test_windows.h"

namespace {

std::string Caption(HMENU bar, int i) {
  char text[64] = "";
  GetMenuStringA(bar, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
  return text;
}

std::vector<std::string> Captions(HMENU bar) {
  std::vector<std::string> out;
  for (int i = 0; i < GetMenuItemCount(bar); ++i) out.push_back(Caption(bar, i));
  return out;
}

// True when the pop-up at `position` holds an item of that id.
bool PopupHolds(HMENU bar, int position, UINT id) {
  HMENU popup = GetSubMenu(bar, position);
  return popup && GetMenuState(popup, id, MF_BYCOMMAND) != static_cast<UINT>(-1);
}

const OwnerDrawnMenuRecord* RecordOfItem(HMENU menu, UINT id) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_DATA | MIIM_FTYPE;
  if (!GetMenuItemInfoA(menu, id, FALSE, &info) || !(info.fType & MFT_OWNERDRAW)) return nullptr;
  return reinterpret_cast<const OwnerDrawnMenuRecord*>(info.dwItemData);
}

class MenusByKind : public testing::Test {
 protected:
  void SetUp() override {
    InitTowerStore();
    FrameWindow = MakeTestParentWindow("KindMenuFrame");
    ASSERT_NE(FrameWindow, nullptr);
    design = NewTower(0);
    LastLevel(design).typeCode = 102;
    InsertAtLastLevel(design, 0);
  }
  void TearDown() override {
    DestroyFrameMenus();
    ActiveWindowData = nullptr;
    DestroyWindow(FrameWindow);
    FrameWindow = nullptr;
    FreeTower(design);
  }
  HMENU BarFor(std::uint32_t kind) {
    block = std::make_unique<CurrentWindowData>(kind, design);
    ActiveWindowData = block.get();
    ChangeMenu(1);
    return GetMenu(FrameWindow);
  }
  Tower* design = nullptr;
  std::unique_ptr<CurrentWindowData> block;
};

struct KindCase {
  std::uint32_t kind;
  std::vector<std::string> captions;
};

TEST_F(MenusByKind, EachKindGetsItsPopupsInOrder) {
  const std::vector<KindCase> cases = {
      {1, {"&File", "&Config", "&Edit", "PC&B", "&Insert", "&Tools", "&Symbols", "P&lanes", "&DRC", "&Nets", "&View",
           "&Window", "&Help"}},
      {2, {"&File", "&Config", "&Edit", "&Shape", "&Insert", "&Tools", "&DRC", "&View", "&Window", "&Help"}},
      {4, {"&File", "&Config", "&Edit", "&Symbol", "&Insert", "&Tools", "&DRC", "&View", "&Window", "&Help"}},
      {8, {"&File", "&Config", "&Edit", "Pad &Stack", "&Insert", "&Tools", "&DRC", "&View", "&Window", "&Help"}},
      {16, {"&File", "&Config", "&Edit", "&Symbol", "&Insert", "&Tools", "&View", "&Window", "&Help"}},
      {32, {"&File", "&Config", "&Edit", "&Schematic", "&Insert", "&Tools", "&Symbols", "&View", "&Window", "&Help"}},
      {64, {"&File", "&Package", "&Tools", "&Window", "&Help"}},
      {256, {"&File", "&Tools", "&Help"}},
      // 257 shares a bit with the PCB kind and still gets only its own tools.
      {257, {"&File", "&Tools", "&Help"}},
  };
  for (const KindCase& c : cases) {
    HMENU bar = BarFor(c.kind);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(Captions(bar), c.captions) << "kind " << c.kind;
    // "Auto &Via..." is for boards only.
    if (c.kind <= 32) {
      const UINT via = GetMenuState(GetSubMenu(bar, 1), 304, MF_BYCOMMAND);
      EXPECT_EQ((via & MF_GRAYED) != 0, c.kind != 1) << "kind " << c.kind;
    }
    EXPECT_FALSE(GetMenuState(bar, 327, MF_BYCOMMAND) & MF_GRAYED) << "kind " << c.kind;
  }
}

TEST_F(MenusByKind, ThePcbBarTakesEachPopupFromItsOwnResource) {
  HMENU bar = BarFor(kEditorPcb);
  ASSERT_EQ(GetMenuItemCount(bar), 13);
  // One item that only the expected resource holds, pop-up by pop-up.
  const UINT marks[13] = {284, 302, 2271, 228, 251, 448, 221, 215, 441, 2010, 260, 287, 2043};
  for (int i = 0; i < 13; ++i) EXPECT_TRUE(PopupHolds(bar, i, marks[i])) << Caption(bar, i);
  // The 3D view's tools are its own.
  bar = BarFor(256);
  EXPECT_TRUE(PopupHolds(bar, 1, 2599));
  bar = BarFor(257);
  EXPECT_TRUE(PopupHolds(bar, 1, 2692));
  bar = BarFor(kEditorPackage);
  EXPECT_TRUE(PopupHolds(bar, 1, 2416));
  EXPECT_TRUE(PopupHolds(bar, 3, 291));
}

TEST_F(MenusByKind, ASymbolWithTheSpecialMarkerGetsTheSpecialInsertAndTools) {
  HMENU bar = BarFor(kEditorSchematicSymbol);
  EXPECT_TRUE(PopupHolds(bar, 4, 2299));   // "Pin Number Locator": the plain insert menu
  EXPECT_FALSE(PopupHolds(bar, 4, 2398));
  EXPECT_TRUE(PopupHolds(bar, 5, 2394));   // "Auto &Label..." only in the plain tools
  const std::uint32_t marker = 1;
  FreeTower(InsertEntity(design, 4, 11022, &marker));
  bar = BarFor(kEditorSchematicSymbol);
  EXPECT_TRUE(PopupHolds(bar, 4, 2398));   // "Global Net Locator"
  EXPECT_FALSE(PopupHolds(bar, 4, 2299));
  EXPECT_FALSE(PopupHolds(bar, 5, 2394));
  EXPECT_TRUE(GetMenuState(bar, 2328, MF_BYCOMMAND) & MF_CHECKED);
}

TEST_F(MenusByKind, AShortcutFollowsTheKeyBindingsAtTheNextRebuild) {
  // A PCB command bound to "&Query" (448).
  AddCommand("test.query", "Query", kEditorPcb, kToolModeAny, nullptr, 0);
  BindCommandMenuId("test.query", 448);
  SetCommandKey(&LiveCommandTable, "test.query", 'Q');
  BuildCommandMenuIndex();
  SortCommandMenuIndex();
  HMENU bar = BarFor(kEditorPcb);
  const OwnerDrawnMenuRecord* record = RecordOfItem(bar, 448);
  ASSERT_NE(record, nullptr);
  ASSERT_NE(record->shortcut, nullptr);
  EXPECT_STREQ(record->shortcut, "Q");
  EXPECT_STREQ(record->text, "&Query");

  SetCommandKey(&LiveCommandTable, "test.query", VK_F7);
  // The bar on show keeps what it was built with; the next one reads anew.
  EXPECT_STREQ(RecordOfItem(bar, 448)->shortcut, "Q");
  bar = BarFor(kEditorPcb);
  record = RecordOfItem(bar, 448);
  ASSERT_NE(record, nullptr);
  ASSERT_NE(record->shortcut, nullptr);
  EXPECT_STREQ(record->shortcut, "F7");
  // The same id in a kind the command does not serve shows no key.
  bar = BarFor(kEditorSchematic);
  record = RecordOfItem(bar, 448);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->shortcut, nullptr);
  FreeCommandTables();
}

TEST_F(MenusByKind, PasteIsOfferedOnlyForACopyFromTheSameKindOfDesign) {
  ProgramTower = NewTower(0);
  LastLevel(ProgramTower).typeCode = 211;
  InsertAtLastLevel(ProgramTower, 0);
  auto pasteGreyed = [](HMENU bar) { return (GetMenuState(bar, 2270, MF_BYCOMMAND) & MF_GRAYED) != 0; };
  EXPECT_TRUE(pasteGreyed(BarFor(kEditorPcb)));  // nothing copied
  constexpr std::uint16_t kBoardRoot = 102, kShapeRoot = 109;
  const ClipboardCopyRecord fromBoard{0, kBoardRoot, 0};
  FreeTower(InsertEntity(ProgramTower, sizeof fromBoard, Type_ClipboardCopy, &fromBoard));
  EXPECT_FALSE(pasteGreyed(BarFor(kEditorPcb)));
  // A shape's editor does not take a board's copy.
  Tower* shape = NewTower(0);
  LastLevel(shape).typeCode = kShapeRoot;
  InsertAtLastLevel(shape, 0);
  block = std::make_unique<CurrentWindowData>(kEditorShape, shape);
  ActiveWindowData = block.get();
  ChangeMenu(1);
  EXPECT_TRUE(pasteGreyed(GetMenu(FrameWindow)));
  block.reset();
  ActiveWindowData = nullptr;
  FreeTower(shape);
  FreeTower(ProgramTower);
  ProgramTower = nullptr;
}

TEST_F(MenusByKind, AThousandRebuildsLeaveNoDrawingObjectsBehind) {
  // Every item's record holds a font of its own: each rebuild frees them all.
  BarFor(kEditorPcb);
  const std::size_t live = pl3::LiveGdiObjectCount();
  for (int i = 0; i < 1000; ++i) ChangeMenu(1);
  EXPECT_EQ(pl3::LiveGdiObjectCount(), live);
  // The records themselves are heap blocks: the leak checker sees them.
}

// ---- The window list and the tab bar's insets ---------------------------------------------------

LRESULT CALLBACK DocumentProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefMDIChildProcA(w, m, wp, lp); }

class FrameClient : public testing::Test {
 protected:
  void SetUp() override {
    InitTowerStore();
    FrameWindow = MakeTestParentWindow("ListFrame");
    ASSERT_NE(FrameWindow, nullptr);
    WNDCLASSA wc{};
    wc.lpfnWndProc = &DocumentProc;
    wc.lpszClassName = "ListDocument";
    ASSERT_TRUE(RegisterClassA(&wc));
    CLIENTCREATESTRUCT ccs{nullptr, kFirstMdiChild};
    MDIClientWindow = CreateWindowExA(0, "mdiclient", nullptr, 0x47300000, 0, 0, 300, 200, FrameWindow, nullptr,
                                      nullptr, &ccs);
    ASSERT_NE(MDIClientWindow, nullptr);
  }
  void TearDown() override {
    if (WindowMenu) {
      DestroyOwnerDrawnMenu(WindowMenu);
      WindowMenu = nullptr;
    }
    DestroyWindow(FrameWindow);
    FrameWindow = MDIClientWindow = nullptr;
  }
  HWND NewDocument(int n) {
    const std::string title = "Board " + std::to_string(n);
    MDICREATESTRUCTA mcs{"ListDocument", title.c_str(), nullptr, 0, 0, 100, 80, 0, 0};
    return reinterpret_cast<HWND>(SendMessageA(MDIClientWindow, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  }
  // The ids of the window list entries, in menu order, and the text of each.
  std::vector<UINT> ListIds(std::vector<std::string>* texts = nullptr) {
    std::vector<UINT> ids;
    for (int i = 0; i < GetMenuItemCount(WindowMenu); ++i) {
      const UINT id = GetMenuItemID(WindowMenu, i);
      if (id < kFirstWindowListId || id > kWindowListMoreId) continue;
      ids.push_back(id);
      if (texts) {
        const OwnerDrawnMenuRecord* r = RecordOfItem(WindowMenu, id);
        texts->push_back(r && r->text ? r->text : "<no record>");
      }
    }
    return ids;
  }
};

TEST_F(FrameClient, TenDocumentsAreListedAndTheEleventhAddsTheWindowsItem) {
  WindowMenu = LoadMenuA(nullptr, "WINDOW_MENU");
  MakeMenuOwnerDrawn(WindowMenu, 0, 1);
  const int plain = GetMenuItemCount(WindowMenu);
  BuildWindowMenuList();
  EXPECT_EQ(GetMenuItemCount(WindowMenu), plain);  // no documents: nothing, not even a separator

  std::vector<HWND> documents;
  for (int n = 1; n <= 10; ++n) documents.push_back(NewDocument(n));
  SendMessageA(MDIClientWindow, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(documents[3]), 0);
  // Opened twice, as the pop-up is each time: the old entries go first.
  BuildWindowMenuList();
  BuildWindowMenuList();
  std::vector<std::string> texts;
  std::vector<UINT> ids = ListIds(&texts);
  ASSERT_EQ(ids.size(), 10u);
  EXPECT_EQ(GetMenuItemCount(WindowMenu), plain + 11);  // a separator and ten entries
  for (UINT k = 0; k < 10; ++k) EXPECT_EQ(ids[k], 2555 + k);
  EXPECT_EQ(texts[0], "&1 Board 1");
  EXPECT_EQ(texts[9], "&10 Board 10");
  for (UINT k = 0; k < 10; ++k)
    EXPECT_EQ((GetMenuState(WindowMenu, 2555 + k, MF_BYCOMMAND) & MF_CHECKED) != 0, k == 3) << k;

  documents.push_back(NewDocument(11));
  BuildWindowMenuList();
  ids = ListIds();
  ASSERT_EQ(ids.size(), 11u);
  EXPECT_EQ(ids.back(), kWindowListMoreId);
  EXPECT_EQ(ids[9], 2564u);

  // With every document closed the list and its separator go.
  for (HWND d : documents) SendMessageA(MDIClientWindow, WM_MDIDESTROY, reinterpret_cast<WPARAM>(d), 0);
  BuildWindowMenuList();
  EXPECT_EQ(GetMenuItemCount(WindowMenu), plain);
}

TEST_F(FrameClient, TheClientIsInsetByFourAndByTwentySixAtTheTopWhileTabsShow) {
  AttachTabBar(MDIClientWindow);
  auto insets = [] {
    RECT window{}, client{};
    GetWindowRect(MDIClientWindow, &window);
    GetClientRect(MDIClientWindow, &client);
    POINT origin{0, 0};
    ClientToScreen(MDIClientWindow, &origin);
    return std::vector<long>{origin.x - window.left, origin.y - window.top,
                             window.right - (origin.x + client.right), window.bottom - (origin.y + client.bottom)};
  };
  EXPECT_EQ(insets(), (std::vector<long>{4, 4, 4, 4}));
  Tower* design = NewTower(0);
  LastLevel(design).typeCode = 100;
  InsertAtLastLevel(design, 0);
  HWND document = NewDocument(1);
  AddMDITab(MDIClientWindow, document, design);
  EXPECT_EQ(insets(), (std::vector<long>{4, 26, 4, 4}));
  RemoveMDITab(MDIClientWindow, document);
  EXPECT_EQ(insets(), (std::vector<long>{4, 4, 4, 4}));
  FreeTower(design);
}

}  // namespace

namespace {

TEST_F(FrameClient, TheTabBandShowsTheMaximisedDocumentsCaption) {
  ShowWindow(FrameWindow, SW_SHOW);
  ShowWindow(MDIClientWindow, SW_SHOW);
  AttachTabBar(MDIClientWindow);
  Tower* design = NewTower(0);
  LastLevel(design).typeCode = 100;
  InsertAtLastLevel(design, 0);
  HWND document = NewDocument(1);
  AddMDITab(MDIClientWindow, document, design);
  // Maximised, the document's own frame reaches up over the band.
  SendMessageA(MDIClientWindow, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(document), 0);
  SelectMDITab(MDIClientWindow);
  UpdateWindow(FrameWindow);
  UpdateWindow(MDIClientWindow);
  // The caption's text is drawn in the band above the client area.
  HDC dc = GetWindowDC(MDIClientWindow);
  const COLORREF ink = GetSysColor(COLOR_BTNTEXT);
  int inked = 0;
  for (int y = 4; y < 24; ++y)
    for (int x = 8; x < 120; ++x) inked += GetPixel(dc, x, y) == ink;
  ReleaseDC(MDIClientWindow, dc);
  EXPECT_GT(inked, 20);
  RemoveMDITab(MDIClientWindow, document);
  FreeTower(design);
}

}  // namespace
