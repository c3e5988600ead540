// The progress bar and the trackbar: positions kept in their ranges and the
// answers their messages give; the trackbar's keys, page clicks and thumb
// drags with the scroll codes the parent hears, in order; and their picture.
#include <gtest/gtest.h>

#include <vector>

#include "platform/commctrl.h"
#include "platform/user.h"
#include "tests/platform/controls/test_window.h"
#include "tests/platform/golden_png.h"

namespace {

struct Scroll {
  UINT message;
  WORD code;
  WORD pos;
  int posWhenHeard;
  bool operator==(const Scroll&) const = default;
};
std::vector<Scroll> g_scrolls;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT m, WPARAM w, LPARAM l) {
  if ((m == WM_HSCROLL || m == WM_VSCROLL) && l) {
    g_scrolls.push_back({m, LOWORD(w), HIWORD(w),
                         static_cast<int>(SendMessageA(reinterpret_cast<HWND>(l), TBM_GETPOS, 0, 0))});
    return 0;
  }
  return DefWindowProcA(hwnd, m, w, l);
}

class SmallBarsTest : public testing::Test {
 protected:
  void SetUp() override {
    g_scrolls.clear();
    parent = pl3test::MakeParentWindow("SmallBarsParent", ParentProc, 320, 200, COLOR_3DFACE);
    ASSERT_NE(parent, nullptr);
  }
  void TearDown() override { DestroyWindow(parent); }
  HWND Make(const char* cls, DWORD style, int x, int y, int w, int h) {
    return CreateWindowA(cls, "", WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent, nullptr, nullptr, nullptr);
  }
  HWND parent = nullptr;
};

TEST_F(SmallBarsTest, ProgressKeepsItsPositionInRangeAndAnswersThePreviousOne) {
  HWND bar = Make(PROGRESS_CLASS, 0, 10, 10, 200, 18);
  ASSERT_NE(bar, nullptr);
  struct Step {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT answer;
    int posAfter;
  } const steps[] = {
      {PBM_SETPOS, 40, 0, 0, 40},
      {PBM_SETPOS, 250, 0, 40, 100},  // clamped to the high end
      {PBM_SETRANGE, 0, MAKELPARAM(10, 50), MAKELONG(0, 100), 50},
      {PBM_SETPOS, static_cast<WPARAM>(-5), 0, 50, 10},
      {PBM_DELTAPOS, 15, 0, 10, 25},
      {PBM_SETSTEP, 20, 0, 10, 25},
      {PBM_STEPIT, 0, 0, 25, 45},
      {PBM_STEPIT, 0, 0, 45, 25},  // past 50: starts again from the low end (10 + 15)
      {PBM_SETRANGE32, 1000, 200000, MAKELONG(10, 50), 1000},
      {PBM_SETPOS, 150000, 0, 1000, 150000},
      {PBM_DELTAPOS, 100000, 0, 150000, 200000},
  };
  for (const Step& s : steps) {
    EXPECT_EQ(SendMessageA(bar, s.message, s.wParam, s.lParam), s.answer) << s.message << " " << s.wParam;
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), s.posAfter) << s.message << " " << s.wParam;
  }
  PBRANGE range{};
  EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range)), 1000);
  EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, FALSE, 0), 200000);
  EXPECT_EQ(range.iLow, 1000);
  EXPECT_EQ(range.iHigh, 200000);
}

TEST_F(SmallBarsTest, TrackbarKeysMoveByLinePageAndEnds) {
  HWND track = Make(TRACKBAR_CLASS, WS_TABSTOP, 10, 10, 220, 30);
  SendMessageA(track, TBM_SETRANGE, TRUE, MAKELPARAM(0, 50));
  SendMessageA(track, TBM_SETPOS, TRUE, 20);
  SendMessageA(track, TBM_SETLINESIZE, 0, 2);
  SendMessageA(track, TBM_SETPAGESIZE, 0, 10);
  EXPECT_TRUE(g_scrolls.empty());  // set by the program: nothing told
  SetFocus(track);
  for (int vk : {VK_RIGHT, VK_LEFT, VK_LEFT, VK_NEXT, VK_NEXT, VK_NEXT, VK_HOME, VK_PRIOR, VK_END}) {
    pl3::InjectKeyStroke(vk);
  }
  pl3::PumpMessages();
  const std::vector<Scroll> expected = {
      {WM_HSCROLL, TB_LINEDOWN, 0, 22}, {WM_HSCROLL, TB_ENDTRACK, 0, 22}, {WM_HSCROLL, TB_LINEUP, 0, 20},
      {WM_HSCROLL, TB_ENDTRACK, 0, 20}, {WM_HSCROLL, TB_LINEUP, 0, 18},   {WM_HSCROLL, TB_ENDTRACK, 0, 18},
      {WM_HSCROLL, TB_PAGEDOWN, 0, 28}, {WM_HSCROLL, TB_ENDTRACK, 0, 28}, {WM_HSCROLL, TB_PAGEDOWN, 0, 38},
      {WM_HSCROLL, TB_ENDTRACK, 0, 38}, {WM_HSCROLL, TB_PAGEDOWN, 0, 48}, {WM_HSCROLL, TB_ENDTRACK, 0, 48},
      {WM_HSCROLL, TB_TOP, 0, 0},       {WM_HSCROLL, TB_ENDTRACK, 0, 0},  {WM_HSCROLL, TB_PAGEUP, 0, 0},
      {WM_HSCROLL, TB_ENDTRACK, 0, 0},  {WM_HSCROLL, TB_BOTTOM, 0, 50},   {WM_HSCROLL, TB_ENDTRACK, 0, 50},
  };
  EXPECT_EQ(g_scrolls, expected);
  SendMessageA(track, TBM_SETPOS, TRUE, 999);
  EXPECT_EQ(SendMessageA(track, TBM_GETPOS, 0, 0), 50);
  SendMessageA(track, TBM_SETRANGEMAX, TRUE, 30);
  EXPECT_EQ(SendMessageA(track, TBM_GETPOS, 0, 0), 30);
}

