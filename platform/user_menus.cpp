// Menu handles and their items: building, changing and querying menus, menu
// templates in memory, menu bars and system menus.
#include <algorithm>
#include <cstring>
#include <memory>
#include <unordered_map>

#include "platform/code_page.h"
#include "platform/kernel_base.h"
#include "platform/menu_internal.h"
#include "platform/reset_hooks.h"
#include "platform/resources.h"

namespace pl3::user {

namespace {

struct MenuTable {
  std::unordered_map<HMENU, std::unique_ptr<MenuRecord>> menus;
  std::uintptr_t next = 0x20000;
};

MenuTable& Menus() {
  static MenuTable table;
  return table;
}

bool& FlatMenus() {
  static bool flat = false;
  return flat;
}

void ResetMenus() {
  Menus().menus.clear();
  Menus().next = 0x20000;
  FlatMenus() = false;
}

const bool kResetRegistered = RegisterGlobalReset(&ResetMenus);

HMENU NewMenu(bool popup) {
  MenuTable& t = Menus();
  auto rec = std::make_unique<MenuRecord>();
  rec->handle = reinterpret_cast<HMENU>(t.next);
  t.next += 4;
  rec->popup = popup;
  HMENU h = rec->handle;
  t.menus.emplace(h, std::move(rec));
  return h;
}

// Where an item lives: its menu and position.
struct ItemRef {
  MenuRecord* menu = nullptr;
  size_t index = 0;
  MenuItem* operator->() const { return &menu->items[index]; }
};

bool FindById(MenuRecord* m, UINT id, ItemRef* out, int depth) {
  if (depth > 32) return false;  // a menu hung under itself
  for (size_t i = 0; i < m->items.size(); ++i) {
    MenuItem& it = m->items[i];
    if (!it.popup && it.id == id && !(it.type & MFT_SEPARATOR)) {
      *out = ItemRef{m, i};
      return true;
    }
    auto sub = it.popup ? Menus().menus.find(it.popup) : Menus().menus.end();
    if (sub != Menus().menus.end() && FindById(sub->second.get(), id, out, depth + 1)) return true;
  }
  return false;
}

bool FindItem(HMENU menu, UINT item, bool byPosition, ItemRef* out) {
  MenuRecord* m = FindMenu(menu);
  if (!m) return false;
  if (byPosition) {
    if (item >= m->items.size()) {
      SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
      return false;
    }
    *out = ItemRef{m, item};
    return true;
  }
  if (FindById(m, item, out, 0)) return true;
  SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
  return false;
}

// Applies the old-style flags of AppendMenu, InsertMenu and ModifyMenu.
bool ItemFromFlags(UINT flags, UINT_PTR idOrPopup, LPCSTR text, MenuItem* it) {
  it->type = flags & (MFT_BITMAP | MFT_OWNERDRAW | MFT_SEPARATOR | MFT_MENUBARBREAK | MFT_MENUBREAK |
                      MFT_RIGHTJUSTIFY | MFT_RADIOCHECK);
  it->state = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT);
  it->popup = nullptr;
  it->id = 0;
  if (flags & MF_POPUP) {
    auto sub = reinterpret_cast<HMENU>(idOrPopup);
    if (!FindMenu(sub)) return false;
    FindMenu(sub)->popup = true;
    it->popup = sub;
  } else {
    it->id = static_cast<UINT>(idOrPopup);
  }
  it->text.clear();
  it->data = 0;
  it->bitmap = nullptr;
  if (flags & MF_OWNERDRAW)
    it->data = reinterpret_cast<ULONG_PTR>(text);
  else if (flags & MF_BITMAP)
    it->bitmap = reinterpret_cast<HBITMAP>(const_cast<char*>(text));
  else if (!(flags & MF_SEPARATOR) && text)
    it->text = text;
  return true;
}

void DestroyTree(HMENU menu, int depth) {
  auto found = Menus().menus.find(menu);
  if (found == Menus().menus.end() || depth > 32) return;
  std::unique_ptr<MenuRecord> rec = std::move(found->second);
  Menus().menus.erase(found);
  for (MenuItem& it : rec->items)
    if (it.popup) DestroyTree(it.popup, depth + 1);
}

// Where a new item goes: before the item at `position` (past the end
// appends), or before the item with that command id, in whichever menu holds it.
bool InsertPoint(HMENU menu, UINT position, bool byPosition, MenuRecord** target, size_t* at) {
  MenuRecord* m = FindMenu(menu);
  if (!m) return false;
  *target = m;
  *at = m->items.size();
  if (byPosition) {
    *at = std::min<size_t>(position, m->items.size());
  } else if (position != 0xFFFFFFFFu) {
    ItemRef ref;
    if (!FindItem(menu, position, false, &ref)) return false;
    *target = ref.menu;
    *at = ref.index;
  }
  return true;
}

bool Insert(HMENU menu, UINT position, bool byPosition, MenuItem item) {
  MenuRecord* target = nullptr;
  size_t at = 0;
  if (!InsertPoint(menu, position, byPosition, &target, &at)) return false;
  if (item.popup == menu || item.popup == target->handle) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  target->items.insert(target->items.begin() + static_cast<std::ptrdiff_t>(at), std::move(item));
  target->changed = true;
  return true;
}

BOOL Delete(HMENU menu, UINT position, UINT flags, bool destroyPopup) {
  ItemRef ref;
  if (!FindItem(menu, position, (flags & MF_BYPOSITION) != 0, &ref)) return FALSE;
  HMENU popup = ref->popup;
  ref.menu->items.erase(ref.menu->items.begin() + static_cast<std::ptrdiff_t>(ref.index));
  ref.menu->changed = true;
  if (destroyPopup && popup) DestroyTree(popup, 0);
  return TRUE;
}

void CopyText(const std::string& text, LPSTR buffer, UINT size) {
  if (!buffer || size == 0) return;
  size_t n = std::min<size_t>(text.size(), size - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
}

HMENU BuildSystemMenu() {
  HMENU m = NewMenu(true);
  FindMenu(m)->system = true;
  AppendMenuA(m, MF_STRING, SC_RESTORE, "&Restore");
  AppendMenuA(m, MF_STRING, SC_MOVE, "&Move");
  AppendMenuA(m, MF_STRING, SC_SIZE, "&Size");
  AppendMenuA(m, MF_STRING, SC_MINIMIZE, "Mi&nimize");
  AppendMenuA(m, MF_STRING, SC_MAXIMIZE, "Ma&ximize");
  AppendMenuA(m, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(m, MF_STRING, SC_CLOSE, "&Close\tAlt+F4");
  return m;
}

// One level of a binary template; `end` is past the last byte.
const BYTE* ReadTemplateLevel(const BYTE* p, const BYTE* end, HMENU menu, int depth) {
  if (depth > 16) return nullptr;
  for (;;) {
    auto word = [&](WORD* out) {
      if (end - p < 2) return false;
      *out = static_cast<WORD>(p[0] | (p[1] << 8));
      p += 2;
      return true;
    };
    WORD flags = 0, id = 0;
    if (!word(&flags)) return nullptr;
    if (!(flags & MF_POPUP) && !word(&id)) return nullptr;
    std::string text;
    for (WORD c = 0;;) {
      if (!word(&c)) return nullptr;
      if (c == 0) break;
      // UTF-16 (menu texts stay in the basic plane) to the program's code page.
      text += static_cast<char>(pl3::CodePointToAnsi(c).value_or('?'));
    }
    UINT itemFlags = flags & ~(MF_END | MF_POPUP);
    if (flags & MF_POPUP) {
      HMENU sub = CreatePopupMenu();
      p = ReadTemplateLevel(p, end, sub, depth + 1);
      if (!p) {
        DestroyMenu(sub);
        return nullptr;
      }
      AppendMenuA(menu, itemFlags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), text.c_str());
    } else if (id == 0 && text.empty() && !(flags & ~MF_END)) {
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuA(menu, itemFlags & ~MF_OWNERDRAW, id, text.c_str());
    }
    if (flags & MF_END) return p;
  }
}

}  // namespace

MenuRecord* FindMenu(HMENU menu) {
  auto it = Menus().menus.find(menu);
  if (it == Menus().menus.end()) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return nullptr;
  }
  return it->second.get();
}

