// Export PDF of a big schedule, off-screen: pages per second, the longest
// gap between two pages (the window's events run in each gap), peak memory,
// and resident memory before the export and after it.
//
//   print_pdf [FILE] [OUT.pdf] [--repeat-table] [--fit-timeline] [--pages N]
//   (FILE defaults to /tmp/x100k.xer, OUT to /tmp/print_pdf_bench.pdf; with
//   --pages the export stops after N pages, as a cancel does)
#include <malloc.h>
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "app/main_frame.h"
#include "app/printing.h"

using namespace tessel;

namespace {

double resident_mb() {
  std::ifstream in("/proc/self/statm");
  long pages = 0, resident = 0;
  in >> pages >> resident;
  return double(resident) * 4096.0 / 1048576.0;
}

double peak_mb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return double(u.ru_maxrss) / 1024.0;
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const char* file = "/tmp/x100k.xer";
  const char* out = "/tmp/print_pdf_bench.pdf";
  app::print_options options;
  int positional = 0;
  int stop_after = 0;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--pages") && i + 1 < argc) stop_after = std::atoi(argv[++i]);
    else if (!std::strcmp(argv[i], "--repeat-table")) options.repeat_table = true;
    else if (!std::strcmp(argv[i], "--fit-timeline")) options.fit_timeline = true;
    else if (positional++ == 0) file = argv[i];
    else out = argv[i];
  }
  QApplication qapp(argc, argv);
  app::CMainFrame frame;
  frame.report_refusal = [](const QString& m) { std::fprintf(stderr, "%s\n", m.toLocal8Bit().constData()); };
  frame.resize(1920, 1080);
  frame.show();
  QApplication::processEvents();
  if (!frame.open_file_now(QString::fromLocal8Bit(file))) return 1;
  QApplication::processEvents();
  malloc_trim(0);
  const double before = resident_mb();

  QElapsedTimer total, gap;
  total.start();
  gap.start();
  double longest_gap = 0;
  int longest_at = 0;
  int pages = 0;
  const bool ok = app::write_pdf(frame, QString::fromLocal8Bit(out), options, [&](int k, int n) {
    const double g = double(gap.nsecsElapsed()) / 1e6;
    if (g > longest_gap) longest_gap = g, longest_at = k;
    QApplication::processEvents();
    gap.restart();
    pages = k;
    if (k % 500 == 0) std::fprintf(stderr, "page %d of %d\n", k, n);
    return stop_after <= 0 || k < stop_after;
  });
  const double seconds = double(total.nsecsElapsed()) / 1e9;
  QApplication::processEvents();
  malloc_trim(0);
  const double after = resident_mb();
  if (!ok && stop_after <= 0) {
    std::fprintf(stderr, "export failed\n");
    return 1;
  }
  std::printf("file            %s\n", file);
  std::printf("pages           %d in %.2f s = %.1f pages/s\n", pages, seconds, pages / seconds);
  std::printf("longest gap     %.1f ms, before page %d (events run between pages)\n", longest_gap, longest_at);
  if (ok) std::printf("pdf size        %.1f MB\n", double(QFileInfo(QString::fromLocal8Bit(out)).size()) / 1048576.0);
  else std::printf("stopped         after %d pages; the partial file is %s\n", pages,
                   QFileInfo::exists(QString::fromLocal8Bit(out)) ? "still there" : "deleted");
  std::printf("resident        %.0f MB before, %.0f MB after (%+.1f %%), peak %.0f MB\n", before, after,
              (after - before) * 100.0 / before, peak_mb());
  return 0;
}
