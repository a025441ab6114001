// Calendars: what calendar data builds (weekday slots, exceptions, the base
// calendar's holidays), period lookup and working-minute counts, and the fast
// count against the plain day-by-day reading on random spans over calendars
// of every awkward shape.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "calendar_oracle.h"
#include "document/calendars/calendar.h"
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

// A calendar as one text: weekdays 0 to 8 with their periods in minutes
// ("-" where there is no such weekday), then each exception's date and
// periods.
std::string shape(const work_calendar& c) {
  std::string s;
  auto periods = [&s](auto list) {
    for (const work_period& p : list) s += " " + std::to_string(p.start) + "-" + std::to_string(p.finish);
  };
  for (int n = 0; n <= 8; ++n) {
    s += std::to_string(n) + (c.weekday(n) ? ":" : "-");
    if (c.weekday(n)) periods(*c.weekday(n));
    s += "|";
  }
  for (const auto& e : c.exceptions()) {
    s += "\n" + std::to_string(e.date) + ":";
    periods(c.exception_periods(e));
  }
  return s;
}

// The periods a calendar works on the day of t, in minutes, as one text.
std::string day(const work_calendar& c, int64_t t) {
  std::string s;
  for (int i = 0; i < c.period_count(t); ++i)
    s += std::to_string(c.period(t, i).start) + "-" + std::to_string(c.period(t, i).finish) + " ";
  return s;
}

TEST(CalendarBuild, ReadsWeekdaysAndExceptionsSkippingWhatItCannotUse) {
  work_calendar c;
  c.build(kStandard);
  EXPECT_EQ(c.raw_text(), kStandard);
  // Sunday listed without periods; day 40179 is 2010-01-01.
  const std::string week = "0-|1:|2: 480-720 780-1020|3: 480-720 780-1020|4: 480-720 780-1020|5: 480-720 780-1020|";
  EXPECT_EQ(shape(c), week + "6: 480-720 780-1020|7:|8-|\n1262304000:\n1262995200: 540-660");

  // 2010-01-01 is a Friday, normally worked; the exception makes it a day off.
  // 2010-01-09 (day 40187) is a Saturday worked 09:00 to 11:00.
  EXPECT_EQ(day(c, 1262304000 + 10 * 3600) + "|" + day(c, kMonday + 5 * kDay), "|540-660 ");
  EXPECT_EQ(c.working_minutes(1262304000, 1262304000 + kDay), 0);
  EXPECT_EQ(c.period(kMonday + 5 * kDay, 1).finish, 0);  // past the count
  EXPECT_EQ(c.period(kMonday + 5 * kDay, -1).finish, 0);

  // Building again replaces what was there.
  c.build(u"(0||CalendarData()((0||DaysOfWeek()((0||3()((0||0(s|01:00|f|02:00)())))))))");
  EXPECT_EQ(shape(c), "0-|1:|2:|3: 60-120|4:|5:|6:|7:|8-|");

  // Only positive period factors replace the defaults.
  c.set_factors(10, 0, -5, 2400);
  EXPECT_EQ((std::array{c.factors.day, c.factors.week, c.factors.month, c.factors.year}),
            (std::array{10.0, 40.0, 172.0, 2400.0}));

  // What is incomplete or out of range is skipped.
  work_calendar partial;
  partial.build(
      u"(0||CalendarData()((0||DaysOfWeek()((0||0()((0||0(s|08:00|f|12:00)())))"
      u"(0||9()((0||0(s|08:00|f|12:00)())))"
      u"(0||2()((0||0(s|08:00)())(0||1(f|12:00)())(0||2(s|8|f|17:30)())(0||3(s|:30|f|10:00)())))))"
      u"(0||Exceptions()((0||0(x|40179)())(0||1(d|40180)((0||0(s|08:00)())))))))");
  // "8" has no colon and ":30" starts with it: both read as minute 0; the
  // exception child without "d" adds none.
  EXPECT_EQ(shape(partial), "0-|1:|2: 0-1050 0-600|3:|4:|5:|6:|7:|8-|\n1262390400:");

  // A root named otherwise gives no working time; text without a root neither.
  work_calendar other;
  other.build(u"(0||Calendar()((0||DaysOfWeek()((0||2()((0||0(s|08:00|f|12:00)())))))))");
  EXPECT_EQ(shape(other), "0-|1:|2:|3:|4:|5:|6:|7:|8-|");
  work_calendar empty;
  empty.build(u"");
  EXPECT_EQ(empty.working_minutes(kMonday, kMonday + 30 * kDay), 0);
  // A truncated export keeps what closed before the cut.
  work_calendar cut;
  cut.build(u"(0||CalendarData()(");
  EXPECT_EQ(cut.working_minutes(kMonday, kMonday + 30 * kDay), 0);

  // The text comes back as given, also when a character needs two bytes,
  // and building again forgets the earlier text.
  work_calendar named;
  for (const std::u16string& text : {kStandard + u"\u00e9\u00ff", kStandard + u"\u4e2d\u00e9", kStandard}) {
    named.build(text);
    EXPECT_EQ(named.raw_text(), text);
  }

  // A midnight finish ends the day.
  work_calendar midnight;
  midnight.build(
      u"(0||()((0||DaysOfWeek()((0||1()((0||0(s|00:00|f|00:00)())))"
      u"(0||2()((0||0(s|01:00|f|12:00)())(0||1(s|13:00|f|00:00)())))"
      u"(0||3()((0||0(s|00:00|f|00:30)())))))))");
  EXPECT_EQ(shape(midnight), "0-|1: 0-1440|2: 60-720 780-1440|3: 0-30|4:|5:|6:|7:|8-|");  // only midnight itself moves
  // A whole Sunday (2010-01-03) of the 24-hour day, and the 22-hour Monday.
  EXPECT_EQ(midnight.working_minutes(kMonday - kDay, kMonday), 1440);
  EXPECT_EQ(midnight.working_minutes(kMonday, kMonday + kDay), 22 * 60);
}

