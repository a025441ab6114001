// The Gantt chart drawn beside a table on small crafted schedules: zoom,
// equal month cells, horizontal gridlines, non-work shading, bar shapes and
// labels, relationship connectors, the data date, the WBS chart and go-to.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <deque>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "config/settings.h"
#include "demo_view_support.h"
#include "document/calendars/calendar.h"
#include "rows_test_support.h"
#include "test_support.h"
#include "values/civil.h"
#include "view/display_scale.h"
#include "view/gantt/gantt_links.h"
#include "view/gantt/gantt_shapes.h"
#include "view/gantt/gantt_timescale.h"
#include "view/gantt/gantt_view.h"
#include "view/gantt/go_to.h"
#include "view/host_pane.h"
#include "view/recording_surface.h"
#include "view/table/table_views.h"

namespace {

using namespace tessel;
using namespace tessel::view;
using rows_test::act;
using rows_test::task_spec;
using call_kind = recorded_call::kind;

using test_support::at;

// An activity not started, so it runs from its remaining start to finish.
task_spec task(const std::string& id, const std::string& code, const std::string& start, const std::string& finish) {
  return {id, code, {{"restart_date", start}, {"reend_date", finish}}};
}

// Relationships {id, successor, predecessor, type} added to a schedule.
std::string with_links(std::string xer, const std::vector<std::array<std::string, 4>>& links) {
  std::string t = "%T\tTASKPRED\r\n%F\ttask_pred_id\ttask_id\tpred_task_id\tproj_id\tpred_proj_id\tpred_type\r\n";
  for (const auto& l : links) t += "%R\t" + l[0] + "\t" + l[1] + "\t" + l[2] + "\t1\t1\t" + l[3] + "\r\n";
  xer.insert(xer.rfind("%E"), t);
  return xer;
}

GanttBar bar(uint32_t color, int mid, int start_mark = 0, int end_mark = 0, bool summary = false) {
  GanttBar b;
  b.start_field = act(u"start_date");
  b.end_field = act(u"end_date");
  b.summary = summary;
  b.has_filters = !summary;  // an empty AND list accepts every activity
  b.mid = {true, mid, color, rgb(1, 1, 1)};
  b.start = {true, start_mark, color, rgb(1, 1, 1)};
  b.end = {true, end_mark, color, rgb(1, 1, 1)};
  return b;
}

// The calls of one kind and colour, as described by draw_line.
std::vector<std::string> drawn(const std::vector<recorded_call>& calls, call_kind what, uint32_t color) {
  std::vector<std::string> out;
  for (const recorded_call& k : calls)
    if (k.what == what && k.color == color) out.push_back(draw_line(k));
  return out;
}

constexpr float kHeader = 30.0f, kRow = 18.0f;

// A schedule opened in an activity table with a Gantt chart following it.
struct chart {
  explicit chart(const std::string& xer, int code = 5) : file(xer) {
    set_display_scale(1.0f);
    config::reset_settings();
    layout.date_settings()->timescale = code;
    layout.gantt().bars.push_back(bar(rgb(10, 20, 30), 1));
    table.set_document(&file.doc());
    table.set_layout(&layout);
    gantt.set_document(&file.doc());
    gantt.set_layout(&layout);
    gantt.follow(&table);
    refresh();
  }
  void refresh() {
    table.refresh();
    gantt.refresh();
  }
  // One group per activity, the table's tree built again.
  void group_by_code() {
    layout.group_sort().group_bys.push_back(rows_test::group_by(act(u"task_code")));
    table.set_layout(nullptr);
    table.set_layout(&layout);
    refresh();
  }
  const std::vector<recorded_call>& paint(float w = 5000, float h = 2000, int sx = 0, int sy = 0) {
    surface.clear();
    gantt.context().surface = &surface;
    gantt.context().scroll_x = sx;
    gantt.context().scroll_y = sy;
    gantt.draw({0, 0, w, h});
    return surface.calls();
  }
  std::vector<recorded_call> polygons(uint32_t fill) {
    std::vector<recorded_call> out;
    for (const recorded_call& c : surface.calls())
      if (c.what == call_kind::polygon && c.color == fill) out.push_back(c);
    return out;
  }

