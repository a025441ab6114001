// The seventeen view objects of the window, created once at start-up in a
// fixed order and kept for the life of the program, and which of them each
// ribbon category plugs into the panes.
#pragma once

#include <array>
#include <memory>

#include "config/layout.h"
#include "view/view.h"

namespace tessel::app {

inline constexpr int view_set_size = 17;

// Positions in the set. A view whose class the program does not have is a
// null entry: its pane then paints white.
namespace views {
inline constexpr int activity_table = 0, activity_gantt = 1, activity_detail = 2, predecessors = 3,
                     successors = 4, activity_codes = 5, activity_steps = 6;
inline constexpr int wbs_table = 7, wbs_gantt = 8, wbs_detail = 9;
inline constexpr int project_table = 10, project_gantt = 11, project_detail = 12, project_codes = 13;
inline constexpr int resource_table = 14, resource_detail = 15, resource_codes = 16;
}  // namespace views

// What one category shows: its table, Gantt chart and detail view, and the
// views of the Details pane's four child panes (-1: none).
struct category_views {
  int table = -1;
  int gantt = -1;
  int detail = -1;
  std::array<int, 4> children{-1, -1, -1, -1};  // predecessors, successors, codes, steps
};
category_views views_of(view::view_kind category);

class view_set {
 public:
  // Creates the views in their fixed order; detail views get their tabs and
  // followers their table.
  view_set();
  ~view_set();
  view_set(const view_set&) = delete;
  view_set& operator=(const view_set&) = delete;

  // The view at a position, or nullptr (none there, or -1).
  view::View* at(int index) const;

 private:
  std::array<std::unique_ptr<view::View>, view_set_size> views_;
};

}  // namespace tessel::app
