// Quick filters, logic trace, find and the shown-set machinery on small
// schedules whose answers are known.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "analysis/find_rows.h"
#include "analysis/logic_trace.h"
#include "analysis/quick_filters.h"
#include "analysis/text_match.h"
#include "analysis/where_expr.h"
#include "rows/group_item.h"
#include "rows/tree_build.h"
#include "test_support.h"
#include "view/table/shown_rows.h"
#include "view/table/table_views.h"
#include "view/tessel_doc.h"

namespace {

using namespace tessel;
using test_support::narrow;

// tests/data/xer/find-filter.xer: three projects with their own critical
// rules (longest path; total float at most 16 h; no threshold), calendars of
// 8 h and 10 h a day and a broken one, two code types of one name in two
// projects, and logic with a loop:
//   A -> B -> C -> A, D -> B, C -> E (E in project 2), and a relationship
//   whose predecessor is not in the file.
class FindFilter : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(doc_.open((std::filesystem::path(TESSEL_TEST_DATA) / "xer" / "find-filter.xer").u16string()));
    ASSERT_EQ(doc().task.size(), 9u);
  }
  const document::Document& doc() const { return *doc_.document(); }

  // The codes of the shown activities in file order.
  std::string codes(const analysis::shown_activities& s) const {
    std::string out;
    for (const document::TASK* t : analysis::shown_tasks(doc(), s)) out += narrow(t->task_code.value);
    EXPECT_EQ(out.size(), s.count);
    return out;
  }
  std::string filtered(const analysis::quick_filter& f) const { return codes(analysis::filter_activities(doc(), f)); }
  std::string where(const std::string& expr) const {
    analysis::quick_filter f;
    std::string error;
    EXPECT_TRUE(analysis::read_where(expr, f, error)) << expr << ": " << error;
    return filtered(f);
  }

  view::TesselDoc doc_;
};

TEST_F(FindFilter, CriticalFollowsEachProjectsRule) {
  // LONG: the driving path flag (C is completed); FLOAT: at most 16 h;
  // PLAIN: at most 0 h, a missing float never.
  EXPECT_EQ(where("critical"), "AEH");
}

TEST_F(FindFilter, NearCriticalCountsDaysOfTheActivitysCalendar) {
  // 2 days: 16 h on an 8 h calendar, 20 h on a 10 h one; a broken or
  // missing calendar counts 8 h. A: 40 h / 8 = 5 d; B: -0.8 d; C: 0;
  // D: 20 / 10 = 2 d; E: 2 d; F: 1.7 d; G: 21 / 8 = 2.6 d; H: 0; I: none.
  EXPECT_EQ(where("float<=2"), "BCDEFH");
  EXPECT_EQ(where("float<=1.9"), "BCFH");
  EXPECT_EQ(where("float<=2.625"), "BCDEFGH");
  EXPECT_EQ(where("float<=-1"), "");
}

TEST_F(FindFilter, ActiveBetweenComparesWholeDaysBothEndsInclusive) {
  // A runs 4-8 March (early dates); B from its actual start 1 March to its
  // early finish 15 March; C from its actuals 20-21 February.
  EXPECT_EQ(where("active=2024-03-08..2024-03-08"), "AB");  // A's last day
  EXPECT_EQ(where("active=2024-03-09..2024-03-09"), "BF");  // the day after A
  EXPECT_EQ(where("active=2024-03-01..2024-03-04"), "ABE"); // A's first day
  EXPECT_EQ(where("active=2024-02-21..2024-02-21"), "C");   // actual finish, not the early one
  EXPECT_EQ(where("active=2024-02-22..2024-02-29"), "");
  // D has no forecast start and is never active, whatever the range.
  EXPECT_EQ(where("active=2000-01-01..2100-01-01"), "ABCEF");
}

TEST_F(FindFilter, StatusMilestoneCodeAndText) {
  EXPECT_EQ(where("status=in-progress"), "BG");
  EXPECT_EQ(where("status=completed,not-started"), "ACDEFHI");
  EXPECT_EQ(where("milestone"), "CD");
  // Every type named Phase, values compared exactly: "des" is not "DES";
  // the Area type's DES is another type.
  EXPECT_EQ(where("code=Phase:DES"), "AE");
  EXPECT_EQ(where("code=Phase:des"), "F");
  EXPECT_EQ(where("code=phase:DES"), "");
  EXPECT_EQ(where("code=Area:DES"), "G");
  // One substring, case-blind, of the ID or of the name, never across them.
  EXPECT_EQ(where("text=alpha"), "AD");
  EXPECT_EQ(where("text=BEAM"), "B");
  EXPECT_EQ(where("text=Aalpha"), "");
  // AND of several filters.
  analysis::quick_filter f;
  f.critical = true;
  f.statuses = analysis::status_not_started;
  f.code_type = u"Phase";
  f.code_value = u"DES";
  EXPECT_EQ(filtered(f), "AE");
  EXPECT_EQ(analysis::describe(f), u"Critical, Not Started, Phase = DES");
  EXPECT_EQ(filtered(analysis::quick_filter{}), "ABCDEFGHI");
}

