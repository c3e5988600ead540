#include "objects/group_texts.h"

#include <cstdlib>
#include <cstring>

#include "edit/window_data.h"
#include "geometry/transform.h"
#include "objects/entity_copy.h"
#include "objects/graphic_records.h"
#include "objects/item_helper_seams.h"
#include "objects/item_sides.h"
#include "objects/payload_access.h"
#include "objects/type_codes.h"

namespace {

constexpr std::uint32_t kOriginSize = 8;                  // i32 x, i32 y (u16 flags follow)
constexpr std::uint32_t kTextTranslationOffset = 92;      // tx, ty of the text's own transform
constexpr std::uint32_t kTextTransformOffset = 76;
constexpr std::uint32_t kPinNamePositionOffset = 36;
constexpr std::uint32_t kTextHeadSize = 104;              // a text payload up to its string

pl3::Point ReadPoint(const std::uint8_t* p, std::uint32_t offset) { return {ReadI32(p, offset), ReadI32(p, offset + 4)}; }

pl3::Point Add(pl3::Point a, pl3::Point b) {
  return {static_cast<std::int32_t>(static_cast<std::uint32_t>(a.x) + static_cast<std::uint32_t>(b.x)),
          static_cast<std::int32_t>(static_cast<std::uint32_t>(a.y) + static_cast<std::uint32_t>(b.y))};
}

// The origin point of an item's Origin child, (0, 0) when it has none.
pl3::Point OriginOf(const Tower* item) {
  const std::uint8_t* origin = ChildPayloadOfAtLeast(item, Type_Origin, kOriginSize);
  return origin ? ReadPoint(origin, 0) : pl3::Point{0, 0};
}

bool SameLinearPart(const pl3::Transform& t, const pl3::Transform& r) {
  return t.a == r.a && t.b == r.b && t.c == r.c && t.d == r.d;
}

std::uint16_t WholeOrRequest(const GrabBlock* grab) { return grab->wholeItem ? kEditWholeItemRequest : kEditWhole; }

void SetGrabPoint(GrabBlock* grab, pl3::Point at, std::uint16_t code) {
  grab->grabX = at.x;
  grab->grabY = at.y;
  grab->editCode = code;
}

// The Tower of the text a selection record works on: its working copy, or
// the item itself.
const Tower* SelectedText(const SelectionInfo* item) {
  if (!item) return nullptr;
  return item->workingCopy ? item->workingCopy : item->original;
}


std::uint8_t* TextPayloadOf(const Tower* t) {
  Entity* e = TowerEntity(t);
  return e && e->typeCode == Type_Text ? PayloadOfAtLeast(e, kTextHeadSize) : nullptr;
}

// Toggles the window's mirror-mode flag for as long as it lives, when asked.
class MirrorModeToggle {
 public:
  explicit MirrorModeToggle(bool on) : window_(on ? ActiveWindowData : nullptr) {
    if (window_) window_->WalkFlags ^= kWalkMirrorMode;
  }
  ~MirrorModeToggle() {
    if (window_) window_->WalkFlags ^= kWalkMirrorMode;
  }
  MirrorModeToggle(const MirrorModeToggle&) = delete;
  MirrorModeToggle& operator=(const MirrorModeToggle&) = delete;

 private:
  CurrentWindowData* window_;
};

}  // namespace

Tower* GroupOfSelection(const SelectionInfo* item) {
  const Tower* inDesign = item->original ? item->original : item->workingCopy;
  Tower* group = inDesign ? GetAncestorTower(inDesign, kTypeTextGroup) : nullptr;
  if (group && LastLevel(group).typeCode != kTypeTextGroup) ReleaseTower(&group);
  return group;
}

bool GetTextGroupPlacement(const Tower* group, pl3::Transform* placement, bool* mirrored) {
  if (!TowerEntity(group)) return false;
  *placement = pl3::kIdentityTransform;
  if (const std::uint8_t* t = ChildPayloadOfAtLeast(group, Type_Transform, sizeof(pl3::Transform))) {
    std::memcpy(placement, t, sizeof *placement);
  }
  const pl3::Point origin = Add({placement->tx, placement->ty}, OriginOf(group));
  placement->tx = origin.x;
  placement->ty = origin.y;
  const std::uint8_t* link = ChildPayloadOfAtLeast(group, kTypeTextGroupLink, kTextGroupLinkFlagsOffset + 1);
  *mirrored = link && (link[kTextGroupLinkFlagsOffset] & kTextGroupMirrored);
  return true;
}

bool GetTextGroupTransform(const Tower* group, pl3::Transform* transform, bool* mirroredOut) {
  bool mirrored = false;
  pl3::Transform placement;
  if (!GetTextGroupPlacement(group, &placement, &mirrored)) return false;
  *transform = mirrored ? kMirrorTransform : pl3::kIdentityTransform;
  pl3::ComposeTransform(transform, &placement);
  if (mirroredOut) *mirroredOut = mirrored;
  return true;
}

void TranslateText(void* payload, pl3::Point delta) { OffsetEntity(payload, Type_Text, delta.x, delta.y, 1); }

