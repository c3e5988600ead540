#include "app/owner_drawn_menus.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/command_table.h"
#include "app/core_utilities.h"
#include "app/pending_services.h"
#include "draw/image_cache.h"
#include "draw/ui_colours.h"
#include "edit/engine_seams.h"
#include "edit/window_data.h"
#include "objects/item_helper_seams.h"
#include "platform/frame_drawing.h"
#include "platform/gdi.h"
#include "platform/mdi.h"
#include "platform/reset_hooks.h"
#include "platform/resource_images.h"
#include "platform/resources.h"

ImageCache* ProgramIconCache = nullptr;

namespace {

constexpr int kImageColumn = 18;
constexpr int kTextLeft = 21;
constexpr int kShortcutRight = 16;
constexpr int kSwatchWidth = 30;
constexpr std::uint32_t kFirstRecentId = 4008;
constexpr std::uint32_t kLastRecentId = 4011;

void ForgetCache() { ProgramIconCache = nullptr; }
const bool gRegistered = pl3::RegisterGlobalReset(&ForgetCache);

bool FlatMenus() {
  BOOL flat = FALSE;
  SystemParametersInfoA(SPI_GETFLATMENU, 0, &flat, 0);
  return flat != FALSE;
}

HFONT FontOf(const OwnerDrawnMenuRecord& record) {
  return record.font ? record.font : reinterpret_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

OwnerDrawnMenuRecord* RecordOf(ULONG_PTR data) { return reinterpret_cast<OwnerDrawnMenuRecord*>(data); }

// The command table's key text of an item for the active window's kind.
const char* KeyTextFor(std::uint32_t id) {
  const std::uint32_t kind = ActiveWindowData ? ActiveWindowData->editorKind : 0;
  return GetCommandKeyText(kind, id);
}

// The text before the first tab, as a new heap string.
char* TextBeforeTab(const char* text) {
  const char* s = text ? text : "";
  const std::size_t n = std::strcspn(s, "\t");
  auto* copy = static_cast<char*>(std::malloc(n + 1));
  std::memcpy(copy, s, n);
  copy[n] = '\0';
  return copy;
}

BOOL CollectIconGroupId(HMODULE, LPCSTR, LPSTR name, LONG_PTR param) {
  const auto value = reinterpret_cast<std::uintptr_t>(name);
  if (value != 0 && value < 0x10000) reinterpret_cast<std::vector<std::uint32_t>*>(param)->push_back(static_cast<std::uint32_t>(value));
  return TRUE;
}

// The program's icon groups are fixed when it starts: they are listed once,
// sorted, rather than looked up among all resources for every menu item.
bool HasIconGroup(std::uint32_t id) {
  static const std::vector<std::uint32_t> ids = [] {
    std::vector<std::uint32_t> found;
    EnumResourceNamesA(nullptr, RT_GROUP_ICON, &CollectIconGroupId, reinterpret_cast<LONG_PTR>(&found));
    std::sort(found.begin(), found.end());
    return found;
  }();
  return id != 0 && std::binary_search(ids.begin(), ids.end(), id);
}

struct ItemText {
  MENUITEMINFOA info;
  char text[1024];
};

bool ReadItem(HMENU menu, int position, ItemText* out) {
  std::memset(out, 0, sizeof *out);
  out->info.cbSize = sizeof(MENUITEMINFOA);
  out->info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA | MIIM_FTYPE | MIIM_STRING;
  out->info.dwTypeData = out->text;
  out->info.cch = sizeof out->text;
  return GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &out->info) != FALSE;
}

// Measures the text and key text of one item; the quirk of measuring as many
// leading characters as the text holds other than "&" is kept.
void MeasureText(HDC dc, const char* text, std::uint32_t id, std::int32_t* width, std::int32_t* height) {
  const std::size_t before = std::strcspn(text, "\t");
  int count = 0;
  for (std::size_t i = 0; i < before; ++i)
    if (text[i] != '&') ++count;
  SIZE size{};
  GetTextExtentPoint32A(dc, text, count, &size);
  int w = size.cx;
  if (const char* key = KeyTextFor(id)) {
    SIZE keySize{};
    GetTextExtentPoint32A(dc, key, static_cast<int>(std::strlen(key)), &keySize);
    w += keySize.cx + 10;
  }
  *width = std::max(*width, w);
  *height = std::max<std::int32_t>(*height, size.cy);
}

template <typename TextOf>
void MeasureWith(HMENU popup, std::int32_t* width, std::int32_t* height, TextOf textOf) {
  *width = 0;
  *height = 0;
  HFONT font = CreateMenuFont();
  HDC dc = CreateMeasuringDC();
  auto old = SelectObject(dc, font);
  const int count = GetMenuItemCount(popup);
  for (int i = 0; i < count; ++i) {
    ItemText item;
    if (!ReadItem(popup, i, &item)) continue;
    if (const char* text = textOf(item)) MeasureText(dc, text, item.info.wID, width, height);
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(font);
}

void SetRecordSize(HMENU menu, std::int32_t width, std::int32_t height) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    ItemText item;
    if (!ReadItem(menu, i, &item)) continue;
    if (OwnerDrawnMenuRecord* r = RecordOf(item.info.dwItemData); r && (item.info.fType & MFT_OWNERDRAW) && r->kind == 1) {
      r->width = width;
      r->height = height;
    }
    if (item.info.hSubMenu && !IsSystemMenuOfFrame(item.info.hSubMenu)) RefreshOwnerDrawnMenu(item.info.hSubMenu, 0);
  }
}

