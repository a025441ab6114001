// Opening schedules end to end: the open operation's refusals, linking, and
// the values the post-load passes derive, on small exports written here and
// on the real exports beside the project.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "catalog/field_catalog.h"
#include "test_support.h"
#include "document/critical.h"
#include "document/document.h"
#include "values/display_prefs.h"
#include "view/tessel_doc.h"

namespace fs = std::filesystem;
using namespace tessel;
using namespace tessel::document;

namespace {

using test_support::scratch;

using test_support::xer;

const TASK& by_code(const Document& d, const std::u16string& code) {
  for (const TASK& t : d.task)
    if (t.task_code.value == code) return t;
  ADD_FAILURE() << "no activity with that code";
  return d.task[0];
}

// Monday 2024-01-01 starts the week; Wednesday 2024-01-03 (day 45294 counted
// from 1899-12-30) is a holiday of the five-day calendar.
const std::string kFiveDay = test_support::weekdays_calendar("(0||0(d|45294)())");

std::string schedule_text() {
  const std::vector<std::string> task_fields = {
      "%F", "task_id", "proj_id", "wbs_id", "clndr_id", "rsrc_id", "task_code", "task_name", "status_code",
      "task_type", "cstr_type", "act_start_date", "act_end_date", "restart_date", "reend_date", "suspend_date",
      "resume_date", "remain_drtn_hr_cnt"};
  auto task = [](std::string id, std::string code, std::string status, std::string type, std::string cstr,
                 std::string as, std::string ae, std::string rs, std::string re, std::string susp = "",
                 std::string resume = "", std::string remain = "0", std::string cal = "1") {
    return std::vector<std::string>{"%R", id, "1", "13", cal, "", code, "Activity " + code, status, type, cstr,
                                    as,   ae, rs, re,  susp, resume, remain};
  };
  return xer({
      // Relationships before the activities they name: table order does not matter.
      {"%T", "TASKPRED"},
      {"%F", "task_pred_id", "task_id", "pred_task_id", "proj_id", "pred_proj_id", "pred_type", "lag_hr_cnt"},
      {"%R", "1", "101", "100", "1", "1", "PR_FS", "0"},
      {"%R", "2", "101", "9999", "1", "1", "PR_SS", "8"},
      {"%R", "3", "102", "100", "1", "1", "PR_FF", "0"},
      {"%T", "CURRTYPE"},
      {"%F", "curr_id", "curr_symbol", "decimal_symbol", "digit_group_symbol", "curr_short_name"},
      {"%R", "7", "\xA3", ",", ".", "GBP"},
      {"%T", "PROJECT"},
      {"%F", "proj_id", "proj_short_name", "clndr_id"},
      {"%R", "1", "PRJ", "1"},
      {"%T", "CALENDAR"},
      {"%F", "clndr_id", "clndr_name", "clndr_type", "day_hr_cnt", "week_hr_cnt", "clndr_data"},
      {"%R", "1", "Five Day", "CA_Base", "8", "40", kFiveDay},
      // Children stand before their parents, as real exports list them.
      {"%T", "PROJWBS"},
      {"%F", "wbs_id", "proj_id", "parent_wbs_id", "proj_node_flag", "wbs_short_name", "wbs_name"},
      {"%R", "13", "1", "12", "N", "B", "Level two"},
      {"%R", "12", "1", "11", "N", "A", "Level one"},
      {"%R", "11", "1", "500", "Y", "PRJ", "The project"},
      {"%T", "RSRC"},
      {"%F", "rsrc_id", "rsrc_short_name", "rsrc_name", "rsrc_type", "curr_id", "def_qty_per_hr"},
      {"%R", "70", "CONC", "Concrete", "RT_Mat", "7", "2"},
      {"%R", "71", "CREW", "Crew", "RT_Labor", "7", "1"},
      {"%T", "RSRCRATE"},
      {"%F", "rsrc_rate_id", "rsrc_id", "max_qty_per_hr", "cost_per_qty"},
      {"%R", "1", "70", "4", "1234.5"},
      {"%T", "TASKRSRC"},
      {"%F", "taskrsrc_id", "task_id", "proj_id", "rsrc_id"},
      {"%R", "1", "100", "1", "71"},
      {"%R", "2", "100", "2", "70"},  // same activity id, another project: not this activity's
      {"%R", "3", "100", "1", "70"},
      {"%T", "TASKPROC"},
      {"%F", "proc_id", "task_id", "proj_id", "proc_name", "proc_wt"},
      {"%R", "1", "100", "1", "Pour", "1"},
      {"%R", "2", "100", "1", "Cure", "3"},
      {"%T", "TASK"},
      task_fields,
      task("100", "IP", "TK_Active", "TT_Task", "", "2024-01-01 08:00", "", "", "2024-01-05 17:00"),
      task("101", "SUSP", "TK_Active", "TT_Task", "", "2024-01-01 08:00", "", "", "2024-01-12 17:00",
           "2024-01-02 10:00"),
      task("102", "RESUMED", "TK_Active", "TT_Task", "", "2024-01-01 08:00", "", "", "2024-01-12 17:00",
           "2024-01-02 10:00", "2024-01-08 08:00", "16"),
      task("103", "SM", "TK_NotStart", "TT_Mile", "", "", "", "2024-01-08 08:00", "2024-01-08 08:00"),
      {"%T", "TASK"},  // a second TASK table adds to the same list
      task_fields,
      task("104", "FM", "TK_Complete", "TT_FinMile", "", "2024-01-05 17:00", "2024-01-05 17:00", "", ""),
      task("105", "CS", "TK_NotStart", "TT_Task", "CS_MSOA", "", "", "2024-01-08 08:00", "2024-01-09 17:00"),
      task("106", "CF", "TK_NotStart", "TT_Task", "CS_MEOB", "", "", "2024-01-08 08:00", "2024-01-09 17:00"),
      task("107", "DONE", "TK_Complete", "TT_Task", "CS_MSO", "2024-01-01 08:00", "2024-01-02 17:00", "", ""),
      task("108", "NOCAL", "TK_NotStart", "TT_Task", "", "", "", "2024-01-08 08:00", "2024-01-09 17:00", "", "",
           "0", "42"),
      {"%E"},
  });
}

}  // namespace

