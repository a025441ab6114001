#include "view/table/table_views.h"

namespace tessel::view {

std::unique_ptr<View> make_table_view(view_kind kind) {
  switch (kind) {
    case view_kind::activity: return std::make_unique<ActivityTableView>();
    case view_kind::wbs: return std::make_unique<WBSTableView>();
    case view_kind::project: return std::make_unique<ProjectTableView>();
    case view_kind::resource: return std::make_unique<ResourceTableView>();
  }
  return nullptr;
}

}  // namespace tessel::view
