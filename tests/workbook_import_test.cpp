// The workbook import: cell conversion by value type, the WBS tree built from
// WBS codes, the relationship sheet's stop rule, a workbook shaped like a
// full export read into records, links, available fields and the texts the
// views show, and a real export of a large project.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "catalog/field_catalog.h"
#include "document/document_xls.h"
#include "document/workbook/workbook_import.h"
#include "values/display_prefs.h"
#include "values/enums.h"
#include "test_support.h"

namespace tessel::document {
namespace {

using catalog::catalog_kind;
using test_support::wbs_by_path;
using test_support::task_by_code;
constexpr auto data_path = test_support::xls_path;
constexpr auto field = test_support::field_id;

bool available(catalog_kind k, std::u16string_view key) {
  const catalog::field_entry* e = catalog::find_field(k, key);
  return e && e->available;
}

class WorkbookImport : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_prefs();
    catalog::build_catalogs();
  }
  void TearDown() override { reset_prefs(); }
};

TEST(WorkbookConvert, CellTextsByValueType) {
  for (auto [text, v] : {std::pair{u"  12.5 h", 12.5}, {u"-3e2x", -300.0}, {u"1e", 1.0}, {u".5", 0.5}, {u"1,000.00", 1.0}})
    EXPECT_DOUBLE_EQ(wb::leading_number(text), v);
  for (std::u16string_view zero : {u"$12", u"", u"inf", u"nan", u"-", u".", u"1e999"})
    EXPECT_EQ(wb::leading_number(zero), 0.0) << std::string(zero.begin(), zero.end());
  EXPECT_EQ(wb::leading_integer(u" -42.9"), -42);
  EXPECT_EQ(wb::leading_integer(u"99999999999"), 2147483647);
  EXPECT_EQ(wb::leading_integer(u"x1"), 0);

  // Flags are set unless the text is exactly "N".
  s_bool flag;
  for (std::u16string_view yes : {u"Y", u"Yes", u"", u"n", u"No"}) {
    wb::set_value(flag, yes);
    EXPECT_TRUE(flag.value) << std::string(yes.begin(), yes.end());
  }
  wb::set_value(flag, u"N");
  EXPECT_FALSE(flag.value);

  // Durations and quantities keep the number shown; an empty cell is empty.
  s_dur d;
  wb::set_value(d, u"6.5");
  EXPECT_EQ(d.hours, 6.5);
  EXPECT_EQ(d.dur_empty, 0);
  wb::set_value(d, u"");
  EXPECT_EQ(d.dur_empty, 1);
  s_unit u;
  wb::set_value(u, u"40");
  EXPECT_EQ(u.amount, 40.0);
  EXPECT_EQ(u.unit_empty, 0);
  EXPECT_EQ(u.symbols, workbook_money_symbols());

  s_date date;
  wb::set_value(date, u"2/3/2012 5:00:00 PM");
  EXPECT_EQ(date.time, s_date::from_ymd(2012, 2, 3, 17).time);
  EXPECT_EQ(date.empty, 0);
  wb::set_value(date, u"");
  EXPECT_EQ(date.empty, 1);
  EXPECT_EQ(date.time, 0);

  // Enumerations read their stored codes and the captions an export writes.
  s_activity_status status;
  wb::set_value(status, u"In Progress");
  EXPECT_EQ(status.code, s_activity_status(u"TK_Active").code);
  s_relationship_type type;
  wb::set_value(type, u"SS");
  EXPECT_EQ(type.code, s_relationship_type(u"PR_SS").code);
  wb::set_value(type, u"PR_FF");
  EXPECT_EQ(type.code, s_relationship_type(u"FF").code);

  // A column of a catalog value type holds values of that type.
  auto cost = wb::make_column(catalog::value_types::cost, 0);
  cost->set(3, u"1500.5");
  EXPECT_EQ(cost->at(0), nullptr);
  EXPECT_EQ(cost->at(4), nullptr);
  ASSERT_NE(cost->at(3), nullptr);
  EXPECT_EQ(cost->at(3)->text(), u"$1,500.50");
  EXPECT_EQ(cost->at(1)->text(), u"$0.00");

  // A text column keeps each record's own text, one copy of each; a text
  // set again replaces the record's, never another record's.
  auto names = wb::make_column(catalog::value_types::text, 0);
  for (uint32_t id : {1u, 4u, 6u}) names->set(id, u"Pour slab on grade");
  names->set(5, u"Strip forms");
  names->set(6, u"Cure");
  EXPECT_EQ(names->at(7), nullptr);
  std::vector<std::u16string> got;
  for (uint32_t id = 1; id <= 6; ++id) got.push_back(names->at(id)->text());
  EXPECT_EQ(got, (std::vector<std::u16string>{u"Pour slab on grade", u"", u"", u"Pour slab on grade", u"Strip forms",
                                               u"Cure"}));
  EXPECT_EQ(names->at(1), names->at(4));
  EXPECT_EQ(names->at(2)->type(), val_type::string);
}

