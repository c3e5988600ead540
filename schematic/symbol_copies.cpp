#include "edit/insertion_array.h"
#include "edit/schematic_copy_seams.h"
#include "edit/window_data.h"

Tower* CopySymbolToInsertionAt(const Tower* symbol, pl3::Point point) {
  CurrentWindowData* w = ActiveWindowData;
  pl3::Transform copy{};
  if (!w || !PlacedItemCopyTransform(symbol, &copy)) {
    ReportMissingTransform();
    return nullptr;
  }
  copy.tx += point.x - w->CursorOffset.x;
  copy.ty += point.y - w->CursorOffset.y;
  return CopyPlacedItemToTemporary(symbol, copy, nullptr);
}

// A selected schematic symbol copies as a placed PCB symbol does.
Tower* CopySelectedSymbolToInsertion(const Tower* symbol, const SelectionInfo* selection) {
  const CurrentWindowData* w = ActiveWindowData;
  const pl3::Point grab = selection ? selection->grabPoint : w ? w->Cursor : pl3::Point{};
  return CopySymbolToInsertion(symbol, grab);
}
