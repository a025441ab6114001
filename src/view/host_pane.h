// The logic of one on-screen pane, without the window: what the shell's
// pane widget does with paint, scroll, wheel, mouse and copy, so that it can
// be tested and scripted without a window system. The widget forwards every
// event here and paints what `paint` draws; it listens to the callbacks to
// repaint itself, to update its scroll bars, to set the pointer and to show
// or hide the Details pane's child panes.
//
// A pane hosts at most one View (not owned). The table pane and the Gantt
// pane of a category are linked: the vertical scroll position of one follows
// the other. A pane may have up to five further panes that repaint after a
// click in it (the table pane registers its Details pane), and the Details
// pane has four child panes for the Predecessors, Successors, Codes and
// Steps sub-tables.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "view/paint_surface.h"
#include "view/view.h"

namespace tessel::view {

enum class scroll_bar : uint8_t { horizontal, vertical };
enum class scroll_action : uint8_t { line_up, line_down, page_up, page_down, thumb, top, bottom };

class HostPane {
 public:
  HostPane() = default;
  HostPane(const HostPane&) = delete;
  HostPane& operator=(const HostPane&) = delete;

  void set_view(View* v) { view_ = v; }
  View* view() const { return view_; }

  void set_linked(HostPane* other) { linked_ = other; }
  HostPane* linked() const { return linked_; }
  // Panes repainted after a click here (at most five are kept).
  void add_repaint_pane(HostPane* pane);
  void clear_repaint_panes() { repaint_panes_.clear(); }
  // The Details pane registered with this pane: laid out after a left button
  // up here.
  void set_details_pane(HostPane* pane) { details_ = pane; }

  // Child panes of a Details pane: 0 Predecessors, 1 Successors, 2 Codes,
  // 3 Steps, with the views they show for the current category (null: that
  // child is never shown).
  void set_children(const std::array<HostPane*, 4>& panes, const std::array<View*, 4>& views);
  // Shows the child the hosted detail view's current tab asks for (its view
  // refreshed first) and hides the others. Answers the shown child's index,
  // or -1.
  int layout_children();
  int shown_child() const { return shown_child_; }

  void set_client_size(int width, int height);
  int client_width() const { return client_w_; }
  int client_height() const { return client_h_; }

  // Scroll positions and range ends (0..range), recomputed by `paint` and
  // `update_ranges`: max(0, content - client + 10), fractions truncated.
  // Linked panes share their vertical range: the taller content and the
  // smaller client height of the two.
  int scroll_pos(scroll_bar bar) const { return bar == scroll_bar::horizontal ? pos_x_ : pos_y_; }
  int scroll_range(scroll_bar bar) const { return bar == scroll_bar::horizontal ? range_x_ : range_y_; }
  void update_ranges();
  // Line 20 px, page 100 px, thumb to `position`, top/bottom to the ends;
  // clamped to the range. A vertical move carries over to the linked pane.
  void scroll(scroll_bar bar, scroll_action action, int position = 0);
  // Sets a position directly (clamped), as go-to and tests do.
  void set_scroll_pos(scroll_bar bar, int position);
  // The vertical position moves by -delta / 6 pixels, clamped to the range.
  void wheel(int delta);

  // Horizontal wheel, or Shift with the vertical one: the horizontal
  // position moves by -delta / 6 pixels, clamped.
  void wheel_sideways(int delta);

  // A key for the hosted table (a Gantt pane hands it to its linked table
  // pane): the selection is then scrolled into view in both panes, and the
  // panes that follow a click (the Details pane) follow it too.
  void key_down(nav_key key);
  // Scrolls the visible row `index` into view (here and in the linked pane).
  void scroll_into_view(int index);

  // Fills the client area white, hands the view the surface and scroll
  // positions, updates the ranges and draws.
  void paint(paint_surface& surface);

  void mouse_move(unsigned flags, float x, float y);
  void left_button_down(unsigned flags, float x, float y);
  void left_button_up(unsigned flags, float x, float y);
  // A double click; `measure` is a surface the view may measure text on
  // (nothing is drawn on it). A view that changed repaints with its
  // linked pane.
  void left_button_double_click(unsigned flags, float x, float y, paint_surface& measure);
  // What Ctrl+C puts on the clipboard; empty: nothing is copied.
  std::u16string copy_text() const;

  // The pointer the view asked for at the last mouse event.
  cursor_shape cursor() const { return cursor_; }

  // Notifications for the widget that shows this pane.
  std::function<void()> on_repaint;         // paint me again
  std::function<void()> on_scroll_changed;  // positions or ranges changed
  std::function<void(int shown)> on_children_changed;
  std::function<void(cursor_shape)> on_cursor;

 private:
  void request_repaint();
  int vertical_range() const;
  // Hands the view the scroll offsets before a mouse event and resets the
  // pointer it may ask for; then takes the pointer it asked for.
  void prepare_mouse();
  void take_cursor();

  View* view_ = nullptr;
  HostPane* linked_ = nullptr;
  HostPane* details_ = nullptr;
  std::vector<HostPane*> repaint_panes_;
  std::array<HostPane*, 4> children_{};
  std::array<View*, 4> child_views_{};
  int shown_child_ = -1;
  int client_w_ = 0;
  int client_h_ = 0;
  int pos_x_ = 0;
  int pos_y_ = 0;
  int range_x_ = 0;
  int range_y_ = 0;
  cursor_shape cursor_ = cursor_shape::arrow;
};

}  // namespace tessel::view
