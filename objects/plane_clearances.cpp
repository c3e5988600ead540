#include "objects/plane_clearances.h"

#include <algorithm>
#include <cstring>

#include "store/tower.h"

const PlaneClearanceTable* FindPlaneClearanceTable(const Tower* design, std::uint32_t* size) {
  if (!design) return nullptr;
  Tower* child = GetChildTower(design, kTypePlaneClearanceTable);
  const Entity* e = child ? FindNextEntity(child) : nullptr;
  ReleaseTower(&child);
  if (!e || e->payloadSize < sizeof(PlaneClearanceTable)) return nullptr;
  *size = e->payloadSize;
  return reinterpret_cast<const PlaneClearanceTable*>(EntityPayload(e));
}

namespace {

// How many entries the table really holds within its stored bytes.
std::uint32_t StoredEntryCount(const PlaneClearanceTable* table, std::uint32_t size) {
  const std::uint32_t room = (size - sizeof(PlaneClearanceTable)) / sizeof(PlaneClearanceEntry);
  return std::min(table->count, room);
}

const PlaneClearanceEntry* Entries(const PlaneClearanceTable* table) {
  return reinterpret_cast<const PlaneClearanceEntry*>(table + 1);
}

}  // namespace

std::int32_t PlaneClearanceValue(const PlaneClearanceEntry* entry) {
  std::int32_t value = 0;
  std::memcpy(&value, &entry->clearance, sizeof value);
  return std::max(value, 0);
}

const PlaneClearanceEntry* FindPlaneClearance(const PlaneClearanceTable* table, std::uint32_t size,
                                              std::uint8_t layer) {
  if (!table || size < sizeof(PlaneClearanceTable)) return nullptr;
  const std::uint32_t n = StoredEntryCount(table, size);
  for (std::uint32_t i = 0; i < n; ++i) {
    if (Entries(table)[i].layer == layer) return &Entries(table)[i];
  }
  return nullptr;
}

std::int32_t GetHoleClearance(const Tower* design) {
  std::uint32_t size = 0;
  const PlaneClearanceTable* table = FindPlaneClearanceTable(design, &size);
  if (!table) return kDefaultPlaneClearance;
  std::int32_t largest = 0;
  const std::uint32_t n = StoredEntryCount(table, size);
  for (std::uint32_t i = 0; i < n; ++i) largest = std::max(largest, PlaneClearanceValue(&Entries(table)[i]));
  return largest;
}
