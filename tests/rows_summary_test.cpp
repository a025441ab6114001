// Group rows' summaries: group name and calendar, earliest starts, latest
// finishes, durations measured across the group on a calendar, summed
// counts and quantities, nested groups, and the WBS view's groups.
#include "rows_test_support.h"
#include "values/s_date.h"
#include "values/s_quantity.h"
#include "values/s_scalars.h"

using namespace rows_test;
using tessel::s_date;
using tessel::s_dur;
using tessel::s_int;
using tessel::s_unit;

namespace {

const task_spec kOnStandard = {"1",
                               "X1",
                               {{"clndr_id", "601"},
                                {"target_start_date", "2024-01-08 08:00"},
                                {"target_end_date", "2024-01-10 17:00"},
                                {"early_end_date", "2024-01-10 17:00"},
                                {"late_end_date", "2024-01-12 17:00"},
                                {"act_end_date", "2024-01-10 17:00"},
                                {"act_work_qty", "8"}}};
const task_spec kOnSevenDay = {"2",
                               "X2",
                               {{"clndr_id", "602"},
                                {"target_start_date", "2024-01-09 08:00"},
                                {"target_end_date", "2024-01-12 17:00"},
                                {"late_end_date", "2024-01-19 17:00"},
                                {"act_work_qty", "16"}}};

// The one group of a tree grouped by a field every activity shares. Group
// items refer to their settings, which outlive the tree as a layout does.
std::unique_ptr<RootRow> one_group(const opened& o) {
  static const GroupSortSettings s = [] {
    GroupSortSettings by_wbs_name;
    by_wbs_name.group_bys = {group_by(act(u"wbs_name"))};
    return by_wbs_name;
  }();
  auto root = build_activity_tree(o.doc(), s);
  EXPECT_EQ(root->children().size(), 1u);
  return root;
}

const s_dur& dur(const Row& r, std::u16string_view key) {
  const tessel::s_val& v = r.field_value(act(key));
  EXPECT_EQ(v.type(), tessel::val_type::dur);
  return static_cast<const s_dur&>(v);
}

}  // namespace

TEST(RowsSummary, ActivityGroupAcrossTwoCalendars) {
  opened o(schedule({kOnStandard, kOnSevenDay}));
  ASSERT_TRUE(o.ok());
  auto root = one_group(o);
  const Row& g = *root->children()[0];
  const auto* standard = &o.doc().calendar[0];

  EXPECT_EQ(g.field_value(act(u"[caption]")).text(), u"Area A1");
  // Different calendars: no calendar shown, spans measured on the standard one.
  EXPECT_EQ(g.field_value(act(u"clndr_id")).text(), u"");
  const s_dur& original = dur(g, u"target_drtn_hr_cnt");
  EXPECT_FALSE(original.dur_empty);
  EXPECT_DOUBLE_EQ(original.hours, 40.0);  // Mon 08:00 to Fri 17:00, weekdays
  EXPECT_EQ(original.factors, &standard->calendar.factors);
  // Total float: from the latest early finish (X2 has none: skipped) to the
  // latest late finish, Wed 17:00 to the Friday after: 7 working days.
  EXPECT_DOUBLE_EQ(dur(g, u"total_float_hr_cnt").hours, 56.0);

  EXPECT_EQ(g.field_value(act(u"target_start_date")).text(), u"8-Jan-2024");
  EXPECT_EQ(g.field_value(act(u"target_end_date")).text(), u"12-Jan-2024");
  // One activity without an actual finish: the group is not finished.
  EXPECT_EQ(g.field_value(act(u"act_end_date")).text(), u"");
  // One without an early finish: the latest of the others.
  EXPECT_EQ(g.field_value(act(u"early_end_date")).text(), u"10-Jan-2024");

  // Counts and quantities add up; quantities take the calendar's day.
  const tessel::s_val& count = g.field_value(act(u"notstarted_cnt"));
  ASSERT_EQ(count.type(), tessel::val_type::integer);
  EXPECT_EQ(static_cast<const s_int&>(count).value, 2);
  const tessel::s_val& work = g.field_value(act(u"act_work_qty"));
  ASSERT_EQ(work.type(), tessel::val_type::unit);
  EXPECT_DOUBLE_EQ(static_cast<const s_unit&>(work).amount, 24.0);
  EXPECT_EQ(static_cast<const s_unit&>(work).factors, &standard->calendar.factors);

  // Plain fields and durations without a rule show nothing.
  EXPECT_EQ(&g.field_value(act(u"task_name")), &tessel::shared_empty_value());
  EXPECT_EQ(&g.field_value(act(u"free_float_hr_cnt")), &tessel::shared_empty_value());
  // Asked twice, the same kept value answers.
  EXPECT_EQ(&g.field_value(act(u"target_drtn_hr_cnt")), &original);
}

