// tessel-dump --catalog [FILE]: the six field catalogs as TSV.
//
// Without FILE it prints the catalogs as every accepted open builds them (the
// built-in fields with their initial availability). With FILE the schedule is
// opened first, so that the listing shows the fields the document adds (user
// fields, code types) and the availability it sets.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "catalog/field_catalog.h"
#include "command.h"
#include "open_file.h"

namespace tessel::dump {
namespace {

using catalog::catalog_kind;

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string to_utf8(std::u16string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    uint32_t c = s[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
        s[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// A TSV cell never holds a tab or a line break: they become spaces.
std::string cell(std::u16string_view s) {
  std::string t = to_utf8(s);
  for (char& ch : t) {
    if (ch == '\t' || ch == '\n' || ch == '\r') ch = ' ';
  }
  return t;
}

void print_catalogs(std::ostream& out) {
  out << "catalog\tfield_id\tkey\tcaption\tvalue_type\tvalue_class\tavailable\tworkbook_column\n";
  const catalog::catalog_set& all = catalog::catalogs();
  for (std::size_t k = 0; k < catalog::catalog_count; ++k) {
    const auto kind = static_cast<catalog_kind>(k);
    const std::string name(catalog::catalog_name(kind));
    for (const catalog::field_entry& e : all[kind].entries()) {
      out << name << '\t' << e.field_id << '\t' << cell(e.key) << '\t' << cell(e.caption) << '\t'
          << e.value_type << '\t' << e.value_class << '\t' << (e.available ? 1 : 0) << '\t'
          << cell(e.workbook_column) << '\n';
    }
  }
}

// Opening a schedule for the listing. Document loading rebuilds the catalogs
// itself and then adds its own fields, so once it exists this becomes: open
// the document at PATH (refuse() when it is not a schedule) and keep it alive
// while the catalogs are printed. Until then a FILE is reported as unsupported
// rather than listed as if nothing had been opened.
// The catalogs as opening FILE leaves them: with the document's own user
// fields and code types, and the availability a workbook import sets.
int open_then_print(const std::string& path) {
  view::TesselDoc doc;
  if (open_timed(doc, path) < 0) return refuse(path);
  print_catalogs(std::cout);
  return 0;
}

int run(const std::vector<std::string>& args) {
  if (args.size() > 1) {
    std::cerr << "tessel-dump: --catalog takes at most one FILE\n";
    return 2;
  }
  if (!args.empty()) return open_then_print(args[0]);
  catalog::build_catalogs();
  print_catalogs(std::cout);
  return 0;
}

const command_registration registration{command{
    "--catalog", "--catalog [FILE]",
    "Lists the six field catalogs (activity, project, wbs, resource, predecessor, successor) "
    "as TSV: catalog, field id, key, caption, value type code, value class, available (0/1), "
    "workbook column. With FILE, as they stand after opening it.",
    &run}};

}  // namespace
}  // namespace tessel::dump
