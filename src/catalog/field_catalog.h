// The field catalogs: everything a view can show as a column, detail field,
// group key, sort key or filter field is an entry of one of six catalogs
// (activity, project, WBS, resource, predecessor, successor). An entry gives
// the field its id, key, caption, value type and whether the open document
// supplies it.
//
// The six catalogs are process-wide, ordered lists, rebuilt with the built-in
// fields on every accepted open (`build_catalogs`); loading a document then
// registers its user-defined fields and code types. Entries never move once
// registered: layouts, columns and filters hold pointers to them until the
// catalogs are rebuilt.
//
// Every lookup answers what a search in registration order would (the first
// match wins), but through hash indexes kept beside the lists.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tessel::catalog {

// The six catalogs, in search order.
enum class catalog_kind : uint8_t { activity, project, wbs, resource, predecessor, successor };
inline constexpr std::size_t catalog_count = 6;

// "activity", "project", "wbs", "resource", "predecessor", "successor".
std::string_view catalog_name(catalog_kind kind);

// Value type codes of catalog entries: which value object a record answers.
namespace value_types {
inline constexpr uint32_t flag = 0;
inline constexpr uint32_t integer = 1;
inline constexpr uint32_t number = 2;
inline constexpr uint32_t text = 3;
inline constexpr uint32_t cost = 4;
inline constexpr uint32_t units = 5;
inline constexpr uint32_t date = 6;
inline constexpr uint32_t duration = 7;
inline constexpr uint32_t percent = 8;
inline constexpr uint32_t activity_status = 9;
inline constexpr uint32_t project_status = 10;
inline constexpr uint32_t percent_complete_type = 11;
inline constexpr uint32_t activity_type = 12;
inline constexpr uint32_t duration_type = 13;
inline constexpr uint32_t constraint_type = 15;
inline constexpr uint32_t leveling_priority = 16;
inline constexpr uint32_t rate_type = 18;
inline constexpr uint32_t resource_type = 22;
inline constexpr uint32_t relationship_type = 23;
inline constexpr uint32_t static_user_field = 24;
}  // namespace value_types

// Entity codes: the kind of record a field belongs to.
namespace entities {
inline constexpr uint32_t activity = 0;
inline constexpr uint32_t project = 1;
inline constexpr uint32_t wbs = 2;
inline constexpr uint32_t resource = 3;
inline constexpr uint32_t relationship = 4;
}  // namespace entities

// Value classes, used by group summaries to decide how a column sums up.
namespace value_classes {
inline constexpr uint32_t plain = 0;
inline constexpr uint32_t start_date = 1;
inline constexpr uint32_t finish_date = 2;
inline constexpr uint32_t summable = 3;  // quantities and counts
inline constexpr uint32_t duration = 4;
}  // namespace value_classes

// Id ranges of fields added for a document.
inline constexpr uint32_t user_field_base = 100000;        // + user field type id
inline constexpr uint32_t activity_code_base = 500000;     // + activity code type id
inline constexpr uint32_t project_code_base = 600000;      // + project code type id
inline constexpr uint32_t resource_code_base = 700000;     // + resource code type id
// Fields whose values come after the open (a comparison's differences).
inline constexpr uint32_t late_field_base = 900000;

// One catalog entry. The members up to `workbook_column` are the entry's
// data; `catalog` records which list it was registered in.
struct field_entry {
  std::u16string caption;      // column header, detail label, column chooser text
  uint32_t field_id = 0;       // unique over the six catalogs
  uint32_t persistent_id = 0;  // equals field_id for the built-in fields
  uint32_t value_type = value_types::text;
  uint32_t entity = entities::activity;
  uint32_t value_class = value_classes::plain;
  bool available = false;       // the open document supplies the field
  std::u16string key;           // name in layout and column files
  std::u16string workbook_column;  // spreadsheet header that supplies it; "" for none
  catalog_kind catalog = catalog_kind::activity;
};

// Everything `register_field` needs, by name.
struct field_spec {
  std::u16string caption;
  uint32_t field_id = 0;
  uint32_t persistent_id = 0;
  uint32_t value_type = value_types::text;
  uint32_t entity = entities::activity;
  uint32_t value_class = value_classes::plain;
  bool available = false;
  std::u16string key;
  std::u16string workbook_column;
};

namespace detail {
struct u16_hash {
  using is_transparent = void;
  std::size_t operator()(std::u16string_view s) const noexcept {
    return std::hash<std::u16string_view>{}(s);
  }
};
using u16_index = std::unordered_map<std::u16string, std::vector<field_entry*>, u16_hash,
                                     std::equal_to<>>;
}  // namespace detail

// One of the six lists. Entries keep their addresses for the catalog's life.
class field_catalog {
 public:
  field_catalog() = default;
  field_catalog(const field_catalog&) = delete;
  field_catalog& operator=(const field_catalog&) = delete;

