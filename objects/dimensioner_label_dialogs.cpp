// Dialogs 1032 and 1031 "Enter Dimensioner Label" and the label commands.
#include <cstdlib>
#include <cstring>
#include <string>

#include "edit/window_data.h"
#include "objects/dimensioners.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/responder.h"
#include "store/tower.h"

namespace {

constexpr DWORD kRadioFirst = BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP;
constexpr DWORD kRadio = BS_AUTORADIOBUTTON;

const DialogControl kLengthControls[] = {
    {"EDIT", kDimensionerLabelEdit, "", 7, 7, 200, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
    {"BUTTON", -1, "Units", 7, 24, 200, 36, BS_GROUPBOX},
    {"BUTTON", kDimensionerMillimetreButton, "Millimetre", 12, 34, 45, 10, kRadioFirst},
    {"BUTTON", kDimensionerCentimetreButton, "Centimetre", 60, 34, 45, 10, kRadio},
    {"BUTTON", kDimensionerThouButton, "Thou", 108, 34, 45, 10, kRadio},
    {"BUTTON", kDimensionerInchButton, "Inch", 156, 34, 45, 10, kRadio},
    {"BUTTON", IDOK, "OK", 50, 66, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP},
    {"BUTTON", IDCANCEL, "Cancel", 110, 66, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kLengthDialog{nullptr, kDimensionerLabelDialog, "Enter Dimensioner Label", 0, 0, 214, 86,
                                   DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, kLengthControls};

const DialogControl kAngleControls[] = {
    {"EDIT", kDimensionerLabelEdit, "", 7, 7, 200, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
    {"BUTTON", -1, "Units", 7, 24, 200, 36, BS_GROUPBOX},
    {"BUTTON", kDimensionerDegreesButton, "Degrees", 12, 34, 60, 10, kRadioFirst},
    {"BUTTON", kDimensionerRadiansButton, "Radians", 80, 34, 60, 10, kRadio},
    {"BUTTON", IDOK, "OK", 50, 66, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP},
    {"BUTTON", IDCANCEL, "Cancel", 110, 66, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kAngleDialog{nullptr, kAngleDimensionerLabelDialog, "Enter Dimensioner Label", 0, 0, 214, 86,
                                  DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, kAngleControls};

const bool kRegistered = pl3::RegisterDialogTemplate(&kLengthDialog) && pl3::RegisterDialogTemplate(&kAngleDialog);

// The unit of each radio button.
struct UnitButton {
  int id;
  std::uint32_t unit;
};
constexpr UnitButton kUnitButtons[] = {
    {kDimensionerThouButton, kDimensionerThou},           {kDimensionerInchButton, kDimensionerInch},
    {kDimensionerMillimetreButton, kDimensionerMillimetre}, {kDimensionerCentimetreButton, kDimensionerCentimetre},
    {kDimensionerDegreesButton, kDimensionerDegrees},     {kDimensionerRadiansButton, kDimensionerRadians},
};

DimensionerLabelValues* ValuesOf(HWND dialog) {
  return reinterpret_cast<DimensionerLabelValues*>(GetWindowLongPtr(dialog, DWLP_USER));
}

void Initialise(HWND dialog, DimensionerLabelValues* values) {
  SetWindowLongPtr(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(values));
  SetDlgItemText(dialog, kDimensionerLabelEdit, values->text ? values->text : "@dim");
  for (const UnitButton& b : kUnitButtons) {
    if (b.unit == values->unit && GetDlgItem(dialog, b.id)) CheckDlgButton(dialog, b.id, BST_CHECKED);
  }
  SetFocus(GetDlgItem(dialog, kDimensionerLabelEdit));
}

void Accept(HWND dialog) {
  DimensionerLabelValues* values = ValuesOf(dialog);
  HWND edit = GetDlgItem(dialog, kDimensionerLabelEdit);
  const int length = GetWindowTextLength(edit);
  if (length >= static_cast<int>(kDimensionerTemplateLimit)) {
    MessageBox(dialog, "You may only specify string less than 256 characters long!", "Error",
               MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  char* text = static_cast<char*>(std::malloc(static_cast<std::size_t>(length) + 1));
  if (!text) return;
  GetDlgItemText(dialog, kDimensionerLabelEdit, text, length + 1);
  std::free(values->text);
  values->text = text;
  for (const UnitButton& b : kUnitButtons) {
    if (GetDlgItem(dialog, b.id) && IsDlgButtonChecked(dialog, b.id) == BST_CHECKED) values->unit = b.unit;
  }
  EndDialog(dialog, 1);
}

INT_PTR CALLBACK DimensionerLabelDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      Initialise(dialog, reinterpret_cast<DimensionerLabelValues*>(lParam));
      return FALSE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          Accept(dialog);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, 0);
          return TRUE;
        default:
          return FALSE;
      }
    case WM_CLOSE:
      EndDialog(dialog, 0);
      return TRUE;
    default:
      return FALSE;
  }
}

// The label command of either type: the template comes out first and goes
// back only on OK.
void EditLabel(const Tower* entity, int dialogId) {
  Entity* e = TowerEntity(entity);
  if (!e || e->payloadSize < sizeof(DimensionerPayload)) return;
  bool present = false;
  const std::string old = GetDimensionerTemplate(entity, &present);
  DimensionerLabelValues values;
  if (present) {
    values.text = static_cast<char*>(std::malloc(old.size() + 1));
    if (values.text) std::memcpy(values.text, old.c_str(), old.size() + 1);
    DeleteChildEntities(entity, kDimensionerTemplateCode);
  }
  auto* d = reinterpret_cast<DimensionerPayload*>(EntityPayload(e));
  values.unit = d->unit;
  void* owner = ActiveWindowData ? ActiveWindowData->Window : nullptr;
  const bool accepted = RunDimensionerLabelDialog(dialogId, owner, &values) == 1;
  // A cancelled dialog puts the template back as it was: the user keeps
  // the label they had.
  if (values.text && (accepted || present)) {
    Tower* stored = InsertEntity(entity, static_cast<std::uint32_t>(std::strlen(values.text) + 1),
                                 kDimensionerTemplateCode, values.text);
    ReleaseTower(&stored);
  }
  if (accepted) {
    d = reinterpret_cast<DimensionerPayload*>(EntityPayload(TowerEntity(entity)));
    d->unit = values.unit;
  }
  std::free(values.text);
}

}  // namespace

int RunDimensionerLabelDialog(int dialogId, void* owner, DimensionerLabelValues* values) {
  (void)kRegistered;
  const INT_PTR result = DialogBoxParam(nullptr, MAKEINTRESOURCE(dialogId), static_cast<HWND>(owner),
                                        &DimensionerLabelDlgProc, reinterpret_cast<LPARAM>(values));
  return result == 1 ? 1 : 0;
}

void EditDimensionerLabel(const Tower* entity) { EditLabel(entity, kDimensionerLabelDialog); }

void EditAngleDimensionerLabel(const Tower* entity) { EditLabel(entity, kAngleDimensionerLabelDialog); }
