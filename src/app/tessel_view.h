// One on-screen pane: a scroll area whose viewport shows what the hosted
// View draws. Paint, scroll bars, wheel, mouse and Ctrl+C go to the pane's
// HostPane, which holds the logic; this widget only translates events and
// keeps its scroll bars in step with the pane's positions and ranges.
#pragma once

#include <QAbstractScrollArea>
#include <array>

#include "view/host_pane.h"

namespace tessel::app {

class TesselView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit TesselView(QWidget* parent = nullptr);

  view::HostPane& pane() { return pane_; }
  const view::HostPane& pane() const { return pane_; }

  // Puts the pane's copy text on the clipboard; false when there is none.
  bool copy_to_clipboard();

  // The Details pane's four child panes (Predecessors, Successors, Codes,
  // Steps), made on first use and laid out below the detail view's tab
  // strip.
  std::array<TesselView*, 4> child_panes();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  void sync_scroll_bars();
  void show_child(int shown);
  void place_children();

  view::HostPane pane_;
  bool syncing_ = false;
  std::array<TesselView*, 4> children_{};
  int shown_child_ = -1;
};

}  // namespace tessel::app
