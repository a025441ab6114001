// The window's dialog hooks: the calendar dialog, the column choosers and
// the options sheet, and the headless rendering of a dialog. The window
// calls these and nothing else of the dialogs; their bodies live in
// main_frame_dialogs.cpp.
//
// Contract:
// - Every hook runs on the user-interface thread and may be modal.
// - The hooks read what they need through CMainFrame's public interface:
//   tessel_doc() (null until a file is open), category(),
//   current_layout(kind), view_at(index) and the display scale.
// - After a change that alters what a view shows, a hook calls
//   frame.rebind_category() (layout columns changed) or
//   frame.repaint_panes() (display only); `open_options` instead answers
//   whether the sheet closed with OK and the frame then lets every Gantt
//   view recompute its timescale and repaints.
// - `dialogs_available()` tells the window whether the calendar and column
//   chooser hooks do anything: while it answers false the "Calendar" and
//   Table buttons stay disabled.
#pragma once

#include <QString>
#include <QStringList>

#include "config/layout.h"

namespace tessel::app {

class CMainFrame;

bool dialogs_available();

// "Calendar": the calendar dialog on the open schedule.
void open_calendar_dialog(CMainFrame& frame);
// The Table buttons: the column chooser for the main table of `category`'s
// current layout.
void open_column_chooser(CMainFrame& frame, view::view_kind category);
// "Predecessors Table" (kind 0) and "Successors Table" (kind 1): the column
// chooser of the Activity layout's relationship tables.
void open_relationship_column_chooser(CMainFrame& frame, int kind);
// "Options…" (File page and the ribbon's context menu). True when the
// sheet closed with OK.
bool open_options(CMainFrame& frame);

// `tessel-reader --render OUT.png --dialog NAME [ARG ...] FILE`: renders the
// named dialog, opened over the prepared window, to `out_png`. Answers the
// process exit code (0 written; 2 for a dialog it does not know, with a
// line on stderr).
int render_dialog(CMainFrame& frame, const QString& name, const QStringList& args, const QString& out_png);

}  // namespace tessel::app
