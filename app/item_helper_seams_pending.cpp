// The program's stand-ins for what the item helpers ask of the editing engine
// and the drawing code (objects/item_helper_seams.h) until those land. They
// refuse visibly: nothing is moved (a beep), no ghost is drawn, no menu is
// rebuilt, a text has an empty box and the display list is empty.
#include "objects/item_helper_seams.h"

#include "platform/user.h"

int VisitDisplayItems(int (*)(const DisplayItemView&, void*), void*) { return 0; }
