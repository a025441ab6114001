// The shapes the Gantt chart draws, as plain geometry: the body of a bar by
// its shape code, the start and end marks, and the elbow path of a
// relationship connector with its arrow head. Every offset is given at
// 96 dpi and multiplied by the display scale passed in.
#pragma once

#include <cstddef>
#include <vector>

#include "view/paint_surface.h"

namespace tessel::view::gantt {

// The band of a row that a bar body of `shape` fills, from the row's top:
// codes 1 to 6; false for any other code (no body).
bool body_band(int shape, float scale, float& top_offset, float& height);

// The polygon of a start or end mark at `x` on a row whose top is `top`:
// 2 a downward triangle, 4 a diamond, 5 a four-pointed star, all within
// x - 4 to x + 4 and top + 5 to top + 13; empty for any other code.
std::vector<point_f> mark_polygon(int shape, float x, float top, float scale);

// A connector from a point on the predecessor's line to a point on the
// successor's. It leaves the predecessor horizontally away from its bar
// (rightwards from a finish, leftwards from a start), turns vertically
// towards the successor's line and enters the successor from the side it
// belongs to: a start from the left, a finish from the right. When the
// turn would land on the wrong side, the line doubles back along the
// boundary between the successor's row and its neighbour towards the
// predecessor, so it never runs through the successor's own bar.
struct connector {
  point_f path[6];
  std::size_t count = 0;  // points used in `path`
  point_f head[3];        // the arrow head, its tip at the successor point
};
connector connector_path(point_f from, bool from_finish, point_f to, bool to_start, float row_height,
                         float scale);

}  // namespace tessel::view::gantt
