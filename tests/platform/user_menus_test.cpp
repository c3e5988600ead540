// Menus: building and querying menus, templates, the bar in the non-client
// area, and the menu loop (message order, mouse and keyboard, pop-ups,
// owner-drawn items, and menus or windows that go away inside the loop).
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/gdi.h"
#include "platform/kernel_base.h"
#include "platform/menus.h"
#include "platform/user.h"
#include "tests/platform/golden_png.h"
#include "tests/support/test_paths.h"

namespace {

// ---- Building and queries ----------------------------------------------------------------

constexpr UINT kNew = 101, kOpen = 102, kExit = 103, kUndo = 201, kRedo = 202, kDeep = 301;

struct SampleBar {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  HMENU edit = CreatePopupMenu();
  HMENU more = CreatePopupMenu();
  SampleBar() {
    AppendMenuA(file, MF_STRING, kNew, "&New\tCtrl+N");
    AppendMenuA(file, MF_STRING, kOpen, "&Open...");
    AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(file, MF_STRING, kExit, "E&xit");
    AppendMenuA(more, MF_STRING, kDeep, "&Deep");
    AppendMenuA(edit, MF_STRING | MF_GRAYED, kUndo, "&Undo");
    AppendMenuA(edit, MF_STRING, kRedo, "&Redo");
    AppendMenuA(edit, MF_POPUP, reinterpret_cast<UINT_PTR>(more), "&More");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "&Edit");
  }
};

std::string ItemText(HMENU menu, UINT item, UINT flags) {
  char buffer[64] = "?";
  GetMenuStringA(menu, item, buffer, sizeof buffer, flags);
  return buffer;
}

TEST(MenuBuilding, QueriesByPositionAndByCommandReachIntoPopups) {
  SampleBar m;
  EXPECT_EQ(GetMenuItemCount(m.bar), 2);
  EXPECT_EQ(GetMenuItemCount(m.file), 4);
  EXPECT_EQ(GetSubMenu(m.bar, 1), m.edit);
  EXPECT_EQ(GetSubMenu(m.bar, 2), nullptr);
  EXPECT_EQ(GetMenuItemID(m.bar, 0), 0xFFFFFFFFu);  // a pop-up item has no id
  EXPECT_EQ(GetMenuItemID(m.file, 3), kExit);
  EXPECT_EQ(ItemText(m.bar, kDeep, MF_BYCOMMAND), "&Deep");  // two levels down
  EXPECT_EQ(ItemText(m.file, 0, MF_BYPOSITION), "&New\tCtrl+N");
  // A pop-up's state carries its item count in the high byte.
  EXPECT_EQ(GetMenuState(m.bar, 1, MF_BYPOSITION), (3u << 8) | MF_POPUP);
  EXPECT_EQ(GetMenuState(m.bar, kUndo, MF_BYCOMMAND), MF_GRAYED);
  EXPECT_EQ(GetMenuState(m.file, 2, MF_BYPOSITION), MF_SEPARATOR);
  EXPECT_EQ(GetMenuState(m.file, 999, MF_BYCOMMAND), 0xFFFFFFFFu);
  EXPECT_EQ(GetLastError(), ERROR_MENU_ITEM_NOT_FOUND);

  // Check and enable report the previous state.
  EXPECT_EQ(CheckMenuItem(m.bar, kOpen, MF_CHECKED), static_cast<DWORD>(MF_UNCHECKED));
  EXPECT_EQ(CheckMenuItem(m.bar, kOpen, MF_UNCHECKED), static_cast<DWORD>(MF_CHECKED));
  EXPECT_EQ(EnableMenuItem(m.bar, kUndo, MF_ENABLED), static_cast<BOOL>(MF_GRAYED));
  EXPECT_EQ(GetMenuState(m.edit, 0, MF_BYPOSITION), MF_ENABLED);
  EXPECT_EQ(EnableMenuItem(m.bar, 4711, MF_GRAYED), -1);
  EXPECT_EQ(CheckMenuItem(m.bar, 4711, MF_CHECKED), static_cast<DWORD>(-1));
  DestroyMenu(m.bar);
}

TEST(MenuBuilding, InsertModifyDeleteAndRemove) {
  SampleBar m;
  // By command, the new item goes before that item, in the pop-up that holds it.
  ASSERT_TRUE(InsertMenuA(m.bar, kExit, MF_BYCOMMAND | MF_STRING, 150, "&Save"));
  EXPECT_EQ(GetMenuItemID(m.file, 3), 150u);
  EXPECT_EQ(GetMenuItemID(m.file, 4), kExit);
  // Past the end appends.
  ASSERT_TRUE(InsertMenuA(m.file, 99, MF_BYPOSITION | MF_STRING, 160, "Last"));
  EXPECT_EQ(GetMenuItemID(m.file, 5), 160u);
  ASSERT_TRUE(ModifyMenuA(m.file, 160, MF_BYCOMMAND | MF_STRING | MF_CHECKED, 161, "Changed"));
  EXPECT_EQ(ItemText(m.file, 161, MF_BYCOMMAND), "Changed");
  EXPECT_EQ(GetMenuState(m.file, 161, MF_BYCOMMAND), MF_CHECKED);

  // RemoveMenu leaves the pop-up alive, DeleteMenu destroys it.
  ASSERT_TRUE(RemoveMenu(m.edit, 2, MF_BYPOSITION));
  EXPECT_TRUE(IsMenu(m.more));
  EXPECT_EQ(GetMenuItemCount(m.edit), 2);
  ASSERT_TRUE(DeleteMenu(m.bar, 0, MF_BYPOSITION));
  EXPECT_FALSE(IsMenu(m.file));
  EXPECT_EQ(GetMenuItemCount(m.bar), 1);
  EXPECT_FALSE(DeleteMenu(m.bar, 5, MF_BYPOSITION));
  // Destroying the bar takes every pop-up under it.
  DestroyMenu(m.bar);
  EXPECT_FALSE(IsMenu(m.edit));
  EXPECT_TRUE(IsMenu(m.more));
  DestroyMenu(m.more);
}