TEST(OpenSchedule, RefusesWhatIsNotASchedule) {
  scratch s;
  view::TesselDoc doc;
  ASSERT_TRUE(doc.open(s.write("good.xer", schedule_text())));
  const Document* kept = doc.document();

  const std::u16string refused[] = {
      s.write("bom.xer", "\xEF\xBB" "ERMHDR\t19.12\n%T\tTASK\n"),  // a broken byte-order mark
      s.write("lower.xer", "ermhdr\t19.12\n"),
      s.write("longer.xer", "ERMHDRX\t19.12\n"),
      s.write("empty.xer", ""),
      (s.dir / "missing.xer").u16string(),
      (s.dir).u16string() + u"/folder.xer",
  };
  fs::create_directories(s.dir / "folder.xer");
  for (const std::u16string& path : refused) {
    EXPECT_FALSE(doc.open(path)) << fs::path(path).string();
    EXPECT_EQ(doc.document(), kept) << "a refused open keeps the schedule";
    EXPECT_FALSE(doc.refusal_reason().empty()) << fs::path(path).string();
  }
  EXPECT_EQ(view::refusal_message(u"/x/y.xer"), u"Can't open document: /x/y.xer");

  // The first bytes decide, whatever the name says: text under any name
  // opens, and a workbook's signature leads to the workbook reader, which
  // refuses a damaged one outright.
  for (const char* name : {"UPPER.XER", "text.xls", "notes.txt"}) {
    EXPECT_TRUE(doc.open(s.write(name, schedule_text()))) << name;
    ASSERT_NE(doc.document(), nullptr);
    EXPECT_EQ(doc.document()->task.size(), 9u) << name;
  }
  EXPECT_FALSE(doc.open(s.write("workbook.xer", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(600, '\0'))));
  EXPECT_EQ(doc.document(), nullptr);
}

