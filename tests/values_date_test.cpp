#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "values/s_date.h"
#include "values/s_scalars.h"

using tessel::s_date;

namespace {

std::u16string u16(const std::string& s) { return std::u16string(s.begin(), s.end()); }

s_date xer(const char* t) { return s_date(u16(t), s_date::form_xer); }
s_date wb(const char* t) { return s_date(u16(t), s_date::form_workbook); }

// Sets TZ for the life of the object and restores the previous setting.
class scoped_tz {
 public:
  explicit scoped_tz(const char* tz) {
    if (const char* old = std::getenv("TZ")) old_ = old, had_ = true;
    setenv("TZ", tz, 1);
    tzset();
  }
  ~scoped_tz() {
    if (had_) setenv("TZ", old_.c_str(), 1);
    else unsetenv("TZ");
    tzset();
  }

 private:
  std::string old_;
  bool had_ = false;
};

}  // namespace

TEST(ValuesDate, BothFormsReadTheSameReading) {
  const s_date a = xer("2012-01-05 08:00");
  const s_date b = wb("1/5/2012 8:00:00 AM");
  EXPECT_EQ(a.time, 1325750400);  // 2012-01-05 08:00 as UTC
  EXPECT_EQ(b.time, a.time);
  EXPECT_EQ(a.text(), u"5-Jan-2012");
  EXPECT_EQ(b.text(), u"5-Jan-2012");
  EXPECT_EQ(a.empty, 0);
  EXPECT_EQ(b.empty, 0);

  EXPECT_EQ(wb("1/5/2012 12:30:00 PM").format_for_scale(2), u"2012/1/05 12:30");
  EXPECT_EQ(wb("1/5/2012 12:30:00 AM").format_for_scale(2), u"2012/1/05 00:30");
  EXPECT_EQ(wb("12/31/2012 11:59:59 PM").time, xer("2012-12-31 23:59").time + 59);
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

TEST(ValuesDate, NoDateShowsEmptyAndIsEmpty) {
  for (const s_date& d : {xer(""), wb(""), xer("2012-02-30 08:00"), wb("13/1/2012 8:00:00 AM"), s_date()}) {
    EXPECT_EQ(d.time, 0);
    EXPECT_EQ(d.empty, 1);
    EXPECT_EQ(d.text(), u"");
    EXPECT_FALSE(d.has_date());
  }
  EXPECT_EQ(xer("1970-01-01 00:00").text(), u"");
  EXPECT_EQ(s_date::from_time(0).text(), u"");
  EXPECT_EQ(s_date::from_time(1).text(), u"1-Jan-1970");
  EXPECT_EQ(s_date::from_time(-86400).text(), u"");
}

TEST(ValuesDate, MarksAndHiddenFlag) {
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

TEST(ValuesDate, DisplayIndependentOfTimeZone) {
  for (const char* tz : {"Pacific/Kiritimati", "America/St_Johns", "UTC-14", "Asia/Kathmandu"}) {
    scoped_tz zone(tz);
    const s_date d = xer("2012-03-25 00:30");  // a daylight-saving change night in Europe
    EXPECT_EQ(d.time, 1332635400) << tz;
    EXPECT_EQ(d.text(), u"25-Mar-2012") << tz;
    EXPECT_EQ(wb("3/25/2012 11:59:00 PM").text(), u"25-Mar-2012") << tz;
    EXPECT_EQ(s_date::from_ymd(2012, 3, 25, 2, 30).format_for_scale(2), u"2012/3/25 02:30") << tz;
    EXPECT_EQ(s_date::today().time % 86400, 0) << tz;
  }
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

TEST(ValuesDate, ArithmeticAndQueries) {
  EXPECT_EQ(s_date::from_ymd(2012, 2, 28).plus_day().text(), u"29-Feb-2012");
  EXPECT_EQ(s_date::from_ymd(2012, 12, 28).plus_week().text(), u"4-Jan-2013");
  EXPECT_EQ(s_date::from_ymd(2012, 12, 15, 13, 45).first_of_next_month().format_for_scale(2), u"2013/1/01 00:00");
  EXPECT_EQ(s_date::from_ymd(2012, 1, 31).first_of_next_month().text(), u"1-Feb-2012");
  EXPECT_EQ(s_date::from_ymd(2012, 13, 1).text(), u"1-Jan-2013");
  EXPECT_EQ(s_date::from_ymd(2012, 1, 32).text(), u"1-Feb-2012");
  s_date e;  // arithmetic always gives a date with a value
  EXPECT_EQ(e.plus_day().empty, 0);

  for (auto [y, m, days] : {std::array{2012, 2, 29}, {1900, 2, 28}, {2000, 2, 29}, {2013, 2, 28}, {2013, 9, 30},
                            {2013, 12, 31}})
    EXPECT_EQ(s_date::days_in_month(y, m), days) << y << "-" << m;
  const int quarters[12] = {1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4};
  for (int m = 1; m <= 12; ++m) EXPECT_EQ(s_date::quarter(s_date::from_ymd(2013, m, 15)), quarters[m - 1]) << m;
}

TEST(ValuesDate, TimescalePatterns) {
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
  // Never against another type, nor against the shared empty value.
  const tessel::s_int i(5);
  EXPECT_FALSE(a.less(i) || a.greater(i) || a.equal(i) || a.not_equal(i) || a.less_equal(i));
  EXPECT_FALSE(a.not_equal(tessel::shared_empty_value()) || a.less(tessel::shared_empty_value()));
}
