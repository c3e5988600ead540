// The menu loop that serves the menu bar and pop-up menus, the pop-up menu
// window ("#32768"), and the layout and drawing of bars and pop-ups.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/backend.h"
#include "platform/gdi.h"
#include "platform/kernel_base.h"
#include "platform/menu_internal.h"
#include "platform/reset_hooks.h"
#include "platform/text_case.h"

namespace pl3::user {

namespace {

constexpr const char* kPopupClass = "#32768";
constexpr int kPopupBorder = 3;
constexpr int kBarPad = 7;          // each side of a bar item's text
constexpr int kSeparatorHeight = 9;
constexpr int kKeyGap = 16;         // between an item's text and its key text
constexpr int kArrowColumn = 16;    // right of the text, for the cascade arrow

// ---- Fonts and text --------------------------------------------------------------------

// The menu font, as the system parameters name it.
struct MenuFont {
  HFONT font = nullptr;
  MenuFont() {
    NONCLIENTMETRICSA m{};
    m.cbSize = sizeof m;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0)) font = CreateFontIndirectA(&m.lfMenuFont);
  }
  ~MenuFont() {
    if (font) DeleteObject(font);
  }
  MenuFont(const MenuFont&) = delete;
  MenuFont& operator=(const MenuFont&) = delete;
};

// A memory context holding the menu font, for measuring.
struct MeasureDC {
  HDC dc = CreateCompatibleDC(nullptr);
  MenuFont font;
  HFONT old = dc && font.font ? SelectObject(dc, font.font) : nullptr;
  ~MeasureDC() {
    if (old) SelectObject(dc, old);
    if (dc) DeleteDC(dc);
  }
  MeasureDC() = default;
  MeasureDC(const MeasureDC&) = delete;
  MeasureDC& operator=(const MeasureDC&) = delete;
};

// The label (before "\t") and the key text (after it).
std::string Label(const std::string& text) { return text.substr(0, text.find('\t')); }
std::string KeyText(const std::string& text) {
  size_t tab = text.find('\t');
  return tab == std::string::npos ? std::string() : text.substr(tab + 1);
}

SIZE TextSize(HDC dc, const std::string& text, bool prefixes) {
  RECT r{0, 0, 0, 0};
  if (!text.empty())
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_SINGLELINE | (prefixes ? 0u : DT_NOPREFIX));
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  return SIZE{r.right - r.left, std::max<LONG>(r.bottom - r.top, tm.tmHeight)};
}

// The mnemonic of an item: the character after a single "&", lowered.
int Mnemonic(const std::string& text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;
      continue;
    }
    return static_cast<unsigned char>(AsciiLower(text[i + 1]));
  }
  return 0;
}

bool IsSeparator(const MenuItem& it) { return (it.type & MFT_SEPARATOR) != 0; }
bool IsGrey(const MenuItem& it) { return (it.state & (MF_GRAYED | MF_DISABLED)) != 0; }

// ---- Layout -----------------------------------------------------------------------------

// Lays out the bar's items in rows across `width`; returns its height.
int LayoutBar(MenuRecord* m, int width) {
  if (!m || m->items.empty()) return 0;
  // The bar is asked for its height whenever its window's borders are: measure only after a change.
  if (!m->changed && m->laidWidth == width) return m->laidHeight;
  MeasureDC measure;
  const int rowHeight = GetSystemMetrics(SM_CYMENU);
  int x = 0, y = 0;
  for (MenuItem& it : m->items) {
    int w = kBarPad * 2 + TextSize(measure.dc, Label(it.text), true).cx;
    if (IsSeparator(it)) w = kBarPad;
    if (x > 0 && (x + w > width || (it.type & (MFT_MENUBREAK | MFT_MENUBARBREAK)))) {
      x = 0;
      y += rowHeight;
    }
    it.rect = RECT{x, y, x + w, y + rowHeight};
    x += w;
  }
  m->changed = false;
  m->laidWidth = width;
  m->laidHeight = y + rowHeight;
  return m->laidHeight;
}

