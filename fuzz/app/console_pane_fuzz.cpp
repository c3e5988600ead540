// LoadConsolePane over a log tree (21000) built from fuzzer bytes: lines with
// missing, short, repeated and unended fields. No crash, no over-read, and
// the tree is left in order.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "app/consoles.h"
#include "app/settings_block.h"
#include "store/tower.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("PL3_BACKEND", "headless", 1);
  if (!RootGroup()) InitTowerStore();
  static SettingsBlock block{};
  for (int k = 0; k < kConsoleKindSlots; ++k) block.ConsoleVisible[k] = block.ConsoleSaved[k] = (k % 3) != 2;
  Settings = &block;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Tower* design = NewTower(0);
  LastLevel(design).typeCode = 102;
  InsertAtLastLevel(design, 0);
  Tower* lines = InsertEmptyEntity(design, Type_ConsoleLines);
  Tower* line = nullptr;
  std::size_t i = 0;
  // Each step: an op byte (0 a new line, else a field of code 21001 + op % 13),
  // a length byte, then that many payload bytes.
  while (i + 2 <= size) {
    const std::uint8_t op = data[i], length = data[i + 1];
    i += 2;
    const std::size_t take = length <= size - i ? length : size - i;
    if (op == 0 || !line) {
      FreeTower(line);
      line = InsertEmptyEntity(lines, Type_ConsoleLine);
    }
    if (op != 0) {
      const auto code = static_cast<std::uint16_t>(Type_ConsoleLine + 1 + op % 12);
      if (code == Type_ConsoleNextNumber)
        FreeTower(InsertEntity(lines, static_cast<std::uint32_t>(take), code, data + i));
      else
        FreeTower(InsertEntity(line, static_cast<std::uint32_t>(take), code, data + i));
    }
    i += take;
  }
  FreeTower(line);
  FreeTower(lines);
  ConsolePane pane{};
  LoadConsolePane(&pane, design);
  DestroyConsolePane(&pane);
  DeleteEntity(design);
  ReleaseTower(&design);
  return 0;
}
