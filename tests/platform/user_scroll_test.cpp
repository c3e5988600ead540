// Scroll bars: clamping, bars that come and go with the range (and the
// client area and WM_SIZE with them), the codes sent for clicks on each
// part, held buttons repeating, thumb drags, the SCROLLBAR control, and
// windows that go away in their own scroll loop.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/gdi.h"
#include "platform/scroll.h"
#include "platform/user.h"

namespace {

struct Scrolled {
  UINT message;
  WORD code;
  int pos;
  LPARAM lParam;
  int trackPos;  // GetScrollInfo's SIF_TRACKPOS when it arrived
};
std::vector<Scrolled> g_scrolls;
std::vector<SIZE> g_sizes;
std::function<void(const Scrolled&)> g_onScroll;

LRESULT CALLBACK ScrolledProc(HWND hwnd, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_VSCROLL || m == WM_HSCROLL) {
    HWND from = l ? reinterpret_cast<HWND>(l) : hwnd;
    int bar = l ? SB_CTL : (m == WM_VSCROLL ? SB_VERT : SB_HORZ);
    SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
    GetScrollInfo(from, bar, &si);
    g_scrolls.push_back(Scrolled{m, LOWORD(w), static_cast<short>(HIWORD(w)), l, si.nTrackPos});
    if (g_onScroll) g_onScroll(g_scrolls.back());
    return 0;
  }
  if (m == WM_SIZE) g_sizes.push_back(SIZE{LOWORD(l), HIWORD(l)});
  return DefWindowProcA(hwnd, m, w, l);
}

void ClickAt(POINT p) {
  pl3::InjectMouseMove(p);
  pl3::InjectMouseButton(pl3::MouseButton::Left, true, p);
  pl3::InjectMouseButton(pl3::MouseButton::Left, false, p);
  pl3::PumpMessages();
}

std::vector<WORD> Codes() {
  std::vector<WORD> out;
  for (const Scrolled& s : g_scrolls) out.push_back(s.code);
  return out;
}

class ScrollTest : public testing::Test {
 protected:
  void SetUp() override {
    g_scrolls.clear();
    g_sizes.clear();
    g_onScroll = nullptr;
    WNDCLASSA wc{};
    wc.lpfnWndProc = &ScrolledProc;
    wc.lpszClassName = "Scrolled";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    ASSERT_TRUE(RegisterClassA(&wc));
    top = CreateWindowExA(0, "Scrolled", "Top", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                          nullptr, nullptr);
    view = CreateWindowExA(0, "Scrolled", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 10, 10, 200, 200, top,
                           nullptr, nullptr, nullptr);
    ASSERT_NE(view, nullptr);
    pl3::PumpMessages();
    g_sizes.clear();
  }
  void TearDown() override { g_onScroll = nullptr; }

  void SetBar(int bar, int minPos, int maxPos, UINT page, int pos) {
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, minPos, maxPos, page, pos, 0};
    SetScrollInfo(view, bar, &si, TRUE);
  }
  // A screen point on the vertical bar, `fromTop` pixels down (negative: up from the bottom).
  POINT OnVerticalBar(int fromTop) {
    RECT c;
    GetClientRect(view, &c);
    POINT p{c.right + GetSystemMetrics(SM_CXVSCROLL) / 2, fromTop >= 0 ? fromTop : c.bottom + fromTop};
    ClientToScreen(view, &p);
    return p;
  }

  HWND top = nullptr;
  HWND view = nullptr;
};

