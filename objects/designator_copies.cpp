// Displayed copies of designators (234) and of attributes (309): adding,
// measuring, drawing, ghosting and dragging them, and the justification step
// of the text in hand.
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "edit/window_data.h"
#include "geometry/transform.h"
#include "objects/design_helpers.h"
#include "objects/designators.h"
#include "objects/graphic_records.h"
#include "objects/item_helpers.h"
#include "objects/pad_names.h"
#include "objects/payload_access.h"
#include "objects/size_table.h"
#include "objects/symbol_instances.h"
#include "objects/text_item_services.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "platform/gdi.h"
#include "platform/reset_hooks.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/tower.h"

std::int8_t CurrentTextExplicitSize = 16;
std::uint32_t CurrentFontSizeIndex = 0;
char DefaultDesignatorText[32] = "DES";

namespace {

void ResetCopySettings() {
  CurrentTextExplicitSize = 16;
  CurrentFontSizeIndex = 0;
  std::strcpy(DefaultDesignatorText, "DES");
}
const bool g_resetRegistered = pl3::RegisterGlobalReset(&ResetCopySettings);

constexpr std::uint32_t kSymbolOnOtherSide = 0x2;  // SymbolInstanceInfo flags
constexpr std::uint32_t kStringBoxOffset = 56;       // of a text item

// The two kinds of displayed copy: a designator's and an attribute's.
enum class CopyKind { Designator, Attribute };

bool InPcbEditor() { return ActiveWindowData && ActiveWindowData->editorKind == kEditorPcb; }

// What a copy needs to be measured or drawn. The text points into the store.
struct CopyParts {
  DesignatorInfo info{};
  bool hasInfo = false;
  pl3::Transform own = pl3::kIdentityTransform;
  bool hasTransform = false;
  const char* text = nullptr;
};

const char* CopyText(const Tower* copy, CopyKind kind) {
  if (kind == CopyKind::Designator) return GetDesignatorString(copy);
  Tower* group = GetEnclosingTower(copy, kTypeAttributeGroup);
  const char* text = group ? GetNewestChildText(group, InPcbEditor() ? kTypeAttributeValue : kTypeAttributeName) : nullptr;
  ReleaseTower(&group);
  return text;
}

std::uint16_t InfoCode(CopyKind kind) {
  return kind == CopyKind::Designator ? static_cast<std::uint16_t>(Type_DesignatorInfo) : kTypeAttributeLocatorInfo;
}

CopyParts ReadCopy(const Tower* copy, CopyKind kind) {
  CopyParts parts;
  if (const std::uint8_t* info = ChildPayloadOfAtLeast(copy, InfoCode(kind), sizeof(DesignatorInfo))) {
    std::memcpy(&parts.info, info, sizeof parts.info);
    parts.hasInfo = true;
  }
  if (const std::uint8_t* t = ChildPayloadOfAtLeast(copy, Type_Transform, sizeof(pl3::Transform))) {
    std::memcpy(&parts.own, t, sizeof parts.own);
    parts.hasTransform = true;
  }
  parts.text = CopyText(copy, kind);
  return parts;
}

bool IsHidden(const CopyParts& parts) { return !parts.hasInfo || (parts.info.display & kDesignatorHidden); }

struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};
using TextItem = std::unique_ptr<TextPayload, FreeDeleter>;

// The copy's text as a laid-out text item under the transform.
TextItem BuildCopyText(const CopyParts& parts, const pl3::Transform& t) {
  const auto justification = static_cast<std::uint16_t>(parts.info.display & kDesignatorJustification);
  TextPayload* item =
      (parts.info.flags & kDesignatorSizeIndexed)
          ? CreateTextItem(parts.text, parts.info.sizeIndex, parts.info.layer, &t, justification, parts.info.font)
          : CreateTextItemEx(parts.text, parts.info.explicitSize, parts.info.layer, &t, justification, parts.info.font);
  if (item) SetStringBox(item);
  return TextItem(item);
}

// The copy's own transform composed with the parent.
pl3::Transform ComposedTransform(const CopyParts& parts, const pl3::Transform* parent) {
  pl3::Transform t = parts.own;
  pl3::ComposeTransform(&t, parent ? parent : &pl3::kIdentityTransform);
  return t;
}

