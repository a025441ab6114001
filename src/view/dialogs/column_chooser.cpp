#include "view/dialogs/column_chooser.h"

#include <algorithm>
#include <functional>

namespace tessel::view {

namespace {

detail_list detail_of(chooser_list l) {
  return l == chooser_list::predecessors ? detail_list::predecessors : detail_list::successors;
}

// Calls `each(field_id, position)` for every column of the edited list.
void for_each_column(const column_target& t, const std::function<void(uint32_t, std::size_t)>& each) {
  if (!t.layout) return;
  if (t.list == chooser_list::table) {
    const auto& cols = t.layout->columns();
    for (std::size_t i = 0; i < cols.size(); ++i) each(cols[i].field_id, i);
    return;
  }
  if (const auto* cols = t.layout->detail_columns(detail_of(t.list)))
    for (std::size_t i = 0; i < cols->size(); ++i) each((*cols)[i].field_id, i);
}

char16_t fold(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

}  // namespace

catalog::catalog_kind chooser_catalog(const column_target& t) {
  switch (t.list) {
    case chooser_list::predecessors: return catalog::catalog_kind::predecessor;
    case chooser_list::successors: return catalog::catalog_kind::successor;
    case chooser_list::table: break;
  }
  return t.layout ? t.layout->catalog() : catalog::catalog_kind::activity;
}

bool caption_less(std::u16string_view a, std::u16string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t x = fold(a[i]);
    const char16_t y = fold(b[i]);
    if (x != y) return x < y;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

std::vector<std::u16string> filtered_captions(const std::vector<std::u16string>& captions,
                                              std::u16string_view filter) {
  std::vector<std::u16string> out;
  for (const std::u16string& c : captions) {
    bool found = filter.empty();
    for (std::size_t at = 0; !found && at + filter.size() <= c.size(); ++at) {
      std::size_t i = 0;
      while (i < filter.size() && fold(c[at + i]) == fold(filter[i])) ++i;
      found = i == filter.size();
    }
    if (found) out.push_back(c);
  }
  return out;
}

column_lists fill_column_lists(const column_target& t) {
  column_lists out;
  if (!t.layout) return out;
  const catalog::field_catalog& cat = catalog::catalogs()[chooser_catalog(t)];
  std::vector<uint32_t> shown;
  for_each_column(t, [&](uint32_t field_id, std::size_t position) {
    shown.push_back(field_id);
    const catalog::field_entry* e = catalog::catalogs().find_id(field_id);
    if (!e || e->catalog != chooser_catalog(t) || !e->available) return;
    out.inserted.push_back(e->caption);
    out.inserted_index.push_back(position);
  });
  std::sort(shown.begin(), shown.end());
  for (const catalog::field_entry& e : cat.entries()) {
    if (!e.available || std::binary_search(shown.begin(), shown.end(), e.field_id)) continue;
    out.available.push_back(e.caption);
  }
  std::stable_sort(out.available.begin(), out.available.end(),
                   [](const std::u16string& a, const std::u16string& b) { return caption_less(a, b); });
  return out;
}

void add_columns(const column_target& t, const std::vector<std::u16string>& captions) {
  if (!t.layout) return;
  const catalog::field_catalog& cat = catalog::catalogs()[chooser_catalog(t)];
  for (const std::u16string& caption : captions) {
    // The first available field of that caption: the list only offered
    // available ones.
    const catalog::field_entry* found = nullptr;
    for (const catalog::field_entry& e : cat.entries())
      if (e.available && e.caption == caption) {
        found = &e;
        break;
      }
    if (!found) continue;
    if (t.list == chooser_list::table)
      t.layout->add_column(found->field_id, added_column_width);
    else
      t.layout->add_detail_column(detail_of(t.list), found->field_id, added_column_width);
  }
}

void remove_columns(const column_target& t, const column_lists& lists, std::vector<std::size_t> positions) {
  if (!t.layout) return;
  std::sort(positions.begin(), positions.end(), std::greater<>());
  positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
  for (std::size_t p : positions) {
    if (p >= lists.inserted_index.size()) continue;
    const std::size_t index = lists.inserted_index[p];
    if (t.list == chooser_list::table)
      t.layout->remove_column(index);
    else
      t.layout->remove_detail_column(detail_of(t.list), index);
  }
}

}  // namespace tessel::view
