// The stopwatch the benchmark programs share: milliseconds since a moment,
// and a figure line from the best of several runs beside the first (cold)
// one, so that a slow first run shows instead of vanishing in the best.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

namespace tessel::bench {

using clock_type = std::chrono::steady_clock;

inline double ms_since(clock_type::time_point t0) {
  return std::chrono::duration<double, std::milli>(clock_type::now() - t0).count();
}

// Runs `step` `runs` times, each after an untimed `prepare`, and prints
// "what  best ms  (first ms)".
inline void figure(int runs, const char* what, const std::function<void()>& step,
                   const std::function<void()>& prepare = [] {}) {
  double best = 1e300, first = 0.0;
  for (int i = 0; i < runs; ++i) {
    prepare();
    const auto t0 = clock_type::now();
    step();
    const double ms = ms_since(t0);
    if (i == 0) first = ms;
    best = std::min(best, ms);
  }
  std::printf("%-34s %9.3f ms  (first %.3f)\n", what, best, first);
}

}  // namespace tessel::bench
