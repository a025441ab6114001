#include "rows/tree_context.h"

namespace tessel::view {

using catalog::catalog_kind;

namespace {

uint32_t id_of(catalog_kind kind, std::u16string_view key) {
  const catalog::field_entry* e = catalog::catalogs().find_key(kind, key);
  return e ? e->field_id : 0;
}

void fill_record_fields(tree_context::record_fields& f, catalog_kind kind) {
  f.group_name = id_of(kind, u"[caption]");
  f.start = id_of(kind, u"start_date");
  f.finish = id_of(kind, u"end_date");
  f.remaining_start = id_of(kind, u"restart_date");
  f.remaining_finish = id_of(kind, u"reend_date");
  f.actual_start = id_of(kind, u"act_start_date");
  f.actual_finish = id_of(kind, u"act_end_date");
  f.at_completion_duration = id_of(kind, u"total_drtn_hr_cnt");
  f.remaining_duration = id_of(kind, u"remain_drtn_hr_cnt");
  f.actual_duration = id_of(kind, u"act_drtn_hr_cnt");
}

}  // namespace

const document::CALENDAR* tree_context::calendar_named(std::u16string_view name) const {
  auto it = calendars_by_name.find(std::u16string(name));
  return it == calendars_by_name.end() ? nullptr : it->second;
}

std::shared_ptr<const tree_context> make_tree_context(const document::Document& doc) {
  auto ctx = std::make_shared<tree_context>();
  ctx->doc = &doc;
  ctx->fields = &doc.fields();
  for (const document::CALENDAR& c : doc.calendar) ctx->calendars_by_name.try_emplace(c.clndr_name.value, &c);
  ctx->standard_calendar = ctx->calendar_named(standard_calendar_name);

  auto& a = ctx->activity;
  const catalog_kind act = catalog_kind::activity;
  a.group_name = id_of(act, u"[caption]");
  if (const catalog::field_entry* e = catalog::catalogs().find_key(act, u"clndr_id")) {
    a.calendar = e->field_id;
    a.calendar_available = e->available;
  }
  a.planned_start = id_of(act, u"target_start_date");
  a.planned_finish = id_of(act, u"target_end_date");
  a.remaining_start = id_of(act, u"restart_date");
  a.remaining_finish = id_of(act, u"reend_date");
  a.start = id_of(act, u"start_date");
  a.finish = id_of(act, u"end_date");
  a.actual_start = id_of(act, u"act_start_date");
  a.progress_date = id_of(act, u"act_progress_date");
  a.early_finish = id_of(act, u"early_end_date");
  a.late_finish = id_of(act, u"late_end_date");
  a.original_duration = id_of(act, u"target_drtn_hr_cnt");
  a.remaining_duration = id_of(act, u"remain_drtn_hr_cnt");
  a.at_completion_duration = id_of(act, u"total_drtn_hr_cnt");
  a.actual_duration = id_of(act, u"act_drtn_hr_cnt");
  a.total_float = id_of(act, u"total_float_hr_cnt");
  a.primary_resource = id_of(act, u"rsrc_id");
  // Finish dates that most activities of a group may lack without the
  // group's date going blank: the group shows the latest of those present.
  for (std::u16string_view caption :
       {u"Anticipated Finish", u"Early Finish", u"Expected Finish", u"External Late Finish", u"Finish",
        u"Late Finish", u"Planned Finish", u"Remaining Early Finish", u"Remaining Late Finish",
        u"Actual Progress Date"}) {
    if (const catalog::field_entry* e = catalog::catalogs().find_activity_caption(caption))
      a.finish_skips_empty.insert(e->field_id);
  }

  fill_record_fields(ctx->wbs, catalog_kind::wbs);
  fill_record_fields(ctx->project, catalog_kind::project);
  return ctx;
}

}  // namespace tessel::view
