// tessel-dump: the command-line companion of the viewer. Shows what the core
// makes of a schedule file, in stable, scriptable text formats.
#include <algorithm>
#include <cstdio>
#include <iostream>

#include "command.h"
#include "document/schedule_file.h"
#include "open_file.h"

namespace tessel::dump {
namespace {

std::vector<command>& commands() {
  static std::vector<command> all;
  return all;
}

void print_help() {
  std::cout << "Usage: tessel-dump [OPTION] ...\n"
               "Prints what Tessel Reader reads from a schedule file (.xer, .xls or .xlsx).\n"
               "Texts are printed as UTF-8; tables as TSV with a header line.\n\n";
  auto sorted = commands();
  std::sort(sorted.begin(), sorted.end(),
            [](const command& a, const command& b) { return a.option < b.option; });
  for (const command& c : sorted) {
    std::cout << "  tessel-dump " << c.usage << "\n      " << c.description << "\n";
  }
  std::cout << "  tessel-dump --help\n      Shows this help.\n\n"
               "Every command that opens a file also takes --encoding NAME: read the XER text in\n"
               "that encoding (windows-1250 to windows-1258, gbk, big5, shift_jis, utf-8,\n"
               "iso-8859-1) instead of the one the viewer remembers or detects.\n\n"
               "A file that cannot be read as a schedule prints \"Can't open document: PATH\"\n"
               "and the reason on stderr and exits with status 1.\n";
}

}  // namespace

command_registration::command_registration(command c) { commands().push_back(std::move(c)); }

int refuse(const std::string& path) {
  // The reason the open gave, or, for the commands that read the text
  // tree themselves, the one the file's first look gives.
  std::u16string reason = last_refusal(path);
  if (reason.empty()) document::sniff_schedule(path_arg(path), &reason);
  if (reason.empty()) reason = u"The file is not a schedule export (it does not start with ERMHDR).";
  std::cerr << utf8(view::refusal_message(path_arg(path), reason)) << "\n";
  return 1;
}

}  // namespace tessel::dump

int main(int argc, char** argv) {
  using namespace tessel::dump;
  std::ios::sync_with_stdio(false);
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "--help" || args[0] == "-h") {
    print_help();
    return args.empty() ? 2 : 0;
  }
  if (!take_encoding_option(args)) return 2;
  std::string option;
  if (!args.empty() && args[0].size() > 2 && args[0].compare(0, 2, "--") == 0) {
    option = args[0];
    args.erase(args.begin());
  }
  for (const command& c : commands()) {
    if (c.option == option) return c.run(args);
  }
  std::cerr << "tessel-dump: unknown option " << option << " (see --help)\n";
  return 2;
}
