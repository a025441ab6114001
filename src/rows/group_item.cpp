#include "rows/group_item.h"

#include <bit>
#include <cmath>

#include "rows/summaries.h"
#include "values/civil.h"
#include "values/s_date.h"
#include "values/s_quantity.h"
#include "values/s_scalars.h"

namespace tessel::view {

using catalog::catalog_kind;

namespace {

constexpr int64_t day_seconds = 86400;
constexpr int64_t week_seconds = 7 * day_seconds;
constexpr int64_t first_sunday = 3 * day_seconds;  // 1970-01-04 00:00

int64_t month_start(int64_t year, int month) {
  // Months past December roll into the next year.
  year += (month - 1) / 12;
  month = (month - 1) % 12 + 1;
  return civil::days_from_civil(year, month, 1) * day_seconds;
}

}  // namespace

interval_bounds interval_of(const s_val& v, int32_t interval_code, int32_t size_days) {
  interval_bounds b;
  if (interval_code == 1) {
    if (!v.is_duration()) return b;
    const auto& d = static_cast<const s_dur&>(v);
    if (d.dur_empty || !std::isfinite(d.hours)) return b;
    // Durations count 8 hours a day.
    const double step = (size_days > 0 ? size_days : 1) * 8.0;
    const double lower = std::floor(d.hours / step) * step;
    b.found = true;
    b.lower = std::bit_cast<int64_t>(lower + 0.0);
    b.upper = std::bit_cast<int64_t>(lower + step);
    return b;
  }
  if (interval_code < 2 || interval_code > 6 || !v.is_date()) return b;
  const auto& date = static_cast<const s_date&>(v);
  if (date.empty != 0 || date.time <= 0) return b;
  const int64_t t = date.time;
  b.found = true;
  switch (interval_code) {
    case 2:
      b.lower = civil::floor_div(t, day_seconds) * day_seconds;
      b.upper = b.lower + day_seconds;
      break;
    case 3:
      b.lower = first_sunday + civil::floor_div(t - first_sunday, week_seconds) * week_seconds;
      b.upper = b.lower + week_seconds;
      break;
    default: {
      const civil::broken_down bd = civil::break_down(t);
      int first_month = bd.month;
      int months = 1;
      if (interval_code == 5) {
        first_month = (bd.month - 1) / 3 * 3 + 1;
        months = 3;
      } else if (interval_code == 6) {
        first_month = 1;
        months = 12;
      }
      b.lower = month_start(bd.year, first_month);
      b.upper = month_start(bd.year, first_month + months);
      break;
    }
  }
  return b;
}

// ---------------------------------------------------------------- GroupItem

GroupItem::GroupItem(std::shared_ptr<const tree_context> ctx, catalog_kind rows, const GroupBy* def, int level,
                     const s_val& value)
    : ctx_(std::move(ctx)), rows_(rows), def_(def), level_(level) {
  const int32_t code = def && !def->wbs_hierarchy ? def->date_interval : 0;
  if (code >= 1 && code <= 6) {
    bounds_ = interval_of(value, code, def->interval_size);
    if (bounds_.found) {
      if (code == 1) {
        lower_ = val_ptr(new s_dur(std::bit_cast<double>(bounds_.lower)));
        upper_ = val_ptr(new s_dur(std::bit_cast<double>(bounds_.upper)));
      } else {
        lower_ = val_ptr(new s_date(s_date::from_time(bounds_.lower)));
        upper_ = val_ptr(new s_date(s_date::from_time(bounds_.upper)));
      }
    }
  } else {
    value_ = value.clone();
  }
}

GroupItem::~GroupItem() = default;

const s_val& GroupItem::key_value() const {
  if (interval_code() >= 1 && interval_code() <= 6) return lower_ ? *lower_ : shared_empty_value();
  return group_value();
}

std::u16string GroupItem::label() const {
  const int32_t code = interval_code();
  if (code >= 1 && code <= 6) {
    // A group of values without a date (or duration) has no interval to show.
    if (!lower_) return {};
    // A day is shown by its date alone; longer intervals by both bounds.
    if (code == 2) return lower_->text();
    return lower_->text() + u" to " + upper_->text();
  }
  return group_value().text();
}

val_ptr GroupItem::summary(uint32_t field_id, const row_list& rows) const {
  if (rows_ == catalog_kind::activity) return activity_summary(*this, field_id, rows);
  return record_summary(*this, field_id, rows);
}

bool GroupItem::matches(const Row& row) const {
  if (!def_) return false;
  const s_val& v = row.field_value(def_->field_id);
  const int32_t code = interval_code();
  if (code >= 1 && code <= 6) {
    const interval_bounds b = interval_of(v, code, def_->interval_size);
    if (!b.found || !bounds_.found) return b.found == bounds_.found;
    return b.lower == bounds_.lower;
  }
  if (code != 0) return false;
  return value_key(v) == value_key(group_value());
}

group_key GroupItem::key() const {
  const int32_t code = interval_code();
  group_key k;
  if (code >= 1 && code <= 6) {
    if (bounds_.found) {
      k.kind = group_key::interval;
      k.num = bounds_.lower;
    } else {
      k.kind = group_key::no_value;
    }
    return k;
  }
  return value_key(group_value());
}

const s_val& GroupItem::cached_summary(uint32_t field_id, const row_list& rows) const {
  if (auto it = cache_.find(field_id); it != cache_.end()) return *it->second;
  val_ptr v = summary(field_id, rows);
  if (!v) v = shared_empty_value().clone();
  const s_val& answer = *v;
  cache_.emplace(field_id, std::move(v));
  return answer;
}

namespace {

const document::CALENDAR* calendar_of(const Row& row) {
  if (const document::TASK* t = row.activity()) return t->calendar;
  if (const document::PROJECT* p = row.project()) return p->calendar;
  if (const document::PROJWBS* w = row.wbs()) return w->project ? w->project->calendar : nullptr;
  if (const document::RSRC* r = row.resource()) return r->calendar;
  if (const GroupItem* g = row.group_item()) return g->common_calendar(row.children());
  return nullptr;
}

}  // namespace

const document::CALENDAR* GroupItem::common_calendar(const row_list& rows) const {
  if (calendar_known_) return calendar_;
  const document::CALENDAR* common = nullptr;
  bool first = true;
  for (const std::unique_ptr<Row>& r : rows) {
    const document::CALENDAR* c = calendar_of(*r);
    if (first) {
      common = c;
      first = false;
    } else if (c != common) {
      common = nullptr;
      break;
    }
  }
  calendar_ = common;
  calendar_known_ = true;
  return calendar_;
}

// ---------------------------------------------------------------- ActivityGroupItem

GroupItem::GroupItem(const GroupItem& o, bool /*fresh*/)
    : ctx_(o.ctx_),
      rows_(o.rows_),
      def_(o.def_),
      level_(o.level_),
      value_(o.value_ ? o.value_->clone() : val_ptr()),
      lower_(o.lower_ ? o.lower_->clone() : val_ptr()),
      upper_(o.upper_ ? o.upper_->clone() : val_ptr()),
      bounds_(o.bounds_) {}

std::unique_ptr<GroupItem> GroupItem::fresh_copy() const { return std::unique_ptr<GroupItem>(new GroupItem(*this, true)); }

ActivityGroupItem::ActivityGroupItem(std::shared_ptr<const tree_context> ctx, const GroupBy* def, int level,
                                     const s_val& value, const document::TASK* opener)
    : GroupItem(std::move(ctx), catalog_kind::activity, def, level, value) {
  by_resource_ = def && !def->wbs_hierarchy && ctx_->activity.primary_resource != 0 &&
                 def->field_id == ctx_->activity.primary_resource;
  if (opener) {
    resource_ = opener->primary_rsrc;
    project_ = opener->project;
    wbs_ = opener->projwbs;
  }
}

ActivityGroupItem::ActivityGroupItem(std::shared_ptr<const tree_context> ctx, const GroupBy* def, int level,
                                     const s_val& value, const document::RSRC* resource)
    : ActivityGroupItem(std::move(ctx), def, level, value, static_cast<const document::TASK*>(nullptr)) {
  resource_ = resource;
}

std::u16string ActivityGroupItem::label() const {
  if (by_resource_ && !resource_) return u"No primary Resource";
  return GroupItem::label();
}

val_ptr ActivityGroupItem::summary(uint32_t field_id, const row_list& rows) const {
  return activity_summary(*this, field_id, rows);
}

// ---------------------------------------------------------------- WBSGroupItem

namespace {
s_string wbs_value(const document::PROJWBS* w) { return s_string(w ? w->wbs_path.value : std::u16string()); }
s_string obs_value(const document::OBS* o) { return s_string(o ? o->obs_name.value : std::u16string()); }
}  // namespace

WBSGroupItem::WBSGroupItem(std::shared_ptr<const tree_context> ctx, catalog_kind rows, const GroupBy* def,
                           int level, const document::PROJWBS* element)
    : GroupItem(std::move(ctx), rows, def, level, wbs_value(element)), element_(element), hierarchy_(true) {}

WBSGroupItem::WBSGroupItem(std::shared_ptr<const tree_context> ctx, const GroupBy* def, int level,
                           const s_val& value)
    : GroupItem(std::move(ctx), catalog_kind::wbs, def, level, value) {}

std::u16string WBSGroupItem::label() const {
  if (!hierarchy_) return GroupItem::label();
  // The element's full code and its name, as the WBS is read on paper.
  if (!element_) return u"No WBS";
  return element_->wbs_path.value + u" - " + element_->wbs_name.value;
}

bool WBSGroupItem::matches(const Row& row) const {
  if (!hierarchy_) return GroupItem::matches(row);
  if (const document::TASK* t = row.activity()) return t->projwbs == element_;
  if (const document::PROJWBS* w = row.wbs()) return w == element_;
  return false;
}

// ---------------------------------------------------------------- OBSGroupItem

OBSGroupItem::OBSGroupItem(std::shared_ptr<const tree_context> ctx, catalog_kind rows, const GroupBy* def,
                           int level, const document::OBS* element)
    : GroupItem(std::move(ctx), rows, def, level, obs_value(element)), element_(element) {}

std::u16string OBSGroupItem::label() const {
  if (!element_) return u"No Responsible Manager";
  return element_->obs_name.value;
}

bool OBSGroupItem::matches(const Row& row) const { return !row.is_group_row() && obs_of(row) == element_; }

const document::OBS* obs_of(const Row& row) {
  if (const document::PROJWBS* w = row.wbs()) return w->obs;
  if (const document::PROJECT* p = row.project()) return p->top_wbs ? p->top_wbs->obs : nullptr;
  return nullptr;
}

// ---------------------------------------------------------------- ProjectGroupItem

ProjectGroupItem::ProjectGroupItem(std::shared_ptr<const tree_context> ctx, const GroupBy* def, int level,
                                   const s_val& value)
    : GroupItem(std::move(ctx), catalog_kind::project, def, level, value) {}

}  // namespace tessel::view
