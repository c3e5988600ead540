#include "store/path_helpers.h"

#include "platform/kernel_files.h"

namespace {

// The index just after the last backslash or colon, or 0 when there is none.
std::size_t FileNameStart(std::string_view path) {
  const std::size_t sep = path.find_last_of("\\:");
  return sep == std::string_view::npos ? 0 : sep + 1;
}

}  // namespace

int FindExtensionDot(std::string_view path) {
  for (std::size_t i = path.size(); i-- > 1;) {
    if (path[i] == '.') return static_cast<int>(i);
    if (path[i] == '\\') return -1;
  }
  return -1;
}

std::string ReplaceExtension(std::string_view path, std::string_view extension) {
  const int dot = FindExtensionDot(path);
  std::string result(dot < 0 ? path : path.substr(0, static_cast<std::size_t>(dot)));
  result += '.';
  result += extension;
  return result;
}

std::string GetFileNamePart(std::string_view path) { return std::string(path.substr(FileNameStart(path))); }

std::optional<std::string> GetFileNamePartOrNull(std::string_view path) {
  if (path.size() <= 1) return std::nullopt;
  const std::size_t start = FileNameStart(path);
  if (start == 0) return std::nullopt;
  return std::string(path.substr(start));
}

int FileExists(const char* path) {
  if (!path || !*path) return 0;
  WIN32_FIND_DATA data;
  HANDLE search = FindFirstFile(path, &data);
  if (search == INVALID_HANDLE_VALUE) return 0;
  FindClose(search);
  return 1;
}
