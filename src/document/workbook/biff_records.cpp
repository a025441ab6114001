#include "document/workbook/biff_records.h"

#include "document/workbook/shared_texts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <unordered_map>

#include "document/io/path_text.h"

namespace tessel::document {

// ---- Cell texts -------------------------------------------------------------

namespace biff_text {

namespace {

bool is_letter(char16_t c, char lower) { return c == char16_t(lower) || c == char16_t(lower - 'a' + 'A'); }

// Whether `f` continues at `at` with `word`, in either case.
bool word_at(std::u16string_view f, size_t at, std::string_view word) {
  if (f.size() - at < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    const char w = word[i];
    if (w >= 'a' && w <= 'z' ? !is_letter(f[at + i], w) : f[at + i] != char16_t(w)) return false;
  }
  return true;
}

// A letter that names a part of a date or a time.
char date_letter(char16_t c) {
  for (char l : {'y', 'd', 'm', 'h', 's'})
    if (is_letter(c, l)) return l;
  return 0;
}

void append_ascii(std::u16string& out, const char* s, int n) {
  for (int i = 0; i < n; ++i) out.push_back(char16_t(static_cast<unsigned char>(s[i])));
}

void append_int(std::u16string& out, long long v, int width = 1) {
  char buf[24];
  const int n = std::snprintf(buf, sizeof buf, "%0*lld", width, v);
  append_ascii(out, buf, std::min(n, int(sizeof buf) - 1));
}

// "h:mm:ss AM" on the twelve-hour clock: hour 0 is 12 AM, hour 12 is 12 PM.
void append_clock(std::u16string& out, long long seconds) {
  const long long h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
  append_int(out, h % 12 == 0 ? 12 : h % 12);
  out.push_back(u':');
  append_int(out, m, 2);
  out.push_back(u':');
  append_int(out, s, 2);
  out += h < 12 ? u" AM" : u" PM";
}

}  // namespace

number_shape shape_of_format(uint16_t index, std::u16string_view f) {
  if (f.empty()) {
    if (index >= 14 && index <= 17) return number_shape::date;
    if ((index >= 18 && index <= 21) || (index >= 45 && index <= 47)) return number_shape::time;
    return index == 22 ? number_shape::date_time : number_shape::number;
  }
  bool date = false, time = false;
  char last = 0;  // the date letter before, for telling minutes from months
  for (size_t i = 0; i < f.size(); ++i) {
    const char16_t c = f[i];
    if (c == u';') break;  // the first section shows positive numbers
    if (c == u'"') {
      while (++i < f.size() && f[i] != u'"') {
      }
      continue;
    }
    if (c == u'\\' || c == u'_' || c == u'*') {
      ++i;  // an escaped, spaced or repeated character
      continue;
    }
    if (c == u'[') {
      // Colours and locales are bracketed; so are elapsed hours, minutes
      // and seconds ("[h]:mm").
      const size_t from = ++i;
      while (i < f.size() && f[i] != u']') ++i;
      const std::u16string_view inner = f.substr(from, i - from);
      if (!inner.empty() && std::all_of(inner.begin(), inner.end(), [&](char16_t x) {
            const char l = date_letter(x);
            return l == 'h' || l == 'm' || l == 's';
          })) {
        time = true;
        last = date_letter(inner[0]);
      }
      continue;
    }
    if (word_at(f, i, "am/pm") || word_at(f, i, "a/p")) {
      time = true;
      i += is_letter(f[i + 1], 'm') ? 4 : 2;
      continue;
    }
    const char l = date_letter(c);
    if (l == 0) continue;
    if (l == 'm') {
      while (i + 1 < f.size() && is_letter(f[i + 1], 'm')) ++i;
      // Minutes follow hours or lead to seconds; otherwise it is the month.
      char next = 0;
      for (size_t j = i + 1; j < f.size() && next == 0; ++j) next = date_letter(f[j]);
      if (last == 'h' || next == 's') time = true;
      else date = true;
    } else if (l == 'y' || l == 'd') {
      date = true;
    } else {
      time = true;
    }
    last = l;
  }
  if (date && time) return number_shape::date_time;
  if (date) return number_shape::date;
  return time ? number_shape::time : number_shape::number;
}

void append_number(std::u16string& out, double v) {
  char buf[40];
  const int n = std::snprintf(buf, sizeof buf, "%.15g", v);
  append_ascii(out, buf, std::min(n, int(sizeof buf) - 1));
}

void append_date(std::u16string& out, double serial, number_shape shape, bool from_1904) {
  // 2958466 is 1 January 10000 in the 1900 system.
  const double last = from_1904 ? 2958466.0 - 1462 : 2958466.0;
  if (shape == number_shape::number || !(serial >= 0 && serial < last)) {
    append_number(out, serial);
    return;
  }
  const long long total = std::llround(serial * 86400.0);
  const long long day = total / 86400, seconds = total % 86400;
  if (shape == number_shape::time) {
    append_clock(out, seconds);
    return;
  }
  // Day 0 of the 1900 system is the day before its first; day 60 is the
  // 29 February 1900 the system counts though it never was.
  if ((!from_1904 && day < 1) || day >= static_cast<long long>(last)) {
    append_number(out, serial);
    return;
  }
  long long y, m, d;
  if (!from_1904 && day == 60) {
    y = 1900, m = 2, d = 29;
  } else {
    // Days since 1 March of year 0 of the proleptic calendar, then the
    // calendar's 400-year cycles.
    const long long since_1970 = from_1904 ? day - 24107 : day - (day < 60 ? 25568 : 25569);
    const long long z = since_1970 + 719468;
    const long long era = z / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = yoe + era * 400 + (m <= 2);
  }
  append_int(out, m);
  out.push_back(u'/');
  append_int(out, d);
  out.push_back(u'/');
  append_int(out, y);
  out.push_back(u' ');
  append_clock(out, shape == number_shape::date ? 0 : seconds);
}

}  // namespace biff_text

// ---- Records ----------------------------------------------------------------

namespace {

using biff_text::number_shape;

constexpr uint16_t rec_bof = 0x0809, rec_eof = 0x000A, rec_boundsheet = 0x0085, rec_sst = 0x00FC,
                   rec_continue = 0x003C, rec_datemode = 0x0022, rec_format = 0x041E, rec_xf = 0x00E0,
                   rec_dimensions = 0x0200, rec_labelsst = 0x00FD, rec_label = 0x0204, rec_number = 0x0203,
                   rec_rk = 0x027E, rec_mulrk = 0x00BD, rec_formula = 0x0006, rec_string = 0x0207;
constexpr uint16_t version_8 = 0x0600, bof_globals = 0x0005, bof_worksheet = 0x0010;

uint16_t u16(std::string_view b, size_t at) { return uint16_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8); }
uint32_t u32(std::string_view b, size_t at) { return uint32_t(u16(b, at)) | uint32_t(u16(b, at + 2)) << 16; }
double f64(std::string_view b, size_t at) {
  const uint64_t bits = uint64_t(u32(b, at)) | uint64_t(u32(b, at + 4)) << 32;
  double v;
  static_assert(sizeof v == sizeof bits);
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

// A number packed in 30 bits: an integer, or the high bits of a double,
// either possibly a hundredth of what it says.
double rk_value(uint32_t rk) {
  double v;
  if (rk & 2) {
    v = double(int32_t(rk) >> 2);
  } else {
    const uint64_t bits = uint64_t(rk & 0xFFFFFFFCu) << 32;
    std::memcpy(&v, &bits, sizeof v);
  }
  return rk & 1 ? v / 100 : v;
}

struct record {
  uint16_t type = 0;
  std::string_view data;
  size_t next = 0;
};

// The record at `pos`; false at the end of the stream or when the record
// claims more bytes than the stream has left.
bool record_at(std::string_view s, size_t pos, record& r) {
  if (pos > s.size() || s.size() - pos < 4) return false;
  const uint16_t len = u16(s, pos + 2);
  if (s.size() - pos - 4 < len) return false;
  r.type = u16(s, pos);
  r.data = s.substr(pos + 4, len);
  r.next = pos + 4 + len;
  return true;
}

// The bytes of a record and of the continuation records after it, read as
// one run. Characters of a text split at a record boundary go on behind a
// fresh option byte that says whether they are one or two bytes wide; every
// other field goes on directly.
class run_reader {
 public:
  explicit run_reader(const std::vector<std::string_view>& parts) : parts_(parts) {}

  bool byte(uint8_t& b) {
    if (!settle()) return false;
    b = uint8_t(parts_[part_][at_++]);
    return true;
  }
  bool u16(uint16_t& v) {
    uint8_t lo, hi;
    if (!byte(lo) || !byte(hi)) return false;
    v = uint16_t(lo | hi << 8);
    return true;
  }
  bool u32(uint32_t& v) {
    uint16_t lo, hi;
    if (!u16(lo) || !u16(hi)) return false;
    v = uint32_t(lo) | uint32_t(hi) << 16;
    return true;
  }
  bool skip(uint64_t n) {
    while (n > 0) {
      if (!settle()) return false;
      const size_t take = size_t(std::min<uint64_t>(n, parts_[part_].size() - at_));
      at_ += take;
      n -= take;
    }
    return true;
  }
  // Appends `count` characters; false when the run ends first (what was
  // there is kept).
  bool chars(uint32_t count, bool wide, std::u16string& out) {
    while (count > 0) {
      if (part_ >= parts_.size()) return false;
      const std::string_view p = parts_[part_];
      if (at_ >= p.size()) {
        do {
          ++part_;
        } while (part_ < parts_.size() && parts_[part_].empty());
        if (part_ >= parts_.size()) return false;
        at_ = 0;
        wide = parts_[part_][at_++] & 1;
        continue;
      }
      const size_t unit = wide ? 2 : 1;
      const size_t n = std::min<size_t>(count, (p.size() - at_) / unit);
      if (n == 0) {  // half a character before the boundary
        at_ = p.size();
        continue;
      }
      for (size_t i = 0; i < n; ++i, at_ += unit)
        out.push_back(wide ? char16_t(uint8_t(p[at_]) | uint8_t(p[at_ + 1]) << 8) : char16_t(uint8_t(p[at_])));
      count -= uint32_t(n);
    }
    return true;
  }

 private:
  // Moves past ended parts; false when none is left.
  bool settle() {
    while (part_ < parts_.size() && at_ >= parts_[part_].size()) ++part_, at_ = 0;
    return part_ < parts_.size();
  }

  const std::vector<std::string_view>& parts_;
  size_t part_ = 0;
  size_t at_ = 0;
};

// A text of a single record: `count` characters at `at`, as many as the
// record holds.
void record_chars(std::string_view d, size_t at, uint32_t count, bool wide, std::u16string& out) {
  if (at > d.size()) return;
  const size_t n = std::min<size_t>(count, (d.size() - at) / (wide ? 2 : 1));
  for (size_t i = 0; i < n; ++i)
    out.push_back(wide ? char16_t(u16(d, at + 2 * i)) : char16_t(uint8_t(d[at + i])));
}

// The shared strings: every string's characters end to end.
struct string_table {
  std::u16string text;
  std::vector<uint32_t> ends;

  std::u16string_view at(uint32_t i) const {
    if (i >= ends.size()) return {};
    const uint32_t begin = i == 0 ? 0 : ends[i - 1];
    return std::u16string_view(text).substr(begin, ends[i] - begin);
  }
};

void read_strings(const std::vector<std::string_view>& parts, string_table& t) {
  run_reader r(parts);
  uint32_t total, unique;
  if (!r.u32(total) || !r.u32(unique)) return;
  // Every string takes at least three bytes, so a claimed count far beyond
  // the bytes ends with them.
  for (uint32_t i = 0; i < unique; ++i) {
    uint16_t count, runs = 0;
    uint8_t flags;
    uint32_t extra = 0;
    if (!r.u16(count) || !r.byte(flags)) return;
    if ((flags & 8) && !r.u16(runs)) return;
    if ((flags & 4) && !r.u32(extra)) return;
    const bool whole = r.chars(count, flags & 1, t.text);
    t.ends.push_back(uint32_t(t.text.size()));
    // Formatting runs and phonetic data follow the characters.
    if (!whole || !r.skip(4 * uint64_t(runs) + extra)) return;
  }
}

struct sheet_entry {
  uint32_t offset;
  std::string name;
};

struct globals {
  std::vector<sheet_entry> sheets;
  string_table strings;
  std::vector<number_shape> xf_shapes;
  bool from_1904 = false;
  size_t end = 0;
};

bool read_globals(std::string_view s, globals& g) {
  record r;
  if (!record_at(s, 0, r) || r.type != rec_bof || r.data.size() < 4 || u16(r.data, 0) != version_8 ||
      u16(r.data, 2) != bof_globals)
    return false;
  std::vector<uint16_t> xf_formats;
  // Custom number formats by index (a format defined twice counts as last
  // defined); built-in ones stand for themselves.
  std::unordered_map<uint16_t, number_shape> custom;
  bool have_strings = false;
  size_t pos = r.next;
  while (record_at(s, pos, r)) {
    pos = r.next;
    const std::string_view d = r.data;
    if (r.type == rec_eof) break;
    if (r.type == rec_boundsheet && d.size() >= 8) {
      // Only worksheets: charts, macro sheets and modules hold no table.
      if (uint8_t(d[5]) != 0) continue;
      std::u16string name;
      record_chars(d, 8, uint8_t(d[6]), d[7] & 1, name);
      g.sheets.push_back({u32(d, 0), narrow_path(name)});
    } else if (r.type == rec_sst && !have_strings) {
      have_strings = true;
      std::vector<std::string_view> parts{d};
      record next;
      while (record_at(s, pos, next) && next.type == rec_continue) {
        parts.push_back(next.data);
        pos = next.next;
      }
      read_strings(parts, g.strings);
    } else if (r.type == rec_datemode && d.size() >= 2) {
      g.from_1904 = u16(d, 0) == 1;
    } else if (r.type == rec_format && d.size() >= 5) {
      std::u16string f;
      record_chars(d, 5, u16(d, 2), d[4] & 1, f);
      custom[u16(d, 0)] = biff_text::shape_of_format(u16(d, 0), f);
    } else if (r.type == rec_xf && d.size() >= 4) {
      xf_formats.push_back(u16(d, 2));
    }
  }
  g.end = pos;
  g.xf_shapes.reserve(xf_formats.size());
  for (uint16_t f : xf_formats) {
    const auto c = custom.find(f);
    g.xf_shapes.push_back(c != custom.end() ? c->second : biff_text::shape_of_format(f, {}));
  }
  return true;
}

// The cells a sheet of this size spans; rows without columns (or the other
// way round) count as one column each, so no claim goes unpaid.
uint64_t span(uint64_t rows, uint64_t columns) {
  return rows == 0 && columns == 0 ? 0 : std::max<uint64_t>(rows, 1) * std::max<uint64_t>(columns, 1);
}

// Reads one worksheet's records into `sheet`. `cells_left` is what the
// sheet may span; false when it declares more.
class sheet_reader {
 public:
  sheet_reader(const globals& g, biff_sheet& sheet, uint64_t cells_left, uint64_t& text_left)
      : g_(g), sheet_(sheet), cells_left_(cells_left), text_left_(text_left) {}

  // Reads from the sheet's begin record at `pos` to its end record; answers
  // false when the sheet is over its limits. `end` is where reading stopped.
  bool run(std::string_view s, size_t pos, size_t& end) {
    record r;
    end = pos;
    if (!record_at(s, pos, r) || r.type != rec_bof || r.data.size() < 4 || u16(r.data, 0) != version_8 ||
        u16(r.data, 2) != bof_worksheet)
      return true;  // nothing found there: an empty sheet
    // Embedded charts nest their own begin and end records.
    int depth = 1;
    pos = r.next;
    while (depth > 0 && record_at(s, pos, r)) {
      pos = r.next;
      if (r.type == rec_bof) ++depth;
      else if (r.type == rec_eof) --depth;
      else if (depth == 1 && !cell_record(r)) return false;
    }
    end = pos;
    return true;
  }

 private:
  bool cell_record(const record& r) {
    const std::string_view d = r.data;
    if (r.type != rec_string) formula_row_ = -1;
    switch (r.type) {
      case rec_dimensions:
        if (d.size() < 14) return true;
        return declare(u32(d, 4), u16(d, 10));
      case rec_labelsst:
        if (d.size() >= 10) {
          const std::u16string_view t = g_.strings.at(u32(d, 6));
          if (!t.empty()) return cell(u16(d, 0), u16(d, 2), [&](std::u16string& out) { out += t; });
        }
        return true;
      case rec_label:
        if (d.size() >= 9)
          return cell(u16(d, 0), u16(d, 2), [&](std::u16string& out) { record_chars(d, 9, u16(d, 6), d[8] & 1, out); });
        return true;
      case rec_number:
        if (d.size() >= 14) return number(u16(d, 0), u16(d, 2), u16(d, 4), f64(d, 6));
        return true;
      case rec_rk:
        if (d.size() >= 10) return number(u16(d, 0), u16(d, 2), u16(d, 4), rk_value(u32(d, 6)));
        return true;
      case rec_mulrk:
        // A row's run of packed numbers from a first column on.
        for (size_t i = 0; d.size() >= 6 && i < (d.size() - 6) / 6 && u16(d, 2) + i <= 0xFFFF; ++i)
          if (!number(u16(d, 0), uint16_t(u16(d, 2) + i), u16(d, 4 + 6 * i), rk_value(u32(d, 6 + 6 * i))))
            return false;
        return true;
      case rec_formula:
        if (d.size() < 14) return true;
        // A result of all ones in its top bytes is not a number: a text
        // result comes in the string record that follows.
        if (u16(d, 12) != 0xFFFF) return number(u16(d, 0), u16(d, 2), u16(d, 4), f64(d, 6));
        if (d[6] == 0) formula_row_ = u16(d, 0), formula_column_ = u16(d, 2);
        return true;
      case rec_string:
        if (formula_row_ >= 0 && d.size() >= 3) {
          const uint16_t row = uint16_t(formula_row_);
          formula_row_ = -1;
          return cell(row, formula_column_, [&](std::u16string& out) { record_chars(d, 3, u16(d, 0), d[2] & 1, out); });
        }
        return true;
      default:
        return true;
    }
  }

  bool declare(uint32_t rows, uint32_t columns) {
    rows = std::max(rows, sheet_.rows);
    columns = std::max(columns, sheet_.columns);
    if (span(rows, columns) > cells_left_) return false;
    sheet_.rows = rows;
    sheet_.columns = columns;
    return true;
  }

  bool number(uint16_t row, uint16_t column, uint16_t xf, double v) {
    const number_shape shape = xf < g_.xf_shapes.size() ? g_.xf_shapes[xf] : number_shape::number;
    return cell(row, column, [&](std::u16string& out) { biff_text::append_date(out, v, shape, g_.from_1904); });
  }

  // Adds a cell whose text `write` appends; false when the texts outgrow
  // their limit. A cell that would take the sheet past its cells is dropped.
  template <class Write>
  bool cell(uint16_t row, uint16_t column, const Write& write) {
    const uint32_t rows = std::max<uint32_t>(sheet_.rows, row + 1u);
    const uint32_t columns = std::max<uint32_t>(sheet_.columns, column + 1u);
    if (span(rows, columns) > cells_left_) return true;
    const size_t before = sheet_.text.size();
    write(sheet_.text);
    const uint32_t length = uint32_t(sheet_.text.size() - before);
    const uint32_t begin = shared_.place(sheet_.text, uint32_t(before));
    if (begin != before) sheet_.text.resize(before);
    const uint64_t added = sheet_.text.size() - before;
    if (added > text_left_) return false;
    text_left_ -= added;
    sheet_.rows = rows;
    sheet_.columns = columns;
    sheet_.cells.push_back({row, column, begin, length});
    return true;
  }

  const globals& g_;
  biff_sheet& sheet_;
  uint64_t cells_left_;
  uint64_t& text_left_;
  shared_texts shared_;
  int32_t formula_row_ = -1;
  uint16_t formula_column_ = 0;
};

}  // namespace

bool read_biff_workbook(std::string_view stream, const biff_limits& limits, std::vector<biff_sheet>& sheets) {
  sheets.clear();
  globals g;
  if (!read_globals(stream, g)) return false;
  uint64_t cells_left = limits.cells;
  // A sheet's text ends are 32 bits wide.
  uint64_t text_left = std::min<uint64_t>(limits.text_units, 0xFFFFFFFFu);
  // Sheets come in the order of the sheet list, each after the one before:
  // a sheet that points back into what was read before reads as empty, so
  // no byte is read twice.
  size_t read_to = g.end;
  sheets.reserve(g.sheets.size());
  for (sheet_entry& e : g.sheets) {
    biff_sheet& sheet = sheets.emplace_back();
    sheet.name = std::move(e.name);
    if (e.offset < read_to) continue;
    size_t end = 0;
    if (!sheet_reader(g, sheet, cells_left, text_left).run(stream, e.offset, end)) {
      sheets.clear();
      return false;
    }
    read_to = std::max(read_to, end);
    cells_left -= std::min(cells_left, span(sheet.rows, sheet.columns));
  }
  return true;
}

}  // namespace tessel::document
