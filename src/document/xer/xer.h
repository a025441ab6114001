// The tree of an XER file: tables of named fields and rows of text cells.
// It knows nothing of what the tables mean and lives only while one file is
// being read.
//
// Memory: a cell is a view into the file's bytes, which the document keeps,
// so a 100 MB export does not turn into millions of heap strings. Cell i of
// a row always stands in column i (keywords never advance the column), so a
// cell finds its field through its row's table; cells therefore store only
// where their bytes are: a row keeps a pointer to its line and each cell a
// 32-bit offset and length within that line (8 bytes a cell).
//
// Text: the file's encoding is settled once, before the first table is
// read (detected from the bytes unless the caller names one), and every
// table carries the decoder its text cells are read with. Table and field
// names are the export's own ASCII identifiers and stay byte for character.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "document/xer/text_encoding.h"

namespace tessel::document {

class xer_table;
class xer_parser;

namespace xer_detail {
// Large blocks come straight from the system in huge pages where it offers
// them: filling a 100 MB tree page by page costs more than reading it.
void* big_allocate(size_t bytes);
void big_deallocate(void* p, size_t bytes) noexcept;

template <class T>
struct big_allocator {
  using value_type = T;
  big_allocator() = default;
  template <class U>
  big_allocator(const big_allocator<U>&) {}
  T* allocate(size_t n) { return static_cast<T*>(big_allocate(n * sizeof(T))); }
  void deallocate(T* p, size_t n) noexcept { big_deallocate(p, n * sizeof(T)); }
  template <class U>
  bool operator==(const big_allocator<U>&) const { return true; }
};
}  // namespace xer_detail

class xer_field {
 public:
  explicit xer_field(std::u16string n) : name_(std::move(n)) {}
  virtual ~xer_field() = default;
  const std::u16string& name() const { return name_; }

 private:
  std::u16string name_;
};

// A cell as handed out by its row: the bytes of its value, its field
// (none when the row has more values than the table has fields) and the
// decoder of its table.
class xer_cell {
 public:
  xer_cell(std::string_view bytes, const xer_field* field, const text_decoder* decoder = nullptr)
      : bytes_(bytes), field_(field), decoder_(decoder) {}
  virtual ~xer_cell() = default;
  // The value in the file's encoding; without a decoder every byte becomes
  // the character of the same code (ISO 8859-1).
  std::u16string text() const;
  std::string_view bytes() const { return bytes_; }
  const xer_field* field() const { return field_; }

 private:
  std::string_view bytes_;
  const xer_field* field_;
  const text_decoder* decoder_;
};

class xer_row {
 public:
  xer_row(xer_table* table, uint32_t first) : table_(table), first_(first) {}
  virtual ~xer_row() = default;

  size_t size() const { return count_; }
  xer_cell cell(size_t i) const;
  std::string_view cell_bytes(size_t i) const;
  const xer_field* cell_field(size_t i) const;  // none past the last field

  // Appends a cell holding `bytes` (a view into the document's bytes) and
  // answers it. The field is the table's field at this cell's column.
  // Bytes that cannot be reached from the row's line by a 32-bit offset are
  // copied into the table, so any view is accepted.
  xer_cell add_cell(std::string_view bytes);

  // The row's line in its file (the header line is 1); 0 for a row made by hand.
  size_t line_number() const { return line_number_; }
  // How many values the line wrote: a TAB that ends the line stands before
  // an empty last value, which holds no cell.
  size_t values_written() const { return count_ + (trailing_tab_ ? 1 : 0); }

 private:
  friend class xer_table;
  friend class xer_parser;
  xer_table* table_;
  const char* line_ = nullptr;  // base of the cells' offsets
  uint32_t first_;              // index of the first cell in the table's cell store
  uint32_t count_ = 0;
  uint32_t line_number_ = 0;
  bool trailing_tab_ = false;
};

class xer_table {
 public:
  xer_table() = default;
  virtual ~xer_table() = default;
  xer_table(const xer_table&) = delete;
  xer_table& operator=(const xer_table&) = delete;

  const std::u16string& name() const { return name_; }
  void set_name(std::u16string n) { name_ = std::move(n); }

  xer_field* add_field(std::u16string name);
  // The answer stays valid until the next add_row.
  xer_row* add_row();

  const std::vector<std::unique_ptr<xer_field>>& fields() const { return fields_; }
  const std::vector<xer_row>& rows() const { return rows_; }
  // How the text of this table's cells is read: the file's encoding for a
  // table the parser made, ISO 8859-1 for a table made by hand.
  const text_decoder& decoder() const;

