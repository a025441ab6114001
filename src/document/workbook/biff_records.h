// The records of a workbook stream (Excel 97-2003, the eighth version of the
// binary record format): the workbook's own records (sheet list, shared
// strings, number formats, cell styles, the date system) followed by one
// record run per sheet, each between its own begin and end record.
//
// Reading keeps to what a table of texts needs: every worksheet's name, its
// size and the text of each of its cells. Text arrives as UTF-16 (or as
// single bytes standing for its first 256 code points) and stays UTF-16.
// Every length, index and offset a record carries is checked against the
// record and the stream; a damaged record is skipped or ends its run, it is
// never read beyond. Time is linear in the stream's size and memory bounded
// by the limits the caller gives.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessel::document {

struct biff_cell {
  uint16_t row = 0;
  uint16_t column = 0;
  // The cell's text in its sheet's `text`. Cells of equal text share one
  // copy: a relationship sheet repeats each activity's name and WBS path on
  // every relationship of it.
  uint32_t text_begin = 0;
  uint32_t text_length = 0;
};

struct biff_sheet {
  std::string name;  // UTF-8
  // The size the sheet declares, grown to hold every cell read.
  uint32_t rows = 0;
  uint32_t columns = 0;
  // The cells with a value, in stream order (which is not always row order,
  // and a cell may come twice: the later one counts); their distinct texts
  // end to end.
  std::vector<biff_cell> cells;
  std::u16string text;
};

struct biff_limits {
  // Cells the sheets may span together (rows times columns of each).
  uint64_t cells = 0;
  // UTF-16 units the distinct cell texts of a sheet may take together.
  uint64_t text_units = 0;
};

// Reads the worksheets of `stream` in workbook order. Answers false, with no
// sheets, when the stream is not a workbook of the record format's eighth
// version (older versions are refused), or when its sheets declare more
// cells or make more text than `limits` allow. A sheet whose records cannot
// be found reads as empty; a cell past the declared size grows the sheet
// while the cell limit holds and is dropped when it would not.
bool read_biff_workbook(std::string_view stream, const biff_limits& limits, std::vector<biff_sheet>& sheets);

// How a cell's number is shown, exposed for testing.
namespace biff_text {

enum class number_shape : uint8_t { number, date, time, date_time };

// The shape a number format gives: built-in formats by their index
// (`custom` empty), custom ones by the date and time letters that stand
// outside quoted text, brackets and escaped characters.
number_shape shape_of_format(uint16_t index, std::u16string_view custom);

// A number as the shortest decimal text with 15 significant digits.
void append_number(std::u16string& out, double v);

// A day number of the workbook's date system (days since 1900, or since
// 1904 when `from_1904`) as "M/D/YYYY h:mm:ss AM" (a date alone at
// midnight), or the time of day alone as "h:mm:ss PM"; to the nearest
// second. A number outside the dates of the calendar (before 1900 or
// 1904, after 9999, not a number) is shown as a number.
void append_date(std::u16string& out, double serial, number_shape shape, bool from_1904);

}  // namespace biff_text

}  // namespace tessel::document
