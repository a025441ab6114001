// A real spreadsheet export of a large project (7,107 activities, 18,550
// relationships), converted to an Excel 97-2003 workbook: its dates arrive
// as date-time cells.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "catalog/field_catalog.h"
#include "document/document_xls.h"
#include "values/display_prefs.h"
#include "values/enums.h"

namespace tessel::document {
namespace {

const char* const kWorkbook = TESSEL_SHARED_DIR "/testdata/real/xls/delayprediction-p2543-r01-oct24-rel.xls";

TEST(WorkbookReal, DelayPredictionExport) {
  if (!std::filesystem::exists(kWorkbook)) GTEST_SKIP() << "real workbooks not present";
  reset_prefs();
  catalog::build_catalogs();
  const std::string p = kWorkbook;
  Document_xls doc;
  const auto t0 = std::chrono::steady_clock::now();
  ASSERT_TRUE(doc.load(std::u16string(p.begin(), p.end())));
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
  RecordProperty("load_ms", std::to_string(ms));
  std::printf("workbook load (read, import, link, passes, field lookup): %.0f ms\n", ms);

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
  reset_prefs();
}

}  // namespace
}  // namespace tessel::document
