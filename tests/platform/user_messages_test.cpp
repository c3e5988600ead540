// Windows and messages: the order in which a window procedure hears about
// creation, sizing, showing and painting; SendMessage re-entrancy; posted
// message order; PeekMessage filters; timers on the test clock; subclassing;
// focus and capture; input routing and painting into the framebuffer.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/gdi.h"
#include "platform/reset_hooks.h"
#include "platform/user.h"

namespace {

struct Heard {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<Heard> g_log;

bool Interesting(UINT m) {
  switch (m) {
    case WM_NCCREATE: case WM_CREATE: case WM_SIZE: case WM_MOVE: case WM_SHOWWINDOW: case WM_ACTIVATE:
    case WM_SETFOCUS: case WM_KILLFOCUS: case WM_PAINT: case WM_ERASEBKGND: case WM_DESTROY: case WM_NCDESTROY:
    case WM_CLOSE: case WM_TIMER: case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK: case WM_MOUSEMOVE:
    case WM_KEYDOWN: case WM_KEYUP: case WM_CHAR: case WM_SYSKEYDOWN: case WM_MOUSEWHEEL: case WM_CAPTURECHANGED:
    case WM_COMMAND: case WM_COPYDATA: case WM_SETCURSOR:
      return true;
    default: return m >= WM_USER;
  }
}

LRESULT CALLBACK LoggingProc(HWND hwnd, UINT m, WPARAM w, LPARAM l) {
  if (Interesting(m)) g_log.push_back(Heard{hwnd, m, w, l});
  if (m == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    HBRUSH b = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(dc, &ps.rcPaint, b);
    DeleteObject(b);
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProcA(hwnd, m, w, l);
}

std::vector<UINT> Messages(HWND only = nullptr) {
  std::vector<UINT> out;
  for (const Heard& h : g_log)
    if (!only || h.hwnd == only) out.push_back(h.message);
  return out;
}

class WindowTest : public testing::Test {
 protected:
  void SetUp() override {
    g_log.clear();
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &LoggingProc;
    wc.lpszClassName = "Test_Window";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_WINDOW + 1));
    wc.hCursor = LoadCursorA(nullptr, IDC_CROSS);
    ASSERT_NE(RegisterClassA(&wc), 0);
  }
  HWND MakeTop(DWORD style = WS_OVERLAPPEDWINDOW) {
    return CreateWindowExA(0, "TEST_WINDOW", "Top", style, 100, 50, 200, 150, nullptr, nullptr, nullptr, nullptr);
  }
};

TEST_F(WindowTest, CreationSizingShowingAndPaintingComeInOrder) {
  HWND h = MakeTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(Messages(h), (std::vector<UINT>{WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW, WM_ACTIVATE,
                                            WM_SETFOCUS}));
  EXPECT_EQ(g_log[2].lParam, MAKELPARAM(200, 150));
  g_log.clear();
  EXPECT_EQ(pl3::PumpMessages(), 1);
  EXPECT_EQ(Messages(h), (std::vector<UINT>{WM_PAINT, WM_ERASEBKGND}));
  // Painted: no second WM_PAINT until something is invalidated again.
  g_log.clear();
  EXPECT_EQ(pl3::PumpMessages(), 0);
  RECT r{10, 10, 20, 20};
  InvalidateRect(h, &r, FALSE);
  RECT u;
  EXPECT_TRUE(GetUpdateRect(h, &u, FALSE));
  EXPECT_EQ(u.left, 10);
  EXPECT_EQ(u.bottom, 20);
  pl3::PumpMessages();
  EXPECT_EQ(Messages(h), (std::vector<UINT>{WM_PAINT}));  // no erase asked for
  // The blue paint reached the framebuffer.
  const pl3::PixelSurface* s = pl3::WindowSurface(h);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->pixels[15 * s->stride + 15], 0x0000FFu);
}

