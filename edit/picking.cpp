#include "edit/picking.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "draw/display_paint.h"
#include "draw/item_search_seams.h"
#include "draw/raster_callbacks.h"
#include "edit/edit_modes.h"
#include "edit/key_command_seams.h"
#include "edit/pick_action_seams.h"
#include "edit/pick_hits.h"
#include "edit/picked_delete.h"
#include "edit/placing_seams.h"
#include "edit/selection_engine_seams.h"
#include "edit/selection_filter_dialog.h"
#include "edit/selection_services.h"
#include "edit/symbol_fixing.h"
#include "edit/window_data.h"
#include "geometry/raster_state.h"
#include "geometry/view_mapping.h"
#include "objects/designators.h"
#include "objects/dimensioner_seams.h"
#include "objects/editor_input.h"
#include "objects/graphic_records.h"
#include "objects/item_helper_seams.h"
#include "objects/payload_access.h"
#include "objects/symbol_instances.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "platform/menus.h"
#include "platform/reset_hooks.h"
#include "platform/user.h"
#include "store/tower.h"

HitEntry* CurrentHitList = nullptr;

namespace {

constexpr std::uint16_t kTypeSchematicSymbolHier = 30;
constexpr std::uint16_t kTypePl2Symbol = 163;
// The fixed state of planes, datums, placed and earlier-generation symbols:
// one bit of the node's flags for all of them.
constexpr std::uint16_t kItemFixed = kSymbolFixed;
constexpr std::uint16_t kLocatorPinNumber = 1, kLocatorPinName = 4;

// Whether the last SelectHit changed the selection, for the pick that opened its menu.
int gLastHitSelected = 0;

void ResetHitList() {
  CurrentHitList = FreeHitList(CurrentHitList);
  gLastHitSelected = 0;
}
const bool gHitListReset = pl3::RegisterGlobalReset(&ResetHitList);

std::uint16_t CodeOf(const Tower* item) {
  const Entity* e = TowerEntity(item);
  return e ? e->typeCode : 0;
}

bool IsFixed(const Tower* item) {
  const Entity* e = TowerEntity(item);
  return e && (e->flags & kItemFixed);
}

std::uint16_t LocatorKind(const Tower* item) {
  const std::uint8_t* p = PayloadOfAtLeast(TowerEntity(item), offsetof(LocatorPayload, kind) + 2);
  if (!p) return 0;
  std::uint16_t kind = 0;
  std::memcpy(&kind, p + offsetof(LocatorPayload, kind), sizeof kind);
  return kind;
}

bool IsSchematicWindow(const CurrentWindowData& w) {
  return w.editorKind == kEditorSchematic || w.editorKind == kEditorSchematicSymbol;
}

bool IsPinLocator(const Tower* item) {
  if (CodeOf(item) != Type_AttributeLocator) return false;
  const std::uint16_t kind = LocatorKind(item);
  return kind == kLocatorPinNumber || kind == kLocatorPinName;
}

// The shown designator copy (234) of a placed symbol, or null when it has
// none or it is hidden.
Tower* ShownDesignator(const Tower* instance) {
  Tower* group = NewestChildTower(instance, Type_Designator);
  Tower* shown = NewestChildTower(group, Type_DesignatorData);
  ReleaseTower(&group);
  const auto* info = reinterpret_cast<const DesignatorInfo*>(
      ChildPayloadOfAtLeast(shown, Type_DesignatorInfo, sizeof(DesignatorInfo)));
  std::uint16_t display = kDesignatorHidden;
  if (info) std::memcpy(&display, &info->display, sizeof display);
  if (display & kDesignatorHidden) ReleaseTower(&shown);
  return shown;
}

// What a select pick offers for a hit: a new Tower (the hit itself, or what
// stands for it), or null when the hit is not offered.
Tower* OfferForSelect(const Tower* item) {
  const std::uint16_t code = CodeOf(item);
  if (IsPinLocator(item)) {
    if (Tower* symbol = GetAncestorTower(item, kTypeSchematicSymbolHier)) return symbol;
  }
  if ((code == Type_Plane || code == kTypePl2Symbol) && IsFixed(item)) return nullptr;
  if (code == Type_SymbolInstance && IsFixed(item))
    return PickDesignatorsOfFixedSymbols() ? ShownDesignator(item) : nullptr;
  return DuplicateTower(item);
}

Tower* OfferForEdit(const Tower* item) {
  switch (CodeOf(item)) {
    case Type_Datum: case Type_Centroid: case Type_SymbolPin: case kTypePl2Symbol:
      return nullptr;
    case Type_SymbolInstance:
      if (!(GetInstanceDefinitionFlag(item) & 1) && !IsManualPlacementState()) return nullptr;
      break;
    default:
      break;
  }
  return OfferForSelect(item);
}

Tower* OfferNetLocator(const Tower* item) {
  if (CodeOf(item) != Type_AttributeLocator) return nullptr;
  const std::uint16_t kind = LocatorKind(item);
  return kind == 3 || kind == 13 || kind == 15 ? DuplicateTower(item) : nullptr;
}

// Keeps each object once, in list order; a set and a tail pointer keep a
// rectangle of many hits linear.
HitEntry* Offered(HitEntry* list, Tower* (*offer)(const Tower*), int* count) {
  HitEntry* kept = nullptr;
  HitEntry** tail = &kept;
  std::unordered_set<const Entity*> seen;
  int n = 0;
  for (const HitEntry* h = list; h; h = h->next) {
    Tower* offered = offer(h->item);
    if (offered && seen.insert(TowerEntity(offered)).second) {
      *tail = new HitEntry{offered, nullptr};
      tail = &(*tail)->next;
      ++n;
      offered = nullptr;
    }
    ReleaseTower(&offered);
  }
  FreeHitList(list);
  if (count) *count = n;
  return kept;
}

HitEntry* OfferedFor(int purpose, HitEntry* list, int* count) {
  switch (purpose) {
    case kPickCopy: return CountEditableHits(list, count);
    case kPickCopyUp: case kPickCopyDown: return CountNetLocatorHits(list, count);
    default: return CountSelectableHits(list, count);
  }
}

std::uint32_t PurposeFlag(int purpose) {
  switch (purpose) {
    case kPickDelete: return kStatePickDelete;
    case kPickCopy: return kStatePickCopy;
    case kPickCopyUp: return kStatePickCopyUp;
    case kPickCopyDown: return kStatePickCopyDown;
    case kPickSelectAlso: return kStatePickSelect;
    default: return 0;
  }
}

// Acts on one object by purpose; 1 when a select changed the selection.
int ActOn(HWND window, const Tower* item, int purpose, int add) {
  switch (purpose) {
    case kPickDelete: DeletePickedObject(item); return 0;
    case kPickCopy: CopyPickedItem(window, item); return 0;
    case kPickCopyUp: CopyPickedItemStep(window, item, 1); return 0;
    case kPickCopyDown: CopyPickedItemStep(window, item, 0); return 0;
    default: return SelectObject(item, static_cast<std::uint8_t>(add));
  }
}

// The wider second search, when the click offered nothing: the nearest item
// within the aperture, which a delete pick leaves alone.
int ActOnNearest(HWND window, const CurrentWindowData& w, pl3::Point world, int purpose) {
  if (purpose == kPickDelete) return 0;
  Tower* item = FindItemsNearPoint(world.x, world.y, 1, 1);
  if (!item) return 0;
  const std::uint16_t code = CodeOf(item);
  int result = 0;
  const bool select = purpose != kPickCopy && purpose != kPickCopyUp && purpose != kPickCopyDown;
  const bool refused = (IsFixed(item) && code != Type_Datum) || (IsSchematicWindow(w) && IsPinLocator(item));
  if (!select || !refused) result = ActOn(window, item, purpose, 0);
  ReleaseTower(&item);
  return result;
}

pl3::Box PixelSquare(std::int32_t x, std::int32_t y) {
  return {x - kPickHalfSide, y - kPickHalfSide, x + kPickHalfSide, y + kPickHalfSide};
}

// The objects drawn into the pixel area: the area pick of the raster kernel
// over a PCB window's display list, or over the box search of the design.
HitEntry* CollectHitsInArea(const pl3::Box& area, std::uint32_t searchMode) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !w->design) return nullptr;
  UpdateViewGlobals();
  pl3::Box world = area;
  pl3::ViewBoxToWorld(&world);
  pl3::RasterState& kernel = pl3::g_raster;
  const std::uint8_t savedTarget = kernel.spanTarget;
  pl3::BeginAreaPick(area);
  kernel.spanTarget = pl3::kTargetAreaPick;
  if (w->editorKind == kEditorPcb && w->Display)
    PaintDisplayList(&world, static_cast<DisplayList*>(w->Display));
  else
    FindItemsInBox(&world, w->design, &w->PlacementTransform, searchMode);
  kernel.spanTarget = savedTarget;
  // The pick list is newest first: putting each in front turns it back into drawing order.
  HitEntry* hits = nullptr;
  for (const pl3::PickListNode* n = pl3::PickList(); n; n = n->next) hits = new HitEntry{DuplicateTower(n->entity), hits};
  pl3::FreePickList();
  return hits;
}

