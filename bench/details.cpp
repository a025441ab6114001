// The Details pane on a large schedule: what one click in the activity
// table costs it (the sub-table refresh the host runs when a child pane is
// shown) and one paint of each tab and sub-table. Prints milliseconds (best
// of RUNS, first run in brackets).
//
//   details FILE [RUNS]
//
// The activity table shows "Classic WBS Layout"; the selected activity is
// the one with the most code assignments among the first thousand visible
// rows, so that the code table lists as much as the schedule offers.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <unordered_map>

#include "timing.h"
#include "document/io/path_text.h"
#include "view/details/code_table_views.h"
#include "view/details/detail_activity.h"
#include "view/details/relationship_table_view.h"
#include "view/recording_surface.h"
#include "view/details/step_table_view.h"
#include "view/table/table_views.h"
#include "view/tessel_doc.h"

using namespace tessel;
using namespace tessel::view;
using namespace tessel::bench;

namespace {

int g_runs = 5;

void figure(const char* what, const std::function<void()>& step) { bench::figure(g_runs, what, step); }

std::size_t paint_once(View& v) {
  recording_surface s;
  v.context().surface = &s;
  v.draw({0.0f, 0.0f, 1600.0f, 300.0f});
  v.context().surface = nullptr;
  return s.calls().size();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: details FILE [RUNS]\n");
    return 2;
  }
  g_runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  TesselDoc doc;
  if (!doc.open(document::wide_text(argv[1]))) {
    std::fprintf(stderr, "Can't open document: %s\n", argv[1]);
    return 1;
  }
  const document::Document& d = *doc.document();
  std::printf("%zu activities, %zu relationships, %zu steps, %zu code assignments\n", d.task.size(),
              d.taskpred.size(), d.taskproc.size(), d.taskactv.size());
  Layout* layout = doc.configuration().layouts().find(view_kind::activity, u"Classic WBS Layout");
  if (!layout) layout = doc.configuration().first_layout(view_kind::activity);
  if (!layout) {
    std::fprintf(stderr, "no activity layout\n");
    return 1;
  }
  ActivityTableView table;
  table.set_document(&d);
  table.set_layout(layout);
  table.refresh();

  std::unordered_map<uint32_t, int> codes_per_task;
  for (const document::TASKACTV& a : d.taskactv) ++codes_per_task[a.task_id.value];
  int pick = -1, most = -1;
  const auto& rows = table.visibleRows();
  for (std::size_t i = 0; i < rows.size() && i < 1000; ++i) {
    const document::TASK* t = rows[i]->activity();
    if (!t) continue;
    const int n = codes_per_task[t->task_id.value];
    if (n > most) most = n, pick = static_cast<int>(i);
  }
  if (pick < 0) {
    std::fprintf(stderr, "no activity row\n");
    return 1;
  }
  table.selectVisibleRow(pick);
  const document::TASK& task = *rows[static_cast<std::size_t>(pick)]->activity();
  std::printf("selected %s: %zu predecessors, %zu successors, %zu steps, %d code assignments\n",
              document::narrow_path(task.task_code.value).c_str(), task.pred_rels.size(), task.succ_rels.size(),
              task.steps.size(), most);

  ActivityDetailView details(&table);
  RelationshipTableView preds(0, &table), succs(1, &table);
  ActivityCodeTableView codes(&table);
  ActivityStepTableView steps(&table);

  std::size_t calls = 0;
  figure("details paint, General", [&] { calls = paint_once(details); });
  std::printf("  %zu drawing calls\n", calls);
  details.setCurrentTab(u"Status");
  figure("details paint, Status", [&] { calls = paint_once(details); });
  std::printf("  %zu drawing calls\n", calls);
  figure("predecessors refresh", [&] { preds.refresh(); });
  figure("predecessors paint", [&] { paint_once(preds); });
  figure("successors refresh", [&] { succs.refresh(); });
  figure("activity codes refresh", [&] { codes.refresh(); });
  std::printf("  %zu code rows\n", codes.visibleRows().size());
  figure("activity codes paint", [&] { paint_once(codes); });
  figure("steps refresh", [&] { steps.refresh(); });
  figure("steps paint", [&] { paint_once(steps); });
  return 0;
}
