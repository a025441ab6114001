// The grouped table views: what a paint draws (rows in sight, bands, boxes,
// cells, markers, lines, the header over the rows), and what the mouse does
// (selection, expand boxes, sorting, resizing, moving), Expand and
// Collapse All, and the copy text.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "demo_view_support.h"
#include "rows_test_support.h"
#include "view/display_scale.h"
#include "view/host_pane.h"
#include "view/recording_surface.h"
#include "view/table/table_paint.h"
#include "view/table/table_text.h"
#include "view/table/table_views.h"

using namespace rows_test;

namespace {

constexpr uint32_t kColourField = 100903;  // the user field "Colour" below

// tests/data/xer/table-four-activities.xer: the schedule of
// rows_test::schedule with four activities: A10 "Green" and A20 "Beam" on
// R1, A30 "Column" without a resource, A40 "Deck" on R2, and a user text
// field 903 "Colour" holding "Red", the near misses "red" and "Red ", and
// "UDF_G4".
std::string four_activities() { return test_support::read_file(TESSEL_TEST_DATA "/xer/table-four-activities.xer"); }

// Activities A001, A002, ... in order.
std::string many_activities(int count) {
  std::vector<task_spec> tasks;
  for (int i = 1; i <= count; ++i) {
    char code[16];
    std::snprintf(code, sizeof code, "A%03d", i);
    tasks.push_back({std::to_string(i), code, {}});
  }
  return schedule(tasks);
}

// A table view in its pane, as the shell sets it up.
struct table_setup {
  opened file;
  ActivityLayout layout;
  ActivityTableView view;
  HostPane pane;

  explicit table_setup(const std::string& text, int width = 380, int height = 200) : file(text) {
    layout.add_column(act(u"task_code"), 100);
    layout.add_column(act(u"task_name"), 200);
    layout.add_column(kColourField, 80);
    view.set_document(&file.doc());
    view.set_layout(&layout);
    pane.set_view(&view);
    pane.set_client_size(width, height);
    view.refresh();
  }
  void group_by_resource() {
    layout.group_sort().group_bys = {group_by(act(u"rsrc_id"))};
    layout.group_sort().levels = {{0xFFD5DFEA, 0xFF0000FF}, {0xFFE3EAF2, 0xFF000000}};
    view.set_layout(nullptr);  // a changed layout: the tree is built again
    view.set_layout(&layout);
    view.refresh();
  }
  std::vector<std::string> paint() {
    recording_surface s;
    pane.paint(s);
    std::vector<std::string> out;
    for (const recorded_call& c : s.calls()) out.push_back(draw_line(c));
    return out;
  }
  void click(float x, float y) { drag(x, x, y); }
  // Button down at x0, moved to x1, released there (y kept).
  void drag(float x0, float x1, float y) {
    pane.left_button_down(mouse_left_held, x0, y);
    pane.mouse_move(mouse_left_held, x1, y);
    pane.left_button_up(0, x1, y);
  }
  std::vector<std::pair<uint32_t, bool>> sort_keys() {
    std::vector<std::pair<uint32_t, bool>> out;
    for (const SortBy& s : layout.group_sort().sort_bys) out.push_back({s.field_id, s.descending});
    return out;
  }
  std::vector<std::u16string> codes() const {
    std::vector<std::u16string> out;
    for (Row* r : view.visibleRows()) out.push_back(r->activity() ? r->activity()->task_code.value : u"[group]");
    return out;
  }
};

bool has(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}
// Every one of `want` drawn, or with `drawn` false none of them.
void expect_lines(const std::vector<std::string>& lines, std::initializer_list<const char*> want, bool drawn = true) {
  for (const char* w : want) EXPECT_EQ(has(lines, w), drawn) << w;
}
std::size_t count_of(const std::vector<std::string>& lines, const char* kind) {
  return std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(kind, 0) == 0; });
}
std::ptrdiff_t position(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) - lines.begin();
}

// Plain columns of the given activity fields.
std::vector<Column> columns(std::initializer_list<std::u16string_view> keys) {
  std::vector<Column> out;
  for (std::u16string_view k : keys) out.push_back({act(k), 80.0f, {}});
  return out;
}

class ViewTable : public ::testing::Test {
 protected:
  void TearDown() override { set_display_scale(1.0f); }
};

}  // namespace

