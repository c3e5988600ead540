// Fakes of the services that the store reaches in subsystems above it and that
// those subsystems do not provide yet. Each records its calls so that tests
// can see what the store asked for.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct Tower;

namespace storefakes {

struct SizeMark {
  std::uint32_t list;
  std::uint32_t index;
  bool makeDefault;
};

struct Calls {
  std::vector<SizeMark> sizeMarks;
  bool sizeEntryExists = true;
  std::vector<std::uint32_t> ratsnestNets;  // net ids passed to ComputeNetRatsnest
  std::uint32_t nextNetId = 1000;
};

// Cleared before every test.
Calls& Recorded();

}  // namespace storefakes
