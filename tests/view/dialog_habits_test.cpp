// Dialog habits: the calendar opens on the schedule's data date and its
// month title is a place to click; the column chooser's filter.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "config_sandbox.h"
#include "values/civil.h"
#include "view/dialogs/calendar_month.h"
#include "view/dialogs/calendar_panels.h"
#include "view/dialogs/column_chooser.h"
#include "view/tessel_doc.h"

namespace fs = std::filesystem;
using namespace tessel;
using namespace tessel::view;

namespace {

class DialogHabits : public config_sandbox {
 protected:
  DialogHabits() : config_sandbox("tessel-dialog-habits-") {}
  void SetUp() override {
    config_sandbox::SetUp();
    setenv("TESSEL_LAYOUTS_DIR", TESSEL_SOURCE_DIR "/Layouts", 1);
  }
};

int64_t day(int y, int m, int d) { return civil::days_from_civil(y, m, d) * 86400; }

}  // namespace

TEST_F(DialogHabits, TheCalendarOpensOnTheDataDateMonthNotToday) {
  TesselDoc doc;
  ASSERT_TRUE(doc.open(fs::path(TESSEL_SOURCE_DIR "/samples/demo.xer").u16string()));
  // The demo's project was last scheduled on 1 September 2025.
  EXPECT_EQ(schedule_data_date(doc.document()), day(2025, 9, 1) + 8 * 3600);
  const calendar_inspector s = open_inspector(doc.document(), day(2031, 3, 14));
  EXPECT_EQ(s.month, (month_ref{2025, 9}));
  EXPECT_EQ(s.selected_date, day(2025, 9, 1));
  // Without a schedule it is today's month.
  EXPECT_EQ(open_inspector(nullptr, day(2031, 3, 14)).month, (month_ref{2031, 3}));
}

TEST_F(DialogHabits, TheMonthTitleBetweenTheArrowsIsAHit) {
  const month_panel_geometry g = month_panel_layout({0, 0, 280, 160}, month_ref{2025, 9});
  EXPECT_EQ(hit_month_panel(g, 140, 10).what, month_hit::kind::title);
  EXPECT_EQ(hit_month_panel(g, 5, 10).what, month_hit::kind::previous);
  EXPECT_EQ(hit_month_panel(g, 275, 10).what, month_hit::kind::next);
  EXPECT_EQ(hit_month_panel(g, 140, 30).what, month_hit::kind::none);  // the weekday headings
}

TEST_F(DialogHabits, TheAvailableListFiltersCaseBlindOnAnyPartOfTheCaption) {
  const std::vector<std::u16string> captions{u"Activity ID", u"Activity Name", u"Early Start", u"Total Float",
                                             u"Free Float"};
  EXPECT_EQ(filtered_captions(captions, u""), captions);
  EXPECT_EQ(filtered_captions(captions, u"float"), (std::vector<std::u16string>{u"Total Float", u"Free Float"}));
  EXPECT_EQ(filtered_captions(captions, u"TY N"), (std::vector<std::u16string>{u"Activity Name"}));
  EXPECT_TRUE(filtered_captions(captions, u"Floats").empty());
}
