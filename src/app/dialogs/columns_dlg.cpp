#include "app/dialogs/columns_dlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/dialogs/dialog_units.h"

namespace tessel::app {

namespace {

QString qstring(const std::u16string& s) {
  return QString(reinterpret_cast<const QChar*>(s.data()), static_cast<qsizetype>(s.size()));
}

std::u16string u16(const QString& s) { return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), s.size()); }

QStringList texts(const QListWidget* list) {
  QStringList out;
  for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
  return out;
}

// Selected rows, top to bottom.
std::vector<int> selected_rows(const QListWidget* list) {
  std::vector<int> rows;
  for (int i = 0; i < list->count(); ++i)
    if (list->item(i)->isSelected()) rows.push_back(i);
  return rows;
}

void select_rows(QListWidget* list, const QList<int>& rows) {
  list->clearSelection();
  for (int r : rows)
    if (r >= 0 && r < list->count()) list->item(r)->setSelected(true);
}

}  // namespace

ColumnChooserDlg::ColumnChooserDlg(view::column_target target, QWidget* parent)
    : QDialog(parent), target_(target) {
  setWindowTitle(QStringLiteral("Customize Columns"));
  setModal(true);
  auto* root = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  root->addLayout(grid, 1);
  grid->addWidget(new QLabel(QStringLiteral("Available Columns"), this), 0, 0);
  grid->addWidget(new QLabel(QStringLiteral("Inserted Columns"), this), 0, 2);
  available_ = new QListWidget(this);
  inserted_ = new QListWidget(this);
  for (QListWidget* l : {available_, inserted_}) {
    l->setSelectionMode(QAbstractItemView::ExtendedSelection);
    l->setMinimumSize(dialog_units(this, 140, 120));
  }
  filter_ = new QLineEdit(this);
  filter_->setPlaceholderText(QStringLiteral("Filter"));
  filter_->setClearButtonEnabled(true);
  grid->addWidget(filter_, 2, 0);
  grid->addWidget(available_, 1, 0);
  grid->addWidget(inserted_, 1, 2);

  auto* middle = new QVBoxLayout;
  auto* add_button = new QPushButton(QStringLiteral("Add"), this);
  auto* remove_button = new QPushButton(QStringLiteral("Remove"), this);
  middle->addStretch();
  middle->addWidget(add_button);
  middle->addWidget(remove_button);
  middle->addStretch();
  grid->addLayout(middle, 1, 1);
  grid->setColumnStretch(0, 1);
  grid->setColumnStretch(2, 1);

  auto* bottom = new QHBoxLayout;
  bottom->addStretch();
  auto* close = new QPushButton(QStringLiteral("Close"), this);
  close->setDefault(true);
  bottom->addWidget(close);
  root->addLayout(bottom);

  connect(add_button, &QPushButton::clicked, this, [this] { add(); });
  connect(remove_button, &QPushButton::clicked, this, [this] { remove(); });
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  connect(filter_, &QLineEdit::textChanged, this, [this] { refill(); });
  connect(available_, &QListWidget::itemDoubleClicked, this, [this] { add(); });
  connect(inserted_, &QListWidget::itemDoubleClicked, this, [this] { remove(); });
  refill();
}

QStringList ColumnChooserDlg::available() const { return texts(available_); }
QStringList ColumnChooserDlg::inserted() const { return texts(inserted_); }
void ColumnChooserDlg::select_available(const QList<int>& rows) { select_rows(available_, rows); }
void ColumnChooserDlg::select_inserted(const QList<int>& rows) { select_rows(inserted_, rows); }

void ColumnChooserDlg::add() {
  std::vector<std::u16string> captions;
  for (int r : selected_rows(available_)) captions.push_back(u16(available_->item(r)->text()));
  if (captions.empty()) return;
  view::add_columns(target_, captions);
  refill();
  if (changed_) changed_();
}

void ColumnChooserDlg::remove() {
  std::vector<std::size_t> positions;
  for (int r : selected_rows(inserted_)) positions.push_back(static_cast<std::size_t>(r));
  if (positions.empty()) return;
  view::remove_columns(target_, lists_, positions);
  refill();
  if (changed_) changed_();
}

void ColumnChooserDlg::set_filter(const QString& text) { filter_->setText(text); }

void ColumnChooserDlg::refill() {
  // Both lists keep their scroll positions: a long list must not jump back
  // to its top after every Add or Remove.
  const int available_at = available_->verticalScrollBar()->value();
  const int inserted_at = inserted_->verticalScrollBar()->value();
  lists_ = view::fill_column_lists(target_);
  available_->clear();
  inserted_->clear();
  for (const auto& c : view::filtered_captions(lists_.available, u16(filter_->text()))) available_->addItem(qstring(c));
  for (const auto& c : lists_.inserted) inserted_->addItem(qstring(c));
  available_->verticalScrollBar()->setValue(available_at);
  inserted_->verticalScrollBar()->setValue(inserted_at);
}

ColumnsDlg::ColumnsDlg(view::Layout* layout, QWidget* parent)
    : ColumnChooserDlg({layout, view::chooser_list::table}, parent) {}

RelationshipColumnsDlg::RelationshipColumnsDlg(view::Layout* layout, bool predecessors, QWidget* parent)
    : ColumnChooserDlg({layout, predecessors ? view::chooser_list::predecessors : view::chooser_list::successors},
                       parent) {}

}  // namespace tessel::app
