// The Attribute records (type 31) of schematics and symbol definitions and
// the look-ups the design objects make on them.
#include <cstdlib>
#include <cstring>
#include <string>

#include "edit/window_data.h"
#include "objects/attribute_services.h"
#include "objects/payload_access.h"
#include "objects/size_table.h"
#include "objects/type_codes.h"
#include "platform/reset_hooks.h"
#include "platform/text_case.h"
#include "schematic/attribute_records.h"
#include "schematic/current_size.h"
#include "store/tower.h"

int IOPortOrientationOption = 0;

namespace {

void ResetAttributeGlobals() { IOPortOrientationOption = 0; }
const bool g_registered = pl3::RegisterGlobalReset(&ResetAttributeGlobals);

constexpr std::uint32_t kUserAttributeKind = 14;

const AttributePayload* AttributeAt(const Tower* t) {
  Entity* e = TowerEntity(t);
  if (!e || e->typeCode != Type_Attribute) return nullptr;
  return reinterpret_cast<const AttributePayload*>(PayloadOfAtLeast(e, sizeof(AttributePayload)));
}

// A Tower on the first Attribute child of the item that passes the test, or null.
template <typename Test>
Tower* FindAttribute(const Tower* item, Test test) {
  Tower* attributes = item && TowerEntity(item) ? GetChildTower(item, Type_Attribute) : nullptr;
  while (attributes && FindNextEntity(attributes)) {
    const AttributePayload* a = AttributeAt(attributes);
    if (a && test(*a, attributes)) {
      LastLevel(attributes).flags = kLevelLast | kLevelPositioned;
      return attributes;
    }
  }
  ReleaseTower(&attributes);
  return nullptr;
}

// A Tower one level above the entity t stands on, or null at the top.
Tower* OwnerOf(const Tower* t) {
  if (!t || t->lastLevel == 0 || !TowerEntity(t)) return nullptr;
  return DuplicateTowerToLevel(t, static_cast<std::uint8_t>(t->lastLevel - 1));
}

std::uint32_t LocatorAttributeId(const Tower* locator) {
  Entity* e = TowerEntity(locator);
  if (!e || e->typeCode != Type_AttributeLocator) return 0;
  const std::uint8_t* p = PayloadOfAtLeast(e, 60);
  return p ? ReadU32(p, 56) : 0;
}

// Where the attribute-id counter lives: the Schematic of the design (a Page's
// Schematic), else the design itself (a symbol definition of the library editor).
Tower* AttributeIdOwner(const Tower* design) {
  if (!design || !TowerEntity(design)) return nullptr;
  Tower* schematic = GetAncestorTower(design, Type_Schematic);
  if (schematic && LastLevel(schematic).typeCode == Type_Schematic && TowerEntity(schematic)) return schematic;
  ReleaseTower(&schematic);
  return DuplicateTower(design);
}

}  // namespace

const char* NewestChildBytes(const Tower* t, std::uint16_t code, std::uint32_t* size) {
  Tower* child = t ? GetChildTower(t, code) : nullptr;
  Entity* e = child ? FindNextEntity(child) : nullptr;
  ReleaseTower(&child);
  if (!e) return nullptr;
  *size = e->payloadSize;
  return reinterpret_cast<const char*>(EntityPayload(e));
}

char* CopyStoredText(const char* text, std::uint32_t size) {
  const std::size_t length = strnlen(text, size);
  char* copy = static_cast<char*>(std::malloc(length + 1));
  if (!copy) return nullptr;
  std::memcpy(copy, text, length);
  copy[length] = '\0';
  return copy;
}

Tower* FindAttributeById(const Tower* item, std::uint32_t id) {
  return FindAttribute(item, [id](const AttributePayload& a, const Tower*) { return a.id == id; });
}

Tower* FindDesignAttributeById(std::uint32_t id) {
  return ActiveWindowData ? FindAttributeById(ActiveWindowData->design, id) : nullptr;
}

Tower* FindLocatorAttribute(const Tower* locator) {
  const std::uint32_t id = LocatorAttributeId(locator);
  Tower* owner = OwnerOf(locator);
  Tower* found = id != 0 ? FindAttributeById(owner, id) : nullptr;
  ReleaseTower(&owner);
  return found;
}

Tower* FindOwnerAttributeOfKind(const Tower* locator, std::uint32_t kind) {
  Tower* owner = OwnerOf(locator);
  Tower* found = FindAttribute(owner, [kind](const AttributePayload& a, const Tower*) { return a.kind == kind; });
  ReleaseTower(&owner);
  return found;
}

const char* GetAttributeValue(const Tower* item, std::uint32_t kind) {
  Tower* attribute = FindAttribute(item, [kind](const AttributePayload& a, const Tower*) { return a.kind == kind; });
  std::uint32_t size = 0;
  const char* text = attribute ? NewestChildBytes(attribute, Type_AttributeValue, &size) : nullptr;
  ReleaseTower(&attribute);
  // A value text is only handed out when it is terminated within its record.
  return text && std::memchr(text, 0, size) ? text : nullptr;
}

