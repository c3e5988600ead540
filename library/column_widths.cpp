#include "library/column_widths.h"

#include <cmath>
#include <cstdlib>

ColumnWidthEntry* ScaleColumnWidths(int count, const float* fractions, int totalWidth) {
  if (count <= 0 || !fractions) return nullptr;
  auto* widths = static_cast<ColumnWidthEntry*>(std::calloc(static_cast<std::size_t>(count), sizeof(ColumnWidthEntry)));
  if (!widths) return nullptr;
  for (int i = 0; i < count; ++i)
    widths[i] = {static_cast<std::uint32_t>(i),
                 static_cast<std::int32_t>(std::lround(static_cast<double>(totalWidth) * fractions[i]))};
  return widths;
}