TEST_F(ViewTable, FlatRowsCellsAndMarkersAtScaleOne) {
  table_setup t(four_activities());
  EXPECT_EQ(std::pair(t.view.contentWidth(), t.view.contentHeight()), std::pair(380.0f, 4 * 18.0f + 30.0f));
  const auto lines = t.paint();
  // Row 0: the first column indented one level, text clipped 5 before the
  // cell's right edge; a user field holding "Red" shows the red marker, a
  // name holding a colour word is only text. Near misses ("red", "Red ")
  // are text; UDF_G4 is the blue marker.
  expect_lines(lines, {"text 20 31 75 17 #000000 Calibri 15 A10", "text 105 31 190 17 #000000 Calibri 15 Green",
                       "image red 333 32 14 14", "text 305 49 70 17 #000000 Calibri 15 red",
                       "text 305 67 70 17 #000000 Calibri 15 Red ", "image blue 333 86 14 14"});
  EXPECT_EQ(count_of(lines, "image"), 2u);
  // Closing lines, then the header band with its captions and separators.
  expect_lines(lines, {"line 0 30 380 30 #646464 1", "line 0 102 380 102 #646464 1", "fill 0 0 380 30 #F0F0F0",
                       "text 5 0 88 30 #000000 Calibri 15 Activity ID", "line 100 0 100 30 #C8C8C8 1",
                       "line 300 0 300 30 #C8C8C8 1"});
  // The rows recorded where they were drawn.
  ASSERT_EQ(t.view.visibleRows().size(), 4u);
  const auto drawn = t.view.visibleRows()[3]->table_rect;
  EXPECT_EQ(std::tuple(drawn.y, drawn.w, drawn.h), std::tuple(30.0f + 3 * 18 + 1, 380.0f, 17.0f));

  // A selected row: selection fill, white text, the selected marker.
  t.view.selectVisibleRow(3);
  expect_lines(t.paint(), {"fill 0 85 380 17 #3399FF", "text 20 85 75 17 #FFFFFF Calibri 15 A40",
                           "image blue_selected 333 86 14 14", "image red 333 32 14 14"});

  set_display_scale(1.5f);
  table_setup big(four_activities(), 570, 300);
  const ActivityTableView& b = big.view;
  EXPECT_EQ(std::tuple(b.headerHeight(), b.rowHeight(), b.contentWidth(), b.contentHeight()),
            std::tuple(45.0f, 27.0f, 570.0f, 4 * 27.0f + 45.0f));
  expect_lines(big.paint(), {"text 30 46 112.5 26 #000000 Calibri 22 A10",
                             "text 157.5 46 285 26 #000000 Calibri 22 Green", "image red 499.5 48 21 21",
                             "fill 0 0 570 45 #F0F0F0", "text 7.5 0 132 45 #000000 Calibri 22 Activity ID",
                             "line 150 0 150 45 #C8C8C8 1", "line 0 153 570 153 #646464 1"});
}

TEST_F(ViewTable, CollapseAllExpandAllGroupBandsBoxesAndIndentation) {
  table_setup t(four_activities());
  t.group_by_resource();
  t.view.selectVisibleRow(2);
  ASSERT_EQ(t.view.visibleRows().size(), 7u);
  t.view.visibleRows()[5]->expanded = false;  // R2 collapsed by hand first
  t.view.refresh();
  ASSERT_EQ(t.view.visibleRows().size(), 6u);
  uint64_t version = t.view.visibleRowsVersion();
  t.view.collapseAll();
  EXPECT_GT(t.view.visibleRowsVersion(), version);
  EXPECT_EQ(t.codes(), (std::vector<std::u16string>{u"[group]", u"[group]", u"[group]"}));
  EXPECT_EQ(t.view.selectedRow(), nullptr);  // the selected row is hidden
  EXPECT_EQ(t.view.contentHeight(), 3 * 18.0f + 30.0f);
  // Only what is in sight is copied: the group lines with empty cells.
  EXPECT_EQ(t.view.selectionText(),
            u"Activity ID\tActivity Name\tColour\nR1.Crane\t\t\nNo primary Resource\t\t\nR2.Crew\t\t");

  version = t.view.visibleRowsVersion();
  t.view.expandAll();
  EXPECT_GT(t.view.visibleRowsVersion(), version);
  EXPECT_EQ(t.view.visibleRows().size(), 7u);
  for (Row* r : t.view.visibleRows()) EXPECT_TRUE(r->expanded && !r->selected);
  EXPECT_EQ(t.view.selectedRow(), nullptr);

  ASSERT_EQ(t.codes(), (std::vector<std::u16string>{u"[group]", u"A10", u"A20", u"[group]", u"A30", u"[group]",
                                                    u"A40"}));
  // The group row: its level's band, its title in the level's text colour,
  // a minus box, the grid lines of a grouped table. An activity under it:
  // both levels' strips, text one level further in.
  auto lines = t.paint();
  expect_lines(lines, {"fill 0 31 20 17 #D5DFEA", "line 0 31 0 48 #646464 1", "fill 20 31 360 17 #D5DFEA",
                       "text 20 31 355 17 #0000FF Calibri 15 R1.Crane",
                       "polygon #FFFFFF #000000 6,36 14,36 14,44 6,44", "line 8 40 12 40 #000000 1",
                       "line 20 30 20 48 #646464 1", "line 20 48 380 48 #646464 1", "fill 0 49 20 17 #D5DFEA",
                       "fill 20 49 20 17 #E3EAF2", "text 60 49 35 17 #000000 Calibri 15 A10"});
  EXPECT_FALSE(has(lines, "line 10 38 10 42 #000000 1"));

  // Selected, the group keeps its strip lines but not its colours.
  t.view.selectVisibleRow(0);
  lines = t.paint();
  expect_lines(lines, {"fill 0 31 380 17 #3399FF", "line 0 31 0 48 #646464 1",
                       "text 20 31 355 17 #FFFFFF Calibri 15 R1.Crane"});
  expect_lines(lines, {"fill 0 31 20 17 #D5DFEA", "fill 20 31 360 17 #D5DFEA"}, false);

  // A click in the box collapses the group on button up: a plus sign.
  t.click(10, 40);
  EXPECT_EQ(t.view.visibleRows().size(), 5u);
  EXPECT_TRUE(has(t.paint(), "line 10 38 10 42 #000000 1"));
  // Next to the box the row is only selected.
  t.click(30, 40);
  ASSERT_EQ(t.view.visibleRows().size(), 5u);
  EXPECT_EQ(t.view.selectedRow(), t.view.visibleRows()[0]);

  set_display_scale(1.5f);
  t.view.expandAll();
  expect_lines(t.paint(), {"fill 0 46 30 26 #D5DFEA", "fill 30 46 540 26 #D5DFEA",
                           "polygon #FFFFFF #000000 9,54 21,54 21,66 9,66", "line 12 60 18 60 #000000 1",
                           "text 90 73 52.5 26 #000000 Calibri 22 A10"});
}

