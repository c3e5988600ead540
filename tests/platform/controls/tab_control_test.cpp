// The tab control: items in and out (texts cut to the caller's buffer, bad
// indexes refused), the selection moved by clicks and arrow keys with
// TCN_SELCHANGING (which may refuse) and TCN_SELCHANGE, and the display
// area TCM_ADJUSTRECT gives both ways.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/commctrl.h"
#include "platform/user.h"
#include "tests/platform/controls/test_window.h"

namespace {

std::vector<UINT> g_codes;
std::vector<int> g_selectionAtNotify;
bool g_refuse = false;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_NOTIFY) {
    const auto* hdr = reinterpret_cast<const NMHDR*>(l);
    g_codes.push_back(hdr->code);
    g_selectionAtNotify.push_back(static_cast<int>(SendMessageA(hdr->hwndFrom, TCM_GETCURSEL, 0, 0)));
    return hdr->code == TCN_SELCHANGING && g_refuse;
  }
  return DefWindowProcA(hwnd, m, w, l);
}

class TabControlTest : public testing::Test {
 protected:
  void SetUp() override {
    g_codes.clear(), g_selectionAtNotify.clear();
    g_refuse = false;
    parent = pl3test::MakeParentWindow("TabParent", ParentProc, 400, 300);
    tabs = CreateWindowA(WC_TABCONTROL, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10, 360, 240, parent,
                         reinterpret_cast<HMENU>(5), nullptr, nullptr);
    ASSERT_NE(tabs, nullptr);
    for (const char* text : {"Layers", "Position", "Size"}) Insert(Count(), text);
  }
  void TearDown() override { DestroyWindow(parent); }
  int Count() { return static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0)); }
  LRESULT Insert(int at, const char* text, LPARAM param = 0) {
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = const_cast<char*>(text);
    item.lParam = param;
    return SendMessageA(tabs, TCM_INSERTITEM, at, reinterpret_cast<LPARAM>(&item));
  }
  int Current() { return static_cast<int>(SendMessageA(tabs, TCM_GETCURSEL, 0, 0)); }
  void Click(int index) {
    RECT r{};
    ASSERT_TRUE(SendMessageA(tabs, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)));
    pl3test::ClickMiddle(tabs, r);
  }
  HWND parent = nullptr;
  HWND tabs = nullptr;
};

TEST_F(TabControlTest, ItemsKeepTheirTextsAndParamsAndRefuseBadIndexes) {
  EXPECT_EQ(Insert(1, "Page Range", 77), 1);
  EXPECT_EQ(Insert(99, "Last"), 5 - 1);  // past the end: appended
  EXPECT_EQ(Count(), 5);
  char text[5] = "????";
  TCITEMA item{};
  item.mask = TCIF_TEXT | TCIF_PARAM;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  ASSERT_TRUE(SendMessageA(tabs, TCM_GETITEM, 1, reinterpret_cast<LPARAM>(&item)));
  EXPECT_STREQ(text, "Page");  // cut to the buffer and terminated
  EXPECT_EQ(item.lParam, 77);

  EXPECT_EQ(Insert(-1, "bad"), -1);
  EXPECT_EQ(SendMessageA(tabs, TCM_INSERTITEM, 0, 0), -1);
  EXPECT_FALSE(SendMessageA(tabs, TCM_GETITEM, 5, reinterpret_cast<LPARAM>(&item)));
  EXPECT_FALSE(SendMessageA(tabs, TCM_SETITEM, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item)));
  EXPECT_FALSE(SendMessageA(tabs, TCM_DELETEITEM, 5, 0));
  RECT r;
  EXPECT_FALSE(SendMessageA(tabs, TCM_GETITEMRECT, 5, reinterpret_cast<LPARAM>(&r)));
  EXPECT_EQ(SendMessageA(tabs, TCM_SETCURSEL, 5, 0), -1);
  EXPECT_EQ(Count(), 5);
  EXPECT_TRUE(g_codes.empty());
}

TEST_F(TabControlTest, SelectionFollowsInsertsAndDeletes) {
  EXPECT_EQ(Current(), 0);
  EXPECT_EQ(SendMessageA(tabs, TCM_SETCURSEL, 2, 0), 0);  // the old selection; no notification
  EXPECT_TRUE(g_codes.empty());
  Insert(0, "First");
  EXPECT_EQ(Current(), 3);  // still "Size"
  ASSERT_TRUE(SendMessageA(tabs, TCM_DELETEITEM, 0, 0));
  EXPECT_EQ(Current(), 2);
  ASSERT_TRUE(SendMessageA(tabs, TCM_DELETEITEM, 2, 0));  // the selected, last tab goes
  EXPECT_EQ(Current(), 1);
  ASSERT_TRUE(SendMessageA(tabs, TCM_DELETEALLITEMS, 0, 0));
  EXPECT_EQ(Current(), -1);
  EXPECT_EQ(Count(), 0);
}

TEST_F(TabControlTest, ClicksAndArrowsAskTheParentFirst) {
  Click(2);
  EXPECT_EQ(Current(), 2);
  EXPECT_EQ(GetFocus(), tabs);
  // TCN_SELCHANGING arrives while the old tab is still selected.
  EXPECT_EQ(g_codes, (std::vector<UINT>{TCN_SELCHANGING, TCN_SELCHANGE}));
  EXPECT_EQ(g_selectionAtNotify, (std::vector<int>{0, 2}));

  g_codes.clear();
  pl3::InjectKeyStroke(VK_LEFT);
  pl3::PumpMessages();
  EXPECT_EQ(Current(), 1);
  EXPECT_EQ(g_codes, (std::vector<UINT>{TCN_KEYDOWN, TCN_SELCHANGING, TCN_SELCHANGE}));

  g_codes.clear();
  g_refuse = true;
  Click(0);
  pl3::InjectKeyStroke(VK_RIGHT);
  pl3::PumpMessages();
  EXPECT_EQ(Current(), 1);
  EXPECT_EQ(g_codes, (std::vector<UINT>{TCN_SELCHANGING, TCN_KEYDOWN, TCN_SELCHANGING}));

  // Clicking the selected tab or past the tabs changes nothing.
  g_codes.clear();
  g_refuse = false;
  Click(1);
  EXPECT_TRUE(g_codes.empty());
  TCHITTESTINFO hit{{300, 5}, 0};
  EXPECT_EQ(SendMessageA(tabs, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
  EXPECT_EQ(hit.flags, TCHT_NOWHERE);
}

TEST_F(TabControlTest, AdjustRectGoesBetweenWindowAndDisplayArea) {
  RECT window{10, 10, 370, 250};
  RECT display = window;
  SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  RECT item{};
  SendMessageA(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_GE(display.top, window.top + item.bottom);  // below the row of tabs
  EXPECT_GT(display.left, window.left);
  EXPECT_LT(display.right, window.right);
  EXPECT_LT(display.bottom, window.bottom);
  SendMessageA(tabs, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&display));
  EXPECT_EQ(display.left, window.left);
  EXPECT_EQ(display.top, window.top);
  EXPECT_EQ(display.right, window.right);
  EXPECT_EQ(display.bottom, window.bottom);
}

}  // namespace
