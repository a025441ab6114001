#include "rows/tree_build.h"

#include <algorithm>
#include <functional>
#include <unordered_map>

#include "catalog/field_catalog.h"
#include "document/field_lookup.h"
#include "rows/group_item.h"
#include "rows/group_key.h"
#include "values/enums.h"
#include "values/s_date.h"
#include "values/s_quantity.h"
#include "values/s_scalars.h"

namespace tessel::view {

using catalog::catalog_kind;
using document::Document;

namespace {

// ---------------------------------------------------------------- hierarchies

// Each element's parent, with every parent cycle cut where it closes (the
// element whose parent would lead back into its own chain is made a top
// element), so that walking up always ends.
template <class T, class List>
std::unordered_map<const T*, const T*> acyclic_parents(const List& list) {
  std::unordered_map<const T*, const T*> parent;
  std::unordered_map<const T*, uint8_t> state;  // 1 on the current chain, 2 done
  parent.reserve(list.size());
  state.reserve(list.size());
  std::vector<const T*> chain;
  for (const T& e : list) {
    if (state[&e] == 2) continue;
    chain.clear();
    const T* cur = &e;
    while (cur && state[cur] == 0) {
      state[cur] = 1;
      chain.push_back(cur);
      parent[cur] = cur->parent;
      cur = cur->parent;
    }
    if (cur && state[cur] == 1) parent[chain.back()] = nullptr;
    for (const T* c : chain) state[c] = 2;
  }
  return parent;
}

// Sets every row's depth from its place in the tree.
void set_depths(Row& root) {
  std::vector<Row*> stack{&root};
  while (!stack.empty()) {
    Row* r = stack.back();
    stack.pop_back();
    for (std::unique_ptr<Row>& c : r->children()) {
      c->depth = r->depth + 1;
      if (c->has_children()) stack.push_back(c.get());
    }
  }
}

uint32_t id_of(catalog_kind kind, std::u16string_view key) {
  const catalog::field_entry* e = catalog::catalogs().find_key(kind, key);
  return e ? e->field_id : 0;
}

// ---------------------------------------------------------------- grouping

struct level_key {
  const Row* parent;  // the row under which the level's groups start
  size_t level;
  group_key key;
  friend bool operator==(const level_key& a, const level_key& b) {
    return a.parent == b.parent && a.level == b.level && a.key == b.key;
  }
};

struct level_key_hash {
  std::size_t operator()(const level_key& k) const noexcept {
    return group_key_hash{}(k.key) ^ (std::hash<const void*>{}(k.parent) * 31u) ^ (k.level * 0x9e3779b9u);
  }
};

// Places leaf rows under the group rows of the group-by levels, finding each
// group through its key.
class grouper {
 public:
  grouper(view_kind view, const Document& doc, std::shared_ptr<const tree_context> ctx,
          const std::vector<GroupBy>& levels)
      : view_(view), doc_(doc), ctx_(std::move(ctx)), levels_(levels) {
    groups_.reserve(1024);
  }

  // Groups made in advance for the first level (include-all).
  void start(Row& root) {
    if (!levels_.empty() && levels_[0].include_all) include_all(root, 0);
  }

  // The innermost group row for `leaf`, creating groups as needed.
  Row& place(Row& root, const Row& leaf) {
    Row* at = &root;
    for (size_t level = 0; level < levels_.size(); ++level) at = &group_for(*at, level, leaf);
    return *at;
  }

  // The group row of `element` of the WBS or OBS hierarchy at `level` below
  // `parent`, with the groups of its ancestors.
  template <class T>
  Row& hierarchy_group(Row& parent, size_t level, const T* element) {
    auto& parents = parents_of<T>();
    std::vector<const T*> chain;
    Row* anchor = &parent;
    for (const T* cur = element;;) {
      auto it = groups_.find(element_key(parent, level, cur));
      if (it != groups_.end()) {
        anchor = it->second;
        break;
      }
      chain.push_back(cur);
      if (!cur) break;
      auto p = parents.find(cur);
      cur = p == parents.end() ? nullptr : p->second;
      if (!cur) break;
    }
    Row* at = anchor;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
      at = &add_group(*at, level, make_hierarchy_item<T>(level, *it), element_key(parent, level, *it));
    return *at;
  }

