// Resources compiled into a module: menus, cursors, icon groups, bitmaps and
// "PNG" images, found by type and by name or number, plus the dialog
// templates a module registers (platform/dialogs.h) under RT_DIALOG.
//
// A module's resources are written in a text description and compiled into
// the module by tools/rescomp (CMake: pl3_add_resources(target file.rc)); the
// format is described in tools/rescomp/README.md. The generated source
// registers its table while the module is loaded, so the main program and
// every library loaded with LoadLibrary each find their own resources
// through their own handle. A null module is the main program.
//
// Bytes of the standard types keep the layouts the program reads:
//   RT_GROUP_ICON   GroupIconHeader, then one GroupIconEntry per image;
//   RT_ICON         BITMAPINFOHEADER (height doubled), 32-bit blue, green,
//                   red, alpha rows bottom row first, then the 1-bit mask;
//   RT_GROUP_CURSOR GroupIconHeader (type 2), then GroupCursorEntry rows;
//   RT_CURSOR       hot spot x and y words, then an RT_ICON image;
//   RT_BITMAP       a packed DIB: BITMAPINFOHEADER and 32-bit rows, bottom
//                   row first;
//   RT_MENU         the binary menu template: a header word pair, then items
//                   (flags word, an id word unless MF_POPUP, NUL-terminated
//                   UTF-16 text); MF_POPUP nests, MF_END closes a level;
//   "PNG"           the PNG file's bytes.
#pragma once
#include <cstdint>
#include <span>

#include "platform/win_types.h"

PL3_DECLARE_HANDLE(HRSRC);
using HGLOBAL = HANDLE;

#define RT_CURSOR MAKEINTRESOURCE(1)
#define RT_BITMAP MAKEINTRESOURCE(2)
#define RT_ICON MAKEINTRESOURCE(3)
#define RT_MENU MAKEINTRESOURCE(4)
#define RT_DIALOG MAKEINTRESOURCE(5)
#define RT_GROUP_CURSOR MAKEINTRESOURCE(12)
#define RT_GROUP_ICON MAKEINTRESOURCE(14)

#pragma pack(push, 2)
struct GroupIconHeader {
  WORD reserved;  // 0
  WORD type;      // 1 icons, 2 cursors
  WORD count;
};
struct GroupIconEntry {
  BYTE width;  // 0 for 256
  BYTE height;
  BYTE colourCount;  // 0
  BYTE reserved;
  WORD planes;    // 1
  WORD bitCount;  // 32
  DWORD bytesInRes;
  WORD id;  // the RT_ICON resource
};
struct GroupCursorEntry {
  WORD width;
  WORD height;  // doubled, as in the image's header
  WORD planes;
  WORD bitCount;
  DWORD bytesInRes;
  WORD id;  // the RT_CURSOR resource
};
#pragma pack(pop)
static_assert(sizeof(GroupIconHeader) == 6);
static_assert(sizeof(GroupIconEntry) == 14);
static_assert(offsetof(GroupIconEntry, bytesInRes) == 8);
static_assert(sizeof(GroupCursorEntry) == 14);

// One resource of a module's table. `type` and `name` are strings or
// MAKEINTRESOURCE numbers.
struct ResourceEntry {
  LPCSTR type;
  LPCSTR name;
  const BYTE* data;
  DWORD size;
};

using ENUMRESNAMEPROCA = BOOL (*)(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR param);
#define ENUMRESNAMEPROC ENUMRESNAMEPROCA

// Names compare without regard to case; "#123" names the number 123. A
// missing resource gives null with ERROR_RESOURCE_NAME_NOT_FOUND (or
// ERROR_RESOURCE_TYPE_NOT_FOUND when the module has none of the type).
HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type);
#define FindResource FindResourceA
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
LPVOID LockResource(HGLOBAL data);
DWORD SizeofResource(HMODULE module, HRSRC resource);
BOOL FreeResource(HGLOBAL data);
// Calls `proc` for every resource of the type: names first (in case-free
// order), then numbers ascending; stops when it returns FALSE.
BOOL EnumResourceNamesA(HMODULE module, LPCSTR type, ENUMRESNAMEPROCA proc, LONG_PTR param);
#define EnumResourceNames EnumResourceNamesA

// The handle of a loaded module: null gives the main program's.
HMODULE GetModuleHandleA(LPCSTR name);
#define GetModuleHandle GetModuleHandleA

namespace pl3 {

// The identity of the module (main program or shared library) that holds
// `address`; the same value as the module's handle.
HMODULE ModuleOfAddress(const void* address);
// The module a handle names, the main program for null.
HMODULE ResolveModule(HMODULE module);

// Keeps a compiled table registered for as long as its module is loaded.
class ResourceRegistration {
 public:
  explicit ResourceRegistration(std::span<const ResourceEntry> entries);
  ~ResourceRegistration();
  ResourceRegistration(const ResourceRegistration&) = delete;
  ResourceRegistration& operator=(const ResourceRegistration&) = delete;

 private:
  std::span<const ResourceEntry> entries_;
};

}  // namespace pl3
