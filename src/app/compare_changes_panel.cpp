#include "app/compare_changes_panel.h"

#include <QHeaderView>
#include <QVBoxLayout>

namespace tessel::app {
namespace {

// A change line: sorts by the core's order for the column, so the
// difference sorts by its number and ties keep the line order.
class change_item : public QTreeWidgetItem {
 public:
  explicit change_item(const view::changes_row* row) : row_(row) {
    for (int c = 0; c < view::changes_column_count; ++c) setText(c, QString::fromStdU16String(row->cells[c]));
    setTextAlignment(static_cast<int>(view::changes_column::delta), Qt::AlignRight | Qt::AlignVCenter);
  }
  const view::changes_row* row() const { return row_; }
  bool operator<(const QTreeWidgetItem& other) const override {
    const auto* o = dynamic_cast<const change_item*>(&other);
    if (!o) return QTreeWidgetItem::operator<(other);
    const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
    return view::compare_changes_rows(*row_, *o->row_, static_cast<view::changes_column>(column)) < 0;
  }

 private:
  const view::changes_row* row_;
};

// A group keeps the order of kinds whatever column sorts the lines.
class group_item : public QTreeWidgetItem {
 public:
  explicit group_item(int order) : order_(order) {}
  bool operator<(const QTreeWidgetItem& other) const override {
    const auto* o = dynamic_cast<const group_item*>(&other);
    if (!o) return QTreeWidgetItem::operator<(other);
    const bool descending = treeWidget() && treeWidget()->header()->sortIndicatorOrder() == Qt::DescendingOrder;
    return descending ? order_ > o->order_ : order_ < o->order_;
  }

 private:
  int order_;
};

}  // namespace

ChangesPanel::ChangesPanel(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("changesPanel"));
  auto* v = new QVBoxLayout(this);
  v->setContentsMargins(6, 4, 6, 4);
  v->setSpacing(4);
  header_ = new QLabel;
  header_->setObjectName(QStringLiteral("changesHeader"));
  header_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  QFont bold = header_->font();
  bold.setBold(true);
  header_->setFont(bold);
  tree_ = new QTreeWidget;
  tree_->setColumnCount(view::changes_column_count);
  QStringList titles;
  for (int c = 0; c < view::changes_column_count; ++c)
    titles << QString::fromStdU16String(view::changes_column_title(static_cast<view::changes_column>(c)));
  tree_->setHeaderLabels(titles);
  tree_->setRootIsDecorated(true);
  tree_->setUniformRowHeights(true);
  tree_->setAlternatingRowColors(true);
  tree_->setSelectionMode(QAbstractItemView::SingleSelection);
  tree_->setSortingEnabled(true);
  tree_->header()->setSortIndicator(-1, Qt::AscendingOrder);
  const int widths[view::changes_column_count] = {150, 280, 150, 170, 170, 100, 170};
  for (int c = 0; c < view::changes_column_count; ++c) tree_->setColumnWidth(c, widths[c]);
  v->addWidget(header_);
  v->addWidget(tree_, 1);
  connect(tree_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int) {
    const auto* c = dynamic_cast<const change_item*>(item);
    if (c && c->row()->line->new_task) emit activity_chosen(c->row()->line->new_task);
  });
}

void ChangesPanel::set_table(view::changes_table table) {
  tree_->clear();
  table_ = std::move(table);
  header_->setText(QString::fromStdU16String(table_.header));
  tree_->setSortingEnabled(false);
  int order = 0;
  for (const view::changes_group& g : table_.groups) {
    auto* group = new group_item(order++);
    group->setText(0, QString::fromStdU16String(g.title));
    group->setFirstColumnSpanned(true);
    QFont f = group->font(0);
    f.setBold(true);
    group->setFont(0, f);
    tree_->addTopLevelItem(group);
    group->setFirstColumnSpanned(true);
    QList<QTreeWidgetItem*> rows;
    rows.reserve(static_cast<qsizetype>(g.rows.size()));
    for (const view::changes_row& r : g.rows) rows.append(new change_item(&r));
    group->addChildren(rows);
    group->setExpanded(true);
  }
  tree_->setSortingEnabled(true);
}

}  // namespace tessel::app
