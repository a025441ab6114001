#include "app/view_set.h"

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

view_set::view_set() = default;

view_set::~view_set() = default;

view::View* view_set::at(int index) const {
  if (index < 0 || index >= view_set_size) return nullptr;
  return views_[static_cast<std::size_t>(index)].get();
}

}  // namespace tessel::app
