// Linked table and Gantt panes keep one vertical range, so that a position
// shows the same rows in both even when only one of them has a horizontal
// scroll bar and so is shorter.
#include <gtest/gtest.h>

#include <utility>

#include "view/host_pane.h"

using namespace tessel::view;

namespace {

class tall_view final : public View {
 public:
  float width = 0.0f;
  float height = 0.0f;
  float contentWidth() const override { return width; }
  float contentHeight() const override { return height; }
  void refresh() override {}
  void draw(const rect_f&) override {}
};

struct panes {
  tall_view table, chart;
  HostPane a, b;
  panes(int table_h, int chart_h) {
    table.width = 300;
    chart.width = 5000;
    table.height = chart.height = 2000;
    a.set_view(&table);
    b.set_view(&chart);
    a.set_linked(&b);
    b.set_linked(&a);
    a.set_client_size(400, table_h);
    b.set_client_size(600, chart_h);
  }
  std::pair<int, int> vertical() const {
    return {a.scroll_pos(scroll_bar::vertical), b.scroll_pos(scroll_bar::vertical)};
  }
};

}  // namespace

TEST(LinkedPanes, UnequalClientHeightsShareOneVerticalRange) {
  // The chart shows a 14 px horizontal bar, the table does not.
  panes p(500, 486);
  EXPECT_EQ(p.a.scroll_range(scroll_bar::vertical), 2000 - 486 + 10);
  EXPECT_EQ(p.b.scroll_range(scroll_bar::vertical), 2000 - 486 + 10);
  for (HostPane* first : {&p.a, &p.b}) {
    first->scroll(scroll_bar::vertical, scroll_action::bottom);
    EXPECT_EQ(p.vertical(), std::pair(1524, 1524));
    first->scroll(scroll_bar::vertical, scroll_action::top);
    first->wheel(-120 * 200);
    EXPECT_EQ(p.vertical(), std::pair(1524, 1524));
    first->scroll(scroll_bar::vertical, scroll_action::thumb, 1520);
    EXPECT_EQ(p.vertical(), std::pair(1520, 1520));
  }
  // The bar goes away again: both ranges follow the chart's new height.
  p.b.set_client_size(600, 500);
  EXPECT_EQ(p.a.scroll_range(scroll_bar::vertical), 1510);
  EXPECT_EQ(p.b.scroll_range(scroll_bar::vertical), 1510);
  // A pane alone keeps its own range.
  HostPane lone;
  lone.set_view(&p.table);
  lone.set_client_size(400, 486);
  EXPECT_EQ(lone.scroll_range(scroll_bar::vertical), 1524);
}

TEST(LinkedPanes, TheWheelReachesTheTopFromAFewPixelsDown) {
  panes p(500, 500);
  p.a.scroll(scroll_bar::vertical, scroll_action::thumb, 4);
  p.a.wheel(120);  // one notch up would go to -16
  EXPECT_EQ(p.vertical(), std::pair(0, 0));
  p.b.scroll(scroll_bar::vertical, scroll_action::thumb, 1500);
  p.b.wheel(-120);  // 1520 is past the end at 1510
  EXPECT_EQ(p.vertical(), std::pair(1510, 1510));
}