// A WBS code names every element on its way: each prefix is an element
// under its parent, and codes led by the project's own code hang below the
// project's node.
TEST_F(WorkbookImport, WbsTreeFromWbsCodes) {
  Document_xls doc;
  std::vector<workbook_sheet> sheets;
  sheets.push_back(workbook_sheet::from_rows("USERDATA", {{u"user_data"}, {u""}, {u""}}));
  sheets.push_back(workbook_sheet::from_rows(
      "TASK", {{u"task_code", u"wbs_id", u"wbs_name"},
               {u"Activity ID", u"WBS Code", u"WBS Name"},
               {u"A", u"P.1.2", u"Two"},
               {u"B", u"P.1.3", u""},
               {u"C", u"P", u""},
               {u"D", u"", u""},
               {u"E", u"P.1.2", u"Not this one"}}));
  ASSERT_TRUE(import_sheets(doc, sheets));
  // The project's node, 1, 1.2 and 1.3.
  ASSERT_EQ(doc.projwbs.size(), 4u);
  const PROJWBS* node = &doc.projwbs[0];
  EXPECT_EQ(doc.project[0].top_wbs, node);
  EXPECT_EQ(doc.project[0].proj_short_name.value, u"P");
  EXPECT_EQ(node->wbs_path.value, u"P");
  const PROJWBS* one = wbs_by_path(doc, u"P.1");
  const PROJWBS* two = wbs_by_path(doc, u"P.1.2");
  ASSERT_TRUE(one && two && wbs_by_path(doc, u"P.1.3"));
  EXPECT_EQ(one->parent, node);
  EXPECT_EQ(two->parent, one);
  EXPECT_EQ(two->wbs_short_name.value, u"2");
  EXPECT_EQ(two->wbs_name.value, u"Two");  // the first activity names it
  EXPECT_EQ(one->children.size(), 2u);
  EXPECT_EQ(task_by_code(doc, u"C")->projwbs, node);
  EXPECT_EQ(task_by_code(doc, u"D")->projwbs, node);
  EXPECT_EQ(task_by_code(doc, u"E")->projwbs, two);
  EXPECT_EQ(two->tasks.size(), 2u);
  for (const PROJWBS& w : doc.projwbs) {
    EXPECT_EQ(w.project, &doc.project[0]);
    if (&w != node) {
      EXPECT_EQ(w.parent_wbs_id.value, w.parent->wbs_id.value);
    }
  }

  // A run of dots stays with the part before it, so no part is empty.
  Document_xls dots;
  sheets[1] = workbook_sheet::from_rows("TASK", {{u"wbs_id"}, {u""}, {u"X..1.2"}, {u"X..1.3"}});
  ASSERT_TRUE(import_sheets(dots, sheets));
  EXPECT_EQ(dots.projwbs[0].wbs_path.value, u"X.");
  ASSERT_TRUE(wbs_by_path(dots, u"X..1.2") && wbs_by_path(dots, u"X..1"));
  EXPECT_EQ(wbs_by_path(dots, u"X..1.2")->parent, wbs_by_path(dots, u"X..1"));
  EXPECT_EQ(wbs_by_path(dots, u"X..1")->parent, &dots.projwbs[0]);
  EXPECT_EQ(wbs_by_path(dots, u"X..1")->wbs_short_name.value, u"1");

  // Codes without a common lead all hang below a project node without a
  // code of its own.
  Document_xls other;
  sheets[1] = workbook_sheet::from_rows("TASK", {{u"wbs_id"}, {u""}, {u"A.1"}, {u"B"}});
  ASSERT_TRUE(import_sheets(other, sheets));
  EXPECT_EQ(other.projwbs[0].wbs_path.value, u"");
  EXPECT_EQ(wbs_by_path(other, u"A")->parent, &other.projwbs[0]);
  EXPECT_EQ(wbs_by_path(other, u"B")->parent, &other.projwbs[0]);
}

