// Times the hot paths of the value types: reading date cells (a 100,000-
// activity file holds about 3 million), writing date, duration and cost
// texts for painting, and sorting dates.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "values/display_prefs.h"
#include "values/s_date.h"
#include "values/s_quantity.h"
#include "values/s_scalars.h"

namespace {

double seconds_since(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

std::u16string u16(const char* s) { return std::u16string(s, s + std::char_traits<char>::length(s)); }

}  // namespace

int main() {
  using namespace tessel;
  constexpr int n = 3000000;
  std::vector<std::u16string> xer_texts, wb_texts;
  for (int i = 0; i < 1000; ++i) {
    char b[64];
    std::snprintf(b, sizeof b, "%d-%02d-%02d %02d:%02d", 2000 + i % 30, 1 + i % 12, 1 + i % 28, i % 24, i % 60);
    xer_texts.push_back(u16(b));
    std::snprintf(b, sizeof b, "%d/%d/%d %d:%02d:00 %s", 1 + i % 12, 1 + i % 28, 2000 + i % 30, 1 + i % 12, i % 60,
                  i % 2 ? "PM" : "AM");
    wb_texts.push_back(u16(b));
  }

  int64_t sum = 0;
  auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < n; ++i) sum += s_date(xer_texts[i % 1000], s_date::form_xer).time;
  const double xer_s = seconds_since(t0);
  t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < n; ++i) sum += s_date(wb_texts[i % 1000], s_date::form_workbook).time;
  const double wb_s = seconds_since(t0);

  std::vector<s_date> dates;
  for (int i = 0; i < n; ++i) dates.emplace_back(xer_texts[(i % 1000) * 7919 % 1000], s_date::form_xer);
  size_t chars = 0;
  t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < 1000000; ++i) chars += dates[i].text().size();
  const double text_s = seconds_since(t0);

  prefs().duration_decimals = 2;
  t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < 1000000; ++i) chars += s_dur(i * 0.37).text().size();
  const double dur_s = seconds_since(t0);
  t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < 1000000; ++i) chars += s_cost(i * 12.345).text().size();
  const double cost_s = seconds_since(t0);

  std::vector<s_date> sample(dates.begin(), dates.begin() + 100000);
  t0 = std::chrono::steady_clock::now();
  std::stable_sort(sample.begin(), sample.end(), [](const s_date& a, const s_date& b) { return a.less(b); });
  const double sort_s = seconds_since(t0);

  std::printf("parse form 0: %d dates in %.3f s (%.1f ns each)\n", n, xer_s, xer_s * 1e9 / n);
  std::printf("parse form 1: %d dates in %.3f s (%.1f ns each)\n", n, wb_s, wb_s * 1e9 / n);
  std::printf("date text:    1000000 in %.3f s\n", text_s);
  std::printf("dur text:     1000000 in %.3f s\n", dur_s);
  std::printf("cost text:    1000000 in %.3f s\n", cost_s);
  std::printf("sort 100000 dates: %.4f s\n", sort_s);
  std::printf("(checksum %lld %zu)\n", static_cast<long long>(sum), chars);
  return 0;
}
