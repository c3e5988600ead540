// The menu records shared by the menu calls (user_menus.cpp), the menu loop
// and its drawing (menu_loop.cpp). Nothing outside platform/ includes this.
#pragma once
#include <string>
#include <vector>

#include "platform/menus.h"
#include "platform/user_internal.h"

namespace pl3::user {

struct MenuItem {
  UINT type = MFT_STRING;  // MFT_ flags
  UINT state = 0;          // MFS_ flags
  UINT id = 0;
  HMENU popup = nullptr;
  std::string text;  // "&" marks the mnemonic, "\t" starts the key text
  ULONG_PTR data = 0;
  HBITMAP bitmap = nullptr;
  // Layout, in the pop-up's client or the bar's window coordinates.
  RECT rect{};
};

struct MenuRecord {
  HMENU handle = nullptr;
  bool popup = false;
  bool system = false;  // a window's system menu
  HWND window = nullptr;  // whose system menu it is: its commands go there
  std::vector<MenuItem> items;
  // The bar layout last made: for this width, with the items as they were.
  int laidWidth = -1;
  int laidHeight = 0;
  bool changed = true;  // items were added, removed or changed since
};

MenuRecord* FindMenu(HMENU menu);  // null, with ERROR_INVALID_MENU_HANDLE, for a bad handle

// The bar of a top-level window: its height for `width` pixels (items wrap
// into rows), drawing into the window's non-client area, and the item under
// a screen point (-1 for none).
int MenuBarHeight(HMENU menu, int width);
int MenuBarHeightOf(WindowRecord* w);
void PaintMenuBar(HWND hwnd);
int MenuBarItemAt(HWND hwnd, POINT screen);
RECT MenuBarScreenRect(HWND hwnd);

// Opens the bar of the top-level window holding `hwnd`: with the mouse at a
// bar item, or from the keyboard (F10 or Alt with `key` 0, Alt+letter with
// the letter).
void TrackMenuBarMouse(HWND hwnd, int item);
void TrackMenuBarKey(HWND hwnd, int key);
// The screen rectangle of an item of a pop-up shown by the loop now.
bool ShownPopupItemRect(HMENU menu, UINT position, RECT* out);

// Called as a window goes: its bar and system menu go with it.
void MenusWindowForgotten(WindowRecord* w);
void RegisterMenuClass();

// Keyboard handling of DefWindowProc that opens the bar (F10, Alt, Alt+letter).
bool DefaultMenuKey(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace pl3::user
