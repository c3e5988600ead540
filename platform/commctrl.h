// The common controls: shared records and notifications, and each control's
// class name, messages and records in a section of its own below.
//
// InitCommonControlsEx registers every class of this file; the window layer
// also registers them with the system classes, so a control can be created
// without it, as the Parts' dialogs do.
#pragma once
#include "platform/user.h"

// ---- Shared -----------------------------------------------------------------

struct NMHDR {
  HWND hwndFrom;
  UINT_PTR idFrom;
  UINT code;
};
using LPNMHDR = NMHDR*;

struct INITCOMMONCONTROLSEX {
  DWORD dwSize;
  DWORD dwICC;
};

constexpr DWORD ICC_LISTVIEW_CLASSES = 0x0001;
constexpr DWORD ICC_TREEVIEW_CLASSES = 0x0002;
constexpr DWORD ICC_BAR_CLASSES = 0x0004;
constexpr DWORD ICC_TAB_CLASSES = 0x0008;
constexpr DWORD ICC_PROGRESS_CLASS = 0x0020;
constexpr DWORD ICC_WIN95_CLASSES = 0x00FF;
constexpr DWORD ICC_STANDARD_CLASSES = 0x4000;

// FALSE for a null record or a wrong dwSize.
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);
void InitCommonControls();

// Notifications every control may send (WM_NOTIFY codes count down from 0).
constexpr UINT NM_FIRST = 0u;
constexpr UINT NM_OUTOFMEMORY = NM_FIRST - 1;
constexpr UINT NM_CLICK = NM_FIRST - 2;
constexpr UINT NM_DBLCLK = NM_FIRST - 3;
constexpr UINT NM_RETURN = NM_FIRST - 4;
constexpr UINT NM_RCLICK = NM_FIRST - 5;
constexpr UINT NM_RDBLCLK = NM_FIRST - 6;
constexpr UINT NM_SETFOCUS = NM_FIRST - 7;
constexpr UINT NM_KILLFOCUS = NM_FIRST - 8;
constexpr UINT NM_CUSTOMDRAW = NM_FIRST - 12;
constexpr UINT NM_HOVER = NM_FIRST - 13;

// Sends WM_NOTIFY with hdr to the parent of hdr->hwndFrom (filling hwndFrom's
// id and the code first) and returns its answer.
LRESULT SendNotify(HWND from, UINT code, NMHDR* hdr);
