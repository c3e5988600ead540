// The program's stand-in for the schematic editor's page switch until it
// lands: refused with a beep.
#include "app/console_action_seams.h"
#include "platform/user.h"

void ShowSchematicPage(CurrentWindowData*, std::int32_t) { MessageBeep(0); }
