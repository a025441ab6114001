#include "analysis/relationship_pairing.h"

#include <algorithm>
#include <string_view>

namespace tessel::analysis {

using document::TASKPRED;

namespace {

std::u16string_view pred_code(const TASKPRED* r) { return r->predtask->task_code.value; }

// The relationships that name a predecessor activity.
std::vector<const TASKPRED*> usable(const std::vector<TASKPRED*>& rels) {
  std::vector<const TASKPRED*> out;
  out.reserve(rels.size());
  for (const TASKPRED* r : rels)
    if (r->predtask) out.push_back(r);
  return out;
}

// One pass: each NEW relationship not yet paired takes the first unused OLD
// one of the same key, found through OLD positions sorted by key then
// position.
template <class Less>
void pass(const std::vector<const TASKPRED*>& olds, const std::vector<const TASKPRED*>& news,
          std::vector<int>& old_of_new, std::vector<char>& old_used, Less less) {
  std::vector<int> order;
  for (int i = 0; i < static_cast<int>(olds.size()); ++i)
    if (!old_used[i]) order.push_back(i);
  if (order.empty()) return;
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return less(olds[a], olds[b]); });
  for (size_t j = 0; j < news.size(); ++j) {
    if (old_of_new[j] >= 0) continue;
    auto it = std::lower_bound(order.begin(), order.end(), j,
                               [&](int o, size_t n) { return less(olds[o], news[n]); });
    for (; it != order.end() && !less(news[j], olds[*it]); ++it) {
      if (old_used[*it]) continue;
      old_used[*it] = 1;
      old_of_new[j] = *it;
      break;
    }
  }
}

}  // namespace

relationship_pairing pair_relationships(const std::vector<TASKPRED*>& old_rels,
                                        const std::vector<TASKPRED*>& new_rels) {
  const std::vector<const TASKPRED*> olds = usable(old_rels), news = usable(new_rels);
  std::vector<int> old_of_new(news.size(), -1);
  std::vector<char> old_used(olds.size(), 0);

  // Unchanged lists in the same order are the usual case: paired one by one.
  size_t same = 0;
  while (same < olds.size() && same < news.size() && pred_code(olds[same]) == pred_code(news[same]) &&
         olds[same]->pred_type.code == news[same]->pred_type.code) {
    old_of_new[same] = static_cast<int>(same);
    old_used[same] = 1;
    ++same;
  }
  if (same < olds.size() && same < news.size()) {
    pass(olds, news, old_of_new, old_used, [](const TASKPRED* a, const TASKPRED* b) {
      const int c = pred_code(a).compare(pred_code(b));
      return c != 0 ? c < 0 : a->pred_type.code < b->pred_type.code;
    });
    pass(olds, news, old_of_new, old_used,
         [](const TASKPRED* a, const TASKPRED* b) { return pred_code(a) < pred_code(b); });
  }

  relationship_pairing out;
  for (size_t j = 0; j < news.size(); ++j) {
    if (old_of_new[j] >= 0)
      out.paired.push_back({olds[old_of_new[j]], news[j]});
    else
      out.added.push_back(news[j]);
  }
  for (size_t i = 0; i < olds.size(); ++i)
    if (!old_used[i]) out.deleted.push_back(olds[i]);
  return out;
}

}  // namespace tessel::analysis
