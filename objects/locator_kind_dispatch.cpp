// The dispatch of a locator's insertion, handle point, box and deletion by
// its kind. Kept apart from the rest of the locator code so that a program
// that only rotates or moves locators does not need the kind handlers.
#include <algorithm>
#include <cstddef>

#include "edit/window_data.h"
#include "objects/design_helpers.h"
#include "objects/locator_dispatch.h"
#include "objects/locator_services.h"
#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "platform/reset_hooks.h"
#include "store/seams.h"

std::uint16_t PendingLocatorKind = 0;
LocatorServices LocatorServiceSlots;

namespace {

void ResetLocatorPlacing() {
  PendingLocatorKind = 0;
  LocatorServiceSlots = LocatorServices{};
}
const bool g_registered = pl3::RegisterGlobalReset(&ResetLocatorPlacing);

constexpr std::uint16_t kTypePlacedPin = 33;
constexpr std::uint32_t kStateLocatorMark = 0x40;

// The kind of the locator a Tower stands on; false when it is no locator or
// its payload is too short to hold the kind.
bool LocatorKindOf(const Tower* t, std::uint16_t* kind) {
  Entity* e = TowerEntity(t);
  if (!e || e->typeCode != Type_AttributeLocator) return false;
  const std::uint8_t* p = PayloadOfAtLeast(e, offsetof(LocatorPayload, kind) + 2);
  if (!p) return false;
  *kind = ReadU16(p, offsetof(LocatorPayload, kind));
  return true;
}

bool UpdatesNetNames(std::uint16_t kind) {
  return kind == kLocatorNetName || kind == kLocatorGraphicNetName || kind == kLocatorNamedIOPort;
}

const Tower* ActiveDesign() { return ActiveWindowData ? ActiveWindowData->design : nullptr; }

void UpdateNetNamesWhenWanted() {
  const LocatorServices& s = LocatorServiceSlots;
  if (s.netNameUpdateOption && s.netNameUpdateOption() && s.updateNetNameLocators)
    s.updateNetNameLocators(ActiveDesign());
}

// A plain kind carries no handler: it gets an attribute id of its own and is
// stored with undo.
void InsertPlainLocator(EntityRecord* record) {
  const LocatorServices& s = LocatorServiceSlots;
  auto& locator = record->as<LocatorPayload>();
  if (s.newAttributeId) locator.attributeId = s.newAttributeId(ActiveDesign());
  if (s.insertEntityWithUndo) s.insertEntityWithUndo(ActiveDesign(), record);
}

void InsertByKind(EntityRecord* record) {
  switch (record->as<LocatorPayload>().kind) {
    case kLocatorPinNumber: InsertPinNumberLocator(record); break;
    case kLocatorNetName: InsertNetNameLocator(record); break;
    case kLocatorPinName: InsertPinNameLocator(record); break;
    case kLocatorDesignator:
    case kLocatorValue:
    case kLocatorDisplayNetName: InsertTextLocator(record); break;
    case kLocatorIOPort: InsertIOPortLocator(record); break;
    case kLocatorGraphicNetName: InsertGraphicNetNameLocator(record); break;
    case kLocatorUserAttribute: InsertUserLocator(record); break;
    case kLocatorNamedIOPort: InsertNamedIOPortLocator(record); break;
    case kLocatorDisplayGlobalNets: InsertGlobalNetsLocator(record); break;
    default: InsertPlainLocator(record); return;
  }
}

// The end of every insertion, whatever the kind did.
void EndLocatorInsertion(std::unique_ptr<EntityRecord>& record) {
  const LocatorServices& s = LocatorServiceSlots;
  void* view = ActiveWindowData ? ActiveWindowData->Window : nullptr;
  if (s.drawCursor) s.drawCursor(view);
  if (s.releaseViewDC) s.releaseViewDC(view);
  record.reset();
  if (ActiveWindowData) ActiveWindowData->InsertType = 0;
  if (s.setSelectionAndOptionsMenus) s.setSelectionAndOptionsMenus(0);
  if (s.leaveToolMode) s.leaveToolMode();
  RedrawView(view);
}

}  // namespace

int SetInsertLocatorMode(std::uint16_t kind) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || w->EditMode != 0) return 0;
  w->StateFlags &= ~kStateLocatorMark;
  w->InsertType = Type_AttributeLocator;
  PendingLocatorKind = kind;
  w->ClickState = 0;
  return 1;
}

