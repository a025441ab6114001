// The identity of a group as a hashable key, so that a record finds the
// group it belongs to among its siblings in constant time instead of asking
// every sibling whether it matches.
//
// Two values give the same key exactly when a group of the first would
// take the second: equal by their value type, or both without a value.
// Durations and quantities also tell an empty value from a zero one, so a
// blank float never joins the "0d" group.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

#include "values/s_val.h"

namespace tessel::view {

struct group_key {
  // What the key holds: see the kinds below; for plain values the value
  // type's tag is added so that values of different types never meet.
  uint32_t kind = 0;
  int64_t num = 0;
  std::u16string_view text;     // text values: a view of the value's own text
  const void* ref = nullptr;    // hierarchy groups: the element

  static constexpr uint32_t no_value = 1;   // no value (or no date for intervals)
  static constexpr uint32_t interval = 2;   // num: the interval's lower bound
  static constexpr uint32_t element = 3;    // ref: a WBS or OBS element (or none)
  static constexpr uint32_t first_type = 16;

  friend bool operator==(const group_key& a, const group_key& b) {
    return a.kind == b.kind && a.num == b.num && a.ref == b.ref && a.text == b.text;
  }
};

struct group_key_hash {
  std::size_t operator()(const group_key& k) const noexcept {
    std::size_t h = std::hash<std::u16string_view>{}(k.text);
    auto mix = [&h](uint64_t v) { h ^= std::hash<uint64_t>{}(v) + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2); };
    mix(k.kind);
    mix(static_cast<uint64_t>(k.num));
    mix(reinterpret_cast<uintptr_t>(k.ref));
    return h;
  }
};

// The key of a plain value (a group without interval). A text key views the
// value's own text, so it lives as long as the value.
group_key value_key(const s_val& v);

}  // namespace tessel::view
