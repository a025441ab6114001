// Rendering and printing without a window on the demo schedule.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

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

}  // namespace
}  // namespace tessel::app
