// The load report of a schedule:
//   tessel-dump --report FILE   what the open found: format, encoding, tables
//                               read and not read, end marker, rows at fault,
//                               references that point nowhere, unreadable dates
#include <cstdio>
#include <string>

#include "command.h"
#include "document/load_report.h"
#include "open_file.h"

namespace tessel::dump {
namespace {

int report(const std::vector<std::string>& args) {
  if (args.size() != 1) {
    std::fprintf(stderr, "usage: tessel-dump --report FILE\n");
    return 2;
  }
  view::TesselDoc doc;
  if (open_timed(doc, args[0]) < 0) return refuse(args[0]);
  const std::string out = document::report_text(doc.document()->report());
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}

const command_registration report_command{
    {"--report", "--report FILE",
     "Prints what the open found: format, encoding, tables read and not read with their rows, the end "
     "marker, rows at fault, references that point nowhere, dates that could not be read.",
     &report}};

}  // namespace
}  // namespace tessel::dump
