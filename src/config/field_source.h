// Anything that can answer a record's value for a catalog field: the rows of
// the tables implement it, and filters test through it without knowing what
// a row is.
#pragma once

#include <cstdint>

#include "values/s_val.h"

namespace tessel::view {

class field_source {
 public:
  virtual ~field_source() = default;
  // The value of the field with this catalog id, or the shared empty value
  // when there is none. The reference stays valid while the source lives.
  virtual const s_val& field_value(uint32_t field_id) const = 0;
};

}  // namespace tessel::view
