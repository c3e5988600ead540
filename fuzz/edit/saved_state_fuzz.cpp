// Saved view states come from design files. The input is a list of records
// put under a PCB design's saved view state node: each a 16-bit code (below
// 64 it picks one of the known record codes), a 16-bit length and that many
// payload bytes, so records may be missing, short, repeated or oversized and
// the version any value. Reading must not crash or read past a record, and
// the block it leaves must keep its invariants.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "edit/engine_seams.h"
#include "edit/saved_state.h"
#include "edit/window_data.h"
#include "objects/type_codes.h"
#include "store/tower.h"
#include "store/tower_file.h"

void WriteEngineConsoleLine(const char*) {}
std::uint32_t CurrentCrosshairSetting() { return 1; }

namespace {

std::uint16_t PickCode(std::uint16_t raw) {
  if (raw >= 64) return raw;
  constexpr std::uint16_t extra[] = {SavedDefaultColours, SavedLayerColours, SavedPcbSettings,
                                     SavedPcbWords,       SavedPcbLayerExtents, SavedSymbolView, SavedPadStackView};
  const std::size_t pick = raw % (kCommonSavedRecordCount + std::size(extra));
  return pick < kCommonSavedRecordCount ? kCommonSavedRecords[pick].code : extra[pick - kCommonSavedRecordCount];
}

std::uint16_t Half(const std::uint8_t* p) {
  std::uint16_t v;
  std::memcpy(&v, p, 2);
  return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!RootGroup()) InitTowerStore();
  Tower* design = NewTower(0);
  LastLevel(design).typeCode = Type_PCB;
  InsertAtLastLevel(design, 0);
  Tower* group = InsertEmptyEntity(design, Type_DontReloadGroup);
  Tower* node = InsertEmptyEntity(group, Type_SavedState);

  std::size_t at = 0;
  while (at + 4 <= size) {
    const std::uint16_t code = PickCode(Half(data + at));
    std::size_t length = Half(data + at + 2);
    at += 4;
    if (length > size - at) length = size - at;
    Tower* record = InsertEntity(node, static_cast<std::uint32_t>(length), code, data + at);
    ReleaseTower(&record);
    at += length;
  }

  auto* block = new CurrentWindowData();
  if (ReadPCBSavedState(group, *block)) {
    if (block->Zoom == 0 || block->Zoom > 1024000) std::abort();
    if (block->Version != kSavedStateVersion) std::abort();
    if (block->editorKind != kEditorPcb) std::abort();
  }
  delete block;

  ReleaseTower(&node);
  ReleaseTower(&group);
  DeleteEntity(design);
  ReleaseTower(&design);
  return 0;
}
