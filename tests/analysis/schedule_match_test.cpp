// Pairing two exports of one schedule: projects by name, then by the
// Activity IDs they share; activities by Activity ID within paired projects.
#include <gtest/gtest.h>

#include "analysis/schedule_match.h"
#include "compare_test_support.h"

using namespace tessel;
using namespace tessel::document;
using compare_test::export_builder;

namespace {

std::string code(const TASK* t) { return t ? test_support::narrow(t->task_code.value) : "(none)"; }
std::string name(const PROJECT* p) { return p ? test_support::narrow(p->proj_short_name.value) : "(none)"; }

TEST(ScheduleMatch, ActivitiesPairByIdAcrossRenumberedExports) {
  export_builder o(100000), n(500000);
  o.project("p", "PRJ");
  n.project("p", "PRJ");
  for (const char* c : {"A1", "A2", "A3"}) o.task("p", c);
  for (const char* c : {"A3", "A4", "A1"}) n.task("p", c);  // A2 deleted, A4 added, order changed
  auto od = o.load(), nd = n.load();
  const analysis::schedule_match m = analysis::match_schedules(*od, *nd);

  ASSERT_EQ(m.pairs.size(), 1u);
  EXPECT_EQ(m.pairs[0].old_project, &od->project[0]);
  EXPECT_EQ(m.pairs[0].new_project, &nd->project[0]);
  EXPECT_TRUE(m.added.empty());
  EXPECT_TRUE(m.deleted.empty());
  EXPECT_EQ(m.old_project_of(nd->project[0]), &od->project[0]);
  EXPECT_EQ(m.new_project_of(od->project[0]), &nd->project[0]);

  ASSERT_EQ(nd->task.size(), 3u);
  ASSERT_EQ(od->task.size(), 3u);
  ASSERT_EQ(m.old_partner.size(), 3u);
  ASSERT_EQ(m.new_partner.size(), 3u);
  EXPECT_EQ(m.old_partner[0], &od->task[2]);
  EXPECT_EQ(m.old_partner[1], nullptr);
  EXPECT_EQ(m.old_partner[2], &od->task[0]);
  EXPECT_EQ(m.new_partner[1], nullptr);
  EXPECT_EQ(m.old_of(nd->task[0]), &od->task[2]);
  EXPECT_EQ(m.new_of(od->task[0]), &nd->task[2]);
  EXPECT_EQ(m.new_of(od->task[1]), nullptr);
  // A record of another document has no position here.
  EXPECT_EQ(m.old_of(od->task[0]), nullptr);
  // Every activity of a paired project takes part.
  EXPECT_EQ(m.new_kept, (std::vector<uint8_t>{1, 1, 1}));
  EXPECT_EQ(m.old_kept, (std::vector<uint8_t>{1, 1, 1}));
}

TEST(ScheduleMatch, RenamedProjectPairsByTheIdsItShares) {
  export_builder o(100000), n(500000);
  o.project("p", "BL-54069-B2-20250902");
  n.project("p", "UP-54069-20251121");
  o.task("p", "A1");
  o.task("p", "A2");
  n.task("p", "A2");
  n.task("p", "A9");
  auto od = o.load(), nd = n.load();
  const analysis::schedule_match m = analysis::match_schedules(*od, *nd);
  ASSERT_EQ(m.pairs.size(), 1u);
  EXPECT_EQ(name(m.pairs[0].old_project), "BL-54069-B2-20250902");
  EXPECT_EQ(name(m.pairs[0].new_project), "UP-54069-20251121");
  ASSERT_EQ(nd->task.size(), 2u);
  EXPECT_EQ(code(m.old_of(nd->task[0])), "A2");
  EXPECT_EQ(m.old_of(nd->task[1]), nullptr);
}

TEST(ScheduleMatch, ProjectsWithoutASharedIdStayUnpaired) {
  export_builder o(100000), n(500000);
  o.project("p", "OLD");
  n.project("p", "NEW");
  o.task("p", "A1");
  n.task("p", "B1");
  auto od = o.load(), nd = n.load();
  const analysis::schedule_match m = analysis::match_schedules(*od, *nd);
  EXPECT_TRUE(m.pairs.empty());
  ASSERT_EQ(m.added.size(), 1u);
  ASSERT_EQ(m.deleted.size(), 1u);
  EXPECT_EQ(name(m.added[0]), "NEW");
  EXPECT_EQ(name(m.deleted[0]), "OLD");
  // Nothing of an unpaired project takes part.
  EXPECT_EQ(m.new_kept, (std::vector<uint8_t>{0}));
  EXPECT_EQ(m.old_kept, (std::vector<uint8_t>{0}));
  EXPECT_EQ(m.old_project_of(nd->project[0]), nullptr);
}

TEST(ScheduleMatch, TwoProjectsEachPairByMostSharedIds) {
  // OLD X holds A1-A3, Y holds B1-B2; NEW lists Q (B1, B2, A1) before R
  // (A1-A3, with A1 again in another project). R shares three with X, Q two
  // with Y and one with X: R-X first, then Q-Y.
  export_builder o(100000), n(500000);
  o.project("x", "X");
  o.project("y", "Y");
  for (const char* c : {"A1", "A2", "A3"}) o.task("x", c);
  for (const char* c : {"B1", "B2"}) o.task("y", c);
  n.project("q", "Q");
  n.project("r", "R");
  for (const char* c : {"B1", "B2", "A1"}) n.task("q", c);
  for (const char* c : {"A1", "A2", "A3"}) n.task("r", c);
  auto od = o.load(), nd = n.load();
  const analysis::schedule_match m = analysis::match_schedules(*od, *nd);
  ASSERT_EQ(m.pairs.size(), 2u);
  EXPECT_EQ(name(m.pairs[0].new_project) + "-" + name(m.pairs[0].old_project), "Q-Y");
  EXPECT_EQ(name(m.pairs[1].new_project) + "-" + name(m.pairs[1].old_project), "R-X");
  // A1 of Q is in a project paired with Y, which has no A1: added there.
  ASSERT_EQ(nd->task.size(), 6u);
  EXPECT_EQ(m.old_of(nd->task[2]), nullptr);
  EXPECT_EQ(m.new_kept[2], 1);
  EXPECT_EQ(m.old_of(nd->task[3]), &od->task[0]);
  EXPECT_EQ(m.new_of(od->task[0]), &nd->task[3]);
}

TEST(ScheduleMatch, EqualCountsPairInNewOrderThenOldOrder) {
  // Each NEW project shares one ID with each OLD project: the first NEW one
  // takes the first OLD one.
  export_builder o(100000), n(500000);
  o.project("x", "X");
  o.project("y", "Y");
  o.task("x", "A");
  o.task("x", "B");
  o.task("y", "A");
  o.task("y", "B");
  n.project("q", "Q");
  n.project("r", "R");
  n.task("q", "A");
  n.task("r", "B");
  auto od = o.load(), nd = n.load();
  const analysis::schedule_match m = analysis::match_schedules(*od, *nd);
  ASSERT_EQ(m.pairs.size(), 2u);
  EXPECT_EQ(name(m.pairs[0].new_project) + "-" + name(m.pairs[0].old_project), "Q-X");
  EXPECT_EQ(name(m.pairs[1].new_project) + "-" + name(m.pairs[1].old_project), "R-Y");
}

TEST(ScheduleMatch, OneProjectBaselineAgainstASplitUpdate) {
  export_builder o(100000), n(500000);
  o.project("b", "BASE");
  for (const char* c : {"A1", "A2", "A3", "B1"}) o.task("b", c);
  n.project("s", "SMALL");
  n.project("l", "LARGE");
  n.task("s", "B1");
  for (const char* c : {"A1", "A2", "A3"}) n.task("l", c);
  auto od = o.load(), nd = n.load();
  const analysis::schedule_match m = analysis::match_schedules(*od, *nd);
  ASSERT_EQ(m.pairs.size(), 1u);
  EXPECT_EQ(name(m.pairs[0].new_project), "LARGE");
  ASSERT_EQ(m.added.size(), 1u);
  EXPECT_EQ(name(m.added[0]), "SMALL");
  EXPECT_TRUE(m.deleted.empty());
  ASSERT_EQ(nd->task.size(), 4u);
  EXPECT_EQ(m.new_kept[0], 0);  // in the added project
  EXPECT_EQ(m.old_of(nd->task[0]), nullptr);
  // B1 of the baseline has no partner: its project's partner has no B1.
  EXPECT_EQ(m.new_of(od->task[3]), nullptr);
  EXPECT_EQ(m.old_kept[3], 1);
}

TEST(ScheduleMatch, AnEqualNameComesBeforeSharedIds) {
  // NEW "Y" shares every ID with OLD "X" but OLD has a "Y" too.
  export_builder o(100000), n(500000);
  o.project("x", "X");
  o.project("y", "Y");
  o.task("x", "A1");
  o.task("y", "Z9");
  n.project("y", "Y");
  n.task("y", "A1");
  auto od = o.load(), nd = n.load();
  const analysis::schedule_match m = analysis::match_schedules(*od, *nd);
  ASSERT_EQ(m.pairs.size(), 1u);
  EXPECT_EQ(name(m.pairs[0].old_project), "Y");
  ASSERT_EQ(m.deleted.size(), 1u);
  EXPECT_EQ(name(m.deleted[0]), "X");
}

TEST(ScheduleMatch, ALaterDuplicateIdAndAnActivityWithoutProjectAreLeftOut) {
  export_builder o(100000), n(500000);
  o.project("p", "PRJ");
  n.project("p", "PRJ");
  o.task("p", "A1", "first");
  o.task("p", "A1", "second");
  n.task("p", "A1", "again first");
  n.task("nowhere", "A1");  // its project is not in the file
  n.task("p", "A1", "again second");
  auto od = o.load(), nd = n.load();
  const analysis::schedule_match m = analysis::match_schedules(*od, *nd);
  ASSERT_EQ(nd->task.size(), 3u);
  EXPECT_EQ(m.old_of(nd->task[0]), &od->task[0]);
  EXPECT_EQ(m.old_of(nd->task[1]), nullptr);
  EXPECT_EQ(m.old_of(nd->task[2]), nullptr);
  EXPECT_EQ(m.new_kept, (std::vector<uint8_t>{1, 0, 0}));
  EXPECT_EQ(m.old_kept, (std::vector<uint8_t>{1, 0}));
  EXPECT_EQ(m.new_of(od->task[1]), nullptr);
}

TEST(ScheduleMatch, SameIdInTwoProjectsPairsWithinItsOwnProject) {
  export_builder o(100000), n(500000);
  o.project("x", "X");
  o.project("y", "Y");
  o.task("x", "A1", "in X");
  o.task("y", "A1", "in Y");
  n.project("y", "Y");
  n.project("x", "X");
  n.task("y", "A1");
  n.task("x", "A1");
  auto od = o.load(), nd = n.load();
  const analysis::schedule_match m = analysis::match_schedules(*od, *nd);
  ASSERT_EQ(m.pairs.size(), 2u);
  EXPECT_EQ(name(m.pairs[0].new_project), "Y");  // NEW order
  ASSERT_EQ(nd->task.size(), 2u);
  EXPECT_EQ(m.old_of(nd->task[0]), &od->task[1]);
  EXPECT_EQ(m.old_of(nd->task[1]), &od->task[0]);
}

}  // namespace
