#include "objects/design_walks.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "edit/window_data.h"
#include "objects/net_ids.h"
#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "objects/walker.h"
#include "platform/reset_hooks.h"
#include "store/tower.h"

TowerListNode* TemporaryTowers = nullptr;
void* RubberBandList = nullptr;
void (*FreeRubberBandListHandler)(void* list) = nullptr;

namespace {

void ResetDesignWalkGlobals() {
  FreeTowerList(&TemporaryTowers);
  RubberBandList = nullptr;
  FreeRubberBandListHandler = nullptr;
}
const bool g_registered = pl3::RegisterGlobalReset(&ResetDesignWalkGlobals);

bool ClearBit0(std::uint8_t* flags) {
  if (!flags) return false;
  const std::uint16_t word = ReadU16(flags, 0);
  WriteU16(flags, 0, static_cast<std::uint16_t>(word & ~1u));
  return word & 1;
}

std::int32_t AttachedTo(Tower* item) {
  const std::uint32_t kind = ActiveWindowData ? ActiveWindowData->editorKind : 0;
  const WalkHandler handler = (kind == kEditorSchematicSymbol || kind == kEditorSchematic)
                                  ? WalkHandlers.addAttachedWiresToSelection
                                  : WalkHandlers.collectRubberbandEntity;
  if (!handler) return 0;
  std::int32_t result = 0;
  return handler(&pl3::kIdentityTransform, item, nullptr, 0, WalkAction_Rubberband, &result);
}

std::int32_t CollectAttachedOfCode(const Tower* design, std::uint16_t code) {
  std::int32_t count = 0;
  Tower* items = GetChildTower(design, code);
  while (items && FindNextEntity(items)) {
    if (!(TowerEntity(items)->flags & kEntitySelected)) count += AttachedTo(items);
  }
  ReleaseTower(&items);
  return count;
}

}  // namespace

void ClearHighlightFlags(const Tower* t) {
  Tower* children = GetAllChildrenTower(t);
  while (children && FindNextEntity(children)) {
    Entity* e = TowerEntity(children);
    e->flags &= static_cast<std::uint16_t>(~kEntityHighlighted);
    switch (e->typeCode) {
      case Type_PCB:
      case Type_SymbolInstance:
      case Type_ShapeDefinition:
      case Type_PadStackDefinition:
        ClearHighlightFlags(children);
        break;
      default:
        break;
    }
  }
  ReleaseTower(&children);
}

void ClearNetHighlight(const Tower* t) {
  DeleteChildEntities(t, Type_NetHighlightInfo);
  if (ActiveWindowData) ActiveWindowData->WalkFlags &= ~kWalkNetHighlight;
}

std::uint8_t* FindNetHighlightInfo(const Tower* entity) {
  if (!ActiveWindowData || !ActiveWindowData->design) return nullptr;
  const std::uint32_t first = GetEntityNetId(entity, 1);
  const std::uint32_t second = GetEntityNetId(entity, 2);
  Tower* infos = GetChildTower(ActiveWindowData->design, Type_NetHighlightInfo);
  std::uint8_t* found = nullptr;
  while (!found && infos && FindNextEntity(infos)) {
    std::uint8_t* p = PayloadOfAtLeast(TowerEntity(infos), 20);
    if (!p || ReadU32(p, 12) != first) continue;
    if ((p[0] & 1) && ReadU32(p, 16) != second) continue;
    found = p;
  }
  ReleaseTower(&infos);
  return found;
}

void ClearIndexedSizes(const Tower* t) {
  Tower* children = GetAllChildrenTower(t);
  while (children && FindNextEntity(children)) {
    Entity* e = TowerEntity(children);
    const std::uint16_t code = e->typeCode;
    if (code >= 1 && code <= 7) {
      ClearBit0(PayloadOfAtLeast(e, 4) ? EntityPayload(e) + 2 : nullptr);
    } else if (code == Type_AngleDimensioner || code == Type_Dimensioner) {
      ClearBit0(PayloadOfAtLeast(e, 92) ? EntityPayload(e) + 88 : nullptr);
    } else if (code == Type_DesignatorInfo || code == 310) {
      ClearBit0(PayloadOfAtLeast(e, 2));
    } else if (code == Type_ShapeDefinition || code == Type_PadStackDefinition || code == Type_Designator ||
               code == Type_DesignatorData || code == Type_NetConflicts || code == 309) {
      ClearIndexedSizes(children);
    } else {
      // Nothing of this code holds a size: leave the rest of its group.
      SkipToNextType(children);
    }
  }
  ReleaseTower(&children);
}

std::int32_t FreezeTowerSizes(const Tower* design) {
  ClearIndexedSizes(design);
  for (std::uint16_t& word : WalkTypeFlags) word = 1;
  WalkTypeFlags[Type_Hole] |= 2;
  const pl3::Transform base = ActiveWindowData ? ActiveWindowData->BaseTransform : pl3::kIdentityTransform;
  return PerformTowerAction(&base, design, nullptr, 0, WalkAction_ClearIndexedSize, 0);
}

Tower* CreateSubNetList(const Tower* t) {
  std::uint32_t n = 0;
  Tower* hiers = GetChildTower(t, Type_SubNetHier);
  while (hiers && FindNextEntity(hiers)) ++n;
  ReleaseTower(&hiers);
  const std::uint32_t size = 4 * n + 8;
  auto* words = static_cast<std::uint32_t*>(std::malloc(size));
  if (!words) return nullptr;
  words[0] = n;
  for (std::uint32_t k = 0; k <= n; ++k) words[k + 1] = k;
  Tower* list = InsertEntity(t, size, Type_SubNetList, words);
  std::free(words);
  return list;
}

void FreeTemporaryTowers() { FreeTowerList(&TemporaryTowers); }

std::int32_t CollectAttachedItems() {
  if (!RubberBandList) return 0;
  CurrentWindowData* w = ActiveWindowData;
  const std::uint32_t viewFlags = w ? w->ViewFlags : 0;
  std::int32_t count = 0;
  if (w && w->design) {
    count += CollectAttachedOfCode(w->design, Type_Hole);
    for (std::uint16_t code : {Type_Track, Type_Hole, Type_AttributeLocator, Type_Wire, Type_Bus,
                               Type_BoardOutlineLine}) {
      count += CollectAttachedOfCode(w->design, code);
    }
  }
  if (FreeRubberBandListHandler) FreeRubberBandListHandler(RubberBandList);
  RubberBandList = nullptr;
  if (w) w->ViewFlags = viewFlags;
  return count;
}

int CopyChildData(void* buffer, std::uint32_t size, const Tower* t, std::uint16_t code, std::uint32_t length) {
  Tower* child = GetChildTower(t, code);
  Entity* e = child ? FindNextEntity(child) : nullptr;
  ReleaseTower(&child);
  if (!e || !buffer || size == 0) return 0;
  const auto* source = reinterpret_cast<const char*>(EntityPayload(e));
  const std::uint32_t stored = e->payloadSize;
  auto* out = static_cast<char*>(buffer);
  if (length == 0) {
    // The text up to its NUL, cut to the buffer; the copy always ends with a NUL.
    std::uint32_t n = 0;
    while (n < stored && n + 1 < size && source[n]) ++n;
    std::memcpy(out, source, n);
    out[n] = '\0';
    return 1;
  }
  std::uint32_t n = length < size ? length : size;
  if (n > stored) n = stored;
  std::memcpy(out, source, n);
  return 1;
}
