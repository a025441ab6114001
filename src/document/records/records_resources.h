// Resources, their prices, roles, shifts and currencies.
#pragma once

#include "document/records/records_common.h"

namespace tessel::document {

#define TESSEL_RSRC_MEMBERS(X)                          \
  X(rsrc_id, id, s_unsigned_long)                       \
  X(clndr_id, id, s_unsigned_long)                      \
  X(parent_rsrc_id, id, s_unsigned_long)                \
  X(ts_approve_user_id, id, s_unsigned_long)            \
  X(user_id, id, s_unsigned_long)                       \
  X(role_id, id, s_unsigned_long)                       \
  X(curr_id, id, s_unsigned_long)                       \
  X(shift_id, id, s_unsigned_long)                      \
  X(unit_id, id, s_unsigned_long)                       \
  X(rsrc_seq_num, whole, s_int)                         \
  X(timesheet_flag, flag, s_bool)                       \
  X(active_flag, flag, s_bool)                          \
  X(auto_compute_act_flag, flag, s_bool)                \
  X(ot_flag, flag, s_bool)                              \
  X(def_cost_qty_link_flag, flag, s_bool)               \
  X(rsrc_type, enumeration, s_resource_type)            \
  X(rsrc_short_name, text, s_string)                    \
  X(rsrc_name, text, s_string)                          \
  X(guid, text, s_string)                               \
  X(cost_qty_type, text, s_string)                      \
  X(office_phone, text, s_string)                       \
  X(other_phone, text, s_string)                        \
  X(employee_code, text, s_string)                      \
  X(rsrc_title_name, text, s_string)                    \
  X(email_addr, text, s_string)                         \
  X(rsrc_notes, text, s_string)                         \
  X(ot_factor, number, s_double)                        \
  X(def_qty_per_hr, qty_per_hr, s_unit)                 \
  /* Prices taken from the price record after linking. */ \
  X(cost_per_qty, derived, s_unit)                      \
  X(cost_per_qty2, derived, s_unit)                     \
  X(cost_per_qty3, derived, s_unit)                     \
  X(cost_per_qty4, derived, s_unit)                     \
  X(cost_per_qty5, derived, s_unit)                     \
  X(max_qty_per_hr, derived, s_unit)

// A resource.
struct RSRC {
  TESSEL_RSRC_MEMBERS(TESSEL_DECLARE_MEMBER)

  // Set by linking.
  CALENDAR* calendar = nullptr;
  RSRC* parent = nullptr;
  std::vector<RSRC*> children;
  CURRTYPE* currency = nullptr;
  RSRCRATE* rate = nullptr;  // the first price record of the resource
  std::vector<TASKRSRC*> assignments;

