#include "objects/corner_radius.h"

#include <cmath>
#include <cstdint>
#include <utility>

#include "edit/window_data.h"
#include "geometry/arcs.h"
#include "objects/console_seams.h"
#include "objects/cursor_zoom.h"
#include "objects/design_walks.h"
#include "objects/display_list_seams.h"
#include "objects/type_codes.h"
#include "objects/undo_edits.h"
#include "objects/undo_seams.h"
#include "objects/view_seams.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/tower.h"

namespace {

// The angles of the corner geometry, these values throughout.
constexpr double kHalfPi = 1.57079632675;
constexpr double kPi = 3.1415926535;
constexpr double kTwoPi = 6.283185307;

// A stored coordinate: truncated toward zero, kept as a 32-bit word (NaN gives 0).
std::int32_t Truncated(double v) {
  if (!(v == v)) return 0;
  if (v >= 9.2e18) v = 9.2e18;
  if (v <= -9.2e18) v = -9.2e18;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::int64_t>(v)));
}

double Unsigned(std::int32_t v) { return static_cast<double>(static_cast<std::uint32_t>(v)); }

struct Direction {
  double angle;   // 0 to 2 pi, from +x toward +y
  double length;
  double ux, uy;  // unit direction
};

// The direction of a track from its first end point to its second.
Direction TrackDirection(const LinePayload& track) {
  const double x1 = Unsigned(track.x1), y1 = Unsigned(track.y1);
  const double x2 = Unsigned(track.x2), y2 = Unsigned(track.y2);
  Direction d{};
  if (x1 == x2)
    d.angle = y1 < y2 ? kHalfPi : -kHalfPi;
  else if (y1 == y2)
    d.angle = x1 < x2 ? 0.0 : kPi;
  else
    d.angle = std::atan2(y2 - y1, x2 - x1);
  if (d.angle < 0) d.angle += kTwoPi;
  const double dx = x2 - x1, dy = y2 - y1;
  d.length = std::sqrt(dx * dx + dy * dy);
  if (d.length > 0) {
    d.ux = dx / d.length;
    d.uy = dy / d.length;
  }
  return d;
}

// Two distinct tracks, each standing on a stored entity, and the arc's Tower
// (when given) on a third.
bool HandsOverDistinctItems(const CornerRecord& c, bool withArc) {
  const Entity* first = TowerEntity(c.firstTrack);
  const Entity* second = TowerEntity(c.secondTrack);
  if (!first || !second || first == second) return false;
  if (!withArc) return true;
  const Entity* arc = TowerEntity(c.arc);
  return arc && arc != first && arc != second;
}

LinePayload WithFirstEnd(LinePayload track, std::int32_t x, std::int32_t y) {
  track.x1 = x;
  track.y1 = y;
  return track;
}

}  // namespace

