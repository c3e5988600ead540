// The designator text of a placed symbol (R12, U3): stored upper case in the
// newest 232 record of the symbol's designator group (128), and numbered
// upward from its prefix.
#pragma once

struct Tower;

// The text of the group's newest designator string, or null when there is
// none or its record holds no terminator.
const char* GetDesignatorText(const Tower* designatorGroup);
// Stores a new designator string, upper case, as the group's newest. Returns 1.
int SetDesignatorText(const Tower* designatorGroup, const char* text);
// The text's prefix followed by one more than the largest number any symbol
// instance of the design carries with that prefix (compared without regard to
// case): a new heap string the caller frees. Past the limit the user is told
// "Too high a designator number" and 99,999 is given.
char* FindNextDesignatorString(const char* text, const Tower* design);
