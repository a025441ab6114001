// Where the Gantt chart shows: the schedule's first bars a little right of
// the pane's left edge after an open, the date at the pane's centre kept
// through a timescale or zoom change, go-to's gap at the display scale, and
// an upper-tier label kept in sight when its cell starts left of the pane.
#include <gtest/gtest.h>

#include <filesystem>

#include "config_sandbox.h"
#include "view/display_scale.h"
#include "view/gantt/gantt_view.h"
#include "view/gantt/go_to.h"
#include "view/host_pane.h"
#include "view/recording_surface.h"
#include "view/table/table_views.h"
#include "view/tessel_doc.h"

namespace fs = std::filesystem;
using namespace tessel;
using namespace tessel::view;

namespace {

class GanttPosition : public config_sandbox {
 protected:
  GanttPosition() : config_sandbox("tessel-gantt-position-") {}
  void SetUp() override {
    config_sandbox::SetUp();
    setenv("TESSEL_LAYOUTS_DIR", TESSEL_SOURCE_DIR "/Layouts", 1);
    ASSERT_TRUE(doc.open(fs::path(TESSEL_SOURCE_DIR "/samples/demo.xer").u16string()));
    layout = doc.configuration().layouts().find(view_kind::activity, u"Classic WBS Layout");
    ASSERT_NE(layout, nullptr);
    bind();
  }
  void TearDown() override {
    set_display_scale(1.0f);
    config_sandbox::TearDown();
  }
  void bind() {
    for (View* v : {static_cast<View*>(&table), static_cast<View*>(&gantt)}) {
      v->set_document(doc.document());
      v->set_layout(layout);
    }
    gantt.follow(&table);
    table.refresh();
    gantt.refresh();
    tp.set_view(&table);
    gp.set_view(&gantt);
    tp.set_linked(&gp);
    gp.set_linked(&tp);
    tp.set_client_size(600, 400);
    gp.set_client_size(800, 400);
  }

  TesselDoc doc;
  Layout* layout = nullptr;
  ActivityTableView table;
  GanttView gantt;
  HostPane tp, gp;
};

}  // namespace

TEST_F(GanttPosition, AnOpenShowsTheFirstBarsAHundredPixelsIn) {
  ASSERT_GT(gantt.earliest_date(), 0);
  const float first = gantt.x_of(gantt.earliest_date());
  ASSERT_GT(first, 150.0f);  // the chart's lead-in runs before the first bar
  ASSERT_TRUE(show_earliest(&gp));
  EXPECT_EQ(gp.scroll_pos(scroll_bar::horizontal), static_cast<int>(first) - 100);
  // At 150 % the gap is 150 pixels.
  set_display_scale(1.5f);
  gantt.refresh();
  gp.update_ranges();
  ASSERT_TRUE(show_earliest(&gp));
  EXPECT_EQ(gp.scroll_pos(scroll_bar::horizontal), static_cast<int>(gantt.x_of(gantt.earliest_date())) - 150);
}

TEST_F(GanttPosition, GoToLeavesAGapOfAHundredPixelsTimesTheScale) {
  table.selectVisibleRow(static_cast<int>(table.visibleRows().size()) - 1);
  const std::optional<int> at_one = go_to_position(table, gantt);
  ASSERT_TRUE(at_one);
  set_display_scale(1.5f);
  gantt.refresh();
  const std::optional<int> at_half = go_to_position(table, gantt);
  ASSERT_TRUE(at_half);
  // The same date 1.5 times as far in, and the gap 150 instead of 100.
  EXPECT_NEAR(*at_half + 150, (*at_one + 100) * 1.5, 1.0);
}

TEST_F(GanttPosition, ATimescaleOrZoomChangeKeepsTheCentreDate) {
  ASSERT_GT(gp.scroll_range(scroll_bar::horizontal), 400);
  gp.set_scroll_pos(scroll_bar::horizontal, 300);
  const std::optional<int64_t> centre = centre_date(gp);
  ASSERT_TRUE(centre);
  layout->date_settings()->zoom *= 2.0f;
  gantt.refresh();
  centre_on(gp, *centre);
  EXPECT_NEAR(gantt.x_of(*centre) - static_cast<float>(gp.scroll_pos(scroll_bar::horizontal)), 400.0f, 1.0f);
  layout->date_settings()->timescale = 5;  // weeks over days: a far wider chart
  gantt.refresh();
  centre_on(gp, *centre);
  EXPECT_GT(gp.scroll_pos(scroll_bar::horizontal), 0);
  EXPECT_NEAR(gantt.x_of(*centre) - static_cast<float>(gp.scroll_pos(scroll_bar::horizontal)), 400.0f, 1.0f);
}

TEST_F(GanttPosition, AnUpperCellStartingLeftOfThePaneShowsItsLabelAtTheLeftEdge) {
  // Scroll into the middle of an upper cell: its label would sit left of the pane.
  const gantt::timescale& sc = gantt.scale();
  ASSERT_GE(sc.upper.size(), 3u);
  const int inside = static_cast<int>(gantt.x_of(sc.upper[1])) + 30;
  gp.set_scroll_pos(scroll_bar::horizontal, inside);
  ASSERT_EQ(gp.scroll_pos(scroll_bar::horizontal), inside);
  recording_surface s;
  gp.paint(s);
  bool label_at_left = false;
  for (const recorded_call& c : s.calls())
    if (c.what == recorded_call::kind::text && c.rect.y == 0.0f && c.rect.x >= 0.0f && c.rect.x < 10.0f)
      label_at_left = c.rect.w > 10.0f;
  EXPECT_TRUE(label_at_left);
}
