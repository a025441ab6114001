// The row model: the row tree and its visible rows, group rows' summaries
// (spans measured on a calendar, summed counts and quantities, nested
// groups), grouping by values, date intervals and the WBS and responsible-
// manager hierarchies, and the row order with its tie-break.

#include <algorithm>
#include <bit>
#include <set>
#include <sstream>

#include "rows_test_support.h"
#include "test_support.h"
#include "values/civil.h"
#include "values/s_date.h"
#include "values/s_quantity.h"
#include "values/s_scalars.h"
#include "view/table/table_text.h"

using namespace rows_test;
using tessel::s_date;
using tessel::s_dur;
using tessel::s_int;
using tessel::s_unit;
using codes = std::vector<std::u16string>;

namespace {

// A group item that counts its summaries and its destruction.
struct counting_item : GroupItem {
  counting_item(int* computed, int* destroyed)
      : GroupItem(nullptr, tessel::catalog::catalog_kind::activity, nullptr, 0, tessel::s_string(u"g")),
        computed_(computed),
        destroyed_(destroyed) {}
  ~counting_item() override { ++*destroyed_; }
  tessel::val_ptr summary(uint32_t field_id, const row_list& rows) const override {
    ++*computed_;
    return tessel::val_ptr(new tessel::s_int(static_cast<int32_t>(field_id + rows.size())));
  }
  int* computed_;
  int* destroyed_;
};

// A tree as one text: each row's name as names() gives it, a line each,
// indented by its depth.
std::u16string tree_text(const Row& r) {
  std::u16string s;
  const codes n = names(r.children());
  for (size_t i = 0; i < n.size(); ++i)
    s += std::u16string(2 * size_t(r.children()[i]->depth - 1), u' ') + n[i] + u"\n" + tree_text(*r.children()[i]);
  return s;
}

}  // namespace

TEST(RowsTree, LeafRowsAnswerThroughTheirRecordsGroupRowsKeepSummaries) {
  opened o(schedule({{"1", "A10", {{"rsrc_id", "501"}}}, {"2", "A20", {}}}));
  const auto& doc = o.doc();
  ASSERT_EQ(doc.task.size(), 2u);
  ActivityRow a(doc.task[0], doc.fields());
  EXPECT_EQ(a.field_value(act(u"task_code")).text(), u"A10");
  EXPECT_EQ(a.field_value(act(u"rsrc_id")).text(), u"R1.Crane");
  EXPECT_EQ(&a.field_value(act(u"task_code")), &a.field_value_at(act(u"task_code")));
  // A field of another catalog, or an unknown one, is the shared empty value.
  EXPECT_EQ(&a.field_value(999999), &tessel::shared_empty_value());

  WBSRow w(doc.projwbs[1], doc.fields());
  EXPECT_EQ(w.field_value(field(tessel::catalog::catalog_kind::wbs, u"wbs_name")).text(), u"Area A");
  ResourceRow r(doc.rsrc[1], doc.fields());
  EXPECT_EQ(r.field_value(field(tessel::catalog::catalog_kind::resource, u"rsrc_name")).text(), u"Crew");

  // A relationship row asked for a code field answers the shared empty
  // value; code and step rows answer every field with it.
  tessel::document::TASKPRED rel;
  rel.task = const_cast<tessel::document::TASK*>(&doc.task[0]);
  RelationshipRow pred(rel, doc.fields(), RelationshipRow::side::successor);
  EXPECT_TRUE(pred.is_relationship_row());
  EXPECT_EQ(&pred.field_value(tessel::catalog::activity_code_base + 1), &tessel::shared_empty_value());
  EXPECT_EQ(pred.field_value(field(tessel::catalog::catalog_kind::successor, u"task\\7Ctask_code")).text(), u"A10");
  tessel::document::TASKACTV code;
  ActivityCodeRow c(code);
  EXPECT_EQ(c.activity_code(), &code);
  EXPECT_TRUE(c.is_activity_code_row());
  EXPECT_EQ(&c.field_value(act(u"task_code")), &tessel::shared_empty_value());
  RootRow root;
  EXPECT_TRUE(root.is_root_row());
  EXPECT_EQ(&root.field_value(act(u"task_code")), &tessel::shared_empty_value());

  // Group rows keep their summaries and die with the tree.
  int computed = 0, destroyed = 0;
  {
    auto tree = std::make_unique<RootRow>();
    Row& outer = tree->add_child(std::make_unique<GroupRow>(std::make_unique<counting_item>(&computed, &destroyed)));
    Row& inner = outer.add_child(std::make_unique<GroupRow>(std::make_unique<counting_item>(&computed, &destroyed)));
    inner.add_child(std::make_unique<ActivityRow>(doc.task[0], doc.fields()));
    inner.add_child(std::make_unique<ActivityRow>(doc.task[1], doc.fields()));
    EXPECT_EQ(outer.depth, 1);
    EXPECT_EQ(inner.depth, 2);
    EXPECT_EQ(inner.children()[1]->depth, 3);
    EXPECT_TRUE(outer.expanded);
    EXPECT_FALSE(outer.selected);

    const tessel::s_val& first = inner.field_value(7);
    EXPECT_EQ(first.text(), u"9");  // 7 + two children
    EXPECT_EQ(&inner.field_value(7), &first);
    EXPECT_EQ(&inner.field_value_at(7), &first);
    EXPECT_EQ(computed, 1);
    inner.field_value(8);
    EXPECT_EQ(computed, 2);
  }
  // Both group items went with the tree; the records stay.
  EXPECT_EQ(destroyed, 2);
  EXPECT_EQ(doc.task[1].task_code.value, u"A20");
}

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
  static const GroupSortSettings s = grouped({group_by(act(u"wbs_name"))});
  auto root = build_activity_tree(o.doc(), s);
  if (root->children().size() != 1) throw std::runtime_error("not one group");
  return root;
}

