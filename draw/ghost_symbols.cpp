// The ghost of a placed symbol's contents: its pins as small squares with
// their labels, its pads through their pad stacks, every other child through
// GhostEntityData, mirrored while the symbol is, and its designator and
// attribute copies through their own ghosts.
#include <cstdlib>
#include <cstring>

#include "draw/ghost_pens.h"
#include "draw/ghosts.h"
#include "edit/window_data.h"
#include "geometry/arcs.h"
#include "geometry/raster_state.h"
#include "geometry/transform.h"
#include "geometry/view_mapping.h"
#include "objects/designators.h"
#include "objects/graphic_records.h"
#include "objects/pad_stacks.h"
#include "objects/payload_access.h"
#include "objects/symbol_instances.h"
#include "objects/text_item_services.h"
#include "objects/type_codes.h"
#include "platform/gdi.h"
#include "store/tower.h"

namespace {

HDC AsDC(void* dc) { return static_cast<HDC>(dc); }

// A pin's label (27): its name at 56.
constexpr std::uint16_t kTypePinLabel = 27;
constexpr std::uint32_t kPinLabelNameOffset = 56;
// The colour index pin labels are ghosted in.
constexpr std::uint32_t kPinLabelColour = 1;
// A Pad-Stack Info (116): flags (bit 0 the other side) and its transform at 12.
constexpr std::uint32_t kPadInfoTransformOffset = 12;
constexpr std::uint32_t kPadOnOtherSide = 0x1;
// A pad-stack layer entry (111): its layer at 4, its transform at 20.
constexpr std::uint32_t kLayerEntryTransformOffset = 20;
constexpr std::uint32_t kLayerEntrySize = 44;
constexpr std::uint16_t kTypeAttributeGroup = 306;
constexpr std::uint16_t kTypeAttributeCopy = 309;

std::int32_t Reflect(std::int32_t axis, std::int32_t x) {
  return static_cast<std::int32_t>(2u * static_cast<std::uint32_t>(axis) - static_cast<std::uint32_t>(x));
}

// Reflects the x coordinates of a payload copy about the axis; false for
// kinds without a reflection here (they are ghosted as they stand).
bool ReflectPayload(std::uint16_t type, std::uint8_t* p, std::uint32_t size, std::int32_t axis) {
  const auto reflectAt = [&](std::uint32_t offset) {
    if (offset + 4 <= size) WriteI32(p, offset, Reflect(axis, ReadI32(p, offset)));
  };
  switch (type) {
    case Type_Track: case Type_ThermalBreak: case Type_RoutedLine: case Type_LinkedCut: case Type_StarEarthTrack:
    case Type_BoardOutlineLine: case Type_PlatedSlot: case Type_NonPlatedSlot: case Type_ThinLine: case Type_Wire:
    case Type_Bus:
      reflectAt(offsetof(pl3::TrackLayout, x1));
      reflectAt(offsetof(pl3::TrackLayout, x2));
      return true;
    case Type_Arc: case Type_BoardOutlineArc: case Type_ThinArc: {
      if (size < sizeof(pl3::ArcLayout)) return false;
      // A reflection turns the sweep round: the ends change places, x negated.
      pl3::ArcLayout arc;
      std::memcpy(&arc, p, sizeof arc);
      arc.centreX = Reflect(axis, arc.centreX);
      const std::int32_t startX = arc.startX, startY = arc.startY;
      arc.startX = -arc.endX;
      arc.startY = arc.endY;
      arc.endX = -startX;
      arc.endY = startY;
      pl3::PrepareArcEnds(&arc);
      std::memcpy(p, &arc, sizeof arc);
      return true;
    }
    case Type_Circle: reflectAt(offsetof(pl3::CircleLayout, centreX)); return true;
    case Type_Hole: reflectAt(offsetof(pl3::HoleLayout, centreX)); return true;
    case Type_Rectangle:
      for (std::uint32_t i = 0; i < 4; ++i) reflectAt(offsetof(pl3::RectangleLayout, corners) + 8 * i);
      reflectAt(offsetof(pl3::RectangleLayout, centreX));
      return true;
    case Type_Polygon: case Type_Plane: case Type_PlaneCutout: case Type_PolygonKeepout: case Type_PolygonViaKeepout:
    case Type_PolygonPlacementKeepout: case Type_ComponentPlacementOutline: case Type_ComponentBodyOutline:
    case Type_PolygonWiringKeepout: {
      if (size < sizeof(pl3::PolygonLayout)) return true;
      const std::uint32_t n = p[offsetof(pl3::PolygonLayout, count)];
      for (std::uint32_t i = 0; i < n; ++i) reflectAt(sizeof(pl3::PolygonLayout) + 8 * i);
      return true;
    }
    case Type_Text:
      reflectAt(offsetof(TextPayload, textTransform) + offsetof(pl3::Transform, tx));
      return true;
    default:
      return false;
  }
}

// Ghosts one stored entity's payload under the transform, from a zero-filled
// stack copy as large as any working record (the drawers read their fixed
// layouts whatever the stored size), reflected about the axis when asked.
void GhostStoredEntity(void* dc, const Entity* e, const pl3::Transform& t, const std::int32_t* axis) {
  alignas(4) std::uint8_t copy[kLargestPayloadRoom + 1] = {};
  const std::uint32_t size = e->payloadSize < kLargestPayloadRoom ? e->payloadSize : kLargestPayloadRoom;
  std::memcpy(copy, EntityPayload(e), size);
  if (axis) ReflectPayload(e->typeCode, copy, size, *axis);
  GhostEntityData(dc, e->typeCode, copy, 0, &t);
}

// Every child of `parent` with GhostStoredEntity.
void GhostChildren(void* dc, const Tower* parent, const pl3::Transform& t) {
  Tower* children = GetAllChildrenTower(parent);
  while (children) {
    const Entity* e = FindNextEntity(children);
    if (!e) break;
    GhostStoredEntity(dc, e, t, nullptr);
  }
  ReleaseTower(&children);
}

pl3::Transform TransformAt(const std::uint8_t* p, std::uint32_t offset) {
  pl3::Transform t;
  std::memcpy(&t, p + offset, sizeof t);
  return t;
}

// A pad (141 or its 116): every child of its pad stack under the pad's
// transform, seen from the pad's side. A layer entry has no outline of its
// own: the shape it names is ghosted on the entry's layer.
void GhostPad(void* dc, const Tower* pad, const pl3::Transform& t) {
  CurrentWindowData* w = ActiveWindowData;
  const std::uint8_t* info = pad ? ChildPayloadOfAtLeast(pad, Type_PadStackInfo, kPadInfoTransformOffset + 24) : nullptr;
  if (TowerEntity(pad) && TowerEntity(pad)->typeCode == Type_PadStackInfo)
    info = PayloadOfAtLeast(TowerEntity(pad), kPadInfoTransformOffset + 24);
  if (!info) return;
  Tower* stack = GetPadStackDef(pad);
  if (!stack) return;
  pl3::Transform padTransform = TransformAt(info, kPadInfoTransformOffset);
  pl3::ComposeTransform(&padTransform, &t);
  const std::uint32_t savedView = w->ViewFlags, savedState = w->StateFlags;
  const std::uint8_t savedOverride = w->OverrideLayer;
  w->ViewFlags = (ReadU32(info, 0) & kPadOnOtherSide) ? (w->ViewFlags | kViewOtherSide) : (w->ViewFlags & ~kViewOtherSide);
  Tower* children = GetAllChildrenTower(stack);
  while (children) {
    const Entity* e = FindNextEntity(children);
    if (!e) break;
    if (e->typeCode != Type_PadStackLayerInfo) {
      GhostStoredEntity(dc, e, padTransform, nullptr);
      continue;
    }
    const std::uint8_t* entry = PayloadOfAtLeast(const_cast<Entity*>(e), kLayerEntrySize);
    Tower* standing = DuplicateTower(children);
    LastLevel(standing).flags = kLevelLast | kLevelPositioned;
    Tower* shape = entry ? GetInfoTargetTower(standing, nullptr) : nullptr;
    if (shape) {
      pl3::Transform shapeTransform = TransformAt(entry, kLayerEntryTransformOffset);
      pl3::ComposeTransform(&shapeTransform, &padTransform);
      w->StateFlags |= kStateLayerOverride;
      w->OverrideLayer = entry[4];
      GhostChildren(dc, shape, shapeTransform);
      w->StateFlags = savedState;
      w->OverrideLayer = savedOverride;
    }
    ReleaseTower(&shape);
    ReleaseTower(&standing);
  }
  ReleaseTower(&children);
  ReleaseTower(&stack);
  w->ViewFlags = savedView;
}

// The pin's square at its origin, and its label as a text in colour 1.
void GhostPin(void* dc, const Tower* pin, const pl3::Transform& t, const std::int32_t* axis) {
  const std::uint8_t* origin = ChildPayloadOfAtLeast(pin, Type_Origin, 8);
  if (!origin) return;
  std::int32_t x = ReadI32(origin, 0), y = ReadI32(origin, 4);
  if (axis) x = Reflect(*axis, x);
  std::int32_t px = x, py = y;
  pl3::TransformPoint(&t, px, py);
  std::int32_t left = px - kPinGhostHalfSide, top = py - kPinGhostHalfSide;
  std::int32_t right = px + kPinGhostHalfSide, bottom = py + kPinGhostHalfSide;
  pl3::WorldToView(left, top);
  pl3::WorldToView(right, bottom);
  CurrentWindowData* w = ActiveWindowData;
  const std::uint32_t plane0 = w->layerTable.layers[0].planeBit;
  SetXorPen(dc, (w->StateFlags & kStateHairline) ? 1 : 0, plane0);
  Rectangle(AsDC(dc), left, top, right + 1, bottom + 1);
  RestoreXorPen(dc);

  Tower* label = NewestChildTower(pin, kTypePinLabel);
  const Entity* e = TowerEntity(label);
  if (e && e->payloadSize > kPinLabelNameOffset) {
    const char* name = reinterpret_cast<const char*>(EntityPayload(e)) + kPinLabelNameOffset;
    const std::size_t length = strnlen(name, e->payloadSize - kPinLabelNameOffset);
    if (length > 0 && length < e->payloadSize - kPinLabelNameOffset) {
      pl3::Transform at = pl3::kIdentityTransform;
      at.tx = x;
      at.ty = y;
      TextPayload* text = CreateTextItemEx(name, CurrentTextExplicitSize, 0, &at, 0, w->CurrentFont);
      if (text) {
        const std::uint32_t state = w->StateFlags, colour = pl3::g_raster.fillValue;
        w->StateFlags |= kStateSingleColour;
        pl3::g_raster.fillValue = kPinLabelColour;
        RenderTextEntity(dc, text, 0, &t);
        w->StateFlags = state;
        pl3::g_raster.fillValue = colour;
        std::free(text);
      }
    }
  }
  ReleaseTower(&label);
}

pl3::Transform InstanceTransform(const Tower* instance, pl3::Point offset) {
  pl3::Transform t = pl3::kIdentityTransform;
  if (const std::uint8_t* p = ChildPayloadOfAtLeast(instance, Type_Transform, sizeof t)) std::memcpy(&t, p, sizeof t);
  if (const std::uint8_t* p = ChildPayloadOfAtLeast(instance, Type_Offset, 8)) {
    t.tx += ReadI32(p, 0);
    t.ty += ReadI32(p, 4);
  }
  t.tx += offset.x;
  t.ty += offset.y;
  return t;
}

// The x of the symbol's origin that the drawing mirrors about: the
// instance's own Origin, else its definition's, else 0.
std::int32_t MirrorAxis(const Tower* instance, const Tower* definition) {
  for (const Tower* t : {instance, definition}) {
    if (const std::uint8_t* origin = t ? ChildPayloadOfAtLeast(t, Type_Origin, 8) : nullptr) return ReadI32(origin, 0);
  }
  return 0;
}

// Applies `ghost` to every entity of `code` under `parent`, each on a Tower of its own.
template <typename Ghost>
void ForEachChild(const Tower* parent, std::uint16_t code, Ghost ghost) {
  Tower* children = parent ? GetChildTower(parent, code) : nullptr;
  while (children && FindNextEntity(children)) {
    Tower* one = DuplicateTower(children);
    LastLevel(one).flags = kLevelLast | kLevelPositioned;
    ghost(one);
    ReleaseTower(&one);
  }
  ReleaseTower(&children);
}

}  // namespace

