#include "app/view_set.h"

#include "view/details/code_table_views.h"
#include "view/details/detail_activity.h"
#include "view/details/detail_record_views.h"
#include "view/gantt/gantt_view.h"
#include "view/details/relationship_table_view.h"
#include "view/details/step_table_view.h"
#include "view/table/table_views.h"

namespace tessel::app {

category_views views_of(view::view_kind category) {
  using namespace views;
  switch (category) {
    case view::view_kind::activity:
      return {activity_table, activity_gantt, activity_detail, {predecessors, successors, activity_codes, activity_steps}};
    case view::view_kind::wbs:
      return {wbs_table, wbs_gantt, wbs_detail, {-1, -1, -1, -1}};
    case view::view_kind::project:
      return {project_table, project_gantt, project_detail, {-1, -1, project_codes, -1}};
    case view::view_kind::resource:
      return {resource_table, -1, resource_detail, {-1, -1, resource_codes, -1}};
  }
  return {};
}

view_set::view_set() {
  using namespace views;
  auto put = [this](int index, std::unique_ptr<view::View> v) { views_[static_cast<std::size_t>(index)] = std::move(v); };
  // The tables first: everything else follows one of them.
  put(activity_table, std::make_unique<view::ActivityTableView>());
  put(wbs_table, std::make_unique<view::WBSTableView>());
  put(project_table, std::make_unique<view::ProjectTableView>());
  put(resource_table, std::make_unique<view::ResourceTableView>());
  auto chart = [](view::View* table) {
    auto g = std::make_unique<view::GanttView>();
    g->follow(table);
    return g;
  };
  put(activity_gantt, chart(at(activity_table)));
  put(wbs_gantt, chart(at(wbs_table)));
  put(project_gantt, chart(at(project_table)));
  view::View* act = at(activity_table);
  put(activity_detail, std::make_unique<view::ActivityDetailView>(act));
  put(predecessors, std::make_unique<view::RelationshipTableView>(0, act));
  put(successors, std::make_unique<view::RelationshipTableView>(1, act));
  put(activity_codes, std::make_unique<view::ActivityCodeTableView>(act));
  put(activity_steps, std::make_unique<view::ActivityStepTableView>(act));
  put(wbs_detail, std::make_unique<view::WBSDetailView>(at(wbs_table)));
  put(project_detail, std::make_unique<view::ProjectDetailView>(at(project_table)));
  put(project_codes, std::make_unique<view::ProjectCodeTableView>(at(project_table)));
  put(resource_detail, std::make_unique<view::ResourceDetailView>(at(resource_table)));
  put(resource_codes, std::make_unique<view::ResourceCodeTableView>(at(resource_table)));
}

view_set::~view_set() = default;

view::View* view_set::at(int index) const {
  if (index < 0 || index >= view_set_size) return nullptr;
  return views_[static_cast<std::size_t>(index)].get();
}

}  // namespace tessel::app
