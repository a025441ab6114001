// What the window says about the file it just opened when the load report
// holds a warning: a one-line bar above the table ("This file seems cut
// short: 62 activities read, no end marker. Details..."), a warning icon in
// the status bar, and the report itself in a dialog (also reached from
// File > Info).
#pragma once

#include <QFrame>

class QLabel;
class QWidget;

namespace tessel::document {
struct load_report;
}

namespace tessel::app {

// The bar above the table; hidden until a warning is shown.
class load_notice_bar : public QFrame {
  Q_OBJECT

 public:
  explicit load_notice_bar(QWidget* parent = nullptr);
  // Shows the report's notice, or hides the bar when it has none.
  void show_for(const document::load_report& report);
  QString text() const;

 signals:
  void details_requested();

 private:
  QLabel* text_;
};

// The standard warning icon as a small status-bar label.
QLabel* make_warning_icon(QWidget* parent = nullptr);

// One line for File > Info ("XER text export, windows-1252: no warnings").
QString report_summary(const document::load_report& report);

// The whole report in a dialog over `parent`.
void show_load_report(QWidget* parent, const QString& file, const document::load_report& report);

}  // namespace tessel::app
