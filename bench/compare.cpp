// Comparing two updates of a schedule once both are open: the time of the
// matching and of the comparison, and the memory they take beyond the two
// documents, against the memory of one document.
//
//   bench/compare OLD NEW
//
// Memory is read from /proc: the resident size before and after an open,
// and the peak during the comparison (the peak is reset just before it).
#include <malloc.h>
#include <time.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>

#include "analysis/schedule_compare.h"
#include "document/io/path_text.h"
#include "timing.h"
#include "view/tessel_doc.h"

using namespace tessel;

namespace {

long status_kb(const char* key) {
  std::ifstream in("/proc/self/status");
  std::string line;
  const std::string k = std::string(key) + ":";
  while (std::getline(in, line))
    if (line.compare(0, k.size(), k) == 0) return std::stol(line.substr(k.size()));
  return -1;
}

void reset_peak() { std::ofstream("/proc/self/clear_refs") << "5"; }

// Processor time of this process, which a machine busy with other work
// inflates less than the clock.
double cpu_ms() {
  timespec t{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: compare OLD NEW\n");
    return 2;
  }
  view::TesselDoc old_doc, new_doc;
  ::malloc_trim(0);
  const long before = status_kb("VmRSS");
  auto t0 = bench::clock_type::now();
  if (!old_doc.open(document::wide_text(argv[1]))) return 1;
  std::printf("open OLD %38.1f ms\n", bench::ms_since(t0));
  ::malloc_trim(0);
  const long one_doc = status_kb("VmRSS") - before;
  t0 = bench::clock_type::now();
  if (!new_doc.open(document::wide_text(argv[2]))) return 1;
  std::printf("open NEW %38.1f ms\n", bench::ms_since(t0));
  const document::Document& od = *old_doc.document();
  const document::Document& nd = *new_doc.document();
  std::printf("activities OLD %zu NEW %zu, relationships OLD %zu NEW %zu\n", od.task.size(), nd.task.size(),
              od.taskpred.size(), nd.taskpred.size());

  bench::figure(5, "match_schedules", [&] { (void)analysis::match_schedules(od, nd); });
  {
    const analysis::schedule_match m = analysis::match_schedules(od, nd);
    bench::figure(5, "compare_schedules (match done)", [&] { (void)analysis::compare_schedules(m); });
  }
  std::vector<analysis::change_line> lines;
  bench::figure(5, "match + compare", [&] { lines = analysis::compare_schedules(analysis::match_schedules(od, nd)); },
                [&] { lines.clear(); lines.shrink_to_fit(); });

  {
    double best = 1e300;
    for (int i = 0; i < 5; ++i) {
      const double c0 = cpu_ms();
      lines = analysis::compare_schedules(analysis::match_schedules(od, nd));
      best = std::min(best, cpu_ms() - c0);
    }
    std::printf("%-34s %9.3f ms  (processor time, best of 5)\n", "match + compare", best);
  }

  // Memory: the peak of one whole match and comparison, with its result
  // kept, beyond what the two documents hold.
  lines.clear();
  lines.shrink_to_fit();
  ::malloc_trim(0);
  const long base = status_kb("VmRSS");
  reset_peak();
  analysis::schedule_match m = analysis::match_schedules(od, nd);
  lines = analysis::compare_schedules(m);
  const long peak = status_kb("VmHWM");
  const long kept = status_kb("VmRSS");
  std::printf("one document                        %9.1f MB\n", one_doc / 1024.0);
  std::printf("comparison peak beyond both docs    %9.1f MB  (%.1f %% of one document)\n", (peak - base) / 1024.0,
              100.0 * static_cast<double>(peak - base) / static_cast<double>(one_doc));
  std::printf("comparison kept (match + lines)     %9.1f MB\n", (kept - base) / 1024.0);

  std::map<std::string, size_t> by_kind;
  for (const analysis::change_line& l : lines) ++by_kind[std::string(analysis::change_kind_text(l.kind))];
  std::printf("%zu change lines:", lines.size());
  for (const auto& [k, n] : by_kind) std::printf(" %s %zu", k.c_str(), n);
  std::printf("\n");
  return 0;
}