TEST_F(ViewTable, SelectionByClickAndScrolledPaintsOfTheRowsInSight) {
  table_setup t(four_activities());
  t.paint();
  // {x, y, row selected}: both edges of a row belong to it; below the last
  // row or beyond the content width nothing is selected.
  const std::tuple<float, float, int> clicks[] = {{10, 31, 0}, {10, 48, 0}, {10, 49, 1}, {380, 100, 3},
                                                  {10, 150, -1}, {10, 60, 1}, {381, 60, -1}};
  for (const auto& [x, y, row] : clicks) {
    t.click(x, y);
    EXPECT_EQ(t.view.selectedIndex(), row) << x << "," << y;
    for (std::size_t i = 0; i < t.view.visibleRows().size(); ++i)
      EXPECT_EQ(t.view.visibleRows()[i]->selected, static_cast<int>(i) == row) << i;
  }
  EXPECT_EQ(t.view.selectedRow(), nullptr);

  // Scrolled, only the rows in sight are painted, and the header over them.
  table_setup s(many_activities(40));
  s.pane.update_ranges();
  s.pane.set_scroll_pos(scroll_bar::vertical, 40);
  for (Row* r : s.view.visibleRows()) r->table_rect.w = -1.0f;
  const auto lines = s.paint();
  // First = round(40 / 18) = 2, count = round(200 / 18) = 11.
  for (std::size_t i = 0; i < s.view.visibleRows().size(); ++i)
    EXPECT_EQ(s.view.visibleRows()[i]->table_rect.w >= 0.0f, i >= 2 && i <= 12) << i;
  EXPECT_FALSE(has(lines, "text 20 -9 75 17 #000000 Calibri 15 A002"));
  const auto last = position(lines, "text 20 207 75 17 #000000 Calibri 15 A013");
  ASSERT_LT(last, static_cast<std::ptrdiff_t>(lines.size()));
  EXPECT_GT(position(lines, "fill 0 0 380 30 #F0F0F0"), last);  // painted over the rows
  expect_lines(lines, {"text 20 27 75 17 #000000 Calibri 15 A003", "line 0 30 380 30 #646464 1",
                       "line 0 224 380 224 #646464 1"});
  // The click point is taken in content coordinates.
  s.pane.set_scroll_pos(scroll_bar::vertical, 90);
  s.paint();
  s.click(10, 50);  // content y 140: row 6 (31 + 6 * 18 = 139 .. 156)
  EXPECT_EQ(s.view.selectedIndex(), 6);
  // The selection survives a rebuild of the visible list.
  const uint64_t version = s.view.visibleRowsVersion();
  s.view.refresh();
  EXPECT_GT(s.view.visibleRowsVersion(), version);
  EXPECT_EQ(s.view.selectedIndex(), 6);
}

