// Rotating, mirroring and flipping the working copies of the selection about
// the window's block origin, and moving the designator offsets of selected
// symbols.
#include <cstring>
#include <utility>

#include "draw/ghost_seams.h"
#include "edit/key_command_seams.h"
#include "edit/placing_seams.h"
#include "edit/selection.h"
#include "edit/window_data.h"
#include "geometry/arcs.h"
#include "geometry/transform.h"
#include "objects/graphic_records.h"
#include "objects/group_texts.h"
#include "objects/item_sides.h"
#include "objects/payload_access.h"
#include "objects/selection_seams.h"
#include "objects/type_codes.h"
#include "platform/user.h"
#include "store/tower.h"

namespace {

constexpr std::uint32_t kInstanceOtherSide = 0x2;  // Symbol Instance Info flags
constexpr std::uint32_t kPadOtherSide = 0x1;       // Pad-Stack Info flags
constexpr std::uint32_t kPadInfoBytes = 36;        // flags, ..., transform at 12
constexpr std::uint32_t kPadInfoTransform = 12;
constexpr std::uint16_t kTypePadStackHier = 141;
constexpr std::uint16_t kTypeSchematicSymbol = 30;

bool IsPrimary(const SelectionInfo* s) { return (s->flags & kSelectionPrimary) != 0; }

pl3::Point BlockOrigin() { return ActiveWindowData ? ActiveWindowData->BlockOrigin : pl3::Point{}; }

pl3::Transform Linear(const pl3::Transform& t) {
  pl3::Transform l = t;
  l.tx = 0;
  l.ty = 0;
  return l;
}

std::int32_t Wrap(std::int64_t v) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(v)); }

void TurnPointAbout(const pl3::Transform& linear, pl3::Point pivot, std::int32_t& x, std::int32_t& y) {
  x = Wrap(static_cast<std::int64_t>(x) - pivot.x);
  y = Wrap(static_cast<std::int64_t>(y) - pivot.y);
  pl3::TransformVector(&linear, x, y);
  x = Wrap(static_cast<std::int64_t>(x) + pivot.x);
  y = Wrap(static_cast<std::int64_t>(y) + pivot.y);
}

// The orthogonal linear parts the rotate and mirror commands use are
// inverted by their transpose.
pl3::Transform Transposed(const pl3::Transform& l) { return {l.a, l.c, l.b, l.d, 0, 0}; }

bool IsMirror(const pl3::Transform& l) {
  return static_cast<std::int64_t>(l.a) * l.d - static_cast<std::int64_t>(l.b) * l.c < 0;
}

// The point the record's text group or symbol pin stands on: its Origin (112).
std::uint8_t* OriginPayload(const Tower* item) { return ChildPayloadOfAtLeast(item, Type_Origin, 8); }

// Text inside a text group: the turn is re-expressed in the group's frame.
int TransformGroupText(SelectionInfo* s, const pl3::Transform& linear) {
  Tower* group = GroupOfSelection(s);
  pl3::Transform placement;
  const bool placed = group && GetTextGroupTransform(group, &placement);
  ReleaseTower(&group);
  if (!placed) return 0;
  const pl3::Transform g = Linear(placement);
  const pl3::Transform inverse = Transposed(g);
  pl3::Transform local = g;  // g, then the turn, then back into the group
  pl3::ComposeTransform(&local, &linear);
  pl3::ComposeTransform(&local, &inverse);
  pl3::Point pivot = BlockOrigin();
  pivot.x = Wrap(static_cast<std::int64_t>(pivot.x) - placement.tx);
  pivot.y = Wrap(static_cast<std::int64_t>(pivot.y) - placement.ty);
  pl3::TransformVector(&inverse, pivot.x, pivot.y);
  Entity* e = TowerEntity(s->workingCopy);
  return e ? RotateEntityData(EntityPayload(e), Type_Text, &pivot, &local) : 0;
}

// A text group: its Transform turns about the block origin; the group's own
// Origin stays where it is in the group's frame.
int TransformTextGroup(const Tower* group, const pl3::Transform& linear) {
  auto* t = reinterpret_cast<pl3::Transform*>(ChildPayloadOfAtLeast(group, Type_Transform, sizeof(pl3::Transform)));
  if (!t) return 0;
  pl3::Point origin{};
  if (const std::uint8_t* o = OriginPayload(group)) std::memcpy(&origin, o, sizeof origin);
  t->tx = Wrap(static_cast<std::int64_t>(t->tx) + origin.x);
  t->ty = Wrap(static_cast<std::int64_t>(t->ty) + origin.y);
  RotateTransformAbout(t, &linear, BlockOrigin());
  t->tx = Wrap(static_cast<std::int64_t>(t->tx) - origin.x);
  t->ty = Wrap(static_cast<std::int64_t>(t->ty) - origin.y);
  return 1;
}

