#include "view/dialogs/calendar_month.h"

#include <cstdio>

#include "values/civil.h"

namespace tessel::view {

namespace {

constexpr int64_t seconds_per_day = 86400;

std::u16string ascii(const char* s) {
  std::u16string out;
  for (; *s; ++s) out += static_cast<char16_t>(static_cast<unsigned char>(*s));
  return out;
}

}  // namespace

std::vector<std::u16string> calendar_names(const document::record_lists* doc, calendar_kind kind) {
  std::vector<std::u16string> names;
  if (!doc) return names;
  for (const document::CALENDAR& c : doc->calendar)
    if (c.clndr_type.code == static_cast<int32_t>(kind)) names.push_back(c.clndr_name.value);
  return names;
}

const document::CALENDAR* find_calendar(const document::record_lists* doc, std::u16string_view name) {
  if (!doc) return nullptr;
  for (const document::CALENDAR& c : doc->calendar)
    if (c.clndr_name.value == name) return &c;
  return nullptr;
}

month_ref previous_month(month_ref m) {
  return m.month <= 1 ? month_ref{m.year - 1, 12} : month_ref{m.year, m.month - 1};
}

month_ref next_month(month_ref m) {
  return m.month >= 12 ? month_ref{m.year + 1, 1} : month_ref{m.year, m.month + 1};
}

int64_t first_of_month(month_ref m) { return civil::days_from_civil(m.year, m.month, 1) * seconds_per_day; }

month_ref month_of(int64_t date) {
  const civil::ymd d = civil::civil_from_days(civil::floor_div(date, seconds_per_day));
  return {d.year, d.month};
}

std::u16string_view month_name(int month) {
  static constexpr std::u16string_view names[] = {
      u"January", u"February", u"March",     u"April",   u"May",      u"June",
      u"July",    u"August",   u"September", u"October", u"November", u"December"};
  return month >= 1 && month <= 12 ? names[month - 1] : std::u16string_view();
}

std::u16string month_title(month_ref m) {
  return std::u16string(month_name(m.month)) + u" " + ascii(std::to_string(m.year).c_str());
}

int days_in_month(month_ref m) { return civil::days_in_month(m.year, m.month); }

int day_of_month(int64_t date) {
  return civil::civil_from_days(civil::floor_div(date, seconds_per_day)).day;
}

int weekday_of(int64_t date) {
  // 1970-01-01 was a Thursday.
  const int64_t days = civil::floor_div(date, seconds_per_day);
  return static_cast<int>(((days + 4) % 7 + 7) % 7);
}

int64_t day_start(int64_t date) { return civil::floor_div(date, seconds_per_day) * seconds_per_day; }

bool has_exception(const document::work_calendar& cal, int64_t date) {
  const int64_t day = day_start(date);
  for (const document::calendar_exception& e : cal.exceptions())
    if (day_start(e.date) == day) return true;
  if (const document::work_calendar* base = cal.base())
    for (const document::calendar_exception& e : base->exceptions())
      if (day_start(e.date) == day) return true;
  return false;
}

day_class classify_day(const document::CALENDAR* cal, int64_t date) {
  if (!cal) return day_class::standard;
  const int64_t day = day_start(date);
  // Non-working wins: an exception that takes the whole day off is grey.
  if (cal->calendar.working_minutes(day, day + seconds_per_day) == 0) return day_class::nonwork;
  return has_exception(cal->calendar, day) ? day_class::exception : day_class::standard;
}

half_hour_grid grid_of(const std::vector<document::work_period>& periods) {
  half_hour_grid grid{};
  for (int cell = 0; cell < 48; ++cell) {
    const int from = cell * 30;
    const int to = from + 30;
    for (const document::work_period& p : periods)
      if (p.start <= from && to <= p.finish) {
        grid[static_cast<std::size_t>(cell)] = true;
        break;
      }
  }
  return grid;
}

half_hour_grid date_grid(const document::CALENDAR* cal, int64_t date) {
  if (!cal) return {};
  std::vector<document::work_period> periods;
  const int n = cal->calendar.period_count(date);
  for (int i = 0; i < n; ++i) periods.push_back(cal->calendar.period(date, i));
  return grid_of(periods);
}

half_hour_grid weekday_grid(const document::CALENDAR* cal, int weekday) {
  if (!cal) return {};
  const std::vector<document::work_period>* slot = cal->calendar.weekday(weekday);
  return slot ? grid_of(*slot) : half_hour_grid{};
}

std::u16string hours_text(double hours) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.1f", hours);
  return ascii(buf);
}

std::array<std::u16string, 4> period_hours(const document::CALENDAR* cal) {
  if (!cal) return {};
  return {hours_text(cal->day_hr_cnt.value), hours_text(cal->week_hr_cnt.value),
          hours_text(cal->month_hr_cnt.value), hours_text(cal->year_hr_cnt.value)};
}

std::u16string_view weekday_name(int weekday) {
  static constexpr std::u16string_view names[] = {u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                                                  u"Thursday", u"Friday", u"Saturday"};
  return weekday >= 1 && weekday <= 7 ? names[weekday - 1] : std::u16string_view();
}

int64_t schedule_data_date(const document::record_lists* doc) {
  int64_t earliest = 0;
  if (!doc) return 0;
  for (const document::PROJECT& p : doc->project) {
    const s_date& d = p.last_recalc_date;
    if (d.empty || d.as_time() <= 0) continue;
    if (earliest == 0 || d.as_time() < earliest) earliest = d.as_time();
  }
  return earliest;
}

calendar_inspector open_inspector(const document::record_lists* doc, int64_t today) {
  calendar_inspector s;
  s.doc = doc;
  // A scheduler looks at the weeks around the schedule's status, not at
  // today: the data date decides when there is one.
  if (const int64_t data_date = schedule_data_date(doc); data_date > 0) today = data_date;
  s.selected_date = day_start(today);
  s.month = month_of(today);
  set_kind(s, calendar_kind::global);
  return s;
}

void set_kind(calendar_inspector& s, calendar_kind kind) {
  s.kind = kind;
  s.names = calendar_names(s.doc, kind);
  select_entry(s, s.names.empty() ? -1 : 0);
}

void select_entry(calendar_inspector& s, int index) {
  s.calendar = nullptr;
  s.name_text.clear();
  s.base_text.clear();
  s.selected = index >= 0 && static_cast<std::size_t>(index) < s.names.size() ? index : -1;
  if (s.selected < 0) return;
  s.calendar = find_calendar(s.doc, s.names[static_cast<std::size_t>(s.selected)]);
  if (!s.calendar) return;
  s.name_text = s.calendar->clndr_name.value;
  if (s.calendar->base) s.base_text = s.calendar->base->clndr_name.value;
}

void show_month(calendar_inspector& s, month_ref m) {
  s.month = m;
  s.selected_date = first_of_month(m);
}

void show_previous_month(calendar_inspector& s) { show_month(s, previous_month(s.month)); }
void show_next_month(calendar_inspector& s) { show_month(s, next_month(s.month)); }

void select_day(calendar_inspector& s, int64_t date) { s.selected_date = day_start(date); }

}  // namespace tessel::view
