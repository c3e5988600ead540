#include "tests/app/grid_seam_fakes.h"

#include "edit/status_seams.h"
#include "objects/editor_seams.h"
#include "objects/view_seams.h"
#include "platform/reset_hooks.h"

namespace gridfakes {

std::vector<std::string>& Calls() {
  static std::vector<std::string> calls;
  return calls;
}
std::vector<PaneCall>& PaneCalls() {
  static std::vector<PaneCall> calls;
  return calls;
}

namespace {
void ResetFakes() {
  Calls().clear();
  PaneCalls().clear();
}
const bool registered = pl3::RegisterGlobalReset(&ResetFakes);
}  // namespace

}  // namespace gridfakes

using gridfakes::Calls;

// The view services (objects/view_seams.h).
int IsItemAttachedToCursor() { return 0; }
void CentreViewOnPoint(void*, pl3::Point) {}
void RedrawView(void*) { Calls().push_back("redraw"); }
void RedrawViewRect(void*, const pl3::Box*, int) {}
void HandleRawMouseRecord(void*, const MouseRecord&) {}
void DoScroll(void*, std::uint32_t, std::uint32_t) {}

// The docking panes (edit/status_seams.h).
LRESULT Docking_SendToPaneClient(std::uint32_t pane, UINT message, WPARAM wParam, LPARAM lParam) {
  Calls().push_back("pane " + std::to_string(pane) + " " + std::to_string(message));
  gridfakes::PaneCalls().push_back({pane, message, wParam, lParam});
  return 0;
}
void ComponentBinMarkPlaced(const Tower*) {}
void ComponentBinMarkUnplaced(const Tower*) {}
void ComponentBinAddSymbol(const Tower*, const Tower*, const char*) {}
char* StepNameNumber(const char*, int) { return nullptr; }
void UpdateToolbarStates(std::uint32_t kind) { Calls().push_back("toolbar " + std::to_string(kind)); }
