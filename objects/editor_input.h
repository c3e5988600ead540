// The editor window's small input handlers and the steps of the item in
// hand: key release, the rectangle and spiral placing steps, the end of a
// single-item pick, the designator toggle, the selection change, and the XOR
// ghost of the selection and the current edit mode.
#pragma once
#include <cstdint>

#include "geometry/types.h"
#include "objects/designators.h"  // kDesignatorHidden

struct CurrentWindowData;
struct EntityRecord;
struct SelectionInfo;
struct Tower;

// Set while Ctrl is held in an editor window; the key release clears it.
extern std::uint8_t CtrlKeyHeld;

// The command that asks the window to refresh its selection tools.
constexpr std::uint32_t kRefreshSelectionToolsCommand = 484;
// The selection-menu kind of a selection of mixed types.
constexpr std::uint32_t kMixedSelectionMenuKind = 21;

// The selection-menu kind of a selection: that of its primary records'
// common type (the item itself when there is one), the mixed kind when
// their types differ or none is primary.
std::uint32_t GetSelectionListMenuKind(const SelectionInfo* list);
// The item a selection record stands for: its working copy, else the original.
const Tower* SelectionItem(const SelectionInfo& record);
// The type code of the item a Tower stands on; 0xFFFF for none.
std::uint16_t ItemTypeCode(const Tower* item);

// The warning beep (the exclamation sound) of a refused action.
void WarningBeep();

// WM_KEYUP of an editor window: Shift ends the drag feedback of Edit
// Selection, Ctrl clears CtrlKeyHeld; other keys do nothing.
void EditorKeyUp(void* window, std::uint32_t key);
// The Shift release of Edit Selection.
void EndSelectionDragFeedback(void* window);

// The placing steps of the item in hand (the window's PendingRecord), at a
// point that each snaps to the grid; the ghost is XOR-drawn before and after
// the change.
// The rectangle's first corner is fixed at the point (its size kept) and the
// mode becomes Mode_RectangleFirstCorner.
void SetRectangleFirstCorner(void* window, CurrentWindowData& state, pl3::Point point);
// The rectangle follows the point by its first corner, its size kept.
void MoveRectangleFirstCorner(void* window, CurrentWindowData& state, pl3::Point point);
// The rectangle's opposite corner goes to the point, which sets its size.
void MoveRectangleOppositeCorner(void* window, CurrentWindowData& state, pl3::Point point);
// One click of the spiral tool: the centre (mode 65 follows), the start point
// (mode 66), the pitch (mode 67; refused with a beep while the pitch is 0).
void SpiralPlacementStep(void* window, CurrentWindowData& state, pl3::Point point);
// Stores the spiral in hand with undo and returns the editor to idle; a
// spiral that does not yet sweep past its start quadrant is refused with a beep.
void FinishSpiral(void* window, CurrentWindowData& state);

// Ends the single-item pick of the active window: the picked item loses its
// selected mark, is redrawn and released, and the mode returns to idle.
void EndItemPick(void* window);
// Shows or hides the first designator of every selected symbol instance; does
// nothing unless every primary selection is a symbol instance.
void ToggleDesignatorVisibility(void* window);
// After the selection changed: Edit Selection and its menus with a
// selection, idle without; with redraw the selection box, joined with box
// (null for none), is redrawn.
void UpdateAfterSelectionChange(void* window, const pl3::Box* box, int redraw);
// XOR-draws the drag rectangles and the ghost of the current edit mode; a
// second identical call erases them. Only for the active editor window.
void GhostSelectionAndMode(void* window, const EntityRecord* item);
