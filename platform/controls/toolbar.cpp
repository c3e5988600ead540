// The toolbar ("ToolbarWindow32"): buttons and separators in rows, check and
// drop-down buttons, the hot button of flat bars, custom draw through the
// parent, and clicks sent as WM_COMMAND.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/controls/bar_common.h"
#include "platform/controls/common_control_draw.h"
#include "platform/controls/control_common.h"

namespace pl3::controls {

namespace {

constexpr int kSeparatorWidth = 8;
constexpr int kArrowWidth = 14;  // the arrow part of a TBSTYLE_EX_DRAWDDARROWS drop-down
constexpr int kDivider = 2;      // the etched line above the buttons unless CCS_NODIVIDER

struct Button {
  int image = -1;
  int id = 0;
  BYTE state = 0;
  BYTE style = 0;
  DWORD_PTR data = 0;
  std::string text;
  int width = 0;  // TBIF_SIZE: 0 for the bar's size
};

struct ToolbarState : user::WindowState {
  std::vector<Button> buttons;
  UINT structSize = 0;  // TB_BUTTONSTRUCTSIZE; ADDBUTTONS fails until it is right
  SIZE bitmap{16, 15};
  HIMAGELIST images = nullptr;  // TB_SETIMAGELIST: the buttons' pictures
  SIZE button{0, 0};  // TB_SETBUTTONSIZE, else from the bitmap and text
  DWORD exStyle = 0;
  int hot = -1;
  int pressed = -1;     // the index held down with the mouse
  bool pressedIn = false;
  bool tracking = false;  // TME_LEAVE asked for
  HFONT font = nullptr;
  HWND tooltip = nullptr;
  bool ownsTooltip = false;
  int tipButton = -1;  // the button whose tip the tooltip holds
};

ToolbarState* StateOf(HWND hwnd) { return ControlState<ToolbarState>(hwnd); }
DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE)); }

bool HasArrowPart(const ToolbarState& st, const Button& b) {
  return (b.style & BTNS_DROPDOWN) && (st.exStyle & TBSTYLE_EX_DRAWDDARROWS);
}

int TopOf(HWND hwnd) { return (StyleOf(hwnd) & CCS_NODIVIDER) ? 0 : kDivider; }

SIZE ButtonSize(HWND hwnd, const ToolbarState& st) {
  if (st.button.cx > 0 && st.button.cy > 0) return st.button;
  SIZE size{st.bitmap.cx + 7, st.bitmap.cy + 7};
  bool anyText = false;
  for (const Button& b : st.buttons) anyText = anyText || !b.text.empty();
  if (anyText) {
    HDC dc = GetDC(hwnd);
    SelectObject(dc, ControlFont(hwnd));
    for (const Button& b : st.buttons) {
      SIZE t{0, 0};
      GetTextExtentPoint32A(dc, b.text.c_str(), static_cast<int>(b.text.size()), &t);
      size.cx = std::max<LONG>(size.cx, t.cx + 8);
    }
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    ReleaseDC(hwnd, dc);
    size.cy += tm.tmHeight + 2;
  }
  return size;
}

// Each button's rectangle (empty for hidden ones), in rows that wrap at the
// bar's width with TBSTYLE_WRAPABLE and after TBSTATE_WRAP buttons.
std::vector<RECT> Layout(HWND hwnd, const ToolbarState& st) {
  RECT client;
  GetClientRect(hwnd, &client);
  const SIZE size = ButtonSize(hwnd, st);
  const bool wrapable = StyleOf(hwnd) & TBSTYLE_WRAPABLE;
  std::vector<RECT> out;
  int x = 0, y = TopOf(hwnd);
  for (const Button& b : st.buttons) {
    if (b.state & TBSTATE_HIDDEN) {
      out.push_back(RECT{x, y, x, y});
      continue;
    }
    int width = (b.style & BTNS_SEP) ? (b.image > 0 ? b.image : kSeparatorWidth) : (b.width ? b.width : size.cx);
    if (HasArrowPart(st, b)) width += kArrowWidth;
    if (wrapable && x > 0 && x + width > client.right) x = 0, y += size.cy;
    out.push_back(RECT{x, y, x + width, y + size.cy});
    x += width;
    if (b.state & TBSTATE_WRAP) x = 0, y += size.cy;
  }
  return out;
}

