// The drag handle point of an item: where the cursor holds it when it is
// moved. Paste and revert place items by it. Kept out of edit/draw_status.cpp
// so that tests of the clipboard can answer it with a fake.
#include "edit/clipboard_seams.h"
#include "edit/object_select.h"

pl3::Point GetItemHandlePoint(HWND, const Tower* item) {
  // The drag status without its first-pick step: placing a pasted item must
  // not move the window's cursor under the items still to come.
  DrawStatus status{};
  bool unknown = false;
  if (!FillDrawStatus(item, 0, &status, &unknown)) return {0, 0};
  return {status.x, status.y};
}
