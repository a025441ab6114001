// The calendar inspector: the calendars of a type, the one a name picks,
// month browsing, the colour of each day and the half-hour grid, checked on
// the model and on what the two panels draw.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <tuple>

#include "catalog/field_catalog.h"
#include "config/config_text.h"
#include "config/data_folder.h"
#include "config/layout.h"
#include "config/settings.h"
#include "config_sandbox.h"
#include "document/records/record_lists.h"
#include "test_support.h"
#include "values/civil.h"
#include "values/display_prefs.h"
#include "view/dialogs/calendar_month.h"
#include "view/dialogs/calendar_panels.h"
#include "view/dialogs/column_chooser.h"
#include "view/dialogs/options_pages.h"
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

// The inspector's list, its selected entry, its two edits and the calendar they show.
using names = std::vector<std::u16string>;
std::tuple<names, int, std::u16string, std::u16string, const CALENDAR*> shown(const calendar_inspector& s) {
  return {s.names, s.selected, s.name_text, s.base_text, s.calendar};
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
  EXPECT_EQ(shown(s), std::tuple(names{u"Corporate", u"Five Day"}, 0, u"Corporate", u"", f.corporate));
  EXPECT_EQ(s.month, (month_ref{2012, 1}));
  EXPECT_EQ(s.selected_date, day(2012, 1, 18));

  select_entry(s, 1);
  EXPECT_EQ(shown(s), std::tuple(names{u"Corporate", u"Five Day"}, 1, u"Five Day", u"Corporate", f.five_day));

  // No resource calendars: the list and both edits are emptied.
  set_kind(s, calendar_kind::resource);
  EXPECT_EQ(shown(s), std::tuple(names{}, -1, u"", u"", nullptr));

  // The project list names "Five Day", which the global calendar of that
  // name, earlier in the document, answers.
  set_kind(s, calendar_kind::project);
  EXPECT_EQ(shown(s), std::tuple(names{u"Five Day", u"Site"}, 0, u"Five Day", u"Corporate", f.five_day));
  EXPECT_NE(s.calendar, f.project_five_day);
  select_entry(s, 1);
  EXPECT_EQ(shown(s), std::tuple(names{u"Five Day", u"Site"}, 1, u"Site", u"Corporate", f.site));
  select_entry(s, 2);  // past the list
  EXPECT_EQ(s.calendar, nullptr);
  EXPECT_EQ(s.name_text, u"");

  // Without a document nothing is listed, and it opens on today's month.
  calendar_inspector none = open_inspector(nullptr, day(2012, 1, 20));
  EXPECT_TRUE(none.names.empty());
  EXPECT_EQ(none.calendar, nullptr);
  EXPECT_EQ(none.month, (month_ref{2012, 1}));
  // With a data date it opens on that month, the earliest of the projects'.
  for (int d : {0, 9, 3})
    f.doc.project.emplace_back().last_recalc_date = d ? s_date::from_ymd(2025, d, 1, 8) : s_date();
  EXPECT_EQ(schedule_data_date(&f.doc), day(2025, 3, 1) + 8 * 3600);
  const calendar_inspector dated = open_inspector(&f.doc, day(2031, 3, 14));
  EXPECT_EQ(dated.month, (month_ref{2025, 3}));
  EXPECT_EQ(dated.selected_date, day(2025, 3, 1));

  // Months wrap at the year and select their first day.
  show_previous_month(none);
  EXPECT_EQ(std::pair(none.month, none.selected_date), std::pair(month_ref{2011, 12}, day(2011, 12, 1)));
  EXPECT_EQ(month_title(none.month), u"December 2011");
  show_next_month(none);
  EXPECT_EQ(std::pair(none.month, none.selected_date), std::pair(month_ref{2012, 1}, day(2012, 1, 1)));
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
  std::vector<uint32_t> fills;  // the 3rd, 4th, 7th, 9th and 15th (a Sunday)
  for (const char16_t* d : {u"3", u"4", u"7", u"9", u"15"}) fills.push_back(fill_under(s.calls(), d));
  EXPECT_EQ(fills, (std::vector<uint32_t>{standard_day_color, nonwork_day_color, exception_day_color,
                                          exception_day_color, nonwork_day_color}));
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
  EXPECT_EQ(std::pair(g.days[0].rect.x, g.days[0].rect.y), std::pair(10.0f, 20.0f + 2 * 23.0f));
  EXPECT_FLOAT_EQ(g.days[30].rect.y, 20.0f + 6 * 23.0f);  // the 31st, a Tuesday, in the fifth week
  const auto& d4 = g.days[3].rect;
  const month_hit h = hit_month_panel(g, d4.x + d4.w / 2, d4.y + d4.h / 2);
  EXPECT_EQ(std::pair(h.what, h.date), std::pair(month_hit::kind::day, day(2012, 1, 4)));
  EXPECT_EQ(hit_month_panel(g, g.previous_arrow.x + 2, g.previous_arrow.y + 2).what, month_hit::kind::previous);
  EXPECT_EQ(hit_month_panel(g, g.next_arrow.right() - 2, g.next_arrow.y + 2).what, month_hit::kind::next);
  EXPECT_EQ(hit_month_panel(g, area.x + area.w / 2, area.y + 30).what, month_hit::kind::none);  // weekday headings
  EXPECT_EQ(hit_month_panel(g, area.x + area.w / 2, area.y + 10).what, month_hit::kind::title);

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
    const rect_f got = morning[static_cast<std::size_t>(i)].rect;
    EXPECT_EQ(std::pair(got.x, got.y), std::pair(want.x, want.y)) << i;
  }
  EXPECT_TRUE(working_fills(date_grid(f.five_day, day(2012, 1, 4))).empty());
}

