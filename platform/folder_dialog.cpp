// The folder dialog: a tree of the host's folders under "C:" (the host's
// root), opened down to the home folder, each folder's subfolders read when
// it is first expanded.
#include "platform/folder_dialog.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "platform/commctrl.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/kernel_files.h"
#include "platform/text_case.h"

namespace pl3 {

namespace {

const DialogControl kFolderControls[] = {
    {"STATIC", kFolderDialogTitle, "", 7, 7, 213, 20, SS_LEFT | SS_NOPREFIX},
    {WC_TREEVIEW, kFolderDialogTree, "", 7, 30, 213, 166,
     TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | WS_TABSTOP, WS_EX_CLIENTEDGE},
    {"EDIT", kFolderDialogEdit, "", 7, 202, 213, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
    {"BUTTON", IDOK, "OK", 116, 222, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {"BUTTON", IDCANCEL, "Cancel", 170, 222, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kFolderDialog{nullptr, 0, "Browse For Folder", 0, 0, 227, 243,
                                   DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, kFolderControls};

struct FolderDialogState {
  LPBROWSEINFO info;
  std::vector<std::string> paths;  // program paths, an item's lParam indexes them
  std::string chosen;
};

FolderDialogState* StateOf(HWND dialog) {
  return reinterpret_cast<FolderDialogState*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

bool IsFolder(const std::string& programPath) {
  std::error_code error;
  return std::filesystem::is_directory(HostPath(programPath), error);
}

std::string Join(const std::string& folder, const std::string& name) {
  return folder.ends_with('\\') ? folder + name : folder + "\\" + name;
}

// The subfolders' names in case-free order, hidden ones left out; none for
// an unreadable folder.
std::vector<std::string> Subfolders(const std::string& programPath) {
  std::vector<std::string> names;
  std::error_code error;
  std::filesystem::directory_iterator it(HostPath(programPath), error), end;
  for (; !error && it != end; it.increment(error)) {
    std::error_code kindError;
    const std::string name = it->path().filename().string();
    if (!name.starts_with('.') && it->is_directory(kindError)) names.push_back(name);
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; });
  return names;
}

HTREEITEM AddFolder(HWND tree, FolderDialogState& st, HTREEITEM parent, const std::string& name, const std::string& path) {
  st.paths.push_back(path);
  TVINSERTSTRUCT is{};
  is.hParent = parent;
  is.hInsertAfter = TVI_LAST;
  is.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN;
  is.item.pszText = const_cast<LPSTR>(name.c_str());
  is.item.lParam = static_cast<LPARAM>(st.paths.size() - 1);
  is.item.cChildren = 1;  // known when first opened
  return TreeView_InsertItem(tree, &is);
}

const std::string& PathOf(HWND tree, FolderDialogState& st, HTREEITEM item) {
  TVITEM it{};
  it.mask = TVIF_PARAM;
  it.hItem = item;
  TreeView_GetItem(tree, &it);
  return st.paths.at(static_cast<std::size_t>(it.lParam));
}

void FillFolder(HWND tree, FolderDialogState& st, HTREEITEM item) {
  if (TreeView_GetChild(tree, item)) return;
  const std::string path = PathOf(tree, st, item);
  const std::vector<std::string> names = Subfolders(path);
  for (const std::string& name : names) AddFolder(tree, st, item, name, Join(path, name));
  if (names.empty()) {
    TVITEM it{};
    it.mask = TVIF_CHILDREN;
    it.hItem = item;
    it.cChildren = 0;
    TreeView_SetItem(tree, &it);
  }
}

// Opens the tree down to `path` and selects the deepest folder reached.
void SelectPath(HWND tree, FolderDialogState& st, const std::string& path) {
  HTREEITEM item = TreeView_GetRoot(tree);
  std::string_view rest = path.size() > 3 ? std::string_view(path).substr(3) : std::string_view();
  while (!rest.empty()) {
    const std::size_t cut = rest.find('\\');
    const std::string name(rest.substr(0, cut));
    rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
    TreeView_Expand(tree, item, TVE_EXPAND);
    HTREEITEM child = TreeView_GetChild(tree, item);
    while (child && PathOf(tree, st, child) != Join(PathOf(tree, st, item), name)) child = TreeView_GetNextSibling(tree, child);
    if (!child) break;
    item = child;
  }
  TreeView_SelectItem(tree, item);
}

std::string StartFolder() {
  const char* home = std::getenv("HOME");
  const std::string path = home && *home ? ProgramPath(home) : std::string("C:\\");
  return IsFolder(path) ? path : std::string("C:\\");
}

// The folder OK chooses: the selected one, or what the edit box names
// (a full path, or a name under the selected folder).
std::string ChosenFolder(HWND dialog, FolderDialogState& st) {
  HWND tree = GetDlgItem(dialog, kFolderDialogTree);
  HTREEITEM selected = TreeView_GetSelection(tree);
  std::string folder = selected ? PathOf(tree, st, selected) : std::string();
  if (!(st.info->ulFlags & BIF_EDITBOX)) return folder;
  char typed[MAX_PATH] = "";
  GetDlgItemTextA(dialog, kFolderDialogEdit, typed, sizeof typed);
  const std::string text = typed;
  if (text.empty()) return folder;
  const bool absolute = text.starts_with('\\') || text.starts_with('/') || (text.size() >= 2 && text[1] == ':');
  if (!absolute && selected && EqualsNoCase(text, std::filesystem::path(HostPath(folder)).filename().string()))
    return folder;
  const std::string path = absolute ? text : Join(folder, text);
  return ProgramPath(HostPath(path));
}

INT_PTR CALLBACK FolderDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      FolderDialogState& st = *reinterpret_cast<FolderDialogState*>(lParam);
      SetDlgItemTextA(dialog, kFolderDialogTitle, st.info->lpszTitle ? st.info->lpszTitle : "");
      if (!(st.info->ulFlags & BIF_EDITBOX)) ShowWindow(GetDlgItem(dialog, kFolderDialogEdit), SW_HIDE);
      HWND tree = GetDlgItem(dialog, kFolderDialogTree);
      AddFolder(tree, st, TVI_ROOT, "C:", "C:\\");
      SelectPath(tree, st, StartFolder());
      SetFocus(tree);
      return FALSE;
    }
    case WM_NOTIFY: {
      FolderDialogState* st = StateOf(dialog);
      const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
      if (!st || hdr->idFrom != static_cast<UINT_PTR>(kFolderDialogTree)) return FALSE;
      const auto* nm = reinterpret_cast<const NMTREEVIEW*>(hdr);
      if (hdr->code == TVN_ITEMEXPANDING && nm->action == TVE_EXPAND) FillFolder(hdr->hwndFrom, *st, nm->itemNew.hItem);
      if (hdr->code == TVN_SELCHANGED && nm->itemNew.hItem) {
        const std::string path = PathOf(hdr->hwndFrom, *st, nm->itemNew.hItem);
        const std::string name = path.size() > 3 ? path.substr(path.rfind('\\') + 1) : path;
        SetDlgItemTextA(dialog, kFolderDialogEdit, name.c_str());
      }
      return FALSE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        FolderDialogState* st = StateOf(dialog);
        const std::string chosen = ChosenFolder(dialog, *st);
        if (chosen.empty() || !IsFolder(chosen)) {
          const std::string text = "The folder \"" + chosen + "\" does not exist.";
          MessageBox(dialog, text.c_str(), "Browse For Folder", MB_OK | MB_ICONEXCLAMATION);
          return TRUE;
        }
        st->chosen = chosen;
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    default: return FALSE;
  }
}

}  // namespace

PIDLIST_ABSOLUTE RunFolderDialog(LPBROWSEINFO info) {
  if (!info) return nullptr;
  FolderDialogState st{info, {}, {}};
  const INT_PTR result = DialogBoxIndirectParamA(nullptr, &kFolderDialog, info->hwndOwner, &FolderDialogProc,
                                                 reinterpret_cast<LPARAM>(&st));
  return result == IDOK ? MakeFolderIdList(st.chosen) : nullptr;
}

}  // namespace pl3
