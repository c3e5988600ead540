// Set Size (key W): the size chooser for the item in hand or the selection;
// in a schematic with nothing to size it starts a wire instead.
#include "edit/selection_actions.h"

#include <cstring>

#include "draw/ghost_seams.h"
#include "edit/engine_seams.h"
#include "edit/key_command_seams.h"
#include "edit/payload_sizes.h"
#include "edit/window_data.h"
#include "objects/editor_input.h"
#include "objects/editor_modes.h"
#include "objects/graphic_records.h"
#include "objects/payload_access.h"
#include "objects/selection_seams.h"
#include "objects/size_table.h"
#include "objects/text_item_services.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "platform/user.h"
#include "store/tower.h"
#include "ui/size_dialogs.h"

namespace {

bool SizeKindWindow(std::uint32_t kind) {
  return kind == kEditorPcb || kind == kEditorShape || kind == kEditorPcbSymbol || kind == kEditorSchematicSymbol ||
         kind == kEditorSchematic;
}

// The single primary selection's type, or 0 when there is not exactly one.
std::uint16_t SingleSelectedType(const SelectionInfo* list) {
  const SelectionInfo* one = nullptr;
  for (const SelectionInfo* s = list; s; s = s->next) {
    if (!(s->flags & kSelectionPrimary)) continue;
    if (one) return 0;
    one = s;
  }
  return one ? ItemTypeCode(SelectionItem(*one)) : 0;
}

bool IsOutline(const EntityRecord& r) {
  return (r.header.recordType == Type_Track && (r.header.state & kStateBoardOutline)) ||
         (r.header.recordType == Type_Arc && (r.header.state & kStateOutlineArc));
}

// The list a working record's size is chosen from, or kNoSizeKind.
std::uint32_t PlacedSizeKind(const EntityRecord& r) {
  if (IsOutline(r)) return kNoSizeKind;
  const std::uint16_t type = r.header.recordType;
  switch (type) {
    case Type_Track: case Type_Arc: case Type_Circle: case Type_Rectangle: case Type_ThermalBreak:
    case Type_RoutedLine: case Type_Spiral: case Type_Wire: case Type_Bus: case Type_LinkedCut:
    case Type_StarEarthTrack: case Type_PlatedSlot: case Type_NonPlatedSlot:
      return GetTypeSizeKind(type);
    case Type_Text: case Type_AttributeLocator:
      return SizeKind_Fonts;
    case Type_Hole:
      return (r.payload[offsetof(pl3::HoleLayout, flags)] & kHoleIsVia) ? SizeKind_Vias : SizeKind_Holes;
    default:
      return kNoSizeKind;
  }
}

// Runs the chooser for the item being placed; on OK its size is the chosen
// index. False when the item has no size of its own.
bool ChoosePlacedSize(HWND view, EntityRecord& r) {
  const std::uint32_t kind = PlacedSizeKind(r);
  if (kind == kNoSizeKind) return false;
  GraphicHead& head = r.head();
  std::uint32_t index = head.sizeIndex;
  GhostCurrentMode(view);
  if (ShowSelectSizeDialog(view, kind, &index)) {
    head.sizeIndex = index;
    head.sizeFlags = static_cast<std::uint16_t>((head.sizeFlags | kSizeByIndex) & ~kSizeCustom);
    if (r.header.recordType == Type_Text) SetStringBox(&r.as<TextPayload>());
  }
  GhostCurrentMode(view);
  return true;
}

// The head of the designator or attribute locator being placed: the
// pending record, or the temporary item the placing mode made.
GraphicHead* PlacedLocatorHead(CurrentWindowData& w) {
  if (w.PendingRecord) return &w.PendingRecord->head();
  Entity* e = TowerEntity(w.TemporaryEntity);
  if (!e || e->payloadSize < sizeof(GraphicHead)) return nullptr;
  return static_cast<GraphicHead*>(static_cast<void*>(EntityPayload(e)));
}

// The locator's text size from the fonts list, preset with its index, or
// with the list's default when its size is its own.
void ChooseLocatorSize(HWND view, CurrentWindowData& w) {
  GraphicHead* head = PlacedLocatorHead(w);
  if (!head) return;
  std::uint32_t index = head->sizeIndex;
  if (!(head->sizeFlags & kSizeByIndex)) index = w.sizeTable ? (*w.sizeTable)[SizeKind_Fonts].defaultIndex : 0;
  GhostCurrentMode(view);
  if (ShowSelectSizeDialog(view, SizeKind_Fonts, &index)) {
    head->sizeIndex = index;
    head->sizeFlags = static_cast<std::uint16_t>((head->sizeFlags | kSizeByIndex) & ~kSizeCustom);
  }
  GhostCurrentMode(view);
}

// The label size of the dimensioner whose text is being placed.
void ChooseDimensionerTextSize(HWND view, EntityRecord* pending) {
  if (!pending) return;
  auto& d = pending->as<DimensionerPayload>();
  std::uint32_t index = d.textSizeIndex;
  GhostCurrentMode(view);
  if (ShowSelectSizeDialog(view, SizeKind_Fonts, &index)) {
    d.textSizeIndex = index;
    d.flags |= kDimensionerTextByIndex;
  }
  GhostCurrentMode(view);
}

void SizeSelection(HWND view, CurrentWindowData& w) {
  if (!ValidateSelectionForAction(kSelectionSetSize, 0)) return;
  HDC dc = GetDC(view);
  GhostSelectionArray(dc, w.SelectionList);
  ReleaseDC(view, dc);
  PerformSelectionArrayAction(kSelectionSetSize, 0);
  dc = GetDC(view);
  GhostSelectionArray(dc, w.SelectionList);
  ReleaseDC(view, dc);
}

}  // namespace

void SetCurrentItemSize(HWND view, void*, CurrentWindowData* windowData) {
  CurrentWindowData* w = windowData ? windowData : ActiveWindowData;
  if (!w) return;
  EntityRecord* pending = w->PendingRecord;
  if (w->editorKind == kEditorPadStack) {
    const bool hole = pending && pending->header.recordType == Type_Hole;
    const std::uint16_t single = SingleSelectedType(w->SelectionList);
    if (!hole && single != Type_Hole && single != Type_Dimensioner) return;
  } else if (!SizeKindWindow(w->editorKind)) {
    return;
  }
  const std::uint8_t mode = w->EditMode;
  if (mode == Mode_PlaceDesignator || mode == Mode_PlaceAttributeLocator) {
    ChooseLocatorSize(view, *w);
    return;
  }
  if (mode == Mode_AddNewDimensionerText || mode == Mode_AddNewAngleDimensionerText) {
    ChooseDimensionerTextSize(view, pending);
    return;
  }
  if (mode == Mode_EditSelection || mode == Mode_AddNewPad) {
    SizeSelection(view, *w);
    return;
  }
  if (pending && mode != 0 && ChoosePlacedSize(view, *pending)) return;
  if (w->editorKind != kEditorSchematic) return;
  CancelCurrentOperation(view, w);
  SetWireTool();
  BeginInsertWire(view, &w->PendingRecord, &w->Button);
}
