// Tooltips: tracked tips placed where the program says (kept on the screen)
// at the bubble size they report, wrapping at the maximum width; hover tips
// after the delay on the message clock and gone when the pointer leaves or
// the auto-pop delay ends; the notifications tools hear; and bad input.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/commctrl.h"
#include "platform/gdi.h"
#include "platform/user.h"
#include "tests/platform/controls/test_window.h"

namespace {

std::vector<UINT> g_codes;

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_NOTIFY) {
    g_codes.push_back(reinterpret_cast<const NMHDR*>(l)->code);
    return 0;
  }
  return DefWindowProcA(hwnd, m, w, l);
}

class TooltipTest : public testing::Test {
 protected:
  void SetUp() override {
    g_codes.clear();
    pl3::SetScreenSize(1024, 768);
    owner = pl3test::MakeParentWindow("TipOwner", OwnerProc, 400, 300);
    ASSERT_NE(owner, nullptr);
    tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASS, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, owner,
                          nullptr, nullptr, nullptr);
    ASSERT_NE(tip, nullptr);
  }
  void TearDown() override {
    DestroyWindow(tip);
    DestroyWindow(owner);
  }
  TOOLINFOA Tool(UINT flags, UINT_PTR id, const char* text, RECT rect = RECT{}) {
    TOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = flags;
    ti.hwnd = owner;
    ti.uId = id;
    ti.rect = rect;
    ti.lpszText = const_cast<char*>(text);
    return ti;
  }
  SIZE Bubble(TOOLINFOA& ti) {
    const auto v = static_cast<DWORD>(SendMessageA(tip, TTM_GETBUBBLESIZE, 0, reinterpret_cast<LPARAM>(&ti)));
    return SIZE{LOWORD(v), HIWORD(v)};
  }
  RECT TipRect() {
    RECT r;
    GetWindowRect(tip, &r);
    return r;
  }
  HWND owner = nullptr;
  HWND tip = nullptr;
};

TEST_F(TooltipTest, TrackedTipsStandWhereTheProgramPutsThemAtTheirBubbleSize) {
  TOOLINFOA ti = Tool(TTF_TRACK | TTF_ABSOLUTE, 1, "Net GND");
  ASSERT_TRUE(SendMessageA(tip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti)));
  SendMessageA(tip, TTM_TRACKPOSITION, 0, MAKELPARAM(200, 150));
  EXPECT_FALSE(IsWindowVisible(tip));  // only once activated
  SendMessageA(tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
  ASSERT_TRUE(IsWindowVisible(tip));
  const SIZE size = Bubble(ti);
  EXPECT_GT(size.cx, 20);
  EXPECT_GT(size.cy, 8);
  struct Place {
    int x, y;
    LONG left, top;
  } const places[] = {{300, 100, 300, 100}, {1020, 100, 1024 - size.cx, 100}, {100, 766, 100, 768 - size.cy},
                      {-40, -9, 0, 0}};
  for (const Place& p : places) {
    SendMessageA(tip, TTM_TRACKPOSITION, 0, MAKELPARAM(p.x, p.y));
    const RECT r = TipRect();
    EXPECT_EQ(r.left, p.left) << p.x;
    EXPECT_EQ(r.top, p.top) << p.y;
    EXPECT_EQ(r.right - r.left, size.cx);
    EXPECT_EQ(r.bottom - r.top, size.cy);
  }
  // A longer text makes a wider bubble in place.
  ti.lpszText = const_cast<char*>("Net GND, 12 connections");
  SendMessageA(tip, TTM_UPDATETIPTEXT, 0, reinterpret_cast<LPARAM>(&ti));
  EXPECT_GT(Bubble(ti).cx, size.cx);
  EXPECT_EQ(TipRect().right - TipRect().left, Bubble(ti).cx);
  SendMessageA(tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
  EXPECT_FALSE(IsWindowVisible(tip));
  EXPECT_EQ(g_codes, (std::vector<UINT>{TTN_SHOW, TTN_POP}));

  // Without TTF_ABSOLUTE the tip stands below and right of the point.
  TOOLINFOA near = Tool(TTF_TRACK, 2, "near");
  ASSERT_TRUE(SendMessageA(tip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&near)));
  SendMessageA(tip, TTM_TRACKPOSITION, 0, MAKELPARAM(300, 100));
  SendMessageA(tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&near));
  EXPECT_GT(TipRect().left, 300);
  EXPECT_GT(TipRect().top, 100);
}