TEST_F(ViewTable, HeaderClicksSortAndToggleUnderTheArrow) {
  using keys = std::vector<std::pair<uint32_t, bool>>;
  table_setup t(four_activities());
  t.layout.group_sort().sort_bys = {{act(u"status_code"), false}, {act(u"task_name"), false}};
  t.paint();
  t.click(50, 10);  // Activity ID: the only key, ascending
  EXPECT_EQ(t.sort_keys(), (keys{{act(u"task_code"), false}}));
  EXPECT_EQ(t.view.selectedColumn(), 0);
  EXPECT_EQ(t.codes(), (std::vector<std::u16string>{u"A10", u"A20", u"A30", u"A40"}));
  t.paint();
  t.click(50, 10);  // again: reversed
  EXPECT_EQ(t.sort_keys(), (keys{{act(u"task_code"), true}}));
  EXPECT_EQ(t.codes(), (std::vector<std::u16string>{u"A40", u"A30", u"A20", u"A10"}));
  t.paint();
  t.click(150, 10);  // Activity Name: Beam, Column, Deck, Green
  EXPECT_EQ(t.sort_keys(), (keys{{act(u"task_name"), false}}));
  EXPECT_EQ(t.codes(), (std::vector<std::u16string>{u"A20", u"A30", u"A40", u"A10"}));
  EXPECT_EQ(t.view.selectedColumn(), 1);
  EXPECT_EQ(t.view.selectedRow(), nullptr);  // a header click selects no row
  EXPECT_TRUE(has(t.paint(), "fill 100 0 200 30 #3399FF"));

  // The sort arrow, both ways.
  t.layout.group_sort().sort_bys = {{act(u"task_code"), false}};
  expect_lines(t.paint(), {"polygon #323232 #323232 88,10.5 96,10.5 92,18.5",
                           "text 5 0 75 30 #000000 Calibri 15 Activity ID"});  // room for the arrow
  t.layout.group_sort().sort_bys = {{act(u"task_code"), true}};
  EXPECT_TRUE(has(t.paint(), "polygon #323232 #323232 88,18.5 96,18.5 92,10.5"));
  // Sorted by a field no column shows: no arrow.
  t.layout.group_sort().sort_bys = {{act(u"status_code"), true}};
  EXPECT_EQ(count_of(t.paint(), "polygon"), 0u);
  set_display_scale(1.5f);
  t.layout.group_sort().sort_bys = {{act(u"task_name"), false}};
  EXPECT_TRUE(has(t.paint(), "polygon #323232 #323232 432,15.75 444,15.75 438,27.75"));
}

TEST_F(ViewTable, ResizeHandlesAndMinimumWidths) {
  table_setup t(four_activities());
  t.group_by_resource();  // deepest level 2
  t.paint();
  t.pane.mouse_move(0, 101, 15);
  EXPECT_EQ(t.pane.cursor(), cursor_shape::size_we);
  t.pane.mouse_move(0, 50, 15);
  EXPECT_EQ(t.pane.cursor(), cursor_shape::arrow);

  const auto before = t.sort_keys();
  t.pane.left_button_down(mouse_left_held, 99, 15);  // the handle: resize, no sort
  EXPECT_EQ(t.sort_keys(), before);
  t.pane.mouse_move(mouse_left_held, 140, 15);
  EXPECT_EQ(t.layout.columns()[0].width, 140.0f);
  t.pane.mouse_move(mouse_left_held, 5, 15);  // never below 20 x 2 levels + 30
  EXPECT_EQ(t.layout.columns()[0].width, 70.0f);
  t.pane.left_button_up(0, 5, 15);
  t.pane.mouse_move(mouse_left_held, 300, 15);  // released: no more resizing
  EXPECT_EQ(t.layout.columns()[0].width, 70.0f);

  t.paint();  // column 1 now spans 70..270
  t.drag(270, 80, 15);
  EXPECT_EQ(t.layout.columns()[1].width, 30.0f);

  // Widths are stored unscaled.
  set_display_scale(1.5f);
  t.paint();  // column 0 spans 0..105
  t.drag(105, 0, 20);
  EXPECT_EQ(t.layout.columns()[0].width, 70.0f);  // (30 x 2 + 45) / 1.5
  t.paint();
  t.drag(105, 300, 20);
  EXPECT_EQ(t.layout.columns()[0].width, 200.0f);
}

TEST_F(ViewTable, MovingColumnsByTheDropRule) {
  table_setup t(four_activities());
  const uint32_t code = act(u"task_code"), name = act(u"task_name");
  auto order = [&] {
    std::vector<uint32_t> out;
    for (const Column& c : t.layout.columns()) out.push_back(c.field_id);
    return out;
  };
  t.paint();
  t.pane.left_button_down(mouse_left_held, 50, 10);
  t.pane.mouse_move(mouse_left_held, 320, 10);  // over the third column
  EXPECT_EQ(t.pane.cursor(), cursor_shape::move);
  expect_lines(t.paint(), {"fill 0 0 100 30 #3399FF", "line 300 0 300 30 #000000 2"});
  t.pane.left_button_up(0, 320, 10);
  // Moved right: just before the column under the pointer.
  EXPECT_EQ(order(), (std::vector<uint32_t>{name, code, kColourField}));
  EXPECT_EQ(t.view.selectedColumn(), 1);
  EXPECT_FALSE(has(t.paint(), "line 300 0 300 30 #000000 2"));

  // Past the last column: to the end.
  t.pane.left_button_down(mouse_left_held, 50, 10);
  t.pane.mouse_move(mouse_left_held, 390, 10);
  EXPECT_TRUE(has(t.paint(), "line 380 0 380 30 #000000 2"));
  t.pane.left_button_up(0, 390, 10);
  EXPECT_EQ(order(), (std::vector<uint32_t>{code, kColourField, name}));
  EXPECT_EQ(t.view.selectedColumn(), 2);

  // Moved left: before the column under the pointer, which it takes over.
  t.paint();
  t.drag(250, 20, 10);
  EXPECT_EQ(order(), (std::vector<uint32_t>{name, code, kColourField}));
  EXPECT_EQ(t.view.selectedColumn(), 0);
}

