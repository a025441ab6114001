// Times turning a parsed XER file into records: every table of the file is
// handed to its loader. The file is parsed first and not timed.
//
//   load_records [file.xer]   (default /tmp/x100k.xer, made by
//   python3 ../shared/tools/gen_xer.py --activities 100000 --out /tmp/x100k.xer)
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "document/table_loaders.h"

using namespace tessel::document;

int main(int argc, char** argv) {
  std::string path = argc > 1 ? argv[1] : "/tmp/x100k.xer";
  auto t0 = std::chrono::steady_clock::now();
  auto doc = xer_parser::parse(std::u16string(path.begin(), path.end()));
  auto t1 = std::chrono::steady_clock::now();
  if (!doc) {
    std::fprintf(stderr, "cannot read %s as XER\n", path.c_str());
    return 1;
  }
  std::printf("parse: %.3f s (%zu tables)\n", std::chrono::duration<double>(t1 - t0).count(), doc->tables().size());

  double best = 1e9, best_cpu = 1e9;
  size_t loaded = 0;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
  for (int run = 0; run < runs; ++run) {
    auto lists = std::make_unique<record_lists>();
    auto a = std::chrono::steady_clock::now();
    std::clock_t ca = std::clock();
    loaded = 0;
    for (const auto& t : doc->tables()) loaded += load_table(*lists, *t) ? 1 : 0;
    auto b = std::chrono::steady_clock::now();
    std::clock_t cb = std::clock();
    double s = std::chrono::duration<double>(b - a).count();
    double cpu = static_cast<double>(cb - ca) / CLOCKS_PER_SEC;
    best = s < best ? s : best;
    best_cpu = cpu < best_cpu ? cpu : best_cpu;
    std::printf("load run %d: %.3f s (cpu %.3f s)\n", run + 1, s, cpu);
    if (run == runs - 1) {
      std::printf("tables loaded: %zu\n", loaded);
#define TESSEL_PRINT_COUNT(TYPE, name) \
  if (lists->name.size()) std::printf("  %-9s %8zu records, sizeof %5zu\n", #TYPE, lists->name.size(), sizeof(TYPE));
      TESSEL_RECORD_TABLES(TESSEL_PRINT_COUNT)
#undef TESSEL_PRINT_COUNT
    }
    auto c = std::chrono::steady_clock::now();
    lists.reset();
    auto d = std::chrono::steady_clock::now();
    if (run == runs - 1) std::printf("destroy: %.3f s\n", std::chrono::duration<double>(d - c).count());
  }
  std::printf("best load: %.3f s, cpu %.3f s (target 0.400 s)\n", best, best_cpu);
  std::printf("sizeof TASK %zu, PROJWBS %zu, PROJECT %zu, RSRC %zu, TASKRSRC %zu, TASKPRED %zu, CALENDAR %zu\n",
              sizeof(TASK), sizeof(PROJWBS), sizeof(PROJECT), sizeof(RSRC), sizeof(TASKRSRC), sizeof(TASKPRED),
              sizeof(CALENDAR));
  return 0;
}
