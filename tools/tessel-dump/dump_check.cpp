// The schedule check of an opened schedule:
//   tessel-dump --check [--baseline FILE] FILE
//   tessel-dump --check-list CHECK [--baseline FILE] FILE
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>

#include "analysis/check_text.h"
#include "analysis/schedule_match.h"
#include "command.h"
#include "open_file.h"

namespace tessel::dump {
namespace {

// Runs the check on FILE, against the baseline file when one is named, and
// hands it to `print`. Answers the exit status.
template <class Print>
int with_check(std::vector<std::string> args, Print print) {
  std::optional<std::string> baseline_path;
  for (size_t i = 0; i + 1 < args.size(); ++i) {
    if (args[i] == "--baseline") {
      baseline_path = args[i + 1];
      args.erase(args.begin() + long(i), args.begin() + long(i + 2));
      break;
    }
  }
  if (args.size() != 1) {
    std::cerr << "tessel-dump: the check takes [--baseline FILE] FILE\n";
    return 2;
  }
  view::TesselDoc doc;
  if (open_timed(doc, args[0]) < 0) return refuse(args[0]);
  if (!baseline_path) return print(analysis::check_schedule(*doc.document()));
  view::TesselDoc baseline;
  if (open_timed(baseline, *baseline_path) < 0) return refuse(*baseline_path);
  const analysis::schedule_match match = analysis::match_schedules(*baseline.document(), *doc.document());
  return print(analysis::check_schedule(*doc.document(), &match));
}

int print_text(const std::string& out) {
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}

int check(const std::vector<std::string>& args) {
  return with_check(args, [](const analysis::schedule_check& c) { return print_text(analysis::check_table_tsv(c)); });
}

int check_list(const std::vector<std::string>& args) {
  if (args.empty()) {
    std::cerr << "tessel-dump: --check-list needs a check name\n";
    return 2;
  }
  const std::optional<analysis::check_kind> kind = analysis::check_by_name(args[0]);
  if (!kind) {
    std::cerr << "tessel-dump: unknown check " << args[0] << "; known:";
    for (int k = 0; k < analysis::check_count; ++k)
      std::cerr << ' ' << analysis::check_name(static_cast<analysis::check_kind>(k));
    std::cerr << "\n";
    return 2;
  }
  return with_check(std::vector<std::string>(args.begin() + 1, args.end()),
                    [kind](const analysis::schedule_check& c) { return print_text(analysis::check_list_tsv(c, *kind)); });
}

const command_registration check_command{
    {"--check", "--check [--baseline FILE] FILE",
     "TSV: the 18 schedule checks of each project (project, check, count, of, value, limit, result), then "
     "\"#\\tbaseline=file\" or \"#\\tbaseline=planned\". With --baseline, baseline finishes are the forecast "
     "finishes of the same Activity IDs in that file.",
     check}};

const command_registration check_list_command{
    {"--check-list", "--check-list CHECK [--baseline FILE] FILE",
     "What one check counts, project by project: \"project\\tactivity_id\" for activity checks, "
     "\"project\\tpred_id\\tsucc_id\" for relationship checks.",
     check_list}};

}  // namespace
}  // namespace tessel::dump
