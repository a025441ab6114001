#include "view/gantt/gantt_timescale.h"

#include <algorithm>
#include <cmath>

#include "document/calendars/calendar.h"
#include "values/civil.h"
#include "values/s_date.h"

namespace tessel::view::gantt {

namespace {

constexpr int64_t hour_s = 3600;
constexpr int64_t day_s = 86400;
constexpr int64_t week_s = 7 * day_s;

const scale_kind kinds[] = {
    {1, u"Year/Quarter", time_unit::year, time_unit::quarter, 90 * day_s, 11, 12},
    {2, u"Year/Month", time_unit::year, time_unit::month, 30 * day_s, 11, 10},
    {3, u"Quarter/Month", time_unit::quarter, time_unit::month, 30 * day_s, 13, 10},
    {4, u"Month/Week", time_unit::month, time_unit::week, week_s, 4, 3},
    {5, u"Week/Day 1", time_unit::week, time_unit::day, day_s, 7, 5},
    {6, u"Week/Day 2", time_unit::week, time_unit::day, day_s, 7, 6},
    {8, u"Day/Hour", time_unit::day, time_unit::hour, hour_s, 9, 8},
};

int64_t midnight(int64_t t) { return civil::floor_div(t, day_s) * day_s; }

// Midnight of the Sunday on or before `t`.
int64_t sunday(int64_t t) {
  const int64_t day = civil::floor_div(t, day_s);
  const int64_t weekday = ((day % 7) + 7 + 4) % 7;  // 1970-01-01 was a Thursday
  return (day - weekday) * day_s;
}

// Day 1 of a month at midnight; months past 12 carry into the next years.
int64_t month_start(int64_t year, int month) {
  year += (month - 1) / 12;
  month = (month - 1) % 12 + 1;
  return civil::days_from_civil(year, month, 1) * day_s;
}

}  // namespace

int effective_scale(int code) {
  for (int c : scale_codes)
    if (c == code) return code;
  return 4;
}

const scale_kind& scale_of(int code) {
  const int c = effective_scale(code);
  for (const scale_kind& k : kinds)
    if (k.code == c) return k;
  return kinds[3];
}

int64_t period_start(time_unit unit, int64_t t) {
  const civil::broken_down b = civil::break_down(t);
  switch (unit) {
    case time_unit::year: return month_start(b.year, 1);
    case time_unit::quarter: return month_start(b.year, (b.month - 1) / 3 * 3 + 1);
    case time_unit::month: return month_start(b.year, b.month);
    case time_unit::week: return sunday(t);
    case time_unit::day: return midnight(t);
    case time_unit::hour: return civil::floor_div(t, hour_s) * hour_s;
  }
  return t;
}

int64_t next_period(time_unit unit, int64_t t) {
  const civil::broken_down b = civil::break_down(t);
  switch (unit) {
    case time_unit::year: return month_start(b.year + 1, 1);
    case time_unit::quarter: return month_start(b.year, (b.month - 1) / 3 * 3 + 4);
    case time_unit::month: return month_start(b.year, b.month + 1);
    case time_unit::week: return sunday(t) + week_s;
    case time_unit::day: return midnight(t) + day_s;
    case time_unit::hour: return civil::floor_div(t, hour_s) * hour_s + hour_s;
  }
  return t + day_s;
}

timescale build_timescale(int code, int64_t earliest, int64_t latest) {
  const scale_kind& kind = scale_of(code);
  timescale out;
  out.code = kind.code;
  if (latest < earliest) latest = earliest;

  int64_t start = period_start(kind.lower, period_start(kind.lower, earliest) - 5 * kind.margin_unit);
  if (kind.lower == time_unit::day) start = sunday(start);
  const int64_t end = next_period(kind.lower, latest) + 5 * kind.margin_unit;

  int64_t d = start;
  while (d < end && out.lower.size() < max_cells) {
    out.lower.push_back(d);
    d = next_period(kind.lower, d);
  }
  out.lower.push_back(d);

  const int64_t last = d;
  d = start;
  while (d < last) {
    out.upper.push_back(d);
    d = next_period(kind.upper, d);
  }
  out.upper.push_back(d);
  return out;
}

date_axis::date_axis(const std::vector<int64_t>& lower, float cell_width)
    : width_(cell_width * static_cast<float>(lower.size())), cell_(cell_width) {
  if (lower.size() < 2) return;
  first_ = lower.front();
  span_ = lower.back() - lower.front();
  if (span_ > 0) per_second_ = static_cast<double>(width_ - cell_) / static_cast<double>(span_);
}

float date_axis::x_of(int64_t date) const {
  if (span_ <= 0) return 0.0f;
  return static_cast<float>(static_cast<double>(date - first_) * per_second_);
}

int64_t date_axis::date_at(float x) const {
  if (span_ <= 0 || per_second_ <= 0.0) return first_;
  return first_ + static_cast<int64_t>(std::floor(static_cast<double>(x) / per_second_));
}

index_range cells_between(const std::vector<int64_t>& dates, int64_t from, int64_t to) {
  if (dates.empty() || to < from) return {};
  // The cell holding `from` starts at the last date not after it.
  auto lo = std::upper_bound(dates.begin(), dates.end(), from);
  if (lo != dates.begin()) --lo;
  auto hi = std::upper_bound(dates.begin(), dates.end(), to);
  return {static_cast<std::size_t>(lo - dates.begin()), static_cast<std::size_t>(hi - dates.begin())};
}

index_range dates_between(const std::vector<int64_t>& dates, int64_t from, int64_t to) {
  if (to < from) return {};
  auto lo = std::lower_bound(dates.begin(), dates.end(), from);
  auto hi = std::upper_bound(lo, dates.end(), to);
  return {static_cast<std::size_t>(lo - dates.begin()), static_cast<std::size_t>(hi - dates.begin())};
}

std::vector<int64_t> gridline_dates(int setting, int64_t from, int64_t to,
                                    const document::work_calendar* calendar) {
  std::vector<int64_t> out;
  if (to < from) return out;
  time_unit unit = time_unit::day;
  switch (setting) {
    case gridline_units::quarter: unit = time_unit::quarter; break;
    case gridline_units::month: unit = time_unit::month; break;
    case gridline_units::week: unit = time_unit::week; break;
    case gridline_units::day: unit = time_unit::day; break;
    case gridline_units::hour: unit = time_unit::hour; break;
    case gridline_units::shift: {
      for (int64_t day = midnight(from); day <= to; day += day_s) {
        const int n = calendar ? calendar->period_count(day) : 0;
        bool any = false;
        int32_t previous_finish = -1;
        for (int i = 0; i < n; ++i) {
          const document::work_period p = calendar->period(day, i);
          // A period that carries straight on from the one before is the
          // same shift, not a new one.
          if (p.start >= 0 && p.start < 1440 && p.start != previous_finish) {
            const int64_t at = day + int64_t{p.start} * 60;
            if (at >= from && at <= to) out.push_back(at);
            any = true;
          }
          previous_finish = p.finish;
        }
        if (!any && day >= from) out.push_back(day);
      }
      std::sort(out.begin(), out.end());
      out.erase(std::unique(out.begin(), out.end()), out.end());
      return out;
    }
    default: return out;
  }
  int64_t d = period_start(unit, from);
  if (d < from) d = next_period(unit, d);
  for (; d <= to; d = next_period(unit, d)) out.push_back(d);
  return out;
}

std::u16string cell_label(int code, bool upper, int64_t date) {
  const scale_kind& kind = scale_of(code);
  return s_date::from_time(date).format_for_scale(upper ? kind.upper_pattern : kind.lower_pattern);
}

}  // namespace tessel::view::gantt
