#include "document/load_report.h"

namespace tessel::document {

void load_report::fault_lines::add(size_t line) {
  ++count;
  if (line > 0 && first_lines.size() < lines_kept) first_lines.push_back(line);
}

load_report::table_faults& load_report::faults_of(const std::string& table) {
  for (table_faults& t : row_faults)
    if (t.table == table) return t;
  row_faults.push_back({table, {}});
  return row_faults.back();
}

size_t load_report::rows_with(row_fault kind) const {
  size_t n = 0;
  for (const table_faults& t : row_faults) n += t.faults[size_t(kind)].count;
  return n;
}

size_t load_report::dangling_total() const {
  size_t n = 0;
  for (size_t d : dangling) n += d;
  return n;
}

bool load_report::has_warning() const {
  if (end_marker && !*end_marker) return true;
  for (size_t k = 0; k < row_fault_count; ++k)
    if (rows_with(row_fault(k)) > 0) return true;
  return dangling_total() > 0 || unreadable_dates.count > 0;
}

namespace {

std::string plural(size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string line_list(const load_report::fault_lines& f) {
  if (f.first_lines.empty()) return {};
  std::string out = f.first_lines.size() == 1 ? " (line " : " (lines ";
  for (size_t i = 0; i < f.first_lines.size(); ++i) {
    if (i) out += ", ";
    out += std::to_string(f.first_lines[i]);
  }
  if (f.count > f.first_lines.size()) out += ", ...";
  return out + ")";
}

}  // namespace

std::string load_report::notice() const {
  if (!has_warning()) return {};
  const std::string read = plural(activities, "activity", "activities") + " read";
  if (end_marker && !*end_marker) return "This file seems cut short: " + read + ", no end marker.";
  size_t faulty = 0;
  for (size_t k = 0; k < row_fault_count; ++k) faulty += rows_with(row_fault(k));
  if (faulty > 0) return "Some rows of this file are damaged: " + read + ", " + plural(faulty, "row", "rows") + " at fault.";
  if (dangling_total() > 0)
    return "This file refers to records it does not hold: " + read + ", " +
           plural(dangling_total(), "reference points", "references point") + " nowhere.";
  return "Some dates of this file could not be read: " + read + ", " +
         plural(unreadable_dates.count, "date", "dates") + " left empty.";
}

const char* fault_name(row_fault kind) {
  switch (kind) {
    case row_fault::too_many_values: return "more values than fields";
    case row_fault::too_few_values: return "fewer values than fields";
    case row_fault::id_not_a_number: return "id that is not a number";
    case row_fault::duplicate_id: return "id already taken";
  }
  return "";
}

const char* dangling_name(dangling_kind kind) {
  switch (kind) {
    case dangling_kind::relationship_missing_activity: return "relationships to an activity not in the file";
    case dangling_kind::relationship_other_project: return "relationships to a project not in the file";
    case dangling_kind::assignment_missing_activity: return "assignments of an activity not in the file";
    case dangling_kind::assignment_missing_resource: return "assignments of a resource not in the file";
    case dangling_kind::activity_missing_wbs: return "activities in a WBS element not in the file";
    case dangling_kind::activity_missing_calendar: return "activities on a calendar not in the file";
  }
  return "";
}

std::string report_text(const load_report& r) {
  std::string out;
  out += "Format: " + r.format + "\n";
  if (!r.encoding.empty()) out += "Encoding: " + r.encoding + "\n";
  if (r.end_marker) out += *r.end_marker ? "End marker: present\n" : "End marker: missing (the file was cut short)\n";
  const std::string notice = r.notice();
  out += "Warning: " + (notice.empty() ? std::string("none") : notice) + "\n";
  auto tables = [&](const char* title, const std::vector<load_report::table_rows>& list) {
    out += title;
    out += list.empty() ? " none\n" : "\n";
    for (const load_report::table_rows& t : list) out += "  " + t.name + "\t" + std::to_string(t.rows) + "\n";
  };
  tables("Tables read:", r.tables_read);
  tables("Tables not read:", r.tables_not_read);
  out += "Rows at fault (read as far as they go):";
  bool any = false;
  for (const load_report::table_faults& t : r.row_faults)
    for (size_t k = 0; k < row_fault_count; ++k) {
      const load_report::fault_lines& f = t.faults[k];
      if (f.count == 0) continue;
      if (!any) out += "\n";
      any = true;
      out += "  " + t.table + ": " + plural(f.count, "row", "rows") + " with " + fault_name(row_fault(k)) +
             line_list(f) + "\n";
    }
  if (!any) out += " none\n";
  out += "References that point nowhere:";
  if (r.dangling_total() == 0) out += " none\n";
  else out += "\n";
  for (size_t k = 0; k < dangling_kind_count; ++k)
    if (r.dangling[k] > 0) out += "  " + std::to_string(r.dangling[k]) + " " + dangling_name(dangling_kind(k)) + "\n";
  out += "Dates that could not be read: " +
         (r.unreadable_dates.count == 0 ? std::string("none") : std::to_string(r.unreadable_dates.count) +
                                                                    line_list(r.unreadable_dates)) +
         "\n";
  return out;
}

}  // namespace tessel::document
