#include "draw/grid_files.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/kernel_files.h"
#include "store/safe_file.h"
#include "store/scratch_entity.h"
#include "store/tower.h"
#include "store/tower_file.h"

namespace {

// Which grids carry a field record.
enum FieldKinds : std::uint8_t { kEveryKind, kCartesianOnly, kPolarOnly };

struct FieldRecord {
  std::uint16_t code;
  std::size_t offset;
  std::size_t size;
  FieldKinds kinds;
};

// In the order they are written.
constexpr FieldRecord kFieldRecords[] = {
    {kGridFlagsCode, offsetof(GridEntry, flags), 4, kEveryKind},
    {kGridUnitCode, offsetof(GridEntry, unit), 4, kEveryKind},
    {kGridKeyCode, offsetof(GridEntry, keyStroke), 1, kEveryKind},
    {kGridKindCode, offsetof(GridEntry, kind), 4, kEveryKind},
    {kGridXAxisCode, offsetof(GridEntry, x), sizeof(GridAxis), kCartesianOnly},
    {kGridYAxisCode, offsetof(GridEntry, y), sizeof(GridAxis), kCartesianOnly},
    {kGridAngleStyleCode, offsetof(GridEntry, angleStyle), 4, kPolarOnly},
    {kGridAngleValueCode, offsetof(GridEntry, angleValue), 8, kPolarOnly},
    {kGridPolarWordCode, offsetof(GridEntry, polarWord), 4, kPolarOnly},
    {kGridRingSpacingCode, offsetof(GridEntry, ringSpacing), 8, kPolarOnly},
};

bool CarriesField(const GridEntry& entry, FieldKinds kinds) {
  switch (kinds) {
    case kCartesianOnly: return entry.kind == kGridCartesian;
    case kPolarOnly: return entry.kind == kGridPolar;
    default: return true;
  }
}

// Copies the payload of the newest child of the code into out, no more than
// `size` bytes and no more than the payload holds; 0 when there is no child.
std::size_t ReadChildPayload(const Tower* t, std::uint16_t code, void* out, std::size_t size) {
  Tower* child = OpenChildTower(t, code);
  const Entity* e = TowerEntity(child);
  const std::size_t n = e ? std::min<std::size_t>(size, e->payloadSize) : 0;
  if (n) std::memcpy(out, EntityPayload(e), n);
  ReleaseTower(&child);
  return n;
}

GridEntry ReadEntryFields(const Tower* t) {
  GridEntry entry{};
  auto* bytes = reinterpret_cast<std::uint8_t*>(&entry);
  for (const FieldRecord& f : kFieldRecords) ReadChildPayload(t, f.code, bytes + f.offset, f.size);
  return entry;
}

void WriteEntryFields(const Tower* t, const GridEntry& entry) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(&entry);
  for (const FieldRecord& f : kFieldRecords) {
    if (!CarriesField(entry, f.kinds)) continue;
    Tower* record = InsertEntity(t, static_cast<std::uint32_t>(f.size), f.code, bytes + f.offset);
    ReleaseTower(&record);
  }
}

GridSet* AllocateSet(std::uint32_t count) {
  return static_cast<GridSet*>(std::calloc(1, GetGridSetSizeForCount(count)));
}

GridEntry FromOldEntry(const OldGridEntry& old) {
  GridEntry e{};
  e.flags = old.flags;
  e.unit = old.unit;
  e.keyStroke = old.keyStroke;
  e.kind = kGridCartesian;
  e.x = old.x;
  e.y = old.y;
  return e;
}

// The old record: every grid cartesian; no more entries than the payload holds.
GridSet* FromGridInfo(const Entity* record) {
  const std::uint8_t* payload = EntityPayload(record);
  const std::size_t size = record->payloadSize;
  OldGridInfoHeader header{};
  std::memcpy(&header, payload, std::min(size, sizeof header));
  const std::size_t held = size > sizeof header ? (size - sizeof header) / sizeof(OldGridEntry) : 0;
  const auto count = static_cast<std::uint32_t>(std::min<std::size_t>(header.count, held));
  GridSet* set = AllocateSet(count);
  if (!set) return nullptr;
  set->flags = header.flags;
  set->secondWord = header.secondWord;
  set->current = FromOldEntry(header.current);
  set->count = count;
  for (std::uint32_t i = 0; i < count; ++i) {
    OldGridEntry old;
    std::memcpy(&old, payload + sizeof header + std::size_t{i} * sizeof old, sizeof old);
    const GridEntry e = FromOldEntry(old);
    std::memcpy(GridSetEntry(set, i), &e, sizeof e);
  }
  return set;
}

