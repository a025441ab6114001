#include "document/document_xls.h"

#include "document/workbook/workbook_import.h"

namespace tessel::document {

Document_xls::Document_xls(workbook_kind kind) : kind_(kind) { attach_extra_values(*this, &values_); }

Document_xls::~Document_xls() { attach_extra_values(*this, nullptr); }

bool Document_xls::load(const std::u16string& path) {
  // The catalogs offer only what this workbook carries: the import marks
  // each field whose column it finds.
  catalog::catalogs().clear_available();
  const bool read = import_workbook(*this, path);
  if (!read) {
    build_field_lookup();
    return false;
  }
  link();
  run_passes();
  build_field_lookup();
  return true;
}

void Document_xls::link() {
  // Everything else was tied while the sheets were read.
  if (project.empty()) return;
  PROJECT& p = project[0];
  p.tasks.reserve(task.size());
  for (TASK& t : task) {
    t.project = &p;
    p.tasks.push_back(&t);
  }
}

// ---- Passes ---------------------------------------------------------------------
//
// A workbook carries most derived figures as exported cells, so these passes
// only fill what it left out: an activity's missing finish, and the figures
// of WBS elements and the project that the activity sheet's group columns
// did not give.

namespace {

// A date that would show a text.
bool is_set(const s_date& d) { return d.time > 0; }

// Rolled-up dates take the earliest start and the latest finish that are set.
struct date_span {
  int64_t earliest = 0;
  int64_t latest = 0;
  void take_start(const s_date& d) {
    if (is_set(d) && (earliest == 0 || d.time < earliest)) earliest = d.time;
  }
  void take_finish(const s_date& d) {
    if (is_set(d) && d.time > latest) latest = d.time;
  }
  void take(const date_span& o) {
    if (o.earliest > 0 && (earliest == 0 || o.earliest < earliest)) earliest = o.earliest;
    if (o.latest > latest) latest = o.latest;
  }
};

// The figures of a WBS element's whole subtree.
struct rollup {
  int32_t task = 0, complete = 0, active = 0, notstarted = 0;
  date_span act_start, act_end, start, finish, restart, reend;
  double qty[6] = {};
  bool has_qty[6] = {};

