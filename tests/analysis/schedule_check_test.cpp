// The schedule check on crafted schedules whose every count is worked out
// by hand, through the core and through tessel-dump.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "analysis/check_text.h"
#include "analysis/schedule_check.h"
#include "test_support.h"
#include "view/tessel_doc.h"

using namespace tessel;
using analysis::check_kind;
using analysis::check_result;
using test_support::run_dump;
using test_support::xer;

namespace {

// Schedules kept in tests/data/xer; each activity's name says what it is
// there for.
std::filesystem::path data(const char* name) { return std::filesystem::path(TESSEL_TEST_DATA) / "xer" / name; }

// ALPHA judges float by a threshold of 0 hours, BETA by the driving path;
// both have the data date Monday 2024-03-04 08:00. C10 works 10 hours a day.
// Relationships: A1 -> A2 -> A3 -> A8 (lag -8 h), A9 -> A4 (SS, 16 h),
// A4 -> A5 (FF), A5 -> A8 (SF), A9 -> A10, A6 -> A9, A8 -> A7 (a WBS
// summary: not counted), A9 -> A1 (8 h lag; completed: not counted), B3 -> A2,
// B3 -> B1. A2 has a resource, A3 a role without one (an assignment too).
const std::string two_projects = test_support::quoted(data("check-two-projects.xer"));

const char* const two_projects_table =
    "project\tcheck\tcount\tof\tvalue\tlimit\tresult\n"
    "ALPHA\tlogic\t2\t8\t25.0\t<=5%\tfail\n"
    "ALPHA\tleads\t1\t9\t11.1\t=0\tfail\n"
    "ALPHA\tlags\t1\t9\t11.1\t<=5%\tfail\n"
    "ALPHA\tfinish-to-start\t6\t9\t66.7\t>=90%\tfail\n"
    "ALPHA\thard-constraints\t3\t8\t37.5\t<=5%\tfail\n"
    "ALPHA\thigh-float\t1\t8\t12.5\t<=5%\tfail\n"
    "ALPHA\tnegative-float\t1\t8\t12.5\t=0\tfail\n"
    "ALPHA\thigh-duration\t2\t8\t25.0\t<=5%\tfail\n"
    "ALPHA\tinvalid-dates\t2\t11\t18.2\t=0\tfail\n"
    "ALPHA\tresources\t5\t8\t62.5\t\tinfo\n"
    "ALPHA\tmissed\t3\t4\t75.0\t<=5%\tfail\n"
    "ALPHA\tcritical-path\t4\t\t\t\tpass\n"
    "ALPHA\tcpli\t\t\t0.99\t>=0.95\tpass\n"
    "ALPHA\tbei\t3\t4\t0.75\t>=0.95\tfail\n"
    "ALPHA\topen-start\t2\t8\t25.0\t<=5%\tfail\n"
    "ALPHA\topen-finish\t3\t8\t37.5\t<=5%\tfail\n"
    "ALPHA\tstart-to-finish\t1\t9\t11.1\t=0\tfail\n"
    "ALPHA\tout-of-sequence\t3\t5\t60.0\t\tinfo\n"
    "BETA\tlogic\t3\t3\t100.0\t<=5%\tfail\n"
    "BETA\tleads\t0\t1\t0.0\t=0\tpass\n"
    "BETA\tlags\t0\t1\t0.0\t<=5%\tpass\n"
    "BETA\tfinish-to-start\t1\t1\t100.0\t>=90%\tpass\n"
    "BETA\thard-constraints\t0\t3\t0.0\t<=5%\tpass\n"
    "BETA\thigh-float\t0\t3\t0.0\t<=5%\tpass\n"
    "BETA\tnegative-float\t1\t3\t33.3\t=0\tfail\n"
    "BETA\thigh-duration\t0\t3\t0.0\t<=5%\tpass\n"
    "BETA\tinvalid-dates\t0\t3\t0.0\t=0\tpass\n"
    "BETA\tresources\t3\t3\t100.0\t\tinfo\n"
    "BETA\tmissed\t\t\t\t<=5%\tn/a\n"
    "BETA\tcritical-path\t2\t\t\t\tpass\n"
    "BETA\tcpli\t\t\t2.57\t>=0.95\tpass\n"
    "BETA\tbei\t\t\t\t>=0.95\tn/a\n"
    "BETA\topen-start\t2\t3\t66.7\t<=5%\tfail\n"
    "BETA\topen-finish\t2\t3\t66.7\t<=5%\tfail\n"
    "BETA\tstart-to-finish\t0\t1\t0.0\t=0\tpass\n"
    "BETA\tout-of-sequence\t0\t1\t0.0\t\tinfo\n"
    "#\tbaseline=planned\n";

std::vector<std::string> codes(const analysis::check_line& l) {
  std::vector<std::string> out;
  for (const document::TASK* t : l.activities) out.push_back(test_support::narrow(t->task_code.value));
  return out;
}

const analysis::check_line& line(const analysis::project_check& p, check_kind k) {
  return p.lines[static_cast<size_t>(k)];
}

}  // namespace

