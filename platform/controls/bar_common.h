// What the bars and small common controls share: the classic three-dimensional
// borders, drawn with the system colours, and the state lookup of a control.
#pragma once
#include "platform/commctrl.h"
#include "platform/gdi.h"
#include "platform/user_internal.h"

namespace pl3::controls {

// A one-pixel border inside rc: shadow at the top and left and highlight at
// the bottom and right when sunken, the other way round when raised.
void DrawThinBorder(HDC dc, const RECT& rc, bool sunken);
// Two-pixel borders: a sunken well (progress bar, trackbar channel) or a
// raised button (tabs, toolbar buttons).
void DrawWell(HDC dc, const RECT& rc);
void DrawRaisedButton(HDC dc, const RECT& rc);
void FillSys(HDC dc, const RECT& rc, int colourIndex);

// Places a bar across its parent's client area at the top or bottom with the
// given height, unless CCS_NORESIZE (keeps its size) or CCS_NOPARENTALIGN
// (keeps its place) says otherwise.
void AlignBarToParent(HWND bar, int height, bool atBottom);

// The control's own state record, or null for a stale handle or another class.
template <typename State>
State* ControlState(HWND hwnd) {
  user::WindowRecord* w = user::Find(hwnd);
  return w ? dynamic_cast<State*>(w->state.get()) : nullptr;
}

// Gives a new window its state record at WM_NCCREATE.
template <typename State>
void AttachState(HWND hwnd) {
  if (user::WindowRecord* w = user::Find(hwnd)) w->state = std::make_unique<State>();
}

}  // namespace pl3::controls
