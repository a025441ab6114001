// Filters: named predicates over a row's field values. The program has a
// fixed set of predefined filters, built again on every accepted open before
// the layouts are read (Gantt bars name the activity filters that choose
// which activities get the bar). Users cannot define filters.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "config/field_source.h"
#include "values/s_val.h"

namespace tessel::view {

class FilterEntry;

// Operator codes of a filter entry.
namespace filter_ops {
inline constexpr int32_t equal = 3;      // equal to the first value
inline constexpr int32_t not_equal = 4;  // not equal to the first value
// Less than the first value. "Negative Float" is built on this code: an
// activity passes when its total float is below a zero duration. An empty
// value never passes (empty durations sort after every real one).
inline constexpr int32_t less_than = 7;
}  // namespace filter_ops

// Combination modes of a group.
namespace filter_modes {
inline constexpr int32_t all = 0;  // AND (any value other than 1)
inline constexpr int32_t any = 1;  // OR
}  // namespace filter_modes

// A combination of entries: true when any entry holds (OR, mode 1) or when
// every entry holds (AND, any other mode). Every entry is evaluated, in
// order; an empty OR group rejects every row, an empty AND group accepts
// every row.
class FilterGroup {
 public:
  explicit FilterGroup(int32_t mode = filter_modes::all);
  FilterGroup(const FilterGroup&) = delete;
  FilterGroup& operator=(const FilterGroup&) = delete;
  virtual ~FilterGroup();

  // Kept for the shape of the family; does nothing.
  virtual void Reserved() {}
  virtual bool Evaluate(const field_source& row) const;

  int32_t mode() const { return mode_; }
  bool is_or() const { return mode_ == filter_modes::any; }

  const std::vector<std::unique_ptr<FilterEntry>>& entries() const { return entries_; }
  // Appends an entry (owned by the group) and answers it.
  FilterEntry& add(std::unique_ptr<FilterEntry> entry);

 private:
  int32_t mode_;
  std::vector<std::unique_ptr<FilterEntry>> entries_;
};

// One test: the row's value of a field compared with the first of the
// entry's values. An entry without values, or with an operator code it does
// not know, holds for every row. Its own entry list stays empty.
class FilterEntry : public FilterGroup {
 public:
  FilterEntry(uint32_t field_id, int32_t op);
  ~FilterEntry() override;

  bool Evaluate(const field_source& row) const override;

  uint32_t field_id() const { return field_id_; }
  int32_t op() const { return op_; }
  const std::vector<val_ptr>& values() const { return values_; }
  // Appends a comparison value (a clone of `v`).
  void add_value(const s_val& v);

 private:
  uint32_t field_id_;
  int32_t op_;
  std::vector<val_ptr> values_;
};

// A predefined filter: its name and its group.
struct PredefinedFilter {
  std::u16string name;
  std::unique_ptr<FilterGroup> group;

  bool Evaluate(const field_source& row) const { return group && group->Evaluate(row); }
};

// The three lists of predefined filters, in creation order. Filters are held
// through pointers so that layout bars can refer to them for as long as the
// lists live.
struct filter_lists {
  std::vector<std::unique_ptr<PredefinedFilter>> activity;  // the 13 activity filters
  std::vector<std::unique_ptr<PredefinedFilter>> wbs;       // over the WBS catalog's node type
  std::vector<std::unique_ptr<PredefinedFilter>> project;   // over the project catalog's node type

  void clear();
};

// Appends the 17 predefined filters to the three lists, in order. Field ids
// come from the field catalogs, which must be built first; an entry whose
// field the catalogs do not know is left out of its group.
void BuildPredefinedFilters(filter_lists& lists);

// The first activity filter with exactly this name, or nullptr. The name
// "In Progress" finds the status filter, never the later longest-path one.
const PredefinedFilter* FindActivityFilter(const filter_lists& lists, std::u16string_view name);

}  // namespace tessel::view
