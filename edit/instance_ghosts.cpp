// The ghost copies through which a selected placed symbol, schematic symbol
// or pad stack is drawn while the selection moves: each is a Temporary node
// under TemporaryCopyRoot holding the item's primitives with its placement
// applied and its origin at 0, built as the insertion array builds one.
#include "draw/ghosts.h"
#include "edit/insertion_array.h"
#include "edit/schematic_copy_seams.h"
#include "edit/selection_services.h"
#include "edit/window_data.h"
#include "objects/type_codes.h"
#include "store/tower.h"

namespace {
constexpr std::uint16_t kTypeSchematicSymbol = 30;
}  // namespace

Tower* BuildInstanceGhost(const Tower* instance, const SelectionInfo* selection) {
  const Entity* e = TowerEntity(instance);
  const CurrentWindowData* w = ActiveWindowData;
  if (!e || !w) return nullptr;
  switch (e->typeCode) {
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

void GhostInstanceSelection(HDC dc, const SelectionInfo* record, pl3::Point at) {
  if (!record || !record->copyInstanceInfo) return;
  GhostCopiedItems(dc, record->copyInstanceInfo, at);
}
