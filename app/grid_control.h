// The Grids pane's control ("GRIDCONTROLCLASS"): the grids of the active
// editor window in an owner-drawn virtual report list, sortable by column,
// whose double click makes a grid current. Also the ordering of grids and
// the row drawing that the "Select Grid" dialog's list shares.
#pragma once
#include <cstdint>
#include <vector>

#include "objects/grid_sets.h"
#include "platform/user.h"

struct CurrentWindowData;
struct NMLVDISPINFO;

constexpr char kGridControlClass[] = "GRIDCONTROLCLASS";
// Messages of the control: rebuild for a window state (lParam, may be null;
// wParam 0) and repaint. Escape sends kGridControlEscape (wParam 27) to the
// control's parent.
constexpr UINT kGridControlRebuild = 1030;
constexpr UINT kGridControlRepaint = 1031;
constexpr UINT kGridControlEscape = 1028;
// The list view inside the control.
constexpr int kGridControlListId = 1;

// The columns, by the cell they show.
enum GridColumn : int {
  GridColumn_X = 0,
  GridColumn_Y = 1,
  GridColumn_Unit = 2,
  GridColumn_Type = 3,
  GridColumn_Key = 4,
  GridColumn_Position = 5,
};
constexpr int kGridColumnCount = 6;

// Registers the class (CS_VREDRAW | CS_HREDRAW | CS_BYTEALIGNCLIENT, the
// arrow cursor, no background brush, 4 bytes of window data); 0 on failure.
ATOM RegisterGridControl(HINSTANCE instance);

// Orders two entries (a at place aPlace of its set, b at bPlace) by a
// column: -1, 0 or 1, reversed when descending. The size of an axis is
// numerator / denominator x the unit's size (0 without a denominator). X:
// x size, then y size, then unit size; Y: y, x, unit; Unit: unit, y, x; Key:
// key stroke, unit, y, x; Position: the places; Type: all equal.
int CompareGridEntries(const GridEntry& a, std::uint32_t aPlace, const GridEntry& b, std::uint32_t bPlace, int column,
                       int descending);
// Sorts indexes of the set's entries by a column, keeping the order of
// entries that compare equal.
void SortGridIndexes(const GridSet* set, std::vector<std::uint32_t>& indexes, int column, int descending);

// The text of a cell: the steps of axes 0 and 1, the unit's name,
// "Cartesian" or "Polar", the key stroke as one character (nothing for
// none), the place + 1. `text` holds kGridTextSize bytes.
void GridCellText(char* text, const GridEntry& entry, std::uint32_t place, int column);

// A report list's columns: titles and widths, subitems 0, 1, 2 ...
struct GridColumnHead {
  const char* title;
  int width;
};
void AddGridColumns(HWND list, const GridColumnHead* heads, int count);
// Answers a list's LVN_GETDISPINFO text request for a cell of the entry.
void FillGridCellInfo(NMLVDISPINFO& info, const GridEntry& entry, std::uint32_t place, int column);

// How a list's rows are drawn.
struct GridRowLook {
  HFONT normal;
  HFONT bold;        // the current grid's row
  int sortColumn;    // tinted with visual styles; -1 for none
  const int* cells;  // the GridColumn each list column shows, by column index
  int columnCount;
};
// Draws one row of an owner-drawn report list (WM_DRAWITEM) in the list's
// column order: selected rows on interface colour 18, the focused row
// framed; the current grid's row in bold.
void DrawGridRow(const DRAWITEMSTRUCT& item, const GridRowLook& look, const GridEntry& entry, std::uint32_t place,
                 bool current);
// Whether an entry is the set's current grid (every field equal).
bool IsCurrentGrid(const GridSet* set, const GridEntry& entry);
// The bold (weight 700) form of a font; the caller deletes it.
HFONT CreateBoldFont(HFONT font);
