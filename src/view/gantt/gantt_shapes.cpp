#include "view/gantt/gantt_shapes.h"

namespace tessel::view::gantt {

namespace {

constexpr float stub = 6.0f;        // the horizontal run out of and into a bar
constexpr float head_length = 5.0f;
constexpr float head_half = 3.0f;

}  // namespace

bool body_band(int shape, float scale, float& top_offset, float& height) {
  static constexpr float bands[6][2] = {{5, 8}, {5, 4}, {9, 4}, {5, 2}, {7, 4}, {11, 2}};
  if (shape < 1 || shape > 6) return false;
  top_offset = bands[shape - 1][0] * scale;
  height = bands[shape - 1][1] * scale;
  return true;
}

std::vector<point_f> mark_polygon(int shape, float x, float top, float scale) {
  const float l = x - 4 * scale, r = x + 4 * scale;
  const float y5 = top + 5 * scale, y9 = top + 9 * scale, y13 = top + 13 * scale;
  switch (shape) {
    case 2: return {{l, y5}, {r, y5}, {x, y13}};
    case 4: return {{x, y5}, {r, y9}, {x, y13}, {l, y9}};
    case 5: {
      // Four points on the box's edges, the waist pulled in between them.
      const float in = 1.5f * scale;
      return {{x, y5}, {x + in, y9 - in}, {r, y9}, {x + in, y9 + in},
              {x, y13}, {x - in, y9 + in}, {l, y9}, {x - in, y9 - in}};
    }
    default: return {};
  }
}

connector connector_path(point_f from, bool from_finish, point_f to, bool to_start, float row_height,
                         float scale) {
  connector c;
  const float out_dir = from_finish ? 1.0f : -1.0f;
  const float in_dir = to_start ? 1.0f : -1.0f;  // the direction the arrow points
  const float turn_x = from.x + out_dir * stub * scale;
  c.path[c.count++] = from;
  c.path[c.count++] = {turn_x, from.y};
  if ((to.x - turn_x) * in_dir >= 0.0f) {
    c.path[c.count++] = {turn_x, to.y};
  } else {
    const float toward_pred = from.y < to.y ? -1.0f : 1.0f;
    const float boundary = to.y + toward_pred * row_height / 2.0f;
    const float approach_x = to.x - in_dir * stub * scale;
    c.path[c.count++] = {turn_x, boundary};
    c.path[c.count++] = {approach_x, boundary};
    c.path[c.count++] = {approach_x, to.y};
  }
  c.path[c.count++] = to;
  const float back = to.x - in_dir * head_length * scale;
  c.head[0] = to;
  c.head[1] = {back, to.y - head_half * scale};
  c.head[2] = {back, to.y + head_half * scale};
  return c;
}

}  // namespace tessel::view::gantt
