// Civil (proleptic Gregorian) calendar arithmetic on plain integers. Dates
// are wall-clock readings counted in seconds from 1970-01-01 00:00 as if they
// were UTC, so the machine's time zone and daylight saving never enter.
#pragma once

#include <cstdint>

namespace tessel::civil {

constexpr bool is_leap(int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

// 30 for April, June, September, November; 28 or 29 for February; 31 for
// every other month number (out-of-range ones included).
constexpr int days_in_month(int64_t y, int m) {
  switch (m) {
    case 4: case 6: case 9: case 11: return 30;
    case 2: return is_leap(y) ? 29 : 28;
    default: return 31;
  }
}

// Days from 1970-01-01 to year-month-day; month 1-12, any day number counts
// on linearly from the first of the month.
constexpr int64_t days_from_civil(int64_t y, int m, int64_t d) {
  y -= m <= 2 ? 1 : 0;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;                              // [0, 399]
  const int64_t mp = m > 2 ? m - 3 : m + 9;                       // March = 0
  const int64_t doy = (153 * mp + 2) / 5 + d - 1;                 // [0, 365]
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;      // [0, 146096]
  return era * 146097 + doe - 719468;
}

struct ymd {
  int64_t year;
  int month;  // 1-12
  int day;    // 1-31
};

constexpr ymd civil_from_days(int64_t z) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return {yoe + era * 400 + (m <= 2 ? 1 : 0), m, d};
}

constexpr int64_t floor_div(int64_t a, int64_t b) { return a / b - ((a % b != 0 && (a < 0) != (b < 0)) ? 1 : 0); }

struct broken_down {
  int64_t year;
  int month;    // 1-12
  int day;      // 1-31
  int hour;     // 0-23
  int minute;   // 0-59
  int second;   // 0-59
  int weekday;  // 0 Sunday to 6 Saturday
};

constexpr broken_down break_down(int64_t seconds) {
  const int64_t days = floor_div(seconds, 86400);
  const int64_t rest = seconds - days * 86400;
  const ymd c = civil_from_days(days);
  // 1970-01-01 was a Thursday.
  const int wd = static_cast<int>(((days % 7) + 7 + 4) % 7);
  return {c.year, c.month, c.day, static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60),
          static_cast<int>(rest % 60), wd};
}

}  // namespace tessel::civil
