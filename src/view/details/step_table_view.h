// The Steps sub-table of the Activity Details pane: one row per step of the
// activity selected in the followed table, in the activity's step order.
// Fixed columns: "Step Name" 400, "Completed" 200, "Step % Complete" 200,
// "Step Weight" 200, "Step Weight Percent" 200 (scaled). A click selects a
// row; nothing is copied.
//
//   auto* steps = new ActivityStepTableView;
//   steps->setFollowedTable(activity_table);
// Every `refresh` rebuilds the rows from the followed table's selection.
#pragma once

#include "view/details/detail_table.h"

namespace tessel::view {

class ActivityStepTableView final : public View {
 public:
  explicit ActivityStepTableView(View* followed = nullptr);
  void refresh() override;
  TESSEL_FIXED_DETAIL_TABLE_SLOTS;
};

}  // namespace tessel::view
