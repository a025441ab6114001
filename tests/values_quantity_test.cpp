#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "values/display_prefs.h"
#include "values/s_quantity.h"

using namespace tessel;

namespace {

enum { hour = 0, day = 1, week = 2, month = 3, year = 4 };
enum { as_stored = 0, none = 1, one = 2, two = 3 };

class ValuesQuantity : public ::testing::Test {
 protected:
  void SetUp() override { reset_prefs(); }
  void TearDown() override { reset_prefs(); }

  static std::u16string dur(double h, int unit, int decimals, bool label = false) {
    prefs().duration_unit = unit;
    prefs().duration_decimals = decimals;
    prefs().duration_label = label;
    return s_dur(h).text();
  }
  static void units(int unit, int decimals, bool label) {
    prefs().unit_unit = unit;
    prefs().unit_decimals = decimals;
    prefs().unit_label = label;
  }
};

}  // namespace

TEST_F(ValuesQuantity, DurationRoundingForms) {
  EXPECT_EQ(dur(0, day, none), u"0");
  EXPECT_EQ(dur(0, day, none, true), u"0d");
  EXPECT_EQ(dur(7.96, hour, one), u"8.0");  // 8.01 cut after one decimal
  EXPECT_EQ(dur(7.96, hour, none), u"8");
  EXPECT_EQ(dur(76, day, one), u"9.5");
  EXPECT_EQ(dur(76, day, two), u"9.50");
  EXPECT_EQ(dur(76, day, none), u"10");
  EXPECT_EQ(dur(151.6, day, one), u"19");  // 19.0 has no decimal point in the general format
  EXPECT_EQ(dur(-12, day, none), u"-2");
  EXPECT_EQ(dur(-12, day, one), u"-1.5");
  EXPECT_EQ(dur(16, day, none, true), u"2d");
  EXPECT_EQ(dur(20, day, one, true), u"2.5d");
  EXPECT_EQ(dur(80, week, two, true), u"2.00w");
  EXPECT_EQ(dur(344, month, none, true), u"2m");
  EXPECT_EQ(dur(3000, year, one, true), u"1.5y");
  // As stored: not converted, six significant digits, no trailing zeros.
  EXPECT_EQ(dur(16, day, as_stored, true), u"16d");
  EXPECT_EQ(dur(2.50, hour, as_stored), u"2.5");
  EXPECT_EQ(dur(1234.5678, day, as_stored), u"1234.57");
  EXPECT_EQ(dur(1234567, day, as_stored), u"1.23457e+06");
}

TEST_F(ValuesQuantity, DurationEdgesAndFactors) {
  EXPECT_EQ(dur(8, 5, none, true), u"");  // unknown unit of time
  EXPECT_EQ(dur(8, -1, none), u"");
  EXPECT_EQ(dur(16, day, 9), u"2");  // an unknown decimals code counts as none
  prefs().duration_decimals = one;
  EXPECT_EQ(s_dur().text(), u"");  // no value

  // A duration on a 10-hours-per-day calendar.
  const period_factors ten{10, 50, 200, 2400};
  s_dur d(10);
  d.factors = &ten;
  prefs().duration_decimals = none;
  EXPECT_EQ(d.text(), u"1");
  prefs().duration_unit = month;
  prefs().duration_decimals = two;
  EXPECT_EQ(d.text(), u"0.05");
  // Preferences are read at every call.
  prefs().duration_unit = hour;
  prefs().duration_label = true;
  EXPECT_EQ(d.text(), u"10.00h");
  EXPECT_EQ(d.clone()->text(), u"10.00h");  // a clone keeps its calendar factors
}

TEST_F(ValuesQuantity, WorkQuantities) {
  units(day, none, false);
  EXPECT_EQ(s_unit(16, s_unit::work).text(), u"2");
  units(day, none, true);
  EXPECT_EQ(s_unit(16, s_unit::work).text(), u"2d");
  units(week, two, true);
  EXPECT_EQ(s_unit(60, s_unit::work).text(), u"1.50w");
  units(day, as_stored, false);  // as stored: never converted, letter always
  EXPECT_EQ(s_unit(16, s_unit::work).text(), u"16d");
  EXPECT_EQ(s_unit().text(), u"");
  units(7, none, true);
  EXPECT_EQ(s_unit(16, s_unit::work).text(), u"");
}

