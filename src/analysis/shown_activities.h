// Which activities a view shows while something restricts it: the quick
// filters, a logic trace, or any list of activities another question
// worked out (a schedule-check line, a compare line). One representation
// for all of them, so that the table, the Gantt chart, the status bar and
// tessel-dump treat every restriction alike:
//
//   shown_activities s = shown_of(doc, tasks, u"Check: logic");   // any list
//   shown_activities f = filter_activities(doc, filter);           // quick filters
//   shown_activities t = trace_logic(doc, positions, task, ...);   // a trace
//   shown_activities both = intersect(f, t);                       // AND
//
// A view applies one with view::apply_shown (see view/table/shown_rows.h)
// and the window with CMainFrame::show_activities.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "analysis/record_positions.h"
#include "document/document.h"

namespace tessel::analysis {

struct shown_activities {
  // One flag per activity, by its position in the document's activity
  // list: 1 shown, 0 not.
  std::vector<uint8_t> flags;
  // How many flags are set.
  std::size_t count = 0;
  // What restricts the view, as the status bar names it ("Critical",
  // "Check: logic", "Successors of A1000").
  std::u16string label;
  // An activity drawn marked (the one a trace starts from); null for none.
  const document::TASK* marked = nullptr;

  bool shows(std::size_t position) const { return position < flags.size() && flags[position] != 0; }
};

// Every activity's position in the document's activity list, by its
// address: built once per document, asked in a few comparisons (the list
// keeps its records in a few contiguous runs).
class activity_positions {
 public:
  explicit activity_positions(const document::Document& doc);
  // The position of `t`, or -1 when it is not an activity of the document.
  std::ptrdiff_t of(const document::TASK* t) const;
  std::size_t size() const { return size_; }

 private:
  record_positions<document::TASK> positions_;
  std::size_t size_ = 0;
};

// Exactly the activities of `tasks` (activities of other documents and
// repeats are ignored).
shown_activities shown_of(const document::Document& doc, std::span<const document::TASK* const> tasks,
                          std::u16string label);
// The same with the positions already at hand.
shown_activities shown_of(const activity_positions& positions, std::span<const document::TASK* const> tasks,
                          std::u16string label);

// The activities both show; the labels joined with ", ", the first's mark
// kept, else the second's.
shown_activities intersect(const shown_activities& a, const shown_activities& b);

// The shown activities in file order.
std::vector<const document::TASK*> shown_tasks(const document::Document& doc, const shown_activities& s);

}  // namespace tessel::analysis
