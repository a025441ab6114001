// Working-minute counts as a large file's load needs them: 1,000,000 random
// spans of up to three years on a calendar with 300 exceptions whose base
// calendar has 200 more. Prints the time, and for a small sample the time of
// the plain day-by-day count for comparison (the results must agree).
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

#include "../tests/calendar_oracle.h"
#include "document/calendars/calendar.h"

using tessel::document::work_calendar;
using tessel::document::work_period;

namespace {

constexpr int64_t kDay = 86400;
constexpr int64_t k2015 = 1420070400;  // 2015-01-01 00:00 UTC

void add_exceptions(work_calendar& c, std::mt19937_64& rng, int count) {
  for (int i = 0; i < count; ++i) {
    auto& e = c.add_exception(k2015 + static_cast<int64_t>(rng() % (10 * 365)) * kDay);
    if (rng() % 4 == 0) c.add_exception_period(e, work_period{9 * 60, 13 * 60});
  }
}

double seconds_since(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

}  // namespace

int main() {
  std::mt19937_64 rng(2024);
  work_calendar base;
  for (int d = 2; d <= 6; ++d) base.add_period(d, work_period{8 * 60, 16 * 60});
  add_exceptions(base, rng, 200);
  work_calendar cal;
  for (int d = 2; d <= 6; ++d) {
    cal.add_period(d, work_period{8 * 60, 12 * 60});
    cal.add_period(d, work_period{13 * 60, 17 * 60});
  }
  cal.add_period(7, work_period{8 * 60, 12 * 60});
  add_exceptions(cal, rng, 300);
  cal.set_base(&base);

  const int n = 1000000;
  std::vector<int64_t> a(n), b(n);
  for (int i = 0; i < n; ++i) {
    a[i] = k2015 + static_cast<int64_t>(rng() % (7 * 365 * kDay));
    b[i] = a[i] + static_cast<int64_t>(rng() % (3 * 365 * kDay));
    if (i % 5 == 0) b[i] -= b[i] % kDay;  // some end at 00:00
  }

  auto t0 = std::chrono::steady_clock::now();
  cal.prepare();
  int64_t total = 0;
  for (int i = 0; i < n; ++i) total += cal.working_minutes(a[i], b[i]);
  double fast = seconds_since(t0);
  std::printf("fast:   %d spans in %.3f s (%.0f ns a span), %lld hours in all\n", n, fast, fast * 1e9 / n,
              static_cast<long long>(total / 60));

  const int sample = 2000;
  int mismatches = 0;
  int64_t sample_fast = 0;
  for (int i = 0; i < sample; ++i) sample_fast += cal.working_minutes(a[i], b[i]);
  t0 = std::chrono::steady_clock::now();
  int64_t sample_slow = 0;
  for (int i = 0; i < sample; ++i) {
    int64_t m = tessel::oracle::working_minutes(cal, a[i], b[i]);
    sample_slow += m;
    if (m != cal.working_minutes(a[i], b[i])) ++mismatches;
  }
  double slow = seconds_since(t0);
  std::printf("day by day: %d spans in %.3f s (%.0f ns a span; %.0f s for all %d)\n", sample, slow,
              slow * 1e9 / sample, slow / sample * n, n);
  std::printf("sample totals %lld / %lld minutes, %d mismatches\n", static_cast<long long>(sample_fast),
              static_cast<long long>(sample_slow), mismatches);
  return mismatches == 0 && fast <= 1.0 ? 0 : 1;
}
