// Multiple-document windows: child ids and their renumbering, activation
// parameters, the maximised state and the frame's bar, tiling and
// cascading, window switching keys, and bad handles.
#include <gtest/gtest.h>

#include <vector>

#include "platform/gdi.h"
#include "platform/mdi.h"
#include "platform/menus.h"
#include "platform/scroll.h"
#include "platform/user.h"

namespace {

struct Heard {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<Heard> g_heard;
HWND g_client = nullptr;
bool g_failCreate = false;

LRESULT CALLBACK FrameProc(HWND hwnd, UINT m, WPARAM w, LPARAM l) {
  return DefFrameProcA(hwnd, g_client, m, w, l);
}

LRESULT CALLBACK DocProc(HWND hwnd, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_MDIACTIVATE || m == WM_SYSCOMMAND || m == WM_KEYDOWN || m == WM_COMMAND)
    g_heard.push_back(Heard{hwnd, m, w, l});
  if (m == WM_CREATE && g_failCreate) return -1;
  return DefMDIChildProcA(hwnd, m, w, l);
}

class MdiTest : public testing::Test {
 protected:
  void SetUp() override {
    g_heard.clear();
    g_failCreate = false;
    WNDCLASSA wc{};
    wc.lpfnWndProc = &FrameProc;
    wc.lpszClassName = "MdiFrame";
    ASSERT_TRUE(RegisterClassA(&wc));
    wc.lpfnWndProc = &DocProc;
    wc.lpszClassName = "MdiDoc";
    ASSERT_TRUE(RegisterClassA(&wc));
    bar = CreateMenu();
    AppendMenuA(bar, MF_STRING, 1, "&File");
    AppendMenuA(bar, MF_STRING, 2, "&Window");
    frame = CreateWindowExA(0, "MdiFrame", "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 480, nullptr, bar,
                            nullptr, nullptr);
    ASSERT_NE(frame, nullptr);
    CLIENTCREATESTRUCT ccs{nullptr, 100};
    RECT rc;
    GetClientRect(frame, &rc);
    g_client = CreateWindowExA(0, "MDICLIENT", nullptr, 0x47300000 | WS_VISIBLE, 0, 0, rc.right, rc.bottom, frame, nullptr,
                               nullptr, &ccs);
    ASSERT_NE(g_client, nullptr);
    pl3::PumpMessages();
  }
  void TearDown() override { g_client = nullptr; }

