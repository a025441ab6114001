#include "config/settings.h"


#include <array>
#include <climits>
#include <fstream>
#include <string>
#include <string_view>

#include "config/config_text.h"
#include "config/data_folder.h"
#include "values/display_prefs.h"

namespace tessel::config {
namespace {

namespace fs = std::filesystem;

app_settings& the_settings() {
  static app_settings s;
  return s;
}

// How a value text becomes a setting.
enum class kind {
  integer,   // leading decimal integer, 0 when the text does not begin with one
  on_if_1,   // true only for exactly "1"
  off_if_0,  // false only for exactly "0"
};

struct setting {
  std::string_view key;
  kind how;
  int32_t* integer;  // where an integer setting lives
  bool* flag;        // where a flag lives
};

constexpr size_t kSettingCount = 11;

// The eleven settings in the order they are written. Built per call because
// the storage (display preferences, settings) is reached through accessors.
std::array<setting, kSettingCount> table() {
  display_prefs& p = prefs();
  app_settings& s = the_settings();
  return {{
      {"unit_UnitOfTime", kind::integer, &p.unit_unit, nullptr},
      {"unit_Decimals", kind::integer, &p.unit_decimals, nullptr},
      {"unit_ShowDurationLabel", kind::off_if_0, nullptr, &p.unit_label},
      {"duration_UnitOfTime", kind::integer, &p.duration_unit, nullptr},
      {"duration_Decimals", kind::integer, &p.duration_decimals, nullptr},
      {"duration_ShowDurationLabel", kind::off_if_0, nullptr, &p.duration_label},
      {"layout_rememberChanges", kind::on_if_1, nullptr, &s.layout_rememberChanges},
      {"gridlines_VerticalScale", kind::integer, &s.gridlines_VerticalScale, nullptr},
      {"gridlines_HorizontalScale", kind::integer, &s.gridlines_HorizontalScale, nullptr},
      {"gridlines_VerticalEnabled", kind::off_if_0, nullptr, &s.gridlines_VerticalEnabled},
      {"gridlines_HorizontalEnabled", kind::off_if_0, nullptr, &s.gridlines_HorizontalEnabled},
  }};
}

// The value's leading decimal integer: leading blanks skipped, an optional
// sign, then digits up to the first non-digit. No digits give 0; a number
// too large for the setting is held at the nearest representable value.
int32_t leading_integer(std::string_view v) {
  size_t i = 0;
  while (i < v.size() && (v[i] == ' ' || v[i] == '\t')) ++i;
  bool negative = false;
  if (i < v.size() && (v[i] == '+' || v[i] == '-')) negative = v[i++] == '-';
  int64_t n = 0;
  for (; i < v.size() && v[i] >= '0' && v[i] <= '9'; ++i) {
    n = n * 10 + (v[i] - '0');
    if (n > int64_t{INT32_MAX} + 1) n = int64_t{INT32_MAX} + 1;
  }
  if (negative) n = -n;
  if (n > INT32_MAX) n = INT32_MAX;
  return static_cast<int32_t>(n);
}

void apply_piece(std::string_view piece, const std::array<setting, kSettingCount>& known) {
  size_t colon = piece.find(':');
  if (colon == std::string_view::npos || colon == 0) return;
  std::string_view key = piece.substr(0, colon);
  std::string_view value = piece.substr(colon + 1);
  for (const setting& s : known) {
    if (s.key != key) continue;
    switch (s.how) {
      case kind::integer: *s.integer = leading_integer(value); break;
      case kind::on_if_1: *s.flag = value == "1"; break;
      case kind::off_if_0: *s.flag = value != "0"; break;
    }
    return;
  }
}

std::string file_text() {
  std::string text;
  for (const setting& s : table()) {
    text += s.key;
    text += ':';
    if (s.how == kind::integer) {
      text += std::to_string(*s.integer);
    } else {
      text += *s.flag ? '1' : '0';
    }
    text += '\n';
  }
  return text;
}

}  // namespace

app_settings& settings() { return the_settings(); }

void reset_settings() { the_settings() = app_settings{}; }

void LoadSettings() { LoadSettings(settings_file()); }

void LoadSettings(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return;
  const auto known = table();
  std::string line;
  while (std::getline(in, line)) {
    std::string_view rest(line);
    // A file edited on Windows ends its lines with CR LF; the CR is not part
    // of the value (otherwise "1\r" would not switch a flag on).
    if (!rest.empty() && rest.back() == '\r') rest.remove_suffix(1);
    // Each tab-separated piece is a setting of its own.
    for (;;) {
      size_t tab = rest.find('\t');
      apply_piece(rest.substr(0, tab), known);
      if (tab == std::string_view::npos) break;
      rest.remove_prefix(tab + 1);
    }
  }
}

void SaveSettings() { SaveSettings(settings_file()); }

void SaveSettings(const fs::path& file) {
  // Failures are not reported: the settings in force stay as they are.
  view::config_text::write_file(file, file_text());
}

}  // namespace tessel::config
