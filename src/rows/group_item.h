// Group items: the identity of one group row (the value its rows share, or
// the date or duration interval they fall in, or the WBS or OBS element they
// belong to), its label, and the summaries it shows in every column.
//
// A group item belongs to its group row. Its summaries are computed on the
// first request for a field and kept until the tree is destroyed; a tree is
// rebuilt, never updated, when the data or the layout changes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "catalog/field_catalog.h"
#include "config/layout.h"
#include "rows/group_key.h"
#include "rows/row.h"
#include "rows/tree_context.h"
#include "values/s_val.h"

namespace tessel::view {

// A date or duration interval [lower, upper) holding a value.
struct interval_bounds {
  bool found = false;  // false: the value has no date (or no duration)
  int64_t lower = 0;   // dates: seconds; durations: hours as the bit pattern of a double
  int64_t upper = 0;
};

// The interval of `interval_code` (1 duration, 2 day, 3 week, 4 month,
// 5 quarter, 6 year) that holds `v`. Weeks run from Sunday 00:00 to the
// next Sunday 00:00; months, quarters and years start at 00:00 of their
// first day (quarters in January, April, July and October). Duration
// intervals are `size_days` days long at 8 hours a day, counted from zero
// (a size of 0 or less counts as one day). Dates are the wall-clock reading
// counted from 1970 and broken down as UTC. A value without a date (or an
// empty duration) has no interval.
interval_bounds interval_of(const s_val& v, int32_t interval_code, int32_t size_days);

class GroupItem {
 public:
  // `rows` is the catalog of the rows this group collects (the view's
  // catalog); `def` the group-by level it belongs to (not owned, may be
  // null for hierarchy groups built without a layout level); `value` the
  // grouping field's value of the record that opens the group.
  GroupItem(std::shared_ptr<const tree_context> ctx, catalog::catalog_kind rows, const GroupBy* def, int level,
            const s_val& value);
  GroupItem(const GroupItem&) = delete;
  GroupItem& operator=(const GroupItem&) = delete;
  virtual ~GroupItem();

  virtual bool is_activity_group_item() const { return false; }
  virtual bool is_wbs_group_item() const { return false; }
  virtual bool is_project_group_item() const { return false; }
  virtual bool is_obs_group_item() const { return false; }

  // The lower bound of an interval group, the group value otherwise.
  virtual const s_val& key_value() const;
  // The text shown on the group row.
  virtual std::u16string label() const;
  // The summary of field `field_id` over `rows` (the group row's children),
  // newly computed.
  virtual val_ptr summary(uint32_t field_id, const row_list& rows) const;
  // Whether `row` belongs in this group.
  virtual bool matches(const Row& row) const;

  // The summary for `field_id`, computed on the first request and kept.
  const s_val& cached_summary(uint32_t field_id, const row_list& rows) const;
  // The calendar that the records below this group share, or none when they
  // use different calendars (or there are none); worked out once.
  const document::CALENDAR* common_calendar(const row_list& rows) const;

  // The group's key among its siblings (see group_key).
  group_key key() const;

  // The same group without its kept summaries and calendar, for a tree
  // that shows only some of its rows (a filtered copy of a tree).
  virtual std::unique_ptr<GroupItem> fresh_copy() const;

  const s_val& group_value() const { return value_ ? *value_ : shared_empty_value(); }
  const s_val* lower_bound() const { return lower_.get(); }
  const s_val* upper_bound() const { return upper_.get(); }
  const GroupBy* definition() const { return def_; }
  int level() const { return level_; }
  catalog::catalog_kind rows_catalog() const { return rows_; }
  const tree_context& context() const { return *ctx_; }
  // The interval code of the group-by level (0 for none).
  int32_t interval_code() const { return def_ ? def_->date_interval : 0; }

 protected:
  // Everything but the kept summaries and calendar.
  GroupItem(const GroupItem& o, bool fresh);

  std::shared_ptr<const tree_context> ctx_;
  catalog::catalog_kind rows_;
  const GroupBy* def_;
  int level_;
  val_ptr value_;  // plain groups: a copy of the value; none for interval groups
  val_ptr lower_;  // interval groups: the bounds; none when the value had no interval
  val_ptr upper_;
  interval_bounds bounds_;