  static std::span<const member_desc> members();
};

#define TESSEL_RSRCRATE_MEMBERS(X)              \
  X(rsrc_rate_id, id, s_unsigned_long)          \
  X(rsrc_id, id, s_unsigned_long)               \
  X(shift_period_id, id, s_unsigned_long)       \
  X(max_qty_per_hr, qty_per_hr, s_unit)         \
  X(cost_per_qty, cost, s_cost)                 \
  X(cost_per_qty2, cost, s_cost)                \
  X(cost_per_qty3, cost, s_cost)                \
  X(cost_per_qty4, cost, s_cost)                \
  X(cost_per_qty5, cost, s_cost)

// A resource's prices.
struct RSRCRATE {
  TESSEL_RSRCRATE_MEMBERS(TESSEL_DECLARE_MEMBER)
  static std::span<const member_desc> members();
};

#define TESSEL_RSRCROLE_MEMBERS(X)              \
  X(rsrc_role_id, id, s_unsigned_long)          \
  X(rsrc_id, id, s_unsigned_long)               \
  X(role_id, id, s_unsigned_long)               \
  X(rsrc_type, text, s_string)                  \
  X(rsrc_short_name, text, s_string)            \
  X(rsrc_name, text, s_string)                  \
  X(role_short_name, text, s_string)            \
  X(role_name, text, s_string)                  \
  X(skill_level, whole, s_int)

// A role a resource can fill.
struct RSRCROLE {
  TESSEL_RSRCROLE_MEMBERS(TESSEL_DECLARE_MEMBER)
  static std::span<const member_desc> members();
};

#define TESSEL_ROLES_MEMBERS(X)                 \
  X(role_id, id, s_unsigned_long)               \
  X(parent_role_id, id, s_unsigned_long)        \
  X(seq_num, whole, s_int)                      \
  X(role_short_name, text, s_string)            \
  X(role_name, text, s_string)                  \
  X(cost_qty_type, text, s_string)              \
  X(role_descr, text, s_string)                 \
  X(def_cost_qty_link_flag, flag, s_bool)

// A role.
struct ROLES {
  TESSEL_ROLES_MEMBERS(TESSEL_DECLARE_MEMBER)
  static std::span<const member_desc> members();
};

#define TESSEL_ROLERATE_MEMBERS(X)              \
  X(role_rate_id, id, s_unsigned_long)          \
  X(role_id, id, s_unsigned_long)               \
  X(cost_per_qty, cost, s_cost)                 \
  X(cost_per_qty2, cost, s_cost)                \
  X(cost_per_qty3, cost, s_cost)                \
  X(cost_per_qty4, cost, s_cost)                \
  X(cost_per_qty5, cost, s_cost)

// A role's prices.
struct ROLERATE {
  TESSEL_ROLERATE_MEMBERS(TESSEL_DECLARE_MEMBER)
  static std::span<const member_desc> members();
};

#define TESSEL_ROLELIMIT_MEMBERS(X)             \
  X(rolelimit_id, id, s_unsigned_long)          \
  X(role_id, id, s_unsigned_long)               \
  X(max_qty_per_hr, number, s_double)

// A role's limit of units per hour.
struct ROLELIMIT {
  TESSEL_ROLELIMIT_MEMBERS(TESSEL_DECLARE_MEMBER)
  static std::span<const member_desc> members();
};

#define TESSEL_SHIFT_MEMBERS(X)                 \
  X(shift_id, id, s_unsigned_long)              \
  X(shift_name, text, s_string)

// A shift.
struct SHIFT {
  TESSEL_SHIFT_MEMBERS(TESSEL_DECLARE_MEMBER)
  static std::span<const member_desc> members();
};

#define TESSEL_SHIFTPER_MEMBERS(X)              \
  X(shift_period_id, id, s_unsigned_long)       \
  X(shift_id, id, s_unsigned_long)              \
  X(shift_start_hr_num, number, s_double)

// A period of a shift.
struct SHIFTPER {
  TESSEL_SHIFTPER_MEMBERS(TESSEL_DECLARE_MEMBER)
  static std::span<const member_desc> members();
};

#define TESSEL_CURRTYPE_MEMBERS(X)              \
  X(curr_id, id, s_unsigned_long)               \
  X(decimal_digit_cnt, whole, s_int)            \
  X(curr_symbol, text, s_string)                \
  X(decimal_symbol, text, s_string)             \
  X(digit_group_symbol, text, s_string)         \
  X(pos_curr_fmt_type, text, s_string)          \
  X(neg_curr_fmt_type, text, s_string)          \
  X(curr_type, text, s_string)                  \
  X(curr_short_name, text, s_string)            \
  X(group_digit_cnt, whole, s_int)              \
  X(base_exch_rate, number, s_double)

// A currency.
struct CURRTYPE {
  TESSEL_CURRTYPE_MEMBERS(TESSEL_DECLARE_MEMBER)
  // The symbols prices in this currency are written with (decimal_symbol,
  // digit_group_symbol, curr_symbol), kept together so that a price value can
  // point at them; set when the row is loaded.
  money_symbols symbols;

  void finish_row();
  static std::span<const member_desc> members();
};

}  // namespace tessel::document
