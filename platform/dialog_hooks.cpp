#include "platform/dialog_hooks.h"

#include <cstring>
#include <string_view>
#include <vector>

#include "platform/commctrl.h"
#include "platform/controls.h"
#include "platform/reset_hooks.h"
#include "platform/text_case.h"
#include "platform/user_internal.h"

namespace pl3 {

namespace {

struct HookEntry {
  enum Kind { Name, Id, Caption } kind;
  std::string key;
  int id;
  DialogHook hook;
};

std::vector<HookEntry>& Hooks() {
  static std::vector<HookEntry> hooks;
  return hooks;
}

void Replace(HookEntry entry) {
  auto& hooks = Hooks();
  std::erase_if(hooks, [&](const HookEntry& h) { return h.kind == entry.kind && h.key == entry.key && h.id == entry.id; });
  hooks.push_back(std::move(entry));
}

const bool kResetRegistered = RegisterGlobalReset(&ClearDialogHooks);

std::string ClassOf(HWND hwnd) {
  char name[64] = "";
  GetClassNameA(hwnd, name, sizeof name);
  return LowerCopy(name);
}

void Notify(HWND control, WORD code) {
  HWND parent = GetParent(control);
  SendMessageA(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(control)), code),
               reinterpret_cast<LPARAM>(control));
}

// The control a user could act on: there, shown and enabled. A click on a
// disabled or hidden control does nothing, so a helper fails on one.
HWND UsableItem(HWND dialog, int id) {
  HWND c = GetDlgItem(dialog, id);
  if (!c || !IsWindowEnabled(c) || !(GetWindowLongPtrA(c, GWL_STYLE) & WS_VISIBLE)) return nullptr;
  return c;
}

}  // namespace

void SetDialogHook(const std::string& templateName, DialogHook hook) {
  Replace(HookEntry{HookEntry::Name, LowerCopy(templateName), 0, std::move(hook)});
}
void SetDialogHook(int templateId, DialogHook hook) { Replace(HookEntry{HookEntry::Id, "", templateId, std::move(hook)}); }
void SetDialogHookByCaption(const std::string& caption, DialogHook hook) {
  Replace(HookEntry{HookEntry::Caption, LowerCopy(caption), 0, std::move(hook)});
}
void ClearDialogHooks() { Hooks().clear(); }

DialogHook FindDialogHook(const char* templateName, int templateId, const char* caption) {
  std::string name = LowerCopy(templateName), cap = LowerCopy(caption);
  for (const HookEntry& h : Hooks()) {
    if (h.kind == HookEntry::Name && templateName && h.key == name) return h.hook;
    if (h.kind == HookEntry::Id && templateId && h.id == templateId) return h.hook;
  }
  for (const HookEntry& h : Hooks())
    if (h.kind == HookEntry::Caption && caption && h.key == cap) return h.hook;
  return {};
}

bool ClickDialogButton(HWND dialog, int id) {
  if (HWND b = GetDlgItem(dialog, id)) {
    if (b != UsableItem(dialog, id)) return false;
    SendMessageA(b, BM_CLICK, 0, 0);
    return true;
  }
  // Enter and Escape reach OK and Cancel even without such a button.
  if (id != IDOK && id != IDCANCEL) return false;
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED), 0);
  return true;
}

bool TypeDialogText(HWND dialog, int id, const char* text) {
  HWND c = UsableItem(dialog, id);
  if (!c) return false;
  SetWindowTextA(c, text);
  if (ClassOf(c) == "combobox") Notify(c, CBN_EDITCHANGE);
  return true;
}

