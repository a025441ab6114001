#include "app/compare_session.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QProgressBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include "app/compare_changes_panel.h"
#include "app/main_frame.h"
#include "app/ribbon_icons.h"
#include "view/gantt/gantt_view.h"

namespace tessel::app {

CompareSession::CompareSession(CMainFrame& frame) : QObject(&frame), frame_(frame) {
  progress_text_ = new QLabel;
  progress_ = new QProgressBar;
  progress_->setRange(0, 0);
  progress_->setFixedWidth(160);
  progress_->setMaximumHeight(14);
  progress_->setTextVisible(false);
  frame_.statusBar()->addPermanentWidget(progress_text_);
  frame_.statusBar()->addPermanentWidget(progress_);
  progress_text_->hide();
  progress_->hide();
  file_controls& f = frame_.ribbon()->file();
  connect(f.compare, &QToolButton::clicked, this, [this] { choose_file(); });
  connect(f.close_compare, &QToolButton::clicked, this, [this] { close(); });
  connect(frame_.ribbon()->tabs(), &QTabBar::currentChanged, this, [this](int index) { on_tab(index); });
  update_buttons();
}

CompareSession::~CompareSession() {
  // The Gantt chart and the schedule's columns let go of the comparison
  // before it goes.
  if (auto* g = dynamic_cast<view::GanttView*>(frame_.view_at(views::activity_gantt))) g->show_other_bars(nullptr);
  if (frame_.document()) document::attach_late_values(*frame_.document(), nullptr);
}

void CompareSession::choose_file() {
  if (!frame_.document()) return;
  const QString path = QFileDialog::getOpenFileName(&frame_, QStringLiteral("Compare With"),
                                                    QFileInfo(frame_.file_path()).absolutePath(),
                                                    QStringLiteral("Tessel Files (*.xer *.xls)"));
  if (!path.isEmpty()) open_other(path);
}

void CompareSession::open_other(const QString& path) {
  if (!frame_.document()) return;
  if (document::sniff_schedule(path.toStdU16String()) == document::schedule_format::none) {
    if (frame_.report_refusal)
      frame_.report_refusal(QString::fromStdU16String(view::refusal_message(path.toStdU16String())));
    emit compare_finished(false);
    return;
  }
  const quint64 generation = next_generation_++;
  generation_ = generation;
  const QFileInfo info(path);
  progress_text_->setText(QStringLiteral("Opening %1 to compare (%2 MB) - Esc cancels")
                              .arg(info.fileName())
                              .arg(static_cast<double>(info.size()) / 1048576.0, 0, 'f', 1));
  progress_text_->show();
  progress_->show();
  auto* watcher = new QFutureWatcher<opened_schedule*>(this);
  connect(watcher, &QFutureWatcher<opened_schedule*>::finished, this, [this, watcher, generation] {
    std::unique_ptr<opened_schedule> result(watcher->result());
    watcher->deleteLater();
    finish(std::move(result), generation);
  });
  watcher->setFuture(QtConcurrent::run([path] { return read_schedule(path).release(); }));
}

bool CompareSession::open_other_now(const QString& path) {
  if (!frame_.document()) return false;
  generation_ = 0;
  std::unique_ptr<opened_schedule> result = read_schedule(path);
  if (!result->accepted) {
    if (frame_.report_refusal)
      frame_.report_refusal(QString::fromStdU16String(view::refusal_message(path.toStdU16String())));
    return false;
  }
  adopt(std::move(result));
  return true;
}

bool CompareSession::cancel() {
  if (!generation_) return false;
  generation_ = 0;
  progress_->hide();
  progress_text_->hide();
  frame_.statusBar()->showMessage(QStringLiteral("Comparison cancelled"), 4000);
  return true;
}

void CompareSession::finish(std::unique_ptr<opened_schedule> opened, quint64 generation) {
  if (!opened || generation != generation_ || !frame_.document()) {
    // Cancelled, replaced, or the window's schedule went meanwhile: a big
    // schedule is freed off the window's thread.
    if (opened) QThreadPool::globalInstance()->start([p = opened.release()] { delete p; });
    emit compare_finished(false);
    return;
  }
  generation_ = 0;
  progress_->hide();
  progress_text_->hide();
  if (!opened->accepted) {
    if (frame_.report_refusal)
      frame_.report_refusal(QString::fromStdU16String(view::refusal_message(opened->path.toStdU16String())));
    emit compare_finished(false);
    return;
  }
  adopt(std::move(opened));
  emit compare_finished(true);
}

void CompareSession::install_stack() {
  if (stack_) return;
  // The panes and the Changes page take turns in the window's centre.
  QWidget* panes = frame_.takeCentralWidget();
  stack_ = new QStackedWidget;
  stack_->addWidget(panes);
  panel_ = new ChangesPanel;
  stack_->addWidget(panel_);
  frame_.setCentralWidget(stack_);
  connect(panel_, &ChangesPanel::activity_chosen, this, [this](const document::TASK* t) { select_activity(t); });
}

void CompareSession::adopt(std::unique_ptr<opened_schedule> opened) {
  close();
  other_ = std::move(opened);
  const document::Document& old_doc = *other_->doc->document();
  match_ = std::make_unique<analysis::schedule_match>(analysis::match_schedules(old_doc, *frame_.document()));
  lines_ = analysis::compare_schedules(*match_);
  columns_ = std::make_unique<analysis::compare_columns>(*match_);
  document::attach_late_values(*frame_.document(), columns_.get());
  analysis::offer_compare_columns(true);

  install_stack();
  panel_->set_table(view::build_changes_table(lines_, *match_, QFileInfo(other_->path).fileName().toStdU16String(),
                                              QFileInfo(frame_.file_path()).fileName().toStdU16String()));
  auto* close_button = Ribbon::make_big_button(QStringLiteral("Close Comparison"), static_cast<int>(glyph::exit),
                                               QStringLiteral("End the comparison"));
  connect(close_button, &QToolButton::clicked, this, [this] { close(); });
  tab_ = frame_.ribbon()->add_extra_tab(QStringLiteral("Changes"),
                                        Ribbon::button_page(QStringLiteral("Comparison"), {close_button}));
  frame_.ribbon()->set_icon_ink(theme_icon_ink(frame_.current_theme()));
  if (auto* g = dynamic_cast<view::GanttView*>(frame_.view_at(views::activity_gantt))) g->show_other_bars(match_.get());
  frame_.repaint_panes();
  frame_.statusBar()->showMessage(
      QStringLiteral("Compared with %1: %2 changes").arg(QFileInfo(other_->path).fileName()).arg(lines_.size()), 6000);
  update_buttons();
}

void CompareSession::close() {
  if (!other_) return;
  if (auto* g = dynamic_cast<view::GanttView*>(frame_.view_at(views::activity_gantt))) g->show_other_bars(nullptr);
  if (stack_) stack_->setCurrentIndex(0);
  if (panel_) panel_->set_table({});
  if (tab_ >= 0) frame_.ribbon()->remove_extra_tab(tab_);
  tab_ = -1;
  if (frame_.document()) document::attach_late_values(*frame_.document(), nullptr);
  analysis::offer_compare_columns(false);
  columns_.reset();
  lines_.clear();
  match_.reset();
  // The other schedule can be large: freed off the window's thread.
  QThreadPool::globalInstance()->start([p = other_.release()] { delete p; });
  frame_.repaint_panes();
  update_buttons();
  emit compare_closed();
}

bool CompareSession::show_changes() {
  if (!active() || tab_ < 0) return false;
  frame_.ribbon()->tabs()->setCurrentIndex(tab_);
  return showing_changes();
}

bool CompareSession::showing_changes() const { return stack_ && panel_ && stack_->currentWidget() == panel_; }

void CompareSession::on_tab(int index) {
  if (!stack_) return;
  if (tab_ >= 0 && index == tab_)
    stack_->setCurrentWidget(panel_);
  else if (index >= 1 && index <= 4)
    stack_->setCurrentIndex(0);
}

void CompareSession::select_activity(const document::TASK* task) {
  if (!task) return;
  // The Activity tab first: it puts the panes back in place of this page.
  frame_.set_category(view::view_kind::activity);
  frame_.go_to_activity(*task);
}

void CompareSession::update_buttons() {
  file_controls& f = frame_.ribbon()->file();
  f.close_compare->setEnabled(active());
}

}  // namespace tessel::app
