// The quick filters of the Activity view: each answers a question people
// ask of an update ("what is critical", "what runs next month", "what
// carries this code") and they combine with AND. The window's Filter panel
// and tessel-dump's --where forms fill the same `quick_filter`.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "analysis/shown_activities.h"
#include "document/document.h"

namespace tessel::analysis {

// Activity statuses as filter bits.
enum status_bit : uint8_t { status_not_started = 1, status_in_progress = 2, status_completed = 4 };

// Whole calendar days counted from 1970-01-01.
using day_number = int64_t;
day_number day_of(const s_date& d);

struct quick_filter {
  // Critical by the one definition (document::is_critical).
  bool critical = false;
  // Near critical: total float known and at most this many days of the
  // activity's calendar (hours / hours per day).
  std::optional<double> float_days;
  // Any of these statuses; 0 means every status.
  uint8_t statuses = 0;
  // A start or finish milestone.
  bool milestones = false;
  // Active between two days, both inclusive: forecast start on or before
  // the last day and forecast finish on or after the first. An activity
  // without either forecast date is never active.
  std::optional<day_number> active_from, active_to;
  // An activity code: any code type of this name (names repeat across
  // projects) with a value of this short name; both compared exactly.
  std::optional<std::u16string> code_type, code_value;
  // One substring, case-blind, of the Activity ID or of the name.
  std::u16string text;

  bool any() const {
    return critical || float_days || statuses || milestones || active_from || code_type || !text.empty();
  }
};

// The activities every set filter lets through (all of them when none is
// set), labelled by `describe`.
shown_activities filter_activities(const document::Document& doc, const quick_filter& f);

// The status-bar words for the set filters: "Critical, Float <= 10 d".
std::u16string describe(const quick_filter& f);

// The code type names of the file in first-met order, and the value short
// names of every type of one name: the Filter panel's pick lists.
std::vector<std::u16string> code_type_names(const document::Document& doc);
std::vector<std::u16string> code_value_names(const document::Document& doc, const std::u16string& type);

}  // namespace tessel::analysis
