// The clearance of one layer, in a file of its own so that a test giving its
// own clearances still links the table code.
#include "objects/plane_clearances.h"

std::int32_t GetPlaneClearance(const Tower* design, std::uint8_t layer) {
  std::uint32_t size = 0;
  const PlaneClearanceTable* table = FindPlaneClearanceTable(design, &size);
  const PlaneClearanceEntry* entry = FindPlaneClearance(table, size, layer);
  return entry ? PlaneClearanceValue(entry) : kDefaultPlaneClearance;
}
