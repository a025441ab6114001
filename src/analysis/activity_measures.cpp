#include "analysis/activity_measures.h"

namespace tessel::analysis {

const s_date& forecast_start(const document::TASK& t) {
  return t.act_start_date.has_date() ? t.act_start_date : t.early_start_date;
}

const s_date& forecast_finish(const document::TASK& t) {
  return t.act_end_date.has_date() ? t.act_end_date : t.early_end_date;
}

double hours_per_day(const document::TASK& t) {
  const document::CALENDAR* c = t.calendar;
  if (!c || c->day_hr_cnt.value_empty || !(c->day_hr_cnt.value > 0)) return 8.0;
  return c->day_hr_cnt.value;
}

}  // namespace tessel::analysis
