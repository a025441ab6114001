// The relationships the Gantt chart can draw for one visible row list:
// those whose predecessor and successor activities both have a row in the
// list. Built once per list (a pass over the visible activities and their
// successor relationships); a paint then asks only for the connectors that
// reach into the rows it shows, including the long ones whose two ends lie
// above and below the pane but whose vertical run crosses it. Nothing per
// paint grows with the schedule.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "document/records.h"
#include "rows/row.h"

namespace tessel::view::gantt {

struct link {
  int pred_row = 0;  // positions in the visible row list
  int succ_row = 0;
  const document::TASKPRED* rel = nullptr;

  int low() const { return pred_row < succ_row ? pred_row : succ_row; }
  int high() const { return pred_row < succ_row ? succ_row : pred_row; }
};

class link_index {
 public:
  // Indexes the successor relationships between the activity rows of `rows`.
  void build(const std::vector<Row*>& rows);
  void clear();

  std::size_t size() const { return links_.size(); }

  // Every link whose rows span [first, last] overlaps, each once, in
  // no particular order.
  void find(int first, int last, std::vector<const link*>& out) const;

 private:
  void find_in(std::size_t node, std::size_t lo, std::size_t hi, int first, int last,
               std::vector<const link*>& out) const;

  std::vector<link> links_;  // sorted by low()
  std::vector<int> max_high_;  // a segment tree over links_: the highest row below each node
};

}  // namespace tessel::view::gantt