TEST_F(WindowTest, DestroyTellsParentFirstAndFreesChildrenBeforeParent) {
  HWND top = MakeTop();
  HWND child = CreateWindowExA(0, "test_window", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top,
                               reinterpret_cast<HMENU>(7), nullptr, nullptr);
  ASSERT_EQ(GetDlgCtrlID(child), 7);
  EXPECT_EQ(GetDlgItem(top, 7), child);
  g_log.clear();
  EXPECT_TRUE(DestroyWindow(top));
  std::vector<std::pair<HWND, UINT>> got;
  for (const Heard& h : g_log)
    if (h.message == WM_DESTROY || h.message == WM_NCDESTROY) got.emplace_back(h.hwnd, h.message);
  EXPECT_EQ(got, (std::vector<std::pair<HWND, UINT>>{
                     {top, WM_DESTROY}, {child, WM_DESTROY}, {child, WM_NCDESTROY}, {top, WM_NCDESTROY}}));
  EXPECT_FALSE(IsWindow(top));
  EXPECT_FALSE(IsWindow(child));
  EXPECT_EQ(SendMessageA(top, WM_USER, 0, 0), 0);  // a stale handle is harmless
  EXPECT_FALSE(PostMessageA(top, WM_USER, 0, 0));
}

LRESULT CALLBACK ReentrantProc(HWND hwnd, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_USER + 1) {
    g_log.push_back(Heard{hwnd, m, w, l});
    if (w < 3) SendMessageA(hwnd, WM_USER + 1, w + 1, 0);
    g_log.push_back(Heard{hwnd, WM_USER + 2, w, l});
    return static_cast<LRESULT>(w * 10);
  }
  return DefWindowProcA(hwnd, m, w, l);
}

TEST_F(WindowTest, SendMessageIsSynchronousAndReentrant) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = &ReentrantProc;
  wc.lpszClassName = "Reentrant";
  RegisterClassA(&wc);
  HWND h = CreateWindowExA(0, "Reentrant", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(SendMessageA(h, WM_USER + 1, 1, 0), 10);
  std::vector<std::pair<UINT, WPARAM>> got;
  for (const Heard& x : g_log) got.emplace_back(x.message, x.wParam);
  EXPECT_EQ(got, (std::vector<std::pair<UINT, WPARAM>>{
                     {WM_USER + 1, 1}, {WM_USER + 1, 2}, {WM_USER + 1, 3}, {WM_USER + 2, 3}, {WM_USER + 2, 2},
                     {WM_USER + 2, 1}}));
}

TEST_F(WindowTest, PostedMessagesArriveInOrderBeforePaintAndQuit) {
  HWND h = MakeTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  g_log.clear();
  PostMessageA(h, WM_USER + 4, 1028, 0);
  PostMessageA(h, WM_USER + 5, 0, 0);
  PostQuitMessage(3);
  PostMessageA(h, WM_USER + 6, 0, 0);
  MSG m;
  std::vector<UINT> got;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) {
    got.push_back(m.message);
    DispatchMessageA(&m);
  }
  EXPECT_EQ(m.message, WM_QUIT);
  EXPECT_EQ(m.wParam, 3u);
  // Posted messages first, in order; the quit only when none is left; the paint never (quit came first).
  EXPECT_EQ(got, (std::vector<UINT>{WM_USER + 4, WM_USER + 5, WM_USER + 6}));
  EXPECT_EQ(WM_USER + 4, 1028u);
}

