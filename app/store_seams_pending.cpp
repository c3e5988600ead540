// The program's definitions of the store's calls into the schematic and PCB
// editors, which are not built yet. Each refuses: no marker found, nothing
// computed, and a beep with a scratch record in place of a net's (callers
// index the record, so null would crash them).
#include "platform/user.h"
#include "store/seams.h"

std::uint32_t* GetNetInfo(const Tower*) {
  static std::uint32_t scratch[2];
  scratch[0] = scratch[1] = 0;
  MessageBeep(0);
  return scratch;
}
void ComputeNetRatsnest(const Tower*, void*) { MessageBeep(0); }
