#include "analysis/shown_activities.h"

#include <algorithm>

namespace tessel::analysis {

activity_positions::activity_positions(const document::Document& doc) : size_(doc.task.size()) {
  positions_.build(doc.task);
}

std::ptrdiff_t activity_positions::of(const document::TASK* t) const {
  const std::size_t p = t ? positions_.find(t) : record_positions<document::TASK>::npos;
  return p == record_positions<document::TASK>::npos ? -1 : static_cast<std::ptrdiff_t>(p);
}

shown_activities shown_of(const activity_positions& positions, std::span<const document::TASK* const> tasks,
                          std::u16string label) {
  shown_activities s;
  s.flags.assign(positions.size(), 0);
  s.label = std::move(label);
  for (const document::TASK* t : tasks) {
    const std::ptrdiff_t p = positions.of(t);
    if (p < 0 || s.flags[static_cast<std::size_t>(p)]) continue;
    s.flags[static_cast<std::size_t>(p)] = 1;
    ++s.count;
  }
  return s;
}

shown_activities shown_of(const document::Document& doc, std::span<const document::TASK* const> tasks,
                          std::u16string label) {
  return shown_of(activity_positions(doc), tasks, std::move(label));
}

shown_activities intersect(const shown_activities& a, const shown_activities& b) {
  shown_activities s;
  const std::size_t n = std::min(a.flags.size(), b.flags.size());
  s.flags.assign(std::max(a.flags.size(), b.flags.size()), 0);
  for (std::size_t i = 0; i < n; ++i) {
    s.flags[i] = a.flags[i] & b.flags[i];
    s.count += s.flags[i];
  }
  s.label = a.label.empty() ? b.label : b.label.empty() ? a.label : a.label + u", " + b.label;
  s.marked = a.marked ? a.marked : b.marked;
  return s;
}

std::vector<const document::TASK*> shown_tasks(const document::Document& doc, const shown_activities& s) {
  std::vector<const document::TASK*> out;
  out.reserve(s.count);
  std::size_t i = 0;
  for (const document::TASK& t : doc.task)
    if (s.shows(i++)) out.push_back(&t);
  return out;
}

}  // namespace tessel::analysis
