// Keyboard and mouse input beyond the basics: typed text in the program's code
// page, control keys, Alt codes, key names and scan codes, capture, cursor
// warps, mouse-leave tracking, and window state set from outside (window
// manager, desktop focus, AnimateWindow).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/user.h"
#include "tests/platform/heard_messages.h"

namespace {

using pl3::test::Heard;
std::vector<Heard> g_log;

LRESULT CALLBACK LoggingProc(HWND hwnd, UINT m, WPARAM w, LPARAM l) {
  g_log.push_back(Heard{hwnd, m, w, l});
  return DefWindowProcA(hwnd, m, w, l);
}

std::vector<UINT> Only(HWND h, std::initializer_list<UINT> wanted) {
  std::vector<UINT> out;
  for (const Heard& e : g_log)
    if (e.hwnd == h && std::find(wanted.begin(), wanted.end(), e.message) != wanted.end()) out.push_back(e.message);
  return out;
}

// The bytes of the characters a window heard.
std::string Chars(UINT message = WM_CHAR) {
  std::string out;
  for (const Heard& e : g_log)
    if (e.message == message) out.push_back(static_cast<char>(e.wParam));
  return out;
}

class InputTest : public testing::Test {
 protected:
  void SetUp() override {
    g_log.clear();
    WNDCLASSA wc{};
    wc.lpfnWndProc = &LoggingProc;
    wc.lpszClassName = "Input_Test";
    ASSERT_NE(RegisterClassA(&wc), 0);
    top_ = MakeTop(100, 50);
    pl3::PumpMessages();
    g_log.clear();
  }
  static HWND MakeTop(int x, int y) {
    return CreateWindowExA(0, "Input_Test", "Top", WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, 200, 150, nullptr,
                           nullptr, nullptr, nullptr);
  }
  POINT ScreenOf(HWND h, POINT client) {
    ClientToScreen(h, &client);
    return client;
  }
  HWND top_ = nullptr;
};

TEST_F(InputTest, TypedTextArrivesInTheProgramsCodePageOnceEach) {
  struct Case {
    const char* typed;  // UTF-8
    std::string chars;  // Windows-1252
    int beeps;
  };
  const Case cases[] = {
      {"\xC3\xA9", "\xE9", 0},                      // é
      {"\xE2\x82\xAC", "\x80", 0},                  // €
      {"\xCE\xA9", "", 1},                          // Ω has no place in the code page
      {"aB1! ", "aB1! ", 0},                        // keys of a US keyboard, shifted or not
      {"x\xCE\xA9y\xC3\xA9", "xy\xE9", 1},          // the one that cannot be held is dropped alone
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    g_log.clear();
    int beeps = pl3::BeepCount();
    pl3::InjectText(c.typed);
    pl3::PumpMessages();
    EXPECT_EQ(Chars(), c.chars);
    EXPECT_EQ(pl3::BeepCount() - beeps, c.beeps);
  }
}

TEST_F(InputTest, KeysMakeCharactersOnlyForControlKeys) {
  struct Case {
    int vk;
    bool shift, ctrl;
    std::string chars;
  };
  const Case cases[] = {
      {'A', false, false, ""},  // a letter's character comes as typed text, not from its key
      {'1', true, false, ""},     {VK_SPACE, false, false, ""},
      {VK_RETURN, false, false, "\r"}, {VK_BACK, false, false, "\b"},
      {VK_TAB, false, false, "\t"},    {VK_ESCAPE, false, false, "\x1B"},
      {'C', false, true, "\x03"},      {'V', true, true, "\x16"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.vk);
    g_log.clear();
    pl3::InjectKeyStroke(c.vk, c.shift, c.ctrl);
    pl3::PumpMessages();
    EXPECT_EQ(Chars(), c.chars);
    EXPECT_EQ(Only(top_, {WM_KEYDOWN}).size(), c.shift + c.ctrl + 1u);
  }
}

TEST_F(InputTest, AltWithALetterIsASystemCharacterAndItsTextIsDropped) {
  pl3::InjectKey(VK_MENU, true);
  pl3::InjectKey('F', true);
  pl3::InjectTypedText("f");  // what a host sends along with the key
  pl3::InjectKey('F', false);
  pl3::InjectKey(VK_MENU, false);
  pl3::PumpMessages();
  EXPECT_EQ(Chars(WM_CHAR), "");
  EXPECT_EQ(Chars(WM_SYSCHAR), "f");
}

TEST_F(InputTest, AltWithKeypadDigitsTypesTheCodesCharacter) {
  struct Case {
    const char* name;
    std::vector<int> keys;
    bool keypad;
    std::string chars;
  };
  const Case cases[] = {
      {"leading zero: the program's code page", {VK_NUMPAD0, VK_NUMPAD2, VK_NUMPAD3, VK_NUMPAD3}, false, "\xE9"},
      {"euro sign", {VK_NUMPAD0, VK_NUMPAD1, VK_NUMPAD2, VK_NUMPAD8}, false, "\x80"},
      {"ASCII", {VK_NUMPAD6, VK_NUMPAD5}, false, "A"},
      {"no leading zero: the DOS code page", {VK_NUMPAD1, VK_NUMPAD3, VK_NUMPAD0}, false, "\xE9"},
      {"above 255 wraps", {VK_NUMPAD3, VK_NUMPAD2, VK_NUMPAD1}, false, "A"},
      // 01000169: 1000169 % 256 is 233, in the program's code page.
      {"long codes wrap too", {VK_NUMPAD0, VK_NUMPAD1, VK_NUMPAD0, VK_NUMPAD0, VK_NUMPAD0, VK_NUMPAD1, VK_NUMPAD6,
                               VK_NUMPAD9}, false, "\xE9"},
      {"DOS shade block: not in the code page", {VK_NUMPAD1, VK_NUMPAD7, VK_NUMPAD6}, false, ""},
      {"keypad with Num Lock off", {VK_INSERT, VK_DOWN, VK_NEXT, VK_NEXT}, true, "\xE9"},
      {"navigation block keys are no digits", {VK_INSERT, VK_DOWN, VK_NEXT, VK_NEXT}, false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_log.clear();
    pl3::InjectKey(VK_MENU, true);
    for (int vk : c.keys) {
      pl3::InjectKey(vk, true, c.keypad);
      pl3::InjectKey(vk, false, c.keypad);
    }
    pl3::InjectKey(VK_MENU, false);
    pl3::PumpMessages();
    EXPECT_EQ(Chars(), c.chars);
    EXPECT_EQ(Chars(WM_SYSCHAR), "");  // the digits are no system characters
  }
  // The release of Alt that ends a code is a plain key release, then the
  // character: a filter that keeps its own Alt flag sees the character first.
  g_log.clear();
  pl3::InjectKey(VK_MENU, true);
  pl3::InjectKeyStroke(VK_NUMPAD6);
  pl3::InjectKeyStroke(VK_NUMPAD5);
  pl3::InjectKey(VK_MENU, false);
  pl3::PumpMessages();
  std::vector<UINT> tail = Only(top_, {WM_KEYUP, WM_SYSKEYUP, WM_CHAR});
  ASSERT_GE(tail.size(), 2u);
  EXPECT_EQ(tail[tail.size() - 2], WM_KEYUP);
  EXPECT_EQ(tail.back(), WM_CHAR);
  EXPECT_EQ(g_log.back().message, WM_CHAR);
  // Alt alone, or with another key between, types nothing.
  g_log.clear();
  pl3::InjectKey(VK_MENU, true);
  pl3::InjectKeyStroke(VK_NUMPAD6);
  pl3::InjectKeyStroke('X');
  pl3::InjectKeyStroke(VK_NUMPAD5);
  pl3::InjectKey(VK_MENU, false);
  pl3::PumpMessages();
  EXPECT_EQ(Chars(), "");
}

TEST_F(InputTest, KeyNamesComeFromScanCodes) {
  struct Case {
    int vk;
    bool extended;
    const char* name;
  };
  const Case cases[] = {
      {VK_CONTROL, false, "Ctrl"},   {VK_SHIFT, false, "Shift"},       {VK_MENU, false, "Alt"},
      {'Z', false, "Z"},             {'7', false, "7"},               {VK_OEM_1, false, ";"},
      {VK_F1, false, "F1"},          {VK_F12, false, "F12"},          {VK_RETURN, false, "Enter"},
      {VK_ESCAPE, false, "Esc"},     {VK_SPACE, false, "Space"},      {VK_BACK, false, "Backspace"},
      {VK_NUMPAD7, false, "Num 7"},  {VK_MULTIPLY, false, "Num *"},   {VK_DECIMAL, false, "Num Del"},
      {VK_HOME, true, "Home"},       {VK_PRIOR, true, "Page Up"},     {VK_NEXT, true, "Page Down"},
      {VK_DELETE, true, "Delete"},   {VK_INSERT, true, "Insert"},     {VK_END, true, "End"},
      {VK_HOME, false, "Num 7"},  // the keypad key of the same scan code
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UINT scan = MapVirtualKeyA(static_cast<UINT>(c.vk), MAPVK_VK_TO_VSC);
    ASSERT_NE(scan, 0u);
    char name[32] = "junk";
    LONG bits = static_cast<LONG>((scan & 0xFF) << 16) | (c.extended ? 1L << 24 : 0);
    EXPECT_EQ(GetKeyNameTextA(bits, name, sizeof name), static_cast<int>(std::strlen(c.name)));
    EXPECT_STREQ(name, c.name);
  }
  char small[3];
  EXPECT_EQ(GetKeyNameTextA(0x1D << 16, small, sizeof small), 2);
  EXPECT_STREQ(small, "Ct");
  char none[8] = "junk";
  EXPECT_EQ(GetKeyNameTextA(0x7F << 16, none, sizeof none), 0);
  EXPECT_STREQ(none, "");
  // Either side: bit 25 names the generic key.
  char name_[32];
  EXPECT_EQ(GetKeyNameTextA((0x36 << 16) | (1 << 25), name_, sizeof name_), 5);
  EXPECT_STREQ(name_, "Shift");
  EXPECT_EQ(GetKeyNameTextA(0x36 << 16, name_, sizeof name_), 11);
  EXPECT_STREQ(name_, "Right Shift");
}

TEST_F(InputTest, KeyMessagesCarryScanCodeAndExtendedBit) {
  struct Case {
    int vk;
    bool keypad;
    const char* name;
  };
  const Case cases[] = {{VK_HOME, false, "Home"}, {VK_HOME, true, "Num 7"}, {'Q', false, "Q"},
                        {VK_RETURN, true, "Num Enter"}, {VK_RETURN, false, "Enter"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_log.clear();
    pl3::InjectKey(c.vk, true, c.keypad);
    pl3::InjectKey(c.vk, false, c.keypad);
    pl3::PumpMessages();
    ASSERT_FALSE(g_log.empty());
    ASSERT_EQ(g_log.front().message, static_cast<UINT>(WM_KEYDOWN));
    char name[32];
    GetKeyNameTextA(static_cast<LONG>(g_log.front().lParam), name, sizeof name);
    EXPECT_STREQ(name, c.name);
  }
}

TEST_F(InputTest, MapVirtualKeyBetweenKeysScanCodesAndCharacters) {
  struct Case {
    UINT code, type, expected;
  };
  const Case cases[] = {
      {'A', MAPVK_VK_TO_VSC, 0x1E},         {VK_RSHIFT, MAPVK_VK_TO_VSC, 0x36},
      {0x7C /* F13: no such key here */, MAPVK_VK_TO_VSC, 0},  {0x47, MAPVK_VSC_TO_VK, VK_HOME},
      {0x2A, MAPVK_VSC_TO_VK, VK_SHIFT},    {0x36, MAPVK_VSC_TO_VK, VK_SHIFT},
      {0x36, MAPVK_VSC_TO_VK_EX, VK_RSHIFT}, {0x1D, MAPVK_VSC_TO_VK_EX, VK_LCONTROL},
      {0x35, MAPVK_VSC_TO_VK, VK_OEM_2},    {0x10, MAPVK_VSC_TO_VK, 'Q'},
      {'A', MAPVK_VK_TO_CHAR, 'A'},          {VK_OEM_2, MAPVK_VK_TO_CHAR, '/'},
      {VK_BACK, MAPVK_VK_TO_CHAR, 8},        {VK_F1, MAPVK_VK_TO_CHAR, 0},
      {'A', 9, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.code << " type " << c.type);
    EXPECT_EQ(MapVirtualKeyA(c.code, c.type), c.expected);
  }
}

TEST_F(InputTest, CaptureTakesMovesOutsideTheWindowUntilReleased) {
  HWND other = MakeTop(400, 300);
  pl3::PumpMessages();
  SetCapture(top_);
  g_log.clear();
  POINT far = ScreenOf(other, POINT{20, 20});  // over the other window
  pl3::InjectMouseMove(far);
  pl3::PumpMessages();
  ASSERT_EQ(Only(top_, {WM_MOUSEMOVE}).size(), 1u);
  EXPECT_TRUE(Only(other, {WM_MOUSEMOVE}).empty());
  POINT client = far;
  ScreenToClient(top_, &client);
  for (const Heard& e : g_log)
    if (e.message == WM_MOUSEMOVE) {
      EXPECT_EQ(GET_X_LPARAM(e.lParam), client.x);
      EXPECT_EQ(GET_Y_LPARAM(e.lParam), client.y);
    }
  ReleaseCapture();
  g_log.clear();
  pl3::InjectMouseMove(POINT{far.x + 1, far.y});
  pl3::PumpMessages();
  EXPECT_TRUE(Only(top_, {WM_MOUSEMOVE}).empty());
  EXPECT_EQ(Only(other, {WM_MOUSEMOVE}).size(), 1u);
}

// A desktop that records what the window layer asks of it.
struct FakeDesktop {
  static inline std::vector<bool> grabs;
  static void Grab(bool on) { grabs.push_back(on); }
  static bool Has() { return false; }
  static std::string Text() { return {}; }
  static void SetText(const char*) {}
};

TEST_F(InputTest, CaptureGrabsTheHostPointerAndADestroyedCaptureLetsGo) {
  static const pl3::backend::HostServices host{&FakeDesktop::Grab, &FakeDesktop::Has, &FakeDesktop::Text,
                                               &FakeDesktop::SetText};
  FakeDesktop::grabs.clear();
  pl3::backend::SetHostServices(&host);
  HWND child = CreateWindowExA(0, "Input_Test", "", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, top_, nullptr, nullptr,
                               nullptr);
  SetCapture(top_);
  SetCapture(child);  // a second window takes it over: still grabbed
  DestroyWindow(child);
  SetCapture(top_);
  ReleaseCapture();
  pl3::backend::SetHostServices(nullptr);
  EXPECT_EQ(FakeDesktop::grabs, (std::vector<bool>{true, false, true, false}));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(InputTest, SetCursorPosQueuesExactlyOneMove) {
  POINT target = ScreenOf(top_, POINT{30, 40});
  pl3::InjectMouseMove(ScreenOf(top_, POINT{5, 5}));
  pl3::PumpMessages();
  g_log.clear();
  EXPECT_TRUE(SetCursorPos(target.x, target.y));
  POINT now{};
  GetCursorPos(&now);
  EXPECT_EQ(now.x, target.x);
  EXPECT_EQ(now.y, target.y);
  pl3::PumpMessages();
  std::vector<Heard> moves;
  for (const Heard& e : g_log)
    if (e.message == WM_MOUSEMOVE) moves.push_back(e);
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0].lParam, MAKEPOINTLPARAM(30, 40));
  // Taken back at once (as a warp that must not look like a user move is).
  SetCursorPos(target.x + 3, target.y);
  MSG m;
  EXPECT_TRUE(PeekMessageA(&m, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE));
  EXPECT_FALSE(PeekMessageA(&m, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE));
}

TEST_F(InputTest, TrackMouseEventReportsOneLeave) {
  HWND other = MakeTop(400, 300);
  pl3::PumpMessages();
  auto track = [](HWND h, DWORD flags) {
    TRACKMOUSEEVENT t{sizeof(TRACKMOUSEEVENT), flags, h, 0};
    return TrackMouseEvent(&t);
  };
  auto leaves = [&](HWND h) { return Only(h, {WM_MOUSELEAVE}).size(); };
  pl3::InjectMouseMove(ScreenOf(top_, POINT{10, 10}));
  pl3::PumpMessages();
  g_log.clear();
  ASSERT_TRUE(track(top_, TME_LEAVE));
  TRACKMOUSEEVENT query{sizeof(TRACKMOUSEEVENT), TME_QUERY, nullptr, 0};
  ASSERT_TRUE(TrackMouseEvent(&query));
  EXPECT_EQ(query.hwndTrack, top_);
  EXPECT_EQ(query.dwFlags, TME_LEAVE);
  pl3::InjectMouseMove(ScreenOf(top_, POINT{50, 50}));
  pl3::PumpMessages();
  EXPECT_EQ(leaves(top_), 0u);  // still inside
  pl3::InjectMouseMove(ScreenOf(other, POINT{10, 10}));
  pl3::PumpMessages();
  EXPECT_EQ(leaves(top_), 1u);
  pl3::InjectMouseMove(ScreenOf(other, POINT{20, 10}));
  pl3::PumpMessages();
  EXPECT_EQ(leaves(top_), 1u);  // once only
  // Onto the window's own border counts as leaving its client area.
  HWND framed = CreateWindowExA(0, "Input_Test", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 20, 20, 60, 40, top_,
                                nullptr, nullptr, nullptr);
  pl3::InjectMouseMove(ScreenOf(framed, POINT{10, 10}));
  pl3::PumpMessages();
  g_log.clear();
  track(framed, TME_LEAVE);
  RECT frame;
  GetWindowRect(framed, &frame);
  pl3::InjectMouseMove(POINT{frame.left + 20, frame.top});
  pl3::PumpMessages();
  EXPECT_EQ(leaves(framed), 1u);
  // Asked while the pointer is elsewhere: the leave comes at once.
  pl3::InjectMouseMove(ScreenOf(other, POINT{10, 10}));
  pl3::PumpMessages();
  g_log.clear();
  track(top_, TME_LEAVE);
  pl3::PumpMessages();
  EXPECT_EQ(leaves(top_), 1u);
  // Cancelled: none.
  pl3::InjectMouseMove(ScreenOf(top_, POINT{10, 10}));
  pl3::PumpMessages();
  g_log.clear();
  track(top_, TME_LEAVE);
  track(top_, TME_LEAVE | TME_CANCEL);
  pl3::InjectMouseMove(ScreenOf(other, POINT{10, 10}));
  pl3::PumpMessages();
  EXPECT_EQ(leaves(top_), 0u);
  // A bad window or record is refused.
  EXPECT_FALSE(track(reinterpret_cast<HWND>(0x1234), TME_LEAVE));
  TRACKMOUSEEVENT bad{0, TME_LEAVE, top_, 0};
  EXPECT_FALSE(TrackMouseEvent(&bad));
}

TEST_F(InputTest, WindowManagerStatesReachSizePlacementAndZoom) {
  RECT before;
  GetWindowRect(top_, &before);
  struct Step {
    int command;
    RECT given;
    BOOL zoomed, iconic;
    WPARAM sizeKind;
    UINT showCmd;
    RECT expected;
  };
  const RECT max{0, 0, 640, 460};
  const Step steps[] = {
      {SW_MAXIMIZE, max, TRUE, FALSE, SIZE_MAXIMIZED, SW_SHOWMAXIMIZED, max},
      {SW_RESTORE, {}, FALSE, FALSE, SIZE_RESTORED, SW_SHOWNORMAL, before},
      {SW_MINIMIZE, {}, FALSE, TRUE, SIZE_MINIMIZED, SW_SHOWMINIMIZED, before},
      {SW_RESTORE, {}, FALSE, FALSE, SIZE_RESTORED, SW_SHOWNORMAL, before},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.command);
    g_log.clear();
    pl3::InjectWindowState(top_, s.command, s.given.right ? &s.given : nullptr);
    EXPECT_EQ(IsZoomed(top_), s.zoomed);
    EXPECT_EQ(IsIconic(top_), s.iconic);
    std::vector<WPARAM> sizes;
    for (const Heard& e : g_log)
      if (e.hwnd == top_ && e.message == WM_SIZE) sizes.push_back(e.wParam);
    ASSERT_FALSE(sizes.empty());
    EXPECT_EQ(sizes.back(), s.sizeKind);
    WINDOWPLACEMENT p{};
    p.length = sizeof p;
    ASSERT_TRUE(GetWindowPlacement(top_, &p));
    EXPECT_EQ(p.showCmd, s.showCmd);
    EXPECT_EQ(p.rcNormalPosition.left, before.left);
    EXPECT_EQ(p.rcNormalPosition.right, before.right);
    RECT now;
    GetWindowRect(top_, &now);
    EXPECT_EQ(now.left, s.expected.left);
    EXPECT_EQ(now.right, s.expected.right);
    EXPECT_EQ(now.bottom, s.expected.bottom);
  }
  // Already in that state: nothing is sent.
  g_log.clear();
  pl3::InjectWindowState(top_, SW_RESTORE, nullptr);
  EXPECT_TRUE(Only(top_, {WM_SIZE}).empty());
}

TEST_F(InputTest, LeavingAndReturningToTheProgramActivatesAndKeepsTheFocus) {
  HWND pane = MakeTop(400, 300);  // a second top-level window, as a floating pane
  SetActiveWindow(top_);
  HWND edit = CreateWindowExA(0, "Input_Test", "", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, top_, nullptr, nullptr,
                              nullptr);
  SetFocus(edit);
  g_log.clear();
  pl3::InjectAppActivation(nullptr);
  EXPECT_EQ(GetActiveWindow(), nullptr);
  EXPECT_EQ(GetFocus(), nullptr);
  auto appActivations = [](HWND h) {
    std::vector<WPARAM> out;
    for (const Heard& e : g_log)
      if (e.hwnd == h && e.message == WM_ACTIVATEAPP) out.push_back(e.wParam);
    return out;
  };
  EXPECT_EQ(appActivations(top_), std::vector<WPARAM>{FALSE});
  EXPECT_EQ(appActivations(pane), std::vector<WPARAM>{FALSE});
  EXPECT_EQ(Only(edit, {WM_KILLFOCUS}).size(), 1u);
  // Keys while inactive go nowhere.
  g_log.clear();
  pl3::InjectText("a");
  pl3::PumpMessages();
  EXPECT_EQ(Chars(), "");
  g_log.clear();
  pl3::InjectAppActivation(top_);
  EXPECT_EQ(GetActiveWindow(), top_);
  EXPECT_EQ(GetFocus(), edit);
  EXPECT_EQ(appActivations(top_), std::vector<WPARAM>{TRUE});
  EXPECT_EQ(appActivations(pane), std::vector<WPARAM>{TRUE});
}

TEST_F(InputTest, AnimateWindowShowsAndHidesAtOnce) {
  EXPECT_FALSE(AnimateWindow(top_, 200, AW_SLIDE | AW_HOR_POSITIVE));  // already shown
  EXPECT_TRUE(AnimateWindow(top_, 200, AW_HIDE | AW_SLIDE));
  EXPECT_FALSE(IsWindowVisible(top_));
  EXPECT_FALSE(AnimateWindow(top_, 200, AW_HIDE));  // already hidden
  HWND other = MakeTop(400, 300);
  EXPECT_EQ(GetActiveWindow(), other);
  EXPECT_TRUE(AnimateWindow(top_, 200, AW_SLIDE));
  EXPECT_TRUE(IsWindowVisible(top_));
  EXPECT_EQ(GetActiveWindow(), other);  // shown without activation
  ShowWindow(top_, SW_HIDE);
  EXPECT_TRUE(AnimateWindow(top_, 200, AW_ACTIVATE | AW_BLEND));
  EXPECT_EQ(GetActiveWindow(), top_);
  EXPECT_FALSE(AnimateWindow(reinterpret_cast<HWND>(0x1234), 200, 0));
}

}  // namespace
