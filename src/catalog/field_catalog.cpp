#include "catalog/field_catalog.h"

#include <array>

#include "catalog/builtin_fields.h"

namespace tessel::catalog {

std::string_view catalog_name(catalog_kind kind) {
  switch (kind) {
    case catalog_kind::activity: return "activity";
    case catalog_kind::project: return "project";
    case catalog_kind::wbs: return "wbs";
    case catalog_kind::resource: return "resource";
    case catalog_kind::predecessor: return "predecessor";
    case catalog_kind::successor: return "successor";
  }
  return "";
}

// ---- one catalog ----------------------------------------------------------

field_entry* field_catalog::find_key(std::u16string_view key, bool available_only) const {
  auto it = by_key_.find(key);
  if (it == by_key_.end()) return nullptr;
  if (!available_only) return it->second.front();
  for (field_entry* e : it->second) {
    if (e->available) return e;
  }
  return nullptr;
}

field_entry* field_catalog::find_caption(std::u16string_view caption) const {
  auto it = by_caption_.find(caption);
  return it == by_caption_.end() ? nullptr : it->second;
}

field_entry& field_catalog::append(field_entry entry) {
  field_entry& e = entries_.emplace_back(std::move(entry));
  by_key_[e.key].push_back(&e);
  by_caption_.try_emplace(e.caption, &e);
  return e;
}

void field_catalog::clear() {
  by_key_.clear();
  by_caption_.clear();
  entries_.clear();
}

// ---- the six catalogs -----------------------------------------------------

std::size_t catalog_set::size() const {
  std::size_t n = 0;
  for (const field_catalog& c : lists_) n += c.size();
  return n;
}

void catalog_set::clear() {
  by_id_.clear();
  by_persistent_id_.clear();
  for (field_catalog& c : lists_) c.clear();
}

void catalog_set::index_first(std::unordered_map<uint32_t, field_entry*>& index, uint32_t id,
                              field_entry* entry) {
  auto [it, inserted] = index.try_emplace(id, entry);
  // A search in catalog order meets an earlier catalog first, whatever the
  // order of registration; within one catalog the earlier entry stays.
  if (!inserted && entry->catalog < it->second->catalog) it->second = entry;
}

field_entry& catalog_set::register_field(catalog_kind kind, field_spec fields) {
  field_entry entry;
  entry.caption = std::move(fields.caption);
  entry.field_id = fields.field_id;
  entry.persistent_id = fields.persistent_id;
  entry.value_type = fields.value_type;
  entry.entity = fields.entity;
  entry.value_class = fields.value_class;
  entry.available = fields.available;
  entry.key = std::move(fields.key);
  entry.workbook_column = std::move(fields.workbook_column);
  entry.catalog = kind;
  field_entry& e = (*this)[kind].append(std::move(entry));
  index_first(by_id_, e.field_id, &e);
  index_first(by_persistent_id_, e.persistent_id, &e);
  return e;
}

void catalog_set::build() {
  clear();
  static constexpr uint32_t entity_of[catalog_count] = {
      entities::activity, entities::project,      entities::wbs,
      entities::resource, entities::relationship, entities::relationship};
  // Sized once for the built-in fields, so that building (which every open
  // does) never rehashes.
  std::array<std::size_t, catalog_count> per_catalog{};
  for (const detail::builtin_field& f : detail::builtin_fields()) ++per_catalog[static_cast<std::size_t>(f.catalog)];
  for (std::size_t k = 0; k < catalog_count; ++k) {
    lists_[k].by_key_.reserve(per_catalog[k]);
    lists_[k].by_caption_.reserve(per_catalog[k]);
  }
  by_id_.reserve(detail::builtin_fields().size());
  by_persistent_id_.reserve(detail::builtin_fields().size());
  for (const detail::builtin_field& f : detail::builtin_fields()) {
    field_spec fields;
    fields.caption = f.caption;
    fields.field_id = f.field_id;
    fields.persistent_id = f.field_id;
    fields.value_type = f.value_type;
    fields.entity = entity_of[static_cast<std::size_t>(f.catalog)];
    fields.value_class = f.value_class;
    fields.available = f.available;
    fields.key = f.key;
    fields.workbook_column = f.workbook_column;
    register_field(f.catalog, std::move(fields));
  }
}

field_entry* catalog_set::find_id(uint32_t field_id) const {
  auto it = by_id_.find(field_id);
  return it == by_id_.end() ? nullptr : it->second;
}

field_entry* catalog_set::find_persistent_id(uint32_t persistent_id) const {
  auto it = by_persistent_id_.find(persistent_id);
  return it == by_persistent_id_.end() ? nullptr : it->second;
}

void catalog_set::clear_available() {
  for (field_catalog& c : lists_) {
    for (field_entry& e : c.entries_) e.available = false;
  }
}

// ---- the process-wide catalogs ------------------------------------------------

namespace {

// Created on first use and never destroyed, so that nothing that runs at
// exit finds it gone; replaced only by `adopt_catalogs`.
catalog_set*& process_catalogs() {
  static catalog_set* all = new catalog_set;
  return all;
}

thread_local catalog_set* thread_catalogs = nullptr;

}  // namespace

catalog_set& catalogs() {
  if (thread_catalogs) return *thread_catalogs;
  return *process_catalogs();
}

thread_catalogs_scope::thread_catalogs_scope(catalog_set& set) : previous_(thread_catalogs) {
  thread_catalogs = &set;
}

thread_catalogs_scope::~thread_catalogs_scope() { thread_catalogs = previous_; }

std::unique_ptr<catalog_set> adopt_catalogs(std::unique_ptr<catalog_set> set) {
  std::unique_ptr<catalog_set> old(process_catalogs());
  process_catalogs() = set.release();
  return old;
}

void build_catalogs() { catalogs().build(); }

void reset_catalogs() { catalogs().clear(); }

}  // namespace tessel::catalog
