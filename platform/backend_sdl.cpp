// The SDL2 backend: each visible top-level window is an SDL window showing its
// framebuffer; mouse, wheel and keyboard events become input for the message
// queue, and closing an SDL window sends the window WM_CLOSE. The only file of
// the program that includes SDL.
#include <SDL.h>

#include <cstring>
#include <string>
#include <unordered_map>

#include "platform/backend.h"
#include "platform/code_page.h"
#include "platform/common_dialogs.h"
#include "platform/folder_dialog.h"
#include "platform/gdi.h"
#include "platform/resource_images.h"
#include "platform/responder.h"
#include "platform/user_internal.h"

namespace pl3 {
void IgnoreX11ProtocolErrors();  // x11_errors.cpp
}

namespace pl3::backend {

namespace {

std::unordered_map<HWND, SDL_Window*>& Windows() {
  static std::unordered_map<HWND, SDL_Window*> windows;
  return windows;
}

HWND WindowOf(Uint32 sdlId) {
  SDL_Window* sw = SDL_GetWindowFromID(sdlId);
  for (auto& [h, w] : Windows())
    if (w == sw) return h;
  return nullptr;
}

// SetCursorPos queued its own WM_MOUSEMOVE: motions SDL reports at the warp's
// point for a short while after it are its echo, however many come and
// whatever comes between.
POINT g_warpTarget{};
Uint64 g_warpEchoUntil = 0;

// Moves the pointer as SDL reports it, unless it is already there or this is
// the echo of a warp.
void MovePointer(POINT p) {
  if (p.x == g_warpTarget.x && p.y == g_warpTarget.y && SDL_GetTicks64() < g_warpEchoUntil) return;
  POINT now;
  GetCursorPos(&now);
  if (p.x != now.x || p.y != now.y) InjectMouseMove(p);
}

// A window lost the keyboard focus in this batch of events.
bool g_focusLeft = false;

// The window the desktop's focus activates: an owned pop-up (a menu, a
// tooltip, a drop list) is never activated itself, its owner is.
HWND ActivationTarget(HWND h) {
  user::WindowRecord* w = user::Find(h);
  while (w && (w->style & WS_POPUP) && (w->style & WS_CAPTION) != WS_CAPTION && user::Find(w->owner))
    w = user::Find(w->owner);
  return w ? w->handle : nullptr;
}

// A pop-up that took the desktop's keyboard focus leaves none behind when it
// goes (no window manager hands it on): it goes back to the window the pop-up
// belongs to.
void ReturnFocusFrom(HWND h, SDL_Window* sw) {
  if (SDL_GetKeyboardFocus() != sw) return;
  HWND target = ActivationTarget(h);
  auto it = Windows().find(target);
  if (target != h && it != Windows().end()) SDL_SetWindowInputFocus(it->second);
}

SDL_Window* Ensure(HWND h, user::WindowRecord* w) {
  auto it = Windows().find(h);
  if (it != Windows().end()) return it->second;
  Uint32 flags = SDL_WINDOW_HIDDEN;
  bool popup = (w->style & WS_POPUP) && (w->style & WS_CAPTION) != WS_CAPTION;
  if (popup) flags |= SDL_WINDOW_BORDERLESS | SDL_WINDOW_SKIP_TASKBAR;
  if (w->exStyle & WS_EX_TOPMOST) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
  if (w->style & WS_THICKFRAME) flags |= SDL_WINDOW_RESIZABLE;
  // A captioned tool window (a floating pane) draws its own caption and frame;
  // other tool windows are pop-ups the window manager leaves alone.
  if (w->exStyle & WS_EX_TOOLWINDOW)
    flags |= SDL_WINDOW_SKIP_TASKBAR |
             ((w->style & WS_CAPTION) == WS_CAPTION ? SDL_WINDOW_BORDERLESS : SDL_WINDOW_POPUP_MENU);
  int width = std::max(1, static_cast<int>(w->rect.right - w->rect.left));
  int height = std::max(1, static_cast<int>(w->rect.bottom - w->rect.top));
  SDL_Window* sw = SDL_CreateWindow(AnsiToUtf8(w->text).c_str(), w->rect.left, w->rect.top, width, height, flags);
  if (sw) Windows()[h] = sw;
  return sw;
}

void Present(HWND h) {
  user::WindowRecord* w = user::Find(h);
  auto it = Windows().find(h);
  if (!w || it == Windows().end()) return;
  SDL_Surface* target = SDL_GetWindowSurface(it->second);
  if (!target) return;
  const PixelSurface& s = w->surface;
  int width = std::min(s.width, target->w), height = std::min(s.height, target->h);
  SDL_ConvertPixels(width, height, SDL_PIXELFORMAT_RGB888, s.pixels, s.stride * 4, target->format->format,
                    target->pixels, target->pitch);
  SDL_UpdateWindowSurface(it->second);
}

void WindowCreated(HWND) {}

void WindowDestroyed(HWND h) {
  auto it = Windows().find(h);
  if (it == Windows().end()) return;
  ReturnFocusFrom(h, it->second);
  SDL_DestroyWindow(it->second);
  Windows().erase(it);
}

void WindowChanged(HWND h) {
  user::WindowRecord* w = user::Find(h);
  if (!w) return;
  if (!(w->style & WS_VISIBLE)) {
    auto it = Windows().find(h);
    if (it == Windows().end()) return;
    ReturnFocusFrom(h, it->second);
    SDL_HideWindow(it->second);
    return;
  }
  SDL_Window* sw = Ensure(h, w);
  if (!sw) return;
  std::string title = AnsiToUtf8(w->text);
  if (title != SDL_GetWindowTitle(sw)) SDL_SetWindowTitle(sw, title.c_str());
  // The window manager decides the size of a maximised window: ours follows
  // its reports, and the state goes across, not the rectangle.
  bool hostMaximised = SDL_GetWindowFlags(sw) & SDL_WINDOW_MAXIMIZED;
  if ((w->style & WS_MAXIMIZE) && !hostMaximised) SDL_MaximizeWindow(sw);
  if (!(w->style & (WS_MAXIMIZE | WS_MINIMIZE)) && hostMaximised) SDL_RestoreWindow(sw);
  if ((w->style & WS_MAXIMIZE) && hostMaximised) {
    SDL_ShowWindow(sw);
    Present(h);
    return;
  }
  int x, y, cw, ch;
  SDL_GetWindowPosition(sw, &x, &y);
  SDL_GetWindowSize(sw, &cw, &ch);
  int width = std::max(1, static_cast<int>(w->rect.right - w->rect.left));
  int height = std::max(1, static_cast<int>(w->rect.bottom - w->rect.top));
  if (cw != width || ch != height) SDL_SetWindowSize(sw, width, height);
  if (x != w->rect.left || y != w->rect.top) SDL_SetWindowPosition(sw, w->rect.left, w->rect.top);
  if (w->style & WS_MINIMIZE) {
    SDL_MinimizeWindow(sw);
  } else {
    SDL_ShowWindow(sw);
    Present(h);
  }
}

int VirtualKeyOfKeycode(SDL_Keycode k) {
  if (k >= SDLK_a && k <= SDLK_z) return 'A' + (k - SDLK_a);
  if (k >= SDLK_0 && k <= SDLK_9) return '0' + (k - SDLK_0);
  if (k >= SDLK_F1 && k <= SDLK_F12) return VK_F1 + (k - SDLK_F1);
  if (k >= SDLK_KP_1 && k <= SDLK_KP_9) return VK_NUMPAD1 + (k - SDLK_KP_1);
  switch (k) {
    case SDLK_KP_0: return VK_NUMPAD0;
    case SDLK_RETURN: case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_UP: return VK_UP;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_HOME: return VK_HOME;
    case SDLK_END: return VK_END;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_LSHIFT: case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL: case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LALT: case SDLK_RALT: return VK_MENU;
    case SDLK_CAPSLOCK: return VK_CAPITAL;
    case SDLK_KP_MULTIPLY: return VK_MULTIPLY;
    case SDLK_KP_PLUS: return VK_ADD;
    case SDLK_KP_MINUS: return VK_SUBTRACT;
    case SDLK_KP_PERIOD: return VK_DECIMAL;
    case SDLK_KP_DIVIDE: return VK_DIVIDE;
    case SDLK_SEMICOLON: return VK_OEM_1;
    case SDLK_EQUALS: return VK_OEM_PLUS;
    case SDLK_COMMA: return VK_OEM_COMMA;
    case SDLK_MINUS: return VK_OEM_MINUS;
    case SDLK_PERIOD: return VK_OEM_PERIOD;
    case SDLK_SLASH: return VK_OEM_2;
    case SDLK_BACKQUOTE: return VK_OEM_3;
    case SDLK_LEFTBRACKET: return VK_OEM_4;
    case SDLK_BACKSLASH: return VK_OEM_5;
    case SDLK_RIGHTBRACKET: return VK_OEM_6;
    case SDLK_QUOTE: return VK_OEM_7;
    default: return 0;
  }
}

// Keys whose code on this layout is no ASCII key of a US keyboard (the digit
// row of a French one, a key that types "é"): the key at that position.
int VirtualKeyOfScancode(SDL_Scancode sc) {
  if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) return 'A' + (sc - SDL_SCANCODE_A);
  if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9) return '1' + (sc - SDL_SCANCODE_1);
  switch (sc) {
    case SDL_SCANCODE_0: return '0';
    case SDL_SCANCODE_MINUS: return VK_OEM_MINUS;
    case SDL_SCANCODE_EQUALS: return VK_OEM_PLUS;
    case SDL_SCANCODE_LEFTBRACKET: return VK_OEM_4;
    case SDL_SCANCODE_RIGHTBRACKET: return VK_OEM_6;
    case SDL_SCANCODE_BACKSLASH: case SDL_SCANCODE_NONUSBACKSLASH: return VK_OEM_5;
    case SDL_SCANCODE_SEMICOLON: return VK_OEM_1;
    case SDL_SCANCODE_APOSTROPHE: return VK_OEM_7;
    case SDL_SCANCODE_GRAVE: return VK_OEM_3;
    case SDL_SCANCODE_COMMA: return VK_OEM_COMMA;
    case SDL_SCANCODE_PERIOD: return VK_OEM_PERIOD;
    case SDL_SCANCODE_SLASH: return VK_OEM_2;
    default: return 0;
  }
}