void InsertLocator(std::unique_ptr<EntityRecord>& record) {
  if (!record) return;
  const auto& locator = record->as<LocatorPayload>();
  const std::uint16_t kind = locator.kind;
  RememberLocatorDefaults(&locator);
  SetCurrentSizeIndex(Type_AttributeLocator, locator.head.sizeIndex, kind);
  InsertByKind(record.get());
  if (UpdatesNetNames(kind)) UpdateNetNamesWhenWanted();
  EndLocatorInsertion(record);
}

int GetLocatorDrawStatus(const Tower* locator, DrawStatusBlock* status) {
  std::uint16_t kind = 0;
  if (!LocatorKindOf(locator, &kind)) return 1;
  switch (kind) {
    case kLocatorPinNumber: return GetPinNumberLocatorStatus(locator, status);
    case kLocatorNetName: return GetNetNameLocatorStatus(locator, status);
    case kLocatorPinName: return GetPinNameLocatorStatus(locator, status);
    case kLocatorDesignator: return GetDesignatorLocatorStatus(locator, status);
    case kLocatorIOPort:
    case kLocatorGraphicNetName:
    case kLocatorNamedIOPort: return GetPortLocatorStatus(locator, status);
    case kLocatorValue: return GetValueLocatorStatus(locator, status);
    case kLocatorUserAttribute: return GetUserLocatorStatus(locator, status);
    case kLocatorDisplayNetName: return GetDisplayNetNameLocatorStatus(locator, status);
    case kLocatorDisplayGlobalNets: return GetGlobalNetsLocatorStatus(locator, status);
    default: return 1;
  }
}

int GetLocatorBox(const Tower* locator, pl3::Box* box) {
  std::uint16_t kind = 0;
  if (!LocatorKindOf(locator, &kind)) return 1;
  switch (kind) {
    case kLocatorPinNumber: return GetPinNumberLocatorBox(locator, box);
    case kLocatorNetName: return GetNetNameLocatorBox(locator, box);
    case kLocatorPinName: return GetPinNameLocatorBox(locator, box);
    case kLocatorDesignator: return GetDesignatorLocatorBox(locator, box);
    case kLocatorIOPort: return GetIOPortLocatorBox(locator, box);
    case kLocatorValue: return GetValueLocatorBox(locator, box);
    case kLocatorGraphicNetName: return GetGraphicNetNameLocatorBox(locator, box);
    case kLocatorUserAttribute: return GetUserLocatorBox(locator, box);
    case kLocatorNamedIOPort: return GetNamedIOPortLocatorBox(locator, box);
    case kLocatorDisplayNetName: return GetDisplayNetNameLocatorBox(locator, box);
    case kLocatorDisplayGlobalNets: return GetGlobalNetsLocatorBox(locator, box);
    default: return 1;
  }
}

int DeleteLocator(Tower* locator) {
  std::uint16_t kind = 0;
  if (!LocatorKindOf(locator, &kind)) return 0;
  switch (kind) {
    case kLocatorPinNumber:
    case kLocatorPinName:
    case kLocatorDesignator:
    case kLocatorValue:
    case kLocatorUserAttribute:
    case kLocatorDisplayNetName:
    case kLocatorDisplayGlobalNets:
      DeleteEntity(locator);
      break;
    case kLocatorNetName:
    case kLocatorIOPort:
    case kLocatorGraphicNetName:
    case kLocatorNamedIOPort:
      if (LocatorServiceSlots.deleteLocatorWithAttribute) LocatorServiceSlots.deleteLocatorWithAttribute(locator);
      if (UpdatesNetNames(kind)) UpdateNetNamesWhenWanted();
      break;
    default:
      break;
  }
  return 0;
}

int UniteLocatorBoxes(const Tower* t, pl3::Box* box, int first) {
  Tower* children = t ? GetAllChildrenTower(t) : nullptr;
  while (children && FindNextEntity(children)) {
    const std::uint16_t code = TowerEntity(children)->typeCode;
    if (code == kTypePlacedPin) {
      first = UniteLocatorBoxes(children, box, first);
    } else if (code == Type_AttributeLocator) {
      pl3::Box found{-1, -1, 0, 0};
      // A plain kind has no box: the dispatch leaves `found` empty.
      if (GetLocatorBox(children, &found) && IsBoxValid(&found)) {
        if (first) {
          *box = found;
          first = 0;
        } else {
          box->xmin = std::min(box->xmin, found.xmin);
          box->ymin = std::min(box->ymin, found.ymin);
          box->xmax = std::max(box->xmax, found.xmax);
          box->ymax = std::max(box->ymax, found.ymax);
        }
      }
    }
  }
  ReleaseTower(&children);
  return first;
}
