#include "values/s_scalars.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "values/display_prefs.h"
#include "values/num_text.h"

namespace tessel {

namespace {

// Cast helper for the comparisons: callers pass a value of the same concrete
// type; anything else (the shared empty value included) compares false.
template <class T>
const T* peer(const T& self, const s_val& o, bool same) {
  (void)self;
  return same ? static_cast<const T*>(&o) : nullptr;
}

}  // namespace

// ---------------------------------------------------------------- s_string

val_ptr s_string::clone() const { return val_ptr(new s_string(*this)); }

bool s_string::less(const s_val& o) const {
  const auto* b = peer(*this, o, same_type(o));
  return b && value.compare(b->value) < 0;
}
bool s_string::greater(const s_val& o) const {
  const auto* b = peer(*this, o, same_type(o));
  return b && value.compare(b->value) > 0;
}
bool s_string::equal(const s_val& o) const {
  const auto* b = peer(*this, o, same_type(o));
  return b && value == b->value;
}
bool s_string::not_equal(const s_val& o) const {
  const auto* b = peer(*this, o, same_type(o));
  return b && value != b->value;
}

// ---------------------------------------------------------------- s_double

// Truncated toward zero; a value that no unsigned 32-bit number holds
// (negative, too large, not a number) is clamped to the nearest one (0 for
// "not a number").
uint32_t s_double::as_ulong() const {
  if (!(value > 0)) return 0;
  if (value >= 4294967295.0) return std::numeric_limits<uint32_t>::max();
  return static_cast<uint32_t>(value);
}

// Two decimals, rounded half away from zero: 1.234 -> 1.23, -1.5 -> -1.50,
// -0.004 -> 0.00.
std::u16string s_double::text() const {
  std::u16string out;
  if (value_empty) return out;
  const double x = value >= 0 ? value + 0.005 : value - 0.005;
  const double whole = std::trunc(x);
  // Clamped in floating point first: a value that is not a number must not
  // reach an integer conversion.
  const double h = std::floor(std::fabs(x - whole) * 100);
  const int hundredths = h >= 0 ? static_cast<int>(std::min(h, 99.0)) : 0;
  if (x < 0 && whole == 0 && hundredths != 0) out.push_back(u'-');
  num_text::append_ascii(out, num_text::whole(whole));
  out.push_back(u'.');
  num_text::append_uint(out, static_cast<uint64_t>(hundredths), 2);
  return out;
}

val_ptr s_double::clone() const { return val_ptr(new s_double(*this)); }
bool s_double::less(const s_val& o) const {
  const auto* b = peer(*this, o, same_type(o));
  return b && value < b->value;
}
bool s_double::greater(const s_val& o) const {
  const auto* b = peer(*this, o, same_type(o));
  return b && value > b->value;
}
bool s_double::equal(const s_val& o) const {
  const auto* b = peer(*this, o, same_type(o));
  return b && value == b->value;
}

// ---------------------------------------------------------------- s_cost

// "$1,234,567.89"; negatives in parentheses, "($1,234.50)". Rounded to the
// nearest cent, halves away from zero.
std::u16string s_cost::text() const {
  const double a = std::fabs(value);
  const double cents = std::floor(a * 100 + 0.5);
  std::string whole_part;
  uint64_t frac = 0;
  if (cents < 1.0e18) {
    const auto c = static_cast<uint64_t>(cents);
    whole_part = num_text::whole(static_cast<double>(c / 100));
    frac = c % 100;
  } else {
    whole_part = num_text::whole(std::floor(a));  // beyond cent precision anyway
  }
  std::u16string out;
  if (value < 0) out.push_back(u'(');
  out.push_back(u'$');
  out.append(num_text::grouped(whole_part, u","));
  out.push_back(u'.');
  num_text::append_uint(out, frac, 2);
  if (value < 0) out.push_back(u')');
  return out;
}

val_ptr s_cost::clone() const { return val_ptr(new s_cost(*this)); }
bool s_cost::less(const s_val& o) const {
  const auto* b = peer(*this, o, same_type(o));
  return b && value < b->value;
}
bool s_cost::greater(const s_val& o) const {
  const auto* b = peer(*this, o, same_type(o));
  return b && value > b->value;
}
bool s_cost::equal(const s_val& o) const {
  const auto* b = peer(*this, o, same_type(o));
  return b && value == b->value;
}

// ---------------------------------------------------------------- s_percent

// Rounded to the percentage decimals of the display preferences (1 whole
// numbers, 2 one decimal, 3 two decimals; any other code counts as whole
// numbers). Halves round up; a negative remainder is dropped, never rounded.
std::u16string s_percent::text() const {
  const int code = prefs().percent_decimals;
  const double k = code == 3 ? 100.0 : code == 2 ? 10.0 : 1.0;
  double ipart = 0;
  const double frac = std::modf(k * value, &ipart);
  if (frac >= 0.5) ipart += 1;
  std::u16string out = num_text::widen(num_text::general6(ipart / k));
  out.push_back(u'%');
  return out;
}

val_ptr s_percent::clone() const { return val_ptr(new s_percent(*this)); }
bool s_percent::less(const s_val& o) const {
  const auto* b = peer(*this, o, same_type(o));
  return b && value < b->value;
}
bool s_percent::greater(const s_val& o) const {
  const auto* b = peer(*this, o, same_type(o));
  return b && value > b->value;
}
bool s_percent::equal(const s_val& o) const {
  const auto* b = peer(*this, o, same_type(o));
  return b && value == b->value;
}

// ---------------------------------------------------------------- s_int

std::u16string s_int::text() const {
  if (value_empty) return {};
  char buf[16];
  auto r = std::to_chars(buf, buf + sizeof buf, value);
  return num_text::widen(std::string_view(buf, r.ptr - buf));
}

val_ptr s_int::clone() const { return val_ptr(new s_int(*this)); }
bool s_int::less(const s_val& o) const {
  const auto* b = peer(*this, o, same_type(o));
  return b && value < b->value;
}
bool s_int::greater(const s_val& o) const {
  const auto* b = peer(*this, o, same_type(o));
  return b && value > b->value;
}
bool s_int::equal(const s_val& o) const {
  const auto* b = peer(*this, o, same_type(o));
  return b && value == b->value;
}

// ---------------------------------------------------------------- s_unsigned_long

val_ptr s_unsigned_long::clone() const { return val_ptr(new s_unsigned_long(*this)); }
bool s_unsigned_long::less(const s_val& o) const {
  const auto* b = peer(*this, o, same_type(o));
  return b && value < b->value;
}
bool s_unsigned_long::greater(const s_val& o) const {
  const auto* b = peer(*this, o, same_type(o));
  return b && value > b->value;
}
bool s_unsigned_long::equal(const s_val& o) const {
  const auto* b = peer(*this, o, same_type(o));
  return b && value == b->value;
}
bool s_unsigned_long::not_equal(const s_val& o) const {
  const auto* b = peer(*this, o, same_type(o));
  return b && value != b->value;
}

// ---------------------------------------------------------------- s_hour

// Strict comparisons read the minutes as unsigned, the inclusive ones as
// signed; the two agree for every real time of day (0 to 1440).
val_ptr s_hour::clone() const { return val_ptr(new s_hour(*this)); }
bool s_hour::less(const s_val& o) const {
  const auto* b = peer(*this, o, same_type(o));
  return b && static_cast<uint32_t>(value) < static_cast<uint32_t>(b->value);
}
bool s_hour::less_equal(const s_val& o) const {
  const auto* b = peer(*this, o, same_type(o));
  return b && value <= b->value;
}
bool s_hour::greater(const s_val& o) const {
  const auto* b = peer(*this, o, same_type(o));
  return b && static_cast<uint32_t>(value) > static_cast<uint32_t>(b->value);
}
bool s_hour::greater_equal(const s_val& o) const {
  const auto* b = peer(*this, o, same_type(o));
  return b && value >= b->value;
}
bool s_hour::equal(const s_val& o) const {
  const auto* b = peer(*this, o, same_type(o));
  return b && value == b->value;
}

// ---------------------------------------------------------------- s_bool

// Flags compare by truth value, "No" before "Yes".
std::u16string s_bool::text() const { return value ? u"Yes" : u"No"; }

val_ptr s_bool::clone() const { return val_ptr(new s_bool(*this)); }
bool s_bool::less(const s_val& o) const {
  const auto* b = peer(*this, o, same_type(o));
  return b && !as_bool() && b->as_bool();
}
bool s_bool::less_equal(const s_val& o) const {
  const auto* b = peer(*this, o, same_type(o));
  return b && (!as_bool() || b->as_bool());
}
bool s_bool::greater(const s_val& o) const {
  const auto* b = peer(*this, o, same_type(o));
  return b && as_bool() && !b->as_bool();
}
bool s_bool::greater_equal(const s_val& o) const {
  const auto* b = peer(*this, o, same_type(o));
  return b && (as_bool() || !b->as_bool());
}
bool s_bool::equal(const s_val& o) const {
  const auto* b = peer(*this, o, same_type(o));
  return b && as_bool() == b->as_bool();
}
bool s_bool::not_equal(const s_val& o) const {
  const auto* b = peer(*this, o, same_type(o));
  return b && as_bool() != b->as_bool();
}

}  // namespace tessel
