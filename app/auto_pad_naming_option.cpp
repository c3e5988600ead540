// The frame's "Auto Name &Pads" setting as the editing engine reads it
// (edit/object_select_seams.h).
#include "app/frame_command_hub.h"
#include "edit/object_select_seams.h"

int AutomaticPadNamingOn() { return AutoNamePads != 0; }
