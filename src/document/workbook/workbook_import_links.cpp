// The workbook sheets that tie records together: relationships between
// activities (named by activity code), resources with their calendars and
// currencies, and resource assignments (named by activity code and the
// resource's displayed name).
#include "document/workbook/workbook_import.h"
#include "values/s_quantity.h"

namespace tessel::document {
namespace {

using catalog::catalog_kind;

void mark(catalog::field_entry* e) {
  if (e) catalog::catalog_set::mark_available(*e);
}

// ---- Relationships ------------------------------------------------------------

// Whether `h` starts with `prefix` in any case ("task__", "TASK__").
bool starts_with_any_case(std::u16string_view h, std::u16string_view prefix) {
  if (h.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    char16_t c = h[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

// The relationship catalog key of a "predtask__" or "task__" column: the
// parts between double underscores are links, the last part the member.
// "predtask__projwbs__wbs_full_name" is predtask.projwbs\7Cwbs_full_name,
// "task__project__proj_short_name" the successor's project\7Cproj_short_name
// and "predtask__project__proj_short_name" predproject\7Cproj_short_name.
std::u16string relation_key(std::u16string_view rest, bool predecessor) {
  std::vector<std::u16string_view> parts;
  for (;;) {
    const size_t at = rest.find(u"__");
    parts.push_back(rest.substr(0, at));
    if (at == std::u16string_view::npos) break;
    rest.remove_prefix(at + 2);
  }
  const std::u16string_view member = parts.back();
  parts.pop_back();
  std::u16string key;
  if (parts.size() == 1 && parts[0] == u"project") {
    key = predecessor ? u"predproject" : u"project";
  } else {
    key = predecessor ? u"predtask" : u"task";
    for (std::u16string_view p : parts) {
      key += u'.';
      key.append(p);
    }
  }
  key += u"\\7C";
  key.append(member);
  return key;
}

// A relationship's copy of one of its activities' columns.
struct copy_plan {
  uint32_t col;
  value_column* column;
};

// Gives the activity's WBS element a name from an exported full WBS name
// ("code name") when the activity sheet gave it none.
void name_from_full_name(import_context& cx, TASK* t, std::u16string_view full) {
  PROJWBS* w = t->projwbs;
  if (!w || !w->wbs_name.value.empty()) return;
  const std::u16string& code = w->wbs_path.value;
  if (code.empty() || full.size() <= code.size() + 1 || full.substr(0, code.size()) != code ||
      full[code.size()] != u' ')
    return;
  w->wbs_name.value.assign(full.substr(code.size() + 1));
  cx.wbs_named = true;
}

}  // namespace

void import_relationships(import_context& cx, const workbook_sheet& s) {
  Document_xls& doc = cx.doc;
  auto& cats = catalog::catalogs();
  const int succ_col = s.column(u"task_id");
  const int pred_col = s.column(u"pred_task_id");
  if (succ_col < 0 || pred_col < 0) return;

  const wb::column_index pred_keys(catalog_kind::predecessor, true);
  const wb::column_index succ_keys(catalog_kind::successor, true);
  std::vector<copy_plan> copies;
  int type_col = -1, lag_col = -1, succ_wbs_col = -1, pred_wbs_col = -1;
  for (uint32_t c = 0; c < s.column_count(); ++c) {
    const std::u16string_view h = s.cell(0, c);
    const bool pred_copy = starts_with_any_case(h, u"predtask__");
    const bool succ_copy = !pred_copy && starts_with_any_case(h, u"task__");
    if (pred_copy || succ_copy) {
      const std::u16string_view rest = h.substr(pred_copy ? 10 : 6);
      const catalog_kind kind = pred_copy ? catalog_kind::predecessor : catalog_kind::successor;
      const std::u16string key = relation_key(rest, pred_copy);
      catalog::field_entry* e = cats.find_key(kind, key);
      // The successor catalog spells its finish column "end_datee".
      if (!e && !pred_copy && key == u"task\\7Cend_date") e = cats.find_key(kind, u"task\\7Cend_datee");
      if (rest == u"projwbs__wbs_full_name") (pred_copy ? pred_wbs_col : succ_wbs_col) = static_cast<int>(c);
      if (e && e->field_id < catalog::user_field_base) {
        mark(e);
        copies.push_back({c, &doc.values().column(kind, e->field_id, e->value_type)});
      }
      continue;
    }
    if (h == u"pred_type") type_col = static_cast<int>(c);
    if (h == u"lag_hr_cnt") lag_col = static_cast<int>(c);
    // The relationship's own columns (type, lag, float figures) belong to
    // both relationship catalogs.
    for (const wb::column_index* idx : {&pred_keys, &succ_keys}) {
      catalog::field_entry* e = idx->find(h);
      if (!e) continue;
      mark(e);
      if (h != u"pred_type" && h != u"lag_hr_cnt" && e->field_id < catalog::user_field_base)
        copies.push_back({c, &doc.values().column(e->catalog, e->field_id, e->value_type)});
    }
  }

  // Rows are read in order until one names an activity code that no
  // activity carries; the relationships before it stay.
  uint32_t n = 0;
  // At most one relationship a data row: room for them all at once.
  if (doc.taskpred.size() == 0 && s.row_count() > 2) doc.taskpred.reserve_back(s.row_count() - 2);
  for (uint32_t r = 2; r < s.row_count(); ++r) {
    const auto succ_it = cx.task_by_code.find(s.cell(r, static_cast<uint32_t>(succ_col)));
    const auto pred_it = cx.task_by_code.find(s.cell(r, static_cast<uint32_t>(pred_col)));
    if (succ_it == cx.task_by_code.end() || pred_it == cx.task_by_code.end()) {
      // The report counts this row and every row below it that names an
      // activity no row carries.
      size_t& missing = doc.report_to_fill().dangling[size_t(dangling_kind::relationship_missing_activity)];
      for (uint32_t k = r; k < s.row_count(); ++k)
        if (!cx.task_by_code.contains(s.cell(k, static_cast<uint32_t>(succ_col))) ||
            !cx.task_by_code.contains(s.cell(k, static_cast<uint32_t>(pred_col))))
          ++missing;
      break;
    }
    TASK* succ = succ_it->second;
    TASK* pred = pred_it->second;
    TASKPRED& rel = doc.taskpred.emplace_back();
    rel.task_pred_id.value = ++n;
    rel.task_id.value = succ->task_id.value;
    rel.pred_task_id.value = pred->task_id.value;
    rel.proj_id.value = succ->proj_id.value;
    rel.pred_proj_id.value = succ->proj_id.value;
    rel.task = succ;
    rel.predtask = pred;
    succ->pred_rels.push_back(&rel);
    pred->succ_rels.push_back(&rel);
    for (const copy_plan& p : copies) p.column->set(n, s.cell(r, p.col));
    if (type_col >= 0) wb::set_value(rel.pred_type, s.cell(r, static_cast<uint32_t>(type_col)));
    if (lag_col >= 0) wb::set_value(rel.lag_hr_cnt, s.cell(r, static_cast<uint32_t>(lag_col)));
    if (succ_wbs_col >= 0) name_from_full_name(cx, succ, s.cell(r, static_cast<uint32_t>(succ_wbs_col)));
    if (pred_wbs_col >= 0) name_from_full_name(cx, pred, s.cell(r, static_cast<uint32_t>(pred_wbs_col)));
  }
  if (cx.wbs_named) mark(cats.find_key(catalog_kind::wbs, u"wbs_name"));
}

// ---- Resources ------------------------------------------------------------------

namespace {

enum class rsrc_target : uint8_t { member, extra, user_field, calendar, currency };

struct rsrc_plan {
  uint32_t col;
  rsrc_target kind;
  const member_desc* member = nullptr;
  int32_t unit_kind = -1;  // for quantities and prices: the kind of value they are
  value_column* column = nullptr;
  UDFTYPE* user_field = nullptr;
};

// Rates and prices of a resource, as the workbook shows them.
int32_t unit_kind_of(std::u16string_view key) {
  if (key == u"def_qty_per_hr" || key == u"max_qty_per_hr") return s_unit::rate;
  if (key.starts_with(u"cost_per_qty")) return s_unit::price_per_hour;
  return -1;
}

}  // namespace

void import_resources(import_context& cx, const workbook_sheet& s) {
  Document_xls& doc = cx.doc;
  auto& cats = catalog::catalogs();
  const wb::column_index columns(catalog_kind::resource);
  const std::span<const member_desc> members = RSRC::members();

  // 1. The header row: the role lists, user fields and every column that
  // supplies a resource field.
  std::vector<rsrc_plan> plans;
  for (uint32_t c = 0; c < s.column_count(); ++c) {
    const std::u16string_view h = s.cell(0, c);
    if (h.empty()) continue;
    if (h.starts_with(u"user_field_")) {
      if (const uint32_t n = wb::numbered(h, u"user_field_")) {
        rsrc_plan p{c, rsrc_target::user_field};
        p.user_field = wb::register_user_field(doc, catalog_kind::resource, catalog::entities::resource, n,
                                               u"RSRC", s.cell(1, c));
        plans.push_back(p);
      }
      continue;
    }
    if (h == u"role_list" || h == u"role_code_list") {
      catalog::field_entry* e = cats.find_key(catalog_kind::resource, h);
      if (e && e->field_id < catalog::user_field_base) {
        mark(e);
        rsrc_plan p{c, rsrc_target::extra};
        p.column = &doc.values().column(catalog_kind::resource, e->field_id, catalog::value_types::text);
        plans.push_back(p);
      }
      continue;
    }
    catalog::field_entry* e = columns.find(h);
    if (!e) continue;
    mark(e);
    if (e->key == u"clndr_id" || e->key == u"curr_id") {
      plans.push_back({c, e->key == u"clndr_id" ? rsrc_target::calendar : rsrc_target::currency});
      continue;
    }
    const member_desc* m = find_member(members, e->key);
    if (m && m->kind != member_kind::id) {
      rsrc_plan p{c, rsrc_target::member};
      p.member = m;
      p.unit_kind = unit_kind_of(e->key);
      plans.push_back(p);
    } else if (!m && e->field_id < catalog::user_field_base) {
      rsrc_plan p{c, rsrc_target::extra};
      p.column = &doc.values().column(catalog_kind::resource, e->field_id, e->value_type);
      plans.push_back(p);
    }
  }

  // 2. One resource per data row; calendars and currencies, named by the
  // workbook, become records of their own, one per name.
  text_map<CALENDAR*> calendars;
  text_map<CURRTYPE*> currencies;
  for (uint32_t r = 2; r < s.row_count(); ++r) {
    RSRC& res = doc.rsrc.emplace_back();
    const uint32_t id = r - 1;
    res.rsrc_id.value = id;
    for (const rsrc_plan& p : plans) {
      const std::u16string_view text = s.cell(r, p.col);
      switch (p.kind) {
        case rsrc_target::member: {
          s_val& v = p.member->get(&res);
          if (p.unit_kind >= 0 && v.type() == val_type::unit) static_cast<s_unit&>(v).kind = p.unit_kind;
          wb::set_value(v, text);
          break;
        }
        case rsrc_target::extra:
          p.column->set(id, text);
          break;
        case rsrc_target::user_field:
          wb::set_user_field(doc, p.user_field, id, text);
          break;
        case rsrc_target::calendar: {
          if (text.empty()) break;
          auto it = calendars.find(text);
          if (it == calendars.end()) {
            CALENDAR& cal = doc.calendar.emplace_back();
            cal.clndr_id.value = static_cast<uint32_t>(doc.calendar.size());
            cal.clndr_name.value.assign(text);
            cal.calendar.prepare();
            it = calendars.emplace(std::u16string(text), &cal).first;
          }
          res.calendar = it->second;
          res.clndr_id.value = it->second->clndr_id.value;
          break;
        }
        case rsrc_target::currency: {
          if (text.empty()) break;
          auto it = currencies.find(text);
          if (it == currencies.end()) {
            CURRTYPE& cur = doc.currtype.emplace_back();
            cur.curr_id.value = static_cast<uint32_t>(doc.currtype.size());
            cur.curr_type.value.assign(text);
            cur.curr_short_name.value.assign(text);
            // Workbook figures are written with "." and "," and shown in
            // dollars, whatever the currency's name.
            cur.decimal_symbol.value = u".";
            cur.digit_group_symbol.value = u",";
            cur.curr_symbol.value = u"$";
            cur.symbols = *workbook_money_symbols();
            it = currencies.emplace(std::u16string(text), &cur).first;
          }
          res.currency = it->second;
          res.curr_id.value = it->second->curr_id.value;
          break;
        }
      }
    }
  }

  // 3. The names an assignment may name its resource by: the resource name,
  // else the resource id, else both as "id.name"; the first resource with a
  // name wins.
  for (RSRC& res : doc.rsrc)
    if (!res.rsrc_name.value.empty()) cx.rsrc_by_name.try_emplace(res.rsrc_name.value, &res);
  for (RSRC& res : doc.rsrc)
    if (!res.rsrc_short_name.value.empty()) cx.rsrc_by_name.try_emplace(res.rsrc_short_name.value, &res);
  for (RSRC& res : doc.rsrc)
    cx.rsrc_by_name.try_emplace(res.rsrc_short_name.value + u"." + res.rsrc_name.value, &res);
}

// ---- Assignments ----------------------------------------------------------------

void import_assignments(import_context& cx, const workbook_sheet& s) {
  Document_xls& doc = cx.doc;
  int task_col = s.column(u"task_id");
  if (task_col < 0) task_col = s.column(u"task__task_code");
  const int rsrc_col = s.column(u"rsrc__rsrc_concat_name");

  struct member_plan {
    uint32_t col;
    const member_desc* member;
  };
  std::vector<member_plan> plans;
  const std::span<const member_desc> members = TASKRSRC::members();
  for (uint32_t c = 0; c < s.column_count(); ++c) {
    const member_desc* m = find_member(members, s.cell(0, c));
    if (m && m->kind != member_kind::id) plans.push_back({c, m});
  }

  uint32_t n = 0;
  for (uint32_t r = 2; r < s.row_count(); ++r) {
    TASKRSRC& a = doc.taskrsrc.emplace_back();
    a.taskrsrc_id.value = ++n;
    a.proj_id.value = 1;
    for (const member_plan& p : plans) wb::set_value(p.member->get(&a), s.cell(r, p.col));
    load_report& report = doc.report_to_fill();
    if (task_col >= 0) {
      auto it = cx.task_by_code.find(s.cell(r, static_cast<uint32_t>(task_col)));
      if (it != cx.task_by_code.end()) {
        a.task = it->second;
        a.task_id.value = it->second->task_id.value;
        it->second->assignments.push_back(&a);
      } else {
        ++report.dangling[size_t(dangling_kind::assignment_missing_activity)];
      }
    }
    if (rsrc_col >= 0) {
      const std::u16string_view name = s.cell(r, static_cast<uint32_t>(rsrc_col));
      auto it = cx.rsrc_by_name.find(name);
      if (it != cx.rsrc_by_name.end()) {
        a.rsrc = it->second;
        a.rsrc_id.value = it->second->rsrc_id.value;
        it->second->assignments.push_back(&a);
      } else if (!name.empty()) {
        ++report.dangling[size_t(dangling_kind::assignment_missing_resource)];
      }
    }
  }

  // The activities' assignment counts and, unless the activity sheet
  // carried them, their joined resource names follow the assignments.
  for (TASK& t : doc.task) {
    t.taskrsrc_cnt.value = static_cast<int32_t>(t.assignments.size());
    t.taskrsrc_cnt.value_empty = 0;
    if (doc.resource_list_read) continue;
    t.resource_list.value.clear();
    for (const TASKRSRC* a : t.assignments) {
      if (!a->rsrc) continue;
      if (!t.resource_list.value.empty()) t.resource_list.value += u", ";
      t.resource_list.value += a->rsrc->rsrc_name.value;
    }
  }
  mark(catalog::catalogs().find_key(catalog_kind::activity, u"taskrsrc_cnt"));
  if (!doc.resource_list_read) mark(catalog::catalogs().find_key(catalog_kind::activity, u"resource_list"));
}

}  // namespace tessel::document
