// What the recording fakes of app/frame_operation_seams.h saw.
#pragma once
#include <string>
#include <vector>

#include "platform/win_types.h"

namespace opfakes {

struct Reached {
  std::string name;
  UINT id;
};
std::vector<Reached>& Calls();
// What every fake returns (1 unless a test says otherwise).
int& Result();

}  // namespace opfakes
