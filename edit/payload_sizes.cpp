#include "edit/payload_sizes.h"

#include "objects/graphic_records.h"
#include "objects/text_item_services.h"
#include "platform/user.h"
#include "objects/payload_access.h"
#include "objects/size_steps.h"
#include "objects/active_window.h"
#include "objects/type_codes.h"

namespace {

// Where a payload keeps its size: the flags word and the index, and the list.
struct PayloadSizeField {
  std::uint32_t flagsOffset;
  std::uint32_t indexOffset;
  std::uint32_t kind;
};

constexpr std::uint32_t kDimensionerSizeFlags = 88;
constexpr std::uint32_t kDimensionerSizeIndex = 80;

PayloadSizeField FieldOf(const std::uint8_t* payload, std::uint16_t type) {
  switch (type) {
    case Type_AngleDimensioner:
    case Type_Dimensioner:
      return {kDimensionerSizeFlags, kDimensionerSizeIndex, SizeKind_Fonts};
    case Type_Hole:
      return {2, 4, (payload[offsetof(pl3::HoleLayout, flags)] & kHoleIsVia) ? SizeKind_Vias : SizeKind_Holes};
    case Type_Track: case Type_Arc: case Type_Circle: case Type_Text: case Type_Rectangle:
    case Type_ThermalBreak: case Type_RoutedLine: case Type_Spiral: case Type_AttributeLocator:
    case Type_Wire: case Type_Bus: case Type_Datum: case Type_LinkedCut: case Type_StarEarthTrack:
    case Type_PlatedSlot: case Type_NonPlatedSlot:
      return {2, 4, GetTypeSizeKind(type)};
    default:
      return {0, 0, kNoSizeKind};
  }
}

// Moves an index within a list, whatever the flags say.
int StepIndex(std::uint8_t* indexWord, std::uint32_t kind, SizeStep step) {
  const SizeTable* table = ActiveSizeTable();
  const std::uint32_t index = ReadU32(indexWord, 0);
  std::uint32_t next = index;
  switch (step) {
    case SizeStep::Up: next = NextOnSizeIndexIn(table, kind, index); break;
    case SizeStep::Down: next = PreviousOnSizeIndexIn(table, kind, index); break;
    case SizeStep::Last: next = LastOnSizeIndexIn(table, kind); break;
    case SizeStep::First: next = FirstOnSizeIndexIn(table, kind); break;
  }
  if (next == index) return PayloadSizeAtEnd;
  WriteU32(indexWord, 0, next);
  return PayloadSizeStepped;
}

// A centroid marker keeps an explicit size in its head's size word and steps
// through the fixed centroid sizes, beeping at either end.
int StepCentroidSize(std::uint8_t* payload, SizeStep step) {
  std::uint8_t* word = payload + offsetof(GraphicHead, sizeIndex);
  const std::uint32_t size = ReadU32(word, 0);
  std::uint32_t next = size;
  switch (step) {
    case SizeStep::Up:
      for (const std::uint32_t s : kCentroidSizeSteps)
        if (s > size) {
          next = s;
          break;
        }
      break;
    case SizeStep::Down:
      for (const std::uint32_t s : kCentroidSizeSteps)
        if (s < size) next = s;
      break;
    case SizeStep::Last: next = kCentroidSizeSteps[std::size(kCentroidSizeSteps) - 1]; break;
    case SizeStep::First: next = kCentroidSizeSteps[0]; break;
  }
  if ((step == SizeStep::Up || step == SizeStep::Down) && next == size) {
    MessageBeep(0);
    return PayloadSizeAtEnd;
  }
  WriteU32(word, 0, next);
  return PayloadSizeStepped;
}

}  // namespace

int StepIndexedSize(std::uint8_t* flagsWord, std::uint8_t* indexWord, std::uint32_t kind, SizeStep step) {
  if (!flagsWord || !indexWord || kind == kNoSizeKind) return PayloadSizeAtEnd;
  if (!(ReadU16(flagsWord, 0) & kSizeByIndex)) return PayloadSizeCustom;
  return StepIndex(indexWord, kind, step);
}

int StepPayloadSize(void* payload, std::uint16_t type, SizeStep step) {
  auto* p = static_cast<std::uint8_t*>(payload);
  if (!p) return PayloadSizeAtEnd;
  switch (type) {
    case Type_Centroid:
      return StepCentroidSize(p, step);
    case Type_AngleDimensioner:
    case Type_Dimensioner:  // the label's size index steps whatever its flag says
      return StepIndex(p + kDimensionerSizeIndex, SizeKind_Fonts, step);
    default:
      break;
  }
  const PayloadSizeField field = FieldOf(p, type);
  if (field.kind == kNoSizeKind) return PayloadSizeStepped;  // a type without a size: nothing to do
  const int result = StepIndexedSize(p + field.flagsOffset, p + field.indexOffset, field.kind, step);
  if (type == Type_Text && result == PayloadSizeStepped) SetStringBox(reinterpret_cast<TextPayload*>(p));
  return result;
}

std::uint32_t PayloadSizeKind(const void* payload, std::uint16_t type) {
  if (!payload) return kNoSizeKind;
  return FieldOf(static_cast<const std::uint8_t*>(payload), type).kind;
}

int SetPayloadSizeIndex(void* payload, std::uint32_t payloadBytes, std::uint16_t type, std::uint32_t index) {
  auto* p = static_cast<std::uint8_t*>(payload);
  if (!p) return 0;
  const PayloadSizeField field = FieldOf(p, type);
  if (field.kind == kNoSizeKind || payloadBytes < field.flagsOffset + 2 || payloadBytes < field.indexOffset + 4)
    return 0;
  WriteU32(p + field.indexOffset, 0, index);
  const std::uint16_t flags = ReadU16(p + field.flagsOffset, 0);
  WriteU16(p + field.flagsOffset, 0, static_cast<std::uint16_t>((flags | kSizeByIndex) & ~kSizeCustom));
  if (type == Type_Text) SetStringBox(reinterpret_cast<TextPayload*>(p));
  return 1;
}

bool GetPayloadSizeIndex(const void* payload, std::uint32_t payloadBytes, std::uint16_t type, std::uint32_t* index) {
  const auto* p = static_cast<const std::uint8_t*>(payload);
  if (!p) return false;
  const PayloadSizeField field = FieldOf(p, type);
  if (field.kind == kNoSizeKind || payloadBytes < field.flagsOffset + 2 || payloadBytes < field.indexOffset + 4)
    return false;
  if (!(ReadU16(p + field.flagsOffset, 0) & kSizeByIndex)) return false;
  *index = ReadU32(p + field.indexOffset, 0);
  return true;
}

int IncreasePayloadSize(void* payload, std::uint16_t type) { return StepPayloadSize(payload, type, SizeStep::Up); }
int DecreasePayloadSize(void* payload, std::uint16_t type) { return StepPayloadSize(payload, type, SizeStep::Down); }
int MaximisePayloadSize(void* payload, std::uint16_t type) { return StepPayloadSize(payload, type, SizeStep::Last); }
int MinimisePayloadSize(void* payload, std::uint16_t type) { return StepPayloadSize(payload, type, SizeStep::First); }