  HWND NewDoc(const char* title = "Doc", DWORD style = 0, int x = CW_USEDEFAULT, int cx = CW_USEDEFAULT) {
    MDICREATESTRUCTA mcs{"MdiDoc", title, nullptr, x, x, cx, cx, style, 0};
    return reinterpret_cast<HWND>(SendMessageA(g_client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  }
  HWND Active(BOOL* maximised = nullptr) {
    return reinterpret_cast<HWND>(SendMessageA(g_client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(maximised)));
  }
  std::vector<int> Ids(const std::vector<HWND>& docs) {
    std::vector<int> out;
    for (HWND d : docs) out.push_back(IsWindow(d) ? GetDlgCtrlID(d) : -1);
    return out;
  }
  std::vector<Heard> HeardOf(UINT message) {
    std::vector<Heard> out;
    for (const Heard& h : g_heard)
      if (h.message == message) out.push_back(h);
    return out;
  }

  HMENU bar = nullptr;
  HWND frame = nullptr;
};

TEST_F(MdiTest, ChildIdsRunFromTheFirstWithoutGaps) {
  std::vector<HWND> docs{NewDoc("A"), NewDoc("B"), NewDoc("C"), NewDoc("D")};
  EXPECT_EQ(Ids(docs), (std::vector<int>{100, 101, 102, 103}));
  // The last one takes the freed id, whether the client or DestroyWindow ends the child.
  SendMessageA(g_client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(docs[1]), 0);
  EXPECT_EQ(Ids(docs), (std::vector<int>{100, -1, 102, 101}));
  DestroyWindow(docs[0]);
  EXPECT_EQ(Ids(docs), (std::vector<int>{-1, -1, 100, 101}));
  EXPECT_EQ(GetDlgCtrlID(NewDoc("E")), 102);
  // A child that fails its creation takes no id.
  g_failCreate = true;
  EXPECT_EQ(NewDoc("F"), nullptr);
  g_failCreate = false;
  EXPECT_EQ(GetDlgCtrlID(NewDoc("G")), 103);
}

TEST_F(MdiTest, BothChildrenHearTheActivationWithTheSameParameters) {
  HWND a = NewDoc("A");
  HWND b = NewDoc("B");
  EXPECT_EQ(Active(), b);
  g_heard.clear();
  SendMessageA(g_client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(a), 0);
  EXPECT_EQ(Active(), a);
  std::vector<Heard> act = HeardOf(WM_MDIACTIVATE);
  ASSERT_EQ(act.size(), 2u);
  EXPECT_EQ(act[0].hwnd, b);  // the one losing activation hears first
  EXPECT_EQ(act[1].hwnd, a);
  for (const Heard& h : act) {
    EXPECT_EQ(h.wParam, reinterpret_cast<WPARAM>(b));
    EXPECT_EQ(h.lParam, reinterpret_cast<LPARAM>(a));
  }
  EXPECT_EQ(GetFocus(), a);
  EXPECT_EQ(GetTopWindow(g_client), a);

  // Closing the active child hands activation to the next, naming the one going.
  g_heard.clear();
  SendMessageA(a, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(a));
  EXPECT_EQ(Active(), b);
  act = HeardOf(WM_MDIACTIVATE);
  ASSERT_EQ(act.size(), 2u);
  EXPECT_EQ(act[1].hwnd, b);
  EXPECT_EQ(act[1].wParam, reinterpret_cast<WPARAM>(a));
  // The last child going leaves none active.
  SendMessageA(g_client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(b), 0);
  EXPECT_EQ(Active(), nullptr);
}

TEST_F(MdiTest, MaximisedStatePassesToTheActivatedChildAndDecoratesTheBar) {
  HWND a = NewDoc("A");
  HWND b = NewDoc("B");
  const int plain = GetMenuItemCount(bar);
  SendMessageA(g_client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(b), 0);
  BOOL maximised = FALSE;
  EXPECT_EQ(Active(&maximised), b);
  EXPECT_TRUE(maximised);
  EXPECT_TRUE(IsZoomed(b));
  // The child's client area fills the MDI client: its caption lies outside.
  RECT clientRect, childClient;
  GetClientRect(g_client, &clientRect);
  GetClientRect(b, &childClient);
  EXPECT_EQ(childClient.right, clientRect.right);
  EXPECT_EQ(childClient.bottom, clientRect.bottom);
  // The bar: the child's system menu first, Minimize, Restore and Close last.
  ASSERT_EQ(GetMenuItemCount(bar), plain + 4);
  EXPECT_EQ(GetSubMenu(bar, 0), GetSystemMenu(b, FALSE));
  EXPECT_EQ(GetMenuItemID(bar, plain + 1), SC_MINIMIZE);
  EXPECT_EQ(GetMenuItemID(bar, plain + 3), SC_CLOSE);

  SendMessageA(g_client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(a), 0);
  EXPECT_TRUE(IsZoomed(a));
  EXPECT_FALSE(IsZoomed(b));
  EXPECT_EQ(GetMenuItemCount(bar), plain + 4);
  EXPECT_EQ(GetSubMenu(bar, 0), GetSystemMenu(a, FALSE));
  // A new child is maximised too.
  HWND c = NewDoc("C");
  EXPECT_TRUE(IsZoomed(c));
  EXPECT_FALSE(IsZoomed(a));

  // The bar's Close button reaches the child through DefFrameProc.
  g_heard.clear();
  SendMessageA(frame, WM_COMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(IsWindow(c));
  EXPECT_TRUE(IsZoomed(Active()));
  SendMessageA(g_client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(Active()), 0);
  EXPECT_FALSE(IsZoomed(a));
  EXPECT_FALSE(IsZoomed(b));
  EXPECT_EQ(GetMenuItemCount(bar), plain);
  Active(&maximised);
  EXPECT_FALSE(maximised);
  // A new bar set through the client: the old one comes back, undecorated.
  SendMessageA(g_client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(a), 0);
  HMENU other = CreateMenu();
  AppendMenuA(other, MF_STRING, 9, "&Other");
  EXPECT_EQ(reinterpret_cast<HMENU>(SendMessageA(g_client, WM_MDISETMENU, reinterpret_cast<WPARAM>(other), 0)), bar);
  EXPECT_EQ(GetMenu(frame), other);
  EXPECT_EQ(GetMenuItemCount(bar), plain);
  EXPECT_EQ(GetMenuItemCount(other), 5);
  DestroyMenu(bar);
}

TEST_F(MdiTest, TilingCoversTheClientWithoutOverlap) {
  RECT rc;
  GetClientRect(g_client, &rc);
  std::vector<HWND> docs;
  for (int n = 1; n <= 7; ++n) {
    docs.push_back(NewDoc());
    for (WPARAM how : {MDITILE_VERTICAL, MDITILE_HORIZONTAL}) {
      SCOPED_TRACE(testing::Message() << n << " windows, how " << how);
      ASSERT_TRUE(SendMessageA(g_client, WM_MDITILE, how, 0));
      long area = 0;
      std::vector<RECT> rects;
      for (HWND d : docs) {
        RECT r;
        GetWindowRect(d, &r);
        MapWindowPoints(nullptr, g_client, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_GE(r.left, 0);
        EXPECT_GE(r.top, 0);
        EXPECT_LE(r.right, rc.right);
        EXPECT_LE(r.bottom, rc.bottom);
        for (const RECT& o : rects) {
          RECT overlap;
          EXPECT_FALSE(IntersectRect(&overlap, &r, &o));
        }
        rects.push_back(r);
        area += (r.right - r.left) * (r.bottom - r.top);
      }
      EXPECT_EQ(area, static_cast<long>(rc.right) * rc.bottom);
      if (n == 2) {
        // Vertical tiling puts them side by side, horizontal one above the other.
        EXPECT_EQ(rects[0].top == rects[1].top, how == MDITILE_VERTICAL);
      }
    }
  }
}

TEST_F(MdiTest, CascadeStepsDiagonallyWithTheActiveInFront) {
  HWND a = NewDoc("A");
  HWND b = NewDoc("B");
  HWND c = NewDoc("C");
  SendMessageA(g_client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(a), 0);
  ASSERT_TRUE(SendMessageA(g_client, WM_MDICASCADE, 0, 0));
  EXPECT_EQ(GetTopWindow(g_client), a);
  RECT ra, rb, rc;
  GetWindowRect(a, &ra);
  GetWindowRect(b, &rb);
  GetWindowRect(c, &rc);
  const int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
  // Back to front: b, c, a (the active one last).
  EXPECT_EQ(rc.left - rb.left, step);
  EXPECT_EQ(ra.top - rc.top, step);
  EXPECT_EQ(ra.right - ra.left, rb.right - rb.left);
}

TEST_F(MdiTest, ControlKeysSwitchAndCloseWithoutBeingDispatched) {
  HWND a = NewDoc("A");
  HWND b = NewDoc("B");
  HWND c = NewDoc("C");
  auto runKeys = [&](int vk, bool shift) {
    pl3::InjectKey(VK_CONTROL, true);
    if (shift) pl3::InjectKey(VK_SHIFT, true);
    pl3::InjectKeyStroke(vk);
    if (shift) pl3::InjectKey(VK_SHIFT, false);
    pl3::InjectKey(VK_CONTROL, false);
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
      if (!TranslateMDISysAccel(g_client, &m)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
      }
  };
  g_heard.clear();
  runKeys(VK_TAB, false);
  std::vector<Heard> sys = HeardOf(WM_SYSCOMMAND);
  ASSERT_EQ(sys.size(), 1u);
  EXPECT_EQ(sys[0].hwnd, c);
  EXPECT_EQ(sys[0].wParam, SC_NEXTWINDOW);
  EXPECT_NE(sys[0].lParam, 0);
  for (const Heard& h : HeardOf(WM_KEYDOWN)) EXPECT_NE(h.wParam, static_cast<WPARAM>(VK_TAB));
  HWND afterNext = Active();
  EXPECT_NE(afterNext, c);
  runKeys(VK_F6, true);  // back again
  EXPECT_EQ(Active(), c);
  runKeys(VK_F4, false);
  EXPECT_FALSE(IsWindow(c));
  EXPECT_TRUE(IsWindow(a) && IsWindow(b));
  // Without Ctrl the key is the child's.
  MSG plain{Active(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
  EXPECT_FALSE(TranslateMDISysAccel(g_client, &plain));
}

TEST_F(MdiTest, NextWalksTheChildrenAndPreviousTakesTheBackmost) {
  HWND a = NewDoc("A");
  HWND b = NewDoc("B");
  HWND c = NewDoc("C");
  // z-order c, b, a; each step sends the one it leaves to the back.
  SendMessageA(g_client, WM_MDINEXT, 0, 0);
  EXPECT_EQ(Active(), b);
  EXPECT_EQ(GetWindow(b, GW_HWNDLAST), c);
  SendMessageA(g_client, WM_MDINEXT, 0, 0);
  EXPECT_EQ(Active(), a);  // order a, c, b
  SendMessageA(g_client, WM_MDINEXT, 0, 1);
  EXPECT_EQ(Active(), b);
  SendMessageA(g_client, WM_MDINEXT, reinterpret_cast<WPARAM>(b), 0);
  EXPECT_EQ(Active(), a);
}

TEST_F(MdiTest, ClickInAnInactiveChildActivatesIt) {
  HWND a = NewDoc("A", 0, 0, 200);
  HWND b = NewDoc("B", 0, 300, 200);
  ASSERT_EQ(Active(), b);
  pl3::InjectClick(a, POINT{20, 20});
  pl3::PumpMessages();
  EXPECT_EQ(Active(), a);
}

TEST_F(MdiTest, BadHandlesAreRefused) {
  HWND a = NewDoc("A");
  HWND stranger = CreateWindowExA(0, "MdiFrame", "Other", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                  nullptr, nullptr);
  EXPECT_EQ(SendMessageA(g_client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(stranger), 0), 0);
  EXPECT_TRUE(IsWindow(stranger));
  SendMessageA(g_client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(stranger), 0);
  EXPECT_EQ(Active(), a);
  SendMessageA(g_client, WM_MDIMAXIMIZE, static_cast<WPARAM>(0x12345), 0);
  EXPECT_FALSE(IsZoomed(a));
  EXPECT_EQ(SendMessageA(g_client, WM_MDICREATE, 0, 0), 0);
  MDICREATESTRUCTA noClass{"NoSuchClass", "X", nullptr, 0, 0, 10, 10, 0, 0};
  EXPECT_EQ(SendMessageA(g_client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&noClass)), 0);
  EXPECT_EQ(GetDlgCtrlID(NewDoc("B")), 101);
  // DefFrameProc ends a command without passing it on.
  g_heard.clear();
  EXPECT_EQ(SendMessageA(frame, WM_COMMAND, 4000, 0), 0);
  EXPECT_TRUE(HeardOf(WM_COMMAND).empty());
  // The client going takes its children with it, cleanly.
  DestroyWindow(g_client);
  EXPECT_FALSE(IsWindow(a));
}

TEST_F(MdiTest, ChildrenPastTheEdgeBringTheClientsScrollBars) {
  auto bars = [&] { return GetWindowLongPtrA(g_client, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL); };
  EXPECT_EQ(bars(), 0);  // no children: nothing to scroll to
  RECT whole;
  GetClientRect(g_client, &whole);
  HWND a = NewDoc("A", 0, 20, 100);
  EXPECT_EQ(bars(), 0);
  SetWindowPos(a, nullptr, whole.right - 50, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(bars(), static_cast<LONG_PTR>(WS_HSCROLL));
  RECT rc;
  GetClientRect(g_client, &rc);
  EXPECT_EQ(rc.bottom, whole.bottom - GetSystemMetrics(SM_CYHSCROLL));
  int lo = 0, hi = 0;
  GetScrollRange(g_client, SB_HORZ, &lo, &hi);
  EXPECT_EQ(hi, whole.right - 50 + 100 - 1);  // out to the child's right edge
  // Scrolling to the end moves the children left until the last one shows whole.
  SendMessageA(g_client, WM_HSCROLL, SB_BOTTOM, 0);
  RECT r;
  GetWindowRect(a, &r);
  MapWindowPoints(nullptr, g_client, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.right, whole.right);
  EXPECT_EQ(bars(), 0);  // every child shows whole now: the bar goes
  // A maximised child covers the client: no bars.
  SendMessageA(g_client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(a), 0);
  EXPECT_EQ(bars(), 0);
  SendMessageA(g_client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(a), 0);
  SetWindowPos(a, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(bars(), 0);
}

}  // namespace
