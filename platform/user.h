// The window layer: window classes and windows, messages and the message
// queue, painting, timers, focus, capture, keyboard and mouse state, cursors
// and carets. Names, records and numbers follow the operating-system
// interface the program's window procedures are written against; the layer
// underneath is our own, with a headless backend for tests and an SDL2 backend
// that shows each top-level window on screen.
//
// One thread only: every function here must be called from the thread that
// runs the message loop.
#pragma once
#include <cstdint>

#include "platform/surface.h"
#include "platform/win_types.h"

#ifndef CALLBACK
#define CALLBACK
#endif
#ifndef WINAPI
#define WINAPI
#endif

#include "platform/user_constants.h"

using INT_PTR = std::intptr_t;
using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using DLGPROC = INT_PTR (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);
using WNDENUMPROC = BOOL (*)(HWND, LPARAM);

constexpr short GET_X_LPARAM(LPARAM lp) { return static_cast<short>(LOWORD(static_cast<DWORD_PTR>(lp))); }
constexpr short GET_Y_LPARAM(LPARAM lp) { return static_cast<short>(HIWORD(static_cast<DWORD_PTR>(lp))); }
constexpr short GET_WHEEL_DELTA_WPARAM(WPARAM wp) { return static_cast<short>(HIWORD(wp)); }
constexpr WORD GET_KEYSTATE_WPARAM(WPARAM wp) { return LOWORD(wp); }
constexpr LPARAM MAKEPOINTLPARAM(int x, int y) {
  return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(static_cast<short>(y)));
}

struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
};

struct WNDCLASSA {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
};
using WNDCLASS = WNDCLASSA;

struct WNDCLASSEXA {
  UINT cbSize;
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
  HICON hIconSm;
};
using WNDCLASSEX = WNDCLASSEXA;

struct CREATESTRUCTA {
  LPVOID lpCreateParams;
  HINSTANCE hInstance;
  HMENU hMenu;
  HWND hwndParent;
  int cy;
  int cx;
  int y;
  int x;
  LONG style;
  LPCSTR lpszName;
  LPCSTR lpszClass;
  DWORD dwExStyle;
};
using CREATESTRUCT = CREATESTRUCTA;

struct PAINTSTRUCT {
  HDC hdc;
  BOOL fErase;
  RECT rcPaint;
  BOOL fRestore;
  BOOL fIncUpdate;
  BYTE rgbReserved[32];
};

struct NCCALCSIZE_PARAMS {
  RECT rgrc[3];
  void* lppos;
};

using ULONG_PTR = std::uintptr_t;

struct COPYDATASTRUCT {
  ULONG_PTR dwData;
  DWORD cbData;
  LPVOID lpData;
};

struct WINDOWPLACEMENT {
  UINT length;
  UINT flags;
  UINT showCmd;
  POINT ptMinPosition;
  POINT ptMaxPosition;
  RECT rcNormalPosition;
};
static_assert(sizeof(WINDOWPLACEMENT) == 44, "the placement record is saved field by field in 44 bytes");

struct MINMAXINFO {
  POINT ptReserved;
  POINT ptMaxSize;
  POINT ptMaxPosition;
  POINT ptMinTrackSize;
  POINT ptMaxTrackSize;
};

// Owner-drawn controls: the records sent with WM_MEASUREITEM, WM_DRAWITEM,
// WM_COMPAREITEM and WM_DELETEITEM.
struct MEASUREITEMSTRUCT {
  UINT CtlType;
  UINT CtlID;
  UINT itemID;
  UINT itemWidth;
  UINT itemHeight;
  ULONG_PTR itemData;
};
struct DRAWITEMSTRUCT {
  UINT CtlType;
  UINT CtlID;
  UINT itemID;
  UINT itemAction;
  UINT itemState;
  HWND hwndItem;
  HDC hDC;
  RECT rcItem;
  ULONG_PTR itemData;
};
struct COMPAREITEMSTRUCT {
  UINT CtlType;
  UINT CtlID;
  HWND hwndItem;
  UINT itemID1;
  ULONG_PTR itemData1;
  UINT itemID2;
  ULONG_PTR itemData2;
  DWORD dwLocaleId;
};
struct DELETEITEMSTRUCT {
  UINT CtlType;
  UINT CtlID;
  UINT itemID;
  HWND hwndItem;
  ULONG_PTR itemData;
};

