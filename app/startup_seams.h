// What start-up, the frame's menus and the about box ask of subsystems that
// lie above app/ and are not built yet (plug-ins, the SPICE binding, the
// script menus, the crash report, the editors' menu updaters and window
// classes). Each owner defines its functions; until it lands the program
// links the stand-ins of app/startup_seams_pending.cpp.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

struct Tower;

// ---- Plug-ins ----------------------------------------------------------------------------------

void LoadPlugins();
void FreePlugins();
// The loaded plug-ins in load order, as the about box lists them.
struct PluginCredit {
  std::uint32_t kind;        // 1 netlist import, 2 export, others
  const char* description;
  std::uint32_t version;     // hundredths
  const char* copyright;
};
std::uint32_t LoadedPluginCount();
bool GetLoadedPluginCredit(std::uint32_t index, PluginCredit* out);
// Fills the "Import Net" pop-up of the PCB net menu with the netlist plug-ins.
void BuildImportNetMenu(HMENU netMenu);

// ---- SPICE ----------------------------------------------------------------------------------------

void LoadSpiceLibrary();
// The parsed spice attribute descriptions of the file, or null.
void* ReadSpiceAttributes(const char* path);
void FreeSpiceAttributes(void* descriptions);

// ---- Scripting --------------------------------------------------------------------------------------

// Adds the BOM script entries to the "&File" pop-up.
void AddBOMScriptMenu(HMENU filePopup);
void FreeScriptMenus();

// ---- Crash report ----------------------------------------------------------------------------------

// The unhandled-exception filter that leads to the crash report.
LONG CrashExceptionFilter(void* exceptionPointers);

// ---- Editors: window classes and menu items -------------------------------------------------------

// Registers the window classes of the editors, panes and controls not built
// yet, in start-up order, each under its own name; false at the first that
// cannot be registered.
bool RegisterPendingWindowClasses(HINSTANCE instance);
void UnregisterPendingWindowClasses(HINSTANCE instance);
// The undo and redo items of the frame's menu for the active window.
void UpdateUndoMenu(HWND frame);
// The net editing items of a PCB window.
void UpdateNetEditMenu(HWND frame);
// The 3D view mode items.
void UpdateView3DModeMenu(HWND frame);
// The root type of what the program clipboard holds, 0 when it is empty.
std::uint16_t ProgramClipboardRootType();
// 1 when the design has a netlist.
int HasNetHierGroup(const Tower* design);