TEST(MenuBuilding, ItemInfoReadsAndWritesEachPart) {
  HMENU popup = CreatePopupMenu();
  HMENU sub = CreatePopupMenu();
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_TYPE | MIIM_ID | MIIM_DATA | MIIM_STATE;
  info.fType = MFT_STRING;
  info.fState = MFS_CHECKED;
  info.wID = 7;
  info.dwItemData = 0xABCD;
  info.dwTypeData = const_cast<LPSTR>("&Seven\tF7");
  ASSERT_TRUE(InsertMenuItemA(popup, 0, TRUE, &info));
  info.fMask = MIIM_STRING | MIIM_SUBMENU;
  info.dwTypeData = const_cast<LPSTR>("Sub");
  info.hSubMenu = sub;
  ASSERT_TRUE(InsertMenuItemA(popup, 7, FALSE, &info));  // before item 7
  EXPECT_EQ(GetSubMenu(popup, 0), sub);
  EXPECT_EQ(ItemText(popup, 1, MF_BYPOSITION), "&Seven\tF7");

  char text[4];
  MENUITEMINFOA out{};
  out.cbSize = sizeof out;
  out.fMask = MIIM_STRING | MIIM_ID | MIIM_DATA | MIIM_STATE;
  out.dwTypeData = text;
  out.cch = sizeof text;
  ASSERT_TRUE(GetMenuItemInfoA(popup, 7, FALSE, &out));
  EXPECT_STREQ(text, "&Se");  // cut to the buffer
  EXPECT_EQ(out.wID, 7u);
  EXPECT_EQ(out.dwItemData, 0xABCDu);
  EXPECT_EQ(out.fState, MFS_CHECKED);
  out.dwTypeData = nullptr;  // no buffer: the length
  ASSERT_TRUE(GetMenuItemInfoA(popup, 1, TRUE, &out));
  EXPECT_EQ(out.cch, 9u);

  // An owner-drawn item keeps its data in the type data.
  info.fMask = MIIM_TYPE;
  info.fType = MFT_OWNERDRAW;
  info.dwTypeData = reinterpret_cast<LPSTR>(0x1234);
  ASSERT_TRUE(SetMenuItemInfoA(popup, 7, FALSE, &info));
  out.fMask = MIIM_TYPE | MIIM_DATA;
  ASSERT_TRUE(GetMenuItemInfoA(popup, 7, FALSE, &out));
  EXPECT_EQ(out.fType, MFT_OWNERDRAW);
  EXPECT_EQ(out.dwItemData, 0x1234u);

  // A menu cannot hold itself, and a bad sub-menu handle is refused.
  info.fMask = MIIM_SUBMENU;
  info.hSubMenu = popup;
  EXPECT_FALSE(SetMenuItemInfoA(popup, 0, TRUE, &info));
  info.hSubMenu = reinterpret_cast<HMENU>(0x999);
  EXPECT_FALSE(InsertMenuItemA(popup, 0, TRUE, &info));
  EXPECT_EQ(GetMenuItemCount(popup), 2);
  EXPECT_FALSE(AppendMenuA(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "Self"));
  DestroyMenu(popup);
}

TEST(MenuBuilding, StaleHandlesFailCleanly) {
  HMENU m = CreatePopupMenu();
  AppendMenuA(m, MF_STRING, 1, "One");
  ASSERT_TRUE(DestroyMenu(m));
  EXPECT_FALSE(IsMenu(m));
  SetLastError(0);
  EXPECT_EQ(GetMenuItemCount(m), -1);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_MENU_HANDLE);
  EXPECT_FALSE(AppendMenuA(m, MF_STRING, 2, "Two"));
  EXPECT_FALSE(DestroyMenu(m));
  EXPECT_EQ(GetSubMenu(m, 0), nullptr);
  EXPECT_EQ(GetMenuState(m, 0, MF_BYPOSITION), 0xFFFFFFFFu);
  EXPECT_FALSE(TrackPopupMenu(m, TPM_RETURNCMD, 0, 0, 0, GetDesktopWindow(), nullptr));
  EXPECT_FALSE(IsMenu(nullptr));
}

