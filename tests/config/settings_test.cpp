// The settings file and the per-user data folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "config/data_folder.h"
#include "config/settings.h"
#include "config_sandbox.h"
#include "test_support.h"
#include "values/display_prefs.h"

namespace fs = std::filesystem;
using tessel::prefs;
using tessel::config::settings;
using test_support::read_file;
using test_support::write_file;

namespace {

// Every setting on one line, in the order of the file: the unit of time,
// decimals and label of units and of durations, remembering, and the
// gridlines' two scales and two switches.
std::string current() {
  std::ostringstream o;
  const auto& p = prefs();
  const auto& s = settings();
  o << "units " << p.unit_unit << "/" << p.unit_decimals << "/" << p.unit_label << " durations " << p.duration_unit
    << "/" << p.duration_decimals << "/" << p.duration_label << " remember " << s.layout_rememberChanges
    << " gridlines " << s.gridlines_VerticalScale << "/" << s.gridlines_HorizontalScale << "/"
    << s.gridlines_VerticalEnabled << "/" << s.gridlines_HorizontalEnabled;
  return o.str();
}

class Settings : public config_sandbox {
 protected:
  Settings() : config_sandbox("tessel-settings-") {}
  void SetUp() override {
    config_sandbox::SetUp();
    product_ = root_ / "data";
  }
  fs::path product_;
};

TEST_F(Settings, SavedFileHoldsElevenLinesInOrderAndReadsBackTheSameValues) {
  const std::string text =
      "unit_UnitOfTime:0\n"
      "unit_Decimals:3\n"
      "unit_ShowDurationLabel:1\n"
      "duration_UnitOfTime:4\n"
      "duration_Decimals:2\n"
      "duration_ShowDurationLabel:1\n"
      "layout_rememberChanges:0\n"
      "gridlines_VerticalScale:8\n"
      "gridlines_HorizontalScale:100\n"
      "gridlines_VerticalEnabled:0\n"
      "gridlines_HorizontalEnabled:0\n";
  const fs::path file = product_ / "Settings.cfg";
  write_file(file, text);
  tessel::config::LoadSettings();
  EXPECT_EQ(current(), "units 0/3/1 durations 4/2/1 remember 0 gridlines 8/100/0/0");
  fs::remove(file);
  tessel::config::SaveSettings();
  EXPECT_EQ(read_file(file), text);

  // Saving again replaces the file in full: the defaults are back.
  tessel::config::reset_settings();
  tessel::reset_prefs();
  tessel::config::SaveSettings();
  EXPECT_EQ(read_file(file).find("unit_UnitOfTime:1\nunit_Decimals:1\nunit_ShowDurationLabel:0\n"),
            0u);
  EXPECT_NE(read_file(file).find("\ngridlines_HorizontalEnabled:1\n"), std::string::npos);
}

TEST_F(Settings, HandWrittenFileIsReadPieceByPiece) {
  // A file naming one key leaves the others at their defaults.
  write_file(tessel::config::settings_file(), "gridlines_HorizontalScale:13\n");
  tessel::config::LoadSettings();
  EXPECT_EQ(current(), "units 1/1/0 durations 1/1/0 remember 1 gridlines 2/13/1/1");

  prefs().duration_decimals = 3;
  write_file(tessel::config::settings_file(),
             // Only "1" keeps remembering on; only "0" turns gridlines off.
             "layout_rememberChanges:yes\n"
             "gridlines_VerticalEnabled:yes\n"
             "gridlines_HorizontalEnabled:0\r\n"  // a CR LF line end
             // An empty value switches an off-by-default flag on.
             "unit_ShowDurationLabel:\n"
             // Not a number: 0. A number followed by text: the number.
             "unit_Decimals:abc\n"
             "gridlines_HorizontalScale:12rows\n"
             // Two pieces on one line.
             "unit_UnitOfTime:3\tduration_UnitOfTime:4\n"
             // The last of a repeated key wins.
             "gridlines_VerticalScale:4\n"
             "gridlines_VerticalScale:8\n"
             // The value runs from the first colon to the end.
             "duration_ShowDurationLabel:0:1\n"
             // Skipped: no colon, a leading colon, unknown or miscased keys.
             "duration_Decimals\t:duration_Decimals:2\tDuration_Decimals:2\tcolour:red\n");
  tessel::config::LoadSettings();
  // "0:1" is not exactly "0": the duration label is on.
  EXPECT_EQ(current(), "units 3/0/1 durations 4/3/1 remember 0 gridlines 8/12/1/0");

  // No range check and no overflow: the leading number is taken as it stands.
  write_file(tessel::config::settings_file(),
             "gridlines_VerticalScale:-7\ngridlines_HorizontalScale:99999999999999\n");
  tessel::config::LoadSettings();
  EXPECT_EQ(settings().gridlines_VerticalScale, -7);
  EXPECT_EQ(settings().gridlines_HorizontalScale, INT32_MAX);
}

// Writing replaces the file whole or not at all, by the same routine as the
// column files (tested with the column chooser in tests/view).
TEST_F(Settings, MissingFileIsSilent) {
  settings().gridlines_HorizontalScale = 9;
  tessel::config::LoadSettings();  // no file yet
  EXPECT_EQ(settings().gridlines_HorizontalScale, 9);
  tessel::config::LoadSettings(root_ / "nowhere" / "Settings.cfg");
  EXPECT_EQ(settings().gridlines_HorizontalScale, 9);
}

TEST_F(Settings, DataFolderIsCreatedOnceWithItsFourViewFolders) {
  const fs::path& folder = tessel::config::data_folder();
  EXPECT_EQ(folder, product_);
  for (const char* sub : {"VP_ACT", "VP_WBS", "VP_PROJ", "VP_RES"})
    EXPECT_TRUE(fs::is_directory(product_ / sub)) << sub;

  // Worked out once: a later change of the environment needs a reset.
  setenv("TESSEL_DATA_DIR", (root_ / "other").c_str(), 1);
  EXPECT_EQ(tessel::config::data_folder(), product_);
  EXPECT_FALSE(fs::exists(root_ / "other"));

  // Without TESSEL_DATA_DIR: the XDG data folder, then the maker and product.
  unsetenv("TESSEL_DATA_DIR");
  setenv("XDG_DATA_HOME", (root_ / "xdg").c_str(), 1);
  setenv("HOME", (root_ / "home").c_str(), 1);
  tessel::config::reset_data_folder();
  const fs::path xdg = root_ / "xdg" / "Corvane" / "Corvane Tessel Reader";
  EXPECT_EQ(tessel::config::data_folder(), xdg);
  EXPECT_TRUE(fs::is_directory(xdg / "VP_RES"));

  // An unset or relative XDG_DATA_HOME falls back to ~/.local/share.
  setenv("XDG_DATA_HOME", "relative/share", 1);
  tessel::config::reset_data_folder();
  const fs::path home = root_ / "home" / ".local" / "share" / "Corvane" / "Corvane Tessel Reader";
  EXPECT_EQ(tessel::config::data_folder(), home);
  EXPECT_TRUE(fs::is_directory(home / "VP_PROJ"));
  unsetenv("XDG_DATA_HOME");
  tessel::config::reset_data_folder();
  EXPECT_EQ(tessel::config::data_folder(), home);
}

}  // namespace
