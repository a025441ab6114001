#include "analysis/schedule_compare.h"

#include <cmath>
#include <cstdio>
#include <unordered_map>
#include <unordered_set>

#include "analysis/activity_measures.h"
#include "analysis/relationship_pairing.h"
#include "values/civil.h"
#include "values/enums.h"

namespace tessel::analysis {

using document::CALENDAR;
using document::Document;
using document::PROJECT;
using document::PROJWBS;
using document::TASK;
using document::TASKPRED;

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();

std::u16string ascii(const char* s) { return std::u16string(s, s + std::char_traits<char>::length(s)); }

// What a date prints as, as a number: two dates print alike exactly when
// their keys are equal.
int64_t date_key(const s_date& d) {
  return d.has_date() ? civil::floor_div(d.time, 60) : std::numeric_limits<int64_t>::min();
}

double days_between(const s_date& a, const s_date& b) {
  return a.has_date() && b.has_date() ? static_cast<double>(b.time - a.time) / 86400.0 : nan;
}

template <class Enum>
std::u16string stored_code(const Enum& e) {
  const auto entries = Enum::entries();
  for (const enum_entry& x : entries)
    if (x.code == e.code) return std::u16string(x.stored);
  return {};
}

// The export's own status codes; the one for a not-started activity is
// "TK_NotStart".
std::u16string status_text(const s_activity_status& s) {
  switch (s.code) {
    case 0: return u"TK_Complete";
    case 1: return u"TK_Active";
    default: return u"TK_NotStart";
  }
}

std::u16string dur_text(const s_dur& d) { return d.dur_empty ? std::u16string() : hours_text(d.hours); }

std::u16string constraint_text(const s_constraint_type& type, const s_date& date) {
  if (type.code == 0) return {};
  std::u16string out = stored_code(type);
  if (date.has_date()) out += u' ' + date_text(date);
  return out;
}

std::u16string relationship_text(const TASKPRED& r) {
  std::u16string type;
  for (const enum_entry& x : s_relationship_type::entries())
    if (x.code == r.pred_type.code) type = std::u16string(x.accepted);
  return r.predtask->task_code.value + u' ' + type + u' ' + hours_text(r.lag_hr_cnt.dur_empty ? 0.0 : r.lag_hr_cnt.hours);
}

// Whether two lists of relationships print alike one by one: nothing to
// pair then, the usual case.
bool same_relationships(const std::vector<TASKPRED*>& a, const std::vector<TASKPRED*>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const TASKPRED &x = *a[i], &y = *b[i];
    if (!x.predtask || !y.predtask || x.pred_type.code != y.pred_type.code ||
        (x.lag_hr_cnt.dur_empty ? 0.0 : x.lag_hr_cnt.hours) != (y.lag_hr_cnt.dur_empty ? 0.0 : y.lag_hr_cnt.hours) ||
        x.predtask->task_code.value != y.predtask->task_code.value)
      return false;
  }
  return true;
}

const std::u16string& calendar_name(const TASK& t) {
  static const std::u16string none;
  return t.calendar ? t.calendar->clndr_name.value : none;
}

// WBS code paths below the project, worked out once per element asked for.
class wbs_paths {
 public:
  const std::u16string& of(const TASK& t) {
    static const std::u16string none;
    if (!t.projwbs) return none;
    auto [it, fresh] = cache_.try_emplace(t.projwbs);
    if (fresh) it->second = path(*t.projwbs);
    return it->second;
  }

 private:
  // The codes from the project's top element down to `w`, without the
  // project's own node; a missing parent or a loop ends the walk up.
  static std::u16string path(const PROJWBS& w) {
    std::vector<const PROJWBS*> chain;
    std::unordered_set<const PROJWBS*> seen;
    for (const PROJWBS* e = &w; e && !e->proj_node_flag.value && seen.insert(e).second; e = e->parent)
      chain.push_back(e);
    std::u16string out;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
      if (it != chain.rbegin()) out += u'.';
      out += (*it)->wbs_short_name.value;
    }
    return out;
  }
  std::unordered_map<const PROJWBS*, std::u16string> cache_;
};

