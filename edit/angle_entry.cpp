#include "edit/angle_entry.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <string>

#include "geometry/transform.h"
#include "objects/item_sides.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/reset_hooks.h"
#include "platform/responder.h"
#include "platform/user.h"

std::int32_t RememberedAngleMode = kAngleOverride;

namespace {

constexpr double kFixedScale = 16777216.0;
constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;

void ResetAngleEntry() { RememberedAngleMode = kAngleOverride; }
const bool g_resetRegistered = pl3::RegisterGlobalReset(&ResetAngleEntry);

// A value as "%.2f" shows it, read back.
double RoundedToHundredths(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", value);
  return std::strtod(text, nullptr);
}

bool IsAngleCharacter(char c) { return (c >= '0' && c <= '9') || c == '.' || c == '-' || c == ' '; }

// ---- The dialogs ---------------------------------------------------------------

constexpr DWORD kDialogStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kEditStyle = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;

const DialogControl kAngleOnlyControls[] = {
    {"STATIC", -1, "New Angle", 7, 9, 50, 10, SS_LEFT},
    {"EDIT", kNewAngleEdit, "", 60, 7, 60, 12, kEditStyle},
    {"STATIC", -1, "degrees", 124, 9, 40, 10, SS_LEFT},
    {"BUTTON", IDOK, "OK", 30, 28, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {"BUTTON", IDCANCEL, "Cancel", 90, 28, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogControl kAngleControls[] = {
    {"STATIC", -1, "Current Angle", 7, 9, 50, 10, SS_LEFT},
    {"EDIT", kCurrentAngleEdit, "", 60, 7, 60, 12, kEditStyle | ES_READONLY},
    {"STATIC", -1, "New Angle", 7, 25, 50, 10, SS_LEFT},
    {"EDIT", kNewAngleEdit, "", 60, 23, 60, 12, kEditStyle},
    {"BUTTON", kCombineAngleRadio, "Combine with old angle", 7, 41, 110, 10, BS_AUTORADIOBUTTON | WS_GROUP},
    {"BUTTON", kOverrideAngleRadio, "Override old angle", 7, 53, 110, 10, BS_AUTORADIOBUTTON},
    {"BUTTON", IDOK, "OK", 30, 70, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP},
    {"BUTTON", IDCANCEL, "Cancel", 90, 70, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogControl kAngleMirrorControls[] = {
    {"STATIC", -1, "Current Angle", 7, 9, 50, 10, SS_LEFT},
    {"EDIT", kCurrentAngleEdit, "", 60, 7, 60, 12, kEditStyle | ES_READONLY},
    {"STATIC", -1, "New Angle", 7, 25, 50, 10, SS_LEFT},
    {"EDIT", kNewAngleEdit, "", 60, 23, 60, 12, kEditStyle},
    {"BUTTON", kCombineAngleRadio, "Combine with old angle", 7, 41, 110, 10, BS_AUTORADIOBUTTON | WS_GROUP},
    {"BUTTON", kOverrideAngleRadio, "Override old angle", 7, 53, 110, 10, BS_AUTORADIOBUTTON},
    {"BUTTON", -1, "Mirror text", 7, 67, 110, 24, BS_GROUPBOX},
    {"BUTTON", kMirroredCheck, "Mirrored", 14, 77, 90, 10, BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP},
    {"BUTTON", IDOK, "OK", 30, 98, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP},
    {"BUTTON", IDCANCEL, "Cancel", 90, 98, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kAngleOnlyDlg{nullptr, kAngleOnlyDialog, "Enter New Angle", 0, 0, 170, 48, kDialogStyle,
                                   kAngleOnlyControls};
const DialogTemplate kAngleDlg{nullptr, kAngleDialog, "Enter New Angle", 0, 0, 170, 90, kDialogStyle,
                               kAngleControls};
const DialogTemplate kAngleMirrorDlg{nullptr, kAngleMirrorDialog, "Enter New Angle", 0, 0, 170, 118, kDialogStyle,
                                     kAngleMirrorControls};
const bool kRegistered = pl3::RegisterDialogTemplate(&kAngleOnlyDlg) && pl3::RegisterDialogTemplate(&kAngleDlg) &&
                         pl3::RegisterDialogTemplate(&kAngleMirrorDlg);

AngleDialogBlock* BlockOf(HWND dialog) {
  return reinterpret_cast<AngleDialogBlock*>(GetWindowLongPtr(dialog, GWLP_USERDATA));
}

bool HasModeButtons(HWND dialog) { return GetDlgItem(dialog, kCombineAngleRadio) != nullptr; }

void FillAngleDialog(HWND dialog, AngleDialogBlock& block) {
  const bool combine = HasModeButtons(dialog) && block.mode == kAngleCombine;
  if (HasModeButtons(dialog))
    CheckRadioButton(dialog, kCombineAngleRadio, kOverrideAngleRadio,
                     combine ? kCombineAngleRadio : kOverrideAngleRadio);
  block.currentAngle = RoundedToHundredths(block.currentAngle);
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", block.currentAngle);
  SetDlgItemText(dialog, kCurrentAngleEdit, text);
  SetDlgItemText(dialog, kNewAngleEdit, combine ? "0.00" : text);
  if (GetDlgItem(dialog, kMirroredCheck)) CheckDlgButton(dialog, kMirroredCheck, block.mirrored ? BST_CHECKED : 0);
  HWND edit = GetDlgItem(dialog, kNewAngleEdit);
  SendMessage(edit, EM_SETSEL, 0, -1);
  SetFocus(edit);
}

std::string NewAngleText(HWND dialog) {
  HWND edit = GetDlgItem(dialog, kNewAngleEdit);
  std::string text(static_cast<std::size_t>(GetWindowTextLength(edit)) + 1, '\0');
  GetWindowText(edit, text.data(), static_cast<int>(text.size()));
  text.resize(std::char_traits<char>::length(text.c_str()));
  return text;
}

void AcceptAngle(HWND dialog, AngleDialogBlock& block) {
  const std::string text = NewAngleText(dialog);
  int valid = 0;
  const double result = ParseAngleText(text.c_str(), &valid);
  if (!valid) {
    const std::string message =
        "The angle \"" + text + "\" is not valid. Please enter an angle between 0 and 360.";
    MessageBox(dialog, message.c_str(), "Enter Angle", MB_OK);
    HWND edit = GetDlgItem(dialog, kNewAngleEdit);
    SetFocus(edit);
    SendMessage(edit, EM_SETSEL, 0, -1);
    return;
  }
  block.mode = HasModeButtons(dialog) && IsDlgButtonChecked(dialog, kCombineAngleRadio) == BST_CHECKED
                   ? kAngleCombine
                   : kAngleOverride;
  if (GetDlgItem(dialog, kMirroredCheck)) block.mirrored = IsDlgButtonChecked(dialog, kMirroredCheck) == BST_CHECKED;
  block.newAngle = 360.0 - result;
  EndDialog(dialog, 1);
}

}  // namespace

double ParseAngleText(const char* text, int* valid) {
  *valid = 0;
  if (!text) return 0.0;
  bool digit = false;
  bool negative = false;
  for (const char* p = text; *p; ++p) {
    if (!IsAngleCharacter(*p)) return 0.0;
    if (*p >= '0' && *p <= '9') digit = true;
    if (*p == '-') negative = true;
  }
  // A text without a digit would read as 0 and still turn the item.
  if (!digit) return 0.0;
  const char* rest = text;
  while (*rest == ' ' || *rest == '-') ++rest;
  double v = std::strtod(rest, nullptr);
  if (v > 360.0) return 0.0;
  if (v == 360.0) v = 0.0;
  *valid = 1;
  return RoundedToHundredths(negative ? v : 360.0 - v);
}

double GetTransformAngle(const pl3::Transform& t) {
  const double x = t.a / kFixedScale;
  const double y = t.b / kFixedScale;
  double radians = 0.0;
  if (std::fabs(x) >= 0.1) {
    if (std::fabs(y) >= 0.1) {
      radians = std::atan(y / x);
      if (x < 0) radians += std::numbers::pi;
    } else {
      radians = std::asin(y);
      if (x < 0) radians = std::numbers::pi - radians;
    }
  } else {
    radians = std::acos(x);
    if (y < 0) radians = 2 * std::numbers::pi - radians;
  }
  double degrees = radians * kDegreesPerRadian;
  while (degrees < 0) degrees += 360.0;
  return degrees;
}

void MakeRotationTransform(double degrees, pl3::Transform* out) {
  const double radians = degrees / kDegreesPerRadian;
  const auto cosine = static_cast<std::int32_t>(std::cos(radians) * kFixedScale);
  const auto sine = static_cast<std::int32_t>(std::sin(radians) * kFixedScale);
  *out = {cosine, sine, -sine, cosine, 0, 0};
}

int MakeAngleTransform(const pl3::Transform& transform, pl3::Transform* mirrorPart, pl3::Transform* rest) {
  *mirrorPart = pl3::kIdentityTransform;
  *rest = transform;
  if (transform.d == 0 || transform.a / transform.d >= 1) return 0;
  pl3::ComposeTransform(mirrorPart, &kMirrorTransform);
  pl3::ComposeTransform(rest, &kMirrorTransform);
  return 1;
}

bool ResolveAngleTarget(const AngleDialogBlock& block, double* target) {
  double angle = 0.0;
  if (block.mode == kAngleCombine) {
    if (block.newAngle == 0.0) return false;
    angle = block.currentAngle + block.newAngle;
  } else {
    if (block.newAngle == block.currentAngle) return false;
    angle = block.newAngle;
  }
  while (angle >= 360.0) angle -= 360.0;
  *target = angle;
  return true;
}

int AngleDialogFor(bool hasTransform, double currentAngle) {
  return !hasTransform || currentAngle == 0.0 ? kAngleOnlyDialog : kAngleDialog;
}

INT_PTR CALLBACK AngleDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtr(dialog, GWLP_USERDATA, lParam);
      FillAngleDialog(dialog, *reinterpret_cast<AngleDialogBlock*>(lParam));
      return FALSE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          if (AngleDialogBlock* block = BlockOf(dialog)) AcceptAngle(dialog, *block);
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

int ShowAngleDialog(HWND owner, int dialogId, AngleDialogBlock* block) {
  (void)kRegistered;
  (void)g_resetRegistered;
  AngleDialogBlock working = *block;
  working.mode = dialogId == kAngleOnlyDialog ? kAngleOverride : RememberedAngleMode;
  const INT_PTR result = DialogBoxParam(nullptr, MAKEINTRESOURCE(dialogId), owner, &AngleDlgProc,
                                        reinterpret_cast<LPARAM>(&working));
  if (result != 1) return 0;
  *block = working;
  RememberedAngleMode = working.mode;
  return 1;
}
