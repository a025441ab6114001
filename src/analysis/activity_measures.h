// What the analyses (filters, trace, compare, schedule check) read off an
// activity, read the same way everywhere: its forecast dates and the length
// of its working day.
#pragma once

#include "document/records/records.h"

namespace tessel::analysis {

// The actual start when the activity has one, else its early start; an
// empty date when it has neither.
const s_date& forecast_start(const document::TASK& t);
// The actual finish when the activity has one, else its early finish.
const s_date& forecast_finish(const document::TASK& t);

// The working hours in a day of the activity's calendar; 8 when it has no
// calendar or the calendar's value is missing or not positive.
double hours_per_day(const document::TASK& t);
// `hours` of the activity's calendar as working days.
inline double working_days(double hours, const document::TASK& t) { return hours / hours_per_day(t); }

}  // namespace tessel::analysis
