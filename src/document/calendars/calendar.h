// Work calendars: the weekly pattern of working periods, dated exceptions
// (holidays and changed working days), a base calendar whose exceptions are
// inherited, and the count of working minutes between two moments.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "values/s_quantity.h"

namespace tessel::document {

// A working period of one day. Where a bound is shown it is an hour value
// (tessel::s_hour, minutes after midnight); inside the calendar the bounds
// are held as plain minutes, the compact form. 24:00 is minute 1440.
struct work_period {
  int32_t start = 0;
  int32_t finish = 0;
};

// A dated exception: the day (00:00 UTC, seconds since 1970) and where its
// periods lie among the calendar's exception periods (see
// work_calendar::exception_periods); no periods means a day off. Holding a
// place instead of a list of its own keeps a calendar of a thousand holidays
// in one allocation.
struct calendar_exception {
  int64_t date = 0;
  uint32_t first = 0;
  uint32_t count = 0;
};

class work_calendar {
 public:
  work_calendar() = default;
  // Copies and moves carry the calendar's data; the lookup index is rebuilt
  // on first use because it points into the calendar it was built for.
  work_calendar(const work_calendar&) = default;
  work_calendar(work_calendar&&) = default;
  work_calendar& operator=(const work_calendar&) = default;
  work_calendar& operator=(work_calendar&&) = default;

  // Reads the calendar data text into the weekday slots and exceptions,
  // replacing what the calendar held; keeps the text as it came (one byte a
  // character when every character fits in one, as nearly all texts do).
  void build(std::u16string_view clndr_data);
  std::u16string raw_text() const;

  // Weekday slots 1 (Sunday) to 7 (Saturday); any other number gives none.
  // The slots always exist: a day the text does not list has no periods.
  std::vector<work_period>* weekday(int n);
  const std::vector<work_period>* weekday(int n) const;
  // The minutes a whole day of weekday n works, as working_minutes counts
  // them (only what lies between 00:00 and 24:00, overlaps in full); 0 for a
  // number outside 1 to 7.
  int64_t weekday_minutes(int n) const;
  void add_period(int weekday, work_period p);
  // Exceptions keep the order they were added in. The reference stays good
  // until the next exception is added.
  const calendar_exception& add_exception(int64_t date);
  // Adds a period to one of this calendar's exceptions, the element itself
  // as exceptions() holds it; a copy or another calendar's is ignored.
  void add_exception_period(const calendar_exception& e, work_period p);
  const std::vector<calendar_exception>& exceptions() const;
  // The periods of one of this calendar's exceptions (the element itself, as
  // above); none for a copy or another calendar's, whose place would point
  // at periods that are not its own.
  std::span<const work_period> exception_periods(const calendar_exception& e) const;

  // Linking sets the base calendar (not owned; it outlives this one). Only
  // its exceptions are inherited, never its weekly pattern.
  void set_base(const work_calendar* base);
  const work_calendar* base() const;

  // The periods worked on the day holding `date`: this calendar's exception
  // for that day if it has one (the first, when a day is listed twice), else
  // the base calendar's exception for that day, else this calendar's weekday
  // slot. period() past the count gives an empty period.
  int period_count(int64_t date) const;
  work_period period(int64_t date, int i) const;

  // Working minutes between the moments a and b (seconds since 1970, wall
  // clock taken as UTC): 0 unless a is earlier than b. Seconds are not
  // counted, and a moment in the hour after midnight counts as the end of the
  // previous day (00:00 is its minute 1440, 00:30 its minute 1470). Overlapping
  // periods each count in full.
  int64_t working_minutes(int64_t a, int64_t b) const;

  // Builds the lookup index now instead of on the first query. Idempotent;
  // linking calls it once the base calendar is set. Any change to this
  // calendar or its base is noticed and the index rebuilt on the next query.
  void prepare() const;

  // Hours per day, week, month and year, used to show durations. set_factors
  // keeps the default for any factor of 0 or less, so no display divides by 0.
  tessel::period_factors factors;
  void set_factors(double day, double week, double month, double year);

 private:
  // The lookup index: the exception days of this calendar and its base,
  // merged once, sorted by day, with the first exception of a day winning
  // and this calendar's own winning over the base's; plus the full-day
  // totals needed to count long spans without walking them day by day.
  struct index {
    index() = default;
    index(const index&) {}
    index& operator=(const index&) {
      valid = false;
      return *this;
    }
    bool valid = false;
    uint64_t version = 0;
    const work_calendar* base = nullptr;
    uint64_t base_version = 0;
    // For each exception day in order: which exception gives its periods,
    // k for this calendar's exception k, -1 - k for the base's.
    std::vector<int32_t> entry;
    // n + 1 prefix sums of (exception total - weekday total) over the days;
    // 32 bits whenever the totals of the days involved fit in them, else 64.
    std::vector<int32_t> delta_sum32;
    std::vector<int64_t> delta_sum64;
    // When the exception days lie within a bounded stretch (real calendars
    // cover a few decades), one word for every 8 days of that stretch finds
    // a day's place among the exception days without searching: the count of
    // exception days before those 8 shifted up by 8, and a bit for each of
    // the 8 that is one. Wider spreads keep the sorted days and search them.
    int64_t dense_first = 0;
    int64_t dense_length = 0;                 // days of the stretch; 0: search
    std::vector<uint32_t> dense;              // dense_length / 8 + 1 words
    std::vector<int64_t> days;                // sorted days, when searched
    int64_t weekday_total[7] = {};            // full-day minutes, Sunday first
    int64_t week_prefix[15] = {};             // running sums over two weeks

    int64_t delta_sum(size_t k) const { return delta_sum64.empty() ? delta_sum32[k] : delta_sum64[k]; }
  };

  void touch() { ++version_; }
  // The index, rebuilt first when this calendar or its base has changed;
  // the check is inline because every count and lookup starts with it.
  const index& ready() const {
    const index& ix = index_;
    if (ix.valid && ix.version == version_ && ix.base == base_ && ix.base_version == (base_ ? base_->version_ : 0))
      return ix;
    return rebuild();
  }
  const index& rebuild() const;
  std::span<const work_period> entry_periods(int32_t entry) const;
  std::span<const work_period> day_periods(const index& ix, int64_t day) const;
  int64_t delta_between(const index& ix, int64_t first, int64_t last) const;
  int64_t full_days(const index& ix, int64_t first, int64_t last) const;

  // The text as built: one byte a character in raw_narrow_ when all fit,
  // else two in raw_wide_.
  std::string raw_narrow_;
  std::u16string raw_wide_;
  std::vector<work_period> weekdays_[7];
  std::vector<calendar_exception> exceptions_;
  std::vector<work_period> exception_periods_;  // every exception's, in order
  const work_calendar* base_ = nullptr;
  uint64_t version_ = 1;
  mutable index index_;
};

}  // namespace tessel::document