// The column chooser: both lists filled from the catalog, the document's
// fields and the layout; Add and Remove on the table and on the relationship
// tables; and column files replaced whole or not at all.
namespace fs = std::filesystem;
using catalog::catalog_kind;

namespace {

class ColumnChooser : public config_sandbox {
 protected:
  ColumnChooser() : config_sandbox("tessel-chooser-") {}

  // Only these activity captions are supplied by the "document".
  static void supply_only(std::initializer_list<std::u16string_view> captions) {
    catalog::catalogs().clear_available();
    for (auto caption : captions) {
      catalog::field_entry* e = catalog::catalogs()[catalog_kind::activity].find_caption(caption);
      ASSERT_NE(e, nullptr);
      catalog::catalog_set::mark_available(*e);
    }
  }
  static uint32_t id(std::u16string_view caption, catalog_kind kind = catalog_kind::activity) {
    const catalog::field_entry* e = catalog::catalogs()[kind].find_caption(caption);
    EXPECT_NE(e, nullptr);
    return e ? e->field_id : 0;
  }
  static std::u16string captions(const Layout& l) {
    std::u16string s;
    for (const Column& c : l.columns()) {
      if (!s.empty()) s += u",";
      s += catalog::find_field(c.field_id)->caption;
    }
    return s;
  }
};

}  // namespace

TEST_F(ColumnChooser, ListsShowSuppliedCaptionsSortedAndInTableOrderAddAppendsSorted) {
  supply_only({u"Activity ID", u"Activity Name", u"Start", u"Finish", u"Calendar", u"Total Float"});
  ActivityLayout l;
  l.add_column(id(u"Start"), 90);
  l.add_column(id(u"Activity Step Count"), 50);  // not supplied
  l.add_column(id(u"Activity ID"), 100);
  const column_target t{&l, chooser_list::table};
  column_lists lists = fill_column_lists(t);
  EXPECT_EQ(lists.inserted, (std::vector<std::u16string>{u"Start", u"Activity ID"}));
  EXPECT_EQ(lists.inserted_index, (std::vector<std::size_t>{0, 2}));
  EXPECT_EQ(lists.available,
            (std::vector<std::u16string>{u"Activity Name", u"Calendar", u"Finish", u"Total Float"}));
  EXPECT_TRUE(caption_less(u"abc", u"Abd"));
  EXPECT_FALSE(caption_less(u"b", u"A"));
  EXPECT_TRUE(caption_less(u"Start", u"start date"));
  EXPECT_TRUE(fill_column_lists({nullptr, chooser_list::table}).available.empty());

  // Add appends in the sorted order at 120 pixels.
  ActivityLayout m;
  m.add_column(id(u"Activity ID"), 100);
  const column_target u{&m, chooser_list::table};
  lists = fill_column_lists(u);
  ASSERT_EQ(lists.available.size(), 5u);
  // Three entries selected in the sorted list: its first, third and fifth.
  add_columns(u, {lists.available[0], lists.available[2], lists.available[4]});
  EXPECT_EQ(captions(m), u"Activity ID,Activity Name,Finish,Total Float");
  for (std::size_t i = 1; i < 4; ++i) EXPECT_FLOAT_EQ(m.columns()[i].width, 120.0f);
  EXPECT_FLOAT_EQ(m.columns()[0].width, 100.0f);
  lists = fill_column_lists(u);
  EXPECT_EQ(lists.available, (std::vector<std::u16string>{u"Calendar", u"Start"}));
  add_columns(u, {u"No Such Caption", u"Activity Step Count"});  // unknown, and not supplied
  add_columns(u, {});
  EXPECT_EQ(m.column_count(), 4u);
}

