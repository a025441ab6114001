// The schedule check as text: the names and limits people read, the cells
// of one line, and the TSV tables the command line prints and the window
// copies. One place, so the two never disagree.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "analysis/schedule_check.h"

namespace tessel::analysis {

// "logic", "finish-to-start", … as the tables name them.
std::string_view check_name(check_kind k);
// The check of that name, or none.
std::optional<check_kind> check_by_name(std::string_view name);
// "<=5%", "=0", ">=90%", ">=0.95", or "" for the checks judged otherwise.
std::string_view check_limit(check_kind k);
// "pass", "fail", "info", "n/a".
std::string_view result_name(check_result r);

// The cells of one line as printed: a line that does not apply shows no
// count, of or value; critical-path shows only its count, cpli only its
// value. Percentages carry one decimal, indexes two, both rounded half up.
struct check_cells {
  std::string count, of, value;
};
check_cells cells_of(const check_line& l);

// The project's short name as UTF-8.
std::string project_name(const project_check& p);

// "project check count of value limit result", a line per project and
// check, and a last line "#\tbaseline=file" or "#\tbaseline=planned".
std::string check_table_tsv(const schedule_check& c);
// What one check counts, project by project: "project\tactivity_id" for
// activity checks, "project\tpred_id\tsucc_id" for relationship checks.
std::string check_list_tsv(const schedule_check& c, check_kind k);

}  // namespace tessel::analysis
