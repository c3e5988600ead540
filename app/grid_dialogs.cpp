#include "app/grid_dialogs.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/core_utilities.h"
#include "app/grid_control.h"
#include "app/key_fields.h"
#include "app/new_grid_dialog.h"
#include "app/start_values.h"
#include "draw/grid_files.h"
#include "edit/status_bar.h"
#include "edit/status_seams.h"
#include "edit/window_data.h"
#include "geometry/length_units.h"
#include "objects/design_walks.h"
#include "objects/view_seams.h"
#include "objects/window_state.h"
#include "platform/commctrl.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/menus.h"
#include "platform/reset_hooks.h"
#include "platform/user_constants.h"
#include "store/file_dialogs.h"
#include "store/path_helpers.h"

GridFileRecord GridFileChoice = {};
GridFileRecord DialogGridFile = {};

namespace {

constexpr char kGridFileFilter[] = "PL3 Grid List (*.GRD)\0*.GRD\0";
constexpr char kGridExtension[] = "grd";
constexpr char kGridDefaultExtension[] = "GRD";

void FreeRecord(GridFileRecord& record) {
  std::free(record.path);
  std::free(record.name);
  record = {};
}

void SetRecord(GridFileRecord& record, const std::string& path) {
  char* newPath = DuplicateString(path.c_str());
  char* newName = DuplicateString(GetFileNamePart(path).c_str());
  FreeRecord(record);
  record = {newPath, newName};
}

void ResetGridFileRecords() {
  FreeRecord(GridFileChoice);
  FreeRecord(DialogGridFile);
}
const bool gRegistered = pl3::RegisterGlobalReset(&ResetGridFileRecords);

void SetUpGridFileDialog(HWND owner) {
  SetupOpenFileName(owner, kGridFileFilter, kGridDefaultExtension, DialogStartFolders().configurationPath.c_str());
}

void ReportFile(HWND owner, const char* format, const char* path, const char* caption) {
  char* text = FormatNewString(format, path ? path : "");
  ShowMessage(owner, text ? text : "", caption);
  std::free(text);
}

// ---- "Edit Polar Grid" -------------------------------------------------------------------

constexpr DWORD kDialogStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr int kStyleEveryDegrees = 0;   // combo index of "Every n degrees"
constexpr int kStyleEveryFraction = 1;  // "Every 360/n degrees"

const DialogControl kEditPolarControls[] = {
    {"STATIC", -1, "Step Angle:", 7, 9, 50, 10, SS_LEFT},
    {"EDIT", kPolarAngleField, "", 60, 7, 80, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
    {"STATIC", -1, "Radius:", 7, 27, 50, 10, SS_LEFT},
    {"EDIT", kPolarRadiusField, "", 60, 25, 80, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
    {"STATIC", -1, "Style:", 7, 45, 50, 10, SS_LEFT},
    {"COMBOBOX", kPolarStyleCombo, "", 60, 43, 100, 40, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP},
    {"STATIC", -1, "Keystroke:", 7, 63, 50, 10, SS_LEFT},
    {"EDIT", kPolarKeyField, "", 60, 61, 40, 12, WS_BORDER | WS_TABSTOP},
    {"BUTTON", IDOK, "OK", 35, 82, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {"BUTTON", IDCANCEL, "Cancel", 95, 82, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kEditPolarDlg{nullptr, kEditPolarGridDialogId, "Edit Polar Grid", 0, 0, 180, 104, kDialogStyle,
                                   kEditPolarControls};
const bool kEditPolarRegistered = pl3::RegisterDialogTemplate(&kEditPolarDlg);

std::string ItemText(HWND dialog, int id) {
  char text[256] = {};
  GetDlgItemText(dialog, id, text, sizeof text);
  return text;
}

// The step angle typed, read as a number; 0 for none (text that is no
// number, or an infinite one).
double ReadStepAngle(HWND dialog) {
  const std::string text = ItemText(dialog, kPolarAngleField);
  const double angle = std::strtod(text.c_str(), nullptr);
  return std::isfinite(angle) ? angle : 0;
}

bool ReadRadius(HWND dialog, double* value, std::uint32_t* unit) {
  double v = 0;
  std::uint32_t u = 0;
  if (!pl3::ParseLengthWithUnits(ItemText(dialog, kPolarRadiusField), v, u) || v == 0 || !std::isfinite(v)) return false;
  *value = v;
  *unit = u;
  return true;
}

void UpdatePolarOk(HWND dialog) {
  double radius = 0;
  std::uint32_t unit = 0;
  EnableWindow(GetDlgItem(dialog, IDOK), ReadRadius(dialog, &radius, &unit) && ReadStepAngle(dialog) != 0);
}

void InitialisePolar(HWND dialog, const GridEntry& e) {
  char text[64];
  std::snprintf(text, sizeof text, "%g", e.angleValue);
  SetDlgItemText(dialog, kPolarAngleField, text);
  SetDlgItemText(dialog, kPolarRadiusField, pl3::FormatLengthWithUnits({e.ringSpacing, e.unit}).c_str());
  SendDlgItemMessage(dialog, kPolarStyleCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Every n degrees"));
  SendDlgItemMessage(dialog, kPolarStyleCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Every 360/n degrees"));
  const int style = e.angleStyle == kAngleEveryFraction ? kStyleEveryFraction
                    : e.angleStyle == kAngleEveryDegrees ? kStyleEveryDegrees
                                                        : -1;
  SendDlgItemMessage(dialog, kPolarStyleCombo, CB_SETCURSEL, static_cast<WPARAM>(style), 0);
  SetDlgItemKeyChar(dialog, kPolarKeyField, e.keyStroke);
  MakeKeyCharField(dialog, kPolarKeyField);
  UpdatePolarOk(dialog);
}

void AcceptPolar(HWND dialog, GridEntry& e) {
  double radius = 0;
  std::uint32_t unit = 0;
  const double angle = ReadStepAngle(dialog);
  if (!ReadRadius(dialog, &radius, &unit) || angle == 0) return;
  const LRESULT style = SendDlgItemMessage(dialog, kPolarStyleCombo, CB_GETCURSEL, 0, 0);
  if (style == kStyleEveryDegrees) e.angleStyle = kAngleEveryDegrees;
  if (style == kStyleEveryFraction) e.angleStyle = kAngleEveryFraction;
  e.ringSpacing = radius;
  e.unit = unit;
  e.angleValue = angle;
  e.keyStroke = GetDlgItemKeyChar(dialog, kPolarKeyField);
  EndDialog(dialog, 1);
}

INT_PTR CALLBACK EditPolarGridProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtr(dialog, DWLP_USER, lParam);
    InitialisePolar(dialog, *reinterpret_cast<const GridEntry*>(lParam));
    return TRUE;
  }
  if (message == WM_CLOSE) {
    EndDialog(dialog, 0);
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  auto* entry = reinterpret_cast<GridEntry*>(GetWindowLongPtr(dialog, DWLP_USER));
  switch (LOWORD(wParam)) {
    case IDOK:
      if (entry) AcceptPolar(dialog, *entry);
      return TRUE;
    case IDCANCEL:
      EndDialog(dialog, 0);
      return TRUE;
    case kPolarRadiusField:
    case kPolarAngleField:
      if (HIWORD(wParam) == EN_CHANGE) UpdatePolarOk(dialog);
      return TRUE;
    default:
      return FALSE;
  }
}

// ---- "Select Grid" -----------------------------------------------------------------------

const DialogControl kSelectGridControls[] = {
    {WC_LISTVIEW, kGridListId, "", 7, 7, 230, 130,
     LVS_REPORT | LVS_OWNERDATA | LVS_OWNERDRAWFIXED | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP},
    {"BUTTON", kGridMoveUpButton, "Move Up", 245, 7, 60, 14, BS_PUSHBUTTON | WS_TABSTOP},
    {"BUTTON", kGridMoveDownButton, "Move Down", 245, 25, 60, 14, BS_PUSHBUTTON | WS_TABSTOP},
    {"BUTTON", kGridNewButton, "New...", 245, 49, 60, 14, BS_PUSHBUTTON | WS_TABSTOP},
    {"BUTTON", kGridEditButton, "Edit...", 245, 67, 60, 14, BS_PUSHBUTTON | WS_TABSTOP},
    {"BUTTON", kGridDeleteButton, "Delete", 245, 85, 60, 14, BS_PUSHBUTTON | WS_TABSTOP},
    {"BUTTON", kGridDisplayedCheck, "Grid Is Displayed", 7, 143, 90, 10, BS_AUTOCHECKBOX | WS_TABSTOP},
    {"BUTTON", kGridSnapCheck, "Snap To Grid", 105, 143, 80, 10, BS_AUTOCHECKBOX | WS_TABSTOP},
    {"EDIT", kGridFilePathField, "", 7, 159, 298, 12, ES_AUTOHSCROLL | ES_READONLY | WS_BORDER | WS_TABSTOP},
    {"BUTTON", kGridLoadButton, "Load Grids...", 7, 177, 70, 14, BS_PUSHBUTTON | WS_TABSTOP},
    {"BUTTON", kGridSaveButton, "Save Grids...", 83, 177, 70, 14, BS_PUSHBUTTON | WS_TABSTOP},
    {"BUTTON", kGridSaveDefaultButton, "Save As Default", 159, 177, 70, 14, BS_PUSHBUTTON | WS_TABSTOP},
    {"BUTTON", IDOK, "OK", 190, 199, 55, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {"BUTTON", IDCANCEL, "Cancel", 250, 199, 55, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kSelectGridDlg{nullptr, kSelectGridDialogId, "Select Grid", 0, 0, 312, 220, kDialogStyle,
                                    kSelectGridControls};
const bool kSelectGridRegistered = pl3::RegisterDialogTemplate(&kSelectGridDlg);

// The list's columns and the cell each shows.
constexpr GridColumnHead kListColumns[] = {{"X", 60}, {"Y", 60}, {"Unit", 50}, {"Type", 80}, {"Key", 60}};
constexpr int kListColumnCount = sizeof kListColumns / sizeof kListColumns[0];
constexpr int kListCells[kListColumnCount] = {GridColumn_X, GridColumn_Y, GridColumn_Unit, GridColumn_Type,
                                              GridColumn_Key};

// What the dialog works on.
struct SelectGridState {
  GridSet** set;
  HFONT bold;
};

SelectGridState* StateOf(HWND dialog) { return reinterpret_cast<SelectGridState*>(GetWindowLongPtr(dialog, DWLP_USER)); }
GridSet* SetOf(HWND dialog) {
  SelectGridState* st = StateOf(dialog);
  return st && st->set ? *st->set : nullptr;
}
HWND List(HWND dialog) { return GetDlgItem(dialog, kGridListId); }
int RowCount(HWND dialog) {
  const GridSet* set = SetOf(dialog);
  return set ? static_cast<int>(set->count) : 0;
}

int FirstSelected(HWND dialog) {
  return static_cast<int>(SendMessage(List(dialog), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

// "Move Up" needs a row above the selection, "Move Down" one below it.
void UpdateMoveButtons(HWND dialog) {
  const int row = FirstSelected(dialog);
  EnableWindow(GetDlgItem(dialog, kGridMoveUpButton), row > 0);
  EnableWindow(GetDlgItem(dialog, kGridMoveDownButton), row >= 0 && row + 1 < RowCount(dialog));
}

void SelectRow(HWND dialog, int row) {
  HWND list = List(dialog);
  LVITEM none{};
  none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessage(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
  if (row >= 0 && row < RowCount(dialog)) {
    LVITEM one{};
    one.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    one.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessage(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&one));
    SendMessage(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
  }
  UpdateMoveButtons(dialog);
}

// The rows follow the set: its count, then a repaint.
void RefreshRows(HWND dialog) {
  SendMessage(List(dialog), LVM_SETITEMCOUNT, static_cast<WPARAM>(RowCount(dialog)), 0);
  InvalidateRect(List(dialog), nullptr, TRUE);
  UpdateMoveButtons(dialog);
}

int CurrentRow(const GridSet* set) {
  for (std::uint32_t i = 0; set && i < set->count; ++i)
    if (IsCurrentGrid(set, *GridSetEntry(set, i))) return static_cast<int>(i);
  return -1;
}

void ShowPathField(HWND dialog) {
  const char* path = DialogGridFile.path ? DialogGridFile.path : DefaultGridsFile;
  SetDlgItemText(dialog, kGridFilePathField, path ? path : "");
  const auto end = static_cast<WPARAM>(path ? std::strlen(path) : 0);
  SendDlgItemMessage(dialog, kGridFilePathField, EM_SETSEL, end, static_cast<LPARAM>(end));
}

// The set's flags in the check boxes, its rows in the list, its current grid selected.
void ShowSet(HWND dialog) {
  const GridSet* set = SetOf(dialog);
  const std::uint16_t flags = set ? set->flags : 0;
  CheckDlgButton(dialog, kGridDisplayedCheck, (flags & kGridDisplayed) ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog, kGridSnapCheck, (flags & kGridSnap) ? BST_CHECKED : BST_UNCHECKED);
  RefreshRows(dialog);
  SelectRow(dialog, CurrentRow(set));
}

void SetUpList(HWND dialog, SelectGridState& st) {
  HWND list = List(dialog);
  SendMessage(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP);
  AddGridColumns(list, kListColumns, kListColumnCount);
  st.bold = CreateBoldFont(reinterpret_cast<HFONT>(SendMessage(list, WM_GETFONT, 0, 0)));
}

// Replaces the dialog's set by a grown one.
void Append(HWND dialog, const GridEntry& entry, bool makeCurrent) {
  GridSet** set = StateOf(dialog)->set;
  GridSet* grown = AppendGridEntry(*set, entry);
  if (!grown) return;
  std::free(*set);
  *set = grown;
  if (makeCurrent) grown->current = entry;
  RefreshRows(dialog);
  SelectRow(dialog, static_cast<int>(grown->count) - 1);
}

void NewCartesian(HWND dialog) {
  NewGridBlock block{kNewGridFillDefaults, "New Cartesian Grid", {}};
  if (NewGridDlg(dialog, &block)) Append(dialog, block.grid, true);
}

void NewPolar(HWND dialog) {
  GridEntry e{};
  e.unit = kGridUnitMm;
  e.kind = kGridPolar;
  e.ringSpacing = 2.0;
  e.angleStyle = kAngleEveryFraction;
  e.polarWord = 1;
  e.angleValue = 10.0;
  if (EditPolarGrid(dialog, &e)) Append(dialog, e, false);
}

void ChooseNewGrid(HWND dialog) {
  HMENU menu = CreatePopupMenu();
  AppendMenu(menu, MF_STRING, kNewCartesianItem, "Cartesian");
  AppendMenu(menu, MF_STRING, kNewPolarItem, "Polar");
  RECT button{};
  GetWindowRect(GetDlgItem(dialog, kGridNewButton), &button);
  const auto chosen =
      static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN, button.left, button.bottom, 0,
                                       dialog, nullptr));
  DestroyMenu(menu);
  if (chosen == kNewCartesianItem) NewCartesian(dialog);
  if (chosen == kNewPolarItem) NewPolar(dialog);
}

// A cartesian grid is edited on a copy and also becomes the current grid; a
// polar one is edited in place and leaves the current grid as it was.
void EditSelected(HWND dialog) {
  GridSet* set = SetOf(dialog);
  if (!set) return;
  HWND list = List(dialog);
  for (int row = FirstSelected(dialog); row >= 0 && static_cast<std::uint32_t>(row) < set->count;
       row = static_cast<int>(SendMessage(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED))) {
    GridEntry* entry = GridSetEntry(set, static_cast<std::uint32_t>(row));
    if (entry->kind == kGridPolar) {
      EditPolarGrid(dialog, entry);
      continue;
    }
    NewGridBlock block{0, "Edit Cartesian Grid", *entry};
    if (!NewGridDlg(dialog, &block)) continue;
    *entry = block.grid;
    set->current = block.grid;
  }
  InvalidateRect(list, nullptr, TRUE);
}

void DeleteSelected(HWND dialog) {
  GridSet* set = SetOf(dialog);
  const int row = FirstSelected(dialog);
  if (!set || row < 0 || static_cast<std::uint32_t>(row) >= set->count) return;
  RemoveGridEntry(set, static_cast<std::uint32_t>(row));
  RefreshRows(dialog);
  SelectRow(dialog, std::min(row, static_cast<int>(set->count) - 1));
}

void MoveSelected(HWND dialog, int step) {
  GridSet* set = SetOf(dialog);
  const int row = FirstSelected(dialog);
  const int to = row + step;
  if (!set || row < 0 || to < 0 || to >= static_cast<int>(set->count)) return;
  if (step < 0)
    MoveGridEntryUp(set, static_cast<std::uint32_t>(row));
  else
    MoveGridEntryDown(set, static_cast<std::uint32_t>(row));
  InvalidateRect(List(dialog), nullptr, TRUE);
  SelectRow(dialog, to);
}

void LoadGrids(HWND dialog) {
  if (!LoadGridFileDialog(dialog, StateOf(dialog)->set, &DialogGridFile)) return;
  ShowSet(dialog);
  ShowPathField(dialog);
}

void SaveGrids(HWND dialog) {
  SaveGridFileDialog(dialog, SetOf(dialog), &DialogGridFile);
  ShowPathField(dialog);
}

void SaveAsDefault(HWND dialog) {
  const std::string path = DialogGridFile.path ? DialogGridFile.path : (DefaultGridsFile ? DefaultGridsFile : "");
  if (path.empty()) return;
  if (!SaveGridList(path.c_str(), SetOf(dialog))) {
    ReportFile(dialog, "The grid file \"%s\" could not be written.", path.c_str(), "Save As Default");
    return;
  }
  SetDefaultGridsFile(path.c_str());
  SetRecord(GridFileChoice, path);
}

void Accept(HWND dialog) {
  GridSet* set = SetOf(dialog);
  const int row = FirstSelected(dialog);
  if (!set || row < 0 || static_cast<std::uint32_t>(row) >= set->count) return;
  set->current = *GridSetEntry(set, static_cast<std::uint32_t>(row));
  std::uint16_t flags = set->flags & static_cast<std::uint16_t>(~(kGridDisplayed | kGridSnap));
  if (IsDlgButtonChecked(dialog, kGridDisplayedCheck) == BST_CHECKED) flags |= kGridDisplayed;
  if (IsDlgButtonChecked(dialog, kGridSnapCheck) == BST_CHECKED) flags |= kGridSnap;
  set->flags = flags;
  EndDialog(dialog, 1);
}

LRESULT OnListNotify(HWND dialog, const NMHDR& note) {
  GridSet* set = SetOf(dialog);
  switch (note.code) {
    case LVN_GETDISPINFO: {
      auto& info = const_cast<NMLVDISPINFO&>(reinterpret_cast<const NMLVDISPINFO&>(note));
      const int row = info.item.iItem, column = info.item.iSubItem;
      if (set && row >= 0 && static_cast<std::uint32_t>(row) < set->count && column >= 0 && column < kListColumnCount)
        FillGridCellInfo(info, *GridSetEntry(set, static_cast<std::uint32_t>(row)), static_cast<std::uint32_t>(row),
                         kListCells[column]);
      return 0;
    }
    case LVN_ITEMCHANGED:
      UpdateMoveButtons(dialog);
      return 0;
    default:
      return 0;
  }
}

void OnDrawItem(HWND dialog, const DRAWITEMSTRUCT& item) {
  const GridSet* set = SetOf(dialog);
  if (!set || item.CtlID != kGridListId || item.itemID >= set->count) return;
  const GridEntry& entry = *GridSetEntry(set, item.itemID);
  const auto normal = reinterpret_cast<HFONT>(SendMessage(item.hwndItem, WM_GETFONT, 0, 0));
  const GridRowLook look{normal, StateOf(dialog)->bold, -1, kListCells, kListColumnCount};
  DrawGridRow(item, look, entry, item.itemID, IsCurrentGrid(set, entry));
}

bool OnCommand(HWND dialog, int id) {
  switch (id) {
    case IDOK: Accept(dialog); return true;
    case IDCANCEL: EndDialog(dialog, 0); return true;
    case kGridMoveUpButton: MoveSelected(dialog, -1); return true;
    case kGridMoveDownButton: MoveSelected(dialog, 1); return true;
    case kGridNewButton: ChooseNewGrid(dialog); return true;
    case kGridEditButton: EditSelected(dialog); return true;
    case kGridDeleteButton: DeleteSelected(dialog); return true;
    case kGridLoadButton: LoadGrids(dialog); return true;
    case kGridSaveButton: SaveGrids(dialog); return true;
    case kGridSaveDefaultButton: SaveAsDefault(dialog); return true;
    default: return false;
  }
}

INT_PTR CALLBACK SelectGridProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtr(dialog, DWLP_USER, lParam);
      SetUpList(dialog, *reinterpret_cast<SelectGridState*>(lParam));
      ShowSet(dialog);
      ShowPathField(dialog);
      SetFocus(List(dialog));
      return FALSE;
    }
    case WM_NOTIFY: {
      const auto& note = *reinterpret_cast<const NMHDR*>(lParam);
      if (static_cast<int>(note.idFrom) != kGridListId) return FALSE;
      SetWindowLongPtr(dialog, DWLP_MSGRESULT, OnListNotify(dialog, note));
      return TRUE;
    }
    case WM_DRAWITEM:
      OnDrawItem(dialog, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_COMMAND:
      return OnCommand(dialog, LOWORD(wParam)) ? TRUE : FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

int SelectGridFileToOpen(HWND owner, int mustExist, GridFileRecord* record) {
  if (!record) record = &GridFileChoice;
  SetUpGridFileDialog(owner);
  SharedOpenFileName.lpstrTitle = "Select Size List";
  const std::optional<std::string> chosen = ShowOpenFileDialog(owner, nullptr);
  if (!chosen) return 0;
  const std::string path = ReplaceExtension(*chosen, kGridExtension);
  if (mustExist && !FileExists(path.c_str())) {
    ReportFile(owner, "File \"%s\" does not exist.", path.c_str(), "Open Sizes Error");
    return 0;
  }
  SetRecord(*record, path);
  return 1;
}

int SelectGridFileToSave(HWND owner, GridFileRecord* record) {
  if (!record) record = &GridFileChoice;
  SetUpGridFileDialog(owner);
  const std::optional<std::string> chosen = ShowSaveFileDialog(owner, record->name ? record->name : "");
  if (!chosen) return 0;
  SetRecord(*record, ReplaceExtension(*chosen, kGridExtension));
  return 1;
}

int LoadGridFileDialog(HWND owner, GridSet** set, GridFileRecord* record) {
  if (!record) record = &GridFileChoice;
  if (!SelectGridFileToOpen(owner, 1, record)) return 0;
  if (LoadGridList(record->path, set)) return 1;
  ReportFile(owner, "The grid file \"%s\" could not be read.", record->path, "Load Grids");
  return 0;
}

int SaveGridFileDialog(HWND owner, const GridSet* set, GridFileRecord* record) {
  if (!record) record = &GridFileChoice;
  if (!SelectGridFileToSave(owner, record)) return 0;
  if (SaveGridList(record->path, set)) return 1;
  ReportFile(owner, "The grid file \"%s\" could not be written.", record->path, "Save Grids");
  return 0;
}

int EditPolarGrid(HWND owner, GridEntry* entry) {
  (void)kEditPolarRegistered;
  if (!entry) return 0;
  GridEntry copy = *entry;
  const INT_PTR result = DialogBoxParam(nullptr, MAKEINTRESOURCE(kEditPolarGridDialogId), owner, &EditPolarGridProc,
                                        reinterpret_cast<LPARAM>(&copy));
  if (result != 1) return 0;
  *entry = copy;
  return 1;
}

int RunSelectGridDialog(HWND owner, GridSet** set) {
  (void)kSelectGridRegistered;
  if (!set || !*set) return 0;
  InitCommonControls();  // the list view of the template
  SelectGridState st{set, nullptr};
  const INT_PTR result = DialogBoxParam(nullptr, MAKEINTRESOURCE(kSelectGridDialogId), owner, &SelectGridProc,
                                        reinterpret_cast<LPARAM>(&st));
  if (st.bold) DeleteObject(st.bold);
  return result == 1 ? 1 : 0;
}

int ShowSelectGridDialog(HWND owner) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return 0;
  GridSet* edited = DuplicateGridSet(WindowGridSet(*w));
  if (!edited || !RunSelectGridDialog(owner, &edited)) {
    std::free(edited);
    return 0;
  }
  if (GridSet* copy = DuplicateGridSet(edited)) {
    FreeGridInfo(w->Grids);
    w->Grids = copy;
  }
  std::free(DefaultGridSet);
  DefaultGridSet = edited;
  UpdateStatusBar(w->Window);
  RedrawView(w->Window);
  RecordDesignChange();
  UpdateToolbarStates(w->editorKind);
  Docking_SendToPaneClient(Pane_Grids, kPaneRefreshMessage, 0, reinterpret_cast<LPARAM>(w));
  return 1;
}