int BarHeight(HWND hwnd, const ToolbarState& st) {
  int bottom = TopOf(hwnd) + ButtonSize(hwnd, st).cy;
  for (const RECT& r : Layout(hwnd, st)) bottom = std::max<int>(bottom, r.bottom);
  return bottom + 2;
}

void AutoSize(HWND hwnd) {
  ToolbarState* st = StateOf(hwnd);
  if (st) AlignBarToParent(hwnd, BarHeight(hwnd, *st), (StyleOf(hwnd) & CCS_BOTTOM) == CCS_BOTTOM);
  InvalidateRect(hwnd, nullptr, TRUE);
}

int IndexOfId(const ToolbarState& st, int id) {
  for (size_t i = 0; i < st.buttons.size(); ++i) {
    if (st.buttons[i].id == id && !(st.buttons[i].style & BTNS_SEP)) return static_cast<int>(i);
  }
  return -1;
}

int HitTest(HWND hwnd, const ToolbarState& st, POINT pt) {
  const std::vector<RECT> rects = Layout(hwnd, st);
  for (size_t i = 0; i < rects.size(); ++i) {
    if (!(st.buttons[i].style & BTNS_SEP) && PtInRect(&rects[i], pt)) return static_cast<int>(i);
  }
  return -1;
}

UINT ItemState(const ToolbarState& st, int index) {
  const Button& b = st.buttons[index];
  UINT s = 0;
  if (b.state & TBSTATE_CHECKED) s |= CDIS_CHECKED;
  if (!(b.state & TBSTATE_ENABLED)) s |= CDIS_DISABLED;
  if ((b.state & TBSTATE_PRESSED) || (index == st.pressed && st.pressedIn)) s |= CDIS_SELECTED;
  if (b.state & TBSTATE_INDETERMINATE) s |= CDIS_INDETERMINATE;
  if (index == st.hot) s |= CDIS_HOT;
  return s;
}

