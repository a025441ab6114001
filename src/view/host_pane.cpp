#include "view/host_pane.h"

#include <algorithm>
#include <cmath>

namespace tessel::view {
namespace {

constexpr int line_step = 20;
constexpr int page_step = 100;
constexpr uint32_t pane_white = rgb(255, 255, 255);
constexpr std::size_t max_repaint_panes = 5;

// The far end of a scroll bar: the content may run 10 pixels past the
// client area so that the last line is never flush with the border.
int range_end(float content, int client) {
  const float v = content - static_cast<float>(client) + 10.0f;
  return v > 0.0f ? static_cast<int>(v) : 0;
}

}  // namespace

void HostPane::add_repaint_pane(HostPane* pane) {
  if (!pane || repaint_panes_.size() >= max_repaint_panes) return;
  repaint_panes_.push_back(pane);
}

void HostPane::set_children(const std::array<HostPane*, 4>& panes, const std::array<View*, 4>& views) {
  children_ = panes;
  child_views_ = views;
}

int HostPane::layout_children() {
  const int wanted = view_ ? view_->childPaneIndex() : -1;
  int shown = -1;
  if (wanted >= 0 && wanted < 4) {
    const auto i = static_cast<std::size_t>(wanted);
    if (children_[i] && child_views_[i]) {
      children_[i]->set_view(child_views_[i]);
      child_views_[i]->refresh();
      shown = wanted;
    }
  }
  shown_child_ = shown;
  if (on_children_changed) on_children_changed(shown);
  if (shown >= 0) children_[static_cast<std::size_t>(shown)]->request_repaint();
  return shown;
}

void HostPane::set_client_size(int width, int height) {
  client_w_ = std::max(0, width);
  client_h_ = std::max(0, height);
  update_ranges();
  // The linked pane's vertical range depends on this pane's height too.
  if (linked_) linked_->update_ranges();
}

int HostPane::vertical_range() const {
  if (!view_) return 0;
  // Linked panes share one vertical range, so that a position means the
  // same rows in both even when only one of them shows a horizontal scroll
  // bar: the taller content seen through the smaller client area.
  if (linked_ && linked_->view_ && linked_->client_h_ > 0 && client_h_ > 0)
    return range_end(std::max(view_->contentHeight(), linked_->view_->contentHeight()),
                     std::min(client_h_, linked_->client_h_));
  return range_end(view_->contentHeight(), client_h_);
}

void HostPane::update_ranges() {
  const int old_rx = range_x_, old_ry = range_y_, old_px = pos_x_, old_py = pos_y_;
  if (view_) {
    range_x_ = range_end(view_->contentWidth(), client_w_);
    range_y_ = vertical_range();
  } else {
    range_x_ = 0;
    range_y_ = 0;
  }
  // A scroll bar never keeps a position beyond its range.
  pos_x_ = std::clamp(pos_x_, 0, range_x_);
  pos_y_ = std::clamp(pos_y_, 0, range_y_);
  if ((old_rx != range_x_ || old_ry != range_y_ || old_px != pos_x_ || old_py != pos_y_) && on_scroll_changed)
    on_scroll_changed();
}

void HostPane::set_scroll_pos(scroll_bar bar, int position) {
  int& pos = bar == scroll_bar::horizontal ? pos_x_ : pos_y_;
  const int range = bar == scroll_bar::horizontal ? range_x_ : range_y_;
  const int clamped = std::clamp(position, 0, range);
  if (clamped == pos) return;
  pos = clamped;
  if (on_scroll_changed) on_scroll_changed();
}

void HostPane::scroll(scroll_bar bar, scroll_action action, int position) {
  const int pos = scroll_pos(bar);
  const int range = scroll_range(bar);
  int next = pos;
  switch (action) {
    case scroll_action::line_up: next = pos - line_step; break;
    case scroll_action::line_down: next = pos + line_step; break;
    case scroll_action::page_up: next = pos - page_step; break;
    case scroll_action::page_down: next = pos + page_step; break;
    case scroll_action::thumb: next = position; break;
    case scroll_action::top: next = 0; break;
    case scroll_action::bottom: next = range; break;
  }
  set_scroll_pos(bar, next);
  if (bar == scroll_bar::vertical && linked_) {
    // The linked pane's range may not have been worked out since its view
    // last changed.
    linked_->update_ranges();
    linked_->set_scroll_pos(scroll_bar::vertical, pos_y_);
    linked_->request_repaint();
  }
  request_repaint();
}

void HostPane::wheel(int delta) {
  // A move past an end stops at that end: the first row can always be
  // brought back under the header.
  if (pos_y_ < 0 || pos_y_ > range_y_) return;
  set_scroll_pos(scroll_bar::vertical, std::clamp(pos_y_ - delta / 6, 0, range_y_));
  if (linked_) {
    linked_->update_ranges();
    linked_->set_scroll_pos(scroll_bar::vertical, pos_y_);
    linked_->request_repaint();
  }
  request_repaint();
}

void HostPane::wheel_sideways(int delta) {
  set_scroll_pos(scroll_bar::horizontal, std::clamp(pos_x_ - delta / 6, 0, range_x_));
  request_repaint();
}

void HostPane::scroll_into_view(int index) {
  if (!view_ || index < 0) return;
  update_ranges();
  const float row_h = view_->rowHeight();
  const float top = static_cast<float>(index) * row_h;  // below the header
  const float sight = static_cast<float>(client_h_) - view_->headerHeight();
  int pos = pos_y_;
  if (top < static_cast<float>(pos)) pos = static_cast<int>(std::floor(top));
  else if (top + row_h > static_cast<float>(pos) + sight) pos = static_cast<int>(std::ceil(top + row_h - sight));
  scroll(scroll_bar::vertical, scroll_action::thumb, pos);
}

void HostPane::key_down(nav_key key) {
  if (!view_) return;
  if (view_->isGantt()) {
    if (linked_ && linked_->view_ && !linked_->view_->isGantt()) linked_->key_down(key);
    return;
  }
  const float row_h = view_->rowHeight();
  const int page = row_h > 0.0f ? static_cast<int>((static_cast<float>(client_h_) - view_->headerHeight()) / row_h) : 1;
  if (!view_->onKeyDown(key, std::max(1, page))) return;
  update_ranges();
  if (linked_) linked_->update_ranges();
  scroll_into_view(view_->selectedIndex());
  request_repaint();
  if (linked_) linked_->request_repaint();
  for (HostPane* p : repaint_panes_) p->request_repaint();
  if (details_) details_->layout_children();
}

void HostPane::paint(paint_surface& surface) {
  surface.fill_rect({0.0f, 0.0f, static_cast<float>(client_w_), static_cast<float>(client_h_)}, pane_white);
  if (!view_) {
    update_ranges();
    return;
  }
  drawing_context& dc = view_->context();
  dc.surface = &surface;
  dc.scroll_x = pos_x_;
  dc.scroll_y = pos_y_;
  update_ranges();
  view_->draw({0.0f, 0.0f, static_cast<float>(client_w_), static_cast<float>(client_h_)});
  dc.surface = nullptr;
  // A paint may size a column (the first paint after a layout was applied).
  update_ranges();
}

void HostPane::prepare_mouse() {
  drawing_context& dc = view_->context();
  dc.surface = nullptr;
  dc.scroll_x = pos_x_;
  dc.scroll_y = pos_y_;
  dc.cursor = cursor_shape::arrow;
}

void HostPane::take_cursor() {
  const cursor_shape c = view_->context().cursor;
  cursor_ = c;
  if (on_cursor) on_cursor(c);
}

void HostPane::mouse_move(unsigned flags, float x, float y) {
  if (!view_) return;
  prepare_mouse();
  const bool repaint = view_->onMouseMove(flags, x, y);
  take_cursor();
  if (repaint) request_repaint();
}

void HostPane::left_button_down(unsigned flags, float x, float y) {
  if (!view_) return;
  prepare_mouse();
  view_->onLButtonDown(flags, x, y);
  take_cursor();
  view_->refresh();
  update_ranges();
  request_repaint();
  if (linked_) linked_->request_repaint();
  for (HostPane* p : repaint_panes_) p->request_repaint();
}

void HostPane::left_button_up(unsigned flags, float x, float y) {
  if (!view_) return;
  prepare_mouse();
  view_->onLButtonUp(flags, x, y);
  take_cursor();
  view_->refresh();
  update_ranges();
  request_repaint();
  if (linked_) linked_->request_repaint();
  if (details_) details_->layout_children();
  if (view_->isActivityDetail() || view_->isProjectDetail() || view_->isResourceDetail()) layout_children();
}

void HostPane::left_button_double_click(unsigned flags, float x, float y, paint_surface& measure) {
  if (!view_) return;
  prepare_mouse();
  view_->context().surface = &measure;
  const bool changed = view_->onLButtonDblClk(flags, x, y);
  view_->context().surface = nullptr;
  take_cursor();
  if (!changed) return;
  update_ranges();
  request_repaint();
  if (linked_) linked_->request_repaint();
}

std::u16string HostPane::copy_text() const { return view_ ? view_->selectionText() : std::u16string(); }

void HostPane::request_repaint() {
  if (on_repaint) on_repaint();
}

}  // namespace tessel::view
