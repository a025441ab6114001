// What the calendar inspector shows, without any window: the calendars of
// one type, the one picked by name, the month on screen with each day
// classified, and the half-hour grid of a day. The dialog only turns clicks
// into calls here and paints the panels (view/calendar_panels.h).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "document/records/record_lists.h"

namespace tessel::view {

// The three calendar types, as clndr_type codes: CA_Base, CA_Rsrc, CA_Project.
enum class calendar_kind : uint8_t { global = 0, resource = 1, project = 2 };

// The names of the calendars of one type, in document order (duplicates
// stay). Empty without a document.
std::vector<std::u16string> calendar_names(const document::record_lists* doc, calendar_kind kind);

// The first calendar of the document, of any type, with exactly this name;
// nullptr when none. A project calendar named like a global one therefore
// always resolves to whichever comes first.
const document::CALENDAR* find_calendar(const document::record_lists* doc, std::u16string_view name);

// A month of a year.
struct month_ref {
  int64_t year = 1970;
  int month = 1;  // 1-12

  bool operator==(const month_ref&) const = default;
};

month_ref previous_month(month_ref m);
month_ref next_month(month_ref m);
// 00:00 of the month's first day, seconds since 1970.
int64_t first_of_month(month_ref m);
// The month holding a date.
month_ref month_of(int64_t date);
// "January" .. "December"; empty outside 1-12.
std::u16string_view month_name(int month);
// "January 2012".
std::u16string month_title(month_ref m);
// 28 to 31.
int days_in_month(month_ref m);
// 1 to 31.
int day_of_month(int64_t date);
// 0 Sunday .. 6 Saturday.
int weekday_of(int64_t date);
// 00:00 of the day holding `date`.
int64_t day_start(int64_t date);

// How the month grid colours a day.
enum class day_class : uint8_t {
  standard,   // works, no exception
  nonwork,    // no working minute between 00:00 and the next 00:00
  exception,  // works, and the calendar or its base lists the day as an exception
};
// Without a calendar every day is standard (nothing is known about it).
day_class classify_day(const document::CALENDAR* cal, int64_t date);

// Whether the calendar, or else its base calendar, lists the day as an
// exception (with or without periods).
bool has_exception(const document::work_calendar& cal, int64_t date);

// The 24 x 2 half-hour cells of a day, cell 2 * hour + (second half ? 1 : 0);
// true where the half hour lies wholly within one of the periods.
using half_hour_grid = std::array<bool, 48>;
half_hour_grid grid_of(const std::vector<document::work_period>& periods);
// The periods that hold on a date (exception, base exception or weekday).
half_hour_grid date_grid(const document::CALENDAR* cal, int64_t date);
// The periods of a weekday slot, 1 Sunday .. 7 Saturday.
half_hour_grid weekday_grid(const document::CALENDAR* cal, int weekday);

// Hours with one decimal, as the time-period figures show them ("8.0").
std::u16string hours_text(double hours);

// "Hours/Day", "Hours/Week", "Hours/Month", "Hours/Year" of a calendar; all
// empty without one.
std::array<std::u16string, 4> period_hours(const document::CALENDAR* cal);

// "Sunday" .. "Saturday" for 1 .. 7; empty otherwise.
std::u16string_view weekday_name(int weekday);

// The inspector's state: the type buttons, the name list and its selection,
// the picked calendar, the two read-only edits, the month on screen and the
// selected day.
struct calendar_inspector {
  const document::record_lists* doc = nullptr;
  calendar_kind kind = calendar_kind::global;
  std::vector<std::u16string> names;
  int selected = -1;                           // index into names, -1 for none
  const document::CALENDAR* calendar = nullptr;
  std::u16string name_text;                    // "Calendar Name"
  std::u16string base_text;                    // inherited-from edit
  month_ref month;
  int64_t selected_date = 0;                   // 00:00 of the selected day
};

// The schedule's data date: the earliest of its projects' (0 when none has one).
int64_t schedule_data_date(const document::record_lists* doc);
// A fresh inspector on the schedule's data date, or on `today` (any moment
// of the day) when it has none: "Global" set, the list filled, its first
// entry picked.
calendar_inspector open_inspector(const document::record_lists* doc, int64_t today);
// A type button: refills the list, picks its first entry.
void set_kind(calendar_inspector& s, calendar_kind kind);
// A click in the list (-1 clears): resolves the calendar by name.
void select_entry(calendar_inspector& s, int index);
// The arrows: the month moves by one and the first of it becomes the
// selected day.
void show_previous_month(calendar_inspector& s);
void show_next_month(calendar_inspector& s);
// Jumps to a month the same way (start-up on a given month).
void show_month(calendar_inspector& s, month_ref m);
// A click on a day.
void select_day(calendar_inspector& s, int64_t date);

}  // namespace tessel::view
