// Tracing logic: an activity and the activities that reach it through
// relationships (its predecessors, theirs, ...) or that it reaches (its
// successors), across every project of the file, up to a depth. Depth
// counts the fewest relationships from the activity (0: the activity
// alone); a loop in the logic ends the walk where it meets an activity
// already reached. A relationship counts only when both its ends are
// activities of the file.
#pragma once

#include <string>

#include "analysis/shown_activities.h"

namespace tessel::analysis {

enum class trace_direction : uint8_t { predecessors, successors };
// Any depth.
inline constexpr int trace_all = -1;

// The traced activities, `from` marked. `from` must be an activity of the
// positions' document.
shown_activities trace_logic(const activity_positions& positions, const document::TASK& from,
                             trace_direction direction, int depth = trace_all);

// The first activity in file order with this Activity ID, or null.
const document::TASK* activity_with_id(const document::Document& doc, std::u16string_view id);

}  // namespace tessel::analysis
