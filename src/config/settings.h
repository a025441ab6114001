// The user's preferences, kept in "Settings.cfg" in the per-user data folder.
//
// Eleven settings. The six that shape the display of durations and units
// live in the process-wide display preferences (values/display_prefs.h):
//
//   unit_UnitOfTime             prefs().unit_unit          default 1 (Day)
//   unit_Decimals               prefs().unit_decimals      default 1 (none)
//   unit_ShowDurationLabel      prefs().unit_label         default false
//   duration_UnitOfTime         prefs().duration_unit      default 1 (Day)
//   duration_Decimals           prefs().duration_decimals  default 1 (none)
//   duration_ShowDurationLabel  prefs().duration_label     default false
//
// The other five live here, in `settings()`.
//
// The file is plain ASCII text, one "key:value" line per setting, integers
// in decimal and flags as 0 or 1. It is read once at start-up and written in
// full whenever the user confirms an options page.
#pragma once

#include <cstdint>
#include <filesystem>

namespace tessel::config {

struct app_settings {
  // Layouts remember the user's column changes.
  bool layout_rememberChanges = true;
  // Timescale unit at whose boundaries the Gantt chart draws vertical
  // gridlines: 1 Quarter, 2 Month, 4 Week, 5 Day, 7 Shift, 8 Hour.
  int32_t gridlines_VerticalScale = 2;
  // A horizontal gridline after every this many chart rows (the options
  // page keeps it within 1 to 100; the file is taken as it stands).
  int32_t gridlines_HorizontalScale = 5;
  bool gridlines_VerticalEnabled = true;
  bool gridlines_HorizontalEnabled = true;
};

// The process-wide settings (the five not held by the display preferences).
app_settings& settings();
// Back to the start-up defaults; the display preferences have their own
// reset (tessel::reset_prefs).
void reset_settings();

// Reads "Settings.cfg" from the per-user data folder and sets every setting
// the file names; the others keep their values. A missing or unreadable
// file changes nothing.
void LoadSettings();
void LoadSettings(const std::filesystem::path& file);

// Writes all eleven settings to "Settings.cfg" in the per-user data folder,
// replacing it. The new text goes to a temporary file beside it that is then
// renamed over the old one, so the file is always either the old one or the
// complete new one. A failure is not reported; the values stay in effect.
void SaveSettings();
void SaveSettings(const std::filesystem::path& file);

}  // namespace tessel::config
