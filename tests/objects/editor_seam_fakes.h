// Recording fakes of the editor and view services for the editor input tests.
#pragma once
#include <string>
#include <vector>

#include "geometry/types.h"
#include "platform/user.h"

namespace editorfakes {
// Every call, in order, as a short text ("ghost 6", "spiral", "menus 12" ...).
extern std::vector<std::string> calls;
// What the fakes answer.
extern int arcQuadrant;
extern int sweepQuadrants;
extern bool insertFails;
extern int itemAttached;
// The angle assist seen by each DrawModeGhost call.
extern std::vector<int> ghostAssist;
// The pen colour and raster operation each marker was drawn with.
struct MarkerDraw {
  std::string kind;
  pl3::Point at;
  unsigned colour;
  int rop;
};
extern std::vector<MarkerDraw> markers;
int Count(const std::string& prefix);
// A hidden top-level window of a class of its own with the procedure.
HWND MakeEditorWindow(const char* className, WNDPROC proc);
}  // namespace editorfakes
