// What the command table reads of the scripting module's script list. The
// scripting module (a higher layer) defines these.
#pragma once
#include <cstdint>

std::uint32_t ScriptListCount();
// Entry i of the list: editor (1 PCB, 2 schematic), file name and full path;
// false past the end.
bool GetScriptListEntry(std::uint32_t i, std::uint32_t* editor, const char** fileName, const char** path);
