// Bringing a pad definition into an editor as the selection: a placed pad
// stack (141 with its Pad-Stack Info) made under the cursor for a pad stack
// that has passed its check, selected and held on the cursor.
#include <cstdlib>
#include <cstring>

#include "edit/engine_seams.h"
#include "edit/object_select.h"
#include "edit/object_select_seams.h"
#include "edit/selection.h"
#include "edit/window_data.h"
#include "objects/design_walks.h"
#include "objects/editor_input.h"
#include "objects/editor_seams.h"
#include "objects/entity_copy.h"
#include "objects/item_helpers.h"
#include "objects/options_menu_seams.h"
#include "objects/pad_names.h"
#include "objects/payload_access.h"
#include "objects/placed_item_records.h"
#include "objects/selection_menus.h"
#include "objects/type_codes.h"
#include "platform/user.h"
#include "store/document_titles.h"
#include "store/tower.h"

namespace {

constexpr std::uint8_t kModeHeldItems = 45;
constexpr std::uint8_t kModeEdit = 56;
constexpr std::uint32_t kEditCursorCopy = 3;
constexpr std::int32_t kNoOriginOffset = 1005840000;
constexpr std::uint16_t kPadInfoFromEditor = 4;

// The pad stack the user chooses, loaded under the design and detached from
// its saved window data and size table; null when nothing was chosen.
Tower* ChoosePadStack(HWND window, const Tower* design) {
  StoreItemChoice* choice = ChooseAndOpenStoreItem(window, "padstack", 0, design);
  Tower* pad = choice && choice->document ? DuplicateTower(choice->document) : nullptr;
  FreeStoreItemChoice(choice);
  if (!pad) return nullptr;
  DeleteChildEntities(pad, Type_DontReloadGroup);
  FreezeTowerSizes(pad);
  return pad;
}

// A placed pad stack of the definition under the parent; null when it could not be stored.
Tower* PlacePadStack(const Tower* parent, const Tower* definition, std::uint16_t word, pl3::Point offset) {
  Tower* placed = InsertEmptyEntity(parent, Type_PadStackInstanceHier);
  if (!placed) return nullptr;
  PadStackInfoRecord info{};
  info.flags = word;
  info.xref = NextXrefNumber(ActiveWindowData->design);
  info.definition = NodeRefOf(TowerEntity(definition));
  info.transform = pl3::kIdentityTransform;
  info.transform.tx = offset.x;
  info.transform.ty = offset.y;
  Tower* stored = InsertEntity(placed, sizeof info, Type_PadStackInfo, &info);
  ReleaseTower(&stored);
  return placed;
}

// Selects the placed pad stack; it is taken out again when that fails.
bool SelectPlaced(HWND window, Tower** placed) {
  if (SelectObject(*placed, 0)) {
    UpdateAfterSelectionChange(window, nullptr, 1);
    return true;
  }
  DeleteEntity(*placed);
  ReleaseTower(placed);
  return false;
}

void SetMenusForFirstPrimary(const CurrentWindowData* w) {
  SelectionInfo* first = GetFirstPrimarySelection(w->SelectionList);
  const Tower* item = first ? (first->workingCopy ? first->workingCopy : first->original) : nullptr;
  SetSelectionAndOptionsMenus(GetSelectionMenuKind(item ? TowerEntity(item)->typeCode : 0, item));
}

}  // namespace

int LoadAndInsertPadDefinition(HWND window, const Tower* padStack) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !w->design) return 0;
  ClearSelectionArray(window);
  Tower* chosen = padStack ? nullptr : ChoosePadStack(window, w->design);
  const Tower* pad = padStack ? padStack : chosen;
  if (!pad) return 0;
  if (!IsItemComplete(pad)) {
    MessageBox(nullptr, "Pad has not passed the Pad Stack DRC. Unable to continue with load",
               "Load And Insert Pad Definition", MB_OK | MB_ICONEXCLAMATION);
    // A pad stack loaded for this insertion goes again; one given stays.
    if (chosen) DeleteEntity(chosen);
    ReleaseTower(&chosen);
    return 0;
  }
  pl3::Point offset = w->Cursor;
  pl3::Point origin{kNoOriginOffset, kNoOriginOffset};
  if (const std::uint8_t* o = ChildPayloadOfAtLeast(pad, Type_Origin, sizeof origin)) std::memcpy(&origin, o, sizeof origin);
  offset.x = static_cast<std::int32_t>(static_cast<std::uint32_t>(offset.x) - static_cast<std::uint32_t>(origin.x));
  offset.y = static_cast<std::int32_t>(static_cast<std::uint32_t>(offset.y) - static_cast<std::uint32_t>(origin.y));
  w->InsertionTransform = pl3::kIdentityTransform;
  Tower* placed = PlacePadStack(w->design, pad, 0, offset);
  ReleaseTower(&chosen);
  if (!placed) return 0;
  w->CurrentLayer = w->TopLayer;
  if (!SelectPlaced(window, &placed)) return 0;
  if (!IsNonElectricalSymbol(w->design) && AutomaticPadNamingOn()) AssignNextPinName(placed);
  ReleaseTower(&placed);
  DeleteSelectionOriginals();
  GhostSelectionAndMode(window, nullptr);
  w->EditMode = kModeHeldItems;
  SetMenusForFirstPrimary(w);
  return 1;
}

int LoadPadDefinitionForEditor(HWND window, const Tower* parent) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !w->design || !TowerEntity(parent)) return 0;
  ClearSelectionArray(window);
  Tower* pad = ChoosePadStack(window, w->design);
  if (!pad) return 0;
  Tower* placed = PlacePadStack(parent, pad, kPadInfoFromEditor, {0, 0});
  ReleaseTower(&pad);
  if (!placed) return 0;
  w->CurrentLayer = w->TopLayer;
  const bool selected = SelectPlaced(window, &placed);
  ReleaseTower(&placed);
  if (!selected) return 0;
  DeleteSelectionOriginals();
  GhostSelectionAndMode(window, nullptr);
  SetMenusForFirstPrimary(w);
  return 1;
}

void BeginPadInsertionTool() {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  if (w->EditMode == 0) {
    w->EditMode = kModeEdit;
    SetEditCursor(kEditCursorCopy);
    return;
  }
  EditAtCursor(static_cast<HWND>(w->Window), &w->Button);
}