  rows_test::opened file;
  ActivityLayout layout;
  ActivityTableView table;
  GanttView gantt;
  recording_surface surface;
};

TEST(GanttView, ZoomDoublesWidthAndBarsButNotTheCells) {
  chart c(rows_test::schedule({task("1", "A", "2024-01-10 00:00", "2024-01-12 12:00"),
                               task("2", "B", "2024-01-15 12:00", "2024-01-19 00:00")}));
  const size_t cells = c.gantt.scale().lower.size();
  const float width = c.gantt.contentWidth();
  EXPECT_FLOAT_EQ(width, 50.0f * static_cast<float>(cells));
  c.paint();
  const auto before = c.polygons(rgb(10, 20, 30));
  ASSERT_EQ(before.size(), 2u);

  c.layout.date_settings()->zoom = 100.0f;  // takes effect at the next paint
  EXPECT_FLOAT_EQ(c.gantt.contentWidth(), 2.0f * width);
  c.paint();
  const auto after = c.polygons(rgb(10, 20, 30));
  ASSERT_EQ(after.size(), 2u);
  EXPECT_EQ(c.gantt.scale().lower.size(), cells);
  for (size_t i = 0; i < 2; ++i)
    for (size_t k = 0; k < 4; ++k) {
      EXPECT_FLOAT_EQ(after[i].points[k].x, 2.0f * before[i].points[k].x);
      EXPECT_FLOAT_EQ(after[i].points[k].y, before[i].points[k].y);
    }
  // A starts at midnight of the tenth day of the range (Sunday 31 December).
  EXPECT_FLOAT_EQ(before[0].points[0].x, 10 * 50.0f);
}

TEST(GanttView, YearMonthCellsShareOneWidthWhateverTheMonthLength) {
  chart c(rows_test::schedule({task("1", "A", "2023-01-02 08:00", "2023-12-20 17:00")}), 2);
  c.paint(100000, 400);
  std::vector<const recorded_call*> lower;
  for (const recorded_call& k : c.surface.calls())
    if (k.what == call_kind::text && k.rect.y == kHeader / 2) lower.push_back(&k);
  ASSERT_EQ(lower.size(), c.gantt.scale().lower.size());
  for (size_t i = 1; i < lower.size(); ++i) {
    EXPECT_FLOAT_EQ(lower[i]->rect.x - lower[i - 1]->rect.x, 50.0f) << i;
    EXPECT_FLOAT_EQ(lower[i]->rect.w, lower[0]->rect.w) << i;
  }
  EXPECT_EQ(lower[0]->text, u"Aug");  // January less five margins of 30 days
  EXPECT_EQ(lower[5]->text, u"Jan");
}

TEST(GanttView, DashedLinesUnderEveryFifthRowWithinThePane) {
  std::vector<task_spec> tasks;
  for (int i = 0; i < 12; ++i)
    tasks.push_back(task(std::to_string(100 + i), "T" + std::to_string(i), "2024-01-10 08:00", "2024-01-11 17:00"));
  chart c(rows_test::schedule(tasks));
  auto dashed_ys = [&] {
    std::vector<float> ys;
    for (const recorded_call& k : c.surface.calls())
      if (k.what == call_kind::line && k.dashed) ys.push_back(k.a.y);
    return ys;
  };
  c.paint();
  EXPECT_EQ(dashed_ys(), (std::vector<float>{kHeader + 5 * kRow, kHeader + 10 * kRow}));
  c.paint(5000, 2000, 0, 100);  // the first line slides under the header
  EXPECT_EQ(dashed_ys(), (std::vector<float>{kHeader + 10 * kRow - 100}));
  config::settings().gridlines_HorizontalScale = 4;
  c.paint();
  EXPECT_EQ(dashed_ys(), (std::vector<float>{kHeader + 4 * kRow, kHeader + 8 * kRow}));
  config::settings().gridlines_HorizontalEnabled = false;
  c.paint();
  EXPECT_TRUE(dashed_ys().empty());
}

// The dates of the shaded cells (fills below the header in the shading grey).
std::vector<int64_t> shaded(chart& c) {
  c.paint();
  std::vector<int64_t> out;
  const float cw = c.gantt.axis().cell_width();
  for (const recorded_call& k : c.surface.calls())
    if (k.what == call_kind::fill && k.color == rgb(240, 240, 240) && k.rect.y >= kHeader)
      out.push_back(c.gantt.scale().lower[static_cast<size_t>(k.rect.x / cw)]);
  return out;
}

TEST(GanttView, DataDateAndShadingOnlyOnDayAndHourScalesForTheDefaultCalendarsNonWork) {
  // Two projects on the weekday calendar; the chart's data date is their
  // earliest.
  std::string xer = rows_test::schedule({task("1", "A", "2024-01-10 08:00", "2024-01-10 17:00")});
  xer.replace(xer.find("clndr_id\r\n"), 10, "clndr_id\tlast_recalc_date\r\n");
  xer.replace(xer.find("P1\t601\r\n"), 8, "P1\t601\t2024-01-15 12:00\r\n%R\t2\tP2\t601\t2024-01-12 00:00\r\n");
  chart c(xer);
  ASSERT_TRUE(c.gantt.has_data_date());
  EXPECT_EQ(c.gantt.data_date(), at(2024, 1, 12));
  // One line at x 12 * 50, from below the header to the end of the one row.
  EXPECT_EQ(drawn(c.paint(), call_kind::line, rgb(51, 153, 255)),
            std::vector<std::string>{"line 600 30 600 48 #3399FF 1"});

  // Only the non-work of the project's calendar is shaded.
  EXPECT_EQ(shaded(c), (std::vector<int64_t>{at(2023, 12, 31), at(2024, 1, 6), at(2024, 1, 7), at(2024, 1, 13),
                                             at(2024, 1, 14)}));
  for (int code : {1, 2, 3, 4}) {
    c.layout.date_settings()->timescale = code;
    c.refresh();
    EXPECT_TRUE(shaded(c).empty()) << code;
  }
  c.layout.date_settings()->timescale = 8;
  c.refresh();
  // On Wednesday 10 January, from 03:00 (five hours before the start), all
  // but 08:00-12:00 and 13:00-17:00.
  std::vector<int64_t> wednesday, off;
  for (int64_t h : shaded(c))
    if (h >= at(2024, 1, 10) && h < at(2024, 1, 11)) wednesday.push_back(h);
  for (int h : {3, 4, 5, 6, 7, 12, 17, 18, 19, 20, 21, 22, 23}) off.push_back(at(2024, 1, 10, h));
  EXPECT_EQ(wednesday, off);

  // A calendar flagged as default wins over the project's: seven days a week.
  std::string flagged = xer;
  auto replace = [&](const std::string& from, const std::string& to) {
    flagged.replace(flagged.find(from), from.size(), to);
  };
  replace("%F\tclndr_id\t", "%F\tclndr_id\tdefault_flag\t");
  replace("%R\t601\t", "%R\t601\tN\t");
  replace("%R\t602\t", "%R\t602\tY\t");
  replace("%R\t603\t", "%R\t603\tN\t");
  chart every_day(flagged, 6);
  EXPECT_TRUE(shaded(every_day).empty());
}

TEST(GanttView, BarsByShapeCodeMarksAndLabels) {
  chart c(rows_test::schedule({task("1", "A", "2024-01-10 00:00", "2024-01-12 12:00")}));
  c.layout.gantt().bars.clear();
  for (int shape = 0; shape <= 7; ++shape) c.layout.gantt().bars.push_back(bar(rgb(50, 0, shape), shape));
  GanttBar marks = bar(rgb(60, 0, 0), 0, 2, 4);
  marks.labels = {{act(u"task_code"), true}, {act(u"task_name"), false}};
  c.layout.gantt().bars.push_back(marks);
  GanttBar star = bar(rgb(70, 0, 0), 0, 5, 3);
  star.hide = false;
  c.layout.gantt().bars.push_back(star);
  GanttBar hidden = bar(rgb(80, 0, 0), 1, 2, 2);
  hidden.hide = true;
  c.layout.gantt().bars.push_back(hidden);
  GanttBar unfiltered = bar(rgb(90, 0, 0), 1, 2, 2);
  unfiltered.has_filters = false;  // never drawn on activities
  c.layout.gantt().bars.push_back(unfiltered);
  GanttBar summary = bar(rgb(95, 0, 0), 1, 2, 2, true);  // only on group rows
  c.layout.gantt().bars.push_back(summary);
  c.paint();

  // Bodies of shapes 1 to 6 from x 500 to 625 in their bands of the row
  // (30 to 48); the start triangle tip down at 500, the end diamond around
  // 625, the start star; shapes 0 and 7, end code 3, a hidden bar, one
  // without filters and a summary bar draw nothing.
  std::vector<std::string> drawn;
  for (const recorded_call& k : c.surface.calls())
    if (k.what == call_kind::polygon) drawn.push_back(draw_line(k));
  EXPECT_EQ(drawn, (std::vector<std::string>{
                       "polygon #320001 #010101 500,35 625,35 625,43 500,43",
                       "polygon #320002 #010101 500,35 625,35 625,39 500,39",
                       "polygon #320003 #010101 500,39 625,39 625,43 500,43",
                       "polygon #320004 #010101 500,35 625,35 625,37 500,37",
                       "polygon #320005 #010101 500,37 625,37 625,41 500,41",
                       "polygon #320006 #010101 500,41 625,41 625,43 500,43",
                       "polygon #3C0000 #010101 496,35 504,35 500,43",
                       "polygon #3C0000 #010101 625,35 629,39 625,43 621,39",
                       "polygon #460000 #010101 500,35 501.5,37.5 504,39 501.5,40.5 500,43 498.5,40.5 496,39 "
                       "498.5,37.5"}));

  const float top = kHeader;
  // Labels beside the running extent: "A" ends 4 pixels left of 500 (the
  // recording surface's text is 7.5 pixels a character), the name starts 4
  // pixels right of 625.
  std::vector<std::string> texts;
  for (const recorded_call& k : c.surface.calls())
    if (k.what == call_kind::text && k.rect.y == top) texts.push_back(draw_line(k));
  EXPECT_EQ(texts, (std::vector<std::string>{"text 488.5 30 7.5 18 #000000 Calibri 15 A",
                                             "text 629 30 75 18 #000000 Calibri 15 Activity A"}));

  // Grouped, the summary bar appears on the group row only.
  c.group_by_code();
  ASSERT_EQ(c.table.visibleRows().size(), 2u);
  c.paint();
  const auto sum = c.polygons(rgb(95, 0, 0));
  ASSERT_EQ(sum.size(), 3u);
  EXPECT_FLOAT_EQ(sum[0].points[0].y, top + 5);  // row 0, the group
  EXPECT_EQ(c.polygons(rgb(50, 0, 1)).size(), 1u);
  EXPECT_FLOAT_EQ(c.polygons(rgb(50, 0, 1))[0].points[0].y, top + kRow + 5);
}

// The arrow tips and the starting points of the connector lines, each sorted.
using points = std::vector<std::pair<float, float>>;
struct connectors {
  points tips;
  points starts;
};
connectors find_connectors(const std::vector<recorded_call>& calls) {
  connectors out;
  for (size_t i = 0; i < calls.size(); ++i) {
    const recorded_call& k = calls[i];
    if (k.what == call_kind::polygon && k.color == rgb(0, 0, 0)) out.tips.push_back({k.points[0].x, k.points[0].y});
    if (k.what == call_kind::line && k.color == rgb(0, 0, 0) &&
        (i == 0 || calls[i - 1].what != call_kind::line || calls[i - 1].color != rgb(0, 0, 0)))
      out.starts.push_back({k.a.x, k.a.y});
  }
  std::sort(out.tips.begin(), out.tips.end());
  std::sort(out.starts.begin(), out.starts.end());
  return out;
}

TEST(GanttView, ConnectorsJoinTheDatesTheirTypeNames) {
  chart c(with_links(rows_test::schedule({task("1", "A", "2024-01-10 00:00", "2024-01-11 00:00"),
                                          task("2", "FF", "2024-01-12 00:00", "2024-01-13 00:00"),
                                          task("3", "FS", "2024-01-14 00:00", "2024-01-15 00:00"),
                                          task("4", "SF", "2024-01-16 00:00", "2024-01-17 00:00"),
                                          task("5", "SS", "2024-01-18 00:00", "2024-01-19 00:00")}),
                     {{"1", "2", "1", "PR_FF"}, {"2", "3", "1", "PR_FS"}, {"3", "4", "1", "PR_SF"},
                      {"4", "5", "1", "PR_SS"}}));
  const connectors k = find_connectors(c.paint());
  auto mid = [](int row) { return kHeader + kRow * static_cast<float>(row) + kRow / 2; };
  auto x = [](int day) { return static_cast<float>(day) * 50.0f; };  // days after 31 December
  // Tips at the finish of FF, the start of FS, the finish of SF, the start of SS.
  EXPECT_EQ(k.tips, (points{{x(13), mid(1)}, {x(14), mid(2)}, {x(17), mid(3)}, {x(18), mid(4)}}));
  // Two lines leave A's start (SF, SS), two its finish (FF, FS).
  EXPECT_EQ(k.starts, (points{{x(10), mid(0)}, {x(10), mid(0)}, {x(11), mid(0)}, {x(11), mid(0)}}));
}

TEST(GanttView, ConnectorsOnlyBetweenVisibleActivities) {
  std::vector<task_spec> tasks;
  for (int i = 0; i < 40; ++i) tasks.push_back(task(std::to_string(100 + i), "T" + std::to_string(100 + i),
                                                      "2024-01-10 00:00", "2024-01-11 00:00"));
  chart c(with_links(rows_test::schedule(tasks), {{"1", "139", "100", "PR_FS"}, {"2", "101", "100", "PR_FS"},
                                                  {"3", "138", "100", "PR_FS"}}));
  ASSERT_EQ(find_connectors(c.paint()).tips.size(), 3u);

  // Rows 15 to 24 in the pane: the long connectors' vertical runs cross it
  // although both their ends are off-screen (the two share one line, 6
  // pixels right of the predecessor's finish); the short one stays out.
  c.paint(5000, kHeader + 10 * kRow, 0, static_cast<int>(15 * kRow));
  const connectors k = find_connectors(c.surface.calls());
  EXPECT_TRUE(k.tips.empty());
  EXPECT_EQ(drawn(c.surface.calls(), call_kind::line, rgb(0, 0, 0)),
            std::vector<std::string>{"line 556 30 556 210 #000000 1"});  // x 11 * 50 + 6, y 30 to 30 + 10 * 18
  // With the successor's row in the pane the whole connector is drawn.
  c.paint(5000, kHeader + 10 * kRow, 0, static_cast<int>(30 * kRow));
  EXPECT_EQ(find_connectors(c.surface.calls()).tips.size(), 2u);

  // Grouped by activity, collapsing the successor's group hides it: the
  // connector to it goes, the other stays.
  c.group_by_code();
  ASSERT_EQ(find_connectors(c.paint(5000, 100000)).tips.size(), 3u);
  for (Row* r : c.table.visibleRows())
    if (r->is_group_row() && r->children().front()->activity()->task_code.value == u"T139") r->expanded = false;
  c.table.refresh();
  EXPECT_EQ(find_connectors(c.paint(5000, 100000)).tips.size(), 2u);
}

TEST(GanttView, NothingWithoutDocumentLayoutOrTableAndWbsBarsWhereBothDatesExist) {
  chart c(rows_test::schedule({task("1", "A", "2024-01-10 00:00", "2024-01-12 00:00")}));
  GanttView lone;
  EXPECT_EQ(std::pair(lone.contentWidth(), lone.contentHeight()), std::pair(0.0f, 0.0f));
  lone.set_document(&c.file.doc());
  lone.set_layout(&c.layout);
  lone.refresh();
  EXPECT_EQ(lone.contentWidth(), 0.0f);  // no table to follow
  recording_surface s;
  lone.context().surface = &s;
  lone.draw({0, 0, 800, 600});
  EXPECT_TRUE(s.calls().empty());

  // Activities without a single date give no timescale (and no arithmetic
  // on the empty extremes); one date on either side is enough for a range.
  chart undated(rows_test::schedule({task("1", "A", "", ""), task("2", "B", "", "")}));
  EXPECT_EQ(undated.gantt.contentWidth(), 0.0f);
  undated.paint();
  chart finish_only(rows_test::schedule({task("1", "A", "", "2024-01-12 00:00")}));
  EXPECT_GT(finish_only.gantt.contentWidth(), 0.0f);

  // The WBS chart draws bars where both dates exist.
  WBSLayout layout;
  layout.date_settings()->timescale = 5;
  GanttBar b = bar(rgb(5, 5, 5), 1);
  b.start_field = rows_test::field(catalog::catalog_kind::wbs, u"start_date");
  b.end_field = rows_test::field(catalog::catalog_kind::wbs, u"end_date");
  layout.gantt().bars.push_back(b);
  WBSTableView table;
  table.set_document(&c.file.doc());
  table.set_layout(&layout);
  table.refresh();
  GanttView gantt;
  gantt.set_document(&c.file.doc());
  gantt.set_layout(&layout);
  gantt.follow(&table);
  gantt.refresh();
  EXPECT_EQ(gantt.scale().lower, c.gantt.scale().lower);  // the range of all activities
  s.clear();
  gantt.context().surface = &s;
  gantt.draw({0, 0, 5000, 2000});
  // Of the elements P1, A, B, A1 and C only A1 holds the activity, and with
  // it both dates.
  const std::vector<Row*>& rows = table.visibleRows();
  std::vector<std::u16string> with_bars;
  for (const recorded_call& k : s.calls())
    if (k.what == call_kind::polygon && k.color == rgb(5, 5, 5)) {
      const auto row = static_cast<size_t>((k.points[0].y - kHeader - 5) / kRow);
      with_bars.push_back(rows.at(row)->wbs()->wbs_short_name.value);
    }
  EXPECT_EQ(rows.size(), 5u);
  EXPECT_EQ(with_bars, std::vector<std::u16string>{u"A1"});
}

TEST(GanttView, GoToScrollsTheGanttPaneToTheSelectedStart) {
  chart c(rows_test::schedule({task("1", "A", "2024-01-10 08:00", "2024-01-12 00:00"),
                               task("2", "B", "2024-01-14 00:00", "2024-01-15 00:00")}));
  c.layout.date_settings()->zoom = 9.0f;
  HostPane table_pane, gantt_pane;
  table_pane.set_view(&c.table);
  gantt_pane.set_view(&c.gantt);
  gantt_pane.set_client_size(100, 300);
  EXPECT_FALSE(go_to(&table_pane, &gantt_pane));  // nothing selected
  EXPECT_FALSE(go_to_position(c.table, c.gantt));

  // A starts 10 days and 8 hours after the range's first Sunday: x 93,
  // left of 100, so the pane goes to that exact position.
  c.table.selectVisibleRow(0);
  EXPECT_EQ(c.gantt.scale().lower.front(), at(2023, 12, 31));
  EXPECT_EQ(c.table.selectedRow()->activity()->start_date.time, at(2024, 1, 10, 8));
  EXPECT_EQ(go_to_position(c.table, c.gantt), 93);
  EXPECT_TRUE(go_to(&table_pane, &gantt_pane));
  EXPECT_EQ(gantt_pane.scroll_pos(scroll_bar::horizontal), 93);
  EXPECT_EQ(table_pane.scroll_pos(scroll_bar::horizontal), 0);
  c.table.selectVisibleRow(1);  // x 126: 100 pixels short of it
  EXPECT_TRUE(go_to(&table_pane, &gantt_pane));
  EXPECT_EQ(gantt_pane.scroll_pos(scroll_bar::horizontal), 26);

  // A group row goes by its summarised start.
  c.group_by_code();
  c.table.selectVisibleRow(2);  // the group of B
  ASSERT_TRUE(c.table.selectedRow()->is_group_row());
  EXPECT_EQ(go_to_position(c.table, c.gantt), 26);

  // Only a table pane next to a Gantt pane.
  EXPECT_FALSE(go_to(&gantt_pane, &table_pane));
  EXPECT_FALSE(go_to(nullptr, &gantt_pane));
}

}  // namespace

