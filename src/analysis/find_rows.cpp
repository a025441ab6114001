#include "analysis/find_rows.h"

#include "analysis/text_match.h"
#include "catalog/field_catalog.h"

namespace tessel::analysis {
namespace {

bool row_matches(const view::Row& r, std::u16string_view needle, uint32_t project_name_field) {
  if (const document::TASK* t = r.activity())
    return contains_folded(t->task_code.value, needle) || contains_folded(t->task_name.value, needle);
  if (const document::PROJWBS* w = r.wbs())
    return contains_folded(w->wbs_short_name.value, needle) || contains_folded(w->wbs_name.value, needle);
  if (const document::RSRC* res = r.resource())
    return contains_folded(res->rsrc_short_name.value, needle) || contains_folded(res->rsrc_name.value, needle);
  if (const document::PROJECT* p = r.project()) {
    if (contains_folded(p->proj_short_name.value, needle)) return true;
    // The project's name is its top WBS element's, looked up as the
    // Project Name column shows it.
    return project_name_field && contains_folded(r.field_value(project_name_field).text(), needle);
  }
  return false;
}

uint32_t project_name_field() {
  const catalog::field_entry* name = catalog::catalogs().find_key(catalog::catalog_kind::project, u"project\\7Cproj_name");
  return name ? name->field_id : 0;
}

}  // namespace

bool row_matches(const view::Row& row, std::u16string_view folded_text) {
  return row_matches(row, folded_text, project_name_field());
}

std::vector<view::Row*> find_rows(const view::Row& root, std::u16string_view text) {
  std::vector<view::Row*> out;
  const std::u16string needle = folded(text);
  if (needle.empty()) return out;
  const uint32_t name_field = project_name_field();
  // Depth first in child order: the order the view lists its rows.
  struct frame {
    const view::Row* row;
    std::size_t next;
  };
  std::vector<frame> stack{{&root, 0}};
  while (!stack.empty()) {
    frame& f = stack.back();
    if (f.next == f.row->children().size()) {
      stack.pop_back();
      continue;
    }
    view::Row* c = f.row->children()[f.next++].get();
    if (row_matches(*c, needle, name_field)) out.push_back(c);
    if (c->has_children()) stack.push_back({c, 0});
  }
  return out;
}

int step_match(find_state& s, bool forward) {
  const int n = static_cast<int>(s.matches.size());
  if (n == 0) return s.current = -1;
  if (s.current < 0) return s.current = forward ? 0 : n - 1;
  s.current = forward ? (s.current + 1) % n : (s.current + n - 1) % n;
  return s.current;
}

}  // namespace tessel::analysis
