// The position of a record in its list, from its address. A record list
// keeps its records in a few contiguous chunks (one, when a table is read
// whole), so the runs of adjacent addresses are found once and a position
// is a handful of comparisons, with no table per record.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

namespace tessel::analysis {

template <class Record>
class record_positions {
 public:
  static constexpr size_t npos = static_cast<size_t>(-1);

  template <class List>
  void build(const List& list) {
    runs_.clear();
    for (size_t i = 0; i < list.size(); ++i) {
      const Record* p = &list[i];
      if (!runs_.empty() && runs_.back().begin + runs_.back().count == p)
        ++runs_.back().count;
      else
        runs_.push_back({p, i, 1});
    }
  }

  // The position of `r`, or npos when it is not one of the list's records.
  size_t find(const Record* r) const {
    const std::less<const Record*> before;
    for (const run& k : runs_)
      if (!before(r, k.begin) && before(r, k.begin + k.count)) return k.first + static_cast<size_t>(r - k.begin);
    return npos;
  }

 private:
  struct run {
    const Record* begin;
    size_t first;  // position of `begin`
    size_t count;
  };
  std::vector<run> runs_;
};

}  // namespace tessel::analysis