TEST_F(ViewTable, WithoutLayoutOrDocumentNothingToDrawOtherViewsListTheirOwnRecords) {
  ActivityTableView bare;
  HostPane pane;
  pane.set_view(&bare);
  pane.set_client_size(200, 100);
  bare.refresh();
  recording_surface s;
  pane.paint(s);
  EXPECT_EQ(s.calls().size(), 1u);
  EXPECT_TRUE(pane.copy_text().empty());
  EXPECT_EQ(std::pair(bare.contentWidth(), bare.contentHeight()), std::pair(0.0f, 0.0f));
  EXPECT_EQ(pane.scroll_range(scroll_bar::vertical), 0);
  EXPECT_TRUE(bare.onLButtonDown(mouse_left_held, 1, 1));
  EXPECT_TRUE(bare.onLButtonUp(0, 1, 1));
  EXPECT_FALSE(bare.onMouseMove(mouse_left_held, 1, 1));

  // Other views list their own records.
  opened o(four_activities());
  EXPECT_TRUE(make_table_view(view_kind::activity)->isActivityTable());
  EXPECT_TRUE(make_table_view(view_kind::wbs)->isWbsTable());
  EXPECT_TRUE(make_table_view(view_kind::project)->isProjectTable());
  EXPECT_TRUE(make_table_view(view_kind::resource)->isResourceTable());
  EXPECT_FALSE(make_table_view(view_kind::resource)->isActivityTable());

  // WBS grouped by its code: elements nested under their parents.
  WBSLayout wbs;
  wbs.add_column(field(catalog::catalog_kind::wbs, u"wbs_concat_name"), 120);
  GroupBy by_code = group_by(field(catalog::catalog_kind::wbs, u"wbs_concat_name"));
  wbs.group_sort().group_bys = {by_code};
  WBSTableView wv;
  wv.set_document(&o.doc());
  wv.set_layout(&wbs);
  wv.refresh();
  ASSERT_EQ(wv.visibleRows().size(), 5u);  // P1 over A (over A1), B and C
  // Collapse All leaves the top element, with a plus box to open it again.
  wv.collapseAll();
  ASSERT_EQ(wv.visibleRows().size(), 1u);
  pane.set_view(&wv);
  pane.set_client_size(300, 200);
  pane.left_button_down(mouse_left_held, 10, 40);
  pane.left_button_up(0, 10, 40);
  EXPECT_EQ(wv.visibleRows().size(), 4u);

  ResourceLayout res;
  res.add_column(field(catalog::catalog_kind::resource, u"rsrc_short_name"), 80);
  ResourceTableView rv;
  rv.set_document(&o.doc());
  rv.set_layout(&res);
  rv.refresh();
  EXPECT_EQ(rv.selectionText(), u"Resource ID\nR1\nR2");
}