pl3::Point ClientToWorld(std::int32_t x, std::int32_t y) {
  UpdateViewGlobals();
  pl3::Box box{x, y, x, y};
  pl3::ViewBoxToWorld(&box);
  return {box.xmin, box.ymin};
}

void ShowChoiceMenu(HWND window) {
  HMENU menu = BuildPickChoiceMenu(CurrentHitList);
  if (!menu) return;
  POINT at{};
  GetCursorPos(&at);
  const auto chosen = static_cast<UINT>(TrackOwnerDrawnPopupMenu(menu, TPM_RETURNCMD, at.x, at.y, window));
  DestroyOwnerDrawnMenu(menu);
  if (chosen >= kPickChoiceFirstId) SelectHitByIndex(window, static_cast<int>(chosen - kPickChoiceFirstId));
}

}  // namespace

HitEntry* CollectHitsAt(std::int32_t clientX, std::int32_t clientY) {
  return CollectHitsInArea(PixelSquare(clientX, clientY), 1);
}

HitEntry* CountSelectableHits(HitEntry* list, int* count) { return Offered(list, &OfferForSelect, count); }
HitEntry* CountEditableHits(HitEntry* list, int* count) { return Offered(list, &OfferForEdit, count); }
HitEntry* CountNetLocatorHits(HitEntry* list, int* count) { return Offered(list, &OfferNetLocator, count); }