TEST_F(SmallBarsTest, TrackbarDragsTrackThenSetThePositionAndClicksBesidePage) {
  HWND track = Make(TRACKBAR_CLASS, TBS_VERT, 10, 10, 30, 120);
  SendMessageA(track, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
  SendMessageA(track, TBM_SETPAGESIZE, 0, 3);
  RECT channel{}, thumb{};
  SendMessageA(track, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
  SendMessageA(track, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  const int length = channel.bottom - channel.top;
  POINT grab{(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
  ClientToScreen(track, &grab);
  pl3::InjectMouseMove(grab);
  pl3::InjectMouseButton(pl3::MouseButton::Left, true, grab);
  for (int tenth : {3, 3, 7}) {  // the second move lands on the same position: no message
    POINT to{grab.x, grab.y + length * tenth / 10};
    pl3::InjectMouseMove(to);
    pl3::PumpMessages();  // queued moves would merge into the last
  }
  POINT end{grab.x, grab.y + length * 7 / 10};
  pl3::InjectMouseButton(pl3::MouseButton::Left, false, end);
  pl3::PumpMessages();
  const std::vector<Scroll> dragged = {{WM_VSCROLL, TB_THUMBTRACK, 3, 3},
                                       {WM_VSCROLL, TB_THUMBTRACK, 7, 7},
                                       {WM_VSCROLL, TB_THUMBPOSITION, 7, 7},
                                       {WM_VSCROLL, TB_ENDTRACK, 0, 7}};
  EXPECT_EQ(g_scrolls, dragged);

  // Above the thumb: a page up; below: a page down.
  g_scrolls.clear();
  SendMessageA(track, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  pl3test::ClickAt(track, POINT{(thumb.left + thumb.right) / 2, channel.top});
  pl3test::ClickAt(track, POINT{(thumb.left + thumb.right) / 2, channel.bottom});
  const std::vector<Scroll> paged = {{WM_VSCROLL, TB_PAGEUP, 0, 4},
                                     {WM_VSCROLL, TB_ENDTRACK, 0, 4},
                                     {WM_VSCROLL, TB_PAGEDOWN, 0, 7},
                                     {WM_VSCROLL, TB_ENDTRACK, 0, 7}};
  EXPECT_EQ(g_scrolls, paged);
}

TEST_F(SmallBarsTest, MatchesTheirPicture) {
  HWND blocks = Make(PROGRESS_CLASS, 0, 10, 10, 200, 18);
  SendMessageA(blocks, PBM_SETPOS, 45, 0);
  HWND smooth = Make(PROGRESS_CLASS, PBS_SMOOTH, 10, 36, 200, 14);
  SendMessageA(smooth, PBM_SETPOS, 70, 0);
  HWND upright = Make(PROGRESS_CLASS, PBS_VERTICAL, 240, 10, 18, 100);
  SendMessageA(upright, PBM_SETPOS, 60, 0);
  HWND track = Make(TRACKBAR_CLASS, TBS_AUTOTICKS, 10, 70, 200, 34);
  SendMessageA(track, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
  SendMessageA(track, TBM_SETPOS, TRUE, 4);
  HWND upTrack = Make(TRACKBAR_CLASS, TBS_VERT, 270, 10, 30, 120);
  SendMessageA(upTrack, TBM_SETPOS, TRUE, 75);
  pl3test::ExpectWindowMatchesGolden(parent, "progress_and_trackbar.png");
}

}  // namespace