TEST_F(ScrollTest, PositionAndPageAreClamped) {
  struct Case {
    int min, max;
    UINT page;
    int pos;
    UINT wantPage;
    int wantPos;
  };
  const Case cases[] = {
      {0, 99, 10, 95, 10, 90},     // the last page starts at 90
      {0, 99, 10, -5, 10, 0},
      {0, 99, 0, 99, 0, 99},       // no page: any position up to the maximum
      {0, 99, 500, 40, 100, 0},    // the page is cut to the range
      {-50, 50, 1, 50, 1, 50},
      {20, 10, 0, 15, 0, 20},      // a maximum below the minimum is raised to it
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.min << ".." << c.max << " page " << c.page << " pos " << c.pos);
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, c.min, c.max, c.page, c.pos, 0};
    EXPECT_EQ(SetScrollInfo(view, SB_VERT, &si, TRUE), c.wantPos);
    SCROLLINFO out{sizeof out, SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(view, SB_VERT, &out));
    EXPECT_EQ(out.nPage, c.wantPage);
    EXPECT_EQ(out.nPos, c.wantPos);
    EXPECT_EQ(out.nTrackPos, c.wantPos);  // not dragging: the position
  }
  SetBar(SB_HORZ, 0, 9, 0, 3);
  EXPECT_EQ(SetScrollPos(view, SB_HORZ, 7, TRUE), 3);
  EXPECT_EQ(GetScrollPos(view, SB_HORZ), 7);
  int lo = -1, hi = -1;
  ASSERT_TRUE(GetScrollRange(view, SB_HORZ, &lo, &hi));
  EXPECT_EQ(hi, 9);
  // Bad bars and windows fail.
  EXPECT_EQ(GetScrollPos(view, 7), 0);
  EXPECT_FALSE(GetScrollRange(reinterpret_cast<HWND>(0x4321), SB_VERT, &lo, &hi));
  SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, 1, 0};
  EXPECT_EQ(SetScrollInfo(nullptr, SB_VERT, &si, TRUE), 0);
}

TEST_F(ScrollTest, BarsComeAndGoWithTheRangeAndTheClientFollows) {
  const int cx = GetSystemMetrics(SM_CXVSCROLL), cy = GetSystemMetrics(SM_CYHSCROLL);
  RECT c;
  GetClientRect(view, &c);
  EXPECT_EQ(c.right, 200 - cx);  // both bars shown at first
  EXPECT_EQ(c.bottom, 200 - cy);
  EXPECT_EQ(SendMessageA(view, WM_NCHITTEST, 0, MAKEPOINTLPARAM(OnVerticalBar(5).x, OnVerticalBar(5).y)), HTVSCROLL);

  SetBar(SB_VERT, 0, 49, 50, 0);  // the page holds everything: the bar goes
  GetClientRect(view, &c);
  EXPECT_EQ(c.right, 200);
  EXPECT_FALSE(GetWindowLongPtrA(view, GWL_STYLE) & WS_VSCROLL);
  ASSERT_FALSE(g_sizes.empty());
  EXPECT_EQ(g_sizes.back().cx, 200);

  SetBar(SB_VERT, 0, 99, 99, 0);  // and comes back: one position left to scroll
  GetClientRect(view, &c);
  EXPECT_EQ(c.right, 200 - cx);
  EXPECT_EQ(g_sizes.back().cx, 200 - cx);
  SetBar(SB_VERT, 0, 99, 100, 0);  // exactly a page: none
  EXPECT_FALSE(GetWindowLongPtrA(view, GWL_STYLE) & WS_VSCROLL);
  SetBar(SB_VERT, 0, 99, 50, 0);
  GetClientRect(view, &c);
  EXPECT_EQ(c.right, 200 - cx);

  // Kept, disabled, when asked.
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL, 0, 9, 20, 0, 0};
  SetScrollInfo(view, SB_VERT, &si, TRUE);
  EXPECT_TRUE(GetWindowLongPtrA(view, GWL_STYLE) & WS_VSCROLL);
  g_scrolls.clear();
  pl3::InjectClick(view, POINT{c.right + 2, 5});
  pl3::PumpMessages();
  EXPECT_TRUE(g_scrolls.empty());  // a disabled bar sends nothing

  SetScrollRange(view, SB_HORZ, 0, 0, TRUE);  // an empty range hides it
  GetClientRect(view, &c);
  EXPECT_EQ(c.bottom, 200);
  ASSERT_TRUE(ShowScrollBar(view, SB_BOTH, FALSE));
  GetClientRect(view, &c);
  EXPECT_EQ(c.right, 200);
}

