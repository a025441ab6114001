#include "view/step_table_view.h"

#include "values/s_scalars.h"
#include "view/display_scale.h"

namespace tessel::view {
namespace {

const std::vector<float> step_widths{400.0f, 200.0f, 200.0f, 200.0f, 200.0f};

bool showing(const detail_table& t) {
  return t.followed && t.followed->document() && t.followed->layout();
}

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

ActivityStepTableView::ActivityStepTableView(View* followed) { table_.followed = followed; }

float ActivityStepTableView::contentWidth() const {
  return showing(table_) ? detail_table_width(step_widths) : 0.0f;
}
float ActivityStepTableView::contentHeight() const {
  return showing(table_) ? detail_table_height(visible_.size()) : 0.0f;
}
float ActivityStepTableView::headerHeight() const { return detail_table_line_height(); }
float ActivityStepTableView::rowHeight() const { return detail_table_line_height(); }

void ActivityStepTableView::refresh() {
  table_.clear();
  const Row* row = table_.record_row();
  if (const document::TASK* task = row ? row->activity() : nullptr) {
    for (const document::TASKPROC* step : task->steps) table_.add(std::make_unique<ActivityStepRow>(*step));
  }
  deepest_ = table_.list(visible_);
}

void ActivityStepTableView::draw(const rect_f& r) {
  if (!dc_.surface || !showing(table_)) return;
  const std::vector<std::u16string_view> captions{u"Step Name", u"Completed", u"Step % Complete", u"Step Weight",
                                                  u"Step Weight Percent"};
  paint_detail_table(*dc_.surface, dc_, r, captions, step_widths, visible_, step_cell);
}

bool ActivityStepTableView::onLButtonDown(unsigned, float x, float y) {
  if (y > detail_table_line_height()) {
    select_detail_row(visible_, x + static_cast<float>(dc_.scroll_x), y + static_cast<float>(dc_.scroll_y));
  }
  return true;
}

bool ActivityStepTableView::onLButtonUp(unsigned, float, float) { return true; }

}  // namespace tessel::view
