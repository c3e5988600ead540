#pragma once
#include <string>
#include <vector>

#include "platform/win_types.h"

// Loads the common controls and creates a hidden 400x300 top-level window
// of a fresh class named className, to parent the controls a test makes.
// Null when the class or window cannot be made.
HWND MakeTestParentWindow(const char* className);

// A 32-bit top-down DIB section of width x height for a test to draw into;
// *bits points at its pixels, row by row. DeleteObject when done.
HBITMAP MakeTestDib(HDC dc, int width, int height, void** bits);

// A header control's column as the tests compare it.
struct TestHeaderColumn {
  std::string title;
  int width;
  bool operator==(const TestHeaderColumn&) const = default;
};
// The titles and widths of a header's columns, in header order; none for a
// null header.
std::vector<TestHeaderColumn> TestHeaderColumns(HWND header);
