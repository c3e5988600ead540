// The dispatch of a locator's insertion, handle point, box and deletion by
// its kind. Kept apart from the rest of the locator code so that a program
// that only rotates or moves locators does not need the kind handlers.
#include <algorithm>
#include <cstddef>

#include "edit/window_data.h"
#include "objects/attribute_locators.h"
#include "objects/attribute_services.h"
#include "objects/design_helpers.h"
#include "objects/locator_dispatch.h"
#include "objects/frame_seams.h"
#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "platform/reset_hooks.h"
#include "store/seams.h"

std::uint16_t PendingLocatorKind = 0;

namespace {

void ResetLocatorPlacing() { PendingLocatorKind = 0; }
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
  if (NetNameUpdateOption()) UpdateNetNameLocators(ActiveDesign(), 0);
}

// The end of every insertion, whatever the kind did: the cursor drawn at the
// view's point in the view's context, which is then released.
void EndLocatorInsertion(std::unique_ptr<EntityRecord>& record) {
  CurrentWindowData* w = ActiveWindowData;
  HWND view = w ? static_cast<HWND>(w->Window) : nullptr;
  if (view) MoveCrosshair(view, &w->Crosshair, w->MousePixel.x, w->MousePixel.y);
  record.reset();
  if (w) w->InsertType = 0;
  SetSelectionAndOptionsMenus(0);
  ClearToolMode(view);
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
  RunLocatorInsertHandler(record.get());
  if (UpdatesNetNames(kind)) UpdateNetNamesWhenWanted();
  EndLocatorInsertion(record);
}

int GetLocatorDrawStatus(const Tower* locator, DragStatus* status) {
  std::uint16_t kind = 0;
  if (!LocatorKindOf(locator, &kind) || !IsHandledLocatorKind(kind)) return 1;
  return GetLocatorKindHandlePoint(locator, status);
}

int GetLocatorBox(const Tower* locator, pl3::Box* box) {
  std::uint16_t kind = 0;
  if (!LocatorKindOf(locator, &kind) || !IsHandledLocatorKind(kind)) return 1;
  return GetLocatorKindBox(locator, box);
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
      DeleteLocatorWithAttribute(locator);
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
