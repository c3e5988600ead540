// Small system services the program's start-up calls: the version query,
// path compaction for menus, the help viewer, the unhandled-exception
// filter, and COM's start and end (nothing here uses COM: both are no-ops).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/win_types.h"

using HRESULT = std::int32_t;
constexpr HRESULT S_OK = 0;
constexpr DWORD COINIT_APARTMENTTHREADED = 0x2;

// ---- Version -----------------------------------------------------------------------------
// The extended version record (156 bytes). This platform answers a fixed
// record: version 6.1 build 7601, platform 2, no service pack text, a
// workstation.
struct OSVERSIONINFOEXA {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  char szCSDVersion[128];
  WORD wServicePackMajor;
  WORD wServicePackMinor;
  WORD wSuiteMask;
  BYTE wProductType;
  BYTE wReserved;
};
static_assert(sizeof(OSVERSIONINFOEXA) == 156, "the extended version record is 156 bytes");
using OSVERSIONINFOEX = OSVERSIONINFOEXA;
// FALSE (ERROR_INVALID_PARAMETER) unless the size field is 148 or 156; the
// shorter record leaves the extended fields alone.
BOOL GetVersionExA(OSVERSIONINFOEXA* info);
#define GetVersionEx GetVersionExA

// ---- Path compaction ---------------------------------------------------------------------
// Fits a path into `max` characters (NUL included): the file name after the
// last "\" is kept whole where it fits, the folders before it are cut and
// replaced by "..."; a name longer than the room keeps its start and ends in
// "...". FALSE when `max` is 0 or an argument is null.
BOOL PathCompactPathExA(char* out, const char* path, UINT max, DWORD flags);
#define PathCompactPathEx PathCompactPathExA

// ---- HTML Help ------------------------------------------------------------------------------
constexpr UINT HH_DISPLAY_TOPIC = 0x0000;
// Shows a topic "file.chm::/topic.html". With a display, an existing file is
// handed to the desktop's opener and a non-null handle returned; a missing
// file, or the headless backend, gives null. Every call is recorded.
HWND HtmlHelpA(HWND caller, const char* file, UINT command, DWORD_PTR data);
#define HtmlHelp HtmlHelpA

// ---- Unhandled exceptions ------------------------------------------------------------------
using LPTOP_LEVEL_EXCEPTION_FILTER = LONG (*)(void* exceptionPointers);
// Keeps the filter for the crash report and returns the previous one.
LPTOP_LEVEL_EXCEPTION_FILTER SetUnhandledExceptionFilter(LPTOP_LEVEL_EXCEPTION_FILTER filter);

// ---- COM ------------------------------------------------------------------------------------
HRESULT CoInitializeEx(void* reserved, DWORD model);
void CoUninitialize();

namespace pl3 {

struct HtmlHelpCall {
  std::string file;
  UINT command;
};
std::vector<HtmlHelpCall>& HtmlHelpRecords();
// The filter SetUnhandledExceptionFilter keeps, or null.
LPTOP_LEVEL_EXCEPTION_FILTER UnhandledExceptionFilter();

}  // namespace pl3