Tower* InsertAttributeWithId(const Tower* parent, std::uint32_t kind, const char* value, std::uint32_t second,
                             std::uint32_t id) {
  if (!parent || !TowerEntity(parent)) return nullptr;
  const AttributePayload record{kind, second, 0, id};
  Tower* attribute = InsertEntity(parent, sizeof record, Type_Attribute, &record);
  if (!attribute) return nullptr;
  const char* text = value ? value : "";
  Tower* valueRecord =
      InsertEntity(attribute, static_cast<std::uint32_t>(std::strlen(text) + 1), Type_AttributeValue, text);
  ReleaseTower(&valueRecord);
  return attribute;
}

std::uint32_t NewAttributeId() {
  Tower* owner = ActiveWindowData ? AttributeIdOwner(ActiveWindowData->design) : nullptr;
  if (!owner) return 0;
  std::uint32_t next = 1;
  if (std::uint8_t* counter = ChildPayloadOfAtLeast(owner, Type_AttributeIdHWM, 4)) {
    next = ReadU32(counter, 0) + 1;
    if (next == 0) next = 1;  // 0 means "no attribute"
    WriteU32(counter, 0, next);
  } else {
    Tower* inserted = InsertEntity(owner, sizeof next, Type_AttributeIdHWM, &next);
    ReleaseTower(&inserted);
  }
  ReleaseTower(&owner);
  return next;
}

void SplitNameValuePair(const char* text, std::uint32_t size, const char** name, const char** value) {
  static const char kEmpty[] = "";
  *name = kEmpty;
  *value = kEmpty;
  if (!text || size == 0) return;
  const char* nameEnd = static_cast<const char*>(std::memchr(text, 0, size));
  if (!nameEnd) return;  // unterminated: neither part can be read safely
  *name = text;
  const char* rest = nameEnd + 1;
  const std::uint32_t left = size - static_cast<std::uint32_t>(rest - text);
  if (left > 0 && std::memchr(rest, 0, left)) *value = rest;
}

Tower* SetUserAttribute(const Tower* item, const char* name, const char* value) {
  if (!item || !TowerEntity(item) || !name) return nullptr;
  Tower* attribute = FindAttribute(item, [&](const AttributePayload& a, const Tower* at) {
    if (a.kind != kUserAttributeKind) return false;
    std::uint32_t size = 0;
    const char* text = NewestChildBytes(at, Type_AttributeValue, &size);
    const char* storedName = nullptr;
    const char* storedValue = nullptr;
    SplitNameValuePair(text, text ? size : 0, &storedName, &storedValue);
    return pl3::EqualsNoCase(storedName, name);
  });
  if (!attribute) {
    const AttributePayload record{kUserAttributeKind, 0, 0, 0};
    attribute = InsertEntity(item, sizeof record, Type_Attribute, &record);
    if (!attribute) return nullptr;
  }
  DeleteChildEntities(attribute, Type_AttributeValue);
  std::string text = name;
  text.push_back('\0');
  text += value ? value : "";
  Tower* valueRecord =
      InsertEntity(attribute, static_cast<std::uint32_t>(text.size() + 1), Type_AttributeValue, text.c_str());
  ReleaseTower(&valueRecord);
  return attribute;
}

std::uint32_t GetCurrentSizeIndex(std::uint16_t code, std::uint16_t locatorKind) {
  const int word = CurrentSizeWord(code, locatorKind);
  if (word < 0 || !ActiveWindowData) return 0;
  const std::uint32_t* record = GetCurrentSizeRecord(ActiveWindowData->design);
  if (!record) return 0;
  const std::uint32_t index = record[word];
  const SizeTable* table = ActiveWindowData->sizeTable;
  if (!table) return index;
  const SizeList& list = (*table)[code == Type_AttributeLocator ? SizeKind_Fonts : SizeKind_Lines];
  if (list.count() == 0) return 0;
  return index < list.count() ? index : list.count() - 1;
}

char* GetGlobalNetListName(const Tower* schematic) {
  std::uint32_t size = 0;
  const char* stored = schematic ? NewestChildBytes(schematic, Type_GlobalNetListName, &size) : nullptr;
  if (!stored || size == 0 || stored[0] == '\0') return CopyStoredText("Global Net Names", sizeof "Global Net Names");
  return CopyStoredText(stored, size);
}

PageItem* BuildPageItemList(const Tower* design, int /*flags*/) {
  PageItem* head = nullptr;
  PageItem** tail = &head;
  Tower* children = design && TowerEntity(design) ? GetAllChildrenTower(design) : nullptr;
  while (children && FindNextEntity(children)) {
    Entity* e = TowerEntity(children);
    auto* node = static_cast<PageItem*>(std::calloc(1, sizeof(PageItem)));
    if (!node) break;
    node->type = e->typeCode;
    node->size = e->payloadSize;
    node->payload = static_cast<std::uint8_t*>(std::malloc(e->payloadSize ? e->payloadSize : 1));
    if (!node->payload) {
      std::free(node);
      break;
    }
    if (e->payloadSize) std::memcpy(node->payload, EntityPayload(e), e->payloadSize);
    *tail = node;
    tail = &node->next;
  }
  ReleaseTower(&children);
  return head;
}

void FreePageItemList(PageItem* list) {
  while (list) {
    PageItem* next = list->next;
    std::free(list->payload);
    std::free(list);
    list = next;
  }
}
