// What the clipboard's seam fakes answer and record.
#pragma once
#include <string>
#include <vector>

#include "geometry/types.h"

namespace clipboardfakes {
extern pl3::Point handle;               // every item's handle point
extern std::vector<std::string> calls;  // "package reference", "unpackage", "ghost at x,y"
}  // namespace clipboardfakes
