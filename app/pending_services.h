// Services the application start-up and the configuration file call whose
// owners are not built yet. The program links refusing definitions
// (app/pending_services.cpp: a beep and a failure result, never success);
// tests link recording fakes. Each declaration goes when its owner lands.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

struct Tower;
struct CurrentWindowData;

// ---- Command handlers' owners -------------------------------------------------------

// Redraws the rubber-band ghost of the window (Shift changes its shape).
void UpdateRubberBandGhost(HWND window);
// The work of a built-in command, named as the command is ("insert.line",
// "tools.select", ...), done by the module that owns it for the active
// window; non-zero when handled. Also "edit.acceptpolygonpoint.measure"
// (start a new measurement at the cursor) and "insert.via.trackend" (a via
// at the end of the track being added).
std::uint32_t PerformCommandOperation(const char* operation, HWND window, void* view, void* state,
                                      std::uint32_t parameter);
// Ends the window's current operation: the ghost is erased, any pending
// record or selection dropped, and the mode returns to idle.
void CancelCurrentOperation(HWND window, void* state);
// Selects the insert tool of the command ("insert.line", ...) with its flag
// (line or arc flag, locator kind, or 0) and starts an item at the cursor.
void BeginInsertTool(const char* command, std::uint32_t flag, HWND window, void* view, void* state);
// Whether the owner lets a command act on the window's state: a selection
// or item a gated resend needs, "netediting" (the net editing option),
// "edit.cancel.polygon" (a polygon-like item is being entered or is the one
// selected), "insert.centroid" (none placed yet), "insert.pcbdesignatorlocator"
// (none placed yet), "insert.pin" (unplaced pins exist), "tools.findsymbol"
// (symbols placed or packaged), "tools.runsimulation" (SPICE configured),
// "edit.incrementpadname"/"edit.decrementpadname" (a pad is being named).
int CommandPrecondition(const char* check, HWND window, void* state);
// A line in the console pane of the window's state block.
void AddWindowConsoleMessage(HWND window, const char* text, std::uint32_t kind);
// Sets the window's zoom from the ten-level table by the parameter ('0' + level - 1).
void ZoomToLevel(HWND window, void* state, std::uint32_t parameter, std::uint32_t firstViewWord);
// Runs a script file in a fresh script state; non-zero on success.
int RunScriptFile(const char* path);
// Shows the active editor's right-button menu as an owner-drawn pop-up at a
// screen point, owned by `owner`; 0 when it could not be shown (none is
// loaded). Defined in app/hold_menu.cpp.
int ShowHoldMenu(HWND owner, int x, int y);
// The editors' right-button menu (null while none is loaded); the menu code
// that replaces it destroys the old one with its owner-drawn data.
extern HMENU RightButtonMenu;

// ---- Menus per document kind --------------------------------------------------------

// Turns every item of the menu (recursively into its pop-ups) into an
// owner-drawn item that keeps its text for drawing; a pop-up that is not top
// level is measured first; with extras the items take their images and key
// texts. Frees the owner-draw data of the menu and its pop-ups.
void MakeMenuOwnerDrawn(HMENU menu, int topLevel, int withExtras);
void FreeOwnerDrawnMenu(HMENU menu);