  // The entries in registration order.
  const std::deque<field_entry>& entries() const { return entries_; }
  std::size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }

  // The first entry in registration order with this key, or with this key
  // among the available entries only; nullptr when none.
  field_entry* find_key(std::u16string_view key, bool available_only = false) const;
  // The first entry in registration order with this caption; nullptr when none.
  field_entry* find_caption(std::u16string_view caption) const;

 private:
  friend class catalog_set;
  field_entry& append(field_entry entry);
  void clear();

  std::deque<field_entry> entries_;
  // Per key and per caption, every entry that carries it, in registration
  // order (duplicates are rare, so these lists hold one entry almost always).
  detail::u16_index by_key_;
  std::unordered_map<std::u16string, field_entry*, detail::u16_hash, std::equal_to<>> by_caption_;
};

// The six catalogs together, with the indexes that search all of them.
class catalog_set {
 public:
  catalog_set() = default;
  catalog_set(const catalog_set&) = delete;
  catalog_set& operator=(const catalog_set&) = delete;

  field_catalog& operator[](catalog_kind kind) { return lists_[static_cast<std::size_t>(kind)]; }
  const field_catalog& operator[](catalog_kind kind) const {
    return lists_[static_cast<std::size_t>(kind)];
  }
  // Total number of entries over the six catalogs.
  std::size_t size() const;

  // Empties every catalog. Entries handed out before become invalid.
  void clear();
  // Empties every catalog and registers the 593 built-in fields.
  void build();

  // Appends an entry to one catalog and answers it. A duplicate id, key or
  // caption is not refused: the earlier entry keeps winning the lookups.
  field_entry& register_field(catalog_kind kind, field_spec fields);

  // The entry with this field id, searching the activity, project, WBS,
  // resource, predecessor and successor catalogs in that order.
  field_entry* find_id(uint32_t field_id) const;
  // The entry with this persistent id, in the same catalog order.
  field_entry* find_persistent_id(uint32_t persistent_id) const;
  // The first entry of one catalog with this key (optionally available only).
  field_entry* find_key(catalog_kind kind, std::u16string_view key,
                        bool available_only = false) const {
    return (*this)[kind].find_key(key, available_only);
  }
  // The first activity entry with this caption (how layouts name some fields).
  field_entry* find_activity_caption(std::u16string_view caption) const {
    return (*this)[catalog_kind::activity].find_caption(caption);
  }

  // Sets or clears an entry's available flag.
  static void mark_available(field_entry& entry, bool available = true) {
    entry.available = available;
  }
  // Clears the available flag of every entry (a workbook import sets it again
  // for each field whose column it finds).
  void clear_available();

 private:
  // Keeps, per id, the entry that a search in catalog order meets first.
  static void index_first(std::unordered_map<uint32_t, field_entry*>& index, uint32_t id,
                          field_entry* entry);

  std::array<field_catalog, catalog_count> lists_;
  std::unordered_map<uint32_t, field_entry*> by_id_;
  std::unordered_map<uint32_t, field_entry*> by_persistent_id_;
};

// The process-wide catalogs. Empty until the first `build_catalogs`.
catalog_set& catalogs();

// Empties the six catalogs and registers the built-in fields; run on every
// accepted open, before filters and layouts are built.
void build_catalogs();
// Empties the six catalogs (the state before any file was opened); for tests.
void reset_catalogs();

// Opening a schedule off the user-interface thread. While an object of this
// class lives, `catalogs()` on the thread that made it answers `set` instead
// of the process-wide catalogs, so a schedule can be read (and its layouts
// built) while the window keeps painting the one it has. Threads started
// from that thread see the process-wide catalogs: reading code that runs on
// helper threads must not look fields up.
class thread_catalogs_scope {
 public:
  explicit thread_catalogs_scope(catalog_set& set);
  ~thread_catalogs_scope();
  thread_catalogs_scope(const thread_catalogs_scope&) = delete;
  thread_catalogs_scope& operator=(const thread_catalogs_scope&) = delete;

 private:
  catalog_set* previous_;
};

// Makes `set` the process-wide catalogs and answers the ones it replaces.
// Whatever still points into the old set (layouts, filters of the schedule
// that was shown) must be destroyed before the answer is.
std::unique_ptr<catalog_set> adopt_catalogs(std::unique_ptr<catalog_set> set);

// Shorthands on the process-wide catalogs.
inline field_entry* find_field(uint32_t field_id) { return catalogs().find_id(field_id); }
inline field_entry* find_field(catalog_kind kind, std::u16string_view key,
                               bool available_only = false) {
  return catalogs().find_key(kind, key, available_only);
}

}  // namespace tessel::catalog
