// Dates: seconds since 1970-01-01 00:00 of the wall-clock reading taken as
// UTC, so no time zone or daylight saving ever enters.
#pragma once

#include "values/s_val.h"

namespace tessel {

class s_date final : public s_val {
 public:
  // Date text forms: the text export writes "2012-01-05 08:00", the
  // workbook "1/5/2012 8:00:00 AM".
  enum form : int { form_xer = 0, form_workbook = 1 };
  // Display marks: 1 or 2 an actual date (" A"), 3 or 4 a constrained one ("*").
  enum suffix_mode : int32_t { no_mark = 0, actual_mark = 1, constraint_mark = 3 };

  s_date() : s_val(val_type::date) {}  // empty date: empty flag 1, time 0
  s_date(std::u16string_view text, int form);

  // Arithmetic: each answers a non-empty, unhidden, unmarked date.
  static s_date from_time(int64_t seconds);
  static s_date from_ymd(int year, int month, int day, int hour = 0, int minute = 0);
  s_date plus_day() const;
  s_date plus_week() const;
  s_date first_of_next_month() const;  // 00:00 of the 1st of the following month

  static int quarter(const s_date& d);  // 1 to 4
  static int days_in_month(int year, int month);
  static s_date today();  // today at 00:00, from the system clock

  // Short texts of the Gantt timescale (patterns 2 to 13); other patterns give "".
  std::u16string format_for_scale(int pattern) const;

  // Parses `text` in `form` into seconds; no valid calendar date gives 0 or less.
  static int64_t parse(std::u16string_view text, int form);

  int64_t as_time() const override { return time; }
  std::u16string text() const override;
  val_ptr clone() const override;
  bool less(const s_val& o) const override;
  bool less_equal(const s_val& o) const override;
  bool greater(const s_val& o) const override;
  bool greater_equal(const s_val& o) const override;
  bool equal(const s_val& o) const override;
  bool not_equal(const s_val& o) const override;
  bool is_date() const override { return true; }

  // True when the date would show a text: a time after 1970-01-01 00:00.
  bool has_date() const { return time > 0; }

  // Seconds fit in 40 bits from 15,000 years before 1970 to as many after;
  // every date kept is clamped into that range (`earliest`, `latest`). With
  // the marks beside them a date takes 16 bytes, and records hold dozens.
  static constexpr int64_t latest = (int64_t(1) << 39) - 1;
  static constexpr int64_t earliest = -latest;
  uint8_t hidden : 1 = 0;  // set on the dates a milestone does not show
  uint8_t suffix : 3 = no_mark;
  int64_t time : 40 = 0;
};

static_assert(sizeof(s_date) == 16);

}  // namespace tessel