void TranslateTextInGroup(SelectionInfo* item, pl3::Point delta, std::uint16_t /*part*/) {
  std::uint8_t* text = item ? TextPayloadOf(SelectedText(item)) : nullptr;
  Tower* group = text ? GroupOfSelection(item) : nullptr;
  pl3::Transform placement;
  bool mirrored = false;
  if (!group || !GetTextGroupPlacement(group, &placement, &mirrored)) {
    ReleaseTower(&group);
    return;
  }
  ReleaseTower(&group);
  placement.tx = 0;
  placement.ty = 0;
  // The group's turn is undone on the delta: a reflection and R0 or R180 are
  // their own inverses, R90 and R270 each other's (a half turn apart).
  pl3::Transform turn = placement;
  if (mirrored) {
    turn = kMirrorTransform;
    pl3::ComposeTransform(&turn, &placement);
  } else if (SameLinearPart(placement, pl3::R90) || SameLinearPart(placement, pl3::R270)) {
    pl3::ComposeTransform(&turn, &pl3::R180);
  }
  const MirrorModeToggle toggle(mirrored);
  std::int32_t dx = delta.x;
  std::int32_t dy = delta.y;
  pl3::TransformVector(&turn, dx, dy);
  const pl3::Point moved = Add(ReadPoint(text, kTextTranslationOffset), {dx, dy});
  WriteI32(text, kTextTranslationOffset, moved.x);
  WriteI32(text, kTextTranslationOffset + 4, moved.y);
}

void GhostTextInGroup(void* view, SelectionInfo* item) {
  const Tower* selected = item ? SelectedText(item) : nullptr;
  Tower* group = TextPayloadOf(selected) ? GroupOfSelection(item) : nullptr;
  pl3::Transform transform;
  bool mirrored = false;
  if (group && GetTextGroupTransform(group, &transform, &mirrored)) {
    Entity* e = TowerEntity(selected);
    auto* record = static_cast<EntityRecord*>(CopyEntity(EntityPayload(e), e->payloadSize, Type_Text, &transform));
    if (record) {
      const MirrorModeToggle toggle(mirrored);
      GhostEntityData(view, Type_Text, record->payload, 0, &record->header.transform);
    }
    std::free(record);
  }
  ReleaseTower(&group);
}

void MirrorTextInGroup(void* view, SelectionInfo* item) {
  std::uint8_t* text = item ? TextPayloadOf(SelectedText(item)) : nullptr;
  if (!text) return;
  GhostTextInGroup(view, item);
  // The x scale is the transform's first row (a, b): negating it mirrors the
  // text in its own frame, whatever its rotation.
  pl3::Transform own;
  std::memcpy(&own, text + kTextTransformOffset, sizeof own);
  own.a = -own.a;
  own.b = -own.b;
  std::memcpy(text + kTextTransformOffset, &own, sizeof own);
  GhostTextInGroup(view, item);
}

int GrabSymbolPin(const Tower* pin, GrabBlock* grab) {
  const std::uint8_t* origin = ChildPayloadOfAtLeast(pin, Type_Origin, kOriginSize);
  if (!origin) return 0;
  SetGrabPoint(grab, ReadPoint(origin, 0), kEditWhole);
  return 1;
}

int GrabPinNameText(const Tower* name, GrabBlock* grab) {
  const std::uint8_t* p = PayloadOfAtLeast(TowerEntity(name), kPinNamePositionOffset + 8);
  if (!p) return 0;
  Tower* pin = GetAncestorTower(name, Type_SymbolPin);
  const pl3::Point origin = pin && LastLevel(pin).typeCode == Type_SymbolPin ? OriginOf(pin) : pl3::Point{0, 0};
  ReleaseTower(&pin);
  SetGrabPoint(grab, Add(ReadPoint(p, kPinNamePositionOffset), origin), WholeOrRequest(grab));
  return 1;
}

int GrabText(const Tower* text, GrabBlock* grab) {
  const std::uint8_t* p = PayloadOfAtLeast(TowerEntity(text), kTextHeadSize);
  if (!p) return 0;
  pl3::Point at = ReadPoint(p, kTextTranslationOffset);
  Tower* group = GetAncestorTower(text, kTypeTextGroup);
  pl3::Transform transform;
  if (group && LastLevel(group).typeCode == kTypeTextGroup && GetTextGroupTransform(group, &transform)) {
    pl3::TransformSignedPoint(&transform, at.x, at.y);
    SetGrabPoint(grab, at, kEditWhole);
  } else {
    pl3::Box box{0, 0, 0, 0};
    GetTextEntityBox(p, &box);
    grab->firstWord = static_cast<std::uint32_t>((static_cast<std::int64_t>(box.xmax) - box.xmin) / 2);
    grab->secondWord = static_cast<std::uint32_t>((static_cast<std::int64_t>(box.ymax) - box.ymin) / 2);
    SetGrabPoint(grab, at, WholeOrRequest(grab));
  }
  ReleaseTower(&group);
  return 1;
}

int GrabTextGroup(const Tower* group, GrabBlock* grab) {
  pl3::Transform placement;
  bool mirrored = false;
  if (!GetTextGroupPlacement(group, &placement, &mirrored)) return 0;
  SetGrabPoint(grab, {placement.tx, placement.ty}, WholeOrRequest(grab));
  return 1;
}
