// "Calendar": the read-only calendar inspector. Pick a calendar by type and
// name, browse its months, see a day's half hours, and open "Time Periods"
// and "Workweek". Modal; reads the open schedule's calendars, never changes
// them.
#pragma once

#include <QDialog>

#include "view/dialogs/calendar_month.h"

class QLineEdit;
class QListWidget;
class QRadioButton;

namespace tessel::app {

class SurfacePanel;

class CalendarDlg : public QDialog {
 public:
  // `doc` may be null (no schedule open); `today` is any moment of the day
  // the dialog opens on, seconds since 1970 of the local wall clock.
  CalendarDlg(const document::record_lists* doc, int64_t today, QWidget* parent = nullptr);

  // The state shown, for the headless renderer and tests.
  const view::calendar_inspector& state() const { return state_; }
  // Sets a type button as a click would, picks the list entry with `name`
  // (false when the list has none), shows a month.
  void set_kind(view::calendar_kind kind);
  bool select_name(const std::u16string& name);
  void show_month(view::month_ref m);
  void select_day(int64_t date);
  void previous_month();
  void next_month();
  // A click on the month's title: a menu of the year's months and of the
  // neighbouring years, to jump there.
  void jump_menu(const QPoint& at);

  // The open schedule's local date today, seconds since 1970.
  static int64_t local_today();

 private:
  void refill();
  void apply_selection();
  void redraw();
  void month_clicked(float x, float y);
  void open_time_periods();
  void open_workweek();

  view::calendar_inspector state_;
  QRadioButton* global_ = nullptr;
  QRadioButton* resource_ = nullptr;
  QRadioButton* project_ = nullptr;
  QListWidget* names_ = nullptr;
  QLineEdit* name_edit_ = nullptr;
  QLineEdit* base_edit_ = nullptr;
  SurfacePanel* month_ = nullptr;
  SurfacePanel* day_ = nullptr;
  bool filling_ = false;
};

}  // namespace tessel::app
