// Recording fakes of the engine, drawing and frame services that the pick,
// menu, polygon, corner and command workers call: undo, the display list,
// polygon entry, the selection, the drag snap, the thumbnail renderer, the
// console and the area-pick list. Calls are logged in editorfakes::calls.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "geometry/types.h"

struct Tower;

namespace commandfakes {

// One undo entry as the fake history keeps it.
struct UndoEntry {
  int kind;                           // 1 insertion, 2 removal
  std::uint32_t step;
  std::uint16_t type;
  std::vector<std::uint8_t> payload;  // removals: the entity's copy
  std::uint32_t inserted;             // insertions: the new entity's reference
};
extern std::vector<UndoEntry> undo;
extern std::vector<std::string> captions;  // "step: caption"
extern std::uint32_t nextStep;             // what NewUndoStepNumber answers (then counts up)
// Takes back every entry of the step, newest first: insertions are deleted,
// removals stored again under the parent.
void UndoStep(std::uint32_t step, const Tower* parent);

// What the polygon entry answers.
extern bool setPolygonRefuses;
extern int checkPointAnswer;
extern bool insertPolygonFails;
// The selection's common type (GetSelectionType): computed from the list
// unless set here.
extern std::int64_t selectionType;
// Descriptions by type code; a type not listed has none.
extern std::vector<std::pair<std::uint16_t, std::string>> descriptions;
// The area-pick list AreaPickCandidate reads.
extern std::vector<Tower*> candidates;
// Console lines: "kind flags: text".
extern std::vector<std::string> console;
// What RenderBoxThumbnail saw: the window state and the kernel's view.
extern const void* thumbnailWindow;
extern const void* thumbnailView;

}  // namespace commandfakes