 private:
  static level_key element_key(const Row& parent, size_t level, const void* element) {
    group_key k;
    k.kind = group_key::element;
    k.ref = element;
    return {&parent, level, k};
  }

  template <class T>
  std::unordered_map<const T*, const T*>& parents_of() {
    if constexpr (std::is_same_v<T, document::PROJWBS>) {
      if (!wbs_parents_ready_) {
        wbs_parents_ = acyclic_parents<document::PROJWBS>(doc_.projwbs);
        wbs_parents_ready_ = true;
      }
      return wbs_parents_;
    } else {
      if (!obs_parents_ready_) {
        obs_parents_ = acyclic_parents<document::OBS>(doc_.obs);
        obs_parents_ready_ = true;
      }
      return obs_parents_;
    }
  }

  catalog_kind rows_catalog() const {
    switch (view_) {
      case view_kind::wbs: return catalog_kind::wbs;
      case view_kind::project: return catalog_kind::project;
      case view_kind::resource: return catalog_kind::resource;
      default: return catalog_kind::activity;
    }
  }

  template <class T>
  std::unique_ptr<GroupItem> make_hierarchy_item(size_t level, const T* element) {
    const GroupBy* def = &levels_[level];
    if constexpr (std::is_same_v<T, document::PROJWBS>)
      return std::make_unique<WBSGroupItem>(ctx_, rows_catalog(), def, static_cast<int>(level), element);
    else
      return std::make_unique<OBSGroupItem>(ctx_, rows_catalog(), def, static_cast<int>(level), element);
  }

  std::unique_ptr<GroupItem> make_item(size_t level, const s_val& value, const Row* opener,
                                       const document::RSRC* resource) {
    const GroupBy* def = &levels_[level];
    const int lv = static_cast<int>(level);
    switch (view_) {
      case view_kind::wbs:
        return std::make_unique<WBSGroupItem>(ctx_, def, lv, value);
      case view_kind::project:
        return std::make_unique<ProjectGroupItem>(ctx_, def, lv, value);
      case view_kind::resource:
        return std::make_unique<GroupItem>(ctx_, catalog_kind::resource, def, lv, value);
      default:
        if (opener) return std::make_unique<ActivityGroupItem>(ctx_, def, lv, value, opener->activity());
        return std::make_unique<ActivityGroupItem>(ctx_, def, lv, value, resource);
    }
  }

  // Appends a new group row under `at` and records it under `key`; groups
  // of the next level that include all values are made in it at once.
  // Hierarchy groups nest below the row where their level starts but are
  // all found from that row (it is the key's parent).
  Row& add_group(Row& at, size_t level, std::unique_ptr<GroupItem> item, const level_key& key) {
    Row& row = at.add_child(std::make_unique<GroupRow>(std::move(item)));
    groups_.emplace(key, &row);
    if (level + 1 < levels_.size() && levels_[level + 1].include_all) include_all(row, level + 1);
    return row;
  }

  Row& group_for(Row& parent, size_t level, const Row& leaf) {
    const GroupBy& def = levels_[level];
    if (def.wbs_hierarchy) {
      const document::PROJWBS* w = nullptr;
      if (const document::TASK* t = leaf.activity()) w = t->projwbs;
      return hierarchy_group(parent, level, w);
    }
    const s_val& v = leaf.field_value(def.field_id);
    level_key k{&parent, level, lookup_key(def, v)};
    if (auto it = groups_.find(k); it != groups_.end()) return *it->second;
    std::unique_ptr<GroupItem> item = make_item(level, v, &leaf, nullptr);
    // The stored key views the group's own copy of the value.
    level_key own{&parent, level, item->key()};
    return add_group(parent, level, std::move(item), own);
  }

