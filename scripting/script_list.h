// The scripts found at start in the "pcb" and "schematic" folders under the
// installation's "Scripts" folder; each becomes a command of the command
// table.
#pragma once
#include <cstdint>

struct ScriptEntry {
  std::uint32_t editor;  // 1 PCB script, 2 schematic script
  char* fileName;        // as the folder listing gives it, with extension; owned
  char* path;            // "<install>\scripts\<folder>\<file>"; owned
};

extern ScriptEntry* ScriptEntries;
extern std::uint32_t ScriptEntryCount;

// Empties the list, then scans "schematic" (2) and "pcb" (1).
void BuildScriptList();
// Appends one entry per file (not folder) of "<install>\Scripts\<folder>",
// in listing order. A missing folder adds nothing.
void ScanScriptFolder(const char* folder, std::uint32_t editor);
void FreeScriptList();
