// The program's stand-ins for the CELLBOX calls of app/cell_box_seams.h until
// the grid lands with its own: each sends the grid the message its call
// names, so a grid that answers them works as it will with the real calls.
#include "app/cell_box_seams.h"

namespace {
WPARAM CellAt(int column, int row) { return MAKEWPARAM(static_cast<WORD>(column), static_cast<WORD>(row)); }
}  // namespace

void CellBoxInitialise(HWND grid, std::uint32_t styleFlags) {
  SendMessageA(grid, kCellBoxInitialise, 0, static_cast<LPARAM>(styleFlags));
}
void CellBoxAddColumn(HWND grid, const CellBoxColumn& column) {
  SendMessageA(grid, kCellBoxAddColumn, 0, reinterpret_cast<LPARAM>(&column));
  SendMessageA(grid, kCellBoxLayout, 0, 0);
}
int CellBoxAddRow(HWND grid) { return static_cast<int>(SendMessageA(grid, kCellBoxAddRow, 0, 0)); }
void CellBoxDeleteRow(HWND grid, int row) { SendMessageA(grid, kCellBoxDeleteRow, static_cast<WPARAM>(row), 0); }
void CellBoxEndEdit(HWND grid) { SendMessageA(grid, kCellBoxEndEdit, 1, 0); }
const char* CellBoxGetCellText(HWND grid, int column, int row) {
  return reinterpret_cast<const char*>(SendMessageA(grid, kCellBoxGetCellText, CellAt(column, row), 0));
}
void CellBoxGetColumnWidth(HWND grid, CellBoxColumnWidth* width) {
  SendMessageA(grid, kCellBoxGetColumnWidth, 0, reinterpret_cast<LPARAM>(width));
}
int CellBoxGetCurrentCell(HWND grid) {
  return grid ? static_cast<int>(SendMessageA(grid, kCellBoxGetCurrentCell, 0, 0)) : -1;
}
std::uint32_t CellBoxGetRowData(HWND grid, int row) {
  return static_cast<std::uint32_t>(SendMessageA(grid, kCellBoxGetRowData, static_cast<WPARAM>(row), 0));
}
std::uint32_t CellBoxGetSize(HWND grid) { return static_cast<std::uint32_t>(SendMessageA(grid, kCellBoxGetSize, 0, 0)); }
void CellBoxSetCellText(HWND grid, int column, int row, const char* text) {
  SendMessageA(grid, kCellBoxSetCellText, CellAt(column, row), reinterpret_cast<LPARAM>(text));
}
void CellBoxSetCellType(HWND grid, int column, int row, std::uint32_t type) {
  SendMessageA(grid, kCellBoxSetCellType, CellAt(column, row), static_cast<LPARAM>(type));
}
void CellBoxSetRowData(HWND grid, int row, std::uint32_t value) {
  SendMessageA(grid, kCellBoxSetRowData, static_cast<WPARAM>(row), static_cast<LPARAM>(value));
}