TEST(ScheduleCheck, EachCheckCountsWhatItShould) {
  EXPECT_EQ(run_dump("--check " + two_projects), two_projects_table);

  view::TesselDoc doc;
  ASSERT_TRUE(doc.open(data("check-two-projects.xer").u16string()));
  const analysis::schedule_check c = analysis::check_schedule(*doc.document());
  EXPECT_FALSE(c.baseline_file);
  ASSERT_EQ(c.projects.size(), 2u);
  // What the lists of --check-list below do not show.
  const analysis::project_check& alpha = c.projects[0];
  EXPECT_EQ(codes(line(alpha, check_kind::high_float)), (std::vector<std::string>{"A4"}));
  EXPECT_EQ(codes(line(alpha, check_kind::high_duration)), (std::vector<std::string>{"A3", "A5"}));
  EXPECT_EQ(codes(line(alpha, check_kind::invalid_dates)), (std::vector<std::string>{"A9", "A10"}));
  // A1 finished, yet started before its FS predecessor A9 finished.
  EXPECT_EQ(codes(line(alpha, check_kind::out_of_sequence)), (std::vector<std::string>{"A1", "A2", "A10"}));
  // (58 days 9 hours - 0.8 days of 10 hours) / 58 days 9 hours.
  EXPECT_NEAR(line(alpha, check_kind::cpli).value, 57.575 / 58.375, 1e-12);
  EXPECT_EQ(line(alpha, check_kind::lags).relationships.size(), 1u);
  EXPECT_EQ(line(c.projects[1], check_kind::bei).result, check_result::not_applicable);
}

TEST(ScheduleCheck, ListsNameWhatEachCheckCounts) {
  const std::string& file = two_projects;
  EXPECT_EQ(run_dump("--check-list logic " + file), "ALPHA\tA10\nALPHA\tA11\nBETA\tB1\nBETA\tB2\nBETA\tB3\n");
  EXPECT_EQ(run_dump("--check-list leads " + file), "ALPHA\tA3\tA8\n");
  // Relationships by their successors in file order.
  EXPECT_EQ(run_dump("--check-list finish-to-start " + file),
            "ALPHA\tA1\tA2\nALPHA\tB3\tA2\nALPHA\tA2\tA3\nALPHA\tA3\tA8\nALPHA\tA6\tA9\nALPHA\tA9\tA10\n"
            "BETA\tB3\tB1\n");
  // ALPHA's path leaves its project through B3, critical by BETA's own rule.
  EXPECT_EQ(run_dump("--check-list critical-path " + file),
            "ALPHA\tA8\nALPHA\tA3\nALPHA\tA2\nALPHA\tB3\nBETA\tB1\nBETA\tB3\n");
  // BETA's latest critical activity is B1 on the driving path, not B2 with its negative float.
  EXPECT_EQ(run_dump("--check-list cpli " + file), "ALPHA\tA8\nBETA\tB1\n");
  EXPECT_EQ(run_dump("--check-list bei " + file), "ALPHA\tA1\nALPHA\tA12\nALPHA\tA13\n");
  EXPECT_EQ(run_dump("--check-list resources " + file),
            "ALPHA\tA4\nALPHA\tA5\nALPHA\tA9\nALPHA\tA10\nALPHA\tA11\nBETA\tB1\nBETA\tB2\nBETA\tB3\n");
  EXPECT_EQ(run_dump("--check-list missed " + file), "ALPHA\tA1\nALPHA\tA2\nALPHA\tA9\n");
  int status = 0;
  const std::string refused = run_dump("--check-list float " + file, &status, true);
  EXPECT_EQ(status, 2);
  EXPECT_NE(refused.find("unknown check float"), std::string::npos) << refused;
  run_dump("--check", &status);
  EXPECT_EQ(status, 2);
  run_dump("--check --baseline " + file, &status);
  EXPECT_EQ(status, 2);
}

