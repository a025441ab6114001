// The options pages: list texts and setting codes, the row interval typed by
// the user, and OK storing into the settings and "Settings.cfg" at once.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <tuple>

#include "config/data_folder.h"
#include "config/settings.h"
#include "config_sandbox.h"
#include "values/display_prefs.h"
#include "view/dialogs/options_pages.h"

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

std::string narrow(std::u16string_view s) { return std::string(s.begin(), s.end()); }

}  // namespace

// Texts match without regard to case; an unlisted text stores the list's
// default and a code out of range shows the first entry.
TEST(OptionsMappings, ListTextsAndCodesBothWaysAndTheRowInterval) {
  struct to_code {
    int32_t (*code)(std::u16string_view);
    std::u16string_view text;
    int32_t expected;
  };
  for (const to_code& c : {to_code{unit_code, u"Hour", 0}, {unit_code, u"wEEK", 2}, {unit_code, u"Year", 4},
                           {unit_code, u"Fortnight", 1}, {unit_code, u"", 1}, {decimals_code, u"0", 1},
                           {decimals_code, u"2", 3}, {decimals_code, u"3", 1}, {scale_code, u"quarter", 1},
                           {scale_code, u"Month", 2}, {scale_code, u"WEEK", 4}, {scale_code, u"Day", 5},
                           {scale_code, u"Shift", 7}, {scale_code, u"hour", 8}, {scale_code, u"", 2}})
    EXPECT_EQ(c.code(c.text), c.expected) << narrow(c.text);
  struct to_text {
    std::u16string_view (*text)(int32_t);
    int32_t code;
    std::u16string_view expected;
  };
  for (const to_text& t : {to_text{unit_text, 0, u"Hour"}, {unit_text, 3, u"Month"}, {unit_text, 5, u"Hour"},
                           {unit_text, -1, u"Hour"}, {decimals_text, 2, u"1"},
                           {decimals_text, 0, u"0"},  // "as stored" shows as no decimals
                           {decimals_text, 4, u"0"}, {scale_text, 7, u"Shift"}, {scale_text, 3, u"Month"}})
    EXPECT_EQ(t.text(t.code), t.expected) << t.code;
  EXPECT_EQ(choice_index(scale_choices, u"week"), 1);
  EXPECT_EQ(choice_index(scale_choices, u"Hour"), -1);

  // The row interval is the leading number, within 1 to 100.
  const std::pair<std::u16string_view, int32_t> cases[] = {
      {u"0", 1},      {u"250", 100},      {u"100", 100},      {u"1", 1},    {u"12", 12},
      {u"", 1},       {u"abc", 1},        {u"  7 rows", 7},   {u"42abc", 42}, {u"-5", 1},
      {u"99999999999999999999", 100}};
  for (const auto& [text, rows] : cases) EXPECT_EQ(rows_from_text(text), rows) << narrow(text);
}
TEST_F(OptionsPages, TimeUnitsShowAndStoreBothFormats) {
  const auto shown = [](const units_page& p) {
    return std::tuple(p.unit_unit, p.unit_decimals, p.unit_label, p.duration_unit, p.duration_decimals,
                      p.duration_label);
  };
  const auto stored = [] {
    const display_prefs& d = prefs();
    return std::tuple(d.unit_unit, d.unit_decimals, d.unit_label, d.duration_unit, d.duration_decimals,
                      d.duration_label);
  };
  prefs().duration_unit = 0;
  prefs().duration_decimals = 3;
  prefs().duration_label = true;
  prefs().unit_unit = 4;
  prefs().unit_decimals = 0;
  units_page p = open_units_page();
  EXPECT_EQ(shown(p), shown({u"Year", u"0", false, u"Hour", u"2", true}));
  p = {u"Day", p.unit_decimals, true, u"week", u"1", false};
  ok_units_page(p);
  // The unit decimals were shown as "0" and are stored back as no decimals.
  EXPECT_EQ(stored(), std::tuple(1, 1, true, 2, 2, false));
  EXPECT_EQ(saved(),
            "unit_UnitOfTime:1\nunit_Decimals:1\nunit_ShowDurationLabel:1\nduration_UnitOfTime:2\n"
            "duration_Decimals:2\nduration_ShowDurationLabel:0\nlayout_rememberChanges:1\n"
            "gridlines_VerticalScale:2\ngridlines_HorizontalScale:5\ngridlines_VerticalEnabled:1\n"
            "gridlines_HorizontalEnabled:1\n");
}

TEST_F(OptionsPages, GridlinesWithAnUnlistedScaleStoreMonthLayoutsStoreRemembering) {
  const auto shown = [](const gridlines_page& p) { return std::tuple(p.scale, p.rows, p.horizontal, p.vertical); };
  const auto stored = [] {
    const auto& s = config::settings();
    return std::tuple(s.gridlines_VerticalScale, s.gridlines_HorizontalScale, s.gridlines_VerticalEnabled,
                      s.gridlines_HorizontalEnabled);
  };
  {
    std::ofstream(config::settings_file(), std::ios::binary)
        << "gridlines_VerticalScale:8\ngridlines_HorizontalScale:12\ngridlines_VerticalEnabled:0\n";
  }
  config::LoadSettings();
  gridlines_page p = open_gridlines_page();
  EXPECT_EQ(shown(p), shown({u"", u"12", true, false}));
  p.rows = u"250";
  p.horizontal = false;
  ok_gridlines_page(p);
  EXPECT_EQ(stored(), std::tuple(2, 100, false, false));
  EXPECT_NE(saved().find("gridlines_VerticalScale:2\ngridlines_HorizontalScale:100\n"
                         "gridlines_VerticalEnabled:0\ngridlines_HorizontalEnabled:0\n"),
            std::string::npos);

  config::settings().gridlines_VerticalScale = 4;
  p = open_gridlines_page();
  EXPECT_EQ(p.scale, u"Week");
  ok_gridlines_page({u"Day", u"0", false, true});
  EXPECT_EQ(stored(), std::tuple(5, 1, true, false));
  config::settings().gridlines_HorizontalScale = -3;  // as a hand-edited file may hold it
  EXPECT_EQ(open_gridlines_page().rows, u"4294967293");

  // The layouts page stores remembering.
  EXPECT_TRUE(open_layouts_page().remember);
  ok_layouts_page({false});
  EXPECT_FALSE(config::settings().layout_rememberChanges);
  EXPECT_NE(saved().find("layout_rememberChanges:0\n"), std::string::npos);
  config::reset_settings();
  config::LoadSettings();
  EXPECT_FALSE(open_layouts_page().remember);
}

