// What the application's dialogs call in the library editors' subsystem,
// which lies above them. Declared here, defined by library/ (column_widths).
#pragma once
#include "app/start_values.h"  // ColumnWidthEntry

// A new malloc'd array (freed by the caller) of `count` pairs {column index,
// width}: the width of column i is totalWidth x fractions[i], rounded to the
// nearest pixel. Null when count is not positive or memory runs out.
ColumnWidthEntry* ScaleColumnWidths(int count, const float* fractions, int totalWidth);
