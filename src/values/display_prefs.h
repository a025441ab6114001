// Process-wide display preferences for durations, units and percentages.
// The settings file fills them at start-up; the options pages and a workbook
// import change them. Read at every text() call.
#pragma once

#include <cstdint>
#include <string_view>

namespace tessel {

struct display_prefs {
  // Units of time: 0 Hour, 1 Day, 2 Week, 3 Month, 4 Year.
  // Decimals: 0 as stored, 1 none, 2 one, 3 two.
  int32_t duration_unit = 1;
  int32_t duration_decimals = 1;
  bool duration_label = false;
  int32_t unit_unit = 1;
  int32_t unit_decimals = 1;
  bool unit_label = false;
  // 1 whole numbers, 2 one decimal, 3 two decimals.
  int32_t percent_decimals = 1;
};

display_prefs& prefs();
void reset_prefs();  // back to the start-up defaults (tests)

// A workbook holds its figures already in the units it was exported with:
// after an import, durations and units show as stored with their letters,
// percentages with two decimals. `has_user_data` tells whether the workbook's
// user-data sheet was readable; only then does `user_data` choose the units
// of time ("DurationQtyType=QT_Day", "SmallScaleQtyType=QT_Hour", ...).
void apply_workbook_user_data(std::u16string_view user_data, bool has_user_data);

}  // namespace tessel