TEST_F(FindFilter, WhereFormsThatCannotBeReadAreRefused) {
  for (const char* bad : {"bogus", "text=", "active=2024-03-10..2024-03-01", "active=2024-02-30..2024-03-01",
                          "active=2024-03-01", "float<=", "float<=two", "status=done", "status=", "code=Phase",
                          "critical=yes", "active=2024-13-01..2024-13-02"}) {
    analysis::quick_filter f;
    std::string error;
    EXPECT_FALSE(analysis::read_where(bad, f, error)) << bad;
    EXPECT_NE(error.find(bad), std::string::npos) << error;
    EXPECT_NE(error.find("code=TYPE:VALUE"), std::string::npos) << error;
  }
  analysis::quick_filter f;
  std::string error;
  ASSERT_TRUE(analysis::read_where("code=Area:A:B", f, error));
  ASSERT_TRUE(f.code_type && f.code_value);
  EXPECT_EQ(*f.code_type, u"Area");
  EXPECT_EQ(*f.code_value, u"A:B");
  EXPECT_EQ(analysis::read_day("2024-02-29"), analysis::read_day("2024-02-28").value() + 1);
  EXPECT_FALSE(analysis::read_day("2023-02-29"));
}

TEST_F(FindFilter, TraceGoesByDepthAndEndsInLoops) {
  const analysis::activity_positions pos(doc());
  const document::TASK& a = *test_support::task_by_code(doc(), u"A");
  const document::TASK& b = *test_support::task_by_code(doc(), u"B");
  using analysis::trace_direction;
  EXPECT_EQ(codes(analysis::trace_logic(pos, a, trace_direction::successors, 0)), "A");
  EXPECT_EQ(codes(analysis::trace_logic(pos, a, trace_direction::successors, 1)), "AB");
  EXPECT_EQ(codes(analysis::trace_logic(pos, a, trace_direction::successors, 2)), "ABC");
  // The loop A -> B -> C -> A ends; E is in another project.
  EXPECT_EQ(codes(analysis::trace_logic(pos, a, trace_direction::successors)), "ABCE");
  // Fewest steps: C is one step before A, so depth 1 reaches C and not B.
  EXPECT_EQ(codes(analysis::trace_logic(pos, a, trace_direction::predecessors, 1)), "AC");
  // The relationship from an activity outside the file counts for nothing.
  EXPECT_EQ(codes(analysis::trace_logic(pos, b, trace_direction::predecessors)), "ABCD");
  const analysis::shown_activities s = analysis::trace_logic(pos, b, trace_direction::successors, 1);
  EXPECT_EQ(s.marked, &b);
  EXPECT_EQ(s.label, u"Successors of B (depth 1)");
  // AND with a filter.
  analysis::quick_filter f;
  f.critical = true;
  const analysis::shown_activities both =
      analysis::intersect(analysis::filter_activities(doc(), f), analysis::trace_logic(pos, a, trace_direction::successors));
  EXPECT_EQ(codes(both), "AE");
  EXPECT_EQ(both.label, u"Critical, Successors of A");
  EXPECT_EQ(both.marked, &a);
}

TEST_F(FindFilter, ShownOfTakesAnyListOnce) {
  const document::TASK* c = test_support::task_by_code(doc(), u"C");
  const document::TASK* h = test_support::task_by_code(doc(), u"H");
  document::TASK stranger;
  const std::vector<const document::TASK*> list{h, c, h, &stranger};
  const analysis::shown_activities s = analysis::shown_of(doc(), list, u"Check: logic");
  EXPECT_EQ(codes(s), "CH");
  EXPECT_EQ(s.label, u"Check: logic");
}

