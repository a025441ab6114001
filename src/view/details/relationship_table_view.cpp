#include "view/details/relationship_table_view.h"

#include <algorithm>

#include "catalog/field_catalog.h"

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

float RelationshipTableView::headerHeight() const { return detail_table_metrics().header_height; }
float RelationshipTableView::rowHeight() const { return detail_table_metrics().row_height; }

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
  rebuild_visible(table_.root.get());
}

namespace {

std::vector<std::u16string_view> captions_of(const std::vector<ListColumn>& list) {
  std::vector<std::u16string_view> captions;
  captions.reserve(list.size());
  for (const ListColumn& c : list) {
    const catalog::field_entry* entry = catalog::find_field(c.field_id);
    captions.push_back(entry ? std::u16string_view(entry->caption) : std::u16string_view());
  }
  return captions;
}

}  // namespace

void RelationshipTableView::draw(const rect_f& r) {
  const std::vector<ListColumn>* list = columns();
  if (!dc_.surface || !list || list->empty()) return;
  paint_detail_table(*this, table_, r, captions_of(*list), widths_of(*list),
                     [list](const Row& row, std::size_t c) { return row.field_value((*list)[c].field_id).text(); });
}

std::u16string RelationshipTableView::selectionText() const {
  const std::vector<ListColumn>* list = columns();
  if (!list || list->empty()) return {};
  return detail_table_text(*this, captions_of(*list),
                           [list](const Row& row, std::size_t c) { return row.field_value((*list)[c].field_id).text(); });
}

int RelationshipTableView::handle_at(float cx, float cy) const {
  const std::vector<ListColumn>* list = columns();
  if (!list) return -1;
  for (std::size_t i = 0; i < table_.handles.size() && i < list->size(); ++i) {
    if (table_.handles[i].contains(cx, cy)) return static_cast<int>(i);
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
    const table_metrics m = detail_table_metrics();
    float before = 0.0f;
    for (int i = 0; i < resizing_; ++i) before += m.px((*list)[static_cast<std::size_t>(i)].width);
    // As in the tables: 30 pixels at least, and the first column keeps room
    // for its rows' indentation.
    float minimum = m.px(30.0f);
    if (resizing_ == 0) minimum += m.px(20.0f) * static_cast<float>(deepestLevel());
    (*list)[static_cast<std::size_t>(resizing_)].width = std::max(cx - before, minimum) / m.scale;
    dc_.cursor = cursor_shape::size_we;
    repaint = true;
  }
  return repaint;
}

bool RelationshipTableView::onLButtonDown(unsigned, float x, float y) {
  const float cx = x + static_cast<float>(dc_.scroll_x);
  const float cy = y + static_cast<float>(dc_.scroll_y);
  resizing_ = handle_at(cx, cy);
  if (resizing_ < 0) select_detail_row(*this, x, y);
  return true;
}

bool RelationshipTableView::onLButtonUp(unsigned, float, float) {
  resizing_ = -1;
  return true;
}

}  // namespace tessel::view
