#include "app/select_layer_dialog.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>

#include "app/dialog_header.h"
#include "draw/display_paint.h"
#include "edit/window_data.h"

#include "platform/commctrl.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/responder.h"

namespace {

// Rows: records in use whose flags also hold bits 0 and 3 (active, enabled).
constexpr std::uint32_t kSelectLayerMask = 0x9;
constexpr std::uint32_t kLayerEnabled = 0x8;
constexpr int kAdvancedLayersCommand = 71;
constexpr int kRepaintLayerListCommand = 481;
constexpr int kLayerRowHeight = 16;

const DialogControl kSelectLayerControls[] = {
    {"LISTBOX", kSelectLayerList, "", 7, 7, 220, 120,
     LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_WANTKEYBOARDINPUT | WS_BORDER | WS_VSCROLL | WS_TABSTOP},
    {"BUTTON", IDOK, "OK", 20, 132, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {"BUTTON", IDCANCEL, "Cancel", 90, 132, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
    {"BUTTON", kAdvancedLayersCommand, "Advanced...", 160, 132, 60, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kSelectLayerDlg{"SELECTLAYERDLG", 0, "Select Layer", 0, 0, 234, 152,
                                     DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, kSelectLayerControls};
const bool kRegistered = pl3::RegisterDialogTemplate(&kSelectLayerDlg);

SelectLayerBlock* BlockOf(HWND dialog) {
  return reinterpret_cast<SelectLayerBlock*>(GetWindowLongPtr(dialog, GWLP_USERDATA));
}

void AcceptLayer(HWND dialog, SelectLayerBlock& block) {
  if (!(block.options & 0x1)) {
    const LRESULT row = SendDlgItemMessage(dialog, kSelectLayerList, LB_GETCURSEL, 0, 0);
    if (row < 0) {
      MessageBox(dialog, "Nothing selected", "Select Layer", MB_OK);
      return;
    }
    block.chosenLayer =
        static_cast<std::uint8_t>(SendDlgItemMessage(dialog, kSelectLayerList, LB_GETITEMDATA, row, 0));
  }
  EndDialog(dialog, 1);
}

// A typed key letter picks the first active, enabled layer that carries it
// and closes the dialog; -2 tells the list the key was handled.
LRESULT PickLayerByKey(HWND dialog, SelectLayerBlock& block, WPARAM wParam) {
  const int typed = std::toupper(static_cast<unsigned char>(LOWORD(wParam)));
  for (std::size_t i = 0; i < kLayerCount; ++i) {
    const LayerRecord& r = block.table.layers[i];
    if ((r.flags & (kLayerVisible | kLayerEnabled)) != (kLayerVisible | kLayerEnabled)) continue;
    if (r.letter == 0 || r.letter != typed) continue;
    block.chosenLayer = static_cast<std::uint8_t>(i);
    EndDialog(dialog, 1);
    return -2;
  }
  return -2;
}

// Configure Layers on a further copy; taken over only on its OK.
void RunAdvancedLayers(HWND dialog, SelectLayerBlock& block) {
  auto copy = std::make_unique<SelectLayerBlock>(block);
  if (RunAdvancedLayerDialog(dialog, copy.get()) != 1) return;
  block = *copy;
  CurrentWindowData* w = ActiveWindowData;
  if (w && w->editorKind == kEditorPcb && w->Display) RecolourDisplayList(static_cast<DisplayList*>(w->Display));
  FillLayerList(dialog, kSelectLayerList, &block, kSelectLayerMask);
}

// The layer list's columns, each title inserted in front of the one before:
// the header shows Name, Colour, Type, Next, Active, Key, and Key takes the
// rest of the width.
constexpr int kLayerColumnCount = 6;
const char* const kLayerColumnTitles[kLayerColumnCount] = {"Key", "Active", "Next", "Type", "Colour", "Name"};
const float kLayerColumnFractions[kLayerColumnCount] = {1.0f, 0.15f, 0.2f, 0.2f, 0.15f, 0.2f};

int ColumnSetOf(bool advanced) { return advanced ? kAdvancedLayerColumnSet : kSelectLayerColumnSet; }

// The left edges of the row's cells, left to right, from the header's
// widths; where the header lacks a column, from the width fractions.
void ColumnEdges(HWND header, const RECT& row, int (&edges)[kLayerColumnCount + 1]) {
  const int columns = header ? static_cast<int>(SendMessage(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
  edges[0] = row.left;
  for (int i = 0; i < kLayerColumnCount; ++i) {
    int width = static_cast<int>(static_cast<float>(row.right - row.left) *
                                 kLayerColumnFractions[kLayerColumnCount - 1 - i]);
    if (i < columns) {
      HDITEM item{};
      item.mask = HDI_WIDTH;
      SendMessage(header, HDM_GETITEM, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
      width = item.cxy;
    }
    edges[i + 1] = edges[i] + width;
  }
}

RECT Cell(const RECT& row, const int (&edges)[kLayerColumnCount + 1], int i) {
  return {edges[i] + 2, row.top, edges[i + 1] - 2, row.bottom};
}

void CellText(HDC dc, RECT cell, const char* text, UINT extra = 0) {
  DrawTextA(dc, text, -1, &cell, DT_LEFT | DT_VCENTER | DT_SINGLELINE | extra);
}

}  // namespace

const char* LayerKindName(std::uint16_t kind) {
  static const char* const kNames[] = {"Undefined", "Silk Screen", "Copper", "Paste Mask",
                                       "Solder Resist", "Air Wire", "Gold", "Carbon",
                                       "Mechanical", "Glue Mask", "Board Outline"};
  return kind < std::size(kNames) ? kNames[kind] : kNames[0];
}

int FillLayerList(HWND dialog, int listId, const SelectLayerBlock* block, std::uint32_t mask) {
  HWND list = GetDlgItem(dialog, listId);
  if (!list || !block) return 0;
  SendMessage(list, WM_SETREDRAW, FALSE, 0);
  SendMessage(list, LB_RESETCONTENT, 0, 0);
  int rows = 0;
  for (std::size_t i = 0; i < kLayerCount; ++i) {
    const LayerRecord& r = block->table.layers[i];
    if (!(r.flags & kLayerPresent) || (r.flags & mask) != mask) continue;
    if (block->mode && r.kind != block->mode) continue;
    const LRESULT row = SendMessage(list, LB_ADDSTRING, 0, static_cast<LPARAM>(i));
    SendMessage(list, LB_SETITEMDATA, static_cast<WPARAM>(row), static_cast<LPARAM>(i));
    if (i == block->chosenLayer) SendMessage(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    ++rows;
  }
  SendMessage(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  return rows;
}

bool CreateLayerListHeader(HWND dialog, int listId, int headerId, bool advanced) {
  return SetUpHeaderColumns(dialog, listId, headerId, ColumnWidthSet(ColumnSetOf(advanced)), kLayerColumnCount,
                            kLayerColumnTitles, kLayerColumnFractions);
}

bool OnLayerListHeaderNotify(HWND dialog, const NMHDR* note, int listId, int headerId, bool advanced) {
  if (!note || static_cast<int>(note->idFrom) != headerId) return false;
  if (note->code != HDN_ITEMCHANGED && note->code != HDN_ENDTRACK) return false;
  StoreHeaderColumnWidths(dialog, headerId, ColumnWidthSet(ColumnSetOf(advanced)));
  InvalidateRect(GetDlgItem(dialog, listId), nullptr, TRUE);
  return true;
}

void DrawLayerListItem(HWND dialog, int headerId, const DRAWITEMSTRUCT* item, SelectLayerBlock* block) {
  if (!item || !block || item->itemID == static_cast<UINT>(-1) || item->itemData >= kLayerCount) return;
  LayerRecord& r = block->table.layers[item->itemData];
  HDC dc = item->hDC;
  const RECT& row = item->rcItem;
  int edges[kLayerColumnCount + 1];
  ColumnEdges(GetDlgItem(dialog, headerId), row, edges);
  const bool selected = (item->itemState & ODS_SELECTED) != 0;
  FillRect(dc, &row, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  char name[kLayerNameSize + 1] = {};
  std::memcpy(name, r.name, kLayerNameSize);
  CellText(dc, Cell(row, edges, 0), name, DT_WORD_ELLIPSIS);
  DrawColourStroke(dc, Cell(row, edges, 1), r.planeBit);
  CellText(dc, Cell(row, edges, 2), LayerKindName(r.kind));
  char partner[kLayerNameSize + 1] = "N/A";
  if (r.flags & kLayerEnabled) std::memcpy(partner, block->table.layers[r.nextLayer].name, kLayerNameSize);
  CellText(dc, Cell(row, edges, 3), partner, DT_WORD_ELLIPSIS);
  CellText(dc, Cell(row, edges, 4), (r.flags & kLayerVisible) ? "Yes" : "No");
  // Only letters and digits are key letters; anything else is cleared.
  if (r.letter && !std::isalnum(r.letter)) r.letter = 0;
  if (r.letter) {
    char key[4];
    std::snprintf(key, sizeof key, "'%c'", r.letter);
    CellText(dc, Cell(row, edges, 5), key);
  }
  if (item->itemState & ODS_FOCUS) DrawFocusRect(dc, &row);
}

void DrawColourStroke(HDC dc, const RECT& cell, std::uint32_t planeBit) {
  const CurrentWindowData* w = ActiveWindowData;
  const std::uint32_t rgb = w && w->ColourTable ? w->ColourTable[planeBit & 0xFFFF] : 0;
  HPEN pen = CreatePen(PS_SOLID, 4, RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
  HPEN old = SelectObject(dc, pen);
  const int y = (cell.top + cell.bottom) / 2;
  MoveToEx(dc, cell.left, y, nullptr);
  LineTo(dc, cell.right - 2, y);
  SelectObject(dc, old);
  DeleteObject(pen);
}


void PrepareSelectLayerBlock(SelectLayerBlock* block, const LayerTable& table, std::uint8_t current,
                             std::uint16_t mode) {
  std::memset(block, 0, sizeof *block);
  block->chosenLayer = current;
  block->mode = mode;
  block->table = table;
}

INT_PTR CALLBACK SelectLayerDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      if (!lParam) {
        MessageBox(dialog, "SelectLayerDlg called without LParam", "Error", MB_OK);
        EndDialog(dialog, 0);
        return TRUE;
      }
      SetWindowLongPtr(dialog, GWLP_USERDATA, lParam);
      CreateLayerListHeader(dialog, kSelectLayerList, kLayerListHeader, false);
      FillLayerList(dialog, kSelectLayerList, reinterpret_cast<SelectLayerBlock*>(lParam), kSelectLayerMask);
      SetFocus(GetDlgItem(dialog, kSelectLayerList));
      return FALSE;
    case WM_MEASUREITEM:
      if (auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)) m->itemHeight = kLayerRowHeight;
      return TRUE;
    case WM_DRAWITEM:
      DrawLayerListItem(dialog, kLayerListHeader, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), BlockOf(dialog));
      return TRUE;
    case WM_NOTIFY:
      return OnLayerListHeaderNotify(dialog, reinterpret_cast<const NMHDR*>(lParam), kSelectLayerList,
                                     kLayerListHeader, false);
    case WM_CHARTOITEM: {
      SelectLayerBlock* block = BlockOf(dialog);
      return block ? PickLayerByKey(dialog, *block, wParam) : -1;
    }
    case WM_COMMAND: {
      SelectLayerBlock* block = BlockOf(dialog);
      if (LOWORD(wParam) == IDOK || (LOWORD(wParam) == kSelectLayerList && HIWORD(wParam) == LBN_DBLCLK)) {
        if (block) AcceptLayer(dialog, *block);
        return TRUE;
      }
      if (LOWORD(wParam) == kAdvancedLayersCommand) {
        if (block) RunAdvancedLayers(dialog, *block);
        return TRUE;
      }
      if (LOWORD(wParam) == kRepaintLayerListCommand) {
        InvalidateRect(GetDlgItem(dialog, kSelectLayerList), nullptr, TRUE);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      return FALSE;
    }
    case WM_CLOSE:
      EndDialog(dialog, 0);
      return TRUE;
    case WM_DESTROY:
      SaveColumnWidths(kSelectLayerColumnSet);
      return FALSE;
    default:
      return FALSE;
  }
}

int ShowSelectLayerDialog(HWND owner, SelectLayerBlock* block) {
  (void)kRegistered;
  return DialogBoxParam(nullptr, "SELECTLAYERDLG", owner, &SelectLayerDlgProc, reinterpret_cast<LPARAM>(block)) == 1
             ? 1
             : 0;
}
