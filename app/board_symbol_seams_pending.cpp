// The program's stand-ins for the board's symbol services that the PCB
// command handler calls (pcb/pcb_command_seams.h) until their owners land:
// each beeps, chooses nothing and places nothing.
#include "pcb/pcb_command_seams.h"
#include "platform/user.h"

int InsertSymbolFromNetlist(HWND) {
  MessageBeep(0);
  return 0;
}
void MapSymbolDefinitions(HWND) { MessageBeep(0); }
int GetSymbolByDesignator(HWND, const Tower*, const char*) {
  MessageBeep(0);
  return 0;
}
void BeginPlaceMechanicalSymbol(HWND, const Tower*) { MessageBeep(0); }
void WriteDesignatorList(const Tower*) { MessageBeep(0); }
void ShowFindComponentDialog(HWND) { MessageBeep(0); }
