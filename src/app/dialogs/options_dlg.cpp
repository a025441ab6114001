#include "app/dialogs/options_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "app/dialogs/dialog_units.h"
#include "view/dialogs/options_pages.h"

namespace tessel::app {

namespace {

QString qstring(std::u16string_view s) {
  return QString(reinterpret_cast<const QChar*>(s.data()), static_cast<qsizetype>(s.size()));
}

std::u16string u16(const QString& s) { return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), s.size()); }

template <std::size_t N>
QComboBox* choice_list(const std::array<std::u16string_view, N>& choices, std::u16string_view current,
                       QWidget* parent) {
  auto* box = new QComboBox(parent);
  for (auto c : choices) box->addItem(qstring(c));
  box->setCurrentIndex(view::choice_index(choices, current));  // -1 selects nothing
  return box;
}

// The selected entry's text, or "" when nothing is selected.
std::u16string chosen(const QComboBox* box) { return box->currentIndex() < 0 ? std::u16string() : u16(box->currentText()); }

// A page's content sits at the top-left of its area.
QVBoxLayout* page_layout(QWidget* page) {
  auto* v = new QVBoxLayout(page);
  v->setContentsMargins(0, 0, 0, 0);
  return v;
}

// One "Units Format" / "Durations Format" group: its three controls and the
// hidden "Hours" pair, which has no part in the settings.
QGroupBox* format_group(const QString& title, QComboBox*& unit, QComboBox*& decimals, QCheckBox*& label,
                        const std::u16string& unit_text, const std::u16string& decimals_text, bool label_on,
                        QWidget* parent) {
  auto* group = new QGroupBox(title, parent);
  auto* grid = new QGridLayout(group);
  grid->addWidget(new QLabel(QStringLiteral("Unit of Time"), group), 0, 0);
  unit = choice_list(view::unit_choices, unit_text, group);
  grid->addWidget(unit, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("Decimals"), group), 1, 0);
  decimals = choice_list(view::decimals_choices, decimals_text, group);
  grid->addWidget(decimals, 1, 1);
  label = new QCheckBox(QStringLiteral("Show Duration label"), group);
  label->setChecked(label_on);
  grid->addWidget(label, 2, 0, 1, 2);
  auto* hours = new QCheckBox(QStringLiteral("Hours"), group);
  auto* hours_edit = new QLineEdit(group);
  hours->hide();
  hours_edit->hide();
  grid->setColumnStretch(2, 1);
  const int list_width = parent->fontMetrics().horizontalAdvance(QStringLiteral("Month")) * 3;
  unit->setMinimumWidth(list_width);
  decimals->setMinimumWidth(list_width);
  return group;
}

}  // namespace

UnitsPropertyPage::UnitsPropertyPage(bool document_open, QWidget* parent) : QWidget(parent) {
  const view::units_page now = view::open_units_page();
  auto* v = page_layout(this);
  auto* row = new QHBoxLayout;
  row->addWidget(format_group(QStringLiteral("Units Format"), unit_unit, unit_decimals, unit_label, now.unit_unit,
                              now.unit_decimals, now.unit_label, this));
  row->addWidget(format_group(QStringLiteral("Durations Format"), duration_unit, duration_decimals,
                              duration_label, now.duration_unit, now.duration_decimals, now.duration_label,
                              this));
  v->addLayout(row);
  v->addStretch();
  for (QWidget* w : std::initializer_list<QWidget*>{unit_unit, unit_decimals, unit_label, duration_unit,
                                                    duration_decimals, duration_label})
    w->setEnabled(document_open);
  setFocusProxy(unit_unit);
}

void UnitsPropertyPage::ok() {
  view::units_page p;
  p.unit_unit = chosen(unit_unit);
  p.unit_decimals = chosen(unit_decimals);
  p.unit_label = unit_label->isChecked();
  p.duration_unit = chosen(duration_unit);
  p.duration_decimals = chosen(duration_decimals);
  p.duration_label = duration_label->isChecked();
  view::ok_units_page(p);
}

