// Windows and messages: the order in which a window procedure hears about
// creation, sizing, showing and painting; SendMessage re-entrancy; posted
// message order; PeekMessage filters; timers on the test clock; subclassing;
// focus and capture; input routing and painting into the framebuffer.
#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/gdi.h"
#include "platform/reset_hooks.h"
#include "platform/user.h"
#include "tests/platform/heard_messages.h"

namespace {

using pl3::test::Heard;
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
  // A visible top-level window of a class of its own.
  static HWND MakeOwnClassTop(const char* className, WNDPROC proc) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.lpszClassName = className;
    RegisterClassA(&wc);
    return CreateWindowExA(0, className, "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 40, 40, nullptr, nullptr,
                           nullptr, nullptr);
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

TEST_F(WindowTest, InterruptAndTerminateSignalsCloseTheNamedWindow) {
  HWND h = MakeTop(WS_OVERLAPPEDWINDOW);
  HWND other = MakeTop(WS_OVERLAPPEDWINDOW);
  pl3::CloseWindowOnSignals(h);
  MSG m;
  EXPECT_FALSE(PeekMessageA(&m, nullptr, WM_CLOSE, WM_CLOSE, PM_REMOVE)) << "no signal yet";
  for (int signal : {SIGINT, SIGTERM}) {
    raise(signal);
    ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_CLOSE, WM_CLOSE, PM_REMOVE)) << signal;
    EXPECT_EQ(m.hwnd, h);
    EXPECT_FALSE(PeekMessageA(&m, nullptr, WM_CLOSE, WM_CLOSE, PM_REMOVE)) << "one close per signal";
  }
  // The default close ends the window and the loop, as the user's close does.
  raise(SIGTERM);
  while (GetMessageA(&m, nullptr, 0, 0) > 0) DispatchMessageA(&m);
  EXPECT_FALSE(IsWindow(h));
  EXPECT_TRUE(IsWindow(other));
  // A signal after the window is gone closes nothing else.
  raise(SIGINT);
  EXPECT_FALSE(PeekMessageA(&m, nullptr, WM_CLOSE, WM_CLOSE, PM_REMOVE));
  // Null gives the signals their default action back.
  pl3::CloseWindowOnSignals(nullptr);
  EXPECT_EXIT(raise(SIGTERM), testing::KilledBySignal(SIGTERM), "");
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

// ---- Re-entrancy: windows destroyed while their messages are under way --------------

// What the procedure of a "Victim" window does with WM_USER + 1.
enum class OnUser1 { Nothing, DestroySelf, DestroyOther, SendToOther };
OnUser1 g_onUser1 = OnUser1::Nothing;
HWND g_other = nullptr;
std::vector<LRESULT> g_afterwards;  // what calls on the window gave once it was gone

LRESULT CALLBACK VictimProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (Interesting(m)) g_log.push_back(Heard{h, m, w, l});
  if (m == WM_USER + 1) {
    switch (g_onUser1) {
      case OnUser1::DestroySelf: DestroyWindow(h); break;
      case OnUser1::DestroyOther: DestroyWindow(g_other); break;
      case OnUser1::SendToOther: SendMessageA(g_other, WM_USER + 3, 0, 0); break;
      case OnUser1::Nothing: break;
    }
    // The procedure carries on with a handle that may no longer name a window.
    g_afterwards = {DefWindowProcA(h, WM_GETTEXTLENGTH, 0, 0), SetWindowTextA(h, "after"),
                    GetWindowLongPtrA(h, GWLP_USERDATA), PostMessageA(h, WM_USER + 7, 0, 0),
                    SendMessageA(h, WM_USER + 8, 0, 0), static_cast<LRESULT>(SetTimer(h, 9, 10, nullptr))};
    return 0;
  }
  if (m == WM_USER + 3) {
    DestroyWindow(g_other == h ? GetParent(h) : g_other);
    return 0;
  }
  return DefWindowProcA(h, m, w, l);
}

class ReentryTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    g_onUser1 = OnUser1::Nothing;
    g_other = nullptr;
    g_afterwards.clear();
    WNDCLASSA wc{};
    wc.lpfnWndProc = &VictimProc;
    wc.lpszClassName = "Victim";
    ASSERT_NE(RegisterClassA(&wc), 0);
  }
  static HWND MakeVictim(HWND parent = nullptr) {
    DWORD style = parent ? WS_CHILD | WS_VISIBLE : WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    return CreateWindowExA(0, "Victim", "v", style, 0, 0, 50, 50, parent, parent ? reinterpret_cast<HMENU>(3) : nullptr,
                           nullptr, nullptr);
  }
  static bool Heard(HWND h, UINT message) {
    return std::any_of(g_log.begin(), g_log.end(), [&](const ::Heard& x) { return x.hwnd == h && x.message == message; });
  }
};

TEST_F(ReentryTest, AWindowDestroyedByItsOwnHandlerTakesItsFocusCaptureTimersAndMessagesWithIt) {
  HWND top = MakeTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND victim = MakeVictim(top);
  SetFocus(victim);
  SetCapture(victim);
  SetTimer(victim, 1, 50, nullptr);
  PostMessageA(victim, WM_USER + 1, 0, 0);
  PostMessageA(victim, WM_USER + 2, 0, 0);  // queued behind the message that destroys it
  g_onUser1 = OnUser1::DestroySelf;
  pl3::PumpMessages();
  g_log.clear();
  pl3::AdvanceTestClock(100);
  pl3::PumpMessages();

  EXPECT_FALSE(IsWindow(victim));
  EXPECT_TRUE(IsWindow(top));
  EXPECT_EQ(g_afterwards, (std::vector<LRESULT>{0, FALSE, 0, FALSE, 0, 0}));
  EXPECT_FALSE(Heard(victim, WM_USER + 2));
  EXPECT_FALSE(Heard(victim, WM_USER + 7));
  EXPECT_FALSE(Heard(victim, WM_TIMER));
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(GetDlgItem(top, 3), nullptr);
  // Input aimed where the child was reaches its parent.
  g_log.clear();
  pl3::InjectClick(top, POINT{10, 10});
  pl3::PumpMessages();
  EXPECT_TRUE(Heard(top, WM_LBUTTONDOWN));
}

TEST_F(ReentryTest, DestroyingAnotherWindowDuringDispatchDropsWhatWasQueuedForIt) {
  HWND a = MakeVictim();
  HWND b = MakeVictim();
  g_other = b;
  g_onUser1 = OnUser1::DestroyOther;
  PostMessageA(a, WM_USER + 1, 0, 0);
  PostMessageA(b, WM_USER + 2, 0, 0);
  PostMessageA(a, WM_USER + 2, 0, 0);
  pl3::PumpMessages();
  EXPECT_FALSE(IsWindow(b));
  EXPECT_FALSE(Heard(b, WM_USER + 2));
  EXPECT_TRUE(Heard(a, WM_USER + 2));
  EXPECT_EQ(g_afterwards[1], TRUE);  // `a` itself is alive
}

TEST_F(ReentryTest, ASentMessageWhoseHandlerDestroysTheCallerLeavesTheCallerHarmless) {
  HWND top = MakeVictim();
  HWND child = MakeVictim(top);
  g_other = child;  // the child's WM_USER + 3 destroys its parent, the window still inside WM_USER + 1
  g_onUser1 = OnUser1::SendToOther;
  EXPECT_EQ(SendMessageA(top, WM_USER + 1, 0, 0), 0);
  EXPECT_FALSE(IsWindow(top));
  EXPECT_FALSE(IsWindow(child));
  EXPECT_EQ(g_afterwards, (std::vector<LRESULT>{0, FALSE, 0, FALSE, 0, 0}));
  EXPECT_TRUE(Heard(child, WM_NCDESTROY));
  EXPECT_TRUE(Heard(top, WM_NCDESTROY));
  MSG m;
  EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
}