// ---- Window classes -------------------------------------------------------------
// Class names compare without regard to case. A class name may also be an
// integer atom (MAKEINTRESOURCE of the value RegisterClass returned).
ATOM RegisterClassA(const WNDCLASSA* wc);
ATOM RegisterClassExA(const WNDCLASSEXA* wc);
BOOL UnregisterClassA(LPCSTR className, HINSTANCE instance);
BOOL GetClassInfoA(HINSTANCE instance, LPCSTR className, WNDCLASSA* out);
BOOL GetClassInfoExA(HINSTANCE instance, LPCSTR className, WNDCLASSEXA* out);
int GetClassNameA(HWND hwnd, LPSTR buffer, int size);
ULONG_PTR GetClassLongPtrA(HWND hwnd, int index);
ULONG_PTR SetClassLongPtrA(HWND hwnd, int index, LONG_PTR value);
#define RegisterClass RegisterClassA
#define RegisterClassEx RegisterClassExA
#define UnregisterClass UnregisterClassA
#define GetClassInfo GetClassInfoA
#define GetClassInfoEx GetClassInfoExA
#define GetClassName GetClassNameA
#define GetClassLongPtr GetClassLongPtrA
#define SetClassLongPtr SetClassLongPtrA
#define GetClassLong GetClassLongPtrA
#define SetClassLong SetClassLongPtrA

// ---- Windows ----------------------------------------------------------------------
// `menu` of a child window is its control id.
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param);
inline HWND CreateWindowA(LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width, int height,
                          HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
  return CreateWindowExA(0, className, windowName, style, x, y, width, height, parent, menu, instance, param);
}
#define CreateWindowEx CreateWindowExA
#define CreateWindow CreateWindowA
BOOL DestroyWindow(HWND hwnd);
BOOL IsWindow(HWND hwnd);
BOOL IsChild(HWND parent, HWND hwnd);
HWND GetParent(HWND hwnd);
HWND SetParent(HWND hwnd, HWND newParent);
HWND GetAncestor(HWND hwnd, UINT flags);
HWND GetWindow(HWND hwnd, UINT relation);
HWND GetTopWindow(HWND hwnd);
HWND GetDesktopWindow();
HWND GetDlgItem(HWND dialog, int id);
int GetDlgCtrlID(HWND hwnd);
HWND FindWindowA(LPCSTR className, LPCSTR windowName);
HWND FindWindowExA(HWND parent, HWND childAfter, LPCSTR className, LPCSTR windowName);
#define FindWindow FindWindowA
#define FindWindowEx FindWindowExA
BOOL EnumChildWindows(HWND parent, WNDENUMPROC fn, LPARAM param);
BOOL EnumWindows(WNDENUMPROC fn, LPARAM param);
HWND WindowFromPoint(POINT screen);
HWND ChildWindowFromPoint(HWND parent, POINT client);
HWND ChildWindowFromPointEx(HWND parent, POINT client, UINT flags);

// Window longs are pointer-sized in every form, so a pointer kept with
// GWL_USERDATA survives on a 64-bit host.
LONG_PTR GetWindowLongPtrA(HWND hwnd, int index);
LONG_PTR SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value);
#define GetWindowLongPtr GetWindowLongPtrA
#define SetWindowLongPtr SetWindowLongPtrA
#define GetWindowLong GetWindowLongPtrA
#define SetWindowLong SetWindowLongPtrA
#define GetWindowLongA GetWindowLongPtrA
#define SetWindowLongA SetWindowLongPtrA

int GetWindowTextA(HWND hwnd, LPSTR buffer, int size);
int GetWindowTextLengthA(HWND hwnd);
BOOL SetWindowTextA(HWND hwnd, LPCSTR text);
#define GetWindowText GetWindowTextA
#define GetWindowTextLength GetWindowTextLengthA
#define SetWindowText SetWindowTextA

BOOL GetWindowRect(HWND hwnd, RECT* out);  // screen coordinates
BOOL GetClientRect(HWND hwnd, RECT* out);  // (0, 0, width, height)
BOOL ClientToScreen(HWND hwnd, POINT* pt);
BOOL ScreenToClient(HWND hwnd, POINT* pt);
int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count);
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL BringWindowToTop(HWND hwnd);
BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* out);
BOOL SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT* placement);
BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL menu, DWORD exStyle);
inline BOOL AdjustWindowRect(RECT* rect, DWORD style, BOOL menu) { return AdjustWindowRectEx(rect, style, menu, 0); }

