// The calendars of an opened schedule:
//   tessel-dump --calendars FILE   one TSV line per calendar in file order
#include <cstdio>
#include <string>

#include "command.h"
#include "open_file.h"

namespace tessel::dump {
namespace {

using namespace tessel::document;

// Shortest decimal text of a number of hours.
std::string decimal(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.10g", v);
  return buf;
}

// An id cell left empty reads as 0, which names no record: shown empty.
std::string id_text(uint32_t id) { return id ? std::to_string(id) : std::string(); }

std::string number_text(const s_double& v) { return v.value_empty ? std::string() : decimal(v.value); }

int calendars(const std::vector<std::string>& args) {
  if (args.size() != 1) return 2;
  view::TesselDoc doc;
  if (open_timed(doc, args[0]) < 0) return refuse(args[0]);
  std::string out =
      "clndr_id\tclndr_name\ttype\tbase_clndr_id\tsun_hours\tmon_hours\ttue_hours\twed_hours\tthu_hours\tfri_hours\t"
      "sat_hours\texceptions\tday_hr_cnt\tweek_hr_cnt\n";
  for (const CALENDAR& c : doc.document()->calendar) {
    out += std::to_string(c.clndr_id.value) + '\t' + utf8(c.clndr_name.value) + '\t' + utf8(c.clndr_type.text()) +
           '\t' + id_text(c.base_clndr_id.value);
    for (int d = 1; d <= 7; ++d) out += '\t' + decimal(static_cast<double>(c.calendar.weekday_minutes(d)) / 60.0);
    out += '\t' + std::to_string(c.calendar.exceptions().size()) + '\t' + number_text(c.day_hr_cnt) + '\t' +
           number_text(c.week_hr_cnt) + '\n';
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}

const command_registration calendars_command{
    {"--calendars", "--calendars FILE",
     "TSV, one line per calendar in file order: clndr_id, clndr_name, type, base_clndr_id, the working hours of "
     "a whole Sunday to Saturday (one column each), the number of exceptions, day_hr_cnt, week_hr_cnt.",
     calendars}};

}  // namespace
}  // namespace tessel::dump
