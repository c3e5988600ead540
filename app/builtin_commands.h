// The program's built-in commands: their registration into the command table
// at start, and their handlers, which decide whether a command applies to the
// active window and hand the work to the module that owns it.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

// Builds the live command table: the built-in commands with their default
// keys, the zoom levels and one command per listed script; then applies and
// rewrites "accelerators.txt" in the configuration folder, sorts the table
// and builds the menu index. Any earlier table is freed first.
void RegisterCommands();

std::uint32_t ZoomToLevelCommand(HWND window, void* view, void* state, std::uint32_t parameter);
std::uint32_t RunScriptCommand(HWND window, void* view, void* state, std::uint32_t parameter);
// The handler of a built-in command by name (called directly by the frame
// hub, the schematic and PCB command functions and the scripting module);
// null for a name that is not built in.
using BuiltinHandler = std::uint32_t (*)(HWND window, void* view, void* state, std::uint32_t parameter);
BuiltinHandler FindBuiltinCommandHandler(const char* name);
