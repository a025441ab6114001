// The "Changes" category's table: the change lines of a comparison grouped
// by kind, each group titled with its count, every cell a text, with the
// order a click on a column header sorts by. The shell shows it; nothing
// here draws.
#pragma once

#include <string>
#include <vector>

#include "analysis/schedule_compare.h"

namespace tessel::view {

enum class changes_column { activity_id, name, change, old_value, new_value, delta, project };
constexpr int changes_column_count = 7;

// "Activity ID", "Activity Name", "Change", "Old", "New", "Difference (d)", "Project".
std::u16string changes_column_title(changes_column c);

struct changes_row {
  const analysis::change_line* line = nullptr;
  // The cells, by changes_column.
  std::u16string cells[changes_column_count];
};

struct changes_group {
  analysis::change_kind kind;
  std::u16string title;  // "Start (12)"
  std::vector<changes_row> rows;
};

struct changes_table {
  // "OLD.xer (data date 2025-11-21 17:00) → NEW.xer (data date 2025-12-04
  // 17:00)   Finish slip: +5.0 days"
  std::u16string header;
  std::vector<changes_group> groups;  // kinds in line order, only those present
};

// A kind as a group title word: "Data date", "Project finish", "Start",
// "Predecessor added" ...
std::u16string change_kind_caption(analysis::change_kind k);

// A difference in days with one decimal and its sign ("+3.0", "-0.5");
// empty for NaN.
std::u16string delta_text(double days);

// The earliest data date of a document's projects (empty when none has
// one), as the Gantt chart draws it.
s_date data_date_of(const document::Document& doc);

// Builds the table from the lines of `match` (names are the files' names
// for the header).
changes_table build_changes_table(const std::vector<analysis::change_line>& lines,
                                  const analysis::schedule_match& match, const std::u16string& old_name,
                                  const std::u16string& new_name);

// Negative, zero or positive as `a` sorts before, with or after `b` by the
// column: texts alphabetically, the difference by its number (rows without
// one last), ties in line order.
int compare_changes_rows(const changes_row& a, const changes_row& b, changes_column c);

}  // namespace tessel::view