// ---- Templates ----------------------------------------------------------------------------

// A template writer: words in little-endian order.
struct TemplateWriter {
  std::vector<BYTE> bytes{0, 0, 0, 0};
  void Word(unsigned w) {
    bytes.push_back(static_cast<BYTE>(w & 0xFF));
    bytes.push_back(static_cast<BYTE>(w >> 8));
  }
  void Text(const std::u16string& s) {
    for (char16_t c : s) Word(c);
    Word(0);
  }
  void Item(unsigned flags, unsigned id, const std::u16string& s) {
    Word(flags);
    Word(id);
    Text(s);
  }
  void Popup(unsigned flags, const std::u16string& s) {
    Word(flags | MF_POPUP);
    Text(s);
  }
};

TEST(MenuTemplate, NestedLevelsSeparatorsAndTexts) {
  TemplateWriter t;
  t.Popup(0, u"&File");
  t.Item(0, 10, u"&Open");
  t.Item(0, 0, u"");  // a separator
  t.Popup(MF_GRAYED, u"&Recent");
  t.Item(MF_END, 11, u"Caf\u00e9 \u20ac \u03a9");
  t.Item(MF_END | MF_CHECKED, 12, u"E&xit");
  t.Popup(MF_END, u"&Help");
  t.Item(MF_END, 20, u"&About");
  HMENU bar = LoadMenuIndirectA(t.bytes.data());
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(GetMenuItemCount(bar), 2);
  HMENU file = GetSubMenu(bar, 0);
  ASSERT_EQ(GetMenuItemCount(file), 4);
  EXPECT_EQ(GetMenuState(file, 1, MF_BYPOSITION), MF_SEPARATOR);
  EXPECT_EQ(GetMenuState(file, 2, MF_BYPOSITION) & 0xFF, MF_POPUP | MF_GRAYED);
  // In the program's code page; what it cannot hold becomes "?".
  EXPECT_EQ(ItemText(bar, 11, MF_BYCOMMAND), "Caf\xe9 \x80 ?");
  EXPECT_EQ(GetMenuState(bar, 12, MF_BYCOMMAND), MF_CHECKED);
  EXPECT_EQ(ItemText(GetSubMenu(bar, 1), 0, MF_BYPOSITION), "&About");
  // The same bytes with their length give the same menu.
  HMENU again = pl3::LoadMenuTemplate(t.bytes.data(), t.bytes.size());
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(GetMenuItemCount(GetSubMenu(again, 0)), 4);
  DestroyMenu(bar);
  DestroyMenu(again);
}