TEST(ColumnChooserFilter, TheAvailableListFiltersCaseBlindOnAnyPartOfTheCaption) {
  const std::vector<std::u16string> captions{u"Activity ID", u"Activity Name", u"Early Start", u"Total Float",
                                             u"Free Float"};
  EXPECT_EQ(filtered_captions(captions, u""), captions);
  EXPECT_EQ(filtered_captions(captions, u"float"), (std::vector<std::u16string>{u"Total Float", u"Free Float"}));
  EXPECT_EQ(filtered_captions(captions, u"TY N"), (std::vector<std::u16string>{u"Activity Name"}));
  EXPECT_TRUE(filtered_captions(captions, u"Floats").empty());
}

TEST_F(ColumnChooser, RemoveTakesExactlyTheSelectedColumns) {
  supply_only({u"Activity ID", u"Activity Name", u"Start", u"Finish", u"Calendar"});
  ActivityLayout l;
  for (auto c : {u"Activity ID", u"Activity Name", u"Start", u"Finish"}) l.add_column(id(c), 80);
  const column_target t{&l, chooser_list::table};
  remove_columns(t, fill_column_lists(t), {0, 2});
  EXPECT_EQ(captions(l), u"Activity Name,Finish");
  remove_columns(t, fill_column_lists(t), {});
  remove_columns(t, fill_column_lists(t), {7});
  EXPECT_EQ(l.column_count(), 2u);

  // A column the document does not supply is not listed and never removed
  // in place of its neighbour.
  ActivityLayout m;
  m.add_column(id(u"Activity ID"), 80);
  m.add_column(id(u"Total Float"), 80);  // not supplied
  m.add_column(id(u"Start"), 80);
  m.add_column(id(u"Finish"), 80);
  const column_target u{&m, chooser_list::table};
  remove_columns(u, fill_column_lists(u), {2, 1});
  EXPECT_EQ(captions(m), u"Activity ID,Total Float");
}

TEST_F(ColumnChooser, RelationshipTablesEditTheirOwnLists) {
  ActivityLayout l;
  l.add_column(id(u"Activity ID"), 100);
  l.add_detail_column(detail_list::predecessors, id(u"Activity ID", catalog_kind::predecessor), 90);
  const column_target pred{&l, chooser_list::predecessors};
  const column_target succ{&l, chooser_list::successors};
  EXPECT_EQ(chooser_catalog(pred), catalog_kind::predecessor);
  EXPECT_EQ(chooser_catalog(succ), catalog_kind::successor);
  EXPECT_EQ(chooser_catalog({&l, chooser_list::table}), catalog_kind::activity);
  column_lists lists = fill_column_lists(pred);
  EXPECT_EQ(lists.inserted, (std::vector<std::u16string>{u"Activity ID"}));
  EXPECT_EQ(std::count(lists.available.begin(), lists.available.end(), u"Activity ID"), 0);
  add_columns(pred, {u"Activity Name", u"Early Start"});
  add_columns(succ, {u"Activity Status"});
  ASSERT_EQ(l.detail_count(detail_list::predecessors), 3u);
  EXPECT_EQ(l.detail_at(detail_list::predecessors, 1)->field_id, id(u"Activity Name", catalog_kind::predecessor));
  EXPECT_EQ(l.detail_at(detail_list::predecessors, 2)->field_id, id(u"Early Start", catalog_kind::predecessor));
  EXPECT_FLOAT_EQ(l.detail_at(detail_list::predecessors, 2)->width, 120.0f);
  ASSERT_EQ(l.detail_count(detail_list::successors), 1u);
  EXPECT_EQ(l.detail_at(detail_list::successors, 0)->field_id, id(u"Activity Status", catalog_kind::successor));
  EXPECT_EQ(l.column_count(), 1u);

  remove_columns(pred, fill_column_lists(pred), {0, 2});
  ASSERT_EQ(l.detail_count(detail_list::predecessors), 1u);
  EXPECT_EQ(l.detail_at(detail_list::predecessors, 0)->field_id, id(u"Activity Name", catalog_kind::predecessor));

  // A layout of another view has no relationship tables.
  WBSLayout w;
  add_columns({&w, chooser_list::predecessors}, {u"Activity Name"});
  EXPECT_TRUE(fill_column_lists({&w, chooser_list::predecessors}).inserted.empty());
}