// A baseline file gives the finishes to meet: the forecast finishes of the
// same Activity IDs in the project of the same name, whatever the ids.
TEST(ScheduleCheck, BaselineFinishesComeFromTheBaselineFile) {
  // ALPHA's A1 (met exactly), A2 (not due yet), A9, A10 (due on the data
  // date) and A13, under other ids.
  const std::string base = test_support::quoted(data("check-baseline.xer"));
  const std::string out = run_dump("--check --baseline " + base + " " + two_projects);
  EXPECT_NE(out.find("ALPHA\tmissed\t2\t3\t66.7\t<=5%\tfail\n"), std::string::npos) << out;
  // Three completed against three due: the early finisher A13 counts too.
  EXPECT_NE(out.find("ALPHA\tbei\t3\t3\t1.00\t>=0.95\tpass\n"), std::string::npos) << out;
  // BETA has no partner in the baseline: nothing is due.
  EXPECT_NE(out.find("BETA\tmissed\t\t\t\t<=5%\tn/a\n"), std::string::npos) << out;
  ASSERT_GE(out.size(), 16u);
  EXPECT_EQ(out.substr(out.size() - 16), "#\tbaseline=file\n");
  EXPECT_EQ(run_dump("--check-list missed --baseline " + base + " " + two_projects),
            "ALPHA\tA9\nALPHA\tA10\n");
}

// Without a data date the date checks do not apply; a project without
// activities has nothing to judge; without assignments in the file the
// resource check does not apply; a critical path must begin by the first
// working hour after the data date.
TEST(ScheduleCheck, DataDatesEmptyProjectsAndWhereThePathBegins) {
  // GAMMA's data date is a Saturday: work resumes Monday 08:00. G1 -> G2,
  // G3 finishing with G2; DELTA's D0 (a critical level of effort) -> D2 ->
  // D3, D1 with float; EPSILON has no data date, EMPTY no activity; ZETA's
  // only activity finishes on the data date.
  const std::string file = test_support::quoted(data("check-data-dates.xer"));
  const std::string out = run_dump("--check " + file);
  for (const char* expected : {
           "GAMMA\tcritical-path\t2\t\t\t\tpass\n", "GAMMA\tresources\t\t\t\t\tn/a\n",
           "DELTA\tcritical-path\t2\t\t\t\tfail\n", "EPSILON\tlogic\t1\t1\t100.0\t<=5%\tfail\n",
           "EPSILON\tinvalid-dates\t\t\t\t=0\tn/a\n", "EPSILON\tmissed\t\t\t\t<=5%\tn/a\n",
           "EPSILON\tcritical-path\t\t\t\t\tn/a\n", "EPSILON\tcpli\t\t\t\t>=0.95\tn/a\n",
           "EPSILON\tbei\t\t\t\t>=0.95\tn/a\n", "EMPTY\tlogic\t\t\t\t<=5%\tn/a\n",
           "EMPTY\tleads\t\t\t\t=0\tn/a\n", "EMPTY\tcritical-path\t\t\t\t\tn/a\n",
           "EMPTY\tout-of-sequence\t\t\t\t\tn/a\n", "ZETA\tcritical-path\t1\t\t\t\tpass\n",
           "ZETA\tcpli\t\t\t\t>=0.95\tn/a\n", "ZETA\tinvalid-dates\t0\t1\t0.0\t=0\tpass\n"})
    EXPECT_NE(out.find(expected), std::string::npos) << expected << "\n" << out;
  // Five projects of 18 lines, the header and the baseline line.
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 5 * 18 + 2);
}

