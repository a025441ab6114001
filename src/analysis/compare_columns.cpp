#include "analysis/compare_columns.h"

#include "analysis/activity_measures.h"

namespace tessel::analysis {

namespace {

void set_days(s_double& out, const s_date& old_date, const s_date& new_date) {
  if (old_date.has_date() && new_date.has_date()) out = s_double(static_cast<double>(new_date.time - old_date.time) / 86400.0);
}

}  // namespace

compare_columns::compare_columns(const schedule_match& match) {
  const document::Document& nd = *match.new_doc;
  by_task_id_.reserve(nd.task.size());
  for (size_t i = 0; i < nd.task.size() && i < match.old_partner.size(); ++i) {
    const document::TASK* o = match.old_partner[i];
    if (!o) continue;
    const document::TASK& n = nd.task[i];
    deltas& d = by_task_id_.try_emplace(n.task_id.value).first->second;
    set_days(d.start, forecast_start(*o), forecast_start(n));
    set_days(d.finish, forecast_finish(*o), forecast_finish(n));
  }
}

bool compare_columns::has_column(catalog::catalog_kind kind, uint32_t field_id) const {
  return kind == catalog::catalog_kind::activity && (field_id == start_delta_field || field_id == finish_delta_field);
}

const s_val* compare_columns::value(catalog::catalog_kind kind, uint32_t field_id, uint32_t record_id) const {
  if (!has_column(kind, field_id)) return nullptr;
  auto it = by_task_id_.find(record_id);
  if (it == by_task_id_.end()) return nullptr;
  const s_double& v = field_id == start_delta_field ? it->second.start : it->second.finish;
  return v.value_empty ? nullptr : &v;
}

void offer_compare_columns(bool offered) {
  catalog::catalog_set& cats = catalog::catalogs();
  struct column {
    uint32_t id;
    const char16_t* caption;
    const char16_t* key;
  };
  for (const column c : {column{start_delta_field, u"Start \u0394", u"compare_start_delta"},
                         column{finish_delta_field, u"Finish \u0394", u"compare_finish_delta"}}) {
    catalog::field_entry* e = cats.find_id(c.id);
    if (!e) {
      if (!offered) continue;
      catalog::field_spec entry;
      entry.caption = c.caption;
      entry.field_id = c.id;
      entry.persistent_id = c.id;
      entry.value_type = catalog::value_types::number;
      entry.entity = catalog::entities::activity;
      entry.key = c.key;
      e = &cats.register_field(catalog::catalog_kind::activity, std::move(entry));
    }
    catalog::catalog_set::mark_available(*e, offered);
  }
}

}  // namespace tessel::analysis
