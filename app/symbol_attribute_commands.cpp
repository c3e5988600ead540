// The attribute editors of the selected schematic symbol that the frame opens
// for 2336 (Edit Symbol Attributes), 2337 (the package instance's
// attributes) and 2356 (the global pin editor).
#include "app/symbol_attribute_commands.h"

#include "app/attribute_dialogs.h"
#include "app/core_utilities.h"
#include "app/frame_operation_seams.h"
#include "edit/engine_seams.h"
#include "edit/mouse_road.h"
#include "edit/window_data.h"
#include "objects/entity_copy.h"
#include "objects/io_ports.h"
#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "objects/undo_seams.h"
#include "objects/view_seams.h"
#include "platform/user.h"
#include "store/tower.h"

namespace {

constexpr std::uint16_t kTypeSchematic = 103;
constexpr std::uint16_t kTypeSymbolGroup = 30;
constexpr std::uint16_t kTypePackagePin = 11007;
constexpr std::uint16_t kTypePackageInstance = 11008;
constexpr std::uint16_t kTypeSymbolPackageRef = 11015;
// The edit mode a window shows while a symbol's attributes are edited.
constexpr std::uint8_t kModeEditingAttributes = 89;

bool IsSymbol(const Tower* t) {
  const Entity* e = t ? TowerEntity(t) : nullptr;
  return e && (e->typeCode == kTypeSymbolGroup || e->typeCode == Type_SymbolInstance);
}

// The first primary selection that is a symbol, as a Tower of its own on the
// item in the design (the caller releases it), or null.
Tower* FirstSelectedSymbol(const CurrentWindowData& w) {
  for (const SelectionInfo* s = w.SelectionList; s; s = s->next) {
    if (!(s->flags & 1)) continue;
    const Tower* item = s->original ? s->original : s->workingCopy;
    if (IsSymbol(item)) return DuplicateTower(item);
  }
  return nullptr;
}

// The package instance that a packaged symbol's record names, under the
// symbol's schematic (or the window's design), or null.
Tower* PackageInstanceOf(const Tower* symbol, const Tower* design) {
  const std::uint8_t* reference = ChildPayloadOfAtLeast(symbol, kTypeSymbolPackageRef, 4);
  if (!reference) return nullptr;
  Tower* schematic = GetAncestorTower(symbol, kTypeSchematic);
  Tower* package = FindChildByReference(schematic ? schematic : design, kTypePackageInstance, ReadU32(reference, 0));
  ReleaseTower(&schematic);
  return package;
}

bool HasChild(const Tower* item, std::uint16_t code) {
  Tower* children = GetChildTower(item, code);
  const bool found = children && FindNextEntity(children);
  ReleaseTower(&children);
  return found;
}

// A symbol still being placed is placed first, so that its attributes are
// edited on the item in the design.
bool PlacingSymbol(std::uint8_t mode) { return mode == 24 || mode == 25; }

// The selected symbol of the active window for the package editors, after
// its checks: packaged, and for the pin editor with global nets. The
// package instance's Tower (the caller releases it), or null when refused.
Tower* CheckedPackageOfSelection(const CurrentWindowData& w, bool needsGlobalNets) {
  Tower* symbol = FirstSelectedSymbol(w);
  if (!symbol) {
    MessageBeep(0);
    return nullptr;
  }
  Tower* package = nullptr;
  if (!ChildPayloadOfAtLeast(symbol, kTypeSymbolPackageRef, 4) ||
      !(package = PackageInstanceOf(symbol, w.design))) {
    ShowMessage(FrameWindow, "This symbol has not been packaged yet.", "Error");
  } else if (needsGlobalNets && !HasChild(package, kTypePackagePin)) {
    ShowMessage(FrameWindow, "No global nets exist for this package.", "Error");
    ReleaseTower(&package);
  }
  ReleaseTower(&symbol);
  return package;
}

}  // namespace

int EditSelectedSymbolAttributes(UINT, HWND child) {
  CurrentWindowData* w = child ? ActiveWindowData : nullptr;
  if (!w || !w->design) return 0;
  const bool placing = PlacingSymbol(w->EditMode);
  if (placing) AcceptCurrentEdit(child, &w->Button, &w->PendingRecord);
  Tower* symbol = FirstSelectedSymbol(*w);
  if (!symbol) {
    MessageBeep(0);
    return 0;
  }
  if (!placing) CancelCurrentOperation(child, w);
  w->EditMode = kModeEditingAttributes;
  // The symbol as it was, kept in the design until the dialog answers: an
  // OK makes it the old version of an undo step.
  Tower* before = CopyAndInsertEntity(w->design, symbol, nullptr);
  const std::uint32_t changed = ShowEditAttributesDialog(FrameWindow, symbol, "Edit Symbol Instance Attributes");
  if (changed) {
    if (before) {
      Tower* entry = RecordUndoModify(before, NodeRefOf(TowerEntity(symbol)), w->UndoStep);
      ReleaseTower(&entry);
    }
    CloseUndoStep(*w, "Edit symbol attributes");
    if (Tower* package = PackageInstanceOf(symbol, w->design)) {
      CopyUserAttributes(package, symbol);
      ReleaseTower(&package);
    }
  }
  if (before) DeleteEntity(before);
  ReleaseTower(&before);
  ReleaseTower(&symbol);
  w->EditMode = 0;
  if (changed) RedrawView(child);
  return changed ? 1 : 0;
}

int EditSelectedPackageAttributes(UINT, HWND child) {
  CurrentWindowData* w = child ? ActiveWindowData : nullptr;
  if (!w) return 0;
  Tower* package = CheckedPackageOfSelection(*w, false);
  if (!package) return 0;
  const std::uint32_t changed = ShowEditAttributesDialog(FrameWindow, package, "Edit Package Instance Attributes");
  ReleaseTower(&package);
  if (changed) RedrawView(child);
  return changed ? 1 : 0;
}

int EditSelectedPackageGlobalPins(UINT id, HWND child) {
  CurrentWindowData* w = child ? ActiveWindowData : nullptr;
  if (!w) return 0;
  Tower* package = CheckedPackageOfSelection(*w, true);
  if (!package) return 0;
  ReleaseTower(&package);
  return RunOptionDialogCommand(id, child);
}
