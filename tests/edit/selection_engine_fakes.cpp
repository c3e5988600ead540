// Recording fakes of the selection engine's entry points that cancel, delete
// and the mouse road call, for the tests that observe those calls rather
// than run the real selection (tests/edit/engine_fakes.h holds the log).
#include <string>

#include "edit/engine_seams.h"
#include "edit/selection_engine_seams.h"
#include "tests/edit/engine_fakes.h"

void CancelSelectionArray(HWND) { enginefakes::calls.push_back("selection cancelled"); }
int DeleteSelectionArray(HWND, int) {
  enginefakes::calls.push_back("selection deleted");
  return enginefakes::deleteSelectionArrayAnswer;
}
int DeleteSelection(HWND) {
  enginefakes::calls.push_back("held item deleted");
  return enginefakes::deleteSelectionAnswer;
}
int PickObjectAtCursor(HWND, ButtonRecord*, int action) {
  enginefakes::calls.push_back("pick " + std::to_string(action));
  return 0;
}
void ClearSelectionArray(HWND) {}