TEST_F(ScrollTest, ClicksOnEachPartSendTheirCodes) {
  SetBar(SB_VERT, 0, 99, 10, 45);  // the thumb sits in the middle
  const int arrow = GetSystemMetrics(SM_CXVSCROLL);
  struct Case {
    int fromTop;
    WORD code;
  };
  const Case cases[] = {
      {2, SB_LINEUP}, {-2, SB_LINEDOWN}, {arrow + 3, SB_PAGEUP}, {-arrow - 3, SB_PAGEDOWN}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fromTop);
    g_scrolls.clear();
    POINT p = OnVerticalBar(c.fromTop);
    pl3::InjectMouseMove(p);
    pl3::InjectMouseButton(pl3::MouseButton::Left, true, p);
    pl3::InjectMouseButton(pl3::MouseButton::Left, false, p);
    pl3::PumpMessages();
    EXPECT_EQ(Codes(), (std::vector<WORD>{c.code, SB_ENDSCROLL}));
    EXPECT_EQ(g_scrolls[0].message, static_cast<UINT>(WM_VSCROLL));
    EXPECT_EQ(GetScrollPos(view, SB_VERT), 45);  // the program moves the bar, not the click
  }
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ScrollTest, HeldButtonRepeatsAfterADelay) {
  SetBar(SB_VERT, 0, 99, 10, 45);
  std::uint64_t started = pl3::MessageClockNow();
  g_onScroll = [&](const Scrolled& s) {
    if (s.code == SB_LINEDOWN && g_scrolls.size() == 5) {
      EXPECT_EQ(pl3::MessageClockNow() - started, kScrollFirstRepeatMs + 3 * kScrollRepeatMs);
      pl3::InjectMouseButton(pl3::MouseButton::Left, false, OnVerticalBar(-2));
    }
  };
  POINT p = OnVerticalBar(-2);
  pl3::InjectMouseMove(p);
  pl3::InjectMouseButton(pl3::MouseButton::Left, true, p);
  pl3::PumpMessages();
  EXPECT_EQ(Codes(), (std::vector<WORD>{SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN,
                                        SB_ENDSCROLL}));

  // Paging stops once the thumb has passed the pointer.
  g_scrolls.clear();
  int steps = 0;
  g_onScroll = [&](const Scrolled& s) {
    if (s.code == SB_PAGEDOWN) {
      SetScrollPos(view, SB_VERT, GetScrollPos(view, SB_VERT) + 10, TRUE);
      if (++steps == 20) pl3::InjectMouseButton(pl3::MouseButton::Left, false, OnVerticalBar(-20));
    }
  };
  SetScrollPos(view, SB_VERT, 0, TRUE);
  p = OnVerticalBar(-GetSystemMetrics(SM_CXVSCROLL) - 4);
  pl3::InjectMouseMove(p);
  pl3::InjectMouseButton(pl3::MouseButton::Left, true, p);
  pl3::PumpMessages();
  EXPECT_LT(steps, 20);  // stopped by the thumb, not by the release
  EXPECT_EQ(g_scrolls.back().code, SB_ENDSCROLL);
  pl3::InjectMouseButton(pl3::MouseButton::Left, false, p);
  pl3::PumpMessages();
}

TEST_F(ScrollTest, DraggingTheThumbTracksThenSetsThePosition) {
  SetBar(SB_VERT, 0, 99, 10, 0);
  const int arrow = GetSystemMetrics(SM_CXVSCROLL);
  POINT grab = OnVerticalBar(arrow + 4);  // on the thumb at the top
  // Moves queued together arrive as one: the next goes in as each is reported.
  int moves = 0;
  g_onScroll = [&](const Scrolled& s) {
    if (s.code != SB_THUMBTRACK) return;
    ++moves;
    if (moves < 3) pl3::InjectMouseMove(POINT{grab.x, grab.y + 20 * (moves + 1)});
    if (moves == 3) pl3::InjectMouseMove(POINT{grab.x, grab.y + 1000});  // past the end: the last page
    if (moves == 4) pl3::InjectMouseButton(pl3::MouseButton::Left, false, POINT{grab.x, grab.y + 1000});
  };
  pl3::InjectMouseMove(grab);
  pl3::InjectMouseButton(pl3::MouseButton::Left, true, grab);
  pl3::InjectMouseMove(POINT{grab.x, grab.y + 20});
  pl3::PumpMessages();
  std::vector<WORD> codes = Codes();
  ASSERT_EQ(codes.size(), 6u);
  int last = 0;
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(codes[i], SB_THUMBTRACK);
    EXPECT_GT(g_scrolls[i].pos, last);
    EXPECT_EQ(g_scrolls[i].trackPos, g_scrolls[i].pos);  // SIF_TRACKPOS follows the drag
    last = g_scrolls[i].pos;
  }
  EXPECT_EQ(last, 90);
  EXPECT_EQ(codes[4], SB_THUMBPOSITION);
  EXPECT_EQ(g_scrolls[4].pos, 90);
  EXPECT_EQ(codes[5], SB_ENDSCROLL);
  EXPECT_EQ(GetScrollPos(view, SB_VERT), 0);
  SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
  GetScrollInfo(view, SB_VERT, &si);
  EXPECT_EQ(si.nTrackPos, 0);  // the drag is over
}

