#include "app/error_log.h"

#include <cstring>

#include "app/settings_block.h"
#include "platform/arena.h"
#include "platform/kernel_files.h"
#include "platform/reset_hooks.h"
#include "platform/responder.h"

SettingsBlock Settings;

namespace {

void ResetSettings() { Settings = SettingsBlock{}; }
const bool registered = pl3::RegisterGlobalReset(&ResetSettings);

const char* SeverityName(std::uint32_t severity) {
  switch (severity) {
    case 1: return "Internal Error";
    case 2: return "User Error";
    default: return "Other Error";
  }
}

void AppendToLog(const std::string& lines) {
  const std::string path = ErrorLogPath();
  HANDLE log = CreateFile(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                          nullptr);
  if (log == INVALID_HANDLE_VALUE) return;  // a log that cannot be written is not an error of its own
  SetFilePointer(log, 0, nullptr, FILE_END);
  DWORD written = 0;
  WriteFile(log, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
  CloseHandle(log);
}

}  // namespace

std::string ErrorLogPath() { return pl3::ProgramPath(pl3::ConfigFolder()) + "\\PL3_Err.log"; }

void ShowAndLogError(HWND owner, const char* text, const char* caption, std::uint32_t severity) {
  const std::uint32_t mask = Settings.errorMask;
  if (mask & severity) MessageBox(owner, text, caption, MB_ICONEXCLAMATION);
  if ((mask & ErrorMaskLogBits) == ErrorMaskLogBits) {
    std::string lines;
    lines += text ? text : "";
    lines += '\n';
    lines += caption ? caption : "";
    lines += '\n';
    lines += SeverityName(severity);
    lines += '\n';
    AppendToLog(lines);
  }
}

void* VirtualAllocBlock(std::uint32_t size) { return size ? pl3::ArenaCommit(size) : nullptr; }

void VirtualFreeBlock(void* block) {
  if (block) pl3::ArenaRelease(block);
}