// The Gantt chart's geometry: bar bodies, end marks and relationship
// connectors by shape code and scale; and the index of drawable
// relationships, which links a window of rows gets against a plain scan.
namespace {

using namespace tessel;
using namespace tessel::view;
using namespace tessel::view::gantt;

TEST(GanttShapes, BodyBandsAndMarksScaleWithTheDisplay) {
  // Every code's band, the triangle and the star are drawn at scale one in
  // GanttView.BarsByShapeCodeMarksAndLabels; here what scaling changes.
  float top = -1, h = -1;
  ASSERT_TRUE(body_band(3, 1.5f, top, h));
  EXPECT_FLOAT_EQ(top, 9 * 1.5f);
  EXPECT_FLOAT_EQ(h, 4 * 1.5f);
  for (int shape : {0, 7, -1, 100}) EXPECT_FALSE(body_band(shape, 1.0f, top, h)) << shape;

  // A diamond around the date at twice the size.
  std::vector<std::pair<float, float>> diamond;
  for (const point_f& p : mark_polygon(4, 100, 40, 2.0f)) diamond.push_back({p.x, p.y});
  EXPECT_EQ(diamond, (std::vector<std::pair<float, float>>{{100, 50}, {108, 58}, {100, 66}, {92, 58}}));
  for (int shape : {0, 1, 3, 6, 7}) EXPECT_TRUE(mark_polygon(shape, 100, 40, 1.0f).empty()) << shape;
}

// The connector always starts at the predecessor point, ends at the
// successor point with the arrow tip there, and runs only in horizontal and
// vertical steps.
void expect_elbows(const connector& c, point_f from, point_f to) {
  ASSERT_GE(c.count, 4u);
  EXPECT_FLOAT_EQ(c.path[0].x, from.x);
  EXPECT_FLOAT_EQ(c.path[0].y, from.y);
  EXPECT_FLOAT_EQ(c.path[c.count - 1].x, to.x);
  EXPECT_FLOAT_EQ(c.path[c.count - 1].y, to.y);
  EXPECT_FLOAT_EQ(c.head[0].x, to.x);
  EXPECT_FLOAT_EQ(c.head[0].y, to.y);
  for (size_t k = 1; k < c.count; ++k)
    EXPECT_TRUE(c.path[k].x == c.path[k - 1].x || c.path[k].y == c.path[k - 1].y) << k;
}

TEST(GanttShapes, ConnectorsLeaveAndEnterOnTheirOwnSides) {
  // Finish to start, successor starting later: out to the right, down,
  // then in from the left with the arrow pointing right.
  {
    const point_f a{100, 9}, b{160, 45};
    const connector c = connector_path(a, true, b, true, 18, 1.0f);
    expect_elbows(c, a, b);
    EXPECT_EQ(c.count, 4u);
    EXPECT_GT(c.path[1].x, a.x);
    EXPECT_LT(c.head[1].x, b.x);
    EXPECT_LT(c.path[2].x, b.x);
  }
  // Finish to start, successor starting before the predecessor finishes:
  // the line doubles back above the successor's row and still enters it
  // from the left.
  {
    const point_f a{100, 9}, b{60, 45};
    const connector c = connector_path(a, true, b, true, 18, 1.0f);
    expect_elbows(c, a, b);
    EXPECT_EQ(c.count, 6u);
    EXPECT_FLOAT_EQ(c.path[2].y, 36);  // the boundary above the successor's row
    EXPECT_LT(c.path[4].x, b.x);
    EXPECT_LT(c.head[1].x, b.x);
  }
  // Start to start: out to the left of the predecessor's start.
  {
    const point_f a{100, 45}, b{130, 9};  // successor above
    const connector c = connector_path(a, false, b, true, 18, 1.0f);
    expect_elbows(c, a, b);
    EXPECT_LT(c.path[1].x, a.x);
  }
  // Finish to finish with the successor above and finishing earlier: the
  // turn already lies right of the successor's finish, so it enters from
  // the right directly, arrow pointing left.
  {
    const point_f a{200, 81}, b{150, 27};
    const connector c = connector_path(a, true, b, false, 18, 2.0f);
    expect_elbows(c, a, b);
    EXPECT_GT(c.head[1].x, b.x);
    EXPECT_GT(c.path[c.count - 2].x, b.x);
    EXPECT_EQ(c.count, 4u);
  }
}

// A row standing for an activity, or for nothing (a group line).
class test_row final : public Row {
 public:
  explicit test_row(const document::TASK* t) : task_(t) {}
  const document::TASK* activity() const override { return task_; }