TEST_F(ScrollTest, ScrollBarControlReportsToItsParent) {
  HWND bar = CreateWindowExA(0, "SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE | SBS_HORZ, 10, 250, 200, 16, top,
                             nullptr, nullptr, nullptr);
  ASSERT_NE(bar, nullptr);
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_POS, 0, 10, 0, 5, 0};
  EXPECT_EQ(SetScrollInfo(bar, SB_CTL, &si, TRUE), 5);
  pl3::PumpMessages();
  pl3::InjectClick(bar, POINT{196, 8});  // the right arrow
  pl3::PumpMessages();
  ASSERT_EQ(Codes(), (std::vector<WORD>{SB_LINERIGHT, SB_ENDSCROLL}));
  EXPECT_EQ(g_scrolls[0].message, static_cast<UINT>(WM_HSCROLL));
  EXPECT_EQ(g_scrolls[0].lParam, reinterpret_cast<LPARAM>(bar));
  // It draws its arrows and thumb over the trough.
  const pl3::PixelSurface* s = pl3::WindowSurface(bar);
  POINT p{100, 8};
  MapWindowPoints(bar, top, &p, 1);  // the top window's client is its whole framebuffer
  EXPECT_EQ(s->pixels[(p.y) * s->stride + p.x] & 0xFFFFFF,
            static_cast<std::uint32_t>((GetRValue(GetSysColor(COLOR_3DFACE)) << 16) |
                                       (GetGValue(GetSysColor(COLOR_3DFACE)) << 8) | GetBValue(GetSysColor(COLOR_3DFACE))));
}

TEST_F(ScrollTest, WindowDestroyedInItsOwnScrollLoop) {
  SetBar(SB_VERT, 0, 99, 10, 45);
  g_onScroll = [&](const Scrolled& s) {
    if (s.code == SB_LINEDOWN) DestroyWindow(view);
  };
  POINT p = OnVerticalBar(-2);
  pl3::InjectMouseMove(p);
  pl3::InjectMouseButton(pl3::MouseButton::Left, true, p);
  pl3::PumpMessages();
  EXPECT_FALSE(IsWindow(view));
  EXPECT_EQ(Codes(), std::vector<WORD>{SB_LINEDOWN});
  EXPECT_EQ(GetCapture(), nullptr);
  pl3::InjectMouseButton(pl3::MouseButton::Left, false, p);
  pl3::PumpMessages();
}