TEST(MenuTemplate, MalformedTemplatesGiveNull) {
  TemplateWriter t;
  t.Popup(0, u"&File");
  t.Item(MF_END, 10, u"&Open");
  t.Item(0, 11, u"No end");  // the top level never ends
  SetLastError(0);
  EXPECT_EQ(pl3::LoadMenuTemplate(t.bytes.data(), t.bytes.size()), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
  // Cut inside a text.
  TemplateWriter cut;
  cut.Item(MF_END, 1, u"Whole");
  EXPECT_EQ(pl3::LoadMenuTemplate(cut.bytes.data(), cut.bytes.size() - 4), nullptr);
  // A version other than 0.
  TemplateWriter version;
  version.bytes[0] = 1;
  version.Item(MF_END, 1, u"X");
  EXPECT_EQ(LoadMenuIndirectA(version.bytes.data()), nullptr);
  EXPECT_EQ(LoadMenuIndirectA(nullptr), nullptr);
}

// ---- The window and its bar --------------------------------------------------------------

struct Heard {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<Heard> g_heard;
// What the frame does on a message: tests set it to act inside the loop.
std::function<void(UINT, WPARAM, LPARAM)> g_onMessage;
HMENU g_drawnSelectedMenu = nullptr;
int g_drawnSelected = 0;

bool MenuMessage(UINT m) {
  switch (m) {
    case WM_ENTERMENULOOP: case WM_EXITMENULOOP: case WM_INITMENU: case WM_INITMENUPOPUP: case WM_MENUSELECT:
    case WM_COMMAND: case WM_SYSCOMMAND: case WM_MEASUREITEM: case WM_DRAWITEM: case WM_LBUTTONDOWN:
      return true;
    default: return false;
  }
}

LRESULT CALLBACK FrameProc(HWND hwnd, UINT m, WPARAM w, LPARAM l) {
  if (MenuMessage(m)) g_heard.push_back(Heard{m, w, l});
  if (g_onMessage) g_onMessage(m, w, l);
  if (m == WM_MEASUREITEM) {
    auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
    mi->itemWidth = 60 + static_cast<UINT>(mi->itemData);
    mi->itemHeight = 24;
    return TRUE;
  }
  if (m == WM_DRAWITEM) {
    auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(l);
    if (di->CtlType != ODT_MENU) return FALSE;
    // A swatch of the item's colour, framed when selected.
    HBRUSH b = CreateSolidBrush(static_cast<COLORREF>(di->itemData * 0x3F));
    FillRect(di->hDC, &di->rcItem, GetSysColorBrush(COLOR_MENU));
    RECT swatch = di->rcItem;
    InflateRect(&swatch, -3, -3);
    FillRect(di->hDC, &swatch, b);
    DeleteObject(b);
    if (di->itemState & ODS_SELECTED) {
      FrameRect(di->hDC, &di->rcItem, reinterpret_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      g_drawnSelectedMenu = reinterpret_cast<HMENU>(di->hwndItem);
      g_drawnSelected++;
    }
    return TRUE;
  }
  return DefWindowProcA(hwnd, m, w, l);
}

POINT Center(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

void ClickAt(POINT p, pl3::MouseButton button = pl3::MouseButton::Left) {
  pl3::InjectMouseMove(p);
  pl3::InjectMouseButton(button, true, p);
  pl3::InjectMouseButton(button, false, p);
}

std::vector<UINT> HeardMessages() {
  std::vector<UINT> out;
  for (const Heard& h : g_heard) out.push_back(h.message);
  return out;
}

// The WM_COMMAND ids heard, in order.
std::vector<UINT> Commands() {
  std::vector<UINT> out;
  for (const Heard& h : g_heard)
    if (h.message == WM_COMMAND) out.push_back(LOWORD(h.wParam));
  return out;
}

class MenuWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    g_heard.clear();
    g_onMessage = nullptr;
    g_drawnSelected = 0;
    g_drawnSelectedMenu = nullptr;
    WNDCLASSA wc{};
    wc.lpfnWndProc = &FrameProc;
    wc.lpszClassName = "MenuFrame";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    ASSERT_TRUE(RegisterClassA(&wc));
    frame = CreateWindowExA(0, "MenuFrame", "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 30, 300, 200, nullptr,
                            menus.bar, nullptr, nullptr);
    ASSERT_NE(frame, nullptr);
    pl3::PumpMessages();
    g_heard.clear();
  }
  void TearDown() override {
    g_onMessage = nullptr;
    pl3::ClearMenuHook();
  }
  RECT BarItem(int i) {
    RECT r{};
    EXPECT_TRUE(GetMenuItemRect(frame, menus.bar, static_cast<UINT>(i), &r));
    return r;
  }
  SampleBar menus;
  HWND frame = nullptr;
};

TEST_F(MenuWindowTest, BarTakesRowsFromTheClientArea) {
  RECT client, window;
  GetClientRect(frame, &client);
  GetWindowRect(frame, &window);
  const int row = GetSystemMetrics(SM_CYMENU);
  EXPECT_EQ(client.bottom, (window.bottom - window.top) - row);
  RECT adjusted{0, 0, 100, 100};
  AdjustWindowRect(&adjusted, WS_OVERLAPPEDWINDOW, TRUE);
  EXPECT_EQ(adjusted.bottom - adjusted.top, 100 + row);

  RECT file = BarItem(0), edit = BarItem(1);
  EXPECT_EQ(file.top, window.top);
  EXPECT_EQ(edit.left, file.right);
  // A longer text moves the items after it once the bar is redrawn.
  ASSERT_TRUE(ModifyMenuA(menus.bar, 0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(menus.file), "&File and more"));
  DrawMenuBar(frame);
  EXPECT_GT(BarItem(1).left, edit.left);
  ASSERT_TRUE(ModifyMenuA(menus.bar, 0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(menus.file), "&File"));
  DrawMenuBar(frame);
  EXPECT_EQ(BarItem(1).left, edit.left);
  EXPECT_EQ(SendMessageA(frame, WM_NCHITTEST, 0, MAKEPOINTLPARAM(file.left + 2, file.top + 2)), HTMENU);
  EXPECT_EQ(SendMessageA(frame, WM_NCHITTEST, 0, MAKEPOINTLPARAM(window.left + 5, window.top + row + 5)), HTCLIENT);

  // Too narrow for both items: a second row.
  SetWindowPos(frame, nullptr, 0, 0, file.right - file.left + 4, 200, SWP_NOMOVE | SWP_NOZORDER);
  GetClientRect(frame, &client);
  EXPECT_EQ(client.bottom, 200 - 2 * row);
  EXPECT_EQ(BarItem(1).top, window.top + row);

  // No bar: the whole window is client; the old bar is the caller's.
  ASSERT_TRUE(SetMenu(frame, nullptr));
  GetClientRect(frame, &client);
  EXPECT_EQ(client.bottom, 200);
  EXPECT_TRUE(IsMenu(menus.bar));
  ASSERT_TRUE(SetMenu(frame, menus.bar));
  // A window takes its bar with it.
  DestroyWindow(frame);
  EXPECT_FALSE(IsMenu(menus.bar));
  EXPECT_FALSE(IsMenu(menus.file));
}

TEST_F(MenuWindowTest, BarIsDrawnInTheMenuColourWithItsTexts) {
  const pl3::PixelSurface* s = pl3::WindowSurface(frame);
  ASSERT_NE(s, nullptr);
  RECT window;
  GetWindowRect(frame, &window);
  auto at = [&](int x, int y) { return s->pixels[y * s->stride + x] & 0xFFFFFF; };
  auto rgb = [](COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); };
  const unsigned menu = rgb(GetSysColor(COLOR_MENU)), text = rgb(GetSysColor(COLOR_MENUTEXT));
  RECT file = BarItem(0);
  OffsetRect(&file, -window.left, -window.top);
  // The text: pixels darker than the band, the darkest in the text colour.
  int textPixels = 0;
  unsigned darkest = 0xFFFFFF;
  for (int y = file.top; y < file.bottom; ++y)
    for (int x = file.left; x < file.right; ++x) {
      unsigned p = at(x, y);
      textPixels += p != menu;
      if ((p & 0xFF) < (darkest & 0xFF)) darkest = p;
    }
  EXPECT_GT(textPixels, 20);
  EXPECT_EQ(darkest, text);
  EXPECT_EQ(at(250, 5), menu);  // the bar's band right of its items
  EXPECT_EQ(at(5, GetSystemMetrics(SM_CYMENU) + 5), rgb(GetSysColor(COLOR_WINDOW)));  // the client

  // While its pop-up is open, the bar item is highlighted.
  unsigned seen = 0;
  pl3::SetMenuHook([&](HMENU, HWND) { seen = at(file.left + 2, file.top + 2); });
  SendMessageA(frame, WM_SYSCOMMAND, SC_KEYMENU, 'f');
  EXPECT_EQ(seen, rgb(GetSysColor(COLOR_HIGHLIGHT)));
  EXPECT_EQ(at(file.left + 2, file.top + 2), menu);  // and plain again after
}

TEST_F(MenuWindowTest, ClickOnTheBarThenOnAnItemSendsTheLoopMessagesInOrder) {
  pl3::SetMenuHook([&](HMENU menu, HWND owner) {
    EXPECT_EQ(menu, menus.bar);
    EXPECT_EQ(owner, frame);
    RECT open{};
    ASSERT_TRUE(GetMenuItemRect(frame, menus.file, 1, &open));
    ClickAt(Center(open));
  });
  ClickAt(Center(BarItem(0)));
  pl3::PumpMessages();
  std::vector<UINT> expected{WM_SYSCOMMAND, WM_ENTERMENULOOP, WM_INITMENU,   WM_MENUSELECT,   WM_INITMENUPOPUP,
                             WM_MENUSELECT, WM_MENUSELECT,    WM_EXITMENULOOP, WM_COMMAND};
  ASSERT_EQ(HeardMessages(), expected);
  EXPECT_EQ(g_heard[0].wParam, SC_MOUSEMENU | HTMENU);
  EXPECT_EQ(g_heard[1].wParam, static_cast<WPARAM>(FALSE));  // the bar, not a pop-up menu
  EXPECT_EQ(g_heard[2].wParam, reinterpret_cast<WPARAM>(menus.bar));
  EXPECT_EQ(g_heard[3].wParam, MAKEWPARAM(0, MF_POPUP | MF_HILITE | MF_MOUSESELECT));
  EXPECT_EQ(g_heard[4].wParam, reinterpret_cast<WPARAM>(menus.file));
  EXPECT_EQ(LOWORD(g_heard[5].wParam), kOpen);
  EXPECT_EQ(g_heard[5].lParam, reinterpret_cast<LPARAM>(menus.file));
  EXPECT_EQ(g_heard[6].wParam, MAKEWPARAM(0, 0xFFFF));  // the menu closes
  EXPECT_EQ(g_heard[8].wParam, MAKEWPARAM(kOpen, 0));
  EXPECT_EQ(FindWindowA("#32768", nullptr), nullptr);  // no pop-up window left
}

TEST_F(MenuWindowTest, CascadesOpenOnHoverAndGreyedItemsAreNotChosen) {
  pl3::SetMenuHook([&](HMENU, HWND) {
    RECT r{};
    ASSERT_TRUE(GetMenuItemRect(frame, menus.edit, 0, &r));
    ClickAt(Center(r));  // Undo is greyed: nothing happens
    ASSERT_TRUE(GetMenuItemRect(frame, menus.edit, 2, &r));
    pl3::InjectMouseMove(Center(r));  // hovering "More" opens its cascade
  });
  // Once the cascade is open, its item is clicked.
  g_onMessage = [&](UINT m, WPARAM w, LPARAM) {
    if (m == WM_INITMENUPOPUP && reinterpret_cast<HMENU>(w) == menus.more) PostMessageA(frame, WM_USER, 0, 0);
    if (m == WM_USER) {
      RECT r{};
      ASSERT_TRUE(GetMenuItemRect(frame, menus.more, 0, &r));
      RECT edit{};
      ASSERT_TRUE(GetMenuItemRect(frame, menus.edit, 2, &edit));
      EXPECT_GE(r.left, edit.right - 4);  // beside its parent item
      ClickAt(Center(r));
    }
  };
  ClickAt(Center(BarItem(1)));
  pl3::PumpMessages();
  EXPECT_EQ(Commands(), std::vector<UINT>{kDeep});
}

TEST_F(MenuWindowTest, CommandOnTheBarItselfIsChosenByMouseOrKeys) {
  ASSERT_TRUE(AppendMenuA(menus.bar, MF_STRING, 900, "&Help"));
  ASSERT_TRUE(DrawMenuBar(frame));
  ClickAt(Center(BarItem(2)));
  pl3::PumpMessages();
  EXPECT_EQ(Commands(), std::vector<UINT>{900});
  g_heard.clear();
  SetFocus(frame);
  pl3::InjectKeyStroke(VK_F10);
  pl3::InjectKeyStroke(VK_LEFT);  // from File back round to Help
  pl3::InjectKeyStroke(VK_RETURN);
  pl3::PumpMessages();
  EXPECT_EQ(Commands(), std::vector<UINT>{900});
}

// Keys typed at the frame (the focus window): F10, Alt, Alt+letter, arrows,
// Enter and Escape, and the command they end with (0 for none).
struct KeyCase {
  const char* name;
  std::vector<std::pair<int, bool>> keys;  // virtual key, Alt held
  UINT command;
  bool beep = false;
};

TEST_F(MenuWindowTest, KeyboardDrivesTheBar) {
  const std::vector<KeyCase> cases{
      {"F10 down down enter", {{VK_F10, false}, {VK_DOWN, false}, {VK_DOWN, false}, {VK_RETURN, false}}, kOpen},
      {"up wraps and skips the separator",
       {{VK_F10, false}, {VK_DOWN, false}, {VK_UP, false}, {VK_UP, false}, {VK_RETURN, false}},
       kOpen},
      {"Alt+F then x", {{'F', true}, {'X', false}}, kExit},
      {"Alt alone then right, enter", {{VK_MENU, false}, {VK_RIGHT, false}, {VK_RETURN, false}, {VK_DOWN, false},
                                       {VK_RETURN, false}}, kRedo},
      {"right into the cascade", {{'E', true}, {VK_UP, false}, {VK_RIGHT, false}, {VK_RETURN, false}}, kDeep},
      {"left walks back along the bar", {{'E', true}, {VK_LEFT, false}, {VK_RETURN, false}}, kNew},
      {"greyed item is not chosen", {{'E', true}, {VK_RETURN, false}}, 0},
      {"escape twice", {{VK_F10, false}, {VK_DOWN, false}, {VK_ESCAPE, false}, {VK_ESCAPE, false},
                        {VK_RETURN, false}}, 0},
      {"unknown mnemonic beeps", {{'Q', true}}, 0, true},
  };
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(c.name);
    g_heard.clear();
    int beeps = pl3::BeepCount();
    SetFocus(frame);
    for (auto [vk, alt] : c.keys) {
      if (alt) pl3::InjectKey(VK_MENU, true);
      if (vk >= 'A' && vk <= 'Z' && !alt) {
        const char typed[2] = {static_cast<char>(vk - 'A' + 'a'), '\0'};
        pl3::InjectText(typed);  // a letter in an open menu comes as typed text
      } else {
        pl3::InjectKeyStroke(vk);
      }
      if (alt) pl3::InjectKey(VK_MENU, false);
    }
    pl3::PumpMessages();
    std::vector<UINT> expected;
    if (c.command) expected.push_back(c.command);
    EXPECT_EQ(Commands(), expected);
    EXPECT_EQ(pl3::BeepCount() > beeps, c.beep);
    EXPECT_EQ(FindWindowA("#32768", nullptr), nullptr);
  }
}

