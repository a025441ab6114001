// Printing the whole schedule: the page grid (row bands down, timeline
// across), the two print options, text that a PDF reader finds again, a
// printout stopped half way leaving no file, where the file dialogs start,
// rendering and printing from the command line without a window; the paper
// chosen once ruling preview, PDF and print; the notice
// after opening a file that is not whole.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <set>

#include "app/app_info.h"
#include "app/print_preview.h"
#include "app/printing.h"
#include "app/ribbon.h"
#include "app/tessel_app.h"
#include "frame_fixture.h"
#include "view/display_scale.h"

namespace tessel::app {
namespace {

// What a PDF tool of poppler-utils (from the install script) prints.
QString poppler(const char* tool, const QStringList& args) {
  const QString exe = QStandardPaths::findExecutable(QLatin1String(tool));
  EXPECT_FALSE(exe.isEmpty()) << tool << " (poppler-utils) is not installed";
  QProcess p;
  p.start(exe, args);
  EXPECT_TRUE(p.waitForFinished(60000)) << tool;
  return QString::fromUtf8(p.readAllStandardOutput());
}

// Each printing test starts with the demo open in the window.
using Printing = demo_frame;

// The slices of the chart across one band, in page order.
std::vector<std::pair<int, int>> slices(const print_plan& plan, int band) {
  std::vector<std::pair<int, int>> out;
  for (int c = 0; c < plan.columns; ++c) {
    const print_plan::page_part p = plan.part(band * plan.columns + c);
    EXPECT_EQ(p.band, band);
    EXPECT_EQ(p.column, c);
    out.emplace_back(p.gantt_x, p.gantt_w);
  }
  return out;
}

TEST_F(Printing, PagesHoldTheWholeTableAndTheWholeTimeline) {
  view::View* table = frame->table_pane()->pane().view();
  view::View* gantt = frame->gantt_pane()->pane().view();
  const print_plan plan = plan_pages(*frame, 3300, 2300);
  // Every column of the table, whatever the pane shows of it.
  EXPECT_EQ(plan.table_width, int(std::ceil(table->contentWidth())));
  EXPECT_EQ(plan.gantt_width, int(std::ceil(gantt->contentWidth())));
  EXPECT_GT(plan.gantt_width, frame->gantt_pane()->viewport()->width());
  ASSERT_GT(plan.columns, 1);
  EXPECT_EQ(plan.pages, plan.bands * plan.columns);
  // Across each band the slices follow one another without gap or overlap
  // and end with the chart.
  for (int band = 0; band < plan.bands; ++band) {
    int x = 0;
    for (const auto& [from, width] : slices(plan, band)) {
      EXPECT_EQ(from, x);
      EXPECT_GT(width, 0);
      x += width;
    }
    EXPECT_EQ(x, plan.gantt_width);
  }
  // The table stands on the first page across only.
  EXPECT_EQ(std::pair(plan.part(0).table, plan.part(1).table), std::pair(true, false));
  EXPECT_EQ(plan.part(1).gantt_w, std::min(plan.next_slice, plan.gantt_width - plan.first_slice));
  EXPECT_EQ(plan.next_slice, int(plan.page_width));

  // Repeated, it stands on every page, and the chart gets less of each.
  const print_plan repeated = plan_pages(*frame, 3300, 2300, {true, false});
  EXPECT_GE(repeated.columns, plan.columns);
  for (int k = 0; k < repeated.pages; ++k) EXPECT_TRUE(repeated.part(k).table) << k;
  EXPECT_EQ(repeated.next_slice, repeated.first_slice);

  // Fitted, the whole timeline stands beside the table on one page across.
  const print_plan fitted = plan_pages(*frame, 3300, 2300, {false, true});
  EXPECT_EQ(std::pair(fitted.columns, fitted.pages), std::pair(1, fitted.bands));
  EXPECT_NEAR(fitted.gantt_width, fitted.first_slice, 1);
  EXPECT_LT(fitted.gantt_zoom, plan.gantt_zoom);
}

TEST_F(Printing, PdfTextIsFoundAgain) {
  QTemporaryDir dir;
  const QString pdf = dir.filePath("demo.pdf");
  ASSERT_TRUE(write_pdf(*frame, pdf, {true, false}));
  const QString text = poppler("pdftotext", {QStringLiteral("-raw"), pdf, QStringLiteral("-")});
  EXPECT_TRUE(text.contains(QStringLiteral("Activity ID"))) << text.left(400).toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("Activity Name")));
  EXPECT_TRUE(text.contains(QStringLiteral("Page 1 of ")));
  // Every activity of the file by its name, ligature letters and all
  // ("Notice to Proceed", "Certification").
  const document::Document* doc = frame->document();
  ASSERT_GT(doc->task.size(), 10u);
  for (const document::TASK& t : doc->task) {
    const QString name = QString::fromStdU16String(t.task_name.value);
    EXPECT_TRUE(text.contains(name)) << name.toStdString();
  }
}