// The copy text of a tree: a header of captions, one tab-separated line per
// visible row, group rows with their title then their summaries.
TEST(TableText, HeaderGroupLinesRowLinesAndEmptyTables) {
  opened o(schedule({
      {"1", "A10", {{"rsrc_id", "501"}, {"restart_date", "2024-01-08 08:00"}, {"reend_date", "2024-01-09 17:00"}}},
      {"2", "A20", {{"rsrc_id", "501"}, {"restart_date", "2024-01-10 08:00"}, {"reend_date", "2024-01-12 17:00"}}},
      {"3", "A30", {{"restart_date", "2024-01-15 08:00"}, {"reend_date", "2024-01-15 17:00"}}},
  }));
  const GroupSortSettings s = grouped({group_by(act(u"rsrc_id"))});
  auto root = build_activity_tree(o.doc(), s);
  const auto cols = columns({u"task_code", u"start_date", u"end_date", u"total_drtn_hr_cnt"});

  // Group rows: the title in the first column, summaries in the others.
  const std::u16string text = table_text(*root, cols);
  EXPECT_EQ(text,
            u"Activity ID\tStart\tFinish\tAt Completion Duration\n"
            u"R1.Crane\t8-Jan-2024\t12-Jan-2024\t5\n"
            u"A10\t8-Jan-2024\t9-Jan-2024\t2\n"
            u"A20\t10-Jan-2024\t12-Jan-2024\t3\n"
            u"No primary Resource\t15-Jan-2024\t15-Jan-2024\t1\n"
            u"A30\t15-Jan-2024\t15-Jan-2024\t1");

  // Only visible rows are copied: a collapsed group is one line.
  root->children()[0]->expanded = false;
  std::vector<Row*> rows;
  visible_rows(*root, rows);
  EXPECT_EQ(table_text(rows, cols),
            u"Activity ID\tStart\tFinish\tAt Completion Duration\n"
            u"R1.Crane\t8-Jan-2024\t12-Jan-2024\t5\n"
            u"No primary Resource\t15-Jan-2024\t15-Jan-2024\t1\n"
            u"A30\t15-Jan-2024\t15-Jan-2024\t1");
  // The whole-tree form shows every group expanded again.
  EXPECT_EQ(table_text(*root, cols), text);

  // A schedule without activities copies its header line alone, ended by a
  // line feed; without columns, an empty line per row.
  opened none(schedule({}));
  auto empty = build_activity_tree(none.doc(), {});
  const auto two = columns({u"task_code", u"task_name"});
  EXPECT_EQ(table_text(*empty, two), u"Activity ID\tActivity Name\n");
  EXPECT_EQ(table_text(*empty, {}), u"\n");
  // A column whose field the catalogs lack shows an empty caption and cells.
  std::vector<Column> odd = two;
  odd.push_back({999999, 50.0f, {}});
  EXPECT_EQ(table_header_text(odd), u"Activity ID\tActivity Name\t");
}

// tessel-dump --draw, run as the built program: one paint of a pane after
// the scroll, selection and clicks asked for, and its closing line; the
// Details pane's tab and its sub-tables following the selection.
namespace {

struct run_result {
  std::string out;
  std::vector<std::string> lines;
  int status = -1;

  bool has(const std::string& line) const { return std::find(lines.begin(), lines.end(), line) != lines.end(); }
  // A text drawn in the panes' font.
  bool drawn(const std::string& text) const { return out.find(" Calibri 15 " + text + "\n") != std::string::npos; }
};

const std::string kDemo = TESSEL_SOURCE_DIR "/samples/demo.xer";

run_result draw(const std::string& args, const std::string& file = kDemo) {
  run_result r;
  r.out = test_support::run_dump("--draw " + args + " " + file, &r.status);
  std::istringstream in(r.out);
  for (std::string line; std::getline(in, line);) r.lines.push_back(line);
  return r;
}

}  // namespace

TEST(DrawDump, TablePaneScrollSelectClickAndRefusals) {
  run_result r = draw("activity --size 400x100");
  ASSERT_EQ(r.status, 0);
  ASSERT_GT(r.lines.size(), 10u);
  EXPECT_EQ(r.lines.front(), "fill 0 0 400 100 #FFFFFF");
  EXPECT_EQ(r.lines.back(), "# content 1026 1974 range 636 1884 scroll 0 0");

  // Scroll positions are clamped to the range.
  EXPECT_EQ(draw("activity --size 400x100 --scroll 99999,36").lines.back(),
            "# content 1026 1974 range 636 1884 scroll 636 36");
  EXPECT_TRUE(draw("activity --size 400x100 --select 3").has("fill 0 85 1026 17 #3399FF"));

  // A click in the first group's box collapses it (the whole project).
  r = draw("activity --size 400x100 --click 10,40");
  EXPECT_EQ(r.lines.back(), "# content 1026 48 range 636 0 scroll 0 0");
  EXPECT_TRUE(r.has("line 10 38 10 42 #000000 1"));

  r = draw("resource --size 400x100 --scale 1.5");
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(r.has("fill 0 0 1410 45 #F0F0F0"));

  // Usage errors exit with 2, a file or layout that cannot be had with 1.
  const std::pair<const char*, int> cases[] = {{"nonsense", 2},
                                               {"activity --size 10", 2},
                                               {"activity-details --tab Notes", 2},
                                               {"wbs-details --tab Codes", 2},
                                               {"activity --layout \"No Such Layout\"", 1}};
  for (const auto& [args, status] : cases) EXPECT_EQ(draw(args).status, status) << args;
  EXPECT_EQ(draw("activity", "").status, 2);  // no file
  EXPECT_EQ(draw("activity", "/nonexistent.xer").status, 1);
}

