// The calendar inspector: the calendars of a type, the one a name picks,
// month browsing, the colour of each day and the half-hour grid, checked on
// the model and on what the two panels draw.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "document/records/record_lists.h"
#include "values/civil.h"
#include "view/dialogs/calendar_month.h"
#include "view/dialogs/calendar_panels.h"
#include "view/recording_surface.h"

using namespace tessel;
using namespace tessel::view;
using document::CALENDAR;
using document::work_period;

namespace {

int64_t day(int64_t y, int m, int d) { return civil::days_from_civil(y, m, d) * 86400; }

CALENDAR& add(document::record_lists& doc, std::u16string name, calendar_kind kind) {
  CALENDAR& c = doc.calendar.emplace_back();
  c.clndr_name.value = std::move(name);
  c.clndr_type.code = static_cast<int32_t>(kind);
  return c;
}

void link(CALENDAR& c, CALENDAR& base) {
  c.base = &base;
  c.calendar.set_base(&base.calendar);
}

// Monday to Friday 08:00-12:00 and 13:00-17:00.
void five_days(CALENDAR& c) {
  for (int wd = 2; wd <= 6; ++wd) {
    c.calendar.add_period(wd, {8 * 60, 12 * 60});
    c.calendar.add_period(wd, {13 * 60, 17 * 60});
  }
}

std::vector<int> working_cells(const half_hour_grid& g) {
  std::vector<int> cells;
  for (int i = 0; i < 48; ++i)
    if (g[static_cast<std::size_t>(i)]) cells.push_back(i);
  return cells;
}

// The schedule of most tests: two global calendars, a project calendar named
// like the second one, one more project calendar, no resource calendar.
struct four_calendars {
  document::record_lists doc;
  CALENDAR* corporate;
  CALENDAR* five_day;
  CALENDAR* project_five_day;
  CALENDAR* site;
  four_calendars() {
    corporate = &add(doc, u"Corporate", calendar_kind::global);
    five_day = &add(doc, u"Five Day", calendar_kind::global);
    project_five_day = &add(doc, u"Five Day", calendar_kind::project);
    site = &add(doc, u"Site", calendar_kind::project);
    link(*five_day, *corporate);
    link(*site, *corporate);
    five_days(*five_day);
    five_days(*corporate);
    // Wednesday 4 January 2012 off; Saturday 7 January worked in the morning.
    five_day->calendar.add_exception(day(2012, 1, 4));
    auto& sat = five_day->calendar.add_exception(day(2012, 1, 7));
    five_day->calendar.add_exception_period(sat, {8 * 60, 12 * 60});
    // The base calendar shortens Monday 9 January to one hour.
    auto& mon = corporate->calendar.add_exception(day(2012, 1, 9));
    corporate->calendar.add_exception_period(mon, {9 * 60, 10 * 60});
    five_day->day_hr_cnt.value = 8;
    five_day->week_hr_cnt.value = 37.5;
    five_day->month_hr_cnt.value = 171.99;
    five_day->year_hr_cnt.value = 2000;
  }
};

}  // namespace