LRESULT CALLBACK DestroyAgainProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (Interesting(m)) g_log.push_back(Heard{h, m, w, l});
  if (m == WM_DESTROY) {
    // Both the window and its child destroy the top window again from inside WM_DESTROY.
    HWND parent = GetParent(h);
    DestroyWindow(parent ? parent : h);
  }
  return DefWindowProcA(h, m, w, l);
}

TEST_F(ReentryTest, DestroyingAWindowAgainFromInsideItsDestructionHappensOnce) {
  HWND top = MakeOwnClassTop("DestroyAgain", &DestroyAgainProc);
  HWND child = CreateWindowExA(0, "DestroyAgain", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top,
                               reinterpret_cast<HMENU>(1), nullptr, nullptr);
  g_log.clear();
  EXPECT_TRUE(DestroyWindow(top));
  EXPECT_FALSE(DestroyWindow(top));
  for (HWND h : {top, child}) {
    std::vector<UINT> got = Messages(h);
    EXPECT_EQ(std::count(got.begin(), got.end(), WM_DESTROY), 1);
    EXPECT_EQ(std::count(got.begin(), got.end(), WM_NCDESTROY), 1);
  }
  EXPECT_FALSE(IsWindow(child));
}

// ---- PeekMessage and GetMessage filters, as a table ---------------------------------

TEST_F(WindowTest, MessageFiltersTable) {
  HWND top = MakeTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND child = CreateWindowExA(0, "Test_Window", "", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, top,
                               reinterpret_cast<HMENU>(1), nullptr, nullptr);
  HWND other = MakeTop();
  const HWND thread = reinterpret_cast<HWND>(-1);
  struct Case {
    const char* what;
    HWND filter;
    UINT lo, hi;
    HWND wantWindow;
    UINT wantMessage;  // 0: nothing retrieved
  };
  const Case cases[] = {
      {"any window, any message: the first posted", nullptr, 0, 0, other, WM_USER + 1},
      {"a parent's filter takes its child's messages", top, 0, 0, child, WM_USER + 2},
      {"-1 takes only messages for no window", thread, 0, 0, nullptr, WM_USER + 3},
      {"a range skips what lies outside it", nullptr, WM_USER + 2, WM_USER + 3, child, WM_USER + 2},
      {"the range is inclusive at its top", nullptr, WM_USER + 3, WM_USER + 3, nullptr, WM_USER + 3},
      {"a window and a range together", other, WM_USER + 2, WM_USER + 9, nullptr, 0},
      {"a paint waits behind posted messages", nullptr, WM_PAINT, WM_PAINT, top, WM_PAINT},
      {"a window without messages", child, WM_USER + 1, WM_USER + 1, nullptr, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MSG m{};
    PostMessageA(other, WM_USER + 1, 0, 0);
    PostMessageA(child, WM_USER + 2, 0, 0);
    PostThreadMessageA(0, WM_USER + 3, 0, 0);
    BOOL got = PeekMessageA(&m, c.filter, c.lo, c.hi, PM_NOREMOVE);
    EXPECT_EQ(got != FALSE, c.wantMessage != 0);
    if (got) {
      EXPECT_EQ(m.message, c.wantMessage);
      EXPECT_EQ(m.hwnd, c.wantWindow);
    }
    // PM_NOREMOVE left all three in place, in order.
    std::vector<UINT> left;
    while (PeekMessageA(&m, nullptr, WM_USER, WM_USER + 100, PM_REMOVE)) left.push_back(m.message);
    EXPECT_EQ(left, (std::vector<UINT>{WM_USER + 1, WM_USER + 2, WM_USER + 3}));
  }
  // A paint is not removed by PM_REMOVE: it stays until the window is validated.
  MSG m;
  ASSERT_TRUE(PeekMessageA(&m, top, WM_PAINT, WM_PAINT, PM_REMOVE));
  ASSERT_TRUE(PeekMessageA(&m, top, WM_PAINT, WM_PAINT, PM_REMOVE));
  ValidateRect(top, nullptr);
  ValidateRect(child, nullptr);
  EXPECT_FALSE(PeekMessageA(&m, top, WM_PAINT, WM_PAINT, PM_REMOVE));
  // A due timer comes after posted messages and only through a range holding WM_TIMER.
  SetTimer(child, 4, 10, nullptr);
  pl3::AdvanceTestClock(10);
  EXPECT_FALSE(PeekMessageA(&m, nullptr, WM_USER, WM_USER, PM_NOREMOVE));
  ASSERT_TRUE(PeekMessageA(&m, top, WM_TIMER, WM_TIMER, PM_REMOVE));
  EXPECT_EQ(m.hwnd, child);
  EXPECT_EQ(m.wParam, 4u);
  EXPECT_FALSE(PeekMessageA(&m, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));  // not due again yet
}

TEST_F(WindowTest, TheQuitMessageIsRetrievedWhateverTheRangeFilter) {
  HWND top = MakeTop();
  PostQuitMessage(5);
  MSG m;
  ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_NOREMOVE));
  EXPECT_EQ(m.message, WM_QUIT);
  // A loop that waits only for mouse input still ends.
  EXPECT_EQ(GetMessageA(&m, top, WM_MOUSEFIRST, WM_MOUSELAST), 0);
  EXPECT_EQ(m.wParam, 5u);
  // Headless, a filtered wait for what can never come ends with a quit too.
  EXPECT_EQ(GetMessageA(&m, nullptr, WM_KEYFIRST, WM_KEYLAST), 0);
}