// A click on a header caption acts as in the window: the header's hit areas
// exist before the clicks are replayed, and the clicked column is selected.
TEST(DrawDump, AClickOnAHeaderCaptionSelectsThatColumn) {
  const run_result plain = draw("activity --size 1200x200");
  ASSERT_EQ(plain.status, 0);
  int left = -1;  // the caption's left edge in the header
  for (const std::string& line : plain.lines) {
    float x = 0.0f, y = 0.0f;
    if (line.ends_with(" Calibri 15 Activity Name") && std::sscanf(line.c_str(), "text %f %f", &x, &y) == 2 &&
        y == 0.0f) {
      left = static_cast<int>(x);
      break;
    }
  }
  ASSERT_GT(left, 0);
  EXPECT_EQ(plain.out.find("#3399FF"), std::string::npos);  // nothing selected yet
  const run_result clicked = draw("activity --size 1200x200 --click " + std::to_string(left + 10) + ",10");
  ASSERT_EQ(clicked.status, 0);
  const std::string cell = "fill " + std::to_string(left - 5) + " 0 ";
  EXPECT_TRUE(std::any_of(clicked.lines.begin(), clicked.lines.end(), [&](const std::string& l) {
    return l.starts_with(cell) && l.ends_with(" 30 #3399FF");
  })) << "no selected header cell at " << left - 5;
}

TEST(DrawDump, DetailsTabsAndSubTablesFollowTheSelection) {
  // Row 3 of the demo's first activity layout is A1000 "Notice to Proceed".
  const run_result status = draw("activity-details --tab Status --select 3");
  ASSERT_EQ(status.status, 0);
  EXPECT_TRUE(status.drawn("Exp Finish"));
  EXPECT_TRUE(status.drawn("Notice to Proceed"));
  EXPECT_FALSE(status.drawn("Primary Resource"));  // a "General" caption

  // A1000 has no predecessor and four successors, A1010 the first.
  const run_result preds = draw("predecessors --select 3");
  ASSERT_EQ(preds.status, 0);
  EXPECT_TRUE(preds.drawn("Activity ID"));
  EXPECT_EQ(preds.out.find("A10"), std::string::npos);
  const run_result succs = draw("successors --select 3");
  ASSERT_EQ(succs.status, 0);
  // The successor list has its own columns (Total Float).
  for (const char* text : {"A1010", "Mobilise and Establish Site Compound", "Total Float"})
    EXPECT_TRUE(succs.drawn(text)) << text;

  const run_result codes = draw("activity-codes --select 3");
  ASSERT_EQ(codes.status, 0);
  EXPECT_TRUE(codes.drawn("Preconstruction"));
  EXPECT_FALSE(codes.drawn("Responsible Area"));  // A1000 has no value of that type
}


// The demo in the shipped layouts: keyboard and mouse habits of the table
// with the Gantt chart beside it (arrows, pages and ends move the selection,
// always brought into sight in both panes, the Details pane following;
// Left/Right/Enter fold group rows; a click in the chart selects its row;
// the sideways wheel pans), and the first column and the resize handles
// fitting their texts.
namespace {

class TableKeys : public demo_panes {
 protected:
  void SetUp() override {
    demo_panes::SetUp();
    size(300);  // a header of 30 and 15 rows of 18
  }
  int selected() const { return table.selectedIndex(); }
  std::size_t rows() const { return table.visibleRows().size(); }
  // Whether the selected row lies wholly in the table's sight.
  bool selection_in_sight() const {
    const int top = selected() * 18;
    const int pos = tp.scroll_pos(scroll_bar::vertical);
    return top >= pos && top + 18 <= pos + 300 - 30;
  }
};

using ColumnFit = demo_panes;

class FirstColumn : public demo_sandbox {
 protected:
  // Paints the first column of every row of one layout and answers how many
  // record rows with a first-column text did not show it whole (`example`
  // names the first).
  static int clipped_ids(const document::Document& doc, Layout& layout, std::string& example, int& checked) {
    std::unique_ptr<View> view = make_table_view(layout.view());
    view->set_document(&doc);
    view->set_layout(&layout);
    view->refresh();
    const table_metrics m = current_table_metrics();
    HostPane pane;
    pane.set_view(view.get());
    // Narrow: only the first column is in sight, every row is.
    pane.set_client_size(40, static_cast<int>(view->contentHeight()) + 10);
    recording_surface s;
    pane.paint(s);
    if (layout.columns().empty()) return 0;
    const uint32_t field = layout.columns().front().field_id;
    const float first_right = layout.columns().front().width * m.scale;
    std::vector<const recorded_call*> by_row(view->visibleRows().size(), nullptr);
    for (const recorded_call& c : s.calls()) {
      if (c.what != recorded_call::kind::text || c.rect.y < m.header_height || c.rect.x >= first_right) continue;
      const auto row = static_cast<std::size_t>((c.rect.y - 1.0f - m.header_height) / m.row_height + 0.5f);
      if (row < by_row.size()) by_row[row] = &c;
    }
    int clipped = 0;
    for (std::size_t i = 0; i < by_row.size(); ++i) {
      const Row& row = *view->visibleRows()[i];
      if (row.is_group_row()) continue;
      const std::u16string id = row.field_value(field).text();
      if (id.empty()) continue;
      ++checked;
      const recorded_call* c = by_row[i];
      const bool whole = c && c->text == id && c->rect.w >= s.text_width(id, m.cell_style) &&
                         c->rect.right() <= first_right;
      if (!whole && clipped++ == 0)
        example = test_support::narrow(layout.name()) + ": \"" + test_support::narrow(id) + "\" at depth " +
                  std::to_string(row.depth);
    }
    return clipped;
  }