  // Records without a date (or duration) for an interval level all gather in
  // one group with an empty title, rather than each opening a group of its
  // own; it sorts after the dated groups by its blank dates.
  static group_key lookup_key(const GroupBy& def, const s_val& v) {
    if (def.date_interval >= 1 && def.date_interval <= 6) {
      const interval_bounds b = interval_of(v, def.date_interval, def.interval_size);
      group_key k;
      k.kind = b.found ? group_key::interval : group_key::no_value;
      k.num = b.found ? b.lower : 0;
      return k;
    }
    return value_key(v);
  }

  // A group made in advance for `value`, unless one exists.
  void ensure_group(Row& parent, size_t level, const s_val& value, const document::RSRC* resource) {
    if (groups_.count({&parent, level, value_key(value)})) return;
    std::unique_ptr<GroupItem> item = make_item(level, value, nullptr, resource);
    level_key own{&parent, level, item->key()};
    add_group(parent, level, std::move(item), own);
  }

  template <class E>
  void ensure_enum_groups(Row& parent, size_t level) {
    for (const enum_entry& e : E::entries()) ensure_group(parent, level, E(e.code), nullptr);
  }

  // Include-all groups: one group for every element of the list the
  // grouping field takes its values from, so that groups without records
  // show too. Only the Activity view makes them. Lists: the WBS elements
  // (WBS hierarchy, "WBS", "WBS Path", "WBS Name"), the resources (primary
  // resource), the calendars, the projects (project ID), the values of an
  // activity code type, and the codes of an enumerated field. A date
  // interval or any other field has no list: its groups come from records.
  void include_all(Row& parent, size_t level) {
    if (view_ != view_kind::activity) return;
    const GroupBy& def = levels_[level];
    if (def.wbs_hierarchy) {
      for (const document::PROJWBS& w : doc_.projwbs) hierarchy_group(parent, level, &w);
      return;
    }
    if (def.date_interval != 0) return;
    const catalog::field_entry* e = catalog::find_field(def.field_id);
    if (!e || e->catalog != catalog_kind::activity) return;
    if (def.field_id > catalog::activity_code_base) {
      const uint32_t type = def.field_id - catalog::activity_code_base;
      for (const document::ACTVCODE& c : doc_.actvcode)
        if (c.actv_code_type_id.value == type) ensure_group(parent, level, c.short_name, nullptr);
      return;
    }
    const std::u16string& key = e->key;
    if (key == u"rsrc_id") {
      for (const document::RSRC& r : doc_.rsrc)
        ensure_group(parent, level, s_string(r.rsrc_short_name.value + u"." + r.rsrc_name.value), &r);
    } else if (key == u"clndr_id") {
      for (const document::CALENDAR& c : doc_.calendar) ensure_group(parent, level, c.clndr_name, nullptr);
    } else if (key == u"project\\7Cproj_short_name") {
      for (const document::PROJECT& p : doc_.project) ensure_group(parent, level, p.proj_short_name, nullptr);
    } else if (key == u"wbs_id" || key == u"wbs_path") {
      for (const document::PROJWBS& w : doc_.projwbs) ensure_group(parent, level, w.wbs_path, nullptr);
    } else if (key == u"wbs_name") {
      for (const document::PROJWBS& w : doc_.projwbs) ensure_group(parent, level, w.wbs_name, nullptr);
    } else {
      namespace vt = catalog::value_types;
      switch (e->value_type) {
        case vt::activity_status: ensure_enum_groups<s_activity_status>(parent, level); break;
        case vt::activity_type: ensure_enum_groups<s_activity_type>(parent, level); break;
        case vt::duration_type: ensure_enum_groups<s_duration_type>(parent, level); break;
        case vt::constraint_type: ensure_enum_groups<s_constraint_type>(parent, level); break;
        case vt::leveling_priority: ensure_enum_groups<s_leveling_priority>(parent, level); break;
        case vt::percent_complete_type: ensure_enum_groups<s_percent_comlete_type>(parent, level); break;
        case vt::project_status: ensure_enum_groups<s_project_status>(parent, level); break;
        case vt::flag:
          ensure_group(parent, level, s_bool(false), nullptr);
          ensure_group(parent, level, s_bool(true), nullptr);
          break;
        default:
          break;
      }
    }
  }

