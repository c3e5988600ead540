// What the explorer does for its user: open or save, Up, folders, the view
// menu, sorting, renaming, deleting, the description panel and the saved
// window placement.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "library/explorer_internal.h"
#include "platform/commctrl.h"
#include "platform/dialogs.h"
#include "platform/gdi.h"
#include "platform/menus.h"
#include "platform/registry.h"
#include "platform/resource_images.h"
#include "platform/responder.h"
#include "platform/text_case.h"
#include "platform/user.h"
#include "store/container_store.h"
#include "store/document_filing.h"

namespace {

constexpr const char* kBadNameCharacters = "\\/:*?<>|";
constexpr const char* kBadNameMessage = "A filename cannot contain any of the following characters:\r\n\t\\/:*?<>|";
constexpr const char* kNoFolderRights = "You do not have sufficent access rights to create a folder";

// Notification codes the explorer sends the store's other clients.
constexpr std::uint32_t kNotifyDeleted = 2;
constexpr std::uint32_t kNotifyCreated = 3;
constexpr std::uint32_t kNotifyRenamed = 4;
constexpr std::size_t kNotifyRenamedNewPath = 256;

bool IsFolder(const DirectoryEntry& entry) { return (entry.flags & 1) != 0; }

std::string TypeOf(const DirectoryEntry& entry) {
  std::string name, type;
  SplitNameAndType(EntryName(entry), &name, &type);
  return type;
}

std::string PathOf(const ExplorerState* state, const DirectoryEntry& entry) {
  return state->folder + std::string(EntryName(entry));
}

void Announce(ExplorerState* state, std::uint32_t code, const std::string& path, const std::string& newPath = {}) {
  NetFSHandle* handle = ExplorerHandle(state);
  if (!handle) return;
  std::vector<std::uint8_t> block(code == kNotifyRenamed ? 4 + kExplorerPathSize + kNotifyRenamedNewPath
                                                         : 4 + kExplorerPathSize);
  std::memcpy(block.data(), &code, 4);
  std::memcpy(block.data() + 4, path.data(), std::min(path.size(), kExplorerPathSize - 1));
  if (code == kNotifyRenamed)
    std::memcpy(block.data() + 4 + kExplorerPathSize, newPath.data(),
                std::min(newPath.size(), kNotifyRenamedNewPath - 1));
  NetFS_BroadcastNotification(handle, block.data(), static_cast<std::uint32_t>(block.size()));
}

std::vector<int> SelectedIndexes(const ExplorerState* state) {
  std::vector<int> indexes;
  for (int i = static_cast<int>(SendMessageA(state->list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
       i >= 0; i = static_cast<int>(SendMessageA(state->list, LVM_GETNEXTITEM, static_cast<WPARAM>(i), LVNI_SELECTED)))
    indexes.push_back(i);
  return indexes;
}

void Beep() { MessageBeep(MB_ICONEXCLAMATION); }

}  // namespace

DirectoryEntry* ExplorerEntryAt(const ExplorerState* state, int index) {
  if (!state || index < 0) return nullptr;
  LVITEM item{};
  item.mask = LVIF_PARAM;
  item.iItem = index;
  if (!SendMessageA(state->list, LVM_GETITEM, 0, reinterpret_cast<LPARAM>(&item))) return nullptr;
  return reinterpret_cast<DirectoryEntry*>(item.lParam);
}

int ExplorerSelectedCount(const ExplorerState* state) {
  return static_cast<int>(SendMessageA(state->list, LVM_GETSELECTEDCOUNT, 0, 0));
}

void ExplorerFinish(ExplorerState* state, std::uint32_t result) {
  ExplorerRequest* request = state->request;
  request->result = result;
  request->done = 1;
  DestroyWindow(state->window);  // frees the state
}

void ExplorerEnterFolder(ExplorerState* state, const DirectoryEntry& entry) {
  state->folder = PathOf(state, entry) + "\\";
  RefreshExplorerList(state, true);
}

void ExplorerGoUp(ExplorerState* state) {
  if (CountPathComponents(state->folder) <= 1) {
    if (ExplorerMode != 0) ExplorerFinish(state, kExplorerBackToFiles);
    return;
  }
  state->folder = TrimPathComponents(state->folder, 1);
  RefreshExplorerList(state, true);
}

void ExplorerOpenOrSave(ExplorerState* state) {
  ExplorerRequest* request = state->request;
  if (request->mode == kExplorerOpen) {
    const std::vector<int> selected = SelectedIndexes(state);
    DirectoryEntry* entry = selected.size() == 1 ? ExplorerEntryAt(state, selected[0]) : nullptr;
    if (!entry) return Beep();
    if (IsFolder(*entry) && !IsExplorerItem(*entry)) return ExplorerEnterFolder(state, *entry);
    if (!ExplorerTypePasses(request->typeFilter, TypeOf(*entry))) {
      ExplorerWarn(state->window, "Selection of this type of file is not permitted, please select a different file.");
      return;
    }
    std::snprintf(request->resultPath, kExplorerPathSize, "%s", PathOf(state, *entry).c_str());
    return ExplorerFinish(state, kExplorerChosen);
  }
  char name[kExplorerPathSize] = {};
  GetDlgItemTextA(request->toolRow, kExplorerNameId, name, sizeof name);
  if (!name[0]) return Beep();
  if (std::strpbrk(name, kBadNameCharacters)) {
    ExplorerWarn(state->window, kBadNameMessage);
    return;
  }
  std::snprintf(request->resultPath, kExplorerPathSize, "%s%s", state->folder.c_str(), name);
  ExplorerFinish(state, kExplorerChosen);
}

void ExplorerColumnClick(ExplorerState* state, int column) {
  if (column < kSortName || column > kSortModified) return;
  // The list's columns are name, size, type, modified; the sort columns name,
  // type, size, modified.
  static constexpr int kSortOfColumn[] = {kSortName, kSortSize, kSortType, kSortModified};
  const int sort = kSortOfColumn[column];
  if (sort == state->sortColumn) {
    state->sortDescending = !state->sortDescending;
  } else {
    state->sortColumn = sort;
    state->sortDescending = 0;
  }
  RefreshExplorerList(state, false);
}

// ---- The view menu ----------------------------------------------------------------------

namespace {

struct ViewChoice {
  int command;
  const char* caption;
  DWORD style;
};
constexpr ViewChoice kViews[] = {
    {kExplorerViewLargeIcons, "Large Icons", LVS_ICON},
    {kExplorerViewDetails, "Details", LVS_REPORT},
    {kExplorerViewSmallIcons, "Small Icons", LVS_SMALLICON},
    {kExplorerViewList, "List", LVS_LIST},
};

}  // namespace

void ExplorerSetView(ExplorerState* state, int command) {
  for (const ViewChoice& v : kViews) {
    if (v.command != command) continue;
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(state->list, GWL_STYLE));
    SetWindowLongPtrA(state->list, GWL_STYLE, static_cast<LONG_PTR>((style & ~LVS_TYPEMASK) | v.style));
    HIMAGELIST images = v.style == LVS_ICON ? state->largeImages : state->smallImages;
    SendMessageA(state->list, LVM_SETIMAGELIST, v.style == LVS_ICON ? LVSIL_NORMAL : LVSIL_SMALL,
                 reinterpret_cast<LPARAM>(images));
    SendMessageA(state->list, LVM_ARRANGE, 0, 0);
    InvalidateRect(state->list, nullptr, TRUE);
    return;
  }
}

void ExplorerShowViewMenu(ExplorerState* state) {
  HMENU menu = CreatePopupMenu();
  const DWORD current = static_cast<DWORD>(GetWindowLongPtrA(state->list, GWL_STYLE)) & LVS_TYPEMASK;
  for (const ViewChoice& v : kViews)
    AppendMenuA(menu, MF_STRING | (v.style == current ? MF_CHECKED : 0), static_cast<UINT_PTR>(v.command), v.caption);
  RECT button{};
  GetWindowRect(GetDlgItem(state->request->toolRow, kExplorerViewId), &button);
  const int chosen = static_cast<int>(
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN, button.left, button.bottom, 0, state->window, nullptr));
  DestroyMenu(menu);
  if (chosen) ExplorerSetView(state, chosen);
}

