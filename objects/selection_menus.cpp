#include "objects/selection_menus.h"

#include "edit/window_data.h"
#include "objects/design_helpers.h"
#include "objects/editor_input.h"
#include "objects/editor_seams.h"
#include "objects/locator_dispatch.h"
#include "objects/payload_access.h"
#include "objects/symbol_instances.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "store/seams.h"
#include "store/tower.h"

namespace {

constexpr std::uint16_t kSchematicSymbolCode = 30;
constexpr std::uint16_t kPl2SymbolCode = 163;  // an earlier-generation symbol
constexpr std::uint32_t kOtherSideText = 0x80;  // view flag bit 7

// The kind of an item that has none of its own: 0 without a selection, else
// the mixed-selection kind in a PCB window and 10 in the others.
std::uint32_t SelectionDefaultKind() {
  const CurrentWindowData* w = ActiveWindowData;
  if (!w || !w->SelectionList) return 0;
  return w->editorKind == kEditorPcb ? kMixedSelectionMenuKind : 10;
}

bool DirectlyInsidePl2Symbol(const Tower* item) {
  return item && item->lastLevel > 0 && item->levels[item->lastLevel - 1].typeCode == kPl2SymbolCode;
}

std::uint32_t AttributeLocatorKind(const Tower* item) {
  if (!item) return 0;
  const std::uint8_t* payload = PayloadOfAtLeast(TowerEntity(item), offsetof(LocatorPayload, kind) + 2);
  return LocatorMenuKind(payload ? ReadU16(payload, offsetof(LocatorPayload, kind)) : 0xFFFF);
}

// The kind of a single primary selection in Edit Selection; -1 for a type
// that leaves the menus as they are.
std::int64_t SingleSelectionKind(std::uint16_t type, const Tower* item) {
  switch (type) {
    case 1: case 10: case 37: case 39: case 46: case 47: return 1;
    case 2: case 38: return 2;
    case 3: return 3;
    case 4: case 8: case 9: case 41: case 42: case 43: case 44: case 45: case 49: return 4;
    case 5: return DirectlyInsidePl2Symbol(item) ? 41 : 9;
    case 6: return 5;
    case 7: return 6;
    case 18: return 17;
    case 19: return 18;
    case 21: return 20;
    case 22: return 19;
    case 28: return 35;
    case 29: return 36;
    case kSchematicSymbolCode:
      return IsSpecialFunctionSymbol(item) || IsNetNameGraphicSymbol(item) ? 34 : 12;
    case 34: return 37;
    case Type_SymbolInstance: return 12;
    case Type_PadStackInstanceHier: return 11;
    case kPl2SymbolCode: return 40;
    default: return -1;
  }
}

// Edit Selection: the kind follows the selection.
void UpdateEditSelectionMenus(const CurrentWindowData& w) {
  const SelectionInfo* first = nullptr;
  int primaries = 0;
  for (const SelectionInfo* s = w.SelectionList; s; s = s->next) {
    if (!(s->flags & kSelectionPrimary)) continue;
    if (!first) first = s;
    ++primaries;
  }
  if (!first) return;
  const Tower* item = SelectionItem(*first);
  if (primaries == 1) {
    const std::int64_t kind = SingleSelectionKind(ItemTypeCode(item), item);
    if (kind >= 0) SetSelectionAndOptionsMenus(static_cast<std::uint32_t>(kind));
    return;
  }
  SetSelectionAndOptionsMenus(SelectionIsPadStacksOnly(w.SelectionList)
                                  ? GetSelectionMenuKind(ItemTypeCode(item), item)
                                  : kMixedSelectionMenuKind);
}

// The kind of an edit mode other than Edit Selection; -1 for none.
std::int64_t ModeKind(std::uint8_t mode) {
  switch (mode) {
    case 1: case 104: return 1;                         // adding or continuing a track
    case 2: case 3: case 8: case 107: case 108: return 2;  // arcs
    case 11: case 22: return 3;                         // circles
    case 13: case 14: return 4;                         // polygons
    case 15: case 38: return 5;                         // rectangles
    case 18: case 20: return 6;                         // vias and holes
    case 24: case 25: return 16;                        // new and edit symbol
    case 26: case 27: return 14;                        // new and place shape
    case 28: case 29: return 9;                         // add and edit string
    case 33: return 13;                                 // place designator
    case 45: return 11;
    case 59: case 60: case 61: return 17;
    case 64: case 65: case 66: case 67: return 18;
    case 68: return 35;
    case 69: return 36;
    case 75: case 76: case 77: case 78: return 19;
    case 79: case 80: case 81: case 82: return 20;
    case 86: return 37;
    case 110: return 42;                                // placing an attribute copy
    default: return -1;
  }
}

}  // namespace

std::uint32_t GetSelectionMenuKind(std::uint16_t type, const Tower* item) {
  switch (type) {
    case 1: case 10: case 11: case 35: case 37: case 39: case 46: case 47: return 1;
    case 2: case 38: return 2;
    case 3: return 3;
    case 4: return 4;
    case 5: return DirectlyInsidePl2Symbol(item) ? 41 : 9;
    case 6: return 5;
    case 7: return 6;
    case 8: return 7;
    case 9: return 8;
    case 18: return 17;
    case 19: return 18;
    case 20: return AttributeLocatorKind(item);
    case 21: return 20;
    case 22: return 19;
    case 23: return 31;
    case 24: return 32;
    case 28: return 35;
    case 29: return 36;
    case kSchematicSymbolCode: return 12;
    case 34: return 37;
    case 41: case 42: case 43: case 49: return 43;
    case 44: return 45;
    case 45: return 44;
    case Type_SymbolInstance: return GetInstanceDefinitionFlag(item) & 1 ? 15 : 12;
    case Type_ShapeDefinition: return 14;
    case Type_Designator: return 9;
    case Type_PadStackInstanceHier: return 11;
    case kPl2SymbolCode: return 40;
    default: return SelectionDefaultKind();
  }
}

void UpdateSelectionMenuForMode() {
  const CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  if (w->EditMode == 39 || w->EditMode == 40) {  // Edit Selection
    UpdateEditSelectionMenus(*w);
    return;
  }
  const std::int64_t kind = ModeKind(w->EditMode);
  if (kind >= 0) SetSelectionAndOptionsMenus(static_cast<std::uint32_t>(kind));
}

void SetInsertionType(std::uint16_t type) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  w->InsertionTypeCode = type;
  SetSelectionAndOptionsMenus(GetSelectionMenuKind(type, nullptr));
  SetEditCursor(0);
  w->ClickState = 0;
  w->ViewFlags &= ~kOtherSideText;
  UpdateStatusBar(w->Window);
}
