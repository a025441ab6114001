// A ribbon page and its captioned panels. A page narrower than its panels
// (a laptop screen, a window beside another) folds some of them into one
// button each, which drops the panel's controls down under it; widened
// again, they open out. Nothing is ever squeezed on top of its neighbour.
#pragma once

#include <QFrame>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>
#include <vector>

namespace tessel::app {

// Which panels to fold so that panels `open` wide fit `room`; a folded one
// is `folded[i]` wide. The rightmost fold first, as ribbons do, so the
// controls on the left (the layout, the panes) stay in sight longest. A
// panel that folded would give back less than `min_fold_gain` pixels (one
// big button, say) never folds: its button would only hide itself.
constexpr int min_fold_gain = 24;
std::vector<bool> panels_to_fold(const std::vector<int>& open, const std::vector<int>& folded, int room);

class RibbonPanel : public QFrame {
  Q_OBJECT

 public:
  // `fold_button` stands for the panel while it is folded.
  RibbonPanel(const QString& caption, QLayout* content, QToolButton* fold_button);

  // The widths the panel takes open and folded.
  int open_width() const;
  int folded_width() const;
  bool folded() const { return folded_; }
  void set_folded(bool folded);
  // Shows the folded button pressed while the panel's controls restrict
  // what is shown (a filter, a trace), so no restriction hides in a fold.
  void set_marked(bool marked);

  QToolButton* fold_button() const { return button_; }
  // The drop-down the folded button opens, holding the panel's controls.
  QFrame* drop_down() const { return drop_; }

 private:
  int width_around(int content) const;
  void show_drop_down();

  QWidget* body_ = nullptr;
  QLabel* caption_ = nullptr;
  QToolButton* button_ = nullptr;
  QVBoxLayout* column_ = nullptr;
  QFrame* drop_ = nullptr;
  QVBoxLayout* drop_column_ = nullptr;
  bool folded_ = false;
};

class RibbonPage : public QWidget {
 public:
  explicit RibbonPage(const std::vector<RibbonPanel*>& panels);

  const std::vector<RibbonPanel*>& panels() const { return panels_; }
  // Folds and opens panels so that they fit `width`.
  void fit(int width);
  // As narrow as the page gets: every panel that can fold folded.
  QSize minimumSizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  // The page's width apart from its panels: margins and separators.
  int overhead() const;

  std::vector<RibbonPanel*> panels_;
};

}  // namespace tessel::app