// One schedule opened from a file it may not write to: the file stays as it
// was, the records link whatever the table order, and the post-load passes
// derive dates, durations, roll-ups and prices.
TEST(OpenSchedule, LinksAndDerivesWithoutWritingTheFile) {
  reset_prefs();
  scratch s;
  const std::u16string path = s.write("ro.xer", schedule_text());
  ASSERT_EQ(::chmod(fs::path(path).c_str(), 0444), 0);
  struct stat before {};
  ASSERT_EQ(::stat(fs::path(path).c_str(), &before), 0);
  view::TesselDoc doc;
  ASSERT_TRUE(doc.open(path));
  struct stat after {};
  ASSERT_EQ(::stat(fs::path(path).c_str(), &after), 0);
  EXPECT_EQ(before.st_mtime, after.st_mtime);
  EXPECT_EQ(before.st_size, after.st_size);
  EXPECT_EQ(test_support::read_file(fs::path(path)), schedule_text());
  const Document& d = *doc.document();
  ASSERT_EQ(d.task.size(), 9u);  // both TASK tables

  const TASK& ip = by_code(d, u"IP");
  const TASK& susp = by_code(d, u"SUSP");
  ASSERT_EQ(ip.succ_rels.size(), 2u);
  EXPECT_EQ(ip.succ_rels[0]->task, &susp);
  EXPECT_EQ(susp.pred_rels.size(), 2u);
  EXPECT_EQ(susp.pred_rels[1]->predtask, nullptr);  // names no activity of the file
  EXPECT_EQ(ip.succ_list.value, u"SUSP, RESUMED");
  EXPECT_EQ(susp.pred_list.value, u"IP");  // the missing predecessor adds nothing

  // Assignments match on project and activity id together.
  ASSERT_EQ(ip.assignments.size(), 2u);
  EXPECT_EQ(ip.assignments[0]->rsrc->rsrc_short_name.value, u"CREW");
  EXPECT_EQ(ip.resource_list.value, u"Crew, Concrete");
  EXPECT_EQ(ip.taskrsrc_cnt.value, 2);
  EXPECT_EQ(d.taskrsrc[1].task, nullptr);

  // Step weights become percentages of their sum.
  ASSERT_EQ(ip.steps.size(), 2u);
  EXPECT_DOUBLE_EQ(ip.steps[0]->step_pct.value, 25.0);
  EXPECT_DOUBLE_EQ(ip.steps[1]->step_pct.value, 75.0);

  // The WBS: paths run from the top element down although children come first.
  const PROJECT& p = d.project[0];
  ASSERT_NE(p.top_wbs, nullptr);
  EXPECT_EQ(p.top_wbs->wbs_short_name.value, u"PRJ");
  EXPECT_EQ(ip.projwbs->wbs_path.value, u"PRJ.A.B");
  EXPECT_EQ(ip.projwbs->parent->wbs_path.value, u"PRJ.A");
  EXPECT_EQ(p.top_wbs->node_type.text(), u"Project");
  EXPECT_EQ(ip.projwbs->node_type.text(), u"WBS");
  EXPECT_EQ(p.tasks.size(), 9u);

  // Shown dates: an actual one is marked "A", a constraint marks the date it
  // holds (never an actual one), milestones hide the date they do not have.
  const struct {
    const char16_t *code, *start, *finish;
  } shown[] = {{u"IP", u"1-Jan-2024 A", u"5-Jan-2024"}, {u"SM", u"8-Jan-2024", u""},
               {u"FM", u"", u"5-Jan-2024 A"},           {u"CS", u"8-Jan-2024*", u"9-Jan-2024"},
               {u"CF", u"8-Jan-2024", u"9-Jan-2024*"},  {u"DONE", u"1-Jan-2024 A", u"2-Jan-2024 A"}};
  for (const auto& t : shown) {
    EXPECT_EQ(by_code(d, t.code).start_date.text(), t.start) << test_support::narrow(t.code);
    EXPECT_EQ(by_code(d, t.code).end_date.text(), t.finish) << test_support::narrow(t.code);
  }

  // In progress across the Wednesday holiday: Mon, Tue, Thu, Fri of 8 hours.
  EXPECT_DOUBLE_EQ(ip.total_drtn_hr_cnt.hours, 32.0);
  EXPECT_TRUE(ip.act_drtn_hr_cnt.dur_empty) << "only a suspended activity has an actual duration";
  EXPECT_EQ(ip.active_cnt.value, 1);
  EXPECT_EQ(ip.notstarted_cnt.value, 0);

  // Suspended without a resume date: whole hours worked before the suspension.
  EXPECT_DOUBLE_EQ(susp.total_drtn_hr_cnt.hours, 72.0);
  EXPECT_DOUBLE_EQ(susp.act_drtn_hr_cnt.hours, 10.0);

  // Suspended and resumed: the pause is not counted; actual = total - remaining.
  const TASK& resumed = by_code(d, u"RESUMED");
  EXPECT_DOUBLE_EQ(resumed.total_drtn_hr_cnt.hours, 72.0 - 22.0);
  EXPECT_DOUBLE_EQ(resumed.act_drtn_hr_cnt.hours, 50.0 - 16.0);

  // Milestones hide the dates they do not have, but durations still count them.
  EXPECT_EQ(by_code(d, u"SM").reend_date.text(), u"");
  EXPECT_DOUBLE_EQ(by_code(d, u"SM").total_drtn_hr_cnt.hours, 0.0);
  EXPECT_EQ(by_code(d, u"FM").act_start_date.text(), u"");
  EXPECT_EQ(by_code(d, u"FM").complete_cnt.value, 1);

  // Without a calendar there is nothing to count working time in.
  const TASK& nocal = by_code(d, u"NOCAL");
  EXPECT_EQ(nocal.calendar, nullptr);
  EXPECT_TRUE(nocal.total_drtn_hr_cnt.dur_empty);
  EXPECT_EQ(nocal.total_drtn_hr_cnt.text(), u"");

  // The leaf element holds every activity; its counts are its own activities'.
  const PROJWBS& leaf = *ip.projwbs;
  EXPECT_EQ(leaf.task_cnt.value, 9);
  EXPECT_EQ(leaf.complete_cnt.value, 2);
  EXPECT_EQ(leaf.active_cnt.value, 3);
  EXPECT_EQ(leaf.notstarted_cnt.value, 4);
  EXPECT_EQ(leaf.act_start_date.text(), u"1-Jan-2024");
  EXPECT_EQ(leaf.act_end_date.text(), u"5-Jan-2024");
  EXPECT_EQ(leaf.parent->task_cnt.value, 0) << "a parent counts only its own activities";

  // The project rolls its top element's subtree up.
  EXPECT_EQ(p.task_cnt.value, 9);
  EXPECT_EQ(p.complete_cnt.value, 2);
  EXPECT_EQ(p.start_date.text(), u"1-Jan-2024");
  EXPECT_EQ(p.end_date.text(), u"12-Jan-2024");
  EXPECT_DOUBLE_EQ(p.total_drtn_hr_cnt.hours, 72.0);

  // A material resource is priced per unit in its own currency's symbols.
  const RSRC& conc = d.rsrc[0];
  ASSERT_NE(conc.rate, nullptr);
  ASSERT_NE(conc.currency, nullptr);
  EXPECT_EQ(conc.cost_per_qty.text(), u"\u00A31.234,50/unit");
  EXPECT_EQ(conc.def_qty_per_hr.kind, s_unit::plain_rate);
  EXPECT_EQ(d.rsrc[1].cost_per_qty.text(), u"") << "a resource without prices shows none";
}

