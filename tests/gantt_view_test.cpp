// The Gantt chart drawn beside a table on small crafted schedules: zoom,
// equal month cells, horizontal gridlines, non-work shading, bar shapes and
// labels, relationship connectors, the data date, the WBS chart and go-to.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <string>
#include <vector>

#include "config/settings.h"
#include "rows_test_support.h"
#include "values/civil.h"
#include "view/display_scale.h"
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

int64_t at(int y, int m, int d, int h = 0) { return civil::days_from_civil(y, m, d) * 86400 + h * 3600; }

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
  c.paint();
  int found = 0;
  for (const recorded_call& k : c.surface.calls())
    if (k.what == call_kind::line && k.color == rgb(51, 153, 255)) {
      ++found;
      EXPECT_FLOAT_EQ(k.a.x, 12 * 50.0f);
      EXPECT_FLOAT_EQ(k.a.y, kHeader);
    }
  EXPECT_EQ(found, 1);

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
  const auto hours = shaded(c);
  const std::set<int64_t> off(hours.begin(), hours.end());
  EXPECT_FALSE(off.count(at(2024, 1, 10, 9)));
  EXPECT_FALSE(off.count(at(2024, 1, 10, 16)));
  EXPECT_TRUE(off.count(at(2024, 1, 10, 12)));  // lunch
  EXPECT_TRUE(off.count(at(2024, 1, 10, 19)));
  EXPECT_TRUE(off.count(at(2024, 1, 10, 5)));

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

  const float x1 = 500.0f, x2 = 625.0f, top = kHeader;
  const float bands[6][2] = {{5, 8}, {5, 4}, {9, 4}, {5, 2}, {7, 4}, {11, 2}};
  for (int shape = 1; shape <= 6; ++shape) {
    const auto p = c.polygons(rgb(50, 0, shape));
    ASSERT_EQ(p.size(), 1u) << shape;
    ASSERT_EQ(p[0].points.size(), 4u);
    EXPECT_FLOAT_EQ(p[0].points[0].x, x1);
    EXPECT_FLOAT_EQ(p[0].points[1].x, x2);
    EXPECT_FLOAT_EQ(p[0].points[0].y, top + bands[shape - 1][0]) << shape;
    EXPECT_FLOAT_EQ(p[0].points[2].y - p[0].points[0].y, bands[shape - 1][1]) << shape;
    EXPECT_EQ(p[0].outline, rgb(1, 1, 1));
  }
  // Shapes 0 and 7, a hidden bar, one without filters, a summary bar: none.
  for (uint32_t none : {rgb(50, 0, 0), rgb(50, 0, 7), rgb(80, 0, 0), rgb(90, 0, 0), rgb(95, 0, 0)})
    EXPECT_TRUE(c.polygons(none).empty()) << none;

  const auto m = c.polygons(rgb(60, 0, 0));
  ASSERT_EQ(m.size(), 2u);
  EXPECT_EQ(m[0].points.size(), 3u);  // the start triangle, tip down at x1
  EXPECT_FLOAT_EQ(m[0].points[2].x, x1);
  EXPECT_FLOAT_EQ(m[0].points[2].y, top + 13);
  EXPECT_EQ(m[1].points.size(), 4u);  // the end diamond around x2
  EXPECT_FLOAT_EQ(m[1].points[0].x, x2);
  EXPECT_FLOAT_EQ(m[1].points[1].x, x2 + 4);
  const auto s = c.polygons(rgb(70, 0, 0));
  ASSERT_EQ(s.size(), 1u);  // end code 3 draws nothing
  EXPECT_EQ(s[0].points.size(), 8u);

  // Labels beside the running extent: "A" ends 4 pixels left of x1 (the
  // recording surface's text is 7.5 pixels a character), the name starts 4
  // pixels right of x2.
  std::vector<recorded_call> texts;
  for (const recorded_call& k : c.surface.calls())
    if (k.what == call_kind::text && k.rect.y == top) texts.push_back(k);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, u"A");
  EXPECT_FLOAT_EQ(texts[0].rect.x, x1 - 4 - 7.5f);
  EXPECT_FLOAT_EQ(texts[0].rect.w, 7.5f);
  EXPECT_EQ(texts[1].text, u"Activity A");
  EXPECT_FLOAT_EQ(texts[1].rect.x, x2 + 4);

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