// Stopped half way, an export keeps the earlier file of its name and leaves
// nothing beside it.
TEST_F(Printing, StoppedPrintoutKeepsTheEarlierFile) {
  QTemporaryDir dir;
  const QString pdf = dir.filePath("stopped.pdf");
  const auto contents = [&] {
    QFile f(pdf);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
  };
  {
    QFile earlier(pdf);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("the earlier export");
  }
  std::vector<std::pair<int, int>> heard;
  EXPECT_FALSE(write_pdf(*frame, pdf, {}, [&](int k, int n) {
    heard.emplace_back(k, n);
    return k < 2;
  }));
  EXPECT_EQ(contents(), QByteArray("the earlier export"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("stopped.pdf")});
  ASSERT_EQ(heard.size(), 2u);
  EXPECT_EQ(heard[0].first, 1);
  EXPECT_GT(heard[0].second, 2);
  // Unstopped, every page is heard once, in order, and the file replaced.
  heard.clear();
  EXPECT_TRUE(write_pdf(*frame, pdf, {}, [&](int k, int n) {
    heard.emplace_back(k, n);
    return true;
  }));
  EXPECT_TRUE(contents().startsWith("%PDF"));
  ASSERT_FALSE(heard.empty());
  for (size_t i = 0; i < heard.size(); ++i) EXPECT_EQ(heard[i].first, int(i + 1));
  EXPECT_EQ(heard.back().first, heard.back().second);
}

// The ink of a band of an image's columns: pixels that are not white.
int ink(const QImage& img, int x0, int x1) {
  int n = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = x0; x < x1; ++x)
      if (img.pixel(x, y) != qRgb(255, 255, 255)) ++n;
  return n;
}

TEST_F(Printing, PreviewDrawsTheAskedPage) {
  const QSize size = preview_page_size();
  EXPECT_GT(size.width(), size.height());  // landscape
  const print_plan plan = plan_pages(*frame, size.width(), size.height(), {}, 96.0);
  ASSERT_GT(plan.columns, 1);
  const QImage first = render_preview_page(*frame, plan, 0);
  const QImage second = render_preview_page(*frame, plan, 1);
  ASSERT_EQ(first.size(), size);
  // Under the table's place the first page has the table; the second, the
  // chart's next slice, has only its gridlines and bars there.
  const int table = int(plan.table_width * plan.scale);
  EXPECT_GT(ink(first, 0, table / 2), 3 * ink(second, 0, table / 2));
  EXPECT_GT(ink(second, 0, size.width()), 0);
}

TEST_F(Printing, DialogsStartBesideTheSchedule) {
  EXPECT_EQ(proposed_pdf_path(QStringLiteral("/srv/plans/Tower B.xer")), QStringLiteral("/srv/plans/Tower B.pdf"));
  EXPECT_EQ(proposed_pdf_path(QStringLiteral("/srv/plans/site.v2.xls")), QStringLiteral("/srv/plans/site.v2.pdf"));
  EXPECT_EQ(frame->open_dialog_folder(), QFileInfo(demo).absolutePath());
  // A fresh window starts where the last file was opened.
  CMainFrame fresh;
  EXPECT_EQ(fresh.open_dialog_folder(), QFileInfo(demo).absolutePath());
}

TEST_F(Printing, NoticeAfterOpeningAFileCutShort) {
  QTemporaryDir dir;
  const QString cut = dir.filePath("cut.xer");
  QFile f(cut);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("ERMHDR\t19.12\n%T\tPROJECT\n%F\tproj_id\tproj_short_name\n%R\t1\tP\n"
          "%T\tTASK\n%F\ttask_id\tproj_id\ttask_code\n%R\t1\t1\tA\n%R\t2\t1\tB\n%R\t3\t1");
  f.close();
  ASSERT_TRUE(frame->open_file_now(cut));
  EXPECT_EQ(frame->notice_text(), "This file seems cut short: 3 activities read, no end marker.");
  EXPECT_TRUE(frame->warning_shown());
  // File > Info says so under the version line.
  EXPECT_EQ(frame->ribbon()->file().report_line->text(), "XER text export, windows-1252: 3 activities, with warnings");
  EXPECT_TRUE(frame->ribbon()->file().report_link->isEnabled());
  ASSERT_TRUE(frame->open_file_now(demo));
  EXPECT_EQ(frame->notice_text(), "");
  EXPECT_FALSE(frame->warning_shown());
}