TEST(CalendarLookup, BaseCalendarHolidaysOverrideOwnWeekdays) {
  work_calendar base;
  base.build(kStandard);
  work_calendar resource;
  resource.build(
      u"(0||CalendarData()((0||DaysOfWeek()((0||6()((0||0(s|07:00|f|15:00)())))))"
      u"(0||Exceptions()((0||0(d|40187)((0||0(s|10:00|f|12:00)())))))))");
  resource.set_base(&base);

  // Friday 2010-01-01: the base's holiday, not the resource's own Friday.
  // Friday 2010-01-08: no exception anywhere, the resource's own Friday.
  // Saturday 2010-01-09: both have an exception; the resource's own wins.
  // Monday: the base's weekly pattern is never used.
  EXPECT_EQ(day(resource, 1262304000) + "|" + day(resource, kMonday + 4 * kDay) + "|" +
                day(resource, kMonday + 5 * kDay) + "|" + day(resource, kMonday),
            "|420-900 |600-720 |");

  // The base gaining a holiday later is seen by the resource.
  EXPECT_EQ(resource.working_minutes(kMonday + 4 * kDay, kMonday + 5 * kDay), 480);
  base.add_exception(kMonday + 4 * kDay);
  EXPECT_EQ(resource.working_minutes(kMonday + 4 * kDay, kMonday + 5 * kDay), 0);
  resource.set_base(nullptr);
  EXPECT_EQ(resource.period_count(1262304000), 1);
}

