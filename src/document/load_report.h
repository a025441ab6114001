// What an open found in a file, kept while it is read: how it was read, what
// it holds and what looked wrong. Schedulers read it to know whether a file
// they were sent is whole; the window shows it under File > Info and warns
// after an open when it holds a warning.
//
// Plain data: every reader fills the parts that apply to its format (a
// workbook has sheets and no end marker) and leaves the rest empty.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tessel::document {

// A row that was not what its table declared. Such rows are still read:
// missing values stay empty, values past the last field are passed over,
// and a record whose id repeats one before it is never found by that id.
enum class row_fault : uint8_t {
  too_many_values,  // more values than the table has fields
  too_few_values,   // fewer values than the table has fields
  id_not_a_number,  // the record's own id is empty or not decimal digits
  duplicate_id,     // the record's own id was already taken in its table
};
inline constexpr size_t row_fault_count = 4;

// A reference that finds no record: the view shows it empty.
enum class dangling_kind : uint8_t {
  relationship_missing_activity,   // a relationship to an activity not in the file
  relationship_other_project,      // a relationship to an activity of a project not in the file
  assignment_missing_activity,     // an assignment of an activity not in the file
  assignment_missing_resource,     // an assignment of a resource not in the file
  activity_missing_wbs,            // an activity in a WBS element not in the file
  activity_missing_calendar,       // an activity on a calendar not in the file
};
inline constexpr size_t dangling_kind_count = 6;

struct load_report {
  // How many line numbers a fault keeps.
  static constexpr size_t lines_kept = 5;

  struct table_rows {
    std::string name;
    size_t rows = 0;
  };
  struct fault_lines {
    size_t count = 0;
    std::vector<size_t> first_lines;  // at most lines_kept, in file order
    // Counts one more fault at `line` (0 when the format has no lines).
    void add(size_t line);
  };

  std::string format;    // "XER text export", "XLS workbook"
  std::string encoding;  // how the text was read; empty when the format settles it
  // Tables (or sheets) read, and those the file holds that the viewer does
  // not read, in file order, with their row counts.
  std::vector<table_rows> tables_read;
  std::vector<table_rows> tables_not_read;
  // Whether the "%E" line that ends an XER export was found; none for
  // formats without one.
  std::optional<bool> end_marker;
  // Faulty rows by kind and table.
  struct table_faults {
    std::string table;
    std::array<fault_lines, row_fault_count> faults;
  };
  std::vector<table_faults> row_faults;
  std::array<size_t, dangling_kind_count> dangling{};
  // Date cells that held text but no readable date.
  fault_lines unreadable_dates;
  // Activities the schedule holds once read.
  size_t activities = 0;

  // The faults of `table`, added on first use.
  table_faults& faults_of(const std::string& table);
  size_t rows_with(row_fault kind) const;
  size_t dangling_total() const;

  // Whether the file seems other than whole: cut short, rows at fault or
  // references that point nowhere.
  bool has_warning() const;
  // One line for the notice bar ("This file seems cut short: 62 activities
  // read, no end marker."); empty without a warning.
  std::string notice() const;
};

// The report as lines of text, the same in the window and in tessel-dump.
std::string report_text(const load_report& report);

// What a fault and a dangling reference are called in the report.
const char* fault_name(row_fault kind);
const char* dangling_name(dangling_kind kind);

}  // namespace tessel::document
