#include "objects/symbol_instances.h"

#include <cstring>

#include "edit/window_data.h"
#include "geometry/transform.h"
#include "objects/pad_stacks.h"
#include "objects/payload_access.h"
#include "objects/design_helpers.h"
#include "objects/dimensioner_seams.h"
#include "objects/drawing_seams.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "objects/walker.h"
#include "store/filing_seams.h"
#include "store/seams.h"
#include "store/tower.h"

namespace {

constexpr std::uint16_t kTypeSymbolOptions = 10318;
constexpr std::int32_t kPinHalfSquare = 365760;  // 10 thou

// The own transform of the item, or false when it has none.
bool OwnTransform(const Tower* item, pl3::Transform* own) {
  Entity* e = TowerEntity(item);
  if (!e) return false;
  const std::uint8_t* p = nullptr;
  switch (e->typeCode) {
    case Type_SymbolDefinition:
      p = ChildPayloadOfAtLeast(item, Type_SymbolDefinitionInfo, 28);
      if (p) p += 4;
      break;
    case Type_SymbolInstance:
    case Type_Shape:
    case Type_ShapeDefinition:
      p = ChildPayloadOfAtLeast(item, Type_Transform, sizeof(pl3::Transform));
      break;
    case Type_PadStackLayerInfo:
      p = PayloadOfAtLeast(e, 44);
      if (p) p += 20;
      break;
    case Type_SymbolDefinitionInfo:
    case Type_PadStackDefinitionInfo:
      p = PayloadOfAtLeast(e, 28);
      if (p) p += 4;
      break;
    case Type_PadStackInfo:
      p = PayloadOfAtLeast(e, 36);
      if (p) p += 12;
      break;
    case Type_PadStackInstanceInfo: {
      Tower* instance = GetAncestorTower(item, Type_SymbolInstance);
      const bool found = LastLevel(instance).typeCode == Type_SymbolInstance;
      if (found) GetOwnTransform(own, instance);
      ReleaseTower(&instance);
      return found;
    }
    case Type_PadStackInstanceHier:
      p = ChildPayloadOfAtLeast(item, Type_PadStackInfo, 36);
      if (p) p += 12;
      break;
    case Type_SymbolInstanceInfo:
      ShowMessage(nullptr, "Searching for Type_SymbolInstanceInfo", "GetTransform");
      return false;
    default:
      return false;
  }
  if (!p) return false;
  std::memcpy(own, p, sizeof *own);
  return true;
}

}  // namespace

pl3::Transform* GetTransform(pl3::Transform* result, const Tower* item, const pl3::Transform* parent) {
  const pl3::Transform base = parent ? *parent : pl3::kIdentityTransform;
  pl3::Transform own;
  if (OwnTransform(item, &own)) {
    pl3::ComposeTransform(&own, &base);
    *result = own;
  } else {
    *result = base;
  }
  return result;
}

pl3::Transform* GetOwnTransform(pl3::Transform* result, const Tower* item) {
  return GetTransform(result, item, &pl3::kIdentityTransform);
}

pl3::Transform* OffsetTransform(const Tower* item, std::int32_t dx, std::int32_t dy) {
  std::uint8_t* p = ChildPayloadOfAtLeast(item, Type_Transform, sizeof(pl3::Transform));
  if (!p) return nullptr;
  auto* t = reinterpret_cast<pl3::Transform*>(p);
  t->tx = static_cast<std::int32_t>(static_cast<std::uint32_t>(t->tx) + static_cast<std::uint32_t>(dx));
  t->ty = static_cast<std::int32_t>(static_cast<std::uint32_t>(t->ty) + static_cast<std::uint32_t>(dy));
  return t;
}

pl3::Transform* OffsetTransform(const Tower* item, pl3::Point delta) { return OffsetTransform(item, delta.x, delta.y); }

Tower* ResolveReferenceUnder(const Tower* parent, std::uint32_t reference) {
  if (!parent || !reference || !TowerEntity(parent)) return nullptr;
  // The reference must name a child of the parent: a stale or foreign one
  // from a damaged file is never followed.
  Tower* search = GetAllChildrenTower(parent);
  if (!search) return nullptr;
  while (Entity* e = FindNextEntity(search)) {
    if (NodeRefOf(e) == reference) {
      LastLevel(search).flags = kLevelLast | kLevelPositioned;
      return search;
    }
  }
  ReleaseTower(&search);
  return nullptr;
}

Tower* GetInfoSymbolDef(const std::uint8_t* symbolInstanceInfo) {
  if (!symbolInstanceInfo || !ActiveWindowData) return nullptr;
  return ResolveReferenceUnder(ActiveWindowData->design, ReadU32(symbolInstanceInfo, 4));
}

Tower* GetInstanceSymbolDef(const Tower* instance) {
  return GetInfoSymbolDef(ChildPayloadOfAtLeast(instance, Type_SymbolInstanceInfo, 8));
}