TEST_F(ScrollTest, ListBoxShowsItsBarWhileItsItemsOverflow) {
  HWND list = CreateWindowExA(0, "LISTBOX", nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL, 220, 10, 120, 100, top,
                              nullptr, nullptr, nullptr);
  ASSERT_NE(list, nullptr);
  auto hasBar = [&] { return (GetWindowLongPtrA(list, GWL_STYLE) & WS_VSCROLL) != 0; };
  EXPECT_FALSE(hasBar());  // empty: no bar
  for (int i = 0; i < 3; ++i) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("item"));
  EXPECT_FALSE(hasBar());
  for (int i = 0; i < 27; ++i) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("more"));
  ASSERT_TRUE(hasBar());
  RECT c;
  GetClientRect(list, &c);
  EXPECT_EQ(c.right, 120 - GetSystemMetrics(SM_CXVSCROLL));
  pl3::PumpMessages();

  // The bar's down arrow scrolls the list a row, its thumb drag to the end the last page.
  POINT arrow{c.right + 2, c.bottom - 2};
  ClientToScreen(list, &arrow);
  ClickAt(arrow);
  EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 1);
  EXPECT_EQ(GetScrollPos(list, SB_VERT), 1);
  SCROLLINFO si{sizeof si, SIF_PAGE | SIF_RANGE, 0, 0, 0, 0, 0};
  GetScrollInfo(list, SB_VERT, &si);
  EXPECT_EQ(si.nMax, 29);
  const int visible = static_cast<int>(si.nPage);
  POINT thumb{c.right + 2, GetSystemMetrics(SM_CXVSCROLL) + 2};
  ClientToScreen(list, &thumb);
  pl3::InjectMouseMove(thumb);
  pl3::InjectMouseButton(pl3::MouseButton::Left, true, thumb);
  pl3::InjectMouseMove(POINT{thumb.x, thumb.y + 500});
  pl3::InjectMouseButton(pl3::MouseButton::Left, false, POINT{thumb.x, thumb.y + 500});
  pl3::PumpMessages();
  EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 30 - visible);

  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  EXPECT_FALSE(hasBar());
  GetClientRect(list, &c);
  EXPECT_EQ(c.right, 120);
}

TEST_F(ScrollTest, MultiLineEditShowsItsBarWhileItsLinesOverflow) {
  HWND field = CreateWindowExA(0, "EDIT", "one line", WS_CHILD | WS_VISIBLE | ES_MULTILINE | WS_VSCROLL, 220, 150,
                               150, 100, top, nullptr, nullptr, nullptr);
  ASSERT_NE(field, nullptr);
  auto hasBar = [&] { return (GetWindowLongPtrA(field, GWL_STYLE) & WS_VSCROLL) != 0; };
  EXPECT_FALSE(hasBar());
  std::string text;
  for (int i = 0; i < 30; ++i) text += "line\r\n";
  SetWindowTextA(field, text.c_str());
  ASSERT_TRUE(hasBar());
  int lo = -1, hi = -1;
  GetScrollRange(field, SB_VERT, &lo, &hi);
  EXPECT_EQ(hi, 30);  // 31 lines: the last one empty
  pl3::PumpMessages();
  RECT c;
  GetClientRect(field, &c);
  POINT arrow{c.right + 2, c.bottom - 2};
  ClientToScreen(field, &arrow);
  ClickAt(arrow);
  ClickAt(arrow);
  EXPECT_EQ(SendMessageA(field, EM_GETFIRSTVISIBLELINE, 0, 0), 2);
  EXPECT_EQ(GetScrollPos(field, SB_VERT), 2);
  SendMessageA(field, WM_VSCROLL, SB_BOTTOM, 0);
  SCROLLINFO si{sizeof si, SIF_PAGE, 0, 0, 0, 0, 0};
  GetScrollInfo(field, SB_VERT, &si);
  EXPECT_EQ(SendMessageA(field, EM_GETFIRSTVISIBLELINE, 0, 0), 31 - static_cast<int>(si.nPage));
  SetWindowTextA(field, "short");
  EXPECT_FALSE(hasBar());
}

TEST_F(ScrollTest, DroppedComboListScrollsByItsBarAndStaysOpen) {
  HWND combo = CreateWindowExA(0, "COMBOBOX", nullptr, WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 20, 20, 150, 200,
                               top, nullptr, nullptr, nullptr);
  ASSERT_NE(combo, nullptr);
  for (int i = 0; i < 8; ++i) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("few"));
  SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
  HWND list = FindWindowA("ComboLBox", nullptr);
  ASSERT_NE(list, nullptr);
  EXPECT_FALSE(GetWindowLongPtrA(list, GWL_STYLE) & WS_VSCROLL);  // all of them fit
  SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
  for (int i = 0; i < 22; ++i) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("more"));
  SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
  list = FindWindowA("ComboLBox", nullptr);
  ASSERT_NE(list, nullptr);
  ASSERT_TRUE(GetWindowLongPtrA(list, GWL_STYLE) & WS_VSCROLL);
  RECT c;
  GetClientRect(list, &c);
  POINT arrow{c.right + 2, c.bottom - 2};
  ClientToScreen(list, &arrow);
  ClickAt(arrow);
  ClickAt(arrow);
  EXPECT_TRUE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));  // the bar keeps the list open
  EXPECT_EQ(GetScrollPos(list, SB_VERT), 2);
  EXPECT_EQ(GetCapture(), list);
  // The first row shown is now item 2: clicking it picks it.
  POINT first{c.right / 2, 3};
  ClientToScreen(list, &first);
  ClickAt(first);
  EXPECT_FALSE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 2);
}

