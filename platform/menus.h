// Menus: menu handles and their items, the menu bar of a top-level window,
// pop-up menus, and the one modal menu loop that serves both; also the
// system parameters that name the menu font.
//
// Handles are checked: a call given a handle that is not a live menu fails
// with ERROR_INVALID_MENU_HANDLE. Items are found by command id (searching
// the pop-ups below too) or, with MF_BYPOSITION, by position.
//
// The loop (a click or F10/Alt on the bar, or TrackPopupMenu) sends the
// owner WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP for each pop-up as it
// opens, WM_MEASUREITEM and WM_DRAWITEM for owner-drawn items, WM_MENUSELECT
// as the selection moves, WM_EXITMENULOOP, and then posts WM_COMMAND with the
// chosen id (WM_SYSCOMMAND for a system menu item) unless TPM_RETURNCMD asks
// for it as the result. The click that closes a menu from outside stays in
// the queue for whoever is under it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>

#include "platform/gdi.h"
#include "platform/win_types.h"

using ULONG_PTR = std::uintptr_t;

// ---- Item flags -------------------------------------------------------------------------
constexpr UINT MF_INSERT = 0x0000;
constexpr UINT MF_CHANGE = 0x0080;
constexpr UINT MF_APPEND = 0x0100;
constexpr UINT MF_DELETE = 0x0200;
constexpr UINT MF_REMOVE = 0x1000;
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_SEPARATOR = 0x0800;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_USECHECKBITMAPS = 0x0200;
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_BITMAP = 0x0004;
constexpr UINT MF_OWNERDRAW = 0x0100;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_MENUBARBREAK = 0x0020;
constexpr UINT MF_MENUBREAK = 0x0040;
constexpr UINT MF_UNHILITE = 0x0000;
constexpr UINT MF_HILITE = 0x0080;
constexpr UINT MF_DEFAULT = 0x1000;
constexpr UINT MF_SYSMENU = 0x2000;
constexpr UINT MF_HELP = 0x4000;
constexpr UINT MF_RIGHTJUSTIFY = 0x4000;
constexpr UINT MF_MOUSESELECT = 0x8000;
constexpr UINT MF_END = 0x0080;  // menu templates: the last item of a level

constexpr UINT MFT_STRING = MF_STRING;
constexpr UINT MFT_BITMAP = MF_BITMAP;
constexpr UINT MFT_MENUBARBREAK = MF_MENUBARBREAK;
constexpr UINT MFT_MENUBREAK = MF_MENUBREAK;
constexpr UINT MFT_OWNERDRAW = MF_OWNERDRAW;
constexpr UINT MFT_RADIOCHECK = 0x0200;
constexpr UINT MFT_SEPARATOR = MF_SEPARATOR;
constexpr UINT MFT_RIGHTORDER = 0x2000;
constexpr UINT MFT_RIGHTJUSTIFY = MF_RIGHTJUSTIFY;

constexpr UINT MFS_GRAYED = 0x0003;
constexpr UINT MFS_DISABLED = MFS_GRAYED;
constexpr UINT MFS_CHECKED = MF_CHECKED;
constexpr UINT MFS_HILITE = MF_HILITE;
constexpr UINT MFS_ENABLED = MF_ENABLED;
constexpr UINT MFS_UNCHECKED = MF_UNCHECKED;
constexpr UINT MFS_UNHILITE = MF_UNHILITE;
constexpr UINT MFS_DEFAULT = MF_DEFAULT;

constexpr UINT MIIM_STATE = 0x0001;
constexpr UINT MIIM_ID = 0x0002;
constexpr UINT MIIM_SUBMENU = 0x0004;
constexpr UINT MIIM_CHECKMARKS = 0x0008;
constexpr UINT MIIM_TYPE = 0x0010;
constexpr UINT MIIM_DATA = 0x0020;
constexpr UINT MIIM_STRING = 0x0040;
constexpr UINT MIIM_BITMAP = 0x0080;
constexpr UINT MIIM_FTYPE = 0x0100;

constexpr UINT TPM_LEFTBUTTON = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_CENTERALIGN = 0x0004;
constexpr UINT TPM_RIGHTALIGN = 0x0008;
constexpr UINT TPM_TOPALIGN = 0x0000;
constexpr UINT TPM_VCENTERALIGN = 0x0010;
constexpr UINT TPM_BOTTOMALIGN = 0x0020;
constexpr UINT TPM_HORIZONTAL = 0x0000;
constexpr UINT TPM_VERTICAL = 0x0040;
constexpr UINT TPM_NONOTIFY = 0x0080;
constexpr UINT TPM_RETURNCMD = 0x0100;

constexpr LRESULT HTMENU = 5;
constexpr WPARAM SC_MOUSEMENU = 0xF090;

constexpr DWORD ERROR_INVALID_MENU_HANDLE = 1401;
constexpr DWORD ERROR_POPUP_ALREADY_ACTIVE = 1446;
constexpr DWORD ERROR_MENU_ITEM_NOT_FOUND = 1456;

constexpr UINT SPI_GETNONCLIENTMETRICS = 0x0029;
constexpr UINT SPI_GETFLATMENU = 0x1022;
constexpr UINT SPI_SETFLATMENU = 0x1023;  // pvParam non-null: flat

struct MENUITEMINFOA {
  UINT cbSize;
  UINT fMask;
  UINT fType;
  UINT fState;
  UINT wID;
  HMENU hSubMenu;
  HBITMAP hbmpChecked;
  HBITMAP hbmpUnchecked;
  ULONG_PTR dwItemData;
  LPSTR dwTypeData;
  UINT cch;
  HBITMAP hbmpItem;
};
using MENUITEMINFO = MENUITEMINFOA;