void DrawImage(HDC dc, const OwnerDrawnMenuRecord& record, int x, int y, bool greyed) {
  if (const int entry = FindCachedImage(ProgramIconCache, record.image, 16, 16); entry > 0) {
    DrawCachedImage(ProgramIconCache, dc, x, y, entry - 1, greyed ? 1 : 0);
    return;
  }
  HICON icon = static_cast<HICON>(LoadImageA(nullptr, MAKEINTRESOURCE(record.image), IMAGE_ICON, 16, 16, LR_SHARED));
  if (!icon) return;
  if (greyed)
    DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y, 16, 16, DST_ICON | DSS_DISABLED);
  else
    DrawIconEx(dc, x, y, icon, 16, 16, 0, nullptr, DI_NORMAL);
}

void DrawCheckMark(HDC dc, const RECT& column) {
  const int cx = GetSystemMetrics(SM_CXMENUCHECK), cy = GetSystemMetrics(SM_CYMENUCHECK);
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP mono = CreateBitmap(cx, cy, 1, 1, nullptr);
  auto old = SelectObject(memory, mono);
  RECT r{0, 0, cx, cy};
  DrawFrameControl(memory, &r, DFC_MENU, DFCS_MENUCHECK);
  BitBlt(dc, column.left + 1 + cx / 4, column.top + 1 + cy / 4, cx, cy, memory, 0, 0, SRCAND);
  SelectObject(memory, old);
  DeleteObject(mono);
  DeleteDC(memory);
}

