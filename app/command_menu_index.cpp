// The menu index of the command table: which command a menu item runs and
// the key text its menu line shows. Kept apart from the table's dispatch so
// that drawing a menu line does not bring in every command handler.
#include <algorithm>
#include <utility>

#include "app/command_table.h"

CommandMenuIndexEntry* CommandMenuIndex = nullptr;
std::uint32_t CommandMenuIndexCount = 0;

const char* GetCommandKeyText(std::uint32_t contextBit, std::uint32_t menuId) {
  const CommandMenuIndexEntry* end = CommandMenuIndex + CommandMenuIndexCount;
  const CommandMenuIndexEntry* found =
      std::lower_bound(static_cast<const CommandMenuIndexEntry*>(CommandMenuIndex), end, std::pair{contextBit, menuId},
                       [](const CommandMenuIndexEntry& e, const std::pair<std::uint32_t, std::uint32_t>& key) {
                         return e.contextBit != key.first ? e.contextBit < key.first : e.menuId < key.second;
                       });
  if (found == end || found->contextBit != contextBit || found->menuId != menuId) return nullptr;
  return found->record->keyText;
}
