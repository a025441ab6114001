// Comparing two updates of a schedule: every kind of change line, in order,
// on exports whose ids are all renumbered between OLD and NEW, as tessel-dump
// --compare prints them too; the consecutive updates of one real schedule.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <regex>

#include "analysis/schedule_compare.h"
#include "compare_test_support.h"

using namespace tessel;
using namespace tessel::document;
using compare_test::export_builder;
using compare_test::written;
using test_support::narrow;
using test_support::quoted;
using test_support::real_dir;
using test_support::run_dump;

namespace {

// Each line as "project|activity|change|old|new".
std::vector<std::string> lines_of(const std::vector<analysis::change_line>& lines) {
  std::vector<std::string> out;
  for (const analysis::change_line& l : lines) {
    const TASK* t = l.new_task ? l.new_task : l.old_task;
    out.push_back((l.project ? narrow(l.project->proj_short_name.value) : "") + "|" +
                  (t ? narrow(t->task_code.value) : "") + "|" + std::string(analysis::change_kind_text(l.kind)) + "|" +
                  narrow(l.old_text) + "|" + narrow(l.new_text));
  }
  return out;
}

std::vector<analysis::change_line> compare(const std::string& o, const std::string& n) {
  static std::unique_ptr<Document_xer> od, nd;  // the lines point into them until the next compare
  catalog::build_catalogs();
  od = std::make_unique<Document_xer>();
  nd = std::make_unique<Document_xer>();
  EXPECT_TRUE(od->load_bytes(o) && nd->load_bytes(n));
  return analysis::compare_schedules(analysis::match_schedules(*od, *nd));
}
std::vector<analysis::change_line> compare(const export_builder& o, const export_builder& n) {
  return compare(o.text(), n.text());
}

// tests/data/xer/compare-old.xer and compare-new.xer: one project whose
// activities change in every way a line reports (OLD: A1 A2 A3 A4; NEW: A1
// A2 A3 A5), written with export_builder, the ids of OLD from 100000 and of
// NEW from 500000.
using test_support::xer_data;
const std::filesystem::path data_dir = std::filesystem::path(TESSEL_TEST_DATA) / "xer";

// The same export with every six-digit id starting with `from` starting with `to`.
std::string renumbered(const std::string& text, char from, char to) {
  return std::regex_replace(text, std::regex(std::string("\t") + from + "(\\d{5})(?=[\t\r])"),
                            std::string("\t") + to + "$1");
}

TEST(ScheduleCompare, EveryKindOfChangeInItsOrderWithItsDifferenceInDays) {
  const auto lines = compare(xer_data("compare-old.xer"), xer_data("compare-new.xer"));
  const std::vector<std::string> expected{
      "UP-1||data-date|2025-01-06 08:00|2025-02-03 08:00",
      "UP-1||finish|2025-03-01 17:00|2025-02-28 17:00",
      "UP-1|A1|name|Pour|Pour slab",
      "UP-1|A1|type|TT_Task|TT_Rsrc",
      "UP-1|A1|status|TK_NotStart|TK_Active",
      "UP-1|A1|calendar|Standard|Night",
      "UP-1|A1|wbs|E1|E2.1",
      "UP-1|A1|original-duration|40|48",
      "UP-1|A1|remaining-duration|40|24",
      "UP-1|A1|total-float|16|",
      "UP-1|A1|start|2025-01-06 08:00|2025-01-07 08:00",
      "UP-1|A1|finish|2025-01-10 17:00|2025-01-14 17:00",
      "UP-1|A1|constraint|CS_MSO 2025-01-06 08:00|",
      "UP-1|A1|constraint2||CS_MEOB 2025-02-01 17:00",
      "UP-1|A1|percent-complete|0|50",
      "UP-1|A1|predecessor-added||A5 FS 0",
      "UP-1|A1|predecessor-deleted|A4 FS 0|",
      "UP-1|A1|predecessor-changed|A2 SS 8|A2 SS 16",
      "UP-1|A1|predecessor-changed|A3 FF 0|A3 SF 0",
      "UP-1|A2|start|2025-01-02 08:00|2025-01-02 09:00",
      "UP-1|A2|actual-start|2025-01-02 08:00|2025-01-02 09:00",
      "UP-1|A2|actual-finish|2025-01-03 17:00|",
      "UP-1|A5|added||New work",
      "UP-1|A4|deleted|Gone|",
  };
  EXPECT_EQ(lines_of(lines), expected);
  // tessel-dump prints them as TSV under its header.
  int status = -1;
  const std::string old_file = quoted(data_dir / "compare-old.xer");
  std::string printed = run_dump("--compare " + old_file + " " + quoted(data_dir / "compare-new.xer"), &status);
  EXPECT_EQ(status, 0);
  std::replace(printed.begin(), printed.end(), '\t', '|');
  std::string tsv = "project|activity_id|change|old|new\n";
  for (const std::string& l : expected) tsv += l + "\n";
  EXPECT_EQ(printed, tsv);
  run_dump("--compare " + old_file + " " + quoted(data_dir / "none.xer"), &status);
  EXPECT_EQ(status, 1);
  run_dump("--compare " + old_file, &status);
  EXPECT_EQ(status, 2);
  // The differences in days.
  auto delta = [&](const std::string& code, analysis::change_kind k) {
    for (const analysis::change_line& l : lines)
      if (l.kind == k && (code.empty() ? !l.new_task : l.new_task && narrow(l.new_task->task_code.value) == code))
        return l.delta_days;
    ADD_FAILURE() << "no such line";
    return 0.0;
  };
  EXPECT_DOUBLE_EQ(delta("", analysis::change_kind::data_date), 28.0);
  EXPECT_DOUBLE_EQ(delta("", analysis::change_kind::project_finish), -1.0);
  // A1's calendar has 10 hours a day: 8 hours more is 0.8 of a day.
  EXPECT_DOUBLE_EQ(delta("A1", analysis::change_kind::original_duration), 0.8);
  EXPECT_DOUBLE_EQ(delta("A1", analysis::change_kind::remaining_duration), -1.6);
  EXPECT_TRUE(std::isnan(delta("A1", analysis::change_kind::total_float)));
  EXPECT_DOUBLE_EQ(delta("A1", analysis::change_kind::start), 1.0);
  EXPECT_DOUBLE_EQ(delta("A2", analysis::change_kind::start), 1.0 / 24);
  EXPECT_TRUE(std::isnan(delta("A2", analysis::change_kind::actual_finish)));
  EXPECT_TRUE(std::isnan(delta("A1", analysis::change_kind::name)));
}

TEST(ScheduleCompare, AddedAndDeletedProjectsShowOneLineEach) {
  // A renamed project pairs by its shared ID; the others have no partner.
  EXPECT_EQ(lines_of(compare(written("A: X1 | GONE: G1", 100000), written("NEWP: N1 | B: X1", 500000))),
            (std::vector<std::string>{"NEWP||project-added||NEWP", "GONE||project-deleted|GONE|"}));
  // B1 went with the smaller project, which is new: in the paired one it is
  // gone.
  EXPECT_EQ(lines_of(compare(written("BASE: A1 A2 B1", 100000), written("SPLIT-B: B1 | SPLIT-A: A1 A2", 500000))),
            (std::vector<std::string>{"SPLIT-B||project-added||SPLIT-B", "SPLIT-A|B1|deleted|Activity B1|"}));
}

TEST(ScheduleCompare, DuplicateRelationshipsPairByTypeThenByPredecessor) {
  // Three relationships between the same two activities; NEW keeps the FS,
  // changes the SS lag and turns the FF into an SF.
  export_builder o = written("P: S T", 100000), n = written("P: S T", 500000);
  o.pred(0, 1, "PR_FS", "0");
  o.pred(0, 1, "PR_SS", "8");
  o.pred(0, 1, "PR_FF", "0");
  n.pred(0, 1, "PR_SF", "0");
  n.pred(0, 1, "PR_SS", "4.5");  // a part of an hour shows
  n.pred(0, 1, "PR_FS", "0");
  EXPECT_EQ(lines_of(compare(o, n)), (std::vector<std::string>{"P|S|predecessor-changed|T FF 0|T SF 0",
                                                               "P|S|predecessor-changed|T SS 8|T SS 4.5"}));
  // A fourth in NEW is added, whatever its type.
  n.pred(0, 1, "PR_FS", "0");
  EXPECT_EQ(lines_of(compare(o, n)).at(0), "P|S|predecessor-added||T FS 0");
}

TEST(ScheduleCompare, ALaterDuplicateIdIsIgnoredWithItsRelationships) {
  export_builder o = written("P: A1 B", 100000), n = written("P: A1 B", 500000);
  const size_t dup = o.task("P", "A1", "a second A1");
  o.pred(dup, 1);
  const size_t dup_new = n.task("P", "B", "a second B");
  n(dup_new, "status_code") = "TK_Active";
  EXPECT_TRUE(compare(o, n).empty());
}

TEST(ScheduleCompare, WbsPathEndsAtAMissingParentOrALoop) {
  export_builder o = written("P: A B", 100000), n = written("P: A B", 500000);
  o.element("l1", "P", "l2", "L1");
  o.element("l2", "P", "l1", "L2");
  o.element("m", "P", "nowhere", "M");
  o.tasks[0].wbs = "l1";
  o.tasks[1].wbs = "m";
  n.element("x", "P", "", "X");
  n.tasks[0].wbs = "x";  // B stays on the project's own node
  EXPECT_EQ(lines_of(compare(o, n)), (std::vector<std::string>{"P|A|wbs|L2.L1|X", "P|B|wbs|M|"}));
}

// A name may hold a lone CR (the export's reader keeps it); printed, the
// change stays one line of five columns.
TEST(ScheduleCompare, APrintedChangeStaysOneLine) {
  export_builder o = written("P: A", 100000), n = written("P: A", 500000);
  n(0, "task_name") = "Two\rlines";
  test_support::scratch s;
  EXPECT_EQ(run_dump("--compare " + quoted(s.file("o.xer", o.text())) + " " + quoted(s.file("n.xer", n.text()))),
            "project\tactivity_id\tchange\told\tnew\nP\tA\tname\tActivity A\tTwo lines\n");
}

TEST(ScheduleCompare, UnchangedScheduleGivesNoLines) {
  const std::string o = xer_data("compare-old.xer"), n = xer_data("compare-new.xer");
  ASSERT_NE(renumbered(o, '1', '3'), o);
  EXPECT_TRUE(compare(o, renumbered(o, '1', '3')).empty());
  EXPECT_TRUE(compare(renumbered(n, '5', '7'), n).empty());
}

bool has_line(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Counts checked against an independent reading of the files, lines by hand.
TEST(ScheduleCompare, ConsecutiveUpdatesOfARealSchedule) {
  SKIP_WITHOUT_REAL_EXPORTS();
  const char* files[] = {"schedanalytics-54069-bl-20250902.xer", "schedanalytics-54069-up-20251121.xer",
                         "schedanalytics-54069-up-20251204.xer", "schedanalytics-54069-up-20251218.xer"};
  std::vector<std::vector<std::string>> outs;
  std::vector<std::map<std::string, int>> counts(3);
  for (int i = 0; i < 3; ++i) {
    const auto lines =
        compare(test_support::read_file(real_dir() / files[i]), test_support::read_file(real_dir() / files[i + 1]));
    outs.push_back(lines_of(lines));
    for (const analysis::change_line& l : lines) ++counts[i][std::string(analysis::change_kind_text(l.kind))];
  }
  // The baseline's project is renamed in the update: paired by its IDs.
  const std::vector<std::string>& first = outs[0];
  ASSERT_GE(first.size(), 2u);
  EXPECT_EQ(first[0], "UP-54069-20251121||data-date|2025-09-02 17:00|2025-11-21 17:00");
  EXPECT_EQ(first[1], "UP-54069-20251121||finish|2026-01-09 17:00|2026-02-17 17:00");
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
  for (const char* line : {"UP-54069-20251121|PCS-140|calendar|COCH-7d/w No H|COCH-5D/w/ Holidays",
                           "UP-54069-20251121|PCS-140|original-duration|256|160",
                           "UP-54069-20251121|PCS-140|total-float|40|-168",
                           "UP-54069-20251121|PCS-140|predecessor-added||MILE-130 FS 0",
                           "UP-54069-20251121|C-PH1-RM-10|status|TK_NotStart|TK_Complete",
                           "UP-54069-20251121|IPP-SAFE-20|type|TT_Task|TT_FinMile"})
    EXPECT_TRUE(has_line(first, line)) << line;
  EXPECT_EQ(first.back(), "UP-54069-20251121|C-PH2-RB-20|deleted|Insulation (ARMICELL) for Chiller|");
  EXPECT_TRUE(has_line(outs[1], "UP-54069-20251204|C-PH2-RB-10|deleted|Electrical Rough-ins|"));
  EXPECT_EQ(counts[1]["total-float"], 19);
  EXPECT_EQ(counts[1]["start"], 13);
  EXPECT_EQ(counts[2]["total-float"], 20);
  EXPECT_EQ(counts[2]["start"], 19);
  EXPECT_EQ(counts[2]["deleted"] + counts[2]["added"], 0);
}

}  // namespace
