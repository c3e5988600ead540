// A plug-in for the resource tests: its own resources (plugin.rc) and a
// dialog template named like one of the program's.
#include "platform/dialogs.h"

namespace {

const DialogTemplate kSharedDlg{"SharedDlg", 0, "Plugin", 0, 0, 100, 50, WS_POPUP | WS_CAPTION, {}};
const DialogTemplate kPluginDlg{"PluginDlg", 77, "Plugin only", 0, 0, 100, 50, WS_POPUP | WS_CAPTION, {}};
const bool kRegistered = pl3::RegisterDialogTemplate(&kSharedDlg) && pl3::RegisterDialogTemplate(&kPluginDlg);

}  // namespace

extern "C" bool ResourcePluginRegistered() { return kRegistered; }
