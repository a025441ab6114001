#include "view/details/code_table_views.h"

#include <utility>
#include <vector>

namespace tessel::view {
namespace {

// One row per code type, in the order of the types, for which the owner has
// a code value with a non-empty short name: the first assignment in list
// order to that type decides, as it does for the owner's code columns.
// `owner_and_type` answers an assignment's owner id and code type id.
template <class Type, class Assignment, class TypeId, class OwnerAndType, class HasValue, class MakeRow>
void list_codes(detail_table& t, const document::record_list<Type>& types,
                const document::record_list<Assignment>& assignments, uint32_t owner, TypeId type_id,
                OwnerAndType owner_and_type, HasValue has_value, MakeRow make_row) {
  // The owner's assignments, found in one pass over the list.
  std::vector<const Assignment*> own;
  for (const Assignment& a : assignments) {
    if (owner_and_type(a).first == owner) own.push_back(&a);
  }
  if (own.empty()) return;
  for (const Type& type : types) {
    const uint32_t id = type_id(type);
    for (const Assignment* a : own) {
      if (owner_and_type(*a).second != id) continue;
      if (has_value(*a)) t.add(make_row(*a));
      break;
    }
  }
}

// The three fixed columns: the code type, the value's short name, its
// description.
void fixed_columns(detail_table& t, std::u16string_view first_caption,
                   std::u16string (*cell)(const Row&, std::size_t)) {
  t.captions = {first_caption, u"Code Value", u"Description"};
  t.widths = {200.0f, 200.0f, 200.0f};
  t.cell = cell;
}

std::u16string activity_code_cell(const Row& row, std::size_t c) {
  const document::ACTVCODE* code = row.activity_code() ? row.activity_code()->code : nullptr;
  if (!code) return {};
  if (c == 0) return code->type ? code->type->actv_code_type.value : std::u16string();
  return c == 1 ? code->short_name.value : code->actv_code_name.value;
}

std::u16string project_code_cell(const Row& row, std::size_t c) {
  const document::PCATVAL* code = row.project_code() ? row.project_code()->code : nullptr;
  if (!code) return {};
  if (c == 0) return code->type ? code->type->proj_catg_type.value : std::u16string();
  return c == 1 ? code->proj_catg_short_name.value : code->proj_catg_name.value;
}

std::u16string resource_code_cell(const Row& row, std::size_t c) {
  const document::RCATVAL* code = row.resource_code() ? row.resource_code()->code : nullptr;
  if (!code) return {};
  if (c == 0) return code->type ? code->type->rsrc_catg_type.value : std::u16string();
  return c == 1 ? code->rsrc_catg_short_name.value : code->rsrc_catg_name.value;
}

}  // namespace

// ---- activity codes ----

ActivityCodeTableView::ActivityCodeTableView(View* followed) {
  table_.followed = followed;
  fixed_columns(table_, u"Activity Code", activity_code_cell);
}

void ActivityCodeTableView::refresh() {
  table_.clear();
  const Row* row = table_.record_row();
  if (const document::TASK* task = row ? row->activity() : nullptr) {
    const document::Document& doc = *table_.followed->document();
    list_codes(
        table_, doc.actvtype, doc.taskactv, task->task_id.value,
        [](const document::ACTVTYPE& t) { return t.actv_code_type_id.value; },
        [](const document::TASKACTV& a) { return std::pair(a.task_id.value, a.actv_code_type_id.value); },
        [](const document::TASKACTV& a) { return a.code && !a.code->short_name.value.empty(); },
        [](const document::TASKACTV& a) { return std::make_unique<ActivityCodeRow>(a); });
  }
  rebuild_visible(table_.root.get());
}

// ---- project codes ----

ProjectCodeTableView::ProjectCodeTableView(View* followed) {
  table_.followed = followed;
  fixed_columns(table_, u"Project Code", project_code_cell);
}

void ProjectCodeTableView::refresh() {
  table_.clear();
  const Row* row = table_.record_row();
  if (const document::PROJECT* project = row ? row->project() : nullptr) {
    const document::Document& doc = *table_.followed->document();
    list_codes(
        table_, doc.pcattype, doc.projpcat, project->proj_id.value,
        [](const document::PCATTYPE& t) { return t.proj_catg_type_id.value; },
        [](const document::PROJPCAT& a) { return std::pair(a.proj_id.value, a.proj_catg_type_id.value); },
        [](const document::PROJPCAT& a) { return a.code && !a.code->proj_catg_short_name.value.empty(); },
        [](const document::PROJPCAT& a) { return std::make_unique<ProjectCodeRow>(a); });
  }
  rebuild_visible(table_.root.get());
}

// ---- resource codes ----

ResourceCodeTableView::ResourceCodeTableView(View* followed) {
  table_.followed = followed;
  fixed_columns(table_, u"Resource Code", resource_code_cell);
}

void ResourceCodeTableView::refresh() {
  table_.clear();
  const Row* row = table_.record_row();
  if (const document::RSRC* rsrc = row ? row->resource() : nullptr) {
    const document::Document& doc = *table_.followed->document();
    list_codes(
        table_, doc.rcattype, doc.rsrcrcat, rsrc->rsrc_id.value,
        [](const document::RCATTYPE& t) { return t.rsrc_catg_type_id.value; },
        [](const document::RSRCRCAT& a) { return std::pair(a.rsrc_id.value, a.rsrc_catg_type_id.value); },
        [](const document::RSRCRCAT& a) { return a.code && !a.code->rsrc_catg_short_name.value.empty(); },
        [](const document::RSRCRCAT& a) { return std::make_unique<ResourceCodeRow>(a); });
  }
  rebuild_visible(table_.root.get());
}

}  // namespace tessel::view
