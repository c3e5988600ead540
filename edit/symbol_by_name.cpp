#include "edit/symbol_by_name.h"

#include <cstring>
#include <string_view>

#include "edit/edit_modes.h"
#include "edit/engine_seams.h"
#include "edit/insertion_array.h"
#include "edit/status_bar.h"
#include "edit/symbol_by_name_seams.h"
#include "edit/window_data.h"
#include "objects/designators.h"
#include "objects/payload_access.h"
#include "objects/editor_seams.h"
#include "objects/type_codes.h"
#include "platform/text_case.h"
#include "platform/user.h"
#include "store/tower.h"

namespace {

constexpr std::uint32_t kInsertSymbol = 4;
constexpr std::uint32_t kCursorNewSymbol = 6;

}  // namespace

Tower* FindPlacedSymbol(const Tower* design, const char* name) {
  if (!design || !name) return nullptr;
  const std::string_view wanted(name);
  Tower* found = nullptr;
  Tower* symbols = GetChildTower(design, Type_SymbolInstance);
  while (!found && symbols && FindNextEntity(symbols)) {
    Tower* group = NewestChildTower(symbols, Type_Designator);
    const char* text = group ? GetDesignatorText(group) : nullptr;
    if (text && pl3::EqualsNoCase(std::string_view(text), wanted)) found = DuplicateTower(symbols);
    ReleaseTower(&group);
  }
  ReleaseTower(&symbols);
  return found;
}

int PlaceSymbolByName(HWND window, const char* designPath, const char* name) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !w->design || !name || !*name) return 0;
  if (Tower* placed = FindPlacedSymbol(w->design, name)) {
    const pl3::Point cursor = w->Cursor;
    // A symbol that was already the selection is taken out of it: nothing
    // is left selected then, and the tool ends as when nothing was picked.
    SelectObject(placed, 0);
    if (!w->SelectionList) ClearToolMode(window);
    ReleaseTower(&placed);
    UpdateStatusBar(window);
    w->Cursor = cursor;
    return 1;
  }
  Tower* definition = LoadSymbolDefinitionByName(window, designPath, name);
  if (!definition) {
    MessageBeep(MB_ICONEXCLAMATION);
    return 0;
  }
  DeleteChildEntities(definition, Type_DontReloadGroup);
  // Held and ghosted as any item placed; its origin lies under the cursor.
  const int held = BeginPlacingItem(window, &w->PendingRecord, definition);
  ReleaseTower(&definition);
  if (!held) return 0;
  DeleteChildEntities(w->design, kTypePendingDesignator);
  Tower* pending = InsertEntity(w->design, static_cast<std::uint32_t>(std::strlen(name) + 1), kTypePendingDesignator,
                                name);
  ReleaseTower(&pending);
  w->EditMode = Mode_NewSymbol;
  w->InsertType = kInsertSymbol;
  SetEditCursor(kCursorNewSymbol);
  return 1;
}
