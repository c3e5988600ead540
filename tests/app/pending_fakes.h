// Recording fakes of the services in app/pending_services.h.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/win_types.h"

namespace pendingfakes {

struct Calls {
  std::vector<std::string> names;             // every call, in order
  // The command handlers' owners.
  std::vector<std::string> operations;        // PerformCommandOperation's names, in order
  std::vector<std::uint32_t> operationParameters;
  std::uint32_t operationResult = 1;          // what PerformCommandOperation answers
  std::vector<std::string> passingChecks;     // CommandPrecondition answers 1 for these
  std::vector<std::string> checks;            // every check asked
  int layerToggleResult = 0;                  // what ToggleLayerByKey answers
  std::vector<std::uint32_t> layerToggleKeys;
  int ghostUpdates = 0;                       // UpdateRubberBandGhost calls
  std::vector<std::string> consoleLines;      // "kind:text"
  std::vector<std::uint32_t> zoomParameters;
  std::vector<std::string> scriptsRun;
  int holdMenuResult = 1;                     // what ShowHoldMenu answers
  void (*duringHoldMenu)() = nullptr;         // run while the hold menu is open
  int Count(const std::string& name) const;
};
Calls& Recorded();

}  // namespace pendingfakes
