// The sets that durations and units are shown with: a calendar's hours per
// day, week, month and year, and a currency's texts. A schedule holds
// hundreds of thousands of such values and only a handful of distinct sets,
// so a value refers to its set by a small number into a process-wide table
// instead of by pointer: a duration or a unit then takes 24 bytes, not 32
// or 40. Equal sets share one number; sets are never removed, so whatever a
// reference answers stays valid for the life of the process.
#pragma once

#include <cstdint>
#include <string>

namespace tessel {

// Hours per day, week, month and year; the defaults are 8, 40, 172 and 2000.
struct period_factors {
  double day = 8.0;
  double week = 40.0;
  double month = 172.0;
  double year = 2000.0;
  bool operator==(const period_factors&) const = default;
};
const period_factors* default_period_factors();

// The currency texts a price is written with.
struct money_symbols {
  std::u16string decimal;
  std::u16string group;
  std::u16string currency;
  bool operator==(const money_symbols&) const = default;
};
const money_symbols* no_money_symbols();        // all three empty
const money_symbols* workbook_money_symbols();  // ".", "," and "$"

// Reads and assigns like a pointer to a set. Assigning a set (or a null
// pointer, which stands for the defaults) looks it up in the table and adds
// it when it is new; what a reference answers is the table's copy, equal to
// the set it was given. Lookups are lock-free; adding takes a lock and is
// safe from any thread. The table holds 65,535 factor sets and 255 symbol
// sets: a file with more distinct ones than that shows the rest with the
// defaults (no real schedule comes near).
template <class Set, class Id>
class set_ref {
 public:
  set_ref() = default;
  set_ref(const Set* s);  // NOLINT: reads as the pointer it replaces
  const Set* get() const;
  operator const Set*() const { return get(); }
  const Set& operator*() const { return *get(); }
  const Set* operator->() const { return get(); }

 private:
  Id id_ = 0;
};

using factors_ref = set_ref<period_factors, uint16_t>;
using symbols_ref = set_ref<money_symbols, uint8_t>;
extern template class set_ref<period_factors, uint16_t>;
extern template class set_ref<money_symbols, uint8_t>;

}  // namespace tessel
