// The tables of an XER file as the reader sees them:
//   tessel-dump FILE               one line per table: name, fields, rows
//   tessel-dump --table NAME FILE  every occurrence of table NAME as TSV
// Texts are printed as UTF-8, each byte of the file as the character of the
// same code.
#include <cstdio>
#include <string>

#include "command.h"
#include "open_file.h"
#include "document/xer.h"

namespace tessel::dump {
namespace {

using document::xer_parser;
using document::xer_table;

// Appends file bytes as UTF-8 (each byte is the character of its code).
void put_bytes(std::string& out, std::string_view bytes) {
  for (char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    if (b < 0x80) {
      out += ch;
    } else {
      out += char(0xC0 | (b >> 6));
      out += char(0x80 | (b & 0x3F));
    }
  }
}

// Table and field names are already characters of codes 0 to 255.
void put_name(std::string& out, const std::u16string& name) {
  for (char16_t c : name) {
    if (c < 0x80) {
      out += char(c);
    } else if (c < 0x800) {
      out += char(0xC0 | (c >> 6));
      out += char(0x80 | (c & 0x3F));
    } else {
      out += char(0xE0 | (c >> 12));
      out += char(0x80 | ((c >> 6) & 0x3F));
      out += char(0x80 | (c & 0x3F));
    }
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
        put_bytes(out, row.cell_bytes(i));
      }
      out += '\n';
      flush(out);
    }
  });
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
