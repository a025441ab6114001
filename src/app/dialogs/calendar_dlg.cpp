#include "app/dialogs/calendar_dlg.h"

#include <QDate>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/dialogs/calendar_sub_dlgs.h"
#include "app/dialogs/dialog_units.h"
#include "app/dialogs/surface_panel.h"
#include "values/civil.h"
#include "view/dialogs/calendar_panels.h"
#include "view/display_scale.h"

namespace tessel::app {

namespace {

QString qstring(const std::u16string& s) {
  return QString(reinterpret_cast<const QChar*>(s.data()), static_cast<qsizetype>(s.size()));
}

// A legend entry: a framed square of the day colour and its label.
QWidget* legend_entry(uint32_t color, const QString& text, int side, QWidget* parent) {
  auto* box = new QWidget(parent);
  auto* row = new QHBoxLayout(box);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(side / 2);
  QPixmap square(side, side);
  square.fill(QColor::fromRgb(color & 0xFFFFFFu));
  {
    QPainter p(&square);
    p.setPen(QColor(120, 120, 120));
    p.drawRect(0, 0, side - 1, side - 1);
  }
  auto* swatch = new QLabel(box);
  swatch->setPixmap(square);
  row->addWidget(swatch);
  row->addWidget(new QLabel(text, box));
  return box;
}

}  // namespace

int64_t CalendarDlg::local_today() {
  const QDate d = QDate::currentDate();
  return civil::days_from_civil(d.year(), d.month(), d.day()) * 86400;
}

CalendarDlg::CalendarDlg(const document::record_lists* doc, int64_t today, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Calendar"));
  setModal(true);
  state_ = view::open_inspector(doc, today);

  auto* root = new QVBoxLayout(this);
  auto* body = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  root->addLayout(body);
  body->addLayout(left, 1);

  auto* group = new QGroupBox(QStringLiteral("Calendars"), this);
  auto* group_row = new QHBoxLayout(group);
  auto* radios = new QVBoxLayout;
  global_ = new QRadioButton(QStringLiteral("Global"), group);
  resource_ = new QRadioButton(QStringLiteral("Resource"), group);
  project_ = new QRadioButton(QStringLiteral("Project"), group);
  global_->setChecked(true);
  radios->addWidget(global_);
  radios->addWidget(resource_);
  radios->addWidget(project_);
  radios->addStretch();
  group_row->addLayout(radios);
  names_ = new QListWidget(group);
  names_->setSelectionMode(QAbstractItemView::SingleSelection);
  names_->setMinimumHeight(dialog_units(this, 0, 52).height());
  group_row->addWidget(names_, 1);
  left->addWidget(group);

  auto* name_row = new QHBoxLayout;
  name_row->addWidget(new QLabel(QStringLiteral("Calendar Name"), this));
  name_edit_ = new QLineEdit(this);
  name_edit_->setReadOnly(true);
  name_row->addWidget(name_edit_, 1);
  left->addLayout(name_row);

  const float scale = view::display_scale();
  month_ = new SurfacePanel(
      [this, scale](view::paint_surface& s, const view::rect_f& r) {
        view::paint_month_panel(s, r, state_.calendar, state_.month, state_.selected_date, scale);
      },
      this);
  month_->set_minimum(dialog_units(this, 201, 113));
  month_->on_click([this](float x, float y) { month_clicked(x, y); });
  left->addWidget(month_, 1);

  const int side = fontMetrics().height() - 2;
  auto* legend = new QHBoxLayout;
  legend->addWidget(legend_entry(view::standard_day_color, QStringLiteral("Standard"), side, this));
  legend->addSpacing(side);
  legend->addWidget(legend_entry(view::nonwork_day_color, QStringLiteral("Nonwork"), side, this));
  legend->addSpacing(side);
  legend->addWidget(legend_entry(view::exception_day_color, QStringLiteral("Exception"), side, this));
  legend->addStretch();
  left->addLayout(legend);

  left->addWidget(new QLabel(QStringLiteral("Inherit holidays and exceptions from Global Calendar:"), this));
  base_edit_ = new QLineEdit(this);
  base_edit_->setReadOnly(true);
  left->addWidget(base_edit_);

  day_ = new SurfacePanel(
      [this, scale](view::paint_surface& s, const view::rect_f& r) {
        view::paint_day_panel(s, r, view::date_grid(state_.calendar, state_.selected_date), scale);
      },
      this);
  // 24 hours and a heading, each row a little taller than a line of text.
  day_->set_minimum(QSize(dialog_units(this, 88, 0).width(), 25 * (fontMetrics().height() + 4)));
  body->addWidget(day_);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  auto* periods = new QPushButton(QStringLiteral("Time Periods"), this);
  auto* workweek = new QPushButton(QStringLiteral("Workweek"), this);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setDefault(true);
  buttons->addWidget(periods);
  buttons->addWidget(workweek);
  buttons->addWidget(ok);
  root->addLayout(buttons);

  connect(global_, &QRadioButton::clicked, this, [this] { set_kind(view::calendar_kind::global); });
  connect(resource_, &QRadioButton::clicked, this, [this] { set_kind(view::calendar_kind::resource); });
  connect(project_, &QRadioButton::clicked, this, [this] { set_kind(view::calendar_kind::project); });
  connect(names_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (filling_) return;
    view::select_entry(state_, row);
    apply_selection();
  });
  connect(periods, &QPushButton::clicked, this, [this] { open_time_periods(); });
  connect(workweek, &QPushButton::clicked, this, [this] { open_workweek(); });
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  refill();
}

