// The ghost copies through which a selected placed symbol, schematic symbol
// or pad stack is drawn while the selection moves: each is a Temporary node
// under TemporaryCopyRoot holding the item's primitives with its placement
// applied and its origin at 0, built as the insertion array builds one. The
// ghost is drawn with the window marked for a symbol ghost, on the other
// side's layers for an item placed there, with the item's ratsnest ends.
#include <cstddef>

#include "draw/ghost_seams.h"
#include "draw/ghosts.h"
#include "edit/insertion_array.h"
#include "edit/schematic_copy_seams.h"
#include "edit/selection_services.h"
#include "edit/window_data.h"
#include "objects/payload_access.h"
#include "objects/placed_item_records.h"
#include "objects/type_codes.h"
#include "store/tower.h"

namespace {
constexpr std::uint16_t kTypeSchematicSymbol = 30;

std::uint16_t CodeAt(const Tower* t) {
  const Entity* e = TowerEntity(t);
  return e ? e->typeCode : 0;
}
}  // namespace

Tower* BuildInstanceGhost(const Tower* instance, const SelectionInfo* selection) {
  const CurrentWindowData* w = ActiveWindowData;
  if (!w) return nullptr;
  switch (CodeAt(instance)) {
    case kTypeSchematicSymbol:
      return CopySelectedSymbolToInsertion(instance, selection);
    case Type_SymbolInstance:
    case Type_PadStackInstanceHier:
      return CopySymbolToInsertion(instance, selection ? selection->grabPoint : w->Cursor);
    default:
      return nullptr;
  }
}

void FreeInstanceGhost(Tower** ghost) {
  if (*ghost && TowerEntity(*ghost)) DeleteEntity(*ghost);
  ReleaseTower(ghost);
}

namespace {

// A placed symbol (other-side bit of its info) or pad stack (bit 0 of its
// Pad-Stack Info) that lies on the other side of the board.
bool PlacedOnOtherSide(const Tower* item) {
  switch (CodeAt(item)) {
    case Type_SymbolInstance: {
      const std::uint8_t* info = ChildPayloadOfAtLeast(item, Type_SymbolInstanceInfo, sizeof(SymbolInstanceInfo));
      return info && (ReadU32(info, offsetof(SymbolInstanceInfo, flags)) & kSymbolInstanceOtherSide);
    }
    case Type_PadStackInstanceHier: {
      const std::uint8_t* info = ChildPayloadOfAtLeast(item, Type_PadStackInfo, sizeof(PadStackInfoRecord));
      return info && (ReadU16(info, offsetof(PadStackInfoRecord, flags)) & kPadStackOtherSide);
    }
    default:
      return false;
  }
}

}  // namespace

void GhostInstanceSelection(HDC dc, const SelectionInfo* record, pl3::Point at) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !record || !record->copyInstanceInfo) return;
  const Tower* item = record->workingCopy ? record->workingCopy : record->original;
  const std::uint32_t savedState = w->StateFlags;
  const std::uint32_t savedView = w->ViewFlags;
  // The copy holds the definition's own layers: the pens take the opposite
  // side's for an item placed on the other side.
  w->StateFlags |= kStateSymbolGhost;
  if (PlacedOnOtherSide(item)) w->ViewFlags ^= kViewDrawOtherSide;
  GhostCopiedItems(dc, record->copyInstanceInfo, at);
  const std::uint16_t code = CodeAt(item);
  if (code == Type_SymbolInstance || code == Type_PadStackInstanceHier) DrawInstanceRatsnestEnds(dc, item, at);
  w->StateFlags = savedState;
  w->ViewFlags = savedView;
}
