// The find bar above the status bar (Ctrl+F): a text box, "k of n", the
// previous and next buttons and a close button. Enter goes to the next
// match, Shift+Enter to the previous, Esc closes the bar; what a match is
// and where it is, the window's ShownControl decides.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QWidget>

namespace tessel::app {

class FindBar : public QWidget {
  Q_OBJECT

 public:
  explicit FindBar(QWidget* parent = nullptr);

  QLineEdit* edit() const { return edit_; }
  // "k of n", "No matches" or nothing (empty text).
  void show_count(int current, int total);
  QString count_text() const { return count_->text(); }

 signals:
  void text_edited(const QString& text);
  void step(bool forward);
  void closed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLineEdit* edit_ = nullptr;
  QLabel* count_ = nullptr;
  QToolButton* previous_ = nullptr;
  QToolButton* next_ = nullptr;
  QToolButton* close_ = nullptr;
};

}  // namespace tessel::app
