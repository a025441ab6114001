#include "analysis/code_index.h"

namespace tessel::analysis {

uint64_t code_index::hash(std::u16string_view code) {
  uint64_t h = 1469598103934665603ull;  // FNV-1a over the characters
  for (char16_t c : code) h = (h ^ c) * 1099511628211ull;
  return h ^ (h >> 29);
}

code_index::code_index(const document::Document& doc)
    : doc_(doc), next_(doc.task.size(), none), head_(doc.task.size(), none) {
  size_t want = 16;
  while (want < doc.task.size() * 2) want <<= 1;
  slots_.assign(want, slot{});
  mask_ = want - 1;
  // The last activity of each ID so far (by its first's position), to
  // append to its chain.
  std::vector<uint32_t> last(doc.task.size(), none);
  for (uint32_t i = 0; i < doc.task.size(); ++i) {
    const std::u16string_view code = doc.task[i].task_code.value;
    const uint64_t h = hash(code);
    const uint32_t check = static_cast<uint32_t>(h >> 32);
    for (size_t s = h & mask_;; s = (s + 1) & mask_) {
      slot& at = slots_[s];
      if (!at.first) {
        at = {i + 1, check};
        head_[i] = last[i] = i;
        break;
      }
      const uint32_t first = at.first - 1;
      if (at.check == check && doc.task[first].task_code.value == code) {
        next_[last[first]] = i;
        last[first] = i;
        head_[i] = first;
        break;
      }
    }
  }
}

uint32_t code_index::first(std::u16string_view code) const {
  const uint64_t h = hash(code);
  const uint32_t check = static_cast<uint32_t>(h >> 32);
  for (size_t s = h & mask_;; s = (s + 1) & mask_) {
    const slot& at = slots_[s];
    if (!at.first) return none;
    if (at.check == check && doc_.task[at.first - 1].task_code.value == code) return at.first - 1;
  }
}

}  // namespace tessel::analysis
