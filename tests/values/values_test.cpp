// Values as the tables show and compare them: numbers, costs, percentages,
// flags, durations, work, rates and prices under the display preferences,
// and dates in both export forms.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "test_support.h"
#include "values/display_prefs.h"
#include "values/enums.h"
#include "values/s_date.h"
#include "values/s_quantity.h"
#include "values/s_scalars.h"

using namespace tessel;
using test_support::u16;

namespace {

enum { hour = 0, day = 1, week = 2, month = 3, year = 4 };
enum { as_stored = 0, none = 1, one = 2, two = 3 };

// Every test starts and ends with the default display preferences.
class ValuesNumber : public ::testing::Test {
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
using ValuesQuantity = ValuesNumber;

struct shown {
  double value;
  const char16_t* text;
};

s_date xer(const char* t) { return s_date(u16(t), s_date::form_xer); }
s_date wb(const char* t) { return s_date(u16(t), s_date::form_workbook); }

}  // namespace


TEST_F(ValuesNumber, CostDoublePercentIntAndBoolTexts) {
  for (const shown& c : {shown{0.006, u"$0.01"}, {-1234, u"($1,234.00)"}, {999.996, u"$1,000.00"},
                         {1000, u"$1,000.00"}, {0, u"$0.00"}, {0.05, u"$0.05"}, {1234567.891, u"$1,234,567.89"},
                         {-1234.5, u"($1,234.50)"}, {123456, u"$123,456.00"}})
    EXPECT_EQ(s_cost(c.value).text(), c.text) << c.value;
  EXPECT_EQ(s_cost(1e300).text().substr(0, 6), u"$1,000");  // huge amounts still write, no crash
  for (const shown& d : {shown{0.999, u"1.00"}, {-0.004, u"0.00"}, {1.234, u"1.23"}, {3.05, u"3.05"}, {2, u"2.00"},
                         {-1.5, u"-1.50"}, {-0.5, u"-0.50"}, {-12.345, u"-12.35"}})
    EXPECT_EQ(s_double(d.value).text(), d.text) << d.value;
  EXPECT_EQ(s_double().text(), u"");
  EXPECT_EQ(s_double(3.9).as_ulong(), 3u);
  EXPECT_EQ(s_double(-3.9).as_ulong(), 0u);
  EXPECT_EQ(s_double(1e20).as_ulong(), 4294967295u);
  EXPECT_EQ(s_int(-42).text(), u"-42");
  EXPECT_EQ(s_int().text(), u"");
  EXPECT_EQ(s_int(-1).as_ulong(), 4294967295u);
  EXPECT_EQ(s_bool(true).text(), u"Yes");
  EXPECT_EQ(s_bool(false).text(), u"No");

  // Percentages follow their decimals setting.
  struct percent {
    int decimals;
    double value;
    const char16_t* text;
  };
  // Start-up: whole numbers; a negative fraction never rounds.
  for (const percent& p : {percent{1, 33.333, u"33%"}, {1, 50, u"50%"}, {1, 33.5, u"34%"}, {1, -2.5, u"-2%"},
                           {1, 0, u"0%"}, {3, 12.345, u"12.35%"}, {3, 99.996, u"100%"}, {3, 50, u"50%"},
                           {2, 12.345, u"12.3%"}, {2, 12.35, u"12.4%"}}) {
    prefs().percent_decimals = p.decimals;
    EXPECT_EQ(s_percent(p.value).text(), p.text) << p.decimals << " " << p.value;
  }
}

TEST_F(ValuesNumber, OrderingRules) {
  const s_dur e, z(0);
  // Each comparison listed holds.
  const bool holds[] = {
      // Flags: "No" before "Yes".
      s_bool(false).less(s_bool(true)), !s_bool(true).less(s_bool(false)), s_bool(false).less_equal(s_bool(false)),
      s_bool(true).greater_equal(s_bool(false)), s_bool(true).not_equal(s_bool(false)),
      !s_bool(true).not_equal(s_bool(true)),
      // Texts by code unit, case-sensitive: upper case before lower case.
      s_string(u"B").less(s_string(u"a")), s_string(u"a").greater(s_string(u"B")),
      s_string(u"x").not_equal(s_string(u"X")), s_string(u"x").equal(s_string(u"x")),
      s_int(-3).less(s_int(2)), s_unsigned_long(4000000000u).greater(s_unsigned_long(1)),
      s_unsigned_long(4).not_equal(s_unsigned_long(5)),
      // Times of day: strict comparisons unsigned, inclusive ones signed.
      !s_hour(-1).less(s_hour(5)), s_hour(-1).less_equal(s_hour(5)), s_hour(-1).greater(s_hour(5)),
      !s_hour(-1).greater_equal(s_hour(5)), s_cost(-1).less(s_cost(0)), s_percent(5).greater(s_percent(4.9)),
      // Exact doubles, no tolerance.
      s_double(0.1 + 0.2).greater(s_double(0.3)), !s_double(0.1 + 0.2).equal(s_double(0.3)),
      // An empty duration comes after any other; equality compares the hours only.
      z.less(e), z.less_equal(e), e.greater(z), e.greater_equal(z), !e.less(z), !e.less_equal(z), !z.greater(e),
      !z.greater_equal(e), e.equal(z), s_unit(1, 0).less(s_unit(2, 3)), s_unit(2, 0).equal(s_unit(2, 4))};
  for (size_t i = 0; i < std::size(holds); ++i) EXPECT_TRUE(holds[i]) << "case " << i;

  // Durations sort the empty ones last.
  std::vector<s_dur> v = {s_dur(5), s_dur(), s_dur(-2), s_dur(0)};
  std::sort(v.begin(), v.end(), [](const s_dur& a, const s_dur& b) { return a.less(b); });
  EXPECT_EQ((std::array{v[0].hours, v[1].hours, v[2].hours, double(v[3].dur_empty)}), (std::array{-2.0, 0.0, 5.0, 1.0}));
}

// A value never compares with a value of another type, nor with the shared
// empty value: every comparison answers false in both directions.
TEST_F(ValuesNumber, ComparisonsAcrossTypesAnswerFalse) {
  const val_ptr vals[] = {s_string(u"1").clone(), s_date::from_time(1).clone(), s_dur(1).clone(),
                          s_unit(1, s_unit::work).clone(), s_double(1).clone(), s_cost(1).clone(),
                          s_percent(1).clone(), s_int(1).clone(), s_unsigned_long(1).clone(),
                          s_hour(1).clone(), s_bool(true).clone(), s_activity_status(0).clone(),
                          s_resource_type(0).clone()};
  const s_val& none = shared_empty_value();
  auto any = [](const s_val& a, const s_val& b) {
    return a.less(b) || a.less_equal(b) || a.greater(b) || a.greater_equal(b) || a.equal(b) || a.not_equal(b);
  };
  for (size_t i = 0; i < std::size(vals); ++i) {
    EXPECT_FALSE(any(*vals[i], none)) << i;
    EXPECT_FALSE(any(none, *vals[i])) << i;
    EXPECT_TRUE(vals[i]->equal(*vals[i])) << i;
    for (size_t j = 0; j < std::size(vals); ++j)
      EXPECT_TRUE(i == j || !any(*vals[i], *vals[j])) << i << " vs " << j;
    // A clone is a separate object of the same type with the same value.
    val_ptr c = vals[i]->clone();
    EXPECT_NE(c.get(), vals[i].get());
    EXPECT_EQ(c->type(), vals[i]->type());
    EXPECT_EQ(c->text(), vals[i]->text());
    EXPECT_EQ(c->as_double(), vals[i]->as_double());
  }
  // Comparisons a type does not offer answer false.
  EXPECT_FALSE(s_string(u"a").less_equal(s_string(u"a")));
  EXPECT_FALSE(s_cost(1).not_equal(s_cost(2)));
  EXPECT_FALSE(s_dur(1).not_equal(s_dur(2)));
  EXPECT_FALSE(s_int(1).less_equal(s_int(1)));
  EXPECT_TRUE(s_dur(1).is_duration() && !s_dur(1).is_date());
  EXPECT_TRUE(s_date().is_date() && !s_date().is_duration() && !s_int(1).is_date());

  // The shared empty value is one object: clones of a plain value answer it,
  // and releasing such a clone must not destroy it.
  s_val plain;
  { EXPECT_EQ(plain.clone().get(), &none); }
  EXPECT_EQ(none.empty, 1);
  EXPECT_TRUE(none.text().empty());
  EXPECT_FALSE(none.equal(none));
}

TEST_F(ValuesQuantity, DurationFormsEdgesAndFactors) {
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

// Values hold their sets by number: equal sets share one, a set changed or
// freed at the same address is not taken for the old one, and texts that
// only differ where they split are told apart, also from several threads.
TEST(ValueSets, EqualSetsShareAndChangedOnesDoNot) {
  period_factors f{10, 50, 200, 2400};
  factors_ref a = &f, b = &f;
  EXPECT_EQ(a.get(), b.get());
  EXPECT_EQ(*a, f);
  f.day = 12;  // the same address, now another calendar's
  factors_ref c = &f;
  EXPECT_EQ(c->day, 12.0);
  EXPECT_EQ(a->day, 10.0);
  const period_factors copy{10, 50, 200, 2400};
  EXPECT_EQ(factors_ref(&copy).get(), a.get());
  EXPECT_EQ(factors_ref(nullptr).get(), default_period_factors());
  const period_factors nan{std::nan(""), 1, 2, 3};
  EXPECT_EQ(factors_ref(&nan).get(), factors_ref(&nan).get());

  const money_symbols split1{u"a", std::u16string(u"\0b", 2), u""}, split2{std::u16string(u"a\0", 2), u"b", u""};
  EXPECT_EQ(*symbols_ref(&split1), split1);
  EXPECT_EQ(*symbols_ref(&split2), split2);
  EXPECT_EQ(symbols_ref(&workbook_money_symbols()[0]).get(), workbook_money_symbols());

  std::vector<std::thread> threads;
  std::vector<const period_factors*> last(4);
  std::atomic<int> wrong{0};
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([t, &last, &wrong] {
      for (int i = 0; i < 200; ++i) {
        const period_factors mine{double(100 + i), 1, 1, 1};
        const factors_ref r = &mine;
        if (*r != mine) ++wrong;
        last[t] = r.get();
      }
    });
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(wrong.load(), 0);
  for (const period_factors* g : last) EXPECT_EQ(g, last[0]);
}


// Work in the unit of work; rates in it per unit of time (always with their
// decimals); plain rates per unit of time only.
TEST_F(ValuesQuantity, WorkRatesAndPrices) {
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

  // Prices.
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
  EXPECT_EQ(s_unit(1234.5, s_unit::price_per_hour).text(), u"1234.50/h");
  EXPECT_EQ(s_unit(1, 5).text(), u"");  // unknown kind
}

// The display preferences as one text: durations' unit, decimals and
// label, then the same for units, then the percentages' decimals.
std::string prefs_text() {
  const display_prefs& p = prefs();
  return std::to_string(p.duration_unit) + "/" + std::to_string(p.duration_decimals) + (p.duration_label ? "L " : " ") +
         std::to_string(p.unit_unit) + "/" + std::to_string(p.unit_decimals) + (p.unit_label ? "L " : " ") +
         std::to_string(p.percent_decimals);
}

TEST_F(ValuesQuantity, WorkbookImportPreferences) {
  EXPECT_EQ(prefs_text(), "1/1 1/1 1");  // the start-up defaults
  apply_workbook_user_data(u"Currency=USD\nDurationQtyType=QT_Week\nSmallScaleQtyType=QT_Hour\n", true);
  EXPECT_EQ(prefs_text(), "2/0L 0/0L 3");
  // Figures exported in days show as the same numbers with "d"; units not
  // named stay.
  apply_workbook_user_data(u"DurationQtyType=QT_Day", true);
  EXPECT_EQ(s_dur(2.5).text(), u"2.5d");
  EXPECT_EQ(prefs_text(), "1/0L 0/0L 3");

  reset_prefs();
  prefs().duration_unit = year;
  apply_workbook_user_data(u"DurationQtyType=QT_Hour SmallScaleQtyType=QT_Month", false);
  EXPECT_EQ(prefs_text(), "4/0L 1/0L 3");  // unreadable user data: units of time stay
  apply_workbook_user_data(u"DurationQtyType=QT_Fortnight;SmallScaleQtyType=QT_Year", true);
  EXPECT_EQ(prefs_text(), "4/0L 4/0L 3");
  reset_prefs();
  EXPECT_EQ(prefs_text(), "1/1 1/1 1");
}

TEST(ValuesDate, BothFormsReadTheSameReadingAndShowItMarked) {
  const s_date a = xer("2012-01-05 08:00");
  const s_date b = wb("1/5/2012 8:00:00 AM");
  // Time (2012-01-05 08:00 as UTC), text, empty flag.
  auto described = [](const s_date& d) {
    return std::to_string(d.time) + " " + test_support::narrow(d.text()) + " " + std::to_string(d.empty) +
           (d.has_date() ? " has a date" : " no date");
  };
  for (const s_date& d : {a, b}) EXPECT_EQ(described(d), "1325750400 5-Jan-2012 0 has a date");

  EXPECT_EQ(wb("1/5/2012 12:30:00 PM").format_for_scale(2), u"2012/1/05 12:30");
  EXPECT_EQ(wb("1/5/2012 12:30:00 AM").format_for_scale(2), u"2012/1/05 00:30");
  EXPECT_EQ(wb("12/31/2012 11:59:59 PM").time, xer("2012-12-31 23:59").time + 59);

  // No date shows empty and is empty.
  for (const s_date& d : {xer(""), wb(""), xer("2012-02-30 08:00"), wb("13/1/2012 8:00:00 AM"), s_date()})
    EXPECT_EQ(described(d), "0  1 no date");
  EXPECT_EQ(xer("1970-01-01 00:00").text(), u"");
  EXPECT_EQ(s_date::from_time(0).text(), u"");
  EXPECT_EQ(s_date::from_time(1).text(), u"1-Jan-1970");
  EXPECT_EQ(s_date::from_time(-86400).text(), u"");

  // Marks, and the flag that hides a date from display only.
  s_date d = xer("2013-02-14 17:00");
  const char16_t* marked[] = {u"14-Feb-2013", u"14-Feb-2013 A", u"14-Feb-2013 A", u"14-Feb-2013*", u"14-Feb-2013*",
                              u"14-Feb-2013"};
  for (int mark = 1; mark <= 5; ++mark) {
    d.suffix = mark;
    EXPECT_EQ(d.text(), marked[mark]) << mark;
  }
  d.suffix = 1;
  d.hidden = 1;
  EXPECT_EQ(d.text(), u"");
  EXPECT_EQ(d.as_time(), xer("2013-02-14 17:00").time);  // hidden only from display
  const tessel::val_ptr c = d.clone();
  EXPECT_EQ(c->text(), u"");
  EXPECT_TRUE(c->equal(d));
}

// The readers must agree with the C library reading "%d-%d-%d %d:%d" and
// "%d/%d/%d %d:%d:%d": white space, signs, short texts and mismatches.
TEST(ValuesDate, ReadersAgreeWithScanfPatterns) {
  const char* xer_texts[] = {"2012-01-05 08:00", " 2012-\t1-5   8:7", "+2012-+01-05 08:00", "2012-01-05",
                             "2012-01-05 8",     "2012-01-05 08:",    "2012-01-05T08:00",   "2012/01/05 08:00",
                             "2012-1-5 24:00",   "2012-02-29 1:00",   "2011-02-29 1:00",    "2012-13-01 00:00",
                             "1969-12-31 23:00", "2012-01-05 25:00",  "2012-01-05 08:60",   "2012--1-05",
                             "",                 "junk",              "2038-01-19 03:15"};
  for (const char* t : xer_texts) {
    int f[5] = {0, 0, 0, 0, 0};
    std::sscanf(t, "%d-%d-%d %d:%d", &f[0], &f[1], &f[2], &f[3], &f[4]);
    std::tm tm{};
    tm.tm_year = f[0] - 1900, tm.tm_mon = f[1] - 1, tm.tm_mday = f[2], tm.tm_hour = f[3], tm.tm_min = f[4];
    const std::tm asked = tm;
    const int64_t expect = static_cast<int64_t>(timegm(&tm));
    // timegm normalises out-of-range fields; a real calendar reading survives it
    // unchanged (24:00 is the only accepted carry: midnight at the day's end).
    const bool same = tm.tm_year == asked.tm_year && tm.tm_mon == asked.tm_mon && tm.tm_mday == asked.tm_mday &&
                      tm.tm_hour == asked.tm_hour && tm.tm_min == asked.tm_min;
    const bool end_of_day = asked.tm_hour == 24 && asked.tm_min == 0 && asked.tm_mon >= 0 && asked.tm_mon < 12 &&
                            asked.tm_mday >= 1 && asked.tm_mday <= s_date::days_in_month(f[0], f[1]);
    const bool valid = (same || end_of_day) && f[0] >= 1970 && f[0] < 10000 && expect > 0;
    EXPECT_EQ(s_date::parse(u16(t), s_date::form_xer), valid ? expect : 0) << t;
  }
  EXPECT_EQ(xer("2012-1-5 24:00").text(), u"6-Jan-2012");
  EXPECT_EQ(xer("99999999999999999999-01-01 00:00").time, 0);  // overlong numbers never wrap into a date
  EXPECT_EQ(xer("2012-01-99999999999999999999").time, 0);
  EXPECT_EQ(wb("1/5/2012").format_for_scale(2), u"2012/1/05 00:00");
  EXPECT_EQ(wb(" 1/ 5/ 2012 8:00:00 PM").format_for_scale(2), u"2012/1/05 20:00");
}



TEST(ValuesDate, DisplayIndependentOfTimeZone) {
  const char* const was = std::getenv("TZ");
  const std::string old = was ? was : "";
  for (const char* tz : {"Pacific/Kiritimati", "America/St_Johns", "UTC-14", "Asia/Kathmandu"}) {
    setenv("TZ", tz, 1);
    tzset();
    const s_date d = xer("2012-03-25 00:30");  // a daylight-saving change night in Europe
    EXPECT_EQ(d.time, 1332635400) << tz;
    EXPECT_EQ(d.text(), u"25-Mar-2012") << tz;
    EXPECT_EQ(wb("3/25/2012 11:59:00 PM").text(), u"25-Mar-2012") << tz;
    EXPECT_EQ(s_date::from_ymd(2012, 3, 25, 2, 30).format_for_scale(2), u"2012/3/25 02:30") << tz;
    EXPECT_EQ(s_date::today().time % 86400, 0) << tz;
  }
  if (was) setenv("TZ", old.c_str(), 1);
  else unsetenv("TZ");
  tzset();
}

// Every day from 1970 to 2200 round-trips through text, parsing and the
// C library's own UTC conversion.
TEST(ValuesDate, CivilArithmeticMatchesLibraryOverCenturies) {
  static const char* abbrev[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  for (int64_t t = 86400 + 3600; t < 7258118400LL; t += 86400) {
    const time_t tt = static_cast<time_t>(t);
    std::tm g{};
    gmtime_r(&tt, &g);
    char buf[40];
    std::snprintf(buf, sizeof buf, "%d-%s-%d", g.tm_mday, abbrev[g.tm_mon], g.tm_year + 1900);
    const s_date d = s_date::from_time(t);
    ASSERT_EQ(d.text(), u16(buf)) << t;
    std::snprintf(buf, sizeof buf, "%d-%d-%d 01:00", g.tm_year + 1900, g.tm_mon + 1, g.tm_mday);
    ASSERT_EQ(xer(buf).time, t) << buf;
    ASSERT_EQ(d.format_for_scale(6), u16(std::string(&"SunMonTueWedThuFriSat"[3 * g.tm_wday], 3))) << t;
  }
}

TEST(ValuesDate, ArithmeticQueriesAndTimescalePatterns) {
  EXPECT_EQ(s_date::from_ymd(2012, 2, 28).plus_day().text(), u"29-Feb-2012");
  EXPECT_EQ(s_date::from_ymd(2012, 12, 28).plus_week().text(), u"4-Jan-2013");
  EXPECT_EQ(s_date::from_ymd(2012, 12, 15, 13, 45).first_of_next_month().format_for_scale(2), u"2013/1/01 00:00");
  EXPECT_EQ(s_date::from_ymd(2012, 1, 31).first_of_next_month().text(), u"1-Feb-2012");
  EXPECT_EQ(s_date::from_ymd(2012, 13, 1).text(), u"1-Jan-2013");
  EXPECT_EQ(s_date::from_ymd(2012, 1, 32).text(), u"1-Feb-2012");
  s_date e;  // arithmetic always gives a date with a value
  EXPECT_EQ(e.plus_day().empty, 0);
  // The last date a file can hold keeps its second and its marks; beyond the
  // held range dates stop at its ends, so stepping on never wraps round.
  s_date last = wb("12/31/9999 11:59:59 PM");
  last.hidden = 1;
  last.suffix = s_date::constraint_mark;
  EXPECT_EQ(last.time, s_date::from_ymd(9999, 12, 31, 23, 59).time + 59);
  EXPECT_EQ(last.hidden + last.suffix, 1 + s_date::constraint_mark);
  EXPECT_EQ(s_date::from_time(INT64_MAX).plus_week().time, s_date::latest);
  EXPECT_EQ(s_date::from_time(INT64_MIN).time, s_date::earliest);
  EXPECT_GT(s_date::from_time(s_date::latest).plus_day().time, last.time);

  for (auto [y, m, days] : {std::array{2012, 2, 29}, {1900, 2, 28}, {2000, 2, 29}, {2013, 2, 28}, {2013, 9, 30},
                            {2013, 12, 31}})
    EXPECT_EQ(s_date::days_in_month(y, m), days) << y << "-" << m;
  const int quarters[12] = {1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4};
  for (int m = 1; m <= 12; ++m) EXPECT_EQ(s_date::quarter(s_date::from_ymd(2013, m, 15)), quarters[m - 1]) << m;

  // The timescale patterns.
  const s_date d = xer("2012-01-05 08:00");  // a Thursday
  const std::pair<int, const char16_t*> expect[] = {
      {2, u"2012/1/05 08:00"}, {3, u"05"},   {4, u"January 2012"}, {5, u"T"},  {6, u"Thu"},
      {7, u"Jan 05"},          {8, u"8"},    {9, u"Thu Jan 05"},   {10, u"Jan"}, {11, u"2012"},
      {12, u"Q1"},             {13, u"Qtr 1, 2012"}, {1, u""},     {14, u""},  {-3, u""}};
  for (auto [p, t] : expect) EXPECT_EQ(d.format_for_scale(p), t) << p;
  const s_date s = xer("2013-11-17 23:00");  // a Sunday
  for (auto [p, t] : {std::pair<int, const char16_t*>{5, u"S"}, {9, u"Sun Nov 17"}, {4, u"November 2013"}, {8, u"23"},
                      {13, u"Qtr 4, 2013"}})
    EXPECT_EQ(s.format_for_scale(p), t) << p;
}

TEST(ValuesDate, SortingPutsEmptyDatesLast) {
  std::vector<s_date> v = {xer("2013-05-01 08:00"), s_date(), xer(""), xer("2012-01-05 08:00"),
                           xer("2014-01-01 08:00")};
  std::sort(v.begin(), v.end(), [](const s_date& a, const s_date& b) { return a.less(b); });
  std::u16string order;
  for (const s_date& d : v) order += d.text() + u"|";
  EXPECT_EQ(order, u"5-Jan-2012|1-May-2013|1-Jan-2014|||");
  EXPECT_TRUE(v[3].empty && v[4].empty);

  const s_date a = xer("2012-01-05 08:00"), none;
  EXPECT_TRUE(a.less(none) && a.less_equal(none) && none.greater(a) && none.greater_equal(a));
  EXPECT_FALSE(none.less(a) || none.less_equal(a) || a.greater(none) || a.greater_equal(none));
  EXPECT_TRUE(a.less_equal(a) && a.greater_equal(a) && a.equal(a) && !a.not_equal(a));
  // Equality looks at the time only: an empty date equals one at time 0.
  EXPECT_TRUE(none.equal(s_date::from_time(0)));
  EXPECT_TRUE(a.not_equal(none));
}

using namespace tessel;

namespace {

// Runs `f` with a default-built value of every enumeration type.
template <class F>
void for_each_enum_type(F&& f) {
  f(s_activity_status());
  f(s_constraint_type());
  f(s_activity_type());
  f(s_project_status());
  f(s_node_type());
  f(s_calendar_type());
  f(s_activity_code_type_scope());
  f(s_logical_data_type());
  f(s_percent_comlete_type());
  f(s_duration_type());
  f(s_leveling_priority());
  f(s_rate_type());
  f(s_resource_type());
  f(s_relationship_type());
  f(s_review_status());
}

}  // namespace

TEST(EnumsTest, ReadsStoredCodesCaptionsOrDefaultFromTextOrBytes) {
  // A text export writes the stored code, a workbook the caption; only the
  // whole text, case-sensitive, counts, anything else is the default.
  const std::pair<int32_t, int32_t> codes[] = {
      {s_activity_status(u"TK_Complete").code, 0}, {s_activity_status(u"Completed").code, 0},
      {s_activity_status(u"TA_NotStarted").code, 2}, {s_activity_status(u"tk_complete").code, 2},
      {s_activity_status(u"TK_Complete ").code, 2},
      // Relationships read the short forms but not the long captions.
      {s_relationship_type(u"Start To Start").code, 1}, {s_relationship_type(u"FF").code, 0},
      {s_duration_type(u"Fixed Units").code, 2}, {s_duration_type(u"DT_FixedRate").code, 0},
      {s_duration_type(u"Fixed Duration and Units/Time").code, 1},
      // Types that read codes only ignore their captions.
      {s_calendar_type(u"CA_Rsrc").code, 1}, {s_calendar_type(u"Resource").code, 0},
      {s_activity_code_type_scope(u"EPS").code, 0}, {s_logical_data_type(u"FT_MONEY").code, 4},
      {s_logical_data_type(u"Money").code, 2},
      // Project status: unknown and empty texts give 5, never the caption-less 3.
      {s_project_status(u"Planned").code, 2}, {s_project_status(u"WS_Unknown").code, 5},
      {s_project_status(u"").code, 5},
      // No constraint is code 0; node types read nothing.
      {s_constraint_type(u"").code, 0}, {s_constraint_type(u"Mandatory Finish").code, 9},
      {s_node_type(u"Project").code, 0}, {s_duration_type().code, 3}, {s_relationship_type().code, 1},
      {s_rate_type(u"Price / Unit3").code, 2}};
  for (size_t i = 0; i < std::size(codes); ++i) EXPECT_EQ(codes[i].first, codes[i].second) << "case " << i;
  // Code 3 of the duration types (also the default) is shown with two ampersands.
  const std::pair<std::u16string, const char16_t*> texts[] = {
      {s_activity_status(u"TK_Active").text(), u"In Progress"}, {s_activity_status(u"").text(), u"Not Started"},
      {s_relationship_type(u"SS").text(), u"Start To Start"}, {s_relationship_type(u"PR_SF").text(), u"Start To Finish"},
      {s_duration_type(u"DT_FixedDUR2").text(), u"Fixed Duration && Units"},
      {s_activity_code_type_scope(u"AS_Project").text(), u"Project"}, {s_logical_data_type(u"FT_DATE").text(), u"Text"},
      {s_project_status(u"WS_Whatif").text(), u"What-if"}, {s_project_status(5).text(), u""},
      {s_constraint_type(u"CS_MSOA").text(), u"Start On or After"}, {s_node_type(1).text(), u"Project"},
      {s_node_type(2).text(), u""}, {s_review_status(7).text(), u""},
      {s_leveling_priority().text(), u"3 - Normal"}, {s_resource_type(u"RT_Mat").text(), u"Material"}};
  for (size_t i = 0; i < std::size(texts); ++i) EXPECT_EQ(texts[i].first, texts[i].second) << "case " << i;
  EXPECT_TRUE(s_project_status(4).less(s_project_status(u"bogus")));

  // Latin bytes read like their text.
  // Every stored code, caption and accepted text, as bytes, gives the same
  // code as the wide text; so do near misses.
  int checked = 0;
  for_each_enum_type([&](const auto& v) {
    using T = std::decay_t<decltype(v)>;
    for (const enum_entry& e : T::entries()) {
      for (std::u16string_view w : {e.stored, e.caption, e.accepted}) {
        std::u16string texts[] = {std::u16string(w), std::u16string(w) + u"x", std::u16string(w).substr(0, w.size() / 2)};
        for (const std::u16string& t : texts) {
          std::string bytes(t.begin(), t.end());
          EXPECT_EQ(T(std::string_view(bytes)).code, T(std::u16string_view(t)).code);
          ++checked;
        }
      }
    }
  });
  EXPECT_GT(checked, 300);
  // A byte above 0x7F is one character of the same code.
  EXPECT_EQ(s_activity_status(std::string_view("TK_Compl\xe9te")).code, 2);
}

TEST(EnumsTest, CodesCaptionsAndOrderHoldForEveryEntry) {
  int ranked = 0;
  std::set<int> tags;
  for_each_enum_type([&](const auto& v) {
    using T = std::decay_t<decltype(v)>;
    SCOPED_TRACE(static_cast<int>(v.type()));
    std::vector<int32_t> codes;
    bool takes_captions = false;
    for (const enum_entry& e : T::entries()) takes_captions |= !e.caption.empty() && e.accepted == e.caption;
    for (const enum_entry& e : T::entries()) {
      // A stored code reads back as its code and shows its caption; so does
      // the one other text an entry accepts.
      codes.push_back(e.code);
      EXPECT_EQ(T(e.code).text(), e.caption);
      if (!e.stored.empty()) { EXPECT_EQ(T::code_of(e.stored), e.code) << test_support::narrow(e.stored); }
      if (!e.accepted.empty()) { EXPECT_EQ(T::code_of(e.accepted), e.code) << test_support::narrow(e.accepted); }
      // A type that reads one of its captions reads them all (a workbook writes captions).
      if (takes_captions && !e.caption.empty()) { EXPECT_EQ(T::code_of(e.caption), e.code) << test_support::narrow(e.caption); }
    }
    // Codes 0 to 5 pairwise: not_equal negates equal, the bounds agree with
    // the strict order; a copy keeps type and code.
    for (int32_t a = 0; a < 6; ++a)
      for (int32_t b = 0; b < 6; ++b) {
        const T x(a), y(b);
        EXPECT_EQ(x.equal(y), a == b);
        EXPECT_EQ(x.not_equal(y), a != b);
        EXPECT_EQ(x.less_equal(y), x.less(y) || x.equal(y));
        EXPECT_EQ(x.greater_equal(y), x.greater(y) || x.equal(y));
        EXPECT_EQ(x.greater(y), y.less(x));
      }
    const T three(3);
    const val_ptr copy = three.clone();
    EXPECT_TRUE(copy->type() == three.type() && copy->equal(three) && copy->text() == three.text());
    tags.insert(static_cast<int>(v.type()));
    EXPECT_GE(static_cast<int>(v.type()), static_cast<int>(val_type::first_enum));
    // Sorted, the captions run alphabetically (an empty one last) for the
    // types ranked by caption, the codes upwards for the others.
    std::sort(codes.begin(), codes.end(), [](int32_t a, int32_t b) { return T(a).less(T(b)); });
    const bool by_caption = !T::table().ranks.empty();
    ranked += by_caption;
    for (size_t i = 1; i < codes.size(); ++i) {
      const std::u16string a = T(codes[i - 1]).text(), b = T(codes[i]).text();
      if (by_caption) EXPECT_TRUE(b.empty() || (!a.empty() && a < b)) << test_support::narrow(a) << " | " << test_support::narrow(b);
      else EXPECT_LT(codes[i - 1], codes[i]);
    }
  });
  EXPECT_EQ(tags.size(), 15u);
  // Constraint, activity, percent complete and duration types; equality is
  // by code, order by rank; a code the table does not know sorts after the
  // known ones.
  EXPECT_EQ(ranked, 4);
  EXPECT_TRUE(s_constraint_type(1).less(s_constraint_type(0)));  // no constraint sorts last
  EXPECT_TRUE(s_constraint_type(0).greater_equal(s_constraint_type(9)));
  EXPECT_TRUE(s_activity_type(4).less_equal(s_activity_type(0)));  // Finish Milestone before Task Dependent
  EXPECT_FALSE(s_activity_type(0).less_equal(s_activity_type(4)));
  EXPECT_TRUE(s_constraint_type(0).less(s_constraint_type(42)));
}
