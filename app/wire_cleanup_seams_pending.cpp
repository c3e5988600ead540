// The program's stand-in for the orthogonal wire clean-up after a commit
// (edit/selection_services.h) until it lands: each moved wire is stored as
// it is, with undo, so nothing the user moved is lost; nothing is merged or split.
#include <algorithm>

#include "edit/selection.h"
#include "edit/selection_services.h"
#include "edit/window_data.h"
#include "objects/display_list_seams.h"
#include "objects/graphic_records.h"
#include "objects/undo_seams.h"
#include "store/tower.h"

void CleanUpOrthogonalLines(LineSegment** touched, pl3::Box* box) {
  CurrentWindowData* w = ActiveWindowData;
  for (LineSegment* s = *touched; s && w && w->design; s = s->next) {
    ThinLinePayload wire{};
    wire.line.head.layer = s->layer;
    wire.line.head.sizeFlags = s->sizeFlags;
    wire.line.head.sizeIndex = s->sizeWord;
    wire.line.head.transform = pl3::kIdentityTransform;
    wire.line.x1 = s->a.x;
    wire.line.y1 = s->a.y;
    wire.line.x2 = s->b.x;
    wire.line.y2 = s->b.y;
    Tower* stored = InsertEntity(w->design, sizeof wire, s->type, &wire);
    if (!stored) continue;
    RecordUndoInsert(NodeRefOf(TowerEntity(stored)), w->UndoStep);
    ReleaseTower(&stored);
    box->xmin = std::min({box->xmin, s->a.x, s->b.x});
    box->ymin = std::min({box->ymin, s->a.y, s->b.y});
    box->xmax = std::max({box->xmax, s->a.x, s->b.x});
    box->ymax = std::max({box->ymax, s->a.y, s->b.y});
  }
  FreeLineSegments(touched);
}
