// The program's stand-ins for the netlist import, scripts and netlist
// generation that the PCB command handler calls (pcb/pcb_command_seams.h)
// until their owners land: each beeps and does nothing.
#include "pcb/pcb_command_seams.h"
#include "platform/user.h"

void ImportNetCommand(std::uint32_t) { MessageBeep(0); }
void RunListedScript(std::uint32_t) { MessageBeep(0); }
int OpenNetFile(HWND, const Tower*) {
  MessageBeep(0);
  return 0;
}
void GenerateNetlistFromCopper() { MessageBeep(0); }
