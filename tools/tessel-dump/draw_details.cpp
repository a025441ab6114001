// Pane kinds of tessel-dump --draw for the Details pane and its sub-tables:
//   activity-details | wbs-details | project-details | resource-details
//       [--tab NAME]: the category's detail view following its table
//       (--select N picks the table's row N), on tab NAME ("General" when
//       not given);
//   predecessors | successors | activity-codes | steps | project-codes |
//       resource-codes: the sub-table, refreshed from the table's
//       selection just before the paint.
#include <cstdlib>
#include <iostream>
#include <memory>

#include "document/io/path_text.h"
#include "open_file.h"
#include "draw_panes.h"
#include "view/details/code_table_views.h"
#include "view/details/detail_activity.h"
#include "view/details/detail_record_views.h"
#include "view/details/relationship_table_view.h"
#include "view/details/step_table_view.h"

namespace tessel::dump {
namespace {

template <class Detail>
class details_pane final : public draw_pane {
 public:
  std::size_t option(const std::vector<std::string>& args, std::size_t i) override {
    if (args[i] != "--tab" || i + 1 >= args.size()) return 0;
    tab_ = document::wide_text(args[i + 1]);
    return 2;
  }
  view::View* build(draw_session& s) override {
    view_.setFollowedTable(s.table.get());
    if (!tab_.empty() && !view_.setCurrentTab(tab_)) {
      std::cerr << "tessel-dump --draw: no tab named " << utf8(tab_) << " (";
      for (std::size_t i = 0; i < view_.tabs().size(); ++i)
        std::cerr << (i ? ", " : "") << utf8(view_.tabs()[i]);
      std::cerr << ")\n";
      std::exit(2);
    }
    return &view_;
  }

 private:
  Detail view_;
  std::u16string tab_;
};

template <class Table>
class sub_table_pane final : public draw_pane {
 public:
  template <class... Args>
  explicit sub_table_pane(Args... args) : view_(args...) {}
  view::View* build(draw_session& s) override {
    view_.setFollowedTable(s.table.get());
    return &view_;
  }
  // The table's selection is set after `build`: the host pane refreshes a
  // sub-table whenever it shows it, and so does this paint.
  void before_paint(draw_session&) override { view_.refresh(); }

 private:
  Table view_;
};

template <class Pane, class... Args>
std::unique_ptr<draw_pane> make(Args... args) {
  return std::make_unique<Pane>(args...);
}

using view::view_kind;
const draw_pane_registration kinds[] = {
    draw_pane_registration{{"activity-details", view_kind::activity, "[--tab NAME]",
                            make<details_pane<view::ActivityDetailView>>}},
    draw_pane_registration{{"wbs-details", view_kind::wbs, "[--tab NAME]", make<details_pane<view::WBSDetailView>>}},
    draw_pane_registration{{"project-details", view_kind::project, "[--tab NAME]",
                            make<details_pane<view::ProjectDetailView>>}},
    draw_pane_registration{{"resource-details", view_kind::resource, "[--tab NAME]",
                            make<details_pane<view::ResourceDetailView>>}},
    draw_pane_registration{{"predecessors", view_kind::activity, "",
                            [] { return make<sub_table_pane<view::RelationshipTableView>>(0); }}},
    draw_pane_registration{{"successors", view_kind::activity, "",
                            [] { return make<sub_table_pane<view::RelationshipTableView>>(1); }}},
    draw_pane_registration{{"activity-codes", view_kind::activity, "",
                            make<sub_table_pane<view::ActivityCodeTableView>>}},
    draw_pane_registration{{"steps", view_kind::activity, "", make<sub_table_pane<view::ActivityStepTableView>>}},
    draw_pane_registration{{"project-codes", view_kind::project, "",
                            make<sub_table_pane<view::ProjectCodeTableView>>}},
    draw_pane_registration{{"resource-codes", view_kind::resource, "",
                            make<sub_table_pane<view::ResourceCodeTableView>>}},
};

}  // namespace
}  // namespace tessel::dump
