// The row model on a large schedule: building the grouped and sorted
// activity tree of "Classic WBS Layout" with its visible row list, the
// summaries of every group row for every column of the layout, and
// re-sorting by a header column. Prints milliseconds (best of RUNS).
//
//   rows FILE [RUNS]
//
// Without the shipped layout the same arrangement is used: grouped by the
// WBS hierarchy, sorted by Start and Activity ID, with its usual columns.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "timing.h"
#include "catalog/field_catalog.h"
#include "document/io/path_text.h"
#include "rows/group_item.h"
#include "rows/tree_build.h"
#include "view/tessel_doc.h"

using namespace tessel;
using namespace tessel::view;
using namespace tessel::bench;

static uint32_t activity_field(std::u16string_view key) {
  const catalog::field_entry* e = catalog::catalogs().find_key(catalog::catalog_kind::activity, key);
  return e ? e->field_id : 0;
}

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: rows FILE [RUNS]\n");
    return 2;
  }
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  TesselDoc doc;
  auto t0 = clock_type::now();
  if (!doc.open(document::wide_text(argv[1]))) {
    std::fprintf(stderr, "Can't open document: %s\n", argv[1]);
    return 1;
  }
  const document::Document& d = *doc.document();
  std::printf("open %.0f ms: activities %zu, WBS elements %zu\n", ms_since(t0), d.task.size(), d.projwbs.size());

  GroupSortSettings settings;
  std::vector<Column> columns;
  if (const Layout* layout = doc.configuration().layouts().find(view_kind::activity, u"Classic WBS Layout")) {
    settings = layout->group_sort();
    columns = layout->columns();
    std::printf("layout: Classic WBS Layout (%zu group levels, %zu sort keys, %zu columns)\n",
                settings.group_bys.size(), settings.sort_bys.size(), columns.size());
  } else {
    GroupBy wbs;
    wbs.field_id = activity_field(u"wbs_id");
    wbs.wbs_hierarchy = true;
    settings.group_bys = {wbs};
    settings.sort_bys = {{activity_field(u"start_date"), false}, {activity_field(u"task_code"), false}};
    for (std::u16string_view key : {u"task_code", u"task_name", u"target_drtn_hr_cnt", u"remain_drtn_hr_cnt",
                                    u"start_date", u"end_date", u"total_float_hr_cnt", u"act_work_qty",
                                    u"clndr_id", u"status_code"})
      columns.push_back({activity_field(key), 100.0f, {}});
    std::printf("layout: not shipped; WBS hierarchy, sorted by Start and Activity ID, %zu columns\n",
                columns.size());
  }

  double build_best = 1e30, summary_best = 1e30, resort_best = 1e30, resort2_best = 1e30;
  size_t groups = 0, visible = 0;
  for (int run = 0; run < runs; ++run) {
    t0 = clock_type::now();
    std::unique_ptr<RootRow> root = build_activity_tree(d, settings);
    std::vector<Row*> rows;
    visible_rows(*root, rows);
    build_best = std::min(build_best, ms_since(t0));
    visible = rows.size();

    // Every group row's summary for every column (what painting the whole
    // table asks for).
    t0 = clock_type::now();
    groups = 0;
    size_t text_bytes = 0;
    for (Row* r : rows) {
      if (!r->is_group_row()) continue;
      ++groups;
      for (const Column& c : columns) text_bytes += r->field_value(c.field_id).text().size();
    }
    summary_best = std::min(summary_best, ms_since(t0));
    if (text_bytes == 0) std::printf("(no summary text)\n");

    // A header click on Finish (its summaries are known) and on Activity Name.
    t0 = clock_type::now();
    sort_tree(*root, {{activity_field(u"end_date"), true}});
    visible_rows(*root, rows);
    resort_best = std::min(resort_best, ms_since(t0));
    t0 = clock_type::now();
    sort_tree(*root, {{activity_field(u"task_name"), false}});
    visible_rows(*root, rows);
    resort2_best = std::min(resort2_best, ms_since(t0));
  }
  std::printf("group rows %zu, visible rows %zu\n", groups, visible);
  std::printf("build grouped+sorted tree and visible rows: %.1f ms (target 300)\n", build_best);
  std::printf("summaries of every group row, all %zu columns: %.1f ms (target 300)\n", columns.size(),
              summary_best);
  std::printf("re-sort by Finish, descending: %.1f ms (target 150)\n", resort_best);
  std::printf("re-sort by Activity Name: %.1f ms (target 150)\n", resort2_best);
  return 0;
}