void MenusWindowForgotten(WindowRecord* w) {
  if (!w->parent && w->menu) DestroyMenu(w->menu);
  if (w->systemMenu) DestroyMenu(w->systemMenu);
  w->menu = w->systemMenu = nullptr;
}

}  // namespace pl3::user

using namespace pl3::user;

HMENU CreateMenu() { return NewMenu(false); }
HMENU CreatePopupMenu() { return NewMenu(true); }

BOOL DestroyMenu(HMENU menu) {
  if (!FindMenu(menu)) return FALSE;
  // A bar being destroyed leaves the windows that show it without one.
  for (auto& [h, w] : S().windows)
    if (w->menu == menu && !w->parent) w->menu = nullptr;
  DestroyTree(menu, 0);
  return TRUE;
}

BOOL IsMenu(HMENU menu) { return Menus().menus.count(menu) ? TRUE : FALSE; }

BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR idOrPopup, LPCSTR text) {
  return InsertMenuA(menu, 0xFFFFFFFFu, flags | MF_BYPOSITION, idOrPopup, text);
}

BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idOrPopup, LPCSTR text) {
  if (!FindMenu(menu)) return FALSE;
  MenuItem item;
  if (!ItemFromFlags(flags, idOrPopup, text, &item)) return FALSE;
  return Insert(menu, position, (flags & MF_BYPOSITION) != 0, std::move(item)) ? TRUE : FALSE;
}

