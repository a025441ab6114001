#include "document/workbook/workbook.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "document/workbook/biff_records.h"
#include "document/workbook/compound_file.h"
#include "document/workbook/xlsx_workbook.h"
#include "document/workbook/zip_container.h"
#include "document/io/open_limits.h"
#include "document/io/path_text.h"

namespace tessel::document {

// ---- Sheets -----------------------------------------------------------------

std::u16string_view workbook_sheet::cell(uint32_t row, uint32_t column) const {
  if (row >= rows_ || column >= cols_) return {};
  const size_t i = static_cast<size_t>(row) * cols_ + column;
  if (i >= spans_.size()) return {};
  return std::u16string_view(text_).substr(spans_[i].begin, spans_[i].length);
}

int workbook_sheet::column(std::u16string_view header) const {
  for (uint32_t c = 0; c < cols_; ++c)
    if (cell(0, c) == header) return static_cast<int>(c);
  return -1;
}

void workbook_sheet::reserve(uint32_t rows, uint32_t cols) {
  rows_ = rows;
  cols_ = cols;
  spans_.clear();
  spans_.reserve(static_cast<size_t>(rows) * cols);
}

void workbook_sheet::append_cell(std::u16string_view text) {
  spans_.push_back({static_cast<uint32_t>(text_.size()), static_cast<uint32_t>(text.size())});
  text_.append(text);
}

template <class Read>
void workbook_sheet::take_cells(Read&& read) {
  name_ = std::move(read.name);
  rows_ = read.rows;
  cols_ = read.columns;
  // Cells past the last one with a value are not stored; they read empty.
  // Each position takes the last cell read for it.
  const auto index = [&](const auto& c) { return uint64_t(c.row) * cols_ + c.column; };
  uint64_t count = 0;
  for (const auto& c : read.cells) count = std::max(count, index(c) + 1);
  spans_.assign(count, {});
  for (const auto& c : read.cells) spans_[index(c)] = {c.text_begin, c.text_length};
  text_ = std::move(read.text);
  read.cells = {};
}

void workbook_sheet::take(biff_sheet&& read) { take_cells(std::move(read)); }
void workbook_sheet::take(xlsx_sheet&& read) { take_cells(std::move(read)); }

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

// Reading leaves the heap full of freed blocks (the stream, the shared
// strings, the cell lists) below the sheets that stay; the records built
// next would not fit in most of them, so their pages go back to the system.
void give_back_freed_memory() {
#if defined(__GLIBC__)
  ::malloc_trim(0);
#endif
}

// What one cell of a sheet may cost: its text's end, the layout's slot, and
// what the import later makes of it.
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

// Why a workbook stream was not read. Its first record decides: a workbook
// begins with a BOF record of its version, and only the eighth version is
// read; one that begins well but is not read asked for more than its size
// can hold.
const char16_t* stream_refusal(std::string_view s) {
  auto u16 = [&](size_t at) { return uint16_t(uint8_t(s[at]) | uint8_t(s[at + 1]) << 8); };
  if (s.size() < 6 || u16(0) != 0x0809) return workbook_refusal::damaged_records;
  if (u16(4) < 0x0600) return workbook_refusal::old_version;
  if (u16(4) > 0x0600) return workbook_refusal::damaged_records;
  return workbook_refusal::too_many_cells;
}

}  // namespace

bool workbook::open(const std::u16string& path, workbook_kind kind) {
  close();
  if (kind == workbook_kind::xlsx) {
    // The container is read from the file as its parts are needed.
    if (!file_size_acceptable(path)) {
      refusal_ = u"The file is larger than the memory this computer has free.";
      return false;
    }
    zip_container zip;
    if (!zip.open_file(narrow_path(path))) {
      refusal_ = zip.refusal();
      return false;
    }
    std::error_code ec;
    return read_xlsx(zip, std::filesystem::file_size(narrow_path(path), ec));
  }
  std::string bytes, stream;
  if (!read_whole_file(path, bytes)) {
    refusal_ = u"The file could not be read.";
    return false;
  }
  if (!workbook_stream(bytes, stream)) {
    refusal_ = workbook_refusal::damaged_container;
    return false;
  }
  const uint64_t size = bytes.size();
  bytes = std::string();  // the stream is all that is read from here on
  return read_stream(std::move(stream), size);
}

bool workbook::open_bytes(std::string_view file, workbook_kind kind) {
  close();
  if (kind == workbook_kind::xlsx) {
    zip_container zip;
    if (!zip.open_bytes(file)) {
      refusal_ = zip.refusal();
      return false;
    }
    return read_xlsx(zip, file.size());
  }
  std::string stream;
  if (!workbook_stream(file, stream)) {
    refusal_ = workbook_refusal::damaged_container;
    return false;
  }
  return read_stream(std::move(stream), file.size());
}

bool workbook::read_stream(std::string&& stream, uint64_t file_size) {
  const uint64_t budget = memory_factor * file_size + record_allowance;
  std::vector<biff_sheet> read;
  if (!read_biff_workbook(stream, {budget / bytes_per_cell, budget / sizeof(char16_t)}, read)) {
    refusal_ = stream_refusal(stream);
    return false;
  }
  stream = std::string();
  file_size_ = file_size;
  sheets_.resize(read.size());
  for (size_t i = 0; i < read.size(); ++i) sheets_[i].take(std::move(read[i]));
  read = {};
  give_back_freed_memory();
  return true;
}

bool workbook::read_xlsx(zip_container& zip, uint64_t file_size) {
  xlsx_read read;
  if (!read_xlsx_workbook(zip, file_size, read)) {
    refusal_ = std::move(read.refusal);
    return false;
  }
  file_size_ = read.content_size;
  sheets_.resize(read.sheets.size());
  for (size_t i = 0; i < read.sheets.size(); ++i) sheets_[i].take(std::move(read.sheets[i]));
  read = {};
  give_back_freed_memory();
  return true;
}

void workbook::release(const workbook_sheet& sheet) {
  for (workbook_sheet& s : sheets_) {
    if (&s != &sheet) continue;
    s.rows_ = s.cols_ = 0;
    s.text_ = std::u16string();  // frees it, unlike clear()
    s.spans_ = {};
    s.spans_.shrink_to_fit();
  }
}

void workbook::close() {
  sheets_.clear();
  file_size_ = 0;
  refusal_.clear();
}

const workbook_sheet* workbook::sheet(std::string_view name) const {
  for (const workbook_sheet& s : sheets_)
    if (s.name() == name) return &s;
  return nullptr;
}

}  // namespace tessel::document
