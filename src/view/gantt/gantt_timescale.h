// The Gantt chart's timescale, without any drawing: the seven scale kinds,
// the two tiers of cells they produce over a date range, the dates at which
// vertical gridlines fall, the mapping from a date to a horizontal position,
// and the cell labels.
//
// Dates are seconds since 1970 of the wall-clock reading taken as UTC, so
// all calendar fields come from the UTC breakdown and daylight saving never
// shifts a cell. Weeks begin on Sunday.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessel::document {
class work_calendar;
}

namespace tessel::view::gantt {

// The length of one cell of a tier.
enum class time_unit : uint8_t { year, quarter, month, week, day, hour };

// What a timescale code stands for.
struct scale_kind {
  int code = 4;
  std::u16string_view combo_text;  // "Month/Week", ...
  time_unit upper = time_unit::month;
  time_unit lower = time_unit::week;
  int64_t margin_unit = 0;  // seconds; five of them pad the range on each side
  int upper_pattern = 0;    // label patterns of the date's short scale texts
  int lower_pattern = 0;
};

// The seven codes in the order the timescale combo lists them.
inline constexpr int scale_codes[] = {1, 2, 3, 4, 5, 6, 8};
// Codes 1 to 6 and 8 are the scales; any other code (7 and 0 included) has
// no steps of its own and is shown as "Month/Week" (code 4) rather than
// refusing to draw a chart.
int effective_scale(int code);
const scale_kind& scale_of(int code);

// The start of the period of `unit` that holds `t` (weeks start on Sunday
// at midnight, quarters in January, April, July and October).
int64_t period_start(time_unit unit, int64_t t);
// The start of the period after the one that holds `t`. From a period's own
// start this is one unit later: 3600, 86400 or 604800 seconds, or the next
// (year, month) on day 1 for months, quarters and years.
int64_t next_period(time_unit unit, int64_t t);

// The cells of both tiers, each list the start dates of its cells in order.
struct timescale {
  int code = 4;  // the effective code
  std::vector<int64_t> lower;
  std::vector<int64_t> upper;

  bool empty() const { return lower.empty(); }
};

// The timescale spanning `earliest` to `latest` (earliest <= latest).
// The lower tier starts at the period holding `earliest`, moved back by
// five margin units and aligned to its period again (to a Sunday for the
// week/day scales) and runs by whole lower-tier periods until it reaches
// the start of the period after `latest` moved forward by five margin
// units; the date that reaches it is the last cell. The upper tier starts at
// the same first date (a first upper cell may therefore be partial) and
// steps to the start of each following upper-tier period up to the same end.
// A span that would need more than `max_cells` lower-tier cells (hours over
// centuries, from a damaged file) ends after that many cells.
inline constexpr size_t max_cells = 1'000'000;
timescale build_timescale(int code, int64_t earliest, int64_t latest);

// Horizontal mapping of a timescale at a cell width (pixels): linear in
// time between the first and the last lower-tier cell start, which lie at
// 0 and (cells - 1) x cell width, so months of different lengths all get
// one cell width of room between their labels' starts.
class date_axis {
 public:
  date_axis() = default;
  date_axis(const std::vector<int64_t>& lower, float cell_width);

  float content_width() const { return width_; }
  float cell_width() const { return cell_; }
  // Pixels from the chart's left edge; 0 for every date with fewer than two cells.
  float x_of(int64_t date) const;
  // The date at a position (the inverse of x_of, truncated to seconds).
  int64_t date_at(float x) const;

 private:
  int64_t first_ = 0;
  int64_t span_ = 0;
  float width_ = 0.0f;
  float cell_ = 0.0f;
  double per_second_ = 0.0;
};

// The index range [first, last) of the sorted `dates` whose cells (from a
// date to the next) may reach into [from, to].
struct index_range {
  std::size_t first = 0;
  std::size_t last = 0;
};
index_range cells_between(const std::vector<int64_t>& dates, int64_t from, int64_t to);
// The index range of the sorted `dates` that lie within [from, to].
index_range dates_between(const std::vector<int64_t>& dates, int64_t from, int64_t to);

// Vertical gridline settings (the options page's units).
namespace gridline_units {
inline constexpr int quarter = 1;
inline constexpr int month = 2;
inline constexpr int week = 4;
inline constexpr int day = 5;
inline constexpr int shift = 7;
inline constexpr int hour = 8;
}  // namespace gridline_units

// The dates in [from, to] at which the chosen unit begins: quarter starts,
// first days of months, Sundays, midnights or whole hours at midnight
// alignment; for shifts, the start of every work period of `calendar` on
// each day (a day with no work periods, or no calendar at all, gets its
// midnight instead, so the grid never falls silent). Any other setting
// gives none.
std::vector<int64_t> gridline_dates(int setting, int64_t from, int64_t to,
                                    const document::work_calendar* calendar);

// The text of a cell starting at `date`, in the upper or lower tier of the
// scale `code`.
std::u16string cell_label(int code, bool upper, int64_t date);

}  // namespace tessel::view::gantt
