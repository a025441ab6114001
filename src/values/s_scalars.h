// The plain value types: text, numbers, costs, percentages, flags, record ids
// and times of day.
#pragma once

#include "values/s_val.h"

namespace tessel {

class s_string final : public s_val {
 public:
  s_string() : s_val(val_type::string) {}
  explicit s_string(std::u16string t) : s_val(val_type::string), value(std::move(t)) {}
  std::u16string text() const override { return value; }
  val_ptr clone() const override;
  bool less(const s_val& o) const override;
  bool greater(const s_val& o) const override;
  bool equal(const s_val& o) const override;
  bool not_equal(const s_val& o) const override;

  std::u16string value;
};

// Indices and other plain numbers, shown with two decimals.
class s_double final : public s_val {
 public:
  s_double() : s_val(val_type::dbl) {}
  explicit s_double(double v) : s_val(val_type::dbl), value_empty(0), value(v) {}
  uint32_t as_ulong() const override;
  double as_double() const override { return value; }
  std::u16string text() const override;
  val_ptr clone() const override;
  bool less(const s_val& o) const override;
  bool greater(const s_val& o) const override;
  bool equal(const s_val& o) const override;

  uint8_t value_empty = 1;
  double value = 0.0;
};

class s_cost final : public s_val {
 public:
  s_cost() : s_val(val_type::cost) {}
  explicit s_cost(double v) : s_val(val_type::cost), value(v) {}
  double as_double() const override { return value; }
  std::u16string text() const override;
  val_ptr clone() const override;
  bool less(const s_val& o) const override;
  bool greater(const s_val& o) const override;
  bool equal(const s_val& o) const override;

  double value = 0.0;
};

class s_percent final : public s_val {
 public:
  s_percent() : s_val(val_type::percent) {}
  explicit s_percent(double v) : s_val(val_type::percent), value(v) {}
  double as_double() const override { return value; }
  std::u16string text() const override;
  val_ptr clone() const override;
  bool less(const s_val& o) const override;
  bool greater(const s_val& o) const override;
  bool equal(const s_val& o) const override;

  double value = 0.0;
};

class s_int final : public s_val {
 public:
  s_int() : s_val(val_type::integer) {}
  explicit s_int(int32_t v) : s_val(val_type::integer), value_empty(0), value(v) {}
  uint32_t as_ulong() const override { return static_cast<uint32_t>(value); }
  std::u16string text() const override;
  val_ptr clone() const override;
  bool less(const s_val& o) const override;
  bool greater(const s_val& o) const override;
  bool equal(const s_val& o) const override;

  uint8_t value_empty = 1;
  int32_t value = 0;
};

// Record ids. Shows no text.
class s_unsigned_long final : public s_val {
 public:
  s_unsigned_long() : s_val(val_type::ulong) {}
  explicit s_unsigned_long(uint32_t v) : s_val(val_type::ulong), value(v) {}
  uint32_t as_ulong() const override { return value; }
  val_ptr clone() const override;
  bool less(const s_val& o) const override;
  bool greater(const s_val& o) const override;
  bool equal(const s_val& o) const override;
  bool not_equal(const s_val& o) const override;

  uint32_t value = 0;
};

// Minutes after midnight of a calendar work period. Shows no text.
class s_hour final : public s_val {
 public:
  s_hour() : s_val(val_type::hour) {}
  explicit s_hour(int32_t minutes) : s_val(val_type::hour), value(minutes) {}
  uint32_t as_ulong() const override { return static_cast<uint32_t>(value); }
  val_ptr clone() const override;
  bool less(const s_val& o) const override;           // unsigned
  bool less_equal(const s_val& o) const override;     // signed
  bool greater(const s_val& o) const override;        // unsigned
  bool greater_equal(const s_val& o) const override;  // signed
  bool equal(const s_val& o) const override;

  int32_t value = 0;
};

class s_bool final : public s_val {
 public:
  s_bool() : s_val(val_type::boolean) {}
  explicit s_bool(bool v) : s_val(val_type::boolean), value(v ? 1 : 0) {}
  bool as_bool() const override { return value != 0; }
  std::u16string text() const override;
  val_ptr clone() const override;
  bool less(const s_val& o) const override;
  bool less_equal(const s_val& o) const override;
  bool greater(const s_val& o) const override;
  bool greater_equal(const s_val& o) const override;
  bool equal(const s_val& o) const override;
  bool not_equal(const s_val& o) const override;

  uint8_t value = 0;
};

}  // namespace tessel
