// A spreadsheet workbook (Excel 97-2003: records in a compound file; or
// Excel 2007+: XML parts in a ZIP container) read once into memory: every worksheet in workbook order with its name, its row
// and column counts and the formatted text of every cell. The file's bytes
// are released as soon as the sheets are built.
//
// A cell's text is what the spreadsheet shows for it: text cells as they
// stand, numbers as their shortest decimal text ("%.15g"), dates and times as
// month/day/year hours:minutes:seconds with AM or PM ("1/5/2012 8:00:00 AM";
// a date alone at 12:00:00 AM, a time alone without its date), the form the
// date reader of a workbook understands.
//
// What a file may cost is bounded by its size: its sheets may span a number
// of cells and make an amount of text in proportion to it, and a workbook
// asking for more is refused.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessel::document {

struct biff_sheet;
struct xlsx_sheet;
class zip_container;

// The container a workbook comes in.
enum class workbook_kind { xls, xlsx };

// Why a workbook is refused, in the words the user reads under "Can't open
// document".
namespace workbook_refusal {
inline constexpr const char16_t* damaged_container =
    u"The file is damaged: its workbook container cannot be read.";
inline constexpr const char16_t* damaged_records = u"The workbook is damaged: its records cannot be read.";
inline constexpr const char16_t* old_version = u"The workbook is older than Excel 97 and cannot be read.";
inline constexpr const char16_t* too_many_cells =
    u"The workbook's sheets claim far more cells than a file of its size can hold.";
inline constexpr const char16_t* too_many_records =
    u"The workbook's rows would take far more memory than a file of its size justifies.";
inline constexpr const char16_t* no_user_data = u"The workbook has no USERDATA sheet: it is not a schedule export.";
inline constexpr const char16_t* no_task_sheet = u"The workbook has no TASK sheet.";
}  // namespace workbook_refusal

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
  // Lays out the cells of a sheet as read from its records or its XML.
  void take(biff_sheet&& read);
  void take(xlsx_sheet&& read);
  template <class Read>
  void take_cells(Read&& read);

  std::string name_;
  uint32_t rows_ = 0;
  uint32_t cols_ = 0;
  // Where each cell's text stands in `text_`, by position (row * cols +
  // column); cells of equal text may share it. Positions past the last
  // cell with a value are not stored.
  struct text_span {
    uint32_t begin = 0;
    uint32_t length = 0;
  };
  std::u16string text_;
  std::vector<text_span> spans_;
};

class workbook {
 public:
  workbook() = default;
  workbook(const workbook&) = delete;
  workbook& operator=(const workbook&) = delete;

  // Opens the workbook at `path` and reads every sheet. Answers false (and
  // holds no sheets) when the file cannot be opened or parsed as a workbook;
  // `refusal` then says why in plain words.
  bool open(const std::u16string& path, workbook_kind kind = workbook_kind::xls);
  // The same for the bytes of a whole file.
  bool open_bytes(std::string_view file, workbook_kind kind = workbook_kind::xls);
  const std::u16string& refusal() const { return refusal_; }
  // Forgets the sheets.
  void close();
  // Frees the cells of one of its sheets, which then reads as empty; the
  // other sheets stay where they are.
  void release(const workbook_sheet& sheet);

  const std::vector<workbook_sheet>& sheets() const { return sheets_; }
  // The size of the file the sheets were read from; for a ZIP container,
  // what the parts read expand to, since that is what a binary workbook's
  // file holds.
  uint64_t file_size() const { return file_size_; }
  // The first sheet named exactly `name` (case-sensitive), or null.
  const workbook_sheet* sheet(std::string_view name) const;

 private:
  // Reads the sheets of a workbook stream taken from a file of `file_size` bytes.
  bool read_stream(std::string&& stream, uint64_t file_size);
  // Reads the sheets of an open ZIP container taken from a file of `file_size` bytes.
  bool read_xlsx(zip_container& zip, uint64_t file_size);

  std::vector<workbook_sheet> sheets_;
  uint64_t file_size_ = 0;
  std::u16string refusal_;
};

}  // namespace tessel::document
