#include "schematic/current_size.h"

#include "edit/window_data.h"
#include "store/tower.h"

namespace {
constexpr std::uint16_t kTypeSchematicSymbolDefinition = 25;
constexpr std::uint16_t kTypeSchematic = 103;
constexpr std::uint16_t kTypePage = 104;
constexpr std::uint16_t kTypeAttributeLocator = 20;
constexpr std::uint16_t kTypeWire = 28;
constexpr std::uint16_t kTypeBus = 29;

// The payload of the record under `owner`, inserted as zeros when missing.
std::uint32_t* RecordUnder(const Tower* owner) {
  if (void* record = GetEntityData(owner, kTypeCurrentSizeRecord)) return static_cast<std::uint32_t*>(record);
  const std::uint32_t zeros[kCurrentSizeWords] = {};
  Tower* inserted = InsertEntity(owner, sizeof zeros, kTypeCurrentSizeRecord, zeros);
  auto* record = reinterpret_cast<std::uint32_t*>(TowerPayload(inserted));
  ReleaseTower(&inserted);
  return record;
}
}  // namespace

int CurrentSizeWord(std::uint16_t code, std::uint16_t locatorKind) {
  if (code == kTypeWire) return 0;
  if (code == kTypeBus) return 1;
  if (code != kTypeAttributeLocator) return -1;
  switch (locatorKind) {
    case 1: return 7;
    case 3: return 4;
    case 4: return 6;
    case 6: return 3;
    case 9: case 15: return 5;
    default: return 2;
  }
}

std::uint32_t* GetCurrentSizeRecord(const Tower* design) {
  if (!design || !TowerEntity(design)) return nullptr;
  const std::uint16_t code = LastLevel(design).typeCode;
  if (code == kTypeSchematicSymbolDefinition || code == kTypeSchematic) return RecordUnder(design);
  if (code != kTypePage) return nullptr;
  Tower* schematic = GetAncestorTower(design, kTypeSchematic);
  std::uint32_t* record = LastLevel(schematic).typeCode == kTypeSchematic ? RecordUnder(schematic) : nullptr;
  ReleaseTower(&schematic);
  return record;
}

void SetCurrentSizeIndex(std::uint16_t code, std::uint32_t index, std::uint16_t locatorKind) {
  const int word = CurrentSizeWord(code, locatorKind);
  if (word < 0 || !ActiveWindowData) return;
  if (std::uint32_t* record = GetCurrentSizeRecord(ActiveWindowData->design)) record[word] = index;
}
