// The "Changes" category's page: a header line (both files, their data
// dates, the finish slip) over the change lines, grouped by kind with the
// count in each group's title and sortable by any column. A click on a line
// of an activity asks the window to select it in the Activity view.
#pragma once

#include <QLabel>
#include <QTreeWidget>
#include <QWidget>

#include "view/changes/changes_table.h"

namespace tessel::app {

class ChangesPanel : public QWidget {
  Q_OBJECT

 public:
  explicit ChangesPanel(QWidget* parent = nullptr);

  // Shows `table` (its rows point into the comparison's lines, which must
  // outlive it or be replaced with an empty table first).
  void set_table(view::changes_table table);
  const view::changes_table& table() const { return table_; }
  QTreeWidget* tree() const { return tree_; }
  QLabel* header() const { return header_; }

 signals:
  // A line of this activity of the open (NEW) file was clicked.
  void activity_chosen(const tessel::document::TASK* task);

 private:
  QLabel* header_ = nullptr;
  QTreeWidget* tree_ = nullptr;
  view::changes_table table_;
};

}  // namespace tessel::app
