// The Gantt chart's geometry: bar bodies, end marks and relationship
// connectors by shape code and scale; and the index of drawable
// relationships, which links a window of rows gets against a plain scan.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <memory>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "view/gantt/gantt_links.h"
#include "view/gantt/gantt_shapes.h"

namespace {

using namespace tessel;
using namespace tessel::view;
using namespace tessel::view::gantt;

TEST(GanttShapes, BodyBandsByShapeCodeAndScaleMarksWithinTheirBox) {
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

  // Marks stay within their box, and only three codes draw anything.
  using points = std::vector<std::pair<float, float>>;
  const auto xy = [](const auto& polygon) {
    points out;
    for (const point_f& p : polygon) out.push_back({p.x, p.y});
    return out;
  };
  // A triangle pointing down to the date, a diamond around it (here at twice the size).
  EXPECT_EQ(xy(mark_polygon(2, 100, 40, 1.0f)), (points{{96, 45}, {104, 45}, {100, 53}}));
  EXPECT_EQ(xy(mark_polygon(4, 100, 40, 2.0f)), (points{{100, 50}, {108, 58}, {100, 66}, {92, 58}}));

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

// A row standing for an activity, or for nothing (a group line).
class test_row final : public Row {
 public:
  explicit test_row(const document::TASK* t) : task_(t) {}
  const document::TASK* activity() const override { return task_; }

 private:
  const document::TASK* task_;
};

struct fixture {
  std::deque<document::TASK> tasks;
  std::deque<document::TASKPRED> rels;
  std::vector<std::unique_ptr<test_row>> owned;
  std::vector<Row*> rows;

  document::TASK& task(int64_t start, int64_t end) {
    document::TASK& t = tasks.emplace_back();
    t.start_date = s_date::from_time(start);
    t.end_date = s_date::from_time(end);
    return t;
  }
  void row(const document::TASK* t) {
    owned.push_back(std::make_unique<test_row>(t));
    rows.push_back(owned.back().get());
  }
  void rel(document::TASK& pred, document::TASK& succ, int type) {
    document::TASKPRED& r = rels.emplace_back();
    r.predtask = &pred;
    r.task = &succ;
    r.pred_type.code = type;
  }
};

TEST(GanttLinks, DatesByTypeAndOnlyBetweenActivitiesWithRowsAndDates) {
  fixture f;
  document::TASK& a = f.task(1000, 2000);
  document::TASK& b = f.task(3000, 4000);
  document::TASK& hidden = f.task(5000, 6000);  // no row
  document::TASK& undated = f.task(7000, 0);
  f.row(nullptr);
  f.row(&a);
  f.row(&b);
  f.row(&undated);
  for (int type : {0, 1, 2, 3, 9}) f.rel(a, b, type);
  f.rel(a, hidden, 1);
  f.rel(hidden, b, 1);
  f.rel(a, undated, 0);  // to a finish that is empty
  f.rel(a, undated, 1);  // to its start, which exists
  link_index ix;
  ix.build(f.rows, f.rels);
  ASSERT_EQ(ix.size(), 6u);
  std::vector<const gantt::link*> found;
  ix.find(0, 3, found);
  ASSERT_EQ(found.size(), 6u);
  std::multiset<std::tuple<int, int, int64_t, int64_t, bool, bool>> got;
  for (const gantt::link* l : found) got.insert({l->pred_row, l->succ_row, l->from_date, l->to_date, l->from_finish, l->to_start});
  const std::multiset<std::tuple<int, int, int64_t, int64_t, bool, bool>> want{
      {1, 2, 2000, 4000, true, false}, {1, 2, 2000, 3000, true, true}, {1, 2, 1000, 4000, false, false},
      {1, 2, 1000, 3000, false, true}, {1, 2, 2000, 3000, true, true},  // unknown type: finish to start
      {1, 3, 2000, 7000, true, true}};
  EXPECT_EQ(got, want);
}

TEST(GanttLinks, WindowsGetExactlyTheLinksThatReachThemAcrossManyBlocks) {
  fixture f;
  const int n = 700;  // about eleven blocks
  std::vector<document::TASK*> t;
  for (int i = 0; i < n; ++i) {
    t.push_back(&f.task(1000 + i, 2000 + i));
    f.row(i % 9 == 4 ? nullptr : t.back());
  }
  uint32_t seed = 12345;
  auto next = [&seed](int m) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 8) % static_cast<uint32_t>(m));
  };
  for (int k = 0; k < 3000; ++k) {
    const int a = next(n);
    // Mostly short links, some across the whole list.
    const int b = k % 10 == 0 ? next(n) : std::min(n - 1, std::max(0, a + next(40) - 20));
    f.rel(*t[static_cast<size_t>(a)], *t[static_cast<size_t>(b)], 1);
  }
  link_index ix;
  ix.build(f.rows, f.rels);
  // The links expected: every relationship between two activities with rows.
  std::vector<std::pair<int, int>> all;
  auto row_of = [&](const document::TASK* task) {
    for (size_t i = 0; i < f.rows.size(); ++i)
      if (f.rows[i]->activity() == task) return static_cast<int>(i);
    return -1;
  };
  for (const document::TASKPRED& r : f.rels) {
    const int p = row_of(r.predtask), s = row_of(r.task);
    if (p >= 0 && s >= 0) all.push_back({std::min(p, s), std::max(p, s)});
  }
  ASSERT_EQ(ix.size(), all.size());
  for (const auto& [first, last] : std::vector<std::pair<int, int>>{
           {0, 0}, {0, 63}, {63, 64}, {64, 127}, {100, 150}, {320, 370}, {640, 699}, {699, 699}, {250, 250}}) {
    std::vector<const gantt::link*> found;
    ix.find(first, last, found);
    std::multiset<std::pair<int, int>> got, want;
    for (const gantt::link* l : found) got.insert({l->low(), l->high()});
    for (const auto& [lo, hi] : all)
      if (lo <= last && hi >= first) want.insert({lo, hi});
    EXPECT_EQ(got, want) << first << "-" << last;
    EXPECT_FALSE(want.empty());
  }
  std::vector<const gantt::link*> none;
  ix.find(5, 4, none);
  EXPECT_TRUE(none.empty());
}

}  // namespace