// Lays out a pop-up's items in its client coordinates (owner-drawn items
// measured by their owner); returns the window size.
SIZE LayoutPopup(HWND owner, HMENU menu) {
  MenuRecord* m = FindMenu(menu);
  if (!m) return SIZE{0, 0};
  m->changed = true;  // the item rectangles are a pop-up's now, not a bar's
  MeasureDC measure;
  const int rowHeight = GetSystemMetrics(SM_CYMENU);
  const int checkColumn = GetSystemMetrics(SM_CXMENUCHECK) + 4;
  int labelWidth = 0, keyWidth = 0, drawnWidth = 0;
  std::vector<int> heights;
  for (size_t i = 0; i < m->items.size(); ++i) {
    MenuItem it = m->items[i];
    int h = rowHeight;
    if (it.type & MFT_OWNERDRAW) {
      MEASUREITEMSTRUCT mi{ODT_MENU, 0, it.id, 0, 0, it.data};
      Send(owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mi));
      if (!(m = FindMenu(menu)) || i >= m->items.size()) return SIZE{0, 0};
      h = static_cast<int>(mi.itemHeight);
      drawnWidth = std::max(drawnWidth, static_cast<int>(mi.itemWidth));
    } else if (IsSeparator(it)) {
      h = kSeparatorHeight;
    } else {
      SIZE label = TextSize(measure.dc, Label(it.text), true);
      labelWidth = std::max(labelWidth, static_cast<int>(label.cx));
      std::string key = KeyText(it.text);
      if (!key.empty()) keyWidth = std::max(keyWidth, static_cast<int>(TextSize(measure.dc, key, false).cx));
      h = std::max(h, static_cast<int>(label.cy) + 4);
    }
    heights.push_back(h);
  }
  int inner = checkColumn + labelWidth + (keyWidth ? kKeyGap + keyWidth : 0) + kArrowColumn;
  inner = std::max(inner, drawnWidth);
  int y = kPopupBorder;
  for (size_t i = 0; i < m->items.size(); ++i) {
    m->items[i].rect = RECT{kPopupBorder, y, kPopupBorder + inner, y + heights[i]};
    y += heights[i];
  }
  return SIZE{inner + 2 * kPopupBorder, y + kPopupBorder};
}

// ---- Drawing ----------------------------------------------------------------------------

void DrawCheck(HDC dc, const RECT& column, COLORREF colour) {
  // A tick: two strokes, two pixels thick.
  int cx = (column.left + column.right) / 2, cy = (column.top + column.bottom) / 2;
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  HPEN old = SelectObject(dc, pen);
  for (int t = 0; t < 2; ++t) {
    MoveToEx(dc, cx - 4, cy - 1 + t, nullptr);
    LineTo(dc, cx - 1, cy + 2 + t);
    LineTo(dc, cx + 5, cy - 4 + t);
  }
  SelectObject(dc, old);
  DeleteObject(pen);
}

void DrawArrow(HDC dc, const RECT& item, COLORREF colour) {
  int x = item.right - kArrowColumn / 2 - 2, cy = (item.top + item.bottom) / 2;
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  HPEN old = SelectObject(dc, pen);
  for (int i = 0; i < 4; ++i) {
    MoveToEx(dc, x + i, cy - 3 + i, nullptr);
    LineTo(dc, x + i, cy + 4 - i);
  }
  SelectObject(dc, old);
  DeleteObject(pen);
}