class comparer {
 public:
  explicit comparer(std::vector<change_line>& out) : out_(out) {}

  void project(const PROJECT& o, const PROJECT& n) {
    const s_date &od = o.last_recalc_date, &nd = n.last_recalc_date;
    if (date_key(od) != date_key(nd)) emit(change_kind::data_date, &n, nullptr, nullptr, date_text(od), date_text(nd), days_between(od, nd));
    const s_date of = project_finish(o), nf = project_finish(n);
    if (date_key(of) != date_key(nf))
      emit(change_kind::project_finish, &n, nullptr, nullptr, date_text(of), date_text(nf), days_between(of, nf));
  }

  void activity(const TASK& o, const TASK& n) {
    const PROJECT* p = n.project;
    auto line = [&](change_kind k, std::u16string a, std::u16string b, double delta = nan) {
      emit(k, p, &o, &n, std::move(a), std::move(b), delta);
    };
    if (o.task_name.value != n.task_name.value) line(change_kind::name, o.task_name.value, n.task_name.value);
    if (o.task_type.code != n.task_type.code) line(change_kind::type, stored_code(o.task_type), stored_code(n.task_type));
    if (o.status_code.code != n.status_code.code)
      line(change_kind::status, status_text(o.status_code), status_text(n.status_code));
    if (calendar_name(o) != calendar_name(n)) line(change_kind::calendar, calendar_name(o), calendar_name(n));
    if (const std::u16string &ow = old_wbs_.of(o), &nw = new_wbs_.of(n); ow != nw) line(change_kind::wbs, ow, nw);

    const double hpd = hours_per_day(n);
    auto hours = [&](change_kind k, const s_dur& a, const s_dur& b) {
      if (a.dur_empty == b.dur_empty && (a.dur_empty || a.hours == b.hours)) return;
      std::u16string at = dur_text(a), bt = dur_text(b);
      if (at != bt) line(k, std::move(at), std::move(bt), a.dur_empty || b.dur_empty ? nan : (b.hours - a.hours) / hpd);
    };
    hours(change_kind::original_duration, o.target_drtn_hr_cnt, n.target_drtn_hr_cnt);
    hours(change_kind::remaining_duration, o.remain_drtn_hr_cnt, n.remain_drtn_hr_cnt);
    hours(change_kind::total_float, o.total_float_hr_cnt, n.total_float_hr_cnt);

    auto date = [&](change_kind k, const s_date& a, const s_date& b) {
      if (date_key(a) != date_key(b)) line(k, date_text(a), date_text(b), days_between(a, b));
    };
    date(change_kind::start, forecast_start(o), forecast_start(n));
    date(change_kind::finish, forecast_finish(o), forecast_finish(n));
    // A first actual date is progress, which status and start/finish show.
    if (o.act_start_date.has_date()) date(change_kind::actual_start, o.act_start_date, n.act_start_date);
    if (o.act_end_date.has_date()) date(change_kind::actual_finish, o.act_end_date, n.act_end_date);

    if (std::u16string a = constraint_text(o.cstr_type, o.cstr_date), b = constraint_text(n.cstr_type, n.cstr_date); a != b)
      line(change_kind::constraint, std::move(a), std::move(b));
    if (std::u16string a = constraint_text(o.cstr_type2, o.cstr_date2), b = constraint_text(n.cstr_type2, n.cstr_date2);
        a != b)
      line(change_kind::constraint2, std::move(a), std::move(b));
    if (std::u16string a = percent_text(o), b = percent_text(n); a != b) line(change_kind::percent_complete, std::move(a), std::move(b));

    if (same_relationships(o.pred_rels, n.pred_rels)) return;
    const relationship_pairing rels = pair_relationships(o.pred_rels, n.pred_rels);
    for (const TASKPRED* r : rels.added) line(change_kind::predecessor_added, {}, relationship_text(*r));
    for (const TASKPRED* r : rels.deleted) line(change_kind::predecessor_deleted, relationship_text(*r), {});
    for (const auto& [a, b] : rels.paired) {
      if (a->pred_type.code == b->pred_type.code && a->lag_hr_cnt.dur_empty == b->lag_hr_cnt.dur_empty &&
          a->lag_hr_cnt.hours == b->lag_hr_cnt.hours)
        continue;
      std::u16string at = relationship_text(*a), bt = relationship_text(*b);
      if (at != bt) line(change_kind::predecessor_changed, std::move(at), std::move(bt));
    }
  }

