#include "app/error_log.h"

#include <cstring>

#include "app/settings_block.h"
#include "platform/arena.h"
#include "platform/kernel_files.h"
#include "platform/reset_hooks.h"
#include "platform/responder.h"

// Defined beside its first reader so that the error log links without the
// settings readers. Tests own the blocks they read; between tests the global
// only forgets.
SettingsBlock* Settings = nullptr;

namespace {

void ResetSettingsPointer() { Settings = nullptr; }
const bool registered = pl3::RegisterGlobalReset(&ResetSettingsPointer);

const char* SeverityName(std::uint32_t severity) {
  switch (severity) {
    case 1: return "Internal Error";
    case 2: return "User Error";
    default: return "Other Error";
  }
}

// Each piece is appended by an open, seek to the end, write and close of its
// own, so that whatever was written before a crash stays in the log.
bool AppendToLog(const char* piece) {
  const std::string path = ErrorLogPath();
  HANDLE log = CreateFile(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (log == INVALID_HANDLE_VALUE) {
    MessageBox(nullptr, "Error - unable to open file", path.c_str(), MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
    return false;
  }
  SetFilePointer(log, 0, nullptr, FILE_END);
  DWORD written = 0;
  WriteFile(log, piece, static_cast<DWORD>(std::strlen(piece)), &written, nullptr);
  CloseHandle(log);
  return true;
}

}  // namespace

std::string ErrorLogPath() { return "PL3_Err.log"; }

void ShowAndLogError(HWND owner, const char* text, const char* caption, std::uint32_t severity) {
  const std::uint32_t mask = Settings ? Settings->errorMask : DefaultErrorMask;
  if (mask & severity) MessageBox(owner, text, caption, MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
  if ((mask & ErrorMaskLogBits) == ErrorMaskLogBits) {
    const char* pieces[] = {text ? text : "", "\t", caption ? caption : "", "\t", SeverityName(severity), "\r\n"};
    for (const char* piece : pieces)
      if (!AppendToLog(piece)) return;
  }
}

// The node pool is the only caller, and its blocks hold nodes named by 32-bit
// references: they come from the node arena.
void* VirtualAllocBlock(std::uint32_t size) { return size ? pl3::ArenaCommit(size) : nullptr; }

void VirtualFreeBlock(void* block) {
  if (block) pl3::ArenaRelease(block);
}
