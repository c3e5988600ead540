// The window layer's own records, shared by its source files, the controls,
// the dialogs and the backends. Nothing outside platform/ includes this.
#pragma once
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/surface.h"
#include "platform/user.h"

namespace pl3::user {

// The name "#<number>" under which a resource given by number (a class,
// template or property name that IS_INTRESOURCE) is kept.
inline std::string IntResourceName(LPCSTR id) {
  std::string name(1, '#');
  name += std::to_string(reinterpret_cast<std::uintptr_t>(id));
  return name;
}

// An update region: disjoint rectangles.
struct Region {
  std::vector<RECT> rects;
  bool Empty() const { return rects.empty(); }
  RECT Bounds() const;
  void Add(const RECT& r);
  void Subtract(const RECT& r);
  void Clip(const RECT& r);
  void Offset(int dx, int dy);
  void Clear() { rects.clear(); }
};

struct ClassRecord {
  std::string name;
  ATOM atom = 0;
  UINT style = 0;
  WNDPROC proc = nullptr;
  int clsExtra = 0;
  int wndExtra = 0;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HICON iconSmall = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  std::string menuName;
  std::vector<BYTE> extra;
  bool system = false;  // the built-in control classes survive a reset
  int windows = 0;      // live windows of the class
};

// A control's or dialog's private state, owned by its window.
struct WindowState {
  virtual ~WindowState() = default;
};

struct WindowRecord {
  HWND handle = nullptr;
  ClassRecord* cls = nullptr;
  WNDPROC proc = nullptr;
  HWND parent = nullptr;  // null for top-level windows
  HWND owner = nullptr;
  std::vector<HWND> children;  // front of the z-order first
  DWORD style = 0;
  DWORD exStyle = 0;
  LONG_PTR id = 0;
  HMENU menu = nullptr;        // a top-level window's menu bar
  HMENU systemMenu = nullptr;  // its own copy of the system menu, once asked for
  LONG_PTR userData = 0;
  HINSTANCE instance = nullptr;
  std::string text;
  RECT rect{};    // window rectangle: in the parent's client coordinates, screen for top-level
  RECT client{};  // client rectangle relative to the window's top-left corner
  RECT normalRect{};  // the restored rectangle, kept while minimised or maximised
  std::vector<BYTE> extra;
  std::vector<std::pair<std::string, HANDLE>> props;
  Region update;
  unsigned validations = 0;  // counts BeginPaint and ValidateRect calls
  bool erasePending = false;
  bool ncPending = false;  // the border needs WM_NCPAINT
  bool redrawOff = false;  // WM_SETREDRAW FALSE
  bool destroying = false;
  bool sizeSent = false;
  std::unique_ptr<WindowState> state;  // controls and dialogs
  // Top-level windows only: the framebuffer. Its pixel block only grows, and
  // a replaced block is kept until no device context on it is held.
  std::vector<std::uint32_t> pixels;
  std::vector<std::vector<std::uint32_t>> retiredPixels;
  PixelSurface surface;
  int heldDCs = 0;
  bool dirty = false;  // drawn since last shown by the backend
  HDC ownDC = nullptr;  // CS_OWNDC: the one client context, kept with its settings
  void* backendData = nullptr;
};

struct QueuedMessage {
  MSG msg{};
  bool rawInput = false;  // mouse or key input not yet routed to a window
};

struct Timer {
  HWND hwnd = nullptr;
  UINT_PTR id = 0;
  UINT elapse = 0;
  TIMERPROC proc = nullptr;
  std::uint64_t due = 0;
};

struct Caret {
  HWND owner = nullptr;
  int width = 0;
  int height = 0;
  POINT pos{};
  int hideCount = 1;
  bool drawn = false;
  std::uint64_t nextBlink = 0;
};

// Alt held with keypad digits: the number typed so far.
struct AltCode {
  bool altDown = false;  // Alt went down and no other key broke the code
  unsigned value = 0;
  int digits = 0;
  bool leadingZero = false;  // the program's code page; else the DOS one
};

// Input state beyond the keys and buttons.
struct InputState {
  AltCode altCode;
  HWND leaveTracked = nullptr;  // TrackMouseEvent(TME_LEAVE)
  bool pointerGrabbed = false;
  // The focus window when the program last lost the desktop's focus, given
  // back when it returns.
  HWND focusBeforeLeaving = nullptr;
};

struct State {
  std::vector<std::unique_ptr<ClassRecord>> classes;
  ATOM nextAtom = 0xC000;
  std::unordered_map<HWND, std::unique_ptr<WindowRecord>> windows;
  std::vector<std::unique_ptr<WindowRecord>> zombies;  // destroyed, freed when no call is under way
  std::vector<HWND> topLevels;  // front of the z-order first
  std::uintptr_t nextHandle = 0x10000;
  std::deque<QueuedMessage> queue;
  bool quitPosted = false;
  int quitCode = 0;
  int sendDepth = 0;
  HWND focus = nullptr;
  HWND active = nullptr;
  HWND capture = nullptr;
  std::vector<Timer> timers;
  UINT_PTR nextTimerId = 0x7F00;
  std::uint64_t testClock = 0;
  MSG lastMessage{};
  BYTE keyState[256]{};       // as of the last message retrieved
  BYTE asyncKeyState[256]{};  // as the input arrived
  POINT cursorPos{};
  int cursorShape = 32512;
  int cursorShowCount = 0;
  Caret caret;
  int beepCount = 0;
  // Double clicks: the last button press.
  UINT lastDownMessage = 0;
  HWND lastDownWindow = nullptr;
  std::uint64_t lastDownTime = 0;
  POINT lastDownPoint{};
  HWND lastMouseWindow = nullptr;
  InputState input;
  struct HeldDC {
    HWND hwnd;
    HWND top;
  };
  std::unordered_map<HDC, HeldDC> heldDCs;
};

State& S();
WindowRecord* Find(HWND hwnd);            // null for null, unknown or destroyed windows
WindowRecord* TopRecord(WindowRecord* w);  // the top-level window holding w
HWND TopLevelOf(HWND hwnd);
// Client rectangle of `w` in screen coordinates, and its visible part (cut by
// every ancestor's client area; empty when it or an ancestor is hidden).
RECT ClientScreenRect(WindowRecord* w);
RECT WindowScreenRect(WindowRecord* w);
RECT VisibleClientScreenRect(WindowRecord* w);
bool IsReallyVisible(WindowRecord* w);
// Screen position of a top-level window's framebuffer origin.
POINT SurfaceOrigin(WindowRecord* top);

// Painting and framebuffers (user_paint.cpp).
void ResizeSurface(WindowRecord* top);
void InvalidateArea(WindowRecord* w, const RECT* clientRect, bool erase, bool children);
void InvalidateParentArea(WindowRecord* w);  // the part of the parent the window covers
bool FindPaintWindow(HWND filter, HWND* out);
void PresentDirtyWindows();
void ReleaseAllDCs(HWND hwnd);

// Messages (user_messages.cpp).
LRESULT Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void PostInput(const MSG& msg);
void RemoveMessagesFor(HWND hwnd);
void FreeZombies();
// Posts WM_CLOSE to the window CloseWindowOnSignals named once SIGINT or
// SIGTERM has arrived (close_signals.cpp).
void DeliverCloseSignal();
std::uint64_t Now();
// Runs the message loop until `done` returns true or WM_QUIT arrives (which
// is put back); `dialog` gets IsDialogMessage treatment. Returns false on
// WM_QUIT.
bool RunModalLoop(HWND dialog, bool (*done)(void*), void* context, void (*idle)(void*));

// Timers and carets (user_timers.cpp).
bool FindDueTimer(HWND filter, MSG* out, bool remove);
bool AnyTimerPending();
// When the next timer of the windows a message filter names is due;
// kNoTimerDue when there is none.
constexpr std::uint64_t kNoTimerDue = ~std::uint64_t{0};
std::uint64_t NextTimerDue(HWND filter = nullptr);
void KillTimersFor(HWND hwnd);
void CaretHideForPaint(HWND hwnd);
void CaretRestoreAfterPaint(HWND hwnd);
void CaretBlink();
void CaretOwnerDestroyed(HWND hwnd);

// Input (user_input.cpp).
bool CookInput(QueuedMessage& q);  // false when the input has no target
void NoteRetrieved(const MSG& msg);
// A destroyed window lets go of the capture (and the pointer grab) and of
// mouse-leave tracking.
void ForgetInputWindow(HWND gone);
// The host pointer left a top-level window (and is over none of ours).
void PointerLeftTopLevel(HWND top);
int CursorShapeOf(HCURSOR cursor);

// Keys (user_keys.cpp).
// The character a key makes on a US keyboard, 0 for none.
char UsKeyChar(int vk, bool shift, bool caps, bool ctrl);
// Repeat count, scan code and extended bit of a key message's lParam.
LPARAM KeyMessageBits(int vk, bool keypad);
// Follows Alt and keypad digits as keys arrive. The release of Alt that ends
// a code gives the code's character (0 when the code names none).
std::optional<char32_t> AltCodeKey(int vk, bool down, bool keypad);
// Posts one typed character to the focus window; a character the code page
// cannot hold beeps and is dropped.
void PostTypedChar(char32_t cp);

// Windows (user_windows.cpp).
void ActivateWindow(HWND hwnd, WORD how);
// WM_ACTIVATEAPP to every top-level window (user_window_state.cpp).
void SendActivateApp(BOOL active);
void SendSizeMove(WindowRecord* w);
void ForgetWindow(WindowRecord* w);
RECT NonClientInsetsOf(WindowRecord* w);  // what DefWindowProc takes off for borders

// Captioned child windows (user_nonclient.cpp): hit-test codes of the caption,
// its buttons and the sizing border (HTNOWHERE elsewhere); their drawing; the
// press DefWindowProc answers (false when `hit` is none of theirs); the move
// and size loop of SC_MOVE and SC_SIZE.
bool HasOwnCaption(DWORD style, DWORD exStyle, bool child);  // a child's, or a captioned tool window's
LRESULT NonClientHitTest(HWND hwnd, POINT screen);
void PaintCaptionButtons(HWND hwnd, HDC windowDC);
RECT CaptionTextRect(HWND hwnd);
bool NonClientPress(HWND hwnd, LRESULT hit, POINT screen);
void MoveSizeLoop(HWND hwnd, WPARAM command, POINT start);

// The next message of a loop that holds the mouse captured for `hwnd` (a
// scroll bar, caption button, move or size): false when the loop must end
// (the window or its capture is gone, WM_QUIT came and was put back, or,
// headless, nothing is left and `headlessIdle` is null or returns false).
// Waits for input on a real display.
bool NextCapturedMessage(HWND hwnd, MSG* m, bool (*headlessIdle)(HWND));

// Controls register their classes (controls/*.cpp).
void RegisterControlClasses();
void RegisterCommonControlClasses();  // controls/common_controls.cpp
void RegisterDialogClass();
void RegisterMdiClientClass();
ClassRecord* AddSystemClass(const char* name, UINT style, WNDPROC proc, int wndExtra, HCURSOR cursor,
                            HBRUSH background);

}  // namespace pl3::user
