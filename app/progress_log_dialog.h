// "Net Import Progress" (dialog 1006): the modeless list in which a netlist
// import shows its messages, one line per message, each in its own colour.
// The import adds the lines; this is the dialog and the drawing of a line.
#pragma once
#include <cstdint>

#include "platform/user.h"

constexpr int kProgressLogDialogId = 1006;
constexpr int kProgressLogClose = 3044;
constexpr int kProgressLogList = 3045;

// The item data of one line, owned by the list: freed with its text when the
// line is deleted.
struct ProgressLogLine {
  char* text;             // heap
  std::uint32_t colour;   // COLORREF
};

// The dialog's parameter block, owned by the caller. The dialog fills in its
// windows and sets `opened` to 1 when it opens.
struct ProgressLogBlock {
  HWND dialog;
  HWND list;
  std::uint32_t opened;
};

// Owner-drawn lines; a deleted line frees its text and its item data;
// "Close" empties the list, gives the focus back to the frame window and ends
// the dialog with 0.
INT_PTR CALLBACK ProgressLogDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Draws one line: the highlight colour behind it when selected, else the
// window colour; its text in its own colour (the highlight-text colour when
// selected) on a transparent background, a text too long shortened in the
// middle of the path; a focus rectangle when focused. The context's text
// colour and background mode are put back.
void DrawProgressLogLine(HWND dialog, const DRAWITEMSTRUCT* draw, bool selected, bool focused);