pl3::Box* CopyBox(const Tower* copy, CopyKind kind, const pl3::Transform* parent, std::uint32_t extent[2]) {
  const CopyParts parts = ReadCopy(copy, kind);
  if (!parts.text || !parts.hasTransform || !parts.hasInfo) {
    if (kind == CopyKind::Designator) {
      MessageBox(nullptr, "Cannot calculate designator box", "Internal Error",
                 MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
    }
    return nullptr;
  }
  TextItem item = BuildCopyText(parts, ComposedTransform(parts, parent));
  if (!item) return nullptr;
  auto* box = static_cast<pl3::Box*>(std::malloc(sizeof(pl3::Box)));
  if (!box) return nullptr;
  std::memcpy(box, reinterpret_cast<const std::uint8_t*>(item.get()) + kStringBoxOffset, sizeof *box);
  const std::uint64_t size = GetTextExtent(item.get(), nullptr);
  if (extent) {
    extent[0] = static_cast<std::uint32_t>(size);
    extent[1] = static_cast<std::uint32_t>(size >> 32);
  }
  return box;
}

// Replaces the 200 and 246 records of every copy of the code under the group.
void UpdateCopyBoxes(const Tower* group, std::uint16_t copyCode, CopyKind kind) {
  Tower* copies = GetChildTower(group, copyCode);
  while (copies && FindNextEntity(copies)) {
    DeleteChildEntities(copies, Type_BoundingBox);
    DeleteChildEntities(copies, Type_Offset);
    std::uint32_t extent[2] = {0, 0};
    pl3::Box* box = CopyBox(copies, kind, &pl3::kIdentityTransform, extent);
    if (!box) continue;
    Tower* stored = InsertEntity(copies, sizeof(pl3::Box), Type_BoundingBox, box);
    ReleaseTower(&stored);
    stored = InsertEntity(copies, sizeof extent, Type_Offset, extent);
    ReleaseTower(&stored);
    std::free(box);
  }
  ReleaseTower(&copies);
}

// The Tower itself when it stands on the code, else its newest child of the code.
Tower* SelfOrNewestChild(const Tower* t, std::uint16_t code) {
  const Entity* e = t ? TowerEntity(t) : nullptr;
  if (!e) return nullptr;
  return e->typeCode == code ? DuplicateTower(t) : NewestChildTower(t, code);
}

std::int32_t ProcessCopy(const Tower* copy, CopyKind kind, const pl3::Transform* parent, std::uint8_t action) {
  const int mode = DesignatorTextMode(action);
  if (mode < 0) return 0;
  const CopyParts parts = ReadCopy(copy, kind);
  if (IsHidden(parts) || !parts.text) return 0;
  TextItem item = BuildCopyText(parts, ComposedTransform(parts, parent));
  if (!item) return 0;
  RenderTextEntity(nullptr, item.get(), static_cast<std::uint8_t>(mode), &pl3::kIdentityTransform);
  return 1;
}

bool HasPrimarySelection(const CurrentWindowData* w) {
  for (const SelectionInfo* s = w->SelectionList; s; s = s->next) {
    if (s->flags & 1) return true;
  }
  return false;
}

// The instance's placement, or the identity; *otherSide from its info flags.
pl3::Transform InstancePlacement(const Tower* instance, bool* otherSide) {
  pl3::Transform placement = pl3::kIdentityTransform;
  if (const std::uint8_t* p = ChildPayloadOfAtLeast(instance, Type_Transform, sizeof placement)) {
    std::memcpy(&placement, p, sizeof placement);
  }
  const std::uint8_t* info = ChildPayloadOfAtLeast(instance, Type_SymbolInstanceInfo, 4);
  *otherSide = info && (ReadU32(info, 0) & kSymbolOnOtherSide);
  return placement;
}

// The symbol's box grown by two pixels and a line from its centre to the
// text's origin, dashed in XOR.
void GhostSymbolLeader(HDC dc, const Tower* instance, const pl3::Transform& text) {
  pl3::Box box = pl3::kEmptyBox;
  if (GetItemBox(instance, &box)) GhostBoxWithLeader(dc, box, {text.tx, text.ty});
}

void GhostCopy(void* dc, const Tower* copy, CopyKind kind) {
  const CopyParts parts = ReadCopy(copy, kind);
  if (IsHidden(parts) || !parts.text) return;
  pl3::Transform t = parts.own;
  Tower* instance = InPcbEditor() ? GetEnclosingTower(copy, Type_SymbolInstance) : nullptr;
  if (instance) {
    bool otherSide = false;
    const pl3::Transform placement = InstancePlacement(instance, &otherSide);
    pl3::ComposeTransform(&t, &placement);
    if (otherSide) {
      ActiveWindowData->ViewFlags |= kViewDrawOtherSide;
    } else {
      ActiveWindowData->ViewFlags &= ~kViewDrawOtherSide;
    }
  }
  if (TextItem item = BuildCopyText(parts, t)) RenderTextEntity(dc, item.get(), 0, &pl3::kIdentityTransform);
  if (instance && !HasPrimarySelection(ActiveWindowData)) GhostSymbolLeader(static_cast<HDC>(dc), instance, t);
  ReleaseTower(&instance);
}

void DragCopy(void* window, const Tower* copy, OriginDrag* mouse, CopyKind kind) {
  if (!copy || !mouse) return;
  std::int32_t x = mouse->currentPoint.x - mouse->grabOffset.x;
  std::int32_t y = mouse->currentPoint.y - mouse->grabOffset.y;
  std::int32_t px = mouse->previousPoint.x - mouse->grabOffset.x;
  std::int32_t py = mouse->previousPoint.y - mouse->grabOffset.y;
  SnapXY(&x, &y, 0);
  SnapXY(&px, &py, 0);
  std::int32_t dx = x - px;
  std::int32_t dy = y - py;
  if (Tower* instance = InPcbEditor() ? GetEnclosingTower(copy, Type_SymbolInstance) : nullptr) {
    // The step on screen, taken back into the symbol's own frame.
    bool otherSide = false;
    const pl3::Transform placement = InstancePlacement(instance, &otherSide);
    const pl3::Transform inverse = {placement.a, placement.c, placement.b, placement.d, 0, 0};
    pl3::TransformVector(&inverse, dx, dy);
    if (otherSide) {
      dx = -dx;
      dy = -dy;
    }
    ReleaseTower(&instance);
  }
  HDC dc = GetDC(static_cast<HWND>(window));
  GhostCopy(dc, copy, kind);
  OffsetTransform(copy, dx, dy);
  mouse->previousPoint = mouse->currentPoint;
  GhostCopy(dc, copy, kind);
  if (dc) ReleaseDC(static_cast<HWND>(window), dc);
}

// The display word of a DesignatorInfo in hand: the temporary item's, which
// stands on the copy or on its info record.
std::uint8_t* TemporaryInfo(std::uint16_t infoCode) {
  Tower* info = SelfOrNewestChild(ActiveWindowData->TemporaryEntity, infoCode);
  std::uint8_t* p = info ? PayloadOfAtLeast(TowerEntity(info), sizeof(DesignatorInfo)) : nullptr;
  ReleaseTower(&info);
  return p;
}

std::int32_t CycleWord16(std::uint8_t* p, std::uint32_t offset, int axis) {
  if (!p) return 0;
  WriteU16(p, offset, static_cast<std::uint16_t>(CycleJustification(ReadU16(p, offset), axis)));
  return 1;
}

std::int32_t CycleWord32(std::uint8_t* p, std::uint32_t offset, int axis) {
  if (!p) return 0;
  WriteU32(p, offset, CycleJustification(ReadU32(p, offset), axis));
  return 1;
}

constexpr std::uint32_t kTextDisplayOffset = 72;          // of a Text payload
constexpr std::uint32_t kDimensionerDisplayOffset = 100;  // of a dimensioner payload (byte 128 of the record)

}  // namespace

