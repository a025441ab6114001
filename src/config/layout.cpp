#include "config/layout.h"

#include "config/filters.h"

namespace tessel::view {

namespace {
constexpr std::string_view k_view_keys[view_count] = {"VP_ACT", "VP_WBS", "VP_PROJ", "VP_RES"};
}  // namespace

std::string_view view_key(view_kind view) {
  return k_view_keys[static_cast<std::size_t>(view)];
}

bool view_from_key(std::u16string_view key, view_kind& view) {
  for (std::size_t i = 0; i < view_count; ++i) {
    const std::string_view k = k_view_keys[i];
    if (key.size() != k.size()) continue;
    bool same = true;
    for (std::size_t j = 0; j < k.size() && same; ++j) same = key[j] == static_cast<char16_t>(k[j]);
    if (same) {
      view = static_cast<view_kind>(i);
      return true;
    }
  }
  return false;
}

catalog::catalog_kind catalog_of(view_kind view) {
  switch (view) {
    case view_kind::activity: return catalog::catalog_kind::activity;
    case view_kind::wbs: return catalog::catalog_kind::wbs;
    case view_kind::project: return catalog::catalog_kind::project;
    case view_kind::resource: return catalog::catalog_kind::resource;
  }
  return catalog::catalog_kind::activity;
}

bool BarFilterList::accepts(const field_source& row) const {
  bool result = !is_or;
  for (const PredefinedFilter* f : filters) {
    const bool r = f && f->Evaluate(row);
    if (is_or && r) result = true;
    if (!is_or && !r) result = false;
  }
  return result;
}

// ---- Table columns ----------------------------------------------------------

Column* Layout::column_at(std::size_t index) {
  return index < set_.columns.size() ? &set_.columns[index] : nullptr;
}
const Column* Layout::column_at(std::size_t index) const {
  return index < set_.columns.size() ? &set_.columns[index] : nullptr;
}

int Layout::find_column(uint32_t field_id) const {
  for (std::size_t i = 0; i < set_.columns.size(); ++i)
    if (set_.columns[i].field_id == field_id) return static_cast<int>(i);
  return -1;
}

void Layout::add_column(uint32_t field_id, float width) {
  set_.columns.push_back(Column{field_id, width, {}});
}

void Layout::move_column(std::size_t from, std::size_t to) { move_entry(set_.columns, from, to); }

void Layout::remove_column(std::size_t index) {
  if (index < set_.columns.size())
    set_.columns.erase(set_.columns.begin() + static_cast<std::ptrdiff_t>(index));
}

// ---- Detail tables ----------------------------------------------------------

std::size_t Layout::detail_count(detail_list which) const {
  const auto* list = detail_columns(which);
  return list ? list->size() : 0;
}

const ListColumn* Layout::detail_at(detail_list which, std::size_t index) const {
  const auto* list = detail_columns(which);
  return list && index < list->size() ? &(*list)[index] : nullptr;
}

void Layout::add_detail_column(detail_list which, uint32_t field_id, float width) {
  if (auto* list = detail_columns(which)) list->push_back(ListColumn{field_id, width});
}

void Layout::move_detail_column(detail_list which, std::size_t from, std::size_t to) {
  if (auto* list = detail_columns(which)) move_entry(*list, from, to);
}

void Layout::remove_detail_column(detail_list which, std::size_t index) {
  auto* list = detail_columns(which);
  if (list && index < list->size()) list->erase(list->begin() + static_cast<std::ptrdiff_t>(index));
}

// ---- The four lists ---------------------------------------------------------

Layout* layout_lists::find(view_kind view, std::u16string_view name) const {
  for (const auto& l : of(view))
    if (l->name() == name) return l.get();
  return nullptr;
}

void layout_lists::clear() {
  for (auto& l : lists) l.clear();
}

}  // namespace tessel::view
