// Reading an XER file into its tree of tables, fields, rows and cells.
//
// The file is read in one go into one buffer that the document keeps; lines
// are found with memchr and each data line is split at its TABs in a single
// pass, every value becoming an 8-byte (offset, length) reference into its
// line. No string is made per cell.
#include "document/xer/xer.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

#include "document/io/open_limits.h"
#include "document/io/path_text.h"

namespace tessel::document {

// ---------------------------------------------------------------- memory

namespace xer_detail {

namespace {
constexpr size_t big_block = size_t(4) << 20;  // below this, the ordinary heap
}

void* big_allocate(size_t bytes) {
  if (bytes < big_block) return ::operator new(bytes);
  void* p = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) throw std::bad_alloc();  // as the standard allocator does
  ::madvise(p, bytes, MADV_HUGEPAGE);
  return p;
}

void big_deallocate(void* p, size_t bytes) noexcept {
  if (bytes < big_block) {
    ::operator delete(p);
  } else {
    ::munmap(p, bytes);
  }
}

}  // namespace xer_detail

namespace {

// Asks for huge pages over the whole pages inside [p, p + bytes) before they
// are first touched; a hint only.
void advise_huge(void* p, size_t bytes) {
  if (bytes < xer_detail::big_block) return;
  const uintptr_t page = 4096;
  const uintptr_t b = (reinterpret_cast<uintptr_t>(p) + page - 1) & ~(page - 1);
  const uintptr_t e = (reinterpret_cast<uintptr_t>(p) + bytes) & ~(page - 1);
  if (e > b) ::madvise(reinterpret_cast<void*>(b), e - b, MADV_HUGEPAGE);
}

// Opens a regular file for reading; directories, devices and pipes are not
// schedule files. Answers -1 when the file cannot be used.
int open_regular(const std::u16string& path, off_t* size) {
  const std::string name = narrow_path(path);
  int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return -1;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return -1;
  }
  *size = st.st_size;
  return fd;
}

