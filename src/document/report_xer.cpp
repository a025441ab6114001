#include "document/report_xer.h"

#include <algorithm>

#include "document/io/path_text.h"

namespace tessel::document {
namespace {

std::string ascii(const std::u16string& s) { return narrow_path(s); }

// The column that holds a table's own id. Tables that only tie two records
// together (an activity's code, a user field's value, a resource's role,
// whose exported id is often empty or repeated) have none.
std::u16string_view own_id_column(std::u16string_view table) {
  static const std::pair<std::u16string_view, std::u16string_view> keys[] = {
      {u"TASK", u"task_id"},           {u"TASKPRED", u"task_pred_id"},
      {u"TASKPROC", u"proc_id"},       {u"TASKRSRC", u"taskrsrc_id"},
      {u"CALENDAR", u"clndr_id"},      {u"ACTVCODE", u"actv_code_id"},
      {u"ACTVTYPE", u"actv_code_type_id"}, {u"PCATVAL", u"proj_catg_id"},
      {u"PCATTYPE", u"proj_catg_type_id"}, {u"RCATVAL", u"rsrc_catg_id"},
      {u"RCATTYPE", u"rsrc_catg_type_id"}, {u"UDFTYPE", u"udf_type_id"},
      {u"OBS", u"obs_id"},             {u"PROJWBS", u"wbs_id"},
      {u"PROJECT", u"proj_id"},        {u"RSRC", u"rsrc_id"},
      {u"RSRCRATE", u"rsrc_rate_id"},
      {u"ROLES", u"role_id"},          {u"ROLERATE", u"role_rate_id"},
      {u"ROLELIMIT", u"rolelimit_id"}, {u"SHIFT", u"shift_id"},
      {u"SHIFTPER", u"shift_period_id"}, {u"CURRTYPE", u"curr_id"},
  };
  for (const auto& [name, column] : keys)
    if (name == table) return column;
  return {};
}

bool decimal_digits(std::string_view s) {
  if (s.empty() || s.size() > 19) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

uint64_t number_of(std::string_view s) {
  uint64_t n = 0;
  for (char c : s) n = n * 10 + uint64_t(c - '0');
  return n;
}

template <class R>
void check_list_dates(const record_list<R>& list, const xer_table& table, size_t first,
                      load_report::fault_lines& dates) {
  const auto& fields = table.fields();
  const std::span<const member_desc> members = R::members();
  const auto& rows = table.rows();
  for (size_t i = 0; i < fields.size(); ++i) {
    const member_desc* m = find_member(members, fields[i]->name());
    if (!m || m->kind != member_kind::date) continue;
    // A later column of the same name gives the value: only it is judged.
    bool later = false;
    for (size_t j = i + 1; j < fields.size() && !later; ++j) later = fields[j]->name() == fields[i]->name();
    if (later) continue;
    for (size_t k = 0; k < rows.size() && first + k < list.size(); ++k) {
      if (rows[k].cell_bytes(i).empty()) continue;
      if (!static_cast<const s_date&>(m->value(&list[first + k])).has_date()) dates.add(rows[k].line_number());
    }
  }
}

}  // namespace

void note_xer_tables(load_report& report, const std::vector<xer_parser::table_count>& tables,
                     const xer_parser::xer_file_facts& file) {
  report.format = "XER text export";
  report.end_marker = file.end_marker;
  report.tables_read.clear();
  report.tables_not_read.clear();
  for (const xer_parser::table_count& t : tables)
    (t.wanted ? report.tables_read : report.tables_not_read).push_back({ascii(t.name), t.rows});
}

bool xer_row_checks::id_set::insert(uint64_t id) {
  constexpr uint64_t bit_limit = uint64_t(1) << 26;  // 8 MB of bits at most
  if (id >= bit_limit) return large.insert(id).second;
  const size_t word = size_t(id / 64);
  if (word >= bits.size()) bits.resize(std::max(word + 1, bits.size() * 2), 0);
  const uint64_t mask = uint64_t(1) << (id % 64);
  if (bits[word] & mask) return false;
  bits[word] |= mask;
  return true;
}

void xer_row_checks::check_rows(const xer_table& table) {
  const auto& fields = table.fields();
  const std::u16string_view key = own_id_column(table.name());
  size_t key_at = fields.size();
  for (size_t i = 0; i < fields.size(); ++i)
    if (!key.empty() && fields[i]->name() == key) key_at = i;
  load_report::table_faults* faults = nullptr;
  auto add = [&](row_fault kind, const xer_row& row) {
    if (!faults) faults = &report_.faults_of(ascii(table.name()));
    faults->faults[size_t(kind)].add(row.line_number());
  };
  id_set* seen = key_at < fields.size() ? &ids_[table.name()] : nullptr;
  for (const xer_row& row : table.rows()) {
    // Writers differ on whether an empty last value gets its TAB: a row one
    // value short is whole.
    const size_t written = row.values_written();
    if (written > fields.size()) add(row_fault::too_many_values, row);
    else if (written + 1 < fields.size()) add(row_fault::too_few_values, row);
    if (!seen) continue;
    const std::string_view id = row.cell_bytes(key_at);
    if (!decimal_digits(id)) add(row_fault::id_not_a_number, row);
    else if (!seen->insert(number_of(id))) add(row_fault::duplicate_id, row);
  }
}

void xer_row_checks::check_dates(const record_lists& lists, const xer_table& table, size_t first) {
  const std::u16string& name = table.name();
#define TESSEL_CHECK_DATES(TYPE, member) \
  if (name == u"" #TYPE) return check_list_dates(lists.member, table, first, report_.unreadable_dates);
  TESSEL_RECORD_TABLES(TESSEL_CHECK_DATES)
#undef TESSEL_CHECK_DATES
}

void count_dangling(load_report& report, const record_lists& lists) {
  auto& d = report.dangling;
  d.fill(0);
  std::unordered_set<uint32_t> projects;
  for (const PROJECT& p : lists.project) projects.insert(p.proj_id.value);
  for (const TASKPRED& r : lists.taskpred) {
    if (r.task && r.predtask) continue;
    // The end that is missing belongs to a project the file does not hold,
    // or to an activity missing from a project it does.
    const bool other = (!r.task && !projects.count(r.proj_id.value)) ||
                       (!r.predtask && !projects.count(r.pred_proj_id.value));
    ++d[size_t(other ? dangling_kind::relationship_other_project : dangling_kind::relationship_missing_activity)];
  }
  for (const TASKRSRC& a : lists.taskrsrc) {
    if (!a.task) ++d[size_t(dangling_kind::assignment_missing_activity)];
    if (!a.rsrc && a.rsrc_id.value != 0) ++d[size_t(dangling_kind::assignment_missing_resource)];
  }
  for (const TASK& t : lists.task) {
    if (!t.projwbs && t.wbs_id.value != 0) ++d[size_t(dangling_kind::activity_missing_wbs)];
    if (!t.calendar && t.clndr_id.value != 0) ++d[size_t(dangling_kind::activity_missing_calendar)];
  }
  report.activities = lists.task.size();
}

}  // namespace tessel::document
