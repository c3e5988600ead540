#include "objects/id_info.h"

#include <cstring>

#include "objects/payload_access.h"
#include "objects/type_codes.h"

int SameIdInfo(const std::uint8_t* a, const std::uint8_t* b) {
  if (!a || !b) return 0;
  return std::memcmp(a, b, kIdInfoSize) == 0 ? 1 : 0;
}

const std::uint8_t* IdInfoOf(const Tower* item) { return ChildPayloadOfAtLeast(item, Type_IDInfo, kIdInfoSize); }
