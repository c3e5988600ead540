// Scroll bars: the bars of a window with WS_HSCROLL or WS_VSCROLL (drawn in
// its non-client area, beside and below the client area) and the SCROLLBAR
// control (SB_CTL).
//
// A window's bar shows while its range is more than its page holds and hides
// otherwise (the style bit follows, the client area grows and WM_SIZE is
// sent); SIF_DISABLENOSCROLL disables it instead. Pressing an arrow or the
// trough sends WM_VSCROLL or WM_HSCROLL (SB_LINE..., SB_PAGE...) at once and
// again while the button is held (first after kScrollFirstRepeatMs, then
// every kScrollRepeatMs); dragging the thumb sends SB_THUMBTRACK for each new
// position and SB_THUMBPOSITION at the release; every press ends with
// SB_ENDSCROLL. The window keeps its own position: the bar moves only when
// the program sets it. A SCROLLBAR control sends the same to its parent with
// its own handle as lParam.
#pragma once
#include "platform/user.h"

constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;
constexpr int SB_CTL = 2;
constexpr int SB_BOTH = 3;

constexpr WORD SB_LINEUP = 0;
constexpr WORD SB_LINELEFT = 0;
constexpr WORD SB_LINEDOWN = 1;
constexpr WORD SB_LINERIGHT = 1;
constexpr WORD SB_PAGEUP = 2;
constexpr WORD SB_PAGELEFT = 2;
constexpr WORD SB_PAGEDOWN = 3;
constexpr WORD SB_PAGERIGHT = 3;
constexpr WORD SB_THUMBPOSITION = 4;
constexpr WORD SB_THUMBTRACK = 5;
constexpr WORD SB_TOP = 6;
constexpr WORD SB_LEFT = 6;
constexpr WORD SB_BOTTOM = 7;
constexpr WORD SB_RIGHT = 7;
constexpr WORD SB_ENDSCROLL = 8;

constexpr UINT SIF_RANGE = 0x0001;
constexpr UINT SIF_PAGE = 0x0002;
constexpr UINT SIF_POS = 0x0004;
constexpr UINT SIF_DISABLENOSCROLL = 0x0008;
constexpr UINT SIF_TRACKPOS = 0x0010;
constexpr UINT SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

constexpr UINT ESB_ENABLE_BOTH = 0x0000;
constexpr UINT ESB_DISABLE_LTUP = 0x0001;
constexpr UINT ESB_DISABLE_RTDN = 0x0002;
constexpr UINT ESB_DISABLE_BOTH = 0x0003;

constexpr DWORD SBS_HORZ = 0x0000;
constexpr DWORD SBS_VERT = 0x0001;

constexpr LRESULT HTSCROLLNONE = 0;
constexpr WPARAM SC_VSCROLL = 0xF070;
constexpr WPARAM SC_HSCROLL = 0xF080;

constexpr UINT kScrollFirstRepeatMs = 400;
constexpr UINT kScrollRepeatMs = 50;

struct SCROLLINFO {
  UINT cbSize;
  UINT fMask;
  int nMin;
  int nMax;
  UINT nPage;
  int nPos;
  int nTrackPos;
};
static_assert(sizeof(SCROLLINFO) == 28, "the scroll information record is seven 32-bit fields");
using LPSCROLLINFO = SCROLLINFO*;
using LPCSCROLLINFO = const SCROLLINFO*;

// The position is kept within [nMin, nMax - max(nPage - 1, 0)]; the page
// within the range. Returns the new position (0 for a bad window or bar).
int SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw);
// SIF_TRACKPOS gives the thumb's position while it is dragged.
BOOL GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info);
int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw);  // the old position
int GetScrollPos(HWND hwnd, int bar);
BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw);
BOOL GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos);
BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show);
BOOL EnableScrollBar(HWND hwnd, int bar, UINT arrows);

namespace pl3 {

// The position a WM_VSCROLL or WM_HSCROLL code asks for, moved from `pos` by
// `line` or `page` (SB_BOTTOM: a very large number the caller clamps; the
// thumb codes: the bar's track position). False, `pos` unchanged, for codes
// that move nothing.
bool ScrollCodePosition(HWND hwnd, int bar, WORD code, int line, int page, int& pos);

}  // namespace pl3
