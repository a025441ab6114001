// The written forms of the quick filters, as tessel-dump's --where takes
// them (and as the renderer does):
//   critical                       critical by the one definition
//   float<=N                       total float known and at most N days
//   status=not-started|in-progress|completed   a comma list allowed
//   milestone                      a start or finish milestone
//   active=YYYY-MM-DD..YYYY-MM-DD  active between two days, both inclusive
//   code=TYPE:VALUE                split at the first ":", exact
//   text=WORDS                     one substring of ID or name, case-blind
#pragma once

#include <string>
#include <string_view>

#include "analysis/quick_filters.h"

namespace tessel::analysis {

// The forms above on one line, for messages.
inline constexpr std::string_view where_forms =
    "critical, float<=N, status=not-started|in-progress|completed (comma list), milestone, "
    "active=YYYY-MM-DD..YYYY-MM-DD, code=TYPE:VALUE, text=WORDS";

// Reads `expr` (UTF-8) into a filter of its own. Answers false, with
// `error` naming the expression and listing the forms, when it cannot be
// read: an unknown form, an empty text, an unreadable number, an unknown
// status, an unreadable or reversed date range, a code without a ":".
bool read_where(std::string_view expr, quick_filter& out, std::string& error);

// A day written YYYY-MM-DD, or nothing when it is not a calendar day.
std::optional<day_number> read_day(std::string_view text);

}  // namespace tessel::analysis