// Reads up to `n` bytes, retrying short and interrupted reads. Answers the
// count read, or -1 on a read error.
ssize_t read_fully(int fd, char* buf, size_t n) {
  size_t got = 0;
  while (got < n) {
    ssize_t r = ::read(fd, buf + got, n - got);
    if (r < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (r == 0) break;
    got += size_t(r);
  }
  return ssize_t(got);
}

// The whole file in one buffer; false when it cannot be read or is empty.
bool read_file(const std::u16string& path, std::string& out) {
  off_t size = 0;
  int fd = open_regular(path, &size);
  if (fd < 0) return false;
  out.clear();
  bool ok = false;
  if (size > 0 && size_acceptable(uint64_t(size), available_memory())) {
    out.reserve(size_t(size));
    advise_huge(out.data(), size_t(size));
    out.resize(size_t(size));
    ssize_t got = read_fully(fd, out.data(), out.size());
    if (got > 0) {
      out.resize(size_t(got));  // the file may have shrunk meanwhile
      ok = true;
    }
  }
  ::close(fd);
  if (!ok) out.clear();
  return ok;
}

// The first token of the first line is exactly "ERMHDR". `p` holds the
// file's first `n` bytes; when n < 8 they are the whole file. A CR counts as
// a line end only right before the LF.
bool has_header(const char* p, size_t n) {
  if (n < 6 || std::memcmp(p, "ERMHDR", 6) != 0) return false;
  if (n == 6) return true;
  const char c = p[6];
  return c == '\t' || c == '\n' || (c == '\r' && n >= 8 && p[7] == '\n');
}

// The keyword of a line [p, le): 'T', 'F', 'R' or 'E' when its first token
// is "%T", "%F", "%R" or "%E", else 0 (an empty line, or any other first
// token, makes the line ignored).
inline char keyword_of(const char* p, const char* le) {
  const size_t n = size_t(le - p);
  if (n < 2 || p[0] != '%' || (n > 2 && p[2] != '\t')) return 0;
  const char k = p[1];
  return k == 'T' || k == 'F' || k == 'R' || k == 'E' ? k : 0;
}

// Calls f(line, line_end, keyword) for each line after the header line up
// to and including the "%E" line. A CR right before the LF is not part of
// the line; the last line needs no LF.
// The line's number (the header line is 1) comes last.
template <class F>
void for_each_line(const char* p, const char* end, F&& f) {
  const char* nl = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
  p = nl ? nl + 1 : end;  // the rest of the header line is not used
  uint32_t number = 1;
  while (p < end) {
    ++number;
    nl = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
    const char* le = nl ? nl : end;
    const char* next = nl ? nl + 1 : end;
    if (nl && le > p && le[-1] == '\r') --le;
    const char k = keyword_of(p, le);
    if (k) {
      f(p, le, k, number);
      if (k == 'E') return;  // end of data: nothing after this line is read
    }
    p = next;
  }
}

// "%T", "%F" and "%R" never count as values, wherever they stand.
inline bool is_keyword(const char* s, const char* e) {
  return e - s == 2 && s[0] == '%' && (s[1] == 'T' || s[1] == 'F' || s[1] == 'R');
}

// Calls f(begin, end) for each value token of a keyword line [line, le):
// every token after the two-character keyword that is not itself a keyword.
// Two adjacent TABs give an empty value; a TAB at the end of the line gives
// none.
template <class F>
void for_each_value(const char* line, const char* le, F&& f) {
  const char* cur = line + 2;  // the TAB after the keyword, or the line end
  while (cur != le) {
    const char* s = cur + 1;
    if (s == le) break;
    const char* tab = static_cast<const char*>(std::memchr(s, '\t', size_t(le - s)));
    const char* te = tab ? tab : le;
    if (!is_keyword(s, te)) f(s, te);
    cur = te;
  }
}

std::u16string latin1(const char* s, const char* e) {
  std::u16string out(size_t(e - s), u'\0');
  for (size_t i = 0; i < out.size(); ++i) out[i] = char16_t(static_cast<unsigned char>(s[i]));
  return out;
}

// Keeps every table in the document.
struct doc_sink {
  xer_doc& doc;
  const text_decoder& use(const text_decoder& d) {
    doc.set_decoder(d);
    return doc.decoder();
  }
  xer_table* new_table(const char*) { return doc.add_table(); }
  void finish() {}
};

// Hands each table over once the next one starts (or the file ends) and
// frees it right after.
//
// The bytes of tables already handed over are never looked at again, so
// their pages are given back to the system as the reading goes on: a 100 MB
// export then never holds its whole text in memory beside its records.
struct stream_sink {
  const std::function<void(const xer_table&)>& on_table;
  std::unique_ptr<xer_table> current;
  const char* released = nullptr;  // bytes before this are given back
  text_decoder decoder{};
  const text_decoder& use(const text_decoder& d) {
    decoder = d;
    return decoder;
  }
  xer_table* new_table(const char* line) {
    finish();
    release_before(line);
    current = std::make_unique<xer_table>();
    return current.get();
  }
  void release_before(const char* line) {
    const uintptr_t page = uintptr_t(::sysconf(_SC_PAGESIZE));
    const uintptr_t from = (reinterpret_cast<uintptr_t>(released) + page - 1) & ~(page - 1);
    const uintptr_t to = reinterpret_cast<uintptr_t>(line) & ~(page - 1);
    if (released && to > from) ::madvise(reinterpret_cast<void*>(from), to - from, MADV_DONTNEED);
    if (!released || to > from) released = reinterpret_cast<const char*>(to > from ? to : from);
  }
  void finish() {
    if (!current) return;
    if (on_table) on_table(*current);
    current.reset();
  }
};

}  // namespace

// ---------------------------------------------------------------- the tree

std::u16string xer_cell::text() const {
  if (decoder_) return decoder_->decode(bytes_);
  return latin1(bytes_.data(), bytes_.data() + bytes_.size());
}

std::string_view xer_row::cell_bytes(size_t i) const {
  if (!table_ || i >= count_) return {};
  const xer_table::cell_ref& c = table_->cells_[first_ + i];
  if (c.off == xer_table::copied) return *table_->copies_[c.len];
  if (c.len == 0) return {};
  return std::string_view(line_ + c.off, c.len);
}

const xer_field* xer_row::cell_field(size_t i) const {
  if (!table_ || i >= count_) return nullptr;
  if (i >= table_->field_limit(first_ + i)) return nullptr;
  return table_->fields_[i].get();
}

xer_cell xer_row::cell(size_t i) const {
  return xer_cell(cell_bytes(i), cell_field(i), table_ ? &table_->decoder() : nullptr);
}

