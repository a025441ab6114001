// Calendars of real exports: the weekly hours and exception counts read off
// the files by hand, and every calendar of every file building cleanly.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "calendar_oracle.h"
#include "document/calendar.h"

namespace {

using tessel::document::work_calendar;

const std::string kRealDir = std::string(TESSEL_SHARED_DIR) + "/testdata/real";

struct calendar_row {
  std::string id;
  std::string base_id;
  std::u16string data;
};

// A plain scan of the CALENDAR table: the "%F" line names the columns, each
// "%R" line holds one row; bytes become characters one to one.
std::vector<calendar_row> calendar_rows(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<calendar_row> rows;
  std::string line, table;
  std::map<std::string, size_t> column;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string> cells;
    std::stringstream ss(line);
    for (std::string cell; std::getline(ss, cell, '\t');) cells.push_back(cell);
    if (cells.empty()) continue;
    if (cells[0] == "%T") {
      table = cells.size() > 1 ? cells[1] : "";
      column.clear();
    } else if (table == "CALENDAR" && cells[0] == "%F") {
      for (size_t i = 1; i < cells.size(); ++i) column[cells[i]] = i;
    } else if (table == "CALENDAR" && cells[0] == "%R") {
      auto cell = [&](const char* name) {
        auto it = column.find(name);
        return it != column.end() && it->second < cells.size() ? cells[it->second] : std::string();
      };
      calendar_row r{cell("clndr_id"), cell("base_clndr_id"), {}};
      for (unsigned char c : cell("clndr_data")) r.data.push_back(c);
      rows.push_back(std::move(r));
    }
  }
  return rows;
}

work_calendar calendar_of(const std::string& file, const std::string& id) {
  work_calendar c;
  for (const calendar_row& r : calendar_rows(kRealDir + "/" + file)) {
    if (r.id == id) {
      c.build(r.data);
      return c;
    }
  }
  ADD_FAILURE() << "no calendar " << id << " in " << file;
  return c;
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

class CalendarReal : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::is_directory(kRealDir)) GTEST_SKIP() << "no real exports at " << kRealDir;
  }
};

TEST_F(CalendarReal, WeeklyHoursAndExceptionsAsInTheFiles) {
  // Seven 8-hour days, a VIEW node between the weekdays and the exceptions.
  work_calendar seven = calendar_of("aspose-test-5.0.xer", "592");
  EXPECT_EQ(weekday_minutes(seven), (std::vector<int>{480, 480, 480, 480, 480, 480, 480}));
  EXPECT_TRUE(seven.exceptions().empty());

  // Root written with an empty name, indented over DEL line breaks.
  work_calendar hotel = calendar_of("p6viewer-hotel-project.xer", "597");
  EXPECT_EQ(weekday_minutes(hotel), (std::vector<int>{540, 540, 540, 540, 540, 540, 540}));
  EXPECT_EQ(hotel.exceptions().size(), 12u);

  work_calendar five = calendar_of("mpxj-predecessor-calendar.xer", "44739");
  EXPECT_EQ(weekday_minutes(five), (std::vector<int>{0, 480, 480, 480, 480, 480, 0}));
  EXPECT_EQ(five.exceptions().size(), 14u);

  // A worked exception day: 07:30 to 15:30 on day 41462.
  work_calendar bank = calendar_of("pyp6xer-sp10-cost-loaded.xer", "638");
  EXPECT_EQ(weekday_minutes(bank), (std::vector<int>{480, 480, 480, 480, 480, 480, 480}));
  ASSERT_EQ(bank.exceptions().size(), 219u);
  EXPECT_EQ(bank.exceptions()[0].date, day_number_date(41462));
  ASSERT_EQ(bank.period_count(day_number_date(41462)), 1);
  EXPECT_EQ(bank.period(day_number_date(41462), 0).start, 7 * 60 + 30);
  EXPECT_EQ(bank.period(day_number_date(41462), 0).finish, 15 * 60 + 30);

  // 01:00-12:00 and 13:00-00:00: 22 hours a day, the evening shift ending at
  // midnight.
  work_calendar shifts = calendar_of("aspose-encoding1251.xer", "6205");
  EXPECT_EQ(weekday_minutes(shifts), (std::vector<int>{1320, 1320, 1320, 1320, 1320, 1320, 1320}));
  EXPECT_EQ(shifts.exceptions().size(), 54u);

  // Around the clock: 00:00 to 00:00 every day.
  work_calendar elapsed = calendar_of("schedanalytics-54069-bl-20250902.xer", "945946");
  EXPECT_EQ(weekday_minutes(elapsed), (std::vector<int>{1440, 1440, 1440, 1440, 1440, 1440, 1440}));
  EXPECT_TRUE(elapsed.exceptions().empty());
  EXPECT_EQ(elapsed.working_minutes(day_number_date(45000), day_number_date(45007)), 7 * 1440);

  // Friday off, Saturday worked; two days listed twice (six entries).
  work_calendar katara = calendar_of("bishalde-katara-revised-baseline.xer", "639");
  EXPECT_EQ(weekday_minutes(katara), (std::vector<int>{480, 480, 480, 480, 480, 0, 480}));
  EXPECT_EQ(katara.exceptions().size(), 6u);

  // A worked exception with two periods first in a long list.
  work_calendar project = calendar_of("xerpro-bfbps13.xer", "40689");
  EXPECT_EQ(weekday_minutes(project), (std::vector<int>{0, 480, 480, 480, 480, 480, 0}));
  ASSERT_EQ(project.exceptions().size(), 116u);
  EXPECT_EQ(project.period_count(day_number_date(43780)), 2);

  // The calendar whose text stops after "(0||CalendarData()(": no time.
  work_calendar broken = calendar_of("mpxj-invalid-calendar-8.4.xer", "180");
  EXPECT_EQ(weekday_minutes(broken), (std::vector<int>(7, 0)));
  EXPECT_TRUE(broken.exceptions().empty());
}

