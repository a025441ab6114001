#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "document/calendars/calendar.h"
#include "document/document.h"
#include "document/xer/xer.h"
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
  tessel::document::Document_xer d;
  ASSERT_TRUE(d.load(kDemo));
  auto calendar = [&](uint32_t id) -> const work_calendar& {
    for (const auto& c : d.calendar)
      if (c.clndr_id.value == id) return c.calendar;
    ADD_FAILURE() << "no calendar";
    return d.calendar[0].calendar;
  };
  // The standard calendar: 2025-12-24 is a half day, 2025-12-25 a holiday,
  // Saturday 2025-11-15 a worked morning.
  const work_calendar& standard = calendar(601);
  EXPECT_EQ(standard.working_minutes(seconds(u"2025-12-22 08:00"), seconds(u"2025-12-27 08:00")),
            (8 + 8 + 4 + 0 + 0) * 60);
  EXPECT_EQ(standard.working_minutes(seconds(u"2025-11-14 08:00"), seconds(u"2025-11-17 17:00")),
            (8 + 4 + 8) * 60);
  // The crane's calendar keeps its own hours but takes the standard holidays.
  EXPECT_EQ(calendar(603).working_minutes(seconds(u"2025-12-22 07:00"), seconds(u"2025-12-27 07:00")),
            (8 + 8 + 4 + 0 + 0) * 60);

  int checked = 0;
  for (const auto& t : d.task) {
    if (t.status_code.code == 0) continue;  // completed
    SCOPED_TRACE(std::string(t.task_code.value.begin(), t.task_code.value.end()));
    ASSERT_NE(t.calendar, nullptr);
    const work_calendar& c = t.calendar->calendar;
    EXPECT_EQ(c.working_minutes(t.early_start_date.time, t.early_end_date.time), t.remain_drtn_hr_cnt.hours * 60);
    EXPECT_EQ(c.working_minutes(t.early_end_date.time, t.late_end_date.time), t.total_float_hr_cnt.hours * 60);
    ++checked;
  }
  EXPECT_GT(checked, 40);
}

}  // namespace