void ShowPickChoiceMenu(HWND window) { ShowChoiceMenu(window); }
void ShowEditChoiceMenu(HWND window) { ShowChoiceMenu(window); }
void ShowNetLocatorChoiceMenu(HWND window) { ShowChoiceMenu(window); }

int PickObjectAtCursor(HWND window, ButtonRecord* button, int purpose) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !w->design) return 0;
  const pl3::Point pixel = button ? button->MousePixel : w->MousePixel;
  HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  const pl3::Point world = ClientToWorld(pixel.x, pixel.y);
  CurrentHitList = FreeHitList(CurrentHitList);
  ClearFoundFlags(w->design);
  int count = 0;
  CurrentHitList = OfferedFor(purpose, CollectHitsAt(pixel.x, pixel.y), &count);
  const bool plainSelect = purpose == kPickSelect || purpose == kPickSelectAlso;
  if (plainSelect && count > 1) {
    CurrentHitList = RemoveDuplicateHits(CurrentHitList);
    count = CountHits(CurrentHitList);
  }
  int result = 0;
  if (count > 1) {
    gLastHitSelected = 0;
    w->StateFlags = (w->StateFlags & ~kStatePickPurposes) | PurposeFlag(purpose);
    switch (purpose) {
      case kPickCopy: ShowEditChoiceMenu(window); break;
      case kPickCopyUp: case kPickCopyDown: ShowNetLocatorChoiceMenu(window); break;
      default: ShowPickChoiceMenu(window); break;
    }
    if (ActiveWindowData) ActiveWindowData->StateFlags &= ~kStatePickPurposes;
    result = gLastHitSelected;
  } else if (count == 1) {
    result = ActOn(window, CurrentHitList->item, purpose, 0);
  } else {
    result = ActOnNearest(window, *w, world, purpose);
  }
  CurrentHitList = FreeHitList(CurrentHitList);
  SetCursor(previous);
  RedrawView(window);
  return result;
}

