// ReadAcceleratorsFile over any bytes: NULs, no line ends, huge lines,
// thousands of codes, names in any case. No crash, no sanitizer report; a
// bound command's key text always matches its codes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/accelerators_file.h"
#include "app/command_table.h"

namespace {

const std::string& FilePath() {
  static const std::string path = [] {
    const char* tmp = std::getenv("TMPDIR");
    return std::string(tmp ? tmp : "/tmp") + "/pl3_accelerators_fuzz.txt";
  }();
  return path;
}

void BuildTable() {
  FreeCommandTables();
  AddCommand("edit.copy", "Copy", 63, -1, nullptr, 0);
  AddCommand("insert.line", "Insert Line", 55, 0, nullptr, 0);
  AddCommand("tools.zoomlevel.10", "Zoom To Level 10", 63, -2, nullptr, 0x39);
  SetCommandKeys2("edit.copy", 17, 67);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  BuildTable();
  std::FILE* f = std::fopen(FilePath().c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  ReadAcceleratorsFile(FilePath().c_str());
  for (std::uint32_t i = 0; i < LiveCommandTable.count; ++i) {
    const CommandRecord& r = LiveCommandTable.records[i];
    if ((r.keyCount == 0) != (r.keyText == nullptr)) std::abort();
    if (r.keyCount) {
      char* text = FormatKeyCodes(r.keyCount, r.keyCodes);
      if (std::strcmp(text, r.keyText) != 0) std::abort();
      std::free(text);
    }
  }
  WriteAcceleratorsFile(&LiveCommandTable, (FilePath() + ".out").c_str());
  FreeCommandTables();
  return 0;
}
