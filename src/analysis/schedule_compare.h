// What changed between two updates of one schedule: one line per change,
// as a scheduler reads a contractor's monthly update. Values are compared
// as they print (8 and 8.0 alike), so a line is a difference a reader sees.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/schedule_match.h"

namespace tessel::analysis {

// In the order lines of one activity are given.
enum class change_kind : uint8_t {
  data_date,
  project_finish,
  project_added,
  project_deleted,
  added,
  deleted,
  name,
  type,
  status,
  calendar,
  wbs,
  original_duration,
  remaining_duration,
  total_float,
  start,
  finish,
  actual_start,
  actual_finish,
  constraint,
  constraint2,
  percent_complete,
  predecessor_added,
  predecessor_deleted,
  predecessor_changed,
};
constexpr int change_kind_count = static_cast<int>(change_kind::predecessor_changed) + 1;

// The kind as printed: "data-date", "finish" (a project's or an
// activity's), "original-duration", "predecessor-added" ...
std::string_view change_kind_text(change_kind k);

struct change_line {
  change_kind kind = change_kind::name;
  // The NEW file's project (the OLD file's for a deleted project).
  const document::PROJECT* project = nullptr;
  // The activity in each file; both null on a project line, one null for an
  // added or deleted activity.
  const document::TASK* old_task = nullptr;
  const document::TASK* new_task = nullptr;
  std::u16string old_text, new_text;
  // New minus old in days, for dates (calendar days) and for durations and
  // float (working days of the activity's calendar); NaN when either side
  // has no value or the kind has no measure.
  double delta_days = std::numeric_limits<double>::quiet_NaN();
};

// Every change between the matched exports: project lines first (each NEW
// project's data date and finish, or its addition; then the OLD projects
// deleted), then activity lines in the NEW file's order of activities, then
// the deleted activities in the OLD file's order.
std::vector<change_line> compare_schedules(const schedule_match& match);

// The latest forecast finish of a project's activities (empty when none
// has a date).
s_date project_finish(const document::PROJECT& p);

// "YYYY-MM-DD HH:MM", or "" for an empty date.
std::u16string date_text(const s_date& d);
// Hours as printed in a change line (at most 12 significant digits).
std::u16string hours_text(double hours);

}  // namespace tessel::analysis