void DrawArrow(HDC dc, const RECT& part, bool disabled) {
  const int cx = (part.left + part.right) / 2, cy = (part.top + part.bottom) / 2 - 1;
  for (int row = 0; row < 3; ++row)
    FillSys(dc, RECT{cx - 2 + row, cy + row, cx + 3 - row, cy + row + 1}, disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
}

void DrawButton(HWND hwnd, HDC dc, const ToolbarState& st, const Button& b, RECT rc, UINT state) {
  const bool flat = StyleOf(hwnd) & TBSTYLE_FLAT;
  const bool down = state & (CDIS_SELECTED | CDIS_CHECKED);
  if (state & CDIS_CHECKED && !(state & CDIS_SELECTED)) FillSys(dc, RECT{rc.left + 1, rc.top + 1, rc.right - 1, rc.bottom - 1}, COLOR_3DLIGHT);
  RECT face = rc;
  RECT arrow{rc.right, rc.top, rc.right, rc.bottom};
  if (HasArrowPart(st, b)) arrow.left = face.right = rc.right - kArrowWidth;
  if (down) {
    DrawThinBorder(dc, face, true);
  } else if (!flat) {
    DrawRaisedButton(dc, face);
  } else if (state & CDIS_HOT) {
    DrawThinBorder(dc, face, false);
  }
  if (arrow.right > arrow.left) {
    if (!flat || (state & CDIS_HOT) || down) DrawThinBorder(dc, arrow, false);
    DrawArrow(dc, arrow, state & CDIS_DISABLED);
  }
  if (st.images && b.image >= 0) {
    // Centred across the face, in the bitmap's room at its top; disabled buttons greyed.
    int x = face.left + (face.right - face.left - ImageListSize(st.images, false)) / 2;
    int y = face.top + 3 + (st.bitmap.cy - ImageListSize(st.images, true)) / 2;
    if (down) ++x, ++y;
    if (state & CDIS_DISABLED)
      DrawImageDisabled(dc, st.images, b.image, x, y);
    else
      ImageList_Draw(st.images, b.image, dc, x, y, ILD_TRANSPARENT);
  }
  if (!b.text.empty()) {
    RECT text = face;
    if (down) OffsetRect(&text, 1, 1);
    text.top = text.bottom - (text.bottom - text.top) / 2;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor((state & CDIS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    DrawTextA(dc, b.text.c_str(), static_cast<int>(b.text.size()), &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
}

LRESULT CustomDraw(HWND hwnd, HDC dc, DWORD stage, const RECT& rc, DWORD_PTR item, UINT state, LPARAM param) {
  NMTBCUSTOMDRAW cd{};
  cd.nmcd.dwDrawStage = stage;
  cd.nmcd.hdc = dc;
  cd.nmcd.rc = rc;
  cd.nmcd.dwItemSpec = item;
  cd.nmcd.uItemState = state;
  cd.nmcd.lItemlParam = param;
  cd.clrText = GetSysColor(COLOR_BTNTEXT);
  cd.clrBtnFace = GetSysColor(COLOR_3DFACE);
  cd.clrBtnHighlight = GetSysColor(COLOR_3DHIGHLIGHT);
  cd.nStringBkMode = TRANSPARENT;
  return SendNotify(hwnd, NM_CUSTOMDRAW, &cd.nmcd.hdr);
}

void Paint(HWND hwnd, HDC dc) {
  ToolbarState* st = StateOf(hwnd);
  if (!st) return;
  RECT client;
  GetClientRect(hwnd, &client);
  SelectObject(dc, ControlFont(hwnd));
  if (!(StyleOf(hwnd) & TBSTYLE_TRANSPARENT)) FillSys(dc, client, COLOR_3DFACE);
  if (!(StyleOf(hwnd) & CCS_NODIVIDER)) {
    FillSys(dc, RECT{0, 0, client.right, 1}, COLOR_3DSHADOW);
    FillSys(dc, RECT{0, 1, client.right, 2}, COLOR_3DHIGHLIGHT);
  }
  const LRESULT pre = CustomDraw(hwnd, dc, CDDS_PREPAINT, client, 0, 0, 0);
  if (pre & CDRF_SKIPDEFAULT) return;
  // The parent may have destroyed or emptied the bar while it was asked.
  if (!(st = StateOf(hwnd))) return;
  const std::vector<RECT> rects = Layout(hwnd, *st);
  for (size_t i = 0; i < rects.size() && i < st->buttons.size(); ++i) {
    const Button b = st->buttons[i];
    if (b.state & TBSTATE_HIDDEN) continue;
    if (b.style & BTNS_SEP) {
      const int mid = (rects[i].left + rects[i].right) / 2;
      FillSys(dc, RECT{mid - 1, rects[i].top + 2, mid, rects[i].bottom - 2}, COLOR_3DSHADOW);
      FillSys(dc, RECT{mid, rects[i].top + 2, mid + 1, rects[i].bottom - 2}, COLOR_3DHIGHLIGHT);
      continue;
    }
    const UINT state = ItemState(*st, static_cast<int>(i));
    LRESULT item = CDRF_DODEFAULT;
    if (pre & CDRF_NOTIFYITEMDRAW) {
      item = CustomDraw(hwnd, dc, CDDS_ITEMPREPAINT, rects[i], static_cast<DWORD_PTR>(b.id), state,
                        static_cast<LPARAM>(b.data));
      if (!(st = StateOf(hwnd))) return;
    }
    if (!(item & CDRF_SKIPDEFAULT)) DrawButton(hwnd, dc, *st, b, rects[i], state);
    if (item & CDRF_NOTIFYPOSTPAINT)
      CustomDraw(hwnd, dc, CDDS_ITEMPOSTPAINT, rects[i], static_cast<DWORD_PTR>(b.id), state, static_cast<LPARAM>(b.data));
    if (!(st = StateOf(hwnd))) return;
  }
  if (pre & CDRF_NOTIFYPOSTPAINT) CustomDraw(hwnd, dc, CDDS_POSTPAINT, client, 0, 0, 0);
}

bool AddButtons(HWND hwnd, ToolbarState& st, WPARAM count, LPARAM lParam) {
  if (st.structSize != sizeof(TBBUTTON) || (count && !lParam)) return false;
  const auto* in = reinterpret_cast<const TBBUTTON*>(lParam);
  for (WPARAM i = 0; i < count; ++i) {
    Button b;
    b.image = in[i].iBitmap;
    b.id = in[i].idCommand;
    b.state = in[i].fsState;
    b.style = in[i].fsStyle;
    b.data = in[i].dwData;
    // iString is an index into a string pool when small; the pool is not kept.
    if (in[i].iString > 0xFFFF) b.text = reinterpret_cast<const char*>(in[i].iString);
    st.buttons.push_back(b);
  }
  AutoSize(hwnd);
  return true;
}

void Click(HWND hwnd, ToolbarState& st, int index) {
  Button& b = st.buttons[index];
  if (b.style & BTNS_CHECK) {
    const bool group = (b.style & BTNS_CHECKGROUP) == BTNS_CHECKGROUP;
    if (group) {
      // The run of group buttons around this one keeps just this one checked.
      int first = index, last = index;
      while (first > 0 && (st.buttons[first - 1].style & BTNS_CHECKGROUP) == BTNS_CHECKGROUP) --first;
      while (last + 1 < static_cast<int>(st.buttons.size()) &&
             (st.buttons[last + 1].style & BTNS_CHECKGROUP) == BTNS_CHECKGROUP)
        ++last;
      for (int i = first; i <= last; ++i) st.buttons[i].state &= static_cast<BYTE>(~TBSTATE_CHECKED);
      b.state |= TBSTATE_CHECKED;
    } else {
      b.state ^= TBSTATE_CHECKED;
    }
  }
  const int id = b.id;
  InvalidateRect(hwnd, nullptr, TRUE);
  SendMessageA(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
               reinterpret_cast<LPARAM>(hwnd));
}

void SendDropDown(HWND hwnd, const Button& b, const RECT& rc) {
  NMTOOLBARA nm{};
  nm.iItem = b.id;
  nm.tbButton.idCommand = b.id;
  nm.tbButton.iBitmap = b.image;
  nm.tbButton.fsState = b.state;
  nm.tbButton.fsStyle = b.style;
  nm.tbButton.dwData = b.data;
  nm.rcButton = rc;
  SendNotify(hwnd, TBN_DROPDOWN, &nm.hdr);
}

void OnButtonDown(HWND hwnd, ToolbarState& st, POINT pt) {
  const int index = HitTest(hwnd, st, pt);
  if (index < 0 || !(st.buttons[index].state & TBSTATE_ENABLED)) return;
  const Button& b = st.buttons[index];
  const RECT rc = Layout(hwnd, st)[index];
  const bool onArrow = (b.style & BTNS_DROPDOWN) && (!HasArrowPart(st, b) || pt.x >= rc.right - kArrowWidth);
  if (onArrow) {
    st.pressed = index, st.pressedIn = true;
    InvalidateRect(hwnd, &rc, TRUE);
    SendDropDown(hwnd, b, rc);
    if (ToolbarState* now = StateOf(hwnd)) {
      now->pressed = -1, now->pressedIn = false;
      InvalidateRect(hwnd, nullptr, TRUE);
    }
    return;
  }
  st.pressed = index, st.pressedIn = true;
  SetCapture(hwnd);
  InvalidateRect(hwnd, &rc, TRUE);
}

void SetHot(HWND hwnd, ToolbarState& st, int index) {
  if (index == st.hot) return;
  st.hot = index;
  InvalidateRect(hwnd, nullptr, TRUE);
}

// The bar is one tool of its tooltip; its text is the hovered button's tip.
TOOLINFOA BarTool(HWND hwnd) {
  TOOLINFOA ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_IDISHWND;
  ti.hwnd = hwnd;
  ti.uId = reinterpret_cast<UINT_PTR>(hwnd);
  return ti;
}

void AttachTooltip(HWND hwnd, ToolbarState& st, HWND tooltip, bool owned) {
  if (st.tooltip && st.ownsTooltip && st.tooltip != tooltip) DestroyWindow(st.tooltip);
  st.tooltip = tooltip;
  st.ownsTooltip = owned;
  st.tipButton = -1;
  if (!tooltip) return;
  TOOLINFOA ti = BarTool(hwnd);
  ti.lpszText = const_cast<char*>("");
  SendMessageA(tooltip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti));
}

// Asks the parent for the tip of the button the pointer is on when that
// button changes, taking down the tip of the last one.
void UpdateTip(HWND hwnd, ToolbarState& st, int index) {
  if (!st.tooltip || index == st.tipButton) return;
  st.tipButton = index;
  SendMessageA(st.tooltip, TTM_POP, 0, 0);
  std::string tip(INFOTIPSIZE, '\0');
  if (index >= 0) {
    NMTBGETINFOTIPA info{};
    info.pszText = tip.data();
    info.cchTextMax = INFOTIPSIZE;
    info.iItem = st.buttons[index].id;
    info.lParam = static_cast<LPARAM>(st.buttons[index].data);
    SendNotify(hwnd, TBN_GETINFOTIP, &info.hdr);
    tip[INFOTIPSIZE - 1] = '\0';
  }
  ToolbarState* now = StateOf(hwnd);
  if (!now || !now->tooltip) return;
  TOOLINFOA ti = BarTool(hwnd);
  ti.lpszText = tip.data();
  SendMessageA(now->tooltip, TTM_UPDATETIPTEXT, 0, reinterpret_cast<LPARAM>(&ti));
}

void RelayToTooltip(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  ToolbarState* st = StateOf(hwnd);
  if (!st || !st->tooltip) return;
  MSG msg{hwnd, message, wParam, lParam, 0, {}};
  SendMessageA(st->tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

void OnMouseMove(HWND hwnd, ToolbarState& st, POINT pt) {
  const int index = HitTest(hwnd, st, pt);
  if (st.pressed >= 0) {
    const bool in = index == st.pressed;
    if (in != st.pressedIn) st.pressedIn = in, InvalidateRect(hwnd, nullptr, TRUE);
    return;
  }
  const bool enabled = index >= 0 && (st.buttons[index].state & TBSTATE_ENABLED);
  SetHot(hwnd, st, enabled ? index : -1);
  UpdateTip(hwnd, st, index);
  if (!st.tracking) {
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd, 0};
    st.tracking = TrackMouseEvent(&tme) != FALSE;
  }
}

void OnButtonUp(HWND hwnd, ToolbarState& st) {
  if (st.pressed < 0) return;
  const int index = st.pressed;
  const bool in = st.pressedIn;
  st.pressed = -1, st.pressedIn = false;
  if (GetCapture() == hwnd) ReleaseCapture();
  InvalidateRect(hwnd, nullptr, TRUE);
  if (in && index < static_cast<int>(st.buttons.size()) && (st.buttons[index].state & TBSTATE_ENABLED))
    Click(hwnd, st, index);
}

bool SetButtonInfo(HWND hwnd, ToolbarState& st, WPARAM id, const TBBUTTONINFOA* info) {
  if (!info || info->cbSize != sizeof(TBBUTTONINFOA)) return false;
  const int index = IndexOfId(st, static_cast<int>(id));
  if (index < 0) return false;
  Button& b = st.buttons[index];
  if (info->dwMask & TBIF_COMMAND) b.id = info->idCommand;
  if (info->dwMask & TBIF_IMAGE) b.image = info->iImage;
  if (info->dwMask & TBIF_STATE) b.state = info->fsState;
  if (info->dwMask & TBIF_STYLE) b.style = info->fsStyle;
  if (info->dwMask & TBIF_LPARAM) b.data = info->lParam;
  if (info->dwMask & TBIF_SIZE) b.width = info->cx;
  if (info->dwMask & TBIF_TEXT) b.text = info->pszText ? info->pszText : "";
  AutoSize(hwnd);
  return true;
}

// TB_ENABLEBUTTON, TB_CHECKBUTTON, TB_PRESSBUTTON, TB_HIDEBUTTON: one state
// bit set or cleared by the low word of lParam.
LRESULT ChangeStateBit(HWND hwnd, ToolbarState& st, WPARAM id, BYTE bit, bool on) {
  const int index = IndexOfId(st, static_cast<int>(id));
  if (index < 0) return FALSE;
  BYTE& state = st.buttons[index].state;
  state = on ? static_cast<BYTE>(state | bit) : static_cast<BYTE>(state & ~bit);
  if (bit == TBSTATE_HIDDEN) AutoSize(hwnd);
  InvalidateRect(hwnd, nullptr, TRUE);
  return TRUE;
}

LRESULT StateMessage(HWND hwnd, ToolbarState& st, UINT message, WPARAM wParam, LPARAM lParam) {
  const bool on = LOWORD(lParam) != 0;
  const int index = IndexOfId(st, static_cast<int>(wParam));
  switch (message) {
    case TB_ENABLEBUTTON: return ChangeStateBit(hwnd, st, wParam, TBSTATE_ENABLED, on);
    case TB_CHECKBUTTON: return ChangeStateBit(hwnd, st, wParam, TBSTATE_CHECKED, on);
    case TB_PRESSBUTTON: return ChangeStateBit(hwnd, st, wParam, TBSTATE_PRESSED, on);
    case TB_HIDEBUTTON: return ChangeStateBit(hwnd, st, wParam, TBSTATE_HIDDEN, on);
    case TB_ISBUTTONENABLED: return index >= 0 && (st.buttons[index].state & TBSTATE_ENABLED);
    case TB_ISBUTTONCHECKED: return index >= 0 && (st.buttons[index].state & TBSTATE_CHECKED);
    case TB_GETSTATE: return index >= 0 ? st.buttons[index].state : -1;
    case TB_SETSTATE: {
      if (index < 0) return FALSE;
      const bool hiddenChanged = (st.buttons[index].state ^ static_cast<BYTE>(lParam)) & TBSTATE_HIDDEN;
      st.buttons[index].state = static_cast<BYTE>(lParam);
      if (hiddenChanged) AutoSize(hwnd);
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    }
    default: return 0;
  }
}

POINT PointOf(LPARAM lParam) { return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}; }

LRESULT CALLBACK ToolbarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  ToolbarState* st = StateOf(hwnd);
  if (!st && message != WM_NCCREATE) return DefWindowProcA(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_NCCREATE: AttachState<ToolbarState>(hwnd); return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_CREATE:
      if (StyleOf(hwnd) & TBSTYLE_TOOLTIPS) {
        HWND tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASS, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                                   hwnd, nullptr, nullptr, nullptr);
        AttachTooltip(hwnd, *st, tip, true);
      }
      AutoSize(hwnd);
      return 0;
    case WM_DESTROY:
      if (st->tooltip && st->ownsTooltip) DestroyWindow(st->tooltip);
      st->tooltip = nullptr;
      return 0;
    case TB_SETTOOLTIPS: AttachTooltip(hwnd, *st, reinterpret_cast<HWND>(wParam), false); return 0;
    case TB_GETTOOLTIPS: return reinterpret_cast<LRESULT>(st->tooltip);
    case WM_SIZE:
    case TB_AUTOSIZE: AutoSize(hwnd); return 0;
    case WM_PAINT: return PaintControl(hwnd, &Paint);
    case WM_ERASEBKGND: return 1;
    case WM_SETFONT:
      st->font = reinterpret_cast<HFONT>(wParam);
      AutoSize(hwnd);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(st->font);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      RelayToTooltip(hwnd, message, wParam, lParam);
      if ((st = StateOf(hwnd))) OnButtonDown(hwnd, *st, PointOf(lParam));
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(hwnd, *st, PointOf(lParam));
      RelayToTooltip(hwnd, message, wParam, lParam);
      return 0;
    case WM_LBUTTONUP: OnButtonUp(hwnd, *st); return 0;
    case WM_MOUSELEAVE:
      st->tracking = false;
      SetHot(hwnd, *st, -1);
      UpdateTip(hwnd, *st, -1);
      return 0;
    case WM_CAPTURECHANGED:
      if (st->pressed >= 0 && reinterpret_cast<HWND>(lParam) != hwnd) {
        st->pressed = -1, st->pressedIn = false;
        InvalidateRect(hwnd, nullptr, TRUE);
      }
      return 0;
    case TB_BUTTONSTRUCTSIZE: st->structSize = static_cast<UINT>(wParam); return 0;
    case TB_ADDBUTTONS: return AddButtons(hwnd, *st, wParam, lParam);
    case TB_BUTTONCOUNT: return static_cast<LRESULT>(st->buttons.size());
    case TB_COMMANDTOINDEX: return IndexOfId(*st, static_cast<int>(wParam));
    case TB_GETITEMRECT: {
      auto* out = reinterpret_cast<RECT*>(lParam);
      if (!out || wParam >= st->buttons.size()) return FALSE;
      *out = Layout(hwnd, *st)[wParam];
      return TRUE;
    }
    case TB_GETROWS: {
      std::vector<int> tops;
      for (const RECT& r : Layout(hwnd, *st))
        if (std::find(tops.begin(), tops.end(), r.top) == tops.end()) tops.push_back(r.top);
      return static_cast<LRESULT>(std::max<size_t>(1, tops.size()));
    }
    case TB_SETBITMAPSIZE:
    case TB_SETBUTTONSIZE: {
      const SIZE size{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (size.cx <= 0 || size.cy <= 0) return FALSE;
      (message == TB_SETBITMAPSIZE ? st->bitmap : st->button) = size;
      AutoSize(hwnd);
      return TRUE;
    }
    case TB_SETBUTTONINFO: return SetButtonInfo(hwnd, *st, wParam, reinterpret_cast<const TBBUTTONINFOA*>(lParam));
    case TB_SETIMAGELIST: {
      HIMAGELIST old = st->images;
      st->images = reinterpret_cast<HIMAGELIST>(lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return reinterpret_cast<LRESULT>(old);
    }
    case TB_GETIMAGELIST: return reinterpret_cast<LRESULT>(st->images);
    case TB_GETHOTITEM: return st->hot;
    case TB_SETHOTITEM: {
      const int old = st->hot;
      const int index = static_cast<int>(wParam);
      SetHot(hwnd, *st, index >= 0 && index < static_cast<int>(st->buttons.size()) ? index : -1);
      return old;
    }
    case TB_SETEXTENDEDSTYLE: {
      const DWORD old = st->exStyle;
      st->exStyle = static_cast<DWORD>(lParam);
      AutoSize(hwnd);
      return old;
    }
    case TB_GETEXTENDEDSTYLE: return st->exStyle;
    case TB_ENABLEBUTTON:
    case TB_CHECKBUTTON:
    case TB_PRESSBUTTON:
    case TB_HIDEBUTTON:
    case TB_ISBUTTONENABLED:
    case TB_ISBUTTONCHECKED:
    case TB_GETSTATE:
    case TB_SETSTATE: return StateMessage(hwnd, *st, message, wParam, lParam);
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace

void RegisterToolbarClass() {
  user::AddSystemClass(TOOLBARCLASSNAME, CS_DBLCLKS, &ToolbarProc, 0, LoadCursorA(nullptr, IDC_ARROW), nullptr);
}

}  // namespace pl3::controls
