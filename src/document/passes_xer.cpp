// The post-load passes of an XER schedule: the display members that depend
// on linked records. Each pass walks one whole list in list order and only
// reads the record, its linked records and their calendars.
#include <algorithm>
#include <thread>
#include <unordered_set>

#include "document/critical.h"
#include "document/document.h"

namespace tessel::document {
namespace {

enum status { completed = 0, in_progress = 1, not_started = 2 };

void set_count(s_int& v, int32_t n) {
  v.value = n;
  v.value_empty = 0;
}

// A date that would show a text: a time after 1970-01-01 00:00.
bool is_set(const s_date& d) { return d.time > 0; }

s_date marked(const s_date& d, int32_t mark) {
  s_date out = d;
  out.suffix = mark;
  return out;
}

void set_hours(s_dur& d, double hours, const period_factors* factors) {
  d.hours = hours;
  d.dur_empty = 0;
  d.factors = factors;
}

double working_hours(const CALENDAR& cal, int64_t from, int64_t to) {
  return static_cast<double>(cal.calendar.working_minutes(from, to)) / 60.0;
}

void append_item(std::u16string& joined, const std::u16string& item) {
  if (!joined.empty()) joined += u", ";
  joined += item;
}

void task_pass(TASK& t) {
  // 1. The activity's own counters.
  set_count(t.row_count, 1);
  set_count(t.taskrsrc_cnt, static_cast<int32_t>(t.assignments.size()));

  // 2. Start and finish by status: actual dates where work has happened,
  // remaining dates where it has not.
  set_count(t.complete_cnt, 0);
  set_count(t.active_cnt, 0);
  set_count(t.notstarted_cnt, 0);
  switch (t.status_code.code) {
    case completed:
      t.start_date = marked(t.act_start_date, s_date::actual_mark);
      t.end_date = marked(t.act_end_date, s_date::actual_mark);
      set_count(t.complete_cnt, 1);
      break;
    case in_progress:
      t.start_date = marked(t.act_start_date, s_date::actual_mark);
      t.end_date = t.reend_date;
      set_count(t.active_cnt, 1);
      break;
    default:
      t.start_date = t.restart_date;
      t.end_date = t.reend_date;
      set_count(t.notstarted_cnt, 1);
      break;
  }

  // 3. A constraint marks the date it holds, unless that date is actual.
  const int32_t cstr = t.cstr_type.code;
  if (t.start_date.suffix == s_date::no_mark && cstr >= 2 && cstr <= 5) {
    t.start_date.suffix = s_date::constraint_mark;
  } else if (t.end_date.suffix == s_date::no_mark && cstr >= 6 && cstr <= 9) {
    t.end_date.suffix = s_date::constraint_mark;
  }

  // 4. A start milestone shows no finish dates, a finish milestone no start
  // dates. The dates are only hidden: durations still count them.
  if (t.task_type.code == 3) {
    for (s_date* d : {&t.end_date, &t.act_end_date, &t.early_end_date, &t.late_end_date, &t.reend_date,
                      &t.rem_late_end_date, &t.target_end_date})
      d->hidden = 1;
  } else if (t.task_type.code == 4) {
    for (s_date* d : {&t.start_date, &t.act_start_date, &t.early_start_date, &t.late_start_date,
                      &t.restart_date, &t.rem_late_start_date, &t.target_start_date})
      d->hidden = 1;
  }

  // 5. Durations in the activity's calendar. Without a calendar, or without
  // both a start and a finish, they stay empty rather than counting working
  // time from 1970.
  if (const CALENDAR* cal = t.calendar) {
    const period_factors* f = &cal->calendar.factors;
    for (s_dur* d : {&t.total_float_hr_cnt, &t.free_float_hr_cnt, &t.remain_drtn_hr_cnt, &t.target_drtn_hr_cnt})
      d->factors = f;
    for (s_unit* q : {&t.act_work_qty, &t.remain_work_qty, &t.target_work_qty, &t.target_equip_qty, &t.act_equip_qty,
                      &t.remain_equip_qty, &t.act_this_per_work_qty, &t.act_this_per_equip_qty})
      q->factors = f;
    if (is_set(t.start_date) && is_set(t.end_date)) {
      double total = working_hours(*cal, t.start_date.time, t.end_date.time);
      if (is_set(t.suspend_date)) {
        const bool resumed = is_set(t.resume_date);
        if (resumed) total -= working_hours(*cal, t.suspend_date.time, t.resume_date.time);
        double actual;
        if (!resumed) {
          actual = static_cast<double>(cal->calendar.working_minutes(t.start_date.time, t.suspend_date.time) / 60);
        } else {
          actual = total - t.remain_drtn_hr_cnt.hours;
        }
        if (actual < 0) {
          set_hours(t.act_drtn_hr_cnt, 0.0, default_period_factors());
        } else {
          set_hours(t.act_drtn_hr_cnt, actual, f);
        }
      }
      set_hours(t.total_drtn_hr_cnt, total, f);
    }
  }

  // 6. Joined texts. A relationship or assignment whose other record is not
  // in the file adds nothing.
  t.resource_list.value.clear();
  for (const TASKRSRC* a : t.assignments)
    if (a->rsrc) append_item(t.resource_list.value, a->rsrc->rsrc_name.value);
  t.pred_list.value.clear();
  for (const TASKPRED* rel : t.pred_rels)
    if (rel->predtask) append_item(t.pred_list.value, rel->predtask->task_code.value);
  t.succ_list.value.clear();
  for (const TASKPRED* rel : t.succ_rels)
    if (rel->task) append_item(t.succ_list.value, rel->task->task_code.value);
  if (t.primary_rsrc) {
    t.primary_rsrc_text.value = t.primary_rsrc->rsrc_short_name.value + u"." + t.primary_rsrc->rsrc_name.value;
  }
  t.critical_flag.value = is_critical(t);
  t.critical_flag.empty = 0;
  t.calc_phys_complete_pct.value = t.phys_complete_pct.value;
  t.calc_phys_complete_pct.empty = 0;

  // 7. Step weights.
  double sum = 0.0;
  for (const TASKPROC* s : t.steps) sum += s->proc_wt.value;
  t.proc_wt_sum = sum;
  for (TASKPROC* s : t.steps) {
    if (sum > 0) {
      s->step_pct.value = s->proc_wt.value * 100.0 / sum;
      s->step_pct.empty = 0;
    } else {
      s->step_pct.value = 0.0;
      s->step_pct.empty = 1;  // no weights: the percentage shows nothing
    }
  }
}

// Rolled-up dates take the earliest (or latest) date that is set; the search
// for an earliest date starts from the beginning of 2049, so dates from then
// on are never taken.
constexpr int64_t kEarliestBound = 2493072000;  // 2049-01-01 00:00

struct date_rollup {
  int64_t earliest = kEarliestBound;
  int64_t latest = 0;
  void take_earliest(const s_date& d) {
    if (is_set(d) && d.time < earliest) earliest = d.time;
  }
  void take_latest(const s_date& d) {
    if (is_set(d) && d.time > latest) latest = d.time;
  }
};

void set_date(s_date& d, int64_t t) {
  d = s_date();
  if (t > 0) d = s_date::from_time(t);
}

void add_units(s_unit& sum, const s_unit& v) {
  if (v.unit_empty) return;
  sum.amount += v.amount;
  sum.unit_empty = 0;
}

// The calendar a WBS element's or project's durations are counted in: the
// project's default calendar, else the calendar of the first activity found.
const CALENDAR* rollup_calendar(const PROJECT* p, const std::vector<TASK*>& tasks) {
  if (p && p->calendar) return p->calendar;
  for (const TASK* t : tasks)
    if (t->calendar) return t->calendar;
  return nullptr;
}

void set_span(s_dur& d, const CALENDAR* cal, const s_date& from, const s_date& to) {
  d = s_dur();
  if (!cal || !is_set(from) || !is_set(to)) return;
  set_hours(d, working_hours(*cal, from.time, to.time), &cal->calendar.factors);
}

// The full path from the top element down, whatever order the elements
// stand in the file; a parent cycle is cut where it closes. Walked without
// recursion, as a hostile file may nest elements a million deep, and held to
// `max_wbs_path` characters, as every element copies its parent's path: real
// paths are a few dozen characters, and without the bound a deep chain or a
// long code above many elements would multiply the file's size many times.
constexpr size_t max_wbs_path = 512;

void wbs_path(PROJWBS& w, std::unordered_set<const PROJWBS*>& done) {
  if (done.count(&w)) return;
  // Up the parents to one whose path is known, to the top, or to the point
  // where the chain closes on itself.
  std::vector<PROJWBS*> chain;
  std::unordered_set<const PROJWBS*> on_chain;
  PROJWBS* cur = &w;
  while (cur && !done.count(cur) && on_chain.insert(cur).second) {
    chain.push_back(cur);
    cur = cur->parent;
  }
  const std::u16string* above = cur && done.count(cur) ? &cur->wbs_path.value : nullptr;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    std::u16string& path = (*it)->wbs_path.value;
    const std::u16string& name = (*it)->wbs_short_name.value;
    if (above) {
      path.assign(*above, 0, max_wbs_path);
      if (path.size() < max_wbs_path) path += u'.';
      path.append(name, 0, max_wbs_path - std::min(path.size(), max_wbs_path));
    } else {
      path.assign(name, 0, max_wbs_path);
    }
    done.insert(*it);
    above = &path;
  }
}

void wbs_pass(PROJWBS& w) {
  w.top_element = w.parent == nullptr;
  w.node_type.code = w.proj_node_flag.value ? 1 : 0;

  // Counts, dates and work over the element's own activities.
  int32_t complete = 0, active = 0, notstarted = 0;
  date_rollup act_start, act_end, start, finish, restart, reend;
  for (auto* q : {&w.act_work_qty, &w.act_equip_qty, &w.act_this_per_work_qty, &w.act_this_per_equip_qty,
                  &w.remain_work_qty, &w.remain_equip_qty})
    *q = s_unit();
  for (const TASK* t : w.tasks) {
    switch (t->status_code.code) {
      case completed: ++complete; break;
      case in_progress: ++active; break;
      default: ++notstarted; break;
    }
    act_start.take_earliest(t->act_start_date);
    act_end.take_latest(t->act_end_date);
    start.take_earliest(t->start_date);
    finish.take_latest(t->end_date);
    restart.take_earliest(t->restart_date);
    reend.take_latest(t->reend_date);
    add_units(w.act_work_qty, t->act_work_qty);
    add_units(w.act_equip_qty, t->act_equip_qty);
    add_units(w.act_this_per_work_qty, t->act_this_per_work_qty);
    add_units(w.act_this_per_equip_qty, t->act_this_per_equip_qty);
    add_units(w.remain_work_qty, t->remain_work_qty);
    add_units(w.remain_equip_qty, t->remain_equip_qty);
  }
  set_count(w.task_cnt, static_cast<int32_t>(w.tasks.size()));
  set_count(w.complete_cnt, complete);
  set_count(w.active_cnt, active);
  set_count(w.notstarted_cnt, notstarted);
  set_date(w.act_start_date, act_start.earliest < kEarliestBound ? act_start.earliest : 0);
  set_date(w.act_end_date, act_end.latest);
  set_date(w.start_date, start.earliest < kEarliestBound ? start.earliest : 0);
  set_date(w.end_date, finish.latest);
  set_date(w.restart_date, restart.earliest < kEarliestBound ? restart.earliest : 0);
  set_date(w.reend_date, reend.latest);
  const CALENDAR* cal = rollup_calendar(w.project, w.tasks);
  set_span(w.total_drtn_hr_cnt, cal, w.start_date, w.end_date);
  set_span(w.remain_drtn_hr_cnt, cal, w.restart_date, w.reend_date);
}

// Sums and extremes over a WBS element and, recursively, its children.
struct subtree_rollup {
  date_rollup act_start, act_end, start, finish, restart, reend;
  int32_t task = 0, complete = 0, active = 0, notstarted = 0;
  s_unit qty[6];
  const CALENDAR* first_calendar = nullptr;

