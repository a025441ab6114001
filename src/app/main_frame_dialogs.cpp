#include "app/main_frame_dialogs.h"

#include <cstdio>

#include "app/main_frame.h"

namespace tessel::app {

bool dialogs_available() { return false; }

void open_calendar_dialog(CMainFrame&) {}

void open_column_chooser(CMainFrame&, view::view_kind) {}

void open_relationship_column_chooser(CMainFrame&, int) {}

bool open_options(CMainFrame&) { return false; }

int render_dialog(CMainFrame&, const QString& name, const QStringList&, const QString&) {
  std::fprintf(stderr, "tessel-reader: the dialog \"%s\" is not available\n", name.toUtf8().constData());
  return 2;
}

}  // namespace tessel::app
