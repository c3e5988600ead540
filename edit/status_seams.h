// What the status bar texts need of the application frame, the docking
// panes and the schematic side, which lie above the editing engine. The
// program's stand-ins are app/status_bar_seams_pending.cpp and
// app/docking_seams_pending.cpp until their owners land; tests link
// recording fakes.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

struct Tower;

// The frame's status bar control ("msctls_statusbar32"), or null when the
// frame has none.
HWND FrameStatusBar();

// The program-wide display unit code (configuration record 10309, 2 at
// start): 2, 3 and 5 are metric, every other code imperial. Defined with
// the configuration options (app/).
extern std::uint32_t DisplayUnitsCode;

// The value of a named attribute of an Imported Symbol of the netlist (the
// designator itself for "Designator"), not a copy; null when it has none.
const char* GetImportedSymbolValue(const Tower* importedSymbol, const char* name);

// ---- The docking panes ---------------------------------------------------------

// The panes whose client windows the engine sends messages to.
enum DockingPaneId : std::uint32_t {
  Pane_Info = 1,
  Pane_Grids = 2,
  Pane_Layers = 3,
};
// Message 1031 (WM_USER + 7): the Layers pane shows the layers' flags anew.
constexpr UINT kLayersPaneRefreshMessage = 1031;
// Message 1030 (WM_USER + 6): the Info and Grids panes' refresh with the
// window state block (the Info pane takes it as wParam, the Grids pane as lParam).
constexpr UINT kPaneRefreshMessage = 1030;
// Sends a message to the client window of a pane; 0 when the pane is not there.
LRESULT Docking_SendToPaneClient(std::uint32_t pane, UINT message, WPARAM wParam, LPARAM lParam);
// The component bin pane kept in step with placed symbols.
void ComponentBinMarkPlaced(const Tower* instance);
void ComponentBinMarkUnplaced(const Tower* instance);
void ComponentBinAddSymbol(const Tower* instance, const Tower* importedSymbol, const char* designator);
// A new heap text with the first numeric token plus one (up) or minus one
// (when above 0); null when the owner cannot make one.
char* StepNameNumber(const char* text, int up);
// Sets every toolbar button's enabled and checked state for a window kind.
void UpdateToolbarStates(std::uint32_t kind);
