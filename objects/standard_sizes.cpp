#include "objects/standard_sizes.h"

#include <algorithm>
#include <cstring>

#include "edit/window_data.h"
#include "objects/active_window.h"
#include "objects/graphic_records.h"
#include "objects/locator_kinds.h"
#include "objects/payload_access.h"
#include "objects/size_table.h"
#include "objects/type_codes.h"
#include "objects/undo_seams.h"
#include "objects/view_seams.h"
#include "store/tower.h"

namespace {

constexpr std::int32_t kNameOffset = 914400;    // 1/40 inch
constexpr std::int32_t kNumberOffset = 457200;  // 1/80 inch

constexpr std::uint32_t kTop = 16, kBottom = 32, kLeft = 4, kRight = 8;

std::uint32_t StandardIndex(const char* name, std::int32_t value) {
  const SizeTable* table = ActiveSizeTable();
  if (!table) return 0;
  const SizeList& fonts = (*table)[SizeKind_Fonts];
  for (std::uint32_t i = 0; i < fonts.count(); ++i)
    if (std::strcmp(fonts.entries[i].name, name) == 0) return i;
  return FindOrAddFontSize(name, value);
}

LocatorPayload* LocatorOf(const Tower* locator) {
  Entity* e = TowerEntity(locator);
  if (!e || e->typeCode != Type_AttributeLocator) return nullptr;
  return reinterpret_cast<LocatorPayload*>(PayloadOfAtLeast(e, sizeof(LocatorPayload)));
}

// One row of the placement table: the text's offset from the pin, its
// justification and rotation.
struct Placement {
  std::int32_t dx, dy;
  std::uint32_t vertical, horizontal;
  const pl3::Transform* rotation;
};

Placement PinNamePlacement(int side) {
  switch (side) {
    case kPinSideTop: return {0, -kNameOffset, 0, kRight, &pl3::R90};
    case kPinSideRight: return {-kNameOffset, 0, 0, kRight, &pl3::R0};
    case kPinSideBottom: return {0, kNameOffset, 0, kLeft, &pl3::R90};
    default: return {kNameOffset, 0, 0, kLeft, &pl3::R0};
  }
}

Placement PinNumberPlacement(int side) {
  switch (side) {
    case kPinSideTop: return {-kNumberOffset, kNameOffset, kTop, kLeft, &pl3::R90};
    case kPinSideRight: return {kNameOffset, -kNumberOffset, kBottom, kLeft, &pl3::R0};
    case kPinSideBottom: return {-kNumberOffset, -kNameOffset, kTop, kRight, &pl3::R90};
    default: return {-kNameOffset, -kNumberOffset, kBottom, kRight, &pl3::R0};
  }
}

void SetStandardSize(LocatorPayload& locator, std::uint32_t index) {
  locator.head.sizeIndex = index;
  locator.head.sizeFlags |= kSizeByIndex;
}

void Place(const Tower* locatorTower, const Tower* symbol, Placement (*table)(int), std::uint32_t sizeIndex) {
  LocatorPayload* locator = LocatorOf(locatorTower);
  if (!locator) return;
  const Placement p = table(GetPinSide(locator->x, locator->y, symbol));
  locator->textX = locator->x + p.dx;
  locator->textY = locator->y + p.dy;
  locator->style1 = p.vertical;
  locator->style2 = p.horizontal;
  locator->head.transform = *p.rotation;
  SetStandardSize(*locator, sizeIndex);
}

bool TakesAttributeSize(std::uint32_t kind) {
  switch (kind) {
    case 2: case 6: case 10: case 14: case 16: case 17: return true;
    default: return false;
  }
}

}  // namespace

std::uint32_t FindOrAddFontSize(const char* name, std::int32_t value) {
  SizeTable* table = ActiveSizeTable();
  if (!table) return 0;
  SizeList& fonts = (*table)[SizeKind_Fonts];
  for (std::uint32_t i = 0; i < fonts.count(); ++i)
    if (fonts.entries[i].value1 == value) return i;
  SizeEntry entry{};
  entry.index = fonts.count();
  entry.flags = kSizeEntryOn;
  entry.unit = kSizeUnitNone;
  entry.value1 = value;
  SetSizeEntryName(entry, name);
  fonts.entries.push_back(entry);
  return entry.index;
}

std::uint32_t GetStandardAttributeSizeIndex() {
  return StandardIndex(kStandardAttributeSizeName, kStandardAttributeSize);
}
std::uint32_t GetStandardPinNameSizeIndex() { return StandardIndex(kStandardPinNameSizeName, kStandardPinNameSize); }
std::uint32_t GetStandardPinNumberSizeIndex() {
  return StandardIndex(kStandardPinNumberSizeName, kStandardPinNumberSize);
}

int GetPinSide(std::int32_t x, std::int32_t y, const Tower* symbol) {
  bool any = false;
  std::int32_t left = 0, right = 0, bottom = 0, top = 0;
  Tower* tracks = symbol ? GetChildTower(symbol, Type_Track) : nullptr;
  while (tracks) {
    Entity* e = FindNextEntity(tracks);
    if (!e) break;
    const std::uint8_t* p = PayloadOfAtLeast(e, sizeof(LinePayload));
    if (!p) continue;
    const auto& line = *reinterpret_cast<const LinePayload*>(p);
    for (const pl3::Point end : {pl3::Point{line.x1, line.y1}, pl3::Point{line.x2, line.y2}}) {
      left = any ? std::min(left, end.x) : end.x;
      right = any ? std::max(right, end.x) : end.x;
      bottom = any ? std::min(bottom, end.y) : end.y;
      top = any ? std::max(top, end.y) : end.y;
      any = true;
    }
  }
  ReleaseTower(&tracks);
  if (!any) return kPinSideNone;
  if (x == left) return kPinSideLeft;
  if (x == right) return kPinSideRight;
  if (y == bottom) return kPinSideBottom;
  if (y == top) return kPinSideTop;
  return kPinSideNone;
}

void PlacePinNameLocator(const Tower* locator, const Tower* symbol) {
  Place(locator, symbol, &PinNamePlacement, GetStandardPinNameSizeIndex());
}

void PlacePinNumberLocator(const Tower* locator, const Tower* symbol) {
  Place(locator, symbol, &PinNumberPlacement, GetStandardPinNumberSizeIndex());
}

void SetToStandardSizes(const Tower* symbol) {
  CurrentWindowData* window = ActiveWindowData;
  if (!symbol || !window) return;
  const std::uint32_t step = window->UndoStep;
  Tower* locators = GetChildTower(symbol, Type_AttributeLocator);
  while (locators && FindNextEntity(locators)) {
    LocatorPayload* locator = LocatorOf(locators);
    if (!locator) continue;
    const std::uint32_t kind = locator->kind;
    if (kind != kAttributePinNumber && kind != kAttributePinName && !TakesAttributeSize(kind)) continue;
    // Changed in place: the locator is its own replacement.
    Tower* entry = RecordUndoModify(locators, NodeRefOf(TowerEntity(locators)), step);
    ReleaseTower(&entry);
    if (kind == kAttributePinNumber) PlacePinNumberLocator(locators, symbol);
    else if (kind == kAttributePinName) PlacePinNameLocator(locators, symbol);
    else SetStandardSize(*locator, GetStandardAttributeSizeIndex());
  }
  ReleaseTower(&locators);
  CloseUndoStep(*window, "Default to Corvane standard");
  RedrawView(window->Window);
}
