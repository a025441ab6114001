// Renders a dialog as it opens into a PNG, without showing a window
// (tessel-reader --render OUT.png --dialog NAME ...). Needs a running
// QApplication.
#pragma once

#include <QString>

#include "config/layout.h"
#include "document/records/record_lists.h"

namespace tessel::app {

struct dialog_render_request {
  QString out;     // the PNG to write
  QString dialog;  // calendar, time-periods, workweek, columns, options
  // calendar dialogs: the open schedule (null for none), the calendar to
  // pick by name, "YYYY-MM" shown instead of today's month
  const document::record_lists* doc = nullptr;
  QString calendar;
  QString month;
  // columns: the layout and which of its tables ("", "predecessors",
  // "successors")
  view::Layout* layout = nullptr;
  QString table;
  // options: whether a schedule is open, and the page shown ("time-units",
  // "gridlines", "layouts")
  bool document_open = false;
  QString page;
};

// Answers an empty text, or what went wrong ("unknown dialog ...").
QString render_dialog_png(const dialog_render_request& request);

}  // namespace tessel::app
