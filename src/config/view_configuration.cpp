#include "config/view_configuration.h"

#include "catalog/field_catalog.h"
#include "config/column_files.h"

namespace tessel::view {

std::u16string_view view_configuration::first_layout_name(view_kind view) {
  switch (view) {
    case view_kind::activity: return u"Classic WBS Layout";
    case view_kind::wbs: return u"Project Status";
    case view_kind::project: return u"Projects List View";
    case view_kind::resource: return u"All Resources";
  }
  return {};
}

void view_configuration::rebuild(layout_diagnostics* diagnostics) {
  // Layouts refer to filters and catalog fields: they go first.
  layouts_.clear();
  filters_.clear();
  catalog::build_catalogs();
  BuildPredefinedFilters(filters_);
  LoadLayouts(layouts_, filters_, diagnostics);
  built_ = true;
}

void view_configuration::after_load() {
  for (view_kind v : {view_kind::activity, view_kind::wbs, view_kind::project, view_kind::resource})
    PruneUnavailableColumns(layouts_, v);
  ReloadColumnFiles(layouts_);
}

void view_configuration::save_columns() const {
  if (built_) SaveColumnFiles(layouts_);
}

Layout* view_configuration::first_layout(view_kind view) const {
  if (Layout* l = layouts_.find(view, first_layout_name(view))) return l;
  const auto& list = layouts_.of(view);
  return list.empty() ? nullptr : list.front().get();
}

}  // namespace tessel::view