BOOL ShowWindow(HWND hwnd, int command);
BOOL IsWindowVisible(HWND hwnd);
BOOL IsIconic(HWND hwnd);
BOOL IsZoomed(HWND hwnd);
// Shows or hides at once; the animation flags are taken and not played.
constexpr DWORD AW_HOR_POSITIVE = 0x00000001;
constexpr DWORD AW_HOR_NEGATIVE = 0x00000002;
constexpr DWORD AW_VER_POSITIVE = 0x00000004;
constexpr DWORD AW_VER_NEGATIVE = 0x00000008;
constexpr DWORD AW_CENTER = 0x00000010;
constexpr DWORD AW_HIDE = 0x00010000;
constexpr DWORD AW_ACTIVATE = 0x00020000;
constexpr DWORD AW_SLIDE = 0x00040000;
constexpr DWORD AW_BLEND = 0x00080000;
BOOL AnimateWindow(HWND hwnd, DWORD timeMs, DWORD flags);
BOOL EnableWindow(HWND hwnd, BOOL enable);
BOOL IsWindowEnabled(HWND hwnd);

BOOL SetPropA(HWND hwnd, LPCSTR name, HANDLE data);
HANDLE GetPropA(HWND hwnd, LPCSTR name);
HANDLE RemovePropA(HWND hwnd, LPCSTR name);
#define SetProp SetPropA
#define GetProp GetPropA
#define RemoveProp RemovePropA

// ---- Messages ---------------------------------------------------------------------
LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostThreadMessageA(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);
#define SendMessage SendMessageA
#define PostMessage PostMessageA
#define PostThreadMessage PostThreadMessageA
BOOL SendNotifyMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
#define SendNotifyMessage SendNotifyMessageA
// 1 for a message, 0 for WM_QUIT, -1 on error (bad window filter).
BOOL GetMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax);
BOOL PeekMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags);
#define GetMessage GetMessageA
#define PeekMessage PeekMessageA
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageA(const MSG* msg);
#define DispatchMessage DispatchMessageA
void PostQuitMessage(int exitCode);
BOOL WaitMessage();
DWORD GetMessageTime();
DWORD GetMessagePos();
BOOL InSendMessage();
LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
#define CallWindowProc CallWindowProcA
#define DefWindowProc DefWindowProcA

// ---- Painting ---------------------------------------------------------------------
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps);
HDC GetDC(HWND hwnd);
HDC GetWindowDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC dc);
HWND WindowFromDC(HDC dc);
BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
BOOL ValidateRect(HWND hwnd, const RECT* rect);
BOOL InvalidateRgn(HWND hwnd, HRGN region, BOOL erase);
BOOL ValidateRgn(HWND hwnd, HRGN region);
BOOL GetUpdateRect(HWND hwnd, RECT* out, BOOL erase);
BOOL UpdateWindow(HWND hwnd);
BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags);
BOOL LockWindowUpdate(HWND hwnd);
// Moves the client pixels by (dx, dy) inside `scroll` (whole client when null)
// and invalidates what was uncovered.
int ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN updateRegion,
                   RECT* updateRect, UINT flags);
BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip);

// ---- Timers -----------------------------------------------------------------------
// Timers run on the message clock: the real clock with a display, a clock the
// tests move (pl3::AdvanceTestClock) on the headless backend.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);

// ---- Keyboard, focus, activation -------------------------------------------------------
HWND SetFocus(HWND hwnd);
HWND GetFocus();
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();
BOOL SetForegroundWindow(HWND hwnd);
HWND GetForegroundWindow();
SHORT GetKeyState(int vk);
SHORT GetAsyncKeyState(int vk);
BOOL GetKeyboardState(BYTE* keys256);
// Key codes on a US keyboard: virtual key <-> scan code, and a key's character.
constexpr UINT MAPVK_VK_TO_VSC = 0;
constexpr UINT MAPVK_VSC_TO_VK = 1;
constexpr UINT MAPVK_VK_TO_CHAR = 2;
constexpr UINT MAPVK_VSC_TO_VK_EX = 3;
UINT MapVirtualKeyA(UINT code, UINT mapType);
#define MapVirtualKey MapVirtualKeyA
// The key's name ("Ctrl", "Page Up", "Num 7", "A") from a key message's
// lParam: scan code in bits 16-23, extended bit 24, bit 25 for either side.
int GetKeyNameTextA(LONG keyBits, LPSTR buffer, int size);
#define GetKeyNameText GetKeyNameTextA

// ---- Mouse ------------------------------------------------------------------------------
HWND SetCapture(HWND hwnd);
BOOL ReleaseCapture();
HWND GetCapture();
BOOL GetCursorPos(POINT* out);
BOOL SetCursorPos(int x, int y);
UINT GetDoubleClickTime();
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);
#define LoadCursor LoadCursorA
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
int ShowCursor(BOOL show);
BOOL ClipCursor(const RECT* rect);
// WM_MOUSELEAVE once the pointer leaves the window's client area.
constexpr DWORD TME_LEAVE = 0x00000002;
constexpr DWORD TME_QUERY = 0x40000000;
constexpr DWORD TME_CANCEL = 0x80000000;
struct TRACKMOUSEEVENT {
  DWORD cbSize;
  DWORD dwFlags;
  HWND hwndTrack;
  DWORD dwHoverTime;
};
BOOL TrackMouseEvent(TRACKMOUSEEVENT* track);
#define _TrackMouseEvent TrackMouseEvent

