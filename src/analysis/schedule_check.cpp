#include "analysis/schedule_check.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "analysis/activity_measures.h"
#include "analysis/schedule_match.h"
#include "document/critical.h"

namespace tessel::analysis {

namespace {

using document::PROJECT;
using document::TASK;
using document::TASKPRED;

// Stored codes of the enumerations the checks read.
constexpr int32_t status_completed = 0;
constexpr int32_t type_loe = 2, type_wbs = 5;
constexpr int32_t rel_ff = 0, rel_fs = 1, rel_sf = 2, rel_ss = 3;

// More than 44 working days of float or duration is more than two months:
// too long to plan or to trust.
constexpr double long_days = 44.0;

bool counted(const TASK& t) { return t.task_type.code != type_wbs && t.task_type.code != type_loe; }
bool completed(const TASK& t) { return t.status_code.code == status_completed; }
bool open(const TASK& t) { return counted(t) && !completed(t); }

// Constraints that pin a date, so the logic can no longer move it: Start On,
// Start On or Before, Mandatory Start, Finish On, Finish On or Before,
// Mandatory Finish. "On or After" and "As Late As Possible" leave it free.
bool hard_constraint(int32_t code) {
  return code == 2 || code == 3 || code == 5 || code == 6 || code == 7 || code == 9;
}

bool has_succ_of_type(const TASK& t, int32_t a, int32_t b) {
  for (const TASKPRED* r : t.succ_rels)
    if (r->pred_type.code == a || r->pred_type.code == b) return true;
  return false;
}

// What one project gathers while the activities and relationships go by.
struct tally {
  int64_t counted = 0, open = 0, relationships = 0, started = 0, due = 0;
  const TASK* latest_critical = nullptr;
  int64_t earliest_remaining_start = 0;  // 0: none yet
};

check_line& line(project_check& p, check_kind k) { return p.lines[static_cast<size_t>(k)]; }

enum class limit_kind { at_most_5_percent, zero, at_least_90_percent, info };

limit_kind limit_of(check_kind k) {
  switch (k) {
    case check_kind::leads:
    case check_kind::negative_float:
    case check_kind::invalid_dates:
    case check_kind::start_to_finish:
      return limit_kind::zero;
    case check_kind::finish_to_start:
      return limit_kind::at_least_90_percent;
    case check_kind::resources:
    case check_kind::out_of_sequence:
      return limit_kind::info;
    default:
      return limit_kind::at_most_5_percent;
  }
}

// Judges a check with a denominator on the exact fraction.
void judge_share(check_line& l, int64_t of) {
  if (of == 0) {
    l.result = check_result::not_applicable;
    l.activities.clear();
    l.relationships.clear();
    return;
  }
  l.of = of;
  l.count = static_cast<int64_t>(l.activities.size() + l.relationships.size());
  l.value = static_cast<double>(l.count) / static_cast<double>(of);
  switch (limit_of(l.kind)) {
    case limit_kind::at_most_5_percent:
      l.result = l.count * 100 <= of * 5 ? check_result::pass : check_result::fail;
      break;
    case limit_kind::zero:
      l.result = l.count == 0 ? check_result::pass : check_result::fail;
      break;
    case limit_kind::at_least_90_percent:
      l.result = l.count * 10 >= of * 9 ? check_result::pass : check_result::fail;
      break;
    case limit_kind::info:
      l.result = check_result::info;
      break;
  }
}

void not_applicable(check_line& l) {
  l.result = check_result::not_applicable;
  l.count = l.of = 0;
  l.value = 0.0;
  l.activities.clear();
  l.relationships.clear();
}

// The path from the latest critical activity back through open critical
// predecessors, in any project of the file; passes when it reaches work
// that has begun or can begin now.
void judge_critical_path(project_check& p, const tally& t) {
  check_line& path = line(p, check_kind::critical_path);
  const TASK* start = t.latest_critical;
  if (!p.data_date.has_date() || !start) return not_applicable(path);
  std::unordered_set<const TASK*> seen{start};
  path.activities.push_back(start);
  for (size_t i = 0; i < path.activities.size(); ++i) {
    for (const TASKPRED* r : path.activities[i]->pred_rels) {
      const TASK* pred = r->predtask;
      if (pred && open(*pred) && document::is_critical(*pred) && seen.insert(pred).second)
        path.activities.push_back(pred);
    }
  }
  path.count = static_cast<int64_t>(path.activities.size());
  // A path whose first activity starts at the first working hour after the
  // data date begins now: the project's earliest remaining start says when
  // that is.
  const int64_t now = std::max<int64_t>(p.data_date.time, t.earliest_remaining_start);
  const bool begins = std::any_of(path.activities.begin(), path.activities.end(), [now](const TASK* a) {
    if (a->act_start_date.has_date()) return true;
    const s_date& s = forecast_start(*a);
    return s.has_date() && s.time <= now;
  });
  path.result = begins ? check_result::pass : check_result::fail;
}

void judge_cpli(project_check& p, const tally& t) {
  check_line& cpli = line(p, check_kind::cpli);
  const TASK* start = t.latest_critical;
  if (!p.data_date.has_date() || !start || !forecast_finish(*start).has_date()) return not_applicable(cpli);
  const double cpl_days = static_cast<double>(forecast_finish(*start).time - p.data_date.time) / 86400.0;
  if (cpl_days <= 0) return not_applicable(cpli);
  const double float_days =
      start->total_float_hr_cnt.dur_empty ? 0.0 : working_days(start->total_float_hr_cnt.hours, *start);
  cpli.value = (cpl_days + float_days) / cpl_days;
  cpli.activities.push_back(start);
  cpli.result = cpli.value >= 0.95 ? check_result::pass : check_result::fail;
}

void judge_bei(project_check& p, const tally& t) {
  check_line& bei = line(p, check_kind::bei);
  if (!p.data_date.has_date() || t.due == 0) return not_applicable(bei);
  bei.count = static_cast<int64_t>(bei.activities.size());
  bei.of = t.due;
  bei.value = static_cast<double>(bei.count) / static_cast<double>(bei.of);
  bei.result = bei.count * 100 >= bei.of * 95 ? check_result::pass : check_result::fail;
}

void judge(project_check& p, const tally& t, bool has_assignments) {
  const bool dated = p.data_date.has_date();
  judge_share(line(p, check_kind::logic), t.open);
  judge_share(line(p, check_kind::leads), t.relationships);
  judge_share(line(p, check_kind::lags), t.relationships);
  judge_share(line(p, check_kind::finish_to_start), t.relationships);
  judge_share(line(p, check_kind::hard_constraints), t.open);
  judge_share(line(p, check_kind::high_float), t.open);
  judge_share(line(p, check_kind::negative_float), t.open);
  judge_share(line(p, check_kind::high_duration), t.open);
  if (dated)
    judge_share(line(p, check_kind::invalid_dates), t.counted);
  else
    not_applicable(line(p, check_kind::invalid_dates));
  if (has_assignments)
    judge_share(line(p, check_kind::resources), t.open);
  else
    not_applicable(line(p, check_kind::resources));
  if (dated)
    judge_share(line(p, check_kind::missed), t.due);
  else
    not_applicable(line(p, check_kind::missed));
  judge_critical_path(p, t);
  judge_cpli(p, t);
  judge_bei(p, t);
  judge_share(line(p, check_kind::open_start), t.open);
  judge_share(line(p, check_kind::open_finish), t.open);
  judge_share(line(p, check_kind::start_to_finish), t.relationships);
  judge_share(line(p, check_kind::out_of_sequence), t.started);
}

}  // namespace

schedule_check check_schedule(const document::Document& doc, const schedule_match* baseline) {
  schedule_check out;
  out.baseline_file = baseline != nullptr;
  out.projects.resize(doc.project.size());
  std::vector<tally> tallies(doc.project.size());
  std::unordered_map<const PROJECT*, size_t> index;
  index.reserve(doc.project.size());
  {
    size_t i = 0;
    for (const PROJECT& p : doc.project) {
      project_check& pc = out.projects[i];
      pc.project = &p;
      pc.data_date = p.last_recalc_date;
      for (int k = 0; k < check_count; ++k) pc.lines[static_cast<size_t>(k)].kind = static_cast<check_kind>(k);
      index.emplace(&p, i++);
    }
  }
  // The last project looked up: activities of one project mostly follow
  // each other in a file.
  const PROJECT* last_project = nullptr;
  size_t last_index = 0;
  auto project_of = [&](const TASK& t) -> long {
    if (!t.project) return -1;
    if (t.project != last_project) {
      auto it = index.find(t.project);
      if (it == index.end()) return -1;
      last_project = t.project;
      last_index = it->second;
    }
    return static_cast<long>(last_index);
  };
  auto baseline_finish = [baseline](const TASK& t) -> int64_t {
    if (!baseline) return t.target_end_date.has_date() ? t.target_end_date.time : 0;
    const TASK* old = baseline->old_of(t);
    return old && forecast_finish(*old).has_date() ? forecast_finish(*old).time : 0;
  };

  for (const TASK& t : doc.task) {
    const long pi = project_of(t);
    if (pi < 0 || !counted(t)) continue;
    project_check& p = out.projects[static_cast<size_t>(pi)];
    tally& n = tallies[static_cast<size_t>(pi)];
    ++n.counted;
    const bool done = completed(t);
    const bool dated = p.data_date.has_date();
    const int64_t dd = p.data_date.time;

    if (dated) {
      bool invalid = (t.act_start_date.has_date() && t.act_start_date.time > dd) ||
                     (t.act_end_date.has_date() && t.act_end_date.time > dd);
      if (!done) {
        invalid = invalid || (!t.act_start_date.has_date() && t.early_start_date.has_date() &&
                              t.early_start_date.time < dd);
        invalid = invalid || (t.early_end_date.has_date() && t.early_end_date.time < dd);
      }
      if (invalid) line(p, check_kind::invalid_dates).activities.push_back(&t);
      const int64_t due = baseline_finish(t);
      if (due && due <= dd) {
        ++n.due;
        if (!done || (t.act_end_date.has_date() && t.act_end_date.time > due))
          line(p, check_kind::missed).activities.push_back(&t);
      }
    }
    if (done) line(p, check_kind::bei).activities.push_back(&t);
    if (t.act_start_date.has_date()) {
      ++n.started;
      for (const TASKPRED* r : t.pred_rels) {
        if (r->pred_type.code == rel_fs && r->predtask && !r->predtask->act_end_date.has_date()) {
          line(p, check_kind::out_of_sequence).activities.push_back(&t);
          break;
        }
      }
    }
    if (done) continue;

    ++n.open;
    if (t.pred_rels.empty() || t.succ_rels.empty()) line(p, check_kind::logic).activities.push_back(&t);
    if (hard_constraint(t.cstr_type.code) || hard_constraint(t.cstr_type2.code))
      line(p, check_kind::hard_constraints).activities.push_back(&t);
    const double hpd = hours_per_day(t);
    if (!t.total_float_hr_cnt.dur_empty) {
      if (t.total_float_hr_cnt.hours > long_days * hpd) line(p, check_kind::high_float).activities.push_back(&t);
      if (t.total_float_hr_cnt.hours < 0) line(p, check_kind::negative_float).activities.push_back(&t);
    }
    const bool has_duration = !t.target_drtn_hr_cnt.dur_empty && t.target_drtn_hr_cnt.hours > 0;
    if (has_duration && t.target_drtn_hr_cnt.hours > long_days * hpd)
      line(p, check_kind::high_duration).activities.push_back(&t);
    if (has_duration && t.assignments.empty()) line(p, check_kind::resources).activities.push_back(&t);
    // The relationships counted are those of open activities, so they are
    // met here, through their successor, rather than in the file's list,
    // whose successors lie all over memory.
    bool started_by_logic = false;
    for (const TASKPRED* r : t.pred_rels) {
      ++n.relationships;
      const double lag = r->lag_hr_cnt.dur_empty ? 0.0 : r->lag_hr_cnt.hours;
      if (lag < 0) line(p, check_kind::leads).relationships.push_back(r);
      if (lag > 0) line(p, check_kind::lags).relationships.push_back(r);
      const int32_t type = r->pred_type.code;
      if (type == rel_fs) line(p, check_kind::finish_to_start).relationships.push_back(r);
      if (type == rel_sf) line(p, check_kind::start_to_finish).relationships.push_back(r);
      started_by_logic = started_by_logic || type == rel_fs || type == rel_ss;
    }
    if (!started_by_logic) line(p, check_kind::open_start).activities.push_back(&t);
    if (!has_succ_of_type(t, rel_fs, rel_ff)) line(p, check_kind::open_finish).activities.push_back(&t);

    if (document::is_critical(t) &&
        (!n.latest_critical || forecast_finish(t).time > forecast_finish(*n.latest_critical).time))
      n.latest_critical = &t;
    if (!t.act_start_date.has_date() && t.early_start_date.has_date() &&
        (n.earliest_remaining_start == 0 || t.early_start_date.time < n.earliest_remaining_start))
      n.earliest_remaining_start = t.early_start_date.time;
  }

  const bool has_assignments = doc.taskrsrc.size() > 0;
  for (size_t i = 0; i < out.projects.size(); ++i) judge(out.projects[i], tallies[i], has_assignments);
  return out;
}

}  // namespace tessel::analysis
