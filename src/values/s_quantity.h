// Durations and units (quantities of work, rates, prices). Both are held in
// hours as the export writes them; the display unit, decimals and label come
// from the process-wide display preferences.
#pragma once

#include "values/s_val.h"

namespace tessel {

// Hours per day, week, month and year. A value points at the set of the
// calendar it was taken from, or at the defaults 8, 40, 172 and 2000; sets
// are owned by calendars (or are the static defaults) and outlive the values.
struct period_factors {
  double day = 8.0;
  double week = 40.0;
  double month = 172.0;
  double year = 2000.0;
};
const period_factors* default_period_factors();

// The currency texts a price is written with. Owned by the document (a
// currency record) or static; outlives the values that point at it.
struct money_symbols {
  std::u16string decimal;
  std::u16string group;
  std::u16string currency;
};
const money_symbols* no_money_symbols();        // all three empty
const money_symbols* workbook_money_symbols();  // ".", "," and "$"

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
  double hours = 0.0;
  const period_factors* factors = default_period_factors();
};

class s_unit final : public s_val {
 public:
  // 0 a quantity of work in hours, 1 a rate in hours per hour, 2 a rate
  // without a work unit, 3 a price per hour, 4 a price per unit.
  enum kind_code : int32_t { work = 0, rate = 1, plain_rate = 2, price_per_hour = 3, price_per_unit = 4 };

  s_unit() : s_val(val_type::unit) {}
  s_unit(double a, int32_t k) : s_val(val_type::unit), unit_empty(0), kind(k), amount(a) {}

  double as_double() const override { return amount; }
  std::u16string text() const override;
  val_ptr clone() const override;
  bool less(const s_val& o) const override;
  bool greater(const s_val& o) const override;
  bool equal(const s_val& o) const override;

  uint8_t unit_empty = 1;
  uint8_t flag = 0;  // copied with the value, read nowhere
  int32_t kind = work;
  double amount = 0.0;
  const money_symbols* symbols = no_money_symbols();
  const period_factors* factors = default_period_factors();
};

}  // namespace tessel
