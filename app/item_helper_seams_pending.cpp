// The program's stand-ins for what the item helpers ask of the editing engine
// (objects/item_helper_seams.h) until it lands. They refuse visibly: nothing
// is moved (a beep). The display list's look-ups are draw/display_list_visits.cpp.
#include "objects/item_helper_seams.h"

#include "platform/user.h"

void OffsetEntity(void*, std::uint16_t, std::int32_t, std::int32_t, int) { MessageBeep(0); }