TEST_F(WindowTest, PeekMessageFiltersByWindowAndRangeAndLeavesOrRemoves) {
  HWND a = MakeTop();
  HWND b = MakeTop();
  PostMessageA(a, WM_USER + 1, 0, 0);
  PostMessageA(b, WM_USER + 2, 0, 0);
  PostMessageA(a, WM_COMMAND, 5, 0);
  MSG m;
  ASSERT_TRUE(PeekMessageA(&m, b, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(m.message, WM_USER + 2);
  ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_COMMAND, WM_COMMAND, PM_REMOVE));
  EXPECT_EQ(m.hwnd, a);
  EXPECT_FALSE(PeekMessageA(&m, a, WM_COMMAND, WM_COMMAND, PM_REMOVE));
  ASSERT_TRUE(PeekMessageA(&m, a, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, WM_USER + 1);
  ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, WM_USER + 2);
  EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(WindowTest, TimersFireOnTheTestClockOnlyWhenDue) {
  HWND h = MakeTop();
  EXPECT_EQ(SetTimer(h, 2, 250, nullptr), 2u);
  g_log.clear();
  pl3::AdvanceTestClock(249);
  pl3::PumpMessages();
  EXPECT_TRUE(Messages(h).empty());
  pl3::AdvanceTestClock(1);
  pl3::PumpMessages();
  ASSERT_EQ(Messages(h), std::vector<UINT>{WM_TIMER});
  EXPECT_EQ(g_log[0].wParam, 2u);
  // One WM_TIMER however long the wait: timers do not pile up.
  g_log.clear();
  pl3::AdvanceTestClock(1000);
  pl3::PumpMessages();
  EXPECT_EQ(Messages(h).size(), 1u);
  EXPECT_TRUE(KillTimer(h, 2));
  EXPECT_FALSE(KillTimer(h, 2));
  g_log.clear();
  pl3::AdvanceTestClock(1000);
  pl3::PumpMessages();
  EXPECT_TRUE(Messages(h).empty());
}

int g_timerProcCalls = 0;
void CALLBACK CountingTimerProc(HWND, UINT, UINT_PTR, DWORD) { ++g_timerProcCalls; }

TEST_F(WindowTest, ThreadTimersCallTheirProcedureAndGetMessageWaitsForThem) {
  g_timerProcCalls = 0;
  UINT_PTR id = SetTimer(nullptr, 0, 1000, &CountingTimerProc);
  ASSERT_NE(id, 0u);
  MSG m;
  // Headless, waiting moves the clock on to the timer.
  ASSERT_EQ(GetMessageA(&m, nullptr, 0, 0), 1);
  EXPECT_EQ(m.message, WM_TIMER);
  DispatchMessageA(&m);
  EXPECT_EQ(g_timerProcCalls, 1);
  EXPECT_EQ(pl3::MessageClockNow(), 1000u);
  KillTimer(nullptr, id);
}

WNDPROC g_oldProc = nullptr;
LRESULT CALLBACK SubclassProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_USER + 9) return 99;
  return CallWindowProcA(g_oldProc, h, m, w, l);
}

TEST_F(WindowTest, SubclassingUserDataPropertiesAndExtraBytes) {
  HWND h = MakeTop();
  g_oldProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc)));
  EXPECT_EQ(g_oldProc, &LoggingProc);
  EXPECT_EQ(SendMessageA(h, WM_USER + 9, 0, 0), 99);
  g_log.clear();
  SendMessageA(h, WM_USER + 3, 0, 0);
  EXPECT_EQ(Messages(h), std::vector<UINT>{WM_USER + 3});  // passed on to the old procedure
  int block = 0;
  SetWindowLongPtrA(h, GWL_USERDATA, reinterpret_cast<LONG_PTR>(&block));
  EXPECT_EQ(reinterpret_cast<int*>(GetWindowLongPtrA(h, GWLP_USERDATA)), &block);
  EXPECT_TRUE(SetPropA(h, "TabData", &block));
  EXPECT_EQ(GetPropA(h, "tabdata"), &block);
  EXPECT_EQ(RemovePropA(h, "TABDATA"), &block);
  EXPECT_EQ(GetPropA(h, "TabData"), nullptr);
  char cls[32];
  GetClassNameA(h, cls, sizeof cls);
  EXPECT_STREQ(cls, "Test_Window");
  EXPECT_EQ(FindWindowA("test_WINDOW", nullptr), h);
}

