// SHGetFileInfo: a file's or folder's icon, name and type. The icons are the
// platform's own fixed pictures (a page, a closed folder, an open folder) in
// two system image lists, 16 x 16 and 32 x 32, whose indexes are the same.
#pragma once
#include "platform/commctrl.h"

struct SHFILEINFOA {
  HICON hIcon;  // with SHGFI_ICON: a new icon the caller destroys
  int iIcon;    // index in the system image list
  DWORD dwAttributes;  // not filled
  CHAR szDisplayName[MAX_PATH];
  CHAR szTypeName[80];
};
using SHFILEINFO = SHFILEINFOA;

constexpr UINT SHGFI_LARGEICON = 0x000000;
constexpr UINT SHGFI_SMALLICON = 0x000001;
constexpr UINT SHGFI_OPENICON = 0x000002;
constexpr UINT SHGFI_USEFILEATTRIBUTES = 0x000010;
constexpr UINT SHGFI_ICON = 0x000100;
constexpr UINT SHGFI_DISPLAYNAME = 0x000200;
constexpr UINT SHGFI_TYPENAME = 0x000400;
constexpr UINT SHGFI_SYSICONINDEX = 0x004000;

// Indexes of the fixed icons in the system image lists.
constexpr int kShellIconFile = 0;
constexpr int kShellIconFolder = 1;
constexpr int kShellIconOpenFolder = 2;

// Fills `info` (size must be sizeof(SHFILEINFOA)) for the program path.
// Without SHGFI_USEFILEATTRIBUTES the path must exist and decides between
// file and folder; with it, FILE_ATTRIBUTE_DIRECTORY in `attributes` does.
// Returns the system image list with SHGFI_SYSICONINDEX, else non-zero;
// 0 on failure.
DWORD_PTR SHGetFileInfoA(LPCSTR path, DWORD attributes, SHFILEINFOA* info, UINT size, UINT flags);
#define SHGetFileInfo SHGetFileInfoA