xer_cell xer_row::add_cell(std::string_view bytes) {
  // Only the table's last row can grow: its cells must stay contiguous.
  if (!table_ || size_t(first_) + count_ != table_->cells_.size() ||
      table_->cells_.size() >= xer_table::copied - 1) {
    return xer_cell(bytes, nullptr);
  }
  xer_table::cell_ref ref{0, 0};
  if (!bytes.empty()) {
    if (!line_) line_ = bytes.data();
    const auto base = reinterpret_cast<uintptr_t>(line_);
    const auto at = reinterpret_cast<uintptr_t>(bytes.data());
    if (at >= base && at - base < xer_table::copied && bytes.size() < xer_table::copied) {
      ref = {uint32_t(at - base), uint32_t(bytes.size())};
    } else {
      // Out of reach of a 32-bit offset (another buffer, or a line beyond
      // 4 GiB): keep a copy instead.
      table_->copies_.push_back(std::make_unique<std::string>(bytes));
      ref = {xer_table::copied, uint32_t(table_->copies_.size() - 1)};
    }
  }
  table_->cells_.push_back(ref);
  ++count_;
  return cell(count_ - 1);
}

size_t xer_table::field_limit(size_t cell_index) const {
  if (field_limits_.empty()) return fields_.size();
  auto it = std::upper_bound(field_limits_.begin(), field_limits_.end(), cell_index,
                             [](size_t i, const std::pair<size_t, size_t>& e) { return i < e.first; });
  return it == field_limits_.end() ? fields_.size() : it->second;
}

xer_field* xer_table::add_field(std::u16string name) {
  // Cells read so far keep the field count they were read against.
  const size_t run_start = field_limits_.empty() ? 0 : field_limits_.back().first;
  if (cells_.size() > run_start) field_limits_.emplace_back(cells_.size(), fields_.size());
  fields_.push_back(std::make_unique<xer_field>(std::move(name)));
  return fields_.back().get();
}

const text_decoder& xer_table::decoder() const {
  static const text_decoder by_byte;
  return decoder_ ? *decoder_ : by_byte;
}

xer_row* xer_table::add_row() {
  const size_t first = std::min<size_t>(cells_.size(), copied);
  rows_.emplace_back(this, uint32_t(first));
  return &rows_.back();
}

xer_table* xer_doc::add_table() {
  tables_.push_back(std::make_unique<xer_table>());
  tables_.back()->decoder_ = &decoder_;
  return tables_.back().get();
}

// ---------------------------------------------------------------- reading

void xer_parser::read_row(xer_table& table, const char* line, const char* le, uint32_t number) {
  const size_t n = size_t(le - line);
  auto& cells = table.cells_;
  const bool trailing_tab = n > 2 && le[-1] == '\t';
  if (n >= xer_table::copied - 1 || cells.size() + n >= xer_table::copied - 1) {
    // Too long for 32-bit offsets: the general path copies what it must.
    xer_row* row = table.add_row();
    row->line_number_ = number;
    row->trailing_tab_ = trailing_tab;
    for_each_value(line, le, [&](const char* s, const char* e) {
      row->add_cell(std::string_view(s, size_t(e - s)));
    });
    return;
  }
  const auto first = uint32_t(cells.size());
  xer_row& row = table.rows_.emplace_back(&table, first);
  row.line_ = line;
  row.line_number_ = number;
  row.trailing_tab_ = trailing_tab;
  // The values are the runs between the TABs after "%R"; a TAB at the end
  // of the line starts no further value. Values average a few bytes, so the
  // TABs are found sixteen bytes at a time rather than one memchr per value.
  const char* value = n > 2 ? line + 3 : le;  // after "%R" and its TAB
  auto add = [&](const char* e) {
    if (!is_keyword(value, e)) cells.push_back({uint32_t(value - line), uint32_t(e - value)});
    value = e + 1;
  };
  const char* q = value;
#if defined(__SSE2__)
  const __m128i tabs = _mm_set1_epi8('\t');
  for (; q + 16 <= le; q += 16) {
    auto m = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(q)), tabs)));
    while (m) {
      add(q + __builtin_ctz(m));
      m &= m - 1;
    }
  }
#endif
  for (; q < le; ++q) {
    if (*q == '\t') add(q);
  }
  if (value < le) add(le);
  row.count_ = uint32_t(cells.size() - first);
}

void xer_parser::reserve_rows(xer_table& table, size_t rows) {
  table.rows_.reserve(rows);
  advise_huge(table.rows_.data(), rows * sizeof(xer_row));
}

void xer_parser::reserve_cells(xer_table& table, size_t row_bytes) {
  // Rows of a table mostly have the same length, so the first row sizes the
  // cell store; the store still grows if the guess falls short. A cell needs
  // at least its TAB, which bounds the guess by the bytes of the rows.
  const size_t first = table.rows_.empty() ? 0 : table.rows_[0].count_;
  const size_t guess = std::min(table.rows_.capacity() * first, row_bytes);
  if (guess < xer_table::copied) table.cells_.reserve(guess);
}

