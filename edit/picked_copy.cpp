// The pick purposes copy, and copy with increment or decrement: the picked
// item becomes the selection and is copied in place, so that the copy hangs
// on the cursor while the original stays.
#include <cstdlib>

#include "edit/object_select.h"
#include "edit/selection.h"
#include "edit/window_data.h"
#include "objects/editor_input.h"
#include "objects/editor_seams.h"
#include "objects/graphic_records.h"
#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "platform/user.h"
#include "store/tower.h"

namespace {

constexpr std::uint32_t kEditCursorCopy = 3;
constexpr std::uint8_t kModeHeldItems = 45;

void Refuse(CurrentWindowData* w, const char* text) {
  MessageBox(nullptr, text, "Copy", MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
  std::free(w->PendingRecord);
  w->PendingRecord = nullptr;
}

// The locator kinds whose number a stepped copy can change.
bool IsSteppableLocator(const Tower* item) {
  const auto* l = reinterpret_cast<const LocatorPayload*>(PayloadOfAtLeast(TowerEntity(item), sizeof(LocatorPayload)));
  return l && (l->kind == 3 || l->kind == 13 || l->kind == 15);
}

}  // namespace

void CopyPickedItem(HWND window, const Tower* item) {
  CurrentWindowData* w = ActiveWindowData;
  const Entity* e = TowerEntity(item);
  if (!w || !e) return;
  SetEditCursor(kEditCursorCopy);
  switch (e->typeCode) {
    case Type_SymbolPin: return Refuse(w, "Can't copy pins");
    case Type_SymbolInstance:
      if (!IsSymbolCopyable(item)) return Refuse(w, "Can't copy symbols");
      break;
    case 163: return Refuse(w, "Can't copy symbols");
    case Type_InfoBoxHier: return Refuse(w, "Can't copy info boxes");
    case Type_PadStackInstanceHier:
      if (!SelectObject(item, 0)) return;
      UpdateAfterSelectionChange(window, nullptr, 1);
      CopySelectionInPlace(window);
      w->EditMode = kModeHeldItems;
      return;
    default: break;
  }
  SelectObject(item, 1);
  if (!w->SelectionList) return;
  UpdateAfterSelectionChange(window, nullptr, 1);
  CopySelectionInPlace(window);
}

void CopyPickedItemStep(HWND window, const Tower* item, int increment) {
  CurrentWindowData* w = ActiveWindowData;
  const Entity* e = TowerEntity(item);
  if (!w || !e) return;
  SetEditCursor(kEditCursorCopy);
  if (e->typeCode != Type_AttributeLocator || !IsSteppableLocator(item)) {
    return Refuse(w, "Can't copy and increment/decrement this type of object");
  }
  SelectObject(item, 1);
  SelectionInfo* head = w->SelectionList;
  if (!head) return;
  UpdateAfterSelectionChange(window, nullptr, 1);
  std::free(ApplySelectionInfo(head, increment ? kApplyCopyIncrement : kApplyCopyDecrement));
  head->grabbedPart = kGrabWhole;
}
