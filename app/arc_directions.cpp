#include "app/arc_directions.h"

#include <cmath>
#include <vector>

#include "geometry/arcs.h"

namespace pl3 {

void BuildArcDirectionTable(int n) {
  if (n < 1) n = 1;
  std::vector<ArcDirection> table(static_cast<std::size_t>(n) + 1);
  table[0] = {0xFFFFFFFFu, 0};
  const double step = std::atan(1.0) / n;  // 45 degrees / n
  for (int i = 1; i < n; ++i) {
    table[static_cast<std::size_t>(i)] = {static_cast<std::uint32_t>(std::cos(i * step) * 4294967296.0),
                                          static_cast<std::uint32_t>(std::sin(i * step) * 4294967296.0)};
  }
  table[static_cast<std::size_t>(n)] = {0xB504F334u, 0xB504F334u};
  SetArcDirectionTable(std::move(table));
}

}  // namespace pl3
