#include "analysis/where_expr.h"

#include <charconv>
#include <cmath>

#include "document/io/path_text.h"
#include "values/civil.h"
#include "values/s_date.h"

namespace tessel::analysis {
namespace {

bool starts_with(std::string_view s, std::string_view p) { return s.substr(0, p.size()) == p; }

bool read_int(std::string_view s, int& out) {
  if (s.empty()) return false;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
  return ec == std::errc() && end == s.data() + s.size();
}

bool read_statuses(std::string_view list, uint8_t& bits) {
  bits = 0;
  while (true) {
    const std::size_t comma = list.find(',');
    const std::string_view one = list.substr(0, comma);
    if (one == "not-started") bits |= status_not_started;
    else if (one == "in-progress") bits |= status_in_progress;
    else if (one == "completed") bits |= status_completed;
    else return false;
    if (comma == std::string_view::npos) return true;
    list.remove_prefix(comma + 1);
  }
}

}  // namespace

std::optional<day_number> read_day(std::string_view text) {
  int y = 0, m = 0, d = 0;
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  if (!read_int(text.substr(0, 4), y) || !read_int(text.substr(5, 2), m) || !read_int(text.substr(8, 2), d))
    return std::nullopt;
  if (m < 1 || m > 12 || d < 1 || d > s_date::days_in_month(y, m)) return std::nullopt;
  return civil::days_from_civil(y, m, d);
}

bool read_where(std::string_view expr, quick_filter& out, std::string& error) {
  out = quick_filter{};
  auto refuse = [&](std::string_view why) {
    error = "cannot read --where " + std::string(expr) + ": " + std::string(why) + " (forms: " +
            std::string(where_forms) + ")";
    return false;
  };
  if (expr == "critical") {
    out.critical = true;
    return true;
  }
  if (expr == "milestone") {
    out.milestones = true;
    return true;
  }
  if (starts_with(expr, "float<=")) {
    const std::string number(expr.substr(7));
    char* end = nullptr;
    const double n = number.empty() ? NAN : std::strtod(number.c_str(), &end);
    if (number.empty() || end != number.c_str() + number.size() || !std::isfinite(n))
      return refuse("not a number of days");
    out.float_days = n;
    return true;
  }
  if (starts_with(expr, "status=")) {
    if (!read_statuses(expr.substr(7), out.statuses)) return refuse("unknown status");
    return true;
  }
  if (starts_with(expr, "active=")) {
    const std::string_view range = expr.substr(7);
    const std::size_t dots = range.find("..");
    if (dots == std::string_view::npos) return refuse("not a date range");
    const std::optional<day_number> from = read_day(range.substr(0, dots));
    const std::optional<day_number> to = read_day(range.substr(dots + 2));
    if (!from || !to) return refuse("not a date range");
    if (*from > *to) return refuse("the range is reversed");
    out.active_from = from;
    out.active_to = to;
    return true;
  }
  if (starts_with(expr, "code=")) {
    const std::string_view pick = expr.substr(5);
    const std::size_t colon = pick.find(':');
    if (colon == std::string_view::npos) return refuse("no \":\" between code type and value");
    out.code_type = document::wide_text(std::string(pick.substr(0, colon)));
    out.code_value = document::wide_text(std::string(pick.substr(colon + 1)));
    return true;
  }
  if (starts_with(expr, "text=")) {
    if (expr.size() == 5) return refuse("empty text");
    out.text = document::wide_text(std::string(expr.substr(5)));
    return true;
  }
  return refuse("unknown form");
}

}  // namespace tessel::analysis
