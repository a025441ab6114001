// Pane kinds of tessel-dump --draw. Each kind registers itself from its own
// source file with a static `draw_pane_registration`, so that adding a kind
// never touches the command itself:
//
//   tessel-dump --draw KIND [--layout NAME] [--size WxH] [--scale S]
//               [--scroll X,Y] [--select N] [--click X,Y]... [KIND OPTIONS] FILE
//
// The command opens FILE, picks the layout of the kind's category (NAME, or
// the one the category shows first), and sets up the category's table view
// in `draw_session::table_pane` with the client size, refreshed, as the
// shell would. It then asks the kind for the view to paint (`build`), hosts
// that view in `draw_session::pane` (or paints the table pane itself when
// `build` answers the table view), applies --scroll to the painted pane
// (clamped to its range, vertical moves carried to a linked pane),
// --select N to the table view's visible row N, each --click as a left
// button down then up on the kind's `click_pane` (the host refreshes the
// view after each), calls `before_paint`, paints once and prints every
// drawing call, then the line
//   # content W H range X Y scroll X Y
// for the painted pane.
//
// A kind's own options arrive through `option` before the file is opened.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "config/layout.h"
#include "view/host_pane.h"
#include "view/tessel_doc.h"
#include "view/view.h"

namespace tessel::dump {

struct draw_session {
  view::TesselDoc doc;
  view::view_kind category = view::view_kind::activity;
  view::Layout* layout = nullptr;        // the category's layout
  std::unique_ptr<view::View> table;     // the category's table view, refreshed
  view::HostPane table_pane;             // hosts `table`, client size set
  view::HostPane pane;                   // hosts what `build` answers (unless the table)
  int client_width = 0;
  int client_height = 0;
};

class draw_pane {
 public:
  virtual ~draw_pane() = default;
  // Takes the kind's option at args[i]; answers how many arguments it used
  // (0: not an option of this kind).
  virtual std::size_t option(const std::vector<std::string>& /*args*/, std::size_t /*i*/) { return 0; }
  // The view to paint, owned by the pane object (or `s.table`). Called once
  // the table is set up; may link panes or register them with each other.
  virtual view::View* build(draw_session& s) = 0;
  // The pane that --click acts on (default: the painted one).
  virtual view::HostPane& click_pane(draw_session& s);
  // Last chance before the paint (after --select and --click).
  virtual void before_paint(draw_session& /*s*/) {}
  // The painted pane; set by the command.
  view::HostPane* painted = nullptr;
};

struct draw_pane_kind {
  std::string name;  // e.g. "activity", "activity-gantt"
  view::view_kind category = view::view_kind::activity;
  std::string options_usage;  // e.g. "[--timescale CODE] [--zoom Z] [--goto]"; "" for none
  std::unique_ptr<draw_pane> (*make)() = nullptr;
};

struct draw_pane_registration {
  explicit draw_pane_registration(draw_pane_kind kind);
};

// Every registered kind, in registration order.
const std::vector<draw_pane_kind>& draw_pane_kinds();

}  // namespace tessel::dump
