#include "objects/size_files.h"

#include <cstring>
#include <string>

#include "objects/size_text.h"
#include "objects/type_codes.h"
#include "platform/kernel_base.h"
#include "platform/kernel_files.h"
#include "platform/responder.h"
#include "store/safe_file.h"
#include "store/tower.h"

namespace {

// Owns a file handle for the length of one call.
struct FileHandle {
  HANDLE handle;
  explicit FileHandle(HANDLE h) : handle(h) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() {
    if (ok()) CloseHandle(handle);
  }
  bool ok() const { return handle != INVALID_HANDLE_VALUE && handle != nullptr; }
};

std::unique_ptr<SizeTable> ParseBuiltInText(std::uint32_t editorKind) {
  const char* text = DefaultSizeText(editorKind);
  if (!text) return nullptr;
  return ParseSizeText(text, std::strlen(text));
}

}  // namespace

std::unique_ptr<SizeTable> LoadSizeFile(const char* path) {
  if (!path) return nullptr;
  FileHandle file(CreateFile(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                             nullptr));
  if (!file.ok()) return nullptr;
  DWORD high = 0;
  const DWORD size = GetFileSize(file.handle, &high);
  if (size == INVALID_FILE_SIZE || high != 0) return nullptr;
  std::string data(size, '\0');
  DWORD read = 0;
  if (size > 0 && (!ReadFile(file.handle, data.data(), size, &read, nullptr) || read != size)) return nullptr;
  return ParseSizeText(data.data(), data.size());
}

int SaveSizeFile(const SizeTable& table, const char* path) {
  if (!path) return 0;
  const std::string text = WriteSizeText(table);
  // The terminating NUL is part of the file. A failed write keeps the old file.
  const auto write = [&text](HANDLE file) {
    const DWORD length = static_cast<DWORD>(text.size() + 1);
    DWORD written = 0;
    return WriteFile(file, text.c_str(), length, &written, nullptr) && written == length;
  };
  return WriteFileSafely(path, write, nullptr) ? 1 : 0;
}

std::unique_ptr<SizeTable> LoadStoredSizeTable(const Tower* design) {
  if (!design) return nullptr;
  Tower* child = GetChildTower(design, Type_SizeTableRecord);
  Entity* record = child ? FindNextEntity(child) : nullptr;
  std::unique_ptr<SizeTable> table;
  if (record) {
    const char* text = reinterpret_cast<const char*>(EntityPayload(record));
    // The text ends at its NUL, or at the end of the record if a damaged
    // record has none.
    const void* end = std::memchr(text, 0, record->payloadSize);
    const std::size_t length = end ? static_cast<std::size_t>(static_cast<const char*>(end) - text) : record->payloadSize;
    table = ParseSizeText(text, length);
  }
  ReleaseTower(&child);
  return table;
}

void StoreSizeTable(const Tower* design, const SizeTable& table) {
  if (!design) return;
  const std::string text = WriteSizeText(table);
  Tower* stored = InsertEntity(design, static_cast<std::uint32_t>(text.size() + 1), Type_SizeTableRecord,
                               text.c_str());
  ReleaseTower(&stored);
}

std::unique_ptr<SizeTable> LoadSizeTableForEditor(std::uint32_t editorKind, const char* sizeFilePath) {
  if (!sizeFilePath) return nullptr;
  std::unique_ptr<SizeTable> table = LoadSizeFile(sizeFilePath);
  if (!table) return ParseBuiltInText(editorKind);
  const std::vector<std::uint32_t> missing = MissingSizeSections(*table, editorKind);
  if (missing.empty()) return table;
  MessageBox(nullptr, MissingSizeSectionsMessage(missing).c_str(), "Pelmora3", MB_OK | MB_ICONEXCLAMATION);
  return ParseBuiltInText(editorKind);
}