TEST(CalendarLookup, PeriodsAddedToAnEarlierExceptionStayWithIt) {
  work_calendar c;
  for (int d = 2; d <= 6; ++d) c.add_period(d, work_period{8 * 60, 16 * 60});
  const int64_t tuesday = kMonday + kDay, wednesday = kMonday + 2 * kDay, thursday = kMonday + 3 * kDay;
  c.add_exception_period(c.add_exception(tuesday), work_period{9 * 60, 10 * 60});
  c.add_exception_period(c.add_exception(wednesday), work_period{11 * 60, 13 * 60});
  c.add_exception(thursday);  // a day off
  c.add_exception_period(c.exceptions()[0], work_period{14 * 60, 15 * 60});
  EXPECT_EQ(c.working_minutes(kMonday, kMonday + 7 * kDay), 480 + 120 + 120 + 0 + 480);
  EXPECT_EQ(day(c, tuesday) + "|" + day(c, wednesday) + "|" + day(c, thursday), "540-600 840-900 |660-780 |");
  ASSERT_EQ(c.exception_periods(c.exceptions()[1]).size(), 1u);
  EXPECT_EQ(c.exception_periods(c.exceptions()[1])[0].finish, 13 * 60);

  // A copy of an exception, or another calendar's, is not this one's.
  const auto copy = c.exceptions()[1];
  EXPECT_TRUE(c.exception_periods(copy).empty());
  work_calendar other;
  const auto& foreign = other.add_exception(tuesday);
  other.add_exception_period(foreign, work_period{0, 60});
  c.add_exception_period(foreign, work_period{0, 1440});
  EXPECT_TRUE(c.exception_periods(foreign).empty());
  EXPECT_EQ(other.exception_periods(foreign).size(), 1u);
  EXPECT_EQ(c.period_count(tuesday), 2);
}

// Windows of the day, midnights and seconds are the day-by-day reading's
// (CalendarDifferential below); these are the counts after changes.
TEST(CalendarMinutes, OverlappingPeriodsAndChangesAfterACount) {
  work_calendar c;
  c.build(kStandard);
  c.prepare();
  c.prepare();
  // A year of weeks from Monday 00:00; its first Saturday is the worked exception day.
  EXPECT_EQ(c.working_minutes(kMonday, kMonday + 52 * 7 * kDay), 52 * 5 * 480 + 120);

  // Overlapping and unsorted periods each count.
  work_calendar odd;
  odd.add_period(2, work_period{13 * 60, 17 * 60});
  odd.add_period(2, work_period{8 * 60, 14 * 60});
  odd.add_period(2, work_period{16 * 60, 15 * 60});  // finishes before it starts
  odd.add_period(9, work_period{0, 1440});            // no such weekday
  EXPECT_EQ(odd.working_minutes(kMonday, kMonday + kDay), 240 + 360);
  EXPECT_EQ(odd.working_minutes(at(kMonday, 13), at(kMonday, 14)), 120);
  EXPECT_EQ(odd.working_minutes(kMonday, kMonday + 70 * kDay), 10 * 600);
  EXPECT_EQ(odd.weekday_minutes(2), 600);
  EXPECT_EQ(odd.weekday_minutes(9), 0);
  // Periods added through the slot pointer after a count are seen.
  odd.weekday(3)->push_back(work_period{0, 60});
  EXPECT_EQ(odd.working_minutes(kMonday, kMonday + 70 * kDay), 10 * 660);
  auto& e = odd.add_exception(kMonday + 7 * kDay + 5000);  // any moment of the day
  EXPECT_EQ(odd.working_minutes(kMonday, kMonday + 70 * kDay), 9 * 660 + 60);
  odd.add_exception_period(e, work_period{0, 30});
  EXPECT_EQ(odd.working_minutes(kMonday, kMonday + 70 * kDay), 9 * 660 + 90);
  // A copy counts on its own after the original changes.
  work_calendar copy = odd;
  odd.add_exception(kMonday + 14 * kDay);
  EXPECT_EQ(copy.working_minutes(kMonday, kMonday + 70 * kDay), 9 * 660 + 90);
  EXPECT_EQ(odd.working_minutes(kMonday, kMonday + 70 * kDay), 8 * 660 + 90 + 60);
  EXPECT_EQ(tessel::oracle::working_minutes(odd, kMonday, kMonday + 70 * kDay), 8 * 660 + 90 + 60);
}

