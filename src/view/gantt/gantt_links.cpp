#include "view/gantt/gantt_links.h"

#include <algorithm>

namespace tessel::view::gantt {

namespace {

// The time of a date that has one, else 0.
int64_t date_of(const s_date& d) { return d.empty || d.time <= 0 ? 0 : d.time; }

}  // namespace

void link_index::clear() {
  positions_ = {};
  row_at_.clear();
  starts_.clear();
  ends_.clear();
  row_count_ = 0;
  links_.clear();
  blocks_.clear();
}

void link_index::begin(const std::vector<Row*>& rows, std::size_t tasks) {
  links_.clear();
  blocks_.clear();
  row_count_ = static_cast<int>(rows.size());
  row_at_.assign(tasks, -1);
  starts_.assign(rows.size(), 0);
  ends_.assign(rows.size(), 0);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const document::TASK* t = rows[i]->activity();
    if (!t) continue;
    starts_[i] = date_of(t->start_date);
    ends_[i] = date_of(t->end_date);
    const std::size_t p = positions_.find(t);
    if (p < row_at_.size() && row_at_[p] < 0) row_at_[p] = static_cast<int>(i);
  }
}

int link_index::row_of(const document::TASK* t) const {
  if (!t) return -1;
  const std::size_t p = positions_.find(t);
  return p < row_at_.size() ? row_at_[p] : -1;
}

void link_index::add(const document::TASKPRED& rel) {
  const int pred = row_of(rel.predtask);
  if (pred < 0) return;
  const int succ = row_of(rel.task);
  if (succ < 0) return;
  const int code = rel.pred_type.code;
  const bool known = code >= 0 && code <= 3;
  link l;
  l.pred_row = pred;
  l.succ_row = succ;
  l.from_finish = !known || code == 0 || code == 1;
  l.to_start = !known || code == 1 || code == 3;
  l.from_date = l.from_finish ? ends_[static_cast<std::size_t>(pred)] : starts_[static_cast<std::size_t>(pred)];
  l.to_date = l.to_start ? starts_[static_cast<std::size_t>(succ)] : ends_[static_cast<std::size_t>(succ)];
  if (l.from_date > 0 && l.to_date > 0) links_.push_back(l);
}

void link_index::finish() {
  positions_ = {};
  row_at_ = {};
  starts_ = {};
  ends_ = {};
  // Two counting passes: by upper end, deepest first, then (keeping that
  // order within each block) by the block of the lower end.
  const std::size_t rows = static_cast<std::size_t>(row_count_);
  std::vector<std::size_t> count(rows + 1, 0);
  auto rank = [rows](const link& l) { return rows - 1 - static_cast<std::size_t>(l.high()); };
  for (const link& l : links_) ++count[rank(l) + 1];
  for (std::size_t i = 1; i <= rows; ++i) count[i] += count[i - 1];
  std::vector<link> by_high(links_.size());
  for (const link& l : links_) by_high[count[rank(l)]++] = l;

  const std::size_t nblocks = rows / block_rows + 1;
  blocks_.assign(nblocks + 1, 0);
  for (const link& l : by_high) ++blocks_[static_cast<std::size_t>(l.low() / block_rows) + 1];
  for (std::size_t b = 1; b <= nblocks; ++b) blocks_[b] += blocks_[b - 1];
  std::vector<std::size_t> next(blocks_.begin(), blocks_.end() - 1);
  for (const link& l : by_high) links_[next[static_cast<std::size_t>(l.low() / block_rows)]++] = l;
}

void link_index::find(int first, int last, std::vector<const link*>& out) const {
  if (links_.empty() || last < first || first < 0) return;
  // A link reaches the rows when it starts at or above `last` and ends at
  // or below `first`. Blocks are visited down to the one holding `last`;
  // in each, the deepest-ending links come first, so the walk stops at the
  // first one ending above `first`.
  const std::size_t to_block = std::min(static_cast<std::size_t>(last / block_rows), blocks_.size() - 2);
  for (std::size_t b = 0; b <= to_block; ++b) {
    for (std::size_t i = blocks_[b]; i < blocks_[b + 1] && links_[i].high() >= first; ++i)
      if (links_[i].low() <= last) out.push_back(&links_[i]);
  }
}

}  // namespace tessel::view::gantt
