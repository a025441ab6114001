// Layouts: named, read-only descriptions of how a view presents its records
// (table columns and widths, grouping, sorting, group colours, Gantt bars and
// the timescale). They are read from the layout files shipped beside the
// program on every accepted open (config/layout_reader.h); only the user's
// column changes are remembered, in the column files (config/column_files.h).
//
// Fields are named by their catalog field id throughout. Colours are 32-bit
// alpha-red-green-blue values (opaque black is 0xFF000000).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "catalog/field_catalog.h"
#include "config/field_source.h"

namespace tessel::view {

struct PredefinedFilter;

// The four views, in the order in which their layouts are loaded.
enum class view_kind : uint8_t { activity, wbs, project, resource };
inline constexpr std::size_t view_count = 4;

// "VP_ACT", "VP_WBS", "VP_PROJ", "VP_RES".
std::string_view view_key(view_kind view);
// The view for a key; false when the text is none of the four.
bool view_from_key(std::u16string_view key, view_kind& view);
// The field catalog whose fields a view's table columns name.
catalog::catalog_kind catalog_of(view_kind view);

// Colours used as defaults.
inline constexpr uint32_t opaque_black = 0xFF000000u;
inline constexpr uint32_t opaque_red = 0xFFFF0000u;

// One table column.
struct Column {
  uint32_t field_id = 0;
  float width = 0.0f;      // unscaled pixels
  std::u16string title;    // left empty by the reader: the caption is shown
};

// A column as a column file names it: the field's key and its width. Kept
// for the columns the open document cannot show, so that writing the file
// back does not lose them.
struct RememberedColumn {
  std::u16string key;
  float width = 0.0f;
};

// Interval of a date grouping.
namespace date_intervals {
inline constexpr int32_t none = 0;  // the date itself
inline constexpr int32_t duration = 1;  // not produced by layouts
inline constexpr int32_t day = 2;
inline constexpr int32_t week = 3;
inline constexpr int32_t month = 4;
inline constexpr int32_t quarter = 5;
inline constexpr int32_t year = 6;
}  // namespace date_intervals

struct GroupBy {
  uint32_t field_id = 0;
  bool include_all = false;
  int32_t date_interval = date_intervals::none;
  int32_t interval_size = 0;  // left 0 by the reader
  // Grouped by the WBS hierarchy (the file asked for the WBS join rather than
  // a field); `field_id` is then the view's WBS field (activity "WBS",
  // WBS "WBS Code").
  bool wbs_hierarchy = false;
};

struct SortBy {
  uint32_t field_id = 0;
  bool descending = false;
};

// Colours of one group level.
struct Level {
  uint32_t band_color = 0;
  uint32_t text_color = opaque_black;
};

struct GroupSortSettings {
  std::vector<GroupBy> group_bys;  // outermost first
  std::vector<SortBy> sort_bys;    // most significant first
  std::vector<Level> levels;       // in file order
};

// The style of one part of a Gantt bar (body, start mark, end mark).
struct BarPart {
  bool set = false;  // false: the file gave neither shape nor colour
  int32_t shape = 0;
  uint32_t color = 0;
  uint32_t border_color = opaque_black;
};

// Which activities get a bar: references to predefined activity filters
// (owned by the view configuration), combined with OR or AND.
struct BarFilterList {
  bool is_or = false;
  std::vector<const PredefinedFilter*> filters;

  // Whether a row gets the bar: any filter accepts it (OR) or every filter
  // does (AND). Every filter is evaluated; an empty OR list accepts no row,
  // an empty AND list accepts every row (bars meant for all rows use one).
  bool accepts(const field_source& row) const;
};

struct BarLabel {
  uint32_t field_id = 0;
  bool left = false;  // at the left of the bar, else at the right
};

struct GanttBar {
  std::u16string name;
  uint32_t start_field = 0;
  uint32_t end_field = 0;
  bool hide = false;
  bool summary = false;
  bool has_filters = false;  // the file gave a filter list (possibly empty)
  BarFilterList filters;
  BarPart mid;    // the bar's body
  BarPart start;  // its start mark
  BarPart end;    // its end mark
  std::vector<BarLabel> labels;
};

struct LineStyle {
  uint32_t color = opaque_red;
  float width = 1.0f;
};

struct GanttSettings {
  std::vector<GanttBar> bars;
  LineStyle default_line;
};

// Table columns, grouping and sorting, Gantt bars: what every layout has.
struct ColumnSet {
  std::vector<Column> columns;
  GroupSortSettings group_sort;
  GanttSettings gantt;
};

// The timescale a Gantt chart starts with.
struct DateSettings {
  int32_t timescale = 4;  // timescale code
  float zoom = 50.0f;     // width of one lower-tier cell in unscaled pixels
};

// A column of one of the activity detail tables.
struct ListColumn {
  uint32_t field_id = 0;
  float width = 0.0f;
};

// The three detail tables of an activity layout.
enum class detail_list : uint8_t { assignments, predecessors, successors };

class Layout {
 public:
  Layout(const Layout&) = delete;
  Layout& operator=(const Layout&) = delete;
  virtual ~Layout() = default;

  virtual view_kind view() const = 0;
  catalog::catalog_kind catalog() const { return catalog_of(view()); }

