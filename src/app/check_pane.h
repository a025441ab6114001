// The Schedule Check pane: the 18 checks of each project of the open
// schedule with their counts, values, limits and a pass / fail / info mark,
// under the data date and the baseline the checks used. Double-clicking a
// line asks for the activities it counts to be shown; Ctrl+C copies the
// table as tessel-dump --check prints it.
#pragma once

#include <QLabel>
#include <QString>
#include <QTreeWidget>
#include <QWidget>
#include <vector>

#include "analysis/schedule_check.h"

namespace tessel::app {

class CheckPane : public QWidget {
  Q_OBJECT

 public:
  explicit CheckPane(QWidget* parent = nullptr);

  // Shows `check`; `baseline` names the baseline file ("" for the planned
  // finishes).
  void show_check(analysis::schedule_check check, const QString& baseline);
  const analysis::schedule_check& check() const { return check_; }
  QTreeWidget* tree() const { return tree_; }
  // The table as TSV, as Ctrl+C copies it.
  QString table_text() const;

  // The activities a line counts (a relationship check: both ends of its
  // relationships that are in the file), each once, in the order found.
  static std::vector<const document::TASK*> activities_of(const analysis::check_line& line);

 signals:
  // A line was double-clicked: show `activities` in the Activity view,
  // labelled "Check: NAME".
  void filter_requested(const QString& label, const std::vector<const tessel::document::TASK*>& activities);

 protected:
  // Ctrl+C in the table copies the whole table, before any shortcut of the
  // window sees it.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void line_activated(QTreeWidgetItem* item);

  QLabel* baseline_ = nullptr;
  QTreeWidget* tree_ = nullptr;
  analysis::schedule_check check_;
};

}  // namespace tessel::app
