// The window's speed on a big schedule, off-screen at 1920 x 1080:
// start-up to the first shown window, opening the file in the window
// against reading it alone, a full repaint of the table and Gantt panes
// (and of the whole window), scrolling one page, switching category.
//
//   app [FILE] [RUNS]      (FILE defaults to /tmp/x100k.xer)
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QEventLoop>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/main_frame.h"
#include "app/schedule_open.h"

using namespace tessel;

namespace {

double ms(const QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }

struct stats {
  std::vector<double> v;
  void add(double x) { v.push_back(x); }
  double median() {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
  }
  double max() const { return v.empty() ? 0 : *std::max_element(v.begin(), v.end()); }
  double min() const { return v.empty() ? 0 : *std::min_element(v.begin(), v.end()); }
};

// One paint of a pane as the window does it, into an image of its size.
void paint_pane(app::TesselView* pane, QImage& image) {
  QPainter p(&image);
  pane->viewport()->render(&p);
}

double repaint_panes(app::CMainFrame& f, QImage& a, QImage& b) {
  QElapsedTimer t;
  t.start();
  paint_pane(f.table_pane(), a);
  if (f.gantt_pane()->isVisible()) paint_pane(f.gantt_pane(), b);
  return ms(t);
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const char* file = argc > 1 ? argv[1] : "/tmp/x100k.xer";
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
  QApplication qapp(argc, argv);

  QElapsedTimer t;
  t.start();
  auto frame = std::make_unique<app::CMainFrame>();
  frame->resize(1920, 1080);
  frame->show();
  QApplication::processEvents();
  const double startup = ms(t);
  std::printf("start-up to the first shown window: %.1f ms (target <= 300)\n", startup);

  // Reading alone, as tessel-dump --summary does, then the window's open.
  t.restart();
  { auto alone = app::read_schedule(QString::fromLocal8Bit(file)); if (!alone->accepted) { std::fprintf(stderr, "refused: %s\n", file); return 1; } }
  const double read_alone = ms(t);
  QEventLoop loop;
  bool accepted = false;
  QObject::connect(frame.get(), &app::CMainFrame::open_finished, &loop, [&](bool ok) {
    accepted = ok;
    loop.quit();
  });
  t.restart();
  frame->open_file(QString::fromLocal8Bit(file));
  loop.exec();
  if (!accepted) return 1;
  QApplication::processEvents();
  const double open_window = ms(t);
  std::printf("open: reading alone %.0f ms, in the window %.0f ms (%+.1f %%, target <= +10 %%)\n", read_alone,
              open_window, 100.0 * (open_window - read_alone) / read_alone);
  std::printf("activities: %zu\n", frame->document()->task.size());

  QImage a(frame->table_pane()->viewport()->size(), QImage::Format_RGB32);
  QImage b(frame->gantt_pane()->viewport()->size(), QImage::Format_RGB32);
  std::printf("panes: table %dx%d, gantt %dx%d\n", a.width(), a.height(), b.width(), b.height());

  stats full;
  for (int i = 0; i < runs; ++i) full.add(repaint_panes(*frame, a, b));
  std::printf("full repaint of table + Gantt: median %.2f ms, min %.2f ms, max %.2f ms (target <= 16)\n",
              full.median(), full.min(), full.max());

  stats table_only, gantt_only;
  for (int i = 0; i < runs; ++i) {
    t.restart();
    paint_pane(frame->table_pane(), a);
    table_only.add(ms(t));
    t.restart();
    paint_pane(frame->gantt_pane(), b);
    gantt_only.add(ms(t));
  }
  std::printf("  of which table %.2f ms, Gantt %.2f ms (medians)\n", table_only.median(), gantt_only.median());

  stats window;
  for (int i = 0; i < std::max(3, runs / 4); ++i) {
    t.restart();
    const QPixmap shot = frame->grab();
    window.add(ms(t));
  }
  std::printf("whole window incl. ribbon (grab): median %.2f ms\n", window.median());

  stats scroll;
  view::HostPane& tp = frame->table_pane()->pane();
  const int page = std::max(1, tp.client_height());
  for (int i = 0; i < runs; ++i) {
    t.restart();
    tp.set_scroll_pos(view::scroll_bar::vertical, tp.scroll_pos(view::scroll_bar::vertical) + page);
    repaint_panes(*frame, a, b);
    scroll.add(ms(t));
  }
  std::printf("scroll one page and repaint: median %.2f ms, min %.2f ms, max %.2f ms (target <= 16)\n",
              scroll.median(), scroll.min(), scroll.max());

  stats middle;
  tp.set_scroll_pos(view::scroll_bar::vertical, tp.scroll_range(view::scroll_bar::vertical) / 2);
  for (int i = 0; i < runs; ++i) middle.add(repaint_panes(*frame, a, b));
  std::printf("repaint in the middle of the schedule: median %.2f ms, min %.2f ms\n", middle.median(), middle.min());

  for (view::view_kind k : {view::view_kind::wbs, view::view_kind::project, view::view_kind::resource,
                            view::view_kind::activity, view::view_kind::wbs}) {
    t.restart();
    frame->set_category(k);
    repaint_panes(*frame, a, b);
    std::printf("switch to category %d and repaint: %.1f ms (target <= 300)\n", static_cast<int>(k), ms(t));
  }
  return 0;
}
