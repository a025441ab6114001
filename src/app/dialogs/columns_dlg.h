// "Customize Columns": the column chooser of a view's table (ColumnsDlg) and
// of the Activity view's predecessor or successor table
// (RelationshipColumnsDlg). Every Add and Remove changes the layout at once;
// there is no Cancel. The caller redraws its table after `changed` fired.
#pragma once

#include <QDialog>
#include <functional>

#include "view/dialogs/column_chooser.h"

class QLineEdit;
class QListWidget;

namespace tessel::app {

class ColumnChooserDlg : public QDialog {
 public:
  // Called after every change to the layout.
  void on_changed(std::function<void()> changed) { changed_ = std::move(changed); }

  // The lists as shown, and the buttons, for the headless renderer and tests.
  QStringList available() const;
  QStringList inserted() const;
  void select_available(const QList<int>& rows);
  void select_inserted(const QList<int>& rows);
  void add();
  void remove();
  // The "Available Columns" filter box: only captions containing the text.
  void set_filter(const QString& text);
  QListWidget* available_list() const { return available_; }

 protected:
  ColumnChooserDlg(view::column_target target, QWidget* parent);

 private:
  void refill();

  view::column_target target_;
  view::column_lists lists_;
  QLineEdit* filter_ = nullptr;
  QListWidget* available_ = nullptr;
  QListWidget* inserted_ = nullptr;
  std::function<void()> changed_;
};

class ColumnsDlg : public ColumnChooserDlg {
 public:
  // The layout's catalog follows its view kind.
  ColumnsDlg(view::Layout* layout, QWidget* parent = nullptr);
};

class RelationshipColumnsDlg : public ColumnChooserDlg {
 public:
  // An activity layout and whether its predecessor or successor table is edited.
  RelationshipColumnsDlg(view::Layout* layout, bool predecessors, QWidget* parent = nullptr);
};

}  // namespace tessel::app