TEST_F(ScrollTest, AComboMadeWithScrollStylesDrawsItsClosedBoxWithoutBars) {
  const DWORD base = WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST;
  HWND plain = CreateWindowExA(0, "COMBOBOX", nullptr, base, 20, 20, 150, 200, top, nullptr, nullptr, nullptr);
  HWND barred = CreateWindowExA(0, "COMBOBOX", nullptr, base | WS_VSCROLL | WS_HSCROLL, 20, 60, 150, 200, top, nullptr,
                                nullptr, nullptr);
  ASSERT_TRUE(plain && barred);
  for (int i = 0; i < 30; ++i) {
    SendMessageA(plain, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("item"));
    SendMessageA(barred, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("item"));
  }
  pl3::PumpMessages();
  EXPECT_FALSE(GetWindowLongPtrA(barred, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL));
  RECT a, b;
  GetClientRect(plain, &a);
  GetClientRect(barred, &b);
  EXPECT_TRUE(EqualRect(&a, &b));
  GetWindowRect(plain, &a);
  GetWindowRect(barred, &b);
  ASSERT_EQ(a.right - a.left, b.right - b.left);
  ASSERT_EQ(a.bottom - a.top, b.bottom - b.top);
  // The two closed boxes look the same, pixel for pixel.
  MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&a), 2);
  MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&b), 2);
  HDC dc = GetDC(top);
  int differing = 0;
  for (int y = 0; y < a.bottom - a.top; ++y)
    for (int x = 0; x < a.right - a.left; ++x)
      differing += GetPixel(dc, a.left + x, a.top + y) != GetPixel(dc, b.left + x, b.top + y);
  ReleaseDC(top, dc);
  EXPECT_EQ(differing, 0);
  // Dropped, its list still gets the bar its items need.
  SendMessageA(barred, CB_SHOWDROPDOWN, TRUE, 0);
  HWND list = FindWindowA("ComboLBox", nullptr);
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(GetWindowLongPtrA(list, GWL_STYLE) & WS_VSCROLL);
  SendMessageA(barred, CB_SHOWDROPDOWN, FALSE, 0);
}

}  // namespace

namespace {

// The arrows point away from the trough: the top arrow's one-pixel tip is
// its highest dark row, the bottom arrow's its lowest.
TEST(ScrollBarDrawing, ArrowsPointAwayFromTheTrough) {
  HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE | WS_VSCROLL, 40, 40, 120, 120, nullptr,
                                nullptr, nullptr, nullptr);
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE, 0, 99, 10, 0, 0};
  SetScrollInfo(window, SB_VERT, &si, TRUE);
  UpdateWindow(window);
  const int width = GetSystemMetrics(SM_CXVSCROLL), arrow = GetSystemMetrics(SM_CYVSCROLL);
  HDC dc = GetWindowDC(window);
  // Dark pixels of each row of an arrow box, top to bottom.
  auto rows = [&](int top) {
    std::vector<int> counts;
    for (int y = top + 1; y < top + arrow - 1; ++y) {
      int dark = 0;
      for (int x = 120 - width + 1; x < 119; ++x) dark += GetPixel(dc, x, y) == GetSysColor(COLOR_BTNTEXT);
      if (dark) counts.push_back(dark);
    }
    return counts;
  };
  const std::vector<int> up = rows(0), down = rows(120 - arrow);
  ReleaseDC(window, dc);
  DestroyWindow(window);
  ASSERT_GE(up.size(), 2u);
  ASSERT_GE(down.size(), 2u);
  EXPECT_LT(up.front(), up.back());
  EXPECT_GT(down.front(), down.back());
}

}  // namespace
