// The Codes sub-tables: the code values assigned to the activity, project
// or resource selected in the followed table, one row per code type that
// has a value for it, in the order of the code types. Columns are fixed:
// the code type's name, the value's short name and its description, 200
// pixels each (scaled). A click selects a row; nothing is copied.
//
//   auto* codes = new ActivityCodeTableView;  // or Project..., Resource...
//   codes->setFollowedTable(activity_table);
// Document and layout are the followed table's; every `refresh` rebuilds
// the rows from its current selection.
#pragma once

#include "view/details/detail_table.h"

namespace tessel::view {

class ActivityCodeTableView final : public View {
 public:
  explicit ActivityCodeTableView(View* followed = nullptr);
  bool isActivityCodeTable() const override { return true; }
  void refresh() override;
  TESSEL_FIXED_DETAIL_TABLE_SLOTS;
};

class ProjectCodeTableView final : public View {
 public:
  explicit ProjectCodeTableView(View* followed = nullptr);
  void refresh() override;
  TESSEL_FIXED_DETAIL_TABLE_SLOTS;
};

class ResourceCodeTableView final : public View {
 public:
  explicit ResourceCodeTableView(View* followed = nullptr);
  void refresh() override;
  TESSEL_FIXED_DETAIL_TABLE_SLOTS;
};

}  // namespace tessel::view
