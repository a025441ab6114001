// The real exports beside the project: every one opens with the record counts
// of its tables; every calendar builds and counts as the day-by-day reading does;
// a few calendars hold the hours read off the files by hand.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "calendar_oracle.h"
#include "document/calendars/calendar.h"
#include "document/document.h"
#include "document/load_report.h"
#include "test_support.h"
#include "view/tessel_doc.h"

using namespace tessel;
using namespace tessel::document;
namespace fs = std::filesystem;

namespace {

// Each real export opened once for the whole run, as the viewer opens it.
const Document& opened(const std::string& file) {
  static std::map<std::string, std::unique_ptr<view::TesselDoc>> open;
  std::unique_ptr<view::TesselDoc>& doc = open[file];
  if (!doc) {
    doc = std::make_unique<view::TesselDoc>();
    if (!doc->open((test_support::real_dir() / file).u16string())) throw std::runtime_error("cannot open " + file);
  }
  return *doc->document();
}

const work_calendar& calendar_of(const std::string& file, uint32_t id) {
  for (const CALENDAR& c : opened(file).calendar)
    if (c.clndr_id.value == id) return c.calendar;
  throw std::runtime_error("no such calendar in " + file);
}

std::vector<int> weekday_minutes(const work_calendar& c) {
  std::vector<int> m;
  for (int d = 1; d <= 7; ++d) {
    int sum = 0;
    for (const auto& p : *c.weekday(d)) sum += p.finish - p.start;
    m.push_back(sum);
  }
  return m;
}

int64_t day_number_date(int64_t d) { return (d - 25569) * 86400; }

class RealExports : public ::testing::Test {
 protected:
  void SetUp() override { SKIP_WITHOUT_REAL_EXPORTS(); }
};

}  // namespace

