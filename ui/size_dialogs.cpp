#include "ui/size_dialogs.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "app/core_utilities.h"
#include "app/dialog_fields.h"
#include "app/dialog_header.h"
#include "app/key_fields.h"
#include "app/start_values.h"
#include "edit/window_data.h"
#include "objects/active_window.h"
#include "objects/attribute_services.h"
#include "objects/graphic_records.h"
#include "objects/payload_access.h"
#include "objects/size_files.h"
#include "objects/size_remap.h"
#include "objects/size_steps.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "platform/commctrl.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/gdi.h"
#include "platform/reset_hooks.h"
#include "platform/responder.h"
#include "platform/text_case.h"
#include "store/file_dialogs.h"
#include "store/tower.h"
#include "ui/column_sets.h"
#include "ui/property_sheet.h"

SizeTable* EditedSizeTable = nullptr;

namespace {

// ---- Units and the edited table ------------------------------------------------------

const char* const kUnitLongNames[4] = {"Thou", "Inch", "Millimetre", "Centimetre"};
constexpr std::int64_t kUnitFactors[4] = {36576, 36576000, 1440000, 14400000};

// An entry's unit as an index into the tables above; anything else reads as thou.
std::uint32_t UnitOf(const SizeEntry& entry) { return entry.unit < 4 ? entry.unit : 0; }

// Lists that keep halves of widths and diameters.
bool KeepsHalves(std::uint32_t kind) { return kind != SizeKind_Rectangles && kind != SizeKind_Fonts; }
bool HasTwoValues(std::uint32_t kind) { return kind == SizeKind_Rectangles || kind == SizeKind_Vias; }

// What the open sheet works for.
struct SizeSheet {
  CurrentWindowData* window = nullptr;
  std::uint32_t* currentSizes = nullptr;  // a schematic's record of current size indices
  bool changed = false;
};
SizeSheet gSheet;

void FreeEditedTable() {
  delete EditedSizeTable;
  EditedSizeTable = nullptr;
}

void ResetSizeDialogs() {
  FreeEditedTable();
  gSheet = SizeSheet{};
}
const bool gResetRegistered = pl3::RegisterGlobalReset(&ResetSizeDialogs);

void FillEditedTable(const SizeTable& source) {
  FreeEditedTable();
  EditedSizeTable = CopySizeTable(source).release();
}

SizeList* EditedList(std::uint32_t kind) {
  return EditedSizeTable && kind < kSizeKindCount ? &(*EditedSizeTable)[kind] : nullptr;
}

// ---- Columns ------------------------------------------------------------------------

// The object type whose column set a list kind shows (its list kind for the
// remembered widths is the same number); 0 for Dots, whose widths are not kept.
int ColumnObjectType(std::uint32_t kind) {
  switch (kind) {
    case SizeKind_Lines: return 1;
    case SizeKind_Circles: return 3;
    case SizeKind_Rectangles: return 6;
    case SizeKind_Holes: return 7;
    case SizeKind_Vias: return 17;
    case SizeKind_Fonts: return 5;
    default: return 0;
  }
}

bool SetUpColumns(HWND dialog, int listId, int headerId, std::uint32_t kind) {
  if (const int type = ColumnObjectType(kind)) return SetUpSizeListColumns(dialog, listId, headerId, type);
  // Dots: Name, Width, Unit, inserted each in front of the one before.
  static const char* const kDotTitles[] = {"Unit", "Width", "Name"};
  static const float kDotFractions[] = {1.0f, 0.15f, 0.3f};
  if (!CreateDialogHeader(dialog, listId, headerId)) return false;
  RECT list{};
  GetWindowRect(GetDlgItem(dialog, listId), &list);
  std::free(InsertProportionalColumns(dialog, headerId, list.right - list.left, 3, kDotTitles, kDotFractions));
  return true;
}

// Keeps the widths the user dragged for the run.
void RememberColumnWidths(HWND dialog, int headerId, std::uint32_t kind) {
  const int listKind = ColumnObjectType(kind);
  if (listKind) StoreHeaderColumnWidths(dialog, headerId, ColumnLayoutSlot(listKind));
}

void SaveRememberedWidths(std::uint32_t kind) {
  if (const int listKind = ColumnObjectType(kind)) SaveColumnWidths(listKind);
}

// A header's notification that a column changed width: remember it and redraw the list.
bool OnHeaderNotify(HWND dialog, const NMHDR* note, int headerId, int listId, std::uint32_t kind) {
  if (!note || static_cast<int>(note->idFrom) != headerId) return false;
  if (note->code != HDN_ITEMCHANGED && note->code != HDN_ENDTRACK) return false;
  RememberColumnWidths(dialog, headerId, kind);
  InvalidateRect(GetDlgItem(dialog, listId), nullptr, TRUE);
  return true;
}

// ---- Rows ---------------------------------------------------------------------------

std::string LengthText(std::int64_t value, const SizeEntry& entry) {
  char text[48];
  std::snprintf(text, sizeof text, "%.3f",
                static_cast<double>(value) / static_cast<double>(kUnitFactors[UnitOf(entry)]));
  return text;
}

// A key that is not a letter or a digit is cleared when its row is drawn.
std::string KeyText(SizeEntry& entry) {
  if (entry.key && !(entry.key < 128 && std::isalnum(entry.key))) entry.key = 0;
  if (!entry.key) return "none";
  char text[8];
  std::snprintf(text, sizeof text, "'%c'", entry.key);
  return text;
}

// The cells of a row, left to right, as the list's columns show them.
std::vector<std::string> RowCells(SizeEntry& entry, std::uint32_t kind) {
  const std::int64_t half = 2;
  std::vector<std::string> cells{entry.name};
  switch (kind) {
    case SizeKind_Fonts:
      cells.push_back(std::to_string(entry.value1));
      break;
    case SizeKind_Rectangles:
      cells.push_back(LengthText(entry.value1, entry));
      cells.push_back(LengthText(entry.value2, entry));
      break;
    case SizeKind_Vias:  // Outer (the copper), then Inner (the hole)
      cells.push_back(LengthText(half * entry.value2, entry));
      cells.push_back(LengthText(half * entry.value1, entry));
      break;
    default:
      cells.push_back(LengthText(half * entry.value1, entry));
      break;
  }
  if (kind != SizeKind_Fonts) cells.push_back(kUnitLongNames[UnitOf(entry)]);
  if (kind == SizeKind_Dots) return cells;
  cells.push_back(entry.flags & kSizeEntryOn ? "On" : "");
  cells.push_back(KeyText(entry));
  return cells;
}

void DrawSizeRow(const DRAWITEMSTRUCT& draw, HWND header, SizeEntry& entry, std::uint32_t kind, bool marked) {
  const bool selected = (draw.itemState & ODS_SELECTED) != 0;
  RECT row = draw.rcItem;
  FillRect(draw.hDC, &row,
           reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(
               (selected ? COLOR_HIGHLIGHT : marked ? COLOR_BTNFACE : COLOR_WINDOW) + 1)));
  const int oldMode = SetBkMode(draw.hDC, TRANSPARENT);
  const COLORREF oldColour = SetTextColor(draw.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  const std::vector<std::string> cells = RowCells(entry, kind);
  const int columns = header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
  int x = row.left;
  for (int i = 0; i < columns && i < static_cast<int>(cells.size()); ++i) {
    HDITEM item{};
    item.mask = HDI_WIDTH;
    SendMessageA(header, HDM_GETITEM, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    RECT cell{x + 2, row.top, x + item.cxy - 2, row.bottom};
    DrawTextA(draw.hDC, cells[static_cast<std::size_t>(i)].c_str(), -1, &cell,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    x += item.cxy;
  }
  SetTextColor(draw.hDC, oldColour);
  SetBkMode(draw.hDC, oldMode);
  if (draw.itemState & ODS_FOCUS) DrawFocusRect(draw.hDC, &row);
}

int SelectedRow(HWND dialog, int listId) {
  return static_cast<int>(SendDlgItemMessage(dialog, listId, LB_GETCURSEL, 0, 0));
}

// ---- Size Options --------------------------------------------------------------------

struct SizeOptionsBlock {
  SizeEntry* entry;
  std::uint32_t kind;
};

constexpr DWORD kEdit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;

const DialogControl kOneValueControls[] = {
    {"STATIC", -1, "Name", 7, 9, 40, 8, SS_LEFT},
    {"EDIT", kSizeOptionsName, "", 50, 7, 120, 12, kEdit},
    {"STATIC", kSizeOptionsLabel, "", 7, 25, 40, 8, SS_LEFT},
    {"EDIT", kSizeOptionsValue, "", 50, 23, 60, 12, kEdit},
    {"STATIC", -1, "Unit", 7, 41, 40, 8, SS_LEFT},
    {"COMBOBOX", kSizeOptionsUnit, "", 50, 39, 70, 60, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP},
    {"STATIC", -1, "Key Stroke", 7, 57, 40, 8, SS_LEFT},
    {"EDIT", kSizeOptionsKey, "", 50, 55, 30, 12, kEdit},
    {"BUTTON", kSizeOptionsActive, "Size Active", 7, 72, 80, 10, BS_AUTOCHECKBOX | WS_TABSTOP},
    {"BUTTON", IDOK, "OK", 30, 90, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {"BUTTON", IDCANCEL, "Cancel", 100, 90, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kOneValueDlg{"SIZEOPTIONSDLG", 0, "Size Options", 0, 0, 180, 112,
                                  DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, kOneValueControls};

const DialogControl kTwoValueControls[] = {
    {"STATIC", -1, "Name", 7, 9, 40, 8, SS_LEFT},
    {"EDIT", kSizeOptionsName, "", 50, 7, 120, 12, kEdit},
    {"STATIC", kSizeOptionsLabel, "", 7, 25, 40, 8, SS_LEFT},
    {"EDIT", kSizeOptionsValue, "", 50, 23, 60, 12, kEdit},
    {"STATIC", kSizeOptionsLabel2, "", 7, 41, 40, 8, SS_LEFT},
    {"EDIT", kSizeOptionsValue2, "", 50, 39, 60, 12, kEdit},
    {"STATIC", -1, "Unit", 7, 57, 40, 8, SS_LEFT},
    {"COMBOBOX", kSizeOptionsUnit, "", 50, 55, 70, 60, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP},
    {"STATIC", -1, "Key Stroke", 7, 73, 40, 8, SS_LEFT},
    {"EDIT", kSizeOptionsKey, "", 50, 71, 30, 12, kEdit},
    {"BUTTON", kSizeOptionsActive, "Size Active", 7, 88, 80, 10, BS_AUTOCHECKBOX | WS_TABSTOP},
    {"BUTTON", IDOK, "OK", 30, 106, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {"BUTTON", IDCANCEL, "Cancel", 100, 106, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kTwoValueDlg{"SIZEOPTIONSDLG2PARAMS", 0, "Size Options", 0, 0, 180, 128,
                                  DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, kTwoValueControls};
const bool kOptionsRegistered = pl3::RegisterDialogTemplate(&kOneValueDlg) && pl3::RegisterDialogTemplate(&kTwoValueDlg);

void LabelValues(HWND dialog, std::uint32_t kind) {
  const char* first = "Diameter";
  const char* second = nullptr;
  switch (kind) {
    case SizeKind_Lines: first = "Width"; break;
    case SizeKind_Rectangles: first = "Width"; second = "Length"; break;
    case SizeKind_Vias: first = "Diameter"; second = "Copper"; break;
    case SizeKind_Fonts: first = "Font Size"; break;
    default: break;
  }
  SetDlgItemText(dialog, kSizeOptionsLabel, first);
  if (second) SetDlgItemText(dialog, kSizeOptionsLabel2, second);
}

void ShowOptions(HWND dialog, const SizeEntry& entry, std::uint32_t kind) {
  LabelValues(dialog, kind);
  SetDlgItemText(dialog, kSizeOptionsName, entry.name);
  const std::int64_t factor = kUnitFactors[UnitOf(entry)];
  const std::int64_t scale = KeepsHalves(kind) ? 2 : 1;
  if (kind == SizeKind_Fonts) {
    SetDlgItemText(dialog, kSizeOptionsValue, std::to_string(entry.value1).c_str());
  } else {
    SetDlgItemLength(dialog, kSizeOptionsValue, scale * entry.value1, factor, 3);
    if (HasTwoValues(kind)) SetDlgItemLength(dialog, kSizeOptionsValue2, scale * entry.value2, factor, 3);
  }
  FillUnitsCombo(dialog, kSizeOptionsUnit, kind == SizeKind_Fonts ? kSizeUnitNone : UnitOf(entry), 0);
  EnableWindow(GetDlgItem(dialog, kSizeOptionsUnit), kind != SizeKind_Fonts);
  if (entry.key) SetDlgItemKeyChar(dialog, kSizeOptionsKey, entry.key);
  else SetDlgItemText(dialog, kSizeOptionsKey, "None");
  MakeKeyCharField(dialog, kSizeOptionsKey);
  CheckDlgButton(dialog, kSizeOptionsActive, entry.flags & kSizeEntryOn ? BST_CHECKED : BST_UNCHECKED);
  if (kind == SizeKind_Dots)
    for (int id : {kSizeOptionsActive, kSizeOptionsKey, kSizeOptionsName}) EnableWindow(GetDlgItem(dialog, id), FALSE);
}

// "None" in any case clears the key; otherwise the character between the quotes.
std::uint8_t ReadKey(HWND dialog) {
  char text[16] = {};
  GetDlgItemText(dialog, kSizeOptionsKey, text, sizeof text);
  if (std::strlen(text) == 3 && text[0] == '\'' && text[2] == '\'') return static_cast<std::uint8_t>(text[1]);
  return 0;
}

// A failing check: its message under "Error", the focus on its field.
bool Refuse(HWND dialog, int field, const char* text) {
  ShowMessageEx(dialog, text, "Error", MB_OK | MB_ICONEXCLAMATION);
  SetFocus(GetDlgItem(dialog, field));
  SendDlgItemMessage(dialog, field, EM_SETSEL, 0, -1);
  return false;
}

constexpr std::int64_t kLargestHalf = 292608000;  // 8 inches: half of 16
constexpr std::int64_t kLargestLength = 585216000;  // 16 inches
constexpr std::int64_t kSmallestSize = 14400;
constexpr std::int64_t kLargestFont = 4096;

// Reads and checks the values into the entry; false (after the message) on the first failing check.
bool ReadValues(HWND dialog, SizeEntry& entry, std::uint32_t kind) {
  const double factor = static_cast<double>(kUnitFactors[UnitOf(entry)]);
  if (kind == SizeKind_Fonts) {
    const std::int64_t points = GetDlgItemScaledValue(dialog, kSizeOptionsValue, 1);
    if (points > kLargestFont) return Refuse(dialog, kSizeOptionsValue, "Font cannot be bigger than 4096 points");
    if (points < 1) return Refuse(dialog, kSizeOptionsValue, "Font size cannot be set to 0");
    entry.value1 = static_cast<std::int32_t>(points);
    return true;
  }
  const std::int64_t first = GetDlgItemScaledValue(dialog, kSizeOptionsValue, factor);
  if (kind == SizeKind_Rectangles) {
    const std::int64_t length = GetDlgItemScaledValue(dialog, kSizeOptionsValue2, factor);
    if (first > kLargestLength) return Refuse(dialog, kSizeOptionsValue, "Width cannot be greater than 16 inches");
    if (first < kSmallestSize) return Refuse(dialog, kSizeOptionsValue, "Width is too small");
    if (length > kLargestLength) return Refuse(dialog, kSizeOptionsValue2, "Length cannot be greater than 16 inches");
    if (length < kSmallestSize) return Refuse(dialog, kSizeOptionsValue2, "Length is too small");
    entry.value1 = static_cast<std::int32_t>(first);
    entry.value2 = static_cast<std::int32_t>(length);
    return true;
  }
  const std::int64_t half = first / 2;
  if (kind == SizeKind_Vias) {
    const std::int64_t copper = GetDlgItemScaledValue(dialog, kSizeOptionsValue2, factor) / 2;
    if (half > kLargestHalf)
      return Refuse(dialog, kSizeOptionsValue, "Hole diameter cannot be greater than 16 inches");
    if (half < kSmallestSize) return Refuse(dialog, kSizeOptionsValue, "Diameter is too small");
    if (copper > kLargestHalf)
      return Refuse(dialog, kSizeOptionsValue2, "Copper diameter cannot be greater than 16 inches");
    if (copper < half)
      return Refuse(dialog, kSizeOptionsValue2, "Hole diameter cannot be larger than the copper diameter");
    entry.value1 = static_cast<std::int32_t>(half);
    entry.value2 = static_cast<std::int32_t>(copper);
    return true;
  }
  const bool lines = kind == SizeKind_Lines;
  if (half > kLargestHalf)
    return Refuse(dialog, kSizeOptionsValue,
                  lines ? "Width cannot be greater than 16 inches" : "Diameter cannot be greater than 16 inches");
  if (half < kSmallestSize) return Refuse(dialog, kSizeOptionsValue, lines ? "Width is too small" : "Diameter is too small");
  entry.value1 = static_cast<std::int32_t>(half);
  return true;
}

void AcceptOptions(HWND dialog, const SizeOptionsBlock& block) {
  SizeEntry entry = *block.entry;
  char name[kSizeNameSize] = {};
  GetDlgItemText(dialog, kSizeOptionsName, name, sizeof name);
  SetSizeEntryName(entry, name);
  if (block.kind != SizeKind_Fonts) entry.unit = static_cast<std::uint8_t>(GetUnitsComboSelection(dialog, kSizeOptionsUnit, UnitOf(entry)) & 3);
  entry.key = ReadKey(dialog);
  entry.flags = IsDlgButtonChecked(dialog, kSizeOptionsActive) == BST_CHECKED ? entry.flags | kSizeEntryOn
                                                                               : entry.flags & ~kSizeEntryOn;
  if (!ReadValues(dialog, entry, block.kind)) return;
  *block.entry = entry;
  EndDialog(dialog, 1);
}

INT_PTR CALLBACK SizeOptionsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      const auto* block = reinterpret_cast<const SizeOptionsBlock*>(lParam);
      SetWindowLongPtr(dialog, DWLP_USER, lParam);
      if (!block || !block->entry) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      ShowOptions(dialog, *block->entry, block->kind);
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          if (const auto* block = reinterpret_cast<const SizeOptionsBlock*>(GetWindowLongPtr(dialog, DWLP_USER)))
            AcceptOptions(dialog, *block);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, 0);
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

// ---- The size page -----------------------------------------------------------------------

// Sent to every page (PSM_QUERYSIBLINGS) after a load: refill the list.
constexpr WPARAM kRefreshSizeList = 0x53495A45;

constexpr DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP;
const DialogControl kSizePageControls[] = {
    {"LISTBOX", kSizePageList, "", 7, 7, 200, 150,
     LBS_OWNERDRAWFIXED | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP},
    {"BUTTON", kSizePageUp, "Up", 214, 7, 60, 14, kButton},
    {"BUTTON", kSizePageDown, "Down", 214, 24, 60, 14, kButton},
    {"BUTTON", kSizePageTop, "Move To Top", 214, 41, 60, 14, kButton},
    {"BUTTON", kSizePageBottom, "Move To Bottom", 214, 58, 60, 14, kButton},
    {"BUTTON", kSizePageNew, "New", 214, 80, 60, 14, kButton},
    {"BUTTON", kSizePageEdit, "Edit", 214, 97, 60, 14, kButton},
    {"BUTTON", kSizePageRemove, "Remove", 214, 114, 60, 14, kButton},
    {"BUTTON", kSizePageLoad, "Load...", 214, 136, 60, 14, kButton},
    {"BUTTON", kSizePageSave, "Save...", 214, 153, 60, 14, kButton},
};
const DialogTemplate kSizePageDlg{"SIZEPAGEDLG", 0, "Sizes", 0, 0, 282, 172, WS_CHILD | WS_CAPTION,
                                  kSizePageControls};
const bool kPageRegistered = pl3::RegisterDialogTemplate(&kSizePageDlg);

std::uint32_t PageKind(HWND page) { return static_cast<std::uint32_t>(GetWindowLongPtr(page, DWLP_USER)); }

bool IsCurrentVia(const SizeEntry& entry, std::uint32_t kind) {
  return kind == SizeKind_Vias && gSheet.window && entry.index != kNewSizeEntry &&
         entry.index == gSheet.window->CurrentViaSize;
}

// Rows shown highlighted: entries in use, the current via, every dot.
bool IsMarkedRow(const SizeEntry& entry, std::uint32_t kind) {
  return (entry.flags & kSizeEntryInUse) || IsCurrentVia(entry, kind) || kind == SizeKind_Dots;
}

void UpdatePageButtons(HWND page) {
  const std::uint32_t kind = PageKind(page);
  const SizeList* list = EditedList(kind);
  const int count = list ? static_cast<int>(list->count()) : 0;
  const int row = SelectedRow(page, kSizePageList);
  const bool chosen = row >= 0 && row < count;
  const bool dots = kind == SizeKind_Dots;
  const bool removable = chosen && count > 1 &&
                         !(list->entries[static_cast<std::size_t>(row)].flags & kSizeEntryInUse) &&
                         !IsCurrentVia(list->entries[static_cast<std::size_t>(row)], kind);
  EnableWindow(GetDlgItem(page, kSizePageUp), !dots && chosen && row > 0);
  EnableWindow(GetDlgItem(page, kSizePageTop), !dots && chosen && row > 0);
  EnableWindow(GetDlgItem(page, kSizePageDown), !dots && chosen && row < count - 1);
  EnableWindow(GetDlgItem(page, kSizePageBottom), !dots && chosen && row < count - 1);
  EnableWindow(GetDlgItem(page, kSizePageRemove), !dots && removable);
  EnableWindow(GetDlgItem(page, kSizePageNew), !dots);
  EnableWindow(GetDlgItem(page, kSizePageEdit), chosen);
}

void FillPageList(HWND page, int select) {
  const SizeList* list = EditedList(PageKind(page));
  const int count = list ? static_cast<int>(list->count()) : 0;
  SendDlgItemMessage(page, kSizePageList, LB_RESETCONTENT, 0, 0);
  for (int i = 0; i < count; ++i) SendDlgItemMessage(page, kSizePageList, LB_ADDSTRING, 0, i);
  if (count > 0) SendDlgItemMessage(page, kSizePageList, LB_SETCURSEL, static_cast<WPARAM>(std::clamp(select, 0, count - 1)), 0);
  UpdatePageButtons(page);
}

void PageChanged(HWND page) {
  gSheet.changed = true;
  SendMessageA(GetParent(page), PSM_CHANGED, reinterpret_cast<WPARAM>(page), 0);
}

// Moves the selected entry to another place, the others shifting by one.
void MoveEntry(HWND page, int to) {
  SizeList* list = EditedList(PageKind(page));
  const int from = SelectedRow(page, kSizePageList);
  if (!list || from < 0 || from >= static_cast<int>(list->count()) || to < 0 || to >= static_cast<int>(list->count()) ||
      to == from)
    return;
  auto& entries = list->entries;
  if (from < to) std::rotate(entries.begin() + from, entries.begin() + from + 1, entries.begin() + to + 1);
  else std::rotate(entries.begin() + to, entries.begin() + from, entries.begin() + from + 1);
  FillPageList(page, to);
  PageChanged(page);
}

void NewEntry(HWND page) {
  const std::uint32_t kind = PageKind(page);
  SizeList* list = EditedList(kind);
  if (!list) return;
  SizeEntry entry{};
  entry.index = kNewSizeEntry;
  entry.flags = kSizeEntryOn;
  entry.unit = kind == SizeKind_Fonts ? kSizeUnitNone : 0;
  if (!ShowSizeOptionsDialog(page, &entry, kind)) return;
  list = EditedList(kind);
  list->entries.push_back(entry);
  FillPageList(page, static_cast<int>(list->count()) - 1);
  PageChanged(page);
}

void EditEntry(HWND page) {
  const std::uint32_t kind = PageKind(page);
  SizeList* list = EditedList(kind);
  const int row = SelectedRow(page, kSizePageList);
  if (!list || row < 0 || row >= static_cast<int>(list->count())) return;
  SizeEntry entry = list->entries[static_cast<std::size_t>(row)];
  const std::uint32_t inUse = entry.flags & kSizeEntryInUse;
  if (!ShowSizeOptionsDialog(page, &entry, kind)) return;
  entry.flags = (entry.flags & ~kSizeEntryInUse) | inUse;
  EditedList(kind)->entries[static_cast<std::size_t>(row)] = entry;
  FillPageList(page, row);
  PageChanged(page);
}

void RemoveEntry(HWND page) {
  SizeList* list = EditedList(PageKind(page));
  const int row = SelectedRow(page, kSizePageList);
  if (!list || row < 0 || row >= static_cast<int>(list->count()) || list->count() < 2) return;
  list->entries.erase(list->entries.begin() + row);
  FillPageList(page, row - 1);
  PageChanged(page);
}

// ---- Load... and Save... -------------------------------------------------------------

constexpr char kSizeFileFilter[] = "Sizes File (*.P3S)\0*.P3S\0";

void SaveSizes(HWND page) {
  if (!EditedSizeTable) return;
  SetupOpenFileName(page, kSizeFileFilter, "p3s", DialogStartFolders().configurationPath.c_str());
  SharedOpenFileName.lpstrTitle = "Select Output Sizes File";
  const std::optional<std::string> path = ShowSaveFileDialog(page, "");
  if (path && !SaveSizeFile(*EditedSizeTable, path->c_str()))
    ShowMessageEx(page, "Unable to write the sizes file.", "Pelmora3", MB_OK | MB_ICONEXCLAMATION);
}

bool AnySizeInUse(const SizeTable& table) {
  for (const SizeList& list : table.lists)
    for (const SizeEntry& entry : list.entries)
      if (entry.flags & kSizeEntryInUse) return true;
  return false;
}

bool SameSize(const SizeEntry& a, const SizeEntry& b, std::uint32_t kind) {
  if (a.value1 != b.value1) return false;
  if (HasTwoValues(kind) && a.value2 != b.value2) return false;
  return pl3::EqualsNoCase(a.name, b.name);
}

// Appends every entry of the file that the edited list does not already hold
// (by value and name), as new entries; the dots are left as they are.
void MergeSizes(SizeTable& edited, const SizeTable& file) {
  for (std::uint32_t kind = 0; kind < kSizeKindCount; ++kind) {
    if (kind == SizeKind_Dots) continue;
    auto& entries = edited[kind].entries;
    for (SizeEntry entry : file[kind].entries) {
      if (std::any_of(entries.begin(), entries.end(), [&](const SizeEntry& e) { return SameSize(e, entry, kind); }))
        continue;
      entry.index = kNewSizeEntry;
      entry.flags &= ~kSizeEntryInUse;
      entries.push_back(entry);
    }
  }
}

// Drops the entries no item uses. The two dots always stay: items never
// mark them, and a table without them has no connection dot sizes.
void RemoveUnusedSizes(SizeTable& edited) {
  for (std::uint32_t kind = 0; kind < kSizeKindCount; ++kind) {
    if (kind == SizeKind_Dots) continue;
    auto& entries = edited[kind].entries;
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [](const SizeEntry& e) { return !(e.flags & kSizeEntryInUse); }),
                  entries.end());
  }
}

void ReplaceSizes(SizeTable& edited, const SizeTable& file) {
  edited = file;
  for (SizeList& list : edited.lists)
    for (SizeEntry& entry : list.entries) entry.index = kNewSizeEntry;
}

std::string MissingSectionsText(std::uint32_t editorKind, const SizeTable* file) {
  std::string names;
  for (std::uint32_t kind = 0; kind < kSizeKindCount; ++kind) {
    if (!LoadNeedsSizeKind(editorKind, kind) || (file && (*file)[kind].count() > 0)) continue;
    if (!names.empty()) names += ", ";
    names += SizeKindNames[kind];
  }
  return names;
}

void LoadSizes(HWND page) {
  if (!EditedSizeTable || !gSheet.window) return;
  if (AnySizeInUse(*EditedSizeTable) &&
      ShowMessageEx(page, "Some sizes in the table are used, do you want to continue?", "Pelmora3",
                    MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  SetupOpenFileName(page, kSizeFileFilter, "p3s", DialogStartFolders().configurationPath.c_str());
  SharedOpenFileName.lpstrTitle = "Select Sizes File";
  const std::optional<std::string> path = ShowOpenFileDialog(page, nullptr);
  if (!path) return;
  // A file that cannot be read lacks every section the editor needs.
  const std::unique_ptr<SizeTable> file = LoadSizeFile(path->c_str());
  const std::string missing = MissingSectionsText(gSheet.window->editorKind, file.get());
  if (!missing.empty()) {
    const std::string text = "Size file is not valid for this editor, file is missing the following: " + missing;
    ShowMessageEx(page, text.c_str(), "Pelmora3", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  const bool inUse = AnySizeInUse(*EditedSizeTable);
  switch (ShowMessageEx(page, "Do you want to keep unused sizes?", "Pelmora3", MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
      MergeSizes(*EditedSizeTable, *file);
      break;
    case IDNO:
      if (inUse) {
        RemoveUnusedSizes(*EditedSizeTable);
        MergeSizes(*EditedSizeTable, *file);
      } else {
        ReplaceSizes(*EditedSizeTable, *file);
      }
      break;
    default:
      return;
  }
  PageChanged(page);
  SendMessageA(GetParent(page), PSM_QUERYSIBLINGS, kRefreshSizeList, 0);
}

// ---- Applying the sheet ------------------------------------------------------------------

void ApplySheet() {
  if (!gSheet.changed || !EditedSizeTable || !gSheet.window) return;
  SizeIndexSettings settings;
  if (gSheet.currentSizes) {
    settings.lineDefaults = gSheet.currentSizes;      // words 0 and 1: wire and bus
    settings.fontDefaults = gSheet.currentSizes + 2;  // words 2 to 7: locators
  }
  ApplyEditedSizeTable(*gSheet.window, *EditedSizeTable, settings);
  // The window's table now numbers its entries by position; so does the copy.
  for (SizeList& list : EditedSizeTable->lists)
    for (std::uint32_t i = 0; i < list.count(); ++i) list.entries[i].index = i;
  gSheet.changed = false;
  RedrawView(gSheet.window->Window);
}

LRESULT Answer(HWND dialog, LRESULT result) {
  SetWindowLongPtr(dialog, DWLP_MSGRESULT, result);
  return TRUE;
}

void OnPageCommand(HWND page, WPARAM wParam) {
  switch (LOWORD(wParam)) {
    case kSizePageList:
      if (HIWORD(wParam) == LBN_SELCHANGE) UpdatePageButtons(page);
      if (HIWORD(wParam) == LBN_DBLCLK) EditEntry(page);
      break;
    case kSizePageUp: MoveEntry(page, SelectedRow(page, kSizePageList) - 1); break;
    case kSizePageDown: MoveEntry(page, SelectedRow(page, kSizePageList) + 1); break;
    case kSizePageTop: MoveEntry(page, 0); break;
    case kSizePageBottom: {
      const SizeList* list = EditedList(PageKind(page));
      if (list) MoveEntry(page, static_cast<int>(list->count()) - 1);
      break;
    }
    case kSizePageNew: NewEntry(page); break;
    case kSizePageEdit: EditEntry(page); break;
    case kSizePageRemove: RemoveEntry(page); break;
    case kSizePageLoad: LoadSizes(page); break;
    case kSizePageSave: SaveSizes(page); break;
    default: break;
  }
}

// ---- Select Size -------------------------------------------------------------------------

struct SelectSizeBlock {
  std::uint32_t kind;
  std::uint32_t index;
  const char* caption;
};

const DialogControl kSelectSizeControls[] = {
    {"LISTBOX", kSelectSizeList, "", 7, 7, 220, 120,
     LBS_OWNERDRAWFIXED | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_WANTKEYBOARDINPUT | WS_VSCROLL | WS_BORDER |
         WS_TABSTOP},
    {"BUTTON", IDOK, "OK", 60, 134, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {"BUTTON", IDCANCEL, "Cancel", 124, 134, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kSelectSizeDlg{"SELECTSIZEDLG", 0, "Select Size", 0, 0, 234, 155,
                                    DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, kSelectSizeControls};
const bool kSelectRegistered = pl3::RegisterDialogTemplate(&kSelectSizeDlg);

SelectSizeBlock* SelectBlock(HWND dialog) {
  return reinterpret_cast<SelectSizeBlock*>(GetWindowLongPtr(dialog, DWLP_USER));
}

void FillChooser(HWND dialog, const SelectSizeBlock& block) {
  const SizeList* list = EditedList(block.kind);
  int select = 0;
  for (std::uint32_t i = 0; list && i < list->count(); ++i) {
    if (!(list->entries[i].flags & kSizeEntryOn)) continue;
    const LRESULT row = SendDlgItemMessage(dialog, kSelectSizeList, LB_ADDSTRING, 0, static_cast<LPARAM>(i));
    if (i == block.index) select = static_cast<int>(row);
  }
  SendDlgItemMessage(dialog, kSelectSizeList, LB_SETCURSEL, static_cast<WPARAM>(select), 0);
}

// A key stroke that is an on entry's key chooses it (the last of several).
LRESULT ChooseByKey(HWND dialog, SelectSizeBlock& block, WPARAM key) {
  const SizeList* list = EditedList(block.kind);
  std::optional<std::uint32_t> found;
  for (std::uint32_t i = 0; list && i < list->count(); ++i)
    if ((list->entries[i].flags & kSizeEntryOn) && list->entries[i].key && list->entries[i].key == key) found = i;
  if (!found) return -1;
  block.index = *found;
  EndDialog(dialog, 1);
  return -2;
}

INT_PTR CALLBACK SelectSizeDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      auto* block = reinterpret_cast<SelectSizeBlock*>(lParam);
      SetWindowLongPtr(dialog, DWLP_USER, lParam);
      if (!block) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      if (block->caption) SetWindowText(dialog, block->caption);
      SetUpColumns(dialog, kSelectSizeList, kSelectSizeHeader, block->kind);
      FillChooser(dialog, *block);
      SetFocus(GetDlgItem(dialog, kSelectSizeList));
      return FALSE;
    }
    case WM_DRAWITEM: {
      const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      SelectSizeBlock* block = SelectBlock(dialog);
      SizeList* list = block ? EditedList(block->kind) : nullptr;
      if (!draw || !list || draw->CtlID != kSelectSizeList || draw->itemID == static_cast<UINT>(-1) ||
          draw->itemData >= list->count())
        return FALSE;
      DrawSizeRow(*draw, GetDlgItem(dialog, kSelectSizeHeader), list->entries[draw->itemData], block->kind, false);
      return TRUE;
    }
    case WM_VKEYTOITEM:
      if (SelectSizeBlock* block = SelectBlock(dialog)) return ChooseByKey(dialog, *block, LOWORD(wParam));
      return -1;
    case WM_NOTIFY:
      if (SelectSizeBlock* block = SelectBlock(dialog))
        return OnHeaderNotify(dialog, reinterpret_cast<const NMHDR*>(lParam), kSelectSizeHeader, kSelectSizeList,
                              block->kind);
      return FALSE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK: {
          SelectSizeBlock* block = SelectBlock(dialog);
          const int row = SelectedRow(dialog, kSelectSizeList);
          if (block && row >= 0)
            block->index = static_cast<std::uint32_t>(
                SendDlgItemMessage(dialog, kSelectSizeList, LB_GETITEMDATA, static_cast<WPARAM>(row), 0));
          EndDialog(dialog, 1);
          return TRUE;
        }
        case IDCANCEL:
          EndDialog(dialog, 0);
          return TRUE;
        case kSelectSizeList:
          if (HIWORD(wParam) == LBN_DBLCLK) SendMessageA(dialog, WM_COMMAND, IDOK, 0);
          return TRUE;
        default:
          return FALSE;
      }
    case WM_DESTROY:
      if (SelectSizeBlock* block = SelectBlock(dialog)) SaveRememberedWidths(block->kind);
      return FALSE;
    default:
      return FALSE;
  }
}

// ---- The sheet's pages by editor kind ----------------------------------------------------

const char* const kSizePage = "SIZEPAGEDLG";
#define SIZE_PAGE(title, kind) \
  PropertySheetPage { title, kSizePage, &SizePageDlgProc, kind }

const PropertySheetPage kPcbPages[] = {SIZE_PAGE("Holes", SizeKind_Holes),   SIZE_PAGE("Vias", SizeKind_Vias),
                                       SIZE_PAGE("Tracks", SizeKind_Lines),  SIZE_PAGE("Rectangles", SizeKind_Rectangles),
                                       SIZE_PAGE("Circles", SizeKind_Circles), SIZE_PAGE("Fonts", SizeKind_Fonts),
                                       {nullptr, nullptr, nullptr}};
const PropertySheetPage kShapePages[] = {SIZE_PAGE("Lines", SizeKind_Lines),
                                         SIZE_PAGE("Rectangles", SizeKind_Rectangles),
                                         SIZE_PAGE("Circles", SizeKind_Circles), {nullptr, nullptr, nullptr}};
const PropertySheetPage kPcbSymbolPages[] = {SIZE_PAGE("Lines", SizeKind_Lines),
                                             SIZE_PAGE("Rectangles", SizeKind_Rectangles),
                                             SIZE_PAGE("Circles", SizeKind_Circles), SIZE_PAGE("Fonts", SizeKind_Fonts),
                                             SIZE_PAGE("Holes", SizeKind_Holes), {nullptr, nullptr, nullptr}};
const PropertySheetPage kPadStackPages[] = {SIZE_PAGE("Holes", SizeKind_Holes), {nullptr, nullptr, nullptr}};
const PropertySheetPage kSchematicPages[] = {SIZE_PAGE("Lines", SizeKind_Lines),
                                             SIZE_PAGE("Rectangles", SizeKind_Rectangles),
                                             SIZE_PAGE("Circles", SizeKind_Circles), SIZE_PAGE("Fonts", SizeKind_Fonts),
                                             SIZE_PAGE("Dots", SizeKind_Dots), {nullptr, nullptr, nullptr}};
#undef SIZE_PAGE

const PropertySheetPage* PagesOf(std::uint32_t editorKind) {
  switch (editorKind) {
    case kEditorPcb: return kPcbPages;
    case kEditorShape: return kShapePages;
    case kEditorPcbSymbol: return kPcbSymbolPages;
    case kEditorPadStack: return kPadStackPages;
    case kEditorSchematicSymbol: case kEditorSchematic: return kSchematicPages;
    default: return nullptr;
  }
}

}  // namespace

// ---- Public entry points -------------------------------------------------------------------

bool LoadNeedsSizeKind(std::uint32_t editorKind, std::uint32_t kind) {
  constexpr std::uint32_t L = 1u << SizeKind_Lines, C = 1u << SizeKind_Circles, R = 1u << SizeKind_Rectangles,
                          H = 1u << SizeKind_Holes, V = 1u << SizeKind_Vias, F = 1u << SizeKind_Fonts,
                          D = 1u << SizeKind_Dots;
  std::uint32_t needed = 0;
  switch (editorKind) {
    case kEditorPcb: needed = L | C | R | H | V | F; break;
    case kEditorShape: needed = L | C | R; break;
    case kEditorPcbSymbol: needed = L | C | R | H | F; break;
    case kEditorPadStack: needed = H; break;
    case kEditorSchematicSymbol: needed = L | C | R | F; break;
    case kEditorSchematic: needed = L | C | R | F | D; break;
    default: break;
  }
  return kind < kSizeKindCount && (needed & (1u << kind)) != 0;
}

INT_PTR CALLBACK SizePageDlgProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      const auto* record = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
      const std::uint32_t kind = record && record->lParam >= 0 && record->lParam < static_cast<LPARAM>(kSizeKindCount)
                                     ? static_cast<std::uint32_t>(record->lParam)
                                     : SizeKind_Lines;
      SetWindowLongPtr(page, DWLP_USER, static_cast<LONG_PTR>(kind));
      SetUpColumns(page, kSizePageList, kSizePageHeader, kind);
      FillPageList(page, 0);
      return TRUE;
    }
    case WM_DRAWITEM: {
      const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      const std::uint32_t kind = PageKind(page);
      SizeList* list = EditedList(kind);
      if (!draw || !list || draw->CtlID != kSizePageList || draw->itemID >= list->count()) return FALSE;
      SizeEntry& entry = list->entries[draw->itemID];
      DrawSizeRow(*draw, GetDlgItem(page, kSizePageHeader), entry, kind, IsMarkedRow(entry, kind));
      return TRUE;
    }
    case WM_COMMAND:
      OnPageCommand(page, wParam);
      return TRUE;
    case WM_NOTIFY: {
      const auto* note = reinterpret_cast<const NMHDR*>(lParam);
      if (OnHeaderNotify(page, note, kSizePageHeader, kSizePageList, PageKind(page))) return TRUE;
      if (note && note->code == PSN_APPLY) {
        ApplySheet();
        return Answer(page, PSNRET_NOERROR);
      }
      return FALSE;
    }
    case PSM_QUERYSIBLINGS:
      if (wParam == kRefreshSizeList) FillPageList(page, 0);
      return Answer(page, 0);
    case WM_DESTROY:
      SaveRememberedWidths(PageKind(page));
      return FALSE;
    default:
      return FALSE;
  }
}

int ShowConfigureSizesDialog(HWND frame) {
  (void)kPageRegistered;
  CurrentWindowData* window = ActiveWindowData;
  const PropertySheetPage* pages = window ? PagesOf(window->editorKind) : nullptr;
  if (!pages || !window->sizeTable) return 0;
  MarkSizesInUse(window->design);
  FillEditedTable(*window->sizeTable);
  gSheet = SizeSheet{window, nullptr, false};
  if (window->editorKind == kEditorSchematic || window->editorKind == kEditorSchematicSymbol)
    gSheet.currentSizes = window->design ? GetCurrentSizeRecord(window->design) : nullptr;
  const INT_PTR result = ShowPropertySheet(frame, "Configure Sizes", pages);
  FreeEditedTable();
  gSheet = SizeSheet{};
  return static_cast<int>(result);
}

int ShowSizeOptionsDialog(HWND owner, SizeEntry* entry, std::uint32_t kind) {
  (void)kOptionsRegistered;
  if (!entry || kind >= kSizeKindCount) return 0;
  SizeOptionsBlock block{entry, kind};
  const char* name = HasTwoValues(kind) ? "SIZEOPTIONSDLG2PARAMS" : "SIZEOPTIONSDLG";
  return DialogBoxParam(nullptr, name, owner, &SizeOptionsDlgProc, reinterpret_cast<LPARAM>(&block)) == 1 ? 1 : 0;
}

int ShowSelectSizeDialogWithCaption(HWND owner, std::uint32_t kind, std::uint32_t* index, const char* caption) {
  (void)kSelectRegistered;
  const SizeTable* table = ActiveSizeTable();
  if (!table || !index || kind >= kSizeKindCount) return 0;
  FillEditedTable(*table);
  SelectSizeBlock block{kind, *index, caption};
  const INT_PTR result =
      DialogBoxParam(nullptr, "SELECTSIZEDLG", owner, &SelectSizeDlgProc, reinterpret_cast<LPARAM>(&block));
  FreeEditedTable();
  if (result != 1) return 0;
  *index = block.index;
  return 1;
}

int ShowSelectSizeDialog(HWND owner, std::uint32_t kind, std::uint32_t* index) {
  return ShowSelectSizeDialogWithCaption(owner, kind, index, nullptr);
}

std::uint32_t EntitySizeKind(std::uint16_t type, const void* payload, std::uint32_t payloadSize) {
  switch (type) {
    case Type_Circle: return SizeKind_Circles;
    case Type_Rectangle: return SizeKind_Rectangles;
    case Type_Text: case Type_AttributeLocator: case Type_Datum: case Type_Label: return SizeKind_Fonts;
    case Type_PlatedSlot: case Type_NonPlatedSlot: return SizeKind_Holes;
    case Type_Hole: {
      const auto* p = static_cast<const std::uint8_t*>(payload);
      const bool via = p && payloadSize > offsetof(pl3::HoleLayout, flags) &&
                       (p[offsetof(pl3::HoleLayout, flags)] & kHoleIsVia);
      return via ? SizeKind_Vias : SizeKind_Holes;
    }
    default: return SizeKind_Lines;
  }
}

int SelectEntitySize(HWND owner, const Tower* entity, std::uint32_t* index) {
  Entity* e = TowerEntity(entity);
  std::uint8_t* payload = PayloadOfAtLeast(e, sizeof(std::uint32_t) * 2);
  if (!payload) return 0;
  std::uint32_t chosen = ReadU32(payload, offsetof(GraphicHead, sizeIndex));
  if (!ShowSelectSizeDialog(owner, EntitySizeKind(e->typeCode, payload, e->payloadSize), &chosen)) return 0;
  WriteU32(payload, offsetof(GraphicHead, sizeIndex), chosen);
  if (index) *index = chosen;
  return 1;
}
