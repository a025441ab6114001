// The value object family: every record member, cell value, group value and
// filter operand is an s_val. One virtual interface turns a value into text,
// compares two values of the same type and converts it to a plain number,
// date or truth value.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace tessel {

class s_val;

// Identifies the concrete type of a value, so that comparing two values of
// different types answers false instead of misreading memory. Enumerations
// take codes from `first_enum` on, one per enumeration type.
enum class val_type : uint8_t {
  base = 0,
  string,
  date,
  dur,
  unit,
  dbl,
  cost,
  percent,
  integer,
  ulong,
  hour,
  boolean,
  first_enum = 32,
};

// The one process-wide "no value": its text is empty, every comparison with
// it is false. It is created on first use and never destroyed.
const s_val& shared_empty_value();

// Owning pointer for clones. The shared empty value is never deleted through
// it, so callers may hold whatever `clone` answers without a special case.
struct val_deleter {
  void operator()(const s_val* v) const noexcept;
};
using val_ptr = std::unique_ptr<s_val, val_deleter>;

class s_val {
 public:
  s_val() = default;
  s_val(const s_val&) = default;
  s_val& operator=(const s_val&) = default;
  virtual ~s_val() = default;

  virtual uint32_t as_ulong() const { return 0; }
  virtual double as_double() const { return 0.0; }
  virtual int64_t as_time() const { return 0; }
  virtual bool as_bool() const { return false; }
  virtual std::u16string text() const { return {}; }
  // A new object of the same type; a plain s_val answers the shared empty value.
  virtual val_ptr clone() const;
  virtual bool less(const s_val&) const { return false; }
  virtual bool less_equal(const s_val&) const { return false; }
  virtual bool greater(const s_val&) const { return false; }
  virtual bool greater_equal(const s_val&) const { return false; }
  virtual bool equal(const s_val&) const { return false; }
  virtual bool not_equal(const s_val&) const { return false; }
  virtual bool is_duration() const { return false; }
  virtual bool is_date() const { return false; }

  val_type type() const { return type_; }

  // 1 means "no value". Only date comparisons consult it. One byte: records
  // hold hundreds of values, and the small members of every concrete type
  // are laid out in the padding after it and the type tag, so an id or an
  // enumeration costs 16 bytes and a date 24.
  uint8_t empty = 1;

 protected:
  explicit s_val(val_type t) : type_(t) {}
  // Lets a concrete type accept `other` only when it is of its own type.
  bool same_type(const s_val& other) const { return other.type_ == type_; }

 private:
  val_type type_ = val_type::base;
};

}  // namespace tessel
