// Durations and units (quantities of work, rates, prices). Both are held in
// hours as the export writes them; the display unit, decimals and label come
// from the process-wide display preferences.
#pragma once

#include "values/s_val.h"
#include "values/value_sets.h"

namespace tessel {

class s_dur final : public s_val {
 public:
  s_dur() : s_val(val_type::dur) {}
  explicit s_dur(double h) : s_val(val_type::dur), dur_empty(0), hours(h) {}

  double as_double() const override { return hours; }
  std::u16string text() const override;
  val_ptr clone() const override;
  bool less(const s_val& o) const override;
  bool less_equal(const s_val& o) const override;
  bool greater(const s_val& o) const override;
  bool greater_equal(const s_val& o) const override;
  bool equal(const s_val& o) const override;
  bool is_duration() const override { return true; }

  uint8_t dur_empty = 1;  // 1 = no value
  uint8_t flag = 0;       // copied with the value, read nowhere
  factors_ref factors;    // the calendar's hours per day, week, month and year
  double hours = 0.0;
};

class s_unit final : public s_val {
 public:
  // 0 a quantity of work in hours, 1 a rate in hours per hour, 2 a rate
  // without a work unit, 3 a price per hour, 4 a price per unit.
  enum kind_code : int32_t { work = 0, rate = 1, plain_rate = 2, price_per_hour = 3, price_per_unit = 4 };

  s_unit() : s_val(val_type::unit) {}
  s_unit(double a, int32_t k) : s_val(val_type::unit), unit_empty(0), kind(static_cast<uint8_t>(k)), amount(a) {}

  double as_double() const override { return amount; }
  std::u16string text() const override;
  val_ptr clone() const override;
  bool less(const s_val& o) const override;
  bool greater(const s_val& o) const override;
  bool equal(const s_val& o) const override;

  uint8_t unit_empty = 1;
  uint8_t flag = 0;  // copied with the value, read nowhere
  uint8_t kind = work;
  symbols_ref symbols;  // a price's currency texts
  factors_ref factors;  // a quantity's hours per day, week, month and year
  double amount = 0.0;
};

// Records hold these by the hundred: the flags and set numbers share the
// first 16 bytes with the type, the figure takes the rest.
static_assert(sizeof(s_dur) == 24 && sizeof(s_unit) == 24);

}  // namespace tessel
