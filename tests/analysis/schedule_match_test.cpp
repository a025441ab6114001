// Pairing two exports of one schedule: projects by name, then by the
// Activity IDs they share; activities by Activity ID within paired projects.
#include <gtest/gtest.h>

#include "analysis/schedule_match.h"
#include "compare_test_support.h"

using namespace tessel;
using namespace tessel::document;
using compare_test::written;
using test_support::narrow;

namespace {

struct matched {
  std::unique_ptr<Document_xer> od, nd;
  analysis::schedule_match m;
  matched(const std::string& old_spec, const std::string& new_spec)
      : od(written(old_spec, 100000).load()), nd(written(new_spec, 500000).load()), m(analysis::match_schedules(*od, *nd)) {}

  // "NEW=OLD, ..." in pair order.
  std::string pairs() const {
    std::string s;
    for (const analysis::project_pair& p : m.pairs)
      s += (s.empty() ? "" : ", ") + narrow(p.new_project->proj_short_name.value) + "=" +
           narrow(p.old_project->proj_short_name.value);
    return s;
  }
  static std::string names(const std::vector<const PROJECT*>& list) {
    std::string s;
    for (const PROJECT* p : list) s += (s.empty() ? "" : " ") + narrow(p->proj_short_name.value);
    return s;
  }
  static size_t position(const Document_xer& d, const TASK* t) {
    size_t k = 0;
    while (k < d.task.size() && &d.task[k] != t) ++k;
    return k;
  }
  // Each activity of one side in file order: its ID, `!` when it takes no
  // part, and `>k` the position of its partner on the other side.
  std::string side(bool old_side) const {
    const Document_xer& d = old_side ? *od : *nd;
    const Document_xer& other = old_side ? *nd : *od;
    std::string s;
    for (size_t i = 0; i < d.task.size(); ++i) {
      const TASK* partner = old_side ? m.new_of(d.task[i]) : m.old_of(d.task[i]);
      s += (s.empty() ? "" : " ") + narrow(d.task[i].task_code.value) +
           ((old_side ? m.old_kept : m.new_kept).at(i) ? "" : "!") +
           (partner ? ">" + std::to_string(position(other, partner)) : "");
    }
    return s;
  }
};

TEST(ScheduleMatch, ActivitiesPairByIdAcrossRenumberedExports) {
  // A2 deleted, A4 added, the order changed.
  const matched x("PRJ: A1 A2 A3", "PRJ: A3 A4 A1");
  EXPECT_EQ(x.pairs(), "PRJ=PRJ");
  EXPECT_EQ(x.m.old_project_of(x.nd->project[0]), &x.od->project[0]);
  EXPECT_EQ(x.m.new_project_of(x.od->project[0]), &x.nd->project[0]);
  EXPECT_EQ(x.side(false), "A3>2 A4 A1>0");
  EXPECT_EQ(x.side(true), "A1>2 A2 A3>0");
  // A record of another document has no position here.
  EXPECT_EQ(x.m.old_of(x.od->task[0]), nullptr);
}

TEST(ScheduleMatch, ProjectsPairByNameThenByMostSharedIds) {
  struct matching {
    const char* why;
    const char* old_spec;
    const char* new_spec;
    const char* pairs;
    const char* added;
    const char* deleted;
    const char* new_side;
    const char* old_side;
  };
  for (const matching& c : {
           matching{"renamed: paired by the IDs it shares", "BL-1: A1 A2", "UP-1: A2 A9", "UP-1=BL-1", "", "",
                    "A2>1 A9", "A1 A2>0"},
           {"nothing shared: unpaired, nothing takes part", "OLD: A1", "NEW: B1", "", "NEW", "OLD", "B1!", "A1!"},
           // R shares three with X, Q two with Y and one with X: R-X first,
           // then Q-Y, where Q's A1 has no partner.
           {"most shared first", "X: A1 A2 A3 | Y: B1 B2", "Q: B1 B2 A1 | R: A1 A2 A3", "Q=Y, R=X", "", "",
            "B1>3 B2>4 A1 A1>0 A2>1 A3>2", "A1>3 A2>4 A3>5 B1>0 B2>1"},
           {"equal counts: NEW order, then OLD order", "X: A B | Y: A B", "Q: A | R: B", "Q=X, R=Y", "", "",
            "A>0 B>3", "A>0 B A B>1"},
           {"an ID repeated in a project counts once", "X: A1 A2", "Q: A1 A1 A1 | R: A1 A2", "R=X", "Q", "",
            "A1! A1! A1! A1>0 A2>1", "A1>3 A2>4"},
           {"a baseline against a split update", "BASE: A1 A2 A3 B1", "SMALL: B1 | LARGE: A1 A2 A3", "LARGE=BASE",
            "SMALL", "", "B1! A1>0 A2>1 A3>2", "A1>1 A2>2 A3>3 B1"},
           {"an equal name before shared IDs", "X: A1 | Y: Z9", "Y: A1", "Y=Y", "", "X", "A1", "A1! Z9"},
           {"the same ID in two projects pairs within its own", "X: A1 | Y: A1", "Y: A1 | X: A1", "Y=Y, X=X", "",
            "", "A1>1 A1>0", "A1>1 A1>0"},
           {"a later duplicate and an activity without project are left out", "PRJ: A1 A1",
            "PRJ: A1 | *: A1 | PRJ: A1", "PRJ=PRJ", "", "", "A1>0 A1! A1!", "A1>0 A1!"},
       }) {
    SCOPED_TRACE(c.why);
    const matched x(c.old_spec, c.new_spec);
    EXPECT_EQ(x.pairs(), c.pairs);
    EXPECT_EQ(matched::names(x.m.added), c.added);
    EXPECT_EQ(matched::names(x.m.deleted), c.deleted);
    EXPECT_EQ(x.side(false), c.new_side);
    EXPECT_EQ(x.side(true), c.old_side);
  }
  const matched unpaired("OLD: A1", "NEW: B1");
  EXPECT_EQ(unpaired.m.old_project_of(unpaired.nd->project[0]), nullptr);
}

}  // namespace