TEST_F(ValuesQuantity, Rates) {
  prefs().duration_unit = day;
  units(hour, none, true);
  EXPECT_EQ(s_unit(1, s_unit::rate).text(), u"8h/d");
  units(hour, none, false);
  EXPECT_EQ(s_unit(1, s_unit::rate).text(), u"8/d");
  units(hour, one, false);
  EXPECT_EQ(s_unit(1, s_unit::rate).text(), u"8.0/d");  // rates always show their decimals
  units(hour, as_stored, false);
  EXPECT_EQ(s_unit(1.5, s_unit::rate).text(), u"1.5h/d");

  // 1 / 172 = 0.0058 per hour for a month of work.
  prefs().duration_unit = hour;
  units(month, none, false);
  EXPECT_EQ(s_unit(1, s_unit::rate).text(), u"0/h");
  units(month, two, false);
  EXPECT_EQ(s_unit(1, s_unit::rate).text(), u"0.01/h");
  units(month, one, true);
  EXPECT_EQ(s_unit(1, s_unit::rate).text(), u"0.0m/h");
  units(day, two, false);
  EXPECT_EQ(s_unit(-0.5, s_unit::rate).text(), u"-0.06/h");

  // Rates without a work unit.
  prefs().duration_unit = week;
  units(day, none, true);
  EXPECT_EQ(s_unit(0.5, s_unit::plain_rate).text(), u"20/w");
  units(day, two, true);
  EXPECT_EQ(s_unit(0.5, s_unit::plain_rate).text(), u"20.00/w");
  units(day, one, true);
  EXPECT_EQ(s_unit(0.0125, s_unit::plain_rate).text(), u"0.5/w");
  prefs().duration_unit = 9;
  EXPECT_EQ(s_unit(0.5, s_unit::plain_rate).text(), u"");
}

TEST_F(ValuesQuantity, Prices) {
  s_unit per_hour(1234.5, s_unit::price_per_hour);
  per_hour.symbols = workbook_money_symbols();
  units(day, none, false);
  EXPECT_EQ(per_hour.text(), u"$1,234.50/h");
  units(day, as_stored, false);
  EXPECT_EQ(per_hour.text(), u"$1,234.5/h");

  const money_symbols euro{u",", u".", u"€"};
  s_unit per_unit(1234567.125, s_unit::price_per_unit);
  per_unit.symbols = &euro;
  units(day, two, false);
  EXPECT_EQ(per_unit.text(), u"€1.234.567,13/unit");
  units(day, as_stored, false);
  EXPECT_EQ(per_unit.text(), u"€1,23457e+06/unit");
  per_unit.amount = 0.996;
  EXPECT_EQ(per_unit.text(), u"€0,996/unit");
  units(day, none, false);
  EXPECT_EQ(per_unit.text(), u"€1,00/unit");

  // Without symbols: no currency or grouping, but the decimals stay apart.
  s_unit plain(1234.5, s_unit::price_per_hour);
  EXPECT_EQ(plain.text(), u"1234.50/h");
  EXPECT_EQ(s_unit(1, 5).text(), u"");  // unknown kind
}

TEST_F(ValuesQuantity, DurationOrderingPutsEmptyLast) {
  std::vector<s_dur> v = {s_dur(5), s_dur(), s_dur(-2), s_dur(0)};
  std::sort(v.begin(), v.end(), [](const s_dur& a, const s_dur& b) { return a.less(b); });
  EXPECT_EQ(v[0].hours, -2);
  EXPECT_EQ(v[1].hours, 0);
  EXPECT_EQ(v[2].hours, 5);
  EXPECT_EQ(v[3].dur_empty, 1);
  const s_dur e, z(0);
  EXPECT_TRUE(z.less(e) && z.less_equal(e) && e.greater(z) && e.greater_equal(z));
  EXPECT_FALSE(e.less(z) || e.less_equal(z) || z.greater(e) || z.greater_equal(e));
  EXPECT_TRUE(e.equal(z));  // equality compares the hours only
  EXPECT_TRUE(s_unit(1, 0).less(s_unit(2, 3)) && s_unit(2, 0).equal(s_unit(2, 4)));
}

TEST_F(ValuesQuantity, WorkbookImportPreferences) {
  apply_workbook_user_data(u"Currency=USD\nDurationQtyType=QT_Week\nSmallScaleQtyType=QT_Hour\n", true);
  EXPECT_EQ(prefs().duration_unit, week);
  EXPECT_EQ(prefs().unit_unit, hour);
  EXPECT_EQ(prefs().duration_decimals, as_stored);
  EXPECT_EQ(prefs().unit_decimals, as_stored);
  EXPECT_TRUE(prefs().duration_label && prefs().unit_label);
  EXPECT_EQ(prefs().percent_decimals, 3);
  // Figures exported in days show as the same numbers with "d".
  apply_workbook_user_data(u"DurationQtyType=QT_Day", true);
  EXPECT_EQ(s_dur(2.5).text(), u"2.5d");
  EXPECT_EQ(prefs().unit_unit, hour);  // not named: unchanged

  reset_prefs();
  prefs().duration_unit = year;
  apply_workbook_user_data(u"DurationQtyType=QT_Hour SmallScaleQtyType=QT_Month", false);
  EXPECT_EQ(prefs().duration_unit, year);  // unreadable user data: units of time stay
  EXPECT_EQ(prefs().unit_unit, day);
  EXPECT_EQ(prefs().duration_decimals, as_stored);
  apply_workbook_user_data(u"DurationQtyType=QT_Fortnight;SmallScaleQtyType=QT_Year", true);
  EXPECT_EQ(prefs().duration_unit, year);
  EXPECT_EQ(prefs().unit_unit, year);

  reset_prefs();
  const display_prefs defaults;
  EXPECT_EQ(prefs().duration_unit, defaults.duration_unit);
  EXPECT_EQ(prefs().duration_decimals, 1);
  EXPECT_FALSE(prefs().duration_label);
  EXPECT_EQ(prefs().percent_decimals, 1);
}
