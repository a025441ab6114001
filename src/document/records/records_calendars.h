// Calendars.
#pragma once

#include "document/calendars/calendar.h"
#include "document/records/records_common.h"

namespace tessel::document {

#define TESSEL_CALENDAR_MEMBERS(X)                      \
  X(clndr_id, id, s_unsigned_long)                      \
  X(base_clndr_id, id, s_unsigned_long)                 \
  X(proj_id, id, s_unsigned_long)                       \
  X(default_flag, flag, s_bool)                         \
  X(clndr_name, text, s_string)                         \
  X(clndr_type, enumeration, s_calendar_type)           \
  X(day_hr_cnt, number, s_double)                       \
  X(week_hr_cnt, number, s_double)                      \
  X(month_hr_cnt, number, s_double)                     \
  X(year_hr_cnt, number, s_double)

// A calendar. Its clndr_data column is read into the working-time model;
// hours per day, week, month and year that are greater than zero replace the
// defaults 8, 40, 172 and 2000 of that model, so durations shown in this
// calendar convert with its own day length.
struct CALENDAR {
  TESSEL_CALENDAR_MEMBERS(TESSEL_DECLARE_MEMBER)
  work_calendar calendar;

  // Set by linking.
  CALENDAR* base = nullptr;

  static cell_loader special_column(std::u16string_view name);
  void finish_row();
  static std::span<const member_desc> members();
};

}  // namespace tessel::document