// The keypad's digit keys with Num Lock off are its navigation keys.
int KeypadNavigationKey(SDL_Scancode sc) {
  switch (sc) {
    case SDL_SCANCODE_KP_0: return VK_INSERT;
    case SDL_SCANCODE_KP_1: return VK_END;
    case SDL_SCANCODE_KP_2: return VK_DOWN;
    case SDL_SCANCODE_KP_3: return VK_NEXT;
    case SDL_SCANCODE_KP_4: return VK_LEFT;
    case SDL_SCANCODE_KP_5: return VK_CLEAR;
    case SDL_SCANCODE_KP_6: return VK_RIGHT;
    case SDL_SCANCODE_KP_7: return VK_HOME;
    case SDL_SCANCODE_KP_8: return VK_UP;
    case SDL_SCANCODE_KP_9: return VK_PRIOR;
    case SDL_SCANCODE_KP_PERIOD: return VK_DELETE;
    default: return 0;
  }
}

bool IsKeypad(SDL_Scancode sc) { return sc >= SDL_SCANCODE_KP_DIVIDE && sc <= SDL_SCANCODE_KP_PERIOD; }

void InjectSdlKey(const SDL_KeyboardEvent& k) {
  SDL_Scancode sc = k.keysym.scancode;
  int vk = 0;
  if (!(k.keysym.mod & KMOD_NUM)) vk = KeypadNavigationKey(sc);
  if (!vk) vk = VirtualKeyOfKeycode(k.keysym.sym);
  if (!vk) vk = VirtualKeyOfScancode(sc);
  if (vk) InjectKey(vk, k.type == SDL_KEYDOWN, IsKeypad(sc));
}

