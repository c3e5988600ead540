// Stand-in for Configure Layers until the layer dialogs that edit the table
// land: it changes nothing, as a cancelled dialog does.
#include "app/select_layer_dialog.h"

int RunAdvancedLayerDialog(HWND, SelectLayerBlock*) { return 0; }