  view_kind view_;
  const Document& doc_;
  std::shared_ptr<const tree_context> ctx_;
  const std::vector<GroupBy>& levels_;
  std::unordered_map<level_key, Row*, level_key_hash> groups_;
  std::unordered_map<const document::PROJWBS*, const document::PROJWBS*> wbs_parents_;
  std::unordered_map<const document::OBS*, const document::OBS*> obs_parents_;
  bool wbs_parents_ready_ = false;
  bool obs_parents_ready_ = false;
};

// Leaf rows grouped level by level.
template <class Leaf, class List>
void group_leaves(view_kind view, const Document& doc, RootRow& root, const List& list,
                  const std::vector<GroupBy>& levels, std::shared_ptr<const tree_context> ctx) {
  const document::field_lookup& fields = doc.fields();
  if (levels.empty()) {
    root.children().reserve(list.size());
    for (const auto& r : list) root.add_child(std::make_unique<Leaf>(r, fields));
    return;
  }
  grouper g(view, doc, std::move(ctx), levels);
  g.start(root);
  for (const auto& r : list) {
    auto leaf = std::make_unique<Leaf>(r, fields);
    Row& at = g.place(root, *leaf);
    at.add_child(std::move(leaf));
  }
}

// Leaf rows under the responsible-manager hierarchy, in record order.
template <class Leaf, class List>
void group_by_obs(view_kind view, const Document& doc, RootRow& root, const List& list,
                  const std::vector<GroupBy>& levels, std::shared_ptr<const tree_context> ctx) {
  const document::field_lookup& fields = doc.fields();
  grouper g(view, doc, std::move(ctx), levels);
  for (const auto& r : list) {
    auto leaf = std::make_unique<Leaf>(r, fields);
    Row& at = g.hierarchy_group(root, 0, obs_of(*leaf));
    at.add_child(std::move(leaf));
  }
}

// ---------------------------------------------------------------- sorting

// A row's value for one sort key, read once per sort. Dates, texts and
// durations keep what their comparisons read, so that most comparisons
// need no virtual call; they order exactly as the value types do.
struct sort_cell {
  enum kind_code : uint8_t { shared_empty, dated, text, hours, generic };
  uint8_t kind = generic;
  uint8_t blank = 0;
  int64_t time = 0;
  double num = 0.0;
  std::u16string_view str;
  const s_val* v = nullptr;
};

sort_cell make_cell(const s_val& v) {
  sort_cell c;
  c.v = &v;
  if (&v == &shared_empty_value()) {
    c.kind = sort_cell::shared_empty;
    return c;
  }
  switch (v.type()) {
    case val_type::date: {
      const auto& d = static_cast<const s_date&>(v);
      c.kind = sort_cell::dated;
      c.blank = d.empty != 0;
      c.time = d.time;
      break;
    }
    case val_type::string:
      c.kind = sort_cell::text;
      c.str = static_cast<const s_string&>(v).value;
      break;
    case val_type::dur: {
      const auto& d = static_cast<const s_dur&>(v);
      c.kind = sort_cell::hours;
      c.blank = d.dur_empty != 0;
      c.num = d.hours;
      break;
    }
    default:
      c.kind = sort_cell::generic;
      break;
  }
  return c;
}

// -1 when a is less than b by its value type, 1 when greater, 0 otherwise.
int compare_values(const sort_cell& a, const sort_cell& b) {
  if (a.kind == b.kind) {
    switch (a.kind) {
      case sort_cell::dated:
        // A blank date sorts after every real one.
        if (a.blank != b.blank) return a.blank ? 1 : -1;
        return a.time < b.time ? -1 : (a.time > b.time ? 1 : 0);
      case sort_cell::hours:
        if (a.blank != b.blank) return a.blank ? 1 : -1;
        return a.num < b.num ? -1 : (a.num > b.num ? 1 : 0);
      case sort_cell::text: {
        const int c = a.str.compare(b.str);
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
      }
      default:
        break;
    }
  }
  if (a.v->less(*b.v)) return -1;
  if (a.v->greater(*b.v)) return 1;
  return 0;
}

enum class row_class : uint8_t { activity, group, other };

row_class class_of(const Row& r) {
  if (r.is_activity_row()) return row_class::activity;
  if (r.is_group_row()) return row_class::group;
  return row_class::other;
}

// Which records break ties, and by which id: activities, WBS elements,
// projects and resources by their own id; no other pair. Resources are
// compared on a key by their value for it like every other record (the
// column the user sorts by decides), and only ties fall back on the id.
struct tie_id {
  uint8_t kind = 0;
  uint32_t id = 0;
};

tie_id tie_of(const Row& r) {
  if (const document::TASK* t = r.activity()) return {1, t->task_id.value};
  if (const document::PROJWBS* w = r.wbs(); w && r.is_wbs_row()) return {2, w->wbs_id.value};
  if (const document::PROJECT* p = r.project(); p && r.is_project_row()) return {3, p->proj_id.value};
  if (const document::RSRC* s = r.resource()) return {4, s->rsrc_id.value};
  return {};
}

// -1 when a goes first on this key, 1 when b does, 0 when they are equal.
int order_on_key(row_class ca, row_class cb, const sort_cell& a, const sort_cell& b, bool descending) {
  // An activity goes before a group whatever the direction.
  if (ca == row_class::activity && cb == row_class::group) return -1;
  if (ca == row_class::group && cb == row_class::activity) return 1;
  const bool ea = a.kind == sort_cell::shared_empty;
  const bool eb = b.kind == sort_cell::shared_empty;
  // A row without a value goes last ascending, first descending.
  if (ea && eb) return 0;
  if (ea) return descending ? -1 : 1;
  if (eb) return descending ? 1 : -1;
  const int c = compare_values(a, b);
  return descending ? -c : c;
}

bool tie_before(const tie_id& a, const tie_id& b, bool first_descending) {
  if (a.kind == 0 || a.kind != b.kind) return false;
  return first_descending ? a.id > b.id : a.id < b.id;
}

void sort_children(Row& parent, const std::vector<SortBy>& keys) {
  row_list& list = parent.children();
  const size_t n = list.size();
  if (n < 2) return;
  const size_t k = keys.size();
  std::vector<sort_cell> cells(n * k);
  std::vector<row_class> classes(n);
  std::vector<tie_id> ties(n);
  for (size_t i = 0; i < n; ++i) {
    const Row& r = *list[i];
    classes[i] = class_of(r);
    ties[i] = tie_of(r);
    for (size_t j = 0; j < k; ++j) cells[i * k + j] = make_cell(r.field_value(keys[j].field_id));
  }
  std::vector<uint32_t> order(n);
  for (size_t i = 0; i < n; ++i) order[i] = static_cast<uint32_t>(i);
  const bool first_descending = keys.front().descending;
  std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    for (size_t j = 0; j < k; ++j) {
      const int c = order_on_key(classes[a], classes[b], cells[a * k + j], cells[b * k + j], keys[j].descending);
      if (c != 0) return c < 0;
    }
    return tie_before(ties[a], ties[b], first_descending);
  });
  row_list sorted;
  sorted.reserve(n);
  for (uint32_t i : order) sorted.push_back(std::move(list[i]));
  list = std::move(sorted);
}

}  // namespace