// ---- Pop-up menus --------------------------------------------------------------------------

TEST_F(MenuWindowTest, TrackPopupReturnsOrPostsTheCommand) {
  // TPM_RETURNCMD: the id comes back and nothing is posted.
  pl3::SetMenuHook([&](HMENU menu, HWND) {
    RECT r{};
    ASSERT_TRUE(GetMenuItemRect(frame, menu, 3, &r));
    ClickAt(Center(r));
  });
  EXPECT_EQ(TrackPopupMenu(menus.file, TPM_RETURNCMD, 100, 100, 0, frame, nullptr), static_cast<BOOL>(kExit));
  pl3::PumpMessages();
  EXPECT_TRUE(Commands().empty());
  std::vector<UINT> expected{WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, WM_MENUSELECT, WM_MENUSELECT,
                             WM_EXITMENULOOP};
  EXPECT_EQ(HeardMessages(), expected);
  EXPECT_EQ(g_heard[0].wParam, static_cast<WPARAM>(TRUE));

  // Without it the command is posted.
  g_heard.clear();
  EXPECT_TRUE(TrackPopupMenu(menus.file, 0, 100, 100, 0, frame, nullptr));
  pl3::PumpMessages();
  EXPECT_EQ(Commands(), std::vector<UINT>{kExit});

  // With no hook the menu is dismissed: 0, no command; without TPM_RETURNCMD
  // that is still a success.
  g_heard.clear();
  pl3::ClearMenuHook();
  EXPECT_EQ(TrackPopupMenu(menus.file, TPM_RETURNCMD, 100, 100, 0, frame, nullptr), 0);
  EXPECT_EQ(HeardMessages().back(), WM_EXITMENULOOP);
  EXPECT_TRUE(TrackPopupMenu(menus.file, 0, 100, 100, 0, frame, nullptr));
  pl3::PumpMessages();
  EXPECT_TRUE(Commands().empty());
}

