#include "app/core_utilities.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/arena.h"
#include "platform/kernel_files.h"
#include "platform/reset_hooks.h"
#include "platform/responder.h"
#include "platform/text_case.h"
#include "platform/user.h"
#include "store/node_pool.h"

std::uint8_t FatalErrorFlag = 0;
HWND FrameWindow = nullptr;
HWND MDIClientWindow = nullptr;
HWND StatusBarWindow = nullptr;
int StatusBarHeight = 0;
// No visual styles library exists on this platform: the classic drawing
// throughout. Kept here, light to link, as every owner-drawn menu reads it.
int ThemeActive = 0;

const char* const ProgramRegistryKey = "SOFTWARE\\Corvane\\Pelmora3";

namespace {

FrameDestroyFn frameDestroyer = nullptr;

void ResetCoreUtilities() {
  FatalErrorFlag = 0;
  FrameWindow = nullptr;
  MDIClientWindow = nullptr;
  StatusBarWindow = nullptr;
  StatusBarHeight = 0;
  frameDestroyer = nullptr;
  ViewDCCount = 0;
}
const bool registered = pl3::RegisterGlobalReset(&ResetCoreUtilities);

constexpr const char* kErrorCaption = "Internal Error Handler";

char* NewCopy(const char* text, std::size_t length) {
  char* copy = static_cast<char*>(std::malloc(length + 1));
  if (!copy) return nullptr;
  std::memcpy(copy, text, length);
  copy[length] = '\0';
  return copy;
}

// "SOFTWARE\Corvane\Pelmora3" or "SOFTWARE\Corvane\Pelmora3\<subkey>".
char* ProgramKeyPath(const char* subkey) {
  return subkey ? FormatNewString("%s\\%s", ProgramRegistryKey, subkey) : DuplicateString(ProgramRegistryKey);
}

}  // namespace

void SetFrameDestroyer(FrameDestroyFn destroy) { frameDestroyer = destroy; }

void Error(std::uint16_t number) {
  if (FatalErrorFlag == 0)
    MessageBox(FrameWindow, "Possible incorrect call to Error()", kErrorCaption, MB_ICONEXCLAMATION);
  char* message = FormatNewString("%s%u%s%s", "A Fatal Error Has Occurred.\n Error Number : ",
                                  static_cast<unsigned>(number), "\n",
                                  TowerErrorTextOf(number));
  MessageBox(FrameWindow, message ? message : "A Fatal Error Has Occurred.", kErrorCaption, MB_ICONEXCLAMATION);
  std::free(message);
  if (FrameWindow && (!frameDestroyer || !frameDestroyer(FrameWindow)))
    MessageBox(FrameWindow, "Unable to terminate application.", kErrorCaption, MB_ICONEXCLAMATION);
  // The store's state cannot be trusted after one of its errors: end here,
  // without running exit handlers that might walk it.
  std::fflush(nullptr);
  std::_Exit(1);
}

void ShowMessage(HWND owner, const char* text, const char* caption) {
  MessageBox(owner, text, caption, MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
}

int ShowMessageEx(HWND owner, const char* text, const char* caption, UINT flags) {
  return MessageBox(owner, text, caption, flags);
}

LONG OpenProgramRegistryKey(HKEY root, const char* subkey, DWORD options, REGSAM access, PHKEY key) {
  char* path = ProgramKeyPath(subkey);
  if (!path) return static_cast<LONG>(ERROR_NOT_ENOUGH_MEMORY);
  LONG status = RegOpenKeyEx(root, path, options, access, key);
  std::free(path);
  return status;
}

LONG CreateProgramRegistryKey(HKEY root, const char* subkey, DWORD reserved, LPSTR keyClass, DWORD options,
                              REGSAM access, LPSECURITY_ATTRIBUTES security, PHKEY key, LPDWORD disposition) {
  char* path = ProgramKeyPath(subkey);
  if (!path) return static_cast<LONG>(ERROR_NOT_ENOUGH_MEMORY);
  LONG status = RegCreateKeyEx(root, path, reserved, keyClass, options, access, security, key, disposition);
  std::free(path);
  return status;
}

void SaveShowInitialiseWindowValue(DWORD show) {
  HKEY key = nullptr;
  if (CreateProgramRegistryKey(HKEY_CURRENT_USER, "Initialisation", 0, nullptr, REG_OPTION_NON_VOLATILE,
                               KEY_ALL_ACCESS, nullptr, &key, nullptr) != static_cast<LONG>(ERROR_SUCCESS))
    return;
  RegSetValueEx(key, "ShowInitialiseWindow", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&show), sizeof show);
  RegCloseKey(key);
}

