// "Board Setup" (2569): the board thickness record, the drill-pair entries and
// the layer stack-up, edited in one dialog.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "draw/display_paint.h"
#include "draw/grids.h"
#include "edit/engine_seams.h"
#include "edit/window_data.h"
#include "objects/design_walks.h"
#include "objects/layer_sets.h"
#include "objects/payload_access.h"
#include "objects/view_seams.h"
#include "pcb/layer_counts.h"
#include "pcb/pcb_command_seams.h"
#include "pcb/pcb_commands.h"
#include "platform/responder.h"
#include "store/tower.h"

namespace {

constexpr std::uint16_t kTypeBoardSetup = 13200;
constexpr std::uint16_t kTypeBoardSetupList = 13201;
constexpr std::uint16_t kTypeBoardSetupEntry = 13202;
constexpr std::uint16_t kTypeBoardValue = 13203;

// Thickness 1.0 and 2; the last word starts at 0 so that the dialog never
// shows, nor the board keeps, whatever the stack held.
constexpr BoardValue kDefaultBoardValue{1.0, 2, 0};

// The 2-byte entries of the list, oldest first: the order they were written
// in, so that a setup read and written back keeps its order.
std::vector<std::uint16_t> ReadEntries(const Tower* setup) {
  std::vector<std::uint16_t> entries;
  Tower* list = NewestChildTower(setup, kTypeBoardSetupList);
  Tower* items = list ? GetChildTower(list, kTypeBoardSetupEntry) : nullptr;
  while (items && FindNextEntity(items)) {
    const Entity* e = TowerEntity(items);
    if (e->payloadSize < sizeof(std::uint16_t)) continue;
    std::uint16_t v;
    std::memcpy(&v, EntityPayload(e), sizeof v);
    entries.insert(entries.begin(), v);
  }
  ReleaseTower(&items);
  ReleaseTower(&list);
  return entries;
}

void FillFromDesign(const Tower* design, BoardSetupBlock& block) {
  Tower* setup = NewestChildTower(design, kTypeBoardSetup);
  if (!setup) return;
  const std::vector<std::uint16_t> entries = ReadEntries(setup);
  if (!entries.empty()) {
    block.entries = static_cast<std::uint16_t*>(std::malloc(entries.size() * sizeof(std::uint16_t)));
    if (block.entries) {
      std::memcpy(block.entries, entries.data(), entries.size() * sizeof(std::uint16_t));
      block.entryCount = static_cast<std::uint32_t>(entries.size());
    }
  }
  // A value too short for its 16 bytes is left out.
  if (const std::uint8_t* value = ChildPayloadOfAtLeast(setup, kTypeBoardValue, sizeof(BoardValue)))
    std::memcpy(&block.board, value, sizeof(BoardValue));
  ReleaseTower(&setup);
}

void StoreBoardSetup(const Tower* design, const BoardSetupBlock& block) {
  Tower* setup = InsertEmptyEntity(design, kTypeBoardSetup);
  if (!setup) return;
  Tower* value = InsertEntity(setup, sizeof(BoardValue), kTypeBoardValue, &block.board);
  ReleaseTower(&value);
  if (block.entryCount && block.entries) {
    Tower* list = InsertEmptyEntity(setup, kTypeBoardSetupList);
    for (std::uint32_t i = 0; list && i < block.entryCount; ++i) {
      Tower* entry = InsertEntity(list, sizeof(std::uint16_t), kTypeBoardSetupEntry, &block.entries[i]);
      ReleaseTower(&entry);
    }
    ReleaseTower(&list);
  }
  ReleaseTower(&setup);
}

void ApplyBoardSetup(HWND window, CurrentWindowData& b, const BoardSetupBlock& block) {
  b.CopperLayerCount = block.copperLayers;
  DeleteChildEntities(b.design, kTypeBoardSetup);
  StoreLayerStackup(b.design, block.stackup);
  StoreBoardSetup(b.design, block);
  SetWorkingArea(b.WorkingArea);
  if (!SetCopperLayerCount(b.layerTable, b.CopperLayerCount, kEditorPcb, 0))
    b.CopperLayerCount = CountCopperLayersOf(b.layerTable);
  // The records changed whether or not the layer table took the new count.
  RecordDesignChange();
  b.Display = RebuildDisplayList(b.design, static_cast<DisplayList*>(b.Display));
  RedrawView(window);
}

}  // namespace

void DoBoardSetup(HWND window, CurrentWindowData& b) {
  CancelCurrentOperation(window, &b);
  if (!b.design) return;
  BoardSetupBlock block{b.CopperLayerCount, kDefaultBoardValue, 0, nullptr, nullptr};
  FillFromDesign(b.design, block);
  block.stackup = GetLayerStackup(b.design);
  if (PCBDimensionsDlg(window, &block) == IDOK) ApplyBoardSetup(window, b, block);
  std::free(block.entries);
  std::free(block.stackup);
}