TEST_F(MenuWindowTest, RightButtonChoosesOnlyWhenAsked) {
  for (UINT flags : {TPM_RETURNCMD, TPM_RETURNCMD | TPM_RIGHTBUTTON}) {
    pl3::SetMenuHook([&](HMENU menu, HWND) {
      RECT r{};
      ASSERT_TRUE(GetMenuItemRect(frame, menu, 0, &r));
      ClickAt(Center(r), pl3::MouseButton::Right);
    });
    BOOL got = TrackPopupMenu(menus.file, flags, 60, 60, 0, frame, nullptr);
    EXPECT_EQ(got, (flags & TPM_RIGHTBUTTON) ? static_cast<BOOL>(kNew) : 0) << flags;
  }
}

TEST_F(MenuWindowTest, ClickOutsideDismissesAndTheClickStaysQueued) {
  RECT client;
  GetClientRect(frame, &client);
  POINT outside{client.right - 10, client.bottom - 10};
  ClientToScreen(frame, &outside);
  pl3::SetMenuHook([&](HMENU, HWND) { ClickAt(outside); });
  EXPECT_EQ(TrackPopupMenu(menus.file, TPM_RETURNCMD, 40, 60, 0, frame, nullptr), 0);
  g_heard.clear();
  pl3::PumpMessages();
  ASSERT_FALSE(g_heard.empty());
  EXPECT_EQ(g_heard[0].message, WM_LBUTTONDOWN);  // the closing click reaches the frame afterwards
}