void CalendarDlg::set_kind(view::calendar_kind kind) {
  QRadioButton* button = kind == view::calendar_kind::global     ? global_
                         : kind == view::calendar_kind::resource ? resource_
                                                                 : project_;
  button->setChecked(true);
  view::set_kind(state_, kind);
  refill();
}

bool CalendarDlg::select_name(const std::u16string& name) {
  for (std::size_t i = 0; i < state_.names.size(); ++i)
    if (state_.names[i] == name) {
      names_->setCurrentRow(static_cast<int>(i));  // applies through the list's signal
      return true;
    }
  return false;
}

void CalendarDlg::show_month(view::month_ref m) {
  view::show_month(state_, m);
  redraw();
}

void CalendarDlg::select_day(int64_t date) {
  view::select_day(state_, date);
  redraw();
}

void CalendarDlg::previous_month() {
  view::show_previous_month(state_);
  redraw();
}

void CalendarDlg::next_month() {
  view::show_next_month(state_);
  redraw();
}

void CalendarDlg::refill() {
  filling_ = true;
  names_->clear();
  for (const std::u16string& n : state_.names) names_->addItem(qstring(n));
  if (state_.selected >= 0) names_->setCurrentRow(state_.selected);
  filling_ = false;
  apply_selection();
}

void CalendarDlg::apply_selection() {
  name_edit_->setText(qstring(state_.name_text));
  base_edit_->setText(qstring(state_.base_text));
  redraw();
}

void CalendarDlg::redraw() {
  month_->update();
  day_->update();
}

void CalendarDlg::month_clicked(float x, float y) {
  const view::rect_f area{0, 0, static_cast<float>(month_->width() - 1), static_cast<float>(month_->height() - 1)};
  const view::month_hit hit = view::hit_month_panel(view::month_panel_layout(area, state_.month), x, y);
  switch (hit.what) {
    case view::month_hit::kind::previous: previous_month(); break;
    case view::month_hit::kind::next: next_month(); break;
    case view::month_hit::kind::day: select_day(hit.date); break;
    case view::month_hit::kind::title: jump_menu(month_->mapToGlobal(QPoint(int(x), int(y)))); break;
    case view::month_hit::kind::none: break;
  }
}

void CalendarDlg::jump_menu(const QPoint& at) {
  QMenu menu(this);
  const view::month_ref now = state_.month;
  for (int m = 1; m <= 12; ++m) {
    QAction* a = menu.addAction(qstring(std::u16string(view::month_name(m))));
    a->setCheckable(true);
    a->setChecked(m == now.month);
    connect(a, &QAction::triggered, this, [this, now, m] { show_month({now.year, m}); });
  }
  menu.addSeparator();
  QMenu* years = menu.addMenu(QStringLiteral("Year"));
  for (int64_t y = now.year - 10; y <= now.year + 10; ++y) {
    QAction* a = years->addAction(QString::number(static_cast<qlonglong>(y)));
    a->setCheckable(true);
    a->setChecked(y == now.year);
    connect(a, &QAction::triggered, this, [this, now, y] { show_month({y, now.month}); });
  }
  menu.exec(at);
}

void CalendarDlg::open_time_periods() {
  CalendarTimePeriodsDlg dlg(state_.calendar, this);
  dlg.exec();
}

void CalendarDlg::open_workweek() {
  CalendarWorkweekDlg dlg(state_.calendar, this);
  dlg.exec();
}

}  // namespace tessel::app