Tower* AddDesignatorData(const Tower* symbol, const Tower* source, int useDefaultText) {
  if (!symbol || !TowerEntity(symbol)) return nullptr;
  std::string text;
  if (source) {
    if (const char* s = GetDesignatorString(source)) text = s;
  }
  Tower* group = NewestChildTower(symbol, Type_Designator);
  if (!group) {
    group = InsertEmptyEntity(symbol, Type_Designator);
  } else if (!source) {
    if (const char* s = GetDesignatorText(group)) text = s;
  }
  if (useDefaultText) text = DefaultDesignatorText;

  Tower* copy = InsertEmptyEntity(group, Type_DesignatorData);
  TowerEntity(copy)->flags |= kEntitySelected;
  Tower* current = NewestChildTower(group, Type_DesignatorString);
  if (Entity* e = TowerEntity(current)) e->flags |= kEntitySelected;
  ReleaseTower(&current);
  SetDesignatorText(group, text.c_str());
  ReleaseTower(&group);

  const std::uint8_t* sourceTransform =
      source ? ChildPayloadOfAtLeast(source, Type_Transform, sizeof(pl3::Transform)) : nullptr;
  pl3::Transform t = pl3::kIdentityTransform;
  if (sourceTransform) {
    std::memcpy(&t, sourceTransform, sizeof t);
  } else if (ActiveWindowData) {
    t.tx = ActiveWindowData->Cursor.x;
    t.ty = ActiveWindowData->Cursor.y;
  }
  Tower* stored = InsertEntity(copy, sizeof t, Type_Transform, &t);
  ReleaseTower(&stored);

  DesignatorInfo info{};
  const std::uint8_t* sourceInfo =
      source ? ChildPayloadOfAtLeast(source, Type_DesignatorInfo, sizeof(DesignatorInfo)) : nullptr;
  if (sourceInfo) {
    std::memcpy(&info, sourceInfo, sizeof info);
  } else {
    const SizeTable* sizes = ActiveWindowData ? ActiveWindowData->sizeTable : nullptr;
    const std::uint32_t fonts = sizes ? (*sizes)[SizeKind_Fonts].count() : 0;
    if (fonts && CurrentFontSizeIndex >= fonts) CurrentFontSizeIndex = fonts - 1;
    info.flags = kDesignatorSizeIndexed;
    info.display = static_cast<std::uint16_t>(DefaultJustification);
    info.sizeIndex = CurrentFontSizeIndex;
    info.layer = ActiveWindowData ? ActiveWindowData->TextLayer : 0;
    info.explicitSize = CurrentTextExplicitSize;
    info.font = 3;  // the built-in stroke font, as new texts take it
  }
  stored = InsertEntity(copy, sizeof info, Type_DesignatorInfo, &info);
  ReleaseTower(&stored);
  return copy;
}