// Relationship rows are read until one names an unknown activity; an
// activity code carried twice names its first activity. A user-data sheet
// of another shape still shows figures as exported, in the units of time
// the user had chosen.
TEST_F(WorkbookImport, RelationshipsStopAtTheFirstUnknownActivity) {
  prefs().duration_unit = 3;
  Document_xls doc;
  ASSERT_TRUE(doc.load(data_path("stop_rule.xls")));
  ASSERT_EQ(doc.taskpred.size(), 2u);
  EXPECT_EQ(doc.taskpred[0].task_pred_id.value, 1u);
  EXPECT_EQ(doc.taskpred[1].task_pred_id.value, 2u);
  const TASK* first = &doc.task[0];
  EXPECT_EQ(doc.taskpred[0].predtask, first);
  EXPECT_EQ(doc.taskpred[0].pred_task_id.value, first->task_id.value);
  EXPECT_EQ(doc.taskpred[1].task, &doc.task[2]);
  EXPECT_EQ(first->succ_rels.size(), 1u);
  EXPECT_TRUE(doc.task[3].succ_rels.empty());
  EXPECT_EQ(doc.task[2].pred_rels.size(), 1u);
  EXPECT_EQ(prefs().duration_unit, 3);
  EXPECT_EQ(prefs().duration_decimals, 0);
  EXPECT_TRUE(prefs().duration_label);
  EXPECT_EQ(prefs().percent_decimals, 3);
}

TEST_F(WorkbookImport, WorkbooksWithoutActivitiesOrUserData) {
  {
    // Only the user data (and a sheet named "Task", which is not the
    // activity sheet): no schedule, refused.
    Document_xls doc;
    EXPECT_FALSE(doc.load(data_path("no_task_sheet.xls")));
    EXPECT_TRUE(doc.refused());
    EXPECT_TRUE(doc.task.empty());
  }
  reset_prefs();
  {
    Document_xls doc;
    EXPECT_FALSE(doc.load(data_path("no_userdata.xls")));
    EXPECT_EQ(doc.project.size(), 1u);
    EXPECT_TRUE(doc.task.empty());
    EXPECT_EQ(prefs().duration_decimals, display_prefs{}.duration_decimals);
    // Nothing was linked or rolled up.
    EXPECT_EQ(doc.fields().value(doc.project[0], field(catalog_kind::project, u"task_cnt")).text(), u"");
  }
  {
    // Sheets of a header alone, or of nothing.
    Document_xls doc;
    ASSERT_TRUE(doc.load(data_path("small_sheets.xls")));
    EXPECT_TRUE(doc.task.empty());
    EXPECT_TRUE(doc.taskpred.empty());
    EXPECT_TRUE(doc.rsrc.empty());
    EXPECT_EQ(doc.projwbs.size(), 1u);
  }
  {
    Document_xls doc;
    ASSERT_TRUE(doc.load(data_path("unicode.xls")));
    ASSERT_EQ(doc.task.size(), 2u);
    EXPECT_EQ(doc.task[0].task_code.value, u"Ü-1");
    EXPECT_EQ(doc.task[1].task_name.value, u"東京 \U0001F3D7 crane");
    EXPECT_EQ(doc.task[1].projwbs->wbs_name.value, u"Nordflügel");
  }
}

