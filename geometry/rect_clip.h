// Clipping a polygon against an axis-aligned rectangle in floating point:
// the four-stage pipelined form of Sutherland-Hodgman, each input point
// pushed through the left, right, bottom and top stages at once.
#pragma once

namespace pl3 {

struct ClipPoint2D {
  double x;
  double y;
};

// Clips the closed ring of `count` input points and returns the number of
// output points. `output` must have room for all of them (a convex input of
// n points gives at most n + 4).
int ClipPolygonToRect(double xmin, double ymin, double xmax, double ymax, int count, const ClipPoint2D* input,
                      ClipPoint2D* output);

}  // namespace pl3