void RadiusCorner(HWND window, CornerRecord* corner, std::uint32_t radius) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !corner || !w->design || !HandsOverDistinctItems(*corner, false)) return;
  const double r = radius;
  const Direction first = TrackDirection(corner->first);
  const Direction second = TrackDirection(corner->second);
  double turn = second.angle - first.angle;
  if (turn < 0) turn += kTwoPi;
  double theta = turn / 2;
  Direction a = first, b = second;
  if (turn > kPi) {
    theta = (kTwoPi - turn) / 2;
    std::swap(corner->first, corner->second);
    std::swap(a, b);
  }
  // Tracks that leave the corner in one direction (no turn) need an unbounded t.
  const double tangent = std::tan(theta);
  const double t = tangent > 0 ? r / tangent : HUGE_VAL;
  // A track of no length has no direction to round along.
  if (!(a.length >= t) || !(b.length >= t) || a.length == 0 || b.length == 0) {
    AddConsoleMessage(static_cast<ConsolePane*>(w->Console), 6, 0, 0, 0, 2, "Corner is too small to radius.");
    MessageBeep(MB_ICONEXCLAMATION);
    return;
  }
  const LinePayload& trackA = corner->first;
  const LinePayload& trackB = corner->second;
  const double xA = Unsigned(trackA.x1), yA = Unsigned(trackA.y1);
  const double xB = Unsigned(trackB.x1), yB = Unsigned(trackB.y1);

  ArcPayload arc{};
  arc.head.layer = trackA.head.layer;
  arc.head.sizeFlags = kSizeByIndex;
  arc.head.sizeIndex = trackA.head.sizeIndex;
  arc.head.marks[3] = 1;
  arc.head.transform = pl3::kIdentityTransform;
  arc.radius = static_cast<std::int32_t>(radius);
  arc.centreX = Truncated(xA + t * a.ux - r * a.uy);
  arc.centreY = Truncated(yA + t * a.uy + r * a.ux);
  arc.startX = Truncated(-r * b.uy);
  arc.startY = Truncated(r * b.ux);
  arc.endX = Truncated(r * a.uy);
  arc.endY = Truncated(-r * a.ux);
  pl3::PrepareArcEnds(&arc);
  StoreWithUndo(*w, Type_Arc, sizeof arc, &arc);

  const LinePayload newA = WithFirstEnd(trackA, Truncated(xA + t * a.ux), Truncated(yA + t * a.uy));
  StoreWithUndo(*w, Type_Track, sizeof newA, &newA);
  const LinePayload newB = WithFirstEnd(trackB, Truncated(xB + t * b.ux), Truncated(yB + t * b.uy));
  StoreWithUndo(*w, Type_Track, sizeof newB, &newB);

  Tower* const old[] = {corner->firstTrack, corner->secondTrack};
  RemoveWithUndo(*w, old, 2);
  FinishUndoStep(window, *w, "Radius Corner");
}

void UnradiusCorner(HWND window, const CornerRecord* corner) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !corner || !w->design || !HandsOverDistinctItems(*corner, corner->arc != nullptr)) return;
  const LinePayload& p = corner->first;
  const LinePayload& q = corner->second;
  const double px = Unsigned(p.x1), py = Unsigned(p.y1);
  const double dx1 = Unsigned(p.x2) - px, dy1 = Unsigned(p.y2) - py;
  const double qx = Unsigned(q.x1), qy = Unsigned(q.y1);
  const double dx2 = Unsigned(q.x2) - qx, dy2 = Unsigned(q.y2) - qy;
  // p + t d1 = q + s d2.
  const double denominator = dx1 * dy2 - dy1 * dx2;
  if (denominator == 0) return;
  const double ex = qx - px, ey = qy - py;
  const double t = (ex * dy2 - ey * dx2) / denominator;
  const double s = (ex * dy1 - ey * dx1) / denominator;
  if ((t >= 0 && t <= 1) || (s >= 0 && s <= 1)) return;
  const double cornerX = std::trunc(px + t * dx1);
  const double cornerY = std::trunc(py + t * dy1);
  if (!(cornerX >= kAreaLow && cornerX <= kAreaHigh && cornerY >= kAreaLow && cornerY <= kAreaHigh)) {
    MessageBeep(MB_ICONEXCLAMATION);
    return;
  }
  const auto x = static_cast<std::int32_t>(cornerX);
  const auto y = static_cast<std::int32_t>(cornerY);
  const LinePayload newFirst = WithFirstEnd(p, x, y);
  StoreWithUndo(*w, Type_Track, sizeof newFirst, &newFirst);
  const LinePayload newSecond = WithFirstEnd(q, x, y);
  StoreWithUndo(*w, Type_Track, sizeof newSecond, &newSecond);

  Tower* const old[] = {corner->firstTrack, corner->secondTrack, corner->arc};
  RemoveWithUndo(*w, old, 3);
  FinishUndoStep(window, *w, "Unradius Corner");
}
