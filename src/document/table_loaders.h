// Table loading: one XER table becomes one record per row in the list of the
// same name.
#pragma once

#include "document/records/record_lists.h"
#include "document/xer/xer.h"

namespace tessel::document {

// Hands `table` to the loader of the table of that name (exact,
// case-sensitive), which appends one record per row, in row order, to that
// table's list. Answers false, and changes nothing, for a table the
// schedule does not hold.
//
// Columns are found by name once per table: any order of columns loads the
// same records, unknown columns are skipped, and when a column name occurs
// twice the later column gives the value. Cells beyond the field list are
// skipped; a row with fewer cells leaves the missing members as a new record
// holds them. Rows are never merged, even when their ids repeat.
bool load_table(record_lists& lists, const xer_table& table);

// How many records the list of the table of that name holds; 0 for a table
// the schedule does not hold.
size_t record_count(const record_lists& lists, std::u16string_view table_name);

// The memory one record of the table of that name takes before its texts;
// 0 for a table the schedule does not hold.
size_t record_size(std::u16string_view table_name);

}  // namespace tessel::document
