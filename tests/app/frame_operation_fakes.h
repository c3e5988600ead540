// What the recording fakes of app/frame_operation_seams.h saw.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/win_types.h"

struct Tower;

namespace opfakes {

struct Reached {
  std::string name;
  UINT id;
};
std::vector<Reached>& Calls();
// What every fake returns (1 unless a test says otherwise).
int& Result();

// A plain top-level window standing in for an editor's view.
HWND NewTestView();
// How many entities of the code stand directly under the design.
std::size_t CountChildren(const Tower* design, std::uint16_t code);

}  // namespace opfakes