// ---------------------------------------------------------------- views

std::unique_ptr<RootRow> build_activity_tree(const Document& doc, const GroupSortSettings& settings) {
  auto root = std::make_unique<RootRow>();
  group_leaves<ActivityRow>(view_kind::activity, doc, *root, doc.task, settings.group_bys, make_tree_context(doc));
  sort_tree(*root, settings.sort_bys);
  return root;
}

namespace {

bool copy_kept(Row& to, const Row& from, const document::field_lookup& fields,
               const std::function<bool(const Row&)>& keep) {
  for (const std::unique_ptr<Row>& c : from.children()) {
    if (const GroupItem* item = c->group_item()) {
      auto group = std::make_unique<GroupRow>(item->fresh_copy());
      if (copy_kept(*group, *c, fields, keep)) to.add_child(std::move(group));
    } else if (const document::TASK* t = c->activity()) {
      if (keep(*c)) to.add_child(std::make_unique<ActivityRow>(*t, fields));
    }
  }
  return to.has_children();
}

}  // namespace

std::unique_ptr<RootRow> copy_activity_tree(const Row& whole, const Document& doc,
                                            const std::function<bool(const Row&)>& keep) {
  auto root = std::make_unique<RootRow>();
  copy_kept(*root, whole, doc.fields(), keep);
  return root;
}

