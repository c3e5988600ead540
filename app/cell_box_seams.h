// The calls with which dialogs drive a CELLBOX grid (the editable table of
// the docking panes and controls, which builds the class and will define
// these wrappers with it). Declared here, where the application's dialogs
// reach them; until the grid lands the program links plain message-sending
// stand-ins (app/cell_box_seams_pending.cpp). Without a registered "CELLBOX"
// class a dialog's grid control does not exist and every call does nothing.
#pragma once
#include <cstdint>

#include "platform/commctrl.h"  // NMHDR
#include "platform/user.h"

// The grid's messages.
constexpr UINT kCellBoxInitialise = 1025;
constexpr UINT kCellBoxAddColumn = 1026;
constexpr UINT kCellBoxSetCellText = 1028;
constexpr UINT kCellBoxGetCellText = 1029;
constexpr UINT kCellBoxGetCurrentCell = 1031;
constexpr UINT kCellBoxDeleteRow = 1032;
constexpr UINT kCellBoxSetRowData = 1034;
constexpr UINT kCellBoxGetRowData = 1035;
constexpr UINT kCellBoxGetSize = 1036;
constexpr UINT kCellBoxAddRow = 1037;
constexpr UINT kCellBoxGetColumnWidth = 1039;
constexpr UINT kCellBoxEndEdit = 1040;
constexpr UINT kCellBoxSetCellType = 1041;
constexpr UINT kCellBoxLayout = 1045;

// Cell types (also column flags).
constexpr std::uint32_t kCellFixed = 0x1;
constexpr std::uint32_t kCellText = 0x2;
constexpr std::uint32_t kCellButton = 0x8;  // a "..." button at the cell's right end

// Notifications the grid sends its parent as WM_NOTIFY.
constexpr UINT kCellChanged = 20003;
constexpr UINT kCellButtonClicked = 20006;
struct NMCELLBOX {
  NMHDR hdr;
  int column;
  int row;
};

struct CellBoxColumn {
  std::int32_t index;
  std::int32_t width;
  std::uint32_t cellType;
  std::uint32_t flags;
  const char* title;
};

struct CellBoxColumnWidth {
  std::int32_t column;
  std::int32_t width;
};

void CellBoxInitialise(HWND grid, std::uint32_t styleFlags);
// Adds a header column and its record, then lays the grid out again.
void CellBoxAddColumn(HWND grid, const CellBoxColumn& column);
// Appends a row of empty cells typed by their columns; its index.
int CellBoxAddRow(HWND grid);
void CellBoxDeleteRow(HWND grid, int row);
// Ends the in-place editor as Enter would.
void CellBoxEndEdit(HWND grid);
// The cell's text, owned by the grid (never null from a grid: "" when empty).
const char* CellBoxGetCellText(HWND grid, int column, int row);
void CellBoxGetColumnWidth(HWND grid, CellBoxColumnWidth* width);
// -1 when no row is selected, else row * 65,536 + column.
int CellBoxGetCurrentCell(HWND grid);
std::uint32_t CellBoxGetRowData(HWND grid, int row);
// Rows * 65,536 + columns.
std::uint32_t CellBoxGetSize(HWND grid);
void CellBoxSetCellText(HWND grid, int column, int row, const char* text);
void CellBoxSetCellType(HWND grid, int column, int row, std::uint32_t type);
void CellBoxSetRowData(HWND grid, int row, std::uint32_t value);
