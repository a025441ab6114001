// Panes, printing and the headless modes on the demo schedule.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWheelEvent>

#include "app/printing.h"
#include "app/tessel_app.h"

namespace tessel::app {
namespace {

const QString demo = QStringLiteral(TESSEL_SOURCE_DIR "/samples/demo.xer");

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

TEST(Headless, RenderWritesTheWholeWindowAtTheAskedSize) {
  QTemporaryDir dir;
  const QString out = dir.filePath("w.png");
  ASSERT_EQ(run_headless(headless(run_mode::render, out, {"--size", "900x600", "--category", "wbs"})), 0);
  QImage img(out);
  ASSERT_FALSE(img.isNull());
  EXPECT_EQ(img.size(), QSize(900, 600));
  // The colourful ribbon's tab row runs along the top.
  EXPECT_EQ(img.pixelColor(450, 3), QColor(182, 31, 37));
}

TEST(Headless, RefusalsAndUnknownNamesExitWithOne) {
  QTemporaryDir dir;
  const QString out = dir.filePath("w.png");
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
  EXPECT_GE(plan.rows_per_page * plan.pages, rows);
  EXPECT_LT(plan.rows_per_page * (plan.pages - 1), rows);
  EXPECT_GT(plan.gantt_width, 0);
  // Without the chart the table prints alone.
  frame.toggle_gantt();
  EXPECT_EQ(plan_pages(frame, 3300, 2300).gantt_width, 0);
  frame.set_category(view::view_kind::resource);
  EXPECT_EQ(plan_pages(frame, 3300, 2300).gantt_width, 0);
}

TEST(Panes, WheelAndScrollBarsMoveTheLinkedPaneToo) {
  CMainFrame frame;
  frame.report_refusal = [](const QString&) {};
  frame.resize(1200, 700);
  frame.show();
  QApplication::processEvents();
  ASSERT_TRUE(frame.open_file_now(demo));
  QApplication::processEvents();
  view::HostPane& tp = frame.table_pane()->pane();
  view::HostPane& gp = frame.gantt_pane()->pane();
  ASSERT_GT(tp.scroll_range(view::scroll_bar::vertical), 100);
  EXPECT_EQ(frame.table_pane()->verticalScrollBar()->maximum(), tp.scroll_range(view::scroll_bar::vertical));

  QWheelEvent down(QPointF(50, 50), frame.table_pane()->viewport()->mapToGlobal(QPointF(50, 50)), QPoint(),
                   QPoint(0, -240), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(frame.table_pane()->viewport(), &down);
  EXPECT_EQ(tp.scroll_pos(view::scroll_bar::vertical), 40);  // two notches, 20 pixels each
  EXPECT_EQ(gp.scroll_pos(view::scroll_bar::vertical), 40);
  EXPECT_EQ(frame.table_pane()->verticalScrollBar()->value(), 40);
  EXPECT_EQ(frame.gantt_pane()->verticalScrollBar()->value(), 40);

  frame.gantt_pane()->verticalScrollBar()->setValue(100);
  EXPECT_EQ(gp.scroll_pos(view::scroll_bar::vertical), 100);
  EXPECT_EQ(tp.scroll_pos(view::scroll_bar::vertical), 100);
  // Horizontal positions stay each pane's own.
  frame.gantt_pane()->horizontalScrollBar()->setValue(200);
  EXPECT_EQ(gp.scroll_pos(view::scroll_bar::horizontal), 200);
  EXPECT_EQ(tp.scroll_pos(view::scroll_bar::horizontal), 0);
}

TEST(Panes, RecentFilesKeepTenNewestFirstWithoutDuplicates) {
  CMainFrame frame;
  frame.report_refusal = [](const QString&) {};
  QTemporaryDir dir;
  for (int i = 0; i < 12; ++i) {
    const QString copy = dir.filePath(QStringLiteral("s%1.xer").arg(i));
    ASSERT_TRUE(QFile::copy(demo, copy));
    ASSERT_TRUE(frame.open_file_now(copy));
  }
  ASSERT_TRUE(frame.open_file_now(dir.filePath("s5.xer")));
  const QStringList recent = frame.recent_files();
  ASSERT_EQ(recent.size(), 10);
  EXPECT_EQ(recent[0], dir.filePath("s5.xer"));
  EXPECT_EQ(recent[1], dir.filePath("s11.xer"));
  EXPECT_EQ(recent.count(dir.filePath("s5.xer")), 1);
  EXPECT_FALSE(recent.contains(dir.filePath("s0.xer")));
  EXPECT_EQ(frame.windowTitle(), "s5.xer - Corvane Tessel Reader");
  EXPECT_EQ(frame.ribbon()->file().recent_menu->actions().size(), 10);
}

TEST(Panes, ThemesRestyleTheWindowAndTickTheirMenuEntry) {
  CMainFrame frame;
  EXPECT_EQ(frame.current_theme(), theme::colourful);
  EXPECT_TRUE(frame.styleSheet().contains("#b61f25"));
  frame.set_theme(theme::dark_grey);
  EXPECT_TRUE(frame.styleSheet().contains("#2b2b2b"));
  int ticked = 0;
  for (QAction* a : frame.ribbon()->style_menu()->actions())
    if (a->isChecked()) {
      ++ticked;
      EXPECT_EQ(a->text(), "Dark Gray");
    }
  EXPECT_EQ(ticked, 1);
  frame.set_theme(theme::white);
  EXPECT_FALSE(frame.styleSheet().contains("#2b2b2b"));
}

}  // namespace
}  // namespace tessel::app
