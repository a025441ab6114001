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
  struct form {
    double hours;
    int unit, decimals;
    bool label;
    const char16_t* text;
  };
  for (const form& f : {
           form{0, day, none, false, u"0"}, {0, day, none, true, u"0d"},
           {7.96, hour, one, false, u"8.0"},  // 8.01 cut after one decimal
           {7.96, hour, none, false, u"8"}, {76, day, one, false, u"9.5"}, {76, day, two, false, u"9.50"},
           {76, day, none, false, u"10"},
           {151.6, day, one, false, u"19"},  // 19.0 has no decimal point in the general format
           {-12, day, none, false, u"-2"}, {-12, day, one, false, u"-1.5"}, {16, day, none, true, u"2d"},
           {20, day, one, true, u"2.5d"}, {80, week, two, true, u"2.00w"}, {344, month, none, true, u"2m"},
           {3000, year, one, true, u"1.5y"},
           // As stored: not converted, six significant digits, no trailing zeros.
           {16, day, as_stored, true, u"16d"}, {2.50, hour, as_stored, false, u"2.5"},
           {1234.5678, day, as_stored, false, u"1234.57"}, {1234567, day, as_stored, false, u"1.23457e+06"},
           {8, 5, none, true, u""},  // unknown unit of time
           {8, -1, none, false, u""},
           {16, day, 9, false, u"2"}})  // an unknown decimals code counts as none
    EXPECT_EQ(dur(f.hours, f.unit, f.decimals, f.label), f.text) << f.hours << " " << f.unit << " " << f.decimals;
}

TEST_F(ValuesQuantity, DurationEdgesAndFactors) {
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

// Work in the unit of work; rates in it per unit of time (always with their
// decimals); plain rates per unit of time only.
TEST_F(ValuesQuantity, WorkAndRates) {
  struct form {
    int time_unit, unit, decimals;
    bool label;
    double amount;
    int32_t kind;
    const char16_t* text;
  };
  const int32_t work = s_unit::work, rate = s_unit::rate, plain = s_unit::plain_rate;
  for (const form& f : {
           form{day, day, none, false, 16, work, u"2"}, {day, day, none, true, 16, work, u"2d"},
           {day, week, two, true, 60, work, u"1.50w"},
           {day, day, as_stored, false, 16, work, u"16d"},  // as stored: never converted, letter always
           {day, 7, none, true, 16, work, u""},
           {day, hour, none, true, 1, rate, u"8h/d"}, {day, hour, none, false, 1, rate, u"8/d"},
           {day, hour, one, false, 1, rate, u"8.0/d"}, {day, hour, as_stored, false, 1.5, rate, u"1.5h/d"},
           // 1 / 172 = 0.0058 per hour for a month of work.
           {hour, month, none, false, 1, rate, u"0/h"}, {hour, month, two, false, 1, rate, u"0.01/h"},
           {hour, month, one, true, 1, rate, u"0.0m/h"}, {hour, day, two, false, -0.5, rate, u"-0.06/h"},
           {week, day, none, true, 0.5, plain, u"20/w"}, {week, day, two, true, 0.5, plain, u"20.00/w"},
           {week, day, one, true, 0.0125, plain, u"0.5/w"}, {9, day, one, true, 0.5, plain, u""}}) {
    prefs().duration_unit = f.time_unit;
    units(f.unit, f.decimals, f.label);
    EXPECT_EQ(s_unit(f.amount, f.kind).text(), f.text) << f.amount << " " << f.kind << " " << f.unit;
  }
  prefs().duration_unit = day;
  units(day, as_stored, false);
  EXPECT_EQ(s_unit().text(), u"");  // no value shows nothing, even as stored
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
