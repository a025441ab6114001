#include "rows/group_key.h"

#include <bit>

#include "values/enums.h"
#include "values/s_date.h"
#include "values/s_quantity.h"
#include "values/s_scalars.h"

namespace tessel::view {

namespace {

// A double as key bits; -0.0 and 0.0 are one key, as they are equal.
int64_t double_bits(double d) { return std::bit_cast<int64_t>(d + 0.0); }

}  // namespace

group_key value_key(const s_val& v) {
  group_key k;
  const val_type t = v.type();
  if (&v == &shared_empty_value() || t == val_type::base) {
    k.kind = group_key::no_value;
    return k;
  }
  k.kind = group_key::first_type + static_cast<uint32_t>(t);
  switch (t) {
    case val_type::string:
      k.text = static_cast<const s_string&>(v).value;
      break;
    case val_type::date:
      k.num = static_cast<const s_date&>(v).time;
      break;
    case val_type::dur: {
      const auto& d = static_cast<const s_dur&>(v);
      if (d.dur_empty)
        k.kind = group_key::no_value;
      else
        k.num = double_bits(d.hours);
      break;
    }
    case val_type::unit: {
      const auto& u = static_cast<const s_unit&>(v);
      if (u.unit_empty)
        k.kind = group_key::no_value;
      else
        k.num = double_bits(u.amount);
      break;
    }
    case val_type::dbl:
    case val_type::cost:
    case val_type::percent:
      k.num = double_bits(v.as_double());
      break;
    case val_type::integer:
      k.num = static_cast<const s_int&>(v).value;
      break;
    case val_type::ulong:
      k.num = static_cast<const s_unsigned_long&>(v).value;
      break;
    case val_type::hour:
      k.num = static_cast<const s_hour&>(v).value;
      break;
    case val_type::boolean:
      k.num = v.as_bool() ? 1 : 0;
      break;
    default:
      // Enumerations: one group per code.
      if (static_cast<int>(t) >= static_cast<int>(val_type::first_enum))
        k.num = static_cast<const s_enum&>(v).code;
      else
        k.text = {};
      break;
  }
  return k;
}

}  // namespace tessel::view
