#include "view/view.h"

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

Row* View::selectedRow() const {
  for (auto it = visible_.rbegin(); it != visible_.rend(); ++it) {
    if ((*it)->selected) return *it;
  }
  return nullptr;
}

}  // namespace tessel::view
