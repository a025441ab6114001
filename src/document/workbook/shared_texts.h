// The texts of a sheet kept once each: a relationship sheet repeats each
// activity's name and WBS path on every relationship of it, and every
// reader of a sheet's cells keeps them this way.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tessel::document {

// The texts of one sheet so far, found by their characters, so that a cell
// whose text the sheet already holds points at that copy. Only texts of
// eight characters or more are looked up: a shorter one costs less to keep
// twice than its slot here, which bounds the table by the text.
class shared_texts {
 public:
  static constexpr size_t shortest = 8;

  // Where a text equal to text[from, end) starts before `from`, or `from`
  // when the sheet holds none yet (that copy is then the one kept).
  uint32_t place(const std::u16string& text, uint32_t from) {
    const std::u16string_view t = std::u16string_view(text).substr(from);
    if (t.size() < shortest) return from;
    if (2 * (count_ + 1) > slots_.size()) grow();
    const uint32_t h = static_cast<uint32_t>(std::hash<std::u16string_view>{}(t));
    const size_t mask = slots_.size() - 1;
    for (size_t i = h & mask;; i = (i + 1) & mask) {
      slot& s = slots_[i];
      if (s.length == 0) {
        s = {from, static_cast<uint32_t>(t.size()), h};
        ++count_;
        return from;
      }
      if (s.hash == h && s.length == t.size() && std::u16string_view(text).substr(s.begin, s.length) == t)
        return s.begin;
    }
  }

 private:
  struct slot {
    uint32_t begin = 0;
    uint32_t length = 0;  // 0: free
    uint32_t hash = 0;
  };

  void grow() {
    std::vector<slot> old(std::max<size_t>(64, 2 * slots_.size()));
    old.swap(slots_);
    const size_t mask = slots_.size() - 1;
    for (const slot& s : old) {
      if (s.length == 0) continue;
      size_t i = s.hash & mask;
      while (slots_[i].length != 0) i = (i + 1) & mask;
      slots_[i] = s;
    }
  }

  std::vector<slot> slots_;
  size_t count_ = 0;
};

}  // namespace tessel::document