const s_dur& dur(const Row& r, std::u16string_view key) {
  const tessel::s_val& v = r.field_value(act(key));
  EXPECT_EQ(v.type(), tessel::val_type::dur);
  return static_cast<const s_dur&>(v);
}

}  // namespace

TEST(RowsSummary, ActivityGroupOnTwoCalendarsOneSharedOrWithoutTheStandardOne) {
  opened o(schedule({kOnStandard, kOnSevenDay}));
  auto root = one_group(o);
  const Row& g = *root->children()[0];
  const auto* standard = &o.doc().calendar[0];

  EXPECT_EQ(g.field_value(act(u"[caption]")).text(), u"Area A1");
  // Different calendars: no calendar shown, spans measured on the standard one.
  EXPECT_EQ(g.field_value(act(u"clndr_id")).text(), u"");
  const s_dur& original = dur(g, u"target_drtn_hr_cnt");
  EXPECT_FALSE(original.dur_empty);
  EXPECT_DOUBLE_EQ(original.hours, 40.0);  // Mon 08:00 to Fri 17:00, weekdays
  EXPECT_EQ(*original.factors, standard->calendar.factors);
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
  EXPECT_EQ(*static_cast<const s_unit&>(work).factors, standard->calendar.factors);

  // Plain fields and durations without a rule show nothing.
  EXPECT_EQ(&g.field_value(act(u"task_name")), &tessel::shared_empty_value());
  EXPECT_EQ(&g.field_value(act(u"free_float_hr_cnt")), &tessel::shared_empty_value());

  // On one shared calendar, spans are measured on it.
  task_spec a = kOnStandard, b = kOnSevenDay;
  a.cells["clndr_id"] = "602";
  {
    opened o(schedule({a, b}));
    auto root = one_group(o);
    const Row& g = *root->children()[0];
    const auto* seven = &o.doc().calendar[1];
    EXPECT_EQ(g.field_value(act(u"clndr_id")).text(), u"Seven Day");
    // 07:00-17:00 every day: 9 h on the Monday, 10 h on each of four days.
    const s_dur& original = dur(g, u"target_drtn_hr_cnt");
    EXPECT_DOUBLE_EQ(original.hours, 49.0);
    EXPECT_EQ(*original.factors, seven->calendar.factors);
    EXPECT_EQ(*static_cast<const s_unit&>(g.field_value(act(u"act_work_qty"))).factors, seven->calendar.factors);
  }
  {
    // The standard calendar is named differently: a group on two calendars
    // has nothing to measure on.
    opened o(schedule({kOnStandard, kOnSevenDay}, "Standard Workweek"));
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
  const GroupSortSettings s = grouped({wbs_tree()});
  auto root = build_activity_tree(o.doc(), s);
  ASSERT_EQ(root->children().size(), 1u);
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

// The WBS, project and resource views' trees, and WBS groups' summaries.
TEST(RowsViews, WbsGroupsUseTheWbsFieldsAndEachViewBuildsItsTree) {
  opened o(schedule({
      {"1", "X1", {{"wbs_id", "13"}, {"restart_date", "2024-01-08 08:00"}, {"reend_date", "2024-01-10 17:00"}}},
      {"2", "X2", {{"wbs_id", "12"}, {"restart_date", "2024-01-15 08:00"}, {"reend_date", "2024-01-19 17:00"}}},
  }));
  using tessel::catalog::catalog_kind;
  GroupSortSettings s = grouped({group_by(field(catalog_kind::wbs, u"proj_id"))});
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
  const uint32_t wbs_name = field(catalog_kind::wbs, u"wbs_name");
  EXPECT_EQ(&g.field_value(wbs_name), &tessel::shared_empty_value());

  // Grouped by WBS Code: WBS rows nested under their parents in file order,
  // even though the layout names a sort.
  s = grouped({group_by(field(catalog_kind::wbs, u"wbs_concat_name"))}, {{wbs_name, true}});
  root = build_wbs_tree(o.doc(), s);
  EXPECT_EQ(tree_text(*root), u"P1\n  A\n    A1\n  B\n  C\n");
  ASSERT_EQ(root->children().size(), 1u);
  EXPECT_TRUE(root->children()[0]->is_wbs_row());
  EXPECT_FALSE(root->children()[0]->is_group_row());

  // Grouped by Responsible Manager: the OBS hierarchy, elements in file order.
  s.group_bys = {group_by(field(catalog_kind::wbs, u"obs_id"))};
  root = build_wbs_tree(o.doc(), s);
  EXPECT_EQ(tree_text(*root), u"[Enterprise]\n  [Team]\n    P1\n    [Site]\n      A\n      A1\n    B\n[No Responsible Manager]\n  C\n");
  ASSERT_FALSE(root->children().empty() || root->children()[0]->children().empty());
  EXPECT_TRUE(root->children()[0]->children()[0]->group_item()->is_obs_group_item());

  // Grouped by any other field: value groups, then sorted.
  s.group_bys = {group_by(field(catalog_kind::wbs, u"status_code"))};
  s.sort_bys = {{wbs_name, true}};
  root = build_wbs_tree(o.doc(), s);
  ASSERT_EQ(root->children().size(), 2u);
  EXPECT_TRUE(root->children()[0]->group_item()->is_wbs_group_item());
  EXPECT_EQ(names(root->children()[0]->children()), (codes{u"P1", u"C", u"A1", u"A"}));

  // Projects under the OBS of their own WBS node; resources flat and sorted.
  s.group_bys = {group_by(field(catalog_kind::project, u"obs_id"))};
  s.sort_bys.clear();
  root = build_project_tree(o.doc(), s);
  ASSERT_EQ(names(root->children()), (codes{u"[Enterprise]"}));
  EXPECT_TRUE(root->children()[0]->children()[0]->children()[0]->is_project_row());
  s.group_bys.clear();
  s.sort_bys = {{field(catalog_kind::resource, u"rsrc_name"), false}};
  root = build_resource_tree(o.doc(), s);
  ASSERT_EQ(root->children().size(), 2u);
  EXPECT_EQ(root->children()[0]->resource()->rsrc_name.value, u"Crane");
  s.sort_bys[0].descending = true;
  sort_tree(*root, s.sort_bys);
  EXPECT_EQ(root->children()[0]->resource()->rsrc_name.value, u"Crew");
}

namespace {

std::u16string interval_label(const std::string& date, int32_t code) {
  // The label a group of that date shows.
  const s_date d(std::u16string(date.begin(), date.end()), s_date::form_xer);
  GroupBy def = group_by(0, code);
  GroupItem item(nullptr, tessel::catalog::catalog_kind::activity, &def, 0, d);
  return item.label();
}

int64_t lower_of(const std::string& date, int32_t code) {
  const s_date d(std::u16string(date.begin(), date.end()), s_date::form_xer);
  return interval_of(d, code, 0).lower;
}

}  // namespace

TEST(RowsGrouping, DateIntervalsFollowCalendarBoundaries) {
  // Weeks run Sunday to Sunday: a Saturday and the following Sunday part.
  EXPECT_EQ(interval_label("2024-01-06 08:00", 3), u"31-Dec-2023 to 7-Jan-2024");
  EXPECT_EQ(interval_label("2024-01-07 08:00", 3), u"7-Jan-2024 to 14-Jan-2024");
  EXPECT_EQ(interval_label("2024-01-07 00:00", 3), u"7-Jan-2024 to 14-Jan-2024");
  // The first days of 1970 lie in the week that began on the Sunday before.
  EXPECT_EQ(lower_of("1970-01-02 10:00", 3), -4 * 86400);
  // Months, including December into January and a leap February.
  EXPECT_EQ(interval_label("2024-01-31 23:59", 4), u"1-Jan-2024 to 1-Feb-2024");
  EXPECT_EQ(interval_label("2024-02-29 12:00", 4), u"1-Feb-2024 to 1-Mar-2024");
  EXPECT_EQ(interval_label("2023-12-31 12:00", 4), u"1-Dec-2023 to 1-Jan-2024");
  // A day shows as its date; quarters and years by their bounds.
  EXPECT_EQ(interval_label("2024-03-05 17:00", 2), u"5-Mar-2024");
  EXPECT_EQ(interval_label("2024-03-31 23:00", 5), u"1-Jan-2024 to 1-Apr-2024");
  EXPECT_EQ(interval_label("2024-04-01 00:00", 5), u"1-Apr-2024 to 1-Jul-2024");
  EXPECT_EQ(interval_label("2024-11-15 08:00", 5), u"1-Oct-2024 to 1-Jan-2025");
  EXPECT_EQ(interval_label("2023-12-31 23:00", 6), u"1-Jan-2023 to 1-Jan-2024");
  EXPECT_EQ(interval_label("2024-01-01 00:00", 6), u"1-Jan-2024 to 1-Jan-2025");
  // Bounds are inclusive below and exclusive above.
  EXPECT_NE(lower_of("2024-03-05 23:59", 2), lower_of("2024-03-06 00:00", 2));
  EXPECT_EQ(lower_of("2024-03-06 00:00", 2), lower_of("2024-03-06 23:59", 2));
  EXPECT_NE(lower_of("2024-01-31 23:59", 4), lower_of("2024-02-01 00:00", 4));
  // No date, no interval; an empty label.
  EXPECT_FALSE(interval_of(s_date(), 3, 0).found);
  EXPECT_EQ(interval_label("", 4), u"");

  // Durations: intervals of `size` days at 8 hours a day, counted from zero.
  EXPECT_EQ(std::bit_cast<double>(interval_of(s_dur(39.0), 1, 5).lower), 0.0);
  EXPECT_EQ(std::bit_cast<double>(interval_of(s_dur(40.0), 1, 5).lower), 40.0);
  EXPECT_EQ(std::bit_cast<double>(interval_of(s_dur(40.0), 1, 5).upper), 80.0);
  EXPECT_FALSE(interval_of(s_dur(), 1, 5).found);
}

TEST(RowsGrouping, ValueAndIntervalGroupsInTheOrderTheirFirstRecordIsMet) {
  opened o(schedule({
      {"1", "A10", {{"rsrc_id", "501"}, {"restart_date", "2024-01-06 08:00"}}},  // Saturday
      {"2", "A20", {{"restart_date", "2024-01-07 08:00"}}},                      // Sunday
      {"3", "A30", {{"rsrc_id", "502"}, {"restart_date", "2024-01-13 09:00"}}},  // Saturday after
      {"4", "A40", {{"rsrc_id", "501"}}},                                        // no start
      {"5", "A50", {{"rsrc_id", "999"}, {"restart_date", "2024-01-08 08:00"}}},  // unknown resource
  }));

  GroupSortSettings by_resource = grouped({group_by(act(u"rsrc_id"))});
  auto root = build_activity_tree(o.doc(), by_resource);
  // A40 joins R1's group although other groups were made in between; an
  // activity whose resource is missing from the file has none.
  EXPECT_EQ(tree_text(*root), u"[R1.Crane]\n  A10\n  A40\n[No primary Resource]\n  A20\n  A50\n[R2.Crew]\n  A30\n");
  ASSERT_EQ(root->children().size(), 3u);
  const GroupItem& r1 = *root->children()[0]->group_item();
  EXPECT_TRUE(r1.is_activity_group_item());
  EXPECT_TRUE(r1.matches(*root->children()[0]->children()[1]));
  EXPECT_FALSE(r1.matches(*root->children()[1]->children()[0]));

  GroupSortSettings weekly = grouped({group_by(act(u"start_date"), 3)});
  root = build_activity_tree(o.doc(), weekly);
  // The group of activities without a start collects all of them.
  EXPECT_EQ(tree_text(*root), u"[31-Dec-2023 to 7-Jan-2024]\n  A10\n[7-Jan-2024 to 14-Jan-2024]\n  A20\n  A30\n  A50\n[]\n  A40\n");
  ASSERT_EQ(root->children().size(), 3u);
  const GroupItem& week = *root->children()[1]->group_item();
  EXPECT_EQ(week.key_value().text(), u"7-Jan-2024");
  EXPECT_TRUE(week.matches(*root->children()[1]->children()[2]));
  EXPECT_FALSE(week.matches(*root->children()[0]->children()[0]));

  // Two levels: resource, then month; each resource has its own months.
  GroupSortSettings two = grouped({group_by(act(u"rsrc_id")), group_by(act(u"start_date"), 4)});
  root = build_activity_tree(o.doc(), two);
  ASSERT_EQ(root->children().size(), 3u);
  EXPECT_EQ(names(root->children()[0]->children()), (codes{u"[1-Jan-2024 to 1-Feb-2024]", u"[]"}));
  EXPECT_EQ(root->children()[0]->children()[0]->group_item()->level(), 1);
}

// 0 and -0 are one value, so one group; a blank float is a group of its own.
TEST(RowsGrouping, ZeroAndNegativeZeroShareOneGroup) {
  opened o(schedule({{"1", "A10", {{"total_float_hr_cnt", "0"}}},
                     {"2", "A20", {{"total_float_hr_cnt", "-0"}}},
                     {"3", "A30", {}},
                     {"4", "A40", {{"total_float_hr_cnt", "-0.0"}}}}));
  auto root = build_activity_tree(o.doc(), grouped({group_by(act(u"total_float_hr_cnt"))}));
  ASSERT_EQ(root->children().size(), 2u);
  EXPECT_EQ(names(root->children()[0]->children()), (codes{u"A10", u"A20", u"A40"}));
  EXPECT_EQ(names(root->children()[1]->children()), (codes{u"A30"}));
}

TEST(RowsGrouping, WbsHierarchyNestsElementsUnderTheirParentsAndShowsWhatIsExpanded) {
  opened o(schedule({
      {"1", "A10", {{"wbs_id", "13"}}},
      {"2", "A20", {{"wbs_id", "12"}}},
      {"3", "A30", {{"wbs_id", "11"}}},  // on a parent element
      {"4", "A40", {{"wbs_id", "13"}}},
      {"5", "A50", {{"wbs_id", "77"}}},  // an element the file lacks
  }));
  GroupSortSettings s = grouped({wbs_tree()});
  auto root = build_activity_tree(o.doc(), s);
  // Element A holds its child element's group and its own activity.
  EXPECT_EQ(tree_text(*root), u"[P1 - Project One]\n  [P1.A - Area A]\n    [P1.A.A1 - Area A1]\n      A10\n      A40\n    A30\n  [P1.B - Area B]\n    A20\n[No WBS]\n  A50\n");
  ASSERT_EQ(root->children().size(), 2u);
  const Row& p1 = *root->children()[0];
  EXPECT_TRUE(p1.group_item()->is_wbs_group_item());
  const Row& a = *p1.children()[0];
  EXPECT_TRUE(a.children()[0]->group_item()->matches(*a.children()[0]->children()[0]));
  EXPECT_FALSE(a.group_item()->matches(*a.children()[0]->children()[0]));

  // The visible rows: P1, A, A1, A10, A40, A30, B, A20, No WBS, A50.
  std::vector<Row*> rows;
  EXPECT_EQ(visible_rows(*root, rows), 4u);
  ASSERT_EQ(rows.size(), 10u);
  EXPECT_EQ(rows[3]->activity()->task_code.value, u"A10");
  // A collapsed group shows as one line; rows under it keep their flags.
  Row& area_a = *root->children()[0]->children()[0];
  area_a.children()[0]->expanded = false;
  area_a.expanded = false;
  EXPECT_EQ(visible_rows(*root, rows), 3u);
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_EQ(rows[1], &area_a);
  EXPECT_EQ(rows[3]->activity()->task_code.value, u"A20");
  expand_all(*root);
  visible_rows(*root, rows);
  EXPECT_EQ(rows.size(), 10u);
  // An empty tree shows nothing.
  RootRow empty;
  EXPECT_EQ(visible_rows(empty, rows), 0u);
  EXPECT_TRUE(rows.empty());

  // Sorted by Activity ID, an element's own activities come before the
  // groups of its child elements.
  s.sort_bys = {{act(u"task_code"), false}};
  root = build_activity_tree(o.doc(), s);
  EXPECT_EQ(names(root->children()[0]->children()[0]->children()), (codes{u"A30", u"[P1.A.A1 - Area A1]"}));

  // With every group included, the element without activities shows too.
  s.group_bys[0].include_all = true;
  s.sort_bys.clear();
  root = build_activity_tree(o.doc(), s);
  EXPECT_EQ(names(root->children()[0]->children()),
            (codes{u"[P1.A - Area A]", u"[P1.B - Area B]", u"[P1.C - Area C]"}));
  EXPECT_TRUE(root->children()[0]->children()[2]->children().empty());
}

TEST(RowsGrouping, IncludeAllMakesGroupsForEveryListElementFirst) {
  opened o(schedule({
      {"1", "A10", {{"rsrc_id", "502"}}},
      {"2", "A20", {}},
  }));
  GroupSortSettings s = grouped({group_by(act(u"rsrc_id"), 0, true)});
  auto root = build_activity_tree(o.doc(), s);
  ASSERT_EQ(names(root->children()), (codes{u"[R1.Crane]", u"[R2.Crew]", u"[No primary Resource]"}));
  EXPECT_TRUE(root->children()[0]->children().empty());
  EXPECT_EQ(names(root->children()[1]->children()), (codes{u"A10"}));

  // Enumerated fields: one group per code, in code order; records join them.
  s.group_bys = {group_by(act(u"status_code"), 0, true)};
  root = build_activity_tree(o.doc(), s);
  ASSERT_EQ(names(root->children()), (codes{u"[Completed]", u"[In Progress]", u"[Not Started]"}));
  EXPECT_EQ(root->children()[2]->children().size(), 2u);

  // An inner level that includes all is filled inside every outer group.
  s.group_bys = {group_by(act(u"rsrc_id")), group_by(act(u"clndr_id"), 0, true)};
  root = build_activity_tree(o.doc(), s);
  ASSERT_EQ(root->children().size(), 2u);
  for (const auto& g : root->children())
    EXPECT_EQ(names(g->children()), (codes{u"[Standard 5 Day Workweek]", u"[Seven Day]", u"[Night Shift]"}));
}

TEST(RowsSorting, KeysDirectionsTieBreakAndStability) {
  opened o(schedule({
      {"30", "C", {{"restart_date", "2024-01-08 08:00"}, {"rsrc_id", "501"}}},
      {"10", "B", {{"restart_date", "2024-01-09 08:00"}, {"rsrc_id", "502"}}},
      {"20", "A", {{"restart_date", "2024-01-08 08:00"}, {"rsrc_id", "501"}}},
      {"40", "D", {{"clndr_id", "999"}}},  // no start, no calendar
  }));
  GroupSortSettings s = grouped({}, {{act(u"start_date"), false}});
  auto root = build_activity_tree(o.doc(), s);
  // Equal starts fall back on the activity id; a blank date sorts last.
  ASSERT_EQ(names(root->children()), (codes{u"A", u"C", u"B", u"D"}));
  s.sort_bys = {{act(u"start_date"), true}};
  root = build_activity_tree(o.doc(), s);
  // Descending: the tie-break turns round too; the blank date is greatest.
  ASSERT_EQ(names(root->children()), (codes{u"D", u"B", u"C", u"A"}));

  // A row without any value for the key (no calendar at all) goes last
  // ascending and first descending.
  s.sort_bys = {{act(u"clndr_id"), false}, {act(u"task_code"), false}};
  root = build_activity_tree(o.doc(), s);
  EXPECT_EQ(names(root->children()).back(), u"D");
  EXPECT_TRUE(row_before(*root->children()[0], *root->children()[3], s.sort_bys));
  EXPECT_FALSE(row_before(*root->children()[3], *root->children()[0], s.sort_bys));
  s.sort_bys[0].descending = true;
  EXPECT_TRUE(row_before(*root->children()[3], *root->children()[0], s.sort_bys));
  // An empty sort list orders nothing.
  EXPECT_FALSE(row_before(*root->children()[0], *root->children()[1], {}));

  // Groups equal on the key keep the order they were made in (groups have
  // no tie-break). Their value is their summary: the group of the activity
  // without a calendar has a blank calendar text, which sorts first.
  s.group_bys = {group_by(act(u"rsrc_id"))};
  s.sort_bys = {{act(u"clndr_id"), true}};
  root = build_activity_tree(o.doc(), s);
  ASSERT_EQ(names(root->children()), (codes{u"[R1.Crane]", u"[R2.Crew]", u"[No primary Resource]"}));
  s.sort_bys = {{act(u"clndr_id"), false}};
  root = build_activity_tree(o.doc(), s);
  ASSERT_EQ(names(root->children()), (codes{u"[No primary Resource]", u"[R1.Crane]", u"[R2.Crew]"}));

  // Re-sorting an existing tree by another key: groups by their earliest
  // start (a group without one is greatest), activities by theirs.
  sort_tree(*root, {{act(u"start_date"), true}});
  ASSERT_EQ(names(root->children()), (codes{u"[No primary Resource]", u"[R2.Crew]", u"[R1.Crane]"}));
  EXPECT_EQ(names(root->children()[2]->children()), (codes{u"C", u"A"}));

  // An activity goes before a group whatever the direction.
  opened nested(schedule({{"1", "X1", {{"wbs_id", "13"}}}, {"2", "X2", {{"wbs_id", "11"}}}}));
  s.group_bys = {wbs_tree()};
  for (bool descending : {false, true}) {
    s.sort_bys = {{act(u"task_code"), descending}};
    root = build_activity_tree(nested.doc(), s);
    const Row& area_a = *root->children()[0]->children()[0];
    EXPECT_EQ(names(area_a.children()), (codes{u"X2", u"[P1.A.A1 - Area A1]"}));
  }
}

// The shipped layouts on the demo schedule: each
// activity sits in a group that takes it, and every record shows exactly once.
using namespace rows_test;
using tessel::catalog::catalog_kind;

namespace {

std::string demo_path() { return std::string(TESSEL_SOURCE_DIR) + "/samples/demo.xer"; }

void collect_leaves(const Row& r, std::vector<const Row*>& leaves, std::vector<const Row*>& parents) {
  for (const auto& c : r.children()) {
    if (c->is_group_row()) {
      collect_leaves(*c, leaves, parents);
    } else {
      leaves.push_back(c.get());
      parents.push_back(&r);
      collect_leaves(*c, leaves, parents);
    }
  }
}

void check_activity_layout(const tessel::document::Document& d, const Layout& layout) {
  SCOPED_TRACE(std::string(layout.name().begin(), layout.name().end()));
  auto root = build_view_tree(d, layout);
  std::vector<const Row*> leaves, parents;
  collect_leaves(*root, leaves, parents);
  // Every activity exactly once.
  std::set<const tessel::document::TASK*> seen;
  for (const Row* r : leaves) {
    ASSERT_TRUE(r->is_activity_row());
    EXPECT_TRUE(seen.insert(r->activity()).second);
  }
  EXPECT_EQ(seen.size(), d.task.size());
  const auto& levels = layout.group_sort().group_bys;
  if (levels.empty()) {
    EXPECT_EQ(root->children().size(), d.task.size());
    return;
  }
  // Every activity stands in a group of the innermost level that takes it.
  for (size_t i = 0; i < leaves.size(); ++i) {
    ASSERT_TRUE(parents[i]->is_group_row());
    EXPECT_TRUE(parents[i]->group_item()->matches(*leaves[i]));
  }
}

// Each view with the number of records it lists: every record once.
struct view_rows {
  view_kind view;
  size_t records;
};
std::vector<view_rows> records_per_view(const tessel::document::Document& d) {
  return {{view_kind::activity, d.task.size()},
          {view_kind::wbs, d.projwbs.size()},
          {view_kind::project, d.project.size()},
          {view_kind::resource, d.rsrc.size()}};
}

// The visible rows of a view's tree, and how many of them are records.
size_t records_shown(Row& root, std::vector<Row*>& rows) {
  visible_rows(root, rows);
  return static_cast<size_t>(std::count_if(rows.begin(), rows.end(), [](Row* r) { return !r->is_group_row(); }));
}

}  // namespace

TEST(RowsDemo, ShippedLayoutsGroupTheDemoSchedule) {
  TesselDoc doc;
  ASSERT_TRUE(doc.open(fs::path(demo_path()).u16string()));
  const auto& layouts = doc.configuration().layouts();
  ASSERT_FALSE(layouts.of(view_kind::activity).empty());
  const tessel::document::Document& d = *doc.document();
  for (const auto& l : layouts.of(view_kind::activity)) check_activity_layout(d, *l);

  // What the demo's layouts are known to show: the WBS tree under its one
  // project, the three activity states.
  const Layout* wbs = layouts.find(view_kind::activity, u"Classic WBS Layout");
  const Layout* status = layouts.find(view_kind::activity, u"Activity Status Layout");
  ASSERT_TRUE(wbs && status);
  auto root = build_view_tree(d, *wbs);
  ASSERT_EQ(root->children().size(), 1u);
  EXPECT_EQ(root->children()[0]->group_item()->label(), u"NGBC-01 - Northgate Business Centre");
  root = build_view_tree(d, *status);
  std::set<std::u16string> labels;
  for (const auto& c : root->children()) labels.insert(c->group_item()->label());
  EXPECT_EQ(labels, (std::set<std::u16string>{u"Completed", u"In Progress", u"Not Started"}));

  // Every layout of every view lists each of its records once.
  for (const view_rows& v : records_per_view(d)) {
    for (const auto& l : layouts.of(v.view)) {
      SCOPED_TRACE(std::string(l->name().begin(), l->name().end()));
      std::vector<Row*> rows;
      EXPECT_EQ(records_shown(*build_view_tree(d, *l), rows), v.records);
    }
  }
}

