// The open, save and colour dialogs drawn with our own templates and
// controls. The SDL backend installs them as the responder's backends; tests
// install them too and drive them with dialog hooks.
#pragma once
#include "platform/responder.h"

namespace pl3 {

// The open and save dialog (template "FileDialog"): a path combo with the
// folder and its parents, Up, a list of folders then the files that match the
// chosen filter, a name box (a typed folder or pattern navigates) and the
// type combo. Fits FileDialogBackend.
BOOL ShowFileDialog(LPOPENFILENAME ofn, bool save);

// Item ids of the file dialog, for hooks.
constexpr int kFileDialogPathCombo = 1137;
constexpr int kFileDialogUp = 1138;
constexpr int kFileDialogList = 1120;
constexpr int kFileDialogName = 1152;
constexpr int kFileDialogType = 1136;

// The colour dialog (template "ColourDialog"): 48 basic colours, 16 custom
// colours written back on OK, and the mixer shown at once with CC_FULLOPEN
// or by "Define Custom Colors >>" (never with CC_PREVENTFULLOPEN). A record
// with a wrong lStructSize or no custom colours fails. Fits ColourDialogBackend.
BOOL ShowColourDialog(LPCHOOSECOLOR cc);
// The basic colour shown in cell `index` (0 to 47, rows of eight).
COLORREF BasicColour(int index);

// The message box (no template name; the caption is the box's): the text
// word wrapped over the type's buttons, the MB_DEFBUTTONn one the default.
// Escape and the close box answer Cancel, or OK on a box with OK alone; a
// Yes/No or Abort/Retry/Ignore question ignores them. Fits MessageBoxBackend.
int ShowMessageBoxDialog(HWND owner, const char* text, const char* caption, UINT type);

// Item ids of the colour dialog, for hooks: basic cells kColourDialogBasic + 0..47,
// custom cells kColourDialogCustom + 0..15.
constexpr int kColourDialogBasic = 1000;
constexpr int kColourDialogCustom = 1100;
constexpr int kColourDialogDefine = 1200;
constexpr int kColourDialogSample = 1300;
constexpr int kColourDialogRed = 1301;
constexpr int kColourDialogGreen = 1302;
constexpr int kColourDialogBlue = 1303;
constexpr int kColourDialogAdd = 1304;

// Fills the dialog's buffer with a chosen program path and its offsets;
// false (FNERR_BUFFERTOOSMALL) when it does not fit.
bool StoreChosenFile(LPOPENFILENAME ofn, std::string path);
// Appends ".ext" to a path whose file name has no extension.
std::string WithDefaultExtension(std::string path, const char* defExt);
// Sets what CommDlgExtendedError reports for the dialog being shown.
void SetCommonDialogError(DWORD error);

}  // namespace pl3