TEST_F(RealExports, EveryFileOpensWithItsRecordCountsAndLoadsAsItsRowsRead) {
  struct counts {
    const char* file;
    size_t projects, activities, relationships, wbs, resources, calendars, assignments;
  };
  const counts expected[] = {
    {"p6viewer-hotel-project.xer", 4, 4236, 7586, 1025, 11, 11, 2278},
    {"pyp6xer-sp10-cost-loaded.xer", 1, 3994, 5966, 2266, 180, 6, 692},
    {"xerpro-bfbps13.xer", 1, 1582, 3030, 277, 2, 4, 966},
    {"bhatticoder-convention-center-roads-utilities.xer", 1, 1193, 1693, 127, 92, 6, 3575},
    {"bishalde-katara-revised-baseline.xer", 1, 931, 1585, 185, 42, 10, 882},
    {"xernative-wk2.xer", 1, 198, 301, 1, 59, 1, 596},
    {"xer2csv-harbour-pointe-17.12.xer", 1, 131, 212, 17, 29, 3, 417},
    {"xer2csv-johnstown-17.12.xer", 3, 134, 139, 90, 8, 6, 151},
    {"bishalde-tx-baseline.xer", 1, 161, 311, 32, 0, 2, 0},
    {"schedanalytics-54069-up-20251121.xer", 1, 50, 70, 23, 0, 5, 0},
    {"schedanalytics-54069-up-20251218.xer", 1, 49, 69, 23, 0, 5, 0},
    {"schedanalytics-54069-up-20251204.xer", 1, 49, 68, 23, 0, 5, 0},
    {"schedanalytics-54069-bl-20250902.xer", 1, 47, 62, 23, 0, 5, 0},
    {"bhatticoder-construction-6.0.xer", 1, 51, 59, 4, 21, 2, 56},
    {"ashspace-xereditor-sample.xer", 1, 52, 61, 6, 0, 1, 0},
    {"xernative-sample.xer", 1, 25, 40, 6, 1, 2, 1},
    {"aspose-encoding1251.xer", 1, 2, 0, 1, 10, 5, 4},
    {"bishalde-2.xer", 1, 9, 10, 5, 0, 1, 0},
    {"mpxjnet-sample1.xer", 1, 3, 0, 1, 0, 1, 0},
    {"aspose-test-5.0.xer", 1, 2, 0, 1, 4, 1, 7},
    {"mpxj-invalid-calendar-8.4.xer", 1, 12, 0, 1, 0, 3, 0},
    {"mpxj-percent-complete-8.4.xer", 1, 12, 0, 1, 0, 1, 0},
    {"mpxjnet-locations.xer", 1, 3, 0, 1, 0, 1, 0},
    {"mpxj-resource-rates-test.xer", 1, 1, 0, 1, 1, 1, 5},
    {"aspose-schedule-options.xer", 4, 0, 0, 4, 0, 1, 0},
    {"mpxj-predecessor-calendar.xer", 1, 1, 0, 1, 0, 1, 0},
    {"mpxj-project-default-calendar.xer", 1, 1, 0, 1, 0, 1, 0},
    {"mpxj-successor-calendar.xer", 1, 1, 0, 1, 0, 1, 0},
    {"mpxjnet-activity-codes.xer", 1, 1, 0, 1, 0, 1, 0},
  };
  size_t counted = 0;
  size_t files = 0, total_tasks = 0, calendars = 0, linked = 0;
  std::set<std::string> without_time;
  for (const auto& entry : fs::directory_iterator(test_support::real_dir())) {
    if (!entry.is_regular_file() || entry.path().extension() != ".xer") continue;
    ++files;
    const std::string name = entry.path().filename().string();
    SCOPED_TRACE(name);
    // Opened as the viewer opens it: the record count of every table.
    const Document& d = opened(name);
    for (const counts& c : expected) {
      if (name != c.file) continue;
      ++counted;
      EXPECT_EQ((std::array{d.project.size(), d.task.size(), d.taskpred.size(), d.projwbs.size(), d.rsrc.size(),
                            d.calendar.size(), d.taskrsrc.size()}),
                (std::array{c.projects, c.activities, c.relationships, c.wbs, c.resources, c.calendars, c.assignments}));
    }
    for (const TASK& t : d.task) {
      const bool has_dates = t.calendar && t.start_date.time > 0 && t.end_date.time >= t.start_date.time;
      EXPECT_FALSE(has_dates && t.total_drtn_hr_cnt.dur_empty) << "a dated activity on a calendar has a duration";
    }
    total_tasks += d.task.size();
    // Every calendar, with its base, counts as the day-by-day reading does
    // over two years across the exceptions real files hold (2010 to 2025).
    for (const CALENDAR& cal : d.calendar) {
      ++calendars;
      const work_calendar& c = cal.calendar;
      linked += c.base() != nullptr;
      for (int64_t start = day_number_date(40179); start < day_number_date(46000); start += 86400 * 365) {
        const int64_t a = start + 9 * 3600 + 1800, b = a + 86400 * 730;
        ASSERT_EQ(c.working_minutes(a, b), tessel::oracle::working_minutes(c, a, b)) << "calendar " << cal.clndr_id.value;
      }
      if (c.working_minutes(day_number_date(43000), day_number_date(43100)) == 0)
        without_time.insert(name + " " + std::to_string(cal.clndr_id.value));
    }
  }
  EXPECT_EQ(counted, std::size(expected));
  // Whole exports leave nothing to warn about in their load report.
  for (const char* name : {"bhatticoder-convention-center-roads-utilities.xer", "pyp6xer-sp10-cost-loaded.xer",
                           "schedanalytics-54069-up-20251218.xer"}) {
    EXPECT_FALSE(opened(name).report().has_warning()) << name << "\n" << report_text(opened(name).report());
    EXPECT_FALSE(opened(name).report().tables_read.empty()) << name;
  }
  EXPECT_GE(files, 25u);
  EXPECT_GT(total_tasks, 1000u);
  EXPECT_GE(calendars, 90u);
  EXPECT_GE(linked, 2u);
  // Only these have no working time: a truncated text, an empty cell, and
  // four project calendars written as "(0||()())".
  EXPECT_EQ(without_time,
            (std::set<std::string>{"mpxj-invalid-calendar-8.4.xer 180", "xernative-sample.xer 644",
                                   "xer2csv-johnstown-17.12.xer 6451", "xer2csv-johnstown-17.12.xer 6504",
                                   "xer2csv-johnstown-17.12.xer 6505", "xer2csv-johnstown-17.12.xer 6506"}));
}