TEST_F(MenuWindowTest, PopupAvoidsTheExclusionAreaAndStaysOnScreen) {
  RECT screen = pl3::ScreenRect();
  struct Case {
    int x, y;
    UINT flags;
    RECT exclude;
  };
  const Case cases[] = {
      {100, 100, TPM_VERTICAL, {90, 90, 200, 130}},     // below the area
      {100, 100, TPM_HORIZONTAL, {90, 90, 200, 130}},   // right of it
      {static_cast<int>(screen.right) - 5, static_cast<int>(screen.bottom) - 5, 0, {0, 0, 0, 0}},  // pulled back on screen
      {300, 300, TPM_RIGHTALIGN | TPM_BOTTOMALIGN, {0, 0, 0, 0}},  // ends at the point
  };
  for (const Case& c : cases) {
    RECT shown{};
    pl3::SetMenuHook([&](HMENU, HWND) { GetWindowRect(FindWindowA("#32768", nullptr), &shown); });
    TPMPARAMS params{sizeof(TPMPARAMS), c.exclude};
    TrackPopupMenuEx(menus.file, c.flags | TPM_RETURNCMD, c.x, c.y, frame, &params);
    RECT overlap;
    EXPECT_FALSE(IntersectRect(&overlap, &shown, &c.exclude)) << c.flags;
    EXPECT_GE(shown.left, screen.left);
    EXPECT_LE(shown.right, screen.right);
    EXPECT_LE(shown.bottom, screen.bottom);
    EXPECT_GT(shown.bottom - shown.top, 40);
    if (c.flags & TPM_VERTICAL) {
      EXPECT_EQ(shown.top, c.exclude.bottom);
    }
    if (c.flags == TPM_HORIZONTAL && c.exclude.right) {
      EXPECT_EQ(shown.left, c.exclude.right);
    }
    if (c.flags & TPM_BOTTOMALIGN) {
      EXPECT_EQ(shown.right, c.x);
      EXPECT_EQ(shown.bottom, c.y);
    }
  }
}

// An owner-drawn pop-up: measured and drawn by its owner.
TEST_F(MenuWindowTest, OwnerDrawnPopupMatchesItsPicture) {
  HMENU popup = CreatePopupMenu();
  for (UINT i = 0; i < 3; ++i) AppendMenuA(popup, MF_OWNERDRAW, 500 + i, reinterpret_cast<LPCSTR>(std::uintptr_t{i + 1}));
  AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(popup, MF_STRING | MF_CHECKED, 510, "&Plain\tF5");
  AppendMenuA(popup, MF_STRING | MF_GRAYED, 511, "Greyed");
  HWND shownWindow = nullptr;
  std::string actual = pl3test::MakeTempDir("menu_golden") + "/owner_drawn_popup.png";
  pl3::SetMenuHook([&](HMENU menu, HWND) {
    shownWindow = FindWindowA("#32768", nullptr);
    RECT r{};
    ASSERT_TRUE(GetMenuItemRect(frame, menu, 1, &r));
    pl3::InjectMouseMove(Center(r));  // select the second swatch; saved once it is drawn
  });
  g_onMessage = [&](UINT m, WPARAM w, LPARAM l) {
    if (m == WM_MENUSELECT && LOWORD(w) == 501) PostMessageA(frame, WM_USER + 1, 0, 0);
    if (m == WM_USER + 1) {
      UpdateWindow(shownWindow);
      pl3::SaveWindowPng(shownWindow, actual.c_str());
    }
  };
  TrackPopupMenu(popup, TPM_RETURNCMD, 50, 50, 0, frame, nullptr);
  ASSERT_NE(shownWindow, nullptr);
  // Every owner-drawn item was measured: 60 + its data wide, 24 high.
  int measured = 0;
  for (const Heard& h : g_heard) measured += h.message == WM_MEASUREITEM;
  EXPECT_EQ(measured, 3);
  EXPECT_GE(g_drawnSelected, 1);
  EXPECT_EQ(g_drawnSelectedMenu, popup);

  pl3test::ExpectPngMatchesGolden(actual, "owner_drawn_popup.png");
  DestroyMenu(popup);
}