 private:
  const document::TASK* task_;
};

struct fixture {
  std::deque<document::TASK> tasks;
  std::deque<document::TASKPRED> rels;
  std::vector<std::unique_ptr<test_row>> owned;
  std::vector<Row*> rows;

  document::TASK& task(int64_t start, int64_t end) {
    document::TASK& t = tasks.emplace_back();
    t.start_date = s_date::from_time(start);
    t.end_date = s_date::from_time(end);
    return t;
  }
  void row(const document::TASK* t) {
    owned.push_back(std::make_unique<test_row>(t));
    rows.push_back(owned.back().get());
  }
  void rel(document::TASK& pred, document::TASK& succ, int type) {
    document::TASKPRED& r = rels.emplace_back();
    r.predtask = &pred;
    r.task = &succ;
    r.pred_type.code = type;
  }
};

TEST(GanttLinks, DatesByTypeAndOnlyBetweenActivitiesWithRowsAndDates) {
  fixture f;
  document::TASK& a = f.task(1000, 2000);
  document::TASK& b = f.task(3000, 4000);
  document::TASK& hidden = f.task(5000, 6000);  // no row
  document::TASK& undated = f.task(7000, 0);
  for (const document::TASK* t : std::initializer_list<const document::TASK*>{nullptr, &a, &b, &undated}) f.row(t);
  for (int type : {0, 1, 2, 3, 9}) f.rel(a, b, type);
  f.rel(a, hidden, 1);
  f.rel(hidden, b, 1);
  f.rel(a, undated, 0);  // to a finish that is empty
  f.rel(a, undated, 1);  // to its start, which exists
  link_index ix;
  ix.build(f.rows, f.tasks, f.rels);
  ASSERT_EQ(ix.size(), 6u);
  std::vector<const gantt::link*> found;
  ix.find(0, 3, found);
  ASSERT_EQ(found.size(), 6u);
  std::multiset<std::tuple<int, int, int64_t, int64_t, bool, bool>> got;
  for (const gantt::link* l : found)
    got.insert({l->pred_row, l->succ_row, l->from_date, l->to_date, l->from_finish, l->to_start});
  const std::multiset<std::tuple<int, int, int64_t, int64_t, bool, bool>> want{
      {1, 2, 2000, 4000, true, false}, {1, 2, 2000, 3000, true, true}, {1, 2, 1000, 4000, false, false},
      {1, 2, 1000, 3000, false, true}, {1, 2, 2000, 3000, true, true},  // unknown type: finish to start
      {1, 3, 2000, 7000, true, true}};
  EXPECT_EQ(got, want);
}

TEST(GanttLinks, WindowsGetExactlyTheLinksThatReachThemAcrossManyBlocks) {
  fixture f;
  const int n = 700;  // about eleven blocks
  std::vector<document::TASK*> t;
  for (int i = 0; i < n; ++i) {
    t.push_back(&f.task(1000 + i, 2000 + i));
    f.row(i % 9 == 4 ? nullptr : t.back());
  }
  uint32_t seed = 12345;
  auto next = [&seed](int m) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 8) % static_cast<uint32_t>(m));
  };
  for (int k = 0; k < 3000; ++k) {
    const int a = next(n);
    // Mostly short links, some across the whole list.
    const int b = k % 10 == 0 ? next(n) : std::min(n - 1, std::max(0, a + next(40) - 20));
    f.rel(*t[static_cast<size_t>(a)], *t[static_cast<size_t>(b)], 1);
  }
  link_index ix;
  ix.build(f.rows, f.tasks, f.rels);
  // The links expected: every relationship between two activities with rows.
  std::vector<std::pair<int, int>> all;
  auto row_of = [&](const document::TASK* task) {
    for (size_t i = 0; i < f.rows.size(); ++i)
      if (f.rows[i]->activity() == task) return static_cast<int>(i);
    return -1;
  };
  for (const document::TASKPRED& r : f.rels) {
    const int p = row_of(r.predtask), s = row_of(r.task);
    if (p >= 0 && s >= 0) all.push_back({std::min(p, s), std::max(p, s)});
  }
  ASSERT_EQ(ix.size(), all.size());
  for (const auto& [first, last] : std::vector<std::pair<int, int>>{
           {0, 0}, {0, 63}, {63, 64}, {64, 127}, {100, 150}, {320, 370}, {640, 699}, {699, 699}, {250, 250}}) {
    std::vector<const gantt::link*> found;
    ix.find(first, last, found);
    std::multiset<std::pair<int, int>> got, want;
    for (const gantt::link* l : found) got.insert({l->low(), l->high()});
    for (const auto& [lo, hi] : all)
      if (lo <= last && hi >= first) want.insert({lo, hi});
    EXPECT_EQ(got, want) << first << "-" << last;
    EXPECT_FALSE(want.empty());
  }
  std::vector<const gantt::link*> none;
  ix.find(5, 4, none);
  EXPECT_TRUE(none.empty());
}

}  // namespace

