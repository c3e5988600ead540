#include "app/accelerators_file.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "app/command_table.h"
#include "platform/text_case.h"
#include "store/safe_file.h"
#include "store/text_reader.h"

namespace {

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// A token that does not begin with a hexadecimal number is skipped.
void ParseCode(const std::string& token, std::vector<std::uint16_t>& codes) {
  unsigned int value = 0;
  if (!token.empty() && std::sscanf(token.c_str(), "%x", &value) == 1)
    codes.push_back(static_cast<std::uint16_t>(value & 0xFFFF));
}

void ApplyLine(const std::string& line) {
  std::string name, token;
  std::vector<std::uint16_t> codes;
  bool inCodes = false;
  for (char c : line) {
    if (IsSpace(c)) continue;
    if (!inCodes) {
      if (c == '=') inCodes = true;
      else name += c;
    } else if (c == ',') {
      ParseCode(token, codes);
      token.clear();
    } else {
      token += c;
    }
  }
  if (!inCodes) return;
  ParseCode(token, codes);
  if (codes.empty()) return;
  SetCommandKeyCodes(&LiveCommandTable, name.c_str(), static_cast<std::uint32_t>(codes.size()), codes.data());
}

}  // namespace

void ReadAcceleratorsFile(const char* path) {
  TextReaderPtr reader = OpenTextReader(path);
  if (!reader) return;
  ClearCommandKeys();
  FreeCommandMenuIndex();
  while (ReadTextLine(*reader, false)) ApplyLine(reader->line);
  CloseTextReader(reader);
}

void WriteAcceleratorsFile(const CommandTable* table, const char* path) {
  // The first record of each name, in case-free name order.
  std::vector<const CommandRecord*> firsts;
  for (std::uint32_t i = 0; i < table->count; ++i) {
    const CommandRecord* record = &table->records[i];
    auto at = std::lower_bound(firsts.begin(), firsts.end(), record, [](const CommandRecord* a, const CommandRecord* b) {
      return CompareCommandNames(a, b) < 0;
    });
    if (at != firsts.end() && CompareCommandNames(*at, record) == 0) continue;
    firsts.insert(at, record);
  }
  std::string text;
  for (const CommandRecord* record : firsts) {
    text += record->name ? record->name : "";
    text += '=';
    for (std::uint32_t k = 0; k < record->keyCount; ++k) {
      char code[16];
      std::snprintf(code, sizeof code, k ? ",0x%.4x" : "0x%.4x", record->keyCodes[k]);
      text += code;
    }
    text += '\n';
  }
  std::string error;
  WriteBytesSafely(path, std::vector<std::uint8_t>(text.begin(), text.end()), &error);
}
