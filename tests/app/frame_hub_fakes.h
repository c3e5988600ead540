// Recording fakes of what the frame's command hub calls in the editors
// (app/frame_hub_seams.h) and of the selection engine's counts.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/win_types.h"

struct SelectionInfo;
struct StoreItemChoice;
struct Tower;

namespace hubfakes {

struct State {
  std::vector<std::string> calls;  // the seams called, in order, by name
  // What the window creators saw.
  std::vector<std::uint8_t> createFlags;
  std::vector<std::uint16_t> createTypes;  // PendingItemTower's type code, 0 for none
  Tower* taken = nullptr;                   // the design the last window made took, as a window keeps it
  // Called by every window creator, before the window is made.
  std::function<void()> onCreate;
  // CreatePCBWindow makes an MDI child of this class when set.
  const char* childClass = nullptr;
  // The chooser's answer: the item "name?type" it picks (empty: none), and
  // its "again" answer; the containers and types it was asked for.
  std::string chooserItem;
  std::uint32_t chooserAgain = 0;
  std::vector<std::string> chooserContainers;
  std::vector<std::string> chooserTypes;
  // The import dialog's answer and the imports run (path and command).
  UINT importCommand = 0;
  std::vector<std::string> imports;
  // The operations of PerformFrameCommandOperation and their result.
  std::vector<UINT> operations;
  int operationResult = 1;
  // The editors' dialog flag as each operation saw it.
  std::vector<std::uint8_t> dialogFlagSeen;
  // Copy: the list the copy was made of (types of its records, in order).
  std::vector<std::uint16_t> copiedTypes;
  SelectionInfo* copyResult = nullptr;
  int revertResult = 1;
  // The answers of the global net prompt and of the graphical net name
  // dialog (empty: cancelled), and the symbol the dialog hands back.
  std::string globalNetAnswer;
  std::string graphicNetNameAnswer;
  Tower* graphicNetNameSymbol = nullptr;
};

State& Recorded();
void Reset();

}  // namespace hubfakes