void SelectHit(HWND window, const Tower* item) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !item) return;
  const std::uint32_t flags = w->StateFlags;
  w->StateFlags &= ~kStatePickPurposes;
  gLastHitSelected = 0;
  if (flags & kStatePickDelete) {
    DeletePickedObject(item);
  } else if (flags & kStatePickCopy) {
    CopyPickedItem(window, item);
  } else if (flags & (kStatePickCopyUp | kStatePickCopyDown)) {
    CopyPickedItemStep(window, item, (flags & kStatePickCopyUp) ? 1 : 0);
  } else if (SelectObject(item, w->SelectionList ? 1 : 0)) {
    gLastHitSelected = 1;
    UpdateAfterSelectionChange(window, nullptr, 0);
  }
  RedrawView(window);
}

void SelectHitByIndex(HWND window, int index) {
  const Tower* chosen = index >= 0 ? HitAt(CurrentHitList, index) : nullptr;
  if (!chosen) return;
  // The hit list goes after the action; the chosen Tower with it.
  Tower* item = DuplicateTower(chosen);
  SelectHit(window, item);
  ReleaseTower(&item);
  CurrentHitList = FreeHitList(CurrentHitList);
}

namespace {

// A text drawn inside an earlier-generation symbol stands for the symbol.
Tower* OfferForRectangle(const Tower* item) {
  if (CodeOf(item) == Type_Text) {
    if (Tower* symbol = GetAncestorTower(item, kTypePl2Symbol)) return symbol;
  }
  return DuplicateTower(item);
}

bool IsFixedKind(std::uint16_t code) {
  return code == Type_Plane || code == Type_Datum || code == Type_SymbolInstance || code == kTypePl2Symbol;
}

// Whether a rectangle selection of `count` hits takes the item.
bool TakenByRectangle(const CurrentWindowData& w, const Tower* item, int count) {
  const std::uint16_t code = CodeOf(item);
  if (IsFixedKind(code) && IsFixed(item)) return false;
  if (IsSchematicWindow(w) && IsPinLocator(item)) return false;
  if (count > 1 && (code == Type_Label || code == Type_DesignatorData || code == Type_InfoBoxHier)) return false;
  return true;
}

}  // namespace

int SelectItemsInRectangle(const RECT* rectangle) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !w->design || !rectangle) return 0;
  const bool filtered = w->editorKind == kEditorPcb && GetKeyState(VK_CONTROL) < 0;
  if (filtered && !ChooseItemsForSelection(static_cast<HWND>(w->Window))) {
    CurrentSelectionFilter = SelectionFilter{};
    return 0;
  }
  const pl3::Box area{std::min(rectangle->left, rectangle->right), std::min(rectangle->top, rectangle->bottom),
                      std::max(rectangle->left, rectangle->right), std::max(rectangle->top, rectangle->bottom)};
  int count = 0;
  HitEntry* hits = Offered(CollectHitsInArea(area, 1), &OfferForRectangle, &count);
  int selected = 0;
  for (const HitEntry* h = hits; h; h = h->next) {
    if (!TakenByRectangle(*w, h->item, count)) continue;
    if (filtered && count > 1 && !PassesSelectionFilter(CurrentSelectionFilter, h->item)) continue;
    if (SelectObject(h->item, 1)) selected = 1;
  }
  FreeHitList(hits);
  CurrentSelectionFilter = SelectionFilter{};
  UpdateMovingPoints();
  RefreshRatsnestLines();
  return selected;
}