// ---- New folder, rename, delete -------------------------------------------------------------

bool CreateExplorerFolder(ExplorerState* state) {
  NetFSHandle* handle = ExplorerHandle(state);
  if (!handle) return false;
  std::string path;
  bool created = false;
  for (int n = 0; n <= 100 && !created; ++n) {
    char name[kExplorerPathSize + 32];
    if (n == 0) std::snprintf(name, sizeof name, "%sNew Folder", state->folder.c_str());
    else std::snprintf(name, sizeof name, "%sNew Folder (%d)", state->folder.c_str(), n);
    path = name;
    if (NetFS_GetEntry(handle, path.c_str())) continue;  // the name is taken
    const int opened = NetFS_OpenFile(handle, path.c_str(), kLockEditing);
    const std::uint32_t error = NetFS_GetLastError();
    if (opened) NetFS_CloseFile(handle, path.c_str());
    if (error == kNetfsAccessDenied) {
      ExplorerWarn(state->window, kNoFolderRights);
      return false;
    }
    created = opened && error == kNetfsOk;
  }
  if (!created) {
    ExplorerWarn(state->window, "Unable to create a directory named New Folder (1..100)\n");
    return false;
  }
  auto entry = NetFS_GetEntry(handle, path.c_str());
  if (!entry) {
    // The store took the name but holds no entry for it: nothing to show.
    MessageBeep(MB_ICONEXCLAMATION);
    return false;
  }
  Announce(state, kNotifyCreated, path);
  state->listing.push_back(*entry);
  AppendExplorerItem(state, &state->listing.back(), false);
  const int index = static_cast<int>(SendMessageA(state->list, LVM_GETITEMCOUNT, 0, 0)) - 1;
  SetFocus(state->list);
  SendMessageA(state->list, LVM_EDITLABEL, static_cast<WPARAM>(index), 0);
  return true;
}

