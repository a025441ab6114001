#include "values/enums.h"

#include <array>

namespace tessel {

namespace enum_detail {

namespace {

bool same_text(std::u16string_view want, std::u16string_view text) { return !want.empty() && want == text; }

bool same_bytes(std::u16string_view want, std::string_view bytes) {
  if (want.empty() || want.size() != bytes.size()) return false;
  for (size_t i = 0; i < bytes.size(); ++i)
    if (want[i] != static_cast<char16_t>(static_cast<unsigned char>(bytes[i]))) return false;
  return true;
}

const enum_entry* find_code(const enum_table& t, int32_t code) {
  for (const enum_entry& e : t.entries)
    if (e.code == code) return &e;
  return nullptr;
}

}  // namespace

int32_t code_from_text(const enum_table& t, std::u16string_view text) {
  for (const enum_entry& e : t.entries)
    if (same_text(e.stored, text) || same_text(e.accepted, text)) return e.code;
  return t.default_code;
}

int32_t code_from_bytes(const enum_table& t, std::string_view bytes) {
  for (const enum_entry& e : t.entries)
    if (same_bytes(e.stored, bytes) || same_bytes(e.accepted, bytes)) return e.code;
  return t.default_code;
}

std::u16string caption(const enum_table& t, int32_t code) {
  const enum_entry* e = find_code(t, code);
  return e ? std::u16string(e->caption) : std::u16string();
}

int64_t sort_key(const enum_table& t, int32_t code) {
  if (t.ranks.empty()) return code;
  if (code >= 0 && static_cast<size_t>(code) < t.ranks.size()) return t.ranks[code];
  // A code outside the table (only ever built from a number) sorts after
  // every known one, in code order.
  return (int64_t{1} << 32) + code;
}

}  // namespace enum_detail

namespace {

using E = enum_entry;

// Types that accept captions list the caption again as the accepted text.
constexpr E activity_status[] = {
    {0, u"TK_Complete", u"Completed", u"Completed"},
    {1, u"TK_Active", u"In Progress", u"In Progress"},
    {2, u"TA_NotStarted", u"Not Started", u"Not Started"},
};

constexpr E constraint_type[] = {
    {0, u"", u"", u""},
    {1, u"CS_ALAP", u"As Late As Possible", u"As Late As Possible"},
    {2, u"CS_MSO", u"Start On", u"Start On"},
    {3, u"CS_MSOB", u"Start On or Before", u"Start On or Before"},
    {4, u"CS_MSOA", u"Start On or After", u"Start On or After"},
    {5, u"CS_MANDSTART", u"Mandatory Start", u"Mandatory Start"},
    {6, u"CS_MEO", u"Finish On", u"Finish On"},
    {7, u"CS_MEOB", u"Finish On or Before", u"Finish On or Before"},
    {8, u"CS_MEOA", u"Finish On or After", u"Finish On or After"},
    {9, u"CS_MANDFIN", u"Mandatory Finish", u"Mandatory Finish"},
};
// Alphabetical by caption; no constraint last.
constexpr int32_t constraint_ranks[] = {9, 0, 6, 8, 7, 5, 1, 3, 2, 4};

constexpr E activity_type[] = {
    {0, u"TT_Task", u"Task Dependent", u"Task Dependent"},
    {1, u"TT_Rsrc", u"Resource Dependent", u"Resource Dependent"},
    {2, u"TT_LOE", u"Level of Effort", u"Level of Effort"},
    {3, u"TT_Mile", u"Start Milestone", u"Start Milestone"},
    {4, u"TT_FinMile", u"Finish Milestone", u"Finish Milestone"},
    {5, u"TT_WBS", u"WBS Summary", u"WBS Summary"},
};
constexpr int32_t activity_type_ranks[] = {4, 2, 1, 3, 0, 5};

constexpr E project_status[] = {
    {0, u"WS_Open", u"Active", u"Active"},
    {1, u"WS_Closed", u"Inactive", u"Inactive"},
    {2, u"WS_Planned", u"Planned", u"Planned"},
    {3, u"", u"", u""},
    {4, u"WS_Whatif", u"What-if", u"What-if"},
};

constexpr E node_type[] = {
    {0, u"", u"WBS", u""},
    {1, u"", u"Project", u""},
    {2, u"", u"", u""},
};

constexpr E calendar_type[] = {
    {0, u"CA_Base", u"Global", u""},
    {1, u"CA_Rsrc", u"Resource", u""},
    {2, u"CA_Project", u"Project", u""},
};

constexpr E code_type_scope[] = {
    {0, u"AS_Global", u"Global", u""},
    {1, u"AS_EPS", u"EPS", u""},
    {2, u"AS_Project", u"Project", u""},
};

constexpr E logical_data_type[] = {
    {0, u"FT_START_DATE", u"Start Date", u""},
    {1, u"FT_END_DATE", u"End Date", u""},
    {2, u"FT_TEXT", u"Text", u""},
    {3, u"FT_FLOAT_2_DECIMALS", u"Float 2 Decimals", u""},
    {4, u"FT_MONEY", u"Money", u""},
    {5, u"FT_INT", u"Int", u""},
    {6, u"FT_STATICTYPE", u"Static Type", u""},
};

constexpr E percent_complete_type[] = {
    {0, u"CP_Phys", u"Physical", u"Physical"},
    {1, u"CP_Drtn", u"Duration", u"Duration"},
    {2, u"CP_Units", u"Units", u"Units"},
};
constexpr int32_t percent_complete_type_ranks[] = {1, 0, 2};

// The caption of code 3 is shown with a doubled ampersand and read with a
// single one, as the workbook writes it.
constexpr E duration_type[] = {
    {0, u"DT_FixedRate", u"Fixed Units/Time", u"Fixed Units/Time"},
    {1, u"DT_FixedDrtn", u"Fixed Duration and Units/Time", u"Fixed Duration and Units/Time"},
    {2, u"DT_FixedQty", u"Fixed Units", u"Fixed Units"},
    {3, u"DT_FixedDUR2", u"Fixed Duration && Units", u"Fixed Duration & Units"},
};
constexpr int32_t duration_type_ranks[] = {3, 1, 2, 0};

constexpr E leveling_priority[] = {
    {0, u"PT_Top", u"1 - Top", u"1 - Top"},
    {1, u"PT_High", u"2 - High", u"2 - High"},
    {2, u"PT_Normal", u"3 - Normal", u"3 - Normal"},
    {3, u"PT_Low", u"4 - Low", u"4 - Low"},
    {4, u"PT_Lowest", u"5 - Lowest", u"5 - Lowest"},
};

constexpr E rate_type[] = {
    {0, u"COST_PER_QTY", u"Price / Unit", u"Price / Unit"},
    {1, u"COST_PER_QTY2", u"Price / Unit2", u"Price / Unit2"},
    {2, u"COST_PER_QTY3", u"Price / Unit3", u"Price / Unit3"},
    {3, u"COST_PER_QTY4", u"Price / Unit4", u"Price / Unit4"},
    {4, u"COST_PER_QTY5", u"Price / Unit5", u"Price / Unit5"},
};

constexpr E resource_type[] = {
    {0, u"RT_Labor", u"Labor", u"Labor"},
    {1, u"RT_Equip", u"Nonlabor", u"Nonlabor"},
    {2, u"RT_Mat", u"Material", u"Material"},
};

constexpr E relationship_type[] = {
    {0, u"PR_FF", u"Finish To Finish", u"FF"},
    {1, u"PR_FS", u"Finish To Start", u"FS"},
    {2, u"PR_SF", u"Start To Finish", u"SF"},
    {3, u"PR_SS", u"Start To Start", u"SS"},
};

}  // namespace

const enum_table& s_activity_status::table() {
  static constexpr enum_table t{2, activity_status, {}};
  return t;
}
const enum_table& s_constraint_type::table() {
  static constexpr enum_table t{0, constraint_type, constraint_ranks};
  return t;
}
const enum_table& s_activity_type::table() {
  static constexpr enum_table t{0, activity_type, activity_type_ranks};
  return t;
}
const enum_table& s_project_status::table() {
  static constexpr enum_table t{5, project_status, {}};
  return t;
}
const enum_table& s_node_type::table() {
  static constexpr enum_table t{0, node_type, {}};
  return t;
}
const enum_table& s_calendar_type::table() {
  static constexpr enum_table t{0, calendar_type, {}};
  return t;
}
const enum_table& s_activity_code_type_scope::table() {
  static constexpr enum_table t{0, code_type_scope, {}};
  return t;
}
const enum_table& s_logical_data_type::table() {
  static constexpr enum_table t{2, logical_data_type, {}};
  return t;
}
const enum_table& s_percent_comlete_type::table() {
  static constexpr enum_table t{0, percent_complete_type, percent_complete_type_ranks};
  return t;
}
const enum_table& s_duration_type::table() {
  static constexpr enum_table t{3, duration_type, duration_type_ranks};
  return t;
}
const enum_table& s_leveling_priority::table() {
  static constexpr enum_table t{2, leveling_priority, {}};
  return t;
}
const enum_table& s_rate_type::table() {
  static constexpr enum_table t{0, rate_type, {}};
  return t;
}
const enum_table& s_resource_type::table() {
  static constexpr enum_table t{0, resource_type, {}};
  return t;
}
const enum_table& s_relationship_type::table() {
  static constexpr enum_table t{1, relationship_type, {}};
  return t;
}
const enum_table& s_review_status::table() {
  static constexpr enum_table t{0, {}, {}};
  return t;
}

}  // namespace tessel