TEST(OpenSchedule, DamagedFilesGivePartialSchedulesNeverACrash) {
  scratch s;
  const std::string full = schedule_text();
  view::TesselDoc doc;
  // Every cut of the file opens; a cut never finds more activities than the whole.
  for (size_t cut = 7; cut < full.size(); cut += 97) {
    ASSERT_TRUE(doc.open(s.write("cut.xer", full.substr(0, cut)))) << cut;
    EXPECT_LE(doc.document()->task.size(), 9u);
  }
  // Random bytes after the header.
  std::string noise = "ERMHDR\t1\n";
  uint32_t x = 12345;
  for (int i = 0; i < 200000; ++i) {
    x = x * 1103515245u + 12345u;
    const char pick[] = {'\t', '\n', '\r', '%', 'T', 'R', 'F', 'E', '(', ')', '|', char(x >> 24)};
    noise += pick[(x >> 16) % sizeof pick];
  }
  EXPECT_TRUE(doc.open(s.write("noise.xer", noise)));
  // Known tables with garbage in every cell.
  EXPECT_TRUE(doc.open(s.write("garbage.xer", xer({{"%T", "TASK"},
                                                  {"%F", "task_id", "clndr_id", "act_start_date", "status_code"},
                                                  {"%R", "x", "-1", "2024-13-45 99:99", "\x01\xFF"},
                                                  {"%T", "CALENDAR"},
                                                  {"%F", "clndr_id", "clndr_data"},
                                                  {"%R", "-1", "((((((((|||)))"}}))));
  EXPECT_EQ(doc.document()->task.size(), 1u);
}

