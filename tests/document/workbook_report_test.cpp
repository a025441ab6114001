// What the load report says of a workbook that is not whole: an Activity ID
// taken twice, a date that is no date, relationships and assignments that
// name what no row holds.
#include <gtest/gtest.h>

#include "catalog/field_catalog.h"
#include "document/schedule_file.h"
#include "test_support.h"
#include "xlsx_support.h"

namespace tessel::document {
namespace {

using namespace test_support;

TEST(WorkbookReport, DuplicateIdsAndReferencesThatPointNowhere) {
  catalog::build_catalogs();
  xlsx_parts p;
  p.sheets.push_back(user_data_sheet());
  p.sheets.push_back({"TASK", sheet_xml(text_row({"task_code", "task_name", "start_date"}) +
                                        text_row({"Activity ID", "Name", "Start"}) + text_row({"A1", "Dig", ""}) +
                                        text_row({"A2", "Pour", "soon"}) + text_row({"A1", "Dig again", ""}))});
  // Reading stops at the first row naming an unknown activity; of the rows
  // from there on, two name one.
  p.sheets.push_back({"TASKPRED", sheet_xml(text_row({"task_id", "pred_task_id"}) +
                                            text_row({"Activity", "Predecessor"}) + text_row({"A2", "A1"}) +
                                            text_row({"A9", "A1"}) + text_row({"A2", "A1"}) +
                                            text_row({"A1", "A8"}))});
  p.sheets.push_back({"TASKRSRC", sheet_xml(text_row({"task_id", "rsrc__rsrc_concat_name"}) +
                                            text_row({"Activity", "Resource"}) + text_row({"A1", "X.Nobody"}) +
                                            text_row({"A7", ""}))});
  scratch s;
  const std::filesystem::path path = s.dir / "report.xlsx";
  write_zip(path, xlsx_entries(p));
  const opened_file f = open_schedule(path.u16string(), std::nullopt, [] { catalog::build_catalogs(); });
  ASSERT_TRUE(f.document) << narrow(f.refusal);
  EXPECT_EQ(f.document->taskpred.size(), 1u);
  const load_report& r = f.document->report();
  EXPECT_EQ(r.format, "XLSX workbook");
  ASSERT_EQ(r.row_faults.size(), 1u);
  EXPECT_EQ(r.row_faults[0].table, "TASK");
  const load_report::fault_lines& dup = r.row_faults[0].faults[size_t(row_fault::duplicate_id)];
  EXPECT_EQ(dup.count, 1u);
  EXPECT_EQ(dup.first_lines, std::vector<size_t>{5});  // the sheet's fifth row
  EXPECT_EQ(r.dangling[size_t(dangling_kind::relationship_missing_activity)], 2u);
  EXPECT_EQ(r.dangling[size_t(dangling_kind::assignment_missing_resource)], 1u);
  EXPECT_EQ(r.dangling[size_t(dangling_kind::assignment_missing_activity)], 1u);
  EXPECT_EQ(r.unreadable_dates.count, 1u);  // "soon"; an empty cell is no fault
  EXPECT_EQ(r.unreadable_dates.first_lines, std::vector<size_t>{4});
  EXPECT_TRUE(r.has_warning());
  EXPECT_NE(report_text(r).find("  2 relationships to an activity not in the file\n"), std::string::npos)
      << report_text(r);
}

}  // namespace
}  // namespace tessel::document
