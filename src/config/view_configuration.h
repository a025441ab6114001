// The view configuration: everything that is rebuilt on every accepted open
// and that the views read — the field catalogs (process-wide, rebuilt from
// here), the predefined filters and the layouts of the four views. Owned by
// the open-schedule object (view/tessel_doc.h).
//
// Order of events on an accepted open:
//   1. rebuild(): catalogs, then filters, then layouts (layouts name filters
//      and fields), each layout taking its remembered columns;
//   2. the schedule is loaded (it adds its own fields to the catalogs);
//   3. after_load(): columns whose fields the schedule does not supply are
//      dropped, for the Activity, WBS, Project and Resource views in that
//      order, then the remembered column files are read again.
// At program end the application calls save_columns().
#pragma once

#include <string_view>

#include "config/filters.h"
#include "config/layout.h"
#include "config/layout_reader.h"

namespace tessel::view {

class view_configuration {
 public:
  view_configuration() = default;
  view_configuration(const view_configuration&) = delete;
  view_configuration& operator=(const view_configuration&) = delete;

  // The name of the layout a view shows first: "Classic WBS Layout",
  // "Project Status", "Projects List View", "All Resources".
  static std::u16string_view first_layout_name(view_kind view);

  // Builds the catalogs, the filters and the layouts, replacing the previous
  // ones. What the layout readers skipped goes to `diagnostics` when given.
  void rebuild(layout_diagnostics* diagnostics = nullptr);
  // The steps after a schedule was loaded (see above).
  void after_load();
  // Writes every layout's column files (program end); nothing before the
  // first accepted open.
  void save_columns() const;

  // Whether layouts have been built (a file was accepted since start-up).
  bool built() const { return built_; }

  const filter_lists& filters() const { return filters_; }
  layout_lists& layouts() { return layouts_; }
  const layout_lists& layouts() const { return layouts_; }
  // The layout a view shows first: the one named by `first_layout_name`, or
  // the view's first layout when no layout has that name; nullptr when the
  // view has none.
  Layout* first_layout(view_kind view) const;

 private:
  filter_lists filters_;
  layout_lists layouts_;
  bool built_ = false;
};

}  // namespace tessel::view
