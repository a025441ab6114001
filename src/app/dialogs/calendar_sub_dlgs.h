// The calendar inspector's two small dialogs: "Time Periods" (the hours of
// a day, week, month and year) and "Workweek" (the half hours of each
// weekday slot). Both show the calendar picked in "Calendar", or nothing.
#pragma once

#include <QDialog>

#include "document/records/record_lists.h"

class QLineEdit;
class QListWidget;

namespace tessel::app {

class SurfacePanel;

class CalendarTimePeriodsDlg : public QDialog {
 public:
  CalendarTimePeriodsDlg(const document::CALENDAR* cal, QWidget* parent = nullptr);
  // "Hours/Day" .. "Hours/Year" as shown.
  QString figure(int i) const;

 private:
  QLineEdit* edits_[4] = {};
};

class CalendarWorkweekDlg : public QDialog {
 public:
  CalendarWorkweekDlg(const document::CALENDAR* cal, QWidget* parent = nullptr);
  // 1 Sunday .. 7 Saturday.
  int weekday() const;
  void select_weekday(int weekday);

 private:
  const document::CALENDAR* cal_;
  QListWidget* days_ = nullptr;
  SurfacePanel* panel_ = nullptr;
};

}  // namespace tessel::app
