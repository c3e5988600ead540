// The plane clearance table of a PCB design (record 279 directly under the
// design): the clearance a plane keeps around foreign copper, per layer. The
// item boxes read it so that a redraw covers the clearance drawn round copper.
#pragma once
#include <cstddef>
#include <cstdint>

struct Tower;

constexpr std::uint16_t kTypePlaneClearanceTable = 279;

// The clearance of a layer without an entry, and of every layer of a design
// without a table: 365,760 units (10 thou).
constexpr std::int32_t kDefaultPlaneClearance = 365760;

#pragma pack(push, 1)
struct PlaneClearanceEntry {
  std::uint8_t layer;       // 0: layer index
  std::uint8_t padding[3];  // 1
  std::int32_t clearance;   // 4: world units
};
static_assert(sizeof(PlaneClearanceEntry) == 8);
static_assert(offsetof(PlaneClearanceEntry, clearance) == 4);

// `count` entries follow the head.
struct PlaneClearanceTable {
  std::uint32_t reserved;  // 0: 0
  std::uint32_t count;     // 4: entry count
};
static_assert(sizeof(PlaneClearanceTable) == 8);
#pragma pack(pop)

// The first entry of the table (of `size` stored bytes) for the layer, or
// null. Entries past the stored bytes are not read, whatever the count says.
// The design's table and its stored size, or null.
const PlaneClearanceTable* FindPlaneClearanceTable(const Tower* design, std::uint32_t* size);
// An entry's clearance, never below 0.
std::int32_t PlaneClearanceValue(const PlaneClearanceEntry* entry);
const PlaneClearanceEntry* FindPlaneClearance(const PlaneClearanceTable* table, std::uint32_t size,
                                              std::uint8_t layer);

// The design's clearance for the layer; 365,760 without a table or an entry.
// A stored value below 0 (a damaged table) counts as 0.
std::int32_t GetPlaneClearance(const Tower* design, std::uint8_t layer);

// The largest clearance of the design's table, entries below 0 counting as 0:
// 365,760 without a table, 0 for a table without entries.
std::int32_t GetHoleClearance(const Tower* design);
