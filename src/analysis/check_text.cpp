#include "analysis/check_text.h"

#include <cmath>
#include <cstdio>

#include "document/io/path_text.h"

namespace tessel::analysis {

namespace {

constexpr std::string_view names[check_count] = {
    "logic",         "leads",      "lags",   "finish-to-start", "hard-constraints", "high-float",
    "negative-float", "high-duration", "invalid-dates", "resources", "missed", "critical-path",
    "cpli",          "bei",        "open-start", "open-finish", "start-to-finish", "out-of-sequence"};

constexpr std::string_view limits[check_count] = {"<=5%", "=0",   "<=5%",  ">=90%", "<=5%", "<=5%",
                                                  "=0",   "<=5%", "=0",    "",      "<=5%", "",
                                                  ">=0.95", ">=0.95", "<=5%", "<=5%", "=0", ""};

std::string fixed(double v, int decimals) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
  return buf;
}

// count ÷ of in units of 10^-digits, rounded half up from the exact fraction.
int64_t share_rounded(int64_t count, int64_t of, int64_t scale) { return (count * scale * 2 + of) / (2 * of); }

std::string activity_id(const document::TASK* t) { return t ? document::narrow_path(t->task_code.value) : ""; }

}  // namespace

std::string_view check_name(check_kind k) { return names[static_cast<size_t>(k)]; }

std::optional<check_kind> check_by_name(std::string_view name) {
  for (int k = 0; k < check_count; ++k)
    if (names[k] == name) return static_cast<check_kind>(k);
  return std::nullopt;
}

std::string_view check_limit(check_kind k) { return limits[static_cast<size_t>(k)]; }

std::string_view result_name(check_result r) {
  switch (r) {
    case check_result::pass: return "pass";
    case check_result::fail: return "fail";
    case check_result::info: return "info";
    case check_result::not_applicable: break;
  }
  return "n/a";
}

check_cells cells_of(const check_line& l) {
  check_cells c;
  if (l.result == check_result::not_applicable) return c;
  switch (l.kind) {
    case check_kind::critical_path:
      c.count = std::to_string(l.count);
      break;
    case check_kind::cpli:
      // A ratio of two day counts: rounded half up from the value held.
      c.value = fixed(std::floor(l.value * 100.0 + 0.5 + 1e-9) / 100.0, 2);
      break;
    case check_kind::bei:
      c.count = std::to_string(l.count);
      c.of = std::to_string(l.of);
      c.value = fixed(static_cast<double>(share_rounded(l.count, l.of, 100)) / 100.0, 2);
      break;
    default:
      c.count = std::to_string(l.count);
      c.of = std::to_string(l.of);
      c.value = fixed(static_cast<double>(share_rounded(l.count, l.of, 1000)) / 10.0, 1);
      break;
  }
  return c;
}

std::string project_name(const project_check& p) {
  return p.project ? document::narrow_path(p.project->proj_short_name.value) : "";
}

std::string check_table_tsv(const schedule_check& c) {
  std::string out = "project\tcheck\tcount\tof\tvalue\tlimit\tresult\n";
  for (const project_check& p : c.projects) {
    const std::string project = project_name(p);
    for (const check_line& l : p.lines) {
      const check_cells cells = cells_of(l);
      out += project + '\t' + std::string(check_name(l.kind)) + '\t' + cells.count + '\t' + cells.of + '\t' +
             cells.value + '\t' + std::string(check_limit(l.kind)) + '\t' + std::string(result_name(l.result)) +
             '\n';
    }
  }
  out += c.baseline_file ? "#\tbaseline=file\n" : "#\tbaseline=planned\n";
  return out;
}

std::string check_list_tsv(const schedule_check& c, check_kind k) {
  std::string out;
  for (const project_check& p : c.projects) {
    const std::string project = project_name(p);
    const check_line& l = p.lines[static_cast<size_t>(k)];
    for (const document::TASK* t : l.activities) out += project + '\t' + activity_id(t) + '\n';
    for (const document::TASKPRED* r : l.relationships)
      out += project + '\t' + activity_id(r->predtask) + '\t' + activity_id(r->task) + '\n';
  }
  return out;
}

}  // namespace tessel::analysis