TEST(RowsSummary, SharedCalendarAndMissingStandardCalendar) {
  task_spec a = kOnStandard, b = kOnSevenDay;
  a.cells["clndr_id"] = "602";
  {
    opened o(schedule({a, b}));
    ASSERT_TRUE(o.ok());
    auto root = one_group(o);
    const Row& g = *root->children()[0];
    const auto* seven = &o.doc().calendar[1];
    EXPECT_EQ(g.field_value(act(u"clndr_id")).text(), u"Seven Day");
    // 07:00-17:00 every day: 9 h on the Monday, 10 h on each of four days.
    const s_dur& original = dur(g, u"target_drtn_hr_cnt");
    EXPECT_DOUBLE_EQ(original.hours, 49.0);
    EXPECT_EQ(original.factors, &seven->calendar.factors);
    EXPECT_EQ(static_cast<const s_unit&>(g.field_value(act(u"act_work_qty"))).factors, &seven->calendar.factors);
  }
  {
    // The standard calendar is named differently: a group on two calendars
    // has nothing to measure on.
    opened o(schedule({kOnStandard, kOnSevenDay}, "Standard Workweek"));
    ASSERT_TRUE(o.ok());
    auto root = one_group(o);
    const Row& g = *root->children()[0];
    EXPECT_TRUE(dur(g, u"target_drtn_hr_cnt").dur_empty);
    EXPECT_TRUE(dur(g, u"total_float_hr_cnt").dur_empty);
    EXPECT_EQ(g.field_value(act(u"target_drtn_hr_cnt")).text(), u"");
    // Quantities fall back on 8, 40, 172 and 2000 hours.
    EXPECT_EQ(static_cast<const s_unit&>(g.field_value(act(u"act_work_qty"))).factors,
              tessel::default_period_factors());
  }
}

TEST(RowsSummary, NestedGroupsBuildOnInnerSummaries) {
  task_spec late = {"3",
                    "X3",
                    {{"wbs_id", "12"},
                     {"target_start_date", "2024-01-22 08:00"},
                     {"target_end_date", "2024-01-26 17:00"},
                     {"early_end_date", "2024-01-26 17:00"},
                     {"late_end_date", "2024-01-24 17:00"},
                     {"act_work_qty", "4"}}};
  opened o(schedule({kOnStandard, late}));
  ASSERT_TRUE(o.ok());
  GroupBy wbs = group_by(act(u"wbs_id"));
  wbs.wbs_hierarchy = true;
  GroupSortSettings s;
  s.group_bys = {wbs};
  auto root = build_activity_tree(o.doc(), s);
  const Row& p1 = *root->children()[0];
  // Three weeks of weekdays from X1's planned start to X3's planned finish.
  EXPECT_EQ(p1.field_value(act(u"clndr_id")).text(), u"Standard 5 Day Workweek");
  EXPECT_DOUBLE_EQ(dur(p1, u"target_drtn_hr_cnt").hours, 120.0);
  EXPECT_DOUBLE_EQ(static_cast<const s_unit&>(p1.field_value(act(u"act_work_qty"))).amount, 12.0);
  const Row& area_a = *p1.children()[0];
  EXPECT_EQ(area_a.field_value(act(u"target_start_date")).text(), u"8-Jan-2024");
  EXPECT_DOUBLE_EQ(dur(area_a, u"target_drtn_hr_cnt").hours, 24.0);
  // A late finish before the early finish gives a negative float: area B's
  // latest late finish lies two working days before its latest early finish.
  const Row& area_b = *p1.children()[1];
  EXPECT_DOUBLE_EQ(dur(area_b, u"total_float_hr_cnt").hours, -16.0);
  // The project's float: latest early finish (26th) to latest late finish (24th).
  EXPECT_DOUBLE_EQ(dur(p1, u"total_float_hr_cnt").hours, -16.0);
  EXPECT_EQ(p1.field_value(act(u"[caption]")).text(), u"P1 - Project One");
}

TEST(RowsSummary, WbsViewGroupsUseTheWbsFields) {
  opened o(schedule({
      {"1", "X1", {{"wbs_id", "13"}, {"restart_date", "2024-01-08 08:00"}, {"reend_date", "2024-01-10 17:00"}}},
      {"2", "X2", {{"wbs_id", "12"}, {"restart_date", "2024-01-15 08:00"}, {"reend_date", "2024-01-19 17:00"}}},
  }));
  ASSERT_TRUE(o.ok());
  using tessel::catalog::catalog_kind;
  GroupSortSettings s;
  s.group_bys = {group_by(field(catalog_kind::wbs, u"proj_id"))};
  auto root = build_wbs_tree(o.doc(), s);
  ASSERT_EQ(root->children().size(), 1u);
  const Row& g = *root->children()[0];
  ASSERT_TRUE(g.is_group_row());
  const uint32_t start = field(catalog_kind::wbs, u"start_date");
  const uint32_t finish = field(catalog_kind::wbs, u"end_date");
  // Earliest start and latest finish over the elements that have them
  // (element C has no activities and so no dates).
  EXPECT_EQ(g.field_value(start).text(), u"8-Jan-2024");
  EXPECT_EQ(g.field_value(finish).text(), u"19-Jan-2024");
  // Every element is in project P1: spans measured on its calendar.
  const tessel::s_val& total = g.field_value(field(catalog_kind::wbs, u"total_drtn_hr_cnt"));
  ASSERT_EQ(total.type(), tessel::val_type::dur);
  EXPECT_DOUBLE_EQ(static_cast<const s_dur&>(total).hours, 80.0);
  EXPECT_EQ(g.field_value(field(catalog_kind::wbs, u"[caption]")).text(), g.group_item()->label());
  EXPECT_EQ(&g.field_value(field(catalog_kind::wbs, u"wbs_name")), &tessel::shared_empty_value());
}
