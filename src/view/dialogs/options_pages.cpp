#include "view/dialogs/options_pages.h"

#include <string>

#include "config/settings.h"
#include "values/display_prefs.h"

namespace tessel::view {

namespace {

char16_t fold(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

struct text_code {
  std::u16string_view text;
  int32_t code;
};

constexpr text_code scales[] = {{u"Quarter", 1}, {u"Month", 2}, {u"Week", 4},
                                {u"Day", 5},     {u"Shift", 7}, {u"Hour", 8}};

}  // namespace

bool same_text(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (fold(a[i]) != fold(b[i])) return false;
  return true;
}

int32_t unit_code(std::u16string_view text) {
  const int i = choice_index(unit_choices, text);
  return i < 0 ? 1 : i;
}

std::u16string_view unit_text(int32_t code) {
  return code >= 1 && code <= 4 ? unit_choices[static_cast<std::size_t>(code)] : unit_choices[0];
}

int32_t decimals_code(std::u16string_view text) {
  const int i = choice_index(decimals_choices, text);
  return i < 0 ? 1 : i + 1;
}

std::u16string_view decimals_text(int32_t code) {
  return code >= 1 && code <= 3 ? decimals_choices[static_cast<std::size_t>(code - 1)] : decimals_choices[0];
}

int32_t scale_code(std::u16string_view text) {
  for (const text_code& s : scales)
    if (same_text(s.text, text)) return s.code;
  return 2;
}

std::u16string_view scale_text(int32_t code) {
  for (const text_code& s : scales)
    if (s.code == code) return s.text;
  return u"Month";
}

int32_t rows_from_text(std::u16string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  int64_t n = 0;
  bool digits = false;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    digits = true;
    if (n <= 1000) n = n * 10 + (text[i] - u'0');  // anything past 100 clamps alike
  }
  if (!digits || negative || n < 1) return 1;
  return n > 100 ? 100 : static_cast<int32_t>(n);
}

units_page open_units_page() {
  const display_prefs& p = prefs();
  units_page page;
  page.unit_unit = unit_text(p.unit_unit);
  page.unit_decimals = decimals_text(p.unit_decimals);
  page.unit_label = p.unit_label;
  page.duration_unit = unit_text(p.duration_unit);
  page.duration_decimals = decimals_text(p.duration_decimals);
  page.duration_label = p.duration_label;
  return page;
}

void ok_units_page(const units_page& page) {
  display_prefs& p = prefs();
  p.duration_unit = unit_code(page.duration_unit);
  p.duration_decimals = decimals_code(page.duration_decimals);
  p.duration_label = page.duration_label;
  p.unit_unit = unit_code(page.unit_unit);
  p.unit_decimals = decimals_code(page.unit_decimals);
  p.unit_label = page.unit_label;
  config::SaveSettings();
}

gridlines_page open_gridlines_page() {
  const config::app_settings& s = config::settings();
  gridlines_page page;
  // A code whose text is not in the list (Quarter, Shift, Hour) selects
  // nothing.
  const std::u16string_view text = scale_text(s.gridlines_VerticalScale);
  const int i = choice_index(scale_choices, text);
  if (i >= 0) page.scale = scale_choices[static_cast<std::size_t>(i)];
  const std::string rows = std::to_string(static_cast<uint32_t>(s.gridlines_HorizontalScale));
  page.rows.assign(rows.begin(), rows.end());
  page.horizontal = s.gridlines_HorizontalEnabled;
  page.vertical = s.gridlines_VerticalEnabled;
  return page;
}

void ok_gridlines_page(const gridlines_page& page) {
  config::app_settings& s = config::settings();
  s.gridlines_VerticalScale = scale_code(page.scale);
  s.gridlines_VerticalEnabled = page.vertical;
  s.gridlines_HorizontalEnabled = page.horizontal;
  s.gridlines_HorizontalScale = rows_from_text(page.rows);
  config::SaveSettings();
}

layouts_page open_layouts_page() { return {config::settings().layout_rememberChanges}; }

void ok_layouts_page(const layouts_page& page) {
  config::settings().layout_rememberChanges = page.remember;
  config::SaveSettings();
}

}  // namespace tessel::view
