#include "view/host_pane.h"

#include <algorithm>

namespace tessel::view {
namespace {

int range_of(float content, int client) {
  const float r = content - static_cast<float>(client) + 10.0f;
  return r > 0.0f ? static_cast<int>(r) : 0;
}

}  // namespace

void HostPane::add_repaint_pane(HostPane* pane) {
  if (pane && repaint_panes_.size() < 5) repaint_panes_.push_back(pane);
}

void HostPane::set_children(const std::array<HostPane*, 4>& panes, const std::array<View*, 4>& views) {
  children_ = panes;
  child_views_ = views;
}

int HostPane::layout_children() {
  shown_child_ = -1;
  if (on_children_changed) on_children_changed(shown_child_);
  return shown_child_;
}

void HostPane::set_client_size(int width, int height) {
  client_w_ = std::max(0, width);
  client_h_ = std::max(0, height);
  update_ranges();
}

void HostPane::update_ranges() {
  const int rx = view_ ? range_of(view_->contentWidth(), client_w_) : 0;
  const int ry = view_ ? range_of(view_->contentHeight(), client_h_) : 0;
  const bool changed = rx != range_x_ || ry != range_y_ || pos_x_ > rx || pos_y_ > ry;
  range_x_ = rx;
  range_y_ = ry;
  pos_x_ = std::clamp(pos_x_, 0, range_x_);
  pos_y_ = std::clamp(pos_y_, 0, range_y_);
  if (changed && on_scroll_changed) on_scroll_changed();
}

void HostPane::scroll(scroll_bar bar, scroll_action action, int position) {
  const int cur = scroll_pos(bar);
  const int end = scroll_range(bar);
  int next = cur;
  switch (action) {
    case scroll_action::line_up: next = cur - 20; break;
    case scroll_action::line_down: next = cur + 20; break;
    case scroll_action::page_up: next = cur - 100; break;
    case scroll_action::page_down: next = cur + 100; break;
    case scroll_action::thumb: next = position; break;
    case scroll_action::top: next = 0; break;
    case scroll_action::bottom: next = end; break;
  }
  set_scroll_pos(bar, next);
}

void HostPane::set_scroll_pos(scroll_bar bar, int position) {
  int& pos = bar == scroll_bar::horizontal ? pos_x_ : pos_y_;
  const int next = std::clamp(position, 0, scroll_range(bar));
  if (next == pos) return;
  pos = next;
  if (on_scroll_changed) on_scroll_changed();
  request_repaint();
  if (bar == scroll_bar::vertical && linked_) {
    linked_->pos_y_ = std::clamp(next, 0, linked_->range_y_);
    if (linked_->on_scroll_changed) linked_->on_scroll_changed();
    linked_->request_repaint();
  }
}

void HostPane::wheel(int delta) {
  if (pos_y_ < 0 || pos_y_ > range_y_) return;
  set_scroll_pos(scroll_bar::vertical, pos_y_ - delta / 6);
}

void HostPane::paint(paint_surface& surface) {
  surface.fill_rect({0, 0, float(client_w_), float(client_h_)}, rgb(255, 255, 255));
  if (!view_) return;
  view_->context().surface = &surface;
  view_->context().scroll_x = pos_x_;
  view_->context().scroll_y = pos_y_;
  update_ranges();
  view_->context().scroll_x = pos_x_;
  view_->context().scroll_y = pos_y_;
  view_->draw({0, 0, float(client_w_), float(client_h_)});
  view_->context().surface = nullptr;
}

void HostPane::mouse_move(unsigned flags, float x, float y) {
  if (!view_) return;
  view_->context().scroll_x = pos_x_;
  view_->context().scroll_y = pos_y_;
  const bool repaint = view_->onMouseMove(flags, x, y);
  if (view_->context().cursor != cursor_) {
    cursor_ = view_->context().cursor;
    if (on_cursor) on_cursor(cursor_);
  }
  if (repaint) request_repaint();
}

void HostPane::left_button_down(unsigned flags, float x, float y) {
  if (!view_) return;
  view_->context().scroll_x = pos_x_;
  view_->context().scroll_y = pos_y_;
  view_->onLButtonDown(flags, x, y);
  view_->refresh();
  request_repaint();
  if (linked_) linked_->request_repaint();
  for (HostPane* p : repaint_panes_) p->request_repaint();
}

void HostPane::left_button_up(unsigned flags, float x, float y) {
  if (!view_) return;
  view_->context().scroll_x = pos_x_;
  view_->context().scroll_y = pos_y_;
  view_->onLButtonUp(flags, x, y);
  view_->refresh();
  update_ranges();
  request_repaint();
  if (linked_) linked_->request_repaint();
  if (details_) details_->layout_children();
  if (view_->isActivityDetail() || view_->isProjectDetail() || view_->isResourceDetail()) layout_children();
}

std::u16string HostPane::copy_text() const { return view_ ? view_->selectionText() : std::u16string(); }

void HostPane::request_repaint() {
  if (on_repaint) on_repaint();
}

}  // namespace tessel::view
