// The program's stand-ins for what the item helpers ask of the editing engine
// and the drawing code (objects/item_helper_seams.h) until those land. They
// refuse visibly: nothing is moved (a beep), no ghost is drawn, no menu is
// rebuilt, a text has an empty box and the display list is empty.
#include "objects/item_helper_seams.h"

#include "platform/user.h"

void OffsetEntity(void*, std::uint16_t, std::int32_t, std::int32_t, int) { MessageBeep(0); }
int VisitDisplayItems(int (*)(const DisplayItemView&, void*), void*) { return 0; }
