#include "objects/graphic_records.h"

#include "objects/type_codes.h"

std::uint16_t EntityTypeFromFlags(const EntityRecord& record) {
  const std::uint8_t state = record.header.state;
  // When several kind bits are set, the first in this order decides.
  if (state & kStateBoardOutline) return Type_BoardOutlineLine;
  if (state & kStateLinkedCut) return Type_LinkedCut;
  if (state & kStateStarEarth) return Type_StarEarthTrack;
  if (state & kStatePlatedSlot) return Type_PlatedSlot;
  if (state & kStateNonPlatedSlot) return Type_NonPlatedSlot;
  if (state & kStateThermalBreak) return Type_ThermalBreak;
  return Type_Track;
}

std::uint16_t StoredCodeOfRecord(const EntityRecord& record) {
  const std::uint8_t state = record.header.state;
  switch (record.header.recordType) {
    case Type_Track:
      return EntityTypeFromFlags(record);
    case Type_Arc:
      return (state & kStateOutlineArc) ? Type_BoardOutlineArc : Type_Arc;
    case Type_Polygon:
      if (state & kStatePlane) return Type_Plane;
      if (state & kStatePlaneCutout) return Type_PlaneCutout;
      return Type_Polygon;
    default:
      return record.header.recordType;
  }
}

std::unique_ptr<EntityRecord> NewEntityRecord() { return std::make_unique<EntityRecord>(); }