TEST(CalendarInspector, TypeButtonsNamesMonthsAndPeriodFigures) {
  four_calendars f;
  calendar_inspector s = open_inspector(&f.doc, day(2012, 1, 18) + 3600 * 15);
  EXPECT_EQ(s.kind, calendar_kind::global);
  EXPECT_EQ(s.names, (std::vector<std::u16string>{u"Corporate", u"Five Day"}));
  EXPECT_EQ(s.selected, 0);
  EXPECT_EQ(s.calendar, f.corporate);
  EXPECT_EQ(s.name_text, u"Corporate");
  EXPECT_EQ(s.base_text, u"");
  EXPECT_EQ(s.month, (month_ref{2012, 1}));
  EXPECT_EQ(s.selected_date, day(2012, 1, 18));

  select_entry(s, 1);
  EXPECT_EQ(s.calendar, f.five_day);
  EXPECT_EQ(s.base_text, u"Corporate");

  // No resource calendars: the list and both edits are emptied.
  set_kind(s, calendar_kind::resource);
  EXPECT_TRUE(s.names.empty());
  EXPECT_EQ(s.selected, -1);
  EXPECT_EQ(s.calendar, nullptr);
  EXPECT_EQ(s.name_text, u"");
  EXPECT_EQ(s.base_text, u"");

  // The project list names "Five Day", which the global calendar of that
  // name, earlier in the document, answers.
  set_kind(s, calendar_kind::project);
  EXPECT_EQ(s.names, (std::vector<std::u16string>{u"Five Day", u"Site"}));
  EXPECT_EQ(s.calendar, f.five_day);
  EXPECT_NE(s.calendar, f.project_five_day);
  EXPECT_EQ(s.base_text, u"Corporate");
  select_entry(s, 1);
  EXPECT_EQ(s.calendar, f.site);
  select_entry(s, 2);  // past the list
  EXPECT_EQ(s.calendar, nullptr);
  EXPECT_EQ(s.name_text, u"");

  // Without a document nothing is listed.
  calendar_inspector none = open_inspector(nullptr, day(2012, 1, 20));
  EXPECT_TRUE(none.names.empty());
  EXPECT_EQ(none.calendar, nullptr);

  // Months wrap at the year and select their first day.
  show_previous_month(none);
  EXPECT_EQ(none.month, (month_ref{2011, 12}));
  EXPECT_EQ(month_title(none.month), u"December 2011");
  EXPECT_EQ(none.selected_date, day(2011, 12, 1));
  show_next_month(none);
  EXPECT_EQ(none.month, (month_ref{2012, 1}));
  EXPECT_EQ(none.selected_date, day(2012, 1, 1));
  show_month(none, {2012, 11});
  show_next_month(none);
  show_next_month(none);
  EXPECT_EQ(none.month, (month_ref{2013, 1}));
  select_day(none, day(2013, 1, 17) + 5000);
  EXPECT_EQ(none.selected_date, day(2013, 1, 17));
  EXPECT_EQ(days_in_month({2012, 2}), 29);
  EXPECT_EQ(days_in_month({2100, 2}), 28);
  EXPECT_EQ(weekday_of(day(2012, 1, 1)), 0);  // a Sunday
  EXPECT_EQ(weekday_of(day(1969, 12, 31)), 3);

  // Time period figures show one decimal.
  EXPECT_EQ(period_hours(f.five_day),
            (std::array<std::u16string, 4>{u"8.0", u"37.5", u"172.0", u"2000.0"}));
  EXPECT_EQ(period_hours(nullptr), (std::array<std::u16string, 4>{}));
  EXPECT_EQ(weekday_name(1), u"Sunday");
  EXPECT_EQ(weekday_name(7), u"Saturday");
  EXPECT_EQ(weekday_name(0), u"");
}

TEST(CalendarInspector, DaysAreNonworkExceptionOrStandardAndHalfHoursWhollyWorked) {
  four_calendars f;
  const CALENDAR* c = f.five_day;
  EXPECT_EQ(classify_day(c, day(2012, 1, 3)), day_class::standard);   // Tuesday
  EXPECT_EQ(classify_day(c, day(2012, 1, 1)), day_class::nonwork);    // Sunday
  // An exception without periods: non-working wins over exception.
  EXPECT_EQ(classify_day(c, day(2012, 1, 4) + 7200), day_class::nonwork);
  EXPECT_EQ(classify_day(c, day(2012, 1, 7)), day_class::exception);  // worked Saturday
  EXPECT_EQ(classify_day(c, day(2012, 1, 9)), day_class::exception);  // inherited from the base
  EXPECT_EQ(classify_day(f.corporate, day(2012, 1, 7)), day_class::nonwork);  // not inherited upwards
  EXPECT_EQ(classify_day(nullptr, day(2012, 1, 1)), day_class::standard);

  EXPECT_TRUE(working_cells(date_grid(c, day(2012, 1, 4))).empty());
  EXPECT_EQ(working_cells(date_grid(c, day(2012, 1, 9))), (std::vector<int>{18, 19}));
  EXPECT_EQ(working_cells(date_grid(c, day(2012, 1, 7))),
            (std::vector<int>{16, 17, 18, 19, 20, 21, 22, 23}));
  EXPECT_EQ(working_cells(date_grid(c, day(2012, 1, 3))).size(), 16u);
  EXPECT_TRUE(working_cells(weekday_grid(c, 1)).empty());
  EXPECT_EQ(working_cells(weekday_grid(c, 2)).size(), 16u);
  EXPECT_TRUE(working_cells(weekday_grid(c, 8)).empty());
  EXPECT_TRUE(working_cells(weekday_grid(nullptr, 2)).empty());
  // Half hours count only when wholly worked.
  EXPECT_EQ(working_cells(grid_of({{8 * 60, 12 * 60}})), (std::vector<int>{16, 17, 18, 19, 20, 21, 22, 23}));
  EXPECT_EQ(working_cells(grid_of({{8 * 60 + 15, 9 * 60}})), (std::vector<int>{17}));
  EXPECT_EQ(working_cells(grid_of({{22 * 60 + 30, 24 * 60}})), (std::vector<int>{45, 46, 47}));
  EXPECT_EQ(working_cells(grid_of({{0, 30}, {60, 90}})), (std::vector<int>{0, 2}));
  EXPECT_TRUE(working_cells(grid_of({{600, 600}})).empty());
}