bool ExplorerRenameEntry(ExplorerState* state, int index, const char* newName) {
  DirectoryEntry* entry = ExplorerEntryAt(state, index);
  NetFSHandle* handle = ExplorerHandle(state);
  if (!entry || !handle || !newName) return false;
  if (std::strpbrk(newName, kBadNameCharacters)) {
    ExplorerWarn(state->window, kBadNameMessage);
    return false;
  }
  const std::string type = TypeOf(*entry);
  const std::string stored = type.empty() ? std::string(newName) : std::string(newName) + "?" + type;
  if (stored.size() >= sizeof entry->name) {
    MessageBeep(MB_ICONEXCLAMATION);
    return false;
  }
  const std::string oldPath = PathOf(state, *entry);
  if (ContainsLinkFile(handle, oldPath.c_str())) {
    ExplorerWarn(state->window, "This file or this directory has a linked file, you cannot rename it.");
    return false;
  }
  NetFS_Rename(handle, oldPath.c_str(), stored.c_str());
  switch (NetFS_GetLastError()) {
    case kNetfsOk:
      std::memset(entry->name, 0, sizeof entry->name);
      std::memcpy(entry->name, stored.data(), stored.size());
      SendMessageA(state->list, LVM_REDRAWITEMS, static_cast<WPARAM>(index), static_cast<LPARAM>(index));
      InvalidateRect(state->window, &state->panel, TRUE);
      Announce(state, kNotifyRenamed, oldPath, state->folder + stored);
      return true;
    case kNetfsPathNotFound: ExplorerWarn(state->window, "Source file could not be found"); return false;
    case kNetfsAccessDenied: ExplorerWarn(state->window, kNoFolderRights); return false;
    case kNetfsPathBusy: ExplorerWarn(state->window, "Source file is open, you cannot rename open files"); return false;
    case kNetfsNameExists: ExplorerWarn(state->window, "Target filename already exists"); return false;
    default: return false;
  }
}

