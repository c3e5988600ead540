#include "objects/placed_item_records.h"

#include <cstring>

int SameIdInfo(const void* a, const void* b) {
  if (!a || !b) return 0;
  return std::memcmp(a, b, kIdInfoSize) == 0 ? 1 : 0;
}
