// The load report: what an open found in a file. A file cut inside its
// activity table, rows at fault, references to records the file does not
// hold, unreadable dates, tables the viewer does not read, a workbook's
// sheets, and clean exports that give no warning.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "catalog/field_catalog.h"
#include "document/document.h"
#include "document/document_xls.h"
#include "document/load_report.h"
#include "test_support.h"
#include "view/tessel_doc.h"

namespace tessel::document {
namespace {

namespace fs = std::filesystem;
using test_support::scratch;
using test_support::xer;

using lines = std::vector<std::vector<std::string>>;

// A small schedule: one project, one WBS element, one calendar, activities
// with ids from 1 on. Line numbers: the header is 1, so "%T TASK" stands on
// line 11 and activity k (from 1) on line 12 + k.
lines schedule(int activities) {
  lines l = {
      {"%T", "PROJECT"},  {"%F", "proj_id", "proj_short_name"}, {"%R", "1", "PRJ"},
      {"%T", "PROJWBS"},  {"%F", "wbs_id", "proj_id", "proj_node_flag", "wbs_short_name"},
      {"%R", "10", "1", "Y", "PRJ"},
      {"%T", "CALENDAR"}, {"%F", "clndr_id", "clndr_name"}, {"%R", "5", "Standard"},
      {"%T", "TASK"},     {"%F", "task_id", "proj_id", "wbs_id", "clndr_id", "task_code", "target_start_date"},
  };
  for (int k = 1; k <= activities; ++k)
    l.push_back({"%R", std::to_string(k), "1", "10", "5", "A" + std::to_string(k), "2024-01-08 08:00"});
  return l;
}

load_report report_of(const std::string& bytes) {
  Document_xer doc;
  EXPECT_TRUE(doc.load_bytes(bytes));
  return doc.report();
}

const load_report::fault_lines& faults(const load_report& r, const std::string& table, row_fault kind) {
  static const load_report::fault_lines none;
  for (const load_report::table_faults& t : r.row_faults)
    if (t.table == table) return t.faults[size_t(kind)];
  return none;
}

TEST(LoadReport, FileCutInsideItsActivityTable) {
  lines l = schedule(63);
  // The write stopped inside the last row: no end marker, and the last
  // activity has only its first values.
  l.back().resize(3);
  const load_report r = report_of(xer(l));
  ASSERT_TRUE(r.end_marker.has_value());
  EXPECT_FALSE(*r.end_marker);
  EXPECT_EQ(r.activities, 63u);
  ASSERT_EQ(r.tables_read.size(), 4u);
  EXPECT_EQ(r.tables_read[3].name, "TASK");
  EXPECT_EQ(r.tables_read[3].rows, 63u);
  const auto& short_rows = faults(r, "TASK", row_fault::too_few_values);
  EXPECT_EQ(short_rows.count, 1u);
  EXPECT_EQ(short_rows.first_lines, std::vector<size_t>{12 + 63});
  EXPECT_TRUE(r.has_warning());
  EXPECT_EQ(r.notice(), "This file seems cut short: 63 activities read, no end marker.");

  EXPECT_EQ(report_text(r),
            "Format: XER text export\n"
            "Encoding: windows-1252\n"
            "End marker: missing (the file was cut short)\n"
            "Warning: This file seems cut short: 63 activities read, no end marker.\n"
            "Tables read:\n  PROJECT\t1\n  PROJWBS\t1\n  CALENDAR\t1\n  TASK\t63\n"
            "Tables not read: none\n"
            "Rows at fault (read as far as they go):\n"
            "  TASK: 1 row with fewer values than fields (line 75)\n"
            "References that point nowhere: none\n"
            "Dates that could not be read: none\n");
}

TEST(LoadReport, WholeFileHasNoWarning) {
  lines l = schedule(3);
  l.push_back({"%E"});
  const load_report r = report_of(xer(l));
  EXPECT_EQ(r.end_marker, std::optional<bool>(true));
  EXPECT_FALSE(r.has_warning());
  EXPECT_EQ(r.notice(), "");
  EXPECT_TRUE(r.row_faults.empty());
  EXPECT_EQ(r.dangling_total(), 0u);
  // An empty last value ends its line with a TAB, or, from some writers,
  // is left out: the row is whole either way. Two values short it is not.
  lines t = schedule(0);
  t.push_back({"%R", "1", "1", "10", "5", "A1", ""});
  t.push_back({"%R", "2", "1", "10", "5", "A2"});
  t.push_back({"%E"});
  EXPECT_FALSE(report_of(xer(t)).has_warning());
  t.insert(t.end() - 1, {"%R", "3", "1", "10", "5"});
  EXPECT_EQ(faults(report_of(xer(t)), "TASK", row_fault::too_few_values).first_lines, std::vector<size_t>{15});
}

TEST(LoadReport, BadRowsAndDuplicateIds) {
  lines l = schedule(4);
  l.push_back({"%R", "2", "1", "10", "5", "DUP", "2024-01-08 08:00"});                // line 17
  l.push_back({"%R", "x7", "1", "10", "5", "BADID", "2024-01-08 08:00"});             // line 18
  l.push_back({"%R", "8", "1", "10", "5", "LONG", "2024-01-08 08:00", "extra"});       // line 19
  l.push_back({"%R", "9", "1", "10", "5", "BADDATE", "2024-02-30 08:00"});            // line 20
  l.push_back({"%R", "", "1", "10", "5", "NOID", "2024-01-08 08:00"});                // line 21
  // A second TASK table shares the ids of the first.
  l.push_back({"%T", "TASK"});
  l.push_back({"%F", "task_id", "task_code"});
  l.push_back({"%R", "3", "AGAIN"});  // line 24
  l.push_back({"%E"});
  const load_report r = report_of(xer(l));
  EXPECT_EQ(faults(r, "TASK", row_fault::duplicate_id).first_lines, (std::vector<size_t>{17, 24}));
  EXPECT_EQ(faults(r, "TASK", row_fault::id_not_a_number).first_lines, (std::vector<size_t>{18, 21}));
  EXPECT_EQ(faults(r, "TASK", row_fault::too_many_values).first_lines, std::vector<size_t>{19});
  EXPECT_EQ(faults(r, "TASK", row_fault::too_few_values).count, 0u);
  EXPECT_EQ(r.unreadable_dates.count, 1u);
  EXPECT_EQ(r.unreadable_dates.first_lines, std::vector<size_t>{20});
  EXPECT_TRUE(r.has_warning());
  EXPECT_EQ(r.notice(), "Some rows of this file are damaged: 10 activities read, 5 rows at fault.");
  // Tables that tie records together have no id of their own to repeat.
  lines codes = schedule(1);
  codes.push_back({"%T", "TASKACTV"});
  codes.push_back({"%F", "task_id", "actv_code_type_id", "actv_code_id"});
  codes.push_back({"%R", "1", "1", "1"});
  codes.push_back({"%R", "1", "2", "3"});
  codes.push_back({"%E"});
  EXPECT_TRUE(report_of(xer(codes)).row_faults.empty());
}

TEST(LoadReport, ReferencesThatPointNowhere) {
  lines l = schedule(2);
  l.push_back({"%R", "3", "1", "99", "77", "LOST", ""});  // WBS element 99 and calendar 77 are not in the file
  l.push_back({"%T", "TASKPRED"});
  l.push_back({"%F", "task_pred_id", "task_id", "pred_task_id", "proj_id", "pred_proj_id"});
  l.push_back({"%R", "1", "2", "1", "1", "1"});    // whole
  l.push_back({"%R", "2", "2", "500", "1", "4"});  // from project 4, not in the file
  l.push_back({"%R", "3", "2", "501", "1", "4"});
  l.push_back({"%R", "4", "2", "600", "1", "1"});  // activity 600 of this project is missing
  l.push_back({"%T", "RSRC"});
  l.push_back({"%F", "rsrc_id", "rsrc_name"});
  l.push_back({"%R", "70", "Crew"});
  l.push_back({"%T", "TASKRSRC"});
  l.push_back({"%F", "taskrsrc_id", "task_id", "proj_id", "rsrc_id"});
  l.push_back({"%R", "1", "1", "1", "70"});
  l.push_back({"%R", "2", "1", "1", "71"});  // resource 71 is missing
  l.push_back({"%R", "3", "9", "1", "70"});  // activity 9 is missing
  l.push_back({"%T", "FOO"});
  l.push_back({"%F", "a"});
  l.push_back({"%R", "1"});
  l.push_back({"%R", "2"});
  l.push_back({"%E"});
  const load_report r = report_of(xer(l));
  auto count = [&](dangling_kind k) { return r.dangling[size_t(k)]; };
  EXPECT_EQ(count(dangling_kind::relationship_other_project), 2u);
  EXPECT_EQ(count(dangling_kind::relationship_missing_activity), 1u);
  EXPECT_EQ(count(dangling_kind::assignment_missing_resource), 1u);
  EXPECT_EQ(count(dangling_kind::assignment_missing_activity), 1u);
  EXPECT_EQ(count(dangling_kind::activity_missing_wbs), 1u);
  EXPECT_EQ(count(dangling_kind::activity_missing_calendar), 1u);
  EXPECT_EQ(r.notice(), "This file refers to records it does not hold: 3 activities read, 7 references point nowhere.");
  ASSERT_EQ(r.tables_not_read.size(), 1u);
  EXPECT_EQ(r.tables_not_read[0].name, "FOO");
  EXPECT_EQ(r.tables_not_read[0].rows, 2u);
  const std::string text = report_text(r);
  EXPECT_NE(text.find("Tables not read:\n  FOO\t2\n"), std::string::npos) << text;
  EXPECT_NE(text.find("  2 relationships to a project not in the file\n"), std::string::npos) << text;
}

TEST(LoadReport, ManyFaultsKeepTheirFirstLines) {
  lines l = schedule(0);
  for (int k = 0; k < 12; ++k) l.push_back({"%R", "1", "1", "10", "5", "SAME", ""});
  l.push_back({"%E"});
  const load_report r = report_of(xer(l));
  const auto& dup = faults(r, "TASK", row_fault::duplicate_id);
  EXPECT_EQ(dup.count, 11u);
  EXPECT_EQ(dup.first_lines, (std::vector<size_t>{14, 15, 16, 17, 18}));
  EXPECT_NE(report_text(r).find("11 rows with id already taken (lines 14, 15, 16, 17, 18, ...)"), std::string::npos);

  // Ids of every size: small ones, ones of many millions, and one past
  // what 32 bits hold.
  lines big = schedule(0);
  for (const char* id : {"90000000", "64", "90000000", "5000000000", "63", "64", "5000000000", "90000001"})
    big.push_back({"%R", id, "1", "10", "5", "X", ""});
  big.push_back({"%E"});
  EXPECT_EQ(faults(report_of(xer(big)), "TASK", row_fault::duplicate_id).first_lines,
            (std::vector<size_t>{15, 18, 19}));
}

TEST(LoadReport, ThroughTheSharedOpen) {
  scratch s;
  view::TesselDoc doc;
  ASSERT_TRUE(doc.open(fs::path(TESSEL_SOURCE_DIR "/samples/demo.xer").u16string()));
  const load_report& demo = doc.document()->report();
  EXPECT_FALSE(demo.has_warning()) << report_text(demo);
  EXPECT_EQ(demo.activities, doc.document()->task.size());
  EXPECT_EQ(demo.end_marker, std::optional<bool>(true));
  lines l = schedule(5);
  ASSERT_TRUE(doc.open(s.write("cut.xer", xer(l))));
  EXPECT_EQ(doc.document()->report().notice(), "This file seems cut short: 5 activities read, no end marker.");
}

TEST(LoadReport, CleanRealExportsGiveNoWarning) {
  SKIP_WITHOUT_REAL_EXPORTS();
  int seen = 0;
  for (const char* name : {"bhatticoder-convention-center-roads-utilities.xer", "pyp6xer-sp10-cost-loaded.xer",
                           "schedanalytics-54069-up-20251218.xer"}) {
    const fs::path p = test_support::real_dir() / name;
    if (!fs::exists(p)) continue;
    ++seen;
    view::TesselDoc doc;
    ASSERT_TRUE(doc.open(p.u16string())) << name;
    const load_report& r = doc.document()->report();
    EXPECT_FALSE(r.has_warning()) << name << "\n" << report_text(r);
    EXPECT_FALSE(r.tables_read.empty());
  }
  EXPECT_GT(seen, 0);
}

TEST(LoadReport, WorkbookSheets) {
  catalog::build_catalogs();
  Document_xls doc;
  ASSERT_TRUE(doc.load(test_support::xls_path("full_export.xls")));
  const load_report& r = doc.report();
  EXPECT_EQ(r.format, "XLS workbook");
  EXPECT_FALSE(r.end_marker.has_value());
  EXPECT_EQ(r.activities, doc.task.size());
  ASSERT_FALSE(r.tables_read.empty());
  bool task_sheet = false;
  for (const load_report::table_rows& t : r.tables_read)
    if (t.name == "TASK") task_sheet = t.rows == doc.task.size();
  EXPECT_TRUE(task_sheet) << report_text(r);
  EXPECT_EQ(report_text(r).find("End marker"), std::string::npos);
}

}  // namespace
}  // namespace tessel::document
