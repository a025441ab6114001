// The tables of an XER file as the reader sees them:
//   tessel-dump FILE               one line per table: name, fields, rows
//   tessel-dump --table NAME FILE  every occurrence of table NAME as TSV
// Cell texts are printed as UTF-8, read in the file's text encoding (see
// --encoding).
#include <cstdio>
#include <string>

#include "command.h"
#include "open_file.h"
#include "document/xer/xer.h"

namespace tessel::dump {
namespace {

using document::xer_parser;
using document::xer_table;

// Appends text as UTF-8; an unpaired surrogate becomes U+FFFD.
void put_name(std::string& out, const std::u16string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c < 0x80) {
      out += char(c);
      continue;
    }
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (c < 0x800) {
      out += char(0xC0 | (c >> 6));
    } else if (c < 0x10000) {
      out += char(0xE0 | (c >> 12));
      out += char(0x80 | ((c >> 6) & 0x3F));
    } else {
      out += char(0xF0 | (c >> 18));
      out += char(0x80 | ((c >> 12) & 0x3F));
      out += char(0x80 | ((c >> 6) & 0x3F));
    }
    out += char(0x80 | (c & 0x3F));
  }
}

void flush(std::string& out, bool force = false) {
  if (out.size() >= (1u << 16) || (force && !out.empty())) {
    std::fwrite(out.data(), 1, out.size(), stdout);
    out.clear();
  }
}

int run_list(const std::vector<std::string>& args) {
  if (args.size() != 1) {
    std::fprintf(stderr, "usage: tessel-dump FILE\n");
    return 2;
  }
  std::string out;
  const bool ok = xer_parser::parse_tables(path_arg(args[0]), [&](const xer_table& t) {
    // Names only: the text encoding does not matter here.
    put_name(out, t.name());
    out += '\t' + std::to_string(t.fields().size()) + '\t' + std::to_string(t.rows().size()) + '\n';
    flush(out);
  });
  if (!ok) return refuse(args[0]);
  flush(out, true);
  return 0;
}

// A table that does not occur prints nothing on stdout (a valid, empty
// answer for scripts) and a note on stderr, and still exits with status 0.
int run_table(const std::vector<std::string>& args) {
  if (args.size() != 2) {
    std::fprintf(stderr, "usage: tessel-dump --table NAME FILE\n");
    return 2;
  }
  const std::u16string wanted = path_arg(args[0]);
  std::string out;
  bool found = false;
  std::u16string text;
  const bool ok = xer_parser::parse_tables(path_arg(args[1]), [&](const xer_table& t) {
    if (t.name() != wanted) return;
    found = true;
    const auto& fields = t.fields();
    for (size_t i = 0; i < fields.size(); ++i) {
      if (i) out += '\t';
      put_name(out, fields[i]->name());
    }
    out += '\n';
    for (const auto& row : t.rows()) {
      for (size_t i = 0; i < row.size(); ++i) {
        if (i) out += '\t';
        t.decoder().decode(row.cell_bytes(i), text);
        put_name(out, text);
      }
      out += '\n';
      flush(out);
    }
  }, {}, encoding_for(args[1]));
  if (!ok) return refuse(args[1]);
  flush(out, true);
  if (!found) std::fprintf(stderr, "tessel-dump: no table %s in %s\n", args[0].c_str(), args[1].c_str());
  return 0;
}

const command_registration list_command{
    {"", "FILE", "Lists the tables of an XER file: name, TAB, field count, TAB, row count.", &run_list}};
const command_registration table_command{
    {"--table", "--table NAME FILE",
     "Prints every occurrence of table NAME as TSV: the field names, then one line per row.",
     &run_table}};

}  // namespace
}  // namespace tessel::dump