// Rendering and printing without a window, from the command line.
int pdf_pages(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return -1;
  const QByteArray bytes = f.readAll();
  int n = 0;
  for (qsizetype at = bytes.indexOf("/Type /Page"); at >= 0; at = bytes.indexOf("/Type /Page", at + 1))
    if (bytes.mid(at, 12) != "/Type /Pages") ++n;
  return n;
}

command_line headless(run_mode mode, const QString& out, QStringList extra = {}) {
  QStringList args = {mode == run_mode::render ? "--render" : "--print-pdf", out};
  args << extra << demo;
  return parse_command_line(args);
}

TEST(Headless, RenderWritesTheWholeWindowAtTheAskedSizeOrNothing) {
  QTemporaryDir dir;
  const QString out = dir.filePath("w.png");
  ASSERT_EQ(run_headless(headless(run_mode::render, out, {"--size", "900x600", "--category", "wbs"})), 0);
  QImage img(out);
  ASSERT_FALSE(img.isNull());
  EXPECT_EQ(img.size(), QSize(900, 600));
  // The colourful ribbon's tab row runs along the top.
  EXPECT_EQ(img.pixelColor(450, 3), QColor(182, 31, 37));

  // Refusals and unknown names exit with 1 and write nothing.
  ASSERT_TRUE(QFile::remove(out));
  EXPECT_EQ(run_headless(parse_command_line({"--render", out, dir.filePath("none.xer")})), 1);
  EXPECT_EQ(run_headless(headless(run_mode::render, out, {"--layout", "No Such Layout"})), 1);
  EXPECT_EQ(run_headless(headless(run_mode::render, out, {"--details", "Nonsense"})), 1);
  EXPECT_EQ(run_headless(headless(run_mode::render, out, {"--select", "99999"})), 1);
  EXPECT_FALSE(QFile::exists(out));
}

TEST(Headless, PrintToPdfPaginatesEveryVisibleRow) {
  QTemporaryDir dir;
  const QString out = dir.filePath("p.pdf");
  ASSERT_EQ(run_headless(headless(run_mode::print_pdf, out)), 0);
  const int pages = pdf_pages(out);
  EXPECT_GE(pages, 2);  // the demo's rows do not fit one landscape page

  CMainFrame frame;
  ASSERT_TRUE(prepare_headless(frame, headless(run_mode::print_pdf, out)));
  const int rows = static_cast<int>(frame.table_pane()->pane().view()->visibleRows().size());
  const print_plan plan = plan_pages(frame, 3300, 2300);
  EXPECT_EQ(plan.rows, rows);
  EXPECT_GE(plan.rows_per_page * plan.bands, rows);
  EXPECT_LT(plan.rows_per_page * (plan.bands - 1), rows);
  EXPECT_GT(plan.gantt_width, 0);
  // Without the chart the table prints alone.
  frame.toggle_gantt();
  EXPECT_EQ(plan_pages(frame, 3300, 2300).gantt_width, 0);
  frame.set_category(view::view_kind::resource);
  EXPECT_EQ(plan_pages(frame, 3300, 2300).gantt_width, 0);
}

void forget_page_layout() {
  QSettings s(organisation, app_title);
  for (const char* key : {"Print/PageSize", "Print/PageSizeMillimeters", "Print/Orientation"})
    s.remove(QLatin1String(key));
}

TEST_F(Printing, TheChosenPaperRulesPreviewAndPdf) {
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

  QTemporaryDir dir;
  const QString pdf = dir.filePath(QStringLiteral("a3.pdf"));
  ASSERT_TRUE(write_pdf(*frame, pdf));
  const QString info = poppler("pdfinfo", {pdf});
  EXPECT_TRUE(info.contains(QStringLiteral("842 x 1191 pts (A3)"))) << info.toStdString();
  forget_page_layout();
  EXPECT_EQ(preview_page_size(), first);
}

// The print dialog's printer, once accepted: every page printed, its paper
// kept for the next printout.
TEST_F(Printing, AnAcceptedPrintDialogPrintsEveryPageAndKeepsItsPaper) {
  forget_page_layout();
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
  const QString info = poppler("pdfinfo", {pdf});
  EXPECT_TRUE(info.contains(QStringLiteral("Pages:           %1\n").arg(plan.pages))) << info.toStdString();
  EXPECT_TRUE(info.contains(QStringLiteral("612 x 792 pts (letter)"))) << info.toStdString();
  save_print_options({});
  forget_page_layout();
}

}  // namespace
}  // namespace tessel::app
