#include "tests/objects/info_box_fakes.h"

#include <cstdlib>
#include <cstring>

#include "../store/tower_test_support.h"
#include "edit/object_select.h"
#include "edit/window_data.h"
#include "geometry/glyph_fonts.h"
#include "objects/display_list_seams.h"
#include "objects/engine_item_seams.h"
#include "objects/entity_record.h"
#include "objects/text_item_services.h"
#include "platform/reset_hooks.h"
#include "store/tower.h"

namespace infoboxtest {

Tower* InstallEmptyFont3() {
  Tower* font = towertest::NewTopLevelEntity(Type_Font);
  SetFontRecord(3, TowerEntity(font));
  return font;
}

void RemoveFont3(Tower** font) {
  SetFontRecord(3, nullptr);
  DeleteEntity(*font);
  ReleaseTower(font);
}

Calls& Recorded() {
  static Calls calls;
  return calls;
}

namespace {

void ResetFakes() {
  Recorded() = Calls{};
}
const bool gRegistered = pl3::RegisterGlobalReset(&ResetFakes);

// A heap text item as the application builds it, laid out by the real SetStringBox.
TextPayload* NewItem(const char* text, std::int32_t size, std::uint16_t sizeFlags, std::uint8_t layer,
                     const pl3::Transform* transform, std::uint16_t justification, std::uint32_t font) {
  const std::size_t n = std::strlen(text);
  auto* item = static_cast<TextPayload*>(std::calloc(1, offsetof(TextPayload, text) + n + 1));
  item->head.layer = layer;
  item->head.sizeFlags = sizeFlags;
  if (sizeFlags & kSizeByIndex) {
    item->head.sizeIndex = static_cast<std::uint32_t>(size);
  } else {
    item->size = size;
  }
  std::memcpy(item->bytes52, &font, sizeof font);
  item->justification = justification;
  item->textTransform = transform ? *transform : pl3::kIdentityTransform;
  std::memcpy(item->text, text, n + 1);
  SetStringBox(item);
  return item;
}

}  // namespace
}  // namespace infoboxtest

using infoboxtest::Recorded;

void PutEntityOnDisplayList(void*, const Tower* entity) { Recorded().put.push_back(TowerEntity(entity)); }
void* RemoveFromDisplayList(void* list, const Tower* entity) {
  Recorded().removed.push_back(TowerEntity(entity));
  return list;
}
void AddTrackToDisplayList(const void* track, const pl3::Transform*, int, const Tower* owner, int) {
  LinePayload line;
  std::memcpy(&line, track, sizeof line);
  Recorded().tracks.push_back({line, TowerEntity(owner)});
}
void TransformItemBox(const EntityRecord* record) {
  LinePayload line;
  std::memcpy(&line, record->payload, sizeof line);
  Recorded().itemBoxes.push_back(line);
}

TextPayload* CreateTextItem(const char* text, std::uint32_t sizeIndex, std::uint8_t layer,
                            const pl3::Transform* transform, std::uint16_t justification, std::uint32_t font) {
  return infoboxtest::NewItem(text, static_cast<std::int32_t>(sizeIndex), kSizeByIndex, layer, transform,
                              justification, font);
}
TextPayload* CreateTextItemEx(const char* text, std::int32_t size, std::uint8_t layer,
                              const pl3::Transform* transform, std::uint16_t justification, std::uint32_t font) {
  return infoboxtest::NewItem(text, size, 0, layer, transform, justification, font);
}

void GetSpiralBox(const void*, pl3::Box* box) { *box = {1, 2, 3, 4}; }
// The pick's hand-over to the selection; the info boxes' tests never pick.
int SelectObject(const Tower*, std::uint8_t) { return 0; }
void CopyPickedItem(HWND, const Tower*) {}
void CopyPickedItemStep(HWND, const Tower*, int) {}
SelectionInfo* AddGraphicToSelection(SelectionInfo** list, const Tower* entity, std::uint16_t part,
                                     const pl3::Transform*, std::int32_t x, std::int32_t y) {
  if (Recorded().refuseSelection) return nullptr;
  Recorded().selected.push_back(TowerEntity(entity));
  auto* s = new SelectionInfo{};
  s->next = *list;
  s->grabbedPart = part;
  s->original = DuplicateTower(entity);
  s->grabPoint = {x, y};
  *list = s;
  return s;
}
