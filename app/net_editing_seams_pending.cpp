// The program's stand-ins for the ratsnest dialog and the net-editing tool
// that the PCB command handler calls (pcb/pcb_command_seams.h) until their
// owners land: each beeps and changes nothing.
#include "pcb/pcb_command_seams.h"
#include "platform/user.h"

void RatsNestConfig(HWND) { MessageBeep(0); }
void SelectNetEditTool() { MessageBeep(0); }
void BeginNetEdit(ButtonRecord*, int) {}
void DeleteNetlist() { MessageBeep(0); }
