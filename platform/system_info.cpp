#include "platform/system_info.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstring>

#include "platform/kernel_base.h"
#include "platform/kernel_files.h"
#include "platform/reset_hooks.h"
#include "platform/user.h"

extern char** environ;

namespace pl3 {
namespace {

std::vector<HtmlHelpCall> gHelpCalls;
LPTOP_LEVEL_EXCEPTION_FILTER gFilter = nullptr;

void ResetSystemInfo() {
  gHelpCalls.clear();
  gFilter = nullptr;
}
const bool gRegistered = RegisterGlobalReset(&ResetSystemInfo);

// Starts the desktop's opener on a host file, without waiting for it.
bool OpenWithDesktop(const std::string& host) {
  const char* argv[] = {"xdg-open", host.c_str(), nullptr};
  pid_t child = 0;
  if (posix_spawnp(&child, "xdg-open", nullptr, nullptr, const_cast<char* const*>(argv), environ) != 0) return false;
  // The opener hands the file on and ends; reap it when it has.
  int status = 0;
  waitpid(child, &status, WNOHANG);
  return true;
}

}  // namespace

std::vector<HtmlHelpCall>& HtmlHelpRecords() { return gHelpCalls; }
LPTOP_LEVEL_EXCEPTION_FILTER UnhandledExceptionFilter() { return gFilter; }

}  // namespace pl3

BOOL GetVersionExA(OSVERSIONINFOEXA* info) {
  if (!info || (info->dwOSVersionInfoSize != 148 && info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOEXA))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const DWORD size = info->dwOSVersionInfoSize;
  info->dwMajorVersion = 6;
  info->dwMinorVersion = 1;
  info->dwBuildNumber = 7601;
  info->dwPlatformId = 2;
  std::memset(info->szCSDVersion, 0, sizeof info->szCSDVersion);
  if (size == sizeof(OSVERSIONINFOEXA)) {
    info->wServicePackMajor = 0;
    info->wServicePackMinor = 0;
    info->wSuiteMask = 0;
    info->wProductType = 1;
    info->wReserved = 0;
  }
  return TRUE;
}

BOOL PathCompactPathExA(char* out, const char* path, UINT max, DWORD) {
  if (!out || !path || max == 0) return FALSE;
  const std::size_t room = max - 1;
  const std::size_t length = std::strlen(path);
  if (length <= room) {
    std::memcpy(out, path, length + 1);
    return TRUE;
  }
  const char* slash = std::strrchr(path, '\\');
  const char* name = slash ? slash : path;  // the name keeps its separator
  const std::size_t nameLength = std::strlen(name);
  if (slash && nameLength + 3 <= room) {
    // As much of the start as fits, "...", then the separator and name.
    const std::size_t head = room - 3 - nameLength;
    std::memcpy(out, path, head);
    std::memcpy(out + head, "...", 3);
    std::memcpy(out + head + 3, name, nameLength + 1);
    return TRUE;
  }
  const char* tail = slash ? slash + 1 : path;
  if (room <= 3) {
    std::memset(out, '.', room);
    out[room] = '\0';
    return TRUE;
  }
  std::memcpy(out, tail, room - 3);
  std::memcpy(out + room - 3, "...", 4);
  return TRUE;
}

HWND HtmlHelpA(HWND, const char* file, UINT command, DWORD_PTR) {
  const std::string topic = file ? file : "";
  pl3::gHelpCalls.push_back({topic, command});
  if (!pl3::HasRealDisplay() || command != HH_DISPLAY_TOPIC) return nullptr;
  const std::size_t cut = topic.find("::");
  const std::string host = pl3::HostPath(topic.substr(0, cut).c_str());
  struct stat st{};
  if (stat(host.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
  return pl3::OpenWithDesktop(host) ? GetDesktopWindow() : nullptr;
}

LPTOP_LEVEL_EXCEPTION_FILTER SetUnhandledExceptionFilter(LPTOP_LEVEL_EXCEPTION_FILTER filter) {
  LPTOP_LEVEL_EXCEPTION_FILTER previous = pl3::gFilter;
  pl3::gFilter = filter;
  return previous;
}

HRESULT CoInitializeEx(void*, DWORD) { return S_OK; }
void CoUninitialize() {}
