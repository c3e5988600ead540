// Captioned child windows: hit-test codes of the caption, its buttons and
// the sizing border; the move and size loops and their limits; the caption
// buttons; and windows that go away inside their own loop.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/gdi.h"
#include "platform/menus.h"
#include "platform/user.h"

namespace {

std::vector<UINT> g_heard;
std::function<bool(HWND, UINT, WPARAM, LPARAM)> g_handle;  // true: handled, no DefWindowProc
POINT g_minTrack{80, 60}, g_maxTrack{300, 250};

LRESULT CALLBACK PaneProc(HWND hwnd, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_SYSCOMMAND || m == WM_ENTERSIZEMOVE || m == WM_EXITSIZEMOVE || m == WM_NCLBUTTONDOWN)
    g_heard.push_back(m);
  if (g_handle && g_handle(hwnd, m, w, l)) return 0;
  if (m == WM_GETMINMAXINFO) {
    auto* mmi = reinterpret_cast<MINMAXINFO*>(l);
    mmi->ptMinTrackSize = g_minTrack;
    mmi->ptMaxTrackSize = g_maxTrack;
    return 0;
  }
  return DefWindowProcA(hwnd, m, w, l);
}

class NonClientTest : public testing::Test {
 protected:
  void SetUp() override {
    g_heard.clear();
    g_handle = nullptr;
    WNDCLASSA wc{};
    wc.lpfnWndProc = &PaneProc;
    wc.lpszClassName = "Pane";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    ASSERT_TRUE(RegisterClassA(&wc));
    top = CreateWindowExA(0, "Pane", "Top", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 480, nullptr, nullptr,
                          nullptr, nullptr);
    pane = CreateWindowExA(0, "Pane", "Pane", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, 50, 50, 200, 150, top,
                           nullptr, nullptr, nullptr);
    ASSERT_NE(pane, nullptr);
    pl3::PumpMessages();
    g_heard.clear();
  }
  void TearDown() override { g_handle = nullptr; }

