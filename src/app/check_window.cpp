// The window's side of the schedule check: the "Check" command, the docked
// pane, and refreshing it when another schedule is opened.
#include "app/check_window.h"

#include <QApplication>
#include <QDockWidget>
#include <QFileInfo>
#include <QHeaderView>
#include <QPixmap>
#include <algorithm>
#include <cstdio>
#include <memory>

#include "analysis/schedule_check.h"
#include "analysis/shown_activities.h"
#include "app/check_pane.h"
#include "app/compare_session.h"
#include "app/main_frame.h"

namespace tessel::app {

namespace {

// The open comparison's other file is the baseline while there is one (it
// is the OLD side, the open schedule the NEW one); else the planned finishes.
const analysis::schedule_match* baseline_of(const CMainFrame& frame) {
  const CompareSession* c = frame.comparison();
  return c && c->active() ? c->match() : nullptr;
}

void check_into(CheckPane& pane, const CMainFrame& frame) {
  const analysis::schedule_match* baseline = baseline_of(frame);
  pane.show_check(analysis::check_schedule(*frame.document(), baseline),
                  baseline ? QFileInfo(frame.comparison()->other_path()).fileName() : QString());
}

}  // namespace

void CMainFrame::show_check() {
  if (!doc_) return;
  if (!check_dock_) {
    check_pane_ = new CheckPane;
    check_dock_ = new QDockWidget(QStringLiteral("Schedule Check"), this);
    check_dock_->setObjectName(QStringLiteral("checkDock"));
    check_dock_->setWidget(check_pane_);
    addDockWidget(Qt::BottomDockWidgetArea, check_dock_);
    connect(compare_, &CompareSession::compare_finished, this, [this] { refresh_check(); });
    connect(compare_, &CompareSession::compare_closed, this, [this] { refresh_check(); });
    connect(check_pane_, &CheckPane::filter_requested, this,
            [this](const QString& label, const std::vector<const document::TASK*>& tasks) {
              show_check_line(label, tasks);
            });
  }
  check_into(*check_pane_, *this);
  check_dock_->show();
  check_dock_->raise();
}

void CMainFrame::show_check_line(const QString& label, const std::vector<const document::TASK*>& tasks) {
  if (!doc_) return;
  set_category(view::view_kind::activity);
  show_activities(std::make_shared<analysis::shown_activities>(
      analysis::shown_of(*doc_->document(), tasks, label.toStdU16String())));
}

void CMainFrame::refresh_check() {
  if (!check_pane_) return;
  if (check_dock_->isVisible() && doc_)
    check_into(*check_pane_, *this);
  else
    check_pane_->show_check({}, QString());
}

int render_check(CMainFrame& frame, const QString& out_png) {
  if (!frame.document()) {
    std::fprintf(stderr, "tessel-reader: no schedule to check\n");
    return 2;
  }
  CheckPane pane;
  check_into(pane, frame);
  // Every column at its width, every line of up to three projects.
  QTreeWidget* tree = pane.tree();
  int width = 0;
  for (int c = 0; c < tree->columnCount(); ++c) width += tree->columnWidth(c);
  pane.resize(std::max(width + 24, 420), 400);
  pane.show();
  QApplication::processEvents();
  const int last = std::min(tree->topLevelItemCount(), 3 * 19) - 1;
  if (last >= 0) {
    const int below = tree->visualItemRect(tree->topLevelItem(last)).bottom() - tree->viewport()->height();
    pane.resize(pane.width(), pane.height() + below + 4);
    QApplication::processEvents();
  }
  const QPixmap shot = pane.grab();
  pane.hide();
  if (!shot.save(out_png, "PNG")) {
    std::fprintf(stderr, "tessel-reader: cannot write %s\n", out_png.toUtf8().constData());
    return 2;
  }
  return 0;
}

}  // namespace tessel::app
