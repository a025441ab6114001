#include "document/critical.h"

namespace tessel::document {

bool is_critical(const TASK& t) {
  // Status code 0 is "completed": finished work is never critical.
  if (t.status_code.code == 0) return false;
  const PROJECT* p = t.project;
  if (p && p->critical_path_type.value == u"CT_DrivPath") return t.driving_path_flag.value != 0;
  if (t.total_float_hr_cnt.dur_empty) return false;
  const double threshold =
      p && !p->critical_drtn_hr_cnt.dur_empty ? p->critical_drtn_hr_cnt.hours : 0.0;
  return t.total_float_hr_cnt.hours <= threshold;
}

}  // namespace tessel::document
