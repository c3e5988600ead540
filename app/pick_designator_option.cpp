// The frame's "pick up designator" option as the pick reads it.
#include "app/frame_menus.h"
#include "edit/pick_action_seams.h"

int PickDesignatorsOfFixedSymbols() { return PickupDesignator ? 1 : 0; }
