#include "view/view.h"

#include "rows/tree_build.h"

namespace tessel::view {

void View::set_document(const document::Document* doc) {
  if (doc == doc_) return;
  doc_ = doc;
  layout_changed();
}

void View::set_layout(Layout* layout) {
  if (layout == layout_) return;
  layout_ = layout;
  layout_changed();
}

int View::selectedIndex() const {
  if (cached_visible_version_ != visible_version_ || cached_selection_version_ != selection_version_) {
    cached_selected_ = -1;
    for (size_t i = visible_.size(); i-- > 0;) {
      if (visible_[i]->selected) {
        cached_selected_ = static_cast<int>(i);
        break;
      }
    }
    cached_visible_version_ = visible_version_;
    cached_selection_version_ = selection_version_;
  }
  return cached_selected_;
}

Row* View::selectedRow() const {
  const int i = selectedIndex();
  return i < 0 ? nullptr : visible_[static_cast<size_t>(i)];
}

void View::selectVisibleRow(int index) {
  // Only the rows marked since the list was built can hold the flag.
  for (Row* r : marked_) r->selected = false;
  marked_.clear();
  if (index >= 0 && static_cast<size_t>(index) < visible_.size()) {
    visible_[static_cast<size_t>(index)]->selected = true;
    marked_.push_back(visible_[static_cast<size_t>(index)]);
  }
  ++selection_version_;
  cached_selected_ = index >= 0 && static_cast<size_t>(index) < visible_.size() ? index : -1;
  cached_visible_version_ = visible_version_;
  cached_selection_version_ = selection_version_;
}

void View::rebuild_visible(const Row* root) {
  visible_.clear();
  deepest_ = 0;
  if (root) deepest_ = visible_rows(*root, visible_);
  marked_.clear();
  for (size_t i = 0; i < visible_.size(); ++i) {
    visible_[i]->index = static_cast<int>(i);
    if (visible_[i]->selected) marked_.push_back(visible_[i]);
  }
  ++visible_version_;
}

}  // namespace tessel::view
