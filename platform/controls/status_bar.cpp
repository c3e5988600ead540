// The status bar ("msctls_statusbar32"): parts with text, an icon and a
// border each, a simple mode with one part, and a height that follows the
// font only.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/controls/bar_common.h"
#include "platform/controls/common_control_draw.h"
#include "platform/controls/control_common.h"
#include "platform/resource_images.h"

namespace pl3::controls {

namespace {

constexpr int kBorderY = 2;    // above the parts
constexpr int kGap = 2;        // between two parts
constexpr int kTextInset = 3;  // text and icon from a part's left edge
constexpr int kGripSize = 12;

struct StatusPart {
  int right = -1;  // -1: to the bar's right edge
  std::string text;
  UINT type = 0;  // SBT_ flags
  LPARAM ownerData = 0;
  HICON icon = nullptr;
};

struct StatusState : user::WindowState {
  std::vector<StatusPart> parts = std::vector<StatusPart>(1);
  StatusPart simplePart;
  bool simple = false;
  HFONT font = nullptr;
  int minHeight = 0;
};

StatusState* StateOf(HWND hwnd) { return ControlState<StatusState>(hwnd); }

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE)); }

int BarHeight(HWND hwnd, const StatusState& st) {
  return std::max(st.minHeight, FontHeight(hwnd) + 2 * kBorderY + 4) + kBorderY;
}

// Sits along the bottom of the parent's client area unless CCS_TOP.
void AlignToParent(HWND hwnd) {
  StatusState* st = StateOf(hwnd);
  if (st) AlignBarToParent(hwnd, BarHeight(hwnd, *st), (StyleOf(hwnd) & CCS_BOTTOM) != CCS_TOP);
}

StatusPart* PartAt(StatusState& st, UINT index) {
  if (index == SB_SIMPLEID) return &st.simplePart;
  if (index >= st.parts.size()) return nullptr;
  return &st.parts[index];
}

bool HasGrip(HWND hwnd) {
  if (!(StyleOf(hwnd) & SBARS_SIZEGRIP)) return false;
  HWND parent = GetParent(hwnd);
  return !parent || !IsZoomed(parent);
}

// The rectangle of part `index` in client coordinates; false past the parts.
bool PartRect(HWND hwnd, const StatusState& st, int index, RECT* out) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  const int limit = rc.right - (HasGrip(hwnd) ? kGripSize : 0);
  if (st.simple) {
    if (index != 0 && index != static_cast<int>(SB_SIMPLEID)) return false;
    *out = RECT{0, kBorderY, limit, rc.bottom};
    return true;
  }
  if (index < 0 || index >= static_cast<int>(st.parts.size())) return false;
  int left = 0;
  for (int i = 0; i <= index; ++i) {
    const int edge = st.parts[i].right;
    int right = (edge < 0 || edge > limit) ? limit : edge;
    right = std::max(right, left);
    if (i == index) {
      *out = RECT{left, kBorderY, right, rc.bottom};
      return true;
    }
    left = right + kGap;
  }
  return false;
}

