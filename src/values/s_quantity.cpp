#include "values/s_quantity.h"

#include <algorithm>
#include <cmath>

#include "values/display_prefs.h"
#include "values/num_text.h"

namespace tessel {

namespace {

constexpr char16_t unit_letter[5] = {u'h', u'd', u'w', u'm', u'y'};

bool valid_unit(int32_t u) { return u >= 0 && u <= 4; }

// Hours in one unit of time.
double hours_per(const period_factors& f, int32_t u) {
  switch (u) {
    case 1: return f.day;
    case 2: return f.week;
    case 3: return f.month;
    case 4: return f.year;
    default: return 1.0;
  }
}

// Decimals codes: 0 as stored, 1 none, 2 one, 3 two. A code the options
// could not have written counts as "none".
int32_t decimals_code(int32_t d) { return d >= 0 && d <= 3 ? d : 1; }

// A number in one of the four rounding forms. The one- and two-decimal forms
// add half a unit of the last shown digit, write six significant digits and
// cut the text after that digit, so a number that the general format writes
// without a decimal point (19 from 18.95 + 0.05) shows none.
std::u16string rounded(double x, int32_t d) {
  switch (d) {
    case 0:
      return num_text::widen(num_text::general6(x));
    case 2:
    case 3: {
      std::string s = num_text::general6(x >= 0 ? x + (d == 2 ? 0.05 : 0.005) : x - (d == 2 ? 0.05 : 0.005));
      const size_t dot = s.find('.');
      const size_t keep = d == 2 ? 1 : 2;
      if (dot != std::string::npos && s.size() > dot + 1 + keep) s.resize(dot + 1 + keep);
      return num_text::widen(s);
    }
    default:
      return num_text::widen(num_text::whole(std::trunc(x >= 0 ? x + 0.5 : x - 0.5)));
  }
}

// Rates: with one or two decimals the whole part and the decimals are worked
// out separately, so a rate always shows its decimals ("8.0/d"). A rate
// between 0 and -1 keeps its "-".
std::u16string rounded_rate(double x, int32_t d) {
  if (d != 2 && d != 3) return rounded(x, d);
  const double y = x >= 0 ? x + (d == 2 ? 0.05 : 0.005) : x - (d == 2 ? 0.05 : 0.005);
  const double whole = std::trunc(y);
  const double scale = d == 2 ? 10.0 : 100.0;
  const double f = std::floor(std::fabs(y - whole) * scale);  // clamped before any integer conversion
  const int digits = f >= 0 ? static_cast<int>(std::min(f, scale - 1)) : 0;
  std::u16string out;
  if (y < 0 && whole == 0 && digits != 0) out.push_back(u'-');
  num_text::append_ascii(out, num_text::whole(whole));
  out.push_back(u'.');
  num_text::append_uint(out, static_cast<uint64_t>(digits), d == 2 ? 1 : 2);
  return out;
}

// A price written with the value's own symbols: the currency symbol, the
// whole amount with the digit-group symbol every three digits, the decimal
// symbol and the decimals. As stored it has up to six significant digits,
// otherwise exactly two decimals. An empty decimal symbol would run whole
// units and cents together and misstate the amount a hundredfold, so "." is
// written then; empty group and currency symbols are simply left out.
std::u16string money(double amount, bool as_stored, const money_symbols& sym) {
  const std::u16string_view dec = sym.decimal.empty() ? std::u16string_view(u".") : sym.decimal;
  const double a = std::fabs(amount);
  std::u16string out;
  if (amount < 0) out.push_back(u'-');
  out.append(sym.currency);
  if (as_stored) {
    const std::string s = num_text::general6(a);
    size_t int_end = 0;
    while (int_end < s.size() && s[int_end] >= '0' && s[int_end] <= '9') ++int_end;
    out.append(num_text::grouped(std::string_view(s).substr(0, int_end), sym.group));
    for (size_t i = int_end; i < s.size(); ++i) {
      if (s[i] == '.')
        out.append(dec);
      else
        out.push_back(static_cast<char16_t>(s[i]));
    }
    return out;
  }
  const double cents = std::floor(a * 100 + 0.5);
  std::string whole_part;
  uint64_t frac = 0;
  if (cents < 1.0e18) {
    const auto c = static_cast<uint64_t>(cents);
    whole_part = num_text::whole(static_cast<double>(c / 100));
    frac = c % 100;
  } else {
    whole_part = num_text::whole(std::floor(a));
  }
  out.append(num_text::grouped(whole_part, sym.group));
  out.append(dec);
  num_text::append_uint(out, frac, 2);
  return out;
}

}  // namespace

// ---------------------------------------------------------------- s_dur

std::u16string s_dur::text() const {
  std::u16string out;
  const display_prefs& p = prefs();
  if (dur_empty || !valid_unit(p.duration_unit)) return out;
  const int32_t d = decimals_code(p.duration_decimals);
  const double x = d == 0 ? hours : hours / hours_per(*factors, p.duration_unit);
  out = rounded(x, d);
  if (p.duration_label) out.push_back(unit_letter[p.duration_unit]);
  return out;
}

val_ptr s_dur::clone() const { return val_ptr(new s_dur(*this)); }

// A duration without a value orders after every duration that has one.
bool s_dur::less(const s_val& o) const {
  if (!same_type(o)) return false;
  const auto& b = static_cast<const s_dur&>(o);
  if ((dur_empty != 0) != (b.dur_empty != 0)) return b.dur_empty != 0;
  return hours < b.hours;
}
bool s_dur::less_equal(const s_val& o) const {
  if (!same_type(o)) return false;
  const auto& b = static_cast<const s_dur&>(o);
  if ((dur_empty != 0) != (b.dur_empty != 0)) return b.dur_empty != 0;
  return hours <= b.hours;
}
bool s_dur::greater(const s_val& o) const {
  if (!same_type(o)) return false;
  const auto& b = static_cast<const s_dur&>(o);
  if ((dur_empty != 0) != (b.dur_empty != 0)) return dur_empty != 0;
  return hours > b.hours;
}
bool s_dur::greater_equal(const s_val& o) const {
  if (!same_type(o)) return false;
  const auto& b = static_cast<const s_dur&>(o);
  if ((dur_empty != 0) != (b.dur_empty != 0)) return dur_empty != 0;
  return hours >= b.hours;
}
bool s_dur::equal(const s_val& o) const { return same_type(o) && hours == static_cast<const s_dur&>(o).hours; }

// ---------------------------------------------------------------- s_unit

// Kind 0: work "12d"; kind 1: a rate of work per time "8h/d"; kind 2: a rate
// per time "8/d"; kinds 3 and 4: prices "$1,250.00/h", "$3.50/unit". With the
// decimals "as stored" the figures are not converted and always carry their
// letter.
std::u16string s_unit::text() const {
  const display_prefs& p = prefs();
  if (unit_empty) return {};
  const int32_t d = decimals_code(p.unit_decimals);
  const bool letter = d == 0 || p.unit_label;
  std::u16string out;
  switch (kind) {
    case work: {
      if (!valid_unit(p.unit_unit)) return {};
      out = rounded(d == 0 ? amount : amount / hours_per(*factors, p.unit_unit), d);
      if (letter) out.push_back(unit_letter[p.unit_unit]);
      return out;
    }
    case rate: {
      if (!valid_unit(p.unit_unit) || !valid_unit(p.duration_unit)) return {};
      const double x =
          d == 0 ? amount
                 : amount * hours_per(*factors, p.duration_unit) / hours_per(*factors, p.unit_unit);
      out = rounded_rate(x, d);
      if (letter) out.push_back(unit_letter[p.unit_unit]);
      out.push_back(u'/');
      out.push_back(unit_letter[p.duration_unit]);
      return out;
    }
    case plain_rate: {
      if (!valid_unit(p.duration_unit)) return {};
      out = rounded_rate(d == 0 ? amount : amount * hours_per(*factors, p.duration_unit), d);
      out.push_back(u'/');
      out.push_back(unit_letter[p.duration_unit]);
      return out;
    }
    case price_per_hour:
      out = money(amount, d == 0, *symbols);
      out.append(u"/h");
      return out;
    case price_per_unit:
      out = money(amount, d == 0, *symbols);
      out.append(u"/unit");
      return out;
    default:
      return out;
  }
}

val_ptr s_unit::clone() const { return val_ptr(new s_unit(*this)); }
bool s_unit::less(const s_val& o) const { return same_type(o) && amount < static_cast<const s_unit&>(o).amount; }
bool s_unit::greater(const s_val& o) const {
  return same_type(o) && amount > static_cast<const s_unit&>(o).amount;
}
bool s_unit::equal(const s_val& o) const { return same_type(o) && amount == static_cast<const s_unit&>(o).amount; }

}  // namespace tessel