// Keys reach us only while the desktop's focus is on one of our windows: an
// inactive program that gets them has been activated. SDL names no window
// when its own focus was lost with a pop-up that closed; the window under
// the pointer, else the front one, takes them then.
void ActivateForKeyboard(Uint32 windowId) {
  if (GetActiveWindow()) return;
  HWND h = WindowOf(windowId);
  if (!h)
    if (SDL_Window* under = SDL_GetMouseFocus()) h = WindowOf(SDL_GetWindowID(under));
  if (!h)
    for (HWND t : user::S().topLevels)
      if (IsWindowVisible(t)) {
        h = t;
        break;
      }
  if (HWND target = ActivationTarget(h)) InjectAppActivation(target);
}

POINT ScreenPoint(Uint32 windowId, int x, int y) {
  user::WindowRecord* w = user::Find(WindowOf(windowId));
  if (!w) return POINT{x, y};
  return POINT{w->rect.left + x, w->rect.top + y};
}

void Handle(const SDL_Event& e) {
  switch (e.type) {
    case SDL_MOUSEMOTION: {
      MovePointer(ScreenPoint(e.motion.windowID, e.motion.x, e.motion.y));
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      MouseButton b = e.button.button == SDL_BUTTON_RIGHT    ? MouseButton::Right
                      : e.button.button == SDL_BUTTON_MIDDLE ? MouseButton::Middle
                                                             : MouseButton::Left;
      POINT p = ScreenPoint(e.button.windowID, e.button.x, e.button.y);
      MovePointer(p);
      InjectMouseButton(b, e.type == SDL_MOUSEBUTTONDOWN, p);
      break;
    }
    case SDL_MOUSEWHEEL: {
      POINT p;
      GetCursorPos(&p);
      InjectMouseWheel(e.wheel.y * WHEEL_DELTA, p);
      break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      ActivateForKeyboard(e.key.windowID);
      InjectSdlKey(e.key);
      break;
    case SDL_TEXTINPUT:
      ActivateForKeyboard(e.text.windowID);
      InjectTypedText(e.text.text);
      break;
    case SDL_WINDOWEVENT: {
      HWND h = WindowOf(e.window.windowID);
      user::WindowRecord* w = user::Find(h);
      if (!w) break;
      switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE: PostMessageA(h, WM_SYSCOMMAND, SC_CLOSE, 0); break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          if (e.window.data1 != w->rect.right - w->rect.left || e.window.data2 != w->rect.bottom - w->rect.top)
            SetWindowPos(h, nullptr, 0, 0, e.window.data1, e.window.data2, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
          break;
        case SDL_WINDOWEVENT_MOVED:
          if (e.window.data1 != w->rect.left || e.window.data2 != w->rect.top)
            SetWindowPos(h, nullptr, e.window.data1, e.window.data2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
          break;
        case SDL_WINDOWEVENT_EXPOSED: Present(h); break;
        case SDL_WINDOWEVENT_MINIMIZED: InjectWindowState(h, SW_MINIMIZE, nullptr); break;
        case SDL_WINDOWEVENT_MAXIMIZED: {
          int x, y, cw, ch;
          SDL_Window* sw = SDL_GetWindowFromID(e.window.windowID);
          SDL_GetWindowPosition(sw, &x, &y);
          SDL_GetWindowSize(sw, &cw, &ch);
          RECT r{x, y, x + cw, y + ch};
          InjectWindowState(h, SW_MAXIMIZE, &r);
          break;
        }
        case SDL_WINDOWEVENT_RESTORED: InjectWindowState(h, SW_RESTORE, nullptr); break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          if (HWND target = ActivationTarget(h)) InjectAppActivation(target);
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST: g_focusLeft = true; break;
        case SDL_WINDOWEVENT_LEAVE: user::PointerLeftTopLevel(h); break;
        default: break;
      }
      break;
    }
    default: break;
  }
}

bool PollEvents(int timeoutMs) {
  SDL_Event e;
  bool any = false;
  if (timeoutMs > 0 ? SDL_WaitEventTimeout(&e, timeoutMs) : SDL_PollEvent(&e)) {
    Handle(e);
    any = true;
    while (SDL_PollEvent(&e)) Handle(e);
  }
  // The focus left one of our windows: the program is inactive unless it went
  // to another of them.
  if (g_focusLeft && !SDL_GetKeyboardFocus()) InjectAppActivation(nullptr);
  g_focusLeft = false;
  return any;
}

void CursorChanged(int shape) {
  static std::unordered_map<int, SDL_Cursor*> cursors;
  if (shape == 0) {
    SDL_ShowCursor(SDL_DISABLE);
    return;
  }
  SDL_ShowCursor(SDL_ENABLE);
  // A cursor made from a module's resource: its own pixels and hot spot.
  // Each is made once: a handle is never reused for another image.
  static std::unordered_map<int, SDL_Cursor*> made;
  pl3::IconPixels image{};
  if (pl3::GetIconPixels(reinterpret_cast<HICON>(static_cast<std::uintptr_t>(shape)), &image)) {
    SDL_Cursor*& own = made[shape];
    if (!own) {
      SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint32_t*>(image.pixels), image.width,
                                                          image.height, 32, image.width * 4, SDL_PIXELFORMAT_ARGB8888);
      if (s) {
        own = SDL_CreateColorCursor(s, image.hotSpot.x, image.hotSpot.y);
        SDL_FreeSurface(s);
      }
    }
    if (own) {
      SDL_SetCursor(own);
      return;
    }
  }
  SDL_SystemCursor id = SDL_SYSTEM_CURSOR_ARROW;
  switch (shape) {
    case IDC_IBEAM_ID: id = SDL_SYSTEM_CURSOR_IBEAM; break;
    case IDC_WAIT_ID: id = SDL_SYSTEM_CURSOR_WAIT; break;
    case IDC_CROSS_ID: id = SDL_SYSTEM_CURSOR_CROSSHAIR; break;
    case IDC_SIZENWSE_ID: id = SDL_SYSTEM_CURSOR_SIZENWSE; break;
    case IDC_SIZENESW_ID: id = SDL_SYSTEM_CURSOR_SIZENESW; break;
    case IDC_SIZEWE_ID: id = SDL_SYSTEM_CURSOR_SIZEWE; break;
    case IDC_SIZENS_ID: id = SDL_SYSTEM_CURSOR_SIZENS; break;
    case IDC_SIZEALL_ID: id = SDL_SYSTEM_CURSOR_SIZEALL; break;
    case IDC_NO_ID: id = SDL_SYSTEM_CURSOR_NO; break;
    case IDC_HAND_ID: id = SDL_SYSTEM_CURSOR_HAND; break;
    case IDC_APPSTARTING_ID: id = SDL_SYSTEM_CURSOR_WAITARROW; break;
    default: break;
  }
  SDL_Cursor*& c = cursors[id];
  if (!c) c = SDL_CreateSystemCursor(id);
  if (c) SDL_SetCursor(c);
}

void WarpCursor(POINT p) {
  g_warpTarget = p;
  g_warpEchoUntil = SDL_GetTicks64() + 250;
  SDL_WarpMouseGlobal(p.x, p.y);
}

void Beep() {}

std::uint64_t Now() { return SDL_GetTicks64(); }

// The invisible drivers show no window to anyone: there a box answers as one
// closed unanswered, and the program never waits on a question nobody sees.
int ShowBox(HWND owner, const char* text, const char* caption, UINT type) {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver && (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0))
    return pl3::UnansweredMessageBoxResult(type);
  return pl3::ShowMessageBoxDialog(owner, text, caption, type);
}