BOOL ModifyMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idOrPopup, LPCSTR text) {
  ItemRef ref;
  if (!FindItem(menu, position, (flags & MF_BYPOSITION) != 0, &ref)) return FALSE;
  MenuItem item;
  if (!ItemFromFlags(flags, idOrPopup, text, &item)) return FALSE;
  if (item.popup == menu) return FALSE;
  // The pop-up an item held is destroyed when another takes its place.
  HMENU old = ref->popup;
  *ref.operator->() = std::move(item);
  ref.menu->changed = true;
  if (old && old != ref->popup) DestroyTree(old, 0);
  return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) { return Delete(menu, position, flags, true); }
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) { return Delete(menu, position, flags, false); }

BOOL SetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info) {
  if (!info) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  ItemRef ref;
  if (!FindItem(menu, item, byPosition != FALSE, &ref)) return FALSE;
  if ((info->fMask & MIIM_SUBMENU) && info->hSubMenu && (info->hSubMenu == menu || !FindMenu(info->hSubMenu)))
    return FALSE;
  MenuItem& it = *ref.operator->();
  ref.menu->changed = true;
  if (info->fMask & MIIM_TYPE) {
    it.type = info->fType;
    it.text.clear();
    it.bitmap = nullptr;
    if (info->fType & MFT_BITMAP)
      it.bitmap = reinterpret_cast<HBITMAP>(info->dwTypeData);
    else if (!(info->fType & (MFT_SEPARATOR | MFT_OWNERDRAW)) && info->dwTypeData)
      it.text = info->dwTypeData;
    if (info->fType & MFT_OWNERDRAW) it.data = reinterpret_cast<ULONG_PTR>(info->dwTypeData);
  }
  if (info->fMask & MIIM_FTYPE) it.type = (it.type & MFT_BITMAP) | (info->fType & ~MFT_BITMAP);
  if (info->fMask & MIIM_STRING) it.text = info->dwTypeData ? info->dwTypeData : "";
  if (info->fMask & MIIM_BITMAP) it.bitmap = info->hbmpItem;
  if (info->fMask & MIIM_STATE) it.state = info->fState;
  if (info->fMask & MIIM_ID) it.id = info->wID;
  if (info->fMask & MIIM_DATA) it.data = info->dwItemData;
  if (info->fMask & MIIM_SUBMENU) {
    it.popup = info->hSubMenu;
    if (it.popup) FindMenu(it.popup)->popup = true;
  }
  return TRUE;
}

BOOL InsertMenuItemA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info) {
  if (!info) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!FindMenu(menu)) return FALSE;
  MenuRecord* target = nullptr;
  size_t at = 0;
  if (!InsertPoint(menu, item, byPosition != FALSE, &target, &at)) return FALSE;
  // A blank item, filled as SetMenuItemInfo would fill it.
  target->items.insert(target->items.begin() + static_cast<std::ptrdiff_t>(at), MenuItem{});
  target->changed = true;
  if (!SetMenuItemInfoA(target->handle, static_cast<UINT>(at), TRUE, info)) {
    target->items.erase(target->items.begin() + static_cast<std::ptrdiff_t>(at));
    return FALSE;
  }
  return TRUE;
}

