// Process-wide display preferences for durations, units and percentages.
// The settings file fills them at start-up; the options pages and a workbook
// import change them. Read at every text() call.
#pragma once

#include <cstdint>

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

}  // namespace tessel
