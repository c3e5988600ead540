#include "scripting/script_list.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "app/script_seams.h"
#include "app/settings_block.h"
#include "platform/kernel_files.h"
#include "platform/reset_hooks.h"

ScriptEntry* ScriptEntries = nullptr;
std::uint32_t ScriptEntryCount = 0;

namespace {

char* CopyText(const std::string& text) {
  auto* copy = static_cast<char*>(std::malloc(text.size() + 1));
  std::memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

const char* InstallFolder() { return Settings && Settings->InstallPath ? Settings->InstallPath : ""; }

void Append(std::uint32_t editor, const std::string& fileName, const std::string& path) {
  auto* grown = static_cast<ScriptEntry*>(std::realloc(ScriptEntries, sizeof(ScriptEntry) * (ScriptEntryCount + 1)));
  if (!grown) return;
  ScriptEntries = grown;
  grown[ScriptEntryCount++] = ScriptEntry{editor, CopyText(fileName), CopyText(path)};
}

const bool registered = pl3::RegisterGlobalReset(&FreeScriptList);

}  // namespace

void ScanScriptFolder(const char* folder, std::uint32_t editor) {
  const std::string install = InstallFolder();
  const std::string pattern = install + "\\Scripts\\" + folder + "\\*.*";
  WIN32_FIND_DATA found{};
  HANDLE search = FindFirstFile(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    Append(editor, found.cFileName, install + "\\scripts\\" + folder + "\\" + found.cFileName);
  } while (FindNextFile(search, &found));
  FindClose(search);
}

void BuildScriptList() {
  FreeScriptList();
  ScanScriptFolder("schematic", 2);
  ScanScriptFolder("pcb", 1);
}

void FreeScriptList() {
  for (std::uint32_t i = 0; i < ScriptEntryCount; ++i) {
    std::free(ScriptEntries[i].fileName);
    std::free(ScriptEntries[i].path);
  }
  std::free(ScriptEntries);
  ScriptEntries = nullptr;
  ScriptEntryCount = 0;
}

std::uint32_t ScriptListCount() { return ScriptEntryCount; }

bool GetScriptListEntry(std::uint32_t i, std::uint32_t* editor, const char** fileName, const char** path) {
  if (i >= ScriptEntryCount) return false;
  *editor = ScriptEntries[i].editor;
  *fileName = ScriptEntries[i].fileName;
  *path = ScriptEntries[i].path;
  return true;
}
