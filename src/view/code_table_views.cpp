#include "view/code_table_views.h"

#include <utility>
#include <vector>

#include "view/display_scale.h"

namespace tessel::view {
namespace {

const std::vector<float> code_widths{200.0f, 200.0f, 200.0f};

// Every code table is 600 pixels wide (scaled) once it has something to show.
float code_table_width(const detail_table& t) {
  return t.followed && t.followed->document() && t.followed->layout() ? detail_table_width(code_widths) : 0.0f;
}

float code_table_height(const detail_table& t, const std::vector<Row*>& visible) {
  return code_table_width(t) > 0.0f ? detail_table_height(visible.size()) : 0.0f;
}

// One row per code type, in the order of the types, for which the owner has
// a code value with a non-empty short name: the first assignment in list
// order to that type decides, as it does for the owner's code columns.
// `owner_and_type` answers an assignment's owner id and code type id.
template <class Type, class Assignment, class TypeId, class OwnerOf, class Named, class MakeRow>
void list_codes(detail_table& t, const document::record_list<Type>& types,
                const document::record_list<Assignment>& assignments, uint32_t owner, TypeId type_id,
                OwnerOf owner_and_type, Named has_value, MakeRow make_row) {
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

void draw_codes(View& v, const detail_table& t, const rect_f& r, std::u16string_view first_caption,
                const detail_cell_text& cell) {
  if (!v.context().surface || code_table_width(t) <= 0.0f) return;
  const std::vector<std::u16string_view> captions{first_caption, u"Code Value", u"Description"};
  paint_detail_table(*v.context().surface, v.context(), r, captions, code_widths, v.visibleRows(), cell);
}

void click(const View& v, const std::vector<Row*>& visible, float x, float y) {
  if (y <= detail_table_line_height()) return;  // the header selects nothing
  select_detail_row(visible, x + static_cast<float>(v.context().scroll_x),
                    y + static_cast<float>(v.context().scroll_y));
}

}  // namespace

// ---- activity codes ----

ActivityCodeTableView::ActivityCodeTableView(View* followed) { table_.followed = followed; }
float ActivityCodeTableView::contentWidth() const { return code_table_width(table_); }
float ActivityCodeTableView::contentHeight() const { return code_table_height(table_, visible_); }
float ActivityCodeTableView::headerHeight() const { return detail_table_line_height(); }
float ActivityCodeTableView::rowHeight() const { return detail_table_line_height(); }

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
  deepest_ = table_.list(visible_);
}

void ActivityCodeTableView::draw(const rect_f& r) {
  draw_codes(*this, table_, r, u"Activity Code", [](const Row& row, std::size_t c) {
    const document::ACTVCODE* code = row.activity_code() ? row.activity_code()->code : nullptr;
    if (!code) return std::u16string();
    if (c == 0) return code->type ? code->type->actv_code_type.value : std::u16string();
    return c == 1 ? code->short_name.value : code->actv_code_name.value;
  });
}

bool ActivityCodeTableView::onLButtonDown(unsigned, float x, float y) {
  click(*this, visible_, x, y);
  return true;
}
bool ActivityCodeTableView::onLButtonUp(unsigned, float, float) { return true; }

// ---- project codes ----

ProjectCodeTableView::ProjectCodeTableView(View* followed) { table_.followed = followed; }
float ProjectCodeTableView::contentWidth() const { return code_table_width(table_); }
float ProjectCodeTableView::contentHeight() const { return code_table_height(table_, visible_); }
float ProjectCodeTableView::headerHeight() const { return detail_table_line_height(); }
float ProjectCodeTableView::rowHeight() const { return detail_table_line_height(); }

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
  deepest_ = table_.list(visible_);
}

void ProjectCodeTableView::draw(const rect_f& r) {
  draw_codes(*this, table_, r, u"Project Code", [](const Row& row, std::size_t c) {
    const document::PCATVAL* code = row.project_code() ? row.project_code()->code : nullptr;
    if (!code) return std::u16string();
    if (c == 0) return code->type ? code->type->proj_catg_type.value : std::u16string();
    return c == 1 ? code->proj_catg_short_name.value : code->proj_catg_name.value;
  });
}

bool ProjectCodeTableView::onLButtonDown(unsigned, float x, float y) {
  click(*this, visible_, x, y);
  return true;
}
bool ProjectCodeTableView::onLButtonUp(unsigned, float, float) { return true; }

// ---- resource codes ----

ResourceCodeTableView::ResourceCodeTableView(View* followed) { table_.followed = followed; }
float ResourceCodeTableView::contentWidth() const { return code_table_width(table_); }
float ResourceCodeTableView::contentHeight() const { return code_table_height(table_, visible_); }
float ResourceCodeTableView::headerHeight() const { return detail_table_line_height(); }
float ResourceCodeTableView::rowHeight() const { return detail_table_line_height(); }

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
  deepest_ = table_.list(visible_);
}

void ResourceCodeTableView::draw(const rect_f& r) {
  draw_codes(*this, table_, r, u"Resource Code", [](const Row& row, std::size_t c) {
    const document::RCATVAL* code = row.resource_code() ? row.resource_code()->code : nullptr;
    if (!code) return std::u16string();
    if (c == 0) return code->type ? code->type->rsrc_catg_type.value : std::u16string();
    return c == 1 ? code->rsrc_catg_short_name.value : code->rsrc_catg_name.value;
  });
}

bool ResourceCodeTableView::onLButtonDown(unsigned, float x, float y) {
  click(*this, visible_, x, y);
  return true;
}
bool ResourceCodeTableView::onLButtonUp(unsigned, float, float) { return true; }

}  // namespace tessel::view