pl3::Box* GetDesignatorBox(const Tower* copy, const pl3::Transform* parent, std::uint32_t extent[2]) {
  return CopyBox(copy, CopyKind::Designator, parent, extent);
}

pl3::Box* GetDesignatorTextBox(const Tower* copy, const pl3::Transform* parent, std::uint32_t extent[2]) {
  return CopyBox(copy, CopyKind::Attribute, parent, extent);
}

void UpdateDesignatorBoxes(const Tower* t) {
  Tower* group = SelfOrNewestChild(t, Type_Designator);
  if (group) UpdateCopyBoxes(group, Type_DesignatorData, CopyKind::Designator);
  ReleaseTower(&group);
}

void UpdateAttributeLocatorBoxes(const Tower* t) {
  Tower* group = SelfOrNewestChild(t, kTypeAttributeGroup);
  if (group) UpdateCopyBoxes(group, kTypeAttributeLocatorGroup, CopyKind::Attribute);
  ReleaseTower(&group);
}

std::int32_t DesignatorTextMode(std::uint8_t action) {
  switch (action) {
    case 1:
    case 8: return -1;
    case 10: return 3;
    case 17: return 4;
    case 32: return 6;
    case 33: return 7;
    case 37: return 9;
    default: return 1;
  }
}

std::int32_t ProcessDesignatorData(const Tower* copy, const pl3::Transform* parent, std::uint8_t action) {
  return ProcessCopy(copy, CopyKind::Designator, parent, action);
}

std::int32_t ProcessAttributeLocatorData(const Tower* copy, const pl3::Transform* parent, std::uint8_t action) {
  return ProcessCopy(copy, CopyKind::Attribute, parent, action);
}

void GhostDesignator(void* dc, const Tower* copy) { GhostCopy(dc, copy, CopyKind::Designator); }
void GhostAttributeLocator(void* dc, const Tower* copy) { GhostCopy(dc, copy, CopyKind::Attribute); }

void DragDesignator(void* window, const Tower* copy, OriginDrag* mouse) {
  DragCopy(window, copy, mouse, CopyKind::Designator);
}
void DragAttributeLocator(void* window, const Tower* copy, OriginDrag* mouse) {
  DragCopy(window, copy, mouse, CopyKind::Attribute);
}

std::int32_t CycleEditedTextJustification(int vertical) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return 0;
  const int axis = vertical ? 1 : 0;
  auto* record = w->PendingRecord ? w->PendingRecord->payload : nullptr;
  switch (w->EditMode) {
    case 28:
    case 29: return CycleWord32(record, kTextDisplayOffset, axis);
    case 32:
    case 42: return CycleWord16(reinterpret_cast<std::uint8_t*>(w->PadLabelInHand), 0, axis);
    case 33: return CycleWord16(TemporaryInfo(Type_DesignatorInfo), 2, axis);
    case 39: {
      std::int32_t changed = 0;
      for (const SelectionInfo* s = w->SelectionList; s; s = s->next) {
        changed += static_cast<std::int32_t>(CycleTextJustification(s->workingCopy ? s->workingCopy : s->original, axis));
      }
      return changed;
    }
    case 78:
    case 82: return CycleWord32(record, kDimensionerDisplayOffset, axis);
    case 110: return CycleWord16(TemporaryInfo(kTypeAttributeLocatorInfo), 2, axis);
    default: return 0;
  }
}
