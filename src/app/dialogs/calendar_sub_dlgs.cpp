#include "app/dialogs/calendar_sub_dlgs.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include "app/dialogs/dialog_units.h"
#include "app/dialogs/surface_panel.h"
#include "view/dialogs/calendar_month.h"
#include "view/dialogs/calendar_panels.h"
#include "view/display_scale.h"

namespace tessel::app {

namespace {

QString qstring(std::u16string_view s) {
  return QString(reinterpret_cast<const QChar*>(s.data()), static_cast<qsizetype>(s.size()));
}

QDialogButtonBox* ok_button(QDialog* dlg) {
  auto* box = new QDialogButtonBox(QDialogButtonBox::Ok, dlg);
  QObject::connect(box, &QDialogButtonBox::accepted, dlg, &QDialog::accept);
  return box;
}

}  // namespace

CalendarTimePeriodsDlg::CalendarTimePeriodsDlg(const document::CALENDAR* cal, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Time Periods"));
  setModal(true);
  auto* root = new QVBoxLayout(this);
  auto* group = new QGroupBox(QStringLiteral("Hours per Time Period"), this);
  auto* grid = new QGridLayout(group);
  static const char* const labels[] = {"Hours/Day", "Hours/Week", "Hours/Month", "Hours/Year"};
  const std::array<std::u16string, 4> figures = view::period_hours(cal);
  const int edit_width = dialog_units(this, 48, 0).width();
  for (int i = 0; i < 4; ++i) {
    // Two figures a row: day and week, month and year.
    const int row = i / 2;
    const int col = (i % 2) * 3;
    grid->addWidget(new QLabel(QString::fromLatin1(labels[i]), group), row, col);
    edits_[i] = new QLineEdit(qstring(figures[static_cast<std::size_t>(i)]), group);
    edits_[i]->setReadOnly(true);
    edits_[i]->setAlignment(Qt::AlignRight);
    edits_[i]->setMinimumWidth(edit_width);
    grid->addWidget(edits_[i], row, col + 1);
  }
  grid->setColumnMinimumWidth(2, dialog_units(this, 20, 0).width());
  grid->setColumnStretch(2, 1);
  root->addWidget(group);
  root->addWidget(ok_button(this));
  setMinimumWidth(dialog_units(this, 316, 0).width());
}

QString CalendarTimePeriodsDlg::figure(int i) const { return i >= 0 && i < 4 ? edits_[i]->text() : QString(); }

CalendarWorkweekDlg::CalendarWorkweekDlg(const document::CALENDAR* cal, QWidget* parent)
    : QDialog(parent), cal_(cal) {
  setWindowTitle(QStringLiteral("Workweek"));
  setModal(true);
  auto* root = new QVBoxLayout(this);
  auto* group = new QGroupBox(QStringLiteral("Calendar Weekly Hours"), this);
  auto* row = new QHBoxLayout(group);
  auto* left = new QVBoxLayout;
  left->addWidget(new QLabel(QStringLiteral("Day of the Week"), group));
  days_ = new QListWidget(group);
  for (int d = 1; d <= 7; ++d) days_->addItem(qstring(view::weekday_name(d)));
  days_->setMinimumWidth(dialog_units(this, 120, 0).width());
  left->addWidget(days_, 1);
  row->addLayout(left, 1);

  const float scale = view::display_scale();
  panel_ = new SurfacePanel(
      [this, scale](view::paint_surface& s, const view::rect_f& r) {
        view::paint_day_panel(s, r, view::weekday_grid(cal_, weekday()), scale);
      },
      group);
  panel_->set_minimum(QSize(dialog_units(this, 88, 0).width(), 25 * (fontMetrics().height() + 4)));
  row->addWidget(panel_);
  root->addWidget(group);
  root->addWidget(ok_button(this));

  connect(days_, &QListWidget::currentRowChanged, this, [this](int) { panel_->update(); });
  days_->setCurrentRow(0);  // Sunday
}

int CalendarWorkweekDlg::weekday() const { return days_->currentRow() + 1; }

void CalendarWorkweekDlg::select_weekday(int weekday) { days_->setCurrentRow(weekday - 1); }

}  // namespace tessel::app
