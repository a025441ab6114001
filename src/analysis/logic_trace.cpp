#include "analysis/logic_trace.h"

namespace tessel::analysis {

shown_activities trace_logic(const activity_positions& positions, const document::TASK& from,
                             trace_direction direction, int depth) {
  shown_activities s;
  s.flags.assign(positions.size(), 0);
  s.marked = &from;
  const bool back = direction == trace_direction::predecessors;
  s.label = (back ? u"Predecessors of " : u"Successors of ") + from.task_code.value;
  if (depth >= 0) {
    const std::string d = std::to_string(depth);
    s.label += u" (depth " + std::u16string(d.begin(), d.end()) + u")";
  }
  const std::ptrdiff_t start = positions.of(&from);
  if (start < 0) return s;
  s.flags[static_cast<std::size_t>(start)] = 1;
  s.count = 1;

  // Breadth first, one ring of activities per relationship step, so that
  // each is reached at its fewest steps and each is visited once.
  std::vector<const document::TASK*> ring{&from}, next;
  for (int level = 0; !ring.empty() && (depth < 0 || level < depth); ++level) {
    next.clear();
    for (const document::TASK* t : ring) {
      for (const document::TASKPRED* r : back ? t->pred_rels : t->succ_rels) {
        if (!r->task || !r->predtask) continue;
        const document::TASK* other = back ? r->predtask : r->task;
        const std::ptrdiff_t p = positions.of(other);
        if (p < 0 || s.flags[static_cast<std::size_t>(p)]) continue;
        s.flags[static_cast<std::size_t>(p)] = 1;
        ++s.count;
        next.push_back(other);
      }
    }
    ring.swap(next);
  }
  return s;
}

const document::TASK* activity_with_id(const document::Document& doc, std::u16string_view id) {
  for (const document::TASK& t : doc.task)
    if (t.task_code.value == id) return &t;
  return nullptr;
}

}  // namespace tessel::analysis
