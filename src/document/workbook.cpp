#include "document/workbook.h"

#include <freexl.h>

#include <cstdio>
#include <fstream>

#include "document/compound_file.h"
#include "document/open_limits.h"
#include "document/path_text.h"

namespace tessel::document {

// ---- Cell texts -------------------------------------------------------------

namespace workbook_text {

void append_utf8(std::u16string& out, std::string_view s) {
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  const auto* const end = p + s.size();
  out.reserve(out.size() + s.size());
  while (p < end) {
    const unsigned char b = *p;
    if (b < 0x80) {
      out.push_back(b);
      ++p;
      continue;
    }
    // The length of the sequence and the smallest code point it may carry
    // (a smaller one is an overlong form).
    int len = 0;
    uint32_t cp = 0, min = 0;
    if (b >= 0xC2 && b <= 0xDF) {
      len = 2;
      cp = b & 0x1Fu;
      min = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
      len = 3;
      cp = b & 0x0Fu;
      min = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
      len = 4;
      cp = b & 0x07u;
      min = 0x10000;
    }
    bool ok = len > 0 && end - p >= len;
    for (int i = 1; ok && i < len; ++i) {
      if ((p[i] & 0xC0u) != 0x80u) ok = false;
      else cp = (cp << 6) | (p[i] & 0x3Fu);
    }
    if (ok && (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) ok = false;
    if (!ok) {
      out.push_back(u'\uFFFD');
      ++p;  // resynchronise on the next byte
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    p += len;
  }
}

std::u16string from_utf8(std::string_view utf8) {
  std::u16string out;
  append_utf8(out, utf8);
  return out;
}

void append_number(std::u16string& out, double v) {
  char buf[40];
  const int n = std::snprintf(buf, sizeof buf, "%.15g", v);
  for (int i = 0; i < n && i < static_cast<int>(sizeof buf); ++i) out.push_back(static_cast<char16_t>(buf[i]));
}

namespace {

// Reads `n` digits at `at`; false when one is not a digit.
bool digits(std::string_view s, size_t at, size_t n, int& v) {
  if (at + n > s.size()) return false;
  v = 0;
  for (size_t i = at; i < at + n; ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    v = v * 10 + (s[i] - '0');
  }
  return true;
}

void append_int(std::u16string& out, int v, int width = 1) {
  char buf[16];
  const int n = std::snprintf(buf, sizeof buf, "%0*d", width, v);
  for (int i = 0; i < n && i < static_cast<int>(sizeof buf); ++i) out.push_back(static_cast<char16_t>(buf[i]));
}

// "h:mm:ss AM" on the twelve-hour clock: hour 0 is 12 AM, hour 12 is 12 PM.
void append_clock(std::u16string& out, int h, int m, int s) {
  append_int(out, h % 12 == 0 ? 12 : h % 12);
  out.push_back(u':');
  append_int(out, m, 2);
  out.push_back(u':');
  append_int(out, s, 2);
  out += h < 12 ? u" AM" : u" PM";
}

}  // namespace

void append_date(std::u16string& out, std::string_view t) {
  int y, mo, d, h = 0, mi = 0, s = 0;
  const bool date = digits(t, 0, 4, y) && t.size() >= 10 && t[4] == '-' && digits(t, 5, 2, mo) && t[7] == '-' &&
                    digits(t, 8, 2, d);
  if (date && (t.size() == 10 || (t.size() == 19 && t[10] == ' ' && digits(t, 11, 2, h) && t[13] == ':' &&
                                  digits(t, 14, 2, mi) && t[16] == ':' && digits(t, 17, 2, s)))) {
    append_int(out, mo);
    out.push_back(u'/');
    append_int(out, d);
    out.push_back(u'/');
    append_int(out, y);
    out.push_back(u' ');
    append_clock(out, h, mi, s);
    return;
  }
  if (t.size() == 8 && digits(t, 0, 2, h) && t[2] == ':' && digits(t, 3, 2, mi) && t[5] == ':' && digits(t, 6, 2, s)) {
    append_clock(out, h, mi, s);
    return;
  }
  append_utf8(out, t);
}

}  // namespace workbook_text

// ---- Sheets -----------------------------------------------------------------

std::u16string_view workbook_sheet::cell(uint32_t row, uint32_t column) const {
  if (row >= rows_ || column >= cols_) return {};
  const size_t i = static_cast<size_t>(row) * cols_ + column;
  if (i >= ends_.size()) return {};
  const uint32_t begin = i == 0 ? 0 : ends_[i - 1];
  return std::u16string_view(text_).substr(begin, ends_[i] - begin);
}

int workbook_sheet::column(std::u16string_view header) const {
  for (uint32_t c = 0; c < cols_; ++c)
    if (cell(0, c) == header) return static_cast<int>(c);
  return -1;
}

void workbook_sheet::reserve(uint32_t rows, uint32_t cols) {
  rows_ = rows;
  cols_ = cols;
  ends_.clear();
  ends_.reserve(static_cast<size_t>(rows) * cols);
}

void workbook_sheet::append_cell(std::u16string_view text) {
  text_.append(text);
  ends_.push_back(static_cast<uint32_t>(text_.size()));
}

workbook_sheet workbook_sheet::from_rows(std::string name, const std::vector<std::vector<std::u16string>>& rows) {
  workbook_sheet s;
  s.name_ = std::move(name);
  const uint32_t cols = rows.empty() ? 0 : static_cast<uint32_t>(rows[0].size());
  s.reserve(static_cast<uint32_t>(rows.size()), cols);
  for (const auto& row : rows)
    for (uint32_t c = 0; c < cols; ++c) s.append_cell(c < row.size() ? std::u16string_view(row[c]) : u"");
  return s;
}

// ---- The workbook -----------------------------------------------------------

namespace {

// What one claimed cell may cost: the library's own cell and ours.
constexpr uint64_t bytes_per_cell = 32;

// The whole file, when it is a regular file within the open limits.
bool read_whole_file(const std::u16string& path, std::string& out) {
  std::ifstream in(narrow_path(path), std::ios::binary);
  if (!in || !file_size_acceptable(path)) return false;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size <= 0 || uint64_t(size) > max_schedule_bytes) return false;
  out.resize(size_t(size));
  in.seekg(0);
  in.read(out.data(), size);
  out.resize(size_t(in.gcount()));
  return !out.empty();
}

// Closes the library's handle however reading ends.
struct freexl_handle {
  const void* h = nullptr;
  ~freexl_handle() {
    if (h) freexl_close(h);
  }
};

void append_cell_text(std::u16string& out, const FreeXL_CellValue& v) {
  switch (v.type) {
    case FREEXL_CELL_INT:
      workbook_text::append_number(out, v.value.int_value);
      break;
    case FREEXL_CELL_DOUBLE:
      workbook_text::append_number(out, v.value.double_value);
      break;
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
      if (v.value.text_value) workbook_text::append_utf8(out, v.value.text_value);
      break;
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
      if (v.value.text_value) workbook_text::append_date(out, v.value.text_value);
      break;
    default:  // no value
      break;
  }
}

}  // namespace

bool workbook::open(const std::u16string& path) {
  close();
  // The library trusts the file's structure; it only ever sees files whose
  // structure was checked, and only as many cells as memory allows.
  std::string bytes;
  if (!read_whole_file(path, bytes)) return false;
  const uint64_t max_cells = (memory_factor * bytes.size() + record_allowance) / bytes_per_cell;
  if (!compound_file_sound(bytes, max_cells)) return false;
  bytes = std::string();

  freexl_handle file;
  // The library asks to be closed even when opening failed.
  if (freexl_open(narrow_path(path).c_str(), &file.h) != FREEXL_OK) return false;

  unsigned int sheet_count = 0;
  if (freexl_get_info(file.h, FREEXL_BIFF_SHEET_COUNT, &sheet_count) != FREEXL_OK) return false;
  // A sheet index is 16 bits wide in the library's interface.
  if (sheet_count > 0xFFFFu) sheet_count = 0xFFFFu;

  // A refused workbook holds no sheets.
  auto fail = [this] {
    sheets_.clear();
    return false;
  };
  sheets_.reserve(sheet_count);
  std::u16string cell;
  for (unsigned int i = 0; i < sheet_count; ++i) {
    workbook_sheet& s = sheets_.emplace_back();
    const char* name = nullptr;
    if (freexl_get_worksheet_name(file.h, static_cast<unsigned short>(i), &name) == FREEXL_OK && name) s.name_ = name;
    unsigned int rows = 0;
    unsigned short cols = 0;
    if (freexl_select_active_worksheet(file.h, static_cast<unsigned short>(i)) != FREEXL_OK ||
        freexl_worksheet_dimensions(file.h, &rows, &cols) != FREEXL_OK) {
      continue;  // a sheet the library cannot select reads as empty
    }
    if (uint64_t(rows) * cols > max_cells) return fail();
    s.reserve(rows, cols);
    for (unsigned int r = 0; r < rows; ++r) {
      for (unsigned short c = 0; c < cols; ++c) {
        FreeXL_CellValue v{};
        cell.clear();
        if (freexl_get_cell_value(file.h, r, c, &v) == FREEXL_OK) append_cell_text(cell, v);
        s.append_cell(cell);
      }
    }
  }
  return true;
}

void workbook::close() { sheets_.clear(); }

const workbook_sheet* workbook::sheet(std::string_view name) const {
  for (const workbook_sheet& s : sheets_)
    if (s.name() == name) return &s;
  return nullptr;
}

}  // namespace tessel::document