// A workbook shaped like a full export of one project.
TEST_F(WorkbookImport, FullExport) {
  Document_xls doc;
  ASSERT_TRUE(doc.load(data_path("full_export.xls")));
  const field_lookup& f = doc.fields();
  auto shown = [&](const TASK* t, std::u16string_view key) {
    return f.value(*t, field(catalog_kind::activity, key)).text();
  };

  // Records and links.
  ASSERT_EQ(doc.task.size(), 4u);
  const TASK* a1000 = task_by_code(doc, u"A1000");
  const TASK* a1010 = task_by_code(doc, u"A1010");
  const TASK* a2000 = task_by_code(doc, u"A2000");
  const TASK* m9000 = task_by_code(doc, u"M9000");
  ASSERT_TRUE(a1000 && a1010 && a2000 && m9000);
  for (const TASK& t : doc.task) EXPECT_EQ(t.project, &doc.project[0]);
  EXPECT_EQ(doc.project[0].tasks.size(), 4u);
  EXPECT_EQ(a1010->status_code.code, s_activity_status(u"TK_Active").code);
  EXPECT_EQ(a2000->task_type.code, s_activity_type(u"Resource Dependent").code);
  EXPECT_EQ(a1010->cstr_type.code, s_constraint_type(u"Start On or After").code);
  EXPECT_EQ(a1000->projwbs, a1010->projwbs);
  EXPECT_EQ(a2000->projwbs->wbs_path.value, u"OFC.BLD.FRAME");
  EXPECT_EQ(a2000->projwbs->parent, wbs_by_path(doc, u"OFC.BLD"));
  EXPECT_EQ(m9000->projwbs, doc.project[0].top_wbs);

  ASSERT_EQ(doc.taskpred.size(), 3u);
  const TASKPRED& ff = doc.taskpred[2];
  EXPECT_EQ(ff.predtask, a1010);
  EXPECT_EQ(ff.task, m9000);
  EXPECT_EQ(ff.pred_type.code, s_relationship_type(u"PR_FF").code);
  EXPECT_EQ(doc.taskpred[1].pred_type.code, s_relationship_type(u"PR_SS").code);
  EXPECT_EQ(a1010->succ_rels.size(), 2u);

  ASSERT_EQ(doc.rsrc.size(), 2u);
  const RSRC& crane = doc.rsrc[0];
  const RSRC& crew = doc.rsrc[1];
  ASSERT_EQ(doc.calendar.size(), 2u);
  ASSERT_EQ(doc.currtype.size(), 1u);
  EXPECT_EQ(crew.calendar->clndr_name.value, u"Night shifts");
  EXPECT_EQ(crane.currency, crew.currency);
  // Assignments: by activity code and by resource name or id; the fourth
  // names no activity, the fifth no resource.
  ASSERT_EQ(doc.taskrsrc.size(), 5u);
  EXPECT_EQ(doc.taskrsrc[2].rsrc, &crane);
  EXPECT_EQ(doc.taskrsrc[3].task, nullptr);
  EXPECT_EQ(doc.taskrsrc[3].rsrc, &crane);
  EXPECT_EQ(doc.taskrsrc[4].task, a1000);
  EXPECT_EQ(doc.taskrsrc[4].rsrc, nullptr);
  EXPECT_EQ(crane.assignments.size(), 3u);
  EXPECT_EQ(a2000->resource_list.value, u"Steel crew, Tower crane");
  EXPECT_EQ(shown(a2000, u"taskrsrc_cnt"), u"2");

  // What the catalogs offer: the columns the workbook carries.
  EXPECT_TRUE(available(catalog_kind::activity, u"total_cost"));
  EXPECT_FALSE(available(catalog_kind::activity, u"act_work_cost"));
  EXPECT_FALSE(available(catalog_kind::activity, u"early_start_date"));
  EXPECT_TRUE(available(catalog_kind::activity, u"bcwp"));
  EXPECT_TRUE(available(catalog_kind::wbs, u"task_cnt"));
  EXPECT_TRUE(available(catalog_kind::predecessor, u"predtask\\7Ctask_name"));
  EXPECT_FALSE(available(catalog_kind::predecessor, u"predtask\\7Cend_date"));
  EXPECT_TRUE(available(catalog_kind::successor, u"task\\7Cend_datee"));
  EXPECT_TRUE(available(catalog_kind::resource, u"role_list"));
  const catalog::field_entry* user_field = catalog::find_field(100012);
  ASSERT_NE(user_field, nullptr);
  EXPECT_EQ(user_field->caption, u"Site Contact");
  EXPECT_TRUE(user_field->available);
  EXPECT_EQ(catalog::find_field(100000), nullptr);  // user_field_0 registers nothing
  const catalog::field_entry* code = catalog::find_field(500007);
  ASSERT_NE(code, nullptr);
  EXPECT_EQ(code->caption, u"Responsible Area");
  EXPECT_EQ(catalog::find_field(catalog_kind::resource, u"user_field_30")->field_id, 100030u);

  // Figures shown as exported: durations in days with their letter, units
  // of work in hours, costs from the leading number ("$2,000.00" has a
  // currency symbol in front, so reads 0).
  EXPECT_EQ(prefs().duration_unit, 1);
  const struct {
    const TASK* task;
    std::u16string_view key, text;
  } figures[] = {
      {a1000, u"target_drtn_hr_cnt", u"5d"}, {a1010, u"remain_drtn_hr_cnt", u"6.5d"},
      {a1010, u"total_float_hr_cnt", u"-1.5d"}, {a1000, u"target_work_qty", u"40h"},
      {m9000, u"target_work_qty", u""}, {a1000, u"total_cost", u"$1,500.50"},
      {a1010, u"total_cost", u"$0.00"}, {a2000, u"total_cost", u"$1,000,000.00"},
      {a1010, u"bcwp", u"$250.25"}, {a1010, u"complete_pct", u"35%"},
      {a1000, u"act_work_cost", u""}, {a1010, u"critical_flag", u"Yes"},
      {a1000, u"start_date", u"5-Jan-2012"}, {a1010, u"end_date", u"3-Feb-2012"},
      {a2000, u"start_date", u"6-Feb-2012"},
      {m9000, u"end_date", u"30-Mar-2012"},  // a finish the workbook left empty takes the start
      {a1000, u"wbs_id", u"OFC.SITE"}, {a1000, u"wbs_name", u"Site Works"},
      {a1000, u"project\\7Cproj_short_name", u"OFC"}, {a1000, u"project\\7Cproj_name", u"Office Building"},
      {a1010, u"projwbs\\7Cstatus_code", u"Active"}, {a1010, u"pred_list", u"A1000"},
  };
  for (const auto& c : figures)
    EXPECT_EQ(shown(c.task, c.key), c.text) << std::string(c.key.begin(), c.key.end());
  EXPECT_FALSE(a1000->rev_fdbk_flag.value);
  EXPECT_TRUE(a2000->lock_plan_flag.value);  // an empty cell reads as set
  EXPECT_EQ(f.value(*a1000, 100012).text(), u"Miller");
  EXPECT_EQ(f.value(*a1010, 100012).text(), u"");
  EXPECT_EQ(f.value(*a2000, 500007).text(), u"North");
  EXPECT_EQ(f.value(*m9000, 500007).text(), u"");

  // A relationship shows its own copies of its activities' columns.
  const uint32_t pred_name = field(catalog_kind::predecessor, u"predtask\\7Ctask_name");
  EXPECT_EQ(f.predecessor_value(doc.taskpred[0], pred_name).text(), u"Excavation (as exported)");
  EXPECT_EQ(f.predecessor_value(doc.taskpred[1], pred_name).text(), u"Foundations");
  EXPECT_EQ(f.successor_value(doc.taskpred[0], field(catalog_kind::successor, u"task\\7Cend_datee")).text(),
            u"3-Feb-2012");
  EXPECT_EQ(f.predecessor_value(ff, field(catalog_kind::predecessor, u"lag_hr_cnt")).text(), u"1.5d");
  EXPECT_EQ(f.predecessor_value(doc.taskpred[1], field(catalog_kind::predecessor, u"rsff")).text(), u"1");

  // WBS elements: the figures the activities' group columns carry, else
  // those of their subtree.
  const PROJWBS* site = wbs_by_path(doc, u"OFC.SITE");
  const PROJWBS* building = wbs_by_path(doc, u"OFC.BLD");
  ASSERT_TRUE(site && building);
  EXPECT_EQ(f.value(*site, field(catalog_kind::wbs, u"task_cnt")).text(), u"2");
  EXPECT_EQ(f.value(*site, field(catalog_kind::wbs, u"status_code")).text(), u"Active");
  EXPECT_EQ(f.value(*building, field(catalog_kind::wbs, u"task_cnt")).text(), u"1");
  EXPECT_EQ(f.value(*building, field(catalog_kind::wbs, u"start_date")).text(), u"6-Feb-2012");
  EXPECT_EQ(f.value(doc.project[0], field(catalog_kind::project, u"task_cnt")).text(), u"4");

  // Resources: rates and prices as exported, calendar and currency by name.
  auto rsrc_shown = [&](const RSRC& r, std::u16string_view key) {
    return f.value(r, field(catalog_kind::resource, key)).text();
  };
  EXPECT_EQ(rsrc_shown(crane, u"cost_per_qty"), u"$120/h");
  EXPECT_EQ(crew.max_qty_per_hr.kind, s_unit::rate);
  EXPECT_EQ(crew.max_qty_per_hr.amount, 16.0);
  EXPECT_EQ(rsrc_shown(crew, u"curr_id"), u"US Dollar");
  EXPECT_EQ(rsrc_shown(crane, u"clndr_id"), u"Standard 5 Day");
  EXPECT_EQ(rsrc_shown(crew, u"role_list"), u"Steel, Welding");
  EXPECT_EQ(rsrc_shown(crew, u"rsrc_type"), u"Labor");
  EXPECT_EQ(f.value(crane, 100030).text(), u"B-17");
}

