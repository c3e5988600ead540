// Bounded reads of stored payloads. Payloads come from files, so a field is
// read only when the stored payload reaches past it; a payload too short for
// what is asked counts as absent.
#pragma once
#include <cstdint>
#include <cstring>

#include "store/tower.h"

// The entity's payload when it holds at least `size` bytes, else null.
inline std::uint8_t* PayloadOfAtLeast(Entity* e, std::uint32_t size) {
  return e && e->payloadSize >= size ? EntityPayload(e) : nullptr;
}

// The payload of the newest child of `code` under t's entity when it holds at
// least `size` bytes, else null.
inline std::uint8_t* ChildPayloadOfAtLeast(const Tower* t, std::uint16_t code, std::uint32_t size) {
  if (!t) return nullptr;
  Tower* child = GetChildTower(t, code);
  if (!child) return nullptr;
  std::uint8_t* payload = PayloadOfAtLeast(FindNextEntity(child), size);
  ReleaseTower(&child);
  return payload;
}

// A new Tower standing on the newest child of `code` under t's entity, or null.
inline Tower* NewestChildTower(const Tower* t, std::uint16_t code) {
  Tower* child = t ? GetChildTower(t, code) : nullptr;
  if (child && FindNextEntity(child)) {
    LastLevel(child).flags = kLevelLast | kLevelPositioned;
    return child;
  }
  ReleaseTower(&child);
  return nullptr;
}

inline std::uint32_t ReadU32(const std::uint8_t* p, std::uint32_t offset) {
  std::uint32_t v;
  std::memcpy(&v, p + offset, sizeof v);
  return v;
}
inline std::int32_t ReadI32(const std::uint8_t* p, std::uint32_t offset) {
  std::int32_t v;
  std::memcpy(&v, p + offset, sizeof v);
  return v;
}
inline std::uint16_t ReadU16(const std::uint8_t* p, std::uint32_t offset) {
  std::uint16_t v;
  std::memcpy(&v, p + offset, sizeof v);
  return v;
}
inline void WriteU32(std::uint8_t* p, std::uint32_t offset, std::uint32_t v) { std::memcpy(p + offset, &v, sizeof v); }
inline void WriteI32(std::uint8_t* p, std::uint32_t offset, std::int32_t v) { std::memcpy(p + offset, &v, sizeof v); }
inline void WriteU16(std::uint8_t* p, std::uint32_t offset, std::uint16_t v) { std::memcpy(p + offset, &v, sizeof v); }
