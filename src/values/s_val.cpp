#include "values/s_val.h"

namespace tessel {

const s_val& shared_empty_value() {
  // Deliberately leaked: it must outlive every static that might refer to it.
  static const s_val* const empty = new s_val();
  return *empty;
}

void val_deleter::operator()(const s_val* v) const noexcept {
  if (v != &shared_empty_value()) delete v;
}

val_ptr s_val::clone() const { return val_ptr(const_cast<s_val*>(&shared_empty_value())); }

}  // namespace tessel
