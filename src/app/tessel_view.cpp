#include "app/tessel_view.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <utility>

#include "app/qpainter_surface.h"
#include "view/details/detail_view.h"

namespace tessel::app {
namespace {

unsigned mouse_flags(Qt::MouseButtons buttons) {
  return (buttons & Qt::LeftButton) ? view::mouse_left_held : 0u;
}

Qt::CursorShape qt_cursor(view::cursor_shape c) {
  switch (c) {
    case view::cursor_shape::size_we: return Qt::SizeHorCursor;
    case view::cursor_shape::move: return Qt::SizeAllCursor;
    case view::cursor_shape::arrow: break;
  }
  return Qt::ArrowCursor;
}

}  // namespace

TesselView::TesselView(QWidget* parent) : QAbstractScrollArea(parent) {
  setFrameShape(QFrame::NoFrame);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setMouseTracking(true);
  // The pane paints every pixel itself, white first.
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setAutoFillBackground(false);
  horizontalScrollBar()->setSingleStep(20);
  verticalScrollBar()->setSingleStep(20);
  horizontalScrollBar()->setPageStep(100);
  verticalScrollBar()->setPageStep(100);

  pane_.on_repaint = [this] { viewport()->update(); };
  pane_.on_scroll_changed = [this] { sync_scroll_bars(); };
  pane_.on_children_changed = [this](int shown) { show_child(shown); };
  pane_.on_cursor = [this](view::cursor_shape c) { viewport()->setCursor(qt_cursor(c)); };
}

bool TesselView::copy_to_clipboard() {
  const std::u16string text = pane_.copy_text();
  if (text.empty()) return false;
  QApplication::clipboard()->setText(QString::fromStdU16String(text));
  return true;
}

void TesselView::sync_scroll_bars() {
  if (syncing_) return;
  syncing_ = true;
  QScrollBar* h = horizontalScrollBar();
  QScrollBar* v = verticalScrollBar();
  h->setRange(0, pane_.scroll_range(view::scroll_bar::horizontal));
  v->setRange(0, pane_.scroll_range(view::scroll_bar::vertical));
  h->setPageStep(std::max(1, viewport()->width()));
  v->setPageStep(std::max(1, viewport()->height()));
  h->setValue(pane_.scroll_pos(view::scroll_bar::horizontal));
  v->setValue(pane_.scroll_pos(view::scroll_bar::vertical));
  syncing_ = false;
}

void TesselView::scrollContentsBy(int, int) {
  if (syncing_) return;
  syncing_ = true;
  // As a thumb drag: a vertical move carries over to the linked pane.
  const int h = horizontalScrollBar()->value();
  const int v = verticalScrollBar()->value();
  if (h != pane_.scroll_pos(view::scroll_bar::horizontal))
    pane_.scroll(view::scroll_bar::horizontal, view::scroll_action::thumb, h);
  if (v != pane_.scroll_pos(view::scroll_bar::vertical))
    pane_.scroll(view::scroll_bar::vertical, view::scroll_action::thumb, v);
  syncing_ = false;
  viewport()->update();
}

void TesselView::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  qpainter_surface surface(painter);
  pane_.paint(surface);
}

void TesselView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  pane_.set_client_size(viewport()->width(), viewport()->height());
  sync_scroll_bars();
  place_children();
}

void TesselView::wheelEvent(QWheelEvent* event) {
  const QPoint angle = event->angleDelta();
  // Shift turns the vertical wheel sideways, as a horizontal wheel is.
  const bool shifted = event->modifiers() & Qt::ShiftModifier;
  const int sideways = angle.x() != 0 ? angle.x() : shifted ? angle.y() : 0;
  if (sideways != 0) pane_.wheel_sideways(sideways);
  else if (angle.y() != 0) pane_.wheel(angle.y());
  event->accept();
}

void TesselView::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  if (event->button() != Qt::LeftButton) return;
  const QPointF p = event->position();
  pane_.left_button_down(mouse_flags(event->buttons()), float(p.x()), float(p.y()));
}

void TesselView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPointF p = event->position();
  pane_.left_button_up(mouse_flags(event->buttons()), float(p.x()), float(p.y()));
}

void TesselView::mouseMoveEvent(QMouseEvent* event) {
  const QPointF p = event->position();
  pane_.mouse_move(mouse_flags(event->buttons()), float(p.x()), float(p.y()));
}

void TesselView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  // Texts are measured in the pane's own font setup, on a throwaway image.
  QImage scratch(1, 1, QImage::Format_ARGB32_Premultiplied);
  QPainter painter(&scratch);
  qpainter_surface surface(painter);
  const QPointF p = event->position();
  pane_.left_button_double_click(mouse_flags(event->buttons()), float(p.x()), float(p.y()), surface);
}

void TesselView::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) {
    copy_to_clipboard();
    event->accept();
    return;
  }
  static constexpr std::pair<int, view::nav_key> keys[] = {
      {Qt::Key_Up, view::nav_key::up},           {Qt::Key_Down, view::nav_key::down},
      {Qt::Key_PageUp, view::nav_key::page_up},  {Qt::Key_PageDown, view::nav_key::page_down},
      {Qt::Key_Home, view::nav_key::home},       {Qt::Key_End, view::nav_key::end},
      {Qt::Key_Left, view::nav_key::left},       {Qt::Key_Right, view::nav_key::right},
      {Qt::Key_Return, view::nav_key::enter},    {Qt::Key_Enter, view::nav_key::enter}};
  if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
    for (const auto& [qt_key, key] : keys) {
      if (event->key() != qt_key) continue;
      pane_.key_down(key);
      event->accept();
      return;
    }
  }
  QAbstractScrollArea::keyPressEvent(event);
}

std::array<TesselView*, 4> TesselView::child_panes() {
  if (!children_[0]) {
    for (TesselView*& c : children_) {
      c = new TesselView(viewport());
      c->setFrameShape(QFrame::StyledPanel);
      c->hide();
    }
  }
  return children_;
}

void TesselView::show_child(int shown) {
  shown_child_ = shown;
  for (int i = 0; i < 4; ++i) {
    if (!children_[i]) continue;
    children_[i]->setVisible(i == shown);
  }
  place_children();
  if (shown >= 0 && children_[shown]) children_[shown]->viewport()->update();
}

void TesselView::place_children() {
  if (!children_[0]) return;
  const int top = static_cast<int>(view::DetailView::stripHeight());
  const QRect area(0, top, viewport()->width(), std::max(0, viewport()->height() - top));
  for (TesselView* c : children_) c->setGeometry(area);
}

}  // namespace tessel::app
