// Filling the load report while an XER export is read: the tables the first
// look finds, the rows that are not what their table declares, the dates
// that could not be read, and after linking the references that found
// nothing.
#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "document/load_report.h"
#include "document/records/record_lists.h"
#include "document/xer/xer.h"

namespace tessel::document {

// The tables of the file with their row counts, split into read and not
// read, and whether the end marker was found.
void note_xer_tables(load_report& report, const std::vector<xer_parser::table_count>& tables,
                     const xer_parser::xer_file_facts& file);

// Checks the rows of one table as it is read; keeps the ids seen per table
// name, since a table may occur twice in a file.
class xer_row_checks {
 public:
  explicit xer_row_checks(load_report& report) : report_(report) {}
  // Before the table is loaded: value counts and own ids.
  void check_rows(const xer_table& table);
  // After it was loaded into `lists`, its records from `first` on: date
  // cells with text that gave no date.
  void check_dates(const record_lists& lists, const xer_table& table, size_t first);

 private:
  // Ids seen: a bit each for ids up to a few million, as exports number
  // them, so a check costs a few nanoseconds; a hash set beyond.
  struct id_set {
    std::vector<uint64_t> bits;
    std::unordered_set<uint64_t> large;
    // Answers false when the id was seen before.
    bool insert(uint64_t id);
  };

  load_report& report_;
  std::unordered_map<std::u16string, id_set> ids_;
};

// After linking: the references that found no record, by kind.
void count_dangling(load_report& report, const record_lists& lists);

}  // namespace tessel::document
