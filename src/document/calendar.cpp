#include "document/calendar.h"

namespace tessel::document {

void work_calendar::build(std::u16string_view clndr_data) { raw_.assign(clndr_data); }
const std::u16string& work_calendar::raw_text() const { return raw_; }
std::vector<work_period>* work_calendar::weekday(int n) {
  return n >= 1 && n <= 7 ? &weekdays_[n - 1] : nullptr;
}
const std::vector<work_period>* work_calendar::weekday(int n) const {
  return n >= 1 && n <= 7 ? &weekdays_[n - 1] : nullptr;
}
void work_calendar::add_period(int weekday, work_period p) {
  if (weekday >= 1 && weekday <= 7) weekdays_[weekday - 1].push_back(p);
}
calendar_exception& work_calendar::add_exception(int64_t date) {
  exceptions_.push_back(calendar_exception{date, {}});
  return exceptions_.back();
}
void work_calendar::add_exception_period(calendar_exception& e, work_period p) { e.periods.push_back(p); }
const std::vector<calendar_exception>& work_calendar::exceptions() const { return exceptions_; }
void work_calendar::set_base(const work_calendar* base) { base_ = base; }
const work_calendar* work_calendar::base() const { return base_; }
int work_calendar::period_count(int64_t) const { return 0; }
work_period work_calendar::period(int64_t, int) const { return {}; }
int64_t work_calendar::working_minutes(int64_t, int64_t) const { return 0; }

}  // namespace tessel::document