TEST_F(RealExports, CalendarsHoldTheWeeklyHoursAndExceptionsOfTheFiles) {
  struct week {
    const char* file;
    uint32_t id;
    std::vector<int> minutes;
    size_t exceptions;
  };
  const std::vector<int> eights(7, 480), nights(7, 1320), clock(7, 1440), none(7, 0);
  const std::vector<int> five = {0, 480, 480, 480, 480, 480, 0};
  for (const week& w : {
           week{"aspose-test-5.0.xer", 592, eights, 0},  // a VIEW node between weekdays and exceptions
           {"p6viewer-hotel-project.xer", 597, std::vector<int>(7, 540), 12},  // empty root name, DEL line breaks
           {"mpxj-predecessor-calendar.xer", 44739, five, 14},
           {"pyp6xer-sp10-cost-loaded.xer", 638, eights, 219},
           // 01:00-12:00 and 13:00-00:00: the evening shift ends at midnight.
           {"aspose-encoding1251.xer", 6205, nights, 54},
           {"schedanalytics-54069-bl-20250902.xer", 945946, clock, 0},  // 00:00 to 00:00 every day
           // Friday off, Saturday worked; two days listed twice (six entries).
           {"bishalde-katara-revised-baseline.xer", 639, {480, 480, 480, 480, 480, 0, 480}, 6},
           {"xerpro-bfbps13.xer", 40689, five, 116},
           {"mpxj-invalid-calendar-8.4.xer", 180, none, 0}}) {  // text stops after "(0||CalendarData()("
    SCOPED_TRACE(std::string(w.file) + " " + std::to_string(w.id));
    const work_calendar& c = calendar_of(w.file, w.id);
    EXPECT_EQ(weekday_minutes(c), w.minutes);
    EXPECT_EQ(c.exceptions().size(), w.exceptions);
  }
  // A worked exception day: 07:30 to 15:30 on day 41462, first in its list.
  const work_calendar& bank = calendar_of("pyp6xer-sp10-cost-loaded.xer", 638);
  ASSERT_FALSE(bank.exceptions().empty());
  EXPECT_EQ(bank.exceptions()[0].date, day_number_date(41462));
  ASSERT_EQ(bank.period_count(day_number_date(41462)), 1);
  EXPECT_EQ(bank.period(day_number_date(41462), 0).start, 7 * 60 + 30);
  EXPECT_EQ(bank.period(day_number_date(41462), 0).finish, 15 * 60 + 30);
  const work_calendar& elapsed = calendar_of("schedanalytics-54069-bl-20250902.xer", 945946);
  EXPECT_EQ(elapsed.working_minutes(day_number_date(45000), day_number_date(45007)), 7 * 1440);
  // A worked exception with two periods first in a long list.
  EXPECT_EQ(calendar_of("xerpro-bfbps13.xer", 40689).period_count(day_number_date(43780)), 2);

  // tessel-dump lists every calendar with its week.
  int status = -1;
  const std::string out = test_support::run_dump(
      "--calendars " + test_support::quoted(test_support::real_dir() / "aspose-encoding1251.xer"), &status, true);
  EXPECT_EQ(status, 0);
  std::vector<std::string> lines;
  for (size_t at = 0, nl; (nl = out.find('\n', at)) != std::string::npos; at = nl + 1)
    lines.push_back(out.substr(at, nl - at));
  ASSERT_EQ(lines.size(), 6u);  // the header and five calendars
  EXPECT_EQ(lines[0],
            "clndr_id\tclndr_name\ttype\tbase_clndr_id\tsun_hours\tmon_hours\ttue_hours\twed_hours\t"
            "thu_hours\tfri_hours\tsat_hours\texceptions\tday_hr_cnt\tweek_hr_cnt");
  EXPECT_EQ(lines[3], "6205\t7x24\tGlobal\t\t22\t22\t22\t22\t22\t22\t22\t54\t22\t154");
  EXPECT_EQ(lines[4], "6590\tSANITISED\tGlobal\t178\t10\t10\t10\t10\t10\t10\t10\t21\t10\t60");
}

// The demo schedule that ships with the program (samples/demo.xer, written by
// scripts/make_demo.py): its dates agree with its calendars.
namespace {

using tessel::document::work_calendar;

const std::u16string kDemo = test_support::u16(TESSEL_SOURCE_DIR "/samples/demo.xer");

// "2025-09-01 08:00" as seconds since 1970.
int64_t seconds(std::u16string_view t) {
  auto n = [&](size_t at, size_t len) { return std::stoi(test_support::narrow(t.substr(at, len))); };
  return test_support::at(n(0, 4), n(5, 2), n(8, 2), n(11, 2), n(14, 2));
}

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
