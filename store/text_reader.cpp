#include "store/text_reader.h"

#include <cstring>

#include "platform/kernel_base.h"
#include "platform/kernel_files.h"

namespace {

constexpr char CR = 13;
constexpr char LF = 10;

bool IsLineEnd(char c) { return c == CR || c == LF; }

}  // namespace

TextReader::~TextReader() {
  if (file && file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

TextReaderPtr OpenTextReader(const char* path) {
  if (!path) return nullptr;
  HANDLE file = CreateFile(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  auto reader = std::make_unique<TextReader>();
  reader->file = file;
  DWORD high = 0;
  const DWORD size = GetFileSize(file, &high);
  if (size == INVALID_FILE_SIZE || high != 0) return nullptr;
  reader->data.resize(size);
  DWORD read = 0;
  if (size > 0 && (!ReadFile(file, reader->data.data(), size, &read, nullptr) || read != size)) return nullptr;
  reader->size = size;
  return reader;
}

TextReaderPtr OpenTextReaderFromMemory(const void* block, std::size_t size) {
  auto reader = std::make_unique<TextReader>();
  if (size > 0xFFFFFFFFu) return nullptr;
  if (block && size > 0) reader->data.assign(static_cast<const char*>(block), size);
  reader->size = static_cast<std::uint32_t>(reader->data.size());
  return reader;
}

bool ReadTextLine(TextReader& reader, bool keepEmptyLines) {
  const std::string& data = reader.data;
  std::uint32_t& pos = reader.position;
  if (!keepEmptyLines) {
    // Line ends before the first character of a line belong to no line.
    while (pos < reader.size && (IsLineEnd(data[pos]) || data[pos] == 0)) ++pos;
  }
  if (pos >= reader.size) return false;
  std::string& line = reader.line;
  line.clear();
  reader.hasLine = true;
  bool ended = false;
  while (pos < reader.size) {
    const char c = data[pos];
    if (c == 0) {
      ++pos;
      continue;
    }
    if (!IsLineEnd(c)) {
      if (ended) break;  // the next line starts here
      line.push_back(c);
      ++pos;
      continue;
    }
    // Every carriage return and line feed of the run is consumed, except that
    // with kept empty lines the line ends right after its first line feed: a
    // following line feed is an empty line of its own, while carriage returns
    // before the line feed (CR LF, CR CR LF) belong to this line's end.
    ended = true;
    ++pos;
    if (keepEmptyLines && c == LF) break;
  }
  return true;
}

void CloseTextReader(TextReaderPtr& reader) { reader.reset(); }
