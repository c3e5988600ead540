// The auto-pan settings: their registry value and the "Autopan Options" dialog.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "draw/auto_pan.h"
#include "draw/auto_pan_seams.h"
#include "platform/commctrl.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/reset_hooks.h"
#include "store/filing_seams.h"

AutoPanSettings AutoPanOptions = kDefaultAutoPanSettings;

namespace {

constexpr const char* kValueName = "AutoPanOptions";
constexpr int kFieldCount = 5;

std::int32_t* Fields(AutoPanSettings& s) { return &s.enabled; }

// The dialog's range of each field, in the value's order.
constexpr std::int32_t kRanges[kFieldCount][2] = {
    {0, 1},
    {kAutoPanDelayRange[0], kAutoPanDelayRange[1]},
    {kAutoPanPeriodRange[0], kAutoPanPeriodRange[1]},
    {kAutoPanEdgeRange[0], kAutoPanEdgeRange[1]},
    {kAutoPanSizeRange[0], kAutoPanSizeRange[1]},
};

// Reads up to five whole numbers as "%d %d %d %d %d" would (whitespace
// between them optional, a sign allowed) and stops at the first that does
// not scan. Each number read is held to its field's range: the text is the
// user's, and a zero period or a negative pan size would stall or reverse
// the view. Returns how many were read.
int ScanSettings(const char* text, AutoPanSettings& s) {
  std::int32_t* field = Fields(s);
  const char* p = text;
  int read = 0;
  for (; read < kFieldCount; ++read) {
    char* end = nullptr;
    const long long value = std::strtoll(p, &end, 10);
    if (end == p) break;
    p = end;
    if (read == 0) {
      field[read] = value != 0 ? 1 : 0;
    } else {
      field[read] = static_cast<std::int32_t>(std::clamp<long long>(value, kRanges[read][0], kRanges[read][1]));
    }
  }
  return read;
}

HKEY CreateInitialisationKey() {
  HKEY key = nullptr;
  if (CreateProgramRegistryKey(HKEY_CURRENT_USER, "Initialisation", 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                               nullptr, &key, nullptr) != static_cast<LONG>(ERROR_SUCCESS))
    return nullptr;
  return key;
}

void ResetAutoPanOptions() { AutoPanOptions = kDefaultAutoPanSettings; }
const bool kResetRegistered = pl3::RegisterGlobalReset(&ResetAutoPanOptions);

// ---- The dialog ----------------------------------------------------------------------

constexpr int kEnabledId = 3260;
constexpr int kDelayId = 3259;
constexpr int kSpeedId = 3261;
constexpr int kEdgeId = 3262;
constexpr int kSizeId = 3263;

constexpr DWORD kBarStyle = TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP;
const DialogControl kAutoPanControls[] = {
    {"BUTTON", kEnabledId, "Enabled", 7, 7, 80, 10, BS_AUTOCHECKBOX | WS_TABSTOP},
    {"STATIC", -1, "Initial delay", 7, 27, 60, 10, SS_LEFT},
    {TRACKBAR_CLASS, kDelayId, "", 70, 24, 120, 15, kBarStyle},
    {"STATIC", -1, "Short", 72, 40, 40, 8, SS_LEFT},
    {"STATIC", -1, "Long", 148, 40, 40, 8, SS_RIGHT},
    {"STATIC", -1, "Max speed", 7, 55, 60, 10, SS_LEFT},
    {TRACKBAR_CLASS, kSpeedId, "", 70, 52, 120, 15, kBarStyle},
    {"STATIC", -1, "No Limit", 72, 68, 40, 8, SS_LEFT},
    {"STATIC", -1, "100 ms", 148, 68, 40, 8, SS_RIGHT},
    {"STATIC", -1, "Edge zone width", 7, 83, 60, 10, SS_LEFT},
    {TRACKBAR_CLASS, kEdgeId, "", 70, 80, 120, 15, kBarStyle},
    {"STATIC", -1, "Small", 72, 96, 40, 8, SS_LEFT},
    {"STATIC", -1, "Large", 148, 96, 40, 8, SS_RIGHT},
    {"STATIC", -1, "Pan size", 7, 111, 60, 10, SS_LEFT},
    {TRACKBAR_CLASS, kSizeId, "", 70, 108, 120, 15, kBarStyle},
    {"STATIC", -1, "Small", 72, 124, 40, 8, SS_LEFT},
    {"STATIC", -1, "Large", 148, 124, 40, 8, SS_RIGHT},
    {"BUTTON", IDOK, "OK", 46, 142, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {"BUTTON", IDCANCEL, "Cancel", 104, 142, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kAutoPanDlg{nullptr, kAutoPanDialogId, "Autopan Options", 0, 0, 200, 164,
                                 DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, kAutoPanControls};
const bool kAutoPanRegistered = pl3::RegisterDialogTemplate(&kAutoPanDlg);

// The track bars and the setting each shows, in the value's order.
constexpr int kBarIds[kFieldCount] = {0, kDelayId, kSpeedId, kEdgeId, kSizeId};

void ShowSettings(HWND dialog) {
  CheckDlgButton(dialog, kEnabledId, AutoPanOptions.enabled ? BST_CHECKED : BST_UNCHECKED);
  const std::int32_t* field = Fields(AutoPanOptions);
  for (int i = 1; i < kFieldCount; ++i) {
    SendDlgItemMessage(dialog, kBarIds[i], TBM_SETRANGE, TRUE, MAKELONG(kRanges[i][0], kRanges[i][1]));
    SendDlgItemMessage(dialog, kBarIds[i], TBM_SETPOS, TRUE, field[i]);
  }
}

void StoreSettings(HWND dialog) {
  AutoPanOptions.enabled = IsDlgButtonChecked(dialog, kEnabledId) == BST_CHECKED ? 1 : 0;
  std::int32_t* field = Fields(AutoPanOptions);
  for (int i = 1; i < kFieldCount; ++i)
    field[i] = static_cast<std::int32_t>(SendDlgItemMessage(dialog, kBarIds[i], TBM_GETPOS, 0, 0));
}

}  // namespace

void LoadAutoPanOptions() {
  // A key made now would hold nothing to read: reading never creates it.
  HKEY key = nullptr;
  if (OpenProgramRegistryKey(HKEY_CURRENT_USER, "Initialisation", 0, KEY_READ, &key) != static_cast<LONG>(ERROR_SUCCESS))
    return;
  char text[256];
  if (ReadRegistryText(key, kValueName, text, sizeof text)) ScanSettings(text, AutoPanOptions);
  RegCloseKey(key);
}

void SaveAutoPanOptions() {
  HKEY key = CreateInitialisationKey();
  if (!key) return;
  char text[80];
  std::snprintf(text, sizeof text, "%d %d %d %d %d", AutoPanOptions.enabled, AutoPanOptions.initialDelay,
                AutoPanOptions.repeatPeriod, AutoPanOptions.edgeZoneWidth, AutoPanOptions.panSize);
  WriteRegistryTextWithNul(key, kValueName, text);
  RegCloseKey(key);
}

INT_PTR CALLBACK AutoPanDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      ShowSettings(dialog);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        StoreSettings(dialog);
        EndDialog(dialog, 0);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, -1);
        return TRUE;
      }
      return FALSE;
    case WM_CLOSE:
      EndDialog(dialog, -1);
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR ShowAutoPanDialog(HWND owner) {
  return DialogBoxParamA(nullptr, MAKEINTRESOURCE(kAutoPanDialogId), owner, &AutoPanDlgProc, 0);
}