bool keep_rows(Row& root, const std::function<bool(const Row&)>& keep) {
  // Post-order: a row stays when it is a record row `keep` accepts or when
  // any of its children stays.
  row_list& kids = root.children();
  std::size_t kept = 0;
  for (std::size_t i = 0; i < kids.size(); ++i) {
    Row& c = *kids[i];
    const bool below = keep_rows(c, keep);
    const bool stays = below || (!c.is_group_row() && !c.is_root_row() && keep(c));
    if (stays) {
      if (kept != i) kids[kept] = std::move(kids[i]);
      ++kept;
    }
  }
  kids.resize(kept);
  return kept != 0;
}

std::unique_ptr<RootRow> build_wbs_tree(const Document& doc, const GroupSortSettings& settings) {
  auto root = std::make_unique<RootRow>();
  const std::vector<GroupBy>& levels = settings.group_bys;
  const GroupBy* first = levels.empty() ? nullptr : &levels.front();
  if (first && (first->wbs_hierarchy || first->field_id == id_of(catalog_kind::wbs, u"wbs_concat_name"))) {
    // Each element under its parent element, in file order; top elements
    // (and an element whose parents lead round in a cycle) under the root.
    const document::field_lookup& fields = doc.fields();
    const auto parents = acyclic_parents<document::PROJWBS>(doc.projwbs);
    std::vector<std::unique_ptr<WBSRow>> rows;
    std::unordered_map<const document::PROJWBS*, Row*> row_of;
    rows.reserve(doc.projwbs.size());
    row_of.reserve(doc.projwbs.size());
    for (const document::PROJWBS& w : doc.projwbs) {
      rows.push_back(std::make_unique<WBSRow>(w, fields));
      row_of[&w] = rows.back().get();
    }
    size_t i = 0;
    for (const document::PROJWBS& w : doc.projwbs) {
      auto p = parents.find(&w);
      Row* at = p != parents.end() && p->second ? row_of[p->second] : root.get();
      at->add_child(std::move(rows[i++]));
    }
    set_depths(*root);
    return root;
  }
  if (first && first->field_id == id_of(catalog_kind::wbs, u"obs_id")) {
    group_by_obs<WBSRow>(view_kind::wbs, doc, *root, doc.projwbs, levels, make_tree_context(doc));
    return root;
  }
  group_leaves<WBSRow>(view_kind::wbs, doc, *root, doc.projwbs, levels, make_tree_context(doc));
  sort_tree(*root, settings.sort_bys);
  return root;
}

