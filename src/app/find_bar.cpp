#include "app/find_bar.h"

#include <QHBoxLayout>
#include <QKeyEvent>

namespace tessel::app {

FindBar::FindBar(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("findBar"));
  auto* h = new QHBoxLayout(this);
  h->setContentsMargins(6, 2, 6, 2);
  h->setSpacing(4);
  auto* label = new QLabel(QStringLiteral("Find:"));
  edit_ = new QLineEdit;
  edit_->setPlaceholderText(QStringLiteral("Activity ID or name"));
  edit_->setFixedWidth(260);
  edit_->setClearButtonEnabled(true);
  edit_->installEventFilter(this);
  count_ = new QLabel;
  count_->setMinimumWidth(90);
  auto button = [](const QString& text, const QString& tip) {
    auto* b = new QToolButton;
    b->setText(text);
    b->setToolTip(tip);
    b->setAutoRaise(true);
    return b;
  };
  previous_ = button(QStringLiteral("Previous"), QStringLiteral("Previous match (Shift+F3)"));
  next_ = button(QStringLiteral("Next"), QStringLiteral("Next match (F3)"));
  close_ = button(QStringLiteral("\u00d7"), QStringLiteral("Close the find bar (Esc)"));
  h->addWidget(label);
  h->addWidget(edit_);
  h->addWidget(previous_);
  h->addWidget(next_);
  h->addWidget(count_);
  h->addStretch(1);
  h->addWidget(close_);
  connect(edit_, &QLineEdit::textEdited, this, &FindBar::text_edited);
  connect(previous_, &QToolButton::clicked, this, [this] { emit step(false); });
  connect(next_, &QToolButton::clicked, this, [this] { emit step(true); });
  connect(close_, &QToolButton::clicked, this, [this] { emit closed(); });
}

void FindBar::show_count(int current, int total) {
  if (edit_->text().isEmpty()) count_->clear();
  else if (total == 0) count_->setText(QStringLiteral("No matches"));
  else count_->setText(QStringLiteral("%1 of %2").arg(current + 1).arg(total));
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      emit step(!(key->modifiers() & Qt::ShiftModifier));
      return true;
    }
    if (key->key() == Qt::Key_Escape) {
      emit closed();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace tessel::app
