// How a group sums up one column over the rows directly below it (records,
// or nested groups answering with their own summaries): used by the group
// items.
#pragma once

#include <cstdint>

#include "rows/row.h"
#include "values/s_val.h"

namespace tessel::view {

class GroupItem;

// The Activity view's rules: the group name, the shared calendar, earliest
// starts, latest finishes, durations measured across the group on a
// calendar, summed counts and quantities.
val_ptr activity_summary(const GroupItem& item, uint32_t field_id, const row_list& rows);

// The WBS and Project views' rules (catalog of the item's rows): the group
// name, earliest starts, latest finishes, durations from the earliest start
// to the latest finish on the calendar the records share, summed counts and
// quantities.
val_ptr record_summary(const GroupItem& item, uint32_t field_id, const row_list& rows);

}  // namespace tessel::view
