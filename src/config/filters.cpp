#include "config/filters.h"

#include "catalog/field_catalog.h"
#include "values/enums.h"
#include "values/s_quantity.h"
#include "values/s_scalars.h"

namespace tessel::view {

// ---- Groups and entries -------------------------------------------------------

FilterGroup::FilterGroup(int32_t mode) : mode_(mode) {}
FilterGroup::~FilterGroup() = default;

FilterEntry& FilterGroup::add(std::unique_ptr<FilterEntry> entry) {
  entries_.push_back(std::move(entry));
  return *entries_.back();
}

bool FilterGroup::Evaluate(const field_source& row) const {
  // Every entry is evaluated, without stopping early, so that an entry's
  // evaluation is never skipped depending on the order of the others.
  const bool any = is_or();
  bool result = !any;
  for (const auto& e : entries_) {
    const bool r = e->Evaluate(row);
    if (any && r) result = true;
    if (!any && !r) result = false;
  }
  return result;
}

FilterEntry::FilterEntry(uint32_t field_id, int32_t op)
    : FilterGroup(filter_modes::all), field_id_(field_id), op_(op) {}
FilterEntry::~FilterEntry() = default;

void FilterEntry::add_value(const s_val& v) { values_.push_back(v.clone()); }

bool FilterEntry::Evaluate(const field_source& row) const {
  if (values_.empty()) return true;
  const s_val& v = row.field_value(field_id_);
  const s_val& first = *values_.front();
  switch (op_) {
    case filter_ops::equal: return v.equal(first);
    case filter_ops::not_equal: return v.not_equal(first);
    case filter_ops::less_than: return v.less(first);
    default: return true;
  }
}

void filter_lists::clear() {
  activity.clear();
  wbs.clear();
  project.clear();
}

// ---- The predefined filters ---------------------------------------------------

namespace {

using catalog::catalog_kind;

// Builds one predefined filter: entries are added by field key, the
// comparison value being a value of the type the records hold for that field.
class filter_builder {
 public:
  filter_builder(std::vector<std::unique_ptr<PredefinedFilter>>& list, catalog_kind catalog,
                 std::u16string name, int32_t mode)
      : catalog_(catalog) {
    auto f = std::make_unique<PredefinedFilter>();
    f->name = std::move(name);
    f->group = std::make_unique<FilterGroup>(mode);
    filter_ = f.get();
    list.push_back(std::move(f));
  }

  filter_builder& add(std::u16string_view key, int32_t op, const s_val& value) {
    // A field the catalog does not know adds no entry (the catalogs are built
    // before the filters, so this only happens when they were not).
    const catalog::field_entry* e = catalog::find_field(catalog_, key);
    if (!e) return *this;
    auto entry = std::make_unique<FilterEntry>(e->field_id, op);
    entry->add_value(value);
    filter_->group->add(std::move(entry));
    return *this;
  }

 private:
  catalog_kind catalog_;
  PredefinedFilter* filter_;
};

// Enumerated codes the filters test.
namespace status {
constexpr int32_t completed = 0, in_progress = 1, not_started = 2;
}
namespace task_type {
constexpr int32_t task_dependent = 0, resource_dependent = 1, level_of_effort = 2,
                  start_milestone = 3, finish_milestone = 4, wbs_summary = 5;
}
namespace node_type {
constexpr int32_t wbs = 0, project = 1, eps = 2;
}
constexpr int32_t project_what_if = 4;

}  // namespace

void BuildPredefinedFilters(filter_lists& lists) {
  using namespace filter_ops;
  constexpr int32_t OR = filter_modes::any;
  constexpr int32_t AND = filter_modes::all;
  auto& act = lists.activity;
  const catalog_kind A = catalog_kind::activity;
  const s_bool yes(true);

  filter_builder(act, A, u"Completed", OR)
      .add(u"status_code", equal, s_activity_status(status::completed));
  filter_builder(act, A, u"Critical", OR).add(u"critical_flag", equal, yes);
  {
    filter_builder f(act, A, u"Has Finish Constraint", OR);
    for (int32_t c : {6, 7, 8, 9}) f.add(u"cstr_type", equal, s_constraint_type(c));
    for (int32_t c : {6, 7, 8, 9}) f.add(u"cstr_type2", equal, s_constraint_type(c));
  }
  {
    filter_builder f(act, A, u"Has Start Constraint", OR);
    for (int32_t c : {2, 3, 4, 5}) f.add(u"cstr_type", equal, s_constraint_type(c));
    for (int32_t c : {2, 3, 4, 5}) f.add(u"cstr_type2", equal, s_constraint_type(c));
  }
  filter_builder(act, A, u"In Progress", OR)
      .add(u"status_code", equal, s_activity_status(status::in_progress));
  filter_builder(act, A, u"Level of Effort", OR)
      .add(u"task_type", equal, s_activity_type(task_type::level_of_effort));
  // The longest-path filter shares its name with the status filter above;
  // lookups by name always find the status one.
  filter_builder(act, A, u"In Progress", AND)
      .add(u"driving_path_flag", equal, yes)
      .add(u"status_code", not_equal, s_activity_status(status::completed));
  filter_builder(act, A, u"Milestone", OR)
      .add(u"task_type", equal, s_activity_type(task_type::start_milestone))
      .add(u"task_type", equal, s_activity_type(task_type::finish_milestone));
  // Total float below a zero duration (8, 40, 172 and 2000 hours per day,
  // week, month and year; the factors do not enter the comparison).
  filter_builder(act, A, u"Negative Float", OR).add(u"total_float_hr_cnt", less_than, s_dur(0.0));
  // The status of the activity's project, as its WBS element carries it.
  filter_builder(act, A, u"Non What-If", OR)
      .add(u"projwbs\\7Cstatus_code", not_equal, s_project_status(project_what_if));
  filter_builder(act, A, u"Non-critical", OR).add(u"critical_flag", not_equal, yes);
  filter_builder(act, A, u"Normal", OR)
      .add(u"task_type", equal, s_activity_type(task_type::task_dependent))
      .add(u"task_type", equal, s_activity_type(task_type::resource_dependent))
      .add(u"task_type", equal, s_activity_type(task_type::wbs_summary));
  filter_builder(act, A, u"Not Started", OR)
      .add(u"status_code", equal, s_activity_status(status::not_started));

  filter_builder(lists.wbs, catalog_kind::wbs, u"All Projects", OR)
      .add(u"node_type", equal, s_node_type(node_type::project));
  filter_builder(lists.wbs, catalog_kind::wbs, u"WBS Elements below Project", OR)
      .add(u"node_type", equal, s_node_type(node_type::wbs));

  filter_builder(lists.project, catalog_kind::project, u"All Projects", OR)
      .add(u"node_type", equal, s_node_type(node_type::project));
  filter_builder(lists.project, catalog_kind::project, u"All EPS Elements", OR)
      .add(u"node_type", equal, s_node_type(node_type::eps));
}

const PredefinedFilter* FindActivityFilter(const filter_lists& lists, std::u16string_view name) {
  // Thirteen fixed entries: a scan in creation order keeps the first match.
  for (const auto& f : lists.activity)
    if (f->name == name) return f.get();
  return nullptr;
}

}  // namespace tessel::view