// A real spreadsheet export of a large project (7,107 activities, 18,550
// relationships), converted to an Excel 97-2003 workbook: its dates arrive
// as date-time cells.
const char* const kWorkbook = TESSEL_SHARED_DIR "/testdata/real/xls/delayprediction-p2543-r01-oct24-rel.xls";

TEST_F(WorkbookImport, RealExportOfALargeProject) {
  if (!std::filesystem::exists(kWorkbook)) GTEST_SKIP() << "real workbooks not present";
  const std::string p = kWorkbook;
  Document_xls doc;
  ASSERT_TRUE(doc.load(std::u16string(p.begin(), p.end())));

  // The export's days are shown as days.
  EXPECT_EQ(prefs().duration_unit, 1);
  EXPECT_EQ(prefs().unit_unit, 0);

  ASSERT_EQ(doc.task.size(), 7107u);
  size_t completed = 0, active = 0, with_start = 0;
  for (const TASK& t : doc.task) {
    EXPECT_FALSE(t.task_code.value.empty());
    EXPECT_FALSE(t.task_name.value.empty());
    EXPECT_TRUE(t.end_date.has_date()) << std::string(t.task_code.value.begin(), t.task_code.value.end());
    with_start += t.start_date.has_date();
    completed += t.status_code.code == s_activity_status(u"TK_Complete").code;
    active += t.status_code.code == s_activity_status(u"TK_Active").code;
    EXPECT_EQ(t.project, &doc.project[0]);
    ASSERT_NE(t.projwbs, nullptr);
  }
  EXPECT_EQ(completed, 2009u);
  EXPECT_EQ(active, 292u);
  // Finish milestones are exported without a start.
  EXPECT_EQ(with_start, 7107u - 154u);
  const TASK& first = doc.task[0];
  EXPECT_EQ(first.task_code.value, u"C-52-0203-PL-CI-1000");
  EXPECT_EQ(first.start_date.text(), u"26-Jan-2024");
  EXPECT_EQ(first.end_date.text(), u"7-May-2024");
  EXPECT_EQ(first.projwbs->wbs_path.value, u"P2543-R01-Oct24..4.3.1.3.20");
  EXPECT_EQ(first.succ_list.value, u"C-52-0203-PL-CI-1800, C-52-0304-PL-CI-1000");

  // Every relationship row names activities of the activity sheet, so all
  // are read, each tied to both activities.
  ASSERT_EQ(doc.taskpred.size(), 18550u);
  for (const TASKPRED& r : doc.taskpred) {
    ASSERT_TRUE(r.task && r.predtask);
    EXPECT_EQ(r.task_id.value, r.task->task_id.value);
  }
  EXPECT_EQ(doc.taskpred[3].pred_type.code, s_relationship_type(u"PR_FF").code);
  EXPECT_EQ(doc.taskpred[3].lag_hr_cnt.text(), u"2d");

  // The WBS tree: the project's node, every element below its parent and
  // its code led by the parent's.
  const PROJWBS* node = doc.project[0].top_wbs;
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(node->wbs_path.value, u"P2543-R01-Oct24.");
  EXPECT_GT(doc.projwbs.size(), 1000u);
  for (const PROJWBS& w : doc.projwbs) {
    if (&w == node) continue;
    ASSERT_NE(w.parent, nullptr);
    EXPECT_EQ(w.wbs_path.value.substr(0, w.parent->wbs_path.value.size()), w.parent->wbs_path.value);
  }
  EXPECT_EQ(doc.task[0].projwbs->wbs_name.value, u"Surveying of Pipeline Route (HGCP to Sweihan 161.7Km)CCOPL52300");
  EXPECT_EQ(doc.fields().value(doc.project[0], catalog::find_field(catalog::catalog_kind::project, u"task_cnt")->field_id)
                .text(),
            u"7107");
}

}  // namespace
}  // namespace tessel::document
