#include "document/field_lookup.h"

#include <algorithm>
#include <limits>
#include <span>
#include <string_view>
#include <unordered_map>

#include "catalog/field_catalog.h"
#include "values/enums.h"
#include "values/s_quantity.h"

namespace tessel::document {
namespace {

using catalog::catalog_kind;
using accessor = field_lookup::accessor;

// ---- Fields that answer nothing for a kind of record ------------------------
//
// These columns exist in the catalogs (a workbook export fills them, or they
// stand for figures this program does not compute), but the records of a
// text export have nothing to show for them; some name members that a record
// does carry but that are not shown in that view.

constexpr std::u16string_view k_empty_activity[] = {
    u"step_cnt", u"step_complete_cnt", u"step_active_cnt", u"step_notstarted_cnt",
    u"projwbs\\7Canticip_end_date", u"projwbs\\7Canticip_start_date", u"av_work", u"bac_work",
    u"cpi", u"cpi_work", u"cv_work", u"cvi", u"cvi_work", u"eac_work", u"etc_work_qty", u"spi",
    u"spi_work", u"sv_work", u"svi", u"svi_work", u"tcpi", u"vac_work", u"task_fdbk",
    u"task_note", u"user_id", u"projwbs", u"account_code_list", u"account_list",
    u"resource_code_list", u"role_code_list", u"role_list", u"input_list", u"base_complete_cnt",
    u"base_active_cnt", u"base_notstarted_cnt", u"primary_base_complete_cnt",
    u"primary_base_active_cnt", u"primary_base_notstarted_cnt", u"[caption]",
};
constexpr std::u16string_view k_empty_project[] = {
    u"project\\7Cbaseline_name", u"project\\7Cbaseline_data_date", u"curr_budg", u"cur_var",
    u"distrib_cur_budg", u"indep_remain_work_qty", u"indep_remain_total_cost", u"var_work_qty",
    u"var_equip_qty", u"request_cost", u"tot_benefit_plan", u"tot_benefit_plan_tally",
    u"project\\7Ctot_funding", u"tot_spend_plan", u"tot_spend_plan_tally", u"unalloc_budg",
    u"undistrib_cur_var", u"act_expense_cost", u"act_work_cost", u"act_mat_cost",
    u"act_equip_cost", u"act_this_per_work_cost", u"act_this_per_mat_cost",
    u"act_this_per_equip_cost", u"act_cost", u"total_expense_cost", u"total_work_cost",
    u"total_mat_cost", u"total_equip_cost", u"total_cost", u"base_expense_cost",
    u"base_work_cost", u"base_mat_cost", u"base_equip_cost", u"base_cost",
    u"remain_expense_cost", u"remain_work_cost", u"remain_mat_cost", u"remain_equip_cost",
    u"remain_cost", u"var_expense_cost", u"var_work_cost", u"var_mat_cost", u"var_equip_cost",
    u"var_cost", u"base_end_date", u"base_start_date", u"primary_base_end_date",
    u"primary_base_start_date", u"secondary_base_end_date", u"secondary_base_start_date",
    u"tertiary_base_end_date", u"tertiary_base_start_date", u"forecast_end_date",
    u"project\\7Cfcst_start_date", u"act_drtn_hr_cnt", u"base_drtn_hr_cnt",
    u"total_float_hr_cnt", u"var_drtn_hr_cnt", u"var_end_date_drtn_hr_cnt",
    u"var_start_date_drtn_hr_cnt", u"av", u"av_work", u"acwp", u"bac", u"bac_work", u"cpi",
    u"cpi_work", u"cv", u"cv_work", u"cvi", u"cvi_work", u"bcwp", u"perfm_work_qty", u"eac_work",
    u"eac", u"etc", u"etc_work_qty", u"bcws", u"sched_work_qty", u"spi", u"spi_work", u"sv",
    u"sv_work", u"svi", u"svi_work", u"tcpi", u"vac", u"vac_work",
    u"project\\7Crem_target_link_flag", u"project\\7Cact_pct_link_flag",
    u"project\\7Csource_proj_id", u"base_complete_cnt", u"base_active_cnt",
    u"base_notstarted_cnt", u"cost_complete_pct", u"act_pct_spent", u"drtn_pct_spent",
    u"expense_complete_pct", u"work_cost_complete_pct", u"work_complete_pct",
    u"mat_cost_complete_pct", u"equip_cost_complete_pct", u"equip_complete_pct",
    u"perfm_complete_pct", u"sched_complete_pct", u"effort_complete_pct", u"sum_data_flag",
    u"project\\7Copen_state", u"total_work_qty", u"total_equip_qty", u"base_work_qty",
    u"base_equip_qty",
};
constexpr std::u16string_view k_empty_wbs[] = {
    u"[caption]", u"curr_budg", u"cur_var", u"distrib_cur_budg", u"request_cost",
    u"tot_benefit_plan", u"tot_benefit_plan_tally", u"tot_spend_plan", u"tot_spend_plan_tally",
    u"unalloc_budg", u"undistrib_cur_var", u"act_expense_cost", u"act_work_cost",
    u"act_mat_cost", u"act_equip_cost", u"act_this_per_work_cost", u"act_this_per_mat_cost",
    u"act_this_per_equip_cost", u"total_expense_cost", u"total_work_cost", u"total_mat_cost",
    u"total_equip_cost", u"total_cost", u"base_expense_cost", u"base_work_cost",
    u"base_mat_cost", u"base_equip_cost", u"base_cost", u"remain_expense_cost",
    u"remain_work_cost", u"remain_mat_cost", u"remain_equip_cost", u"remain_cost",
    u"var_expense_cost", u"var_work_cost", u"var_mat_cost", u"var_equip_cost", u"var_cost",
    u"base_end_date", u"base_start_date", u"primary_base_end_date", u"primary_base_start_date",
    u"secondary_base_end_date", u"secondary_base_start_date", u"tertiary_base_end_date",
    u"tertiary_base_start_date", u"forecast_end_date", u"forecast_start_date",
    u"act_drtn_hr_cnt", u"base_drtn_hr_cnt", u"total_float_hr_cnt", u"var_drtn_hr_cnt",
    u"var_end_date_drtn_hr_cnt", u"var_start_date_drtn_hr_cnt", u"av", u"av_work", u"acwp",
    u"bac", u"bac_work", u"cpi", u"cpi_work", u"cv", u"cv_work", u"cvi", u"cvi_work", u"bcwp",
    u"perfm_work_qty", u"eac_work", u"eac", u"etc", u"etc_work_qty", u"bcws", u"sched_work_qty",
    u"spi", u"spi_work", u"sv", u"sv_work", u"svi", u"svi_work", u"tcpi", u"vac", u"vac_work",
    u"input_list", u"base_complete_cnt", u"base_active_cnt", u"base_notstarted_cnt",
    u"cost_complete_pct", u"act_pct_spent", u"drtn_pct_spent", u"expense_complete_pct",
    u"work_cost_complete_pct", u"work_complete_pct", u"mat_cost_complete_pct",
    u"equip_cost_complete_pct", u"equip_complete_pct", u"perfm_complete_pct",
    u"sched_complete_pct", u"steps_complete_pct", u"effort_complete_pct", u"total_work_qty",
    u"total_equip_qty", u"base_work_qty", u"base_equip_qty", u"var_work_qty", u"var_equip_qty",
};
constexpr std::u16string_view k_empty_resource[] = {
    u"role_id", u"role_code_list", u"role_list", u"shift_id", u"unit_id",
};
// The same for both relationship catalogs.
constexpr std::u16string_view k_empty_relationship[] = {
    u"critical_flag", u"driving_flag", u"ref", u"res", u"rff", u"rlf", u"rls", u"rsff", u"rstf",
    u"rtf",
};

bool listed(std::span<const std::u16string_view> list, std::u16string_view key) {
  return std::find(list.begin(), list.end(), key) != list.end();
}

// ---- Links between records --------------------------------------------------

enum class rk { task, wbs, project, rsrc, rel, calendar, obs, currency };

std::span<const member_desc> members_of(rk k) {
  switch (k) {
    case rk::task: return TASK::members();
    case rk::wbs: return PROJWBS::members();
    case rk::project: return PROJECT::members();
    case rk::rsrc: return RSRC::members();
    case rk::rel: return TASKPRED::members();
    case rk::calendar: return CALENDAR::members();
    case rk::obs: return OBS::members();
    case rk::currency: return CURRTYPE::members();
  }
  return {};
}

void* task_project(void* r) { return static_cast<TASK*>(r)->project; }
void* task_wbs(void* r) { return static_cast<TASK*>(r)->projwbs; }
void* task_calendar(void* r) { return static_cast<TASK*>(r)->calendar; }
void* wbs_project(void* r) { return static_cast<PROJWBS*>(r)->project; }
void* wbs_obs(void* r) { return static_cast<PROJWBS*>(r)->obs; }
void* project_top_wbs(void* r) { return static_cast<PROJECT*>(r)->top_wbs; }
void* rsrc_calendar(void* r) { return static_cast<RSRC*>(r)->calendar; }
void* rsrc_currency(void* r) { return static_cast<RSRC*>(r)->currency; }
void* rel_task(void* r) { return static_cast<TASKPRED*>(r)->task; }
void* rel_predtask(void* r) { return static_cast<TASKPRED*>(r)->predtask; }

// Durations and quantities of work show in the owner's calendar: its hours
// per day, week, month and year convert the hours they hold. A WBS element
// has no calendar of its own and shows in its project's.
void give_factors(s_val& v, const CALENDAR* c) {
  if (!c) return;
  if (v.type() == val_type::dur) static_cast<s_dur&>(v).factors = &c->calendar.factors;
  if (v.type() == val_type::unit) static_cast<s_unit&>(v).factors = &c->calendar.factors;
}
void convert_task(void* r, s_val& v) { give_factors(v, static_cast<TASK*>(r)->calendar); }
void convert_project(void* r, s_val& v) { give_factors(v, static_cast<PROJECT*>(r)->calendar); }
void convert_wbs(void* r, s_val& v) {
  const PROJECT* p = static_cast<PROJWBS*>(r)->project;
  if (p) give_factors(v, p->calendar);
}

bool ends_with(std::u16string_view s, std::u16string_view tail) {
  return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

bool shows_in_calendar(std::u16string_view member) {
  return member == u"act_drtn_hr_cnt" || member == u"total_drtn_hr_cnt" ||
         member == u"free_float_hr_cnt" || member == u"target_drtn_hr_cnt" ||
         member == u"remain_drtn_hr_cnt" || member == u"total_float_hr_cnt" ||
         ends_with(member, u"_work_qty") || ends_with(member, u"_equip_qty");
}

// Builds one accessor: where it stands (the kind of record reached so far)
// and the links taken to get there.
struct builder {
  accessor a;
  int n = 0;
  rk at;

  bool step(accessor::step_fn f, rk to) {
    if (n == accessor::max_steps) return false;
    a.steps[n++] = f;
    at = to;
    return true;
  }

  // One link name of a key's link path, from the record reached so far.
  bool follow(std::u16string_view link) {
    switch (at) {
      case rk::task:
        if (link == u"project") return step(task_project, rk::project);
        if (link == u"projwbs") return step(task_wbs, rk::wbs);
        return false;
      case rk::wbs:
        if (link == u"project") return step(wbs_project, rk::project);
        return link == u"projwbs";  // the element itself
      case rk::project:
        if (link == u"project") return true;  // the project itself
        if (link == u"projwbs") return step(project_top_wbs, rk::wbs);
        return false;
      case rk::rel:
        if (link == u"task") return step(rel_task, rk::task);
        if (link == u"predtask") return step(rel_predtask, rk::task);
        if (link == u"predproject") return step(rel_predtask, rk::task) && step(task_project, rk::project);
        // The relationship's project is its successor's.
        if (link == u"project") return step(rel_task, rk::task) && step(task_project, rk::project);
        return false;
      default:
        return false;
    }
  }

  // The member `name` of the record reached so far. Some names are shown
  // from a linked record, as a user reads them: an id column shows the
  // linked record's name or code rather than a bare number.
  bool bind(std::u16string_view name) {
    switch (at) {
      case rk::task:
        if (name == u"rsrc_id") name = u"primary_rsrc_text";  // "code.name" of the primary resource
        if (name == u"end_datee") name = u"end_date";  // the Successors table's Finish is spelt so
        if (name == u"clndr_id") return step(task_calendar, rk::calendar) && bind(u"clndr_name");
        // The WBS column shows the element's full code, as the WBS view's code column does.
        if (name == u"wbs_id" || name == u"wbs_path") return step(task_wbs, rk::wbs) && bind(u"wbs_path");
        if (name == u"wbs_name") return step(task_wbs, rk::wbs) && bind(u"wbs_name");
        break;
      case rk::wbs:
        if (name == u"wbs_concat_name" || name == u"wbs_full_name") name = u"wbs_path";
        if (name == u"obs_id") return step(wbs_obs, rk::obs) && bind(u"obs_name");
        break;
      case rk::project:
        // A project's name is the name of its own node in the WBS tree.
        if (name == u"proj_name") return step(project_top_wbs, rk::wbs) && bind(u"wbs_name");
        if (name == u"data_date") name = u"last_recalc_date";
        // What a project does not hold itself (status, responsible manager,
        // budget figures) its own WBS node does.
        if (!find_member(PROJECT::members(), name)) return step(project_top_wbs, rk::wbs) && bind(name);
        break;
      case rk::rsrc:
        if (name == u"clndr_id") return step(rsrc_calendar, rk::calendar) && bind(u"clndr_name");
        if (name == u"curr_id") return step(rsrc_currency, rk::currency) && bind(u"curr_type");
        break;
      default:
        break;
    }
    const member_desc* m = find_member(members_of(at), name);
    if (!m) return false;
    a.get = m->get;
    if (shows_in_calendar(name)) {
      if (at == rk::task) a.convert = convert_task;
      if (at == rk::project) a.convert = convert_project;
      if (at == rk::wbs) a.convert = convert_wbs;
    }
    return true;
  }
};

// Resolves a catalog key for records of kind `start`: the link path (names
// joined by ".", then "\7C") and the member.
accessor resolve(rk start, std::u16string_view key) {
  builder b{{}, 0, start};
  std::u16string_view member = key;
  const size_t bar = key.find(u"\\7C");
  if (bar != std::u16string_view::npos) {
    std::u16string_view path = key.substr(0, bar);
    member = key.substr(bar + 3);
    while (!path.empty()) {
      const size_t dot = path.find(u'.');
      if (!b.follow(path.substr(0, dot))) return {};
      path = dot == std::u16string_view::npos ? std::u16string_view() : path.substr(dot + 1);
    }
  }
  if (!b.bind(member)) return {};
  return b.a;
}

struct key_hash {
  using is_transparent = void;
  std::size_t operator()(std::u16string_view s) const noexcept { return std::hash<std::u16string_view>{}(s); }
};
using resolved_keys = std::unordered_map<std::u16string, accessor, key_hash, std::equal_to<>>;

uint64_t pair_key(uint32_t owner, uint32_t type) { return (uint64_t{owner} << 32) | type; }

}  // namespace

// ---- Building ---------------------------------------------------------------

namespace {
std::unordered_map<const record_lists*, const extra_values*>& extra_registry() {
  static std::unordered_map<const record_lists*, const extra_values*> registry;
  return registry;
}

constexpr catalog_kind catalog_of_table[] = {catalog_kind::activity, catalog_kind::wbs,
                                             catalog_kind::project,  catalog_kind::resource,
                                             catalog_kind::predecessor, catalog_kind::successor};
}  // namespace

void attach_extra_values(const record_lists& doc, const extra_values* values) {
  if (values) extra_registry()[&doc] = values;
  else extra_registry().erase(&doc);
}

namespace {
std::unordered_map<const record_lists*, const extra_values*>& late_registry() {
  static std::unordered_map<const record_lists*, const extra_values*> registry;
  return registry;
}
}  // namespace

void attach_late_values(const record_lists& doc, const extra_values* values) {
  if (values) late_registry()[&doc] = values;
  else late_registry().erase(&doc);
}

field_lookup::field_lookup(const record_lists& doc) : doc_(&doc) {
  if (auto it = extra_registry().find(&doc); it != extra_registry().end()) extra_ = it->second;
  resolve_tables();
  index_user_fields(doc);
  index_codes(doc);
}

void field_lookup::resolve_tables() {
  struct plan {
    catalog_kind catalog;
    rk start;
    std::span<const std::u16string_view> empty;
  };
  const plan plans[k_table_count] = {
      {catalog_kind::activity, rk::task, k_empty_activity},
      {catalog_kind::wbs, rk::wbs, k_empty_wbs},
      {catalog_kind::project, rk::project, k_empty_project},
      {catalog_kind::resource, rk::rsrc, k_empty_resource},
      {catalog_kind::predecessor, rk::rel, k_empty_relationship},
      {catalog_kind::successor, rk::rel, k_empty_relationship},
  };
  for (int t = 0; t < k_table_count; ++t) {
    const plan& p = plans[t];
    const auto& entries = catalog::catalogs()[p.catalog].entries();
    uint32_t top = 0;
    for (const catalog::field_entry& e : entries) {
      if (e.field_id < catalog::user_field_base) top = std::max(top, e.field_id);
    }
    std::vector<accessor>& table = tables_[t];
    table.assign(entries.empty() ? 0 : top + 1, accessor{});
    std::vector<bool> seen(table.size(), false);
    // What a key resolves to depends on the key and the table alone, and
    // every open resolves the same few hundred keys: each thread keeps the
    // answers it worked out (the catalogs' keys bound how many).
    thread_local resolved_keys memo[k_table_count];
    for (const catalog::field_entry& e : entries) {
      // Ids from the user field range on are answered from the document's
      // own indexes (a user field type numbered 0 has no value to show, and
      // must not stretch the table to the range's start); a duplicate id
      // keeps its first entry.
      if (e.field_id >= catalog::user_field_base || seen[e.field_id]) continue;
      seen[e.field_id] = true;
      auto it = memo[t].find(std::u16string_view(e.key));
      if (it == memo[t].end())
        it = memo[t].emplace(e.key, listed(p.empty, e.key) ? accessor{} : resolve(p.start, e.key)).first;
      table[e.field_id] = it->second;
      if (extra_ && extra_->has_column(p.catalog, e.field_id)) table[e.field_id].extra = true;
    }
  }
}

void field_lookup::index_user_fields(const record_lists& doc) {
  user_values_.reserve(doc.udfvalue.size());
  for (const UDFVALUE& v : doc.udfvalue) {
    const uint64_t key = pair_key(v.fk_id.value, v.udf_type_id.value);
    if (user_values_.count(key)) continue;  // the first value of a record and type wins
    if (!v.type) continue;                  // not tied to a type: shows nothing
    const s_val* shown = &shared_empty_value();
    switch (v.type->logical_data_type.code) {
      case 0:  // start date
      case 1:  // end date
        shown = &v.udf_date;
        break;
      case 2:  // text
      case 6:  // static type
        shown = &v.udf_text;
        break;
      case 3:  // number with two decimals
        shown = &v.udf_number;
        break;
      case 4:  // money
        shown = &udf_costs_.emplace_back(v.udf_number.value);
        break;
      case 5: {  // integer: the whole part, held within the integer range
        const double x = v.udf_number.value;
        const double lo = std::numeric_limits<int32_t>::min();
        const double hi = std::numeric_limits<int32_t>::max();
        shown = &udf_ints_.emplace_back(static_cast<int32_t>(x != x ? 0.0 : std::clamp(x, lo, hi)));
        break;
      }
      default:
        break;
    }
    user_values_.emplace(key, shown);
  }
}

void field_lookup::index_codes(const record_lists& doc) {
  activity_codes_.reserve(doc.taskactv.size());
  project_codes_.reserve(doc.projpcat.size());
  resource_codes_.reserve(doc.rsrcrcat.size());
  for (const TASKACTV& a : doc.taskactv) {
    activity_codes_.try_emplace(pair_key(a.task_id.value, a.actv_code_type_id.value),
                                a.code ? static_cast<const s_val*>(&a.code->short_name)
                                       : &shared_empty_value());
  }
  for (const PROJPCAT& a : doc.projpcat) {
    project_codes_.try_emplace(pair_key(a.proj_id.value, a.proj_catg_type_id.value),
                               a.code ? static_cast<const s_val*>(&a.code->proj_catg_short_name)
                                      : &shared_empty_value());
  }
  for (const RSRCRCAT& a : doc.rsrcrcat) {
    resource_codes_.try_emplace(pair_key(a.rsrc_id.value, a.rsrc_catg_type_id.value),
                                a.code ? static_cast<const s_val*>(&a.code->rsrc_catg_short_name)
                                       : &shared_empty_value());
  }
}

// ---- Answering --------------------------------------------------------------

const s_val& field_lookup::answer(table_kind t, const void* record, uint32_t record_id,
                                 uint32_t field_id) const {
  const std::vector<accessor>& table = tables_[t];
  if (field_id >= table.size()) return shared_empty_value();
  const accessor& a = table[field_id];
  if (a.extra) {
    if (const s_val* v = extra_->value(catalog_of_table[t], field_id, record_id)) return *v;
  }
  if (!a.get) return shared_empty_value();
  // Records are only read here, except that a duration or quantity takes its
  // calendar's factors on being shown.
  void* p = const_cast<void*>(record);
  for (accessor::step_fn step : a.steps) {
    if (!step) break;
    p = step(p);
    if (!p) return shared_empty_value();  // a link the document did not make
  }
  s_val& v = a.get(p);
  if (a.convert) a.convert(p, v);
  return v;
}

const s_val& field_lookup::user_field(uint32_t owner_id, uint32_t field_id) const {
  auto it = user_values_.find(pair_key(owner_id, field_id - catalog::user_field_base));
  return it == user_values_.end() ? shared_empty_value() : *it->second;
}

const s_val& field_lookup::code(const std::unordered_map<uint64_t, const s_val*>& index,
                                uint32_t owner_id, uint32_t field_id, uint32_t base) const {
  auto it = index.find(pair_key(owner_id, field_id - base));
  return it == index.end() ? shared_empty_value() : *it->second;
}

namespace {
bool is_user_field(uint32_t id) {
  return id > catalog::user_field_base && id < catalog::activity_code_base;
}
}  // namespace

const s_val& field_lookup::value(const TASK& r, uint32_t field_id) const {
  if (field_id >= catalog::late_field_base) {
    auto it = late_registry().find(doc_);
    const s_val* v = it == late_registry().end() ? nullptr
                                                 : it->second->value(catalog_kind::activity, field_id, r.task_id.value);
    return v ? *v : shared_empty_value();
  }
  if (is_user_field(field_id)) return user_field(r.task_id.value, field_id);
  if (field_id > catalog::activity_code_base)
    return code(activity_codes_, r.task_id.value, field_id, catalog::activity_code_base);
  return answer(k_activity, &r, r.task_id.value, field_id);
}

const s_val& field_lookup::value(const PROJWBS& r, uint32_t field_id) const {
  if (is_user_field(field_id)) return user_field(r.wbs_id.value, field_id);
  return answer(k_wbs, &r, r.wbs_id.value, field_id);
}

const s_val& field_lookup::value(const PROJECT& r, uint32_t field_id) const {
  if (is_user_field(field_id)) return user_field(r.proj_id.value, field_id);
  if (field_id > catalog::project_code_base)
    return code(project_codes_, r.proj_id.value, field_id, catalog::project_code_base);
  return answer(k_project, &r, r.proj_id.value, field_id);
}

const s_val& field_lookup::value(const RSRC& r, uint32_t field_id) const {
  if (is_user_field(field_id)) return user_field(r.rsrc_id.value, field_id);
  if (field_id > catalog::resource_code_base)
    return code(resource_codes_, r.rsrc_id.value, field_id, catalog::resource_code_base);
  return answer(k_resource, &r, r.rsrc_id.value, field_id);
}

const s_val& field_lookup::predecessor_value(const TASKPRED& r, uint32_t field_id) const {
  return answer(k_predecessor, &r, r.task_pred_id.value, field_id);
}

const s_val& field_lookup::successor_value(const TASKPRED& r, uint32_t field_id) const {
  return answer(k_successor, &r, r.task_pred_id.value, field_id);
}

}  // namespace tessel::document