void DrawTextItem(const DRAWITEMSTRUCT& d, const OwnerDrawnMenuRecord& record) {
  HDC dc = d.hDC;
  RECT item = d.rcItem;
  const bool flat = FlatMenus();
  const bool selected = (d.itemState & ODS_SELECTED) != 0;
  const bool greyed = (d.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
  const bool checked = (d.itemState & ODS_CHECKED) != 0;
  const bool separator = (record.info.fType & MFT_SEPARATOR) != 0;

  if (separator) {
    FillRect(dc, &item, GetSysColorBrush(COLOR_MENU));
    if (flat) {
      HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
      auto old = SelectObject(dc, pen);
      const int y = (item.top + item.bottom) / 2;
      MoveToEx(dc, item.left + GetSystemMetrics(SM_CXMENUCHECK) + 5, y, nullptr);
      LineTo(dc, item.right, y);
      SelectObject(dc, old);
      DeleteObject(pen);
    } else {
      RECT line{item.left, item.top + 1, item.right, item.top + 3};
      DrawEdge(dc, &line, BDR_SUNKENOUTER, BF_TOP | BF_BOTTOM);
    }
    return;
  }

  COLORREF back = GetSysColor(COLOR_MENU), fore = GetSysColor(COLOR_MENUTEXT), fill = back;
  if (flat) {
    if (selected && greyed) fore = GetSysColor(COLOR_GRAYTEXT);
    else if (selected) fill = back = GetUIColour(18);
  } else if (selected) {
    back = GetSysColor(COLOR_HIGHLIGHT);
    fore = GetSysColor(COLOR_HIGHLIGHTTEXT);
    fill = GetUIColour(18);
  }

  RECT column{item.left, item.top, item.left + kImageColumn, item.bottom};
  const bool imageFrame = !flat && (record.image || (record.info.fType & MFT_RADIOCHECK)) && selected && !greyed;
  HBRUSH backBrush = CreateSolidBrush(back);
  if (imageFrame) {
    FillRect(dc, &column, backBrush);
    DrawEdge(dc, &column, BDR_RAISEDINNER, BF_RECT);
  } else {
    FillRect(dc, &column, backBrush);
  }
  DeleteObject(backBrush);
  RECT textArea{imageFrame ? item.left + kImageColumn + 1 : item.left, item.top, item.right, item.bottom};
  if (!imageFrame && record.image) textArea.left = item.left + kImageColumn + 1;
  HBRUSH fillBrush = CreateSolidBrush(fill);
  FillRect(dc, &textArea, fillBrush);
  DeleteObject(fillBrush);

  if (record.image)
    DrawImage(dc, record, item.left + 1, item.top + 2, greyed);
  else if (checked)
    DrawCheckMark(dc, column);

  auto oldFont = SelectObject(dc, FontOf(record));
  SetBkMode(dc, TRANSPARENT);
  RECT text{item.left + kTextLeft, item.top, item.right - kShortcutRight, item.bottom};
  const UINT format = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
  const UINT keyFormat = DT_RIGHT | DT_VCENTER | DT_SINGLELINE;
  auto drawTexts = [&](RECT at, COLORREF colour) {
    SetTextColor(dc, colour);
    DrawTextA(dc, record.text ? record.text : "", -1, &at, format);
    if (record.shortcut) DrawTextA(dc, record.shortcut, -1, &at, keyFormat);
  };
  if (greyed && !selected) {
    RECT below = text;
    OffsetRect(&below, 1, 1);
    drawTexts(below, GetSysColor(COLOR_3DHIGHLIGHT));
    drawTexts(text, GetSysColor(COLOR_GRAYTEXT));
  } else {
    drawTexts(text, fore);
  }
  SelectObject(dc, oldFont);

  if (flat && selected && !greyed) {
    HBRUSH outline = CreateSolidBrush(GetSysColor(COLOR_HIGHLIGHT));
    FrameRect(dc, &item, outline);
    DeleteObject(outline);
  }
}

void DrawColourItem(const DRAWITEMSTRUCT& d, const OwnerDrawnMenuRecord& record) {
  HDC dc = d.hDC;
  const RECT item = d.rcItem;
  const bool selected = (d.itemState & ODS_SELECTED) != 0;
  RECT swatchArea{item.left, item.top, item.left + kSwatchWidth, item.bottom};
  RECT textArea{item.left + kSwatchWidth, item.top, item.right, item.bottom};
  FillRect(dc, &swatchArea, GetSysColorBrush(COLOR_MENU));
  if (selected) {
    DrawEdge(dc, &swatchArea, BDR_RAISEDINNER, BF_RECT);
    FillRect(dc, &textArea, GetSysColorBrush(COLOR_HIGHLIGHT));
  } else {
    FillRect(dc, &textArea, GetSysColorBrush(COLOR_MENU));
  }
  RECT swatch = swatchArea;
  InflateRect(&swatch, -2, -2);
  HBRUSH colour = CreateSolidBrush(record.entry);
  FillRect(dc, &swatch, colour);
  DeleteObject(colour);
  auto old = SelectObject(dc, FontOf(record));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  RECT text{item.left + 33, item.top, item.right, item.bottom};
  DrawTextA(dc, record.text ? record.text : "", -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  SelectObject(dc, old);
}

}  // namespace

HDC CreateMeasuringDC() { return CreateCompatibleDC(nullptr); }

HFONT CreateMenuFont() {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  return CreateFontIndirectA(&metrics.lfMenuFont);
}

OwnerDrawnMenuRecord* NewOwnerDrawnRecord(const char* text, std::uint32_t image, std::uint32_t entry) {
  auto* record = static_cast<OwnerDrawnMenuRecord*>(std::calloc(1, sizeof(OwnerDrawnMenuRecord)));
  record->kind = 1;
  record->text = TextBeforeTab(text);
  record->image = image;
  record->entry = entry;
  record->font = CreateMenuFont();
  return record;
}

// Retitles a text item whose record the item data names (the Undo and Redo
// captions); the shortcut stays. Colour items have no text to change.
void SetOwnerDrawnItemText(std::uintptr_t itemData, const char* text) {
  OwnerDrawnMenuRecord* record = RecordOf(itemData);
  if (!record || record->kind != 1 || !text) return;
  std::free(record->text);
  record->text = TextBeforeTab(text);
}

void FreeOwnerDrawnItem(OwnerDrawnMenuRecord* record) {
  if (!record) return;
  if (record->font) DeleteObject(record->font);
  std::free(record->text);
  if (record->kind == 1) std::free(record->shortcut);
  std::free(record);
}

bool IsSystemMenuOfFrame(HMENU menu) {
  if (!menu) return false;
  if (FrameWindow && menu == GetSystemMenu(FrameWindow, FALSE)) return true;
  if (ActiveWindowData && ActiveWindowData->Window && menu == GetSystemMenu(static_cast<HWND>(ActiveWindowData->Window), FALSE))
    return true;
  return false;
}

void MeasureMenuItems(HMENU popup, std::int32_t* width, std::int32_t* height) {
  MeasureWith(popup, width, height, [](const ItemText& item) -> const char* {
    return (item.info.fType & MFT_SEPARATOR) ? nullptr : item.text;
  });
}

void MeasureOwnerDrawnItems(HMENU popup, std::int32_t* width, std::int32_t* height) {
  MeasureWith(popup, width, height, [](const ItemText& item) -> const char* {
    OwnerDrawnMenuRecord* r = RecordOf(item.info.dwItemData);
    if (!(item.info.fType & MFT_OWNERDRAW) || !r || (item.info.fType & MFT_SEPARATOR)) return nullptr;
    return r->text;
  });
}

void MakeMenuOwnerDrawn(HMENU menu, int topLevel, int withExtras) {
  if (!IsMenu(menu)) return;
  std::int32_t width = 0, height = 0;
  if (!topLevel) MeasureMenuItems(menu, &width, &height);
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    ItemText item;
    if (!ReadItem(menu, i, &item)) continue;
    std::uint32_t image = 0;
    if (item.info.hSubMenu) {
      if (IsSystemMenuOfFrame(item.info.hSubMenu)) continue;
      MakeMenuOwnerDrawn(item.info.hSubMenu, 0, withExtras);
    } else if (withExtras && HasIconGroup(item.info.wID)) {
      image = item.info.wID;
    }
    if (topLevel) continue;
    OwnerDrawnMenuRecord* existing = (item.info.fType & MFT_OWNERDRAW) ? RecordOf(item.info.dwItemData) : nullptr;
    const bool recent = !item.info.hSubMenu && item.info.wID >= kFirstRecentId && item.info.wID <= kLastRecentId;
    if (recent && withExtras && existing) {
      existing->width = width;
      existing->height = height;
      std::free(existing->shortcut);
      existing->shortcut = nullptr;
      continue;
    }
    if (existing) continue;
    OwnerDrawnMenuRecord* record = NewOwnerDrawnRecord(item.text, image, 0);
    record->info = item.info;
    record->info.dwTypeData = nullptr;
    record->width = width;
    record->height = height;
    if (withExtras && !item.info.hSubMenu)
      if (const char* key = KeyTextFor(item.info.wID)) record->shortcut = DuplicateString(key);
    MENUITEMINFOA set{};
    set.cbSize = sizeof set;
    set.fMask = MIIM_FTYPE | MIIM_DATA;
    set.fType = item.info.fType | MFT_OWNERDRAW;
    set.dwItemData = reinterpret_cast<ULONG_PTR>(record);
    SetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &set);
  }
}