BOOL GetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFOA* info) {
  if (!info) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  ItemRef ref;
  if (!FindItem(menu, item, byPosition != FALSE, &ref)) return FALSE;
  const MenuItem& it = *ref.operator->();
  if (info->fMask & (MIIM_TYPE | MIIM_FTYPE)) info->fType = it.type;
  if (info->fMask & (MIIM_TYPE | MIIM_STRING)) {
    if (it.type & (MFT_OWNERDRAW | MFT_SEPARATOR | MFT_BITMAP)) {
      if (info->fMask & MIIM_TYPE) {
        info->dwTypeData = (it.type & MFT_OWNERDRAW) ? reinterpret_cast<LPSTR>(it.data)
                           : (it.type & MFT_BITMAP)  ? reinterpret_cast<LPSTR>(it.bitmap)
                                                     : nullptr;
        info->cch = 0;
      }
    } else if (info->dwTypeData && info->cch > 0) {
      CopyText(it.text, info->dwTypeData, info->cch);
      info->cch = static_cast<UINT>(std::min<size_t>(it.text.size(), info->cch - 1));
    } else {
      info->cch = static_cast<UINT>(it.text.size());
    }
  }
  if (info->fMask & MIIM_BITMAP) info->hbmpItem = it.bitmap;
  if (info->fMask & MIIM_STATE) info->fState = it.state;
  if (info->fMask & MIIM_ID) info->wID = it.id;
  if (info->fMask & MIIM_DATA) info->dwItemData = it.data;
  if (info->fMask & MIIM_SUBMENU) info->hSubMenu = it.popup;
  if (info->fMask & MIIM_CHECKMARKS) info->hbmpChecked = info->hbmpUnchecked = nullptr;
  return TRUE;
}

