#include "objects/item_transforms.h"

#include <cstring>

#include "edit/window_data.h"
#include "objects/editor_input.h"
#include "objects/editor_modes.h"
#include "objects/editor_seams.h"
#include "objects/graphic_records.h"
#include "objects/type_codes.h"
#include "store/tower.h"

namespace {

constexpr std::uint16_t kTypeLegacySymbol = 163;
constexpr std::uint16_t kLastGraphicType = 49;
constexpr std::size_t kPadStackInfoTransform = 12;  // bytes 12-35 of a Pad-Stack Info (116)

// The transform of one stored item by its type; false for types without one.
bool TransformOfItem(const Tower* item, std::uint16_t grabbedPart, pl3::Transform* out) {
  const Entity* e = TowerEntity(item);
  if (!e) return false;
  const std::uint8_t* payload = EntityPayload(e);
  const std::uint16_t type = e->typeCode;
  switch (type) {
    case Type_SymbolInstance:
    case Type_PadStackInstanceHier:
    case kTypeLegacySymbol: {
      const auto* placed = static_cast<const std::uint8_t*>(GetEntityData(item, Type_Transform));
      // A placed pad keeps its transform in its Pad-Stack Info when it has no
      // Transform record of its own.
      if (!placed && type == Type_PadStackInstanceHier) {
        placed = static_cast<const std::uint8_t*>(GetEntityData(item, Type_PadStackInfo));
        if (placed) placed += kPadStackInfoTransform;
      }
      if (!placed) return false;
      std::memcpy(out, placed, sizeof *out);
      return true;
    }
    case Type_Centroid:
      if (grabbedPart == kGrabCentroidDirection) {
        const auto& c = *reinterpret_cast<const CentroidPayload*>(payload);
        MakeDirectionTransform(out, c.direction, 0.0);
        return true;
      }
      break;
    case Type_Text:
      if (e->payloadSize < offsetof(TextPayload, text)) return false;
      *out = reinterpret_cast<const TextPayload*>(payload)->textTransform;
      return true;
    default:
      if (type > kLastGraphicType) return false;
      break;
  }
  if (e->payloadSize < sizeof(GraphicHead)) return false;
  *out = reinterpret_cast<const GraphicHead*>(payload)->transform;
  return true;
}

// The selection record whose item gives the transform: the one primary
// record, or, with secondaries beside it, the first symbol instance record.
const SelectionInfo* TransformSource(const SelectionInfo* list) {
  const SelectionInfo* primary = nullptr;
  const SelectionInfo* firstInstance = nullptr;
  int primaries = 0;
  int records = 0;
  for (const SelectionInfo* s = list; s; s = s->next) {
    ++records;
    if (s->flags & kSelectionPrimary) {
      ++primaries;
      if (!primary) primary = s;
    }
    if (!firstInstance && ItemTypeCode(SelectionItem(*s)) == Type_SymbolInstance) firstInstance = s;
  }
  if (primaries != 1) return nullptr;
  return records > 1 && firstInstance ? firstInstance : primary;
}

void ClearTranslation(pl3::Transform* t) {
  t->tx = 0;
  t->ty = 0;
}

}  // namespace

int GetSelectedItemTransform(pl3::Transform* out) {
  if (!ActiveWindowData || !out) return 0;
  const SelectionInfo* source = TransformSource(ActiveWindowData->SelectionList);
  if (!source) return 0;
  return TransformOfItem(SelectionItem(*source), source->grabbedPart, out) ? 1 : 0;
}

int GetModeItemTransform(const CurrentWindowData& state, pl3::Transform* out) {
  if (!out) return 0;
  EntityRecord* record = state.PendingRecord;
  switch (state.EditMode) {
    case Mode_NewSymbol:
    case Mode_EditSymbol:
    case Mode_AddNewShape:
    case Mode_PlaceShape:
      *out = state.InsertionTransform;
      break;
    case Mode_AddNewString:
    case Mode_EditString:
      if (!record) return 0;
      *out = record->as<TextPayload>().textTransform;
      break;
    case Mode_PlaceDesignator:
    case Mode_PlaceAttributeLocator: {
      const void* placed = state.TemporaryEntity ? GetEntityData(state.TemporaryEntity, Type_Transform) : nullptr;
      if (!placed) return 0;
      std::memcpy(out, placed, sizeof *out);
      break;
    }
    case Mode_AddNewCentroid:
    case Mode_SetCentroidAngle:
    case Mode_AddNewCentroidB: {
      if (!record) return 0;
      const pl3::Point direction = record->as<CentroidPayload>().direction;
      if (direction.x == 0 && direction.y == 0) return 0;
      MakeDirectionTransform(out, direction, 0.0);
      break;
    }
    case Mode_AddNewDimensionerText:
    case Mode_AddNewAngleDimensionerText:
      if (!record) return 0;
      *out = record->head().transform;
      break;
    default:
      if (!record || record->header.recordType != Type_Rectangle) return 0;
      *out = record->head().transform;
      break;
  }
  ClearTranslation(out);
  return 1;
}
