// The Predecessors and Successors sub-tables of the Activity Details pane:
// one row per relationship of the activity selected in the followed table,
// in the activity's list order, with the columns of the layout's
// predecessor or successor list. A column's right edge can be dragged to
// resize it; the width is stored in the layout, unscaled.
//
//   auto* preds = new RelationshipTableView(0);  // 0 predecessors, 1 successors
//   preds->setFollowedTable(activity_table);
// Document and layout are the followed table's; every `refresh` rebuilds
// the rows from its current selection.
#pragma once

#include <vector>

#include "view/details/detail_table.h"

namespace tessel::view {

class RelationshipTableView final : public View {
 public:
  // `kind` 0 lists predecessors, 1 successors.
  explicit RelationshipTableView(int kind, View* followed = nullptr);

  bool isRelationshipTable() const override { return true; }
  float contentWidth() const override;
  float contentHeight() const override;
  float headerHeight() const override;
  float rowHeight() const override;
  void refresh() override;
  void draw(const rect_f& r) override;
  // Ctrl+C in the sub-table: the whole sub-table.
  std::u16string selectionText() const override;
  bool onMouseMove(unsigned flags, float x, float y) override;
  bool onLButtonDown(unsigned flags, float x, float y) override;
  bool onLButtonUp(unsigned flags, float x, float y) override;

  int kind() const { return kind_; }
  void setFollowedTable(View* table) { table_.followed = table; }
  View* followedTable() const { return table_.followed; }
  // The column whose right edge is being dragged, or -1.
  int resizingColumn() const { return resizing_; }

 private:
  // The layout's list for this kind; null without a followed activity layout.
  std::vector<ListColumn>* columns() const;
  int handle_at(float content_x, float content_y) const;

  int kind_;
  detail_table table_;
  int resizing_ = -1;
};

}  // namespace tessel::view
