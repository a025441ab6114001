// The Gantt timescale on its own: cell lists of every scale kind, margins
// and alignment, month arithmetic, the date-to-x mapping, gridline dates
// and cell labels.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "document/calendars/calendar.h"
#include "values/civil.h"
#include "view/gantt/gantt_timescale.h"

namespace {

using namespace tessel::view::gantt;
using tessel::civil::break_down;
using tessel::civil::days_from_civil;

int64_t at(int y, int m, int d, int h = 0, int min = 0) {
  return days_from_civil(y, m, d) * 86400 + h * 3600 + min * 60;
}

TEST(GanttTimescale, RangesEndAfterTheCellLimitOrSpanTheMarginsAroundOneDay) {
  const timescale t = build_timescale(8, at(1970, 1, 2), at(9999, 12, 1));
  ASSERT_EQ(t.lower.size(), max_cells + 1);
  EXPECT_EQ(t.lower.back() - t.lower.front(), int64_t(max_cells) * 3600);
  // The upper tier stops with the lower one: its last day reaches the last
  // hour, the one before does not.
  ASSERT_GE(t.upper.size(), 2u);
  EXPECT_GE(t.upper.back(), t.lower.back());
  EXPECT_LT(t.upper[t.upper.size() - 2], t.lower.back());

  // A one-day schedule on Week/Day, Wednesday 10 January 2024 08:00 to
  // 17:00, spans from the Sunday before to five days after.
  const timescale w = build_timescale(5, at(2024, 1, 10, 8), at(2024, 1, 10, 17));
  ASSERT_FALSE(w.empty());
  EXPECT_EQ(w.code, 5);
  // Five days back is Friday 5 January; the Sunday on or before it is 31 December.
  EXPECT_EQ(w.lower.front(), at(2023, 12, 31));
  // The day after the last date, plus five days.
  EXPECT_EQ(w.lower.back(), at(2024, 1, 16));
  ASSERT_EQ(w.lower.size(), 17u);
  for (size_t i = 1; i < w.lower.size(); ++i) EXPECT_EQ(w.lower[i] - w.lower[i - 1], 86400);
  // Weeks from the same Sunday, the last one reaching past the end.
  EXPECT_EQ(w.upper, (std::vector<int64_t>{at(2023, 12, 31), at(2024, 1, 7), at(2024, 1, 14), at(2024, 1, 21)}));

  // A start already on a Sunday stays put once moved back.
  const timescale s = build_timescale(6, at(2024, 1, 12), at(2024, 1, 12));  // Friday
  EXPECT_EQ(s.lower.front(), at(2024, 1, 7));                               // Sunday on or before the 7th
  EXPECT_EQ(break_down(s.lower.front()).weekday, 0);
}

TEST(GanttTimescale, EveryKindAlignsItsCellsAndPadsFiveMarginUnitsOthersShowMonthWeek) {
  const int64_t early = at(2023, 5, 17, 10, 30);
  const int64_t late = at(2024, 2, 3, 15, 45);
  struct expect {
    int code;
    int64_t margin;
  };
  for (const expect e : {expect{1, 90 * 86400}, expect{2, 30 * 86400}, expect{3, 30 * 86400},
                         expect{4, 7 * 86400}, expect{5, 86400}, expect{6, 86400}, expect{8, 3600}}) {
    SCOPED_TRACE(e.code);
    const scale_kind& kind = scale_of(e.code);
    const timescale t = build_timescale(e.code, early, late);
    const int64_t end = next_period(kind.lower, late) + 5 * e.margin;
    ASSERT_GE(t.lower.size(), 2u);
    EXPECT_LE(t.lower.front(), early - 5 * e.margin);
    EXPECT_GE(t.lower.back(), end);
    // Less than one more unit of slack on either side.
    EXPECT_GT(t.lower.front(), early - 5 * e.margin - 2 * (e.code == 1 ? 92 : e.code <= 3 ? 31 : 7) * 86400);
    for (size_t i = 0; i < t.lower.size(); ++i) {
      EXPECT_EQ(period_start(kind.lower, t.lower[i]), t.lower[i]) << i;
      if (i) {
        EXPECT_EQ(next_period(kind.lower, t.lower[i - 1]), t.lower[i]) << i;
        EXPECT_LT(t.lower[i - 1], end) << "only the last cell reaches the end";
      }
    }
    EXPECT_EQ(t.upper.front(), t.lower.front());
    for (size_t i = 1; i < t.upper.size(); ++i) EXPECT_EQ(period_start(kind.upper, t.upper[i]), t.upper[i]) << i;
    EXPECT_GE(t.upper.back(), end);
    EXPECT_LT(t.upper[t.upper.size() - 2], end);
  }
  // Weeks begin on Sunday in the month/week scale too.
  for (int64_t d : build_timescale(4, early, late).lower) EXPECT_EQ(break_down(d).weekday, 0);
  // Quarters begin in January, April, July, October.
  for (int64_t d : build_timescale(1, early, late).lower) EXPECT_EQ((break_down(d).month - 1) % 3, 0);

  // Codes without a scale show Month/Week.
  const timescale four = build_timescale(4, at(2024, 3, 1), at(2024, 3, 20));
  for (int code : {0, 7, 9, -1, 100}) {
    SCOPED_TRACE(code);
    EXPECT_EQ(effective_scale(code), 4);
    EXPECT_EQ(scale_of(code).combo_text, u"Month/Week");
    const timescale t = build_timescale(code, at(2024, 3, 1), at(2024, 3, 20));
    EXPECT_EQ(t.code, 4);
    EXPECT_EQ(t.lower, four.lower);
    EXPECT_EQ(t.upper, four.upper);
  }
}

TEST(GanttTimescale, MonthArithmeticWrapsIntoTheNextYear) {
  EXPECT_EQ(next_period(time_unit::month, at(2023, 12, 15, 9)), at(2024, 1, 1));
  EXPECT_EQ(next_period(time_unit::quarter, at(2023, 11, 2)), at(2024, 1, 1));
  EXPECT_EQ(next_period(time_unit::quarter, at(2023, 10, 1)), at(2024, 1, 1));
  EXPECT_EQ(next_period(time_unit::quarter, at(2023, 8, 31)), at(2023, 10, 1));
  EXPECT_EQ(next_period(time_unit::year, at(2023, 7, 4)), at(2024, 1, 1));
  EXPECT_EQ(period_start(time_unit::quarter, at(2024, 6, 30, 23)), at(2024, 4, 1));
  EXPECT_EQ(period_start(time_unit::week, at(2024, 1, 6, 23, 59)), at(2023, 12, 31));  // Saturday
  EXPECT_EQ(period_start(time_unit::week, at(2024, 1, 7)), at(2024, 1, 7));            // Sunday itself
  EXPECT_EQ(next_period(time_unit::hour, at(2024, 1, 7, 23, 30)), at(2024, 1, 8));
  // Before 1970 the floor still goes down, not towards zero.
  EXPECT_EQ(period_start(time_unit::day, at(1969, 12, 31, 5)), at(1969, 12, 31));
  EXPECT_EQ(period_start(time_unit::week, at(1969, 12, 31, 5)), at(1969, 12, 28));
  // Year/Month: the months of a year and a day in February of a leap year.
  const timescale t = build_timescale(2, at(2024, 2, 29), at(2024, 2, 29));
  EXPECT_EQ(t.lower.front(), at(2023, 9, 1));  // 1 February less 150 days, aligned
  EXPECT_EQ(t.upper[1], at(2024, 1, 1));
}

TEST(GanttTimescale, DateToXIsLinearAndScalesWithZoomWindowsFindTheirCells) {
  const timescale t = build_timescale(2, at(2023, 1, 10), at(2023, 12, 20));
  const date_axis a50(t.lower, 50.0f), a100(t.lower, 100.0f);
  const float n = static_cast<float>(t.lower.size());
  EXPECT_FLOAT_EQ(a50.content_width(), 50.0f * n);
  EXPECT_FLOAT_EQ(a100.content_width(), 2.0f * a50.content_width());
  EXPECT_FLOAT_EQ(a50.x_of(t.lower.front()), 0.0f);
  EXPECT_NEAR(a50.x_of(t.lower.back()), 50.0f * (n - 1), 1e-3);
  for (int64_t d : {at(2023, 1, 10), at(2023, 3, 1, 12), at(2023, 12, 20)}) {
    EXPECT_NEAR(a100.x_of(d), 2.0f * a50.x_of(d), 1e-3);
    EXPECT_NEAR(static_cast<double>(a50.date_at(a50.x_of(d))), static_cast<double>(d), 60.0);
  }
  // Linear in time: a month of 31 days is wider than February.
  const float jan = a50.x_of(at(2023, 2, 1)) - a50.x_of(at(2023, 1, 1));
  const float feb = a50.x_of(at(2023, 3, 1)) - a50.x_of(at(2023, 2, 1));
  EXPECT_NEAR(jan / feb, 31.0f / 28.0f, 1e-4);
  // Fewer than two cells: everything at 0.
  const date_axis one(std::vector<int64_t>{at(2023, 1, 1)}, 50.0f);
  EXPECT_EQ(one.x_of(at(2024, 1, 1)), 0.0f);
  EXPECT_EQ(one.content_width(), 50.0f);

  // The ranges of cells and dates within a window.
  const std::vector<int64_t> d{10, 20, 30, 40};
  // The cell holding 25 starts at 20; the one at 40 is the last.
  using range = std::pair<std::size_t, std::size_t>;
  const auto of = [](auto r) { return range(r.first, r.last); };
  EXPECT_EQ(of(cells_between(d, 25, 40)), range(1, 4));
  EXPECT_EQ(of(cells_between(d, 0, 5)), range(0, 0));
  EXPECT_EQ(cells_between(d, 45, 50).first, 3u);
  EXPECT_EQ(of(dates_between(d, 15, 30)), range(1, 3));
  EXPECT_EQ(dates_between(d, 31, 39).first, dates_between(d, 31, 39).last);
}

TEST(GanttTimescale, GridlineDatesForEveryUnitAndCellLabels) {
  const int64_t from = at(2024, 1, 30, 12), to = at(2024, 5, 2);
  EXPECT_EQ(gridline_dates(gridline_units::month, from, to, nullptr),
            (std::vector<int64_t>{at(2024, 2, 1), at(2024, 3, 1), at(2024, 4, 1), at(2024, 5, 1)}));
  EXPECT_EQ(gridline_dates(gridline_units::quarter, at(2023, 12, 1), at(2024, 7, 1), nullptr),
            (std::vector<int64_t>{at(2024, 1, 1), at(2024, 4, 1), at(2024, 7, 1)}));
  const auto sundays = gridline_dates(gridline_units::week, from, to, nullptr);
  ASSERT_FALSE(sundays.empty());
  EXPECT_EQ(sundays.front(), at(2024, 2, 4));
  for (size_t i = 0; i < sundays.size(); ++i) {
    EXPECT_EQ(break_down(sundays[i]).weekday, 0);
    if (i) {
      EXPECT_EQ(sundays[i] - sundays[i - 1], 7 * 86400);
    }
  }
  const auto days = gridline_dates(gridline_units::day, at(2024, 1, 1, 6), at(2024, 1, 4), nullptr);
  EXPECT_EQ(days, (std::vector<int64_t>{at(2024, 1, 2), at(2024, 1, 3), at(2024, 1, 4)}));
  const auto hours = gridline_dates(gridline_units::hour, at(2024, 1, 1, 22, 30), at(2024, 1, 2, 1), nullptr);
  EXPECT_EQ(hours, (std::vector<int64_t>{at(2024, 1, 1, 23), at(2024, 1, 2), at(2024, 1, 2, 1)}));
  EXPECT_TRUE(gridline_dates(3, from, to, nullptr).empty());
  EXPECT_TRUE(gridline_dates(0, from, to, nullptr).empty());

  // Shifts: 08:00-12:00 and 13:00-17:00 on weekdays, and on Wednesday a
  // shift that carries straight on from the morning one.
  tessel::document::work_calendar cal;
  for (int wd = 2; wd <= 6; ++wd) {
    cal.add_period(wd, {8 * 60, 12 * 60});
    cal.add_period(wd, {(wd == 4 ? 12 : 13) * 60, 17 * 60});
  }
  // Wednesday 3 January 2024 to Monday 8 January, 10:00.
  const auto shifts = gridline_dates(gridline_units::shift, at(2024, 1, 3), at(2024, 1, 8, 10), &cal);
  EXPECT_EQ(shifts, (std::vector<int64_t>{at(2024, 1, 3, 8), at(2024, 1, 4, 8), at(2024, 1, 4, 13),
                                          at(2024, 1, 5, 8), at(2024, 1, 5, 13), at(2024, 1, 6), at(2024, 1, 7),
                                          at(2024, 1, 8, 8)}));
  // Without a calendar every day gets its midnight.
  EXPECT_EQ(gridline_dates(gridline_units::shift, at(2024, 1, 3), at(2024, 1, 5), nullptr),
            (std::vector<int64_t>{at(2024, 1, 3), at(2024, 1, 4), at(2024, 1, 5)}));

  // Cell labels by kind and tier.
  const int64_t d = at(2012, 1, 5, 8);  // Thursday
  struct expect {
    int code;
    std::u16string upper, lower;
  };
  for (const expect& e : {expect{1, u"2012", u"Q1"}, expect{2, u"2012", u"Jan"}, expect{3, u"Qtr 1, 2012", u"Jan"},
                          expect{4, u"January 2012", u"05"}, expect{5, u"Jan 05", u"T"},
                          expect{6, u"Jan 05", u"Thu"}, expect{8, u"Thu Jan 05", u"8"},
                          expect{7, u"January 2012", u"05"}}) {
    SCOPED_TRACE(e.code);
    EXPECT_EQ(cell_label(e.code, true, d), e.upper);
    EXPECT_EQ(cell_label(e.code, false, d), e.lower);
  }
  EXPECT_EQ(cell_label(3, true, at(2012, 11, 1)), u"Qtr 4, 2012");
}

}  // namespace