// Critical means work still to do with no total float left.
TEST(OpenSchedule, CriticalActivitiesHaveNoFloatLeft) {
  scratch s;
  view::TesselDoc doc;
  ASSERT_TRUE(doc.open(s.write("c.xer", xer({{"%T", "TASK"},
                                            {"%F", "task_id", "task_code", "status_code", "total_float_hr_cnt"},
                                            {"%R", "1", "NEG", "TK_NotStart", "-8"},
                                            {"%R", "2", "ZERO", "TK_Active", "0"},
                                            {"%R", "3", "SLACK", "TK_NotStart", "16"},
                                            {"%R", "4", "BLANK", "TK_NotStart", ""},
                                            {"%R", "5", "DONE", "TK_Complete", "0"}}))));
  const Document& d = *doc.document();
  const catalog::field_entry* critical = catalog::find_field(catalog::catalog_kind::activity, u"critical_flag");
  ASSERT_NE(critical, nullptr);
  std::u16string shown;
  for (const TASK& t : d.task) shown += d.fields().value(t, critical->field_id).text() + u" ";
  EXPECT_EQ(shown, u"Yes Yes No No No ");
}

// An activity is critical by its own project's rule: on the driving path
// where the project calls the longest path critical, else with total float
// at most the project's threshold; finished work never is.
TEST(OpenSchedule, CriticalFollowsEachProjectsRule) {
  scratch s;
  view::TesselDoc doc;
  const std::u16string path = s.write("critical.xer", xer({
      {"%T", "PROJECT"},
      {"%F", "proj_id", "proj_short_name", "critical_path_type", "critical_drtn_hr_cnt"},
      {"%R", "1", "LONGEST", "CT_DrivPath", "80"},
      {"%R", "2", "FLOAT16", "CT_TotFloat", "16"},
      {"%R", "3", "PLAIN", "", ""},
      {"%T", "TASK"},
      {"%F", "task_id", "proj_id", "task_code", "status_code", "driving_path_flag", "total_float_hr_cnt"},
      {"%R", "10", "1", "L-drv", "TK_Active", "Y", "40"},
      {"%R", "11", "1", "L-neg", "TK_NotStart", "N", "-8"},
      {"%R", "12", "1", "L-done", "TK_Complete", "Y", "0"},
      {"%R", "20", "2", "F-16", "TK_NotStart", "N", "16"},
      {"%R", "21", "2", "F-17", "TK_NotStart", "Y", "17"},
      {"%R", "22", "2", "F-none", "TK_NotStart", "N", ""},
      {"%R", "30", "3", "P-0", "TK_NotStart", "N", "0"},
      {"%R", "31", "3", "P-1", "TK_Active", "N", "1"},
      {"%R", "40", "99", "orphan", "TK_Active", "N", "-1"},
  }));
  ASSERT_TRUE(doc.open(path));
  const Document& d = *doc.document();
  ASSERT_EQ(d.task.size(), 9u);
  const std::pair<const char16_t*, bool> expected[] = {
      {u"L-drv", true}, {u"L-neg", false}, {u"L-done", false}, {u"F-16", true},   {u"F-17", false},
      {u"F-none", false}, {u"P-0", true}, {u"P-1", false},   {u"orphan", true}};
  for (const auto& [code, critical] : expected) {
    EXPECT_EQ(by_code(d, code).critical_flag.value != 0, critical) << test_support::narrow(code);
    EXPECT_EQ(is_critical(by_code(d, code)), critical) << test_support::narrow(code);
  }
}
