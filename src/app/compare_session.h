// Comparing the open schedule with another update of it (File > Compare
// With…): the other file is read on a worker like any open, with progress
// and Esc to cancel, and becomes the OLD side of the comparison while the
// open file is the NEW one. While a comparison is open the ribbon has a
// "Changes" tab, the Activity Gantt chart shows the other file's bars in
// grey under its own, and Close Comparison ends it all.
#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <vector>

#include "analysis/compare_columns.h"
#include "analysis/schedule_compare.h"
#include "app/schedule_open.h"

class QLabel;
class QProgressBar;
class QStackedWidget;

namespace tessel::app {

class CMainFrame;
class ChangesPanel;

class CompareSession : public QObject {
  Q_OBJECT

 public:
  explicit CompareSession(CMainFrame& frame);
  ~CompareSession() override;

  // Asks for the other file and opens it.
  void choose_file();
  // Reads `path` on a worker and compares once it is read; a refused file
  // is reported through the window's `report_refusal`.
  void open_other(const QString& path);
  // The same, waiting (command line, tests). Answers whether it was read.
  bool open_other_now(const QString& path);
  bool is_opening() const { return generation_ != 0; }
  // Esc: the reading's result is dropped when it comes.
  bool cancel();

  // Ends the comparison: the tab, the grey bars and the lines go. Runs
  // before the open schedule is replaced, as the lines point into it.
  void close();
  bool active() const { return other_ != nullptr; }

  // Shows the "Changes" page in place of the panes (false when no
  // comparison is open).
  bool show_changes();
  bool showing_changes() const;

  const std::vector<analysis::change_line>& lines() const { return lines_; }
  const analysis::schedule_match* match() const { return match_.get(); }
  ChangesPanel* panel() const { return panel_; }
  QString other_path() const { return other_ ? other_->path : QString(); }

 signals:
  // A comparison was opened (true) or a reading ended without one.
  void compare_finished(bool opened);
  // The comparison was closed: whatever used its other file as a baseline
  // works without it again.
  void compare_closed();

 private:
  void finish(std::unique_ptr<opened_schedule> opened, quint64 generation);
  void adopt(std::unique_ptr<opened_schedule> opened);
  void install_stack();
  void on_tab(int index);
  void select_activity(const document::TASK* task);
  void update_buttons();

  CMainFrame& frame_;
  std::unique_ptr<opened_schedule> other_;
  std::unique_ptr<analysis::schedule_match> match_;
  std::vector<analysis::change_line> lines_;
  std::unique_ptr<analysis::compare_columns> columns_;  // "Start Δ", "Finish Δ"

  QStackedWidget* stack_ = nullptr;  // the panes, or the Changes page
  ChangesPanel* panel_ = nullptr;
  int tab_ = -1;  // the "Changes" tab's index while it is there
  QLabel* progress_text_ = nullptr;
  QProgressBar* progress_ = nullptr;
  quint64 generation_ = 0;
  quint64 next_generation_ = 1;
};

}  // namespace tessel::app
