// The program's stand-ins for the PCB editor's rip-up and moving ratsnest
// points (edit/key_command_seams.h) until it lands: rip-up refuses with a beep.
#include "edit/key_command_seams.h"
#include "platform/user.h"

void RipUpTrack(EntityRecord*) { MessageBeep(0); }
void RipUpSelectedTrack(SelectionInfo*) { MessageBeep(0); }
void UpdateMovingPoints() {}
