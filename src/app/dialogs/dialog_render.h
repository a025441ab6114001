// Renders a dialog as it opens into a PNG, without showing a window
// (tessel-reader --render OUT.png --dialog NAME ...). Needs a running
// QApplication.
#pragma once

#include <QString>

namespace tessel::view {
class TesselDoc;
}

namespace tessel::app {

struct dialog_render_request {
  QString out;        // the PNG to write
  QString dialog;     // calendar, time-periods, workweek, columns, relationship-columns, options
  QString category;   // columns: activity, wbs, project, resource, predecessors, successors
  QString calendar;   // calendar dialogs: the calendar to pick by name
  QString month;      // calendar: YYYY-MM shown instead of today's month
  QString page;       // options: time-units, gridlines, layouts
};

// Renders the dialog on the open schedule (`doc` may hold none). Answers an
// empty text, or what went wrong ("unknown dialog ...").
QString render_dialog_png(const dialog_render_request& request, view::TesselDoc& doc);

}  // namespace tessel::app
