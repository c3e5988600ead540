#include "ui/colour_dialogs.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "app/configuration_options.h"
#include "app/frame_operation_seams.h"
#include "app/start_values.h"
#include "edit/window_data.h"
#include "objects/entity_record.h"
#include "objects/view_seams.h"
#include "platform/commctrl.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/gdi.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "ui/column_sets.h"
#include "ui/list_rows.h"

namespace {

constexpr int kConfigureColoursId = 1047;
constexpr int kSelectColourId = 1048;
constexpr int kEditColourId = 1049;

// Controls of the list dialogs.
constexpr int kColourListId = 3154;
constexpr int kColourHeaderId = 3157;
constexpr int kEditColourButtonId = 3153;
// Controls of "Edit Colour".
constexpr int kClassNameId = 350;
constexpr int kNameId = 414;
constexpr int kKeyId = 3156;
constexpr int kSwatchId = 344;
constexpr int kChangeColourId = 3155;

constexpr int kColourColumnSet = 30010;
constexpr std::size_t kMaxNameLength = kNamedColourNameSize - 1;

const DWORD kDialogStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
const DWORD kListStyle =
    LBS_OWNERDRAWFIXED | LBS_NOTIFY | LBS_WANTKEYBOARDINPUT | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP;

const DialogControl kConfigureControls[] = {
    {"LISTBOX", kColourListId, "", 7, 7, 260, 150, kListStyle},
    {"BUTTON", kEditColourButtonId, "Edit Colour", 7, 164, 60, 14, BS_PUSHBUTTON | WS_TABSTOP},
    {"BUTTON", IDOK, "OK", 150, 164, 55, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {"BUTTON", IDCANCEL, "Cancel", 212, 164, 55, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kConfigureColoursDlg{nullptr, kConfigureColoursId, "Configure Colours", 0, 0, 274, 185,
                                          kDialogStyle, kConfigureControls};

const DialogControl kSelectControls[] = {
    {"LISTBOX", kColourListId, "", 7, 7, 260, 150, kListStyle},
    {"BUTTON", IDOK, "OK", 150, 164, 55, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {"BUTTON", IDCANCEL, "Cancel", 212, 164, 55, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kSelectColourDlg{nullptr, kSelectColourId, "Select Colour", 0, 0, 274, 185, kDialogStyle,
                                      kSelectControls};

const DialogControl kEditControls[] = {
    {"STATIC", -1, "Type:", 7, 9, 40, 10, SS_LEFT},
    {"STATIC", kClassNameId, "", 50, 9, 120, 10, SS_LEFT},
    {"STATIC", -1, "Name:", 7, 25, 40, 10, SS_LEFT},
    {"EDIT", kNameId, "", 50, 23, 120, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
    {"STATIC", -1, "Key:", 7, 41, 40, 10, SS_LEFT},
    {"EDIT", kKeyId, "", 50, 39, 20, 12, ES_UPPERCASE | WS_BORDER | WS_TABSTOP},
    {"STATIC", kSwatchId, "", 7, 57, 60, 20, SS_LEFT},
    {"BUTTON", kChangeColourId, "Change Colour", 75, 60, 60, 14, BS_PUSHBUTTON | WS_TABSTOP},
    {"BUTTON", IDOK, "OK", 60, 86, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {"BUTTON", IDCANCEL, "Cancel", 120, 86, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kEditColourDlg{nullptr, kEditColourId, "Edit Colour", 0, 0, 177, 107, kDialogStyle,
                                    kEditControls};

// The header shows the titles in reverse: "Name", "Type", "Colour", "Key".
const char* const kColumnTitles[] = {"Key", "Colour", "Type", "Name"};
const float kColumnFractions[] = {1.0f, 0.2f, 0.3f, 0.4f};
constexpr int kColumnCount = 4;

// The platform's colours are 0x00BBGGRR, the program's 0x00RRGGBB.
std::uint32_t SwapRedBlue(std::uint32_t c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

ColourDialogBlock* BlockOf(HWND dialog) {
  return reinterpret_cast<ColourDialogBlock*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

bool InFilter(const ColourDialogBlock& block, std::uint32_t index) {
  const std::uint32_t colourClass = block.table->entries[index].colourClass;
  if (colourClass == ColourClass_Unused) return false;
  return block.classFilter == ColourClass_All || colourClass == block.classFilter;
}

const char* ClassName(std::uint32_t colourClass) { return ColourClassNames[colourClass < 8 ? colourClass : 7]; }

void FillColourList(HWND dialog, const ColourDialogBlock& block) {
  HWND list = GetDlgItem(dialog, kColourListId);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (std::uint32_t i = 0; i < kNamedColourCount; ++i) {
    if (!InFilter(block, i)) continue;
    const auto row = SendMessageA(list, LB_ADDSTRING, 0, static_cast<LPARAM>(i));
    if (block.mode == kColourDialogSelect && i == block.chosen) SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
  }
}

// The entry of the selected row, or -1.
int SelectedEntry(HWND dialog) {
  HWND list = GetDlgItem(dialog, kColourListId);
  const auto row = SendMessageA(list, LB_GETCURSEL, 0, 0);
  if (row < 0) return -1;
  return static_cast<int>(SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(row), 0));
}

void NothingSelected(HWND dialog) { MessageBox(dialog, "Nothing is selected", "Edit Colour", MB_OK | MB_ICONEXCLAMATION); }

void KeepColumnWidths(HWND dialog) {
  ColumnWidthEntry** slot = ColumnLayoutSlot(kColourColumnSet);
  HWND header = GetDlgItem(dialog, kColourHeaderId);
  if (!slot || !*slot || !header) return;
  // The remembered pairs run in header order.
  for (int i = 0; i < kColumnCount; ++i) {
    HDITEM item{};
    item.mask = HDI_WIDTH;
    if (SendMessageA(header, HDM_GETITEM, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)))
      (*slot)[i].width = item.cxy;
  }
}

void EditSelectedColour(HWND dialog, ColourDialogBlock& block) {
  const int index = SelectedEntry(dialog);
  if (index < 0) {
    NothingSelected(dialog);
    return;
  }
  NamedColour copy = block.table->entries[index];
  if (!ShowEditColourDialog(dialog, &copy)) return;
  // A key stroke belongs to one entry at most.
  if (copy.key)
    for (NamedColour& e : block.table->entries)
      if (e.key == copy.key) e.key = 0;
  block.table->entries[index] = copy;
  InvalidateRect(GetDlgItem(dialog, kColourListId), nullptr, TRUE);
}

void AcceptColourDialog(HWND dialog, ColourDialogBlock& block) {
  if (block.mode == kColourDialogSelect) {
    const int index = SelectedEntry(dialog);
    if (index < 0) {
      NothingSelected(dialog);
      return;
    }
    block.chosen = static_cast<std::uint32_t>(index);
  }
  KeepColumnWidths(dialog);
  SaveColumnWidths(kColourColumnSet);
  EndDialog(dialog, IDOK);
}

// A typed character: the entry of the filter's class with that key stroke.
LRESULT CharacterToEntry(HWND dialog, ColourDialogBlock& block, char typed) {
  const auto key = static_cast<std::uint8_t>(std::toupper(static_cast<unsigned char>(typed)));
  HWND list = GetDlgItem(dialog, kColourListId);
  const auto rows = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int row = 0; row < rows; ++row) {
    const auto index = static_cast<std::uint32_t>(SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(row), 0));
    if (index >= kNamedColourCount || block.table->entries[index].key != key || key == 0) continue;
    if (block.mode == kColourDialogSelect) {
      block.chosen = index;
      EndDialog(dialog, IDOK);
      return -2;
    }
    return row;
  }
  return -2;
}

void DrawColourRow(HWND dialog, const ColourDialogBlock& block, const DRAWITEMSTRUCT& item) {
  if (item.itemID == static_cast<UINT>(-1) || item.itemData >= kNamedColourCount) return;
  const NamedColour& e = block.table->entries[item.itemData];
  HDC dc = item.hDC;
  BeginListRow(item);
  RECT cell = item.rcItem;
  for (int column = 0; column < kColumnCount; ++column) {
    cell.right = cell.left + HeaderColumnWidth(dialog, kColourHeaderId, column, kColumnCount, item.rcItem);
    switch (column) {
      case 0: DrawListCell(dc, cell, e.name); break;
      case 1: DrawListCell(dc, cell, ClassName(e.colourClass)); break;
      case 2: {
        HPEN pen = CreatePen(PS_SOLID, 4, SwapRedBlue(e.colour));
        HPEN old = SelectObject(dc, pen);
        const int y = (cell.top + cell.bottom) / 2;
        MoveToEx(dc, cell.left + 4, y, nullptr);
        LineTo(dc, cell.right - 4, y);
        SelectObject(dc, old);
        DeleteObject(pen);
        break;
      }
      default: {
        char key[8] = "none";
        if (std::isalnum(e.key)) std::snprintf(key, sizeof key, "'%c'", e.key);
        DrawListCell(dc, cell, key);
        break;
      }
    }
    cell.left = cell.right;
  }
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &item.rcItem);
}

void InitialiseColourDialog(HWND dialog, ColourDialogBlock* block) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(block));
  SetUpListColumns(dialog, kColourListId, kColourHeaderId, kColourColumnSet, kColumnCount, kColumnTitles,
                   kColumnFractions);
  FillColourList(dialog, *block);
  SetFocus(GetDlgItem(dialog, kColourListId));
}

// ---- "Edit Colour" ---------------------------------------------------------------------

void PaintSwatch(HWND dialog, const NamedColour& entry) {
  HWND swatch = GetDlgItem(dialog, kSwatchId);
  if (!swatch) return;
  HDC dc = GetDC(swatch);
  RECT rc;
  GetClientRect(swatch, &rc);
  HBRUSH brush = CreateSolidBrush(SwapRedBlue(entry.colour));
  FillRect(dc, &rc, brush);
  DeleteObject(brush);
  ReleaseDC(swatch, dc);
}

void ChangeEntryColour(HWND dialog, NamedColour& entry) {
  static_assert(sizeof CustomColours == 16 * sizeof(COLORREF));
  CHOOSECOLOR cc{};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = dialog;
  cc.rgbResult = SwapRedBlue(entry.colour);
  cc.lpCustColors = reinterpret_cast<COLORREF*>(CustomColours);
  cc.Flags = CC_FULLOPEN | CC_ANYCOLOR | CC_RGBINIT;
  if (!ChooseColor(&cc)) return;
  entry.colour = SwapRedBlue(cc.rgbResult);
  PaintSwatch(dialog, entry);
}

void StoreEditedEntry(HWND dialog, NamedColour& entry) {
  char name[kNamedColourNameSize] = "";
  GetDlgItemTextA(dialog, kNameId, name, sizeof name);  // cuts at 50 characters
  std::memcpy(entry.name, name, sizeof name);
  char key[2] = "";
  GetDlgItemTextA(dialog, kKeyId, key, sizeof key);  // one key stroke
  entry.key = static_cast<std::uint8_t>(std::toupper(static_cast<unsigned char>(key[0])));
}

// The dialog edits a copy of the entry; the caller's entry changes on OK only.
struct EditColourState {
  NamedColour copy;
  NamedColour* entry;
};

INT_PTR CALLBACK EditColourDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<EditColourState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      auto* entry = reinterpret_cast<NamedColour*>(lParam);
      state = new EditColourState{*entry, entry};
      SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
      SetDlgItemTextA(dialog, kClassNameId, ClassName(entry->colourClass));
      SendDlgItemMessageA(dialog, kNameId, EM_LIMITTEXT, kMaxNameLength, 0);
      char name[kNamedColourNameSize];
      std::memcpy(name, entry->name, sizeof name);
      name[kMaxNameLength] = 0;
      SetDlgItemTextA(dialog, kNameId, name);
      SendDlgItemMessageA(dialog, kKeyId, EM_LIMITTEXT, 1, 0);
      const char key[2] = {static_cast<char>(entry->key), 0};
      SetDlgItemTextA(dialog, kKeyId, key);
      return TRUE;
    }
    case WM_PAINT:
      if (state) PaintSwatch(dialog, state->copy);
      return FALSE;
    case WM_COMMAND:
      if (!state) return FALSE;
      switch (LOWORD(wParam)) {
        case kChangeColourId:
          ChangeEntryColour(dialog, state->copy);
          return TRUE;
        case IDOK:
          StoreEditedEntry(dialog, state->copy);
          *state->entry = state->copy;
          EndDialog(dialog, IDOK);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          return TRUE;
        default:
          return FALSE;
      }
    case WM_DESTROY:
      delete state;
      SetWindowLongPtrA(dialog, DWLP_USER, 0);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

INT_PTR CALLBACK SchematicColoursDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    InitialiseColourDialog(dialog, reinterpret_cast<ColourDialogBlock*>(lParam));
    return FALSE;
  }
  ColourDialogBlock* block = BlockOf(dialog);
  if (!block) return FALSE;
  switch (message) {
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      mis->itemHeight = 18;
      return TRUE;
    }
    case WM_DRAWITEM:
      DrawColourRow(dialog, *block, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_CHARTOITEM:
      return CharacterToEntry(dialog, *block, static_cast<char>(LOWORD(wParam)));
    case WM_NOTIFY: {
      // A divider dragged: the list follows the header.
      const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
      if (hdr && hdr->idFrom == static_cast<UINT_PTR>(kColourHeaderId)) {
        KeepColumnWidths(dialog);
        InvalidateRect(GetDlgItem(dialog, kColourListId), nullptr, TRUE);
      }
      return FALSE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kColourListId:
          if (HIWORD(wParam) != LBN_DBLCLK) return FALSE;
          if (block->mode == kColourDialogConfigure)
            EditSelectedColour(dialog, *block);
          else
            AcceptColourDialog(dialog, *block);
          return TRUE;
        case kEditColourButtonId:
          if (block->mode == kColourDialogConfigure) EditSelectedColour(dialog, *block);
          return TRUE;
        case IDOK:
          AcceptColourDialog(dialog, *block);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

int ShowEditColourDialog(HWND owner, NamedColour* entry) {
  return DialogBoxIndirectParamA(nullptr, &kEditColourDlg, owner, &EditColourDlgProc, reinterpret_cast<LPARAM>(entry)) ==
         IDOK;
}

int ShowConfigureColoursDialog(HWND window) {
  NamedColourTable copy = NamedColours;
  ColourDialogBlock block{kColourDialogConfigure, ColourClass_All, 0, &copy};
  if (DialogBoxIndirectParamA(nullptr, &kConfigureColoursDlg, window, &SchematicColoursDlgProc,
                              reinterpret_cast<LPARAM>(&block)) != IDOK)
    return 0;
  NamedColours = copy;
  if (ActiveWindowData && ActiveWindowData->Window) RedrawView(ActiveWindowData->Window);
  return 1;
}

int ShowSelectColourDialog(HWND window, std::uint32_t* index) {
  NamedColourTable copy = NamedColours;
  const std::uint32_t current = *index;
  const std::uint32_t colourClass = current < kNamedColourCount ? copy.entries[current].colourClass : ColourClass_All;
  ColourDialogBlock block{kColourDialogSelect, colourClass == ColourClass_Unused ? ColourClass_All : colourClass,
                          current, &copy};
  if (DialogBoxIndirectParamA(nullptr, &kSelectColourDlg, window, &SchematicColoursDlgProc,
                              reinterpret_cast<LPARAM>(&block)) != IDOK)
    return 0;
  *index = block.chosen;
  return 1;
}

int SetItemColour(HWND window, EntityRecord* record) {
  if (!record) return 0;
  std::uint32_t index = record->head().layer;
  if (!ShowSelectColourDialog(window, &index)) return 0;
  record->head().layer = static_cast<std::uint8_t>(index);
  return 1;
}
