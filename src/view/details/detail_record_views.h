// The Details panes of the WBS, Project and Resource categories: a "General"
// tab of captioned catalog fields, and for projects and resources a "Codes"
// tab whose sub-table the host's child pane shows.
//
//   auto* wbs_details = new WBSDetailView;            // tab "General"
//   wbs_details->setFollowedTable(wbs_table);
//   auto* project_details = new ProjectDetailView;    // "General", "Codes"
//   project_details->setFollowedTable(project_table);
//   auto* resource_details = new ResourceDetailView;  // "General", "Codes"
//   resource_details->setFollowedTable(resource_table);
#pragma once

#include "view/details/detail_view.h"

namespace tessel::view {

class WBSDetailView final : public DetailView {
 public:
  explicit WBSDetailView(View* followed = nullptr);
  bool isWbsDetail() const override { return true; }

 protected:
  void drawContents(paint_surface& surface, point_f origin) const override;
};

class ProjectDetailView final : public DetailView {
 public:
  explicit ProjectDetailView(View* followed = nullptr);
  bool isProjectDetail() const override { return true; }

 protected:
  void drawContents(paint_surface& surface, point_f origin) const override;
};

class ResourceDetailView final : public DetailView {
 public:
  explicit ResourceDetailView(View* followed = nullptr);
  bool isResourceDetail() const override { return true; }

 protected:
  void drawContents(paint_surface& surface, point_f origin) const override;
};

}  // namespace tessel::view
