// What the editing engine calls in the application frame and the editors,
// which lie above it. Declared here; the program defines them in app/ (some
// as refusing stand-ins until their owners land) and tests link recording
// fakes where they must observe a call.
#pragma once
#include <cstdint>

// One line in the active document's console.
void WriteEngineConsoleLine(const char* text);
// The program's crosshair style setting (1 target cursors, 0 crosshair lines).
std::uint32_t CurrentCrosshairSetting();

// ---- The mouse road's calls into the tools of the editors and the frame ----
#include "geometry/types.h"
#include "platform/win_types.h"

struct ButtonRecord;
struct EntityRecord;

// What the ghost updater of a mode redraws; the updaters belong to the tools.
enum class GhostKind : std::uint8_t {
  None,
  RubberBandLine,   // 1, 6, 68, 69, 104
  PolygonEdge,      // 4, 17 (angle assist off)
  DragShape,        // 2, 3, 8 to 16, 18 to 23, 28, 29, 38, 49, 50, 107, 108
  DragStep,         // 7
  InsertionArray,   // 24 to 27 (angle assist off)
  PadNamePicking,   // 31, 41
  PadNameMoving,    // 32, 42 (angle assist off)
  TemporaryEntity,  // 33, 51, 110
  OriginMarker,     // 34, 40, 85
  SelectionMove,    // 39, 45, 70, only when the cursor moved
  Centroid,         // 59 to 61
  Spiral,           // 64 to 67
  Locator,          // 71, 74
  Dimensioner,      // 75 to 82
  Datum,            // 86
  MeasuringLine,    // 87
  NetEditing,       // 111
  MacroBlock,       // 113
};

// The tools' own steps: erase the mode's ghost, recompute it from the cursor
// and draw it again in XOR.
void UpdateModeGhost(GhostKind kind, HDC dc, ButtonRecord* button, EntityRecord** pendingSlot);
// The commit of a placing or editing mode whose accept row belongs to its
// tool (every row of the accept table but the few the road does itself).
void CommitModeItem(std::uint8_t mode, HWND window, ButtonRecord* button, EntityRecord** pendingSlot);
// A picking tool given the click.
void RunPickingTool(std::uint8_t mode, HWND window, ButtonRecord* button, EntityRecord** pendingSlot);
// The highlight and report tools (62 in a PCB window, 63, 103, 114).
void RunHighlightTool(std::uint8_t mode, HWND window, ButtonRecord* button);
// The net highlight of mode 62 outside PCB windows.
void ShowSchematicNetAtCursor();
// Opens the plane net assignment for the plane under the click (mode 73).
void SetPlaneNetAtPoint(HWND window, ButtonRecord* button);
// The default accept: stores the pending record; 1 when stored, 0 when refused.
int AcceptGraphicRecord(HWND window, EntityRecord** pendingSlot);

// Toggles the XOR ghost of the current mode (drawing twice erases).
void GhostCurrentMode(HWND window);
void CentreViewOnCursor(HWND window);
void CancelCurrentOperation(HWND window, void* block);
void ClearToolMode(HWND window);
void ClearSelectionArray(HWND window);
void DoSelect(HWND window, ButtonRecord* button, EntityRecord** pendingSlot);
void BeginInsertion(HWND window, ButtonRecord* button, EntityRecord** pendingSlot);
void DoDelete(HWND window, ButtonRecord* button, EntityRecord** pendingSlot);
void SetPolygonPoint(HWND window, ButtonRecord* button, EntityRecord** pendingSlot);
// Mode 39: adds the cursor to the single selected polygon's working copy.
void AddSelectedPolygonPoint(HWND window, ButtonRecord* button);
void CopyAtCursor(HWND window, ButtonRecord* button);
void PackageSymbolAtCursor(HWND window, ButtonRecord* button, EntityRecord** pendingSlot);
void PlaceFromSchematic(HWND window, ButtonRecord* button);
void EditAtCursor(HWND window, ButtonRecord* button);
// Moves the mouse to the centre of the pad under the cursor; 0 when none.
int GotoPadCentre(HWND window, ButtonRecord* button);
// Moves the window's XOR crosshair lines to client pixel (x, y) and keeps
// the position in the record (the drawing code; objects/editor_seams.h
// declares SetEditCursor).
struct CrosshairRecord;
void MoveCrosshair(HWND window, CrosshairRecord* record, std::int32_t x, std::int32_t y);
void RebuildSelectionMenu(HWND window);
void BeginMeasure(HWND window, ButtonRecord* button);
// The measuring tooltip: made on first use (maximum width 400), then tracked.
void ShowMeasuringTooltip(HWND window);
void SetMeasureTool(HWND window);
// Greys or enables "Clear Print Zone" (2475) in the frame's menu.
void EnablePrintZoneCommand(int enable);

// ---- The frame's menus, its tracking tooltip and the crosshair ----

// Rebuilds the frame menu for the active window's kind (with the Undo and
// Redo items, UpdateUndoMenu).
void ChangeMenu(int flags);
// Replaces the text that an owner-drawn menu item's data record carries
// (the record is the frame's; its old text is freed) with a copy of `text`.
void SetOwnerDrawnItemText(std::uintptr_t itemData, const char* text);
// Re-prepares the owner-drawn items of the menu after their texts changed.
void RefreshOwnerDrawnMenu(HMENU menu, int flags);
// Hides the measuring tooltip (the frame's tracking tooltip is deactivated).
void HideMeasuringTooltip(HWND window);
// Toggles the window's XOR crosshair lines at the record's position (the
// drawing code; nothing in the modes that hide the crosshair).
void DrawCrosshair(HWND window, const CrosshairRecord* record);
