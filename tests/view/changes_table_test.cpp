// The Changes category's table: lines grouped by kind in line order, the
// counts in the group titles, the header with both files and the finish
// slip, and the order a column header sorts by.
#include <gtest/gtest.h>

#include "analysis/compare_test_support.h"
#include "view/changes/changes_table.h"

using namespace tessel;
using compare_test::export_builder;
using test_support::narrow;

namespace {

TEST(ChangesTable, GroupsByKindWithCountsAndAHeader) {
  export_builder o(100000), n(500000);
  o.project("p", "OLD-P", "2025-01-06 08:00");
  n.project("p", "NEW-P", "2025-02-03 08:00");
  for (const char* c : {"A1", "A2", "A3"})
    o.task("p", c, "", {{"early_start_date", "2025-01-06 08:00"}, {"early_end_date", "2025-01-10 17:00"}});
  n.task("p", "A1", "", {{"early_start_date", "2025-01-08 08:00"}, {"early_end_date", "2025-01-15 17:00"}});
  n.task("p", "A2", "Renamed", {{"early_start_date", "2025-01-05 08:00"}, {"early_end_date", "2025-01-10 17:00"}});
  auto od = o.load(), nd = n.load();
  const analysis::schedule_match m = analysis::match_schedules(*od, *nd);
  const std::vector<analysis::change_line> lines = analysis::compare_schedules(m);
  const view::changes_table t = view::build_changes_table(lines, m, u"old.xer", u"new.xer");

  EXPECT_EQ(t.header.find(u"old.xer (data date 2025-01-06 08:00)  \u2192  new.xer (data date 2025-02-03 08:00)"), 0u);
  EXPECT_NE(t.header.find(u"Finish slip: +5.0 days"), std::u16string::npos);
  std::vector<std::string> titles;
  for (const view::changes_group& g : t.groups) titles.push_back(narrow(g.title));
  EXPECT_EQ(titles, (std::vector<std::string>{"Data date (1)", "Project finish (1)", "Activity deleted (1)", "Name (1)",
                                              "Start (2)", "Finish (1)"}));
  ASSERT_EQ(t.groups.size(), 6u);
  const view::changes_group& starts = t.groups[4];
  ASSERT_EQ(starts.rows.size(), 2u);
  const auto cells = [](const view::changes_row& r) {
    std::string out;
    for (const std::u16string& c : r.cells) out += narrow(c) + "|";
    return out;
  };
  EXPECT_EQ(cells(starts.rows[0]), "A1|Activity A1|start|2025-01-06 08:00|2025-01-08 08:00|+2.0|NEW-P|");
  EXPECT_EQ(cells(starts.rows[1]), "A2|Renamed|start|2025-01-06 08:00|2025-01-05 08:00|-1.0|NEW-P|");
  // By difference -1 comes first; by Activity ID A1 does.
  EXPECT_GT(view::compare_changes_rows(starts.rows[0], starts.rows[1], view::changes_column::delta), 0);
  EXPECT_LT(view::compare_changes_rows(starts.rows[0], starts.rows[1], view::changes_column::activity_id), 0);
  // A line without a difference sorts after every one with it.
  const view::changes_row& name = t.groups[3].rows.at(0);
  EXPECT_GT(view::compare_changes_rows(name, starts.rows[0], view::changes_column::delta), 0);
  EXPECT_LT(view::compare_changes_rows(starts.rows[1], name, view::changes_column::delta), 0);
}

// Whole days show in the rows above; here the rounding and the empty text.
TEST(ChangesTable, DifferenceTexts) {
  EXPECT_EQ(narrow(view::delta_text(-0.25)), "-0.2");
  EXPECT_EQ(narrow(view::delta_text(-0.01)), "+0.0");
  EXPECT_EQ(narrow(view::delta_text(std::numeric_limits<double>::quiet_NaN())), "");
}

}  // namespace
