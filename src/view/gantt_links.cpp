#include "view/gantt_links.h"

#include <algorithm>
#include <unordered_map>

namespace tessel::view::gantt {

void link_index::clear() {
  links_.clear();
  max_high_.clear();
}

void link_index::build(const std::vector<Row*>& rows) {
  clear();
  std::unordered_map<const document::TASK*, int> row_of;
  row_of.reserve(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i)
    if (const document::TASK* t = rows[i]->activity()) row_of.emplace(t, static_cast<int>(i));

  for (std::size_t i = 0; i < rows.size(); ++i) {
    const document::TASK* t = rows[i]->activity();
    if (!t) continue;
    for (const document::TASKPRED* rel : t->succ_rels) {
      if (!rel || !rel->task) continue;
      auto at = row_of.find(rel->task);
      if (at == row_of.end()) continue;
      links_.push_back({static_cast<int>(i), at->second, rel});
    }
  }
  std::sort(links_.begin(), links_.end(), [](const link& a, const link& b) { return a.low() < b.low(); });

  if (links_.empty()) return;
  std::size_t nodes = 1;
  while (nodes < links_.size()) nodes <<= 1;
  max_high_.assign(2 * nodes, -1);
  for (std::size_t i = 0; i < links_.size(); ++i) max_high_[nodes + i] = links_[i].high();
  for (std::size_t n = nodes - 1; n >= 1; --n) max_high_[n] = std::max(max_high_[2 * n], max_high_[2 * n + 1]);
}

void link_index::find(int first, int last, std::vector<const link*>& out) const {
  if (links_.empty() || last < first) return;
  find_in(1, 0, max_high_.size() / 2, first, last, out);
}

void link_index::find_in(std::size_t node, std::size_t lo, std::size_t hi, int first, int last,
                         std::vector<const link*>& out) const {
  // Links are sorted by their low row: once a node's first link starts
  // below the range, so do all after it.
  if (lo >= links_.size() || links_[lo].low() > last || max_high_[node] < first) return;
  if (hi - lo == 1) {
    out.push_back(&links_[lo]);
    return;
  }
  const std::size_t mid = lo + (hi - lo) / 2;
  find_in(2 * node, lo, mid, first, last, out);
  find_in(2 * node + 1, mid, hi, first, last, out);
}

}  // namespace tessel::view::gantt
