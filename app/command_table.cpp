#include "app/command_table.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/pending_services.h"
#include "edit/layer_toggle.h"
#include "edit/window_data.h"
#include "geometry/natural_order.h"
#include "platform/reset_hooks.h"
#include "platform/text_case.h"
#include "platform/user.h"

CommandTable LiveCommandTable{};

namespace {

char* CopyText(const char* text) {
  if (!text) return nullptr;
  const std::size_t n = std::strlen(text) + 1;
  auto* copy = static_cast<char*>(std::malloc(n));
  std::memcpy(copy, text, n);
  return copy;
}

template <typename T>
T* CopyArray(const T* source, std::uint32_t count) {
  if (!source || count == 0) return nullptr;
  auto* copy = static_cast<T*>(std::malloc(sizeof(T) * count));
  std::memcpy(copy, source, sizeof(T) * count);
  return copy;
}

bool SameName(const char* a, const char* b) { return a && b && pl3::EqualsNoCase(a, b); }

void DropKeys(CommandRecord& record) {
  std::free(record.keyCodes);
  std::free(record.keyText);
  record.keyCodes = nullptr;
  record.keyText = nullptr;
  record.keyCount = 0;
}

int ToolModeRank(std::int32_t mode) {
  switch (mode) {
    case kToolModeIdle: return 1;
    case kToolModeTool: return 2;
    case kToolModeAny: return 3;
    default: return 0;
  }
}

bool ToolModeFits(std::int32_t toolMode, std::uint32_t editMode) {
  if (toolMode == kToolModeAny) return true;
  if (toolMode == kToolModeTool) return editMode != 0;
  return static_cast<std::uint32_t>(toolMode) == editMode;
}

bool KeyDown(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

// The system's name of a key, as GetKeyNameText gives it.
std::string KeyName(LONG keyBits) {
  char buffer[256] = {};
  const int n = GetKeyNameText(keyBits, buffer, sizeof buffer);
  return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}

void AppendKeyName(std::string& text, std::uint16_t code) {
  switch (code) {
    case 37: text += "Left"; return;
    case 38: text += "Up"; return;
    case 39: text += "Right"; return;
    case 40: text += "Down"; return;
    case 107: text += "Num +"; return;
    case 109: text += "Num -"; return;
    case 33: case 34: case 35: case 36: case 45: case 46: {
      const UINT scan = MapVirtualKey(code, 0);
      text += KeyName(static_cast<LONG>((scan << 16) | (1u << 24)));
      return;
    }
    default: break;
  }
  const UINT scan = MapVirtualKey(code, 0);
  if (scan == 0) {
    text += static_cast<char>(code);
    return;
  }
  std::string name = pl3::LowerCopy(KeyName(static_cast<LONG>((scan & 0xFF) << 16)));
  if (!name.empty()) name[0] = pl3::AsciiUpper(name[0]);
  text += name;
}

void ResetCommandTables() { FreeCommandTables(); }
const bool registered = pl3::RegisterGlobalReset(&ResetCommandTables);

}  // namespace

void AddCommand(const char* name, const char* caption, std::uint32_t kindMask, std::int32_t toolMode,
                CommandHandler handler, std::uint32_t userParameter) {
  for (std::uint32_t bit = 0; bit < 32; ++bit) {
    const std::uint32_t context = 1u << bit;
    if (!(kindMask & context)) continue;
    auto* grown = static_cast<CommandRecord*>(
        std::realloc(LiveCommandTable.records, sizeof(CommandRecord) * (LiveCommandTable.count + 1)));
    if (!grown) return;
    LiveCommandTable.records = grown;
    CommandRecord& record = grown[LiveCommandTable.count++];
    record = CommandRecord{};
    record.name = CopyText(name);
    record.caption = CopyText(caption);
    record.contextBit = context;
    record.kindMask = kindMask;
    record.toolMode = toolMode;
    record.handler = handler;
    record.userParameter = userParameter;
  }
}

void BindCommandMenuId(const char* name, std::uint32_t menuId) {
  for (std::uint32_t i = 0; i < LiveCommandTable.count; ++i) {
    CommandRecord& record = LiveCommandTable.records[i];
    if (!SameName(record.name, name)) continue;
    auto* grown = static_cast<CommandMenuBinding*>(
        std::realloc(record.menuBindings, sizeof(CommandMenuBinding) * (record.menuBindingCount + 1)));
    if (!grown) continue;
    record.menuBindings = grown;
    grown[record.menuBindingCount++] = CommandMenuBinding{record.kindMask, menuId};
  }
}

void SetCommandKeyCodes(CommandTable* table, const char* name, std::uint32_t count, const std::uint16_t* codes) {
  char* text = count ? FormatKeyCodes(count, codes) : nullptr;
  for (std::uint32_t i = 0; i < table->count; ++i) {
    CommandRecord& record = table->records[i];
    if (!SameName(record.name, name)) continue;
    DropKeys(record);
    record.keyCodes = CopyArray(codes, count);
    record.keyCount = record.keyCodes ? count : 0;
    record.keyText = record.keyCount ? CopyText(text) : nullptr;
  }
  std::free(text);
}

void SetCommandKey(CommandTable* table, const char* name, std::uint16_t key) {
  SetCommandKeyCodes(table, name, 1, &key);
}

void SetCommandKeys2(const char* name, std::uint16_t code1, std::uint16_t code2) {
  const std::uint16_t codes[] = {code1, code2};
  SetCommandKeyCodes(&LiveCommandTable, name, 2, codes);
}

void SetCommandKeys3(const char* name, std::uint16_t code1, std::uint16_t code2, std::uint16_t code3) {
  const std::uint16_t codes[] = {code1, code2, code3};
  SetCommandKeyCodes(&LiveCommandTable, name, 3, codes);
}

char* FormatKeyCodes(std::uint32_t count, const std::uint16_t* codes) {
  std::string text;
  for (std::uint32_t i = 0; i < count; ++i) {
    if (i) text += '+';
    AppendKeyName(text, codes[i]);
  }
  return CopyText(text.c_str());
}

char* FormatKeySequence(const KeySequence& sequence) { return FormatKeyCodes(sequence.count, sequence.codes); }

int CompareCommandRecords(const CommandRecord* a, const CommandRecord* b) {
  if (a->keyCount != b->keyCount) return a->keyCount < b->keyCount ? -1 : 1;
  if (!a->keyText != !b->keyText) return a->keyText ? 1 : -1;
  if (a->keyText) {
    const int byText = pl3::CompareNoCase(a->keyText, b->keyText);
    if (byText) return byText < 0 ? -1 : 1;
  }
  if (a->contextBit != b->contextBit) return a->contextBit < b->contextBit ? -1 : 1;
  const int rankA = ToolModeRank(a->toolMode), rankB = ToolModeRank(b->toolMode);
  if (rankA != rankB) return rankA < rankB ? -1 : 1;
  return 0;
}

int CompareCommandNames(const CommandRecord* a, const CommandRecord* b) {
  return pl3::CompareNoCase(a->name ? a->name : "", b->name ? b->name : "");
}

int CompareCommandCaptions(const CommandRecord* a, const CommandRecord* b) {
  return pl3::CompareNamesNatural(a->caption ? a->caption : "", b->caption ? b->caption : "");
}

void SortCommandTable() {
  // Stable, so records equal in all four keys (F7, Enter, Backspace, Esc and
  // A have such pairs) are tried in the order they were registered.
  std::stable_sort(LiveCommandTable.records, LiveCommandTable.records + LiveCommandTable.count,
                   [](const CommandRecord& a, const CommandRecord& b) { return CompareCommandRecords(&a, &b) < 0; });
}

void SortCommandsByCaption(CommandRecord** records, std::uint32_t count) {
  pl3::SortNamesNatural(records, records + count,
                        [](const CommandRecord* r) -> const char* { return r->caption ? r->caption : ""; });
}

void BuildCommandMenuIndex() {
  // Built afresh: an older index may point into a table since freed.
  std::vector<CommandMenuIndexEntry> entries;
  for (std::uint32_t i = 0; i < LiveCommandTable.count; ++i) {
    CommandRecord& record = LiveCommandTable.records[i];
    for (std::uint32_t b = 0; b < record.menuBindingCount; ++b)
      for (std::uint32_t bit = 0; bit < 32; ++bit)
        if (record.menuBindings[b].kindMask & (1u << bit))
          entries.push_back(CommandMenuIndexEntry{1u << bit, record.menuBindings[b].menuId, &record});
  }
  std::free(CommandMenuIndex);
  CommandMenuIndex = CopyArray(entries.data(), static_cast<std::uint32_t>(entries.size()));
  CommandMenuIndexCount = CommandMenuIndex ? static_cast<std::uint32_t>(entries.size()) : 0;
}

void SortCommandMenuIndex() {
  std::sort(CommandMenuIndex, CommandMenuIndex + CommandMenuIndexCount,
            [](const CommandMenuIndexEntry& a, const CommandMenuIndexEntry& b) {
              if (a.contextBit != b.contextBit) return a.contextBit < b.contextBit;
              return a.menuId < b.menuId;
            });
}

void FreeCommandMenuIndex() {
  std::free(CommandMenuIndex);
  CommandMenuIndex = nullptr;
  CommandMenuIndexCount = 0;
}

void DispatchKeyCommand(std::uint32_t virtualKey, LPARAM, HWND window, void* view, void* state) {
  if (virtualKey == 16) {
    UpdateRubberBandGhost(window);
    return;
  }
  if (virtualKey == 17 || virtualKey == 18) return;
  // Kind and mode come from the active window's block, whatever window
  // passed the key on.
  const CurrentWindowData* active = ActiveWindowData;
  std::uint16_t codes[3];
  KeyLookup lookup{active ? active->editorKind : 0u, active ? active->EditMode : 0u, 0, codes};
  const bool ctrl = KeyDown(VK_CONTROL);
  if (ctrl) codes[lookup.count++] = 17;
  const bool shift = KeyDown(VK_SHIFT);
  if (shift) {
    codes[lookup.count++] = 16;
    UpdateRubberBandGhost(window);
  }
  codes[lookup.count++] = static_cast<std::uint16_t>(virtualKey);
  if (ctrl && !shift && lookup.kind == 1 && ToggleLayerByKey(window, view, virtualKey, state)) return;
  RunMatchingCommand(lookup, window, view, state);
}

std::uint32_t RunMatchingCommand(const KeyLookup& lookup, HWND window, void* view, void* state) {
  // A handler may change the table, so each record is read anew by index.
  for (std::uint32_t i = 0; i < LiveCommandTable.count; ++i) {
    const CommandRecord& record = LiveCommandTable.records[i];
    if (record.contextBit != lookup.kind || !ToolModeFits(record.toolMode, lookup.editMode)) continue;
    if (record.keyCount != lookup.count || !record.handler) continue;
    if (!std::equal(lookup.codes, lookup.codes + lookup.count, record.keyCodes)) continue;
    const CommandHandler handler = record.handler;
    const std::uint32_t parameter = record.userParameter;
    if (handler(window, view, state, parameter)) return 1;
  }
  return 0;
}

void ClearCommandKeys() {
  for (std::uint32_t i = 0; i < LiveCommandTable.count; ++i)
    if (LiveCommandTable.records[i].keyCodes) DropKeys(LiveCommandTable.records[i]);
}

void FreeCommandTable(CommandTable* table) {
  for (std::uint32_t i = 0; i < table->count; ++i) {
    CommandRecord& record = table->records[i];
    std::free(record.keyText);
    std::free(record.caption);
    std::free(record.menuBindings);
    std::free(record.keyCodes);
    std::free(record.name);
  }
  std::free(table->records);
  table->records = nullptr;
  table->count = 0;
}

void FreeCommandTables() {
  FreeCommandTable(&LiveCommandTable);
  FreeCommandMenuIndex();
}

void CopyCommandTableInto(CommandTable* destination, const CommandTable* source) {
  destination->count = 0;
  destination->records = nullptr;
  if (!source->count) return;
  destination->records = static_cast<CommandRecord*>(std::calloc(source->count, sizeof(CommandRecord)));
  destination->count = source->count;
  for (std::uint32_t i = 0; i < source->count; ++i) {
    const CommandRecord& from = source->records[i];
    CommandRecord& to = destination->records[i];
    to = from;
    to.name = CopyText(from.name);
    to.keyText = CopyText(from.keyText);
    to.caption = CopyText(from.caption);
    to.menuBindings = CopyArray(from.menuBindings, from.menuBindingCount);
    to.keyCodes = CopyArray(from.keyCodes, from.keyCount);
  }
}

CommandTable* CopyCommandTable(const CommandTable* source) {
  auto* table = static_cast<CommandTable*>(std::calloc(1, sizeof(CommandTable)));
  CopyCommandTableInto(table, source);
  return table;
}
