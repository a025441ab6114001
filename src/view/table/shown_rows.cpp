#include "view/table/shown_rows.h"

#include "values/num_text.h"
#include "view/table/table_views.h"

namespace tessel::view {
namespace {

std::u16string count_text(std::size_t n) { return num_text::grouped(std::to_string(n), u","); }

// The rows from the root's child down to the first row `is_it` accepts,
// found depth first; empty when none.
template <class Pred>
std::vector<Row*> path_to(Row& root, Pred is_it) {
  struct frame {
    Row* row;
    std::size_t next;
  };
  std::vector<frame> stack{{&root, 0}};
  while (!stack.empty()) {
    frame& f = stack.back();
    if (f.next == f.row->children().size()) {
      stack.pop_back();
      continue;
    }
    Row* c = f.row->children()[f.next++].get();
    if (is_it(*c)) {
      std::vector<Row*> path;
      for (std::size_t i = 1; i < stack.size(); ++i) path.push_back(stack[i].row);
      path.push_back(c);
      return path;
    }
    if (c->has_children()) stack.push_back({c, 0});
  }
  return {};
}

int reveal_path(View& table, TableCore& core, const std::vector<Row*>& path) {
  if (path.empty()) return -1;
  bool opened = false;
  for (std::size_t i = 0; i + 1 < path.size(); ++i) {
    opened = opened || !path[i]->expanded;
    path[i]->expanded = true;
  }
  // A change of the expanded flags shows in a fresh visible list; without
  // one the list (and what follows it, as the Gantt chart's links) stays.
  if (opened || path.back()->index < 0) core.refresh();
  const std::vector<Row*>& rows = table.visibleRows();
  const int index = path.back()->index;
  if (index < 0 || static_cast<std::size_t>(index) >= rows.size() || rows[static_cast<std::size_t>(index)] != path.back())
    return -1;
  table.selectVisibleRow(index);
  return index;
}

}  // namespace

TableCore* table_core_of(View& v) {
  if (auto* t = dynamic_cast<ActivityTableView*>(&v)) return &t->core();
  if (auto* t = dynamic_cast<WBSTableView*>(&v)) return &t->core();
  if (auto* t = dynamic_cast<ProjectTableView*>(&v)) return &t->core();
  if (auto* t = dynamic_cast<ResourceTableView*>(&v)) return &t->core();
  return nullptr;
}

const TableCore* table_core_of(const View& v) { return table_core_of(const_cast<View&>(v)); }

bool apply_shown(View& table, std::shared_ptr<const analysis::shown_activities> shown, bool build_now) {
  TableCore* core = table_core_of(table);
  if (!core || !table.document() || (core->kind() != view_kind::activity && core->kind() != view_kind::wbs))
    return false;
  core->set_shown(std::move(shown), build_now);
  return true;
}

const analysis::shown_activities* shown_of(const View& table) {
  const TableCore* core = table_core_of(table);
  return core ? core->shown() : nullptr;
}

std::u16string shown_text(const View& table) {
  const analysis::shown_activities* s = shown_of(table);
  if (!s || !table.document()) return {};
  std::u16string out =
      u"Showing " + count_text(s->count) + u" of " + count_text(table.document()->task.size()) + u" activities";
  if (!s->label.empty()) out += u": " + s->label;
  return out;
}

int reveal_row(View& table, const Row& row) {
  TableCore* core = table_core_of(table);
  if (!core || !core->root()) return -1;
  return reveal_path(table, *core, path_to(*core->root(), [&row](const Row& r) { return &r == &row; }));
}

int reveal_activity(View& table, const document::TASK& task) {
  TableCore* core = table_core_of(table);
  if (!core || !core->root()) return -1;
  return reveal_path(table, *core, path_to(*core->root(), [&task](const Row& r) { return r.activity() == &task; }));
}

}  // namespace tessel::view
