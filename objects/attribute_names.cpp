#include "objects/attribute_names.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>

#include "edit/window_data.h"
#include "objects/graphic_records.h"
#include "objects/io_ports.h"
#include "objects/locator_kinds.h"
#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "platform/text_case.h"
#include "store/seams.h"
#include "store/tower.h"

namespace {

constexpr std::uint16_t kTypeSchematicSymbolGroup = 30;

bool IsFieldCharacter(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u < 128 && (std::isalnum(u) || c == '_');
}

// A stored text's characters up to its terminator or the payload's end.
std::string StoredText(const Entity* e, std::uint32_t offset) {
  if (!e || e->payloadSize <= offset) return {};
  const char* text = reinterpret_cast<const char*>(EntityPayload(const_cast<Entity*>(e))) + offset;
  return std::string(text, strnlen(text, e->payloadSize - offset));
}

// Steps 2 and 3 of the gathering: the User locators' names and the texts' fields.
AttributeNameList* AddItemNames(const Tower* item, AttributeNameList* list) {
  Tower* locators = GetChildTower(item, Type_AttributeLocator);
  while (locators && FindNextEntity(locators)) {
    const std::uint8_t* p = PayloadOfAtLeast(TowerEntity(locators), sizeof(LocatorPayload));
    if (!p || reinterpret_cast<const LocatorPayload*>(p)->kind != kAttributeUser) continue;
    Tower* name = GetChildTower(locators, Type_UserAttributeName);
    if (Entity* e = name ? FindNextEntity(name) : nullptr) list = AddNameSorted(StoredText(e, 0).c_str(), list);
    ReleaseTower(&name);
  }
  ReleaseTower(&locators);
  Tower* texts = GetChildTower(item, Type_Text);
  while (texts && FindNextEntity(texts))
    list = AddTextFieldNames(StoredText(TowerEntity(texts), offsetof(TextPayload, text)).c_str(), list);
  ReleaseTower(&texts);
  return list;
}

}  // namespace

AttributeNameList* AddNameSorted(const char* name, AttributeNameList* list) {
  if (!name) return list;
  AttributeNameList** at = &list;
  while (*at) {
    const int order = pl3::CompareNoCase((*at)->name, name);
    if (order == 0) return list;
    if (order > 0) break;
    at = &(*at)->next;
  }
  auto* node = static_cast<AttributeNameList*>(std::malloc(sizeof(AttributeNameList)));
  char* copy = static_cast<char*>(std::malloc(std::strlen(name) + 1));
  if (!node || !copy) {
    std::free(node);
    std::free(copy);
    return list;
  }
  std::strcpy(copy, name);
  *node = {copy, *at};
  *at = node;
  return list;
}

AttributeNameList* AddTextFieldNames(const char* text, AttributeNameList* list) {
  if (!text) return list;
  bool inField = false;
  std::string field;
  for (const char* p = text;; ++p) {
    if (inField) {
      if (*p && IsFieldCharacter(*p)) {
        field += *p;
        continue;
      }
      list = AddNameSorted(field.c_str(), list);
      field.clear();
      inField = *p == '%';  // the closing '%' opens the next field
    } else if (*p == '%') {
      if (p[1] == '%') ++p;  // a literal percent sign
      else inField = true;
    }
    if (!*p) break;
  }
  return list;
}

AttributeNameList* CollectUserAttributeNames(const Tower* item) {
  const Entity* e = TowerEntity(item);
  if (!e) return nullptr;
  const bool schematic = e->typeCode == Type_Schematic;
  const Tower* from = schematic && ActiveWindowData && ActiveWindowData->design ? ActiveWindowData->design : item;
  AttributeNameList* list = AddItemNames(from, nullptr);
  if (!schematic) return list;
  Tower* symbols = GetChildTower(from, kTypeSchematicSymbolGroup);
  while (symbols && FindNextEntity(symbols)) {
    if (!IsSpecialFunctionSymbol(symbols) && !IsNetNameGraphicSymbol(symbols)) continue;
    Tower* definition = ReferencedSymbolDefinition(symbols);
    if (definition) list = AddItemNames(definition, list);
    ReleaseTower(&definition);
  }
  ReleaseTower(&symbols);
  return list;
}

void FreeNameList(AttributeNameList* list) {
  while (list) {
    AttributeNameList* next = list->next;
    std::free(list->name);
    std::free(list);
    list = next;
  }
}
