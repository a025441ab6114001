// What the window remembers from one run to the next, in the user's Qt
// settings (group "Window"): its geometry with the maximised state, the
// theme, the category shown last and both splitters' positions.
#include <QByteArray>
#include <QScreen>
#include <QSettings>
#include <QSplitter>

#include "app/app_info.h"
#include "app/main_frame.h"

namespace tessel::app {
namespace {

const QString group = QStringLiteral("Window");

}  // namespace

void CMainFrame::remember_window() const {
  QSettings s(organisation, app_title);
  s.beginGroup(group);
  s.setValue(QStringLiteral("geometry"), saveGeometry());
  s.setValue(QStringLiteral("theme"), static_cast<int>(theme_));
  s.setValue(QStringLiteral("category"), static_cast<int>(category_));
  s.setValue(QStringLiteral("rows"), outer_->saveState());
  s.setValue(QStringLiteral("columns"), inner_->saveState());
  s.endGroup();
}

void CMainFrame::recall_window() {
  QSettings s(organisation, app_title);
  s.beginGroup(group);
  if (const QByteArray g = s.value(QStringLiteral("geometry")).toByteArray(); !g.isEmpty()) {
    restoreGeometry(g);
  } else if (const QScreen* screen = this->screen()) {
    // The first start: the usual size, but within a small screen (a laptop's
    // 768 lines are fewer than the window's 800).
    resize(size().boundedTo(screen->availableGeometry().size() * 0.95));
  }
  bool ok = false;
  // Numbers outside the enumerations (a damaged or newer file) are ignored.
  if (const int t = s.value(QStringLiteral("theme")).toInt(&ok); ok && t >= 0 && t <= static_cast<int>(theme::white))
    set_theme(static_cast<theme>(t));
  if (const int c = s.value(QStringLiteral("category")).toInt(&ok); ok && c >= 0 && c < 4)
    set_category(static_cast<view::view_kind>(c));
  if (const QByteArray r = s.value(QStringLiteral("rows")).toByteArray(); !r.isEmpty()) outer_->restoreState(r);
  if (const QByteArray c = s.value(QStringLiteral("columns")).toByteArray(); !c.isEmpty()) inner_->restoreState(c);
  s.endGroup();
  update_pane_buttons();
}

}  // namespace tessel::app
