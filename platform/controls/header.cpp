// The header control (SysHeader32): items shown in an order of their own,
// divider drags (HDN_BEGINTRACK, HDN_TRACK, HDN_ITEMCHANGING, HDN_ENDTRACK),
// clicks on HDS_BUTTONS items (HDN_ITEMCLICK), HDS_DRAGDROP reordering
// (HDN_BEGINDRAG, HDN_ENDDRAG) and HDM_LAYOUT for the window above a list.
#include <algorithm>
#include <cstring>
#include <numeric>

#include "platform/commctrl.h"
#include "platform/controls/common_control_draw.h"
#include "platform/controls/control_common.h"
#include "platform/surface.h"

namespace pl3::controls {

namespace {

constexpr int kDividerSlop = 4;  // pixels either side of a divider that grab it
constexpr int kDragStart = 5;    // pixels the pointer moves before an item drag starts

struct HeaderItem {
  std::string text;
  int width = 0;
  int fmt = HDF_LEFT | HDF_STRING;
  LPARAM lParam = 0;
  int image = 0;
  HBITMAP bitmap = nullptr;
};

enum class Press { None, Divider, Button, Drag };

struct HeaderState : user::WindowState {
  std::vector<HeaderItem> items;
  std::vector<int> order;  // display position -> item index
  HIMAGELIST images = nullptr;
  HFONT font = nullptr;
  Press press = Press::None;
  int pressItem = -1;
  POINT pressAt{};
  int startWidth = 0;
  int trackWidth = 0;
  bool pressedIn = false;  // a pressed button is drawn down while the pointer stays on it
};

HeaderState* StateOf(HWND hwnd) {
  user::WindowRecord* w = user::Find(hwnd);
  return w ? dynamic_cast<HeaderState*>(w->state.get()) : nullptr;
}

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE)); }
int Count(const HeaderState& st) { return static_cast<int>(st.items.size()); }

RECT ItemRect(HWND hwnd, const HeaderState& st, int index) {
  RECT client;
  GetClientRect(hwnd, &client);
  int x = 0;
  for (int item : st.order) {
    int w = std::max(0, st.items[static_cast<size_t>(item)].width);
    if (item == index) return RECT{x, 0, x + w, client.bottom};
    x += w;
  }
  return RECT{0, 0, 0, 0};
}

// The item whose right divider lies near x (the last one found wins, so a
// zero-width item can be pulled open again).
int DividerAt(HWND hwnd, const HeaderState& st, int x) {
  int found = -1;
  for (int item : st.order) {
    RECT r = ItemRect(hwnd, st, item);
    if (std::abs(x - r.right) <= kDividerSlop) found = item;
  }
  return found;
}

int ItemAt(HWND hwnd, const HeaderState& st, POINT p) {
  for (int item : st.order) {
    RECT r = ItemRect(hwnd, st, item);
    if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom) return item;
  }
  return -1;
}

int PositionAt(HWND hwnd, const HeaderState& st, int x) {
  int pos = 0;
  for (int item : st.order) {
    RECT r = ItemRect(hwnd, st, item);
    if (x < (r.left + r.right) / 2) return pos;
    ++pos;
  }
  return Count(st) - 1;
}

int HeaderHeight(HWND hwnd) { return FontHeight(hwnd) + 8; }

LRESULT NotifyItem(HWND hwnd, UINT code, int item, HDITEM* record, int button = 0) {
  NMHEADER nm{};
  nm.iItem = item;
  nm.iButton = button;
  nm.pitem = record;
  return SendNotify(hwnd, code, &nm.hdr);
}

void Fill(const HeaderState& st, int index, HDITEM* out) {
  const HeaderItem& it = st.items[static_cast<size_t>(index)];
  if (out->mask & HDI_WIDTH) out->cxy = it.width;
  if (out->mask & HDI_TEXT) CopyTextOut(it.text, out->pszText, out->cchTextMax);
  if (out->mask & HDI_FORMAT) out->fmt = it.fmt;
  if (out->mask & HDI_LPARAM) out->lParam = it.lParam;
  if (out->mask & HDI_IMAGE) out->iImage = it.image;
  if (out->mask & HDI_BITMAP) out->hbm = it.bitmap;
  if (out->mask & HDI_ORDER) {
    auto at = std::find(st.order.begin(), st.order.end(), index);
    out->iOrder = static_cast<int>(at - st.order.begin());
  }
}

