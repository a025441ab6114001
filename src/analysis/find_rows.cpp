#include "analysis/find_rows.h"

#include <algorithm>

#include "analysis/text_match.h"
#include "catalog/field_catalog.h"

namespace tessel::analysis {
namespace {

uint32_t project_name_field() {
  const catalog::field_entry* name = catalog::catalogs().find_key(catalog::catalog_kind::project, u"project\\7Cproj_name");
  return name ? name->field_id : 0;
}

}  // namespace

find_index::find_index(const view::Row& root) {
  const uint32_t name_field = project_name_field();
  auto append = [this](std::u16string_view t) {
    const std::size_t at = text_.size();
    text_.resize(at + t.size() + 1);
    char16_t* out = text_.data() + at;
    for (char16_t c : t) *out++ = c < 0x80 ? (c >= u'A' && c <= u'Z' ? c + 32 : c ? c : u' ') : fold_case(c);
    *out = 0;
  };
  text_.reserve(1 << 16);
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
    if (const document::TASK* t = c->activity()) {
      append(t->task_code.value);
      append(t->task_name.value);
    } else if (const document::PROJWBS* w = c->wbs()) {
      append(w->wbs_short_name.value);
      append(w->wbs_name.value);
    } else if (const document::RSRC* r = c->resource()) {
      append(r->rsrc_short_name.value);
      append(r->rsrc_name.value);
    } else if (const document::PROJECT* p = c->project()) {
      // The project's name is its top WBS element's, looked up as the
      // Project Name column shows it.
      append(p->proj_short_name.value);
      append(name_field ? std::u16string(c->field_value(name_field).text()) : std::u16string());
    } else {
      append({});  // group rows are never found
      append({});
    }
    rows_.push_back(c);
    ends_.push_back(text_.size());
    if (c->has_children()) stack.push_back({c, 0});
  }
}

std::vector<view::Row*> find_index::matches(std::u16string_view text) const {
  std::vector<view::Row*> out;
  const std::u16string needle = folded(text);
  if (needle.empty() || needle.find(char16_t{0}) != std::u16string::npos) return out;
  const std::u16string_view all(text_);
  for (std::size_t at = all.find(needle); at != std::u16string_view::npos;) {
    const std::size_t k = static_cast<std::size_t>(std::upper_bound(ends_.begin(), ends_.end(), at) - ends_.begin());
    out.push_back(rows_[k]);
    at = all.find(needle, ends_[k]);
  }
  return out;
}

std::vector<view::Row*> find_rows(const view::Row& root, std::u16string_view text) {
  if (text.empty()) return {};
  return find_index(root).matches(text);
}

int step_match(find_state& s, bool forward) {
  const int n = static_cast<int>(s.matches.size());
  if (n == 0) return s.current = -1;
  if (s.current < 0) return s.current = forward ? 0 : n - 1;
  s.current = forward ? (s.current + 1) % n : (s.current + n - 1) % n;
  return s.current;
}

}  // namespace tessel::analysis