struct TPMPARAMS {
  UINT cbSize;
  RECT rcExclude;
};

// The standard binary menu template: a header of two words (version 0,
// header size 0), then items, each a flags word, an id word unless it is
// MF_POPUP, and NUL-terminated UTF-16 text; an MF_POPUP item's own items
// follow it, and MF_END marks the last item of each level.
struct MENUITEMTEMPLATEHEADER {
  WORD versionNumber;
  WORD offset;
};
static_assert(sizeof(MENUITEMTEMPLATEHEADER) == 4, "the template header is two words");

// ---- Menus and items ----------------------------------------------------------------------
HMENU CreateMenu();
HMENU CreatePopupMenu();
// Destroys the menu and every pop-up under it.
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);
// `idOrPopup` is the command id, or the pop-up's HMENU with MF_POPUP.
BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR idOrPopup, LPCSTR text);
BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idOrPopup, LPCSTR text);
BOOL ModifyMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idOrPopup, LPCSTR text);
// DeleteMenu destroys the item's pop-up; RemoveMenu leaves it to the caller.
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
BOOL InsertMenuItemA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info);
BOOL GetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFOA* info);
BOOL SetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info);
int GetMenuItemCount(HMENU menu);  // -1 for a bad handle
// 0xFFFFFFFF for a pop-up item or a bad position.
UINT GetMenuItemID(HMENU menu, int position);
// The item's MF_ flags; a pop-up's item count in the high byte of the low
// word; 0xFFFFFFFF when there is no such item.
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
int GetMenuStringA(HMENU menu, UINT item, LPSTR buffer, int size, UINT flags);
HMENU GetSubMenu(HMENU menu, int position);
// Both return the previous state (MF_CHECKED, or MF_GRAYED | MF_DISABLED),
// or (DWORD)-1 when there is no such item.
DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags);
BOOL EnableMenuItem(HMENU menu, UINT item, UINT flags);
// Builds a menu from a template in memory; null when it is malformed.
HMENU LoadMenuIndirectA(const void* menuTemplate);
// The module's RT_MENU resource of that name or number (null module: the
// program); null with the resource error when it is missing.
HMENU LoadMenuA(HINSTANCE instance, LPCSTR name);

#define AppendMenu AppendMenuA
#define InsertMenu InsertMenuA
#define ModifyMenu ModifyMenuA
#define InsertMenuItem InsertMenuItemA
#define GetMenuItemInfo GetMenuItemInfoA
#define SetMenuItemInfo SetMenuItemInfoA
#define GetMenuString GetMenuStringA
#define LoadMenuIndirect LoadMenuIndirectA
#define LoadMenu LoadMenuA

// ---- Menu bars -----------------------------------------------------------------------------
HMENU GetMenu(HWND hwnd);
// Sets a top-level window's bar (null removes it); the client area shrinks
// to make room. The previous bar is not destroyed.
BOOL SetMenu(HWND hwnd, HMENU menu);
BOOL DrawMenuBar(HWND hwnd);
// The window's own copy of the system menu (Restore, Move, Size, Minimize,
// Maximize, Close); `revert` drops the copy and returns null.
HMENU GetSystemMenu(HWND hwnd, BOOL revert);
// Screen rectangle of an item of the window's bar, or of a pop-up shown now.
BOOL GetMenuItemRect(HWND hwnd, HMENU menu, UINT position, RECT* out);

// ---- Pop-up menus -----------------------------------------------------------------------------
// TRUE when the menu was shown, chosen from or dismissed (with TPM_RETURNCMD:
// the chosen id, 0 when dismissed); FALSE on failure.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* ignored);
// The pop-up avoids `params->rcExclude` when it is given.
BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params);
// Closes the menu loop that is running, if any.
BOOL EndMenu();

// ---- System parameters ----------------------------------------------------------------------
struct NONCLIENTMETRICSA {
  UINT cbSize;
  int iBorderWidth;
  int iScrollWidth;
  int iScrollHeight;
  int iCaptionWidth;
  int iCaptionHeight;
  LOGFONTA lfCaptionFont;
  int iSmCaptionWidth;
  int iSmCaptionHeight;
  LOGFONTA lfSmCaptionFont;
  int iMenuWidth;
  int iMenuHeight;
  LOGFONTA lfMenuFont;
  LOGFONTA lfStatusFont;
  LOGFONTA lfMessageFont;
};
using NONCLIENTMETRICS = NONCLIENTMETRICSA;
// SPI_GETNONCLIENTMETRICS (fonts and sizes of captions and menus),
// SPI_GETFLATMENU (a BOOL: menus are drawn flat; FALSE until set) and
// SPI_SETFLATMENU (flat while pvParam is non-null; reset before each test).
BOOL SystemParametersInfoA(UINT action, UINT param, void* out, UINT winIni);
#define SystemParametersInfo SystemParametersInfoA

namespace pl3 {

// LoadMenuIndirect over a template of known length (a resource's bytes): a
// template that runs past `size` is malformed (null, ERROR_INVALID_DATA).
HMENU LoadMenuTemplate(const void* data, std::size_t size);

// Headless only: a test's stand-in for the user of a menu. When a menu loop
// first runs out of messages the hook is called with the menu being tracked
// (the bar or the pop-up) and the owner window; it acts as a user would,
// with pl3::InjectKeyStroke or clicks at GetMenuItemRect. A menu still open
// once those are handled, or one opened with no hook set, is dismissed.
using MenuHook = std::function<void(HMENU menu, HWND owner)>;
void SetMenuHook(MenuHook hook);
void ClearMenuHook();

}  // namespace pl3