 private:
  mutable std::unordered_map<uint32_t, val_ptr> cache_;
  mutable const document::CALENDAR* calendar_ = nullptr;
  mutable bool calendar_known_ = false;
};

// A group of the Activity view.
class ActivityGroupItem final : public GroupItem {
 public:
  // `opener` is the activity that opens the group (for a grouping by the
  // primary resource, the group keeps that activity's primary resource).
  ActivityGroupItem(std::shared_ptr<const tree_context> ctx, const GroupBy* def, int level, const s_val& value,
                    const document::TASK* opener);
  // A group made in advance for a resource (include-all grouping by primary
  // resource): `resource` may be null for the group of activities without one.
  ActivityGroupItem(std::shared_ptr<const tree_context> ctx, const GroupBy* def, int level, const s_val& value,
                    const document::RSRC* resource);

  bool is_activity_group_item() const override { return true; }
  std::u16string label() const override;
  val_ptr summary(uint32_t field_id, const row_list& rows) const override;

  // For a grouping by the primary resource: the group's resource, null for
  // the group of activities without one.
  const document::RSRC* primary_resource() const { return resource_; }
  // The project and WBS element of the activity that opened the group.
  const document::PROJECT* opener_project() const { return project_; }
  const document::PROJWBS* opener_wbs() const { return wbs_; }
  bool groups_by_primary_resource() const { return by_resource_; }
  std::unique_ptr<GroupItem> fresh_copy() const override {
    return std::unique_ptr<GroupItem>(new ActivityGroupItem(*this, true));
  }

 private:
  ActivityGroupItem(const ActivityGroupItem& o, bool fresh)
      : GroupItem(o, fresh), resource_(o.resource_), project_(o.project_), wbs_(o.wbs_), by_resource_(o.by_resource_) {}
  const document::RSRC* resource_ = nullptr;
  const document::PROJECT* project_ = nullptr;
  const document::PROJWBS* wbs_ = nullptr;
  bool by_resource_ = false;
};

// A group for one element of the WBS hierarchy (or, without an element, a
// plain group of the WBS view). In the Activity view it collects the
// activities of its element and the groups of its child elements.
class WBSGroupItem final : public GroupItem {
 public:
  WBSGroupItem(std::shared_ptr<const tree_context> ctx, catalog::catalog_kind rows, const GroupBy* def, int level,
               const document::PROJWBS* element);
  // A plain value group of the WBS view.
  WBSGroupItem(std::shared_ptr<const tree_context> ctx, const GroupBy* def, int level, const s_val& value);

  bool is_wbs_group_item() const override { return true; }
  std::u16string label() const override;
  bool matches(const Row& row) const override;

  const document::PROJWBS* element() const { return element_; }
  bool is_hierarchy() const { return hierarchy_; }
  std::unique_ptr<GroupItem> fresh_copy() const override {
    return std::unique_ptr<GroupItem>(new WBSGroupItem(*this, true));
  }

 private:
  WBSGroupItem(const WBSGroupItem& o, bool fresh) : GroupItem(o, fresh), element_(o.element_), hierarchy_(o.hierarchy_) {}
  const document::PROJWBS* element_ = nullptr;
  bool hierarchy_ = false;
};

// A group for one element of the responsible-manager (OBS) hierarchy.
class OBSGroupItem final : public GroupItem {
 public:
  OBSGroupItem(std::shared_ptr<const tree_context> ctx, catalog::catalog_kind rows, const GroupBy* def, int level,
               const document::OBS* element);

  bool is_obs_group_item() const override { return true; }
  std::u16string label() const override;
  bool matches(const Row& row) const override;

  const document::OBS* element() const { return element_; }
  std::unique_ptr<GroupItem> fresh_copy() const override {
    return std::unique_ptr<GroupItem>(new OBSGroupItem(*this, true));
  }

 private:
  OBSGroupItem(const OBSGroupItem& o, bool fresh) : GroupItem(o, fresh), element_(o.element_) {}
  const document::OBS* element_;
};

// A plain value group of the Project view.
class ProjectGroupItem final : public GroupItem {
 public:
  ProjectGroupItem(std::shared_ptr<const tree_context> ctx, const GroupBy* def, int level, const s_val& value);
  bool is_project_group_item() const override { return true; }
  std::unique_ptr<GroupItem> fresh_copy() const override {
    return std::unique_ptr<GroupItem>(new ProjectGroupItem(*this, true));
  }

 private:
  ProjectGroupItem(const ProjectGroupItem& o, bool fresh) : GroupItem(o, fresh) {}
};

// The element a row stands under in the OBS hierarchy: a WBS element's
// responsible manager, a project's through its own WBS node; null otherwise.
const document::OBS* obs_of(const Row& row);

}  // namespace tessel::view