bool SetDialogCheck(HWND dialog, int id, bool checked) {
  HWND c = UsableItem(dialog, id);
  if (!c) return false;
  for (int tries = 0; tries < 3; ++tries) {
    bool now = SendMessageA(c, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (now == checked) return true;
    SendMessageA(c, BM_CLICK, 0, 0);
    if (!IsWindow(c)) return false;
  }
  return false;
}

bool PickDialogListItem(HWND dialog, int id, int index) {
  HWND c = UsableItem(dialog, id);
  if (!c) return false;
  if (ClassOf(c) == "combobox") {
    if (index < 0 || index >= SendMessageA(c, CB_GETCOUNT, 0, 0)) return false;
    SendMessageA(c, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    Notify(c, CBN_SELCHANGE);
    if (IsWindow(c)) Notify(c, CBN_SELENDOK);
    return true;
  }
  if (index < 0 || index >= SendMessageA(c, LB_GETCOUNT, 0, 0)) return false;
  DWORD style = static_cast<DWORD>(GetWindowLongPtrA(c, GWL_STYLE));
  if (style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) {
    SendMessageA(c, LB_SETSEL, FALSE, -1);
    SendMessageA(c, LB_SETSEL, TRUE, index);
    SendMessageA(c, LB_SETCARETINDEX, static_cast<WPARAM>(index), 0);
  } else {
    SendMessageA(c, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
  if (style & LBS_NOTIFY) Notify(c, LBN_SELCHANGE);
  return true;
}

bool PickDialogListText(HWND dialog, int id, const char* text) {
  HWND c = UsableItem(dialog, id);
  if (!c) return false;
  bool combo = ClassOf(c) == "combobox";
  LRESULT i = SendMessageA(c, combo ? CB_FINDSTRINGEXACT : LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>(text));
  return i >= 0 && PickDialogListItem(dialog, id, static_cast<int>(i));
}

bool DoubleClickDialogListItem(HWND dialog, int id, int index) {
  if (!PickDialogListItem(dialog, id, index)) return false;
  HWND c = GetDlgItem(dialog, id);
  if (c && (GetWindowLongPtrA(c, GWL_STYLE) & LBS_NOTIFY)) Notify(c, LBN_DBLCLK);
  return true;
}

bool PickDialogListViewItem(HWND dialog, int id, int index) {
  HWND c = UsableItem(dialog, id);
  if (!c || index < 0 || index >= SendMessageA(c, LVM_GETITEMCOUNT, 0, 0)) return false;
  LVITEM none{};
  none.stateMask = LVIS_SELECTED;
  SendMessageA(c, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
  LVITEM pick{};
  pick.stateMask = pick.state = LVIS_SELECTED | LVIS_FOCUSED;
  if (!IsWindow(c) || !SendMessageA(c, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&pick)))
    return false;
  SendMessageA(c, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
  return true;
}

bool PickDialogListViewText(HWND dialog, int id, const char* text) {
  HWND c = UsableItem(dialog, id);
  if (!c || !text) return false;
  auto count = static_cast<int>(SendMessageA(c, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char label[MAX_PATH] = {};
    LVITEM item{};
    item.pszText = label;
    item.cchTextMax = sizeof label;
    SendMessageA(c, LVM_GETITEMTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    if (std::strcmp(label, text) == 0) return PickDialogListViewItem(dialog, id, i);
  }
  return false;
}

bool DoubleClickDialogListViewItem(HWND dialog, int id, int index) {
  if (!PickDialogListViewItem(dialog, id, index)) return false;
  HWND c = GetDlgItem(dialog, id);
  RECT r{LVIR_LABEL, 0, 0, 0};
  if (!c || !SendMessageA(c, LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r))) return false;
  LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  SendMessageA(c, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  if (IsWindow(c)) SendMessageA(c, WM_LBUTTONUP, 0, at);
  return true;
}

}  // namespace pl3

bool pl3::PickDialogTreeItem(HWND dialog, int id, const char* path) {
  HWND tree = GetDlgItem(dialog, id);
  if (!tree || !path) return false;
  HTREEITEM parent = TVI_ROOT;
  HTREEITEM found = nullptr;
  std::string_view rest = path;
  while (!rest.empty()) {
    const std::size_t cut = rest.find('\\');
    const std::string step(rest.substr(0, cut));
    rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
    if (found && !TreeView_Expand(tree, found, TVE_EXPAND) && !TreeView_GetChild(tree, found)) return false;
    found = nullptr;
    for (HTREEITEM item = TreeView_GetNextItem(tree, parent, TVGN_CHILD); item;
         item = TreeView_GetNextSibling(tree, item)) {
      char text[MAX_PATH] = "";
      TVITEM it{};
      it.mask = TVIF_TEXT;
      it.hItem = item;
      it.pszText = text;
      it.cchTextMax = sizeof text;
      if (TreeView_GetItem(tree, &it) && pl3::EqualsNoCase(text, step)) {
        found = item;
        break;
      }
    }
    if (!found) return false;
    parent = found;
  }
  return found && TreeView_SelectItem(tree, found);
}
