// Fakes of the drawing code's span-target callbacks and line pattern; each
// records its calls so that tests can see what the kernel handed on.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

namespace geomfakes {

struct Calls {
  std::vector<std::array<std::int32_t, 3>> pickHorizontal;  // x0, x1, y
  std::vector<std::array<std::int32_t, 3>> pickVertical;    // x, y0, y1
  std::vector<std::array<std::int32_t, 4>> pickRuns;        // both kinds in order: 0 x0 x1 y, or 1 x y0 y1
  std::vector<std::array<std::int32_t, 3>> traceHorizontal; // x, lastX, lastY
  std::vector<std::array<std::int32_t, 3>> traceVertical;   // lastX, lastY, y
  std::vector<std::array<std::int32_t, 4>> chords;
  std::vector<void*> contexts;
  int patternSteps = 0;
  int pickResult = 1;
};

// Cleared before every test.
Calls& Recorded();

}  // namespace geomfakes