void GrabPointer(bool on) { SDL_CaptureMouse(on ? SDL_TRUE : SDL_FALSE); }

bool HasClipboardText() { return SDL_HasClipboardText() == SDL_TRUE; }

std::string ClipboardText() {
  char* text = SDL_GetClipboardText();
  std::string out = text ? text : "";
  SDL_free(text);
  return out;
}

void SetClipboardText(const char* utf8) { SDL_SetClipboardText(utf8); }

const HostServices kSdlHost{&GrabPointer, &HasClipboardText, &ClipboardText, &SetClipboardText};

const Ops kSdl{"sdl",           true,          &WindowCreated, &WindowDestroyed, &WindowChanged,
               &Present,        &PollEvents,   &CursorChanged, &WarpCursor,      &Beep,
               &Now};

}  // namespace

const Ops* StartSdlBackend() {
  // Without a display named and no driver asked for, there is nothing to show
  // a window on (and probing for one only prints the probes' complaints).
  const char* requested = SDL_getenv("SDL_VIDEODRIVER");
  const bool asked = requested && *requested;
  const char* x = SDL_getenv("DISPLAY");
  const char* wayland = SDL_getenv("WAYLAND_DISPLAY");
  if (!asked && !(x && *x) && !(wayland && *wayland)) return nullptr;
  // The program handles SIGINT and SIGTERM itself (CloseWindowOnSignals).
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // X11 first (XWayland under Wayland): pop-ups are placed at screen
  // positions, which Wayland does not let a program know or choose.
  if (!asked) SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    if (asked) return nullptr;
    SDL_SetHint(SDL_HINT_VIDEODRIVER, nullptr);  // no X server at all: whatever SDL finds
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return nullptr;
  }
  // SDL falls back on drivers that show nothing when the display cannot be
  // reached; those count only when asked for by name (tests use "dummy").
  const char* driver = SDL_GetCurrentVideoDriver();
  const bool invisible = driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
  if (invisible && !(asked && std::strstr(requested, driver))) {
    SDL_Quit();
    return nullptr;
  }
  if (driver && std::strcmp(driver, "x11") == 0) pl3::IgnoreX11ProtocolErrors();
  SDL_Rect bounds;
  if (SDL_GetDisplayBounds(0, &bounds) == 0) pl3::SetScreenSize(bounds.w, bounds.h);
  pl3::SetMessageBoxBackend(&ShowBox);
  pl3::SetFileDialogBackend(&pl3::ShowFileDialog);
  pl3::SetColourDialogBackend(&pl3::ShowColourDialog);
  pl3::SetFolderDialogBackend(&pl3::RunFolderDialog);
  SetHostServices(&kSdlHost);
  SDL_StartTextInput();
  return &kSdl;
}

}  // namespace pl3::backend