GridlinesPropertyPage::GridlinesPropertyPage(QWidget* parent) : QWidget(parent) {
  const view::gridlines_page now = view::open_gridlines_page();
  auto* v = page_layout(this);

  auto* h_group = new QGroupBox(QStringLiteral("Horizontal Gridlines"), this);
  auto* h_row = new QHBoxLayout(h_group);
  horizontal = new QCheckBox(QStringLiteral("Show Horizontal Lines every"), h_group);
  horizontal->setChecked(now.horizontal);
  rows = new QSpinBox(h_group);
  // Any number can be typed; OK keeps it within 1 to 100.
  rows->setRange(0, 999999);
  bool is_number = false;
  const uint current = qstring(now.rows).toUInt(&is_number);
  rows->setValue(is_number && current <= 999999u ? static_cast<int>(current) : 999999);
  h_row->addWidget(horizontal);
  h_row->addWidget(rows);
  h_row->addWidget(new QLabel(QStringLiteral("Rows"), h_group));
  h_row->addStretch();
  v->addWidget(h_group);

  auto* v_group = new QGroupBox(QStringLiteral("Vertical Gridlines"), this);
  auto* v_row = new QHBoxLayout(v_group);
  vertical = new QCheckBox(QStringLiteral("Show Vertical Lines every"), v_group);
  vertical->setChecked(now.vertical);
  scale = choice_list(view::scale_choices, now.scale, v_group);
  scale->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("Month")) * 3);
  v_row->addWidget(vertical);
  v_row->addWidget(scale);
  v_row->addStretch();
  v->addWidget(v_group);
  v->addStretch();
}

void GridlinesPropertyPage::ok() {
  view::gridlines_page p;
  p.scale = chosen(scale);
  p.rows = u16(rows->cleanText());
  p.horizontal = horizontal->isChecked();
  p.vertical = vertical->isChecked();
  view::ok_gridlines_page(p);
}

LayoutsPropertyPage::LayoutsPropertyPage(QWidget* parent) : QWidget(parent) {
  auto* v = page_layout(this);
  auto* group = new QGroupBox(QStringLiteral("Layout Modifications"), this);
  auto* g = new QVBoxLayout(group);
  remember = new QCheckBox(QStringLiteral("Remember modifications on layouts"), group);
  remember->setChecked(view::open_layouts_page().remember);
  g->addWidget(remember);
  v->addWidget(group);
  // Resetting the layouts is not offered: the group and its button stay hidden.
  auto* reset_group = new QGroupBox(QStringLiteral("Reset Layouts"), this);
  auto* reset_row = new QHBoxLayout(reset_group);
  reset_row->addWidget(new QPushButton(QStringLiteral("Reset Layouts"), reset_group));
  reset_group->hide();
  v->addWidget(reset_group);
  v->addStretch();
}

void LayoutsPropertyPage::ok() { view::ok_layouts_page({remember->isChecked()}); }

OptionsDlg::OptionsDlg(bool document_open, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Options"));
  setModal(true);
  auto* root = new QVBoxLayout(this);
  auto* body = new QHBoxLayout;
  root->addLayout(body, 1);
  pages_ = new QListWidget(this);
  pages_->addItems({QStringLiteral("Time Units"), QStringLiteral("Gridlines"), QStringLiteral("Layouts")});
  pages_->setFixedWidth(150);
  body->addWidget(pages_);
  stack_ = new QStackedWidget(this);
  units_ = new UnitsPropertyPage(document_open, stack_);
  gridlines_ = new GridlinesPropertyPage(stack_);
  layouts_ = new LayoutsPropertyPage(stack_);
  stack_->addWidget(units_);
  stack_->addWidget(gridlines_);
  stack_->addWidget(layouts_);
  // The largest page (411 x 268 dialog units) sets the area.
  stack_->setMinimumSize(dialog_units(this, 300, 150));
  body->addWidget(stack_, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  root->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &OptionsDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(pages_, &QListWidget::currentRowChanged, this, [this](int row) { show_page(row); });
  pages_->setCurrentRow(0);
  units_->setFocus();
}

void OptionsDlg::show_page(int index) {
  if (index < 0 || index > 2) return;
  shown_[index] = true;
  if (pages_->currentRow() != index) pages_->setCurrentRow(index);
  stack_->setCurrentIndex(index);
}

void OptionsDlg::accept() {
  // Only the pages that were shown store their values, so that a page never
  // visited cannot change a setting (a vertical scale of Quarter, which the
  // gridlines list cannot show, stays Quarter).
  if (shown_[0]) units_->ok();
  if (shown_[1]) gridlines_->ok();
  if (shown_[2]) layouts_->ok();
  QDialog::accept();
}

}  // namespace tessel::app