// ---- Menus and windows that go away inside the loop ------------------------------------------

TEST_F(MenuWindowTest, MenuDestroyedByItsOwnerEndsTheLoop) {
  g_onMessage = [&](UINT m, WPARAM w, LPARAM) {
    if (m == WM_INITMENUPOPUP) DestroyMenu(reinterpret_cast<HMENU>(w));
  };
  pl3::SetMenuHook([&](HMENU, HWND) { ADD_FAILURE() << "the loop ran on a destroyed menu"; });
  EXPECT_EQ(TrackPopupMenu(menus.file, TPM_RETURNCMD, 50, 50, 0, frame, nullptr), 0);
  EXPECT_FALSE(IsMenu(menus.file));
  EXPECT_EQ(FindWindowA("#32768", nullptr), nullptr);
}

TEST_F(MenuWindowTest, OwnerDestroyedInsideTheLoopEndsItCleanly) {
  pl3::SetMenuHook([&](HMENU, HWND owner) {
    RECT r{};
    GetMenuItemRect(owner, menus.file, 0, &r);
    DestroyWindow(owner);
    ClickAt(Center(r));  // lands nowhere
  });
  ClickAt(Center(BarItem(0)));
  pl3::PumpMessages();
  EXPECT_FALSE(IsWindow(frame));
  EXPECT_TRUE(Commands().empty());
  EXPECT_EQ(FindWindowA("#32768", nullptr), nullptr);
}

TEST_F(MenuWindowTest, OneLoopAtATimeAndEndMenuClosesIt) {
  BOOL nested = TRUE;
  DWORD error = 0;
  pl3::SetMenuHook([&](HMENU, HWND) {
    nested = TrackPopupMenu(menus.edit, TPM_RETURNCMD, 0, 0, 0, frame, nullptr);
    error = GetLastError();
    RECT r{};
    ASSERT_TRUE(GetMenuItemRect(frame, menus.file, 0, &r));
    pl3::InjectMouseMove(Center(r));
    EXPECT_TRUE(EndMenu());
  });
  EXPECT_EQ(TrackPopupMenu(menus.file, TPM_RETURNCMD, 50, 50, 0, frame, nullptr), 0);
  EXPECT_EQ(nested, FALSE);
  EXPECT_EQ(error, ERROR_POPUP_ALREADY_ACTIVE);
  EXPECT_FALSE(EndMenu());  // none running now
}

TEST_F(MenuWindowTest, SystemMenuChoiceArrivesAsSysCommand) {
  HMENU system = GetSystemMenu(frame, FALSE);
  ASSERT_NE(system, nullptr);
  EXPECT_EQ(GetSystemMenu(frame, FALSE), system);  // one copy per window
  EXPECT_EQ(GetMenuState(system, SC_CLOSE, MF_BYCOMMAND), MF_ENABLED);
  pl3::SetMenuHook([&](HMENU menu, HWND) {
    RECT r{};
    ASSERT_TRUE(GetMenuItemRect(frame, menu, 3, &r));  // Minimize
    ClickAt(Center(r));
  });
  g_onMessage = [&](UINT m, WPARAM, LPARAM) {
    if (m == WM_SYSCOMMAND) g_onMessage = nullptr;
  };
  TrackPopupMenu(system, 0, 50, 50, 0, frame, nullptr);
  pl3::PumpMessages();
  bool heard = false;
  for (const Heard& h : g_heard) heard |= h.message == WM_SYSCOMMAND && h.wParam == SC_MINIMIZE;
  EXPECT_TRUE(heard);
  EXPECT_TRUE(IsIconic(frame));
  EXPECT_EQ(GetSystemMenu(frame, TRUE), nullptr);
  EXPECT_FALSE(IsMenu(system));
}

TEST(SystemParameters, MenuFontAndSizes) {
  NONCLIENTMETRICSA m{};
  m.cbSize = sizeof m;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0));
  EXPECT_STRNE(m.lfMenuFont.lfFaceName, "");
  EXPECT_LT(m.lfMenuFont.lfHeight, 0);
  EXPECT_EQ(m.iMenuHeight, GetSystemMetrics(SM_CYMENUSIZE));
  m.cbSize = 12;
  EXPECT_FALSE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 12, &m, 0));
  BOOL flat = TRUE;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETFLATMENU, 0, &flat, 0));
  EXPECT_FALSE(flat);
}

}  // namespace