TEST_F(ColumnChooser, ColumnFilesAreReplacedWholeOrNotAtAll) {
  const fs::path folder = root_ / "data" / "VP_ACT";
  fs::create_directories(folder);
  const fs::path file = folder / "Mine_columns.cfg";
  ASSERT_TRUE(config_text::write_file(file, "task_code:100\n"));
  ASSERT_TRUE(config_text::write_file(file, "end_date:120\n"));
  std::ifstream in(file, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text, "end_date:120\n");
  // No temporary file is left beside it.
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
  // A file that cannot be written leaves nothing behind and reports it.
  EXPECT_FALSE(config_text::write_file(root_ / "no such folder" / "x.cfg", "a:1\n"));
  // A target that cannot be replaced (a folder stands in its place) stays.
  fs::create_directories(folder / "Busy_columns.cfg" / "inside");
  EXPECT_FALSE(config_text::write_file(folder / "Busy_columns.cfg", "a:1\n"));
  EXPECT_TRUE(fs::is_directory(folder / "Busy_columns.cfg" / "inside"));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
}

// The options pages: list texts and setting codes, the row interval typed by
// the user, and OK storing into the settings and "Settings.cfg" at once.

namespace {

class OptionsPages : public config_sandbox {
 protected:
  OptionsPages() : config_sandbox("tessel-options-") {}
  void SetUp() override {
    config_sandbox::SetUp();
    reset_prefs();
  }
  void TearDown() override {
    reset_prefs();
    config_sandbox::TearDown();
  }
  static std::string saved() {
    std::ifstream in(config::settings_file(), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
};

using test_support::narrow;

}  // namespace

// Texts match without regard to case; an unlisted text stores the list's
// default and a code out of range shows the first entry.
TEST(OptionsMappings, ListTextsAndCodesBothWaysAndTheRowInterval) {
  struct to_code {
    int32_t (*code)(std::u16string_view);
    std::u16string_view text;
    int32_t expected;
  };
  for (const to_code& c : {to_code{unit_code, u"Hour", 0}, {unit_code, u"wEEK", 2}, {unit_code, u"Year", 4},
                           {unit_code, u"Fortnight", 1}, {unit_code, u"", 1}, {decimals_code, u"0", 1},
                           {decimals_code, u"2", 3}, {decimals_code, u"3", 1}, {scale_code, u"quarter", 1},
                           {scale_code, u"Month", 2}, {scale_code, u"WEEK", 4}, {scale_code, u"Day", 5},
                           {scale_code, u"Shift", 7}, {scale_code, u"hour", 8}, {scale_code, u"", 2}})
    EXPECT_EQ(c.code(c.text), c.expected) << narrow(c.text);
  struct to_text {
    std::u16string_view (*text)(int32_t);
    int32_t code;
    std::u16string_view expected;
  };
  for (const to_text& t : {to_text{unit_text, 0, u"Hour"}, {unit_text, 3, u"Month"}, {unit_text, 5, u"Hour"},
                           {unit_text, -1, u"Hour"}, {decimals_text, 2, u"1"},
                           {decimals_text, 0, u"0"},  // "as stored" shows as no decimals
                           {decimals_text, 4, u"0"}, {scale_text, 7, u"Shift"}, {scale_text, 3, u"Month"}})
    EXPECT_EQ(t.text(t.code), t.expected) << t.code;
  EXPECT_EQ(choice_index(scale_choices, u"week"), 1);
  EXPECT_EQ(choice_index(scale_choices, u"Hour"), -1);

  // The row interval is the leading number, within 1 to 100.
  const std::pair<std::u16string_view, int32_t> cases[] = {
      {u"0", 1},      {u"250", 100},      {u"100", 100},      {u"1", 1},    {u"12", 12},
      {u"", 1},       {u"abc", 1},        {u"  7 rows", 7},   {u"42abc", 42}, {u"-5", 1},
      {u"99999999999999999999", 100}};
  for (const auto& [text, rows] : cases) EXPECT_EQ(rows_from_text(text), rows) << narrow(text);
}
TEST_F(OptionsPages, TimeUnitsShowAndStoreBothFormats) {
  const auto shown = [](const units_page& p) {
    return std::tuple(p.unit_unit, p.unit_decimals, p.unit_label, p.duration_unit, p.duration_decimals,
                      p.duration_label);
  };
  const auto stored = [] {
    const display_prefs& d = prefs();
    return std::tuple(d.unit_unit, d.unit_decimals, d.unit_label, d.duration_unit, d.duration_decimals,
                      d.duration_label);
  };
  prefs().duration_unit = 0;
  prefs().duration_decimals = 3;
  prefs().duration_label = true;
  prefs().unit_unit = 4;
  prefs().unit_decimals = 0;
  units_page p = open_units_page();
  EXPECT_EQ(shown(p), shown({u"Year", u"0", false, u"Hour", u"2", true}));
  p = {u"Day", p.unit_decimals, true, u"week", u"1", false};
  ok_units_page(p);
  // The unit decimals were shown as "0" and are stored back as no decimals.
  EXPECT_EQ(stored(), std::tuple(1, 1, true, 2, 2, false));
  EXPECT_EQ(saved(),
            "unit_UnitOfTime:1\nunit_Decimals:1\nunit_ShowDurationLabel:1\nduration_UnitOfTime:2\n"
            "duration_Decimals:2\nduration_ShowDurationLabel:0\nlayout_rememberChanges:1\n"
            "gridlines_VerticalScale:2\ngridlines_HorizontalScale:5\ngridlines_VerticalEnabled:1\n"
            "gridlines_HorizontalEnabled:1\n");
}

TEST_F(OptionsPages, GridlinesWithAnUnlistedScaleStoreMonthLayoutsStoreRemembering) {
  const auto shown = [](const gridlines_page& p) { return std::tuple(p.scale, p.rows, p.horizontal, p.vertical); };
  const auto stored = [] {
    const auto& s = config::settings();
    return std::tuple(s.gridlines_VerticalScale, s.gridlines_HorizontalScale, s.gridlines_VerticalEnabled,
                      s.gridlines_HorizontalEnabled);
  };
  {
    std::ofstream(config::settings_file(), std::ios::binary)
        << "gridlines_VerticalScale:8\ngridlines_HorizontalScale:12\ngridlines_VerticalEnabled:0\n";
  }
  config::LoadSettings();
  gridlines_page p = open_gridlines_page();
  EXPECT_EQ(shown(p), shown({u"", u"12", true, false}));
  p.rows = u"250";
  p.horizontal = false;
  ok_gridlines_page(p);
  EXPECT_EQ(stored(), std::tuple(2, 100, false, false));
  EXPECT_NE(saved().find("gridlines_VerticalScale:2\ngridlines_HorizontalScale:100\n"
                         "gridlines_VerticalEnabled:0\ngridlines_HorizontalEnabled:0\n"),
            std::string::npos);

  config::settings().gridlines_VerticalScale = 4;
  p = open_gridlines_page();
  EXPECT_EQ(p.scale, u"Week");
  ok_gridlines_page({u"Day", u"0", false, true});
  EXPECT_EQ(stored(), std::tuple(5, 1, true, false));
  config::settings().gridlines_HorizontalScale = -3;  // as a hand-edited file may hold it
  EXPECT_EQ(open_gridlines_page().rows, u"4294967293");

  // The layouts page stores remembering.
  EXPECT_TRUE(open_layouts_page().remember);
  ok_layouts_page({false});
  EXPECT_FALSE(config::settings().layout_rememberChanges);
  EXPECT_NE(saved().find("layout_rememberChanges:0\n"), std::string::npos);
  config::reset_settings();
  config::LoadSettings();
  EXPECT_FALSE(open_layouts_page().remember);
}
