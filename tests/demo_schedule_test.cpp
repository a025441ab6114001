#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "document/calendar.h"
#include "document/xer.h"
#include "values/civil.h"

// The demo schedule that ships with the program (samples/demo.xer, written by
// scripts/make_demo.py) must read cleanly: every table and row in place,
// every value in its own column, and the links between tables intact.

namespace {

using tessel::document::work_calendar;
using tessel::document::xer_doc;
using tessel::document::xer_parser;
using tessel::document::xer_table;

std::u16string u16(const std::string& s) { return std::u16string(s.begin(), s.end()); }

const std::u16string kDemo = u16(TESSEL_SOURCE_DIR "/samples/demo.xer");

// The values of one column of a table, row by row ("" where a row has no cell).
std::vector<std::u16string> column(const xer_table& t, const std::string& name) {
  size_t index = t.fields().size();
  for (size_t i = 0; i < t.fields().size(); ++i) {
    if (t.fields()[i]->name() == u16(name)) index = i;
  }
  std::vector<std::u16string> values;
  for (const auto& row : t.rows()) {
    values.push_back(index < row.size() ? row.cell(index).text() : std::u16string());
  }
  return values;
}

// "2025-09-01 08:00" as seconds since 1970 (the demo writes no other form).
int64_t seconds(const std::u16string& t) {
  auto n = [&](size_t at, size_t len) {
    return std::stoi(std::string(t.begin() + at, t.begin() + at + len));
  };
  return tessel::civil::days_from_civil(n(0, 4), n(5, 2), n(8, 2)) * 86400 + n(11, 2) * 3600 +
         n(14, 2) * 60;
}

double number(const std::u16string& t) { return std::stod(std::string(t.begin(), t.end())); }

std::set<std::u16string> ids(const xer_table& t, const std::string& name) {
  auto v = column(t, name);
  return {v.begin(), v.end()};
}

TEST(DemoSchedule, ReadsEveryTableWithItsRows) {
  std::unique_ptr<xer_doc> doc = xer_parser::parse(kDemo);
  ASSERT_NE(doc, nullptr);
  const std::vector<std::pair<std::string, size_t>> expected = {
      {"CURRTYPE", 1},  {"OBS", 4},        {"UMEASURE", 3},   {"UDFTYPE", 8},
      {"PROJECT", 1},   {"CALENDAR", 3},   {"PROJWBS", 28},   {"RSRC", 18},
      {"RSRCRATE", 15}, {"ACTVTYPE", 2},   {"ACTVCODE", 13},  {"TASK", 80},
      {"TASKACTV", 149}, {"TASKPRED", 115}, {"TASKPROC", 20}, {"TASKRSRC", 92},
      {"UDFVALUE", 105}};
  ASSERT_EQ(doc->tables().size(), expected.size());
  std::map<std::string, const xer_table*> by_name;
  for (size_t i = 0; i < expected.size(); ++i) {
    const xer_table& t = *doc->tables()[i];
    EXPECT_EQ(t.name(), u16(expected[i].first));
    EXPECT_EQ(t.rows().size(), expected[i].second) << expected[i].first;
    // No row runs past its field list; only a trailing empty value may be
    // missing (a final TAB yields no cell).
    for (const auto& row : t.rows()) {
      EXPECT_LE(row.size(), t.fields().size()) << expected[i].first;
      EXPECT_GE(row.size() + 1, t.fields().size()) << expected[i].first;
    }
    by_name[expected[i].first] = &t;
  }

  // Every relationship, assignment, step and code assignment names an
  // activity that exists, and every activity a WBS element and a calendar.
  const auto tasks = ids(*by_name["TASK"], "task_id");
  EXPECT_EQ(tasks.size(), 80u);
  for (const char* table : {"TASKPRED", "TASKRSRC", "TASKPROC", "TASKACTV"}) {
    for (const auto& id : column(*by_name[table], "task_id")) {
      EXPECT_TRUE(tasks.count(id)) << table;
    }
  }
  for (const auto& id : column(*by_name["TASKPRED"], "pred_task_id")) {
    EXPECT_TRUE(tasks.count(id));
  }
  const auto wbs = ids(*by_name["PROJWBS"], "wbs_id");
  for (const auto& id : column(*by_name["TASK"], "wbs_id")) EXPECT_TRUE(wbs.count(id));
  const auto calendars = ids(*by_name["CALENDAR"], "clndr_id");
  for (const auto& id : column(*by_name["TASK"], "clndr_id")) EXPECT_TRUE(calendars.count(id));
  const auto codes = ids(*by_name["TASK"], "task_code");
  EXPECT_EQ(codes.size(), 80u);
  EXPECT_TRUE(codes.count(u"A1000") && codes.count(u"A1880"));

  // Calendar data keeps its nested text whole (it holds no TAB).
  for (const auto& data : column(*by_name["CALENDAR"], "clndr_data")) {
    EXPECT_EQ(data.rfind(u"(0||CalendarData()((0||DaysOfWeek()(", 0), 0u);
    EXPECT_EQ(data.substr(data.size() - 4), u"))))");
  }
  // A byte above 127 is the character of the same code.
  EXPECT_EQ(column(*by_name["UMEASURE"], "unit_abbrev")[0], u"m\u00B2");
}

// The demo's dates were worked out by its own generator; the program's
// calendars must count the same working time between them: an activity's
// remaining duration from its early start to its early finish, its total
// float from its early to its late finish.
TEST(DemoSchedule, DatesAgreeWithTheCalendars) {
  std::unique_ptr<xer_doc> doc = xer_parser::parse(kDemo);
  ASSERT_NE(doc, nullptr);
  std::map<std::string, const xer_table*> by_name;
  for (const auto& t : doc->tables()) {
    by_name[std::string(t->name().begin(), t->name().end())] = t.get();
  }
  ASSERT_TRUE(by_name.count("CALENDAR") && by_name.count("TASK"));

  const xer_table& cal = *by_name["CALENDAR"];
  std::map<std::u16string, work_calendar> calendars;
  const auto cal_ids = column(cal, "clndr_id");
  const auto cal_data = column(cal, "clndr_data");
  const auto cal_base = column(cal, "base_clndr_id");
  for (size_t i = 0; i < cal_ids.size(); ++i) calendars[cal_ids[i]].build(cal_data[i]);
  for (size_t i = 0; i < cal_ids.size(); ++i) {
    if (!cal_base[i].empty()) calendars[cal_ids[i]].set_base(&calendars.at(cal_base[i]));
  }

  // The standard calendar: 2025-12-24 is a half day, 2025-12-25 a holiday,
  // Saturday 2025-11-15 a worked morning.
  const work_calendar& standard = calendars.at(u"601");
  EXPECT_EQ(standard.working_minutes(seconds(u"2025-12-22 08:00"), seconds(u"2025-12-27 08:00")),
            (8 + 8 + 4 + 0 + 0) * 60);
  EXPECT_EQ(standard.working_minutes(seconds(u"2025-11-14 08:00"), seconds(u"2025-11-17 17:00")),
            (8 + 4 + 8) * 60);
  // The crane's calendar keeps its own hours but takes the standard holidays.
  const work_calendar& crane = calendars.at(u"603");
  EXPECT_EQ(crane.working_minutes(seconds(u"2025-12-22 07:00"), seconds(u"2025-12-27 07:00")),
            (8 + 8 + 4 + 0 + 0) * 60);

  const xer_table& task = *by_name["TASK"];
  const auto code = column(task, "task_code");
  const auto status = column(task, "status_code");
  const auto clndr = column(task, "clndr_id");
  const auto es = column(task, "early_start_date");
  const auto ef = column(task, "early_end_date");
  const auto lf = column(task, "late_end_date");
  const auto remain = column(task, "remain_drtn_hr_cnt");
  const auto total_float = column(task, "total_float_hr_cnt");
  int checked = 0;
  for (size_t i = 0; i < code.size(); ++i) {
    if (status[i] == u"TK_Complete") continue;
    const work_calendar& c = calendars.at(clndr[i]);
    EXPECT_EQ(c.working_minutes(seconds(es[i]), seconds(ef[i])), number(remain[i]) * 60)
        << std::string(code[i].begin(), code[i].end());
    EXPECT_EQ(c.working_minutes(seconds(ef[i]), seconds(lf[i])), number(total_float[i]) * 60)
        << std::string(code[i].begin(), code[i].end());
    ++checked;
  }
  EXPECT_GT(checked, 40);
}

}  // namespace
