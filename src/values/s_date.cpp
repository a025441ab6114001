#include "values/s_date.h"

#include <cstdint>
#include <algorithm>
#include <ctime>

#include "values/civil.h"
#include "values/num_text.h"

namespace tessel {

namespace {

constexpr const char16_t* month_abbrev[12] = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                                              u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
constexpr const char16_t* month_name[12] = {u"January", u"February", u"March",     u"April",
                                            u"May",     u"June",     u"July",      u"August",
                                            u"September", u"October", u"November", u"December"};
constexpr const char16_t* weekday_abbrev[7] = {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
constexpr char16_t weekday_letter[7] = {u'S', u'M', u'T', u'W', u'T', u'F', u'S'};

// Reads a date text the way the C library's scanf reads "%d" fields and
// literal characters: white space before a number is skipped, a number may
// carry a sign, and the first mismatch ends the reading, leaving the fields
// not yet reached at 0. Hand-written because loading a large file parses
// millions of dates: no allocation, no locale.
class date_scanner {
 public:
  explicit date_scanner(std::u16string_view t) : p_(t.data()), end_(t.data() + t.size()) {}

  // One "%d" field. Magnitudes are capped far beyond any valid field, so an
  // absurdly long number is simply an invalid date, never an overflow.
  bool number(int64_t& out) {
    while (p_ < end_ && is_space(*p_)) ++p_;
    bool negative = false;
    if (p_ < end_ && (*p_ == u'-' || *p_ == u'+')) negative = *p_++ == u'-';
    if (p_ == end_ || *p_ < u'0' || *p_ > u'9') return false;
    int64_t v = 0;
    for (; p_ < end_ && *p_ >= u'0' && *p_ <= u'9'; ++p_)
      if (v < 1000000000000LL) v = v * 10 + (*p_ - u'0');
    out = negative ? -v : v;
    return true;
  }

  // A literal character of the pattern; a blank in the pattern matches any
  // run of white space (also none), which `number` skips anyway.
  bool literal(char16_t c) {
    if (p_ < end_ && *p_ == c) {
      ++p_;
      return true;
    }
    return false;
  }

 private:
  static bool is_space(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }
  const char16_t* p_;
  const char16_t* end_;
};

// Seconds of a wall-clock reading, or 0 when the fields make no calendar
// date at or after 1970-01-01 00:00 (month outside 1-12, day outside its
// month, year outside 1970-9999, hour beyond 24:00, minute or second beyond
// 59). Such a date shows empty.
int64_t seconds_of(int64_t y, int64_t mo, int64_t d, int64_t h, int64_t mi, int64_t s) {
  if (y < 1970 || y > 9999 || mo < 1 || mo > 12) return 0;
  if (d < 1 || d > civil::days_in_month(y, static_cast<int>(mo))) return 0;
  if (h < 0 || mi < 0 || mi > 59 || s < 0 || s > 59) return 0;
  if (h > 24 || (h == 24 && (mi != 0 || s != 0))) return 0;
  const int64_t t = civil::days_from_civil(y, static_cast<int>(mo), d) * 86400 + h * 3600 + mi * 60 + s;
  return t > 0 ? t : 0;
}

s_date make(int64_t seconds) {
  s_date d;
  d.empty = 0;
  d.time = std::clamp(seconds, s_date::earliest, s_date::latest);
  return d;
}

void append_2(std::u16string& out, int v) { num_text::append_uint(out, static_cast<uint64_t>(v), 2); }
void append_n(std::u16string& out, int64_t v) {
  if (v < 0) {
    out.push_back(u'-');
    v = -v;
  }
  num_text::append_uint(out, static_cast<uint64_t>(v));
}

}  // namespace

int64_t s_date::parse(std::u16string_view text, int form) {
  date_scanner in(text);
  int64_t f[6] = {0, 0, 0, 0, 0, 0};
  if (form == form_xer) {
    // "%d-%d-%d %d:%d": year, month, day, hour, minute.
    (void)(in.number(f[0]) && in.literal(u'-') && in.number(f[1]) && in.literal(u'-') && in.number(f[2]) &&
           in.number(f[3]) && in.literal(u':') && in.number(f[4]));
    return seconds_of(f[0], f[1], f[2], f[3], f[4], 0);
  }
  if (form == form_workbook) {
    if (text.empty()) return 0;
    // "%d/%d/%d %d:%d:%d": month, day, year, hour, minute, second, on a
    // twelve-hour clock whose "PM" is the last two characters of the text.
    (void)(in.number(f[0]) && in.literal(u'/') && in.number(f[1]) && in.literal(u'/') && in.number(f[2]) &&
           in.number(f[3]) && in.literal(u':') && in.number(f[4]) && in.literal(u':') && in.number(f[5]));
    const bool pm = text.size() >= 2 && text.substr(text.size() - 2) == u"PM";
    const int64_t hour = f[3] % 12 + (pm ? 12 : 0);
    return seconds_of(f[2], f[0], f[1], hour, f[4], f[5]);
  }
  return 0;
}

// A text that holds no date leaves the date empty (empty flag set) rather
// than at "1970-01-01 00:00": a blank cell has no value, so it sorts after
// every real date and group summaries treat it as missing.
s_date::s_date(std::u16string_view text, int form) : s_val(val_type::date), time(parse(text, form)) {
  empty = time > 0 ? 0 : 1;
}

s_date s_date::from_time(int64_t seconds) { return make(seconds); }

// Out-of-range fields carry over like a calendar: month 13 is January of the
// next year, day 32 of January is the 1st of February, hour 24 the next day.
s_date s_date::from_ymd(int year, int month, int day, int hour, int minute) {
  const int64_t m0 = static_cast<int64_t>(month) - 1;
  const int64_t y = year + civil::floor_div(m0, 12);
  const int m = static_cast<int>(m0 - civil::floor_div(m0, 12) * 12) + 1;
  const int64_t days = civil::days_from_civil(y, m, 1) + (static_cast<int64_t>(day) - 1);
  return make(days * 86400 + static_cast<int64_t>(hour) * 3600 + static_cast<int64_t>(minute) * 60);
}

namespace {
// Stops at the end of the representable range instead of wrapping round.
int64_t later(int64_t t, int64_t by) { return t > s_date::latest - by ? s_date::latest : t + by; }
}  // namespace

s_date s_date::plus_day() const { return make(later(time, 86400)); }
s_date s_date::plus_week() const { return make(later(time, 604800)); }

s_date s_date::first_of_next_month() const {
  const civil::broken_down b = civil::break_down(time);
  const int64_t y = b.month == 12 ? b.year + 1 : b.year;
  const int m = b.month == 12 ? 1 : b.month + 1;
  return make(civil::days_from_civil(y, m, 1) * 86400);
}

int s_date::quarter(const s_date& d) { return (civil::break_down(d.time).month - 1) / 3 + 1; }

int s_date::days_in_month(int year, int month) { return civil::days_in_month(year, month); }

// "Today" is the user's own calendar day, so this one reading does take the
// machine's time zone; the date itself is then held as a wall-clock reading
// like every other date.
s_date s_date::today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return from_ymd(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

std::u16string s_date::text() const {
  std::u16string out;
  if (time <= 0 || hidden) return out;
  const civil::broken_down b = civil::break_down(time);
  out.reserve(16);
  append_n(out, b.day);
  out.push_back(u'-');
  out.append(month_abbrev[b.month - 1]);
  out.push_back(u'-');
  num_text::append_uint(out, static_cast<uint64_t>(b.year), 4);
  if (suffix == 1 || suffix == 2)
    out.append(u" A");
  else if (suffix == 3 || suffix == 4)
    out.push_back(u'*');
  return out;
}

std::u16string s_date::format_for_scale(int pattern) const {
  const civil::broken_down b = civil::break_down(time);
  std::u16string out;
  switch (pattern) {
    case 2:  // 2012/1/05 08:00
      append_n(out, b.year);
      out.push_back(u'/');
      append_n(out, b.month);
      out.push_back(u'/');
      append_2(out, b.day);
      out.push_back(u' ');
      append_2(out, b.hour);
      out.push_back(u':');
      append_2(out, b.minute);
      break;
    case 3:
      append_2(out, b.day);
      break;
    case 4:
      out.append(month_name[b.month - 1]);
      out.push_back(u' ');
      append_n(out, b.year);
      break;
    case 5:
      out.push_back(weekday_letter[b.weekday]);
      break;
    case 6:
      out.append(weekday_abbrev[b.weekday]);
      break;
    case 7:
      out.append(month_abbrev[b.month - 1]);
      out.push_back(u' ');
      append_2(out, b.day);
      break;
    case 8:
      append_n(out, b.hour);
      break;
    case 9:
      out.append(weekday_abbrev[b.weekday]);
      out.push_back(u' ');
      out.append(month_abbrev[b.month - 1]);
      out.push_back(u' ');
      append_2(out, b.day);
      break;
    case 10:
      out.append(month_abbrev[b.month - 1]);
      break;
    case 11:
      append_n(out, b.year);
      break;
    case 12:
      out.append(u"Q");
      append_n(out, (b.month - 1) / 3 + 1);
      break;
    case 13:
      out.append(u"Qtr ");
      append_n(out, (b.month - 1) / 3 + 1);
      out.append(u", ");
      append_n(out, b.year);
      break;
    default:
      break;
  }
  return out;
}

val_ptr s_date::clone() const { return val_ptr(new s_date(*this)); }

// An empty date orders after every date that has a value; two dates that
// are both empty or both set compare by time.
bool s_date::less(const s_val& o) const {
  if (!same_type(o)) return false;
  const auto& b = static_cast<const s_date&>(o);
  if ((empty != 0) != (b.empty != 0)) return b.empty != 0;
  return time < b.time;
}

bool s_date::less_equal(const s_val& o) const {
  if (!same_type(o)) return false;
  const auto& b = static_cast<const s_date&>(o);
  if ((empty != 0) != (b.empty != 0)) return b.empty != 0;
  return time <= b.time;
}

bool s_date::greater(const s_val& o) const {
  if (!same_type(o)) return false;
  const auto& b = static_cast<const s_date&>(o);
  if ((empty != 0) != (b.empty != 0)) return empty != 0;
  return time > b.time;
}

bool s_date::greater_equal(const s_val& o) const {
  if (!same_type(o)) return false;
  const auto& b = static_cast<const s_date&>(o);
  if ((empty != 0) != (b.empty != 0)) return empty != 0;
  return time >= b.time;
}

bool s_date::equal(const s_val& o) const {
  return same_type(o) && time == static_cast<const s_date&>(o).time;
}

bool s_date::not_equal(const s_val& o) const {
  return same_type(o) && time != static_cast<const s_date&>(o).time;
}

}  // namespace tessel
