// Recording fakes for the info-box and text-frame tests: the display list,
// the text-item builders (which lay items out with the real drawing code)
// and the engine's item services.
#pragma once
#include <cstdint>
#include <vector>

#include "geometry/types.h"
#include "objects/graphic_records.h"

struct Tower;
struct TowerNode;

namespace infoboxtest {

struct ListedTrack {
  LinePayload line;
  const TowerNode* owner;
};
struct Calls {
  std::vector<const TowerNode*> put;      // PutEntityOnDisplayList
  std::vector<const TowerNode*> removed;  // RemoveFromDisplayList
  std::vector<ListedTrack> tracks;        // AddTrackToDisplayList
  std::vector<LinePayload> itemBoxes;     // TransformItemBox
  std::vector<const TowerNode*> selected; // AddGraphicToSelection
  bool refuseSelection = false;
};
Calls& Recorded();

// Font 3 as a font without characters: every character measures as the
// missing-glyph box. Removed again with RemoveFont3.
Tower* InstallEmptyFont3();
void RemoveFont3(Tower** font);

}  // namespace infoboxtest
