#include "values/display_prefs.h"

namespace tessel {

display_prefs& prefs() {
  static display_prefs p;
  return p;
}

void reset_prefs() { prefs() = display_prefs{}; }

namespace {

// The unit of time that `key` followed by "QT_Hour" ... "QT_Year" names in
// `text`, or -1. When the text names several, the first one written wins.
int32_t unit_named(std::u16string_view text, std::u16string_view key) {
  static constexpr std::u16string_view names[5] = {u"QT_Hour", u"QT_Day", u"QT_Week", u"QT_Month", u"QT_Year"};
  for (size_t at = text.find(key); at != std::u16string_view::npos; at = text.find(key, at + 1)) {
    const std::u16string_view rest = text.substr(at + key.size());
    for (int32_t u = 0; u < 5; ++u)
      if (rest.substr(0, names[u].size()) == names[u]) return u;
  }
  return -1;
}

}  // namespace

void apply_workbook_user_data(std::u16string_view user_data, bool has_user_data) {
  display_prefs& p = prefs();
  p.duration_decimals = 0;
  p.unit_decimals = 0;
  p.duration_label = true;
  p.unit_label = true;
  p.percent_decimals = 3;
  if (!has_user_data) return;
  if (int32_t u = unit_named(user_data, u"DurationQtyType="); u >= 0) p.duration_unit = u;
  if (int32_t u = unit_named(user_data, u"SmallScaleQtyType="); u >= 0) p.unit_unit = u;
}

}  // namespace tessel
