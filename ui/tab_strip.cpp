// The tab strip: a windowless row of tabs drawn into its owner's window, used
// by the frame's document tab bar (style 1) and the docking tab groups
// (style 2). Records and functions are declared in app/ui_seams.h.
#include <cstdlib>
#include <cstring>

#include "app/ui_seams.h"
#include "draw/ui_colours.h"
#include "platform/gdi.h"
#include "platform/resource_images.h"
#include "platform/user.h"

namespace {

constexpr int kFirstTabX = 5;
constexpr int kTabGap = 6;
constexpr int kIconRoom = 21;
constexpr int kRightReserve = 5;

HFONT MakeTahoma(int weight) {
  return CreateFontA(-11, 0, 0, 0, weight, 0, 0, 0, 0, 0, 0, 0, 0, "Tahoma");
}

int TextWidth(HDC dc, HFONT font, const char* text) {
  auto old = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
  SelectObject(dc, old);
  return size.cx;
}

}  // namespace

TabStrip* TabStrip_Create(std::uint32_t style) {
  auto* strip = static_cast<TabStrip*>(std::calloc(1, sizeof(TabStrip)));
  strip->regularFont = MakeTahoma(400);
  strip->boldFont = MakeTahoma(700);
  strip->style = style;
  return strip;
}

TabStripTab* TabStrip_AddTab(TabStrip* strip, const char* text, void* key) {
  if (!strip) return nullptr;
  auto* tab = static_cast<TabStripTab*>(std::calloc(1, sizeof(TabStripTab)));
  tab->text = strdup(text ? text : "");
  tab->key = key;
  TabStripTab** link = &strip->first;
  TabStripTab* last = nullptr;
  while (*link) {
    last = *link;
    link = &(*link)->next;
  }
  tab->previous = last;
  *link = tab;
  ++strip->count;
  return tab;
}

void TabStrip_RemoveTab(TabStrip* strip, TabStripTab* tab) {
  if (!strip || !tab || TabStrip_IndexOf(strip, tab) < 0) return;
  if (tab->previous) tab->previous->next = tab->next;
  else strip->first = tab->next;
  if (tab->next) tab->next->previous = tab->previous;
  if (strip->current == tab) strip->current = nullptr;
  --strip->count;
  std::free(tab->text);
  std::free(tab);
}

int TabStrip_IndexOf(const TabStrip* strip, const TabStripTab* tab) {
  if (!strip) return -1;
  int index = 0;
  for (const TabStripTab* t = strip->first; t; t = t->next, ++index)
    if (t == tab) return index;
  return -1;
}

TabStripTab* TabStrip_TabAt(const TabStrip* strip, int index) {
  if (!strip || index < 0) return nullptr;
  TabStripTab* t = strip->first;
  while (t && index-- > 0) t = t->next;
  return t;
}

void TabStrip_SetIcon(TabStripTab* tab, HICON icon) {
  if (tab) tab->icon = icon;
}

TabStripTab* TabStrip_HitTest(const TabStrip* strip, int x, int y) {
  if (!strip) return nullptr;
  const POINT p{x, y};
  for (TabStripTab* t = strip->first; t; t = t->next)
    if (PtInRect(&t->rect, p)) return t;
  return nullptr;
}

TabStripTab* TabStrip_FindByKey(const TabStrip* strip, const void* key) {
  if (!strip) return nullptr;
  for (TabStripTab* t = strip->first; t; t = t->next)
    if (t->key == key) return t;
  return nullptr;
}

