// Activities found by their Activity ID without a node per activity: an
// open-addressing table of the first activity of each ID, and a chain from
// each activity to the next one with the same ID in file order. Two
// exports of 100,000 activities are matched through two of these, a few
// megabytes, in a single pass over each file.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "document/document.h"

namespace tessel::analysis {

class code_index {
 public:
  static constexpr uint32_t none = static_cast<uint32_t>(-1);

  explicit code_index(const document::Document& doc);

  // The position of the first activity with this ID, or none.
  uint32_t first(std::u16string_view code) const;
  // The position of the next activity with the same ID as the one at
  // `position`, or none.
  uint32_t next(uint32_t position) const { return next_[position]; }
  // The position of the first activity with the same ID as the one at
  // `position` (itself when it is the first).
  uint32_t head(uint32_t position) const { return head_[position]; }

 private:
  static uint64_t hash(std::u16string_view code);
  struct slot {
    uint32_t first = 0;  // position + 1 of the ID's first activity; 0: empty
    uint32_t check = 0;  // the hash's high half: most other IDs fail here, before their record is read
  };
  const document::Document& doc_;
  std::vector<slot> slots_;
  std::vector<uint32_t> next_, head_;
  size_t mask_ = 0;
};

}  // namespace tessel::analysis
