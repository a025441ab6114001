// "Options": the three options pages in list look, a page list on the left
// and the chosen page on the right, with OK and Cancel. OK runs the OK
// handler of every page the user has shown (each stores its values and
// writes "Settings.cfg"); Cancel changes nothing.
#pragma once

#include <QDialog>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QListWidget;
class QSpinBox;
class QStackedWidget;

namespace tessel::app {

class UnitsPropertyPage : public QWidget {
 public:
  // Without a schedule the page shows the values but nothing can be changed.
  UnitsPropertyPage(bool document_open, QWidget* parent = nullptr);
  void ok();

  QComboBox* unit_unit = nullptr;
  QComboBox* unit_decimals = nullptr;
  QCheckBox* unit_label = nullptr;
  QComboBox* duration_unit = nullptr;
  QComboBox* duration_decimals = nullptr;
  QCheckBox* duration_label = nullptr;
};

class GridlinesPropertyPage : public QWidget {
 public:
  explicit GridlinesPropertyPage(QWidget* parent = nullptr);
  void ok();

  QCheckBox* horizontal = nullptr;
  QSpinBox* rows = nullptr;
  QCheckBox* vertical = nullptr;
  QComboBox* scale = nullptr;
};

class LayoutsPropertyPage : public QWidget {
 public:
  explicit LayoutsPropertyPage(QWidget* parent = nullptr);
  void ok();

  QCheckBox* remember = nullptr;
};

class OptionsDlg : public QDialog {
 public:
  OptionsDlg(bool document_open, QWidget* parent = nullptr);

  // 0 "Time Units", 1 "Gridlines", 2 "Layouts".
  void show_page(int index);
  UnitsPropertyPage* units() const { return units_; }
  GridlinesPropertyPage* gridlines() const { return gridlines_; }
  LayoutsPropertyPage* layouts() const { return layouts_; }

  void accept() override;

 private:
  QListWidget* pages_ = nullptr;
  QStackedWidget* stack_ = nullptr;
  UnitsPropertyPage* units_ = nullptr;
  GridlinesPropertyPage* gridlines_ = nullptr;
  LayoutsPropertyPage* layouts_ = nullptr;
  bool shown_[3] = {true, false, false};
};

}  // namespace tessel::app
