// Recording fakes of what the selection asks of the code above it: the
// insertion array's ghost copies of symbols and pads, the PCB editor's
// hole-on-pad test, symbol packaging and the console.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace selectionfakes {

extern std::vector<std::string> log;       // "ghost copy <type>", "instance ghost <type>", ...
extern std::vector<std::string> console;   // the console lines, formatted
extern int holeOnPad;                      // what IsHoleOnPad answers
extern int sizeChoice;                     // the entry the size chooser answers; -1 cancels
extern int colourChoice;                   // the entry the colour chooser answers; -1 cancels

}  // namespace selectionfakes
