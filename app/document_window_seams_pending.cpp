// The program's stand-ins for the document windows the frame creates, until
// the library editors land: each beeps and creates
// nothing; a board's connectivity and the workspace tree are left as they are.
#include "app/frame_hub_seams.h"
#include "platform/user.h"

void PcbWindowAfterLoad(HWND, Tower*) {}
void PrepareDesignConnectivity(Tower*) {}
Tower* AskSchematicSetup(void*) {
  MessageBeep(0);
  return nullptr;
}
HWND CreatePcbSymbolWindow(HINSTANCE) {
  MessageBeep(0);
  return nullptr;
}
HWND CreatePadStackWindow(HINSTANCE) {
  MessageBeep(0);
  return nullptr;
}
HWND CreateShapeWindow(HINSTANCE) {
  MessageBeep(0);
  return nullptr;
}
HWND CreateSchematicSymbolWindow(HINSTANCE) {
  MessageBeep(0);
  return nullptr;
}
HWND CreatePackageWindow(HINSTANCE) {
  MessageBeep(0);
  return nullptr;
}
void AddFileToWorkspace(const char*, const char*, const char*) {}