 private:
  friend class xer_row;
  friend class xer_doc;
  friend class xer_parser;
  // A cell's place in its row's line; `off == copied` marks a cell whose
  // bytes were copied into `copies_`, and `len` is then the copy's index.
  struct cell_ref {
    uint32_t off;
    uint32_t len;
  };
  static constexpr uint32_t copied = UINT32_MAX;

  // How many fields a stored cell could be matched against: a field added
  // after some rows were read does not reach back to those rows' cells.
  size_t field_limit(size_t cell_index) const;

  std::u16string name_;
  const text_decoder* decoder_ = nullptr;
  std::vector<std::unique_ptr<xer_field>> fields_;
  std::vector<xer_row> rows_;
  std::vector<cell_ref, xer_detail::big_allocator<cell_ref>> cells_;  // all rows' cells, row after row
  std::vector<std::unique_ptr<std::string>> copies_;
  // (end of a run of cells, number of fields those cells saw); empty when
  // every field was known before the first cell, the usual case.
  std::vector<std::pair<size_t, size_t>> field_limits_;
};

class xer_doc {
 public:
  xer_doc() = default;
  virtual ~xer_doc() = default;
  xer_doc(const xer_doc&) = delete;
  xer_doc& operator=(const xer_doc&) = delete;

  xer_table* add_table();
  const std::vector<std::unique_ptr<xer_table>>& tables() const { return tables_; }

  // The file's bytes, which every cell views. Set by the parser.
  std::string& bytes() { return bytes_; }
  // How its tables' text is read. Set by the parser; ISO 8859-1 before.
  const text_decoder& decoder() const { return decoder_; }
  void set_decoder(const text_decoder& d) { decoder_ = d; }

 private:
  std::string bytes_;
  text_decoder decoder_;
  std::vector<std::unique_ptr<xer_table>> tables_;
};

class xer_parser {
 public:
  virtual ~xer_parser() = default;

  // True exactly when the first token of the file's first line is "ERMHDR"
  // (after a UTF-8 byte-order mark, which is skipped). Reads only the first
  // few bytes of the file.
  static bool is_xer(const std::u16string& path);
  // The whole file as a tree, or none when the file cannot be opened, is
  // empty or does not start with "ERMHDR". Its text is read in `encoding`,
  // or, without one, in the encoding detect_encoding finds in its bytes.
  static std::unique_ptr<xer_doc> parse(const std::u16string& path,
                                        std::optional<text_encoding> encoding = std::nullopt);
  // The same reading over bytes already in memory (tests, fuzzing).
  static std::unique_ptr<xer_doc> parse_bytes(std::string bytes,
                                              std::optional<text_encoding> encoding = std::nullopt);

  // What a streaming reader learns of each table before storing any row:
  // its name and row count, and the size of the whole file. The plan answers, per table, whether its rows
  // are wanted at all (unwanted tables are passed over unread), or false
  // to refuse the whole file, for example when its rows would not fit in
  // memory.
  struct table_count {
    std::u16string name;
    size_t rows = 0;
    bool wanted = true;
  };
  // What the first look at the whole file finds.
  struct xer_file_facts {
    size_t bytes = 0;
    // The "%E" line that ends the data; a file without one was cut short.
    bool end_marker = false;
    // Lines up to the end marker, or in the file without one.
    size_t lines = 0;
  };
  using table_plan = std::function<bool(std::vector<table_count>& tables, const xer_file_facts& file)>;

  // Streaming form used by document loading: each table is handed to
  // `on_table` as soon as it is complete, in file order, and destroyed right
  // after, so only one table's cells are held at a time. Answers false
  // when `parse` would answer no document, or when `plan` refuses. The
  // text is read in `encoding`, or, without one, in the encoding
  // detect_encoding finds; when the answer is true `used` (if given)
  // receives the encoding the text was read in.
  static bool parse_tables(const std::u16string& path,
                           const std::function<void(const xer_table&)>& on_table,
                           const table_plan& plan = {},
                           std::optional<text_encoding> encoding = std::nullopt, text_encoding* used = nullptr);
  // The same over the file's bytes already in memory.
  static bool parse_tables_bytes(std::string bytes,
                                 const std::function<void(const xer_table&)>& on_table,
                                 const table_plan& plan = {},
                                 std::optional<text_encoding> encoding = std::nullopt,
                                 text_encoding* used = nullptr);

 private:
  template <class Sink>
  static bool read_tree(const std::string& bytes, Sink& sink, std::optional<text_encoding> encoding,
                        const table_plan& plan = {});
  static void reserve_rows(xer_table& table, size_t rows);
  static void reserve_cells(xer_table& table, size_t row_bytes);
  static void read_row(xer_table& table, const char* line, const char* end, uint32_t number);
};

}  // namespace tessel::document