int GetMenuItemCount(HMENU menu) {
  MenuRecord* m = FindMenu(menu);
  return m ? static_cast<int>(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
  ItemRef ref;
  if (position < 0 || !FindItem(menu, static_cast<UINT>(position), true, &ref)) return 0xFFFFFFFFu;
  return ref->popup ? 0xFFFFFFFFu : ref->id;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
  ItemRef ref;
  if (!FindItem(menu, item, (flags & MF_BYPOSITION) != 0, &ref)) return 0xFFFFFFFFu;
  UINT state = (ref->type | ref->state) & ~MFT_RADIOCHECK;
  if (ref->popup) {
    MenuRecord* sub = FindMenu(ref->popup);
    UINT count = sub ? static_cast<UINT>(sub->items.size()) : 0;
    return ((count & 0xFF) << 8) | (state & 0xFF) | MF_POPUP;
  }
  return state;
}

int GetMenuStringA(HMENU menu, UINT item, LPSTR buffer, int size, UINT flags) {
  ItemRef ref;
  if (!FindItem(menu, item, (flags & MF_BYPOSITION) != 0, &ref)) return 0;
  const std::string& text = ref->text;
  if (!buffer || size <= 0) return static_cast<int>(text.size());
  CopyText(text, buffer, static_cast<UINT>(size));
  return static_cast<int>(std::min<size_t>(text.size(), static_cast<size_t>(size) - 1));
}

HMENU GetSubMenu(HMENU menu, int position) {
  ItemRef ref;
  if (position < 0 || !FindItem(menu, static_cast<UINT>(position), true, &ref)) return nullptr;
  return ref->popup;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags) {
  ItemRef ref;
  if (!FindItem(menu, item, (flags & MF_BYPOSITION) != 0, &ref)) return static_cast<DWORD>(-1);
  DWORD old = ref->state & MF_CHECKED;
  ref->state = (ref->state & ~MF_CHECKED) | (flags & MF_CHECKED);
  return old;
}

BOOL EnableMenuItem(HMENU menu, UINT item, UINT flags) {
  ItemRef ref;
  if (!FindItem(menu, item, (flags & MF_BYPOSITION) != 0, &ref)) return -1;
  BOOL old = static_cast<BOOL>(ref->state & (MF_GRAYED | MF_DISABLED));
  ref->state = (ref->state & ~(MF_GRAYED | MF_DISABLED)) | (flags & (MF_GRAYED | MF_DISABLED));
  return old;
}

HMENU pl3::LoadMenuTemplate(const void* data, std::size_t size) {
  auto p = static_cast<const BYTE*>(data);
  if (!p || size < sizeof(MENUITEMTEMPLATEHEADER)) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  WORD version = static_cast<WORD>(p[0] | (p[1] << 8));
  WORD offset = static_cast<WORD>(p[2] | (p[3] << 8));
  if (version != 0 || offset > size - sizeof(MENUITEMTEMPLATEHEADER)) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  HMENU menu = CreateMenu();
  if (!ReadTemplateLevel(p + 4 + offset, p + size, menu, 0)) {
    DestroyMenu(menu);
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  return menu;
}

HMENU LoadMenuIndirectA(const void* menuTemplate) {
  if (!menuTemplate) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  // The template carries no length: its levels are read until each MF_END.
  // A resource's length is known, and LoadMenu passes it to LoadMenuTemplate.
  return pl3::LoadMenuTemplate(menuTemplate, 0x10000);
}

HMENU LoadMenuA(HINSTANCE instance, LPCSTR name) {
  HRSRC found = FindResourceA(instance, name, RT_MENU);
  if (!found) return nullptr;
  const void* bytes = LockResource(LoadResource(instance, found));
  return bytes ? pl3::LoadMenuTemplate(bytes, SizeofResource(instance, found)) : nullptr;
}

// ---- Bars and system menus ------------------------------------------------------------------

HMENU GetMenu(HWND hwnd) {
  WindowRecord* w = Find(hwnd);
  return (w && !(w->style & WS_CHILD)) ? w->menu : nullptr;
}

BOOL SetMenu(HWND hwnd, HMENU menu) {
  WindowRecord* w = Find(hwnd);
  if (!w || (w->style & WS_CHILD)) {
    SetLastError(w ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (menu && !FindMenu(menu)) return FALSE;
  w->menu = menu;
  // The client area changes with the bar's height.
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return TRUE;
}

BOOL DrawMenuBar(HWND hwnd) {
  WindowRecord* w = Find(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!w->menu || (w->style & WS_CHILD)) return TRUE;
  // Items may have been added or removed, changing the rows.
  return SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                      SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

HMENU GetSystemMenu(HWND hwnd, BOOL revert) {
  WindowRecord* w = Find(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (revert) {
    if (w->systemMenu) DestroyMenu(w->systemMenu);
    w->systemMenu = nullptr;
    return nullptr;
  }
  if (!(w->style & WS_SYSMENU)) return nullptr;
  if (!w->systemMenu || !IsMenu(w->systemMenu)) {
    w->systemMenu = BuildSystemMenu();
    FindMenu(w->systemMenu)->window = hwnd;
  }
  return w->systemMenu;
}

BOOL GetMenuItemRect(HWND hwnd, HMENU menu, UINT position, RECT* out) {
  if (!out || !FindMenu(menu)) return FALSE;
  if (ShownPopupItemRect(menu, position, out)) return TRUE;
  WindowRecord* w = Find(hwnd);
  if (!w || w->menu != menu || position >= FindMenu(menu)->items.size()) return FALSE;
  MenuBarHeightOf(w);  // lays the bar out
  RECT r = FindMenu(menu)->items[position].rect;
  RECT win = WindowScreenRect(w);
  OffsetRect(&r, win.left, win.top);
  *out = r;
  return TRUE;
}

// ---- System parameters --------------------------------------------------------------------

BOOL SystemParametersInfoA(UINT action, UINT, void* out, UINT) {
  if (!out) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  switch (action) {
    case SPI_GETNONCLIENTMETRICS: {
      auto* m = static_cast<NONCLIENTMETRICSA*>(out);
      if (m->cbSize != sizeof(NONCLIENTMETRICSA)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
      }
      LOGFONTA menuFont{};
      GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof menuFont, &menuFont);
      *m = NONCLIENTMETRICSA{};
      m->cbSize = sizeof(NONCLIENTMETRICSA);
      m->iBorderWidth = 1;
      m->iScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
      m->iScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
      m->iCaptionWidth = GetSystemMetrics(SM_CXSIZE);
      m->iCaptionHeight = GetSystemMetrics(SM_CYSIZE);
      m->lfCaptionFont = menuFont;
      m->lfCaptionFont.lfWeight = FW_BOLD;
      m->iSmCaptionWidth = GetSystemMetrics(SM_CXSMSIZE);
      m->iSmCaptionHeight = GetSystemMetrics(SM_CYSMSIZE);
      m->lfSmCaptionFont = menuFont;
      m->iMenuWidth = GetSystemMetrics(SM_CXMENUSIZE);
      m->iMenuHeight = GetSystemMetrics(SM_CYMENUSIZE);
      m->lfMenuFont = menuFont;
      m->lfStatusFont = menuFont;
      m->lfMessageFont = menuFont;
      return TRUE;
    }
    case SPI_GETFLATMENU: *static_cast<BOOL*>(out) = FlatMenus() ? TRUE : FALSE; return TRUE;
    case SPI_SETFLATMENU: FlatMenus() = out != nullptr; return TRUE;
    default: SetLastError(ERROR_INVALID_PARAMETER); return FALSE;
  }
}
