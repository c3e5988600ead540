// The Options menu's actions on the selection: sizes stepped, chosen or
// taken to either end of their lists, layers and sides, and colours.
#include "edit/selection_actions.h"

#include <cstring>
#include <memory>

#include "edit/payload_sizes.h"
#include "edit/selection.h"
#include "edit/selection_services.h"
#include "edit/window_data.h"
#include "objects/colours.h"
#include "objects/graphic_records.h"
#include "objects/item_sides.h"
#include "objects/selection_seams.h"
#include "objects/size_table.h"
#include "objects/type_codes.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/tower.h"

namespace {

bool IsPrimary(const SelectionInfo* s) { return (s->flags & kSelectionPrimary) != 0; }

// The types whose size the Options menu changes (the check's list).
bool TakesSizeAction(std::uint16_t type) {
  switch (type) {
    case 1: case 2: case 3: case 5: case 6: case 7: case 10: case 11: case 18: case 19: case 20: case 21:
    case 22: case 28: case 29: case 34: case 35: case 37: case 46: case 47:
      return true;
    default:
      return false;
  }
}

SizeStep StepOfAction(std::uint32_t action) {
  switch (action) {
    case kSelectionSizeDown: return SizeStep::Down;
    case kSelectionSizeFirst: return SizeStep::First;
    case kSelectionSizeLast: return SizeStep::Last;
    default: return SizeStep::Up;
  }
}

// Next or Previous Layer of a plain graphic: the working copy goes round the
// layer ring as a working record would.
int FlipCopyLayer(Tower* copy) {
  Entity* e = TowerEntity(copy);
  if (!e) return 0;
  auto record = NewEntityRecord();
  const std::uint32_t bytes = e->payloadSize < sizeof record->payload ? e->payloadSize : sizeof record->payload;
  if (bytes < sizeof(GraphicHead)) return 0;
  std::memcpy(record->payload, EntityPayload(e), bytes);
  record->header.recordType = e->typeCode;
  const int changed = FlipGraphicRecordSide(record.get(), e->typeCode);
  if (changed) std::memcpy(EntityPayload(e), record->payload, bytes);
  return changed;
}

int SetCopyColour(Tower* copy, std::uint32_t colour) {
  Entity* e = TowerEntity(copy);
  if (!e || e->payloadSize == 0) return 0;
  EntityPayload(e)[0] = static_cast<std::uint8_t>(colour);
  return 1;
}

HWND Owner() { return ActiveWindowData ? static_cast<HWND>(ActiveWindowData->Window) : nullptr; }

// Set Size: the chooser shown once, over the first item's list; every item
// then takes the chosen entry. False when cancelled or refused.
bool SetSizeOfAll(SelectionInfo* list) {
  bool asked = false;
  std::uint32_t chosen = 0;
  for (SelectionInfo* s = list; s; s = s->next) {
    if (!IsPrimary(s)) continue;
    Entity* e = TowerEntity(s->workingCopy);
    if (!e) continue;
    if (!TakesSizeAction(e->typeCode)) {
      MessageBox(nullptr, "Error - Unknown type", "PerformSelectionArrayAction", MB_OK);
      return false;
    }
    const std::uint32_t kind = PayloadSizeKind(EntityPayload(e), e->typeCode);
    if (kind == kNoSizeKind) continue;  // a centroid marker keeps its explicit size
    if (!asked) {
      if (!GetPayloadSizeIndex(EntityPayload(e), e->payloadSize, e->typeCode, &chosen)) {
        const SizeTable* table = ActiveWindowData ? ActiveWindowData->sizeTable : nullptr;
        chosen = table ? (*table)[kind].defaultIndex : 0;
      }
      if (!ChooseSelectionSize(Owner(), kind, &chosen)) return false;
      asked = true;
    }
    SetPayloadSizeIndex(EntityPayload(e), e->payloadSize, e->typeCode, chosen);
  }
  return true;
}

// One record's share of an action; the size steps answer PayloadSizeResult.
int ActOnRecord(SelectionInfo* s, std::uint32_t action, std::uint32_t argument, bool instances) {
  Entity* e = TowerEntity(s->workingCopy);
  if (!e) return kSelectionActionDone;
  switch (action) {
    case kSelectionSizeUp: case kSelectionSizeDown: case kSelectionSizeFirst: case kSelectionSizeLast:
      return StepPayloadSize(EntityPayload(e), e->typeCode, StepOfAction(action));
    case kSelectionNextLayer:
      if (instances) FlipSelectionInfoSide(s);
      else FlipCopyLayer(s->workingCopy);
      return kSelectionActionDone;
    case kSelectionSetLayer:
      SetEntityLayer(s->workingCopy, static_cast<std::uint8_t>(argument));
      return kSelectionActionDone;
    case kSelectionFlipSide:
      FlipSelectionInfoSide(s);
      return kSelectionActionDone;
    case kSelectionNextColour:
      CycleColourAt(s->workingCopy);
      return kSelectionActionDone;
    default:
      return kSelectionActionDone;
  }
}

}  // namespace

int PerformSelectionArrayAction(std::uint32_t action, std::uint32_t argument) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !w->SelectionList) return kSelectionActionDone;
  SelectionInfo* list = w->SelectionList;
  if (action == kSelectionSetSize) {
    SetSizeOfAll(list);
    return kSelectionActionDone;
  }
  if (action == kSelectionSetColour) {
    SelectionInfo* first = GetFirstPrimarySelection(list);
    Entity* e = first ? TowerEntity(first->workingCopy) : nullptr;
    if (!e || e->payloadSize == 0) return kSelectionActionDone;
    std::uint32_t colour = EntityPayload(e)[0];
    if (ChooseSelectionColour(Owner(), &colour))
      for (SelectionInfo* s = list; s; s = s->next)
        if (IsPrimary(s)) SetCopyColour(s->workingCopy, colour);
    return kSelectionActionDone;
  }
  const bool instances = SelectionHasInstances(list) != 0;
  const bool single = CountSelections(list, 1) == 1;
  int result = kSelectionActionDone;
  for (SelectionInfo* s = list; s; s = s->next)
    if (IsPrimary(s)) result = ActOnRecord(s, action, argument, instances);
  const bool answersItsItem = action == kSelectionSizeUp || action == kSelectionSizeDown ||
                              action == kSelectionSizeFirst || action == kSelectionSizeLast;
  return single && answersItsItem ? result : kSelectionActionDone;
}