  void add_task(const TASK& t) {
    ++task;
    switch (t.status_code.code) {
      case 0: ++complete; break;
      case 1: ++active; break;
      default: ++notstarted; break;
    }
    act_start.take_start(t.act_start_date);
    act_end.take_finish(t.act_end_date);
    start.take_start(t.start_date);
    finish.take_finish(t.end_date);
    restart.take_start(t.restart_date);
    reend.take_finish(t.reend_date);
    const s_unit* q[6] = {&t.act_work_qty,   &t.act_equip_qty,   &t.act_this_per_work_qty,
                          &t.act_this_per_equip_qty, &t.remain_work_qty, &t.remain_equip_qty};
    for (int i = 0; i < 6; ++i) {
      if (q[i]->unit_empty) continue;
      qty[i] += q[i]->amount;
      has_qty[i] = true;
    }
  }
  void add(const rollup& o) {
    task += o.task;
    complete += o.complete;
    active += o.active;
    notstarted += o.notstarted;
    act_start.take(o.act_start);
    act_end.take(o.act_end);
    start.take(o.start);
    finish.take(o.finish);
    restart.take(o.restart);
    reend.take(o.reend);
    for (int i = 0; i < 6; ++i) {
      qty[i] += o.qty[i];
      has_qty[i] = has_qty[i] || o.has_qty[i];
    }
  }
};

void set_count(s_int& v, int32_t n) {
  v.value = n;
  v.value_empty = 0;
}
void set_date(s_date& d, int64_t t) {
  d = s_date();
  if (t > 0) d = s_date::from_time(t);
}
void set_qty(s_unit& u, double amount, bool has) {
  u = s_unit();
  if (!has) return;
  u.amount = amount;
  u.unit_empty = 0;
  u.symbols = workbook_money_symbols();
}

// Writes the figures into a WBS element's or project's rolled-up members,
// except those the workbook gave (bit i of `carried` for member i of
// `members`).
template <class Record>
void write_rollup(Record& rec, const rollup& r, uint64_t carried, std::span<const member_desc> members) {
  auto keep = [&](std::u16string_view name) {
    if (!carried) return false;
    const member_desc* m = find_member(members, name);
    const ptrdiff_t i = m ? m - members.data() : 64;
    return i < 64 && ((carried >> i) & 1u);
  };
  if (!keep(u"task_cnt")) set_count(rec.task_cnt, r.task);
  if (!keep(u"complete_cnt")) set_count(rec.complete_cnt, r.complete);
  if (!keep(u"active_cnt")) set_count(rec.active_cnt, r.active);
  if (!keep(u"notstarted_cnt")) set_count(rec.notstarted_cnt, r.notstarted);
  if (!keep(u"act_start_date")) set_date(rec.act_start_date, r.act_start.earliest);
  if (!keep(u"act_end_date")) set_date(rec.act_end_date, r.act_end.latest);
  if (!keep(u"start_date")) set_date(rec.start_date, r.start.earliest);
  if (!keep(u"end_date")) set_date(rec.end_date, r.finish.latest);
  if (!keep(u"restart_date")) set_date(rec.restart_date, r.restart.earliest);
  if (!keep(u"reend_date")) set_date(rec.reend_date, r.reend.latest);
  s_unit* q[6] = {&rec.act_work_qty,   &rec.act_equip_qty,   &rec.act_this_per_work_qty,
                  &rec.act_this_per_equip_qty, &rec.remain_work_qty, &rec.remain_equip_qty};
  const std::u16string_view names[6] = {u"act_work_qty",   u"act_equip_qty",   u"act_this_per_work_qty",
                                        u"act_this_per_equip_qty", u"remain_work_qty", u"remain_equip_qty"};
  for (int i = 0; i < 6; ++i)
    if (!keep(names[i])) set_qty(*q[i], r.qty[i], r.has_qty[i]);
}

}  // namespace

void Document_xls::run_passes() {
  auto& cats = catalog::catalogs();

  // Activities: a finish the workbook left empty takes the start (with its
  // mark) when the workbook has both columns; a milestone exported with its
  // start only then shows its date in both.
  const catalog::field_entry* finish = cats.find_id(70);
  const catalog::field_entry* start = cats.find_id(82);
  if (finish && start && finish->available && start->available) {
    for (TASK& t : task)
      if (!is_set(t.end_date) && is_set(t.start_date)) t.end_date = t.start_date;
  }

  // WBS elements: each sums up its whole subtree. Elements stand after
  // their parents (a parent is made before its children), so one pass from
  // the last element back passes every subtree up to its parent.
  const size_t n = projwbs.size();
  std::vector<rollup> sums(n);
  std::vector<size_t> index_of_parent(n, n);
  for (size_t i = 0; i < n; ++i) {
    PROJWBS& w = projwbs[i];
    for (const TASK* t : w.tasks) sums[i].add_task(*t);
    const uint32_t pid = w.parent ? w.parent->wbs_id.value : 0;
    if (pid >= 1 && pid <= n && &projwbs[pid - 1] == w.parent && pid - 1 < i) index_of_parent[i] = pid - 1;
  }
  for (size_t i = n; i-- > 0;)
    if (index_of_parent[i] < n) sums[index_of_parent[i]].add(sums[i]);
  const std::span<const member_desc> wbs_members = PROJWBS::members();
  for (size_t i = 0; i < n; ++i) {
    PROJWBS& w = projwbs[i];
    w.top_element = w.parent == nullptr;
    w.node_type.code = w.proj_node_flag.value ? 1 : 0;
    write_rollup(w, sums[i], i < wbs_carried.size() ? wbs_carried[i] : 0, wbs_members);
  }

  // Resources: rates show in the resource's calendar.
  for (RSRC& r : rsrc) {
    if (!r.calendar) continue;
    r.def_qty_per_hr.factors = &r.calendar->calendar.factors;
    r.max_qty_per_hr.factors = &r.calendar->calendar.factors;
  }

  // The project: the figures of all its activities.
  for (PROJECT& p : project) {
    rollup r;
    for (const TASK* t : p.tasks) r.add_task(*t);
    write_rollup(p, r, 0, PROJECT::members());
  }
}

}  // namespace tessel::document