Tower* GetShapeDefinitionTower(const Tower* shape) {
  const std::uint8_t* info = ChildPayloadOfAtLeast(shape, Type_ShapeInfo, 4);
  if (!info) return nullptr;
  // The definition lies beside the Shape or beside one of its ancestors.
  for (int level = shape->lastLevel - 1; level >= 0; --level) {
    Tower* parent = DuplicateTowerToLevel(shape, static_cast<std::uint8_t>(level));
    Tower* found = ResolveReferenceUnder(parent, ReadU32(info, 0));
    ReleaseTower(&parent);
    if (found) return found;
  }
  return nullptr;
}

// ---- Origins ------------------------------------------------------------------

namespace {

struct OriginRecord {
  std::int32_t x;
  std::int32_t y;
  std::uint16_t flags;
  std::uint8_t padding[2];
};
static_assert(sizeof(OriginRecord) == 12);

}  // namespace

void SetTowerOrigin(const Tower* item, std::int32_t x, std::int32_t y) {
  if (!TowerEntity(item)) return;
  DeleteChildEntities(item, Type_Origin);
  const OriginRecord origin{x, y, 0, {0, 0}};
  Tower* inserted = InsertEntity(item, sizeof origin, Type_Origin, &origin);
  ReleaseTower(&inserted);
}

void OffsetOrigin(const Tower* item, pl3::Point delta, std::uint16_t flag) {
  if (flag != 0) return;
  std::uint8_t* p = ChildPayloadOfAtLeast(item, Type_Origin, 8);
  if (!p) return;
  WriteI32(p, 0, static_cast<std::int32_t>(static_cast<std::uint32_t>(ReadI32(p, 0)) + static_cast<std::uint32_t>(delta.x)));
  WriteI32(p, 4, static_cast<std::int32_t>(static_cast<std::uint32_t>(ReadI32(p, 4)) + static_cast<std::uint32_t>(delta.y)));
}

void DragOrigin(void* dc, const Tower* item, OriginDrag* mouse) {
  if (!mouse) return;
  std::int32_t x = mouse->currentPoint.x - mouse->grabOffset.x;
  std::int32_t y = mouse->currentPoint.y - mouse->grabOffset.y;
  SnapXYFine(&x, &y);
  DrawOriginSquare(dc, item);
  SetTowerOrigin(item, x, y);
  DrawOriginSquare(dc, item);
  mouse->previousPoint = mouse->currentPoint;
}

bool GetSymbolInstanceOrigin(const Tower* instance, std::int32_t* x, std::int32_t* y) {
  Tower* definition = GetInstanceSymbolDef(instance);
  const std::uint8_t* origin = ChildPayloadOfAtLeast(definition, Type_Origin, 8);
  ReleaseTower(&definition);
  if (!origin) return false;
  std::int32_t px = ReadI32(origin, 0);
  std::int32_t py = ReadI32(origin, 4);
  if (const std::uint8_t* placed = ChildPayloadOfAtLeast(instance, Type_Transform, sizeof(pl3::Transform))) {
    pl3::Transform t;
    std::memcpy(&t, placed, sizeof t);
    pl3::TransformPoint(&t, px, py);
  }
  *x = px;
  *y = py;
  return true;
}

// ---- Options ------------------------------------------------------------------

std::uint32_t GetSymbolOptions(const Tower* definition) {
  const std::uint8_t* p = ChildPayloadOfAtLeast(definition, kTypeSymbolOptions, 4);
  return p ? ReadU32(p, 0) : 0;
}

std::uint32_t GetInstanceDefinitionFlag(const Tower* instance) {
  Tower* definition = GetInstanceSymbolDef(instance);
  if (!definition) return 0;
  const std::uint32_t flag = GetSymbolOptions(definition) & 1;
  ReleaseTower(&definition);
  return flag;
}

int IsSurfaceMountSymbol(const Tower* instance) {
  Tower* definition = GetInstanceSymbolDef(instance);
  if (!definition) return 0;
  int answer = (GetSymbolOptions(definition) & 1) ? 0 : 1;
  Tower* pads = answer ? GetChildTower(definition, Type_PadStackInstanceHier) : nullptr;
  while (pads && FindNextEntity(pads)) {
    Tower* stack = GetPadStackDef(pads);
    const std::uint8_t* info = ChildPayloadOfAtLeast(stack, Type_PadStackDefinitionInfo, 1);
    ReleaseTower(&stack);
    if (info && !(info[0] & 1)) {
      answer = 0;
      break;
    }
  }
  ReleaseTower(&pads);
  ReleaseTower(&definition);
  return answer;
}

Tower* GetEnclosingTower(const Tower* t, std::uint16_t code) {
  if (!t) return nullptr;
  for (int k = t->lastLevel; k >= 0; --k) {
    if (t->levels[k].typeCode == code) {
      Tower* cut = DuplicateTowerToLevel(t, static_cast<std::uint8_t>(k));
      MarkTowerPathPositioned(cut);
      LastLevel(cut).flags = kLevelLast | kLevelPositioned;
      return cut;
    }
  }
  return nullptr;
}

