// The sheets of an Excel 2007+ workbook (.xlsx): a ZIP container of XML
// parts. The workbook part lists the sheets by name in workbook order and
// points at each through its relationships; the shared strings and the
// cell styles (which say which numbers are dates) stand in parts of their
// own. Each sheet is read row by row as it is inflated, into cells of text
// shown as the Excel 97-2003 reader shows them: texts as they stand,
// numbers as their shortest decimal text, numbers with a date or time
// style as dates ("1/5/2012 8:00:00 AM"), booleans as TRUE or FALSE, errors
// as empty cells.
//
// What a workbook may ask of the machine is checked as early as it can be:
// its directory before any part is read, a sheet's declared size before its
// cells, the shared strings against the file's size as they are read, and
// the cells and texts of all sheets against what the parts' sizes justify.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessel::document {

class zip_container;

// Excel's own sheet bounds.
constexpr uint32_t max_xlsx_columns = 16384;
constexpr uint32_t max_xlsx_rows = 1048576;

struct xlsx_cell {
  uint32_t row = 0;
  uint32_t column = 0;
  // The cell's text in its sheet's `text`; cells of equal text share it.
  uint32_t text_begin = 0;
  uint32_t text_length = 0;
};

struct xlsx_sheet {
  std::string name;  // UTF-8
  // One past the last row and column holding a cell with text.
  uint32_t rows = 0;
  uint32_t columns = 0;
  // In the order read: a later cell for the same place counts.
  std::vector<xlsx_cell> cells;
  std::u16string text;
};

struct xlsx_read {
  std::vector<xlsx_sheet> sheets;
  // The bytes of the parts read, as they expand: what the import's memory
  // is measured against, as a binary workbook's is against its file.
  uint64_t content_size = 0;
  // Why the workbook was refused; empty when it was read.
  std::u16string refusal;
};

// Reads every worksheet of the open container `zip`, taken from a file of
// `file_size` bytes. False, with no sheets and the reason in `out.refusal`,
// when it is no workbook or one outside its bounds.
bool read_xlsx_workbook(zip_container& zip, uint64_t file_size, xlsx_read& out);

// The zero-based column of a cell reference's letters ("A1" 0, "AB7" 27),
// or -1 without letters or past `max_xlsx_columns`; `rest` is left at the
// row digits.
int64_t reference_column(std::string_view ref, std::string_view* rest = nullptr);

}  // namespace tessel::document
