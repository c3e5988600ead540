// Column widths of lists computed from fractions of a list's width:
// ScaleColumnWidths, declared where the application's dialogs can reach it.
#pragma once
#include "app/library_seams.h"
