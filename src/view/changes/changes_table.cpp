#include "view/changes/changes_table.h"

#include <cmath>
#include <cstdio>

namespace tessel::view {

using analysis::change_kind;

namespace {

std::u16string widen(const char* s) {
  std::u16string out;
  for (; *s; ++s) out += static_cast<char16_t>(static_cast<unsigned char>(*s));
  return out;
}

std::u16string count_text(size_t n) { return widen(std::to_string(n).c_str()); }

// The latest project finish of a file.
s_date latest_finish(const document::Document& doc) {
  s_date latest;
  for (const document::PROJECT& p : doc.project) {
    const s_date f = analysis::project_finish(p);
    if (f.has_date() && (!latest.has_date() || f.time > latest.time)) latest = f;
  }
  return latest;
}

}  // namespace

std::u16string changes_column_title(changes_column c) {
  switch (c) {
    case changes_column::activity_id: return u"Activity ID";
    case changes_column::name: return u"Activity Name";
    case changes_column::change: return u"Change";
    case changes_column::old_value: return u"Old";
    case changes_column::new_value: return u"New";
    case changes_column::delta: return u"Difference (d)";
    case changes_column::project: return u"Project";
  }
  return {};
}

std::u16string change_kind_caption(change_kind k) {
  switch (k) {
    case change_kind::data_date: return u"Data date";
    case change_kind::project_finish: return u"Project finish";
    case change_kind::project_added: return u"Project added";
    case change_kind::project_deleted: return u"Project deleted";
    case change_kind::added: return u"Activity added";
    case change_kind::deleted: return u"Activity deleted";
    case change_kind::name: return u"Name";
    case change_kind::type: return u"Type";
    case change_kind::status: return u"Status";
    case change_kind::calendar: return u"Calendar";
    case change_kind::wbs: return u"WBS";
    case change_kind::original_duration: return u"Original duration";
    case change_kind::remaining_duration: return u"Remaining duration";
    case change_kind::total_float: return u"Total float";
    case change_kind::start: return u"Start";
    case change_kind::finish: return u"Finish";
    case change_kind::actual_start: return u"Actual start";
    case change_kind::actual_finish: return u"Actual finish";
    case change_kind::constraint: return u"Constraint";
    case change_kind::constraint2: return u"Secondary constraint";
    case change_kind::percent_complete: return u"Physical % complete";
    case change_kind::predecessor_added: return u"Predecessor added";
    case change_kind::predecessor_deleted: return u"Predecessor deleted";
    case change_kind::predecessor_changed: return u"Predecessor changed";
  }
  return {};
}

std::u16string delta_text(double days) {
  if (std::isnan(days)) return {};
  char buf[40];
  std::snprintf(buf, sizeof buf, "%+.1f", std::fabs(days) < 0.05 ? 0.0 : days);
  return widen(buf);
}

s_date data_date_of(const document::Document& doc) {
  s_date earliest;
  for (const document::PROJECT& p : doc.project) {
    const s_date& d = p.last_recalc_date;
    if (d.has_date() && (!earliest.has_date() || d.time < earliest.time)) earliest = s_date::from_time(d.time);
  }
  return earliest;
}

changes_table build_changes_table(const std::vector<analysis::change_line>& lines,
                                  const analysis::schedule_match& match, const std::u16string& old_name,
                                  const std::u16string& new_name) {
  changes_table t;
  auto file_part = [](const std::u16string& name, const document::Document& d) {
    const s_date dd = data_date_of(d);
    return name + (dd.has_date() ? u" (data date " + analysis::date_text(dd) + u")" : u" (no data date)");
  };
  t.header = file_part(old_name, *match.old_doc) + u"  \u2192  " + file_part(new_name, *match.new_doc);
  const s_date of = latest_finish(*match.old_doc), nf = latest_finish(*match.new_doc);
  if (of.has_date() && nf.has_date())
    t.header += u"    Finish slip: " + delta_text(static_cast<double>(nf.time - of.time) / 86400.0) + u" days";
  t.header += u"    " + count_text(lines.size()) + (lines.size() == 1 ? u" change" : u" changes");

  std::vector<changes_row> by_kind[analysis::change_kind_count];
  for (const analysis::change_line& l : lines) {
    changes_row r;
    r.line = &l;
    const document::TASK* task = l.new_task ? l.new_task : l.old_task;
    if (task) {
      r.cells[int(changes_column::activity_id)] = task->task_code.value;
      r.cells[int(changes_column::name)] = task->task_name.value;
    }
    r.cells[int(changes_column::change)] = widen(std::string(analysis::change_kind_text(l.kind)).c_str());
    r.cells[int(changes_column::old_value)] = l.old_text;
    r.cells[int(changes_column::new_value)] = l.new_text;
    r.cells[int(changes_column::delta)] = delta_text(l.delta_days);
    if (l.project) r.cells[int(changes_column::project)] = l.project->proj_short_name.value;
    by_kind[int(l.kind)].push_back(std::move(r));
  }
  for (int k = 0; k < analysis::change_kind_count; ++k) {
    if (by_kind[k].empty()) continue;
    changes_group g;
    g.kind = static_cast<change_kind>(k);
    g.title = change_kind_caption(g.kind) + u" (" + count_text(by_kind[k].size()) + u")";
    g.rows = std::move(by_kind[k]);
    t.groups.push_back(std::move(g));
  }
  return t;
}

int compare_changes_rows(const changes_row& a, const changes_row& b, changes_column c) {
  if (c == changes_column::delta) {
    const double x = a.line->delta_days, y = b.line->delta_days;
    const bool xn = std::isnan(x), yn = std::isnan(y);
    if (xn != yn) return xn ? 1 : -1;
    if (!xn && x != y) return x < y ? -1 : 1;
  } else {
    const int k = a.cells[int(c)].compare(b.cells[int(c)]);
    if (k != 0) return k < 0 ? -1 : 1;
  }
  return a.line < b.line ? -1 : (a.line > b.line ? 1 : 0);
}

}  // namespace tessel::view
