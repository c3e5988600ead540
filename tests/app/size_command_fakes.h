// Recording fakes of what the size commands call outside app/: the size
// configuration sheet and the selection engine's size actions.
#pragma once
#include <cstdint>
#include <vector>

namespace sizefakes {

struct Calls {
  int configureSizes = 0;                     // ShowConfigureSizesDialog calls
  int selectionValid = 1;                     // what ValidateSelectionForAction answers
  std::vector<int> selectionResults;          // what PerformSelectionArrayAction answers, in turn (then 0)
  std::vector<std::uint32_t> validated;       // action * 10 + argument
  std::vector<std::uint32_t> performed;       // action * 10 + argument
  int itemSizeChoices = 0;                    // SetCurrentItemSize calls
};
Calls& Recorded();

}  // namespace sizefakes
