#include "objects/console_seams.h"
#include "platform/reset_hooks.h"

ConsolePane* ProgramLogPane = nullptr;

namespace {

void ResetProgramLogPane() { ProgramLogPane = nullptr; }
const bool g_registered = pl3::RegisterGlobalReset(&ResetProgramLogPane);

}  // namespace
