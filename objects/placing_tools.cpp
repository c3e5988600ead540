#include "objects/placing_tools.h"

#include "edit/window_data.h"
#include "objects/editor_seams.h"

int ArmPlacingTool(std::uint8_t type) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || w->EditMode != 0) return 0;
  w->WalkFlags &= ~kWalkNewInsertion;
  w->InsertType = type;
  return 1;
}

void EndPlacingTool() {
  if (CurrentWindowData* w = ActiveWindowData) {
    w->InsertType = 0;
    w->EditMode = 0;
    w->ClickState = 0;
    w->InsertionTypeCode = 0;
  }
  SetSelectionAndOptionsMenus(0);
}
