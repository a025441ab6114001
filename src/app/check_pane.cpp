#include "app/check_pane.h"

#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>
#include <unordered_set>

#include "analysis/check_text.h"

namespace tessel::app {

namespace {

QString text(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// A round mark in the result's colour: green pass, red fail, grey info;
// nothing for a check that does not apply.
QIcon mark(analysis::check_result r) {
  QColor c;
  switch (r) {
    case analysis::check_result::pass: c = QColor(46, 160, 67); break;
    case analysis::check_result::fail: c = QColor(207, 34, 46); break;
    case analysis::check_result::info: c = QColor(140, 140, 140); break;
    case analysis::check_result::not_applicable: return {};
  }
  QPixmap p(12, 12);
  p.fill(Qt::transparent);
  QPainter g(&p);
  g.setRenderHint(QPainter::Antialiasing);
  g.setPen(Qt::NoPen);
  g.setBrush(c);
  g.drawEllipse(QRectF(1, 1, 10, 10));
  return QIcon(p);
}

enum column { col_check, col_count, col_of, col_value, col_limit, col_result, col_count_of };

// Where a line's check lives: project index and check kind, kept on the item.
constexpr int role_project = Qt::UserRole;
constexpr int role_kind = Qt::UserRole + 1;

}  // namespace

CheckPane::CheckPane(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("checkPane"));
  setWindowTitle(QStringLiteral("Schedule Check"));
  auto* v = new QVBoxLayout(this);
  v->setContentsMargins(6, 6, 6, 6);
  v->setSpacing(4);
  baseline_ = new QLabel;
  v->addWidget(baseline_);
  tree_ = new QTreeWidget;
  tree_->setColumnCount(col_count_of);
  tree_->setHeaderLabels({QStringLiteral("Check"), QStringLiteral("Count"), QStringLiteral("Of"),
                          QStringLiteral("Value"), QStringLiteral("Limit"), QStringLiteral("Result")});
  tree_->setRootIsDecorated(false);
  tree_->setUniformRowHeights(true);
  tree_->setSelectionMode(QAbstractItemView::SingleSelection);
  tree_->header()->setStretchLastSection(false);
  for (int c = col_count; c <= col_value; ++c) tree_->headerItem()->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
  v->addWidget(tree_, 1);
  tree_->installEventFilter(this);
  connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item, int) { line_activated(item); });
  connect(tree_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item, int) { line_activated(item); });
}

void CheckPane::show_check(analysis::schedule_check check, const QString& baseline) {
  check_ = std::move(check);
  baseline_->setText(baseline.isEmpty() ? QStringLiteral("Baseline: the planned finishes of the activities")
                                        : QStringLiteral("Baseline: %1").arg(baseline));
  tree_->clear();
  QFont bold = tree_->font();
  bold.setBold(true);
  for (size_t pi = 0; pi < check_.projects.size(); ++pi) {
    const analysis::project_check& p = check_.projects[pi];
    auto* head = new QTreeWidgetItem(tree_);
    // The hour matters: work due by 08:00 is due before work due by 17:00.
    const QString date = p.data_date.has_date()
                             ? QDateTime::fromSecsSinceEpoch(p.data_date.time, Qt::UTC)
                                   .toString(QStringLiteral("dd-MMM-yyyy hh:mm"))
                             : QStringLiteral("none");
    head->setText(col_check, QStringLiteral("%1    Data date: %2").arg(text(analysis::project_name(p)), date));
    head->setFirstColumnSpanned(true);
    head->setFont(col_check, bold);
    head->setFlags(Qt::ItemIsEnabled);
    for (const analysis::check_line& l : p.lines) {
      const analysis::check_cells cells = analysis::cells_of(l);
      auto* item = new QTreeWidgetItem(tree_);
      item->setText(col_check, QStringLiteral("    ") + text(analysis::check_name(l.kind)));
      item->setText(col_count, text(cells.count));
      item->setText(col_of, text(cells.of));
      item->setText(col_value, text(cells.value));
      item->setText(col_limit, text(analysis::check_limit(l.kind)));
      item->setText(col_result, text(analysis::result_name(l.result)));
      item->setIcon(col_result, mark(l.result));
      for (int c = col_count; c <= col_value; ++c) item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
      if (l.result == analysis::check_result::not_applicable) item->setForeground(col_result, QColor(140, 140, 140));
      item->setData(col_check, role_project, static_cast<qulonglong>(pi));
      item->setData(col_check, role_kind, static_cast<int>(l.kind));
    }
  }
  // Each column as wide as its widest text, with room between numbers.
  for (int c = 0; c < col_count_of; ++c) {
    tree_->resizeColumnToContents(c);
    tree_->setColumnWidth(c, tree_->columnWidth(c) + 14);
  }
}

QString CheckPane::table_text() const { return text(analysis::check_table_tsv(check_)); }

std::vector<const document::TASK*> CheckPane::activities_of(const analysis::check_line& line) {
  std::vector<const document::TASK*> out;
  std::unordered_set<const document::TASK*> seen;
  auto add = [&](const document::TASK* t) {
    if (t && seen.insert(t).second) out.push_back(t);
  };
  for (const document::TASK* t : line.activities) add(t);
  for (const document::TASKPRED* r : line.relationships) {
    add(r->predtask);
    add(r->task);
  }
  return out;
}

void CheckPane::line_activated(QTreeWidgetItem* item) {
  const QVariant project = item ? item->data(col_check, role_project) : QVariant();
  if (!project.isValid()) return;
  const size_t pi = project.toULongLong();
  const auto kind = static_cast<analysis::check_kind>(item->data(col_check, role_kind).toInt());
  if (pi >= check_.projects.size()) return;
  const analysis::check_line& l = check_.projects[pi].lines[static_cast<size_t>(kind)];
  emit filter_requested(QStringLiteral("Check: %1").arg(text(analysis::check_name(kind))), activities_of(l));
}

bool CheckPane::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
    return QWidget::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  if (!key->matches(QKeySequence::Copy)) return QWidget::eventFilter(watched, event);
  key->accept();
  if (event->type() == QEvent::KeyPress) QApplication::clipboard()->setText(table_text());
  return true;
}

}  // namespace tessel::app