TEST_F(TooltipTest, LongTextsWrapAtTheMaximumWidth) {
  TOOLINFOA ti = Tool(TTF_TRACK, 1, "A long hint that tells the user what the button under the pointer does");
  ASSERT_TRUE(SendMessageA(tip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti)));
  const SIZE one = Bubble(ti);
  EXPECT_EQ(SendMessageA(tip, TTM_SETMAXTIPWIDTH, 0, 150), -1);
  const SIZE wrapped = Bubble(ti);
  EXPECT_LE(wrapped.cx, 150);
  EXPECT_GE(wrapped.cy, 3 * (one.cy - 6));  // several lines
  EXPECT_EQ(SendMessageA(tip, TTM_SETMAXTIPWIDTH, 0, -1), 150);
  EXPECT_EQ(Bubble(ti).cx, one.cx);

  // Line breaks stand with or without a maximum width: four lines, as wide as the longest.
  TOOLINFOA lines = Tool(TTF_TRACK, 2, "dX 10 mm\r\ndY 5 mm\r\nDistance 11.18 mm\r\nAngle 26.57 degrees");
  TOOLINFOA longest = Tool(TTF_TRACK, 3, "Angle 26.57 degrees");
  ASSERT_TRUE(SendMessageA(tip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&lines)));
  ASSERT_TRUE(SendMessageA(tip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&longest)));
  const SIZE four = Bubble(lines), single = Bubble(longest);
  EXPECT_EQ(four.cx, single.cx);
  EXPECT_GE(four.cy, 4 * (single.cy - 8));
}

TEST_F(TooltipTest, HoverTipsFollowTheClockAndThePointer) {
  TOOLINFOA ti = Tool(0, 7, "Zoom in", RECT{10, 10, 60, 40});
  ASSERT_TRUE(SendMessageA(tip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti)));
  auto relay = [&](int x, int y) {
    MSG msg{owner, WM_MOUSEMOVE, 0, MAKELPARAM(x, y), 0, {x, y}};
    SendMessageA(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
  };
  relay(20, 20);
  pl3::AdvanceTestClock(450);
  pl3::PumpMessages();
  relay(25, 22);  // resting on the same tool does not restart the wait
  EXPECT_FALSE(IsWindowVisible(tip));
  pl3::AdvanceTestClock(60);
  pl3::PumpMessages();
  EXPECT_TRUE(IsWindowVisible(tip));
  relay(100, 100);  // off the tool
  EXPECT_FALSE(IsWindowVisible(tip));
  EXPECT_EQ(g_codes, (std::vector<UINT>{TTN_SHOW, TTN_POP}));

  // Back on it: shown after the delay, gone by itself after the auto-pop delay.
  relay(20, 20);
  pl3::AdvanceTestClock(500);
  pl3::PumpMessages();
  ASSERT_TRUE(IsWindowVisible(tip));
  pl3::AdvanceTestClock(5000);
  pl3::PumpMessages();
  EXPECT_FALSE(IsWindowVisible(tip));

  // Switched off: nothing shows.
  SendMessageA(tip, TTM_ACTIVATE, FALSE, 0);
  relay(30, 30);
  pl3::AdvanceTestClock(1000);
  pl3::PumpMessages();
  EXPECT_FALSE(IsWindowVisible(tip));
}

TEST_F(TooltipTest, BadToolsAndShortBuffersFailCleanly) {
  TOOLINFOA ti = Tool(TTF_TRACK, 1, "Clearance 8 mil");
  ti.cbSize = sizeof ti - 8;
  EXPECT_FALSE(SendMessageA(tip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti)));
  EXPECT_FALSE(SendMessageA(tip, TTM_ADDTOOL, 0, 0));
  ti.cbSize = sizeof ti;
  EXPECT_TRUE(SendMessageA(tip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti)));
  EXPECT_FALSE(SendMessageA(tip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti)));  // already there
  EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);

  char small[10];
  TOOLINFOA query = Tool(0, 1, nullptr);
  query.lpszText = small;
  EXPECT_EQ(SendMessageA(tip, TTM_GETTEXT, sizeof small, reinterpret_cast<LPARAM>(&query)), 9);
  EXPECT_STREQ(small, "Clearance");
  query.cbSize = sizeof query - 8;
  small[0] = 'x';
  EXPECT_EQ(SendMessageA(tip, TTM_GETTEXT, sizeof small, reinterpret_cast<LPARAM>(&query)), 0);
  EXPECT_EQ(small[0], 'x');
  TOOLINFOA unknown = Tool(0, 99, nullptr);
  unknown.lpszText = small;
  EXPECT_EQ(SendMessageA(tip, TTM_GETTEXT, sizeof small, reinterpret_cast<LPARAM>(&unknown)), 0);
  EXPECT_EQ(SendMessageA(tip, TTM_GETBUBBLESIZE, 0, reinterpret_cast<LPARAM>(&unknown)), 0);
  SendMessageA(tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&unknown));
  EXPECT_FALSE(IsWindowVisible(tip));

  // Deleting the tool that shows takes its tip down.
  SendMessageA(tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
  ASSERT_TRUE(IsWindowVisible(tip));
  SendMessageA(tip, TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&ti));
  EXPECT_FALSE(IsWindowVisible(tip));
  EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 0);
}

}  // namespace