TEST_F(WindowTest, HeadlessAWaitThatNoPendingTimerCanAnswerEndsWithAQuit) {
  HWND a = MakeTop();
  HWND b = MakeTop();
  SetTimer(b, 1, 100, nullptr);
  MSG m;
  // Neither a wait for `a` alone nor one for keys can be answered by b's timer.
  EXPECT_EQ(GetMessageA(&m, a, 0, 0), 0);
  EXPECT_EQ(GetMessageA(&m, nullptr, WM_KEYFIRST, WM_KEYLAST), 0);
  // A wait the timer answers moves the clock on to it.
  ASSERT_EQ(GetMessageA(&m, b, WM_TIMER, WM_TIMER), 1);
  EXPECT_EQ(m.hwnd, b);
  EXPECT_EQ(pl3::MessageClockNow(), 100u);
}

// ---- WM_PAINT and the update region ----------------------------------------------------------

int g_paints = 0;
enum class PaintMode { Ignore, Reinvalidate };
PaintMode g_paintMode = PaintMode::Ignore;
LRESULT CALLBACK PaintModeProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_PAINT) {
    ++g_paints;
    if (g_paintMode == PaintMode::Reinvalidate) {
      PAINTSTRUCT ps;
      BeginPaint(h, &ps);
      EndPaint(h, &ps);
      if (g_paints < 3) InvalidateRect(h, nullptr, FALSE);  // an animation asks for the next frame
    }
    return 0;
  }
  return DefWindowProcA(h, m, w, l);
}

TEST_F(WindowTest, APaintHandlerThatValidatesNothingIsNotAskedAgainButARepaintItAsksForComes) {
  HWND h = MakeOwnClassTop("PaintMode", &PaintModeProc);
  g_paints = 0;
  g_paintMode = PaintMode::Ignore;
  EXPECT_EQ(pl3::PumpMessages(), 1);
  EXPECT_EQ(g_paints, 1);
  g_paints = 0;
  g_paintMode = PaintMode::Reinvalidate;
  InvalidateRect(h, nullptr, FALSE);
  pl3::PumpMessages();
  EXPECT_EQ(g_paints, 3);
}

}  // namespace