namespace {

// The fill drawn under a day number's text.
uint32_t fill_under(const std::vector<recorded_call>& calls, std::u16string_view number) {
  for (const auto& t : calls) {
    if (t.what != recorded_call::kind::text || t.text != number) continue;
    const float cx = t.rect.x + t.rect.w / 2;
    const float cy = t.rect.y + t.rect.h / 2;
    uint32_t color = 0;
    for (const auto& f : calls)
      if (f.what == recorded_call::kind::fill && f.rect.w < 100 && f.rect.contains(cx, cy)) color = f.color;
    return color;
  }
  return 0;
}

}  // namespace

TEST(CalendarPanels, MonthGridColoursAndHitsAndTheDayPanelFillsWorkingHalfHours) {
  four_calendars f;
  recording_surface s;
  const rect_f area{10, 20, 350, 184};
  paint_month_panel(s, area, f.five_day, {2012, 1}, day(2012, 1, 12), 1.0f);
  int numbers = 0;
  for (const auto& c : s.calls())
    if (c.what == recorded_call::kind::text && !c.text.empty() && c.text[0] >= u'1' && c.text[0] <= u'9' &&
        c.text.size() <= 2)
      ++numbers;
  EXPECT_EQ(numbers, 31);
  EXPECT_EQ(fill_under(s.calls(), u"3"), standard_day_color);
  EXPECT_EQ(fill_under(s.calls(), u"4"), nonwork_day_color);
  EXPECT_EQ(fill_under(s.calls(), u"7"), exception_day_color);
  EXPECT_EQ(fill_under(s.calls(), u"9"), exception_day_color);
  EXPECT_EQ(fill_under(s.calls(), u"15"), nonwork_day_color);  // Sunday
  EXPECT_TRUE(std::any_of(s.calls().begin(), s.calls().end(), [](const recorded_call& c) {
    return c.what == recorded_call::kind::text && c.text == u"January 2012";
  }));
  // The selected day is framed, and only it.
  const int marks = static_cast<int>(std::count_if(s.calls().begin(), s.calls().end(), [](const recorded_call& c) {
    return c.what == recorded_call::kind::line && c.color == rgb(0, 84, 166);
  }));
  EXPECT_EQ(marks, 4);

  // 1 January 2012 is a Sunday: the first cell of the first week row.
  const month_panel_geometry g = month_panel_layout(area, {2012, 1});
  ASSERT_EQ(g.days.size(), 31u);
  EXPECT_FLOAT_EQ(g.days[0].rect.x, 10.0f);
  EXPECT_FLOAT_EQ(g.days[0].rect.y, 20.0f + 2 * 23.0f);
  EXPECT_FLOAT_EQ(g.days[30].rect.y, 20.0f + 6 * 23.0f);  // the 31st, a Tuesday, in the fifth week
  const auto& d4 = g.days[3].rect;
  const month_hit h = hit_month_panel(g, d4.x + d4.w / 2, d4.y + d4.h / 2);
  EXPECT_EQ(h.what, month_hit::kind::day);
  EXPECT_EQ(h.date, day(2012, 1, 4));
  EXPECT_EQ(hit_month_panel(g, g.previous_arrow.x + 2, g.previous_arrow.y + 2).what, month_hit::kind::previous);
  EXPECT_EQ(hit_month_panel(g, g.next_arrow.right() - 2, g.next_arrow.y + 2).what, month_hit::kind::next);
  EXPECT_EQ(hit_month_panel(g, area.x + area.w / 2, area.y + 30).what, month_hit::kind::none);

  // The day panel fills the working half hours.
  const rect_f day_area{0, 0, 154, 400};
  auto working_fills = [&](const half_hour_grid& grid) {
    recording_surface d;
    paint_day_panel(d, day_area, grid, 1.0f);
    std::vector<recorded_call> fills;
    bool headings = false;
    for (const auto& c : d.calls()) {
      if (c.what == recorded_call::kind::fill && c.color == working_cell_color) fills.push_back(c);
      if (c.what == recorded_call::kind::text && c.text == u":30-:60") headings = true;
    }
    EXPECT_TRUE(headings);
    return fills;
  };
  const auto morning = working_fills(grid_of({{8 * 60, 12 * 60}}));
  ASSERT_EQ(morning.size(), 8u);
  for (int i = 0; i < 8; ++i) {
    const rect_f want = day_panel_cell(day_area, 8 + i / 2, i % 2);
    EXPECT_FLOAT_EQ(morning[static_cast<std::size_t>(i)].rect.y, want.y);
    EXPECT_FLOAT_EQ(morning[static_cast<std::size_t>(i)].rect.x, want.x);
  }
  EXPECT_TRUE(working_fills(date_grid(f.five_day, day(2012, 1, 4))).empty());
}
