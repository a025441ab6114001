// Keyboard and mouse habits of the table and the Gantt chart beside it:
// arrows, pages and ends move the selection (always brought into sight in
// both panes, the Details pane following), Left/Right/Enter fold group
// rows, a click in the chart selects its row, the sideways wheel pans.
#include <gtest/gtest.h>

#include <filesystem>

#include "config_sandbox.h"
#include "view/gantt/gantt_view.h"
#include "view/host_pane.h"
#include "view/table/table_views.h"
#include "view/tessel_doc.h"

namespace fs = std::filesystem;
using namespace tessel;
using namespace tessel::view;

namespace {

class TableKeys : public config_sandbox {
 protected:
  TableKeys() : config_sandbox("tessel-table-keys-") {}
  void SetUp() override {
    config_sandbox::SetUp();
    setenv("TESSEL_LAYOUTS_DIR", TESSEL_SOURCE_DIR "/Layouts", 1);
    ASSERT_TRUE(doc.open(fs::path(TESSEL_SOURCE_DIR "/samples/demo.xer").u16string()));
    Layout* layout = doc.configuration().layouts().find(view_kind::activity, u"Classic WBS Layout");
    ASSERT_NE(layout, nullptr);
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
    tp.set_details_pane(&dp);
    gp.set_details_pane(&dp);
    dp.on_children_changed = [this](int) { ++details_followed; };
    tp.set_client_size(600, 300);  // a header of 30 and 15 rows of 18
    gp.set_client_size(800, 300);
  }

  int selected() const { return table.selectedIndex(); }
  std::size_t rows() const { return table.visibleRows().size(); }
  // Whether the selected row lies wholly in the table's sight.
  bool selection_in_sight() const {
    const int top = selected() * 18;
    const int pos = tp.scroll_pos(scroll_bar::vertical);
    return top >= pos && top + 18 <= pos + 300 - 30;
  }

  TesselDoc doc;
  ActivityTableView table;
  GanttView gantt;
  HostPane tp, gp, dp;
  int details_followed = 0;
};

}  // namespace

TEST_F(TableKeys, ArrowsPagesAndEndsMoveTheSelectionIntoSightInBothPanes) {
  ASSERT_GT(rows(), 60u);
  tp.key_down(nav_key::down);  // nothing selected: the first row
  EXPECT_EQ(selected(), 0);
  EXPECT_EQ(details_followed, 1);
  for (int i = 0; i < 20; ++i) tp.key_down(nav_key::down);
  EXPECT_EQ(selected(), 20);
  EXPECT_TRUE(selection_in_sight());
  EXPECT_EQ(gp.scroll_pos(scroll_bar::vertical), tp.scroll_pos(scroll_bar::vertical));
  tp.key_down(nav_key::up);
  EXPECT_EQ(selected(), 19);
  tp.key_down(nav_key::page_down);
  EXPECT_EQ(selected(), 19 + 15);
  EXPECT_TRUE(selection_in_sight());
  tp.key_down(nav_key::page_up);
  tp.key_down(nav_key::page_up);
  EXPECT_EQ(selected(), 4);
  EXPECT_TRUE(selection_in_sight());
  tp.key_down(nav_key::end);
  EXPECT_EQ(selected(), static_cast<int>(rows()) - 1);
  EXPECT_TRUE(selection_in_sight());
  tp.key_down(nav_key::down);  // stays on the last row
  EXPECT_EQ(selected(), static_cast<int>(rows()) - 1);
  // Keys given to the chart move the table's selection too.
  gp.key_down(nav_key::home);
  EXPECT_EQ(selected(), 0);
  EXPECT_EQ(tp.scroll_pos(scroll_bar::vertical), 0);
  EXPECT_EQ(gp.scroll_pos(scroll_bar::vertical), 0);
}

TEST_F(TableKeys, LeftRightAndEnterFoldGroupRowsAndLeftGoesUpToTheGroup) {
  tp.key_down(nav_key::home);
  ASSERT_TRUE(table.visibleRows()[0]->has_children());
  const std::size_t all = rows();
  tp.key_down(nav_key::left);  // the expanded first group collapses
  EXPECT_EQ(rows(), 1u);
  EXPECT_EQ(selected(), 0);
  tp.key_down(nav_key::right);
  EXPECT_EQ(rows(), all);
  tp.key_down(nav_key::enter);
  EXPECT_EQ(rows(), 1u);
  tp.key_down(nav_key::enter);
  EXPECT_EQ(rows(), all);
  tp.key_down(nav_key::end);  // an activity, deep in the tree
  const int leaf = selected();
  ASSERT_FALSE(table.visibleRows()[static_cast<std::size_t>(leaf)]->has_children());
  tp.key_down(nav_key::right);  // nothing to expand
  EXPECT_EQ(selected(), leaf);
  tp.key_down(nav_key::left);  // to its group row
  ASSERT_LT(selected(), leaf);
  const Row& group = *table.visibleRows()[static_cast<std::size_t>(selected())];
  EXPECT_TRUE(group.has_children());
  EXPECT_EQ(group.depth, table.visibleRows()[static_cast<std::size_t>(leaf)]->depth - 1);
}

TEST_F(TableKeys, AClickInTheChartSelectsItsRowAndTheSidewaysWheelPans) {
  gp.scroll(scroll_bar::vertical, scroll_action::thumb, 36);
  gp.left_button_down(mouse_left_held, 300.0f, 30.0f + 3 * 18.0f + 9.0f);
  gp.left_button_up(0, 300.0f, 30.0f + 3 * 18.0f + 9.0f);
  EXPECT_EQ(selected(), 5);  // two rows scrolled away, the fourth in sight
  EXPECT_GE(details_followed, 1);
  gp.left_button_down(mouse_left_held, 300.0f, 10.0f);  // the timescale header selects nothing
  EXPECT_EQ(selected(), 5);

  ASSERT_GT(gp.scroll_range(scroll_bar::horizontal), 200);
  gp.wheel_sideways(-120 * 5);
  EXPECT_EQ(gp.scroll_pos(scroll_bar::horizontal), 100);
  gp.wheel_sideways(120 * 10);
  EXPECT_EQ(gp.scroll_pos(scroll_bar::horizontal), 0);
  EXPECT_EQ(gp.scroll_pos(scroll_bar::vertical), 36);
}
