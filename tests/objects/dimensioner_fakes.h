// What the fakes of dimensioner_fakes.cpp record and answer.
#pragma once
#include <cstdint>
#include <vector>

#include "geometry/types.h"

struct Tower;

namespace dimensionertest {

struct DrawnTrack {
  pl3::Point from, to;
  std::int32_t width;
  int pass;
};
std::vector<DrawnTrack>& Tracks();
std::vector<int>& Arcs();                 // the pass of each arc drawn
std::vector<std::uint32_t>& MenuKinds();  // SetSelectionAndOptionsMenus calls
// The item FindItemsNearPoint answers (a copy is handed out), and the pick
// filter word seen by the last call.
Tower*& ItemNearCursor();
std::uint32_t& SeenPickFilter();
pl3::Box& PadBox();  // what GetBox answers

}  // namespace dimensionertest
