// The tab control ("SysTabControl32"): one row of tabs over a raised display
// area, chosen by click or arrow keys with TCN_SELCHANGING and TCN_SELCHANGE.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/controls/bar_common.h"
#include "platform/controls/common_control_draw.h"
#include "platform/controls/control_common.h"

namespace pl3::controls {

namespace {

constexpr int kPadX = 6;      // text from a tab's sides
constexpr int kLift = 2;      // the selected tab stands this much taller and wider
constexpr int kMinWidth = 40;

struct Tab {
  std::string text;
  int image = -1;
  LPARAM param = 0;
  DWORD state = 0;
};

struct TabState : user::WindowState {
  std::vector<Tab> tabs;
  int current = -1;
  HFONT font = nullptr;
  bool focused = false;
};

TabState* StateOf(HWND hwnd) { return ControlState<TabState>(hwnd); }

int RowHeight(HWND hwnd) { return FontHeight(hwnd) + 7; }

// The tabs' rectangles, left to right from kLift, below a kLift strip the
// selected tab rises into.
std::vector<RECT> TabRects(HWND hwnd, const TabState& st) {
  std::vector<RECT> out;
  HDC dc = GetDC(hwnd);
  SelectObject(dc, ControlFont(hwnd));
  int x = kLift;
  const int height = RowHeight(hwnd);
  for (const Tab& t : st.tabs) {
    SIZE size{0, 0};
    GetTextExtentPoint32A(dc, t.text.c_str(), static_cast<int>(t.text.size()), &size);
    const int width = std::max(kMinWidth, static_cast<int>(size.cx) + 2 * kPadX);
    out.push_back(RECT{x, kLift, x + width, kLift + height});
    x += width;
  }
  ReleaseDC(hwnd, dc);
  return out;
}

int DisplayTop(HWND hwnd) { return kLift + RowHeight(hwnd); }

void PaintTab(HDC dc, RECT rc, const Tab& tab, bool selected) {
  if (selected) InflateRect(&rc, kLift, 0), rc.top -= kLift, rc.bottom += 1;
  FillSys(dc, RECT{rc.left + 1, rc.top + 1, rc.right - 1, rc.bottom}, COLOR_3DFACE);
  // Left and top in highlight with a cut corner, right in shadow.
  FillSys(dc, RECT{rc.left, rc.top + 2, rc.left + 1, rc.bottom}, COLOR_3DHIGHLIGHT);
  FillSys(dc, RECT{rc.left + 1, rc.top + 1, rc.left + 2, rc.top + 2}, COLOR_3DHIGHLIGHT);
  FillSys(dc, RECT{rc.left + 2, rc.top, rc.right - 2, rc.top + 1}, COLOR_3DHIGHLIGHT);
  FillSys(dc, RECT{rc.right - 2, rc.top + 1, rc.right - 1, rc.top + 2}, COLOR_3DDKSHADOW);
  FillSys(dc, RECT{rc.right - 1, rc.top + 2, rc.right, rc.bottom}, COLOR_3DDKSHADOW);
  FillSys(dc, RECT{rc.right - 2, rc.top + 2, rc.right - 1, rc.bottom}, COLOR_3DSHADOW);
  RECT text = rc;
  if (!selected) text.top += 1;
  DrawTextA(dc, tab.text.c_str(), static_cast<int>(tab.text.size()), &text,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void Paint(HWND hwnd, HDC dc) {
  TabState* st = StateOf(hwnd);
  if (!st) return;
  RECT client;
  GetClientRect(hwnd, &client);
  HBRUSH background = PrepareDC(hwnd, dc, WM_CTLCOLORDLG);
  FillRect(dc, &client, background ? background : GetSysColorBrush(COLOR_3DFACE));
  const int top = DisplayTop(hwnd);
  RECT area{client.left, top, client.right, client.bottom};
  FillSys(dc, RECT{area.left + 1, area.top + 1, area.right - 1, area.bottom - 1}, COLOR_3DFACE);
  DrawRaisedButton(dc, area);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  const std::vector<RECT> rects = TabRects(hwnd, *st);
  for (size_t i = 0; i < rects.size(); ++i) {
    if (static_cast<int>(i) != st->current) PaintTab(dc, rects[i], st->tabs[i], false);
  }
  if (st->current >= 0 && st->current < static_cast<int>(rects.size())) {
    PaintTab(dc, rects[st->current], st->tabs[st->current], true);
    if (st->focused) {
      RECT focus = rects[st->current];
      InflateRect(&focus, -3, -3);
      DrawFocusRect(dc, &focus);
    }
  }
}

// Moves the selection as a user does: asks the parent first.
void UserSelect(HWND hwnd, int index) {
  TabState* st = StateOf(hwnd);
  if (!st || index < 0 || index >= static_cast<int>(st->tabs.size()) || index == st->current) return;
  NMHDR hdr{};
  if (SendNotify(hwnd, TCN_SELCHANGING, &hdr)) return;
  st = StateOf(hwnd);  // the parent may have destroyed the control
  if (!st || index >= static_cast<int>(st->tabs.size())) return;
  st->current = index;
  InvalidateRect(hwnd, nullptr, TRUE);
  SendNotify(hwnd, TCN_SELCHANGE, &hdr);
}

int HitTest(HWND hwnd, const TabState& st, POINT pt) {
  const std::vector<RECT> rects = TabRects(hwnd, st);
  for (size_t i = 0; i < rects.size(); ++i) {
    RECT r = rects[i];
    if (static_cast<int>(i) == st.current) InflateRect(&r, kLift, 0), r.top -= kLift;
    if (PtInRect(&r, pt)) return static_cast<int>(i);
  }
  return -1;
}

bool SetItem(Tab& tab, const TCITEMA& item) {
  if (item.mask & TCIF_TEXT) tab.text = item.pszText ? item.pszText : "";
  if (item.mask & TCIF_IMAGE) tab.image = item.iImage;
  if (item.mask & TCIF_PARAM) tab.param = item.lParam;
  if (item.mask & TCIF_STATE) tab.state = (tab.state & ~item.dwStateMask) | (item.dwState & item.dwStateMask);
  return true;
}

LRESULT GetItem(const Tab& tab, TCITEMA& item) {
  if (item.mask & TCIF_TEXT) CopyTextOut(tab.text, item.pszText, item.cchTextMax);
  if (item.mask & TCIF_IMAGE) item.iImage = tab.image;
  if (item.mask & TCIF_PARAM) item.lParam = tab.param;
  if (item.mask & TCIF_STATE) item.dwState = tab.state & item.dwStateMask;
  return TRUE;
}

// TCM_ADJUSTRECT: larger FALSE turns a window rectangle into its display
// area, TRUE the display area into the window rectangle.
void AdjustRect(HWND hwnd, bool larger, RECT* rc) {
  const int top = DisplayTop(hwnd) + 2, side = 2;
  const int sign = larger ? -1 : 1;
  rc->left += sign * side;
  rc->right -= sign * side;
  rc->top += sign * top;
  rc->bottom -= sign * side;
}

LRESULT ItemMessage(HWND hwnd, TabState& st, UINT message, WPARAM wParam, LPARAM lParam) {
  const int count = static_cast<int>(st.tabs.size());
  const int index = static_cast<int>(wParam);
  auto* item = reinterpret_cast<TCITEMA*>(lParam);
  switch (message) {
    case TCM_INSERTITEM: {
      if (!item || index < 0) return -1;
      const int at = std::min(index, count);
      Tab tab;
      SetItem(tab, *item);
      st.tabs.insert(st.tabs.begin() + at, tab);
      if (st.current < 0) st.current = 0;
      else if (at <= st.current) ++st.current;
      InvalidateRect(hwnd, nullptr, TRUE);
      return at;
    }
    case TCM_SETITEM:
      if (!item || index < 0 || index >= count) return FALSE;
      SetItem(st.tabs[index], *item);
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    case TCM_GETITEM:
      if (!item || index < 0 || index >= count) return FALSE;
      return GetItem(st.tabs[index], *item);
    case TCM_DELETEITEM:
      if (index < 0 || index >= count) return FALSE;
      st.tabs.erase(st.tabs.begin() + index);
      if (st.current == index) st.current = st.tabs.empty() ? -1 : std::min(index, count - 2);
      else if (st.current > index) --st.current;
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    case TCM_GETITEMRECT: {
      auto* out = reinterpret_cast<RECT*>(lParam);
      if (!out || index < 0 || index >= count) return FALSE;
      *out = TabRects(hwnd, st)[index];
      return TRUE;
    }
    case TCM_SETCURSEL: {
      if (index < 0 || index >= count) return -1;
      const int old = st.current;
      st.current = index;
      InvalidateRect(hwnd, nullptr, TRUE);
      return old;
    }
    default: return 0;
  }
}

LRESULT CALLBACK TabProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  TabState* st = StateOf(hwnd);
  switch (message) {
    case WM_NCCREATE: AttachState<TabState>(hwnd); return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_PAINT: return PaintControl(hwnd, &Paint);
    case WM_ERASEBKGND: return 1;
    case WM_SETFONT:
      if (st) st->font = reinterpret_cast<HFONT>(wParam);
      if (lParam) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT: return st ? reinterpret_cast<LRESULT>(st->font) : 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (st) st->focused = message == WM_SETFOCUS;
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_LBUTTONDOWN: {
      if (!st) return 0;
      const int hit = HitTest(hwnd, *st, POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
      if (hit >= 0 && !(GetWindowLongPtrA(hwnd, GWL_STYLE) & TCS_FOCUSNEVER)) SetFocus(hwnd);
      UserSelect(hwnd, hit);
      return 0;
    }
    case WM_KEYDOWN: {
      if (!st) return 0;
      NMTCKEYDOWN key{};
      key.wVKey = static_cast<WORD>(wParam);
      key.flags = static_cast<UINT>(lParam);
      SendNotify(hwnd, TCN_KEYDOWN, &key.hdr);
      st = StateOf(hwnd);
      if (!st) return 0;
      if (wParam == VK_LEFT) UserSelect(hwnd, st->current - 1);
      else if (wParam == VK_RIGHT) UserSelect(hwnd, st->current + 1);
      return 0;
    }
    case TCM_GETITEMCOUNT: return st ? static_cast<LRESULT>(st->tabs.size()) : 0;
    case TCM_GETCURSEL: return st ? st->current : -1;
    case TCM_DELETEALLITEMS:
      if (!st) return FALSE;
      st->tabs.clear();
      st->current = -1;
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    case TCM_HITTEST: {
      auto* info = reinterpret_cast<TCHITTESTINFO*>(lParam);
      if (!st || !info) return -1;
      const int hit = HitTest(hwnd, *st, info->pt);
      info->flags = hit < 0 ? TCHT_NOWHERE : TCHT_ONITEM;
      return hit;
    }
    case TCM_ADJUSTRECT:
      if (lParam) AdjustRect(hwnd, wParam != 0, reinterpret_cast<RECT*>(lParam));
      return 0;
    case TCM_INSERTITEM:
    case TCM_SETITEM:
    case TCM_GETITEM:
    case TCM_DELETEITEM:
    case TCM_GETITEMRECT:
    case TCM_SETCURSEL:
      if (st) return ItemMessage(hwnd, *st, message, wParam, lParam);
      return message == TCM_SETCURSEL || message == TCM_INSERTITEM ? -1 : 0;
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace

void RegisterTabControlClass() {
  user::AddSystemClass(WC_TABCONTROL, CS_DBLCLKS | CS_PARENTDC, &TabProc, 0, LoadCursorA(nullptr, IDC_ARROW), nullptr);
}

}  // namespace pl3::controls
