// Recording fakes of what the undo history, cancel and delete call above
// and beside the editing engine: the display list, the ratsnest, the
// component bin, the view, the frame's menus, the tool and ghost services
// of the frame and the selection engine. Each call is logged in
// enginefakes::calls as "<what> <detail>".
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace enginefakes {

extern std::vector<std::string> calls;
// The calls whose text starts with the prefix, in order.
std::vector<std::string> CallsStartingWith(const std::string& prefix);
// What the fakes answer.
extern int deleteSelectionArrayAnswer;   // DeleteSelectionArray
extern int deleteSelectionAnswer;        // DeleteSelection

}  // namespace enginefakes
