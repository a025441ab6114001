// Geometry of the Gantt chart's bar bodies, end marks and relationship
// connectors.
#include <gtest/gtest.h>

#include <algorithm>

#include "view/gantt_shapes.h"

namespace {

using namespace tessel::view;
using namespace tessel::view::gantt;

TEST(GanttShapes, BodyBandsByShapeCodeAndScale) {
  struct band {
    int shape;
    float top, height;
  };
  for (const band b : {band{1, 5, 8}, band{2, 5, 4}, band{3, 9, 4}, band{4, 5, 2}, band{5, 7, 4}, band{6, 11, 2}}) {
    float top = -1, h = -1;
    ASSERT_TRUE(body_band(b.shape, 1.5f, top, h)) << b.shape;
    EXPECT_FLOAT_EQ(top, b.top * 1.5f) << b.shape;
    EXPECT_FLOAT_EQ(h, b.height * 1.5f) << b.shape;
  }
  float top = 0, h = 0;
  for (int shape : {0, 7, -1, 100}) EXPECT_FALSE(body_band(shape, 1.0f, top, h)) << shape;
}

TEST(GanttShapes, MarksStayWithinTheirBoxAndOnlyThreeCodesDrawAnything) {
  const auto tri = mark_polygon(2, 100, 40, 1.0f);
  ASSERT_EQ(tri.size(), 3u);
  EXPECT_FLOAT_EQ(tri[0].x, 96);
  EXPECT_FLOAT_EQ(tri[0].y, 45);
  EXPECT_FLOAT_EQ(tri[1].x, 104);
  EXPECT_FLOAT_EQ(tri[1].y, 45);
  EXPECT_FLOAT_EQ(tri[2].x, 100);
  EXPECT_FLOAT_EQ(tri[2].y, 53);

  const auto diamond = mark_polygon(4, 100, 40, 2.0f);
  ASSERT_EQ(diamond.size(), 4u);
  EXPECT_FLOAT_EQ(diamond[0].y, 50);  // top + 5 x 2
  EXPECT_FLOAT_EQ(diamond[1].x, 108);
  EXPECT_FLOAT_EQ(diamond[1].y, 58);
  EXPECT_FLOAT_EQ(diamond[2].y, 66);
  EXPECT_FLOAT_EQ(diamond[3].x, 92);

  const auto star = mark_polygon(5, 100, 40, 1.0f);
  ASSERT_EQ(star.size(), 8u);
  float l = 1e9, r = -1e9, t = 1e9, b = -1e9;
  for (const point_f& p : star) {
    l = std::min(l, p.x), r = std::max(r, p.x), t = std::min(t, p.y), b = std::max(b, p.y);
  }
  EXPECT_FLOAT_EQ(l, 96);
  EXPECT_FLOAT_EQ(r, 104);
  EXPECT_FLOAT_EQ(t, 45);
  EXPECT_FLOAT_EQ(b, 53);
  // Its waist points lie strictly inside the box: a star, not a diamond.
  EXPECT_GT(star[1].x, 100);
  EXPECT_LT(star[1].x, 104);

  for (int shape : {0, 1, 3, 6, 7}) EXPECT_TRUE(mark_polygon(shape, 100, 40, 1.0f).empty()) << shape;
}

// The connector always starts at the predecessor point, ends at the
// successor point with the arrow tip there, and runs only in horizontal and
// vertical steps.
void expect_elbows(const connector& c, point_f from, point_f to) {
  ASSERT_GE(c.count, 4u);
  EXPECT_FLOAT_EQ(c.path[0].x, from.x);
  EXPECT_FLOAT_EQ(c.path[0].y, from.y);
  EXPECT_FLOAT_EQ(c.path[c.count - 1].x, to.x);
  EXPECT_FLOAT_EQ(c.path[c.count - 1].y, to.y);
  EXPECT_FLOAT_EQ(c.head[0].x, to.x);
  EXPECT_FLOAT_EQ(c.head[0].y, to.y);
  for (size_t k = 1; k < c.count; ++k)
    EXPECT_TRUE(c.path[k].x == c.path[k - 1].x || c.path[k].y == c.path[k - 1].y) << k;
}

TEST(GanttShapes, ConnectorsLeaveAndEnterOnTheirOwnSides) {
  // Finish to start, successor starting later: out to the right, down,
  // then in from the left with the arrow pointing right.
  {
    const point_f a{100, 9}, b{160, 45};
    const connector c = connector_path(a, true, b, true, 18, 1.0f);
    expect_elbows(c, a, b);
    EXPECT_EQ(c.count, 4u);
    EXPECT_GT(c.path[1].x, a.x);
    EXPECT_LT(c.head[1].x, b.x);
    EXPECT_LT(c.path[2].x, b.x);
  }
  // Finish to start, successor starting before the predecessor finishes:
  // the line doubles back above the successor's row and still enters it
  // from the left.
  {
    const point_f a{100, 9}, b{60, 45};
    const connector c = connector_path(a, true, b, true, 18, 1.0f);
    expect_elbows(c, a, b);
    EXPECT_EQ(c.count, 6u);
    EXPECT_FLOAT_EQ(c.path[2].y, 36);  // the boundary above the successor's row
    EXPECT_LT(c.path[4].x, b.x);
    EXPECT_LT(c.head[1].x, b.x);
  }
  // Start to start: out to the left of the predecessor's start.
  {
    const point_f a{100, 45}, b{130, 9};  // successor above
    const connector c = connector_path(a, false, b, true, 18, 1.0f);
    expect_elbows(c, a, b);
    EXPECT_LT(c.path[1].x, a.x);
  }
  // Finish to finish with the successor above and finishing earlier: the
  // turn already lies right of the successor's finish, so it enters from
  // the right directly, arrow pointing left.
  {
    const point_f a{200, 81}, b{150, 27};
    const connector c = connector_path(a, true, b, false, 18, 2.0f);
    expect_elbows(c, a, b);
    EXPECT_GT(c.head[1].x, b.x);
    EXPECT_GT(c.path[c.count - 2].x, b.x);
    EXPECT_EQ(c.count, 4u);
  }
}

}  // namespace