void FreeOwnerDrawnMenu(HMENU menu) {
  if (!IsMenu(menu)) return;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    ItemText item;
    if (!ReadItem(menu, i, &item)) continue;
    if (item.info.hSubMenu && !IsSystemMenuOfFrame(item.info.hSubMenu)) FreeOwnerDrawnMenu(item.info.hSubMenu);
    if (!(item.info.fType & MFT_OWNERDRAW) || !item.info.dwItemData) continue;
    FreeOwnerDrawnItem(RecordOf(item.info.dwItemData));
    // The item keeps no dangling record: a second free finds nothing.
    MENUITEMINFOA set{};
    set.cbSize = sizeof set;
    set.fMask = MIIM_DATA;
    set.dwItemData = 0;
    SetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &set);
  }
}

void RefreshOwnerDrawnMenu(HMENU menu, int topLevel) {
  if (!IsMenu(menu)) return;
  std::int32_t width = 0, height = 0;
  if (!topLevel) MeasureOwnerDrawnItems(menu, &width, &height);
  if (topLevel) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i)
      if (HMENU sub = GetSubMenu(menu, i); sub && !IsSystemMenuOfFrame(sub)) RefreshOwnerDrawnMenu(sub, 0);
    return;
  }
  SetRecordSize(menu, width, height);
}