// The arrow tips and the starting points of the connector lines.
struct connectors {
  std::vector<point_f> tips;
  std::vector<point_f> starts;
};
connectors find_connectors(const std::vector<recorded_call>& calls) {
  connectors out;
  for (size_t i = 0; i < calls.size(); ++i) {
    const recorded_call& k = calls[i];
    if (k.what == call_kind::polygon && k.color == rgb(0, 0, 0)) out.tips.push_back(k.points[0]);
    if (k.what == call_kind::line && k.color == rgb(0, 0, 0) &&
        (i == 0 || calls[i - 1].what != call_kind::line || calls[i - 1].color != rgb(0, 0, 0)))
      out.starts.push_back(k.a);
  }
  return out;
}

bool has_point(const std::vector<point_f>& list, point_f p) {
  return std::any_of(list.begin(), list.end(), [&](point_f q) { return q.x == p.x && q.y == p.y; });
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
  ASSERT_EQ(k.tips.size(), 4u);
  EXPECT_TRUE(has_point(k.tips, {x(13), mid(1)}));  // finish of FF
  EXPECT_TRUE(has_point(k.tips, {x(14), mid(2)}));  // start of FS
  EXPECT_TRUE(has_point(k.tips, {x(17), mid(3)}));  // finish of SF
  EXPECT_TRUE(has_point(k.tips, {x(18), mid(4)}));  // start of SS
  ASSERT_EQ(k.starts.size(), 4u);
  EXPECT_EQ(std::count_if(k.starts.begin(), k.starts.end(), [&](point_f p) { return p.x == x(11) && p.y == mid(0); }), 2);
  EXPECT_EQ(std::count_if(k.starts.begin(), k.starts.end(), [&](point_f p) { return p.x == x(10) && p.y == mid(0); }), 2);
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
  std::vector<recorded_call> black;
  for (const recorded_call& l : c.surface.calls())
    if (l.what == call_kind::line && l.color == rgb(0, 0, 0)) black.push_back(l);
  ASSERT_EQ(black.size(), 1u);
  EXPECT_FLOAT_EQ(black[0].a.x, 11 * 50.0f + 6);
  EXPECT_FLOAT_EQ(black[0].b.x, 11 * 50.0f + 6);
  EXPECT_FLOAT_EQ(black[0].a.y, kHeader);
  EXPECT_FLOAT_EQ(black[0].b.y, kHeader + 10 * kRow);
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
  EXPECT_EQ(lone.contentWidth(), 0.0f);
  EXPECT_EQ(lone.contentHeight(), 0.0f);
  lone.set_document(&c.file.doc());
  lone.set_layout(&c.layout);
  lone.refresh();
  EXPECT_EQ(lone.contentWidth(), 0.0f);  // no table to follow
  recording_surface s;
  lone.context().surface = &s;
  lone.draw({0, 0, 800, 600});
  EXPECT_TRUE(s.calls().empty());
  EXPECT_TRUE(lone.isGantt());
  EXPECT_FALSE(lone.isActivityTable());

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
  std::set<float> rows_with_bars;
  for (const recorded_call& k : s.calls())
    if (k.what == call_kind::polygon && k.color == rgb(5, 5, 5)) rows_with_bars.insert(k.points[0].y);
  const std::vector<Row*>& rows = table.visibleRows();
  ASSERT_GE(rows.size(), 2u);
  for (size_t i = 0; i < rows.size(); ++i) {
    const bool dated = rows[i]->field_value(b.start_field).as_time() > 0 && rows[i]->field_value(b.end_field).as_time() > 0;
    EXPECT_EQ(rows_with_bars.count(kHeader + kRow * static_cast<float>(i) + 5), dated ? 1u : 0u) << i;
    const std::u16string& name = rows[i]->wbs()->wbs_short_name.value;
    if (name == u"C" || name == u"A1") {
      EXPECT_EQ(dated, name == u"A1");
    }
  }
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