Tower* GetOwningSymbolTower(const Tower* item) {
  const bool pcb = ActiveWindowData && ActiveWindowData->editorKind == kEditorPcb;
  return GetEnclosingTower(item, pcb ? Type_SymbolInstance : Type_SymbolDefinition);
}

// ---- Boxes --------------------------------------------------------------------

namespace {

// Grows a box by another, comparing as unsigned so that the empty box
// {-1, -1, 0, 0} is neutral.
void UnionBox(pl3::Box* box, const pl3::Box& other) {
  auto lower = [](std::int32_t a, std::int32_t b) {
    return static_cast<std::uint32_t>(b) < static_cast<std::uint32_t>(a) ? b : a;
  };
  auto higher = [](std::int32_t a, std::int32_t b) {
    return static_cast<std::uint32_t>(b) > static_cast<std::uint32_t>(a) ? b : a;
  };
  box->xmin = lower(box->xmin, other.xmin);
  box->ymin = lower(box->ymin, other.ymin);
  box->xmax = higher(box->xmax, other.xmax);
  box->ymax = higher(box->ymax, other.ymax);
}

}  // namespace

int GetItemBox(const Tower* item, pl3::Box* box) {
  pl3::Box found = pl3::kEmptyBox;
  if (item) GetBox(item, &found);
  if (!IsBoxValid(&found)) return 0;
  *box = found;
  return 1;
}

void GetRectangleBox(pl3::Box* box, const pl3::Transform* t) {
  const pl3::Point corners[4] = {
      {box->xmin, box->ymin}, {box->xmax, box->ymin}, {box->xmin, box->ymax}, {box->xmax, box->ymax}};
  pl3::Box mapped{};
  for (int k = 0; k < 4; ++k) {
    std::int32_t x = corners[k].x;
    std::int32_t y = corners[k].y;
    pl3::TransformPoint(t, x, y);
    if (k == 0 || x < mapped.xmin) mapped.xmin = x;
    if (k == 0 || x > mapped.xmax) mapped.xmax = x;
    if (k == 0 || y < mapped.ymin) mapped.ymin = y;
    if (k == 0 || y > mapped.ymax) mapped.ymax = y;
  }
  *box = mapped;
}

int GetSymbolInstanceInfoBox(const std::uint8_t* symbolInstanceInfo, pl3::Box* box) {
  Tower* definition = GetInfoSymbolDef(symbolInstanceInfo);
  if (!definition) {
    ShowMessage(FrameWindow, "Unable to retrieve Symbol Def", "GetSymbolInstanceInfoBox");
    return 0;
  }
  const int found = GetItemBox(definition, box);
  ReleaseTower(&definition);
  return found;
}

int GetShapeInstanceBox(const Tower* shape, pl3::Box* box) {
  Tower* definition = GetShapeDefinitionTower(shape);
  if (!definition) return 0;
  pl3::Box found = *box;
  const int ok = GetItemBox(definition, &found);
  ReleaseTower(&definition);
  if (!ok) return 0;
  if (const std::uint8_t* placed = ChildPayloadOfAtLeast(shape, Type_Transform, sizeof(pl3::Transform))) {
    pl3::Transform t;
    std::memcpy(&t, placed, sizeof t);
    GetRectangleBox(&found, &t);
  }
  *box = found;
  return 1;
}

int GetSymbolPinBox(const Tower* pin, pl3::Box* box) {
  const std::uint8_t* origin = ChildPayloadOfAtLeast(pin, Type_Origin, 8);
  if (!origin) return 0;
  const std::int32_t x = ReadI32(origin, 0);
  const std::int32_t y = ReadI32(origin, 4);
  pl3::Box square{x - kPinHalfSquare, y - kPinHalfSquare, x + kPinHalfSquare, y + kPinHalfSquare};
  Tower* label = GetChildTower(pin, 27);
  if (label && FindNextEntity(label)) {
    LastLevel(label).flags = kLevelLast | kLevelPositioned;
    pl3::Box labelBox{-1, -1, 0, 0};
    if (GetItemBox(label, &labelBox)) UnionBox(&square, labelBox);
  }
  ReleaseTower(&label);
  *box = square;
  return 1;
}

// ---- Walking ------------------------------------------------------------------

std::int32_t ProcessFoundSymbolInstanceInfo(std::uint8_t action, const Tower* info, const pl3::Transform* transform,
                                            void* argument) {
  Tower* definition = GetInfoSymbolDef(PayloadOfAtLeast(TowerEntity(info), 8));
  if (!definition) return 0;
  const std::uint32_t savedOptions = DisplayOptions;
  DisplayOptions |= kDisplayHideAttributes;
  const std::int32_t result = PerformTowerAction(transform, definition, argument, 0, action, 0);
  DisplayOptions = savedOptions;
  ReleaseTower(&definition);
  return result;
}
