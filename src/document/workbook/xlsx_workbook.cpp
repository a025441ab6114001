#include "document/workbook/xlsx_workbook.h"

#include <algorithm>
#include <charconv>
#include <unordered_map>

#include "document/io/open_limits.h"
#include "document/io/path_text.h"
#include "document/workbook/biff_records.h"
#include "document/workbook/shared_texts.h"
#include "document/workbook/xml_scan.h"
#include "document/workbook/xml_stream.h"
#include "document/workbook/zip_container.h"

namespace tessel::document {

using biff_text::number_shape;

int64_t reference_column(std::string_view ref, std::string_view* rest) {
  int64_t column = 0;
  size_t i = 0;
  for (; i < ref.size(); ++i) {
    char c = ref[i];
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    if (c < 'A' || c > 'Z') break;
    column = column * 26 + (c - 'A' + 1);
    if (column > max_xlsx_columns) return -1;
  }
  if (rest) *rest = ref.substr(i);
  return i == 0 ? -1 : column - 1;
}

namespace {

std::u16string words(std::string_view utf8) { return wide_text(std::string(utf8)); }

// A whole unsigned number, or -1 when the text is not one (or is huge).
int64_t whole_number(std::string_view s) {
  uint64_t v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || s.empty() || v > (uint64_t(1) << 40)) return -1;
  return int64_t(v);
}

// A row number: digits only, held at 2^40 + 1 when larger (past every
// bound); -1 when the text is not one.
int64_t row_number(std::string_view s) {
  if (s.empty() || s.find_first_not_of("0123456789") != std::string_view::npos) return -1;
  const int64_t n = whole_number(s);
  return n >= 0 ? n : (int64_t(1) << 40) + 1;
}

bool flag_value(const char* v) {
  return v && (std::string_view(v) == "1" || std::string_view(v) == "true");
}

// ---- Relationships -------------------------------------------------------------

struct relationship {
  std::string id, type, target;
};

class relationships_reader : public xml_handler {
 public:
  std::vector<relationship> found;
  void start(std::string_view name, const char** a) override {
    if (name != "Relationship") return;
    const char* id = attribute(a, "Id");
    const char* type = attribute(a, "Type");
    const char* target = attribute(a, "Target");
    const char* mode = attribute(a, "TargetMode");
    if (id && target && !(mode && std::string_view(mode) == "External"))
      found.push_back({id, type ? type : "", target});
  }
  void end(std::string_view) override {}
};

bool ends_with(std::string_view s, std::string_view tail) {
  return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

// The entry a relationship's target names, from the folder of the part that
// holds it ("xl/" for "xl/workbook.xml"); a target from "/" is from the
// package root. ".." steps up, never above the root.
std::string resolve(std::string_view folder, std::string_view target) {
  std::vector<std::string> parts;
  auto push_path = [&](std::string_view p) {
    size_t at = 0;
    while (at <= p.size()) {
      const size_t slash = std::min(p.find('/', at), p.size());
      const std::string_view part = p.substr(at, slash - at);
      if (part == "..") {
        if (!parts.empty()) parts.pop_back();
      } else if (!part.empty() && part != ".") {
        parts.emplace_back(part);
      }
      at = slash + 1;
    }
  };
  if (target.empty() || target[0] != '/') push_path(folder);
  push_path(target);
  std::string out;
  for (const std::string& p : parts) out += (out.empty() ? "" : "/") + p;
  return out;
}

std::string folder_of(std::string_view part) {
  const size_t slash = part.rfind('/');
  return slash == std::string_view::npos ? std::string() : std::string(part.substr(0, slash));
}

// The relationships part of `part` ("xl/_rels/workbook.xml.rels").
std::string relationships_of(std::string_view part) {
  const std::string folder = folder_of(part);
  const std::string_view file = part.substr(folder.empty() ? 0 : folder.size() + 1);
  return (folder.empty() ? "" : folder + "/") + "_rels/" + std::string(file) + ".rels";
}

// ---- Workbook, styles, shared strings ---------------------------------------------

struct sheet_entry {
  std::string name, relationship;
};

class workbook_reader : public xml_handler {
 public:
  std::vector<sheet_entry> sheets;
  bool from_1904 = false;
  void start(std::string_view name, const char** a) override {
    if (name == "workbookPr") {
      from_1904 = flag_value(attribute(a, "date1904"));
    } else if (name == "sheet") {
      const char* n = attribute(a, "name");
      const char* id = attribute(a, "id");
      if (n) sheets.push_back({n, id ? id : ""});
    }
  }
  void end(std::string_view) override {}
};

class styles_reader : public xml_handler {
 public:
  std::vector<number_shape> shapes;  // by cell style index
  void start(std::string_view name, const char** a) override {
    if (name == "numFmt") {
      const int64_t id = whole_number(attribute(a, "numFmtId") ? attribute(a, "numFmtId") : "");
      const char* code = attribute(a, "formatCode");
      if (id >= 0 && id <= 0xFFFF && code) {
        std::u16string f;
        append_cell_text(f, code);
        custom_[uint16_t(id)] = biff_text::shape_of_format(uint16_t(id), f);
      }
    } else if (name == "cellXfs") {
      in_cell_styles_ = true;
    } else if (name == "xf" && in_cell_styles_) {
      const char* id = attribute(a, "numFmtId");
      const int64_t n = whole_number(id ? id : "0");
      if (n < 0 || n > 0xFFFF) {
        shapes.push_back(number_shape::number);
        return;
      }
      const auto c = custom_.find(uint16_t(n));
      shapes.push_back(c != custom_.end() ? c->second : biff_text::shape_of_format(uint16_t(n), {}));
    }
  }
  void end(std::string_view name) override {
    if (name == "cellXfs") in_cell_styles_ = false;
  }

 private:
  std::unordered_map<uint16_t, number_shape> custom_;
  bool in_cell_styles_ = false;
};

// The shared strings end to end, each found by its index. Rich text is the
// text of its runs; phonetic guides are not part of the text.
class strings_reader : public xml_handler {
 public:
  struct span {
    uint32_t begin = 0, length = 0;
  };
  std::u16string pool;
  std::vector<span> spans;

  explicit strings_reader(uint64_t most) : most_(std::min<uint64_t>(most, 0xFFFFFFFFu)) {}

  std::u16string_view at(size_t i) const {
    return i < spans.size() ? std::u16string_view(pool).substr(spans[i].begin, spans[i].length) : std::u16string_view();
  }

  void start(std::string_view name, const char**) override {
    if (name == "si") {
      in_item_ = true;
      begin_ = pool.size();
    } else if (name == "rPh") {
      ++phonetic_;
    } else if (name == "t" && in_item_ && phonetic_ == 0) {
      collecting_ = true;
      pending_.clear();
    }
  }
  void text(std::string_view s) override {
    if (collecting_) pending_.append(s);
  }
  void end(std::string_view name) override {
    if (name == "t" && collecting_) {
      collecting_ = false;
      append_cell_text(pool, pending_);
      if (pool.size() > most_)
        refusal = u"The workbook's shared strings come to more text than eight times the file's size, "
                  u"which no real export does.";
    } else if (name == "rPh" && phonetic_ > 0) {
      --phonetic_;
    } else if (name == "si" && in_item_) {
      in_item_ = false;
      spans.push_back({uint32_t(begin_), uint32_t(pool.size() - begin_)});
    }
  }

 private:
  uint64_t most_;
  bool in_item_ = false, collecting_ = false;
  int phonetic_ = 0;
  size_t begin_ = 0;
  std::string pending_;
};

// ---- Sheets -------------------------------------------------------------------

// The cells the sheets may span and the text they may make, together.
struct budget {
  uint64_t cells = 0;
  uint64_t text_units = 0;
};

uint64_t span(uint64_t rows, uint64_t columns) {
  return rows == 0 && columns == 0 ? 0 : std::max<uint64_t>(rows, 1) * std::max<uint64_t>(columns, 1);
}

class sheet_reader : public xml_handler {
 public:
  sheet_reader(xlsx_sheet& sheet, const strings_reader& strings, const std::vector<number_shape>& shapes,
               bool from_1904, budget& left)
      : sheet_(sheet), strings_(strings), shapes_(shapes), from_1904_(from_1904), left_(left) {}

  void start(std::string_view name, const char** a) override {
    if (in_data_) {
      if (name.size() == 1 && name[0] == 'v' && in_cell_) return collect();
      if (name == "c") start_cell(a);
      else if (name == "row") start_row(a);
      else if (in_cell_) {
        if (name == "v") collect();
        else if (name == "is") in_inline_ = true;
        else if (name == "rPh") ++phonetic_;
        else if (name == "t" && in_inline_ && phonetic_ == 0) collect();
      }
    } else if (name == "sheetData") {
      in_data_ = true;
    } else if (name == "dimension") {
      // The sheet's declared extent is checked before its cells are read.
      const char* ref = attribute(a, "ref");
      if (ref) {
        std::string_view last = ref;
        const size_t colon = last.find(':');
        if (colon != std::string_view::npos) last = last.substr(colon + 1);
        std::string_view digits;
        const int64_t column = reference_column(last, &digits);
        if (column < 0 && !last.empty() && last[0] > '9') refuse_columns();
        if (row_number(digits) > int64_t(max_xlsx_rows)) refuse_rows();
      }
    }
  }

  void text(std::string_view s) override {
    if (collecting_) value_.append(s);
  }

  void end(std::string_view name) override {
    if (!in_data_) return;
    if (name.size() == 1 && name[0] == 'c' && in_cell_) {
      in_cell_ = false;
      return end_cell();
    }
    if (name == "v" || name == "t") {
      collecting_ = false;
    } else if (name == "is") {
      in_inline_ = false;
    } else if (name == "rPh") {
      if (phonetic_ > 0) --phonetic_;
    } else if (name == "c" && in_cell_) {
      in_cell_ = false;
      end_cell();
    } else if (name == "sheetData") {
      in_data_ = false;
    }
  }

 private:
  void refuse_columns() {
    refusal = u"The sheet \u201C" + words(sheet_.name) + u"\u201D has more than 16,384 columns.";
  }
  void refuse_rows() {
    refusal = u"The sheet \u201C" + words(sheet_.name) + u"\u201D has more than 1,048,576 rows.";
  }

  void collect() {
    collecting_ = true;
  }

  void start_row(const char** a) {
    const char* r = attribute(a, "r");
    const int64_t n = r ? row_number(r) : -1;
    // A row without its number follows the one before.
    row_ = n >= 1 ? uint64_t(n - 1) : row_ + (seen_row_ ? 1 : 0);
    seen_row_ = true;
    next_column_ = 0;
    if (row_ >= max_xlsx_rows) refuse_rows();
  }

  void start_cell(const char** a) {
    if (!seen_row_) start_row(nullptr);
    // One pass over the attributes: a sheet has a cell for every few bytes.
    const char *r = nullptr, *t = nullptr, *s = nullptr;
    for (; a && a[0]; a += 2) {
      const std::string_view name = local_name(a[0]);
      if (name.size() != 1) continue;
      if (name[0] == 'r') r = a[1];
      else if (name[0] == 't') t = a[1];
      else if (name[0] == 's') s = a[1];
    }
    if (r) {
      const int64_t c = reference_column(r);
      if (c < 0) {
        if (r[0] > '9') return refuse_columns();
        column_ = next_column_;  // a reference without letters is no reference
      } else {
        column_ = uint64_t(c);
      }
    } else {
      // A cell without its reference takes the next column.
      column_ = next_column_;
    }
    if (column_ >= max_xlsx_columns) return refuse_columns();
    next_column_ = column_ + 1;
    const std::string_view type = t ? t : "n";
    type_ = type == "s"   ? cell_type::shared
            : type == "n" ? cell_type::number
            : type == "b" ? cell_type::boolean
            : type == "e" ? cell_type::error
                          : cell_type::text;
    const int64_t style = s ? whole_number(s) : 0;
    shape_ = style >= 0 && uint64_t(style) < shapes_.size() ? shapes_[size_t(style)] : number_shape::number;
    in_cell_ = true;
    in_inline_ = false;
    phonetic_ = 0;
    value_.clear();
  }

  void end_cell() {
    const size_t before = sheet_.text.size();
    if (type_ == cell_type::shared) {
      const int64_t i = whole_number(value_);
      if (i < 0 || size_t(i) >= strings_.spans.size()) return;
      // A shared string is kept once per sheet, however many cells show it.
      if (shared_at_.empty()) shared_at_.assign(strings_.spans.size(), UINT32_MAX);
      uint32_t& at = shared_at_[size_t(i)];
      const std::u16string_view t = strings_.at(size_t(i));
      if (t.empty()) return;
      if (at != UINT32_MAX) return add(at, uint32_t(t.size()), 0);
      sheet_.text.append(t);
      at = uint32_t(before);
      return add(at, uint32_t(t.size()), t.size());
    }
    if (type_ == cell_type::error) return;  // an error shows nothing a schedule holds
    if (type_ == cell_type::boolean) {
      sheet_.text += value_ == "1" || value_ == "true" ? u"TRUE" : u"FALSE";
    } else if (type_ == cell_type::number) {
      std::string_view v = value_;
      if (!v.empty() && v[0] == '+') v.remove_prefix(1);
      double number = 0;
      const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), number);
      if (ec == std::errc() && end == v.data() + v.size() && !v.empty())
        biff_text::append_date(sheet_.text, number, shape_, from_1904_);
      else
        append_cell_text(sheet_.text, value_);
    } else {
      // "str" (a formula's text), "inlineStr" and anything newer: the text.
      append_cell_text(sheet_.text, value_);
    }
    const uint32_t length = uint32_t(sheet_.text.size() - before);
    if (length == 0) return;
    const uint32_t begin = shared_.place(sheet_.text, uint32_t(before));
    if (begin != before) sheet_.text.resize(before);
    add(begin, length, sheet_.text.size() - before);
  }