void GhostSymbolContents(void* dc, const Tower* instance, const Tower* definition, pl3::Point offset) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !dc || !definition) return;
  const pl3::Transform t = InstanceTransform(instance, offset);
  const bool mirrored = (w->StateFlags & kStateSymbolMirrored) != 0;
  // The drawing mirrors a symbol's items about its origin; the ghost does
  // the same so that it lies where the symbol will be drawn.
  const std::int32_t axis = MirrorAxis(instance, definition);
  const std::int32_t* reflect = mirrored ? &axis : nullptr;
  Tower* children = GetAllChildrenTower(definition);
  while (children) {
    const Entity* e = FindNextEntity(children);
    if (!e) break;
    if (e->typeCode == Type_SymbolPin || e->typeCode == Type_PadStackInstanceHier || e->typeCode == Type_PadStackInfo) {
      Tower* one = DuplicateTower(children);
      LastLevel(one).flags = kLevelLast | kLevelPositioned;
      if (e->typeCode == Type_SymbolPin) {
        GhostPin(dc, one, t, reflect);
      } else {
        GhostPad(dc, one, t);
      }
      ReleaseTower(&one);
      continue;
    }
    GhostStoredEntity(dc, e, t, reflect);
  }
  ReleaseTower(&children);

  // The designator copies and the attribute copies ghost themselves.
  ForEachChild(instance, Type_Designator, [&](const Tower* group) {
    ForEachChild(group, Type_DesignatorData, [&](const Tower* copy) { GhostDesignator(dc, copy); });
  });
  ForEachChild(instance, kTypeAttributeGroup, [&](const Tower* group) {
    ForEachChild(group, kTypeAttributeCopy, [&](const Tower* copy) { GhostAttributeLocator(dc, copy); });
  });
}

void GhostCopiedItems(void* dc, const Tower* node, pl3::Point offset) {
  if (!dc || !TowerEntity(node)) return;
  pl3::Transform t = pl3::kIdentityTransform;
  if (const std::uint8_t* p = ChildPayloadOfAtLeast(node, Type_Offset, 8)) {
    t.tx = ReadI32(p, 0);
    t.ty = ReadI32(p, 4);
  }
  t.tx += offset.x;
  t.ty += offset.y;
  Tower* children = GetAllChildrenTower(node);
  while (children) {
    const Entity* e = FindNextEntity(children);
    if (!e) break;
    if (e->typeCode == Type_Transform || e->typeCode == Type_Offset) continue;
    GhostStoredEntity(dc, e, t, nullptr);
  }
  ReleaseTower(&children);
}
