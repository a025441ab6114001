#include "app/main_frame_dialogs.h"

#include <cstdio>

#include "app/check_window.h"
#include "app/dialogs/calendar_dlg.h"
#include "app/dialogs/columns_dlg.h"
#include "app/dialogs/dialog_render.h"
#include "app/dialogs/options_dlg.h"
#include "app/main_frame.h"
#include "app/print_preview.h"

namespace tessel::app {

bool dialogs_available() { return true; }

void open_calendar_dialog(CMainFrame& frame) {
  const view::TesselDoc* doc = frame.tessel_doc();
  CalendarDlg dlg(doc ? doc->document() : nullptr, CalendarDlg::local_today(), &frame);
  dlg.exec();
}

void open_column_chooser(CMainFrame& frame, view::view_kind category) {
  view::Layout* layout = frame.current_layout(category);
  if (!layout) return;
  ColumnsDlg dlg(layout, &frame);
  bool changed = false;
  dlg.on_changed([&] { changed = true; });
  dlg.exec();
  // The table is rebuilt once, when the chooser closes.
  if (changed) frame.rebind_category();
}

void open_relationship_column_chooser(CMainFrame& frame, int kind) {
  view::Layout* layout = frame.current_layout(view::view_kind::activity);
  if (!layout) return;
  RelationshipColumnsDlg dlg(layout, kind == 0, &frame);
  bool changed = false;
  dlg.on_changed([&] { changed = true; });
  dlg.exec();
  if (changed) frame.rebind_category();
}

bool open_options(CMainFrame& frame) {
  OptionsDlg dlg(frame.tessel_doc() && frame.tessel_doc()->document(), &frame);
  return dlg.exec() == QDialog::Accepted;
}

int render_dialog(CMainFrame& frame, const QString& name, const QStringList& args, const QString& out_png) {
  if (name == QLatin1String("check")) return render_check(frame, out_png);
  if (name == QLatin1String("print-preview")) return render_print_preview(frame, out_png) ? 0 : 2;
  dialog_render_request r;
  r.out = out_png;
  r.dialog = name;
  for (int i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    const bool has_value = i + 1 < args.size();
    if (a == QLatin1String("--calendar") && has_value) r.calendar = args[++i];
    else if (a == QLatin1String("--month") && has_value) r.month = args[++i];
    else if (a == QLatin1String("--page") && has_value) r.page = args[++i];
    else r.table = a;  // columns predecessors | successors
  }
  const view::TesselDoc* doc = frame.tessel_doc();
  r.doc = doc ? doc->document() : nullptr;
  r.document_open = r.doc != nullptr;
  // The table columns of the window's category, the relationship tables of
  // its Activity layout.
  r.layout = frame.current_layout(r.table.isEmpty() ? frame.category() : view::view_kind::activity);
  const QString error = render_dialog_png(r);
  if (!error.isEmpty()) {
    std::fprintf(stderr, "tessel-reader: %s\n", error.toUtf8().constData());
    return 2;
  }
  return 0;
}

}  // namespace tessel::app
