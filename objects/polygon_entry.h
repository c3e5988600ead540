// The polygon steps of the editors and the mirror of the item in hand:
// finishing a polygon entered point by point, adding a vertex at the midpoint
// of the edge being edited, and mirroring the ghost of an item being placed
// or moved. Each erases its XOR ghost before a change and draws it after.
#pragma once
#include <cstdint>

#include "geometry/graphic_layouts.h"
#include "platform/win_types.h"

struct EntityRecord;
struct Tower;

// Finishes the polygon being entered; its point count includes the closing
// point. Fewer than 4 points: "You cannot enter a polygon with fewer than
// three points" and 0, the entry going on. Otherwise the polygon is stored
// (with undo), its area redrawn, the design marked changed and the window
// made idle: 1. When the engine refuses to store it the ghost is drawn again: 0.
int AcceptPolygonEntry(HWND window, EntityRecord* polygon);
// The Mirror step of the item being placed or moved: ghost erased, the
// record's placement transform reflected in x (a and b negated), ghost drawn.
void MirrorGhost(HWND window, EntityRecord* record);
// The reflection in x of MirrorGhost: a and b negated (with wrap-around, so
// that the most negative coefficient mirrors too).
void ReflectTransformInX(pl3::Transform* t);

// Duplicates the point at the polygon's current index and puts the window's
// cursor on the midpoint of the edge that ends there (each half rounded down
// before adding), then snaps it for the drag. Without keepIndex the current
// index moves on to the new point, so the cursor lands on the duplicated
// point. Nothing changes at 255 points or when the engine refuses the point.
void InsertPolygonMidpoint(HWND window, pl3::PolygonLayout* polygon, int keepIndex);
// Replaces a stored polygon by a copy with the midpoint vertex inserted (the
// keep-index flag is the record's header byte), selected; the old entity is
// deleted and its Tower freed. Returns a new Tower on the new entity, or null
// (and nothing deleted) when it could not be copied or stored.
Tower* ReplaceWithPolygonMidpoint(HWND window, Tower* polygon, const Tower* design);
// The same with any point edit of the copy, which gets the record's header
// byte as its flag.
using PolygonEdit = void (*)(HWND window, pl3::PolygonLayout* polygon, int headerByte);
Tower* ReplaceEditedPolygon(HWND window, Tower* polygon, const Tower* design, PolygonEdit edit);
// The Add Polygon Point command: in Edit Selection the first selected polygon
// is replaced by ReplaceWithPolygonMidpoint and becomes the selection's
// working item; otherwise the cursor is added to the polygon being entered.
void AddPolygonPointCommand(HWND window);