// The placement transform of a symbol, symbol instance or pad stack.
pl3::Transform* PlacementOf(const Tower* item, std::uint16_t type) {
  if (type == kTypePadStackHier) {
    std::uint8_t* info = ChildPayloadOfAtLeast(item, Type_PadStackInfo, kPadInfoBytes);
    return info ? reinterpret_cast<pl3::Transform*>(info + kPadInfoTransform) : nullptr;
  }
  return reinterpret_cast<pl3::Transform*>(ChildPayloadOfAtLeast(item, Type_Transform, sizeof(pl3::Transform)));
}

// A mirrored arc runs the other way round: its two ends trade places.
void FlipArcDirection(ArcPayload* arc) {
  std::swap(arc->startX, arc->endX);
  std::swap(arc->startY, arc->endY);
  pl3::PrepareArcEnds(arc);
}

void MirrorAndRefresh(SelectionInfo* s) {
  TransformSelectionInfoOrigin(s, &kMirrorTransform, 1);
  UpdateMovingPoints();
  RefreshRatsnestLines();
}

}  // namespace

void RotateTransformAbout(pl3::Transform* t, const pl3::Transform* linear, pl3::Point pivot) {
  const pl3::Transform l = Linear(*linear);
  pl3::ComposeLinearTransform(t, &l);
  TurnPointAbout(l, pivot, t->tx, t->ty);
}

int TransformSelectionInfoOrigin(SelectionInfo* record, const pl3::Transform* transform, int aboutBlockOrigin) {
  Entity* e = TowerEntity(record->workingCopy);
  if (!e) return 0;
  pl3::Transform* placement = PlacementOf(record->workingCopy, e->typeCode);
  if (!placement) {
    if (e->typeCode == kTypePadStackHier) {
      MessageBox(nullptr, "Error - PadStackInfo not found", "TransformSelectionInfoOrigin", MB_OK);
      return 0;
    }
    return 1;
  }
  const pl3::Transform linear = Linear(*transform);
  if (aboutBlockOrigin) {
    RotateTransformAbout(placement, &linear, BlockOrigin());
  } else {
    pl3::ComposeLinearTransform(placement, &linear);
  }
  if (std::uint8_t* offset = ChildPayloadOfAtLeast(record->workingCopy, Type_Offset, 8)) {
    std::int32_t x = ReadI32(offset, 0), y = ReadI32(offset, 4);
    pl3::TransformVector(&linear, x, y);
    std::memcpy(offset, &x, 4);
    std::memcpy(offset + 4, &y, 4);
  }
  return 1;
}

int TransformSelectionInfo(SelectionInfo* record, const pl3::Transform* transform) {
  Entity* e = TowerEntity(record->workingCopy);
  if (!e || !transform) return 0;
  const pl3::Transform linear = Linear(*transform);
  const pl3::Point pivot = BlockOrigin();
  void* payload = EntityPayload(e);
  switch (const std::uint16_t type = e->typeCode) {
    case Type_Text:
      if (Tower* group = GroupOfSelection(record)) {
        ReleaseTower(&group);
        return TransformGroupText(record, linear);
      }
      return RotateEntityData(payload, type, &pivot, &linear);
    case Type_AngleDimensioner: case Type_Dimensioner: {
      if (e->payloadSize < sizeof(DimensionerPayload)) return 0;
      RotateTransformAbout(&static_cast<DimensionerPayload*>(payload)->head.transform, &linear, pivot);
      return 1;
    }
    case Type_SymbolPin: {
      std::uint8_t* origin = OriginPayload(record->workingCopy);
      if (!origin) return 0;
      std::int32_t x = ReadI32(origin, 0), y = ReadI32(origin, 4);
      TurnPointAbout(linear, pivot, x, y);
      std::memcpy(origin, &x, 4);
      std::memcpy(origin + 4, &y, 4);
      return 1;
    }
    case kTypeSchematicSymbol: case Type_SymbolInstance: case kTypePadStackHier:
      return TransformSelectionInfoOrigin(record, &linear, 1);
    case kTypeTextGroup:
      return TransformTextGroup(record->workingCopy, linear);
    case Type_Arc: case Type_BoardOutlineArc:
      if (!RotateEntityData(payload, type, &pivot, &linear)) return 0;
      // A mirror runs the arc the other way round: its ends trade places.
      if (IsMirror(linear)) FlipArcDirection(static_cast<ArcPayload*>(payload));
      return 1;
    default:
      return RotateEntityData(payload, type, &pivot, &linear);
  }
}

