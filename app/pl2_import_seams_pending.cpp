// The program's stand-ins for the import of earlier-generation boards until
// it lands: the import dialog and file dialog beep and choose nothing.
#include "app/frame_hub_seams.h"
#include "platform/user.h"

UINT ShowImportPl2PcbDialog(HWND) {
  MessageBeep(0);
  return 0;
}
char* AskPl2PcbFile(HWND) {
  MessageBeep(0);
  return nullptr;
}
void ImportPl2Pcb(const char*, UINT) { MessageBeep(0); }
