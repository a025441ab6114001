// The options pages: list texts and setting codes, the row interval typed by
// the user, and OK storing into the settings and "Settings.cfg" at once.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "config/data_folder.h"
#include "config/settings.h"
#include "config_sandbox.h"
#include "values/display_prefs.h"
#include "view/options_pages.h"

using namespace tessel;
using namespace tessel::view;

namespace {

class OptionsPages : public config_sandbox {
 protected:
  OptionsPages() : config_sandbox("tessel-options-") {}
  void SetUp() override {
    config_sandbox::SetUp();
    reset_prefs();
  }
  void TearDown() override {
    reset_prefs();
    config_sandbox::TearDown();
  }
  static std::string saved() {
    std::ifstream in(config::settings_file(), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
};

}  // namespace

TEST(OptionsMappings, ListTextsAndCodesBothWays) {
  EXPECT_EQ(unit_code(u"Hour"), 0);
  EXPECT_EQ(unit_code(u"wEEK"), 2);
  EXPECT_EQ(unit_code(u"Year"), 4);
  EXPECT_EQ(unit_code(u"Fortnight"), 1);
  EXPECT_EQ(unit_code(u""), 1);
  EXPECT_EQ(unit_text(0), u"Hour");
  EXPECT_EQ(unit_text(3), u"Month");
  EXPECT_EQ(unit_text(5), u"Hour");
  EXPECT_EQ(unit_text(-1), u"Hour");

  EXPECT_EQ(decimals_code(u"0"), 1);
  EXPECT_EQ(decimals_code(u"2"), 3);
  EXPECT_EQ(decimals_code(u"3"), 1);
  EXPECT_EQ(decimals_text(2), u"1");
  EXPECT_EQ(decimals_text(0), u"0");  // "as stored" shows as no decimals
  EXPECT_EQ(decimals_text(4), u"0");

  EXPECT_EQ(scale_code(u"quarter"), 1);
  EXPECT_EQ(scale_code(u"Month"), 2);
  EXPECT_EQ(scale_code(u"WEEK"), 4);
  EXPECT_EQ(scale_code(u"Day"), 5);
  EXPECT_EQ(scale_code(u"Shift"), 7);
  EXPECT_EQ(scale_code(u"hour"), 8);
  EXPECT_EQ(scale_code(u""), 2);
  EXPECT_EQ(scale_text(7), u"Shift");
  EXPECT_EQ(scale_text(3), u"Month");
  EXPECT_EQ(choice_index(scale_choices, u"week"), 1);
  EXPECT_EQ(choice_index(scale_choices, u"Hour"), -1);
}

TEST(OptionsMappings, RowIntervalIsTheLeadingNumberWithinOneToHundred) {
  EXPECT_EQ(rows_from_text(u"0"), 1);
  EXPECT_EQ(rows_from_text(u"250"), 100);
  EXPECT_EQ(rows_from_text(u"100"), 100);
  EXPECT_EQ(rows_from_text(u"1"), 1);
  EXPECT_EQ(rows_from_text(u"12"), 12);
  EXPECT_EQ(rows_from_text(u""), 1);
  EXPECT_EQ(rows_from_text(u"abc"), 1);
  EXPECT_EQ(rows_from_text(u"  7 rows"), 7);
  EXPECT_EQ(rows_from_text(u"42abc"), 42);
  EXPECT_EQ(rows_from_text(u"-5"), 1);
  EXPECT_EQ(rows_from_text(u"99999999999999999999"), 100);
}

TEST_F(OptionsPages, TimeUnitsShowAndStoreBothFormats) {
  prefs().duration_unit = 0;
  prefs().duration_decimals = 3;
  prefs().duration_label = true;
  prefs().unit_unit = 4;
  prefs().unit_decimals = 0;
  units_page p = open_units_page();
  EXPECT_EQ(p.duration_unit, u"Hour");
  EXPECT_EQ(p.duration_decimals, u"2");
  EXPECT_TRUE(p.duration_label);
  EXPECT_EQ(p.unit_unit, u"Year");
  EXPECT_EQ(p.unit_decimals, u"0");
  EXPECT_FALSE(p.unit_label);

  p.duration_unit = u"week";
  p.duration_decimals = u"1";
  p.duration_label = false;
  p.unit_unit = u"Day";
  p.unit_label = true;
  ok_units_page(p);
  EXPECT_EQ(prefs().duration_unit, 2);
  EXPECT_EQ(prefs().duration_decimals, 2);
  EXPECT_FALSE(prefs().duration_label);
  EXPECT_EQ(prefs().unit_unit, 1);
  EXPECT_EQ(prefs().unit_decimals, 1);  // shown as "0", stored back as no decimals
  EXPECT_TRUE(prefs().unit_label);
  EXPECT_EQ(saved(),
            "unit_UnitOfTime:1\nunit_Decimals:1\nunit_ShowDurationLabel:1\nduration_UnitOfTime:2\n"
            "duration_Decimals:2\nduration_ShowDurationLabel:0\nlayout_rememberChanges:1\n"
            "gridlines_VerticalScale:2\ngridlines_HorizontalScale:5\ngridlines_VerticalEnabled:1\n"
            "gridlines_HorizontalEnabled:1\n");
}

TEST_F(OptionsPages, GridlinesWithAnUnlistedScaleSelectNothingAndStoreMonth) {
  {
    std::ofstream(config::settings_file(), std::ios::binary)
        << "gridlines_VerticalScale:8\ngridlines_HorizontalScale:12\ngridlines_VerticalEnabled:0\n";
  }
  config::LoadSettings();
  gridlines_page p = open_gridlines_page();
  EXPECT_EQ(p.scale, u"");
  EXPECT_EQ(p.rows, u"12");
  EXPECT_FALSE(p.vertical);
  EXPECT_TRUE(p.horizontal);
  p.rows = u"250";
  p.horizontal = false;
  ok_gridlines_page(p);
  EXPECT_EQ(config::settings().gridlines_VerticalScale, 2);
  EXPECT_EQ(config::settings().gridlines_HorizontalScale, 100);
  EXPECT_FALSE(config::settings().gridlines_HorizontalEnabled);
  EXPECT_FALSE(config::settings().gridlines_VerticalEnabled);
  EXPECT_NE(saved().find("gridlines_VerticalScale:2\ngridlines_HorizontalScale:100\n"
                         "gridlines_VerticalEnabled:0\ngridlines_HorizontalEnabled:0\n"),
            std::string::npos);

  config::settings().gridlines_VerticalScale = 4;
  p = open_gridlines_page();
  EXPECT_EQ(p.scale, u"Week");
  p.rows = u"0";
  p.scale = u"Day";
  p.vertical = true;
  ok_gridlines_page(p);
  EXPECT_EQ(config::settings().gridlines_VerticalScale, 5);
  EXPECT_EQ(config::settings().gridlines_HorizontalScale, 1);
  EXPECT_TRUE(config::settings().gridlines_VerticalEnabled);
  config::settings().gridlines_HorizontalScale = -3;  // as a hand-edited file may hold it
  EXPECT_EQ(open_gridlines_page().rows, u"4294967293");
}

TEST_F(OptionsPages, LayoutsPageStoresRemembering) {
  EXPECT_TRUE(open_layouts_page().remember);
  ok_layouts_page({false});
  EXPECT_FALSE(config::settings().layout_rememberChanges);
  EXPECT_NE(saved().find("layout_rememberChanges:0\n"), std::string::npos);
  config::reset_settings();
  config::LoadSettings();
  EXPECT_FALSE(open_layouts_page().remember);
}
