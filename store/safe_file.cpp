#include "store/safe_file.h"

#include <algorithm>

#include "platform/kernel_files.h"

namespace {
void SetError(std::string* error, const std::string& text) {
  if (error) *error = text;
}
}  // namespace

std::string SavingPathBeside(const std::string& path) { return path + ".saving"; }

bool WriteFileSafely(const std::string& path, const SafeFileWriter& write, std::string* error,
                     const std::function<void()>& beforeReplace) {
  const std::string temp = SavingPathBeside(path);
  HANDLE file = CreateFile(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD createError = GetLastError();
    SetError(error, "cannot create " + temp + " (error " + std::to_string(createError) + ")");
    SetLastError(createError);
    return false;
  }
  SetLastError(0);
  const bool ok = write(file) && FlushFileBuffers(file);
  const DWORD writeError = GetLastError();
  CloseHandle(file);
  if (!ok) {
    DeleteFile(temp.c_str());
    SetError(error, "cannot write " + temp + " (error " + std::to_string(writeError) + ")");
    SetLastError(writeError ? writeError : ERROR_WRITE_FAULT);
    return false;
  }
  if (beforeReplace) beforeReplace();
  // The rename replaces the old file in one step; write-through also flushes
  // the folder so that the new name survives a power loss.
  if (!MoveFileEx(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD moveError = GetLastError();
    DeleteFile(temp.c_str());
    SetError(error, "cannot replace " + path + " (error " + std::to_string(moveError) + ")");
    SetLastError(moveError);
    return false;
  }
  return true;
}

bool WriteBytesSafely(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string* error,
                      const std::function<void()>& beforeReplace) {
  const auto writeAll = [&bytes](HANDLE file) {
    for (std::size_t done = 0; done < bytes.size();) {
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 24));
      DWORD written = 0;
      if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written != chunk) return false;
      done += chunk;
    }
    return true;
  };
  return WriteFileSafely(path, writeAll, error, beforeReplace);
}

std::string SetFileAside(const std::string& path) {
  constexpr int kMostCopies = 1000;
  for (int n = 0; n < kMostCopies; ++n) {
    std::string aside = path + ".corrupt";
    if (n) aside.append(".").append(std::to_string(n));
    if (MoveFile(path.c_str(), aside.c_str())) return aside;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return {};
  }
  return {};
}
