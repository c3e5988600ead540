#include "tests/app/size_command_fakes.h"

#include "app/size_dialog_seams.h"
#include "edit/selection_actions.h"
#include "platform/reset_hooks.h"

namespace sizefakes {

Calls& Recorded() {
  static Calls calls;
  return calls;
}

namespace {
const bool registered = pl3::RegisterGlobalReset([] { Recorded() = Calls{}; });
}  // namespace

}  // namespace sizefakes

using sizefakes::Recorded;

int ShowConfigureSizesDialog(HWND) {
  ++Recorded().configureSizes;
  return 1;
}

int ValidateSelectionForAction(std::uint32_t action, std::uint32_t argument) {
  Recorded().validated.push_back(action * 10 + argument);
  return Recorded().selectionValid;
}

int PerformSelectionArrayAction(std::uint32_t action, std::uint32_t argument) {
  Recorded().performed.push_back(action * 10 + argument);
  auto& results = Recorded().selectionResults;
  if (results.empty()) return 0;
  const int result = results.front();
  results.erase(results.begin());
  return result;
}

void SetCurrentItemSize(HWND, void*, CurrentWindowData*) { ++Recorded().itemSizeChoices; }
