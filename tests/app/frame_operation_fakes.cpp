// Recording fakes of the owners' entry points that the frame's operations
// reach (app/frame_operation_seams.h): each records its name and the id.
#include "tests/app/frame_operation_fakes.h"

#include "app/frame_operation_seams.h"
#include "platform/user.h"
#include "store/tower.h"

namespace opfakes {

std::vector<Reached>& Calls() {
  static std::vector<Reached> calls;
  return calls;
}
int& Result() {
  static int result = 1;
  return result;
}

HWND NewTestView() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "FrameOperationsView";
  RegisterClassA(&wc);
  return CreateWindowExA(0, "FrameOperationsView", "", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr, nullptr,
                         nullptr);
}

std::size_t CountChildren(const Tower* design, std::uint16_t code) {
  std::size_t n = 0;
  Tower* items = GetChildTower(design, code);
  while (items && FindNextEntity(items)) ++n;
  ReleaseTower(&items);
  return n;
}

}  // namespace opfakes

namespace {
int Record(const char* name, UINT id) {
  opfakes::Calls().push_back({name, id});
  return opfakes::Result();
}
}  // namespace

#define FAKE(fn) \
  int fn(UINT id, HWND) { return Record(#fn, id); }
FAKE(RunSettingsDialogCommand)
FAKE(RunConfigurationSheet)
FAKE(RunFrameDialogCommand)
FAKE(RunSelectNetCommand)
FAKE(RunSmallDialogCommand)
FAKE(RunObjectInformationCommand)
FAKE(RunLayerDialogCommand)
FAKE(RunOptionDialogCommand)
FAKE(RunBoardSymbolCommand)
FAKE(RunRatsnestCommand)
FAKE(RunPlaneNetCommand)
FAKE(RunMacroBlockCommand)
FAKE(RunSchematicEditorCommand)
FAKE(RunLibraryEditorCommand)
FAKE(RunOutputCommand)
FAKE(RunPl2GhostCommand)
FAKE(RunAutorouterCommand)
#undef FAKE

void CopyUserAttributes(const Tower*, const Tower*) { opfakes::Calls().push_back({"CopyUserAttributes", 0}); }