  // Records the cell at the current place, its text at `begin`, `added`
  // units of it new to the sheet.
  void add(uint32_t begin, uint32_t length, uint64_t added) {
    const uint64_t rows = std::max<uint64_t>(sheet_.rows, row_ + 1);
    const uint64_t columns = std::max<uint64_t>(sheet_.columns, column_ + 1);
    if (span(rows, columns) > left_.cells || added > left_.text_units) {
      refusal = u"The sheet \u201C" + words(sheet_.name) +
                u"\u201D spans more cells or text than the workbook's size accounts for.";
      return;
    }
    left_.text_units -= added;
    sheet_.rows = uint32_t(rows);
    sheet_.columns = uint32_t(columns);
    sheet_.cells.push_back({uint32_t(row_), uint32_t(column_), begin, length});
  }

  xlsx_sheet& sheet_;
  const strings_reader& strings_;
  const std::vector<number_shape>& shapes_;
  const bool from_1904_;
  budget& left_;
  shared_texts shared_;
  std::vector<uint32_t> shared_at_;  // where each shared string stands in the sheet's text

  bool in_data_ = false, in_cell_ = false, in_inline_ = false, collecting_ = false, seen_row_ = false;
  int phonetic_ = 0;
  uint64_t row_ = 0, column_ = 0, next_column_ = 0;
  // "str" (a formula's text), "inlineStr" and any newer kind are text.
  enum class cell_type : uint8_t { shared, number, boolean, error, text } type_ = cell_type::number;
  number_shape shape_ = number_shape::number;
  std::string value_;
};