void Apply(HeaderItem& it, const HDITEM& in) {
  if (in.mask & HDI_WIDTH) it.width = std::max(0, in.cxy);
  if (in.mask & HDI_TEXT) it.text = in.pszText && in.pszText != LPSTR_TEXTCALLBACK ? in.pszText : "";
  if (in.mask & HDI_FORMAT) it.fmt = in.fmt;
  if (in.mask & HDI_LPARAM) it.lParam = in.lParam;
  if (in.mask & HDI_IMAGE) it.image = in.iImage;
  if (in.mask & HDI_BITMAP) it.bitmap = in.hbm;
}

void MoveInOrder(HeaderState& st, int item, int position) {
  auto at = std::find(st.order.begin(), st.order.end(), item);
  if (at == st.order.end()) return;
  st.order.erase(at);
  position = std::clamp(position, 0, static_cast<int>(st.order.size()));
  st.order.insert(st.order.begin() + position, item);
}

LRESULT InsertItem(HWND hwnd, HeaderState& st, int index, const HDITEM* in) {
  if (!in) return -1;
  index = std::clamp(index, 0, Count(st));
  HeaderItem it;
  Apply(it, *in);
  st.items.insert(st.items.begin() + index, it);
  for (int& o : st.order)
    if (o >= index) ++o;
  int position = (in->mask & HDI_ORDER) && in->iOrder >= 0 ? in->iOrder : index;
  st.order.insert(st.order.begin() + std::min(position, static_cast<int>(st.order.size())), index);
  InvalidateRect(hwnd, nullptr, TRUE);
  return index;
}

BOOL DeleteItem(HWND hwnd, HeaderState& st, int index) {
  if (index < 0 || index >= Count(st)) return FALSE;
  st.items.erase(st.items.begin() + index);
  st.order.erase(std::find(st.order.begin(), st.order.end(), index));
  for (int& o : st.order)
    if (o > index) --o;
  InvalidateRect(hwnd, nullptr, TRUE);
  return TRUE;
}

// HDM_SETITEM and the end of a divider drag: the parent may refuse.
BOOL SetItem(HWND hwnd, int index, const HDITEM* in) {
  HeaderState* st = StateOf(hwnd);
  if (!st || !in || index < 0 || index >= Count(*st)) return FALSE;
  HDITEM change = *in;
  if (NotifyItem(hwnd, HDN_ITEMCHANGING, index, &change)) return FALSE;
  if ((st = StateOf(hwnd)) == nullptr || index >= Count(*st)) return FALSE;
  Apply(st->items[static_cast<size_t>(index)], *in);
  if ((in->mask & HDI_ORDER) && in->iOrder >= 0) MoveInOrder(*st, index, in->iOrder);
  InvalidateRect(hwnd, nullptr, TRUE);
  NotifyItem(hwnd, HDN_ITEMCHANGED, index, &change);
  return TRUE;
}

// Where an item's picture of w x h goes: the left of the text area or, with
// HDF_BITMAP_ON_RIGHT, its right; the text gives up the room. The picture is
// cut to the area (w and h shrink); false when nothing of it fits.
bool PlacePicture(const HeaderItem& it, RECT& text, int& w, int& h, POINT& at) {
  w = std::min(w, static_cast<int>(text.right - text.left));
  h = std::min(h, static_cast<int>(text.bottom - text.top));
  if (w <= 0 || h <= 0) return false;
  bool right = it.fmt & HDF_BITMAP_ON_RIGHT;
  at = POINT{right ? text.right - w : text.left, text.top + (text.bottom - text.top - h) / 2};
  if (right)
    text.right = at.x - 2;
  else
    text.left = at.x + w + 2;
  return true;
}

// An HDF_BITMAP item's bitmap.
void DrawItemBitmap(HDC dc, const HeaderItem& it, RECT& text) {
  const PixelSurface* picture = GetBitmapSurface(it.bitmap);
  if (!picture) return;
  int w = picture->width, h = picture->height;
  POINT at{};
  if (!PlacePicture(it, text, w, h, at)) return;
  HDC mem = CreateCompatibleDC(dc);
  HBITMAP old = SelectObject(mem, it.bitmap);
  BitBlt(dc, at.x, at.y, w, h, mem, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
}

// An HDF_IMAGE item's image from the header's list (a sort arrow, say).
void DrawItemImage(HDC dc, HIMAGELIST images, const HeaderItem& it, RECT& text) {
  int w = 0, h = 0;
  if (!ImageList_GetIconSize(images, &w, &h) || it.image < 0 || it.image >= ImageList_GetImageCount(images)) return;
  const int fullHeight = h;
  POINT at{};
  if (!PlacePicture(it, text, w, h, at)) return;
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, at.x, at.y, at.x + w, at.y + h);
  ImageList_Draw(images, it.image, dc, at.x, at.y - (fullHeight - h) / 2, ILD_TRANSPARENT);
  RestoreDC(dc, saved);
}

