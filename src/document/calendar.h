// Work calendars: the weekly pattern of working periods, dated exceptions
// and the count of working minutes between two moments.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "values/s_quantity.h"

namespace tessel::document {

// A working period of one day. Where a bound is shown it is an s_hour value
// (minutes after midnight); inside the calendar the bounds are held as plain
// minutes, the compact form. 24:00 is minute 1440.
struct work_period {
  int32_t start = 0;
  int32_t finish = 0;
};

// A dated exception: the day (00:00 UTC, seconds since 1970) and the periods
// worked on it; no periods means a day off.
struct calendar_exception {
  int64_t date = 0;
  std::vector<work_period> periods;
};

class work_calendar {
 public:
  void build(std::u16string_view clndr_data);
  const std::u16string& raw_text() const;
  std::vector<work_period>* weekday(int n);
  const std::vector<work_period>* weekday(int n) const;
  void add_period(int weekday, work_period p);
  calendar_exception& add_exception(int64_t date);
  void add_exception_period(calendar_exception& e, work_period p);
  const std::vector<calendar_exception>& exceptions() const;
  void set_base(const work_calendar* base);
  const work_calendar* base() const;
  int period_count(int64_t date) const;
  work_period period(int64_t date, int i) const;
  int64_t working_minutes(int64_t a, int64_t b) const;
  tessel::period_factors factors;

 private:
  std::u16string raw_;
  std::vector<work_period> weekdays_[7];
  std::vector<calendar_exception> exceptions_;
  const work_calendar* base_ = nullptr;
};

}  // namespace tessel::document