TEST_F(CalendarReal, EveryCalendarOfEveryFileBuildsAndCountsAsDayByDay) {
  int files = 0, calendars = 0, linked = 0;
  std::set<std::string> without_time;
  for (const auto& entry : std::filesystem::directory_iterator(kRealDir)) {
    if (entry.path().extension() != ".xer") continue;
    ++files;
    std::vector<calendar_row> rows = calendar_rows(entry.path().string());
    std::vector<work_calendar> cals(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) cals[i].build(rows[i].data);
    for (size_t i = 0; i < rows.size(); ++i) {
      for (size_t j = 0; j < rows.size(); ++j) {
        if (!rows[i].base_id.empty() && rows[j].id == rows[i].base_id) {
          cals[i].set_base(&cals[j]);
          ++linked;
          break;
        }
      }
    }
    for (size_t i = 0; i < rows.size(); ++i) {
      ++calendars;
      const work_calendar& c = cals[i];
      EXPECT_EQ(c.raw_text(), rows[i].data);
      // Two years across the exceptions real files hold (2010 to 2025).
      for (int64_t start = day_number_date(40179); start < day_number_date(46000); start += 86400 * 365) {
        int64_t a = start + 9 * 3600 + 1800, b = a + 86400 * 730;
        ASSERT_EQ(c.working_minutes(a, b), tessel::oracle::working_minutes(c, a, b))
            << entry.path().filename() << " calendar " << rows[i].id;
      }
      if (c.working_minutes(day_number_date(43000), day_number_date(43100)) == 0) {
        without_time.insert(entry.path().filename().string() + " " + rows[i].id);
      }
    }
  }
  EXPECT_GE(files, 25);
  EXPECT_GE(calendars, 90);
  // Only these have no working time: a truncated text, an empty cell, and
  // four project calendars written as "(0||()())".
  EXPECT_EQ(without_time,
            (std::set<std::string>{"mpxj-invalid-calendar-8.4.xer 180", "xernative-sample.xer 644",
                                   "xer2csv-johnstown-17.12.xer 6451", "xer2csv-johnstown-17.12.xer 6504",
                                   "xer2csv-johnstown-17.12.xer 6505", "xer2csv-johnstown-17.12.xer 6506"}));
  EXPECT_GE(linked, 2);
}

TEST_F(CalendarReal, DumpListsEveryCalendarWithItsWeek) {
  const std::string cmd =
      std::string(TESSEL_DUMP_EXE) + " --calendars '" + kRealDir + "/aspose-encoding1251.xer' 2>&1";
  FILE* pipe = popen(cmd.c_str(), "r");
  ASSERT_TRUE(pipe);
  std::string out;
  char buf[4096];
  for (size_t n; (n = fread(buf, 1, sizeof buf, pipe)) > 0;) out.append(buf, n);
  EXPECT_EQ(pclose(pipe), 0);
  std::vector<std::string> lines;
  std::stringstream ss(out);
  for (std::string line; std::getline(ss, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 6u);  // the header and five calendars
  EXPECT_EQ(lines[0],
            "clndr_id\tclndr_name\ttype\tbase_clndr_id\tsun_hours\tmon_hours\ttue_hours\twed_hours\t"
            "thu_hours\tfri_hours\tsat_hours\texceptions\tday_hr_cnt\tweek_hr_cnt");
  EXPECT_EQ(lines[3], "6205\t7x24\tGlobal\t\t22\t22\t22\t22\t22\t22\t22\t54\t22\t154");
  EXPECT_EQ(lines[4], "6590\tSANITISED\tGlobal\t178\t10\t10\t10\t10\t10\t10\t10\t21\t10\t60");
}

}  // namespace
