#include "rows/summaries.h"

#include <cstdint>
#include <limits>

#include "catalog/field_catalog.h"
#include "rows/group_item.h"
#include "values/s_date.h"
#include "values/s_quantity.h"
#include "values/s_scalars.h"

namespace tessel::view {

using catalog::catalog_kind;
namespace value_classes = catalog::value_classes;
namespace value_types = catalog::value_types;

namespace {

// A date that shows nothing: no value, or no time after 1970.
bool blank_date(const s_date& d) { return d.empty != 0 || d.time <= 0; }

const s_date* as_date(const s_val& v) { return v.type() == val_type::date ? static_cast<const s_date*>(&v) : nullptr; }

val_ptr empty_date() { return val_ptr(new s_date()); }

// The group's date: a copy of the child's, shown even where that child hid
// it (a milestone's hidden date still dates the group).
val_ptr group_date(const s_date& d) {
  auto* copy = new s_date(d);
  copy->hidden = 0;
  return val_ptr(copy);
}

// The earliest date of the rows; a row without one counts as later than
// every date, so the group's date is blank only when every row's is.
val_ptr earliest(uint32_t field_id, const row_list& rows) {
  const s_date* best = nullptr;
  for (const std::unique_ptr<Row>& r : rows) {
    const s_date* d = as_date(r->field_value(field_id));
    if (!d || blank_date(*d)) continue;
    if (!best || d->time < best->time) best = d;
  }
  return best ? group_date(*best) : empty_date();
}

// The latest date of the rows. A row without one counts as later than every
// date and so blanks the group's date, unless `skip_blank`, when such rows
// are passed over.
val_ptr latest(uint32_t field_id, const row_list& rows, bool skip_blank) {
  const s_date* best = nullptr;
  for (const std::unique_ptr<Row>& r : rows) {
    const s_date* d = as_date(r->field_value(field_id));
    if (!d || blank_date(*d)) {
      if (skip_blank) continue;
      return empty_date();
    }
    if (!best || d->time > best->time) best = d;
  }
  return best ? group_date(*best) : empty_date();
}

// The working time from `from` to `to` on `cal` as a duration in that
// calendar's hours per day, week, month and year. A span that runs backwards
// (a late finish before the early finish) gives a negative duration.
val_ptr span_on(const document::CALENDAR* cal, const s_val& from, const s_val& to) {
  const s_date* a = as_date(from);
  const s_date* b = as_date(to);
  if (!cal || !a || !b || blank_date(*a) || blank_date(*b)) return val_ptr(new s_dur());
  int64_t minutes = 0;
  if (a->time <= b->time)
    minutes = cal->calendar.working_minutes(a->time, b->time);
  else
    minutes = -cal->calendar.working_minutes(b->time, a->time);
  auto* d = new s_dur(static_cast<double>(minutes) / 60.0);
  d->factors = &cal->calendar.factors;
  return val_ptr(d);
}

// Sums of integers and of quantities.
val_ptr sum_of(const catalog::field_entry& e, const row_list& rows, const period_factors* factors) {
  if (e.value_type == value_types::integer) {
    int64_t sum = 0;
    for (const std::unique_ptr<Row>& r : rows) {
      const s_val& v = r->field_value(e.field_id);
      if (v.type() != val_type::integer) continue;
      const auto& i = static_cast<const s_int&>(v);
      if (!i.value_empty) sum += i.value;
    }
    if (sum > std::numeric_limits<int32_t>::max()) sum = std::numeric_limits<int32_t>::max();
    if (sum < std::numeric_limits<int32_t>::min()) sum = std::numeric_limits<int32_t>::min();
    return val_ptr(new s_int(static_cast<int32_t>(sum)));
  }
  if (e.value_type == value_types::units) {
    // The sum keeps the kind and currency texts of the first quantity it
    // adds (every summable quantity is a quantity of work); its hours per
    // day, week, month and year are those of the group's calendar.
    auto* sum = new s_unit(0.0, s_unit::work);
    bool first = true;
    for (const std::unique_ptr<Row>& r : rows) {
      const s_val& v = r->field_value(e.field_id);
      if (v.type() != val_type::unit) continue;
      const auto& u = static_cast<const s_unit&>(v);
      if (first) {
        sum->kind = u.kind;
        sum->symbols = u.symbols;
        first = false;
      }
      if (!u.unit_empty) sum->amount += u.amount;
    }
    sum->factors = factors ? factors : default_period_factors();
    return val_ptr(sum);
  }
  return shared_empty_value().clone();
}

const catalog::field_entry* entry_in(catalog_kind kind, uint32_t field_id) {
  const catalog::field_entry* e = catalog::find_field(field_id);
  return e && e->catalog == kind ? e : nullptr;
}

}  // namespace

val_ptr activity_summary(const GroupItem& item, uint32_t field_id, const row_list& rows) {
  const tree_context& ctx = item.context();
  const tree_context::activity_fields& f = ctx.activity;
  if (field_id == 0) return shared_empty_value().clone();

  // The group's name.
  if (field_id == f.group_name) return val_ptr(new s_string(item.label()));

  // The calendar: the first row's, unless another row's differs.
  if (field_id == f.calendar) {
    if (rows.empty()) return val_ptr(new s_string());
    std::u16string first = rows.front()->field_value(field_id).text();
    for (size_t i = 1; i < rows.size(); ++i)
      if (rows[i]->field_value(field_id).text() != first) return val_ptr(new s_string());
    return val_ptr(new s_string(std::move(first)));
  }

  const catalog::field_entry* e = entry_in(catalog_kind::activity, field_id);
  if (!e || e->value_class == value_classes::plain) return shared_empty_value().clone();

  // The calendar that durations and quantities are measured on: the one the
  // group's activities share, else the standard one.
  auto group_calendar = [&]() -> const document::CALENDAR* {
    const std::u16string name = f.calendar ? item.cached_summary(f.calendar, rows).text() : std::u16string();
    return name.empty() ? ctx.standard_calendar : ctx.calendar_named(name);
  };

  switch (e->value_class) {
    case value_classes::start_date:
      if (e->value_type != value_types::date) return shared_empty_value().clone();
      return earliest(field_id, rows);
    case value_classes::finish_date:
      if (e->value_type != value_types::date) return shared_empty_value().clone();
      return latest(field_id, rows, f.finish_skips_empty.count(field_id) != 0);
    case value_classes::duration: {
      uint32_t from = 0, to = 0;
      if (field_id == f.original_duration) {
        from = f.planned_start;
        to = f.planned_finish;
      } else if (field_id == f.remaining_duration) {
        from = f.remaining_start;
        to = f.remaining_finish;
      } else if (field_id == f.at_completion_duration) {
        from = f.start;
        to = f.finish;
      } else if (field_id == f.actual_duration) {
        from = f.actual_start;
        to = f.progress_date;
      } else if (field_id == f.total_float) {
        // From the latest early finish to the latest late finish.
        from = f.early_finish;
        to = f.late_finish;
      } else {
        return shared_empty_value().clone();
      }
      if (!from || !to) return val_ptr(new s_dur());
      return span_on(group_calendar(), item.cached_summary(from, rows), item.cached_summary(to, rows));
    }
    case value_classes::summable: {
      const period_factors* factors = nullptr;
      if (e->value_type == value_types::units && f.calendar_available)
        if (const document::CALENDAR* cal = group_calendar()) factors = &cal->calendar.factors;
      return sum_of(*e, rows, factors);
    }
    default:
      return shared_empty_value().clone();
  }
}

val_ptr record_summary(const GroupItem& item, uint32_t field_id, const row_list& rows) {
  const tree_context& ctx = item.context();
  const tree_context::record_fields* f = ctx.fields_of(item.rows_catalog());
  if (!f || field_id == 0) return shared_empty_value().clone();
  if (field_id == f->group_name) return val_ptr(new s_string(item.label()));

  const catalog::field_entry* e = entry_in(item.rows_catalog(), field_id);
  if (!e || e->value_class == value_classes::plain) return shared_empty_value().clone();

  // The calendar the group's records share, else the standard one.
  auto group_calendar = [&]() -> const document::CALENDAR* {
    const document::CALENDAR* c = item.common_calendar(rows);
    return c ? c : ctx.standard_calendar;
  };

  switch (e->value_class) {
    case value_classes::start_date:
      if (e->value_type != value_types::date) return shared_empty_value().clone();
      return earliest(field_id, rows);
    case value_classes::finish_date:
      // A group is finished only when all of its records are: its actual
      // finish stays blank while one of them has none. Other finishes show
      // the latest of those present.
      if (e->value_type != value_types::date) return shared_empty_value().clone();
      return latest(field_id, rows, field_id != f->actual_finish);
    case value_classes::duration: {
      uint32_t from = 0, to = 0;
      if (field_id == f->at_completion_duration) {
        from = f->start;
        to = f->finish;
      } else if (field_id == f->remaining_duration) {
        from = f->remaining_start;
        to = f->remaining_finish;
      } else if (field_id == f->actual_duration) {
        from = f->actual_start;
        to = f->actual_finish;
      } else {
        return shared_empty_value().clone();
      }
      if (!from || !to) return val_ptr(new s_dur());
      return span_on(group_calendar(), item.cached_summary(from, rows), item.cached_summary(to, rows));
    }
    case value_classes::summable: {
      const document::CALENDAR* cal = group_calendar();
      return sum_of(*e, rows, cal ? &cal->calendar.factors : nullptr);
    }
    default:
      return shared_empty_value().clone();
  }
}

}  // namespace tessel::view