TEST(CalendarMinutes, SumsBeyond32BitsStayExact) {
  // 1600 whole-day periods on every weekday, and a thousand days off: the
  // days off take 2.3 billion minutes away, more than 32 bits hold.
  work_calendar c;
  for (int d = 1; d <= 7; ++d) {
    for (int p = 0; p < 1600; ++p) c.add_period(d, work_period{0, 1440});
  }
  for (int k = 0; k < 1000; ++k) c.add_exception(kMonday + k * kDay);
  const int64_t day = 1600 * 1440;
  EXPECT_EQ(c.working_minutes(kMonday - 10 * kDay, kMonday + 1010 * kDay), 20 * day);
  EXPECT_EQ(c.working_minutes(kMonday + 500 * kDay, kMonday + 1100 * kDay), 100 * day);
  EXPECT_EQ(c.working_minutes(kMonday + 999 * kDay, kMonday + 1001 * kDay), day);
  EXPECT_EQ(c.working_minutes(kMonday - kDay, kMonday + 1001 * kDay),
            tessel::oracle::working_minutes(c, kMonday - kDay, kMonday + 1001 * kDay));
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

// ---- The fast count against the day-by-day reading ----------------------------

constexpr int64_t k2018 = 1514764800;  // 2018-01-01 00:00 UTC

struct calendar_set {
  std::vector<std::unique_ptr<work_calendar>> all;
  work_calendar& add() {
    all.push_back(std::make_unique<work_calendar>());
    return *all.back();
  }
};

// Random exception days inside 2018 to 2024, where most spans fall; some
// twice (the first counts), some at a moment other than midnight, some
// worked with their own periods.
void add_random_exceptions(work_calendar& c, std::mt19937_64& rng, int count) {
  for (int i = 0; i < count; ++i) {
    int64_t day = static_cast<int64_t>(rng() % (7 * 365));
    int64_t date = k2018 + day * kDay + (rng() % 4 == 0 ? static_cast<int64_t>(rng() % kDay) : 0);
    auto& e = c.add_exception(date);
    int periods = rng() % 3 == 0 ? 0 : static_cast<int>(rng() % 3);
    for (int p = 0; p < periods; ++p) {
      int32_t s = static_cast<int32_t>(rng() % 1440);
      c.add_exception_period(e, work_period{s, s + static_cast<int32_t>(rng() % 600)});
    }
    if (rng() % 10 == 0) c.add_exception(date + 3600);  // the same day again
  }
}

void build_calendars(calendar_set& set, std::mt19937_64& rng) {
  // 0: a standard five-day week with holidays and worked Saturdays, read
  //    from calendar data; its base is calendar 1.
  work_calendar& standard = set.add();
  standard.build(test_support::u16(test_support::weekdays_calendar(
      "(0||0(d|43101)())(0||1(d|43465)())(0||2(d|43470)((0||0(s|09:00|f|13:00)())))")));
  add_random_exceptions(standard, rng, 25);
  // 1: a company base calendar: six days, its own holidays.
  work_calendar& base = set.add();
  for (int d = 2; d <= 7; ++d) base.add_period(d, work_period{7 * 60, 15 * 60});
  add_random_exceptions(base, rng, 30);
  standard.set_base(&base);
  // 2: nothing at all.
  set.add();
  // 3: missing weekday slots (only Tuesday and Thursday listed), inheriting
  //    holidays from calendar 1.
  work_calendar& sparse = set.add();
  sparse.build(
      u"(0||()((0||DaysOfWeek()((0||3()((0||0(s|06:00|f|18:00)())))"
      u"(0||5()((0||0(s|22:00|f|00:00)())))))(0||Exceptions()())))");
  sparse.set_base(&base);
  // 4: overlapping, unsorted, inverted and out-of-day periods.
  work_calendar& odd = set.add();
  odd.add_period(1, work_period{600, 900});
  odd.add_period(1, work_period{300, 700});
  odd.add_period(2, work_period{1300, 1500});  // runs past midnight
  odd.add_period(3, work_period{-120, 60});
  odd.add_period(4, work_period{900, 800});
  odd.add_period(5, work_period{0, 1440});
  odd.add_period(5, work_period{0, 1440});
  odd.add_period(6, work_period{1439, 1440});
  odd.add_period(7, work_period{0, 1});
  add_random_exceptions(odd, rng, 20);
  // 5: around the clock (a midnight finish), exceptions only from its base.
  work_calendar& clock = set.add();
  clock.build(
      u"(0||CalendarData()((0||DaysOfWeek()((0||1()((0||0(s|00:00|f|00:00)())))"
      u"(0||2()((0||0(s|00:00|f|00:00)())))(0||3()((0||0(s|00:00|f|00:00)())))"
      u"(0||4()((0||0(s|00:00|f|00:00)())))(0||5()((0||0(s|00:00|f|00:00)())))"
      u"(0||6()((0||0(s|00:00|f|00:00)())))(0||7()((0||0(s|00:00|f|00:00)())))))))");
  clock.set_base(&standard);
  // 6: a random weekly pattern with many exceptions and a base with many.
  work_calendar& random_base = set.add();
  add_random_exceptions(random_base, rng, 60);
  work_calendar& random = set.add();
  for (int d = 1; d <= 7; ++d) {
    int n = static_cast<int>(rng() % 4);
    for (int p = 0; p < n; ++p) {
      int32_t s = static_cast<int32_t>(rng() % 1500) - 30;
      random.add_period(d, work_period{s, s + static_cast<int32_t>(rng() % 700) - 50});
    }
  }
  add_random_exceptions(random, rng, 60);
  random.set_base(&random_base);
  // 8: exception days spread over more than three centuries, which the
  //    calendar indexes differently from a few decades' worth.
  work_calendar& wide = set.add();
  for (int d = 2; d <= 6; ++d) wide.add_period(d, work_period{8 * 60, 16 * 60});
  add_random_exceptions(wide, rng, 40);
  wide.add_exception(k2018 - 40001 * kDay);  // a Friday, normally worked
  wide.add_exception(k2018 + 80000 * kDay);  // a Friday too
  wide.set_base(&base);
}

int64_t random_moment(std::mt19937_64& rng) {
  int64_t day = static_cast<int64_t>(rng() % (9 * 365)) - 365;  // 2017 to 2025
  int64_t t = k2018 + day * kDay;
  switch (rng() % 6) {
    case 0: return t;                                             // 00:00
    case 1: return t + static_cast<int64_t>(rng() % 60) * 60;     // 00:xx
    case 2: return t + static_cast<int64_t>(rng() % 24) * 3600;   // on the hour
    default: return t + static_cast<int64_t>(rng() % kDay);       // any second
  }
}

int64_t random_length(std::mt19937_64& rng) {
  switch (rng() % 10) {
    case 0: return 0;
    case 1: case 2: case 3: return static_cast<int64_t>(rng() % (2 * kDay));
    case 4: case 5: case 6: return static_cast<int64_t>(rng() % (60 * kDay));
    case 7: case 8: return static_cast<int64_t>(rng() % (365 * kDay));
    default: return static_cast<int64_t>(rng() % (5 * 365 * kDay));
  }
}

TEST(CalendarDifferential, FastCountAndPeriodLookupMatchTheDayByDayReading) {
  std::mt19937_64 rng(0x7e55e1);
  calendar_set set;
  build_calendars(set, rng);
  const int spans = 100000;
  int mismatches = 0;
  int64_t total = 0;
  for (int i = 0; i < spans; ++i) {
    const work_calendar& c = *set.all[static_cast<size_t>(i) % set.all.size()];
    int64_t a = random_moment(rng);
    int64_t b;
    switch (rng() % 4) {
      case 0: b = (a / kDay + static_cast<int64_t>(rng() % 800)) * kDay; break;  // ends at 00:00
      case 1: b = a - static_cast<int64_t>(rng() % (3 * kDay)); break;          // backwards
      default: b = a + random_length(rng); break;
    }
    int64_t fast = c.working_minutes(a, b);
    int64_t slow = tessel::oracle::working_minutes(c, a, b);
    total += slow;
    if (fast != slow && ++mismatches <= 10) {
      ADD_FAILURE() << "calendar " << i % set.all.size() << " from " << a << " to " << b << ": " << fast
                    << " minutes, day by day " << slow;
    }
  }
  EXPECT_EQ(mismatches, 0);
  EXPECT_GT(total, 0);

  // The periods of single days, at random moments.
  int worked = 0;
  for (int i = 0; i < 20000; ++i) {
    const work_calendar& c = *set.all[static_cast<size_t>(i) % set.all.size()];
    int64_t t = random_moment(rng);
    const auto& expected = tessel::oracle::periods_on(c, t);
    ASSERT_EQ(c.period_count(t), static_cast<int>(expected.size())) << "at " << t;
    for (size_t p = 0; p < expected.size(); ++p) {
      EXPECT_EQ(c.period(t, static_cast<int>(p)).start, expected[p].start);
      EXPECT_EQ(c.period(t, static_cast<int>(p)).finish, expected[p].finish);
    }
    worked += expected.empty() ? 0 : 1;
  }
  EXPECT_GT(worked, 5000);

  // Every exception day of each calendar and of its base, the earliest and
  // the latest included, and the days just around them.
  int checked = 0;
  for (const auto& c : set.all) {
    std::vector<int64_t> dates;
    for (const auto& e : c->exceptions()) dates.push_back(e.date);
    if (c->base()) {
      for (const auto& e : c->base()->exceptions()) dates.push_back(e.date);
    }
    for (int64_t date : dates) {
      for (int64_t t : {date - kDay, date, date + kDay}) {
        ASSERT_EQ(c->period_count(t), static_cast<int>(tessel::oracle::periods_on(*c, t).size())) << "at " << t;
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 1000);
}

TEST(CalendarDifferential, CloseExceptionDaysAgreeOnEverySpanAroundThem) {
  // Exception days packed within a month, own and inherited, the last of
  // them each day from the first to the 24th: every span between two
  // midnights or noons around them counts as the day-by-day reading does.
  std::mt19937_64 rng(31);
  for (int round = 0; round < 96; ++round) {
    work_calendar base, c;
    for (int d = 2; d <= 6; ++d) c.add_period(d, work_period{8 * 60, 16 * 60});
    c.add_period(7, work_period{9 * 60, 12 * 60});
    const int last = round % 24;
    for (int k = 0; k <= last; ++k) {
      if (k != 0 && k != last && rng() % 3 != 0) continue;
      work_calendar& owner = rng() % 3 == 0 ? base : c;
      const auto& e = owner.add_exception(k2018 + k * kDay);
      if (rng() % 2 == 0) owner.add_exception_period(e, work_period{10 * 60, 10 * 60 + static_cast<int32_t>(rng() % 600)});
    }
    c.set_base(&base);
    for (int64_t a = k2018 - 2 * kDay; a <= k2018 + (last + 2) * kDay; a += kDay / 2) {
      for (int64_t b = a; b <= k2018 + (last + 3) * kDay; b += kDay / 2) {
        ASSERT_EQ(c.working_minutes(a, b), tessel::oracle::working_minutes(c, a, b)) << round << " " << a << " " << b;
      }
      ASSERT_EQ(c.period_count(a), static_cast<int>(tessel::oracle::periods_on(c, a).size())) << round << " " << a;
    }
  }
}

TEST(CalendarDifferential, DatesAroundAndBefore1970Agree) {
  std::mt19937_64 rng(7);
  work_calendar c;
  for (int d = 2; d <= 6; ++d) c.add_period(d, work_period{8 * 60, 16 * 60});
  c.add_exception(-3 * kDay);
  c.add_exception(2 * kDay);
  for (int i = 0; i < 5000; ++i) {
    int64_t a = static_cast<int64_t>(rng() % (400 * kDay)) - 200 * kDay;
    int64_t b = a + static_cast<int64_t>(rng() % (100 * kDay));
    ASSERT_EQ(c.working_minutes(a, b), tessel::oracle::working_minutes(c, a, b)) << a << " " << b;
  }
}

}  // namespace