// The target of the relationship `id` whose type ends in `type_tail`, or of
// the first of that type when `id` is empty.
std::string target_of(const std::vector<relationship>& rels, std::string_view id, std::string_view type_tail,
                      std::string_view folder) {
  for (const relationship& r : rels)
    if ((id.empty() ? ends_with(r.type, type_tail) : r.id == id)) return resolve(folder, r.target);
  return {};
}

}  // namespace

bool read_xlsx_workbook(zip_container& zip, uint64_t file_size, xlsx_read& out) {
  out = xlsx_read();
  auto refuse = [&](std::u16string why) {
    out.sheets.clear();
    out.refusal = std::move(why);
    return false;
  };
  std::u16string why;

  // The workbook part: named by the package's own relationships, or where
  // every writer puts it.
  std::string book_part = "xl/workbook.xml";
  if (zip.has("_rels/.rels")) {
    relationships_reader package;
    if (!read_xml_part(zip, "_rels/.rels", package, why)) return refuse(why);
    const std::string named = target_of(package.found, {}, "/officeDocument", "");
    if (!named.empty() && zip.has(named)) book_part = named;
  }
  if (!zip.has(book_part))
    return refuse(u"The file is a ZIP archive but no workbook: it has no workbook part (xl/workbook.xml).");
  workbook_reader book;
  if (!read_xml_part(zip, book_part, book, why)) return refuse(why);
  if (book.sheets.empty()) return refuse(u"The workbook lists no sheets.");

  relationships_reader links;
  const std::string links_part = relationships_of(book_part);
  if (zip.has(links_part) && !read_xml_part(zip, links_part, links, why)) return refuse(why);
  const std::string folder = folder_of(book_part);

  // What the parts read expand to bounds what their cells may take.
  std::vector<std::string> sheet_parts;
  uint64_t content = zip.size_of(book_part);
  for (const sheet_entry& s : book.sheets) {
    std::string part = s.relationship.empty() ? std::string() : target_of(links.found, s.relationship, {}, folder);
    if (!zip.has(part)) part.clear();  // a sheet that cannot be found reads as empty
    content += zip.size_of(part);
    sheet_parts.push_back(std::move(part));
  }
  const std::string strings_part = target_of(links.found, {}, "/sharedStrings", folder);
  const std::string styles_part = target_of(links.found, {}, "/styles", folder);
  content += zip.size_of(strings_part);
  if (!size_acceptable(content, available_memory()))
    return refuse(u"The workbook expands to more data than this computer's free memory can hold.");

  styles_reader styles;
  if (zip.has(styles_part) && !read_xml_part(zip, styles_part, styles, why)) return refuse(why);
  strings_reader strings(8 * file_size);
  if (zip.has(strings_part) && !scan_xml_part(zip, strings_part, strings, why)) return refuse(why);

  const uint64_t allowed = memory_factor * content + record_allowance;
  budget left{allowed / 32, std::min<uint64_t>(allowed / sizeof(char16_t), 0xFFFFFFFFu)};
  out.sheets.reserve(book.sheets.size());
  for (size_t i = 0; i < book.sheets.size(); ++i) {
    xlsx_sheet& sheet = out.sheets.emplace_back();
    sheet.name = book.sheets[i].name;
    if (sheet_parts[i].empty()) continue;
    // A cell takes some thirty bytes of XML at the least; reserving for
    // that spares the copies of a growing list.
    sheet.cells.reserve(size_t(std::min<uint64_t>(zip.size_of(sheet_parts[i]) / 48, left.cells)));
    sheet_reader reader(sheet, strings, styles.shapes, book.from_1904, left);
    if (!scan_xml_part(zip, sheet_parts[i], reader, why)) return refuse(why);
    left.cells -= std::min(left.cells, span(sheet.rows, sheet.columns));
  }
  out.content_size = content;
  return true;
}

}  // namespace tessel::document
