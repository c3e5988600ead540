#include "app/application_globals.h"

#include "app/arc_directions.h"
#include "geometry/record_view.h"
#include "objects/real_size.h"
#include "store/node_pool.h"
#include "store/tower_file.h"

namespace {
// Steps of the arc direction table per 45 degrees: arc ghosts are drawn as
// 8 x 16 = 128 chords per full circle, smooth at any on-screen radius.
constexpr int kArcDirectionSteps = 16;
}  // namespace

void InitApplicationGlobals() {
  InitTowerStore();
  pl3::BuildArcDirectionTable(kArcDirectionSteps);
  // The kernel resolves indexed sizes through the active window's size table.
  pl3::SetRealSizeResolver(&ReturnRealSize);
}

void FreeApplicationGlobals() {
  // The store goes last: nothing may touch it afterwards.
  ReleaseTowerStore();
  FreeFileRepointTable();
}
