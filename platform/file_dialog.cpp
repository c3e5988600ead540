// The open and save dialog of our own template: folders then the files that
// match the chosen filter, navigation by the path combo, Up, a double click or
// a folder typed in the name box, and the checks the dialog's flags ask for.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "platform/commctrl.h"
#include "platform/common_dialogs.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/kernel_files.h"
#include "platform/text_case.h"

namespace pl3 {

namespace {

namespace fs = std::filesystem;

constexpr DialogControl kFileDialogControls[] = {
    {"STATIC", 1091, "Look &in:", 7, 8, 40, 10, SS_LEFT},
    {"COMBOBOX", kFileDialogPathCombo, "", 50, 6, 170, 120, CBS_DROPDOWNLIST | WS_TABSTOP},
    {"BUTTON", kFileDialogUp, "Up", 226, 6, 40, 14, BS_PUSHBUTTON | WS_TABSTOP},
    {WC_LISTVIEW, kFileDialogList, "", 7, 24, 259, 100,
     LVS_LIST | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP},
    {"STATIC", 1090, "File &name:", 7, 132, 50, 10, SS_LEFT},
    {"EDIT", kFileDialogName, "", 60, 130, 150, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
    {"STATIC", 1089, "Files of &type:", 7, 150, 50, 10, SS_LEFT},
    {"COMBOBOX", kFileDialogType, "", 60, 148, 150, 80, CBS_DROPDOWNLIST | WS_TABSTOP},
    {"BUTTON", IDOK, "&Open", 216, 129, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {"BUTTON", IDCANCEL, "Cancel", 216, 147, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kFileDialog{"FileDialog", 0, "Open", 0, 0, 273, 168,
                                 DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, kFileDialogControls};
const bool kRegistered = RegisterDialogTemplate(&kFileDialog);

struct Filter {
  std::string description;
  std::vector<std::string> patterns;
};

struct Entry {
  std::string name;  // as on disk (host form)
  bool folder;
};

struct FileDialogState {
  LPOPENFILENAME ofn;
  bool save;
  std::string folder;  // host path of the folder shown
  std::vector<Filter> filters;
  std::vector<std::string> typedPatterns;  // a pattern typed in the name box, until the type changes
  std::vector<Entry> entries;
};

FileDialogState* StateOf(HWND dialog) {
  return reinterpret_cast<FileDialogState*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

std::vector<Filter> ParseFilters(const char* filter) {
  std::vector<Filter> out;
  while (filter && *filter) {
    Filter f;
    f.description = filter;
    filter += std::strlen(filter) + 1;
    if (!*filter) break;
    std::string patterns = filter;
    filter += std::strlen(filter) + 1;
    std::size_t start = 0;
    while (start <= patterns.size()) {
      std::size_t semi = patterns.find(';', start);
      std::string p = patterns.substr(start, semi == std::string::npos ? std::string::npos : semi - start);
      if (!p.empty()) f.patterns.push_back(p);
      if (semi == std::string::npos) break;
      start = semi + 1;
    }
    out.push_back(std::move(f));
  }
  return out;
}

std::vector<std::string> ActivePatterns(HWND dialog, const FileDialogState& st) {
  if (!st.typedPatterns.empty()) return st.typedPatterns;
  auto index = static_cast<int>(SendDlgItemMessageA(dialog, kFileDialogType, CB_GETCURSEL, 0, 0));
  if (index >= 0 && index < static_cast<int>(st.filters.size())) return st.filters[static_cast<size_t>(index)].patterns;
  return {"*"};
}

bool Matches(const std::vector<std::string>& patterns, const std::string& name) {
  return std::any_of(patterns.begin(), patterns.end(), [&](const std::string& p) { return WildcardMatch(p, name); });
}

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  return home && *home ? home : "/";
}

bool IsFolder(const std::string& hostPath) {
  std::error_code ec;
  return fs::is_directory(hostPath, ec);
}

// Reads the folder; false when it cannot be read.
bool ReadFolder(const std::string& folder, const std::vector<std::string>& patterns, std::vector<Entry>& out) {
  out.clear();
  std::error_code ec;
  fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
  if (ec) return false;
  std::vector<Entry> folders, files;
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    if (ec) break;
    std::string name = it->path().filename().string();
    if (name.empty() || name[0] == '.') continue;
    std::error_code kind;
    if (it->is_directory(kind))
      folders.push_back({name, true});
    else if (Matches(patterns, name))
      files.push_back({name, false});
  }
  auto byName = [](const Entry& a, const Entry& b) { return CompareNoCase(a.name, b.name) < 0; };
  std::sort(folders.begin(), folders.end(), byName);
  std::sort(files.begin(), files.end(), byName);
  out = std::move(folders);
  out.insert(out.end(), files.begin(), files.end());
  return true;
}

void FillPathCombo(HWND dialog, const std::string& folder) {
  HWND combo = GetDlgItem(dialog, kFileDialogPathCombo);
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  std::vector<std::string> chain;
  for (fs::path p(folder);; p = p.parent_path()) {
    chain.push_back(ProgramPath(p.string()));
    if (p == p.parent_path() || p.empty()) break;
  }
  std::reverse(chain.begin(), chain.end());
  for (const std::string& s : chain) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
  SendMessageA(combo, CB_SETCURSEL, chain.size() - 1, 0);
}

void FillList(HWND dialog, FileDialogState& st) {
  HWND list = GetDlgItem(dialog, kFileDialogList);
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  for (size_t i = 0; i < st.entries.size(); ++i) {
    std::string name = ProgramPath(st.entries[i].name);
    std::string shown = st.entries[i].folder ? "[" + name + "]" : name;
    LVITEM item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = static_cast<int>(i);
    item.pszText = shown.data();
    item.lParam = static_cast<LPARAM>(i);
    SendMessageA(list, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item));
  }
}

void ShowError(HWND dialog, const std::string& text, UINT type = MB_OK | MB_ICONEXCLAMATION) {
  char caption[128] = {};
  GetWindowTextA(dialog, caption, sizeof caption);
  MessageBox(dialog, text.c_str(), caption, type);
}

// Shows `folder`; a folder that cannot be read keeps the one shown (or, at
// the start, leaves the list empty).
bool Navigate(HWND dialog, FileDialogState& st, const std::string& folder, bool reportFailure) {
  std::vector<Entry> entries;
  if (!ReadFolder(folder, ActivePatterns(dialog, st), entries)) {
    if (reportFailure) {
      ShowError(dialog, ProgramPath(folder) + "\nThe folder cannot be read.");
      return false;
    }
  }
  st.folder = folder;
  st.entries = std::move(entries);
  FillPathCombo(dialog, folder);
  FillList(dialog, st);
  return true;
}

void Refresh(HWND dialog, FileDialogState& st) { Navigate(dialog, st, st.folder, false); }

// The host path a name typed in the name box stands for.
std::string Resolve(const FileDialogState& st, const std::string& typed) {
  bool absolute = (typed.size() >= 2 && typed[1] == ':') || (!typed.empty() && (typed[0] == '\\' || typed[0] == '/'));
  if (absolute) return HostPath(typed);
  return HostPath(ProgramPath(st.folder) + "\\" + typed);
}

std::string StartFolder(const OPENFILENAME& ofn, std::string& name) {
  name.clear();
  std::string folder;
  if (ofn.lpstrFile && *ofn.lpstrFile) {
    std::string given = ofn.lpstrFile;
    std::size_t slash = given.find_last_of("\\/");
    if (slash != std::string::npos) {
      folder = HostPath(given.substr(0, slash + 1));
      name = given.substr(slash + 1);
    } else {
      name = given;
    }
  }
  if ((folder.empty() || !IsFolder(folder)) && ofn.lpstrInitialDir && *ofn.lpstrInitialDir)
    folder = HostPath(ofn.lpstrInitialDir);
  if (folder.empty()) {
    std::error_code ec;
    folder = fs::current_path(ec).string();
  }
  if (!IsFolder(folder)) folder = HomeFolder();  // a start folder that is gone: home instead
  return folder;
}

bool HasWildcard(const std::string& s) { return s.find_first_of("*?") != std::string::npos; }

void OnInit(HWND dialog, FileDialogState& st) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&st));
  const OPENFILENAME& ofn = *st.ofn;
  SetWindowTextA(dialog, ofn.lpstrTitle && *ofn.lpstrTitle ? ofn.lpstrTitle : (st.save ? "Save As" : "Open"));
  SetDlgItemTextA(dialog, IDOK, st.save ? "&Save" : "&Open");
  st.filters = ParseFilters(ofn.lpstrFilter);
  HWND type = GetDlgItem(dialog, kFileDialogType);
  for (const Filter& f : st.filters) SendMessageA(type, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(f.description.c_str()));
  int index = ofn.nFilterIndex >= 1 && ofn.nFilterIndex <= st.filters.size() ? static_cast<int>(ofn.nFilterIndex) - 1 : 0;
  if (!st.filters.empty()) SendMessageA(type, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  std::string name;
  std::string folder = StartFolder(ofn, name);
  if (HasWildcard(name)) {
    st.typedPatterns = {name};
    name.clear();
  }
  Navigate(dialog, st, folder, false);
  SetDlgItemTextA(dialog, kFileDialogName, name.c_str());
  // The user starts by typing a name.
  SetFocus(GetDlgItem(dialog, kFileDialogName));
}

// The chosen file passes the checks of the dialog's flags; false keeps the dialog open.
bool Acceptable(HWND dialog, const FileDialogState& st, const std::string& host) {
  const DWORD flags = st.ofn->Flags;
  std::string shown = ProgramPath(host);
  fs::path parent = fs::path(host).parent_path();
  if (!IsFolder(parent.string())) {
    ShowError(dialog, shown + "\nThe path does not exist.\nCheck the path and try again.");
    return false;
  }
  std::error_code ec;
  bool exists = fs::exists(host, ec);
  if (!st.save && !exists) {
    if (flags & OFN_FILEMUSTEXIST) {
      ShowError(dialog, shown + "\nFile not found.\nCheck the file name and try again.");
      return false;
    }
    if ((flags & OFN_CREATEPROMPT) &&
        MessageBox(dialog, (shown + "\nThis file does not exist.\nDo you want to create it?").c_str(),
                   st.ofn->lpstrTitle ? st.ofn->lpstrTitle : "Open", MB_YESNO | MB_ICONQUESTION) != IDYES)
      return false;
  }
  if (st.save && exists && (flags & OFN_OVERWRITEPROMPT) &&
      MessageBox(dialog, (shown + " already exists.\nDo you want to replace it?").c_str(),
                 st.ofn->lpstrTitle ? st.ofn->lpstrTitle : "Save As", MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
    return false;
  return true;
}

void Finish(HWND dialog, FileDialogState& st, const std::string& host) {
  auto type = static_cast<int>(SendDlgItemMessageA(dialog, kFileDialogType, CB_GETCURSEL, 0, 0));
  if (type >= 0) st.ofn->nFilterIndex = static_cast<DWORD>(type) + 1;
  if (!StoreChosenFile(st.ofn, ProgramPath(host))) {
    SetCommonDialogError(FNERR_BUFFERTOOSMALL);
    EndDialog(dialog, FALSE);
    return;
  }
  EndDialog(dialog, TRUE);
}

int SelectedEntry(HWND dialog) {
  return static_cast<int>(SendDlgItemMessageA(dialog, kFileDialogList, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                              LVNI_SELECTED));
}

void OnOk(HWND dialog, FileDialogState& st) {
  char typed[MAX_PATH * 2] = {};
  GetDlgItemTextA(dialog, kFileDialogName, typed, sizeof typed);
  std::string name = typed;
  while (!name.empty() && name.back() == ' ') name.pop_back();
  if (name.empty()) {
    int i = SelectedEntry(dialog);
    if (i >= 0 && i < static_cast<int>(st.entries.size()) && st.entries[static_cast<size_t>(i)].folder)
      Navigate(dialog, st, (fs::path(st.folder) / st.entries[static_cast<size_t>(i)].name).string(), true);
    return;
  }
  if (HasWildcard(name)) {
    st.typedPatterns = {name};
    Refresh(dialog, st);
    return;
  }
  std::string host = Resolve(st, name);
  if (IsFolder(host)) {
    if (Navigate(dialog, st, host, true)) SetDlgItemTextA(dialog, kFileDialogName, "");
    return;
  }
  host = HostPath(WithDefaultExtension(ProgramPath(host), st.ofn->lpstrDefExt));
  if (!Acceptable(dialog, st, host)) return;
  Finish(dialog, st, host);
}

void OnActivate(HWND dialog, FileDialogState& st, int i) {
  if (i < 0 || i >= static_cast<int>(st.entries.size())) return;
  const Entry e = st.entries[static_cast<size_t>(i)];
  if (e.folder) {
    Navigate(dialog, st, (fs::path(st.folder) / e.name).string(), true);
    return;
  }
  SetDlgItemTextA(dialog, kFileDialogName, ProgramPath(e.name).c_str());
  OnOk(dialog, st);
}

LRESULT OnNotify(HWND dialog, FileDialogState& st, NMHDR* hdr) {
  if (hdr->idFrom != kFileDialogList) return 0;
  if (hdr->code == LVN_ITEMCHANGED) {
    auto* nm = reinterpret_cast<NMLISTVIEW*>(hdr);
    if ((nm->uNewState & LVIS_SELECTED) && !(nm->uOldState & LVIS_SELECTED) && nm->iItem >= 0 &&
        nm->iItem < static_cast<int>(st.entries.size()) && !st.entries[static_cast<size_t>(nm->iItem)].folder)
      SetDlgItemTextA(dialog, kFileDialogName, ProgramPath(st.entries[static_cast<size_t>(nm->iItem)].name).c_str());
  } else if (hdr->code == NM_DBLCLK) {
    OnActivate(dialog, st, reinterpret_cast<NMITEMACTIVATE*>(hdr)->iItem);
  }
  return 0;
}

INT_PTR CALLBACK FileDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    OnInit(dialog, *reinterpret_cast<FileDialogState*>(lParam));
    return FALSE;  // the focus is set
  }
  FileDialogState* st = StateOf(dialog);
  if (!st) return FALSE;
  switch (message) {
    case WM_NOTIFY: return OnNotify(dialog, *st, reinterpret_cast<NMHDR*>(lParam));
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK: OnOk(dialog, *st); return TRUE;
        case IDCANCEL: EndDialog(dialog, FALSE); return TRUE;
        case kFileDialogUp: Navigate(dialog, *st, fs::path(st->folder).parent_path().string(), true); return TRUE;
        case kFileDialogType:
          if (HIWORD(wParam) == CBN_SELCHANGE) {
            st->typedPatterns.clear();
            Refresh(dialog, *st);
          }
          return TRUE;
        case kFileDialogPathCombo:
          if (HIWORD(wParam) == CBN_SELCHANGE) {
            char path[MAX_PATH * 2] = {};
            auto i = SendDlgItemMessageA(dialog, kFileDialogPathCombo, CB_GETCURSEL, 0, 0);
            SendDlgItemMessageA(dialog, kFileDialogPathCombo, CB_GETLBTEXT, static_cast<WPARAM>(i),
                                reinterpret_cast<LPARAM>(path));
            if (i >= 0) Navigate(dialog, *st, HostPath(path), true);
          }
          return TRUE;
        default: return FALSE;
      }
    default: return FALSE;
  }
}

}  // namespace

BOOL ShowFileDialog(LPOPENFILENAME ofn, bool save) {
  if (!ofn || !OpenFileNameSizeOk(ofn->lStructSize)) return FALSE;
  (void)kRegistered;
  InitCommonControls();
  FileDialogState st{ofn, save, "", {}, {}, {}};
  INT_PTR result = DialogBoxParamA(nullptr, "FileDialog", ofn->hwndOwner, &FileDialogProc, reinterpret_cast<LPARAM>(&st));
  return result == TRUE;
}

}  // namespace pl3