  // Every shipped layout of the three tree views on one file.
  void every_layout_shows_whole_ids(const std::u16string& path) {
    TesselDoc doc;
    ASSERT_TRUE(doc.open(path));  // every real export opens
    int checked = 0;
    for (view_kind v : {view_kind::activity, view_kind::wbs, view_kind::project}) {
      for (auto& layout : doc.configuration().layouts().of(v)) {
        std::string example;
        EXPECT_EQ(clipped_ids(*doc.document(), *layout, example, checked), 0) << example;
      }
    }
    EXPECT_GT(checked, 0);
  }
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
  // A page is the 15 rows in sight.
  for (const auto& [key, row] : {std::pair{nav_key::up, 19}, {nav_key::page_down, 34}, {nav_key::page_up, 19},
                                 {nav_key::page_up, 4}}) {
    tp.key_down(key);
    EXPECT_EQ(selected(), row);
    EXPECT_TRUE(selection_in_sight()) << row;
  }
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
  ASSERT_FALSE(table.visibleRows().empty());
  ASSERT_TRUE(table.visibleRows()[0]->has_children());
  const std::size_t all = rows();
  tp.key_down(nav_key::left);  // the expanded first group collapses
  EXPECT_EQ(rows(), 1u);
  EXPECT_EQ(selected(), 0);
  for (const auto& [key, count] : {std::pair{nav_key::right, all}, {nav_key::enter, 1u}, {nav_key::enter, all}}) {
    tp.key_down(key);
    EXPECT_EQ(rows(), count);
  }
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

TEST_F(ColumnFit, AWiderRememberedWidthStaysAndADoubleClickOnAHandleFits) {
  Layout* l = layout;
  ASSERT_GE(l->column_count(), 2u);
  l->columns()[0].width = 900.0f;  // the user's own, wider than any ID needs
  HostPane& pane = tp;
  pane.set_client_size(1200, 600);
  recording_surface s;
  pane.paint(s);
  EXPECT_FLOAT_EQ(l->columns()[0].width, 900.0f);

  // A double click on the second column's handle fits it to its widest text
  // (here the activity names), and on the first brings it back to its IDs.
  const float second_left = l->columns()[0].width;
  l->columns()[1].width = 40.0f;
  pane.paint(s);
  pane.left_button_double_click(0, second_left + 40.0f, 10.0f, s);
  const float name_width = l->columns()[1].width;
  EXPECT_GT(name_width, 150.0f);
  float widest = 0.0f;
  for (const Row* r : table.visibleRows())
    if (!r->is_group_row())
      widest = std::max(widest, s.text_width(r->field_value(l->columns()[1].field_id).text(),
                                             current_table_metrics().cell_style));
  EXPECT_GE(name_width, widest + 10.0f);
  EXPECT_LE(name_width, widest + 20.0f);

  pane.paint(s);
  pane.left_button_double_click(0, 900.0f, 10.0f, s);
  EXPECT_LT(l->columns()[0].width, 400.0f);
  // Every ID fits beside its row's indentation (grouped: level + 1 steps).
  float ids = 0.0f;
  for (const Row* r : table.visibleRows())
    if (!r->is_group_row())
      ids = std::max(ids, static_cast<float>(r->depth + 1) * 20.0f +
                              s.text_width(r->field_value(l->columns()[0].field_id).text(),
                                           current_table_metrics().cell_style) + 5.0f);
  EXPECT_GE(l->columns()[0].width, ids);
  // Off the header nothing is fitted.
  const float before = l->columns()[0].width;
  pane.left_button_double_click(0, 5.0f, 200.0f, s);
  EXPECT_FLOAT_EQ(l->columns()[0].width, before);
}

TEST_F(FirstColumn, TheDemoShowsWholeIdsInEveryLayoutAtOneAndAHalfToo) {
  every_layout_shows_whole_ids(demo());
  set_display_scale(1.5f);
  every_layout_shows_whole_ids(demo());
}

TEST_F(FirstColumn, EveryRealExportShowsWholeIdsInEveryLayout) {
  SKIP_WITHOUT_REAL_EXPORTS();
  int files = 0;
  for (const auto& e : fs::recursive_directory_iterator(test_support::real_dir())) {
    const std::string ext = e.path().extension().string();
    if (!e.is_regular_file() || (ext != ".xer" && ext != ".xls" && ext != ".xlsx")) continue;
    SCOPED_TRACE(e.path().filename().string());
    every_layout_shows_whole_ids(e.path().u16string());
    ++files;
  }
  EXPECT_GE(files, 20);
}
