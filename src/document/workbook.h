// A spreadsheet workbook (Excel 97-2003, BIFF in a compound file) read once
// into memory: every sheet in workbook order with its name, its row and
// column counts and the formatted text of every cell. The file itself is
// read by FreeXL and released as soon as the sheets are copied, so nothing
// here refers to the library's memory afterwards.
//
// A cell's text is what the spreadsheet shows for it: text cells as they
// stand, numbers as their shortest decimal text ("%.15g"), dates and times as
// month/day/year hours:minutes:seconds with AM or PM ("1/5/2012 8:00:00 AM"),
// the form the date reader of a workbook understands.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessel::document {

class workbook_sheet {
 public:
  // The sheet's name as the workbook stores it (UTF-8).
  const std::string& name() const { return name_; }
  uint32_t row_count() const { return rows_; }
  uint32_t column_count() const { return cols_; }

  // The text of a cell; a cell outside the sheet, or one without a value,
  // reads as empty.
  std::u16string_view cell(uint32_t row, uint32_t column) const;
  // The first column whose row-0 text is exactly `header`, or -1.
  int column(std::u16string_view header) const;

  // Builds a sheet from rows of cell texts (the first row's length sets the
  // column count; shorter rows read as empty beyond their end). For tests
  // and for callers that have their cells from elsewhere.
  static workbook_sheet from_rows(std::string name, const std::vector<std::vector<std::u16string>>& rows);

 private:
  friend class workbook;
  void reserve(uint32_t rows, uint32_t cols);
  void append_cell(std::u16string_view text);

  std::string name_;
  uint32_t rows_ = 0;
  uint32_t cols_ = 0;
  // All cell texts of the sheet end to end, row by row; ends_[i] is where
  // cell i (row * cols + column) ends, and it starts where cell i - 1 ended.
  std::u16string text_;
  std::vector<uint32_t> ends_;
};

class workbook {
 public:
  workbook() = default;
  workbook(const workbook&) = delete;
  workbook& operator=(const workbook&) = delete;

  // Opens the workbook at `path` and reads every sheet. Answers false (and
  // holds no sheets) when the file cannot be opened or parsed as a workbook.
  bool open(const std::u16string& path);
  // Forgets the sheets.
  void close();

  const std::vector<workbook_sheet>& sheets() const { return sheets_; }
  // The first sheet named exactly `name` (case-sensitive), or null.
  const workbook_sheet* sheet(std::string_view name) const;

 private:
  std::vector<workbook_sheet> sheets_;
};

// The pieces of a cell's text, exposed for testing.
namespace workbook_text {
// UTF-8 to UTF-16; every byte sequence that is not valid UTF-8 (stray
// continuation bytes, overlong forms, surrogates, truncated sequences) gives
// one U+FFFD and reading goes on.
std::u16string from_utf8(std::string_view utf8);
void append_utf8(std::u16string& out, std::string_view utf8);
// A number as the shortest decimal text with 15 significant digits.
void append_number(std::u16string& out, double v);
// The library's date texts "YYYY-MM-DD", "YYYY-MM-DD HH:MM:SS" and
// "HH:MM:SS" as "M/D/YYYY h:mm:ss AM", "M/D/YYYY h:mm:ss PM" or "h:mm:ss AM";
// a date alone is taken at midnight. A text of another shape is kept as it is.
void append_date(std::u16string& out, std::string_view library_text);
}  // namespace workbook_text

}  // namespace tessel::document