// Percentages and indexes round half up from the exact fraction; pass or
// fail is judged before rounding.
TEST(ScheduleCheck, RoundsHalfUpAndJudgesTheExactValue) {
  std::vector<std::vector<std::string>> r = {
      {"%T", "PROJECT"},
      {"%F", "proj_id", "proj_short_name", "last_recalc_date"},
      {"%R", "1", "P120", "2024-03-04 08:00"},
      {"%R", "2", "P119", "2024-03-04 08:00"},
      {"%R", "3", "P80", "2024-03-04 08:00"},
      {"%T", "TASK"},
      {"%F", "task_id", "proj_id", "task_code", "status_code", "total_float_hr_cnt", "target_end_date",
       "early_end_date"}};
  int id = 0;
  // 120 and 119 activities, all due, 6 of each not finished; 80 open
  // activities, one with negative float.
  for (auto [project, activities, open] : {std::tuple{1, 120, 6}, std::tuple{2, 119, 6}, std::tuple{3, 80, 80}}) {
    for (int i = 0; i < activities; ++i) {
      ++id;
      r.push_back({"%R", std::to_string(id), std::to_string(project), "T" + std::to_string(id),
                   i < open ? "TA_NotStarted" : "TK_Complete", project == 3 && i == 0 ? "-8" : "8",
                   project == 3 ? "" : "2024-03-01 17:00", "2024-03-20 17:00"});
    }
  }
  test_support::scratch s;
  const std::string out = run_dump("--check " + test_support::quoted(s.file("many.xer", xer(r))));
  // 6 of 120 is 5 % exactly; 6 of 119 is 5.04 %, shown 5.0 but over the limit.
  EXPECT_NE(out.find("P120\tmissed\t6\t120\t5.0\t<=5%\tpass\n"), std::string::npos) << out;
  EXPECT_NE(out.find("P119\tmissed\t6\t119\t5.0\t<=5%\tfail\n"), std::string::npos) << out;
  // 114 / 120 = 0.95 passes; 113 / 119 = 0.9496 shows 0.95 and fails.
  EXPECT_NE(out.find("P120\tbei\t114\t120\t0.95\t>=0.95\tpass\n"), std::string::npos) << out;
  EXPECT_NE(out.find("P119\tbei\t113\t119\t0.95\t>=0.95\tfail\n"), std::string::npos) << out;
  // 1 of 80 is 1.25 %: up to 1.3.
  EXPECT_NE(out.find("P80\tnegative-float\t1\t80\t1.3\t=0\tfail\n"), std::string::npos) << out;

  // Halves go up, where printing the nearest double would go down (a
  // percentage's half is P80's above).
  analysis::check_line share;
  share.kind = check_kind::bei;
  share.result = check_result::fail;
  share.count = 39;
  share.of = 40;  // 0.975
  EXPECT_EQ(analysis::cells_of(share).value, "0.98");
  share.kind = check_kind::cpli;
  share.value = 0.945;
  EXPECT_EQ(analysis::cells_of(share).value, "0.95");
  EXPECT_EQ(analysis::cells_of(share).count, "");
}

// Every real export gives 18 sound lines per project.
TEST(ScheduleCheck, RealExportsGiveSoundLines) {
  SKIP_WITHOUT_REAL_EXPORTS();
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(test_support::real_dir())) {
    if (entry.path().extension() != ".xer") continue;
    view::TesselDoc doc;
    ASSERT_TRUE(doc.open(entry.path().u16string())) << entry.path();  // every real export opens
    ++files;
    const analysis::schedule_check c = analysis::check_schedule(*doc.document());
    EXPECT_EQ(c.projects.size(), doc.document()->project.size());
    for (const analysis::project_check& p : c.projects) {
      for (const analysis::check_line& l : p.lines) {
        SCOPED_TRACE(entry.path().filename().string() + " " + std::string(analysis::check_name(l.kind)));
        if (l.result == check_result::not_applicable) continue;
        if (l.kind == check_kind::cpli) {
          EXPECT_EQ(l.activities.size(), 1u);
          continue;
        }
        EXPECT_EQ(l.count, static_cast<int64_t>(l.activities.size() + l.relationships.size()));
        // The execution index may exceed 1: work finished early counts too.
        if (l.kind != check_kind::bei && l.kind != check_kind::critical_path) {
          EXPECT_LE(l.count, l.of);
        }
      }
    }
  }
  EXPECT_GT(files, 20);
}
