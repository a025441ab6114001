// The Gantt chart on a large schedule: `refresh` (timescale, gridline dates
// and data date over every activity) for each scale, the one-off index of
// the relationships between the visible activities, and one paint of a
// 1600 x 900 pane on the recording surface at many scroll positions, with
// relationship lines, gridlines and shading. Prints milliseconds.
//
//   gantt FILE [LAYOUT]
//
// LAYOUT is an activity layout name (default: the one the view shows first).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "config/settings.h"
#include "document/path_text.h"
#include "view/gantt_links.h"
#include "view/gantt_view.h"
#include "view/go_to.h"
#include "view/host_pane.h"
#include "view/recording_surface.h"
#include "view/table_views.h"
#include "view/tessel_doc.h"

using namespace tessel;
using namespace tessel::view;
using clock_type = std::chrono::steady_clock;

static double ms_since(clock_type::time_point t0) {
  return std::chrono::duration<double, std::milli>(clock_type::now() - t0).count();
}

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: gantt FILE [LAYOUT]\n");
    return 2;
  }
  TesselDoc doc;
  auto t0 = clock_type::now();
  if (!doc.open(document::wide_text(argv[1]))) {
    std::fprintf(stderr, "Can't open document: %s\n", argv[1]);
    return 1;
  }
  const document::Document& d = *doc.document();
  std::printf("open %.0f ms: activities %zu, relationships %zu\n", ms_since(t0), d.task.size(), d.taskpred.size());
  Layout* layout = argc > 2 ? doc.configuration().layouts().find(view_kind::activity, document::wide_text(argv[2]))
                            : doc.configuration().first_layout(view_kind::activity);
  if (!layout || !layout->date_settings()) {
    std::fprintf(stderr, "no activity layout\n");
    return 1;
  }
  std::printf("layout %s, %zu bars\n", argc > 2 ? argv[2] : "(first)", layout->gantt().bars.size());

  ActivityTableView table;
  table.set_document(&d);
  table.set_layout(layout);
  t0 = clock_type::now();
  table.refresh();
  std::printf("table refresh %.0f ms, visible rows %zu\n", ms_since(t0), table.visibleRows().size());

  {
    // What the first paint after a change of the visible list pays once.
    double best = 1e30;
    gantt::link_index links;
    for (int run = 0; run < 3; ++run) {
      t0 = clock_type::now();
      links.build(table.visibleRows(), d.taskpred);
      best = std::min(best, ms_since(t0));
    }
    std::printf("relationship index of the visible rows: %.1f ms (%zu connectors)\n", best, links.size());
  }

  GanttView gantt;
  gantt.set_document(&d);
  gantt.set_layout(layout);
  gantt.follow(&table);
  config::settings().gridlines_VerticalScale = 5;  // a line every day: the most the month scales draw

  std::printf("refresh (best of 5), target 30 ms:\n");
  for (int code : {1, 2, 3, 4, 5, 6, 8}) {
    layout->date_settings()->timescale = code;
    double best = 1e30;
    for (int run = 0; run < 5; ++run) {
      t0 = clock_type::now();
      gantt.refresh();
      best = std::min(best, ms_since(t0));
    }
    std::printf("  code %d: %.2f ms (%zu cells, %zu gridlines)\n", code, best, gantt.scale().lower.size(),
                gantt.gridlines().size());
  }

  HostPane table_pane, pane;
  table_pane.set_view(&table);
  pane.set_view(&gantt);
  table_pane.set_linked(&pane);
  pane.set_linked(&table_pane);
  table_pane.set_client_size(600, 900);
  pane.set_client_size(1600, 900);
  recording_surface surface;

  std::printf("paint of a 1600 x 900 pane (200 scroll positions top to bottom, best of 3 at each), target 3 ms:\n");
  for (int code : {5, 4, 8}) {
    layout->date_settings()->timescale = code;
    gantt.refresh();
    config::settings().gridlines_VerticalScale = code == 8 ? 8 : 5;
    pane.update_ranges();
    table_pane.update_ranges();
    // The first paint after the visible list changed indexes its relationships.
    t0 = clock_type::now();
    surface.clear();
    pane.paint(surface);
    const double first = ms_since(t0);

    const int rows = static_cast<int>(table.visibleRows().size());
    // Two sweeps: in the first, group rows newly in sight work out their
    // summarised dates once (the row model keeps them; the table's own Start
    // and Finish columns ask for them too); the second is the steady state.
    for (int sweep = 1; sweep <= 2; ++sweep) {
      std::vector<double> times;
      size_t calls = 0;
      for (int step = 0; step < 200; ++step) {
        // Spread over the whole height; each row then brought into view
        // horizontally by go-to, as a user does.
        const int row = static_cast<int>(static_cast<int64_t>(rows - 1) * step / 199);
        table.selectVisibleRow(row);
        pane.set_scroll_pos(scroll_bar::vertical, static_cast<int>(static_cast<float>(row) * table.rowHeight()));
        go_to(&table_pane, &pane);
        // Best of three at each position: the machine's other work must not
        // count as the chart's.
        double best = 1e30;
        for (int again = 0; again < 3; ++again) {
          surface.clear();
          t0 = clock_type::now();
          pane.paint(surface);
          best = std::min(best, ms_since(t0));
        }
        times.push_back(best);
        calls += surface.calls().size();
      }
      std::sort(times.begin(), times.end());
      double total = 0.0;
      for (double t : times) total += t;
      std::printf("  code %d sweep %d: worst %.3f ms, 95th percentile %.3f ms, median %.3f ms, mean %.3f ms, "
                  "%.0f calls a paint\n",
                  code, sweep, times.back(), times[times.size() * 95 / 100], times[times.size() / 2],
                  total / static_cast<double>(times.size()), static_cast<double>(calls) / 200.0);
    }
    if (code == 5) std::printf("  first paint, with the relationship index: %.1f ms\n", first);
  }
  return 0;
}
