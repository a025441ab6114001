#include "app/tessel_app.h"

#include <QFileInfo>
#include <QIcon>
#include <QPixmap>
#include <QStyleFactory>
#include <cstdio>
#include <memory>

#include "analysis/logic_trace.h"
#include "analysis/where_expr.h"
#include "app/app_info.h"
#include "app/compare_session.h"
#include "app/main_frame.h"
#include "app/main_frame_dialogs.h"
#include "app/printing.h"
#include "app/qpainter_surface.h"

namespace tessel::app {
namespace {

void complain(const QString& message) { std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData()); }

}  // namespace

TesselApp::TesselApp(int& argc, char** argv) : QApplication(argc, argv) {
  setOrganizationName(organisation);
  setApplicationName(app_title);
  setApplicationDisplayName(app_title);
  setDesktopFileName(QStringLiteral("corvane-tessel-reader"));
  if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) setStyle(fusion);
  install_font_substitutes();
  setWindowIcon(QIcon::fromTheme(QStringLiteral("corvane-tessel-reader")));
}

std::unique_ptr<CMainFrame> start_main_window(const command_line& cl) {
  if (cl.scale > 0.0f) set_display_scale_override(cl.scale);
  auto frame = std::make_unique<CMainFrame>();
  if (cl.theme >= 0) frame->set_theme(static_cast<theme>(cl.theme));
  frame->show();
  if (!cl.compare_old.isEmpty()) {
    // The comparison starts once NEW is open.
    CMainFrame* f = frame.get();
    const QString other = cl.compare_old;
    const bool changes = cl.changes_category;
    auto once = std::make_shared<QMetaObject::Connection>();
    *once = QObject::connect(f, &CMainFrame::open_finished, f, [f, other, changes, once](bool accepted) {
      QObject::disconnect(*once);
      if (!accepted) return;
      if (changes)
        QObject::connect(f->comparison(), &CompareSession::compare_finished, f, [f](bool opened) {
          if (opened) f->comparison()->show_changes();
        }, Qt::SingleShotConnection);
      f->comparison()->open_other(other);
    });
  }
  if (!cl.file.isEmpty()) frame->open_file(cl.file);
  return frame;
}

// --where, --trace and --find on the Activity view.
bool apply_restriction(CMainFrame& frame, const command_line& cl) {
  ShownControl& shown = frame.shown_control();
  if (!cl.wheres.isEmpty()) {
    analysis::quick_filter all;
    for (const QString& w : cl.wheres) {
      analysis::quick_filter one;
      std::string error;
      if (!analysis::read_where(w.toStdString(), one, error)) {
        complain(QStringLiteral("tessel-reader: ") + QString::fromStdString(error));
        return false;
      }
      // The panel holds one value of each filter: a later form of a kind
      // replaces an earlier one.
      if (one.critical) all.critical = true;
      if (one.float_days) all.float_days = one.float_days;
      if (one.statuses) all.statuses = one.statuses;
      if (one.milestones) all.milestones = true;
      if (one.active_from) all.active_from = one.active_from, all.active_to = one.active_to;
      if (one.code_type) all.code_type = one.code_type, all.code_value = one.code_value;
      if (!one.text.empty()) all.text = one.text;
    }
    shown.set_filter(all);
  }
  if (!cl.trace_id.isEmpty()) {
    const document::TASK* from = analysis::activity_with_id(*frame.document(), cl.trace_id.toStdU16String());
    if (!from) {
      complain(QStringLiteral("tessel-reader: no activity with ID %1 in the file").arg(cl.trace_id));
      return false;
    }
    shown.trace_from(*from,
                     cl.direction == QLatin1String("pred") ? analysis::trace_direction::predecessors
                                                           : analysis::trace_direction::successors,
                     cl.depth);
  }
  if (!cl.find.isEmpty()) {
    shown.open_find();
    shown.find(cl.find);
  }
  return true;
}

bool prepare_headless(CMainFrame& frame, const command_line& cl) {
  frame.report_refusal = complain;
  if (cl.theme >= 0) frame.set_theme(static_cast<theme>(cl.theme));
  frame.setAttribute(Qt::WA_DontShowOnScreen);
  frame.resize(cl.size);
  frame.show();
  QApplication::processEvents();
  if (!frame.open_file_now(cl.file)) return false;
  if (!cl.compare_old.isEmpty() && !frame.comparison()->open_other_now(cl.compare_old)) return false;
  frame.set_category(cl.category);
  if (cl.changes_category) frame.comparison()->show_changes();
  if (!cl.layout.isEmpty() && !frame.select_layout(cl.category, cl.layout)) {
    complain(QStringLiteral("tessel-reader: no layout named \"%1\" in that category").arg(cl.layout));
    return false;
  }
  QApplication::processEvents();
  if (!apply_restriction(frame, cl)) return false;
  if (cl.select >= 0 && !frame.select_row(cl.select)) {
    complain(QStringLiteral("tessel-reader: the table has no row %1").arg(cl.select));
    return false;
  }
  if (!cl.details_tab.isEmpty()) {
    frame.toggle_details();
    if (!frame.show_details_tab(cl.details_tab)) {
      complain(QStringLiteral("tessel-reader: the Details pane has no tab \"%1\"").arg(cl.details_tab));
      return false;
    }
  }
  QApplication::processEvents();
  return true;
}

int run_headless(const command_line& cl) {
  if (cl.scale > 0.0f) set_display_scale_override(cl.scale);
  CMainFrame frame;
  if (!prepare_headless(frame, cl)) return 1;
  if (!cl.dialog.isEmpty()) return render_dialog(frame, cl.dialog, cl.dialog_args, cl.out);
  if (cl.mode == run_mode::print_pdf) {
    if (!write_pdf(frame, cl.out)) {
      complain(QStringLiteral("tessel-reader: cannot write ") + cl.out);
      return 1;
    }
    std::printf("%s\n", QFileInfo(cl.out).absoluteFilePath().toLocal8Bit().constData());
    return 0;
  }
  const QPixmap shot = frame.grab();
  if (!shot.save(cl.out, "PNG")) {
    complain(QStringLiteral("tessel-reader: cannot write ") + cl.out);
    return 1;
  }
  return 0;
}

}  // namespace tessel::app