TEST(TextMatch, FoldsCaseOfLatinGreekCyrillic) {
  EXPECT_TRUE(analysis::contains_folded(u"Straße ÄRGER", analysis::folded(u"ärger")));
  EXPECT_TRUE(analysis::contains_folded(u"ŁÓDŹ", analysis::folded(u"łódź")));
  EXPECT_TRUE(analysis::contains_folded(u"МОСТ", analysis::folded(u"мост")));
  EXPECT_TRUE(analysis::contains_folded(u"ΓΕΦΥΡΑ", analysis::folded(u"γεφυρα")));
  EXPECT_FALSE(analysis::contains_folded(u"abc", analysis::folded(u"abcd")));
  EXPECT_FALSE(analysis::contains_folded(u"a×b", analysis::folded(u"a÷b")));
}

// ---- the table view with a shown set ------------------------------------------

class ShownTable : public FindFilter {
 protected:
  void SetUp() override {
    FindFilter::SetUp();
    layout_ = doc_.configuration().first_layout(view::view_kind::activity);
    ASSERT_NE(layout_, nullptr);
    // Grouped by the WBS hierarchy, no sorting.
    view::GroupBy g;
    const catalog::field_entry* wbs = catalog::catalogs().find_key(catalog::catalog_kind::activity, u"wbs_id");
    ASSERT_NE(wbs, nullptr);
    g.field_id = wbs->field_id;
    g.wbs_hierarchy = true;
    layout_->group_sort().group_bys = {g};
    layout_->group_sort().sort_bys.clear();
    table_ = view::make_table_view(view::view_kind::activity);
    table_->set_document(doc_.document());
    table_->set_layout(layout_);
    table_->refresh();
  }
  view::Row* root() { return view::table_core_of(*table_)->root(); }
  // Visible rows: group rows as "[code]", activities by code.
  std::string visible() const {
    std::string out;
    for (const view::Row* r : table_->visibleRows()) {
      if (r->activity()) out += narrow(r->activity()->task_code.value) + ";";
      else if (const view::GroupItem* g = r->group_item()) out += "[" + narrow(g->label()) + "]";
    }
    return out;
  }
  // The visible row of the activity with the code, or of the group whose
  // label starts with the name (of more than one letter).
  view::Row* row(const std::string& name) const {
    for (view::Row* r : table_->visibleRows()) {
      if (r->activity() && narrow(r->activity()->task_code.value) == name) return r;
      if (name.size() > 1 && r->group_item() && narrow(r->group_item()->label()).rfind(name, 0) == 0) return r;
    }
    return nullptr;
  }
  static std::string codes_of(const std::vector<view::Row*>& rows) {
    std::string out;
    for (const view::Row* r : rows) out += r->activity() ? narrow(r->activity()->task_code.value) : "?";
    return out;
  }
  std::shared_ptr<analysis::shown_activities> critical() const {
    analysis::quick_filter f;
    f.critical = true;
    return std::make_shared<analysis::shown_activities>(analysis::filter_activities(doc(), f));
  }

  view::Layout* layout_ = nullptr;
  std::unique_ptr<view::View> table_;
};

TEST_F(ShownTable, GroupsHoldingNoShownActivityGoAndSummariesCountShownRows) {
  const catalog::field_entry* finish = catalog::catalogs().find_key(catalog::catalog_kind::activity, u"early_end_date");
  ASSERT_NE(finish, nullptr);
  const std::string whole = visible();
  ASSERT_NE(whole.find("[LONG.W2"), std::string::npos) << whole;
  ASSERT_TRUE(row("LONG") && row("D"));
  // Unrestricted, the project's early finish is D's (the latest).
  EXPECT_EQ(row("LONG")->field_value(finish->field_id).text(), row("D")->field_value(finish->field_id).text());

  // Critical: A (W1), E (FLOAT), H (PLAIN); W2 holds none and goes.
  ASSERT_TRUE(view::apply_shown(*table_, critical()));
  EXPECT_EQ(visible(), "[LONG - Long][LONG.W1 - First]A;[FLOAT - Float]E;[PLAIN - Plain]H;");
  EXPECT_EQ(view::shown_text(*table_), u"Showing 3 of 9 activities: Critical");

  // Now it is A's, the only shown row below it.
  const view::Row* long_group = row("LONG");
  ASSERT_NE(long_group, nullptr);
  EXPECT_EQ(long_group->field_value(finish->field_id).text(), row("A")->field_value(finish->field_id).text());
  EXPECT_NE(long_group->field_value(finish->field_id).text(), u"");

  // Clearing brings the whole tree back.
  ASSERT_TRUE(view::apply_shown(*table_, nullptr));
  EXPECT_EQ(visible(), whole);
  EXPECT_EQ(view::shown_text(*table_), u"");
}

