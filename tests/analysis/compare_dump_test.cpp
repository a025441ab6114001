// tessel-dump --compare: the TSV as printed, on exports written here and on
// the consecutive updates of one real schedule (counts checked against an
// independent reading of the files, lines checked by hand).
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "compare_test_support.h"

using compare_test::export_builder;
using test_support::quoted;
using test_support::real_dir;
using test_support::run_dump;

namespace {

std::vector<std::string> split_lines(const std::string& s) {
  std::vector<std::string> out;
  std::istringstream in(s);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

bool has_line(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(CompareDump, PrintsTsvWithTheHeaderAndRefusesAMissingFile) {
  test_support::scratch s;
  export_builder o(100000), n(500000);
  o.project("p", "BL", "2025-01-06 08:00");
  n.project("p", "UP", "2025-01-13 08:00");
  o.task("p", "A1", "Pour", {{"target_drtn_hr_cnt", "8"}});
  n.task("p", "A1", "Pour", {{"target_drtn_hr_cnt", "12.5"}});
  const auto old_path = s.file("old.xer", o.text()), new_path = s.file("new.xer", n.text());
  int status = -1;
  const std::string out = run_dump("--compare " + quoted(old_path) + " " + quoted(new_path), &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(out,
            "project\tactivity_id\tchange\told\tnew\n"
            "UP\t\tdata-date\t2025-01-06 08:00\t2025-01-13 08:00\n"
            "UP\tA1\toriginal-duration\t8\t12.5\n");
  run_dump("--compare " + quoted(old_path) + " " + quoted(s.dir / "none.xer"), &status);
  EXPECT_EQ(status, 1);
  run_dump("--compare " + quoted(old_path), &status);
  EXPECT_EQ(status, 2);
}

TEST(CompareDump, ConsecutiveUpdatesOfARealSchedule) {
  SKIP_WITHOUT_REAL_EXPORTS();
  const char* files[] = {"schedanalytics-54069-bl-20250902.xer", "schedanalytics-54069-up-20251121.xer",
                         "schedanalytics-54069-up-20251204.xer", "schedanalytics-54069-up-20251218.xer"};
  std::vector<std::vector<std::string>> outs;
  std::vector<std::map<std::string, int>> counts;
  for (int i = 0; i < 3; ++i) {
    int status = -1;
    outs.push_back(split_lines(
        run_dump("--compare " + quoted(real_dir() / files[i]) + " " + quoted(real_dir() / files[i + 1]), &status)));
    ASSERT_EQ(status, 0);
    ASSERT_FALSE(outs.back().empty());
    EXPECT_EQ(outs.back()[0], "project\tactivity_id\tchange\told\tnew");
    std::map<std::string, int> c;
    for (size_t k = 1; k < outs.back().size(); ++k) {
      const std::string& l = outs.back()[k];
      const size_t t1 = l.find('\t'), t2 = l.find('\t', t1 + 1), t3 = l.find('\t', t2 + 1);
      ++c[l.substr(t2 + 1, t3 - t2 - 1)];
    }
    counts.push_back(c);
  }
  // The baseline's project is renamed in the update: paired by its IDs.
  const std::vector<std::string>& first = outs[0];
  ASSERT_GE(first.size(), 3u);
  EXPECT_EQ(first[1], "UP-54069-20251121\t\tdata-date\t2025-09-02 17:00\t2025-11-21 17:00");
  EXPECT_EQ(first[2], "UP-54069-20251121\t\tfinish\t2026-01-09 17:00\t2026-02-17 17:00");
  EXPECT_EQ(counts[0], (std::map<std::string, int>{{"added", 4},
                                                   {"calendar", 2},
                                                   {"data-date", 1},
                                                   {"deleted", 1},
                                                   {"finish", 23},
                                                   {"name", 1},
                                                   {"original-duration", 7},
                                                   {"predecessor-added", 10},
                                                   {"predecessor-deleted", 5},
                                                   {"remaining-duration", 10},
                                                   {"start", 22},
                                                   {"status", 5},
                                                   {"total-float", 24},
                                                   {"type", 2}}));
  // Checked by hand against the two files.
  for (const char* line : {"UP-54069-20251121\tPCS-140\tcalendar\tCOCH-7d/w No H\tCOCH-5D/w/ Holidays",
                           "UP-54069-20251121\tPCS-140\toriginal-duration\t256\t160",
                           "UP-54069-20251121\tPCS-140\ttotal-float\t40\t-168",
                           "UP-54069-20251121\tPCS-140\tpredecessor-added\t\tMILE-130 FS 0",
                           "UP-54069-20251121\tC-PH1-RM-10\tstatus\tTK_NotStart\tTK_Complete",
                           "UP-54069-20251121\tIPP-SAFE-20\ttype\tTT_Task\tTT_FinMile",
                           "UP-54069-20251121\tC-PH2-RB-20\tdeleted\tInsulation (ARMICELL) for Chiller\t"})
    EXPECT_TRUE(has_line(first, line)) << line;
  EXPECT_EQ(first.back(), "UP-54069-20251121\tC-PH2-RB-20\tdeleted\tInsulation (ARMICELL) for Chiller\t");
  EXPECT_TRUE(has_line(outs[1], "UP-54069-20251204\tC-PH2-RB-10\tdeleted\tElectrical Rough-ins\t"));
  EXPECT_EQ(counts[1]["total-float"], 19);
  EXPECT_EQ(counts[1]["start"], 13);
  EXPECT_EQ(counts[2]["total-float"], 20);
  EXPECT_EQ(counts[2]["start"], 19);
  EXPECT_EQ(counts[2]["deleted"] + counts[2]["added"], 0);
}

}  // namespace
