#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "values/display_prefs.h"
#include "values/s_date.h"
#include "values/s_quantity.h"
#include "values/s_scalars.h"

using namespace tessel;

namespace {

class ValuesNumber : public ::testing::Test {
 protected:
  void SetUp() override { reset_prefs(); }
  void TearDown() override { reset_prefs(); }
};

struct shown {
  double value;
  const char16_t* text;
};

}  // namespace

TEST_F(ValuesNumber, CostAndDoubleTexts) {
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
}

TEST_F(ValuesNumber, PercentTextFollowsDecimalsSetting) {
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

TEST_F(ValuesNumber, IntAndBoolTexts) {
  EXPECT_EQ(s_int(-42).text(), u"-42");
  EXPECT_EQ(s_int().text(), u"");
  EXPECT_EQ(s_int(-1).as_ulong(), 4294967295u);
  EXPECT_EQ(s_bool(true).text(), u"Yes");
  EXPECT_EQ(s_bool(false).text(), u"No");
}

TEST_F(ValuesNumber, OrderingRules) {
  // Flags sort "No" before "Yes".
  std::vector<s_bool> flags = {s_bool(true), s_bool(false), s_bool(true), s_bool(false)};
  std::sort(flags.begin(), flags.end(), [](const s_bool& a, const s_bool& b) { return a.less(b); });
  EXPECT_EQ(flags.front().text(), u"No");
  EXPECT_EQ(flags.back().text(), u"Yes");
  EXPECT_TRUE(s_bool(false).less_equal(s_bool(false)) && s_bool(true).greater_equal(s_bool(false)));
  EXPECT_TRUE(s_bool(true).not_equal(s_bool(false)) && !s_bool(true).not_equal(s_bool(true)));

  // Texts compare by code unit, case-sensitive: upper case before lower case.
  EXPECT_TRUE(s_string(u"B").less(s_string(u"a")));
  EXPECT_TRUE(s_string(u"a").greater(s_string(u"B")));
  EXPECT_TRUE(s_string(u"x").not_equal(s_string(u"X")) && s_string(u"x").equal(s_string(u"x")));

  EXPECT_TRUE(s_int(-3).less(s_int(2)));
  EXPECT_TRUE(s_unsigned_long(4000000000u).greater(s_unsigned_long(1)));
  EXPECT_TRUE(s_unsigned_long(4).not_equal(s_unsigned_long(5)));
  // Times of day: strict comparisons unsigned, inclusive ones signed.
  EXPECT_FALSE(s_hour(-1).less(s_hour(5)));
  EXPECT_TRUE(s_hour(-1).less_equal(s_hour(5)));
  EXPECT_TRUE(s_hour(-1).greater(s_hour(5)));
  EXPECT_FALSE(s_hour(-1).greater_equal(s_hour(5)));

  EXPECT_TRUE(s_cost(-1).less(s_cost(0)) && s_percent(5).greater(s_percent(4.9)));
  EXPECT_TRUE(s_double(0.1 + 0.2).greater(s_double(0.3)));  // exact doubles, no tolerance
  EXPECT_FALSE(s_double(0.1 + 0.2).equal(s_double(0.3)));
}

// A value never compares with a value of another type, nor with the shared
// empty value: every comparison answers false in both directions.
TEST_F(ValuesNumber, ComparisonsAcrossTypesAnswerFalse) {
  std::vector<std::unique_ptr<s_val>> vals;
  vals.emplace_back(new s_string(u"1"));
  vals.emplace_back(new s_date(s_date::from_time(1)));
  vals.emplace_back(new s_dur(1));
  vals.emplace_back(new s_unit(1, s_unit::work));
  vals.emplace_back(new s_double(1));
  vals.emplace_back(new s_cost(1));
  vals.emplace_back(new s_percent(1));
  vals.emplace_back(new s_int(1));
  vals.emplace_back(new s_unsigned_long(1));
  vals.emplace_back(new s_hour(1));
  vals.emplace_back(new s_bool(true));
  const s_val& none = shared_empty_value();
  auto any = [](const s_val& a, const s_val& b) {
    return a.less(b) || a.less_equal(b) || a.greater(b) || a.greater_equal(b) || a.equal(b) || a.not_equal(b);
  };
  for (size_t i = 0; i < vals.size(); ++i) {
    EXPECT_FALSE(any(*vals[i], none)) << i;
    EXPECT_FALSE(any(none, *vals[i])) << i;
    EXPECT_TRUE(vals[i]->equal(*vals[i])) << i;
    for (size_t j = 0; j < vals.size(); ++j)
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