  const std::u16string& name() const { return name_; }
  void set_name(std::u16string name) { name_ = std::move(name); }

  ColumnSet& column_set() { return set_; }
  const ColumnSet& column_set() const { return set_; }
  GroupSortSettings& group_sort() { return set_.group_sort; }
  const GroupSortSettings& group_sort() const { return set_.group_sort; }
  GanttSettings& gantt() { return set_.gantt; }
  const GanttSettings& gantt() const { return set_.gantt; }

  // Table columns.
  std::size_t column_count() const { return set_.columns.size(); }
  // The column at `index`, or nullptr outside the list.
  Column* column_at(std::size_t index);
  const Column* column_at(std::size_t index) const;
  // The index of the first column showing `field_id`, or -1.
  int find_column(uint32_t field_id) const;
  // Appends a column.
  void add_column(uint32_t field_id, float width);
  std::vector<Column>& columns() { return set_.columns; }
  const std::vector<Column>& columns() const { return set_.columns; }
  // Moves the column at `from` so that it stands before the column that was
  // at `to` (counted before the move; `to` equal to the count moves it to the
  // end). Does nothing when `to` is `from` or `from + 1` (it would not move),
  // when `from` is no column or when `to` is beyond the count.
  void move_column(std::size_t from, std::size_t to);
  // Removes the column at `index`; nothing when there is none.
  void remove_column(std::size_t index);

  // The columns as last remembered (the column file read, or else the
  // layout's own columns before any was hidden), those the open document
  // lacks included; null while nothing was remembered.
  // The predecessor and successor tables (`which`) keep theirs alike.
  const std::vector<RememberedColumn>* remembered_columns(std::size_t which = 0) const {
    return which < remembered_.size() && remembered_[which] ? &*remembered_[which] : nullptr;
  }
  void set_remembered_columns(std::vector<RememberedColumn> list, std::size_t which = 0) {
    if (which < remembered_.size()) remembered_[which] = std::move(list);
  }

  // The Gantt timescale settings; nullptr for layouts without a Gantt chart
  // (resources).
  virtual DateSettings* date_settings() { return nullptr; }
  const DateSettings* date_settings() const {
    return const_cast<Layout*>(this)->date_settings();
  }

  // The columns of one of the detail tables; nullptr for layouts other than
  // activity layouts.
  virtual std::vector<ListColumn>* detail_columns(detail_list) { return nullptr; }
  const std::vector<ListColumn>* detail_columns(detail_list which) const {
    return const_cast<Layout*>(this)->detail_columns(which);
  }
  // Count, entry, append on a detail list (nothing where there is no list).
  std::size_t detail_count(detail_list which) const;
  const ListColumn* detail_at(detail_list which, std::size_t index) const;
  void add_detail_column(detail_list which, uint32_t field_id, float width);
  // The same moving and removing rules as for table columns.
  void move_detail_column(detail_list which, std::size_t from, std::size_t to);
  void remove_detail_column(detail_list which, std::size_t index);

 protected:
  Layout() = default;

 private:
  std::u16string name_;
  ColumnSet set_;
  // The table's, the predecessor table's and the successor table's.
  std::array<std::optional<std::vector<RememberedColumn>>, 3> remembered_;
};

class ActivityLayout final : public Layout {
 public:
  ActivityLayout() = default;
  view_kind view() const override { return view_kind::activity; }
  DateSettings* date_settings() override { return &dates_; }
  std::vector<ListColumn>* detail_columns(detail_list which) override {
    return &details_[static_cast<std::size_t>(which)];
  }

 private:
  DateSettings dates_;
  std::array<std::vector<ListColumn>, 3> details_;
};

class WBSLayout final : public Layout {
 public:
  WBSLayout() = default;
  view_kind view() const override { return view_kind::wbs; }
  DateSettings* date_settings() override { return &dates_; }

 private:
  DateSettings dates_;
};

class ProjectLayout final : public Layout {
 public:
  ProjectLayout() = default;
  view_kind view() const override { return view_kind::project; }
  DateSettings* date_settings() override { return &dates_; }

 private:
  DateSettings dates_;
};

class ResourceLayout final : public Layout {
 public:
  ResourceLayout() = default;
  view_kind view() const override { return view_kind::resource; }
};

// The layouts of the four views, each list in file order.
struct layout_lists {
  std::array<std::vector<std::unique_ptr<Layout>>, view_count> lists;

  std::vector<std::unique_ptr<Layout>>& of(view_kind view) {
    return lists[static_cast<std::size_t>(view)];
  }
  const std::vector<std::unique_ptr<Layout>>& of(view_kind view) const {
    return lists[static_cast<std::size_t>(view)];
  }
  // The first layout of a view with exactly this name, or nullptr.
  Layout* find(view_kind view, std::u16string_view name) const;
  void clear();
};

// Moves an element of `list` by the rule of `Layout::move_column`.
template <class T>
void move_entry(std::vector<T>& list, std::size_t from, std::size_t to) {
  if (from >= list.size() || to > list.size() || to == from || to == from + 1) return;
  T moved = std::move(list[from]);
  list.erase(list.begin() + static_cast<std::ptrdiff_t>(from));
  const std::size_t at = to > from ? to - 1 : to;
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), std::move(moved));
}

}  // namespace tessel::view
