// The Gantt panes of tessel-dump --draw: activity-gantt, wbs-gantt and
// project-gantt paint the category's Gantt chart beside its table pane, the
// two linked so that they share the vertical scroll; --select and --click
// act on the table pane, as they would in the viewer.
//
//   --timescale CODE  the layout's timescale code before the chart is built
//   --zoom Z          the layout's zoom (unscaled pixels per lower-tier cell)
//   --goto            go to the selected row before the paint
#include <cstdlib>
#include <memory>
#include <string>

#include "draw_panes.h"
#include "view/gantt/gantt_view.h"
#include "view/gantt/go_to.h"

namespace tessel::dump {
namespace {

class gantt_pane final : public draw_pane {
 public:
  std::size_t option(const std::vector<std::string>& args, std::size_t i) override {
    const bool has_value = i + 1 < args.size();
    if (args[i] == "--timescale" && has_value) {
      timescale_ = std::atoi(args[i + 1].c_str());
      has_timescale_ = true;
      return 2;
    }
    if (args[i] == "--zoom" && has_value) {
      zoom_ = std::strtof(args[i + 1].c_str(), nullptr);
      return zoom_ > 0.0f ? 2 : 0;
    }
    if (args[i] == "--goto") {
      go_to_ = true;
      return 1;
    }
    return 0;
  }

  view::View* build(draw_session& s) override {
    if (view::DateSettings* dates = s.layout->date_settings()) {
      if (has_timescale_) dates->timescale = timescale_;
      if (zoom_ > 0.0f) dates->zoom = zoom_;
    }
    gantt_.set_document(s.doc.document());
    gantt_.set_layout(s.layout);
    gantt_.follow(s.table.get());
    s.table_pane.set_linked(&s.pane);
    s.pane.set_linked(&s.table_pane);
    s.table_pane.add_repaint_pane(&s.pane);
    return &gantt_;
  }

  view::HostPane& click_pane(draw_session& s) override { return s.table_pane; }

  void before_paint(draw_session& s) override {
    if (go_to_) view::go_to(&s.table_pane, &s.pane);
  }

 private:
  view::GanttView gantt_;
  int timescale_ = 0;
  bool has_timescale_ = false;
  float zoom_ = 0.0f;
  bool go_to_ = false;
};

std::unique_ptr<draw_pane> make_gantt_pane() { return std::make_unique<gantt_pane>(); }

constexpr const char* gantt_options = "[--timescale CODE] [--zoom Z] [--goto]";

const draw_pane_registration activity_gantt{
    {"activity-gantt", view::view_kind::activity, gantt_options, make_gantt_pane}};
const draw_pane_registration wbs_gantt{{"wbs-gantt", view::view_kind::wbs, gantt_options, make_gantt_pane}};
const draw_pane_registration project_gantt{
    {"project-gantt", view::view_kind::project, gantt_options, make_gantt_pane}};

}  // namespace
}  // namespace tessel::dump
