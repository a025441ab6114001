// The fast working-minute count against the plain day-by-day reading, on
// random spans over calendars of every awkward shape.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "calendar_oracle.h"
#include "document/calendar.h"
#include "test_support.h"

namespace {

using tessel::document::work_calendar;
using tessel::document::work_period;

constexpr int64_t kDay = 86400;
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

TEST(CalendarDifferential, FastCountMatchesTheDayByDayReading) {
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
}

TEST(CalendarDifferential, PeriodLookupMatchesTheDayByDayReading) {
  std::mt19937_64 rng(42);
  calendar_set set;
  build_calendars(set, rng);
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