// ---- Carets -----------------------------------------------------------------------------
BOOL CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height);
BOOL DestroyCaret();
BOOL ShowCaret(HWND hwnd);
BOOL HideCaret(HWND hwnd);
BOOL SetCaretPos(int x, int y);
BOOL GetCaretPos(POINT* out);
UINT GetCaretBlinkTime();

BOOL MessageBeep(UINT type);

#include "platform/user_clipboard.h"

namespace pl3 {

// ---- The backend ------------------------------------------------------------------------------
// "headless" or "sdl". Chosen on first use: PL3_BACKEND=sdl|headless, else the
// SDL backend when a display is available.
const char* ActiveBackendName();
bool HasRealDisplay();
// Chooses the backend now (the program calls it first thing, so that message
// boxes shown before the first window already appear on screen); returns its
// name, or null when PL3_BACKEND names no backend or asks for "sdl" and no
// display can be opened. WindowBackendError() then says what is wrong and
// how to mend it, in words for the user. A program that uses windows without
// asking first is ended with that text and status 2.
const char* StartWindowBackend();
const char* WindowBackendError();
// Ctrl+C (SIGINT) and kill (SIGTERM) close `window` as the user closing it
// does: the next look for messages finds WM_CLOSE posted to it. Null gives
// both signals back their default action.
void CloseWindowOnSignals(HWND window);

// ---- Test and backend input ------------------------------------------------------------------
// Input arrives as the backend (or a test) reports it, in screen coordinates;
// it becomes mouse and key messages in the queue, routed to the window under
// the point (or the capture window) and to the focus window when retrieved.
enum class MouseButton { Left, Right, Middle };
void InjectMouseMove(POINT screen);
void InjectMouseButton(MouseButton button, bool down, POINT screen);
void InjectMouseWheel(int delta, POINT screen);
// `keypad`: the key is on the numeric keypad (its navigation keys with Num
// Lock off, its Enter), which Alt codes and the extended-key bit tell apart.
void InjectKey(int vk, bool down, bool keypad = false);
// Text the host's input method produced (UTF-8): one WM_CHAR per character in
// the program's code page, to the focus window; a character the code page
// cannot hold beeps and is dropped. Control keys make their own WM_CHAR
// through TranslateMessage.
void InjectTypedText(const char* utf8);
// Convenience for tests: a press and release at a client point of a window.
void InjectClick(HWND hwnd, POINT client, MouseButton button = MouseButton::Left);
// A key press and release; with `shift` or `ctrl` held around it.
void InjectKeyStroke(int vk, bool shift = false, bool ctrl = false);
// Typed text (UTF-8), as a keyboard and the host deliver it: per character
// the key's press (US layout), the text, the key's release. A character with
// no key on that layout comes as text alone.
void InjectText(const char* text);
// The window manager changed a top-level window: minimised, maximised or
// restored (SW_MINIMIZE, SW_MAXIMIZE, SW_RESTORE) to the rectangle it gives
// (null: the one the window would take itself).
void InjectWindowState(HWND top, int showCommand, const RECT* rect);
// The desktop moved the keyboard focus to one of our top-level windows
// (`top`), or away from all of them (null).
void InjectAppActivation(HWND top);

// ---- Test clock and message pumping -------------------------------------------------------------
// The message clock in milliseconds since start (GetMessageTime reads it).
std::uint64_t MessageClockNow();
// Headless only: moves the message clock on; due timers fire at the next
// message retrieval.
void AdvanceTestClock(std::uint32_t ms);
// Dispatches every message that is ready without waiting (translating keys),
// including paints and due timers; returns how many were dispatched. A
// WM_QUIT met on the way is left in the queue.
int PumpMessages();
// Number of MessageBeep calls since start (or the last reset).
int BeepCount();
// The shape of the current cursor (an IDC_ value), 0 when hidden.
int CurrentCursorShape();

// ---- Framebuffers -------------------------------------------------------------------------------
// The framebuffer of the top-level window that holds `hwnd` (null when none).
const PixelSurface* WindowSurface(HWND hwnd);
// Saves that framebuffer as a PNG file.
bool SaveWindowPng(HWND hwnd, const char* path);
// How many screen rows the screen context has had to merge with the windows'
// framebuffers so far: only rows changed on either side since its last use.
std::uint64_t ScreenRowsMerged();
// The screen rectangle the backend offers (the work area for maximised windows).
RECT ScreenRect();

}  // namespace pl3
