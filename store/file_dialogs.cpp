#include "store/file_dialogs.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <string_view>

#include "platform/reset_hooks.h"
#include "platform/text_case.h"

OPENFILENAME SharedOpenFileName;

namespace {

DialogFolders g_folders;
char g_fileBuffer[kDialogPathChars];
char g_titleBuffer[kDialogPathChars];
std::string g_initialFolder;      // the folder SetupOpenFileName was given
std::string g_defaultExtension;
std::string g_dialogFolder;       // the folder the next dialog starts in

void ResetFileDialogs() {
  g_folders = DialogFolders{};
  SharedOpenFileName = OPENFILENAME{};
  g_fileBuffer[0] = 0;
  g_titleBuffer[0] = 0;
  g_initialFolder.clear();
  g_defaultExtension.clear();
  g_dialogFolder.clear();
}
const bool g_registered = pl3::RegisterGlobalReset(&ResetFileDialogs);

bool IsOneOf(std::string_view ext, std::initializer_list<std::string_view> list) {
  for (std::string_view e : list)
    if (pl3::EqualsNoCase(ext, e)) return true;
  return false;
}

// The starting folder of an open dialog without a path.
const std::string& StartFolderForExtension(std::string_view ext) {
  if (IsOneOf(ext, {"LIB"})) return g_folders.libraryPath;
  if (IsOneOf(ext, {"PRJ", "PCB"})) return g_folders.projectPath;
  if (IsOneOf(ext, {"p3s", "SIZ", "GRD"})) return g_folders.configurationPath;
  if (IsOneOf(ext, {"NET", "WAS"})) return g_folders.netPath;
  if (IsOneOf(ext, {"GBX", "BMP", "PCK", "NC", "TXT"})) return g_folders.outputPath;
  if (IsOneOf(ext, {"AC"})) return g_folders.modelPath3D;
  return g_initialFolder;
}

void SetFileBuffer(std::string_view text) {
  const std::size_t n = std::min(text.size(), static_cast<std::size_t>(kDialogPathChars - 1));
  std::memcpy(g_fileBuffer, text.data(), n);
  g_fileBuffer[n] = 0;
}

// Points the shared record at the buffers and the starting folder.
void PrepareSharedRecord(HWND owner, DWORD flags) {
  SharedOpenFileName.lStructSize = kOpenFileNameSize;
  SharedOpenFileName.hwndOwner = owner;
  SharedOpenFileName.lpstrFile = g_fileBuffer;
  SharedOpenFileName.nMaxFile = kDialogPathChars;
  SharedOpenFileName.lpstrFileTitle = g_titleBuffer;
  SharedOpenFileName.nMaxFileTitle = kDialogPathChars;
  SharedOpenFileName.lpstrInitialDir = g_dialogFolder.empty() ? nullptr : g_dialogFolder.c_str();
  SharedOpenFileName.Flags |= flags;
}

std::optional<std::string> ChosenPath(BOOL ok) {
  if (!ok) {
    (void)CommDlgExtendedError();  // read and dropped: a failure is a cancel to the caller
    return std::nullopt;
  }
  return std::string(g_fileBuffer);
}

}  // namespace

DialogFolders& DialogStartFolders() { return g_folders; }

void SetupOpenFileName(HWND owner, const char* filter, const char* defaultExtension, const char* initialFolder) {
  SharedOpenFileName = OPENFILENAME{};
  g_initialFolder = initialFolder ? initialFolder : "";
  g_defaultExtension = defaultExtension ? defaultExtension : "";
  g_dialogFolder = g_initialFolder;
  g_fileBuffer[0] = 0;
  g_titleBuffer[0] = 0;
  SharedOpenFileName.lStructSize = kOpenFileNameSize;
  SharedOpenFileName.hwndOwner = owner;
  SharedOpenFileName.hInstance = nullptr;
  if (filter) {
    SharedOpenFileName.lpstrFilter = filter;
    SharedOpenFileName.nFilterIndex = 1;
  }
  SharedOpenFileName.lpstrFile = g_fileBuffer;
  SharedOpenFileName.nMaxFile = kDialogPathChars;
  SharedOpenFileName.lpstrFileTitle = g_titleBuffer;
  SharedOpenFileName.nMaxFileTitle = kDialogPathChars;
  SharedOpenFileName.lpstrInitialDir = g_initialFolder.empty() ? nullptr : g_initialFolder.c_str();
  SharedOpenFileName.lpstrDefExt = g_defaultExtension.empty() ? nullptr : g_defaultExtension.c_str();
}

std::optional<std::string> ShowOpenFileDialog(HWND owner, const char* path) {
  if (path && *path) {
    // Start in the path's drive and folder with its file name filled in.
    const std::string_view p(path);
    const std::size_t sep = p.find_last_of("\\:");
    g_dialogFolder = sep == std::string_view::npos ? std::string() : std::string(p.substr(0, sep + 1));
    SetFileBuffer(sep == std::string_view::npos ? p : p.substr(sep + 1));
  } else {
    g_dialogFolder = StartFolderForExtension(g_defaultExtension);
    g_fileBuffer[0] = 0;
  }
  PrepareSharedRecord(owner, OFN_EXPLORER | kOfnShareAware | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY);
  return ChosenPath(GetOpenFileName(&SharedOpenFileName));
}

std::optional<std::string> ShowSaveFileDialog(HWND owner, const char* initialName) {
  g_dialogFolder = g_initialFolder;
  SetFileBuffer(initialName ? initialName : "");
  SharedOpenFileName.Flags &= ~OFN_FILEMUSTEXIST;  // left by an earlier open dialog
  PrepareSharedRecord(owner, OFN_EXPLORER | kOfnShareAware | OFN_HIDEREADONLY);
  return ChosenPath(GetSaveFileName(&SharedOpenFileName));
}

std::optional<std::string> BrowseForFolder(HWND owner, const char* title) {
  BROWSEINFO info{};
  char displayName[MAX_PATH] = {};
  info.hwndOwner = owner;
  info.pidlRoot = nullptr;
  info.pszDisplayName = displayName;
  info.lpszTitle = title;
  info.ulFlags = 0;
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolder(&info);
  if (!chosen) return std::nullopt;
  char folder[kDialogPathChars] = {};
  const BOOL ok = SHGetPathFromIDList(chosen, folder);
  CoTaskMemFree(chosen);
  if (!ok) return std::nullopt;
  return std::string(folder);
}
