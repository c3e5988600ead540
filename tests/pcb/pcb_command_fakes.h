// Recording fakes of what the PCB command handler calls: the features of
// pcb/pcb_command_seams.h and the engine, view and log services around it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "pcb/pcb_command_seams.h"

namespace pcbfakes {

// Every call, as "name" or "name arg", in order.
std::vector<std::string>& Calls();
// Log lines as "kind flags: text".
std::vector<std::string>& Log();
bool Called(const std::string& call);

// What the fakes answer.
struct Answers {
  int insertSymbolChosen = 0;       // InsertSymbolFromNetlist
  std::intptr_t dialogResult = 2;   // the plane clearance and board setup dialogs (IDCANCEL)
  // The board setup dialog's edit of its block, when it answers OK.
  std::uint32_t setupCopperLayers = 0;
  std::vector<std::uint16_t> setupEntries;
  bool keepEditMode = false;        // CancelCurrentOperation leaves the edit mode as it is
  // EnterTextDlg: OK with this text, or Cancel when empty.
  std::string enteredText;
  // StringDialogEx: OK with this text, or Cancel when empty.
  std::string editedString;
};
Answers& Answer();

// What the board setup dialog was handed.
struct SeenSetup {
  std::uint32_t copperLayers = 0;
  BoardValue board{};
  std::vector<std::uint16_t> entries;
};
SeenSetup& SeenBoardSetup();
// The room EnterTextDlg was given (its maximum length).
std::uint32_t& EnterTextLimit();
std::string& EnterTextInitial();

void Reset();

}  // namespace pcbfakes
