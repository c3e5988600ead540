#include "objects/attribute_services.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "platform/text_case.h"
#include "schematic/attribute_records.h"
#include "store/tower.h"

namespace {
constexpr std::uint32_t kUserAttributeKind = 14;
char* HeapCopy(const std::string& text) { return CopyStoredText(text.c_str(), static_cast<std::uint32_t>(text.size() + 1)); }
}  // namespace

Tower* FindImportedSymbol(const Tower* netHierGroup, const char* designator) {
  if (!netHierGroup || !designator) return nullptr;
  Tower* symbols = GetChildTower(netHierGroup, Type_ImportedSymbol);
  while (symbols && FindNextEntity(symbols)) {
    std::uint32_t size = 0;
    const char* stored = NewestChildBytes(symbols, Type_ImportedDesignator, &size);
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
    const char* text = NewestChildBytes(attributes, Type_AttributeValue, &size);
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
