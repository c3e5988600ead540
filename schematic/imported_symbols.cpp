#include "schematic/imported_symbols.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "platform/text_case.h"
#include "store/tower.h"

namespace {

constexpr std::uint32_t kUserAttributeKind = 14;
constexpr std::uint16_t kTypeAttributeValue = 11005;

char* HeapCopy(const std::string& text) {
  char* copy = static_cast<char*>(std::malloc(text.size() + 1));
  if (copy) std::memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

// The newest child's payload of the code and its size; null when absent.
const char* ChildBytes(const Tower* t, std::uint16_t code, std::uint32_t* size) {
  Tower* child = GetChildTower(t, code);
  Entity* e = child ? FindNextEntity(child) : nullptr;
  ReleaseTower(&child);
  if (!e) return nullptr;
  *size = e->payloadSize;
  return reinterpret_cast<const char*>(EntityPayload(e));
}

}  // namespace

Tower* FindImportedSymbol(const Tower* netHierGroup, const char* designator) {
  if (!netHierGroup || !designator) return nullptr;
  Tower* symbols = GetChildTower(netHierGroup, Type_ImportedSymbol);
  while (symbols && FindNextEntity(symbols)) {
    std::uint32_t size = 0;
    const char* stored = ChildBytes(symbols, Type_ImportedDesignator, &size);
    if (stored && std::memchr(stored, 0, size) && pl3::EqualsNoCase(stored, designator)) {
      LastLevel(symbols).flags = kLevelLast | kLevelPositioned;
      return symbols;
    }
  }
  ReleaseTower(&symbols);
  return nullptr;
}

char* GetUserAttributeText(const Tower* item, const char* name) {
  if (!name || !*name) return HeapCopy("??User??");
  Tower* attributes = item ? GetChildTower(item, Type_Attribute) : nullptr;
  while (attributes && FindNextEntity(attributes)) {
    const std::uint8_t* record = PayloadOfAtLeast(TowerEntity(attributes), 4);
    if (!record || ReadU32(record, 0) != kUserAttributeKind) continue;
    std::uint32_t size = 0;
    const char* text = ChildBytes(attributes, kTypeAttributeValue, &size);
    if (!text) continue;
    // "name" NUL "value": both parts must lie within the record.
    const char* nameEnd = static_cast<const char*>(std::memchr(text, 0, size));
    if (!nameEnd || !pl3::EqualsNoCase(text, name)) continue;
    ReleaseTower(&attributes);
    const char* value = nameEnd + 1;
    const std::size_t rest = size - static_cast<std::size_t>(value - text);
    if (rest == 0) return HeapCopy("User attribute without data");
    return HeapCopy(std::string(value, strnlen(value, rest)));
  }
  ReleaseTower(&attributes);
  return HeapCopy(std::string("??") + name + "??");
}
