// The program's stand-ins for the view services of objects/view_seams.h until
// the editing engine has them: a raw mouse record is not replayed.
#include "objects/view_seams.h"

void HandleRawMouseRecord(void*, const MouseRecord&) {}