std::unique_ptr<RootRow> build_project_tree(const Document& doc, const GroupSortSettings& settings) {
  auto root = std::make_unique<RootRow>();
  const std::vector<GroupBy>& levels = settings.group_bys;
  if (!levels.empty() && levels.front().field_id == id_of(catalog_kind::project, u"obs_id"))
    group_by_obs<ProjectRow>(view_kind::project, doc, *root, doc.project, levels, make_tree_context(doc));
  else
    group_leaves<ProjectRow>(view_kind::project, doc, *root, doc.project, levels, make_tree_context(doc));
  sort_tree(*root, settings.sort_bys);
  return root;
}

std::unique_ptr<RootRow> build_resource_tree(const Document& doc, const GroupSortSettings& settings) {
  // Resource layouts carry no grouping: a flat list.
  auto root = std::make_unique<RootRow>();
  const document::field_lookup& fields = doc.fields();
  root->children().reserve(doc.rsrc.size());
  for (const document::RSRC& r : doc.rsrc) root->add_child(std::make_unique<ResourceRow>(r, fields));
  sort_tree(*root, settings.sort_bys);
  return root;
}

std::unique_ptr<RootRow> build_view_tree(view_kind view, const Document& doc, const GroupSortSettings& settings) {
  switch (view) {
    case view_kind::activity: return build_activity_tree(doc, settings);
    case view_kind::wbs: return build_wbs_tree(doc, settings);
    case view_kind::project: return build_project_tree(doc, settings);
    case view_kind::resource: return build_resource_tree(doc, settings);
  }
  return std::make_unique<RootRow>();
}

std::unique_ptr<RootRow> build_view_tree(const Document& doc, const Layout& layout) {
  return build_view_tree(layout.view(), doc, layout.group_sort());
}

void sort_tree(Row& root, const std::vector<SortBy>& keys) {
  if (keys.empty()) return;
  std::vector<Row*> stack{&root};
  while (!stack.empty()) {
    Row* r = stack.back();
    stack.pop_back();
    sort_children(*r, keys);
    for (std::unique_ptr<Row>& c : r->children())
      if (c->has_children()) stack.push_back(c.get());
  }
}

bool row_before(const Row& a, const Row& b, const std::vector<SortBy>& keys) {
  if (keys.empty()) return false;
  const row_class ca = class_of(a), cb = class_of(b);
  for (const SortBy& k : keys) {
    const int c = order_on_key(ca, cb, make_cell(a.field_value(k.field_id)), make_cell(b.field_value(k.field_id)),
                               k.descending);
    if (c != 0) return c < 0;
  }
  return tie_before(tie_of(a), tie_of(b), keys.front().descending);
}

unsigned visible_rows(const Row& root, std::vector<Row*>& out) {
  out.clear();
  unsigned deepest = 0;
  if (!root.expanded) return 0;
  struct frame {
    const Row* row;
    size_t next;
  };
  std::vector<frame> stack{{&root, 0}};
  while (!stack.empty()) {
    frame& f = stack.back();
    if (f.next == f.row->children().size()) {
      stack.pop_back();
      continue;
    }
    Row* c = f.row->children()[f.next++].get();
    out.push_back(c);
    if (c->depth > 0 && static_cast<unsigned>(c->depth) > deepest) deepest = static_cast<unsigned>(c->depth);
    if (c->expanded && c->has_children()) stack.push_back({c, 0});
  }
  return deepest;
}

void expand_all(Row& root) {
  std::vector<Row*> stack{&root};
  while (!stack.empty()) {
    Row* r = stack.back();
    stack.pop_back();
    r->expanded = true;
    for (std::unique_ptr<Row>& c : r->children()) stack.push_back(c.get());
  }
}

}  // namespace tessel::view
