#include "document/calendars/calendar.h"

#include <algorithm>
#include <array>
#include <bit>
#include <functional>
#include <limits>

#include "document/xer/data_parser.h"

namespace tessel::document {

namespace {

constexpr int64_t seconds_per_day = 86400;
constexpr int32_t minutes_per_day = 1440;
// Day numbers in calendar data count from 1899-12-30; 1970-01-01 is day 25569.
constexpr int64_t day_number_1970 = 25569;
// Exception days spread over fewer days than this (about 270 years) are
// indexed by a table with a slot per day; wider spreads are searched.
constexpr int64_t dense_limit_days = 100000;

int64_t floor_div(int64_t a, int64_t b) {
  int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

// Seconds since the day's 00:00, also for moments before 1970 (taken from
// the remainder: day * 86400 may not be representable at the extremes).
int64_t second_of_day(int64_t t) {
  int64_t r = t % seconds_per_day;
  return r < 0 ? r + seconds_per_day : r;
}

// 0 = Sunday ... 6 = Saturday; day 0 (1970-01-01) was a Thursday.
int weekday_index(int64_t day) {
  int64_t r = (day + 4) % 7;
  return static_cast<int>(r < 0 ? r + 7 : r);
}

// Leading decimal conversion: optional leading white space and sign, then
// digits up to the first other character; no digits give 0. Saturates at
// the 32-bit range instead of overflowing.
int32_t to_int(std::u16string_view s) {
  size_t i = 0;
  while (i < s.size() && (s[i] == u' ' || s[i] == u'\t' || s[i] == u'\n' || s[i] == u'\r' ||
                          s[i] == u'\v' || s[i] == u'\f')) {
    ++i;
  }
  bool negative = false;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
    negative = s[i] == u'-';
    ++i;
  }
  int64_t v = 0;
  for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i) {
    v = v * 10 + (s[i] - u'0');
    if (v > int64_t{1} << 32) v = int64_t{1} << 32;  // keeps saturating
  }
  if (negative) v = -v;
  v = std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
  return static_cast<int32_t>(v);
}

// "hh:mm" as minutes after midnight. A text without a colon, or with the
// colon first, gives 0. A finish written as midnight ("00:00") ends the day:
// exports write a 24-hour day as 00:00 to 00:00 and an evening shift as
// 13:00 to 00:00.
int32_t read_time(std::u16string_view text, bool is_finish) {
  size_t colon = text.find(u':');
  if (colon == std::u16string_view::npos || colon == 0) return 0;
  int64_t m = int64_t{to_int(text.substr(0, colon))} * 60 + to_int(text.substr(colon + 1));
  m = std::clamp<int64_t>(m, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
  if (is_finish && m == 0) return minutes_per_day;
  return static_cast<int32_t>(m);
}

// Minutes of the periods inside the window [from, to] of one day; each
// period counts on its own, so overlapping periods count twice.
int64_t window_sum(std::span<const work_period> periods, int64_t from, int64_t to) {
  int64_t sum = 0;
  for (const work_period& p : periods) {
    int64_t lo = std::max<int64_t>(p.start, from);
    int64_t hi = std::min<int64_t>(p.finish, to);
    if (hi > lo) sum += hi - lo;
  }
  return sum;
}

int64_t clamp_to_int64(__int128 v) {
  if (v > std::numeric_limits<int64_t>::max()) return std::numeric_limits<int64_t>::max();
  if (v < std::numeric_limits<int64_t>::min()) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(v);
}

void add_periods_of(const data_view& node, std::vector<work_period>& out) {
  data_view p(std::u16string_view{});
  for (size_t pos = 0; node.next_child(pos, p);) {
    const std::optional<std::u16string_view> s = p.value(u"s");
    const std::optional<std::u16string_view> f = p.value(u"f");
    if (s && f) out.push_back(work_period{read_time(*s, false), read_time(*f, true)});
  }
}

size_t count_periods_of(const data_view& node) {
  size_t n = 0;
  data_view p(std::u16string_view{});
  for (size_t pos = 0; node.next_child(pos, p);) n += p.value(u"s") && p.value(u"f") ? 1 : 0;
  return n;
}

// Whether p points at one of the elements of v (pointers into different
// objects are compared through std::less, which orders them all).
template <class T>
bool points_into(const std::vector<T>& v, const T* p) {
  return !v.empty() && !std::less<const T*>{}(p, v.data()) && std::less<const T*>{}(p, v.data() + v.size());
}

}  // namespace

void work_calendar::build(std::u16string_view clndr_data) {
  if (std::all_of(clndr_data.begin(), clndr_data.end(), [](char16_t c) { return c <= 0xFF; })) {
    std::string narrow(clndr_data.size(), '\0');
    std::transform(clndr_data.begin(), clndr_data.end(), narrow.begin(),
                   [](char16_t c) { return static_cast<char>(static_cast<unsigned char>(c)); });
    raw_narrow_ = std::move(narrow);
    raw_wide_ = std::u16string();
  } else {
    raw_narrow_ = std::string();
    raw_wide_ = std::u16string(clndr_data);
  }
  for (auto& slot : weekdays_) slot = std::vector<work_period>();
  exceptions_ = std::vector<calendar_exception>();
  exception_periods_ = std::vector<work_period>();
  touch();

  // Read in place: a calendar of many exceptions would otherwise build a
  // tree several times the size of its text.
  const std::u16string text = data_parser::clean(clndr_data);
  if (text.empty()) return;
  const data_view root(text);
  if (!root.name().empty() && root.name() != u"CalendarData") return;

  data_view node(std::u16string_view{});
  if (const std::optional<data_view> days = root.child(u"DaysOfWeek")) {
    for (size_t pos = 0; days->next_child(pos, node);) {
      if (std::vector<work_period>* slot = weekday(to_int(node.name()))) add_periods_of(node, *slot);
    }
  }
  if (const std::optional<data_view> list = root.child(u"Exceptions")) {
    // Counted first so that both lists are allocated once, at their size.
    size_t count = 0, periods = 0;
    for (size_t pos = 0; list->next_child(pos, node);) {
      if (!node.value(u"d")) continue;
      ++count;
      periods += count_periods_of(node);
    }
    exceptions_.reserve(count);
    exception_periods_.reserve(periods);
    for (size_t pos = 0; list->next_child(pos, node);) {
      const std::optional<std::u16string_view> d = node.value(u"d");
      if (!d) continue;
      const uint32_t first = static_cast<uint32_t>(exception_periods_.size());
      add_periods_of(node, exception_periods_);
      exceptions_.push_back(calendar_exception{(int64_t{to_int(*d)} - day_number_1970) * seconds_per_day, first,
                                               static_cast<uint32_t>(exception_periods_.size() - first)});
    }
  }
}

std::u16string work_calendar::raw_text() const {
  if (!raw_wide_.empty()) return raw_wide_;
  std::u16string text(raw_narrow_.size(), u'\0');
  std::transform(raw_narrow_.begin(), raw_narrow_.end(), text.begin(),
                 [](char c) { return static_cast<char16_t>(static_cast<unsigned char>(c)); });
  return text;
}

std::vector<work_period>* work_calendar::weekday(int n) {
  if (n < 1 || n > 7) return nullptr;
  touch();  // the caller may change the slot through the pointer
  return &weekdays_[n - 1];
}

const std::vector<work_period>* work_calendar::weekday(int n) const {
  return n >= 1 && n <= 7 ? &weekdays_[n - 1] : nullptr;
}

int64_t work_calendar::weekday_minutes(int n) const {
  const std::vector<work_period>* slot = weekday(n);
  return slot ? window_sum(*slot, 0, minutes_per_day) : 0;
}

void work_calendar::add_period(int weekday, work_period p) {
  if (weekday < 1 || weekday > 7) return;
  weekdays_[weekday - 1].push_back(p);
  touch();
}

const calendar_exception& work_calendar::add_exception(int64_t date) {
  touch();
  exceptions_.push_back(calendar_exception{date, static_cast<uint32_t>(exception_periods_.size()), 0});
  return exceptions_.back();
}

void work_calendar::add_exception_period(const calendar_exception& e, work_period p) {
  if (!points_into(exceptions_, &e) || exception_periods_.size() >= std::numeric_limits<uint32_t>::max()) return;
  const size_t k = static_cast<size_t>(&e - exceptions_.data());
  calendar_exception& x = exceptions_[k];
  // The last exception (the usual case while reading) grows at the end;
  // an earlier one moves the periods of those after it along.
  exception_periods_.insert(exception_periods_.begin() + x.first + x.count, p);
  ++x.count;
  for (size_t j = k + 1; j < exceptions_.size(); ++j) ++exceptions_[j].first;
  touch();
}

const std::vector<calendar_exception>& work_calendar::exceptions() const { return exceptions_; }

std::span<const work_period> work_calendar::exception_periods(const calendar_exception& e) const {
  if (!points_into(exceptions_, &e)) return {};
  return std::span<const work_period>(exception_periods_).subspan(e.first, e.count);
}

void work_calendar::set_base(const work_calendar* base) {
  base_ = base;
  touch();
}

const work_calendar* work_calendar::base() const { return base_; }

void work_calendar::set_factors(double day, double week, double month, double year) {
  const period_factors defaults;
  factors.day = day > 0 ? day : defaults.day;
  factors.week = week > 0 ? week : defaults.week;
  factors.month = month > 0 ? month : defaults.month;
  factors.year = year > 0 ? year : defaults.year;
}

void work_calendar::prepare() const { ready(); }

const work_calendar::index& work_calendar::rebuild() const {
  const uint64_t base_version = base_ ? base_->version_ : 0;
  index& ix = index_;
  // The entries below refer to the base's exceptions by number.
  ix.base = base_;

  for (int w = 0; w < 7; ++w) ix.weekday_total[w] = window_sum(weekdays_[w], 0, minutes_per_day);
  ix.week_prefix[0] = 0;
  for (int k = 0; k < 14; ++k) ix.week_prefix[k + 1] = ix.week_prefix[k] + ix.weekday_total[k % 7];

  // Own exceptions before the base's, each in list order; a stable sort by
  // day then keeps, for every day, the exception the lookup would find first.
  struct item {
    int64_t day;
    int32_t entry;
  };
  std::vector<item> all;
  all.reserve(exceptions_.size() + (base_ ? base_->exceptions_.size() : 0));
  for (size_t k = 0; k < exceptions_.size(); ++k) {
    all.push_back({floor_div(exceptions_[k].date, seconds_per_day), static_cast<int32_t>(k)});
  }
  if (base_) {
    for (size_t k = 0; k < base_->exceptions_.size(); ++k) {
      all.push_back({floor_div(base_->exceptions_[k].date, seconds_per_day), -1 - static_cast<int32_t>(k)});
    }
  }
  std::stable_sort(all.begin(), all.end(), [](const item& x, const item& y) { return x.day < y.day; });
  all.erase(std::unique(all.begin(), all.end(), [](const item& x, const item& y) { return x.day == y.day; }),
            all.end());
  const size_t n = all.size();

  ix.entry.resize(n);
  std::vector<int64_t> sums(n + 1);
  int64_t low = 0, high = 0;
  for (size_t k = 0; k < n; ++k) {
    ix.entry[k] = all[k].entry;
    const int64_t delta =
        window_sum(entry_periods(all[k].entry), 0, minutes_per_day) - ix.weekday_total[weekday_index(all[k].day)];
    sums[k + 1] = sums[k] + delta;
    low = std::min(low, sums[k + 1]);
    high = std::max(high, sums[k + 1]);
  }
  if (low >= std::numeric_limits<int32_t>::min() && high <= std::numeric_limits<int32_t>::max()) {
    ix.delta_sum32.assign(sums.begin(), sums.end());
    std::vector<int64_t>().swap(ix.delta_sum64);
  } else {
    std::vector<int32_t>().swap(ix.delta_sum32);
    ix.delta_sum64 = std::move(sums);
  }

  ix.dense_length = 0;
  std::vector<uint32_t>().swap(ix.dense);
  std::vector<int64_t>().swap(ix.days);
  if (n != 0 && all.back().day - all.front().day < dense_limit_days) {
    ix.dense_first = all.front().day;
    ix.dense_length = all.back().day - ix.dense_first + 1;
    // One word more than the stretch needs, so that the day after its last
    // also finds its count. The count needs 24 bits: the stretch is shorter
    // than 2^24 days.
    ix.dense.resize(static_cast<size_t>(ix.dense_length / 8 + 1));
    for (const item& e : all) {
      const uint64_t k = static_cast<uint64_t>(e.day - ix.dense_first);
      ix.dense[k / 8] |= uint32_t{1} << (k % 8);
    }
    uint32_t before = 0;
    for (uint32_t& w : ix.dense) {
      const uint32_t bits = w;
      w = before << 8 | bits;
      before += static_cast<uint32_t>(std::popcount(bits));
    }
  } else {
    ix.days.resize(n);
    for (size_t k = 0; k < n; ++k) ix.days[k] = all[k].day;
  }

  ix.version = version_;
  ix.base_version = base_version;
  ix.valid = true;
  return ix;
}

inline std::span<const work_period> work_calendar::entry_periods(int32_t entry) const {
  // Chosen without a branch: own and base entries mix unpredictably.
  const int32_t sign = entry >> 31;  // 0 for own, -1 for the base's
  const work_calendar* owners[2] = {this, base_};
  const work_calendar& owner = *owners[sign & 1];
  const calendar_exception& e = owner.exceptions_[static_cast<uint32_t>(entry ^ sign)];
  return {owner.exception_periods_.data() + e.first, e.count};
}

namespace {

static_assert(dense_limit_days < (int64_t{1} << 24));

// Set bits of each byte, to count the exception days among 8.
constexpr std::array<uint8_t, 256> bits_set = [] {
  std::array<uint8_t, 256> t{};
  for (int i = 0; i < 256; ++i) t[static_cast<size_t>(i)] = static_cast<uint8_t>(std::popcount(static_cast<unsigned>(i)));
  return t;
}();

// The number of exception days before day k of the dense stretch (k may be
// its length: all of them).
size_t days_before(const std::vector<uint32_t>& dense, uint64_t k) {
  const uint32_t w = dense[k / 8];
  return (w >> 8) + bits_set[w & ((uint32_t{1} << (k % 8)) - 1)];
}

}  // namespace

[[gnu::always_inline]] inline std::span<const work_period> work_calendar::day_periods(const index& ix, int64_t day) const {
  if (ix.dense_length != 0) {
    const uint64_t k = static_cast<uint64_t>(day - ix.dense_first);  // wraps when before
    if (k < static_cast<uint64_t>(ix.dense_length) && (ix.dense[k / 8] >> (k % 8) & 1) != 0) {
      return entry_periods(ix.entry[days_before(ix.dense, k)]);
    }
    return weekdays_[weekday_index(day)];
  }
  auto it = std::lower_bound(ix.days.begin(), ix.days.end(), day);
  if (it != ix.days.end() && *it == day) return entry_periods(ix.entry[static_cast<size_t>(it - ix.days.begin())]);
  return weekdays_[weekday_index(day)];
}

// The sum over the exception days first..last of (exception minutes -
// weekday minutes).
[[gnu::always_inline]] inline int64_t work_calendar::delta_between(const index& ix, int64_t first, int64_t last) const {
  if (ix.dense_length != 0) {
    const int64_t lo = std::max(first, ix.dense_first);
    const int64_t hi = std::min(last, ix.dense_first + ix.dense_length - 1);
    if (lo > hi) return 0;
    return ix.delta_sum(days_before(ix.dense, static_cast<uint64_t>(hi - ix.dense_first + 1))) -
           ix.delta_sum(days_before(ix.dense, static_cast<uint64_t>(lo - ix.dense_first)));
  }
  auto lo = std::lower_bound(ix.days.begin(), ix.days.end(), first);
  auto hi = std::upper_bound(lo, ix.days.end(), last);
  return ix.delta_sum(static_cast<size_t>(hi - ix.days.begin())) -
         ix.delta_sum(static_cast<size_t>(lo - ix.days.begin()));
}

// Working minutes of the whole days first..last: whole weeks of the weekly
// pattern, the leftover days, and for each exception day inside the range
// the difference between its periods and its weekday's.
int64_t work_calendar::full_days(const index& ix, int64_t first, int64_t last) const {
  if (first > last) return 0;
  // Day numbers come from 64-bit seconds, so their difference fits.
  const int64_t n = last - first + 1;
  const int64_t rem = n % 7;
  const int w0 = weekday_index(first);
  __int128 sum = static_cast<__int128>(n / 7) * ix.week_prefix[7] + (ix.week_prefix[w0 + rem] - ix.week_prefix[w0]);
  sum += delta_between(ix, first, last);
  return clamp_to_int64(sum);
}

int work_calendar::period_count(int64_t date) const {
  return static_cast<int>(day_periods(ready(), floor_div(date, seconds_per_day)).size());
}

work_period work_calendar::period(int64_t date, int i) const {
  const std::span<const work_period> p = day_periods(ready(), floor_div(date, seconds_per_day));
  if (i < 0 || static_cast<size_t>(i) >= p.size()) return {};
  return p[static_cast<size_t>(i)];
}

int64_t work_calendar::working_minutes(int64_t a, int64_t b) const {
  if (a >= b) return 0;
  int64_t day_a = floor_div(a, seconds_per_day);
  int64_t sec_a = second_of_day(a);
  int64_t min_a = (sec_a / 3600) * 60 + (sec_a % 3600) / 60;
  int64_t day_b = floor_div(b, seconds_per_day);
  int64_t sec_b = second_of_day(b);
  int64_t min_b = (sec_b / 3600) * 60 + (sec_b % 3600) / 60;
  if (sec_b < 3600) {  // the hour after midnight closes the previous day
    --day_b;
    min_b += minutes_per_day;
  }
  if (day_a > day_b) return 0;

  const index& ix = ready();
  if (day_a == day_b) return window_sum(day_periods(ix, day_a), min_a, min_b);
  __int128 sum = window_sum(day_periods(ix, day_a), min_a, minutes_per_day);
  sum += full_days(ix, day_a + 1, day_b - 1);
  sum += window_sum(day_periods(ix, day_b), 0, min_b);
  return clamp_to_int64(sum);
}

}  // namespace tessel::document
