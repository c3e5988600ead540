// The command table: every named editor command once per document kind it
// serves, with its caption, tool-mode condition, handler and key sequence.
// Key presses in editor windows are matched against it in table order; the
// owner-drawn menus read their shortcut text from it through a menu index.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

// handler(window, view record, editing state, user parameter): non-zero when
// handled; 0 lets the key search go on.
using CommandHandler = std::uint32_t (*)(HWND window, void* view, void* state, std::uint32_t parameter);

// Tool-mode conditions of a record besides a specific edit mode.
constexpr std::int32_t kToolModeAny = -2;    // any edit mode
constexpr std::int32_t kToolModeTool = -1;   // only while some tool is active
constexpr std::int32_t kToolModeIdle = 0;    // only when idle

struct CommandMenuBinding {
  std::uint32_t kindMask;  // the record's kind mask when bound
  std::uint32_t menuId;
};

struct CommandRecord {
  char* name;                         // compared case-insensitively
  char* keyText;                      // null while the command has no keys
  char* caption;
  std::uint32_t contextBit;           // the one document kind this record serves
  std::uint32_t kindMask;             // every kind given at registration
  CommandMenuBinding* menuBindings;   // null when none
  std::uint32_t menuBindingCount;
  std::int32_t toolMode;              // kToolMode... or a specific edit mode
  CommandHandler handler;             // may be null: the record never runs
  std::uint32_t keyCount;             // 0 = no keys
  std::uint16_t* keyCodes;            // Ctrl (17) first, then Shift (16), then the key
  std::uint32_t userParameter;
};

struct CommandTable {
  CommandRecord* records;
  std::uint32_t count;
};

struct CommandMenuIndexEntry {
  std::uint32_t contextBit;
  std::uint32_t menuId;
  CommandRecord* record;
};

// A key sequence as dispatched: at most three codes.
struct KeyLookup {
  std::uint32_t kind;      // document kind of the active window
  std::uint32_t editMode;  // its edit mode byte
  std::uint32_t count;
  const std::uint16_t* codes;
};

// A key sequence of any length (the bindings file, the accelerator editor).
struct KeySequence {
  std::uint32_t count;
  std::uint16_t* codes;  // owned by whoever holds the record
};

// The live table and the menu index over it.
extern CommandTable LiveCommandTable;
extern CommandMenuIndexEntry* CommandMenuIndex;
extern std::uint32_t CommandMenuIndexCount;

// One record per set bit of kindMask, appended to the live table.
void AddCommand(const char* name, const char* caption, std::uint32_t kindMask, std::int32_t toolMode,
                CommandHandler handler, std::uint32_t userParameter);
void BindCommandMenuId(const char* name, std::uint32_t menuId);
// Give every record of the name this key sequence (replacing its keys).
void SetCommandKeyCodes(CommandTable* table, const char* name, std::uint32_t count, const std::uint16_t* codes);
void SetCommandKey(CommandTable* table, const char* name, std::uint16_t key);
void SetCommandKeys2(const char* name, std::uint16_t code1, std::uint16_t code2);
void SetCommandKeys3(const char* name, std::uint16_t code1, std::uint16_t code2, std::uint16_t code3);

// Key text of a code list ("Ctrl+Shift+Z", "F1", "Num +"); a new heap string.
char* FormatKeyCodes(std::uint32_t count, const std::uint16_t* codes);
char* FormatKeySequence(const KeySequence& sequence);

int CompareCommandRecords(const CommandRecord* a, const CommandRecord* b);
int CompareCommandNames(const CommandRecord* a, const CommandRecord* b);
int CompareCommandCaptions(const CommandRecord* a, const CommandRecord* b);
// Stable: records equal in every sort key keep their registration order.
void SortCommandTable();
// Records in the order the Keyboard page lists them (natural caption order).
void SortCommandsByCaption(CommandRecord** records, std::uint32_t count);

void BuildCommandMenuIndex();
void SortCommandMenuIndex();
void FreeCommandMenuIndex();
// The shortcut text a menu item shows; null when no command is bound to it.
const char* GetCommandKeyText(std::uint32_t contextBit, std::uint32_t menuId);

// Called by the editor windows for key-down messages.
void DispatchKeyCommand(std::uint32_t virtualKey, LPARAM keyData, HWND window, void* view, void* state);
// 1 when a matching record's handler reported handled, else 0.
std::uint32_t RunMatchingCommand(const KeyLookup& lookup, HWND window, void* view, void* state);

void ClearCommandKeys();
void FreeCommandTable(CommandTable* table);
// Frees the live table and the index (at exit).
void FreeCommandTables();
CommandTable* CopyCommandTable(const CommandTable* source);
void CopyCommandTableInto(CommandTable* destination, const CommandTable* source);
