// The paper and orientation chosen once (in the Print dialog or Page Setup)
// are what the preview plans with and what an exported PDF's pages measure.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPrinter>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "app/app_info.h"
#include "frame_fixture.h"
#include "app/print_preview.h"
#include "app/printing.h"

namespace tessel::app {
namespace {

using PageSetup = frame_fixture;

void forget_page_layout() {
  QSettings s(organisation, app_title);
  for (const char* key : {"Print/PageSize", "Print/PageSizeMillimeters", "Print/Orientation"})
    s.remove(QLatin1String(key));
}

TEST_F(PageSetup, TheChosenPaperRulesPreviewAndPdf) {
  forget_page_layout();
  const QSize first = preview_page_size();
  EXPECT_GT(first.width(), first.height());  // landscape until someone says otherwise

  QPageLayout chosen = page_layout();
  chosen.setPageSize(QPageSize(QPageSize::A3));
  chosen.setOrientation(QPageLayout::Portrait);
  save_page_layout(chosen);
  EXPECT_EQ(page_layout().pageSize().id(), QPageSize::A3);
  EXPECT_EQ(page_layout().orientation(), QPageLayout::Portrait);
  const QSize portrait = preview_page_size();
  EXPECT_LT(portrait.width(), portrait.height());
  EXPECT_GT(portrait.height(), first.width());  // A3 is taller than A4 or Letter is wide

  const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
  if (!pdfinfo.isEmpty()) {
    ASSERT_TRUE(frame->open_file_now(demo));
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("a3.pdf"));
    ASSERT_TRUE(write_pdf(*frame, pdf, print_options{}, {}));
    QProcess p;
    p.start(pdfinfo, {pdf});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString info = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_TRUE(info.contains(QStringLiteral("842 x 1191 pts (A3)"))) << info.toStdString();
  }
  forget_page_layout();
  EXPECT_EQ(preview_page_size(), first);
}

// The print dialog's printer, once accepted: every page printed, its paper
// kept for the next printout.
TEST_F(PageSetup, AnAcceptedPrintDialogPrintsEveryPageAndKeepsItsPaper) {
  forget_page_layout();
  ASSERT_TRUE(frame->open_file_now(demo));
  QTemporaryDir dir;
  const QString pdf = dir.filePath(QStringLiteral("printed.pdf"));
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(pdf);
  printer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                                    QPageLayout::Millimeter));
  ASSERT_TRUE(print_accepted(*frame, printer, print_options{true, false}));
  EXPECT_EQ(page_layout().pageSize().id(), QPageSize::Letter);
  EXPECT_EQ(page_layout().orientation(), QPageLayout::Portrait);
  EXPECT_TRUE(saved_print_options().repeat_table);
  const print_plan plan = plan_pages(*frame, printer.width(), printer.height(), print_options{true, false},
                                     printer.logicalDpiX());
  const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
  if (!pdfinfo.isEmpty()) {
    QProcess p;
    p.start(pdfinfo, {pdf});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString info = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_TRUE(info.contains(QStringLiteral("Pages:           %1\n").arg(plan.pages))) << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("612 x 792 pts (letter)"))) << info.toStdString();
  }
  save_print_options({});
  forget_page_layout();
}

}  // namespace
}  // namespace tessel::app
