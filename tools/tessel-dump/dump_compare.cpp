// What changed between two updates of a schedule:
//   tessel-dump --compare OLD NEW   one TSV line per change
#include <cstdio>
#include <string>

#include "analysis/schedule_compare.h"
#include "command.h"
#include "open_file.h"

namespace tessel::dump {
namespace {

// A tab or line end inside a text would break the line into columns.
std::string cell(const std::u16string& text) {
  std::string s = utf8(text);
  for (char& c : s)
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  return s;
}

int compare(const std::vector<std::string>& args) {
  if (args.size() != 2) return 2;
  view::TesselDoc old_doc, new_doc;
  if (open_timed(old_doc, args[0]) < 0) return refuse(args[0]);
  if (open_timed(new_doc, args[1]) < 0) return refuse(args[1]);
  const analysis::schedule_match match = analysis::match_schedules(*old_doc.document(), *new_doc.document());
  std::string out = "project\tactivity_id\tchange\told\tnew\n";
  for (const analysis::change_line& l : analysis::compare_schedules(match)) {
    const document::TASK* t = l.new_task ? l.new_task : l.old_task;
    out += cell(l.project ? l.project->proj_short_name.value : std::u16string()) + '\t' +
           (t ? cell(t->task_code.value) : std::string()) + '\t' + std::string(analysis::change_kind_text(l.kind)) +
           '\t' + cell(l.old_text) + '\t' + cell(l.new_text) + '\n';
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}

const command_registration compare_command{
    {"--compare", "--compare OLD NEW",
     "TSV, one line per change from OLD to NEW (two updates of one schedule, matched by project name or shared "
     "Activity IDs, then by Activity ID): project, activity_id, change, old, new. Project lines first, then "
     "activities in NEW order, then the deleted ones in OLD order.",
     compare}};

}  // namespace
}  // namespace tessel::dump
