#include "edit/pad_stack_update.h"

#include <vector>

#include "edit/engine_seams.h"
#include "edit/selection.h"
#include "edit/undo_history.h"
#include "edit/window_data.h"
#include "geometry/transform.h"
#include "objects/design_walks.h"
#include "objects/item_helpers.h"
#include "objects/payload_access.h"
#include "objects/symbol_instances.h"
#include "objects/placed_item_records.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "platform/reset_hooks.h"
#include "platform/user.h"
#include "store/document_titles.h"
#include "store/tower.h"

PadStackChooser ChoosePadStackItem = &ChooseAndOpenStoreItem;

namespace {

void ResetChooser() { ChoosePadStackItem = &ChooseAndOpenStoreItem; }
const bool g_registered = pl3::RegisterGlobalReset(&ResetChooser);

constexpr const char* kCaption = "Pelmora3";

pl3::Point OriginOf(const Tower* definition) {
  const std::uint8_t* o = ChildPayloadOfAtLeast(definition, Type_Origin, 8);
  return o ? pl3::Point{ReadI32(o, 0), ReadI32(o, 4)} : pl3::Point{0, 0};
}

// The pad-stack info (116) of a pad-stack instance, or null.
PadStackInfoRecord* InfoOf(const Tower* pad) {
  Entity* e = nullptr;
  Tower* info = pad ? NewestChildTower(pad, Type_PadStackInfo) : nullptr;
  if (info) e = TowerEntity(info);
  ReleaseTower(&info);
  if (!e || e->payloadSize < sizeof(PadStackInfoRecord)) return nullptr;
  return reinterpret_cast<PadStackInfoRecord*>(EntityPayload(e));
}

// Points the pad at the new definition; its translation moves by the change
// of origin turned by the pad's own transform, so the pad stays in place.
void Repoint(PadStackInfoRecord* info, std::uint32_t definition, pl3::Point shift) {
  pl3::Transform linear = info->transform;
  linear.tx = linear.ty = 0;
  pl3::TransformPoint(&linear, shift.x, shift.y);
  info->transform.tx -= shift.x;
  info->transform.ty -= shift.y;
  info->definition = definition;
}

// Every pad-stack instance of the design whose info names the definition.
std::vector<PadStackInfoRecord*> InstancesOf(const Tower* design, std::uint32_t definition) {
  std::vector<PadStackInfoRecord*> found;
  Tower* pads = GetChildTower(design, Type_PadStackInstanceHier);
  while (pads && FindNextEntity(pads)) {
    PadStackInfoRecord* info = InfoOf(pads);
    if (info && info->definition == definition) found.push_back(info);
  }
  ReleaseTower(&pads);
  return found;
}

}  // namespace

void UpdatePadStacks(HWND window, ButtonRecord*, EntityRecord**) {
  CurrentWindowData* w = ActiveWindowData;
  SelectionInfo* selected = w ? GetFirstPrimarySelection(w->SelectionList) : nullptr;
  const Tower* pad = selected ? selected->original : nullptr;
  const Entity* padEntity = pad ? TowerEntity(pad) : nullptr;
  PadStackInfoRecord* selectedInfo =
      padEntity && padEntity->typeCode == Type_PadStackInstanceHier ? InfoOf(pad) : nullptr;
  if (!selectedInfo) {
    MessageBeep(0);
    return;
  }
  const std::uint32_t oldRef = selectedInfo->definition;
  // The cancel frees the selection records: keep a Tower of our own.
  Tower* held = DuplicateTower(pad);
  CancelCurrentOperation(window, w);
  StoreItemChoice* choice = ChoosePadStackItem(window, "padstack", 1, w->design);
  if (!choice) {
    ReleaseTower(&held);
    return;
  }
  Tower* loaded = choice->document;
  const auto refuse = [&] {
    if (loaded) DeleteEntity(loaded);
    FreeStoreItemChoice(choice);
    ReleaseTower(&held);
  };
  if (!loaded || !IsItemComplete(loaded)) {
    refuse();
    MessageBox(window, "PadStack has not passed DRC.", kCaption, MB_OK);
    return;
  }
  const int answer = MessageBox(window, "Do you want to update all padstacks of this type?", kCaption,
                                MB_YESNOCANCEL);
  if (answer == IDCANCEL) {
    refuse();
    return;
  }
  DeleteChildEntities(loaded, Type_DontReloadGroup);
  FreezeTowerSizes(loaded);
  const pl3::Point newOrigin = OriginOf(loaded);
  Tower* previous = ResolveReferenceUnder(w->design, oldRef);
  const pl3::Point oldOrigin = OriginOf(previous);
  ReleaseTower(&previous);
  const pl3::Point shift{newOrigin.x - oldOrigin.x, newOrigin.y - oldOrigin.y};
  const std::uint32_t newRef = NodeRefOf(TowerEntity(loaded));
  if (answer == IDYES) {
    for (PadStackInfoRecord* info : InstancesOf(w->design, oldRef)) Repoint(info, newRef, shift);
  } else if (PadStackInfoRecord* info = InfoOf(held)) {
    Repoint(info, newRef, shift);
  }
  ReleaseTower(&held);
  ClearUndoHistory(w->design);
  RecordDesignChange();
  RedrawView(window);
  FreeStoreItemChoice(choice);
}