// The Gantt timescale on its own: cell lists of every scale kind, margins
// and alignment, month arithmetic, the date-to-x mapping, gridline dates
// and cell labels.
namespace {

using namespace tessel::view::gantt;
using tessel::civil::break_down;
using tessel::civil::days_from_civil;

using test_support::at;

TEST(GanttTimescale, RangesEndAfterTheCellLimitOrSpanTheMarginsAroundOneDay) {
  const timescale t = build_timescale(8, at(1970, 1, 2), at(9999, 12, 1));
  ASSERT_EQ(t.lower.size(), max_cells + 1);
  EXPECT_EQ(t.lower.back() - t.lower.front(), int64_t(max_cells) * 3600);
  // The upper tier stops with the lower one: its last day reaches the last
  // hour, the one before does not.
  ASSERT_GE(t.upper.size(), 2u);
  EXPECT_GE(t.upper.back(), t.lower.back());
  EXPECT_LT(t.upper[t.upper.size() - 2], t.lower.back());

  // A one-day schedule on Week/Day, Wednesday 10 January 2024 08:00 to
  // 17:00, spans from the Sunday before to five days after.
  const timescale w = build_timescale(5, at(2024, 1, 10, 8), at(2024, 1, 10, 17));
  EXPECT_EQ(w.code, 5);
  // Days from five days back (Friday 5 January) moved to the Sunday on or
  // before it, 31 December, to the day after the last date plus five days.
  std::vector<int64_t> days;
  for (int64_t d = at(2023, 12, 31); d <= at(2024, 1, 16); d += 86400) days.push_back(d);
  EXPECT_EQ(w.lower, days);
  // Weeks from the same Sunday, the last one reaching past the end.
  EXPECT_EQ(w.upper, (std::vector<int64_t>{at(2023, 12, 31), at(2024, 1, 7), at(2024, 1, 14), at(2024, 1, 21)}));

  // A start already on a Sunday stays put once moved back.
  const timescale s = build_timescale(6, at(2024, 1, 12), at(2024, 1, 12));  // Friday
  EXPECT_EQ(s.lower.front(), at(2024, 1, 7));                               // Sunday on or before the 7th
  EXPECT_EQ(break_down(s.lower.front()).weekday, 0);
}

TEST(GanttTimescale, EveryKindAlignsItsCellsAndPadsFiveMarginUnitsOthersShowMonthWeek) {
  const int64_t early = at(2023, 5, 17, 10, 30);
  const int64_t late = at(2024, 2, 3, 15, 45);
  struct expect {
    int code;
    int64_t margin;
  };
  for (const expect e : {expect{1, 90 * 86400}, expect{2, 30 * 86400}, expect{3, 30 * 86400},
                         expect{4, 7 * 86400}, expect{5, 86400}, expect{6, 86400}, expect{8, 3600}}) {
    SCOPED_TRACE(e.code);
    const scale_kind& kind = scale_of(e.code);
    const timescale t = build_timescale(e.code, early, late);
    const int64_t end = next_period(kind.lower, late) + 5 * e.margin;
    ASSERT_GE(t.lower.size(), 2u);
    EXPECT_LE(t.lower.front(), early - 5 * e.margin);
    EXPECT_GE(t.lower.back(), end);
    // Less than one more unit of slack on either side.
    EXPECT_GT(t.lower.front(), early - 5 * e.margin - 2 * (e.code == 1 ? 92 : e.code <= 3 ? 31 : 7) * 86400);
    for (size_t i = 0; i < t.lower.size(); ++i) {
      EXPECT_EQ(period_start(kind.lower, t.lower[i]), t.lower[i]) << i;
      if (i) {
        EXPECT_EQ(next_period(kind.lower, t.lower[i - 1]), t.lower[i]) << i;
        EXPECT_LT(t.lower[i - 1], end) << "only the last cell reaches the end";
      }
    }
    EXPECT_EQ(t.upper.front(), t.lower.front());
    for (size_t i = 1; i < t.upper.size(); ++i) EXPECT_EQ(period_start(kind.upper, t.upper[i]), t.upper[i]) << i;
    EXPECT_GE(t.upper.back(), end);
    EXPECT_LT(t.upper[t.upper.size() - 2], end);
  }
  // Weeks begin on Sunday in the month/week scale too.
  for (int64_t d : build_timescale(4, early, late).lower) EXPECT_EQ(break_down(d).weekday, 0);
  // Quarters begin in January, April, July, October.
  for (int64_t d : build_timescale(1, early, late).lower) EXPECT_EQ((break_down(d).month - 1) % 3, 0);

  // Codes without a scale show Month/Week.
  const timescale four = build_timescale(4, at(2024, 3, 1), at(2024, 3, 20));
  for (int code : {0, 7, 9, -1, 100}) {
    SCOPED_TRACE(code);
    EXPECT_EQ(effective_scale(code), 4);
    EXPECT_EQ(scale_of(code).combo_text, u"Month/Week");
    const timescale t = build_timescale(code, at(2024, 3, 1), at(2024, 3, 20));
    EXPECT_EQ(t.code, 4);
    EXPECT_EQ(t.lower, four.lower);
    EXPECT_EQ(t.upper, four.upper);
  }
}

TEST(GanttTimescale, MonthArithmeticWrapsIntoTheNextYear) {
  EXPECT_EQ(next_period(time_unit::month, at(2023, 12, 15, 9)), at(2024, 1, 1));
  EXPECT_EQ(next_period(time_unit::quarter, at(2023, 11, 2)), at(2024, 1, 1));
  EXPECT_EQ(next_period(time_unit::quarter, at(2023, 10, 1)), at(2024, 1, 1));
  EXPECT_EQ(next_period(time_unit::quarter, at(2023, 8, 31)), at(2023, 10, 1));
  EXPECT_EQ(next_period(time_unit::year, at(2023, 7, 4)), at(2024, 1, 1));
  EXPECT_EQ(period_start(time_unit::quarter, at(2024, 6, 30, 23)), at(2024, 4, 1));
  EXPECT_EQ(period_start(time_unit::week, at(2024, 1, 6, 23, 59)), at(2023, 12, 31));  // Saturday
  EXPECT_EQ(period_start(time_unit::week, at(2024, 1, 7)), at(2024, 1, 7));            // Sunday itself
  EXPECT_EQ(next_period(time_unit::hour, at(2024, 1, 7, 23, 30)), at(2024, 1, 8));
  // Before 1970 the floor still goes down, not towards zero.
  EXPECT_EQ(period_start(time_unit::day, at(1969, 12, 31, 5)), at(1969, 12, 31));
  EXPECT_EQ(period_start(time_unit::week, at(1969, 12, 31, 5)), at(1969, 12, 28));
  // Year/Month: the months of a year and a day in February of a leap year.
  const timescale t = build_timescale(2, at(2024, 2, 29), at(2024, 2, 29));
  EXPECT_EQ(t.lower.front(), at(2023, 9, 1));  // 1 February less 150 days, aligned
  EXPECT_EQ(t.upper[1], at(2024, 1, 1));
}

TEST(GanttTimescale, DateToXIsLinearAndScalesWithZoomWindowsFindTheirCells) {
  const timescale t = build_timescale(2, at(2023, 1, 10), at(2023, 12, 20));
  const date_axis a50(t.lower, 50.0f), a100(t.lower, 100.0f);
  const float n = static_cast<float>(t.lower.size());
  EXPECT_FLOAT_EQ(a50.content_width(), 50.0f * n);
  EXPECT_FLOAT_EQ(a100.content_width(), 2.0f * a50.content_width());
  EXPECT_FLOAT_EQ(a50.x_of(t.lower.front()), 0.0f);
  EXPECT_NEAR(a50.x_of(t.lower.back()), 50.0f * (n - 1), 1e-3);
  for (int64_t d : {at(2023, 1, 10), at(2023, 3, 1, 12), at(2023, 12, 20)}) {
    EXPECT_NEAR(a100.x_of(d), 2.0f * a50.x_of(d), 1e-3);
    EXPECT_NEAR(static_cast<double>(a50.date_at(a50.x_of(d))), static_cast<double>(d), 60.0);
  }
  // Linear in time: a month of 31 days is wider than February.
  const float jan = a50.x_of(at(2023, 2, 1)) - a50.x_of(at(2023, 1, 1));
  const float feb = a50.x_of(at(2023, 3, 1)) - a50.x_of(at(2023, 2, 1));
  EXPECT_NEAR(jan / feb, 31.0f / 28.0f, 1e-4);
  // Fewer than two cells: everything at 0.
  const date_axis one(std::vector<int64_t>{at(2023, 1, 1)}, 50.0f);
  EXPECT_EQ(std::pair(one.x_of(at(2024, 1, 1)), one.content_width()), std::pair(0.0f, 50.0f));

  // The ranges of cells and dates within a window.
  const std::vector<int64_t> d{10, 20, 30, 40};
  // The cell holding 25 starts at 20; the one at 40 is the last.
  using range = std::pair<std::size_t, std::size_t>;
  const auto of = [](auto r) { return range(r.first, r.last); };
  EXPECT_EQ(of(cells_between(d, 25, 40)), range(1, 4));
  EXPECT_EQ(of(cells_between(d, 0, 5)), range(0, 0));
  EXPECT_EQ(cells_between(d, 45, 50).first, 3u);
  EXPECT_EQ(of(dates_between(d, 15, 30)), range(1, 3));
  EXPECT_EQ(dates_between(d, 31, 39).first, dates_between(d, 31, 39).last);
}

TEST(GanttTimescale, GridlineDatesForEveryUnitAndCellLabels) {
  const int64_t from = at(2024, 1, 30, 12), to = at(2024, 5, 2);
  EXPECT_EQ(gridline_dates(gridline_units::month, from, to, nullptr),
            (std::vector<int64_t>{at(2024, 2, 1), at(2024, 3, 1), at(2024, 4, 1), at(2024, 5, 1)}));
  EXPECT_EQ(gridline_dates(gridline_units::quarter, at(2023, 12, 1), at(2024, 7, 1), nullptr),
            (std::vector<int64_t>{at(2024, 1, 1), at(2024, 4, 1), at(2024, 7, 1)}));
  std::vector<int64_t> sundays;  // 4 February to 28 April
  for (int64_t d = at(2024, 2, 4); d < to; d += 7 * 86400) sundays.push_back(d);
  EXPECT_EQ(gridline_dates(gridline_units::week, from, to, nullptr), sundays);
  const auto days = gridline_dates(gridline_units::day, at(2024, 1, 1, 6), at(2024, 1, 4), nullptr);
  EXPECT_EQ(days, (std::vector<int64_t>{at(2024, 1, 2), at(2024, 1, 3), at(2024, 1, 4)}));
  const auto hours = gridline_dates(gridline_units::hour, at(2024, 1, 1, 22, 30), at(2024, 1, 2, 1), nullptr);
  EXPECT_EQ(hours, (std::vector<int64_t>{at(2024, 1, 1, 23), at(2024, 1, 2), at(2024, 1, 2, 1)}));
  EXPECT_TRUE(gridline_dates(3, from, to, nullptr).empty());
  EXPECT_TRUE(gridline_dates(0, from, to, nullptr).empty());

  // Shifts: 08:00-12:00 and 13:00-17:00 on weekdays, and on Wednesday a
  // shift that carries straight on from the morning one.
  tessel::document::work_calendar cal;
  for (int wd = 2; wd <= 6; ++wd) {
    cal.add_period(wd, {8 * 60, 12 * 60});
    cal.add_period(wd, {(wd == 4 ? 12 : 13) * 60, 17 * 60});
  }
  // Wednesday 3 January 2024 to Monday 8 January, 10:00.
  const auto shifts = gridline_dates(gridline_units::shift, at(2024, 1, 3), at(2024, 1, 8, 10), &cal);
  EXPECT_EQ(shifts, (std::vector<int64_t>{at(2024, 1, 3, 8), at(2024, 1, 4, 8), at(2024, 1, 4, 13),
                                          at(2024, 1, 5, 8), at(2024, 1, 5, 13), at(2024, 1, 6), at(2024, 1, 7),
                                          at(2024, 1, 8, 8)}));
  // Without a calendar every day gets its midnight.
  EXPECT_EQ(gridline_dates(gridline_units::shift, at(2024, 1, 3), at(2024, 1, 5), nullptr),
            (std::vector<int64_t>{at(2024, 1, 3), at(2024, 1, 4), at(2024, 1, 5)}));

  // Cell labels by kind and tier.
  const int64_t d = at(2012, 1, 5, 8);  // Thursday
  struct expect {
    int code;
    std::u16string upper, lower;
  };
  for (const expect& e : {expect{1, u"2012", u"Q1"}, expect{2, u"2012", u"Jan"}, expect{3, u"Qtr 1, 2012", u"Jan"},
                          expect{4, u"January 2012", u"05"}, expect{5, u"Jan 05", u"T"},
                          expect{6, u"Jan 05", u"Thu"}, expect{8, u"Thu Jan 05", u"8"},
                          expect{7, u"January 2012", u"05"}}) {
    SCOPED_TRACE(e.code);
    EXPECT_EQ(cell_label(e.code, true, d), e.upper);
    EXPECT_EQ(cell_label(e.code, false, d), e.lower);
  }
  EXPECT_EQ(cell_label(3, true, at(2012, 11, 1)), u"Qtr 4, 2012");
}

}  // namespace