void DrawPlainItem(HDC dc, const MenuItem& it, bool selected, bool inBar) {
  RECT r = it.rect;
  if (IsSeparator(it)) {
    FillRect(dc, &r, GetSysColorBrush(COLOR_MENU));
    if (inBar) return;
    int y = (r.top + r.bottom) / 2 - 1;
    RECT dark{r.left + 1, y, r.right - 1, y + 1}, light{r.left + 1, y + 1, r.right - 1, y + 2};
    FillRect(dc, &dark, GetSysColorBrush(COLOR_3DSHADOW));
    FillRect(dc, &light, GetSysColorBrush(COLOR_3DHILIGHT));
    return;
  }
  FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  COLORREF text = IsGrey(it) ? GetSysColor(COLOR_GRAYTEXT)
                  : selected ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                             : GetSysColor(COLOR_MENUTEXT);
  SetBkMode(dc, TRANSPARENT);
  if (inBar) {
    if (IsGrey(it) && !selected) {
      RECT shadow = r;
      OffsetRect(&shadow, 1, 1);
      SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
      std::string label = Label(it.text);
      DrawTextA(dc, label.c_str(), -1, &shadow, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    }
    SetTextColor(dc, text);
    std::string label = Label(it.text);
    DrawTextA(dc, label.c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    return;
  }
  const int checkColumn = GetSystemMetrics(SM_CXMENUCHECK) + 4;
  if (it.state & MF_CHECKED) DrawCheck(dc, RECT{r.left, r.top, r.left + checkColumn, r.bottom}, text);
  RECT label{r.left + checkColumn, r.top, r.right - kArrowColumn, r.bottom};
  std::string key = KeyText(it.text), name = Label(it.text);
  for (int pass = IsGrey(it) && !selected ? 0 : 1; pass < 2; ++pass) {
    // Greyed, unselected items are embossed: a light copy one pixel down and right.
    RECT l = label;
    if (pass == 0) OffsetRect(&l, 1, 1);
    SetTextColor(dc, pass == 0 ? GetSysColor(COLOR_3DHILIGHT) : text);
    DrawTextA(dc, name.c_str(), -1, &l, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    if (!key.empty()) DrawTextA(dc, key.c_str(), -1, &l, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
  }
  if (it.popup) DrawArrow(dc, r, text);
}

void DrawOwnerItem(HWND owner, HMENU menu, HDC dc, const MenuItem& it, bool selected) {
  UINT state = (selected ? ODS_SELECTED : 0u) | ((it.state & MF_GRAYED) ? ODS_GRAYED : 0u) |
               ((it.state & MF_DISABLED) ? ODS_DISABLED : 0u) | ((it.state & MF_CHECKED) ? ODS_CHECKED : 0u);
  DRAWITEMSTRUCT di{ODT_MENU, 0, it.id, ODA_DRAWENTIRE, state, reinterpret_cast<HWND>(menu), dc, it.rect, it.data};
  int saved = SaveDC(dc);
  Send(owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&di));
  RestoreDC(dc, saved);
}

}  // namespace

// ---- The loop's state ---------------------------------------------------------------------

namespace {

struct Level {
  HMENU menu = nullptr;
  HWND window = nullptr;  // the pop-up's window; the owner for the bar
  int selected = -1;
};

struct MenuLoop {
  HWND owner = nullptr;
  UINT flags = 0;
  bool bar = false;  // levels[0] is the owner's bar
  RECT exclude{};
  bool hasExclude = false;
  std::vector<Level> levels;
  bool done = false;
  UINT chosen = 0;
  bool chosenSystem = false;
  HWND chosenWindow = nullptr;  // the window a chosen system menu belongs to
  int idleStage = 0;
};

MenuLoop* g_loop = nullptr;
bool g_altAlone = false;  // Alt went down with no key since: its release opens the bar
MenuHook& Hook() {
  static MenuHook hook;
  return hook;
}

void ResetMenuLoop() {
  g_loop = nullptr;
  g_altAlone = false;
  Hook() = nullptr;
}
const bool kResetRegistered = RegisterGlobalReset(&ResetMenuLoop);

bool Notify(const MenuLoop& loop) { return !(loop.flags & TPM_NONOTIFY); }

MenuItem* ItemOf(const Level& level, int index) {
  MenuRecord* m = FindMenu(level.menu);
  if (!m || index < 0 || static_cast<size_t>(index) >= m->items.size()) return nullptr;
  return &m->items[static_cast<size_t>(index)];
}

const Level* LevelOfWindow(HWND hwnd) {
  if (!g_loop) return nullptr;
  for (const Level& l : g_loop->levels)
    if (l.window == hwnd && !(g_loop->bar && &l == &g_loop->levels[0])) return &l;
  return nullptr;
}

void PaintPopup(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  if (!dc) return;
  RECT rc;
  GetClientRect(hwnd, &rc);
  FillRect(dc, &rc, GetSysColorBrush(COLOR_MENU));
  // A raised frame: light on the top and left, dark on the bottom and right.
  RECT edges[] = {{0, 0, rc.right, 1}, {0, 0, 1, rc.bottom}, {0, rc.bottom - 1, rc.right, rc.bottom},
                  {rc.right - 1, 0, rc.right, rc.bottom}};
  int colours[] = {COLOR_3DLIGHT, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_3DDKSHADOW};
  for (int i = 0; i < 4; ++i) FillRect(dc, &edges[i], GetSysColorBrush(colours[i]));
  const Level* level = LevelOfWindow(hwnd);
  MenuRecord* m = level ? FindMenu(level->menu) : nullptr;
  if (m) {
    MenuFont font;
    HFONT old = font.font ? SelectObject(dc, font.font) : nullptr;
    HMENU menu = level->menu;
    HWND owner = g_loop->owner;
    for (size_t i = 0; (m = FindMenu(menu)) != nullptr && i < m->items.size(); ++i) {
      const Level* now = LevelOfWindow(hwnd);
      if (!now) break;
      bool selected = now->selected == static_cast<int>(i);
      MenuItem it = m->items[i];
      if (it.type & MFT_OWNERDRAW)
        DrawOwnerItem(owner, menu, dc, it, selected);
      else
        DrawPlainItem(dc, it, selected, false);
      if (!IsWindow(hwnd)) return;  // the owner's drawing closed the menu
    }
    if (old) SelectObject(dc, old);
  }
  EndPaint(hwnd, &ps);
}

LRESULT CALLBACK PopupProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: PaintPopup(hwnd); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

void Redraw(const MenuLoop& loop, size_t levelIndex, int item) {
  const Level& l = loop.levels[levelIndex];
  if (loop.bar && levelIndex == 0) {
    PaintMenuBar(loop.owner);
    return;
  }
  if (MenuItem* it = ItemOf(l, item)) InvalidateRect(l.window, &it->rect, FALSE);
}

void Select(MenuLoop& loop, size_t levelIndex, int item, bool mouse) {
  Level& l = loop.levels[levelIndex];
  if (l.selected == item) return;
  int old = l.selected;
  l.selected = item;
  Redraw(loop, levelIndex, old);
  Redraw(loop, levelIndex, item);
  MenuItem* it = ItemOf(l, item);
  if (!it || !Notify(loop)) return;
  UINT flags = (it->type | it->state | MF_HILITE | (mouse ? MF_MOUSESELECT : 0u) | (it->popup ? MF_POPUP : 0u)) &
               0xFFFF;
  if (MenuRecord* m = FindMenu(l.menu); m && m->system) flags |= MF_SYSMENU;
  UINT idOrIndex = it->popup ? static_cast<UINT>(item) : it->id;
  HMENU menu = l.menu;
  Send(loop.owner, WM_MENUSELECT, MAKEWPARAM(idOrIndex, flags), reinterpret_cast<LPARAM>(menu));
}

void CloseFrom(MenuLoop& loop, size_t levelIndex) {
  while (loop.levels.size() > levelIndex) {
    Level l = loop.levels.back();
    loop.levels.pop_back();
    if (!(loop.bar && loop.levels.empty())) DestroyWindow(l.window);
  }
}

// Keeps the pop-up rectangle on screen and clear of the exclusion area.
RECT PlacePopup(RECT r, const RECT* exclude, bool vertical) {
  RECT screen = pl3::ScreenRect();
  int w = r.right - r.left, h = r.bottom - r.top;
  RECT overlap;
  if (exclude && IntersectRect(&overlap, &r, exclude)) {
    if (vertical) {
      OffsetRect(&r, 0, exclude->bottom - r.top);
      if (r.bottom > screen.bottom) OffsetRect(&r, 0, exclude->top - h - r.top);
    } else {
      OffsetRect(&r, exclude->right - r.left, 0);
      if (r.right > screen.right) OffsetRect(&r, exclude->left - w - r.left, 0);
    }
  }
  if (r.right > screen.right) OffsetRect(&r, screen.right - r.right, 0);
  if (r.bottom > screen.bottom) OffsetRect(&r, 0, screen.bottom - r.bottom);
  if (r.left < screen.left) OffsetRect(&r, screen.left - r.left, 0);
  if (r.top < screen.top) OffsetRect(&r, 0, screen.top - r.top);
  return r;
}

// Shows a pop-up window for `menu` at `r` as the loop's next level.
bool ShowPopup(MenuLoop& loop, HMENU menu, const RECT& r) {
  HWND window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kPopupClass, "", WS_POPUP,
                                r.left, r.top, r.right - r.left, r.bottom - r.top, loop.owner, nullptr, nullptr,
                                nullptr);
  if (!window) return false;
  loop.levels.push_back(Level{menu, window, -1});
  ShowWindow(window, SW_SHOWNA);
  return IsWindow(window) != FALSE;
}

// Opens `menu` as a pop-up next to `anchor` (a screen rectangle: the bar
// item it drops from, or the item it cascades from); false when the menu
// went away meanwhile.
bool OpenPopup(MenuLoop& loop, HMENU menu, int parentIndex, const RECT& anchor, bool below) {
  if (Notify(loop)) {
    MenuRecord* m = FindMenu(menu);
    LPARAM l = MAKELPARAM(static_cast<WORD>(parentIndex), m && m->system ? 1 : 0);
    Send(loop.owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), l);
  }
  if (!FindMenu(menu) || !IsWindow(loop.owner) || loop.done) return false;
  SIZE size = LayoutPopup(loop.owner, menu);
  if (!FindMenu(menu) || !IsWindow(loop.owner)) return false;
  RECT r;
  if (below) {
    r = RECT{anchor.left, anchor.bottom, anchor.left + size.cx, anchor.bottom + size.cy};
    r = PlacePopup(r, &anchor, true);
  } else {
    r = RECT{anchor.right - kPopupBorder, anchor.top - kPopupBorder, 0, 0};
    r.right = r.left + size.cx;
    r.bottom = r.top + size.cy;
    RECT parent = anchor;
    parent.left -= kPopupBorder;  // the cascade may step back over the parent, never onto its item
    r = PlacePopup(r, &parent, false);
  }
  return ShowPopup(loop, menu, r);
}

// The item's screen rectangle.
RECT ItemScreenRect(const MenuLoop& loop, size_t levelIndex, int item) {
  const Level& l = loop.levels[levelIndex];
  MenuItem* it = ItemOf(l, item);
  if (!it) return RECT{};
  RECT r = it->rect;
  RECT win{};
  GetWindowRect(l.window, &win);
  OffsetRect(&r, win.left, win.top);
  return r;
}

// Opens the pop-up of the selected item of a level (selecting its first
// item when asked).
void OpenSelected(MenuLoop& loop, size_t levelIndex, bool selectFirst);

int NextSelectable(const Level& l, int from, int step) {
  MenuRecord* m = FindMenu(l.menu);
  if (!m || m->items.empty()) return -1;
  int n = static_cast<int>(m->items.size());
  int i = from;
  for (int k = 0; k < n; ++k) {
    i = ((i + step) % n + n) % n;
    if (from < 0 && k == 0 && step > 0) i = 0;
    if (from < 0 && k == 0 && step < 0) i = n - 1;
    if (!IsSeparator(m->items[static_cast<size_t>(i)])) return i;
  }
  return -1;
}

void OpenSelected(MenuLoop& loop, size_t levelIndex, bool selectFirst) {
  CloseFrom(loop, levelIndex + 1);
  Level& l = loop.levels[levelIndex];
  MenuItem* it = ItemOf(l, l.selected);
  if (!it || !it->popup || IsGrey(*it)) return;
  HMENU sub = it->popup;
  bool below = loop.bar && levelIndex == 0;
  RECT anchor = ItemScreenRect(loop, levelIndex, l.selected);
  if (!OpenPopup(loop, sub, l.selected, anchor, below)) {
    if (!FindMenu(sub) || !IsWindow(loop.owner)) loop.done = true;
    return;
  }
  if (selectFirst) Select(loop, loop.levels.size() - 1, NextSelectable(loop.levels.back(), -1, 1), false);
}

void Choose(MenuLoop& loop, size_t levelIndex, int item) {
  MenuItem* it = ItemOf(loop.levels[levelIndex], item);
  if (!it || IsSeparator(*it) || IsGrey(*it)) return;
  if (it->popup) {
    loop.levels[levelIndex].selected = item;
    OpenSelected(loop, levelIndex, true);
    return;
  }
  MenuRecord* m = FindMenu(loop.levels[levelIndex].menu);
  loop.chosen = it->id;
  loop.chosenSystem = m && m->system;
  loop.chosenWindow = m ? m->window : nullptr;
  loop.done = true;
}

// The level and item under a screen point; false when it is over no menu.
bool HitTest(const MenuLoop& loop, POINT pt, size_t* level, int* item) {
  for (size_t i = loop.levels.size(); i-- > 0;) {
    const Level& l = loop.levels[i];
    if (loop.bar && i == 0) {
      int at = MenuBarItemAt(loop.owner, pt);
      if (at < 0) continue;
      *level = 0;
      *item = at;
      return true;
    }
    RECT win{};
    if (!GetWindowRect(l.window, &win) || !PtInRect(&win, pt)) continue;
    *level = i;
    *item = -1;
    if (MenuRecord* m = FindMenu(l.menu))
      for (size_t k = 0; k < m->items.size(); ++k) {
        RECT r = m->items[k].rect;
        OffsetRect(&r, win.left, win.top);
        if (PtInRect(&r, pt)) *item = static_cast<int>(k);
      }
    return true;
  }
  return false;
}

bool IsButton(UINT m, bool down) {
  switch (m) {
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN: case WM_NCMBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: case WM_NCRBUTTONDBLCLK: case WM_NCMBUTTONDBLCLK:
      return down;
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP: case WM_NCLBUTTONUP: case WM_NCRBUTTONUP:
    case WM_NCMBUTTONUP:
      return !down;
    default: return false;
  }
}

bool IsRightButton(UINT m) {
  return m == WM_RBUTTONDOWN || m == WM_RBUTTONUP || m == WM_RBUTTONDBLCLK || m == WM_NCRBUTTONDOWN ||
         m == WM_NCRBUTTONUP || m == WM_NCRBUTTONDBLCLK;
}

// Returns false when the message must stay in the queue for the window under it.
bool HandleMouse(MenuLoop& loop, const MSG& m) {
  size_t level = 0;
  int item = -1;
  bool hit = HitTest(loop, m.pt, &level, &item);
  bool onBar = hit && loop.bar && level == 0;
  if (m.message == WM_MOUSEMOVE || m.message == WM_NCMOUSEMOVE) {
    if (!hit || item < 0) return true;
    if (onBar) {
      // Sliding along the bar with a pop-up open opens the one under the pointer.
      if (loop.levels.size() > 1 && loop.levels[0].selected != item) {
        CloseFrom(loop, 1);
        Select(loop, 0, item, true);
        OpenSelected(loop, 0, false);
      }
      return true;
    }
    MenuItem* it = ItemOf(loop.levels[level], item);
    if (!it || IsSeparator(*it)) return true;
    bool alreadyOpen = loop.levels[level].selected == item && loop.levels.size() > level + 1;
    if (alreadyOpen) return true;
    CloseFrom(loop, level + 1);
    Select(loop, level, item, true);
    if (!loop.done && it->popup) OpenSelected(loop, level, false);
    return true;
  }
  if (IsButton(m.message, true)) {
    if (!hit) {
      loop.done = true;  // a click elsewhere closes the menu and goes on to its window
      return false;
    }
    if (onBar && item >= 0) {
      if (loop.levels[0].selected == item && loop.levels.size() > 1) {
        loop.done = true;
      } else {
        CloseFrom(loop, 1);
        Select(loop, 0, item, true);
        OpenSelected(loop, 0, false);
      }
    }
    return true;
  }
  if (IsButton(m.message, false)) {
    if (onBar) {
      // A command on the bar itself is chosen by releasing the button on it.
      MenuItem* it = ItemOf(loop.levels[0], item);
      if (it && !it->popup && loop.levels[0].selected == item && !IsRightButton(m.message)) Choose(loop, 0, item);
      return true;
    }
    if (!hit || item < 0) return true;
    if (IsRightButton(m.message) && !(loop.flags & TPM_RIGHTBUTTON)) return true;
    Choose(loop, level, item);
  }
  return true;
}

// The mnemonic `ch` in the deepest level: selects the item, and opens it or chooses it.
void HandleMnemonic(MenuLoop& loop, int ch) {
  size_t level = loop.levels.size() - 1;
  MenuRecord* m = FindMenu(loop.levels[level].menu);
  int lower = AsciiLower(static_cast<char>(ch));
  if (m)
    for (size_t i = 0; i < m->items.size(); ++i)
      if (!IsSeparator(m->items[i]) && Mnemonic(m->items[i].text) == static_cast<unsigned char>(lower)) {
        Select(loop, level, static_cast<int>(i), false);
        if (!loop.done) Choose(loop, level, static_cast<int>(i));
        return;
      }
  MessageBeep(0);
}

void HandleKey(MenuLoop& loop, const MSG& m) {
  size_t last = loop.levels.size() - 1;
  Level& deepest = loop.levels[last];
  bool barOnly = loop.bar && last == 0;
  switch (m.wParam) {
    case VK_ESCAPE:
      if (last == 0)
        loop.done = true;
      else
        CloseFrom(loop, last);
      return;
    case VK_MENU:
    case VK_F10:
      loop.done = true;
      return;
    case VK_UP:
    case VK_DOWN:
      if (barOnly) {
        OpenSelected(loop, 0, true);
      } else {
        Select(loop, last, NextSelectable(deepest, deepest.selected, m.wParam == VK_DOWN ? 1 : -1), false);
      }
      return;
    case VK_LEFT:
    case VK_RIGHT: {
      bool right = m.wParam == VK_RIGHT;
      MenuItem* it = ItemOf(deepest, deepest.selected);
      if (!barOnly && right && it && it->popup && !IsGrey(*it)) {
        OpenSelected(loop, last, true);
      } else if (!barOnly && !right && last > 1) {
        CloseFrom(loop, last);
      } else if (loop.bar) {
        // Along the bar, keeping a pop-up open when one was.
        bool wasOpen = loop.levels.size() > 1;
        CloseFrom(loop, 1);
        Select(loop, 0, NextSelectable(loop.levels[0], loop.levels[0].selected, right ? 1 : -1), false);
        if (wasOpen) OpenSelected(loop, 0, true);
      } else if (!right && last > 0) {
        CloseFrom(loop, last);
      }
      return;
    }
    case VK_RETURN:
      // A pop-up item opens (its first item selected), a command is chosen.
      if (deepest.selected >= 0) Choose(loop, last, deepest.selected);
      return;
    default: TranslateMessage(&m); return;
  }
}

bool LoopBroken(const MenuLoop& loop) {
  if (!IsWindow(loop.owner)) return true;
  for (size_t i = 0; i < loop.levels.size(); ++i)
    if (!IsMenu(loop.levels[i].menu) || !IsWindow(loop.levels[i].window)) return true;
  return loop.levels.empty();
}

void Idle(MenuLoop& loop) {
  int stage = loop.idleStage++;
  if (backend::Active().realDisplay) {
    if (stage == 0 && Hook()) Hook()(loop.levels[0].menu, loop.owner);
    if (stage > 0) {
      // Sleep until input comes, or the next timer is due.
      std::uint64_t now = Now(), due = NextTimerDue();
      std::uint64_t wait = due == kNoTimerDue ? 50 : (due > now ? std::min<std::uint64_t>(due - now, 50) : 0);
      backend::Active().pollEvents(static_cast<int>(wait));
    }
    return;
  }
  if (stage == 0 && Hook()) {
    MenuHook hook = Hook();  // the hook may replace itself
    hook(loop.levels[0].menu, loop.owner);
    return;
  }
  // Nobody else will act on a headless menu.
  loop.done = true;
}

// Runs the loop once its first level is in place; returns the chosen id (0 when dismissed).
UINT RunLoop(MenuLoop& loop) {
  while (!loop.done && !LoopBroken(loop)) {
    MSG m;
    if (!PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      Idle(loop);
      continue;
    }
    if (m.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(m.wParam));
      break;
    }
    bool mouse = (m.message >= WM_MOUSEFIRST && m.message <= WM_MOUSELAST && m.message != WM_MOUSEWHEEL) ||
                 (m.message >= WM_NCMOUSEMOVE && m.message <= WM_NCMBUTTONDBLCLK);
    if (mouse) {
      // The click that closes the menu goes back to the queue for its window.
      if (!HandleMouse(loop, m)) S().queue.push_front(QueuedMessage{m, false});
    } else if (m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN) {
      HandleKey(loop, m);
    } else if (m.message == WM_CHAR || m.message == WM_SYSCHAR) {
      HandleMnemonic(loop, static_cast<int>(m.wParam));
    } else if (m.message == WM_KEYUP || m.message == WM_SYSKEYUP || m.message == WM_MOUSEWHEEL) {
      // Taken by the menu.
    } else {
      DispatchMessageA(&m);
    }
  }
  return loop.chosen;
}