  // The subtree in the order a depth-first walk meets it, without recursion
  // (elements may nest a million deep); a parent cycle is walked once.
  void visit(const PROJWBS& top, std::unordered_set<const PROJWBS*>& seen) {
    std::vector<const PROJWBS*> todo{&top};
    while (!todo.empty()) {
      const PROJWBS* w = todo.back();
      todo.pop_back();
      if (!seen.insert(w).second) continue;
      take(*w);
      for (auto c = w->children.rbegin(); c != w->children.rend(); ++c) todo.push_back(*c);
    }
  }

  void take(const PROJWBS& w) {
    act_start.take_earliest(w.act_start_date);
    act_end.take_latest(w.act_end_date);
    start.take_earliest(w.start_date);
    finish.take_latest(w.end_date);
    restart.take_earliest(w.restart_date);
    reend.take_latest(w.reend_date);
    task += w.task_cnt.value;
    complete += w.complete_cnt.value;
    active += w.active_cnt.value;
    notstarted += w.notstarted_cnt.value;
    const s_unit* own[6] = {&w.act_work_qty,   &w.act_equip_qty,   &w.act_this_per_work_qty,
                            &w.act_this_per_equip_qty, &w.remain_work_qty, &w.remain_equip_qty};
    for (int i = 0; i < 6; ++i) add_units(qty[i], *own[i]);
    if (!first_calendar)
      for (const TASK* t : w.tasks)
        if (t->calendar) {
          first_calendar = t->calendar;
          break;
        }
  }
};

void project_pass(PROJECT& p) {
  if (!p.top_wbs) return;
  subtree_rollup r;
  std::unordered_set<const PROJWBS*> seen;
  r.visit(*p.top_wbs, seen);
  set_date(p.act_start_date, r.act_start.earliest < kEarliestBound ? r.act_start.earliest : 0);
  set_date(p.act_end_date, r.act_end.latest);
  set_date(p.start_date, r.start.earliest < kEarliestBound ? r.start.earliest : 0);
  set_date(p.end_date, r.finish.latest);
  set_date(p.restart_date, r.restart.earliest < kEarliestBound ? r.restart.earliest : 0);
  set_date(p.reend_date, r.reend.latest);
  set_count(p.task_cnt, r.task);
  set_count(p.complete_cnt, r.complete);
  set_count(p.active_cnt, r.active);
  set_count(p.notstarted_cnt, r.notstarted);
  s_unit* out[6] = {&p.act_work_qty,   &p.act_equip_qty,   &p.act_this_per_work_qty,
                    &p.act_this_per_equip_qty, &p.remain_work_qty, &p.remain_equip_qty};
  for (int i = 0; i < 6; ++i) *out[i] = r.qty[i];
  // The top element's calendar: the project's default calendar, else the
  // calendar of the first activity in its subtree.
  const CALENDAR* cal = p.calendar ? p.calendar : r.first_calendar;
  set_span(p.total_drtn_hr_cnt, cal, p.start_date, p.end_date);
  set_span(p.remain_drtn_hr_cnt, cal, p.restart_date, p.reend_date);
}

// Symbols for prices of a resource without a currency record: those of the
// file's first currency (its base currency), or plain "." and "," when the
// file carries none.
const money_symbols* fallback_symbols(const record_lists& doc) {
  static const money_symbols plain{u".", u",", u""};
  if (doc.currtype.size() > 0) return &doc.currtype[0].symbols;
  return &plain;
}

void rsrc_pass(RSRC& r, const money_symbols* fallback) {
  const bool material = r.rsrc_type.code == 2;
  if (const RSRCRATE* rate = r.rate) {
    const money_symbols* sym = r.currency ? &r.currency->symbols : fallback;
    const int32_t kind = material ? s_unit::price_per_unit : s_unit::price_per_hour;
    s_unit* prices[5] = {&r.cost_per_qty, &r.cost_per_qty2, &r.cost_per_qty3, &r.cost_per_qty4, &r.cost_per_qty5};
    const s_cost* costs[5] = {&rate->cost_per_qty, &rate->cost_per_qty2, &rate->cost_per_qty3,
                              &rate->cost_per_qty4, &rate->cost_per_qty5};
    for (int i = 0; i < 5; ++i) {
      *prices[i] = s_unit(costs[i]->value, kind);
      prices[i]->symbols = sym;
    }
    r.max_qty_per_hr = rate->max_qty_per_hr;
  }
  // Material is counted in its own units, so its rates carry no work unit.
  if (material) {
    r.def_qty_per_hr.kind = s_unit::plain_rate;
    r.max_qty_per_hr.kind = s_unit::plain_rate;
  }
  if (r.calendar) {
    r.def_qty_per_hr.factors = &r.calendar->calendar.factors;
    r.max_qty_per_hr.factors = &r.calendar->calendar.factors;
  }
}

}  // namespace

void Document_xer::run_passes() {
  // Each activity's pass writes only that activity (and its own steps) and
  // reads linked records, so two threads share the list: same result, half
  // the time.
  {
    const size_t n = task.size();
    const size_t half = n >= 16384 ? n / 2 : n;
    auto run = [this](size_t from, size_t to) {
      for (size_t i = from; i < to; ++i) task_pass(task[i]);
    };
    std::thread second;
    if (half < n) second = std::thread(run, half, n);
    run(0, half);
    if (second.joinable()) second.join();
  }
  {
    std::unordered_set<const PROJWBS*> done;
    for (PROJWBS& w : projwbs) wbs_path(w, done);
  }
  for (PROJWBS& w : projwbs) wbs_pass(w);
  for (PROJECT& p : project) project_pass(p);
  const money_symbols* fallback = fallback_symbols(*this);
  for (RSRC& r : rsrc) rsrc_pass(r, fallback);
}

}  // namespace tessel::document