  // A screen point at window coordinates of the pane.
  POINT At(int x, int y) {
    RECT r;
    GetWindowRect(pane, &r);
    return POINT{r.left + x, r.top + y};
  }
  // A point `fromRight` pixels left of the pane's right edge, on the caption.
  POINT OnCaptionFromRight(int fromRight) {
    RECT r;
    GetWindowRect(pane, &r);
    return POINT{r.right - fromRight, r.top + 13};
  }
  LRESULT HitAt(int x, int y) {
    POINT p = At(x, y);
    return SendMessageA(pane, WM_NCHITTEST, 0, MAKEPOINTLPARAM(p.x, p.y));
  }
  void Drag(POINT from, int dx, int dy, bool escape = false) {
    pl3::InjectMouseMove(from);
    pl3::InjectMouseButton(pl3::MouseButton::Left, true, from);
    POINT to{from.x + dx, from.y + dy};
    pl3::InjectMouseMove(to);
    if (escape) pl3::InjectKeyStroke(VK_ESCAPE);
    pl3::InjectMouseButton(pl3::MouseButton::Left, false, to);
    pl3::PumpMessages();
  }
  RECT InParent() {
    RECT r;
    GetWindowRect(pane, &r);
    MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

  HWND top = nullptr;
  HWND pane = nullptr;
};

// The pane is 200 x 150 with a 4-pixel sizing border and an 18-pixel caption:
// the caption runs from (4, 4) to (196, 22), its buttons 16 pixels wide from
// the right: Close, then Maximize and Minimize.
TEST_F(NonClientTest, HitTestCodesCoverEveryPart) {
  struct Case {
    int x, y;
    LRESULT code;
  };
  const Case cases[] = {
      {1, 1, HTTOPLEFT},     {100, 1, HTTOP},        {198, 1, HTTOPRIGHT},   {1, 75, HTLEFT},
      {198, 75, HTRIGHT},    {1, 148, HTBOTTOMLEFT}, {100, 148, HTBOTTOM},   {198, 148, HTBOTTOMRIGHT},
      {1, 10, HTTOPLEFT},    {10, 148, HTBOTTOMLEFT},  // the corner grips reach along the edges
      {100, 13, HTCAPTION},  {13, 13, HTSYSMENU},    {186, 13, HTCLOSE},     {168, 13, HTMAXBUTTON},
      {152, 13, HTMINBUTTON}, {100, 80, HTCLIENT},   {300, 80, HTNOWHERE},
  };
  for (const Case& c : cases) EXPECT_EQ(HitAt(c.x, c.y), c.code) << c.x << "," << c.y;
  // Without a sizing border, the frame is a plain border.
  SetWindowLongPtrA(pane, GWL_STYLE, WS_CHILD | WS_VISIBLE | WS_CAPTION);
  SetWindowPos(pane, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  EXPECT_EQ(HitAt(0, 75), HTBORDER);
  EXPECT_EQ(HitAt(180, 10), HTCAPTION);  // no buttons without their styles
}

TEST_F(NonClientTest, SizingFollowsTheEdgeWithinTheLimits) {
  struct Case {
    int x, y;  // where the drag starts
    int dx, dy;
    RECT expected;  // in the parent's client coordinates
  };
  const Case cases[] = {
      {198, 148, 40, 30, {50, 50, 290, 230}},     // bottom-right grows both ways
      {198, 148, 500, 500, {50, 50, 350, 300}},   // up to the largest track size
      {198, 148, -500, -500, {50, 50, 130, 110}}, // down to the smallest
      {1, 75, -20, 99, {30, 50, 250, 200}},       // the left edge moves, the right stays
      {1, 75, 500, 0, {170, 50, 250, 200}},       // even when the smallest width stops it
      {100, 1, 0, 200, {50, 140, 250, 200}},      // the top edge stops at the smallest height
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " by " << c.dx << "," << c.dy);
    SetWindowPos(pane, nullptr, 50, 50, 200, 150, SWP_NOZORDER);
    g_heard.clear();
    Drag(At(c.x, c.y), c.dx, c.dy);
    RECT r = InParent();
    EXPECT_EQ(r.left, c.expected.left);
    EXPECT_EQ(r.top, c.expected.top);
    EXPECT_EQ(r.right, c.expected.right);
    EXPECT_EQ(r.bottom, c.expected.bottom);
    EXPECT_EQ(g_heard, (std::vector<UINT>{WM_NCLBUTTONDOWN, WM_SYSCOMMAND, WM_ENTERSIZEMOVE, WM_EXITSIZEMOVE}));
  }
}

TEST_F(NonClientTest, CaptionDragMovesAndEscapeCancels) {
  Drag(At(100, 13), 30, 20);
  RECT r = InParent();
  EXPECT_EQ(r.left, 80);
  EXPECT_EQ(r.top, 70);
  EXPECT_EQ(r.right - r.left, 200);
  Drag(At(100, 13), 60, 60, true);
  r = InParent();
  EXPECT_EQ(r.left, 80);  // put back
  EXPECT_EQ(r.top, 70);
  // A procedure that takes WM_NCLBUTTONDOWN itself keeps the window where it is.
  g_handle = [](HWND, UINT m, WPARAM, LPARAM) { return m == WM_NCLBUTTONDOWN; };
  Drag(At(100, 13), 30, 20);
  EXPECT_EQ(InParent().left, 80);
}

TEST_F(NonClientTest, CaptionButtonsActOnRelease) {
  const int maxButton = 32, closeButton = 14, minButton = 48;  // centres, from the right edge
  Drag(OnCaptionFromRight(maxButton), 0, 0);
  EXPECT_TRUE(IsZoomed(pane));
  RECT r = InParent();
  EXPECT_EQ(r.left, 0);
  Drag(OnCaptionFromRight(maxButton), 0, 0);  // the same button now restores
  EXPECT_FALSE(IsZoomed(pane));
  EXPECT_EQ(InParent().left, 50);
  Drag(OnCaptionFromRight(minButton), 0, 0);
  EXPECT_TRUE(IsIconic(pane));
  ShowWindow(pane, SW_RESTORE);
  Drag(OnCaptionFromRight(closeButton), 0, 40);  // released away from Close: nothing
  EXPECT_TRUE(IsWindow(pane));
  Drag(OnCaptionFromRight(closeButton), 0, 0);
  EXPECT_FALSE(IsWindow(pane));
}

TEST_F(NonClientTest, SystemBoxOpensTheSystemMenu) {
  HMENU shown = nullptr;
  g_handle = [&](HWND, UINT m, WPARAM w, LPARAM) {
    if (m == WM_INITMENUPOPUP) shown = reinterpret_cast<HMENU>(w);
    return false;
  };
  Drag(At(13, 13), 0, 0);
  EXPECT_EQ(shown, GetSystemMenu(pane, FALSE));
}

TEST_F(NonClientTest, WindowDestroyedInItsOwnMoveLoop) {
  g_handle = [](HWND hwnd, UINT m, WPARAM, LPARAM) {
    if (m == WM_MOVE) DestroyWindow(hwnd);
    return false;
  };
  Drag(At(100, 13), 30, 20);
  EXPECT_FALSE(IsWindow(pane));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(NonClientTest, CaptionedToolWindowDrawsItsOwnFrame) {
  HWND floating = CreateWindowExA(WS_EX_TOOLWINDOW, "Pane", "Floating",
                                  WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VISIBLE, 300, 200, 200, 150,
                                  top, nullptr, nullptr, nullptr);
  ASSERT_NE(floating, nullptr);
  RECT c;
  GetClientRect(floating, &c);
  EXPECT_EQ(c.bottom, 150 - 2 * 4 - 18);
  EXPECT_EQ(SendMessageA(floating, WM_NCHITTEST, 0, MAKEPOINTLPARAM(400, 213)), HTCAPTION);
  EXPECT_EQ(SendMessageA(floating, WM_NCHITTEST, 0, MAKEPOINTLPARAM(301, 201)), HTTOPLEFT);
  RECT adjusted{0, 0, 100, 100};
  AdjustWindowRectEx(&adjusted, WS_POPUP | WS_CAPTION | WS_THICKFRAME, FALSE, WS_EX_TOOLWINDOW);
  EXPECT_EQ(adjusted.bottom - adjusted.top, 100 + 2 * 4 + 18);
  // Its caption moves it on the screen.
  pl3::PumpMessages();
  Drag(POINT{400, 213}, 30, 20);
  RECT r;
  GetWindowRect(floating, &r);
  EXPECT_EQ(r.left, 330);
  EXPECT_EQ(r.top, 220);
  // A tool window without a caption keeps the whole window as client.
  HWND plain = CreateWindowExA(WS_EX_TOOLWINDOW, "Pane", "", WS_POPUP, 0, 0, 50, 40, top, nullptr, nullptr, nullptr);
  GetClientRect(plain, &c);
  EXPECT_EQ(c.bottom, 40);
}

}  // namespace
