// The status bar: its place along the parent's bottom and a height that
// texts and icons do not change, the part layout and its bad input, texts
// read back cut to the caller's buffer, owner-drawn parts, clicks, and its
// picture.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/commctrl.h"
#include "platform/gdi.h"
#include "platform/resource_images.h"
#include "platform/user.h"
#include "tests/platform/controls/test_window.h"
#include "tests/platform/golden_png.h"
#include "tests/platform/heard_messages.h"

namespace {

std::vector<pl3::test::Heard> g_heard;
std::vector<NMMOUSE> g_clicks;
std::vector<DRAWITEMSTRUCT> g_drawn;
HWND g_bar = nullptr;

LRESULT CALLBACK FrameProc(HWND hwnd, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_NOTIFY) {
    const auto* hdr = reinterpret_cast<const NMHDR*>(l);
    g_heard.push_back({hwnd, m, w, static_cast<LPARAM>(hdr->code)});
    if (hdr->code == NM_CLICK || hdr->code == NM_RCLICK || hdr->code == NM_DBLCLK)
      g_clicks.push_back(*reinterpret_cast<const NMMOUSE*>(l));
    return 0;
  }
  if (m == WM_DRAWITEM) {
    g_drawn.push_back(*reinterpret_cast<const DRAWITEMSTRUCT*>(l));
    return TRUE;
  }
  if (m == WM_SIZE && g_bar) SendMessageA(g_bar, WM_SIZE, w, l);
  return DefWindowProcA(hwnd, m, w, l);
}

class StatusBarTest : public testing::Test {
 protected:
  void SetUp() override {
    g_heard.clear(), g_clicks.clear(), g_drawn.clear();
    g_bar = nullptr;
    frame = pl3test::MakeParentWindow("StatusFrame", FrameProc, 400, 200);
    ASSERT_NE(frame, nullptr);
    g_bar = bar = CreateStatusWindowA(WS_CHILD | WS_VISIBLE, "Ready", frame, 77);
    ASSERT_NE(bar, nullptr);
  }
  void TearDown() override {
    g_bar = nullptr;
    DestroyWindow(frame);
  }
  RECT BarRect() const {
    RECT r;
    GetWindowRect(bar, &r);
    MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  RECT PartRect(int part) const {
    RECT r{};
    EXPECT_TRUE(SendMessageA(bar, SB_GETRECT, part, reinterpret_cast<LPARAM>(&r)));
    return r;
  }
  HWND frame = nullptr;
  HWND bar = nullptr;
};

TEST_F(StatusBarTest, SitsAlongTheBottomAtAHeightNoTextOrIconChanges) {
  RECT client;
  GetClientRect(frame, &client);
  const RECT first = BarRect();
  const int height = first.bottom - first.top;
  EXPECT_EQ(first.left, 0);
  EXPECT_EQ(first.right, client.right);
  EXPECT_EQ(first.bottom, client.bottom);
  EXPECT_GE(height, 18);
  EXPECT_LE(height, 30);

  char text[16];
  EXPECT_EQ(GetWindowTextA(bar, text, sizeof text), 5);
  EXPECT_STREQ(text, "Ready");

  int edges[] = {100, 200, -1};
  ASSERT_TRUE(SendMessageA(bar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges)));
  SendMessageA(bar, SB_SETTEXT, 1, reinterpret_cast<LPARAM>("A much longer text than the part can show"));
  SendMessageA(bar, SB_SETICON, 2, reinterpret_cast<LPARAM>(LoadIconA(nullptr, IDI_INFORMATION)));
  SendMessageA(bar, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
  EXPECT_EQ(BarRect().bottom - BarRect().top, height);

  // The parent grows and forwards WM_SIZE: the bar follows, same height.
  SetWindowPos(frame, nullptr, 0, 0, 600, 350, SWP_NOZORDER | SWP_NOMOVE);
  GetClientRect(frame, &client);
  const RECT moved = BarRect();
  EXPECT_EQ(moved.right, client.right);
  EXPECT_EQ(moved.bottom, client.bottom);
  EXPECT_EQ(moved.bottom - moved.top, height);
  // The last part (-1) reaches the new right edge.
  EXPECT_EQ(PartRect(2).right, client.right);
}

TEST_F(StatusBarTest, PartsFollowTheirRightEdgesAndBadLayoutsChangeNothing) {
  int edges[] = {120, 250, -1};
  ASSERT_TRUE(SendMessageA(bar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges)));
  RECT client;
  GetClientRect(bar, &client);
  const RECT p0 = PartRect(0), p1 = PartRect(1), p2 = PartRect(2);
  EXPECT_EQ(p0.left, 0);
  EXPECT_EQ(p0.right, 120);
  EXPECT_GT(p1.left, p0.right);  // a gap between parts
  EXPECT_EQ(p1.right, 250);
  EXPECT_EQ(p2.right, client.right);
  EXPECT_GT(p0.top, 0);
  EXPECT_EQ(p0.bottom, client.bottom);

