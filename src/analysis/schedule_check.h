// The schedule check: the measures a scheduler looks at before trusting an
// update's dates (activities tied by logic, few constraints and lags, no
// negative float, dates that respect the data date), per project, each with
// what it counts so that a view can show exactly those activities.
//
// Words used below, for one project:
//  - counted activities: neither WBS summaries nor level-of-effort
//    activities (their dates follow others' and carry no logic of their own);
//  - open activities: counted ones not completed;
//  - counted relationships: those whose successor is an open activity of
//    the project (the predecessor may lie anywhere, or be missing);
//  - data date: the project's last recalculation date;
//  - baseline finish: the forecast finish of the same Activity ID in the
//    paired project of a baseline file when one is given, else the
//    activity's planned finish;
//  - days: hours divided by the hours per day of the activity's calendar.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "document/document.h"

namespace tessel::analysis {

struct schedule_match;

// The 18 checks in the order they are shown.
enum class check_kind : uint8_t {
  logic,             // open activities missing a predecessor or a successor
  leads,             // counted relationships with a negative lag
  lags,              // counted relationships with a positive lag
  finish_to_start,   // counted relationships of type FS
  hard_constraints,  // open activities with a constraint that fixes a date
  high_float,        // open activities with total float over 44 days
  negative_float,    // open activities with total float below 0
  high_duration,     // open activities with original duration over 44 days
  invalid_dates,     // actuals after the data date, remaining work before it
  resources,         // open activities with a duration and no assignment
  missed,            // activities that did not finish by their baseline finish
  critical_path,     // the critical path from the latest critical activity back
  cpli,              // critical path length index
  bei,               // baseline execution index
  open_start,        // open activities with no FS or SS predecessor
  open_finish,       // open activities with no FS or FF successor
  start_to_finish,   // counted relationships of type SF
  out_of_sequence,   // started activities whose FS predecessor has not finished
};
inline constexpr int check_count = 18;

enum class check_result : uint8_t { pass, fail, info, not_applicable };

// One check of one project.
struct check_line {
  check_kind kind = check_kind::logic;
  check_result result = check_result::not_applicable;
  // Meaningful unless the result is not_applicable; `of` is 0 for the two
  // checks without a denominator (critical_path, cpli).
  int64_t count = 0;
  int64_t of = 0;
  // count ÷ of for the percentage checks (a fraction, not yet × 100); the
  // index for cpli and bei; 0 for critical_path.
  double value = 0.0;
  // What the check counts, in the order found: activities for activity
  // checks (critical_path the activities reached, cpli its start, bei the
  // completed ones), relationships for relationship checks.
  std::vector<const document::TASK*> activities;
  std::vector<const document::TASKPRED*> relationships;
};

struct project_check {
  const document::PROJECT* project = nullptr;
  // The project's data date; an empty date when it has none.
  s_date data_date;
  std::array<check_line, check_count> lines;
};

struct schedule_check {
  // True when baseline finishes came from a baseline file, false when they
  // are the activities' planned finishes.
  bool baseline_file = false;
  std::vector<project_check> projects;  // in the file's order of projects
};

// Every check of every project of `doc`. With `baseline` (a match whose NEW
// side is `doc` and whose OLD side is the baseline file) baseline finishes
// come from the baseline file. Linear in the file.
schedule_check check_schedule(const document::Document& doc, const schedule_match* baseline = nullptr);

}  // namespace tessel::analysis