void ExplorerDeleteSelection(ExplorerState* state) {
  const std::vector<int> selected = SelectedIndexes(state);
  NetFSHandle* handle = ExplorerHandle(state);
  if (selected.empty() || !handle) return;
  const char* question =
      selected.size() == 1 ? "Do you really want to delete this file?" : "Do you really want to delete these files?";
  if (MessageBox(state->window, question, "Pelmora3", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  int refused = 0;
  // From the last so that the indexes of the rest stay valid.
  for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
    DirectoryEntry* entry = ExplorerEntryAt(state, *it);
    if (!entry) continue;
    const std::string path = PathOf(state, *entry);
    if (ContainsLinkFile(handle, path.c_str())) {
      ++refused;
      continue;
    }
    // The store has no delete of entries yet: it answers "file missing".
    NetFS_SetLastErrorMissing();
    if (NetFS_GetLastError() != kNetfsOk) {
      ++refused;
      continue;
    }
    Announce(state, kNotifyDeleted, path);
    SendMessageA(state->list, LVM_DELETEITEM, static_cast<WPARAM>(*it), 0);
  }
  if (refused)
    ExplorerWarn(state->window, "Some files/directories could not be deleted because they are open or contain linked files");
}

// ---- Placement ----------------------------------------------------------------------------

bool ParseExplorerPlacement(const char* text, WINDOWPLACEMENT* placement) {
  int v[11] = {};
  if (!text || std::sscanf(text, "%d %d %d %d %d %d %d %d %d %d %d", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6],
                           &v[7], &v[8], &v[9], &v[10]) != 11)
    return false;
  WINDOWPLACEMENT p{};
  p.flags = static_cast<UINT>(v[0]);
  p.length = sizeof p;
  p.ptMaxPosition = POINT{v[2], v[3]};
  p.ptMinPosition = POINT{v[4], v[5]};
  p.rcNormalPosition = RECT{v[8], v[7], v[9], v[6]};
  p.showCmd = static_cast<UINT>(v[10]);
  const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  const RECT& r = p.rcNormalPosition;
  if (r.left < 0 || r.right > width || r.top > height || r.bottom < 0) return false;
  if (p.showCmd == SW_SHOWMINIMIZED || p.showCmd == SW_MINIMIZE || p.showCmd == SW_SHOWMINNOACTIVE)
    p.showCmd = SW_SHOWMAXIMIZED;
  // A hidden explorer could never be used, and its loop would never end.
  if (p.showCmd == SW_HIDE) p.showCmd = SW_SHOWNORMAL;
  *placement = p;
  return true;
}

void SaveExplorerPlacement(HWND window) {
  WINDOWPLACEMENT p{};
  p.length = sizeof p;
  if (!GetWindowPlacement(window, &p)) return;
  // Being destroyed, the window may already be hidden: it was shown.
  if (p.showCmd == SW_HIDE) p.showCmd = SW_SHOWNORMAL;
  char text[160];
  std::snprintf(text, sizeof text, "%d %d %d %d %d %d %d %d %d %d %d", static_cast<int>(p.flags),
                static_cast<int>(p.length), static_cast<int>(p.ptMaxPosition.x), static_cast<int>(p.ptMaxPosition.y),
                static_cast<int>(p.ptMinPosition.x), static_cast<int>(p.ptMinPosition.y),
                static_cast<int>(p.rcNormalPosition.bottom), static_cast<int>(p.rcNormalPosition.top),
                static_cast<int>(p.rcNormalPosition.left), static_cast<int>(p.rcNormalPosition.right),
                static_cast<int>(p.showCmd));
  HKEY key = nullptr;
  if (OpenProgramRegistryKey(HKEY_CURRENT_USER, "Initialisation", 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  RegSetValueEx(key, "ExplorerWindowPlacement", 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                static_cast<DWORD>(std::strlen(text) + 1));
  RegCloseKey(key);
}

bool RestoreExplorerPlacement(HWND window) {
  HKEY key = nullptr;
  if (OpenProgramRegistryKey(HKEY_CURRENT_USER, "Initialisation", 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  char text[160] = {};
  DWORD size = sizeof text - 1;
  DWORD type = 0;
  const bool read = RegQueryValueEx(key, "ExplorerWindowPlacement", nullptr, &type, reinterpret_cast<BYTE*>(text),
                                    &size) == ERROR_SUCCESS &&
                    type == REG_SZ;
  RegCloseKey(key);
  WINDOWPLACEMENT p{};
  if (!read || !ParseExplorerPlacement(text, &p)) return false;
  return SetWindowPlacement(window, &p) != FALSE;
}