// The grid list record: entries by the index each carries. An index out of
// range (count = the number of entry records) or met before leaves its
// record out, and the entries read close up in index order.
GridSet* FromGridList(const Tower* list) {
  std::vector<GridEntry> slots;
  std::vector<bool> filled;
  Tower* search = GetChildTower(list, kGridEntryCode);
  std::uint32_t records = 0;
  while (FindNextEntity(search)) ++records;
  ReleaseTower(&search);
  slots.resize(records);
  filled.resize(records, false);
  search = GetChildTower(list, kGridEntryCode);
  while (const Entity* e = FindNextEntity(search)) {
    std::uint32_t index = 0;
    if (e->payloadSize < sizeof index) continue;
    std::memcpy(&index, EntityPayload(e), sizeof index);
    if (index >= records || filled[index]) continue;
    slots[index] = ReadEntryFields(search);
    filled[index] = true;
  }
  ReleaseTower(&search);
  const auto count = static_cast<std::uint32_t>(std::count(filled.begin(), filled.end(), true));
  GridSet* set = AllocateSet(count);
  if (!set) return nullptr;
  std::uint16_t flags = 0;
  ReadChildPayload(list, kGridFlagsCode, &flags, sizeof flags);
  set->flags = flags;
  if (Tower* current = OpenChildTower(list, kGridCurrentCode)) {
    set->current = ReadEntryFields(current);
    ReleaseTower(&current);
  }
  set->count = count;
  std::uint32_t at = 0;
  for (std::uint32_t i = 0; i < records; ++i)
    if (filled[i]) std::memcpy(GridSetEntry(set, at++), &slots[i], sizeof(GridEntry));
  return set;
}

// Takes the grid records of the entity a load left `loaded` standing on into
// the sets, then deletes the entity and releases the Tower.
int AdoptLoadedGrids(Tower** loaded, GridSet** set) {
  GridSet* forDefault = ReadStoredGridSet(*loaded);
  DeleteTopLevelEntity(loaded);
  if (!forDefault) return 0;
  GridSet* forVariable = nullptr;
  if (set && set != &DefaultGridSet) {
    forVariable = DuplicateGridSet(forDefault);
    if (!forVariable) {
      std::free(forDefault);
      return 0;
    }
    std::free(*set);
    *set = forVariable;
  }
  std::free(DefaultGridSet);
  DefaultGridSet = forDefault;
  return 1;
}

}  // namespace

GridSet* ReadStoredGridSet(const Tower* t) {
  if (!t || !TowerEntity(t)) return nullptr;
  if (Tower* old = OpenChildTower(t, kGridInfoCode)) {
    GridSet* set = FromGridInfo(TowerEntity(old));
    ReleaseTower(&old);
    return set;
  }
  Tower* list = OpenChildTower(t, kGridListCode);
  if (!list) return nullptr;
  GridSet* set = FromGridList(list);
  ReleaseTower(&list);
  return set;
}

GridSet* LoadGridSet(const Tower* t) {
  GridSet* set = ReadStoredGridSet(t);
  return set ? set : AllocateSet(0);
}

Tower* SaveGridSet(const Tower* t, const GridSet* set) {
  if (!t || !set) return nullptr;
  DeleteChildEntities(t, kGridInfoCode);
  DeleteChildEntities(t, kGridListCode);
  Tower* list = InsertEmptyEntity(t, kGridListCode);
  if (!list) return nullptr;
  const std::uint16_t flags = set->flags;
  Tower* record = InsertEntity(list, sizeof flags, kGridFlagsCode, &flags);
  ReleaseTower(&record);
  const std::uint32_t zero = 0;
  Tower* current = InsertEntity(list, sizeof zero, kGridCurrentCode, &zero);
  WriteEntryFields(current, set->current);
  ReleaseTower(&current);
  for (std::uint32_t i = 0; i < set->count; ++i) {
    Tower* entry = InsertEntity(list, sizeof i, kGridEntryCode, &i);
    GridEntry e;
    std::memcpy(&e, GridSetEntry(set, i), sizeof e);
    WriteEntryFields(entry, e);
    ReleaseTower(&entry);
  }
  return list;
}

int SaveGridList(const char* path, const GridSet* set) {
  if (!path || !set) return 0;
  Tower* scratch = NewScratchEntity();
  Tower* list = SaveGridSet(scratch, set);
  const int saved = SaveDOSFile(scratch, path);
  if (list) DeleteEntity(list);
  ReleaseTower(&list);
  DeleteTopLevelEntity(&scratch);
  return saved;
}

int LoadGridList(const char* path, GridSet** set) {
  if (!path) return 0;
  Tower* t = NewTower(0);
  if (!LoadDOSFile(path, t)) {
    ReleaseTower(&t);
    return 0;
  }
  return AdoptLoadedGrids(&t, set);
}

int LoadGridListFromMemory(const void* image, std::size_t size, GridSet** set) {
  Tower* t = NewTower(0);
  if (!LoadDOSFileFromMemory(image, size, t)) {
    ReleaseTower(&t);
    return 0;
  }
  return AdoptLoadedGrids(&t, set);
}

void CreateGridList() {
  std::free(DefaultGridSet);
  DefaultGridSet = BuildDefaultGridSet();
}

void LoadGridsFile(const char* path) {
  if (!path || !*path) return;
  if (LoadGridList(path, &DefaultGridSet)) return;
  const DWORD attributes = GetFileAttributes(path);
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    // Something is there that is not a grid file: the user's bytes are kept
    // aside before the built-in set takes the name, and a folder is left be.
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return;
    if (SetFileAside(path).empty()) return;
  }
  SaveGridList(path, EnsureDefaultGridSet());
}

void FreeGridList() {
  std::free(DefaultGridSet);
  DefaultGridSet = nullptr;
}
