// The Gantt chart beside the Activity, WBS and Project tables. It has no
// rows of its own: it follows a table view and draws one line per row of
// that view's visible row list, at the same heights, reading the list, the
// header and row heights and the selection at every paint, so that the two
// panes scroll together. The layout supplies the timescale code, the zoom
// and the bars; the document supplies the date range (all activities, in
// every category), the data date and the default calendar.
//
// A paint touches only what lies in the pane: the rows, cells, gridlines
// and relationships it shows. What depends on the whole schedule (the
// timescale, the gridline dates, the data date) is computed by `refresh`;
// the relationships between visible activities are indexed once per
// version of the followed table's visible row list.
#pragma once

#include <cstdint>
#include <vector>

#include "analysis/schedule_match.h"
#include "view/gantt/gantt_links.h"
#include "view/gantt/gantt_timescale.h"
#include "view/view.h"

namespace tessel::document {
class work_calendar;
}

namespace tessel::view {

// The document's default calendar: the first calendar flagged as default,
// else the first project's calendar, else none.
const document::work_calendar* default_calendar(const document::Document& doc);

class GanttView final : public View {
 public:
  GanttView() = default;

  bool isGantt() const override { return true; }

  // The table whose rows the chart draws (not owned; null: none). A click
  // on a row of the chart selects that row in the table.
  void follow(View* table) { table_ = table; }
  const View* followed() const { return table_; }

  // Zoom x display scale x the number of lower-tier cells; 0 without
  // document, layout, timescale settings or followed table.
  float contentWidth() const override;
  // The followed table's.
  float contentHeight() const override;
  // Recomputes the timescale, the gridline dates and the data date.
  void refresh() override;
  void draw(const rect_f& r) override;
  // Selects the followed table's row under the pointer (below the header).
  bool onLButtonDown(unsigned flags, float x, float y) override;

  // What `refresh` computed.
  const gantt::timescale& scale() const { return scale_; }
  const std::vector<int64_t>& gridlines() const { return gridlines_; }
  bool has_data_date() const { return has_data_date_; }
  // The earliest date of the schedule's activities (their first start); 0
  // when none has a date.
  int64_t earliest_date() const { return earliest_; }
  int64_t data_date() const { return data_date_; }

  // Whether the chart can draw at all (document, layout with timescale
  // settings, followed table).
  bool ready() const;
  // Pixels from the chart's left edge for a date, at the current zoom.
  float x_of(int64_t date) const { return axis().x_of(date); }
  gantt::date_axis axis() const;

  // While two updates are compared: each activity's bar in the other file
  // (found through `match`, whose NEW file is the one shown) is drawn as a
  // thin grey bar under its own. Null: none.
  void show_other_bars(const analysis::schedule_match* match) { other_ = match; }
  const analysis::schedule_match* other_bars() const { return other_; }

 protected:
  void layout_changed() override;

 private:
  struct frame;  // what one paint needs, worked out once at its start
  void draw_shading(const frame& f);
  void draw_gridlines(const frame& f);
  void draw_frame_lines(const frame& f);
  void draw_bars(const frame& f);
  void draw_relationships(const frame& f);
  void draw_data_date(const frame& f);
  void draw_header(const frame& f);
  void index_links();

  View* table_ = nullptr;
  const analysis::schedule_match* other_ = nullptr;
  gantt::timescale scale_;
  std::vector<int64_t> gridlines_;
  bool has_data_date_ = false;
  int64_t data_date_ = 0;
  int64_t earliest_ = 0;

  gantt::link_index links_;
  const View* links_table_ = nullptr;
  uint64_t links_version_ = 0;
  bool links_valid_ = false;
  std::vector<const gantt::link*> found_;  // reused by every paint
  std::vector<float> crossing_;            // per pixel column of the pane
};

}  // namespace tessel::view
