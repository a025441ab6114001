// Painting on a large schedule: one paint of a pane on the recording
// surface, and the table commands whose cost grows with the schedule.
// Prints milliseconds (best of RUNS, first run in brackets).
//
//   paint FILE [RUNS]
//
// The table pane is 1600 x 900 and shows "Classic WBS Layout" (or the first
// activity layout). Each pane kind adds its figures as one function taking
// the shared `paint_bench` and is called from main.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "timing.h"
#include "config/settings.h"
#include "document/io/path_text.h"
#include "view/gantt/gantt_links.h"
#include "view/gantt/gantt_view.h"
#include "view/gantt/go_to.h"
#include "view/host_pane.h"
#include "view/recording_surface.h"
#include "view/table/table_views.h"
#include "view/tessel_doc.h"

using namespace tessel;
using namespace tessel::view;
using namespace tessel::bench;

namespace {

// The open schedule and the Activity category's table in its pane.
struct paint_bench {
  TesselDoc doc;
  Layout* layout = nullptr;
  ActivityTableView table;
  HostPane table_pane;
  int runs = 3;
};

void figure(const paint_bench& b, const char* what, const std::function<void()>& prepare,
            const std::function<void()>& step) {
  bench::figure(b.runs, what, step, prepare);
}

std::size_t paint_once(HostPane& pane) {
  recording_surface s;
  pane.paint(s);
  return s.calls().size();
}

void table_figures(paint_bench& b) {
  HostPane& pane = b.table_pane;
  std::size_t calls = 0;
  const auto at = [&pane](int y) {
    return [&pane, y] {
      pane.update_ranges();
      pane.set_scroll_pos(scroll_bar::vertical, y);
    };
  };
  const int end = pane.scroll_range(scroll_bar::vertical);
  figure(b, "table paint at the top", at(0), [&] { calls = paint_once(pane); });
  std::printf("  %zu drawing calls\n", calls);
  figure(b, "table paint in the middle", at(end / 2), [&] { calls = paint_once(pane); });
  figure(b, "table paint at the end", at(end), [&] { calls = paint_once(pane); });

  // A header click (button down and up, each followed by the host's
  // refresh) on the first column re-sorts the whole tree.
  figure(b, "header click re-sort", at(0), [&] {
    pane.left_button_down(mouse_left_held, 40.0f, 10.0f);
    pane.left_button_up(0, 40.0f, 10.0f);
  });
  // Each starts from the state the other leaves.
  figure(b, "Collapse All", [&] { b.table.expandAll(); }, [&] { b.table.collapseAll(); });
  std::printf("  %zu visible rows after Collapse All\n", b.table.visibleRows().size());
  figure(b, "Expand All", [&] { b.table.collapseAll(); }, [&] { b.table.expandAll(); });
  std::printf("  %zu visible rows after Expand All\n", b.table.visibleRows().size());
  figure(b, "table paint at the end, expanded", at(end), [&] { calls = paint_once(pane); });
}


// The Activity category's Gantt chart in a 1600 x 900 pane beside the table:
// refresh (timescale, gridline dates and data date over every activity) of
// each scale, the relationship index a changed row list costs once, and
// paints with relationship lines at 200 heights from top to bottom, each
// brought into view horizontally by go-to as a user would.
void gantt_figures(paint_bench& b) {
  GanttView gantt;
  gantt.set_document(b.doc.document());
  gantt.set_layout(b.layout);
  gantt.follow(&b.table);
  HostPane pane;
  pane.set_view(&gantt);
  pane.set_client_size(1600, 900);
  pane.set_linked(&b.table_pane);
  b.table_pane.set_linked(&pane);
  DateSettings& dates = *b.layout->date_settings();
  const DateSettings saved = dates;
  config::settings().gridlines_VerticalScale = 5;  // a line a day: the most the week and month scales draw

  for (int code : {1, 2, 3, 4, 5, 6, 8}) {
    dates.timescale = code;
    char what[64];
    std::snprintf(what, sizeof what, "Gantt refresh, %s", std::string(gantt::scale_of(code).combo_text.begin(),
                                                                       gantt::scale_of(code).combo_text.end())
                                                               .c_str());
    figure(b, what, [] {}, [&] { gantt.refresh(); });
  }
  std::printf("  %zu lower-tier cells on Day/Hour\n", gantt.scale().lower.size());

  std::size_t links = 0;
  figure(b, "Gantt relationship index", [] {}, [&] {
    gantt::link_index ix;
    ix.build(b.table.visibleRows(), b.doc.document()->task, b.doc.document()->taskpred);
    links = ix.size();
  });
  std::printf("  %zu connectors between visible activities\n", links);

  for (int code : {5, 4, 8}) {
    dates.timescale = code;
    config::settings().gridlines_VerticalScale = code == 8 ? 8 : 5;
    gantt.refresh();
    pane.update_ranges();
    b.table_pane.update_ranges();
    const int rows = static_cast<int>(b.table.visibleRows().size());
    double worst = 0.0, total = 0.0;
    std::size_t calls = 0;
    for (int step = 0; step < 200; ++step) {
      const int row = static_cast<int>(static_cast<int64_t>(rows - 1) * step / 199);
      b.table.selectVisibleRow(row);
      pane.set_scroll_pos(scroll_bar::vertical, static_cast<int>(static_cast<float>(row) * b.table.rowHeight()));
      go_to(&b.table_pane, &pane);
      // Best of RUNS at each height: the machine's other work is not the chart's.
      double best = 1e300;
      for (int i = 0; i < b.runs; ++i) {
        const auto t0 = clock_type::now();
        calls = paint_once(pane);
        best = std::min(best, ms_since(t0));
      }
      worst = std::max(worst, best);
      total += best;
    }
    std::printf("%-34s %9.3f ms  (mean %.3f, %zu drawing calls at the end)\n",
                (std::string("Gantt paint, worst, ") +
                 std::string(gantt::scale_of(code).combo_text.begin(), gantt::scale_of(code).combo_text.end()))
                    .c_str(),
                worst, total / 200.0, calls);
  }
  b.table.selectVisibleRow(-1);
  b.table_pane.set_linked(nullptr);
  dates = saved;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: paint FILE [RUNS]\n");
    return 2;
  }
  paint_bench b;
  b.runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  auto t0 = clock_type::now();
  if (!b.doc.open(document::wide_text(argv[1]))) {
    std::fprintf(stderr, "Can't open document: %s\n", argv[1]);
    return 1;
  }
  std::printf("open %.0f ms: %zu activities\n", ms_since(t0), b.doc.document()->task.size());
  b.layout = b.doc.configuration().layouts().find(view_kind::activity, u"Classic WBS Layout");
  if (!b.layout) b.layout = b.doc.configuration().first_layout(view_kind::activity);
  if (!b.layout) {
    std::fprintf(stderr, "no activity layout\n");
    return 1;
  }
  std::printf("layout: %s\n", document::narrow_path(b.layout->name()).c_str());
  b.table.set_document(b.doc.document());
  b.table.set_layout(b.layout);
  b.table_pane.set_view(&b.table);
  b.table_pane.set_client_size(1600, 900);
  t0 = clock_type::now();
  b.table.refresh();
  std::printf("first refresh (tree and visible rows) %.0f ms: %zu visible rows\n", ms_since(t0),
              b.table.visibleRows().size());

  table_figures(b);
  gantt_figures(b);
  return 0;
}
