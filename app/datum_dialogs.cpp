#include "app/datum_dialogs.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/configuration_options.h"
#include "app/core_utilities.h"
#include "app/key_fields.h"
#include "edit/window_data.h"
#include "objects/cursor_zoom.h"
#include "objects/datums.h"
#include "platform/controls.h"
#include "platform/dialogs.h"

namespace {

constexpr int kXFieldId = 3179;
constexpr int kYFieldId = 3180;
constexpr int kXUnitsId = 3181;
constexpr int kYUnitsId = 3182;
constexpr int kNameFieldId = 414;
constexpr int kKeyFieldId = 3156;

constexpr std::int64_t kAreaLow = 182880000;
constexpr std::int64_t kAreaHigh = 1828800000;
constexpr std::uint32_t kImperialUnitsCode = 4;

constexpr DWORD kDialogStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;

const DialogControl kGotoPointControls[] = {
    {"STATIC", -1, "X position", 7, 9, 50, 10, SS_LEFT},
    {"EDIT", kXFieldId, "", 60, 7, 70, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
    {"COMBOBOX", kXUnitsId, "", 135, 7, 60, 60, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP},
    {"STATIC", -1, "Y position", 7, 27, 50, 10, SS_LEFT},
    {"EDIT", kYFieldId, "", 60, 25, 70, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
    {"COMBOBOX", kYUnitsId, "", 135, 25, 60, 60, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP},
    {"BUTTON", IDOK, "OK", 45, 46, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {"BUTTON", IDCANCEL, "Cancel", 105, 46, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kGotoPointDlg{nullptr, kGotoPointDialogId, "Goto Point", 0, 0, 202, 66, kDialogStyle,
                                   kGotoPointControls};
const bool kGotoPointRegistered = pl3::RegisterDialogTemplate(&kGotoPointDlg);

const DialogControl kEditDatumControls[] = {
    {"STATIC", -1, "Name", 7, 9, 40, 10, SS_LEFT},
    {"EDIT", kNameFieldId, "", 50, 7, 120, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
    {"STATIC", -1, "Key Stroke", 7, 27, 40, 10, SS_LEFT},
    {"EDIT", kKeyFieldId, "", 50, 25, 40, 12, WS_BORDER | WS_TABSTOP},
    {"BUTTON", IDOK, "OK", 35, 46, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {"BUTTON", IDCANCEL, "Cancel", 95, 46, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kEditDatumDlg{nullptr, kEditDatumDialogId, "Edit Datum", 0, 0, 178, 66, kDialogStyle,
                                   kEditDatumControls};
const bool kEditDatumRegistered = pl3::RegisterDialogTemplate(&kEditDatumDlg);

// What Goto Point works on while it runs.
struct GotoPointBlock {
  pl3::Point origin;
  pl3::Point shown;
  std::uint32_t unit;
  pl3::Point result;
};

std::int32_t UnitFactor(std::uint32_t unit) { return kGotoPointUnitFactors[unit < 4 ? unit : 0]; }

// A length in the unit with up to four decimals, trailing zeros cut.
void ShowLength(HWND dialog, int id, std::int64_t worldUnits, std::uint32_t unit) {
  char text[64];
  std::snprintf(text, sizeof text, "%.4f", static_cast<double>(worldUnits) / UnitFactor(unit));
  char* end = text + std::strlen(text);
  while (end > text && end[-1] == '0') *--end = '\0';
  if (end > text && end[-1] == '.') *--end = '\0';
  SetDlgItemText(dialog, id, text);
}

double ReadNumber(HWND dialog, int id) {
  char text[256] = {};
  GetDlgItemText(dialog, id, text, sizeof text);
  return std::strtod(text, nullptr);
}

// The typed coordinate in world units, truncated; nullopt-like false when it
// lies outside the editable area (bounds included).
bool ReadCoordinate(HWND dialog, int fieldId, int unitsId, std::uint32_t unit, std::int32_t origin, int sign,
                    std::int32_t* out) {
  const double factor = UnitFactor(GetUnitsComboSelection(dialog, unitsId, unit));
  const double value = std::trunc(origin + sign * ReadNumber(dialog, fieldId) * factor);
  if (!(value >= kAreaLow && value <= kAreaHigh)) return false;
  *out = static_cast<std::int32_t>(value);
  return true;
}

void FocusField(HWND dialog, int id) {
  SetFocus(GetDlgItem(dialog, id));
  SendDlgItemMessage(dialog, id, EM_SETSEL, 0, -1);
}

void AcceptGotoPoint(HWND dialog, GotoPointBlock& block) {
  pl3::Point p{};
  if (!ReadCoordinate(dialog, kXFieldId, kXUnitsId, block.unit, block.origin.x, 1, &p.x)) {
    ShowMessageEx(dialog, "The X value you have given is outside the editable area.", "Goto Point",
                  MB_OK | MB_ICONEXCLAMATION);
    FocusField(dialog, kXFieldId);
    return;
  }
  // The display's Y axis runs the other way.
  if (!ReadCoordinate(dialog, kYFieldId, kYUnitsId, block.unit, block.origin.y, -1, &p.y)) {
    ShowMessageEx(dialog, "The Y value you have given is outside the editable area.", "Goto Point",
                  MB_OK | MB_ICONEXCLAMATION);
    FocusField(dialog, kYFieldId);
    return;
  }
  block.result = p;
  EndDialog(dialog, 1);
}

INT_PTR CALLBACK GotoPointDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtr(dialog, DWLP_USER, lParam);
    const auto& block = *reinterpret_cast<GotoPointBlock*>(lParam);
    ShowLength(dialog, kXFieldId, std::int64_t{block.shown.x} - block.origin.x, block.unit);
    ShowLength(dialog, kYFieldId, std::int64_t{block.origin.y} - block.shown.y, block.unit);
    FillUnitsCombo(dialog, kXUnitsId, block.unit, 0);
    FillUnitsCombo(dialog, kYUnitsId, block.unit, 0);
    FocusField(dialog, kXFieldId);
    return FALSE;
  }
  if (message != WM_COMMAND) return FALSE;
  auto* block = reinterpret_cast<GotoPointBlock*>(GetWindowLongPtr(dialog, DWLP_USER));
  switch (LOWORD(wParam)) {
    case IDOK:
      if (block) AcceptGotoPoint(dialog, *block);
      return TRUE;
    case IDCANCEL:
      EndDialog(dialog, 0);
      return TRUE;
    default:
      return FALSE;
  }
}

void AcceptEditDatum(HWND dialog, DatumPayload& datum) {
  std::string name(kDatumNameRoom, '\0');
  GetDlgItemText(dialog, kNameFieldId, name.data(), static_cast<int>(kDatumNameRoom));
  const std::size_t n = strnlen(name.data(), kDatumNameRoom - 1);
  std::memcpy(datum.name, name.data(), n);
  datum.name[n] = '\0';
  datum.keyStroke = GetDlgItemKeyChar(dialog, kKeyFieldId);
  EndDialog(dialog, 1);
}

INT_PTR CALLBACK EditDatumDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtr(dialog, DWLP_USER, lParam);
    const auto& datum = *reinterpret_cast<const DatumPayload*>(lParam);
    const std::string name = DatumName(&datum);
    SetDlgItemText(dialog, kNameFieldId, name.c_str());
    SendDlgItemMessage(dialog, kNameFieldId, EM_LIMITTEXT, kDatumNameRoom - 1, 0);
    if (name == kMasterDatumName) SendDlgItemMessage(dialog, kNameFieldId, EM_SETREADONLY, TRUE, 0);
    SetDlgItemKeyChar(dialog, kKeyFieldId, NormaliseDatumKeyStroke(datum.keyStroke));
    MakeKeyCharField(dialog, kKeyFieldId);
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  auto* datum = reinterpret_cast<DatumPayload*>(GetWindowLongPtr(dialog, DWLP_USER));
  switch (LOWORD(wParam)) {
    case IDOK:
      if (datum) AcceptEditDatum(dialog, *datum);
      return TRUE;
    case IDCANCEL:
      EndDialog(dialog, 0);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

int RunGotoPointDialog(HWND owner, pl3::Point origin, pl3::Point shown, std::uint32_t unit, pl3::Point* result) {
  (void)kGotoPointRegistered;
  GotoPointBlock block{origin, shown, unit, {}};
  const INT_PTR r = DialogBoxParam(nullptr, MAKEINTRESOURCE(kGotoPointDialogId), owner, &GotoPointDlgProc,
                                   reinterpret_cast<LPARAM>(&block));
  if (r != 1) return 0;
  if (result) *result = block.result;
  return 1;
}

void ShowGotoPointDialog(HWND window) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  const std::uint32_t unit = DisplayUnitsCode == kImperialUnitsCode ? 1 : 2;
  pl3::Point point{};
  if (RunGotoPointDialog(window, w->CoordinateOrigin, w->Cursor, unit, &point)) MoveCursorToPoint(window, point);
}

int RunEditDatumDialog(HWND owner, DatumPayload* datum) {
  (void)kEditDatumRegistered;
  if (!datum) return 0;
  const INT_PTR r = DialogBoxParam(nullptr, MAKEINTRESOURCE(kEditDatumDialogId), owner, &EditDatumDlgProc,
                                   reinterpret_cast<LPARAM>(datum));
  return r == 1 ? 1 : 0;
}
