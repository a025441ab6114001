// The member descriptions of every record type and the few columns that are
// read in a way of their own.
#include "document/records/records.h"

namespace tessel::document {
std::span<const member_desc> ACTVCODE::members() { TESSEL_MEMBERS_BODY(ACTVCODE, TESSEL_ACTVCODE_MEMBERS) }
std::span<const member_desc> ACTVTYPE::members() { TESSEL_MEMBERS_BODY(ACTVTYPE, TESSEL_ACTVTYPE_MEMBERS) }
std::span<const member_desc> TASKACTV::members() { TESSEL_MEMBERS_BODY(TASKACTV, TESSEL_TASKACTV_MEMBERS) }
std::span<const member_desc> TASKPROC::members() { TESSEL_MEMBERS_BODY(TASKPROC, TESSEL_TASKPROC_MEMBERS) }
std::span<const member_desc> OBS::members() { TESSEL_MEMBERS_BODY(OBS, TESSEL_OBS_MEMBERS) }
std::span<const member_desc> PROJWBS::members() { TESSEL_MEMBERS_BODY(PROJWBS, TESSEL_PROJWBS_MEMBERS) }
std::span<const member_desc> TASK::members() { TESSEL_MEMBERS_BODY(TASK, TESSEL_TASK_MEMBERS) }
std::span<const member_desc> PROJECT::members() { TESSEL_MEMBERS_BODY(PROJECT, TESSEL_PROJECT_MEMBERS) }
std::span<const member_desc> TASKPRED::members() { TESSEL_MEMBERS_BODY(TASKPRED, TESSEL_TASKPRED_MEMBERS) }
std::span<const member_desc> RSRC::members() { TESSEL_MEMBERS_BODY(RSRC, TESSEL_RSRC_MEMBERS) }
std::span<const member_desc> RSRCRATE::members() { TESSEL_MEMBERS_BODY(RSRCRATE, TESSEL_RSRCRATE_MEMBERS) }
std::span<const member_desc> RCATVAL::members() { TESSEL_MEMBERS_BODY(RCATVAL, TESSEL_RCATVAL_MEMBERS) }
std::span<const member_desc> RCATTYPE::members() { TESSEL_MEMBERS_BODY(RCATTYPE, TESSEL_RCATTYPE_MEMBERS) }
std::span<const member_desc> RSRCRCAT::members() { TESSEL_MEMBERS_BODY(RSRCRCAT, TESSEL_RSRCRCAT_MEMBERS) }
std::span<const member_desc> RSRCROLE::members() { TESSEL_MEMBERS_BODY(RSRCROLE, TESSEL_RSRCROLE_MEMBERS) }
std::span<const member_desc> TASKRSRC::members() { TESSEL_MEMBERS_BODY(TASKRSRC, TESSEL_TASKRSRC_MEMBERS) }
std::span<const member_desc> SHIFT::members() { TESSEL_MEMBERS_BODY(SHIFT, TESSEL_SHIFT_MEMBERS) }
std::span<const member_desc> SHIFTPER::members() { TESSEL_MEMBERS_BODY(SHIFTPER, TESSEL_SHIFTPER_MEMBERS) }
std::span<const member_desc> CALENDAR::members() { TESSEL_MEMBERS_BODY(CALENDAR, TESSEL_CALENDAR_MEMBERS) }
std::span<const member_desc> ROLES::members() { TESSEL_MEMBERS_BODY(ROLES, TESSEL_ROLES_MEMBERS) }
std::span<const member_desc> ROLERATE::members() { TESSEL_MEMBERS_BODY(ROLERATE, TESSEL_ROLERATE_MEMBERS) }
std::span<const member_desc> ROLELIMIT::members() { TESSEL_MEMBERS_BODY(ROLELIMIT, TESSEL_ROLELIMIT_MEMBERS) }
std::span<const member_desc> CURRTYPE::members() { TESSEL_MEMBERS_BODY(CURRTYPE, TESSEL_CURRTYPE_MEMBERS) }
std::span<const member_desc> PCATVAL::members() { TESSEL_MEMBERS_BODY(PCATVAL, TESSEL_PCATVAL_MEMBERS) }
std::span<const member_desc> PCATTYPE::members() { TESSEL_MEMBERS_BODY(PCATTYPE, TESSEL_PCATTYPE_MEMBERS) }
std::span<const member_desc> PROJPCAT::members() { TESSEL_MEMBERS_BODY(PROJPCAT, TESSEL_PROJPCAT_MEMBERS) }
std::span<const member_desc> UDFTYPE::members() { TESSEL_MEMBERS_BODY(UDFTYPE, TESSEL_UDFTYPE_MEMBERS) }
std::span<const member_desc> UDFVALUE::members() { TESSEL_MEMBERS_BODY(UDFVALUE, TESSEL_UDFVALUE_MEMBERS) }

// The color column: any cell gives opaque black.
cell_loader ACTVCODE::special_column(std::u16string_view name) {
  if (name != u"color") return nullptr;
  return [](void* r, std::string_view, const text_decoder&) { static_cast<ACTVCODE*>(r)->color = 0xFF000000u; };
}

// The clndr_data column holds the calendar's working time.
cell_loader CALENDAR::special_column(std::u16string_view name) {
  if (name != u"clndr_data") return nullptr;
  return [](void* r, std::string_view b, const text_decoder& decoder) {
    std::u16string text;
    decoder.decode(b, text);
    static_cast<CALENDAR*>(r)->calendar.build(text);
  };
}

void CALENDAR::finish_row() {
  period_factors& f = calendar.factors;
  if (day_hr_cnt.value > 0) f.day = day_hr_cnt.value;
  if (week_hr_cnt.value > 0) f.week = week_hr_cnt.value;
  if (month_hr_cnt.value > 0) f.month = month_hr_cnt.value;
  if (year_hr_cnt.value > 0) f.year = year_hr_cnt.value;
}

void CURRTYPE::finish_row() {
  symbols.decimal = decimal_symbol.value;
  symbols.group = digit_group_symbol.value;
  symbols.currency = curr_symbol.value;
}

}  // namespace tessel::document
