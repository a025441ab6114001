#include "analysis/quick_filters.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "analysis/activity_measures.h"
#include "analysis/text_match.h"
#include "document/critical.h"
#include "values/civil.h"
#include "values/num_text.h"

namespace tessel::analysis {
namespace {

constexpr int64_t seconds_per_day = 86400;

// Status codes of the activity status enumeration.
uint8_t status_bit_of(const document::TASK& t) {
  switch (t.status_code.code) {
    case 0: return status_completed;
    case 1: return status_in_progress;
    default: return status_not_started;
  }
}

bool is_milestone(const document::TASK& t) { return t.task_type.code == 3 || t.task_type.code == 4; }

std::u16string widen(const std::string& s) { return std::u16string(s.begin(), s.end()); }

std::u16string day_text(day_number d) {
  const civil::broken_down b = civil::break_down(d * seconds_per_day);
  std::u16string out;
  num_text::append_uint(out, static_cast<uint64_t>(b.year), 4);
  out.push_back(u'-');
  num_text::append_uint(out, static_cast<uint64_t>(b.month), 2);
  out.push_back(u'-');
  num_text::append_uint(out, static_cast<uint64_t>(b.day), 2);
  return out;
}

}  // namespace

day_number day_of(const s_date& d) {
  const int64_t t = d.time;
  return t >= 0 ? t / seconds_per_day : -((-t + seconds_per_day - 1) / seconds_per_day);
}

shown_activities filter_activities(const document::Document& doc, const quick_filter& f) {
  shown_activities s;
  s.flags.assign(doc.task.size(), 0);
  s.label = describe(f);

  // Activities that carry the code, by address: found through the code
  // assignments rather than by asking every activity for its codes.
  std::unordered_set<const document::TASK*> coded;
  if (f.code_type) {
    for (const document::TASKACTV& a : doc.taskactv) {
      const document::ACTVCODE* c = a.code;
      if (!a.task || !c || !c->type) continue;
      if (c->type->actv_code_type.value == *f.code_type && c->short_name.value == *f.code_value) coded.insert(a.task);
    }
  }
  const std::u16string needle = folded(f.text);

  std::size_t i = 0;
  for (const document::TASK& t : doc.task) {
    bool keep = true;
    if (f.critical) keep = document::is_critical(t);
    if (keep && f.float_days)
      keep = !t.total_float_hr_cnt.dur_empty && working_days(t.total_float_hr_cnt.hours, t) <= *f.float_days;
    if (keep && f.statuses) keep = (status_bit_of(t) & f.statuses) != 0;
    if (keep && f.milestones) keep = is_milestone(t);
    if (keep && f.active_from) {
      const s_date& start = forecast_start(t);
      const s_date& finish = forecast_finish(t);
      keep = start.has_date() && finish.has_date() && day_of(start) <= *f.active_to && day_of(finish) >= *f.active_from;
    }
    if (keep && f.code_type) keep = coded.count(&t) != 0;
    if (keep && !needle.empty())
      keep = contains_folded(t.task_code.value, needle) || contains_folded(t.task_name.value, needle);
    if (keep) {
      s.flags[i] = 1;
      ++s.count;
    }
    ++i;
  }
  return s;
}

std::u16string describe(const quick_filter& f) {
  std::u16string out;
  auto add = [&out](const std::u16string& part) {
    if (!out.empty()) out += u", ";
    out += part;
  };
  if (f.critical) add(u"Critical");
  if (f.float_days) add(u"Float <= " + widen(num_text::general6(*f.float_days)) + u" d");
  if (f.statuses) {
    std::u16string st;
    for (auto [bit, name] : {std::pair{status_not_started, u"Not Started"}, std::pair{status_in_progress, u"In Progress"},
                             std::pair{status_completed, u"Completed"}})
      if (f.statuses & bit) st += (st.empty() ? u"" : u"/") + std::u16string(name);
    add(st);
  }
  if (f.milestones) add(u"Milestones");
  if (f.active_from) add(u"Active " + day_text(*f.active_from) + u".." + day_text(*f.active_to));
  if (f.code_type) add(*f.code_type + u" = " + *f.code_value);
  if (!f.text.empty()) add(u"\"" + f.text + u"\"");
  return out;
}

std::vector<std::u16string> code_type_names(const document::Document& doc) {
  std::vector<std::u16string> out;
  std::unordered_set<std::u16string> seen;
  for (const document::ACTVTYPE& t : doc.actvtype)
    if (seen.insert(t.actv_code_type.value).second) out.push_back(t.actv_code_type.value);
  return out;
}

std::vector<std::u16string> code_value_names(const document::Document& doc, const std::u16string& type) {
  std::vector<std::u16string> out;
  std::unordered_set<std::u16string> seen;
  for (const document::ACTVCODE& c : doc.actvcode)
    if (c.type && c.type->actv_code_type.value == type && seen.insert(c.short_name.value).second)
      out.push_back(c.short_name.value);
  return out;
}

}  // namespace tessel::analysis
