// xer_read FILE: how fast the XER reader builds the tree of FILE and how much
// memory it needs. Prints the best of three runs in MB/s (1 MB = 10^6 bytes,
// file bytes per second of xer_parser::parse, reading the file included;
// wall-clock time and, as a figure that other load on the machine does not
// spoil, the process's CPU time), the peak resident set size, and the
// tree's counts. Then the same for the
// streaming form, which holds one table's cells at a time.
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <fstream>
#include <string>
#include <sys/stat.h>

#include "document/xer/xer.h"

using tessel::document::xer_parser;
using tessel::document::xer_table;

namespace {

// Peak resident set size in kB (VmHWM).
long peak_rss_kb() {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

// Starts a new peak measurement (writing 5 to clear_refs resets VmHWM).
void reset_peak_rss() {
  std::ofstream out("/proc/self/clear_refs");
  out << "5";
}

double seconds_since(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

double cpu_seconds() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: xer_read FILE\n");
    return 2;
  }
  const std::string name = argv[1];
  struct stat st;
  if (::stat(name.c_str(), &st) != 0) {
    std::fprintf(stderr, "xer_read: cannot stat %s\n", name.c_str());
    return 1;
  }
  const double mb = double(st.st_size) / 1e6;
  // Bench file names are plain ASCII paths.
  const std::u16string path(name.begin(), name.end());

  const long rss_before = peak_rss_kb();
  double best = 1e30, best_cpu = 1e30;
  size_t tables = 0, rows = 0, cells = 0;
  for (int run = 0; run < 3; ++run) {
    const auto t0 = std::chrono::steady_clock::now();
    const double c0 = cpu_seconds();
    auto doc = xer_parser::parse(path);
    const double s = seconds_since(t0);
    best_cpu = std::min(best_cpu, cpu_seconds() - c0);
    if (!doc) {
      std::fprintf(stderr, "Can't open document: %s\n", name.c_str());
      return 1;
    }
    best = std::min(best, s);
    tables = doc->tables().size();
    rows = cells = 0;
    for (const auto& t : doc->tables()) {
      rows += t->rows().size();
      for (const auto& r : t->rows()) cells += r.size();
    }
  }
  const long peak = peak_rss_kb();
  std::printf("file            %s (%.1f MB)\n", name.c_str(), mb);
  std::printf("parse           %.0f MB/s (best of 3: %.3f s); CPU time %.3f s = %.0f MB/s\n", mb / best, best,
              best_cpu, mb / best_cpu);
  std::printf("peak RSS        %.1f MB (%.2f x file size; %.1f MB before reading)\n", peak / 1024.0,
              peak * 1024.0 / double(st.st_size), rss_before / 1024.0);
  std::printf("tree            %zu tables, %zu rows, %zu cells\n", tables, rows, cells);

  reset_peak_rss();
  best = best_cpu = 1e30;
  size_t stream_rows = 0;
  for (int run = 0; run < 3; ++run) {
    stream_rows = 0;
    const auto t0 = std::chrono::steady_clock::now();
    const double c0 = cpu_seconds();
    xer_parser::parse_tables(path, [&](const xer_table& t) { stream_rows += t.rows().size(); });
    best = std::min(best, seconds_since(t0));
    best_cpu = std::min(best_cpu, cpu_seconds() - c0);
  }
  const long stream_peak = peak_rss_kb();
  std::printf("parse_tables    %.0f MB/s (best of 3: %.3f s); CPU time %.3f s = %.0f MB/s; %zu rows\n", mb / best,
              best, best_cpu, mb / best_cpu, stream_rows);
  std::printf("peak RSS        %.1f MB (%.2f x file size)\n", stream_peak / 1024.0,
              stream_peak * 1024.0 / double(st.st_size));
  return 0;
}
