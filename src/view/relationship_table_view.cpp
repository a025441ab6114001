#include "view/relationship_table_view.h"

#include <algorithm>

#include "catalog/field_catalog.h"
#include "view/display_scale.h"

namespace tessel::view {
namespace {

// Widths of the layout's list, unscaled.
std::vector<float> widths_of(const std::vector<ListColumn>& columns) {
  std::vector<float> out;
  out.reserve(columns.size());
  for (const ListColumn& c : columns) out.push_back(c.width);
  return out;
}

}  // namespace

RelationshipTableView::RelationshipTableView(int kind, View* followed) : kind_(kind) {
  table_.followed = followed;
}

std::vector<ListColumn>* RelationshipTableView::columns() const {
  if (!table_.followed) return nullptr;
  Layout* layout = table_.followed->layout();
  if (!layout || !table_.followed->document()) return nullptr;
  return layout->detail_columns(kind_ == 0 ? detail_list::predecessors : detail_list::successors);
}

float RelationshipTableView::contentWidth() const {
  const std::vector<ListColumn>* list = columns();
  return list ? detail_table_width(widths_of(*list)) : 0.0f;
}

float RelationshipTableView::contentHeight() const {
  return columns() ? detail_table_height(visible_.size()) : 0.0f;
}

float RelationshipTableView::headerHeight() const { return detail_table_line_height(); }
float RelationshipTableView::rowHeight() const { return detail_table_line_height(); }

void RelationshipTableView::refresh() {
  table_.clear();
  const Row* row = columns() ? table_.record_row() : nullptr;
  const document::TASK* task = row ? row->activity() : nullptr;
  if (task) {
    const document::field_lookup& fields = table_.followed->document()->fields();
    const bool preds = kind_ == 0;
    const auto side = preds ? RelationshipRow::side::predecessor : RelationshipRow::side::successor;
    for (const document::TASKPRED* rel : preds ? task->pred_rels : task->succ_rels) {
      table_.add(std::make_unique<RelationshipRow>(*rel, fields, side));
    }
  }
  deepest_ = table_.list(visible_);
}

void RelationshipTableView::draw(const rect_f& r) {
  const std::vector<ListColumn>* list = columns();
  if (!dc_.surface || !list || list->empty()) return;
  std::vector<std::u16string_view> captions;
  captions.reserve(list->size());
  for (const ListColumn& c : *list) {
    const catalog::field_entry* entry = catalog::find_field(c.field_id);
    captions.push_back(entry ? std::u16string_view(entry->caption) : std::u16string_view());
  }
  paint_detail_table(*dc_.surface, dc_, r, captions, widths_of(*list), visible_,
                     [list](const Row& row, std::size_t c) { return row.field_value((*list)[c].field_id).text(); });
}

int RelationshipTableView::handle_at(float cx, float cy) const {
  const std::vector<ListColumn>* list = columns();
  if (!list) return -1;
  const float s = display_scale();
  const float header_top = static_cast<float>(dc_.scroll_y);
  if (cy < header_top || cy > header_top + detail_table_line_height()) return -1;
  float right = 0.0f;
  for (std::size_t i = 0; i < list->size(); ++i) {
    right += (*list)[i].width * s;
    if (cx >= right - 2.0f * s && cx <= right + 2.0f * s) return static_cast<int>(i);
  }
  return -1;
}

bool RelationshipTableView::onMouseMove(unsigned flags, float x, float y) {
  const float cx = x + static_cast<float>(dc_.scroll_x);
  const float cy = y + static_cast<float>(dc_.scroll_y);
  bool repaint = false;
  if (handle_at(cx, cy) >= 0) {
    dc_.cursor = cursor_shape::size_we;
    repaint = true;
  }
  std::vector<ListColumn>* list = columns();
  if ((flags & mouse_left_held) && resizing_ >= 0 && list && resizing_ < static_cast<int>(list->size())) {
    const float s = display_scale();
    float before = 0.0f;
    for (int i = 0; i < resizing_; ++i) before += (*list)[static_cast<std::size_t>(i)].width * s;
    float min_w = 30.0f * s;
    if (resizing_ == 0) min_w += 20.0f * s * static_cast<float>(deepest_);
    const float w = std::max(cx - before, min_w);
    (*list)[static_cast<std::size_t>(resizing_)].width = w / s;
    dc_.cursor = cursor_shape::size_we;
    repaint = true;
  }
  return repaint;
}

bool RelationshipTableView::onLButtonDown(unsigned, float x, float y) {
  const float cx = x + static_cast<float>(dc_.scroll_x);
  const float cy = y + static_cast<float>(dc_.scroll_y);
  resizing_ = handle_at(cx, cy);
  if (resizing_ < 0 && y > detail_table_line_height()) select_detail_row(visible_, cx, cy);
  return true;
}

bool RelationshipTableView::onLButtonUp(unsigned, float, float) {
  resizing_ = -1;
  return true;
}

}  // namespace tessel::view
