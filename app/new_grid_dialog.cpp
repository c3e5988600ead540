#include "app/new_grid_dialog.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "app/core_utilities.h"
#include "app/key_fields.h"
#include "edit/window_data.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/user_constants.h"

namespace {

constexpr int kUnitsCombo = 124;
constexpr int kKeyField = 128;
constexpr int kLinkCheck = 117;

// The five fields of an axis, in the order of GridAxis.
struct AxisFields {
  int size, divisor, displayEvery, pixelGap, displayOneIn;
};
constexpr AxisFields kXFields{48, 68, 86, 108, 99};
constexpr AxisFields kYFields{199, 205, 213, 226, 220};

constexpr char kCaption[] = "New Grid";

constexpr DWORD kDialogStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kNumberStyle = ES_AUTOHSCROLL | ES_NUMBER | WS_BORDER | WS_TABSTOP;

// One axis's group, its left edge at x.
constexpr std::array<DialogControl, 14> AxisControls(short x, const char* title, const AxisFields& f) {
  return {{
      {"BUTTON", -1, title, x, 38, 150, 76, BS_GROUPBOX},
      {"STATIC", -1, "Size:", static_cast<short>(x + 6), 52, 40, 10, SS_LEFT},
      {"EDIT", f.size, "", static_cast<short>(x + 48), 50, 36, 12, kNumberStyle},
      {"STATIC", -1, "/", static_cast<short>(x + 88), 52, 6, 10, SS_LEFT},
      {"EDIT", f.divisor, "", static_cast<short>(x + 96), 50, 36, 12, kNumberStyle},
      {"STATIC", -1, "Display every", static_cast<short>(x + 6), 68, 50, 10, SS_LEFT},
      {"EDIT", f.displayEvery, "", static_cast<short>(x + 60), 66, 30, 12, kNumberStyle},
      {"STATIC", -1, "points.", static_cast<short>(x + 94), 68, 40, 10, SS_LEFT},
      {"STATIC", -1, "If less than", static_cast<short>(x + 6), 84, 50, 10, SS_LEFT},
      {"EDIT", f.pixelGap, "", static_cast<short>(x + 60), 82, 30, 12, kNumberStyle},
      {"STATIC", -1, "pixels apart,", static_cast<short>(x + 94), 84, 50, 10, SS_LEFT},
      {"STATIC", -1, "display one in", static_cast<short>(x + 6), 100, 52, 10, SS_LEFT},
      {"EDIT", f.displayOneIn, "", static_cast<short>(x + 60), 98, 30, 12, kNumberStyle},
      {"STATIC", -1, "points", static_cast<short>(x + 94), 100, 40, 10, SS_LEFT},
  }};
}

constexpr std::array<DialogControl, 5> kGridFields{{
    {"STATIC", -1, "Units:", 7, 9, 30, 10, SS_LEFT},
    {"COMBOBOX", kUnitsCombo, "", 40, 7, 80, 60, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP},
    {"STATIC", -1, "Key Stroke:", 170, 9, 44, 10, SS_LEFT},
    {"EDIT", kKeyField, "", 216, 7, 40, 12, WS_BORDER | WS_TABSTOP},
    {"BUTTON", kLinkCheck, "Link X and Y", 7, 24, 80, 10, BS_AUTOCHECKBOX | WS_TABSTOP},
}};
constexpr std::array<DialogControl, 2> kButtons{{
    {"BUTTON", IDOK, "OK", 106, 122, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {"BUTTON", IDCANCEL, "Cancel", 166, 122, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
}};

template <std::size_t... N>
constexpr auto JoinControls(const std::array<DialogControl, N>&... parts) {
  std::array<DialogControl, (N + ...)> all{};
  std::size_t at = 0;
  ((std::copy(parts.begin(), parts.end(), all.begin() + static_cast<std::ptrdiff_t>(at)), at += N), ...);
  return all;
}

constexpr auto kNewGridControls =
    JoinControls(kGridFields, AxisControls(7, "X", kXFields), AxisControls(163, "Y", kYFields), kButtons);
const DialogTemplate kNewGridDlg{kNewGridDialogName, 0, "New Grid", 0, 0, 320, 142, kDialogStyle, kNewGridControls};
const bool kNewGridRegistered = pl3::RegisterDialogTemplate(&kNewGridDlg);

int FieldIds(const AxisFields& f, int i) {
  const int ids[] = {f.size, f.divisor, f.displayEvery, f.pixelGap, f.displayOneIn};
  return ids[i];
}

// A new grid starts as the window's current grid when that is cartesian.
GridEntry StartingGrid() {
  if (const CurrentWindowData* w = ActiveWindowData) {
    if (const auto* set = static_cast<const GridSet*>(w->Grids); set && set->current.kind == kGridCartesian)
      return set->current;
  }
  GridEntry e{};
  e.unit = kGridUnitMm;
  e.kind = kGridCartesian;
  e.x = {1, 10, 1, 10, 10};
  e.y = e.x;
  return e;
}

void ShowAxis(HWND dialog, const AxisFields& f, const GridAxis& a) {
  const std::uint32_t values[] = {a.numerator, a.denominator, a.displayMultiple, a.minimumSpacing, a.thinningFactor};
  for (int i = 0; i < 5; ++i) SetDlgItemInt(dialog, FieldIds(f, i), values[i], FALSE);
}

void CopyDlgItemText(HWND dialog, int from, int to) {
  char text[64] = {};
  GetDlgItemText(dialog, from, text, sizeof text);
  SetDlgItemText(dialog, to, text);
}

// While linked the y fields follow the x fields and cannot be edited.
void ApplyLink(HWND dialog) {
  const bool linked = IsDlgButtonChecked(dialog, kLinkCheck) == BST_CHECKED;
  for (int i = 0; i < 5; ++i) {
    if (linked) CopyDlgItemText(dialog, FieldIds(kXFields, i), FieldIds(kYFields, i));
    EnableWindow(GetDlgItem(dialog, FieldIds(kYFields, i)), !linked);
  }
}

void Refuse(HWND dialog, const char* text, int field) {
  ShowMessage(dialog, text, kCaption);
  SetFocus(GetDlgItem(dialog, field));
  SendDlgItemMessage(dialog, field, EM_SETSEL, 0, -1);
}

std::uint32_t ReadField(HWND dialog, int id, int* lastZero) {
  const UINT value = GetDlgItemInt(dialog, id, nullptr, FALSE);
  if (value == 0) *lastZero = id;
  return value;
}

// Reads one axis with its checks; false after a refusal.
bool ReadAxis(HWND dialog, const AxisFields& f, std::uint32_t unit, GridAxis* axis, int* lastZero) {
  GridAxis a{};
  a.numerator = ReadField(dialog, f.size, lastZero);
  a.denominator = ReadField(dialog, f.divisor, lastZero);
  a.displayMultiple = ReadField(dialog, f.displayEvery, lastZero);
  a.minimumSpacing = GetDlgItemInt(dialog, f.pixelGap, nullptr, FALSE);
  if (a.minimumSpacing < kSmallestPixelGap) {
    Refuse(dialog, "Error - can't set pixel gap to be less than 8", f.pixelGap);
    return false;
  }
  a.thinningFactor = ReadField(dialog, f.displayOneIn, lastZero);
  if (a.denominator == 0) {
    Refuse(dialog, "Error - grid divisor cannot be zero", f.divisor);
    return false;
  }
  if (std::int64_t{GridUnitSize(unit)} * a.numerator / a.denominator < kSmallestGridStep) {
    Refuse(dialog, "Error - grid size cannot be set to less than 1 micron", f.size);
    return false;
  }
  *axis = a;
  return true;
}

void Accept(HWND dialog, NewGridBlock& block) {
  GridEntry g = block.grid;
  g.unit = GetUnitsComboSelection(dialog, kUnitsCombo, g.unit);
  int lastZero = 0;
  if (!ReadAxis(dialog, kXFields, g.unit, &g.x, &lastZero) || !ReadAxis(dialog, kYFields, g.unit, &g.y, &lastZero))
    return;
  if (lastZero) {
    Refuse(dialog, "Error - can't set a parameter to zero", lastZero);
    return;
  }
  g.keyStroke = GetDlgItemKeyChar(dialog, kKeyField);
  g.kind = kGridCartesian;
  block.grid = g;
  EndDialog(dialog, 1);
}

void Initialise(HWND dialog, NewGridBlock& block) {
  if (block.options & kNewGridFillDefaults) block.grid = StartingGrid();
  const GridEntry& g = block.grid;
  if (block.caption) SetWindowText(dialog, block.caption);
  FillUnitsCombo(dialog, kUnitsCombo, g.unit, 0);
  SetDlgItemKeyChar(dialog, kKeyField, g.keyStroke);
  MakeKeyCharField(dialog, kKeyField);
  ShowAxis(dialog, kXFields, g.x);
  ShowAxis(dialog, kYFields, g.y);
  const bool same = g.x.numerator == g.y.numerator && g.x.denominator == g.y.denominator;
  CheckDlgButton(dialog, kLinkCheck, same ? BST_CHECKED : BST_UNCHECKED);
  ApplyLink(dialog);
}

bool IsXField(int id) {
  for (int i = 0; i < 5; ++i)
    if (FieldIds(kXFields, i) == id) return true;
  return false;
}

}  // namespace

INT_PTR CALLBACK NewGridDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    if (!lParam) {
      ShowMessageEx(dialog, "NewGridDlg called without LParam", "Error", MB_OK | MB_ICONEXCLAMATION);
      EndDialog(dialog, 0);
      return TRUE;
    }
    SetWindowLongPtr(dialog, DWLP_USER, lParam);
    Initialise(dialog, *reinterpret_cast<NewGridBlock*>(lParam));
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  auto* block = reinterpret_cast<NewGridBlock*>(GetWindowLongPtr(dialog, DWLP_USER));
  const int id = LOWORD(wParam);
  switch (id) {
    case IDOK:
      if (block) Accept(dialog, *block);
      return TRUE;
    case IDCANCEL:
      EndDialog(dialog, 0);
      return TRUE;
    case kLinkCheck:
      if (HIWORD(wParam) == BN_CLICKED) ApplyLink(dialog);
      return TRUE;
    default:
      if (HIWORD(wParam) == EN_CHANGE && IsXField(id) && IsDlgButtonChecked(dialog, kLinkCheck) == BST_CHECKED)
        for (int i = 0; i < 5; ++i)
          if (FieldIds(kXFields, i) == id) CopyDlgItemText(dialog, id, FieldIds(kYFields, i));
      return FALSE;
  }
}

int NewGridDlg(HWND owner, NewGridBlock* block) {
  (void)kNewGridRegistered;
  return DialogBoxParam(nullptr, kNewGridDialogName, owner, &NewGridDlgProc, reinterpret_cast<LPARAM>(block)) == 1
             ? 1
             : 0;
}
