// The program's stand-in for the global net name prompt until its owner
// lands: a beep, and no name.
#include "app/frame_operation_seams.h"
#include "platform/user.h"

char* AskGlobalNetName(const char*, const char*, std::uint32_t) {
  MessageBeep(0);
  return nullptr;
}