pl3::Box TransformSelectionArray(const pl3::Transform* transform) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !transform) return pl3::kEmptyBox;
  const bool instances = GetSelectionType(w->SelectionList) == Type_SymbolInstance;
  const pl3::Box released = instances ? ReleaseSecondaryNonTracks() : ReleaseSecondarySelections();
  const pl3::Transform linear = Linear(*transform);
  for (SelectionInfo* s = w->SelectionList; s; s = s->next) {
    if (IsPrimary(s)) {
      TransformSelectionInfo(s, &linear);
      continue;
    }
    if (!instances || (s->grabbedPart != kGrabFirstEnd && s->grabbedPart != kGrabSecondEnd)) continue;
    Entity* e = TowerEntity(s->workingCopy);
    if (!e || !IsTrackLikeType(e->typeCode) || e->payloadSize < sizeof(LinePayload)) continue;
    auto* line = static_cast<LinePayload*>(static_cast<void*>(EntityPayload(e)));
    if (s->grabbedPart == kGrabFirstEnd) TurnPointAbout(linear, w->BlockOrigin, line->x1, line->y1);
    else TurnPointAbout(linear, w->BlockOrigin, line->x2, line->y2);
  }
  UpdateMovingPoints();
  RefreshRatsnestLines();
  return released;
}

int FlipSelectionInfoSide(SelectionInfo* record) {
  Entity* e = TowerEntity(record->workingCopy);
  if (!e) return 0;
  const std::uint16_t type = e->typeCode;
  if ((type >= 1 && type <= 11) || type == 35 || type == 37 || type == 38 || type == 39)
    return FlipInsertionToOtherSide(record->workingCopy);
  switch (type) {
    case Type_SymbolInstance: {
      std::uint8_t* info = ChildPayloadOfAtLeast(record->workingCopy, Type_SymbolInstanceInfo, 4);
      if (!info) return 0;
      WriteU32(info, 0, ReadU32(info, 0) ^ kInstanceOtherSide);
      MirrorAndRefresh(record);
      return 1;
    }
    case Type_PadStackInfo: case kTypePadStackHier: {
      std::uint8_t* info = type == Type_PadStackInfo ? PayloadOfAtLeast(e, kPadInfoBytes)
                                                     : ChildPayloadOfAtLeast(record->workingCopy, Type_PadStackInfo,
                                                                             kPadInfoBytes);
      if (!info) return 0;
      WriteU32(info, 0, ReadU32(info, 0) ^ kPadOtherSide);
      if (type == Type_PadStackInfo) {
        auto* t = reinterpret_cast<pl3::Transform*>(info + kPadInfoTransform);
        RotateTransformAbout(t, &kMirrorTransform, BlockOrigin());
        UpdateMovingPoints();
        RefreshRatsnestLines();
      } else {
        MirrorAndRefresh(record);
      }
      return 1;
    }
    case kTypeTextGroup: {
      std::uint8_t* link =
          ChildPayloadOfAtLeast(record->workingCopy, kTypeTextGroupLink, kTextGroupLinkFlagsOffset + 1);
      if (!link) return 0;
      link[kTextGroupLinkFlagsOffset] ^= kTextGroupMirrored;
      return 1;
    }
    default:
      return 0;
  }
}

int ShiftDesignatorOffsets(SelectionInfo* list, pl3::Point delta) {
  int moved = 0;
  for (SelectionInfo* s = list; s; s = s->next) {
    if (!(s->flags & kSelectionHasInstanceInfo) || !TowerEntity(s->copyInstanceInfo)) continue;
    if (std::uint8_t* offset = ChildPayloadOfAtLeast(s->copyInstanceInfo, Type_Offset, 8)) {
      WriteI32(offset, 0, Wrap(static_cast<std::int64_t>(ReadI32(offset, 0)) + delta.x));
      WriteI32(offset, 4, Wrap(static_cast<std::int64_t>(ReadI32(offset, 4)) + delta.y));
      ++moved;
      continue;
    }
    const std::int32_t fresh[2] = {delta.x, delta.y};
    if (Tower* stored = InsertEntity(s->copyInstanceInfo, sizeof fresh, Type_Offset, fresh)) ReleaseTower(&stored);
  }
  return moved;
}
