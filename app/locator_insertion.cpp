#include "app/locator_insertion.h"

#include <cstdlib>
#include <memory>

#include "app/core_utilities.h"
#include "app/frame_operation_seams.h"
#include "edit/window_data.h"
#include "objects/attribute_locators.h"
#include "objects/attribute_services.h"
#include "objects/editor_input.h"
#include "objects/frame_seams.h"
#include "objects/item_helper_seams.h"
#include "objects/locator_dispatch.h"
#include "store/tower.h"

void StartLocatorAt(HWND view, CurrentWindowData& w, std::uint16_t kind, pl3::Point at) {
  SetInsertLocatorMode(kind);
  HDC dc = GetViewDC(view);
  std::unique_ptr<EntityRecord> record(w.PendingRecord);
  w.PendingRecord = nullptr;
  StartNewLocator(view, record, at, kind);
  w.PendingRecord = record.release();
  ReleaseViewDC(view, dc);
}

bool AskAttributeLocatorName() {
  char* text = ShowEnterTextDlgEx("Insert Attribute Locator", "Enter attribute name", nullptr, 0);
  if (!EnterTextDialogResult) {
    std::free(text);
    return false;
  }
  SetPendingLocatorName(text);
  std::free(text);
  return true;
}

void NameGraphicNetNameLocator(HWND view, CurrentWindowData& w, const char* name, const Tower* symbol) {
  EntityRecord* record = w.PendingRecord;
  if (!record) return;
  const std::uint32_t id = NewAttributeId();
  record->as<LocatorPayload>().attributeId = id;
  Tower* attribute = w.design ? InsertAttributeWithId(w.design, kLocatorGraphicNetName, name, 0, id) : nullptr;
  ReleaseTower(&attribute);
  if (symbol) SetLocatorTarget(record, symbol);
  GhostSelectionAndMode(view, record);
}

void BeginLocatorInsertion(HWND view, pl3::Point at) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  const std::uint16_t kind = PendingLocatorKind;
  if (kind == kLocatorGraphicNetName) {
    char name[kGraphicNetNameRoom] = {};
    Tower* symbol = nullptr;
    if (!AskGraphicNetName(FrameWindow, w->design, name, sizeof name, &symbol)) return;
    StartLocatorAt(view, *w, kind, at);
    NameGraphicNetNameLocator(view, *w, name, symbol);
    ReleaseTower(&symbol);
    return;
  }
  if (kind == kLocatorUserAttribute) {
    FreePendingLocatorName();
    if (!AskAttributeLocatorName()) return;
  }
  StartLocatorAt(view, *w, kind, at);
}