void PaintItem(HWND hwnd, HDC dc, const HeaderState& st, int index, bool pressed) {
  const HeaderItem& it = st.items[static_cast<size_t>(index)];
  RECT r = ItemRect(hwnd, st, index);
  if (r.right <= r.left) return;
  DrawButtonFace(dc, r, pressed);
  RECT text{r.left + 6, r.top + 1, r.right - 6, r.bottom - 1};
  if (pressed) OffsetRect(&text, 1, 1);
  // Sort marks sit on the right; an image on the left unless asked for the right.
  if (it.fmt & (HDF_SORTUP | HDF_SORTDOWN)) {
    RECT mark{text.right - 8, text.top, text.right, text.bottom};
    DrawSortMark(dc, mark, (it.fmt & HDF_SORTUP) != 0);
    text.right -= 12;
  }
  if ((it.fmt & HDF_IMAGE) && st.images)
    DrawItemImage(dc, st.images, it, text);
  else if ((it.fmt & HDF_BITMAP) && it.bitmap)
    DrawItemBitmap(dc, it, text);
  if (it.fmt & HDF_OWNERDRAW) {
    DRAWITEMSTRUCT dis{ODT_HEADER, static_cast<UINT>(GetDlgCtrlID(hwnd)), static_cast<UINT>(index), ODA_DRAWENTIRE,
                       pressed ? ODS_SELECTED : 0u, hwnd, dc, r, static_cast<ULONG_PTR>(it.lParam)};
    SendMessageA(GetParent(hwnd), WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
    return;
  }
  UINT align = (it.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT    ? DT_RIGHT
               : (it.fmt & HDF_JUSTIFYMASK) == HDF_CENTER ? DT_CENTER
                                                          : DT_LEFT;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  DrawTextA(dc, it.text.c_str(), -1, &text, align | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
}

void Paint(HWND hwnd, HDC dc) {
  HeaderState* st = StateOf(hwnd);
  if (!st) return;
  SelectObject(dc, ControlFont(hwnd));
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  int right = 0;
  for (int item : st->order) {
    bool pressed = st->press == Press::Button && st->pressedIn && st->pressItem == item;
    PaintItem(hwnd, dc, *st, item, pressed);
    right = std::max(right, static_cast<int>(ItemRect(hwnd, *st, item).right));
  }
  // The space right of the last item is an empty raised face.
  if (right < client.right) DrawButtonFace(dc, RECT{right, 0, client.right, client.bottom}, false);
}

void OnButtonDown(HWND hwnd, HeaderState& st, POINT p) {
  int divider = DividerAt(hwnd, st, p.x);
  if (divider >= 0) {
    HDITEM record{};
    record.mask = HDI_WIDTH;
    record.cxy = st.items[static_cast<size_t>(divider)].width;
    if (NotifyItem(hwnd, HDN_BEGINTRACK, divider, &record)) return;
    HeaderState* now = StateOf(hwnd);
    if (!now || divider >= Count(*now)) return;
    now->press = Press::Divider;
    now->pressItem = divider;
    now->pressAt = p;
    now->startWidth = now->trackWidth = now->items[static_cast<size_t>(divider)].width;
    SetCapture(hwnd);
    return;
  }
  int item = ItemAt(hwnd, st, p);
  if (item < 0) return;
  DWORD style = StyleOf(hwnd);
  if (!(style & (HDS_BUTTONS | HDS_DRAGDROP))) return;
  st.press = Press::Button;
  st.pressItem = item;
  st.pressAt = p;
  st.pressedIn = (style & HDS_BUTTONS) != 0;
  SetCapture(hwnd);
  InvalidateRect(hwnd, nullptr, FALSE);
}

void OnMouseMove(HWND hwnd, HeaderState& st, POINT p) {
  switch (st.press) {
    case Press::Divider: {
      int width = std::max(0, st.startWidth + p.x - st.pressAt.x);
      if (width == st.trackWidth) return;
      st.trackWidth = width;
      int item = st.pressItem;
      HDITEM record{};
      record.mask = HDI_WIDTH;
      record.cxy = width;
      if (NotifyItem(hwnd, HDN_TRACK, item, &record)) return;
      if (StyleOf(hwnd) & HDS_FULLDRAG) SetItem(hwnd, item, &record);
      return;
    }
    case Press::Button: {
      if ((StyleOf(hwnd) & HDS_DRAGDROP) && std::abs(p.x - st.pressAt.x) >= kDragStart) {
        int item = st.pressItem;
        st.pressedIn = false;
        if (NotifyItem(hwnd, HDN_BEGINDRAG, item, nullptr)) {
          HeaderState* now = StateOf(hwnd);
          if (now) now->press = Press::None;
          ReleaseCapture();
          return;
        }
        if (HeaderState* now = StateOf(hwnd)) now->press = Press::Drag;
        InvalidateRect(hwnd, nullptr, FALSE);
        return;
      }
      bool in = (StyleOf(hwnd) & HDS_BUTTONS) && ItemAt(hwnd, st, p) == st.pressItem;
      if (in != st.pressedIn) {
        st.pressedIn = in;
        InvalidateRect(hwnd, nullptr, FALSE);
      }
      return;
    }
    default: return;
  }
}

void OnButtonUp(HWND hwnd, HeaderState& st, POINT p) {
  Press press = st.press;
  int item = st.pressItem;
  bool in = st.pressedIn;
  st.press = Press::None;
  st.pressedIn = false;
  if (GetCapture() == hwnd) ReleaseCapture();
  InvalidateRect(hwnd, nullptr, FALSE);
  switch (press) {
    case Press::Divider: {
      HDITEM record{};
      record.mask = HDI_WIDTH;
      record.cxy = st.trackWidth;
      NotifyItem(hwnd, HDN_ENDTRACK, item, &record);
      HeaderState* now = StateOf(hwnd);
      if (now && item < Count(*now) && now->items[static_cast<size_t>(item)].width != record.cxy)
        SetItem(hwnd, item, &record);
      return;
    }
    case Press::Button:
      if (in && ItemAt(hwnd, st, p) == item) NotifyItem(hwnd, HDN_ITEMCLICK, item, nullptr);
      return;
    case Press::Drag: {
      HDITEM record{};
      record.mask = HDI_ORDER;
      record.iOrder = PositionAt(hwnd, st, p.x);
      if (NotifyItem(hwnd, HDN_ENDDRAG, item, &record)) return;
      HeaderState* now = StateOf(hwnd);
      if (!now || item >= Count(*now)) return;
      MoveInOrder(*now, item, record.iOrder);
      InvalidateRect(hwnd, nullptr, TRUE);
      return;
    }
    default: return;
  }
}

void CancelPress(HWND hwnd, HeaderState& st) {
  if (st.press == Press::None) return;
  st.press = Press::None;
  st.pressedIn = false;
  InvalidateRect(hwnd, nullptr, FALSE);
}

LRESULT CALLBACK HeaderProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  HeaderState* st = StateOf(hwnd);
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_NCCREATE:
      if (user::WindowRecord* w = user::Find(hwnd)) w->state = std::make_unique<HeaderState>();
      return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_PAINT: return PaintControl(hwnd, &Paint);
    case WM_ERASEBKGND: return 1;
    case WM_SETFONT:
      if (st) st->font = reinterpret_cast<HFONT>(wParam);
      if (lParam) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT: return st ? reinterpret_cast<LRESULT>(st->font) : 0;
    case WM_LBUTTONDOWN:
      if (st) OnButtonDown(hwnd, *st, p);
      return 0;
    case WM_MOUSEMOVE:
      if (st) OnMouseMove(hwnd, *st, p);
      return 0;
    case WM_LBUTTONUP:
      if (st && st->press != Press::None) OnButtonUp(hwnd, *st, p);
      return 0;
    case WM_LBUTTONDBLCLK:
      if (st) {
        int divider = DividerAt(hwnd, *st, p.x);
        int item = ItemAt(hwnd, *st, p);
        if (divider >= 0)
          NotifyItem(hwnd, HDN_DIVIDERDBLCLICK, divider, nullptr);
        else if (item >= 0)
          NotifyItem(hwnd, HDN_ITEMDBLCLICK, item, nullptr);
      }
      return 0;
    case WM_CAPTURECHANGED:
      if (st && reinterpret_cast<HWND>(lParam) != hwnd) CancelPress(hwnd, *st);
      return 0;
    case WM_SETCURSOR:
      if (st) {
        POINT at;
        GetCursorPos(&at);
        ScreenToClient(hwnd, &at);
        if (DividerAt(hwnd, *st, at.x) >= 0) {
          SetCursor(LoadCursorA(nullptr, IDC_SIZEWE));
          return TRUE;
        }
      }
      return DefWindowProcA(hwnd, message, wParam, lParam);
    case HDM_GETITEMCOUNT: return st ? Count(*st) : -1;
    case HDM_INSERTITEM:
      return st ? InsertItem(hwnd, *st, static_cast<int>(static_cast<std::intptr_t>(wParam)),
                             reinterpret_cast<const HDITEM*>(lParam))
                : -1;
    case HDM_DELETEITEM: return st ? DeleteItem(hwnd, *st, static_cast<int>(wParam)) : FALSE;
    case HDM_GETITEM: {
      auto* out = reinterpret_cast<HDITEM*>(lParam);
      auto index = static_cast<int>(wParam);
      if (!st || !out || index < 0 || index >= Count(*st)) return FALSE;
      Fill(*st, index, out);
      return TRUE;
    }
    case HDM_SETITEM: return SetItem(hwnd, static_cast<int>(wParam), reinterpret_cast<const HDITEM*>(lParam));
    case HDM_LAYOUT: {
      auto* layout = reinterpret_cast<HDLAYOUT*>(lParam);
      if (!layout || !layout->prc || !layout->pwpos) return FALSE;
      RECT& rc = *layout->prc;
      int height = (StyleOf(hwnd) & HDS_HIDDEN) ? 0 : HeaderHeight(hwnd);
      *layout->pwpos = WINDOWPOS{hwnd, nullptr, rc.left, rc.top, rc.right - rc.left, height, 0};
      rc.top += height;
      return TRUE;
    }
    case HDM_HITTEST: {
      auto* info = reinterpret_cast<HDHITTESTINFO*>(lParam);
      if (!st || !info) return -1;
      RECT client;
      GetClientRect(hwnd, &client);
      info->iItem = -1;
      if (info->pt.x < 0) {
        info->flags = HHT_TOLEFT;
      } else if (info->pt.x >= client.right) {
        info->flags = HHT_TORIGHT;
      } else if (int divider = DividerAt(hwnd, *st, info->pt.x); divider >= 0) {
        info->flags = HHT_ONDIVIDER;
        info->iItem = divider;
      } else if (int item = ItemAt(hwnd, *st, info->pt); item >= 0) {
        info->flags = HHT_ONHEADER;
        info->iItem = item;
      } else {
        info->flags = HHT_NOWHERE;
      }
      return info->iItem;
    }
    case HDM_GETITEMRECT: {
      auto index = static_cast<int>(wParam);
      if (!st || !lParam || index < 0 || index >= Count(*st)) return FALSE;
      *reinterpret_cast<RECT*>(lParam) = ItemRect(hwnd, *st, index);
      return TRUE;
    }
    case HDM_SETIMAGELIST: {
      if (!st) return 0;
      HIMAGELIST old = st->images;
      st->images = reinterpret_cast<HIMAGELIST>(lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return reinterpret_cast<LRESULT>(old);
    }
    case HDM_GETIMAGELIST: return st ? reinterpret_cast<LRESULT>(st->images) : 0;
    case HDM_ORDERTOINDEX: {
      auto position = static_cast<int>(wParam);
      if (!st || position < 0 || position >= Count(*st)) return position;
      return st->order[static_cast<size_t>(position)];
    }
    case HDM_GETORDERARRAY: {
      auto* out = reinterpret_cast<int*>(lParam);
      if (!st || !out || static_cast<int>(wParam) < Count(*st)) return FALSE;
      std::copy(st->order.begin(), st->order.end(), out);
      return TRUE;
    }
    case HDM_SETORDERARRAY: {
      auto* in = reinterpret_cast<const int*>(lParam);
      if (!st || !in || static_cast<int>(wParam) != Count(*st)) return FALSE;
      std::vector<int> order(in, in + wParam);
      std::vector<int> sorted = order;
      std::sort(sorted.begin(), sorted.end());
      for (int i = 0; i < Count(*st); ++i)
        if (sorted[static_cast<size_t>(i)] != i) return FALSE;  // not a permutation of the items
      st->order = std::move(order);
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    }
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace

void RegisterHeaderClass() {
  user::AddSystemClass(WC_HEADER, CS_DBLCLKS, &HeaderProc, 0, LoadCursorA(nullptr, IDC_ARROW), nullptr);
}

}  // namespace pl3::controls