template <class Sink>
bool xer_parser::read_tree(const std::string& bytes, Sink& sink, std::optional<text_encoding> encoding,
                           const table_plan& plan) {
  const size_t bom = utf8_bom_length(bytes);
  const char* const begin = bytes.data() + bom;
  const char* const end = bytes.data() + bytes.size();
  if (!has_header(begin, size_t(end - begin))) return false;
  // The encoding is settled before any table exists, so every cell of the
  // file reads alike.
  const text_decoder& decoder = sink.use(text_decoder(encoding ? *encoding : detect_encoding(bytes)));

  // A first quick pass counts each table's rows, so that row lists are
  // allocated once, at their final size.
  struct table_size {
    size_t rows = 0, row_bytes = 0;
  };
  std::vector<table_size> sizes;
  std::vector<table_count> counts;
  xer_file_facts facts;
  facts.bytes = bytes.size();
  for_each_line(begin, end, [&](const char* p, const char* le, char k, uint32_t number) {
    facts.lines = number;
    if (k == 'E') facts.end_marker = true;
    if (k == 'T') {
      sizes.emplace_back();
      if (plan) {
        table_count& c = counts.emplace_back();
        for_each_value(p, le, [&](const char* s, const char* e) { c.name = latin1(s, e); });
      }
    } else if (k == 'R' && !sizes.empty()) {
      ++sizes.back().rows;
      sizes.back().row_bytes += size_t(le - p);
    }
  });
  if (plan) {
    for (size_t i = 0; i < counts.size(); ++i) counts[i].rows = sizes[i].rows;
    if (!plan(counts, facts)) return false;
  }

  xer_table* table = nullptr;  // none until the first "%T": "%F" and "%R" lines are ignored
  size_t table_index = 0;
  for_each_line(begin, end, [&](const char* p, const char* le, char k, uint32_t number) {
    switch (k) {
      case 'R':
        if (table) {
          read_row(*table, p, le, number);
          if (table->rows_.size() == 1) reserve_cells(*table, sizes[table_index - 1].row_bytes);
        }
        break;
      case 'F':
        if (table) {
          for_each_value(p, le, [&](const char* s, const char* e) { table->add_field(latin1(s, e)); });
        }
        break;
      case 'T':
        if (plan && !counts[table_index].wanted) {
          ++table_index;
          table = nullptr;  // its "%F" and "%R" lines are passed over
          break;
        }
        table = sink.new_table(p);
        table->decoder_ = &decoder;
        reserve_rows(*table, sizes[table_index++].rows);
        // With several names the last one wins.
        for_each_value(p, le, [&](const char* s, const char* e) { table->set_name(latin1(s, e)); });
        break;
      default:
        break;
    }
  });
  sink.finish();
  return true;
}

bool xer_parser::is_xer(const std::u16string& path) {
  off_t size = 0;
  int fd = open_regular(path, &size);
  if (fd < 0) return false;
  char head[11];
  const ssize_t got = read_fully(fd, head, sizeof head);
  ::close(fd);
  if (got <= 0) return false;
  const size_t bom = utf8_bom_length(std::string_view(head, size_t(got)));
  return has_header(head + bom, size_t(got) - bom);
}

std::unique_ptr<xer_doc> xer_parser::parse_bytes(std::string bytes, std::optional<text_encoding> encoding) {
  auto doc = std::make_unique<xer_doc>();
  doc->bytes() = std::move(bytes);  // cells view the document's own copy
  doc_sink sink{*doc};
  if (!read_tree(doc->bytes(), sink, encoding)) return nullptr;
  return doc;
}

std::unique_ptr<xer_doc> xer_parser::parse(const std::u16string& path, std::optional<text_encoding> encoding) {
  std::string bytes;
  if (!read_file(path, bytes)) return nullptr;
  return parse_bytes(std::move(bytes), encoding);
}

bool xer_parser::parse_tables(const std::u16string& path, const std::function<void(const xer_table&)>& on_table,
                              const table_plan& plan, std::optional<text_encoding> encoding, text_encoding* used) {
  std::string bytes;
  if (!read_file(path, bytes)) return false;
  return parse_tables_bytes(std::move(bytes), on_table, plan, encoding, used);
}

bool xer_parser::parse_tables_bytes(std::string bytes, const std::function<void(const xer_table&)>& on_table,
                                    const table_plan& plan, std::optional<text_encoding> encoding,
                                    text_encoding* used) {
  stream_sink sink{on_table, nullptr, bytes.data(), {}};
  if (!read_tree(bytes, sink, encoding, plan)) return false;
  if (used) *used = sink.decoder.encoding();
  return true;
}

}  // namespace tessel::document