TEST_F(WindowTest, CoordinatesMapThroughParentsAndRectangles) {
  HWND top = MakeTop();
  HWND child = CreateWindowExA(0, "Test_Window", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 20, 30, 50, 40, top,
                               reinterpret_cast<HMENU>(1), nullptr, nullptr);
  RECT wr, cr;
  GetWindowRect(child, &wr);
  GetClientRect(child, &cr);
  EXPECT_EQ(wr.left, 120);
  EXPECT_EQ(wr.top, 80);
  EXPECT_EQ(cr.right, 48);  // one-pixel border on each side
  POINT p{0, 0};
  ClientToScreen(child, &p);
  EXPECT_EQ(p.x, 121);
  EXPECT_EQ(p.y, 81);
  ScreenToClient(top, &p);
  EXPECT_EQ(p.x, 21);
  POINT q{5, 5};
  MapWindowPoints(child, top, &q, 1);
  EXPECT_EQ(q.x, 26);
  EXPECT_EQ(q.y, 36);
  g_log.clear();
  MoveWindow(child, 0, 0, 60, 60, TRUE);
  EXPECT_EQ(Messages(child), (std::vector<UINT>{WM_SIZE, WM_MOVE}));
}

TEST_F(WindowTest, FocusAndCaptureChangesAreAnnounced) {
  HWND top = MakeTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND a = CreateWindowExA(0, "Test_Window", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, top, reinterpret_cast<HMENU>(1),
                           nullptr, nullptr);
  HWND b = CreateWindowExA(0, "Test_Window", "", WS_CHILD | WS_VISIBLE, 60, 0, 50, 50, top, reinterpret_cast<HMENU>(2),
                           nullptr, nullptr);
  SetFocus(a);
  g_log.clear();
  EXPECT_EQ(SetFocus(b), a);
  ASSERT_EQ(g_log.size(), 2u);
  EXPECT_EQ(g_log[0].hwnd, a);
  EXPECT_EQ(g_log[0].message, WM_KILLFOCUS);
  EXPECT_EQ(reinterpret_cast<HWND>(g_log[0].wParam), b);
  EXPECT_EQ(g_log[1].hwnd, b);
  EXPECT_EQ(g_log[1].message, WM_SETFOCUS);
  EXPECT_EQ(GetFocus(), b);
  // A disabled window loses the focus.
  EnableWindow(b, FALSE);
  EXPECT_EQ(GetFocus(), nullptr);
  // Capture: mouse input goes to the capturing window wherever the mouse is.
  SetCapture(a);
  pl3::PumpMessages();
  g_log.clear();
  pl3::InjectMouseButton(pl3::MouseButton::Left, true, POINT{100 + 80, 50 + 10});
  pl3::PumpMessages();
  ASSERT_EQ(Messages(a), std::vector<UINT>{WM_LBUTTONDOWN});
  EXPECT_EQ(GET_X_LPARAM(g_log.back().lParam), 80);
  g_log.clear();
  ReleaseCapture();
  ASSERT_EQ(Messages(a), std::vector<UINT>{WM_CAPTURECHANGED});
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(WindowTest, MouseInputReachesTheWindowUnderThePointWithDoubleClicks) {
  HWND top = MakeTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  pl3::PumpMessages();
  g_log.clear();
  pl3::InjectClick(top, POINT{10, 20});
  pl3::PumpMessages();
  EXPECT_EQ(pl3::CurrentCursorShape(), IDC_CROSS_ID);  // the class cursor, set through WM_SETCURSOR
  pl3::AdvanceTestClock(100);
  pl3::InjectClick(top, POINT{11, 20});
  pl3::PumpMessages();
  std::vector<UINT> buttons;
  for (UINT m : Messages(top))
    if (m == WM_LBUTTONDOWN || m == WM_LBUTTONUP || m == WM_LBUTTONDBLCLK) buttons.push_back(m);
  EXPECT_EQ(buttons, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}));
  // Too late for a double click.
  g_log.clear();
  pl3::AdvanceTestClock(600);
  pl3::InjectClick(top, POINT{11, 20});
  pl3::PumpMessages();
  std::vector<UINT> late = Messages(top);
  EXPECT_NE(std::find(late.begin(), late.end(), WM_LBUTTONDOWN), late.end());
  EXPECT_EQ(std::find(late.begin(), late.end(), WM_LBUTTONDBLCLK), late.end());
  // The wheel goes to the focus window with the delta in the high word.
  g_log.clear();
  POINT p{10, 10};
  ClientToScreen(top, &p);
  pl3::InjectMouseWheel(-120, p);
  pl3::PumpMessages();
  ASSERT_EQ(Messages(top), std::vector<UINT>{WM_MOUSEWHEEL});
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(g_log[0].wParam), -120);
}

