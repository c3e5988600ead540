// The program's stand-ins for the plane tools and the design rule check that
// the PCB command handler calls (pcb/pcb_command_seams.h) until their owners
// land: each beeps and changes nothing.
#include "pcb/pcb_command_seams.h"
#include "platform/responder.h"
#include "platform/user.h"

void AutoThermalBreak(HWND, const Tower*) { MessageBeep(0); }
void DeleteAutoThermalBreaks(const Tower*) { MessageBeep(0); }
void RunAutocut() { MessageBeep(0); }
void RemoveAutoCuts(const Tower*) { MessageBeep(0); }
std::intptr_t ShowPlaneClearancesDialog(HWND) {
  MessageBeep(0);
  return IDCANCEL;
}
void PerformFullDRC(HWND) { MessageBeep(0); }
void ConfigureDRC(HWND) { MessageBeep(0); }
