#include "app/width_stepping.h"

#include "app/core_utilities.h"
#include "app/invalid_size_dialog.h"
#include "app/registry_values.h"
#include "edit/payload_sizes.h"
#include "edit/selection_actions.h"
#include "edit/window_data.h"
#include "objects/designators.h"
#include "objects/editor_input.h"
#include "objects/editor_modes.h"
#include "objects/graphic_records.h"
#include "objects/payload_access.h"
#include "objects/size_table.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "platform/responder.h"
#include "platform/user.h"

namespace {

enum class WidthCommand { Increase, Decrease, Maximise, Minimise };

// What a command's texts are.
struct WidthCommandTexts {
  const char* endCaption;  // null: the command has no end-of-list notice
  const char* endText;
  const char* customText;
  const char* customCaption;
};

WidthCommandTexts TextsOf(WidthCommand command) {
  switch (command) {
    case WidthCommand::Increase:
      return {"Increase Width", "Largest available size already selected",
              "Unable to increase size - custom size is selected", "IncreaseWidth"};
    case WidthCommand::Decrease:
      return {"Decrease Width", "Smallest available size already selected",
              "Unable to decrease size - custom size is selected", "DecreaseWidth"};
    case WidthCommand::Maximise:
      return {nullptr, nullptr, "Unable to maximise size - custom size is selected", "DecreaseWidth"};
    case WidthCommand::Minimise:
      return {nullptr, nullptr, "Unable to minimise size - custom size is selected", "DecreaseWidth"};
  }
  return {};
}

SizeStep StepOf(WidthCommand command) {
  switch (command) {
    case WidthCommand::Increase: return SizeStep::Up;
    case WidthCommand::Decrease: return SizeStep::Down;
    case WidthCommand::Maximise: return SizeStep::Last;
    case WidthCommand::Minimise: return SizeStep::First;
  }
  return SizeStep::Up;
}

// The designator record (233, or 310 for an attribute copy) of the item being placed.
std::uint8_t* PlacedDesignatorInfo(const CurrentWindowData& state, std::uint16_t infoCode) {
  Entity* self = TowerEntity(state.TemporaryEntity);
  if (!self) return nullptr;
  if (self->typeCode == infoCode) return PayloadOfAtLeast(self, sizeof(DesignatorInfo));
  return ChildPayloadOfAtLeast(state.TemporaryEntity, infoCode, sizeof(DesignatorInfo));
}

int StepDesignator(WidthCommand command, HWND window, CurrentWindowData& state, std::uint16_t infoCode) {
  std::uint8_t* info = PlacedDesignatorInfo(state, infoCode);
  if (!info) return PayloadSizeStepped;  // nothing in hand
  if (ReadU16(info, offsetof(DesignatorInfo, display)) & 0x2) {
    SetCurrentItemSize(window, &state, &state);
    return PayloadSizeStepped;
  }
  return StepIndexedSize(info + offsetof(DesignatorInfo, flags), info + offsetof(DesignatorInfo, sizeIndex),
                         SizeKind_Fonts, StepOf(command));
}

// The Options menu's action for a command: Next and Previous Size step one
// entry, First and Last Size go to either end of the list.
std::uint32_t SelectionActionOf(WidthCommand command) {
  switch (command) {
    case WidthCommand::Increase: return kSelectionSizeUp;
    case WidthCommand::Decrease: return kSelectionSizeDown;
    case WidthCommand::Maximise: return kSelectionSizeLast;
    case WidthCommand::Minimise: return kSelectionSizeFirst;
  }
  return kSelectionSizeUp;
}

// A custom size cannot be stepped: the user chooses one from the list instead.
int StepSelection(WidthCommand command, HWND window) {
  const std::uint32_t action = SelectionActionOf(command);
  int result = PayloadSizeStepped;
  if (ValidateSelectionForAction(action, 0)) {
    result = PerformSelectionArrayAction(action, 0);
    if (result == kSelectionActionCustom)
      result = ValidateSelectionForAction(kSelectionSetSize, 0) ? PerformSelectionArrayAction(kSelectionSetSize, 0)
                                                                : PayloadSizeStepped;
  }
  UpdateStatusBar(window);
  return result;
}

// The stored type the record in hand steps as: a slot track as its slot.
std::uint16_t SteppingType(const EntityRecord& record) {
  if (record.header.recordType == Type_Track) {
    if (record.header.state & kStatePlatedSlot) return Type_PlatedSlot;
    if (record.header.state & kStateNonPlatedSlot) return Type_NonPlatedSlot;
  }
  return record.header.recordType;
}

bool StepsItsSize(const EntityRecord& record) {
  if (record.header.recordType == Type_Track && (record.header.state & kStateBoardOutline)) return false;
  if (record.header.recordType == Type_Arc && (record.header.state & kStateOutlineArc)) return false;
  return true;
}

int StepByMode(WidthCommand command, HWND window, CurrentWindowData& state) {
  EntityRecord* item = state.PendingRecord;
  switch (state.EditMode) {
    case Mode_Idle:
      return PayloadSizeStepped;
    case Mode_PlacePadName:
    case Mode_MovePadName:
      return item ? StepIndexedSize(item->payload + offsetof(GraphicHead, sizeFlags),
                                    item->payload + offsetof(GraphicHead, sizeIndex), SizeKind_Fonts, StepOf(command))
                  : PayloadSizeStepped;
    case Mode_PlaceDesignator:
      return StepDesignator(command, window, state, Type_DesignatorInfo);
    case Mode_PlaceAttributeLocator:
      return StepDesignator(command, window, state, 310);
    case Mode_EditSelection:
      return StepSelection(command, window);
    default:
      if (!item || !StepsItsSize(*item)) return PayloadSizeStepped;
      return StepPayloadSize(item->payload, SteppingType(*item), StepOf(command));
  }
}

// True when the user switched the end-of-list notice off; a key that cannot
// be opened leaves it on.
bool EndNoticeSwitchedOff() {
  HKEY key = nullptr;
  if (OpenProgramRegistryKey(HKEY_CURRENT_USER, "Initialisation", 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return false;
  const DWORD flags = ReadRegistryDword(key, "Flags", 0);
  RegCloseKey(key);
  return (flags & kInvalidSizeNoticeOff) != 0;
}

void Report(WidthCommand command, HWND window, int result) {
  const WidthCommandTexts texts = TextsOf(command);
  if (result == PayloadSizeAtEnd && texts.endCaption) {
    if (EndNoticeSwitchedOff()) {
      MessageBeep(0);
      return;
    }
    const InvalidSizeBlock block{texts.endCaption, texts.endText, kInvalidSizeNoticeOff};
    ShowInvalidSizeDialog(window, block);
  } else if (result == PayloadSizeCustom) {
    ShowMessageEx(window, texts.customText, texts.customCaption, MB_OK | MB_ICONEXCLAMATION);
  }
}

void StepWidth(WidthCommand command, HWND window, CurrentWindowData* state) {
  if (!state) state = ActiveWindowData;
  if (!state) return;
  GhostSelectionAndMode(window, state->PendingRecord);
  Report(command, window, StepByMode(command, window, *state));
  GhostSelectionAndMode(window, state->PendingRecord);
  UpdateStatusBar(window);
}

}  // namespace

void IncreaseWidth(HWND window, CurrentWindowData* state) { StepWidth(WidthCommand::Increase, window, state); }
void DecreaseWidth(HWND window, CurrentWindowData* state) { StepWidth(WidthCommand::Decrease, window, state); }
void MaximiseWidth(HWND window, CurrentWindowData* state) { StepWidth(WidthCommand::Maximise, window, state); }
void MinimiseWidth(HWND window, CurrentWindowData* state) { StepWidth(WidthCommand::Minimise, window, state); }
