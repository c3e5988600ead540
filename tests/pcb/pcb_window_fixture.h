// A frame with its MDI client and diagram console, the PCB window class
// registered, and helpers to make boards through the real New PCB dialog.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/user.h"

struct CurrentWindowData;
struct Tower;

namespace pcbtest {

// What the PCB window's seams were asked, in order.
struct SeamLog {
  std::vector<unsigned> commands;  // DoPCBCommand ids
  int highlightCopper = 0;
  int placed = 0;                  // BeginPlaceSymbolDefinition
  int droppedOnInstance = 0;       // LoadDroppedSymbolDefinition
  std::string droppedDesignator;
  int definitionComplete = 1;      // what IsSymbolDefinitionComplete answers
  int deletedDefinitions = 0;
  std::vector<Tower*> hits;        // what CollectHitsAtPoint answers (copies handed out)
};
SeamLog& Seams();

class PcbWindowTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A new board through the "Create New PCB" dialog answered with these
  // texts; null when the dialog was cancelled (cancel true).
  HWND NewBoard(const char* layers = "4", const char* description = nullptr, bool netEditing = false,
                bool cancel = false);
  CurrentWindowData* Block(HWND window);
  HWND ActiveChild();
  int ChildCount();

  HWND frame = nullptr;
  std::string dir;  // a private folder for containers
};

}  // namespace pcbtest
