// The Activity category's Details pane: tabs "General", "Status",
// "Predecessors", "Successors", "Codes" and "Steps". The first two show the
// selected activity's fields under a title line; the other four show the
// strip only and leave the area below it to the host's child pane.
//
//   auto* details = new ActivityDetailView;  // current tab "General"
//   details->setFollowedTable(activity_table);
#pragma once

#include "view/details/detail_view.h"

namespace tessel::view {

class ActivityDetailView final : public DetailView {
 public:
  explicit ActivityDetailView(View* followed = nullptr);
  bool isActivityDetail() const override { return true; }

 protected:
  void drawContents(paint_surface& surface, point_f origin) const override;

 private:
  void draw_general(paint_surface& surface, point_f origin, const Row* row) const;
  void draw_status(paint_surface& surface, point_f origin, const Row* row) const;
};

}  // namespace tessel::view