TEST_F(ShownTable, ClearingRestoresExpansionAndAFilterSurvivesALayoutChange) {
  view::Row* w2 = row("LONG.W2");
  ASSERT_NE(w2, nullptr) << visible();
  w2->expanded = false;
  table_->refresh();
  const std::string collapsed = visible();
  EXPECT_EQ(collapsed.find("C;"), std::string::npos) << collapsed;

  ASSERT_TRUE(view::apply_shown(*table_, critical()));
  // A layout change (or sort) keeps the filter.
  table_->set_layout(nullptr);
  table_->set_layout(layout_);
  table_->refresh();
  EXPECT_EQ(view::shown_text(*table_), u"Showing 3 of 9 activities: Critical");
  EXPECT_EQ(visible().find("B;"), std::string::npos);
  ASSERT_TRUE(view::apply_shown(*table_, nullptr));
  table_->refresh();
  // The layout was set again meanwhile: the tree is rebuilt, fully shown.
  EXPECT_NE(visible().find("B;"), std::string::npos);

  // Without a layout change the collapsed group comes back collapsed.
  w2 = row("LONG.W2");
  ASSERT_NE(w2, nullptr);
  w2->expanded = false;
  table_->refresh();
  ASSERT_TRUE(view::apply_shown(*table_, critical()));
  ASSERT_TRUE(view::apply_shown(*table_, nullptr));
  EXPECT_EQ(visible(), collapsed);
}

TEST_F(ShownTable, FindReachesCollapsedGroupsWrapsAndReveals) {
  table_->collapseAll();
  ASSERT_EQ(visible().find("D;"), std::string::npos);
  analysis::find_state s;
  s.matches = analysis::find_rows(*root(), u"ALPHA");
  ASSERT_EQ(codes_of(s.matches), "AD");
  // Stepping through the matches and wrapping is driven by the find bar
  // (tests/app/find_filter_app_test.cpp).
  // Going to D expands its groups and selects it alone.
  const int index = view::reveal_row(*table_, *s.matches[1]);
  ASSERT_GE(index, 0);
  ASSERT_LT(static_cast<std::size_t>(index), table_->visibleRows().size());
  EXPECT_EQ(table_->visibleRows()[static_cast<std::size_t>(index)]->activity()->task_code.value, u"D");
  EXPECT_EQ(table_->selectedIndex(), index);
  EXPECT_EQ(visible().find("A;"), std::string::npos);  // A's group stays collapsed
  EXPECT_GE(view::reveal_activity(*table_, *test_support::task_by_code(doc(), u"A")), 0);
  EXPECT_NE(visible().find("A;"), std::string::npos);
  // One index answers every text of a key press; no match runs from the ID
  // into the name ("A" then "Alpha" holds no "aa").
  const analysis::find_index texts(*root());
  EXPECT_EQ(texts.matches(u"a").size(), 5u);  // Alpha, Bravo, Charlie, Delta, India
  EXPECT_EQ(codes_of(texts.matches(u"ALP")), "AD");
  EXPECT_TRUE(texts.matches(u"aa").empty());
  // Under a filter hiding it, an activity cannot be gone to.
  ASSERT_TRUE(view::apply_shown(*table_, critical()));
  EXPECT_EQ(view::reveal_activity(*table_, *test_support::task_by_code(doc(), u"D")), -1);
  EXPECT_TRUE(analysis::find_rows(*root(), u"delta").empty());
  analysis::find_state none;
  EXPECT_EQ(analysis::step_match(none, true), -1);
}

TEST_F(ShownTable, TheWbsTableKeepsElementsHoldingShownActivities) {
  view::Layout* wbs_layout = doc_.configuration().first_layout(view::view_kind::wbs);
  ASSERT_NE(wbs_layout, nullptr);
  auto wbs = view::make_table_view(view::view_kind::wbs);
  wbs->set_document(doc_.document());
  wbs->set_layout(wbs_layout);
  wbs->refresh();
  auto names = [&] {
    std::set<std::string> out;
    for (const view::Row* r : wbs->visibleRows())
      if (r->wbs()) out.insert(narrow(r->wbs()->wbs_short_name.value));
    return out;
  };
  ASSERT_EQ(names().count("W2"), 1u);
  ASSERT_TRUE(view::apply_shown(*wbs, critical()));
  EXPECT_EQ(names(), (std::set<std::string>{"LONG", "W1", "FLOAT", "PLAIN"}));
}

}  // namespace
