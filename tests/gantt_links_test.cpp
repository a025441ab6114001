// The index of drawable relationships: which links a window of rows gets,
// against a plain scan, over many blocks of rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <memory>
#include <set>
#include <tuple>
#include <vector>

#include "view/gantt_links.h"

namespace {

using namespace tessel;
using namespace tessel::view;
using namespace tessel::view::gantt;

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