// Ends a loop: closes its windows and tells the owner.
void FinishLoop(MenuLoop& loop, bool popupMenu) {
  CloseFrom(loop, loop.bar ? 1 : 0);
  if (g_loop == &loop) g_loop = nullptr;
  if (loop.bar && !loop.levels.empty()) {
    loop.levels[0].selected = -1;
    if (IsWindow(loop.owner)) PaintMenuBar(loop.owner);
  }
  if (!IsWindow(loop.owner) || !Notify(loop)) return;
  Send(loop.owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
  if (IsWindow(loop.owner)) Send(loop.owner, WM_EXITMENULOOP, popupMenu ? TRUE : FALSE, 0);
}

bool StartLoop(MenuLoop& loop, HMENU top, bool popupMenu) {
  if (g_loop) {
    SetLastError(ERROR_POPUP_ALREADY_ACTIVE);
    return false;
  }
  g_loop = &loop;  // FinishLoop ends it
  if (GetCapture()) ReleaseCapture();
  if (Notify(loop)) {
    Send(loop.owner, WM_ENTERMENULOOP, popupMenu ? TRUE : FALSE, 0);
    if (IsWindow(loop.owner) && IsMenu(top)) Send(loop.owner, WM_INITMENU, reinterpret_cast<WPARAM>(top), 0);
  }
  return IsWindow(loop.owner) && IsMenu(top);
}

// Hands the chosen command to the owner.
void Deliver(const MenuLoop& loop) {
  if (!loop.chosen || !IsWindow(loop.owner)) return;
  if (loop.chosenSystem)
    PostMessageA(IsWindow(loop.chosenWindow) ? loop.chosenWindow : loop.owner, WM_SYSCOMMAND, loop.chosen, 0);
  else
    PostMessageA(loop.owner, WM_COMMAND, MAKEWPARAM(loop.chosen, 0), 0);
}

BOOL TrackPopup(HMENU menu, UINT flags, int x, int y, HWND owner, const RECT* exclude) {
  MenuRecord* m = FindMenu(menu);
  if (!m) return FALSE;
  if (!IsWindow(owner)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  MenuLoop loop;
  loop.owner = owner;
  loop.flags = flags;
  if (!StartLoop(loop, menu, true)) {
    if (g_loop == &loop) FinishLoop(loop, true);
    return FALSE;
  }
  if (Notify(loop)) Send(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, m->system ? 1 : 0));
  UINT chosen = 0;
  bool shown = false;
  SIZE size = IsWindow(owner) && IsMenu(menu) ? LayoutPopup(owner, menu) : SIZE{0, 0};
  if (IsWindow(owner) && IsMenu(menu)) {
    // At the point, aligned as asked, then kept clear of `exclude` and on screen.
    int left = x - ((flags & TPM_RIGHTALIGN) ? size.cx : (flags & TPM_CENTERALIGN) ? size.cx / 2 : 0);
    int top = y - ((flags & TPM_BOTTOMALIGN) ? size.cy : (flags & TPM_VCENTERALIGN) ? size.cy / 2 : 0);
    RECT r = PlacePopup(RECT{left, top, left + size.cx, top + size.cy}, exclude, (flags & TPM_VERTICAL) != 0);
    shown = ShowPopup(loop, menu, r);
    if (shown) chosen = RunLoop(loop);
  }
  FinishLoop(loop, true);
  if (flags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
  loop.chosen = chosen;
  Deliver(loop);
  return shown ? TRUE : FALSE;  // a menu dismissed was still shown
}

void TrackBar(HWND hwnd, int item, int key) {
  HWND top = TopLevelOf(hwnd);
  WindowRecord* w = Find(top);
  if (!w || !w->menu || !FindMenu(w->menu) || FindMenu(w->menu)->items.empty()) return;
  MenuLoop loop;
  loop.owner = top;
  loop.bar = true;
  HMENU bar = w->menu;
  if (!StartLoop(loop, bar, false)) {
    if (g_loop == &loop) FinishLoop(loop, false);
    return;
  }
  loop.levels.push_back(Level{bar, top, -1});
  if (item >= 0) {
    Select(loop, 0, item, true);
    OpenSelected(loop, 0, false);
  } else if (key) {
    HandleMnemonic(loop, key);
    if (loop.levels.size() < 2 && !loop.done) loop.done = true;  // no such item: the beep was all
  } else {
    Select(loop, 0, NextSelectable(loop.levels[0], -1, 1), false);
  }
  UINT chosen = loop.done ? loop.chosen : RunLoop(loop);
  loop.chosen = chosen;
  FinishLoop(loop, false);
  Deliver(loop);
}

}  // namespace

// ---- The bar ----------------------------------------------------------------------------------

int MenuBarHeight(HMENU menu, int width) { return LayoutBar(FindMenu(menu), width); }

int MenuBarHeightOf(WindowRecord* w) {
  if (!w || w->parent || (w->style & WS_CHILD) || !w->menu || !IsMenu(w->menu)) return 0;
  return MenuBarHeight(w->menu, w->rect.right - w->rect.left);
}

void PaintMenuBar(HWND hwnd) {
  WindowRecord* w = Find(hwnd);
  int height = MenuBarHeightOf(w);
  if (!height) return;
  HDC dc = GetWindowDC(hwnd);
  if (!dc) return;
  RECT band{0, 0, w->rect.right - w->rect.left, height};
  FillRect(dc, &band, GetSysColorBrush(COLOR_MENU));
  MenuFont font;
  HFONT old = font.font ? SelectObject(dc, font.font) : nullptr;
  int selected = (g_loop && g_loop->bar && g_loop->owner == hwnd) ? g_loop->levels[0].selected : -1;
  if (MenuRecord* m = FindMenu(w->menu))
    for (size_t i = 0; i < m->items.size(); ++i) DrawPlainItem(dc, m->items[i], selected == static_cast<int>(i), true);
  if (old) SelectObject(dc, old);
  ReleaseDC(hwnd, dc);
}

RECT MenuBarScreenRect(HWND hwnd) {
  WindowRecord* w = Find(hwnd);
  int height = MenuBarHeightOf(w);
  if (!height) return RECT{};
  RECT r = WindowScreenRect(w);
  r.bottom = r.top + height;
  return r;
}

int MenuBarItemAt(HWND hwnd, POINT screen) {
  WindowRecord* w = Find(hwnd);
  if (!MenuBarHeightOf(w)) return -1;
  RECT win = WindowScreenRect(w);
  POINT p{screen.x - win.left, screen.y - win.top};
  MenuRecord* m = FindMenu(w->menu);
  for (size_t i = 0; i < m->items.size(); ++i)
    if (PtInRect(&m->items[i].rect, p)) return static_cast<int>(i);
  return -1;
}

void TrackMenuBarMouse(HWND hwnd, int item) { TrackBar(hwnd, item, 0); }
void TrackMenuBarKey(HWND hwnd, int key) { TrackBar(hwnd, -1, key); }

bool ShownPopupItemRect(HMENU menu, UINT position, RECT* out) {
  if (!g_loop) return false;
  for (size_t i = g_loop->bar ? 1 : 0; i < g_loop->levels.size(); ++i)
    if (g_loop->levels[i].menu == menu && ItemOf(g_loop->levels[i], static_cast<int>(position))) {
      *out = ItemScreenRect(*g_loop, i, static_cast<int>(position));
      return true;
    }
  return false;
}

void RegisterMenuClass() {
  AddSystemClass(kPopupClass, CS_SAVEBITS, &PopupProc, 0, LoadCursorA(nullptr, IDC_ARROW), nullptr);
}

bool DefaultMenuKey(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SYSKEYDOWN:
      g_altAlone = wParam == VK_MENU && !(lParam & (1L << 30));
      if (wParam == VK_F10) {
        Send(TopLevelOf(hwnd), WM_SYSCOMMAND, SC_KEYMENU, 0);
        return true;
      }
      return false;
    case WM_SYSKEYUP:
      if (wParam == VK_MENU && g_altAlone) {
        g_altAlone = false;
        Send(TopLevelOf(hwnd), WM_SYSCOMMAND, SC_KEYMENU, 0);
        return true;
      }
      return false;
    case WM_KEYDOWN: g_altAlone = false; return false;
    case WM_SYSCHAR:
      g_altAlone = false;
      if (lParam & (1L << 29)) {
        Send(TopLevelOf(hwnd), WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(wParam));
        return true;
      }
      return false;
    default: return false;
  }
}

}  // namespace pl3::user

using namespace pl3::user;

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
  return TrackPopup(menu, flags, x, y, owner, nullptr);
}

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params) {
  return TrackPopup(menu, flags, x, y, owner, params ? &params->rcExclude : nullptr);
}

BOOL EndMenu() {
  if (!g_loop) return FALSE;
  g_loop->done = true;
  g_loop->chosen = 0;
  return TRUE;
}

void pl3::SetMenuHook(MenuHook hook) { Hook() = std::move(hook); }
void pl3::ClearMenuHook() { Hook() = nullptr; }
