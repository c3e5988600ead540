// The frame's status bar as the editors' status texts find it
// (edit/status_seams.h): the window ui/frame_status_bar.cpp made and keeps in
// StatusBarWindow. A file of its own, so that tests recording the texts
// bring their own bar.
#include "app/core_utilities.h"
#include "edit/status_seams.h"

HWND FrameStatusBar() { return StatusBarWindow; }