TEST_F(WindowTest, KeysAreTranslatedToCharactersWithShiftAndKeyState) {
  HWND top = MakeTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  pl3::PumpMessages();
  g_log.clear();
  pl3::InjectText("aB1!");
  pl3::PumpMessages();
  std::string chars;
  for (const Heard& h : g_log)
    if (h.message == WM_CHAR) chars.push_back(static_cast<char>(h.wParam));
  EXPECT_EQ(chars, "aB1!");
  pl3::InjectKey(VK_CONTROL, true);
  pl3::PumpMessages();
  EXPECT_LT(GetKeyState(VK_CONTROL), 0);
  pl3::InjectKey(VK_CONTROL, false);
  pl3::PumpMessages();
  EXPECT_GE(GetKeyState(VK_CONTROL), 0);
  // Alt+key is a system key.
  g_log.clear();
  pl3::InjectKey(VK_MENU, true);
  pl3::InjectKey('X', true);
  pl3::InjectKey('X', false);
  pl3::InjectKey(VK_MENU, false);
  pl3::PumpMessages();
  EXPECT_EQ(Messages(top).front(), WM_SYSKEYDOWN);
  (void)top;
}

LRESULT CALLBACK CopyDataProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_COPYDATA) {
    auto* cds = reinterpret_cast<COPYDATASTRUCT*>(l);
    if (cds->dwData == 1028) PostMessageA(h, WM_USER + 4, reinterpret_cast<WPARAM>(cds->lpData), 0);
    return 0;
  }
  return LoggingProc(h, m, w, l);
}

TEST_F(WindowTest, CopyDataIsHandledWhileTheSenderWaits) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = &CopyDataProc;
  wc.lpszClassName = "PCB_EDITOR";
  RegisterClassA(&wc);
  HWND frame = CreateWindowExA(0, "PCB_EDITOR", "Pelmora 3", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                               nullptr, nullptr);
  ASSERT_EQ(FindWindowA("pcb_editor", nullptr), frame);
  char path[] = "C:\\x.p3p";
  COPYDATASTRUCT cds{1028, sizeof path, path};
  g_log.clear();
  SendMessageA(frame, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds));
  pl3::PumpMessages();
  ASSERT_EQ(Messages(frame), std::vector<UINT>{1028});
  EXPECT_EQ(reinterpret_cast<char*>(g_log[0].wParam), path);
}

TEST_F(WindowTest, ClosingSendsCloseAndTheDefaultDestroys) {
  HWND top = MakeTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  PostMessageA(top, WM_SYSCOMMAND, SC_CLOSE, 0);
  pl3::PumpMessages();
  EXPECT_FALSE(IsWindow(top));
  std::vector<UINT> m = Messages(top);
  EXPECT_NE(std::find(m.begin(), m.end(), WM_CLOSE), m.end());
}

TEST_F(WindowTest, ResetLeavesNoWindowsClassesTimersOrMessages) {
  HWND top = MakeTop();
  SetTimer(top, 1, 100, nullptr);
  PostMessageA(top, WM_USER, 0, 0);
  pl3::ResetGlobalStateForTests();
  EXPECT_FALSE(IsWindow(top));
  EXPECT_EQ(FindWindowA("Test_Window", nullptr), nullptr);
  MSG m;
  pl3::AdvanceTestClock(1000);
  EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
  WNDCLASSA wc{};
  wc.lpfnWndProc = &LoggingProc;
  wc.lpszClassName = "Test_Window";
  EXPECT_NE(RegisterClassA(&wc), 0);  // the old registration is gone
  // The built-in control classes survive.
  EXPECT_NE(CreateWindowExA(0, "BUTTON", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
}

}  // namespace