void TabStrip_Draw(HDC dc, TabStrip* strip, const RECT* rect) {
  if (!dc || !strip || !rect) return;
  HBRUSH fill = CreateSolidBrush(GetUIColour(2));
  FillRect(dc, rect, fill);
  DeleteObject(fill);
  SetBkMode(dc, TRANSPARENT);
  const bool hanging = strip->style == 1;
  auto oldPen = SelectObject(dc, GetStockObject(hanging ? WHITE_PEN : BLACK_PEN));
  const int lineY = hanging ? rect->bottom - 1 : rect->top;
  MoveToEx(dc, rect->left, lineY, nullptr);
  LineTo(dc, rect->right, lineY);
  if (!strip->first) {
    SelectObject(dc, oldPen);
    return;
  }
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, rect->left, rect->top, rect->right - kRightReserve, rect->bottom);

  // Measure: every text in its font, the non-text part being the gaps and icons.
  int textSum = 0, total = kFirstTabX;
  for (TabStripTab* t = strip->first; t; t = t->next) {
    const int w = TextWidth(dc, t == strip->current ? strip->boldFont : strip->regularFont, t->text);
    textSum += w;
    total += w + (t->icon ? kIconRoom : 0) + kTabGap;
  }
  const int usable = (rect->right - rect->left) - kRightReserve;
  const int available = usable - (total - textSum);
  const bool shrink = textSum > available && textSum > 0;

  int x = rect->left + kFirstTabX;
  HPEN shadow = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
  for (TabStripTab* t = strip->first; t; t = t->next) {
    const bool current = t == strip->current;
    HFONT font = current ? strip->boldFont : strip->regularFont;
    int textWidth = TextWidth(dc, font, t->text);
    if (shrink) textWidth = available > 0 ? static_cast<int>(static_cast<long long>(textWidth) * available / textSum) : 0;
    const int width = textWidth + (t->icon ? kIconRoom : 0) + kTabGap;
    RECT tab{x, hanging ? rect->top : rect->top + 1, x + width, hanging ? rect->bottom - 1 : rect->bottom};
    if (current) {
      FillRect(dc, &tab, GetSysColorBrush(COLOR_BTNFACE));
      // White on the outer side, black on the far side.
      SelectObject(dc, GetStockObject(WHITE_PEN));
      if (hanging) {
        MoveToEx(dc, tab.left, tab.bottom, nullptr);
        LineTo(dc, tab.left, tab.top);
      } else {
        MoveToEx(dc, tab.left, tab.top, nullptr);
        LineTo(dc, tab.left, tab.bottom);
      }
      SelectObject(dc, GetStockObject(BLACK_PEN));
      if (hanging) {
        MoveToEx(dc, tab.left, tab.bottom - 1, nullptr);
        LineTo(dc, tab.right, tab.bottom - 1);
        LineTo(dc, tab.right, tab.top - 1);
      } else {
        MoveToEx(dc, tab.right, tab.top, nullptr);
        LineTo(dc, tab.right, tab.bottom - 1);
        LineTo(dc, tab.left, tab.bottom - 1);
      }
    } else {
      SelectObject(dc, shadow);
      MoveToEx(dc, tab.right, tab.top + 3, nullptr);
      LineTo(dc, tab.right, tab.bottom - 3);
    }
    int textX = tab.left + kTabGap / 2;
    if (t->icon) {
      const int iconY = hanging ? tab.bottom - 16 - 2 : tab.top + 2;
      DrawIconEx(dc, textX, iconY, t->icon, 16, 16, 0, nullptr, DI_NORMAL);
      textX += kIconRoom;
    }
    SetTextColor(dc, GetSysColor(current ? COLOR_BTNTEXT : COLOR_3DDKSHADOW));
    auto oldFont = SelectObject(dc, font);
    RECT text{textX, tab.top, textX + textWidth, tab.bottom};
    DrawTextA(dc, t->text, -1, &text,
              DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX | (hanging ? DT_BOTTOM : DT_TOP));
    SelectObject(dc, oldFont);
    t->rect = tab;
    x += width;
  }
  DeleteObject(shadow);
  RestoreDC(dc, saved);
  SelectObject(dc, oldPen);
}

void TabStrip_Destroy(TabStrip* strip) {
  if (!strip) return;
  DeleteObject(strip->regularFont);
  DeleteObject(strip->boldFont);
  for (TabStripTab* t = strip->first; t;) {
    TabStripTab* next = t->next;
    std::free(t->text);
    std::free(t);
    t = next;
  }
  std::free(strip);
}
