#include "app/ribbon_panel.h"

#include <QHBoxLayout>
#include <QResizeEvent>
#include <QScreen>
#include <QStyle>
#include <algorithm>
#include <numeric>

namespace tessel::app {

std::vector<bool> panels_to_fold(const std::vector<int>& open, const std::vector<int>& folded, int room) {
  std::vector<bool> fold(open.size(), false);
  int missing = std::accumulate(open.begin(), open.end(), 0) - room;
  for (std::size_t i = open.size(); i-- > 0 && missing > 0;) {
    if (open[i] - folded[i] < min_fold_gain) continue;
    fold[i] = true;
    missing -= open[i] - folded[i];
  }
  return fold;
}

RibbonPanel::RibbonPanel(const QString& caption, QLayout* content, QToolButton* fold_button) : button_(fold_button) {
  setObjectName(QStringLiteral("ribbonPanel"));
  column_ = new QVBoxLayout(this);
  column_->setContentsMargins(4, 4, 4, 2);
  column_->setSpacing(2);
  content->setContentsMargins(0, 0, 0, 0);
  body_ = new QWidget;
  body_->setLayout(content);
  column_->addWidget(body_, 1);

  button_->hide();
  column_->addWidget(button_, 1);
  connect(button_, &QToolButton::clicked, this, [this] { show_drop_down(); });

  caption_ = new QLabel(caption);
  caption_->setObjectName(QStringLiteral("panelCaption"));
  caption_->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
  column_->addWidget(caption_);

  // The drop-down is a child window of the panel, so it takes the theme's
  // look; its inner frame answers to the panel's name for the same rules.
  drop_ = new QFrame(this, Qt::Popup);
  drop_->setObjectName(QStringLiteral("ribbonDropDown"));
  auto* outer = new QVBoxLayout(drop_);
  outer->setContentsMargins(1, 1, 1, 1);
  auto* inner = new QFrame;
  inner->setObjectName(QStringLiteral("ribbonPanel"));
  drop_column_ = new QVBoxLayout(inner);
  drop_column_->setContentsMargins(6, 6, 6, 6);
  outer->addWidget(inner);
  // A command given from the drop-down closes it, as a menu closes; ticks
  // and fields leave it open for the next one.
  for (QToolButton* b : body_->findChildren<QToolButton*>())
    connect(b, &QToolButton::clicked, drop_, &QWidget::hide);
}

int RibbonPanel::width_around(int content) const {
  const QMargins m = column_->contentsMargins();
  return std::max(content, caption_->sizeHint().width()) + m.left() + m.right();
}

int RibbonPanel::open_width() const { return width_around(body_->sizeHint().width()); }

int RibbonPanel::folded_width() const { return width_around(button_->sizeHint().width()); }

void RibbonPanel::set_folded(bool folded) {
  if (folded == folded_) return;
  folded_ = folded;
  if (folded) {
    drop_column_->addWidget(body_);
  } else {
    drop_->hide();
    column_->insertWidget(0, body_, 1);
  }
  body_->show();  // a widget moved to another parent is hidden until shown
  button_->setVisible(folded);
  caption_->setVisible(!folded);
}

void RibbonPanel::set_marked(bool marked) {
  if (button_->property("marked").toBool() == marked) return;
  button_->setProperty("marked", marked);
  // A style sheet reads a property only when the widget is polished again.
  button_->style()->unpolish(button_);
  button_->style()->polish(button_);
}

void RibbonPanel::show_drop_down() {
  drop_->adjustSize();
  QPoint at = button_->mapToGlobal(QPoint(0, button_->height()));
  // Kept on the screen when the button stands near its right edge.
  if (const QScreen* s = button_->screen()) {
    const QRect r = s->availableGeometry();
    at.setX(std::max(r.left(), std::min(at.x(), r.right() + 1 - drop_->width())));
  }
  drop_->move(at);
  drop_->show();
}

RibbonPage::RibbonPage(const std::vector<RibbonPanel*>& panels) : panels_(panels) {
  setObjectName(QStringLiteral("ribbonPage"));
  auto* h = new QHBoxLayout(this);
  h->setContentsMargins(4, 2, 4, 2);
  h->setSpacing(0);
  for (std::size_t i = 0; i < panels.size(); ++i) {
    if (i) {
      auto* line = new QFrame;
      line->setObjectName(QStringLiteral("panelSeparator"));
      line->setFrameShape(QFrame::VLine);
      line->setFixedWidth(1);
      h->addWidget(line);
    }
    h->addWidget(panels[i]);
  }
  h->addStretch(1);
}

int RibbonPage::overhead() const {
  int panels = 0;
  for (const RibbonPanel* p : panels_) panels += p->sizeHint().width();
  return layout()->sizeHint().width() - panels;
}

void RibbonPage::fit(int width) {
  std::vector<int> open, folded;
  for (const RibbonPanel* p : panels_) {
    open.push_back(p->open_width());
    folded.push_back(p->folded_width());
  }
  const std::vector<bool> fold = panels_to_fold(open, folded, width - overhead());
  for (std::size_t i = 0; i < panels_.size(); ++i) panels_[i]->set_folded(fold[i]);
}

QSize RibbonPage::minimumSizeHint() const {
  int width = overhead();
  for (const RibbonPanel* p : panels_) width += std::min(p->open_width(), p->folded_width());
  return QSize(width, QWidget::minimumSizeHint().height());
}

void RibbonPage::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  fit(event->size().width());
}

void RibbonPage::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  fit(width());
}

}  // namespace tessel::app
