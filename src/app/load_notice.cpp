#include "app/load_notice.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "document/load_report.h"

namespace tessel::app {

load_notice_bar::load_notice_bar(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("loadNotice"));
  setStyleSheet(QStringLiteral("#loadNotice { background: #FFF4CE; border-bottom: 1px solid #E0C870; }"));
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(8, 3, 4, 3);
  auto* icon = new QLabel(this);
  icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(16, 16));
  text_ = new QLabel(this);
  text_->setObjectName(QStringLiteral("loadNoticeText"));
  auto* details = new QPushButton(QStringLiteral("Details..."), this);
  details->setObjectName(QStringLiteral("loadNoticeDetails"));
  details->setFlat(true);
  auto* close = new QToolButton(this);
  close->setText(QStringLiteral("x"));
  close->setToolTip(QStringLiteral("Hide this notice"));
  close->setAutoRaise(true);
  row->addWidget(icon);
  row->addWidget(text_);
  row->addWidget(details);
  row->addStretch(1);
  row->addWidget(close);
  connect(details, &QPushButton::clicked, this, &load_notice_bar::details_requested);
  connect(close, &QToolButton::clicked, this, &QWidget::hide);
  hide();
}

void load_notice_bar::show_for(const document::load_report& report) {
  const std::string notice = report.notice();
  text_->setText(QString::fromStdString(notice));
  setVisible(!notice.empty());
}

QString load_notice_bar::text() const { return isHidden() ? QString() : text_->text(); }

QLabel* make_warning_icon(QWidget* parent) {
  auto* icon = new QLabel(parent);
  icon->setObjectName(QStringLiteral("loadWarningIcon"));
  icon->setPixmap(QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(16, 16));
  icon->setToolTip(QStringLiteral("The open file may not be whole: see File > Info"));
  icon->hide();
  return icon;
}

QString report_summary(const document::load_report& report) {
  QString s = QString::fromStdString(report.format);
  if (!report.encoding.empty()) s += QStringLiteral(", ") + QString::fromStdString(report.encoding);
  s += QStringLiteral(": %1 activities").arg(report.activities);
  s += report.has_warning() ? QStringLiteral(", with warnings") : QStringLiteral(", no warnings");
  return s;
}

void show_load_report(QWidget* parent, const QString& file, const document::load_report& report) {
  QDialog dialog(parent);
  dialog.setWindowTitle(QStringLiteral("Load Report - ") + QFileInfo(file).fileName());
  auto* box = new QVBoxLayout(&dialog);
  auto* text = new QPlainTextEdit(&dialog);
  text->setReadOnly(true);
  text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  text->setPlainText(QStringLiteral("File: ") + file + QStringLiteral("\n") +
                     QString::fromStdString(document::report_text(report)));
  box->addWidget(text);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  box->addWidget(buttons);
  dialog.resize(640, 480);
  dialog.exec();
}

}  // namespace tessel::app
