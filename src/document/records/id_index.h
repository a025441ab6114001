// Finding records by id. A schedule is searched by id thousands of times
// while it is linked; each search answers the first record in list order
// that carries the id, exactly as a scan of the list would, but through an
// open-addressing hash built in one pass.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tessel::document {

template <typename Record>
class id_index {
 public:
  id_index() = default;

  // Indexes `list` (any range of records whose first member is the id
  // `id_of(record)`); the first record of each id wins.
  template <typename List, typename IdOf>
  void build(List& list, IdOf id_of) {
    size_t want = 16;
    while (want < list.size() * 2) want <<= 1;
    slots_.assign(want, slot{});
    mask_ = want - 1;
    for (auto& rec : list) insert(id_of(rec), &rec);
  }

  Record* find(uint32_t id) const {
    if (slots_.empty()) return nullptr;
    for (size_t i = hash(id) & mask_;; i = (i + 1) & mask_) {
      const slot& s = slots_[i];
      if (!s.record) return nullptr;
      if (s.id == id) return s.record;
    }
  }

 private:
  struct slot {
    uint32_t id = 0;
    Record* record = nullptr;
  };
  static size_t hash(uint32_t id) {
    uint64_t h = uint64_t(id) * 0x9E3779B97F4A7C15ull;
    return size_t(h >> 32);
  }
  void insert(uint32_t id, Record* rec) {
    for (size_t i = hash(id) & mask_;; i = (i + 1) & mask_) {
      slot& s = slots_[i];
      if (!s.record) {
        s = slot{id, rec};
        return;
      }
      if (s.id == id) return;  // an earlier record keeps the id
    }
  }
  std::vector<slot> slots_;
  size_t mask_ = 0;
};

}  // namespace tessel::document
