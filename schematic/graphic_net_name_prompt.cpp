// The frame's entry to the graphical net name dialog (the Graphical Net Name
// locator command), kept apart from the dialog so that the frame's tests can
// stand in for it.
#include <cstdio>

#include "app/frame_operation_seams.h"
#include "schematic/graphic_net_name_dialog.h"

int AskGraphicNetName(HWND owner, const Tower* design, char* name, std::uint32_t room, Tower** symbol) {
  if (!name || room == 0 || !symbol) return 0;
  *symbol = nullptr;
  GraphicNetNameChoice choice;
  if (!ShowGraphicNetNameDialog(owner, design, &choice)) return 0;
  std::snprintf(name, room, "%s", choice.netName);
  *symbol = choice.symbol;
  return 1;
}
