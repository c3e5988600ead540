// The command table's insert commands (app/pending_services.h): the drawing
// tools arm through the editing engine's tool commands; the rest (locators,
// wires, buses, ports) still go to their stand-in until their tools land.
#include "app/pending_services.h"
#include "edit/tool_commands.h"
#include "platform/user.h"

void BeginInsertTool(const char* command, std::uint32_t flag, HWND, void*, void*) {
  if (!ArmInsertCommand(command, flag)) MessageBeep(0);
}
