// Info-box boxes: the stored point list, the label record and the boxes
// measured from them. Kept apart from the records' editing and drawing so
// that the item boxes can measure a marker without pulling either in.
#include <algorithm>
#include <cstring>
#include <vector>

#include "objects/info_boxes.h"
#include "objects/locator_kinds.h"
#include "objects/payload_access.h"
#include "objects/real_size.h"
#include "objects/symbol_instances.h"
#include "objects/text_item_services.h"
#include "objects/type_codes.h"
#include "store/tower.h"

namespace {

std::int32_t LabelSize(const TextPayload* label) {
  if (label->head.sizeFlags & kSizeByIndex) return ReturnRealSize(Type_Text, label->head.sizeIndex);
  return label->size;
}

}  // namespace

// The point capacity of a stored list: what its record holds, never more than 255.
std::uint32_t InfoBoxPointRoom(const Entity* list) {
  if (list->payloadSize < offsetof(InfoBoxPoints, points)) return 0;
  return std::min(kInfoBoxPointRoom, (list->payloadSize - static_cast<std::uint32_t>(offsetof(InfoBoxPoints, points))) /
                                         static_cast<std::uint32_t>(sizeof(Point)));
}

Entity* InfoBoxPointList(const Tower* infoBox) {
  Tower* t = NewestChildTower(infoBox, Type_InfoBoxPoints);
  Entity* e = TowerEntity(t);
  ReleaseTower(&t);
  return e;
}

std::uint32_t GetInfoBoxPoints(const Tower* infoBox, pl3::Point* out, std::uint32_t room) {
  const Entity* list = InfoBoxPointList(infoBox);
  if (!list) return 0;
  const std::uint8_t* p = EntityPayload(list);
  const std::uint32_t count = std::min({ReadU32(p, offsetof(InfoBoxPoints, count)), InfoBoxPointRoom(list), room});
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint32_t at = static_cast<std::uint32_t>(offsetof(InfoBoxPoints, points)) + i * sizeof(Point);
    out[i] = {ReadI32(p, at), ReadI32(p, at + 4)};
  }
  return count;
}

// The label payload of an info box when its record holds the head and a
// terminated string.
TextPayload* InfoBoxLabel(const Tower* infoBox) {
  Tower* t = NewestChildTower(infoBox, kInfoBoxLabelCode);
  Entity* e = TowerEntity(t);
  ReleaseTower(&t);
  if (!e || e->payloadSize <= offsetof(TextPayload, text)) return nullptr;
  auto* label = reinterpret_cast<TextPayload*>(EntityPayload(e));
  const std::uint32_t room = e->payloadSize - static_cast<std::uint32_t>(offsetof(TextPayload, text));
  return strnlen(label->text, room) < room ? label : nullptr;
}

namespace {
// The label's string box through its transform, moved by its text extent.
pl3::Box LabelExtentBox(const TextPayload* label) {
  pl3::Box b;
  std::memcpy(&b, label->bytes52 + 4, sizeof b);
  GetRectangleBox(&b, &label->textTransform);
  const std::uint64_t extent = GetTextExtent(label, nullptr);
  const auto dx = static_cast<std::int32_t>(static_cast<std::uint32_t>(extent));
  const auto dy = static_cast<std::int32_t>(static_cast<std::uint32_t>(extent >> 32));
  return {b.xmin + dx, b.ymin + dy, b.xmax + dx, b.ymax + dy};
}
}  // namespace

int GetInfoBoxLabelBox(const TextPayload* label, pl3::Box* box) {
  if (!label || !box) return 0;
  const pl3::Box b = LabelExtentBox(label);
  const std::int32_t m = LabelSize(label) * kInfoBoxLabelMarginPerSize;
  *box = {b.xmin - m, b.ymin - m, b.xmax + m, b.ymax + m};
  return 1;
}

int GetInfoBoxLabelExtent(const Tower* infoBox, pl3::Box* box, std::int32_t* margin) {
  const TextPayload* label = InfoBoxLabel(infoBox);
  if (!label || !box || !margin) return 0;
  *box = LabelExtentBox(label);
  *margin = LabelSize(label) * kInfoBoxLabelMarginPerSize;
  return 1;
}

int GetInfoBoxBox(const Tower* infoBox, pl3::Box* box) {
  *box = pl3::kEmptyBox;
  bool any = GetInfoBoxLabelBox(InfoBoxLabel(infoBox), box) != 0;
  std::vector<pl3::Point> points(kInfoBoxPointRoom);
  const std::uint32_t n = GetInfoBoxPoints(infoBox, points.data(), kInfoBoxPointRoom);
  for (std::uint32_t i = 0; i < n; ++i) {
    UniteBox(box, {points[i].x, points[i].y, points[i].x, points[i].y});
    any = true;
  }
  return any ? 1 : 0;
}
