// Recording fakes of what the grid dialogs and the Grids pane's control ask
// of the view and the docking panes.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/win_types.h"

namespace gridfakes {

// Every call in order: "redraw", "toolbar <kind>", "pane <pane> <message>".
std::vector<std::string>& Calls();
// The last pane call's parameters.
struct PaneCall {
  std::uint32_t pane;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<PaneCall>& PaneCalls();

}  // namespace gridfakes
