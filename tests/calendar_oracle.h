// Reference working-time arithmetic for tests and benchmarks: the plain,
// day-by-day reading of a calendar, with no index and no shortcuts. Slow on
// purpose; the calendar's own fast count must always agree with it.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "document/calendars/calendar.h"

namespace tessel::oracle {

using tessel::document::calendar_exception;
using tessel::document::work_calendar;
using tessel::document::work_period;

// Day number (days since 1970-01-01) and seconds into that day.
inline void split_day(int64_t t, int64_t& day, int64_t& second) {
  day = t / 86400;
  second = t % 86400;
  if (second < 0) {
    second += 86400;
    day -= 1;
  }
}

// Weekday by the civil date (Sunday = 1), worked out from year, month and day
// rather than by counting from a known weekday.
inline int weekday_of_day(int64_t day) {
  // Civil date from a day count.
  int64_t z = day + 719468;
  int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  int64_t doe = z - era * 146097;
  int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  int64_t y = yoe + era * 400;
  int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  int64_t mp = (5 * doy + 2) / 153;
  int64_t d = doy - (153 * mp + 2) / 5 + 1;
  int64_t m = mp < 10 ? mp + 3 : mp - 9;
  if (m <= 2) ++y;
  // Sakamoto's rule: 0 = Sunday.
  static const int t[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (m < 3) y -= 1;
  int64_t w = (y + y / 4 - y / 100 + y / 400 + t[m - 1] + d) % 7;
  if (w < 0) w += 7;
  return static_cast<int>(w) + 1;
}

inline bool same_day(int64_t a, int64_t b) {
  int64_t da, db, s;
  split_day(a, da, s);
  split_day(b, db, s);
  return da == db;
}

// The periods worked on the day holding `date`.
inline std::span<const work_period> periods_on(const work_calendar& c, int64_t date) {
  int64_t day, second;
  split_day(date, day, second);
  // 1. The weekday slot must exist.
  const std::vector<work_period>* slot = c.weekday(weekday_of_day(day));
  if (!slot) return {};
  // 2. This calendar's exception for that day, first match.
  for (const calendar_exception& e : c.exceptions()) {
    if (same_day(e.date, date)) return c.exception_periods(e);
  }
  // 3. The base calendar's exception for that day.
  if (const work_calendar* base = c.base()) {
    for (const calendar_exception& e : base->exceptions()) {
      if (same_day(e.date, date)) return base->exception_periods(e);
    }
  }
  // 4. This calendar's own weekday slot.
  return *slot;
}

inline int64_t working_minutes(const work_calendar& c, int64_t a, int64_t b) {
  if (!(a < b)) return 0;
  int64_t day_a, sec_a, day_b, sec_b;
  split_day(a, day_a, sec_a);
  split_day(b, day_b, sec_b);
  int64_t hour_a = sec_a / 3600, minute_a = (sec_a / 60) % 60;
  int64_t hour_b = sec_b / 3600, minute_b = (sec_b / 60) % 60;
  if (hour_b == 0) {
    day_b -= 1;
    hour_b = 24;
  }
  int64_t mod_a = hour_a * 60 + minute_a;
  int64_t mod_b = hour_b * 60 + minute_b;
  int64_t sum = 0;
  for (int64_t t = day_a * 86400; t <= day_b * 86400; t += 86400) {
    int64_t d = t / 86400;
    int64_t from = d == day_a ? mod_a : 0;
    int64_t to = d == day_b ? mod_b : 1440;
    for (const work_period& p : periods_on(c, t)) {
      int64_t lo = p.start > from ? p.start : from;
      int64_t hi = p.finish < to ? p.finish : to;
      if (hi > lo) sum += hi - lo;
    }
  }
  return sum;
}

}  // namespace tessel::oracle
