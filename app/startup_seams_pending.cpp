// The program's stand-ins for the services of app/startup_seams.h until
// their owners land: no plug-ins, no SPICE library, no script menus, no
// crash report, and the window classes of the editors not built yet
// registered with the default procedure, so that start-up goes on.
#include "app/startup_seams.h"

#include "platform/user.h"

namespace {
// The classes whose owners are not built yet, in start-up order.
const char* const kPendingClasses[] = {
    "SHAPE_CHILD",       "PAD_STACK_CHILD",    "SYMBOL_CHILD",     "RESIZE_CLASS",
    "LIBRARY_CHILD",   "SCHEMATIC_CHILD",   "CELLBOX",            "PACKAGE_CHILD",    "COMMANDBARDOCK",
    "COMMANDBARCLIENT", "COMMANDBAR",       "PROJECTCLASS",       "COMPONENTBINCLASS", "LAYERCONTROLCLASS",
    "InfoControlCLASS", "SPICEPLOT_CHILD",    "SPICECONSOLECLASS", "PROPERTYGRIDCOMBOBOX",
    "PROPERTYGRID",    "TOOLSPANECLASS",    "VIEW3D_CHILD",       "CONTOUR_CHILD",    "LAYERSTACKUP"};
}  // namespace

void LoadPlugins() {}
void FreePlugins() {}
std::uint32_t LoadedPluginCount() { return 0; }
bool GetLoadedPluginCredit(std::uint32_t, PluginCredit*) { return false; }
void BuildImportNetMenu(HMENU) {}

void LoadSpiceLibrary() {}
void* ReadSpiceAttributes(const char*) { return nullptr; }
void FreeSpiceAttributes(void*) {}

void AddBOMScriptMenu(HMENU) {}
void FreeScriptMenus() {}

LONG CrashExceptionFilter(void*) { return 0; }

bool RegisterPendingWindowClasses(HINSTANCE instance) {
  for (const char* name : kPendingClasses) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &DefWindowProcA;
    wc.hInstance = instance;
    wc.lpszClassName = name;
    if (!RegisterClassA(&wc)) return false;
  }
  return true;
}

void UnregisterPendingWindowClasses(HINSTANCE instance) {
  for (const char* name : kPendingClasses) UnregisterClassA(name, instance);
}

void UpdateNetEditMenu(HWND) {}
void UpdateView3DModeMenu(HWND) {}
int HasNetHierGroup(const Tower*) { return 0; }
