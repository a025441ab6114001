// What an opened schedule holds:
//   tessel-dump --summary FILE      one line of record counts and the open time
//   tessel-dump --activities FILE   one TSV line per activity with its derived values
#include <cmath>
#include <cstdio>
#include <string>

#include "command.h"
#include "open_file.h"

namespace tessel::dump {
namespace {

using namespace tessel::document;

int summary(const std::vector<std::string>& args) {
  if (args.size() != 1) return 2;
  view::TesselDoc doc;
  const double ms = open_timed(doc, args[0]);
  if (ms < 0) return refuse(args[0]);
  const Document& d = *doc.document();
  // A workbook's text has an encoding of its own, not one of the file's.
  const std::optional<text_encoding> used = doc.encoding_used();
  const std::string encoding = used ? std::string(name_of(*used)) : "workbook";
  std::printf(
      "projects=%zu activities=%zu relationships=%zu wbs=%zu resources=%zu calendars=%zu assignments=%zu read_ms=%.0f "
      "encoding=%s\n",
      d.project.size(), d.task.size(), d.taskpred.size(), d.projwbs.size(), d.rsrc.size(), d.calendar.size(),
      d.taskrsrc.size(), ms, encoding.c_str());
  return 0;
}

// Hours as the shortest decimal text; an empty duration prints nothing.
std::string hours_text(const s_dur& d) {
  if (d.dur_empty) return {};
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.10g", d.hours);
  return buf;
}

int activities(const std::vector<std::string>& args) {
  if (args.size() != 1) return 2;
  view::TesselDoc doc;
  if (open_timed(doc, args[0]) < 0) return refuse(args[0]);
  std::string out =
      "task_code\ttask_name\tstatus\tstart\tfinish\tat_completion_hours\tactual_hours\twbs_path\tproject\tcalendar\t"
      "resources\tpredecessors\tsuccessors\n";
  for (const TASK& t : doc.document()->task) {
    out += utf8(t.task_code.value) + '\t' + utf8(t.task_name.value) + '\t' + utf8(t.status_code.text()) + '\t' +
           utf8(t.start_date.text()) + '\t' + utf8(t.end_date.text()) + '\t' + hours_text(t.total_drtn_hr_cnt) +
           '\t' + hours_text(t.act_drtn_hr_cnt) + '\t' + (t.projwbs ? utf8(t.projwbs->wbs_path.value) : "") + '\t' +
           (t.project ? utf8(t.project->proj_short_name.value) : "") + '\t' +
           (t.calendar ? utf8(t.calendar->clndr_name.value) : "") + '\t' + utf8(t.resource_list.value) + '\t' +
           utf8(t.pred_list.value) + '\t' + utf8(t.succ_list.value) + '\n';
    if (out.size() > (1u << 20)) {
      std::fwrite(out.data(), 1, out.size(), stdout);
      out.clear();
    }
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}

const command_registration summary_command{
    {"--summary", "--summary FILE",
     "One line: projects=P activities=A relationships=R wbs=W resources=S calendars=C assignments=N read_ms=T "
     "encoding=E (record counts of the opened schedule, the milliseconds the open took and the encoding its "
     "text was read in; \"workbook\" for a workbook).",
     summary}};
const command_registration activities_command{
    {"--activities", "--activities FILE",
     "TSV, one line per activity in file order: task_code, task_name, status, start, finish, at-completion and "
     "actual duration in hours, WBS path, project, calendar, resources, predecessors, successors.",
     activities}};

}  // namespace
}  // namespace tessel::dump