// Text with tabs: the piece before the first tab goes left, the next in the
// centre and the last on the right.
void DrawPartText(HDC dc, const std::string& text, RECT rc) {
  std::string pieces[3];
  int slot = 0;
  for (char c : text) {
    if (c == '\t' && slot < 2) ++slot;
    else pieces[slot] += c;
  }
  const UINT formats[3] = {DT_LEFT, DT_CENTER, DT_RIGHT};
  for (int i = 0; i < 3; ++i) {
    if (pieces[i].empty()) continue;
    DrawTextA(dc, pieces[i].c_str(), static_cast<int>(pieces[i].size()), &rc,
              formats[i] | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  }
}

void PaintPart(HWND hwnd, HDC dc, const StatusPart& part, RECT rc, UINT index) {
  if (!(part.type & SBT_NOBORDERS)) DrawThinBorder(dc, rc, !(part.type & SBT_POPOUT));
  InflateRect(&rc, -1, -1);
  if (part.type & SBT_OWNERDRAW) {
    DRAWITEMSTRUCT dis{0, static_cast<UINT>(GetDlgCtrlID(hwnd)), index, ODA_DRAWENTIRE, 0, hwnd, dc, rc,
                       static_cast<ULONG_PTR>(part.ownerData)};
    SendMessageA(GetParent(hwnd), WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
    return;
  }
  rc.left += kTextInset - 1;
  if (part.icon) {
    const int size = std::min(16, static_cast<int>(rc.bottom - rc.top));
    DrawIconEx(dc, rc.left, rc.top + (rc.bottom - rc.top - size) / 2, part.icon, size, size, 0, nullptr, DI_NORMAL);
    rc.left += size + kTextInset;
  }
  DrawPartText(dc, part.text, rc);
}

void PaintGrip(HDC dc, const RECT& client) {
  // Three diagonal ridges of highlight and shadow in the corner.
  for (int k = 0; k < 3; ++k) {
    const int offset = 4 * k + 3;
    for (int i = 0; i < offset; ++i) {
      const int x = client.right - offset + i, y = client.bottom - 1 - i;
      if (y < client.top) break;
      RECT px{x, y, x + 1, y + 1};
      FillSys(dc, px, COLOR_3DHIGHLIGHT);
      RECT shadow{x + 1, y, x + 3, y + 1};
      if (shadow.right > client.right) shadow.right = client.right;
      FillSys(dc, shadow, COLOR_3DSHADOW);
    }
  }
}

void Paint(HWND hwnd, HDC dc) {
  StatusState* st = StateOf(hwnd);
  if (!st) return;
  RECT client;
  GetClientRect(hwnd, &client);
  HBRUSH face = PrepareDC(hwnd, dc, WM_CTLCOLORSTATIC);
  (void)face;
  FillSys(dc, client, COLOR_3DFACE);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  if (st->simple) {
    RECT rc;
    PartRect(hwnd, *st, SB_SIMPLEID, &rc);
    PaintPart(hwnd, dc, st->simplePart, rc, SB_SIMPLEID);
  } else {
    for (size_t i = 0; i < st->parts.size(); ++i) {
      RECT rc;
      if (PartRect(hwnd, *st, static_cast<int>(i), &rc) && rc.right > rc.left)
        PaintPart(hwnd, dc, st->parts[i], rc, static_cast<UINT>(i));
    }
  }
  if (HasGrip(hwnd)) PaintGrip(dc, client);
}

void InvalidatePart(HWND hwnd, const StatusState& st, UINT index) {
  RECT rc;
  if (PartRect(hwnd, st, static_cast<int>(index), &rc)) InvalidateRect(hwnd, &rc, TRUE);
}

bool SetPartText(HWND hwnd, StatusState& st, WPARAM wParam, LPARAM lParam) {
  const UINT index = LOBYTE(wParam);
  StatusPart* part = PartAt(st, index);
  if (!part) return false;
  part->type = static_cast<UINT>(wParam) & 0xFF00;
  if (part->type & SBT_OWNERDRAW) {
    part->ownerData = lParam;
    part->text.clear();
  } else {
    const char* text = reinterpret_cast<const char*>(lParam);
    part->text = text ? text : "";
  }
  if (st.simple == (index == SB_SIMPLEID)) InvalidatePart(hwnd, st, index == SB_SIMPLEID ? SB_SIMPLEID : index);
  return true;
}

// SB_GETTEXT and SB_GETTEXTLENGTH answer the length in the low word and the
// SBT_ type in the high word; an owner-drawn part answers its data.
LRESULT GetPartText(StatusState& st, UINT message, WPARAM wParam, LPARAM lParam) {
  StatusPart* part = PartAt(st, LOBYTE(wParam));
  if (!part) return 0;
  if (part->type & SBT_OWNERDRAW) return message == SB_GETTEXT ? part->ownerData : 0;
  if (message == SB_GETTEXT && lParam) {
    char* out = reinterpret_cast<char*>(lParam);
    std::memcpy(out, part->text.c_str(), part->text.size() + 1);
  }
  return MAKELONG(static_cast<WORD>(std::min<size_t>(part->text.size(), 0xFFFF)), static_cast<WORD>(part->type));
}

bool SetParts(HWND hwnd, StatusState& st, WPARAM count, LPARAM lParam) {
  const int* edges = reinterpret_cast<const int*>(lParam);
  if (count == 0 || count > static_cast<WPARAM>(SB_MAXPARTS) || !edges) return false;
  st.parts.resize(count);
  for (WPARAM i = 0; i < count; ++i) st.parts[i].right = edges[i];
  InvalidateRect(hwnd, nullptr, TRUE);
  return true;
}

LRESULT GetParts(const StatusState& st, WPARAM count, LPARAM lParam) {
  int* out = reinterpret_cast<int*>(lParam);
  if (out) {
    const size_t n = std::min<size_t>(count, st.parts.size());
    for (size_t i = 0; i < n; ++i) out[i] = st.parts[i].right;
  }
  return static_cast<LRESULT>(st.parts.size());
}

int PartFromPoint(HWND hwnd, const StatusState& st, POINT pt) {
  if (st.simple) return SB_SIMPLEID;
  for (size_t i = 0; i < st.parts.size(); ++i) {
    RECT rc;
    if (PartRect(hwnd, st, static_cast<int>(i), &rc) && pt.x >= rc.left && pt.x < rc.right + kGap)
      return static_cast<int>(i);
  }
  return -1;
}

void NotifyMouse(HWND hwnd, UINT code, LPARAM lParam) {
  StatusState* st = StateOf(hwnd);
  if (!st) return;
  NMMOUSE nm{};
  nm.pt = POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  const int part = PartFromPoint(hwnd, *st, nm.pt);
  nm.dwItemSpec = static_cast<DWORD_PTR>(part);
  nm.dwHitInfo = part;
  SendNotify(hwnd, code, &nm.hdr);
}

LRESULT CALLBACK StatusProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  StatusState* st = StateOf(hwnd);
  switch (message) {
    case WM_NCCREATE: AttachState<StatusState>(hwnd); return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_CREATE: {
      const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      if (st && cs && cs->lpszName) st->parts[0].text = cs->lpszName;
      AlignToParent(hwnd);
      return 0;
    }
    case WM_SIZE:
      // The parent forwards its own WM_SIZE; the bar places itself.
      AlignToParent(hwnd);
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_PAINT: return PaintControl(hwnd, &Paint);
    case WM_ERASEBKGND: return 1;
    case WM_SETFONT:
      if (st) st->font = reinterpret_cast<HFONT>(wParam);
      AlignToParent(hwnd);
      if (lParam) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT: return st ? reinterpret_cast<LRESULT>(st->font) : 0;
    case WM_SETTEXT: return st && SetPartText(hwnd, *st, 0, lParam);
    case WM_GETTEXTLENGTH: return st ? static_cast<LRESULT>(st->parts[0].text.size()) : 0;
    case WM_GETTEXT: {
      if (!st || wParam == 0 || !lParam) return 0;
      CopyTextOut(st->parts[0].text, reinterpret_cast<LPSTR>(lParam), static_cast<int>(std::min<WPARAM>(wParam, 0x7FFFFFFF)));
      return static_cast<LRESULT>(std::strlen(reinterpret_cast<LPSTR>(lParam)));
    }
    case SB_SETTEXT: return st && SetPartText(hwnd, *st, wParam, lParam);
    case SB_GETTEXT:
    case SB_GETTEXTLENGTH: return st ? GetPartText(*st, message, wParam, lParam) : 0;
    case SB_SETPARTS: return st && SetParts(hwnd, *st, wParam, lParam);
    case SB_GETPARTS: return st ? GetParts(*st, wParam, lParam) : 0;
    case SB_GETRECT: {
      auto* out = reinterpret_cast<RECT*>(lParam);
      return st && out && PartRect(hwnd, *st, static_cast<int>(wParam), out);
    }
    case SB_GETBORDERS: {
      int* out = reinterpret_cast<int*>(lParam);
      if (!out) return FALSE;
      out[0] = 0, out[1] = kBorderY, out[2] = kGap;
      return TRUE;
    }
    case SB_SETMINHEIGHT:
      if (st) st->minHeight = static_cast<int>(wParam);
      return 0;
    case SB_SIMPLE:
      if (!st) return 0;
      st->simple = wParam != 0;
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case SB_ISSIMPLE: return st && st->simple;
    case SB_SETICON: {
      StatusPart* part = st ? PartAt(*st, static_cast<UINT>(wParam)) : nullptr;
      if (!part) return FALSE;
      part->icon = reinterpret_cast<HICON>(lParam);
      InvalidatePart(hwnd, *st, static_cast<UINT>(wParam));
      return TRUE;
    }
    case SB_GETICON: {
      StatusPart* part = st ? PartAt(*st, static_cast<UINT>(wParam)) : nullptr;
      return part ? reinterpret_cast<LRESULT>(part->icon) : 0;
    }
    case WM_LBUTTONUP: NotifyMouse(hwnd, NM_CLICK, lParam); return 0;
    case WM_LBUTTONDBLCLK: NotifyMouse(hwnd, NM_DBLCLK, lParam); return 0;
    case WM_RBUTTONUP: NotifyMouse(hwnd, NM_RCLICK, lParam); return 0;
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace

void RegisterStatusBarClass() {
  user::AddSystemClass(STATUSCLASSNAME, CS_DBLCLKS, &StatusProc, 0, LoadCursorA(nullptr, IDC_ARROW), nullptr);
}

}  // namespace pl3::controls

HWND CreateStatusWindowA(LONG style, LPCSTR text, HWND parent, UINT id) {
  return CreateWindowExA(0, STATUSCLASSNAME, text, static_cast<DWORD>(style), 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
}
