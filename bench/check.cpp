// The schedule check on a large schedule: all 18 checks of every project
// after the open, the TSV table, one check's list, and the checks against
// the file itself as its own baseline (the pairing not counted). Prints
// milliseconds (best of RUNS, first run in brackets).
//
//   check FILE [RUNS]
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "analysis/check_text.h"
#include "analysis/schedule_check.h"
#include "analysis/schedule_match.h"
#include "document/io/path_text.h"
#include "timing.h"
#include "view/tessel_doc.h"

using namespace tessel;

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: check FILE [RUNS]\n");
    return 2;
  }
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  view::TesselDoc doc;
  if (!doc.open(document::wide_text(argv[1]))) {
    std::fprintf(stderr, "Can't open document: %s\n", argv[1]);
    return 1;
  }
  const document::Document& d = *doc.document();
  std::printf("%zu projects, %zu activities, %zu relationships, %zu assignments\n", d.project.size(), d.task.size(),
              d.taskpred.size(), d.taskrsrc.size());

  analysis::schedule_check c;
  bench::figure(runs, "all checks", [&] { c = analysis::check_schedule(d); });
  size_t bytes = 0;
  bench::figure(runs, "table as TSV", [&] { bytes = analysis::check_table_tsv(c).size(); });
  bench::figure(runs, "logic list as TSV", [&] { bytes += analysis::check_list_tsv(c, analysis::check_kind::logic).size(); });
  const analysis::schedule_match self = analysis::match_schedules(d, d);
  bench::figure(runs, "all checks, baseline file", [&] { c = analysis::check_schedule(d, &self); });
  for (const analysis::project_check& p : c.projects)
    std::printf("%s: logic %lld of %lld, critical path %lld activities\n", analysis::project_name(p).c_str(),
                static_cast<long long>(p.lines[0].count), static_cast<long long>(p.lines[0].of),
                static_cast<long long>(p.lines[static_cast<size_t>(analysis::check_kind::critical_path)].count));
  return bytes == 0;
}