int LoadShowInitialiseWindow() {
  HKEY key = nullptr;
  if (OpenProgramRegistryKey(HKEY_CURRENT_USER, "Initialisation", 0, KEY_READ, &key) !=
      static_cast<LONG>(ERROR_SUCCESS))
    return 1;
  DWORD value = 1, type = 0, size = sizeof value;
  LONG status = RegQueryValueEx(key, "ShowInitialiseWindow", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  if (status != static_cast<LONG>(ERROR_SUCCESS) || type != REG_DWORD || size != sizeof value) return 1;
  return value ? 1 : 0;
}

std::uint32_t ViewDCCount = 0;

HDC GetViewDC(HWND window) {
  HDC dc = GetDC(window);
  ++ViewDCCount;
  return dc;
}

int ReleaseViewDC(HWND window, HDC dc) {
  --ViewDCCount;
  return ReleaseDC(window, dc);
}

char* GetWindowTextCopy(HWND window) {
  const int length = GetWindowTextLength(window);
  auto* text = static_cast<char*>(std::malloc(static_cast<std::size_t>(length) + 1));
  if (!text) return nullptr;
  text[0] = '\0';
  GetWindowText(window, text, length + 1);
  return text;
}

int NoPendingUpdate(HWND window) {
  constexpr UINT kUpdateRequest = WM_USER + 5;
  MSG pending;
  return PeekMessage(&pending, window, kUpdateRequest, kUpdateRequest, PM_NOREMOVE) ? 0 : 1;
}

char* DuplicateString(const char* text) { return text ? NewCopy(text, std::strlen(text)) : nullptr; }

char* ConcatNewString(const char* first, const char* second) {
  return FormatNewString("%s%s", first ? first : "", second ? second : "");
}

char* CopyLeft(const char* text, std::size_t length) {
  if (!text) return nullptr;
  return NewCopy(text, strnlen(text, length));
}

char* GetDesignatorPrefix(const char* text) {
  if (!text) return nullptr;
  std::size_t length = std::strlen(text);
  while (length > 0 && text[length - 1] >= '0' && text[length - 1] <= '9') --length;
  return NewCopy(text, length);
}

char* FindSubstring(const char* text, const char* pattern) {
  if (!text || !pattern) return nullptr;
  const std::string_view haystack(text), needle(pattern);
  for (std::size_t at = 0; at + needle.size() <= haystack.size(); ++at)
    if (pl3::EqualsNoCase(haystack.substr(at, needle.size()), needle)) return const_cast<char*>(text + at);
  return nullptr;
}

void replacesubstring(char* text, const char* oldText, const char* newText) {
  if (!text || !oldText || !newText) return;
  std::size_t length = std::strlen(oldText);
  if (length != std::strlen(newText)) {
    MessageBox(nullptr, "This version of replacesubstring doesnt work like that", "", MB_OK);
    return;
  }
  if (length == 0) return;
  // Searching on after each replaced text ends even when the new text
  // matches the old one.
  for (char* at = FindSubstring(text, oldText); at; at = FindSubstring(at + length, oldText))
    std::memcpy(at, newText, length);
}

char* FormatNewString(const char* format, ...) {
  char local[4096];
  va_list args;
  va_start(args, format);
  int needed = std::vsnprintf(local, sizeof local, format, args);
  va_end(args);
  if (needed < 0) return nullptr;
  if (static_cast<std::size_t>(needed) < sizeof local) return NewCopy(local, static_cast<std::size_t>(needed));
  for (std::size_t size = 2 * sizeof local;; size *= 2) {
    if (size <= static_cast<std::size_t>(needed)) continue;
    char* buffer = static_cast<char*>(std::malloc(size));
    if (!buffer) return nullptr;
    va_start(args, format);
    int written = std::vsnprintf(buffer, size, format, args);
    va_end(args);
    if (written >= 0 && static_cast<std::size_t>(written) < size) return buffer;
    std::free(buffer);
    if (written < 0) return nullptr;
  }
}

const char* FileNamePart(const char* path) {
  if (!path) return nullptr;
  const char* slash = std::strrchr(path, '\\');
  return slash ? slash + 1 : path;
}

void RemoveArrayElement(void* array, std::size_t elementSize, std::size_t index, std::size_t count) {
  if (!array || count == 0 || index + 1 >= count) return;
  auto* bytes = static_cast<unsigned char*>(array);
  std::memmove(bytes + index * elementSize, bytes + (index + 1) * elementSize, (count - 1 - index) * elementSize);
}

// Buffers from here are named by pointer only, so they stay out of the node
// arena.
void* AllocatePages(std::size_t size) { return pl3::SystemPagesCommit(size); }

void FreePages(void* block) { pl3::SystemPagesRelease(block); }
