#include "pcb/symbol_drop.h"

#include <cmath>
#include <cstring>
#include <string>

#include "app/core_utilities.h"
#include "app/open_requests.h"
#include "app/pending_services.h"
#include "edit/engine_seams.h"
#include "edit/window_data.h"
#include "objects/console_seams.h"
#include "objects/designators.h"
#include "objects/editor_seams.h"
#include "objects/item_helper_seams.h"
#include "objects/symbol_instances.h"
#include "objects/type_codes.h"
#include "pcb/pcb_window.h"
#include "pcb/pcb_window_seams.h"
#include "platform/menus.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/document_filing.h"
#include "store/tower.h"

namespace {

constexpr char kSymbolSuffix[] = "?pcbsymbol";
constexpr int kHitCapacity = 256;
constexpr UINT kDropMenuFirstId = 10;
constexpr std::uint32_t kSymbolMechanical = 0x1;
constexpr std::uint8_t kModePlacingSymbol = 24;
constexpr std::uint32_t kSymbolMenuKind = 16;

bool EndsWith(const char* text, const char* suffix) {
  const std::size_t n = std::strlen(text), m = std::strlen(suffix);
  return n >= m && std::strcmp(text + n - m, suffix) == 0;
}

// The Designator String of a placed symbol, or "".
std::string InstanceDesignator(const Tower* instance) {
  Tower* designator = OpenChildTower(instance, Type_Designator);
  const char* text = designator ? GetDesignatorText(designator) : nullptr;
  std::string result = text ? text : "";
  ReleaseTower(&designator);
  return result;
}

// The placed symbol the user means: the one Symbol Instance hit, or the one
// chosen from a menu of their designators; null when none.
Tower* ChooseHitSymbol(HWND window, Tower** hits, int count, POINT screen) {
  int only = -1, symbols = 0;
  HMENU menu = CreatePopupMenu();
  for (int i = 0; i < count; ++i) {
    if (TowerEntity(hits[i])->typeCode != Type_SymbolInstance) continue;
    ++symbols;
    only = i;
    AppendMenuA(menu, MF_STRING, kDropMenuFirstId + static_cast<UINT>(i), InstanceDesignator(hits[i]).c_str());
  }
  int chosen = -1;
  if (symbols == 1) {
    chosen = only;
  } else if (symbols > 1) {
    const BOOL id = TrackOwnerDrawnPopupMenu(menu, TPM_RETURNCMD, screen.x, screen.y, window);
    if (id >= static_cast<BOOL>(kDropMenuFirstId) && id < static_cast<BOOL>(kDropMenuFirstId) + count)
      chosen = id - static_cast<BOOL>(kDropMenuFirstId);
  }
  FreeOwnerDrawnMenu(menu);
  return chosen >= 0 ? DuplicateTower(hits[chosen]) : nullptr;
}

void StartPlacing(HWND window, CurrentWindowData& block, Tower* definition) {
  BeginPlaceSymbolDefinition(window, block.design, definition);
  SetEditCursor(6);
  block.EditMode = kModePlacingSymbol;
  block.InsertType = 4;
  SetSelectionAndOptionsMenus(kSymbolMenuKind);
}

}  // namespace

pl3::Point DropPointToWorld(const CurrentWindowData& block, std::int32_t x, std::int32_t y) {
  const auto world = [&](std::int32_t pixel, std::int32_t origin) {
    const double v = (static_cast<double>(pixel) + origin) * static_cast<double>(block.Zoom);
    return static_cast<std::int32_t>(static_cast<std::int64_t>(std::llround(v)));
  };
  return {world(x, block.ViewOriginX), world(y, block.ViewOriginY)};
}

int DropSymbolOnBoard(HWND window, CurrentWindowData* block, const PcbSymbolDrop* drop) {
  if (!drop || !drop->itemName || !EndsWith(drop->itemName, kSymbolSuffix) || !block || !block->design) {
    MessageBeep(MB_ICONEXCLAMATION);
    return 0;
  }
  POINT screen{};
  GetCursorPos(&screen);
  MakePCBWindowCurrent(block);
  SetActiveWindow(FrameWindow);
  SetFocus(window);
  const pl3::Point world = DropPointToWorld(*block, drop->x, drop->y);

  Tower* hits[kHitCapacity] = {};
  int count = CollectHitsAtPoint(window, world, hits, kHitCapacity);
  if (count > kHitCapacity) count = kHitCapacity;
  Tower* instance = count ? ChooseHitSymbol(window, hits, count, screen) : nullptr;
  for (int i = 0; i < count; ++i) ReleaseTower(&hits[i]);
  if (instance) {
    LoadDroppedSymbolDefinition(instance, drop->containerFile, drop->itemName);
    return 0;
  }

  CancelCurrentOperation(window, block);
  const std::string item(drop->itemName);
  Tower* definition = FilingSystem_OpenAndLoad(drop->containerFile ? drop->containerFile : "", item.c_str(),
                                               block->design);
  if (!definition) return 0;
  if (GetSymbolOptions(definition) & kSymbolMechanical) {
    StartPlacing(window, *block, definition);
  } else if (!block->NetEditingEnabled) {
    MessageBeep(MB_ICONEXCLAMATION);
    AddConsoleMessage(static_cast<ConsolePane*>(block->Console), 6, 0, 0, 0, 1,
                      "You can only insert symbols into a PCB with the net editing option set.");
  } else if (!IsSymbolDefinitionComplete(definition)) {
    DeleteUnusedSymbolDefinition(block->design, definition);
    ReleaseTower(&definition);
    MessageBeep(MB_ICONEXCLAMATION);
    AddConsoleMessage(static_cast<ConsolePane*>(block->Console), 6, 0, 0, 0, 1, "Symbol has not passed it's DRC.");
    return 0;
  } else {
    StartPlacing(window, *block, definition);
  }
  ReleaseTower(&definition);
  return 1;
}