// Where the chart shows on the demo: the schedule's first bars a little
// right of the pane's left edge after an open, the date at the pane's centre
// kept through a timescale or zoom change, and an upper-tier label kept in
// sight when its cell starts left of the pane.
namespace {
using GanttPosition = demo_panes;
}  // namespace

TEST_F(GanttPosition, AnOpenShowsTheFirstBarsAHundredPixelsIn) {
  ASSERT_GT(gantt.earliest_date(), 0);
  const float first = gantt.x_of(gantt.earliest_date());
  ASSERT_GT(first, 150.0f);  // the chart's lead-in runs before the first bar
  ASSERT_TRUE(show_earliest(&gp));
  EXPECT_EQ(gp.scroll_pos(scroll_bar::horizontal), static_cast<int>(first) - 100);
  // At 150 % the gap is 150 pixels (go-to leaves the same gap).
  set_display_scale(1.5f);
  gantt.refresh();
  gp.update_ranges();
  ASSERT_TRUE(show_earliest(&gp));
  EXPECT_EQ(gp.scroll_pos(scroll_bar::horizontal), static_cast<int>(gantt.x_of(gantt.earliest_date())) - 150);
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

  // With a sliver of the cell left in sight, the label slides out whole with
  // the cell's end instead of being cut on the right.
  const std::u16string label = gantt::cell_label(sc.code, true, sc.upper[1]);
  const float end = gantt.x_of(sc.upper[2]);
  gp.set_scroll_pos(scroll_bar::horizontal, static_cast<int>(end) - 8);
  recording_surface sliver;
  gp.paint(sliver);
  bool slid = false;
  for (const recorded_call& c : sliver.calls())
    if (c.what == recorded_call::kind::text && c.rect.y == 0.0f && c.text == label) {
      EXPECT_LT(c.rect.x, 0.0f);
      EXPECT_GE(c.rect.w, sliver.text_width(label, {}) - 0.5f);
      slid = true;
    }
  EXPECT_TRUE(slid);
}
