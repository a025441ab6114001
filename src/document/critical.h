// Whether an activity is critical: the one rule every part of the program
// uses (the Critical column, the layouts' bar filters, quick filters, the
// schedule check). The database marks activities critical by their
// project's own setting, so this follows it.
#pragma once

#include "document/records/records.h"

namespace tessel::document {

// Not completed and, by the rule of the activity's project: on a project
// that calls the longest path critical (critical_path_type "CT_DrivPath"),
// on the driving path; otherwise with a known total float at most the
// project's critical float threshold (critical_drtn_hr_cnt; 0 hours when
// empty or when the activity has no project).
bool is_critical(const TASK& t);

}  // namespace tessel::document
