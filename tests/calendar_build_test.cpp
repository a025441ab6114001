// Calendars read from calendar data: weekday slots, exceptions, the base
// calendar's holidays, period lookup and working-minute counts.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "calendar_oracle.h"
#include "document/calendar.h"
#include "test_support.h"

namespace {

using tessel::document::work_calendar;
using tessel::document::work_period;

constexpr int64_t kDay = 86400;
// 2010-01-04 00:00 UTC, a Monday.
constexpr int64_t kMonday = 1262563200;

int64_t at(int64_t day_start, int hour, int minute = 0) { return day_start + hour * 3600 + minute * 60; }

// Weekdays 08:00-12:00 and 13:00-17:00; Friday 2010-01-01 (day 40179) off,
// Saturday 2010-01-09 (day 40187) worked 09:00 to 11:00.
const std::u16string kStandard = test_support::u16(
    test_support::weekdays_calendar("(0||0(d|40179)())(0||1(d|40187)((0||0(s|09:00|f|11:00)())))"));

TEST(CalendarBuild, ReadsWeekdaysAndExceptions) {
  work_calendar c;
  c.build(kStandard);
  EXPECT_EQ(c.raw_text(), kStandard);
  EXPECT_TRUE(c.weekday(1)->empty());  // Sunday listed without periods
  ASSERT_EQ(c.weekday(2)->size(), 2u);
  EXPECT_EQ((*c.weekday(2))[1].start, 13 * 60);
  EXPECT_EQ((*c.weekday(2))[1].finish, 17 * 60);
  EXPECT_EQ(c.weekday(0), nullptr);
  EXPECT_EQ(c.weekday(8), nullptr);
  ASSERT_EQ(c.exceptions().size(), 2u);
  EXPECT_EQ(c.exceptions()[0].date, 1262304000);  // day 40179 is 2010-01-01
  EXPECT_TRUE(c.exceptions()[0].periods.empty());
  ASSERT_EQ(c.exceptions()[1].periods.size(), 1u);

  // 2010-01-01 is a Friday, normally worked; the exception makes it a day off.
  EXPECT_EQ(c.period_count(1262304000 + 10 * 3600), 0);
  EXPECT_EQ(c.working_minutes(1262304000, 1262304000 + kDay), 0);
  // 2010-01-09 (day 40187) is a Saturday worked 09:00 to 11:00.
  EXPECT_EQ(c.period_count(kMonday + 5 * kDay), 1);
  EXPECT_EQ(c.period(kMonday + 5 * kDay, 0).start, 9 * 60);
  EXPECT_EQ(c.period(kMonday + 5 * kDay, 1).finish, 0);  // past the count
  EXPECT_EQ(c.period(kMonday + 5 * kDay, -1).finish, 0);

  // Building again replaces what was there.
  c.build(u"(0||CalendarData()((0||DaysOfWeek()((0||3()((0||0(s|01:00|f|02:00)())))))))");
  EXPECT_TRUE(c.exceptions().empty());
  EXPECT_TRUE(c.weekday(2)->empty());
  EXPECT_EQ(c.weekday(3)->size(), 1u);

  // Only positive period factors replace the defaults.
  c.set_factors(10, 0, -5, 2400);
  EXPECT_EQ((std::array{c.factors.day, c.factors.week, c.factors.month, c.factors.year}),
            (std::array{10.0, 40.0, 172.0, 2400.0}));
}

TEST(CalendarBuild, SkipsWhatIsIncompleteOrOutOfRange) {
  work_calendar c;
  c.build(
      u"(0||CalendarData()((0||DaysOfWeek()((0||0()((0||0(s|08:00|f|12:00)())))"
      u"(0||9()((0||0(s|08:00|f|12:00)())))"
      u"(0||2()((0||0(s|08:00)())(0||1(f|12:00)())(0||2(s|8|f|17:30)())(0||3(s|:30|f|10:00)())))))"
      u"(0||Exceptions()((0||0(x|40179)())(0||1(d|40180)((0||0(s|08:00)())))))))");
  for (int n = 1; n <= 7; ++n) EXPECT_EQ(c.weekday(n)->size(), n == 2 ? 2u : 0u);
  // "8" has no colon and ":30" starts with it: both read as minute 0.
  EXPECT_EQ((*c.weekday(2))[0].start, 0);
  EXPECT_EQ((*c.weekday(2))[0].finish, 17 * 60 + 30);
  EXPECT_EQ((*c.weekday(2))[1].start, 0);
  ASSERT_EQ(c.exceptions().size(), 1u);  // the child without "d" adds none
  EXPECT_TRUE(c.exceptions()[0].periods.empty());

  // A root named otherwise gives no working time; text without a root neither.
  work_calendar other;
  other.build(u"(0||Calendar()((0||DaysOfWeek()((0||2()((0||0(s|08:00|f|12:00)())))))))");
  for (int n = 1; n <= 7; ++n) EXPECT_TRUE(other.weekday(n)->empty());
  work_calendar empty;
  empty.build(u"");
  EXPECT_EQ(empty.working_minutes(kMonday, kMonday + 30 * kDay), 0);
  // A truncated export keeps what closed before the cut.
  work_calendar cut;
  cut.build(u"(0||CalendarData()(");
  EXPECT_EQ(cut.working_minutes(kMonday, kMonday + 30 * kDay), 0);
}

TEST(CalendarBuild, MidnightFinishEndsTheDay) {
  work_calendar c;
  c.build(
      u"(0||()((0||DaysOfWeek()((0||1()((0||0(s|00:00|f|00:00)())))"
      u"(0||2()((0||0(s|01:00|f|12:00)())(0||1(s|13:00|f|00:00)())))"
      u"(0||3()((0||0(s|00:00|f|00:30)())))))))");
  EXPECT_EQ((*c.weekday(1))[0].start, 0);
  EXPECT_EQ((*c.weekday(1))[0].finish, 1440);
  EXPECT_EQ((*c.weekday(2))[1].finish, 1440);
  EXPECT_EQ((*c.weekday(3))[0].finish, 30);  // only midnight itself moves
  // A whole Sunday (2010-01-03) of the 24-hour day, and the 22-hour Monday.
  EXPECT_EQ(c.working_minutes(kMonday - kDay, kMonday), 1440);
  EXPECT_EQ(c.working_minutes(kMonday, kMonday + kDay), 22 * 60);
}

TEST(CalendarLookup, BaseCalendarHolidaysOverrideOwnWeekdays) {
  work_calendar base;
  base.build(kStandard);
  work_calendar resource;
  resource.build(
      u"(0||CalendarData()((0||DaysOfWeek()((0||6()((0||0(s|07:00|f|15:00)())))))"
      u"(0||Exceptions()((0||0(d|40187)((0||0(s|10:00|f|12:00)())))))))");
  resource.set_base(&base);
  EXPECT_EQ(resource.base(), &base);

  // Friday 2010-01-01: the base's holiday, not the resource's own Friday.
  EXPECT_EQ(resource.period_count(1262304000), 0);
  // Friday 2010-01-08: no exception anywhere, the resource's own Friday.
  EXPECT_EQ(resource.period_count(kMonday + 4 * kDay), 1);
  EXPECT_EQ(resource.period(kMonday + 4 * kDay, 0).start, 7 * 60);
  // Saturday 2010-01-09: both have an exception; the resource's own wins.
  EXPECT_EQ(resource.period(kMonday + 5 * kDay, 0).start, 10 * 60);
  // Monday: the base's weekly pattern is never used.
  EXPECT_EQ(resource.period_count(kMonday), 0);

  // The base gaining a holiday later is seen by the resource.
  EXPECT_EQ(resource.working_minutes(kMonday + 4 * kDay, kMonday + 5 * kDay), 480);
  base.add_exception(kMonday + 4 * kDay);
  EXPECT_EQ(resource.working_minutes(kMonday + 4 * kDay, kMonday + 5 * kDay), 0);
  resource.set_base(nullptr);
  EXPECT_EQ(resource.period_count(1262304000), 1);
}

TEST(CalendarMinutes, CountsWindowsOfTheWorkingDay) {
  work_calendar c;
  c.build(kStandard);
  c.prepare();
  c.prepare();
  EXPECT_EQ(c.working_minutes(at(kMonday, 8), at(kMonday, 17)), 480);
  // Ending at 00:00 ends at minute 1440 of the previous day.
  EXPECT_EQ(c.working_minutes(at(kMonday, 8), kMonday + kDay), 480);
  // 00:30 is minute 1470 of the previous day, not half an hour of the next.
  EXPECT_EQ(c.working_minutes(at(kMonday, 8), at(kMonday + kDay, 0, 30)), 480);
  // A span inside the first hour of one day counts nothing.
  EXPECT_EQ(c.working_minutes(at(kMonday, 0, 5), at(kMonday, 0, 50)), 0);
  EXPECT_EQ(c.working_minutes(at(kMonday, 9, 15), at(kMonday, 13, 30)), 165 + 30);
  // Seconds are not counted.
  EXPECT_EQ(c.working_minutes(at(kMonday, 9) + 59, at(kMonday, 9, 1) + 1), 1);
  EXPECT_EQ(c.working_minutes(at(kMonday, 17), at(kMonday, 8)), 0);
  EXPECT_EQ(c.working_minutes(at(kMonday, 8), at(kMonday, 8)), 0);
  // A week from Monday 00:00 (its Saturday is the worked exception day),
  // and a year of weeks.
  EXPECT_EQ(c.working_minutes(kMonday, kMonday + 7 * kDay), 5 * 480 + 120);
  EXPECT_EQ(c.working_minutes(kMonday, kMonday + 52 * 7 * kDay), 52 * 5 * 480 + 120);
  // From Thursday 2009-12-31 12:30 to the next Monday but one, 10:00:
  // Thursday's afternoon, the New Year holiday, a full week, the worked
  // Saturday, and Monday's first two hours.
  int64_t thursday = kMonday - 4 * kDay;
  EXPECT_EQ(c.working_minutes(at(thursday, 12, 30), at(kMonday + 7 * kDay, 10)),
            240 + 5 * 480 + 120 + 120);
}

TEST(CalendarMinutes, OverlappingAndUnsortedPeriodsEachCount) {
  work_calendar c;
  c.add_period(2, work_period{13 * 60, 17 * 60});
  c.add_period(2, work_period{8 * 60, 14 * 60});
  c.add_period(2, work_period{16 * 60, 15 * 60});  // finishes before it starts
  c.add_period(9, work_period{0, 1440});            // no such weekday
  EXPECT_EQ(c.working_minutes(kMonday, kMonday + kDay), 240 + 360);
  EXPECT_EQ(c.working_minutes(at(kMonday, 13), at(kMonday, 14)), 120);
  EXPECT_EQ(c.working_minutes(kMonday, kMonday + 70 * kDay), 10 * 600);
  EXPECT_EQ(c.weekday_minutes(2), 600);
  EXPECT_EQ(c.weekday_minutes(9), 0);
  // Periods added through the slot pointer after a count are seen.
  c.weekday(3)->push_back(work_period{0, 60});
  EXPECT_EQ(c.working_minutes(kMonday, kMonday + 70 * kDay), 10 * 660);
  auto& e = c.add_exception(kMonday + 7 * kDay + 5000);  // any moment of the day
  EXPECT_EQ(c.working_minutes(kMonday, kMonday + 70 * kDay), 9 * 660 + 60);
  c.add_exception_period(e, work_period{0, 30});
  EXPECT_EQ(c.working_minutes(kMonday, kMonday + 70 * kDay), 9 * 660 + 90);
  // A copy counts on its own after the original changes.
  work_calendar copy = c;
  c.add_exception(kMonday + 14 * kDay);
  EXPECT_EQ(copy.working_minutes(kMonday, kMonday + 70 * kDay), 9 * 660 + 90);
  EXPECT_EQ(c.working_minutes(kMonday, kMonday + 70 * kDay), 8 * 660 + 90 + 60);
  EXPECT_EQ(tessel::oracle::working_minutes(c, kMonday, kMonday + 70 * kDay), 8 * 660 + 90 + 60);
}

TEST(CalendarMinutes, ExtremeMomentsAndDamagedTextStaySafe) {
  work_calendar c;
  c.build(kStandard);
  c.add_exception(std::numeric_limits<int64_t>::min());
  c.add_exception(std::numeric_limits<int64_t>::max());
  const int64_t lo = std::numeric_limits<int64_t>::min(), hi = std::numeric_limits<int64_t>::max();
  const int64_t all = c.working_minutes(lo, hi);
  EXPECT_GT(all, 0);
  // Cutting the span at a midnight splits the count exactly.
  EXPECT_EQ(c.working_minutes(lo, kMonday) + c.working_minutes(kMonday, hi), all);
  EXPECT_EQ(c.working_minutes(hi, lo), 0);

  // Day numbers and times far out of range saturate instead of overflowing.
  work_calendar far;
  far.build(
      u"(0||CalendarData()((0||DaysOfWeek()((0||2()((0||0(s|99999999999:00|f|-99999999999:99)())))))"
      u"(0||Exceptions()((0||0(d|99999999999999)())(0||1(d|-99999999999999)())))))");
  ASSERT_EQ(far.exceptions().size(), 2u);
  EXPECT_EQ(far.working_minutes(kMonday, kMonday + 7 * kDay), 0);

  // Damaged copies of a real calendar text: whatever is read, the fast count
  // agrees with the day-by-day one.
  std::mt19937 rng(99);
  const std::u16string& good = kStandard;
  for (int round = 0; round < 500; ++round) {
    std::u16string text = good;
    for (int k = 0; k < 5; ++k) {
      size_t at = rng() % text.size();
      switch (rng() % 3) {
        case 0: text.erase(at, 1 + rng() % 10); break;
        case 1: text.insert(at, 1, u"()|:0\x7f"[rng() % 6]); break;
        default: text[at] = u"()|:9 "[rng() % 6]; break;
      }
      if (text.empty()) text = good;
    }
    work_calendar d;
    d.build(text);
    int64_t a = kMonday - 10 * kDay + static_cast<int64_t>(rng() % (5 * kDay));
    int64_t b = a + static_cast<int64_t>(rng() % (40 * kDay));
    ASSERT_EQ(d.working_minutes(a, b), tessel::oracle::working_minutes(d, a, b));
  }
}

}  // namespace
