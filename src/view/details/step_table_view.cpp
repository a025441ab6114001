#include "view/details/step_table_view.h"

#include "values/s_scalars.h"

namespace tessel::view {
namespace {

// A step's own percentage is a plain number in the file; it shows as the
// weight percentage does, by the percentage display preference.
std::u16string percent_text(const s_double& v) {
  if (v.value_empty) return {};
  return s_percent(v.value).text();
}

std::u16string step_cell(const Row& row, std::size_t column) {
  const document::TASKPROC* step = row.activity_step();
  if (!step) return {};
  switch (column) {
    case 0: return step->proc_name.value;
    case 1: return step->complete_flag.text();
    case 2: return percent_text(step->complete_pct);
    case 3: return step->proc_wt.text();
    case 4: return step->step_pct.empty ? std::u16string() : step->step_pct.text();
    default: return {};
  }
}

}  // namespace

ActivityStepTableView::ActivityStepTableView(View* followed) {
  table_.followed = followed;
  table_.captions = {u"Step Name", u"Completed", u"Step % Complete", u"Step Weight", u"Step Weight Percent"};
  table_.widths = {400.0f, 200.0f, 200.0f, 200.0f, 200.0f};
  table_.cell = step_cell;
}

void ActivityStepTableView::refresh() {
  table_.clear();
  const Row* row = table_.record_row();
  if (const document::TASK* task = row ? row->activity() : nullptr) {
    for (const document::TASKPROC* step : task->steps) table_.add(std::make_unique<ActivityStepRow>(*step));
  }
  rebuild_visible(table_.root.get());
}

}  // namespace tessel::view