int MeasureOwnerDrawnMenuItem(HWND, MEASUREITEMSTRUCT* measure) {
  if (!measure || measure->CtlType != ODT_MENU) return 0;
  const OwnerDrawnMenuRecord* record = RecordOf(measure->itemData);
  if (!record) return 0;
  if (record->kind == 2) {
    HDC dc = CreateMeasuringDC();
    auto old = SelectObject(dc, FontOf(*record));
    SIZE size{};
    const char* text = record->text ? record->text : "";
    GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
    SelectObject(dc, old);
    DeleteDC(dc);
    measure->itemWidth = static_cast<UINT>(size.cx + 32);
    measure->itemHeight = static_cast<UINT>(size.cy + 4);
    return 1;
  }
  if (record->info.fType & MFT_SEPARATOR) {
    measure->itemWidth = 0;
    measure->itemHeight = 5;
    return 1;
  }
  measure->itemWidth = static_cast<UINT>(record->width + 36);
  const int least = FlatMenus() ? 21 : 19;
  measure->itemHeight = static_cast<UINT>(std::max(record->height, least));
  return 1;
}

int DrawOwnerDrawnMenuItem(HWND, const DRAWITEMSTRUCT* draw) {
  if (!draw || draw->CtlType != ODT_MENU) return 0;
  const OwnerDrawnMenuRecord* record = RecordOf(draw->itemData);
  if (!record) return 0;
  if (record->kind == 2) {
    DrawColourItem(*draw, *record);
    return 1;
  }
  DrawTextItem(*draw, *record);
  if ((record->info.fType & MFT_SEPARATOR) && FlatMenus()) return 0;
  return 1;
}