  int back[4] = {0, 0, 0, 0};
  EXPECT_EQ(SendMessageA(bar, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(back)), 3);
  EXPECT_EQ(back[0], 120);
  EXPECT_EQ(back[1], 250);
  EXPECT_EQ(back[2], -1);
  EXPECT_EQ(back[3], 0);  // nothing written past the parts

  int many[300];
  for (int i = 0; i < 300; ++i) many[i] = i * 2;
  struct Bad {
    WPARAM count;
    LPARAM edges;
  } const bad[] = {{0, reinterpret_cast<LPARAM>(edges)}, {257, reinterpret_cast<LPARAM>(many)}, {2, 0}};
  for (const Bad& b : bad) EXPECT_FALSE(SendMessageA(bar, SB_SETPARTS, b.count, b.edges)) << b.count;
  EXPECT_EQ(SendMessageA(bar, SB_GETPARTS, 0, 0), 3);

  RECT r;
  EXPECT_FALSE(SendMessageA(bar, SB_GETRECT, 3, reinterpret_cast<LPARAM>(&r)));
  EXPECT_FALSE(SendMessageA(bar, SB_GETRECT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&r)));
  EXPECT_FALSE(SendMessageA(bar, SB_SETTEXT, 3, reinterpret_cast<LPARAM>("past the end")));
  EXPECT_FALSE(SendMessageA(bar, SB_SETICON, 5, 0));
  EXPECT_EQ(SendMessageA(bar, SB_GETTEXTLENGTH, 3, 0), 0);
  char buffer[8] = "keep";
  EXPECT_EQ(SendMessageA(bar, SB_GETTEXT, 3, reinterpret_cast<LPARAM>(buffer)), 0);
  EXPECT_STREQ(buffer, "keep");
}

TEST_F(StatusBarTest, TextsComeBackWithTheirTypeAndCutToTheBuffer) {
  int edges[] = {100, -1};
  SendMessageA(bar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
  ASSERT_TRUE(SendMessageA(bar, SB_SETTEXT, 1 | SBT_POPOUT, reinterpret_cast<LPARAM>("Layer: Top")));
  EXPECT_EQ(SendMessageA(bar, SB_GETTEXTLENGTH, 1, 0), static_cast<LRESULT>(MAKELONG(10, SBT_POPOUT)));
  char text[32];
  EXPECT_EQ(SendMessageA(bar, SB_GETTEXT, 1, reinterpret_cast<LPARAM>(text)), static_cast<LRESULT>(MAKELONG(10, SBT_POPOUT)));
  EXPECT_STREQ(text, "Layer: Top");
  // A null text empties the part.
  SendMessageA(bar, SB_SETTEXT, 1, 0);
  EXPECT_EQ(SendMessageA(bar, SB_GETTEXTLENGTH, 1, 0), 0);

  // WM_SETTEXT is part 0; WM_GETTEXT cuts to the buffer and terminates.
  SetWindowTextA(bar, "Grid 25 mil");
  char small[5] = {'x', 'x', 'x', 'x', 'x'};
  EXPECT_EQ(GetWindowTextA(bar, small, sizeof small), 4);
  EXPECT_STREQ(small, "Grid");
  EXPECT_EQ(SendMessageA(bar, SB_GETTEXTLENGTH, 0, 0), 11);
}

TEST_F(StatusBarTest, OwnerDrawnPartsAreDrawnByTheParentWithTheirData) {
  int edges[] = {100, 220, -1};
  SendMessageA(bar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges));
  ASSERT_TRUE(SendMessageA(bar, SB_SETTEXT, 1 | SBT_OWNERDRAW, 0x1234));
  EXPECT_EQ(SendMessageA(bar, SB_GETTEXT, 1, 0), 0x1234);
  InvalidateRect(bar, nullptr, TRUE);
  UpdateWindow(bar);
  ASSERT_EQ(g_drawn.size(), 1u);
  const DRAWITEMSTRUCT& d = g_drawn[0];
  EXPECT_EQ(d.hwndItem, bar);
  EXPECT_EQ(d.CtlID, 77u);
  EXPECT_EQ(d.itemID, 1u);
  EXPECT_EQ(d.itemData, 0x1234u);
  const RECT part = PartRect(1);
  EXPECT_GE(d.rcItem.left, part.left);
  EXPECT_LE(d.rcItem.right, part.right);
}

