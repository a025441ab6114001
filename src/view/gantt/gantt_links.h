// The relationships the Gantt chart can draw for one visible row list:
// those whose predecessor and successor activities both have a row in the
// list. Built once per list; a paint then asks only for the connectors that
// reach into the rows it shows, including the long ones whose two ends lie
// above and below the pane but whose vertical run crosses it.
//
// The links are kept in blocks by the block of rows their upper end lies
// in, each block ordered by lower end, deepest first. A query walks the
// block headers down to its last row and, in each block, only the links
// that reach its first row, so its cost is the number of links it answers
// plus one step per block above the pane's bottom (a block is 64 rows):
// never a pass over all relationships.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "analysis/record_positions.h"
#include "document/records/records.h"
#include "rows/row.h"

namespace tessel::view::gantt {

// One drawable relationship: its two rows and the dates its ends sit at,
// read once when the index is built so that a paint never goes back to the
// activity records of the connectors it only crosses.
struct link {
  int pred_row = 0;  // positions in the visible row list
  int succ_row = 0;
  int64_t from_date = 0;    // on the predecessor's line
  int64_t to_date = 0;      // on the successor's line
  bool from_finish = true;  // leaves the predecessor's finish (else its start)
  bool to_start = true;     // enters the successor's start (else its finish)

  int low() const { return pred_row < succ_row ? pred_row : succ_row; }
  int high() const { return pred_row < succ_row ? succ_row : pred_row; }
};

class link_index {
 public:
  static constexpr int block_rows = 64;

  // Indexes the relationships of `relationships` whose two activities both
  // have a row in `rows`; `tasks` is the list the activities belong to,
  // whose positions stand in for the activities while the index is built.
  // The type code picks the dates: 0 finish to finish, 1 finish to start,
  // 2 start to finish, 3 start to start; an unknown code reads as finish
  // to start, the relationship type's own default. A relationship with an
  // empty end date has nowhere to be drawn and is left out.
  template <class Tasks, class Relationships>
  void build(const std::vector<Row*>& rows, const Tasks& tasks, const Relationships& relationships) {
    positions_.build(tasks);
    begin(rows, tasks.size());
    for (const document::TASKPRED& rel : relationships) add(rel);
    finish();
  }
  void clear();

  std::size_t size() const { return links_.size(); }

  // Every link whose rows span [first, last] overlaps, each once.
  void find(int first, int last, std::vector<const link*>& out) const;

 private:
  void begin(const std::vector<Row*>& rows, std::size_t tasks);
  void add(const document::TASKPRED& rel);
  void finish();
  int row_of(const document::TASK* t) const;

  // While building: each activity's first row, by its position (-1: none).
  analysis::record_positions<document::TASK> positions_;
  std::vector<int> row_at_;
  std::vector<int64_t> starts_, ends_;  // each visible row's activity dates (0: none)
  int row_count_ = 0;

  std::vector<link> links_;          // grouped by block of the upper end
  std::vector<std::size_t> blocks_;  // links of block b: [blocks_[b], blocks_[b + 1])
};

}  // namespace tessel::view::gantt
