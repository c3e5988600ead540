#include "edit/library_check.h"

#include "edit/engine_seams.h"
#include "edit/library_check_seams.h"
#include "edit/window_data.h"
#include "objects/item_helpers.h"
#include "objects/type_codes.h"
#include "store/tower.h"

namespace {

constexpr std::uint16_t kTypeSchematicSymbolDefinition = 25;

}  // namespace

std::uint32_t PerformLibraryItemDRC(const Tower* item, int cancelFirst) {
  if (cancelFirst) {
    if (CurrentWindowData* w = ActiveWindowData)
      CancelCurrentOperation(static_cast<HWND>(w->Window), w);
  }
  const Entity* e = item ? TowerEntity(item) : nullptr;
  if (!e) return 0;
  switch (e->typeCode) {
    case kTypeSchematicSymbolDefinition: return CheckSchematicSymbol();
    case Type_SymbolDefinition: return CheckPcbSymbol();
    case Type_ShapeDefinition: return CheckShape();
    case Type_PadStackDefinition: return CheckPadStack();
    default: return 0;
  }
}

Tower* RecordCompletionInfo(const Tower* item, int cancelFirst) {
  const Entity* e = item ? TowerEntity(item) : nullptr;
  if (!e) return nullptr;
  DeleteChildEntities(item, Type_CompletionInfo);
  CompletionInfoRecord record{};
  record.itemType = e->typeCode;
  record.failureBits = PerformLibraryItemDRC(item, cancelFirst);
  record.enableMask = CompletionEnableMask();
  record.secondMask = CompletionSecondMask();
  return InsertEntity(item, sizeof record, Type_CompletionInfo, &record);
}
