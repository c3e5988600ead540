// SHGetFileInfo and the system image lists of fixed icons.
#include "platform/shell_info.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "platform/kernel_base.h"
#include "platform/kernel_files.h"
#include "platform/reset_hooks.h"
#include "platform/resource_images.h"
#include "platform/text_case.h"

namespace {

struct SystemLists {
  HIMAGELIST small = nullptr;
  HIMAGELIST large = nullptr;
};

SystemLists& Lists() {
  static SystemLists lists;
  return lists;
}

// The image lists themselves go with every image list when tests reset.
const bool kResetRegistered = pl3::RegisterGlobalReset([] { Lists() = SystemLists{}; });

constexpr std::uint32_t kFolderBody = 0xFFE8C050;
constexpr std::uint32_t kFolderEdge = 0xFF9C7A20;
constexpr std::uint32_t kFolderFlap = 0xFFF8E090;
constexpr std::uint32_t kPageBody = 0xFFFFFFFF;
constexpr std::uint32_t kPageEdge = 0xFF707070;

// One fixed icon at s x s pixels, drawn on a 16-unit grid scaled to s.
std::vector<std::uint32_t> DrawIcon(int which, int s) {
  std::vector<std::uint32_t> p(static_cast<std::size_t>(s) * static_cast<std::size_t>(s), 0);
  auto box = [&](int l, int t, int r, int b, std::uint32_t fill, std::uint32_t edge) {
    const int L = l * s / 16, T = t * s / 16, R = r * s / 16, B = b * s / 16;
    for (int y = T; y < B; ++y)
      for (int x = L; x < R; ++x)
        p[static_cast<std::size_t>(y) * s + x] = (x == L || x == R - 1 || y == T || y == B - 1) ? edge : fill;
  };
  switch (which) {
    case kShellIconFile:
      box(3, 1, 13, 15, kPageBody, kPageEdge);
      box(9, 1, 13, 5, kPageBody, kPageEdge);  // the folded corner
      break;
    case kShellIconFolder:
      box(1, 2, 7, 5, kFolderBody, kFolderEdge);  // the tab
      box(1, 4, 15, 14, kFolderBody, kFolderEdge);
      break;
    default:
      box(1, 2, 7, 5, kFolderBody, kFolderEdge);
      box(1, 4, 14, 14, kFolderBody, kFolderEdge);
      box(3, 7, 16, 14, kFolderFlap, kFolderEdge);  // the open flap
      break;
  }
  return p;
}

HIMAGELIST SystemList(bool small) {
  HIMAGELIST& list = small ? Lists().small : Lists().large;
  if (list && ImageList_GetImageCount(list) == 3) return list;
  const int s = small ? 16 : 32;
  list = ImageList_Create(s, s, ILC_COLOR32 | ILC_MASK, 3, 0);
  for (int which : {kShellIconFile, kShellIconFolder, kShellIconOpenFolder}) {
    const std::vector<std::uint32_t> pixels = DrawIcon(which, s);
    HICON icon = pl3::CreateIconFromPixels(pixels.data(), s, s);
    ImageList_AddIcon(list, icon);
    DestroyIcon(icon);
  }
  return list;
}

void CopyText(char* out, std::size_t size, const std::string& text) {
  const std::size_t n = std::min(text.size(), size - 1);
  std::memcpy(out, text.data(), n);
  out[n] = '\0';
}

std::string LastComponent(const std::string& path) {
  std::string trimmed = path;
  while (trimmed.size() > 3 && (trimmed.back() == '\\' || trimmed.back() == '/')) trimmed.pop_back();
  const std::size_t cut = trimmed.find_last_of("\\/");
  return cut == std::string::npos ? trimmed : trimmed.substr(cut + 1);
}

std::string TypeName(const std::string& name, bool folder) {
  if (folder) return "File Folder";
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot + 1 == name.size()) return "File";
  std::string ext = name.substr(dot + 1);
  for (char& c : ext) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return ext + " File";
}

}  // namespace

DWORD_PTR SHGetFileInfoA(LPCSTR path, DWORD attributes, SHFILEINFOA* info, UINT size, UINT flags) {
  if (!path || (info && size != sizeof(SHFILEINFOA)) || (!info && !(flags & SHGFI_SYSICONINDEX))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (!(flags & SHGFI_USEFILEATTRIBUTES)) {
    attributes = GetFileAttributes(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return 0;
  }
  const bool folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  const int index = !folder ? kShellIconFile : (flags & SHGFI_OPENICON) ? kShellIconOpenFolder : kShellIconFolder;
  HIMAGELIST list = SystemList((flags & SHGFI_SMALLICON) != 0);
  if (info) {
    std::memset(info, 0, sizeof *info);
    info->iIcon = index;
    if (flags & SHGFI_ICON) info->hIcon = ImageList_GetIcon(list, index, ILD_NORMAL);
    if (flags & SHGFI_DISPLAYNAME) CopyText(info->szDisplayName, sizeof info->szDisplayName, LastComponent(path));
    if (flags & SHGFI_TYPENAME) CopyText(info->szTypeName, sizeof info->szTypeName, TypeName(LastComponent(path), folder));
  }
  return (flags & SHGFI_SYSICONINDEX) ? reinterpret_cast<DWORD_PTR>(list) : 1;
}
