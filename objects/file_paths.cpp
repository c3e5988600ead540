#include "objects/file_paths.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/kernel_files.h"
#include "store/file_dialogs.h"

namespace {

char* HeapCopy(const char* text) {
  const std::size_t size = std::strlen(text) + 1;
  char* copy = static_cast<char*>(std::malloc(size));
  if (copy) std::memcpy(copy, text, size);
  return copy;
}

bool NamesFile(const std::string& path) {
  const DWORD attributes = GetFileAttributes(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

FoundFilePath* Found(std::uint32_t kind, const std::string& path, const char* rest) {
  auto* found = static_cast<FoundFilePath*>(std::malloc(sizeof(FoundFilePath)));
  if (!found) return nullptr;
  found->kind = kind;
  found->path = HeapCopy(path.c_str());
  found->rest = HeapCopy(rest);
  if (!found->path || !found->rest) {
    FreeFoundFilePath(found);
    return nullptr;
  }
  return found;
}

}  // namespace

FoundFilePath* FindFilePathInText(const char* text) {
  if (!text || !*text) return nullptr;
  const char* p = text;
  while (*p == ' ' || *p == '\t') ++p;
  if (!*p || *p == '\\' || *p == ':') return nullptr;
  const char* first = p;
  std::uint32_t kind = kFoundRelativePath;
  std::string buffer;
  if (first[1] == ':') kind = kFoundDrivePath;
  else buffer = DialogStartFolders().projectPath + "\\";
  for (; *p; ++p) {
    if (*p == ':' && p != first + 1) return nullptr;
    if (*p == '\\' && NamesFile(buffer)) return Found(kind, buffer, p);
    // The buffer holds the path and its terminator; a longer path finds nothing.
    if (buffer.size() + 1 >= kFoundPathBufferSize) return nullptr;
    buffer += *p;
  }
  return nullptr;
}

void FreeFoundFilePath(FoundFilePath* found) {
  if (!found) return;
  std::free(found->rest);
  std::free(found->path);
  std::free(found);
}