TEST_F(StatusBarTest, ClicksNameThePartUnderThePointer) {
  int edges[] = {100, 220, -1};
  SendMessageA(bar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges));
  const RECT barRect = BarRect();
  struct Click {
    int x;
    pl3::MouseButton button;
    UINT code;
    DWORD_PTR part;
  } const clicks[] = {{50, pl3::MouseButton::Left, NM_CLICK, 0},
                      {150, pl3::MouseButton::Right, NM_RCLICK, 1},
                      {300, pl3::MouseButton::Left, NM_CLICK, 2}};
  for (const Click& c : clicks) {
    pl3test::ClickAt(frame, POINT{c.x, (barRect.top + barRect.bottom) / 2}, c.button);
  }
  ASSERT_EQ(g_clicks.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(g_clicks[i].hdr.code, clicks[i].code) << i;
    EXPECT_EQ(g_clicks[i].hdr.hwndFrom, bar);
    EXPECT_EQ(g_clicks[i].hdr.idFrom, 77u);
    EXPECT_EQ(g_clicks[i].dwItemSpec, clicks[i].part) << i;
  }
}

TEST_F(StatusBarTest, SimpleModeShowsItsOwnPartAndKeepsTheOthers) {
  int edges[] = {100, -1};
  SendMessageA(bar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
  SendMessageA(bar, SB_SETTEXT, 1, reinterpret_cast<LPARAM>("kept"));
  SendMessageA(bar, SB_SIMPLE, TRUE, 0);
  EXPECT_TRUE(SendMessageA(bar, SB_ISSIMPLE, 0, 0));
  ASSERT_TRUE(SendMessageA(bar, SB_SETTEXT, SB_SIMPLEID, reinterpret_cast<LPARAM>("Menu help")));
  RECT client;
  GetClientRect(bar, &client);
  EXPECT_EQ(PartRect(0).right, client.right);
  SendMessageA(bar, SB_SIMPLE, FALSE, 0);
  char text[16];
  SendMessageA(bar, SB_GETTEXT, 1, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "kept");
  EXPECT_EQ(PartRect(0).right, 100);
}

TEST_F(StatusBarTest, MatchesItsPicture) {
  DestroyWindow(bar);
  g_bar = bar = CreateStatusWindowA(WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, "", frame, 78);
  int edges[] = {110, 190, 290, -1};
  SendMessageA(bar, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(edges));
  SendMessageA(bar, SB_SETTEXT, 0, reinterpret_cast<LPARAM>("Ready"));
  SendMessageA(bar, SB_SETTEXT, 1 | SBT_POPOUT, reinterpret_cast<LPARAM>("\tTop"));
  SendMessageA(bar, SB_SETTEXT, 2 | SBT_NOBORDERS, reinterpret_cast<LPARAM>("\t\t25 mil"));
  SendMessageA(bar, SB_SETTEXT, 3, reinterpret_cast<LPARAM>("GND"));
  SendMessageA(bar, SB_SETICON, 3, reinterpret_cast<LPARAM>(LoadIconA(nullptr, IDI_INFORMATION)));
  pl3test::ExpectWindowMatchesGolden(frame, "status_bar.png");
}

}  // namespace
