#include "tests/geometry/geometry_seam_fakes.h"

#include "geometry/raster_state.h"
#include "geometry/seams.h"
#include "platform/reset_hooks.h"

namespace geomfakes {
namespace {
Calls g_calls;
void Reset() { g_calls = Calls{}; }
const bool g_registered = pl3::RegisterGlobalReset(&Reset);
}  // namespace

Calls& Recorded() {
  (void)g_registered;
  return g_calls;
}

}  // namespace geomfakes

int PickHorizontalRun(std::int32_t x0, std::int32_t x1, std::int32_t y) {
  geomfakes::Recorded().pickHorizontal.push_back({x0, x1, y});
  geomfakes::Recorded().pickRuns.push_back({0, x0, x1, y});
  return geomfakes::Recorded().pickResult;
}

int PickVerticalRun(std::int32_t x, std::int32_t y0, std::int32_t y1) {
  geomfakes::Recorded().pickVertical.push_back({x, y0, y1});
  geomfakes::Recorded().pickRuns.push_back({1, x, y0, y1});
  return geomfakes::Recorded().pickResult;
}

void TraceHorizontalRun(void* context, std::int32_t x, std::int32_t lastX, std::int32_t lastY) {
  geomfakes::Recorded().contexts.push_back(context);
  geomfakes::Recorded().traceHorizontal.push_back({x, lastX, lastY});
}

void TraceVerticalRun(void* context, std::int32_t lastX, std::int32_t lastY, std::int32_t y) {
  geomfakes::Recorded().contexts.push_back(context);
  geomfakes::Recorded().traceVertical.push_back({lastX, lastY, y});
}

void DrawClippedChord(void* context, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
  geomfakes::Recorded().contexts.push_back(context);
  geomfakes::Recorded().chords.push_back({x1, y1, x2, y2});
}

void StepLinePattern() {
  ++geomfakes::Recorded().patternSteps;
  // Alternate two values so that tests can see the order of the pixels.
  pl3::g_raster.fillValue = static_cast<std::uint32_t>(geomfakes::Recorded().patternSteps);
}

// The drawing code's start of a patterned line: the immediate drawing, which
// the program's chain of libraries brings in, calls it. Standing in for it
// here keeps the drawing code's own line pattern (and its callbacks) out.
namespace pl3 {
void StartLinePattern(std::uint32_t, std::uint32_t, std::uint32_t startFill) {
  geomfakes::Recorded().patternSteps = 0;
  g_raster.fillValue = startFill;
}
}  // namespace pl3