  void emit(change_kind k, const PROJECT* p, const TASK* o, const TASK* n, std::u16string a, std::u16string b,
            double delta = nan) {
    change_line l;
    l.kind = k;
    l.project = p;
    l.old_task = o;
    l.new_task = n;
    l.old_text = std::move(a);
    l.new_text = std::move(b);
    l.delta_days = delta;
    out_.push_back(std::move(l));
  }

 private:
  static std::u16string percent_text(const TASK& t) {
    if (t.phys_complete_pct.value_empty) return {};
    const std::string s = std::to_string(t.phys_complete_pct.value);
    return std::u16string(s.begin(), s.end());
  }

  std::vector<change_line>& out_;
  wbs_paths old_wbs_, new_wbs_;
};

}  // namespace

std::string_view change_kind_text(change_kind k) {
  static constexpr std::string_view texts[change_kind_count] = {
      "data-date", "finish", "project-added", "project-deleted", "added", "deleted", "name", "type", "status",
      "calendar", "wbs", "original-duration", "remaining-duration", "total-float", "start", "finish",
      "actual-start", "actual-finish", "constraint", "constraint2", "percent-complete", "predecessor-added",
      "predecessor-deleted", "predecessor-changed"};
  return texts[static_cast<int>(k)];
}

std::u16string date_text(const s_date& d) {
  if (!d.has_date()) return {};
  const civil::broken_down b = civil::break_down(d.time);
  char buf[48];
  std::snprintf(buf, sizeof buf, "%04lld-%02d-%02d %02d:%02d", static_cast<long long>(b.year), b.month, b.day, b.hour,
                b.minute);
  return ascii(buf);
}

std::u16string hours_text(double hours) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.12g", hours == 0.0 ? 0.0 : hours);  // no "-0"
  return ascii(buf);
}

s_date project_finish(const PROJECT& p) {
  s_date latest;
  for (const TASK* t : p.tasks) {
    const s_date& f = forecast_finish(*t);
    if (f.has_date() && (!latest.has_date() || f.time > latest.time)) latest = s_date::from_time(f.time);
  }
  return latest;
}

std::vector<change_line> compare_schedules(const schedule_match& m) {
  std::vector<change_line> out;
  comparer c(out);
  const Document& nd = *m.new_doc;
  const Document& od = *m.old_doc;

  for (size_t i = 0; i < nd.project.size(); ++i) {
    const PROJECT& n = nd.project[i];
    if (const PROJECT* o = m.old_project_partner[i])
      c.project(*o, n);
    else
      c.emit(change_kind::project_added, &n, nullptr, nullptr, {}, n.proj_short_name.value);
  }
  for (const PROJECT* o : m.deleted) c.emit(change_kind::project_deleted, o, nullptr, nullptr, o->proj_short_name.value, {});

  for (size_t i = 0; i < nd.task.size(); ++i) {
    if (!m.new_kept[i]) continue;
    const TASK& n = nd.task[i];
    if (const TASK* o = m.old_partner[i])
      c.activity(*o, n);
    else
      c.emit(change_kind::added, n.project, nullptr, &n, {}, n.task_name.value);
  }
  for (size_t i = 0; i < od.task.size(); ++i) {
    if (!m.old_kept[i] || m.new_partner[i]) continue;
    const TASK& o = od.task[i];
    c.emit(change_kind::deleted, m.new_project_of(*o.project), &o, nullptr, o.task_name.value, {});
  }
  return out;
}

}  // namespace tessel::analysis
