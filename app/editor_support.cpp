#include "app/editor_support.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "edit/window_data.h"
#include "objects/graphic_records.h"
#include "objects/layer_table.h"
#include "objects/pad_names.h"
#include "objects/type_codes.h"
#include "platform/gdi.h"
#include "platform/user.h"
#include "store/tower.h"

namespace {

constexpr std::uint16_t kTextLikeLocatorKinds[] = {1, 3, 4, 5, 8, 9, 13, 15};

bool IsTextLike(const SelectionInfo& record) {
  const Tower* item = record.workingCopy ? record.workingCopy : record.original;
  const Entity* e = TowerEntity(item);
  if (!e) return false;
  switch (e->typeCode) {
    case Type_SymbolPin:
    case 28:  // wire
    case 29:  // bus
    case 30:
      return true;
    case Type_AttributeLocator: {
      if (record.grabbedPart != 0 && record.grabbedPart != 7) return false;
      if (e->payloadSize < sizeof(LocatorPayload)) return false;
      std::uint16_t kind;
      std::memcpy(&kind, EntityPayload(e) + offsetof(LocatorPayload, kind), sizeof kind);
      for (std::uint16_t k : kTextLikeLocatorKinds)
        if (k == kind) return true;
      return false;
    }
    default:
      return false;
  }
}

}  // namespace

int SelectionHasTextLikeItems(const SelectionInfo* list) {
  for (const SelectionInfo* r = list; r; r = r->next)
    if ((r->flags & kSelectionPrimary) && IsTextLike(*r)) return 1;
  return 0;
}

void CopyTransform(pl3::Transform* destination, const pl3::Transform* source) { *destination = *source; }

Entity* FindChildByTag(const Entity* node, std::uint16_t tag) {
  if (!node) return nullptr;
  for (TypeGroup* group = NodeAt<TypeGroup>(node->firstChild); group; group = NodeAt<TypeGroup>(group->next)) {
    if (group->typeCode == tag) return NodeAt<Entity>(group->firstChild);
    if (group->typeCode > tag) return nullptr;
  }
  return nullptr;
}

int IsCollinearPoint(const pl3::Point* points, std::uint32_t index, std::uint32_t count) {
  if (!points || count < 3 || index >= count) return 0;
  const pl3::Point& before = points[index == 0 ? count - 1 : index - 1];
  const pl3::Point& at = points[index];
  const pl3::Point& after = points[index + 1 == count ? 0 : index + 1];
  const auto diff = [](std::int32_t a, std::int32_t b) {
    return static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b);
  };
  const std::uint32_t dx1 = diff(at.x, before.x), dy1 = diff(at.y, before.y);
  const std::uint32_t dx2 = diff(after.x, at.x), dy2 = diff(after.y, at.y);
  if (dx1 == 0) return dx2 == 0 ? 1 : 0;
  if (dx2 == 0) return 0;
  return std::fabs(static_cast<double>(dy1) / dx1) == std::fabs(static_cast<double>(dy2) / dx2) ? 1 : 0;
}

int CompareByFourKeys(const void* a, const void* b) {
  std::uint32_t x[4], y[4];
  std::memcpy(x, a, sizeof x);
  std::memcpy(y, b, sizeof y);
  for (int key : {3, 0, 1, 2})
    if (x[key] != y[key]) return static_cast<int>(x[key] - y[key]);
  return 0;
}

void RemoveListEntry(std::uint8_t* count, std::uint8_t* entries, std::uint32_t index) {
  if (!count || !entries || index >= *count) return;
  std::memmove(entries + index * 8, entries + (index + 1) * 8, (*count - index - 1) * 8u);
  --*count;
}

void ClearLayerTable(LayerTable& table) {
  InitialiseLayerTable(table);
  table.copperCount = 0;
}

void OffsetEntityOrigin(const Tower* entity, std::int32_t dx, std::int32_t dy) {
  Entity* e = TowerEntity(entity);
  if (!e || e->payloadSize < sizeof(pl3::Point)) return;
  pl3::Point origin;
  std::memcpy(&origin, EntityPayload(e), sizeof origin);
  // Coordinates wrap as the stored unsigned words do.
  origin.x = static_cast<std::int32_t>(static_cast<std::uint32_t>(origin.x) + static_cast<std::uint32_t>(dx));
  origin.y = static_cast<std::int32_t>(static_cast<std::uint32_t>(origin.y) + static_cast<std::uint32_t>(dy));
  std::memcpy(EntityPayload(e), &origin, sizeof origin);
}

static_assert(kNamedRecordHeadSize == sizeof(PadLabelHead));

int ReplaceRecordName(void** record, const char* name) {
  if (!record || !*record) return 0;
  const std::size_t length = name ? std::strlen(name) : 0;
  auto* fresh = static_cast<std::uint8_t*>(std::malloc(kNamedRecordHeadSize + length + 1));
  if (!fresh) return 0;
  std::memcpy(fresh, *record, kNamedRecordHeadSize);
  if (length) std::memcpy(fresh + kNamedRecordHeadSize, name, length);
  fresh[kNamedRecordHeadSize + length] = 0;
  std::free(*record);
  *record = fresh;
  return 1;
}

void ResetStandardTransforms() {
  if (ActiveWindowData) ActiveWindowData->BaseTransform = pl3::kIdentityTransform;
}

void FillOutsideDrawing(HWND window, HDC dc) {
  const auto* block = reinterpret_cast<const CurrentWindowData*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!block || !dc) return;
  RECT client{};
  GetClientRect(window, &client);
  const LONG width = static_cast<LONG>(block->Surface.width);
  const LONG height = static_cast<LONG>(block->Surface.height);
  HBRUSH black = reinterpret_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  if (client.right > width) {
    const RECT right{width, 0, client.right, client.bottom};
    FillRect(dc, &right, black);
  }
  if (client.bottom > height) {
    const RECT below{0, height, width < client.right ? width : client.right, client.bottom};
    FillRect(dc, &below, black);
  }
}
