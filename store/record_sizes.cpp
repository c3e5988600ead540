// Payload sizes of variable-length records, to pass to InsertEntity.
#include <cstring>

#include "store/tower.h"

namespace {
constexpr std::uint32_t kPolygonCountByte = 48;
constexpr std::uint32_t kNameOffset = 104;
// A working EntityRecord carries a 28-byte header before its payload.
constexpr std::uint32_t kEntityRecordHeaderSize = 28;
}  // namespace

std::uint32_t PolygonEntitySize(const void* payload) {
  const std::uint32_t points = static_cast<const std::uint8_t*>(payload)[kPolygonCountByte];
  return 11u * points + 62u;
}

std::uint32_t NamedEntitySize(const void* payload) {
  const char* name = static_cast<const char*>(payload) + kNameOffset;
  return static_cast<std::uint32_t>(std::strlen(name)) + kNameOffset + 1;
}

std::uint32_t NamedRecordSize(const void* record) {
  return NamedEntitySize(static_cast<const std::uint8_t*>(record) + kEntityRecordHeaderSize);
}
