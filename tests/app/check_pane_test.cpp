// The Schedule Check pane in the window: the ribbon's Check button docks
// it, each project shows its 18 lines with marks, a double-click asks for
// what a line counts, Ctrl+C copies the table, a new schedule is checked
// again.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDockWidget>
#include <QSignalSpy>
#include <QTest>

#include "analysis/check_text.h"
#include "app/check_pane.h"
#include "app/compare_session.h"
#include "frame_fixture.h"
#include "app/view_set.h"
#include "view/table/shown_rows.h"

namespace tessel::app {
namespace {

using CheckFrame = frame_fixture;

QTreeWidgetItem* line_named(QTreeWidget* tree, const QString& name) {
  for (int i = 0; i < tree->topLevelItemCount(); ++i)
    if (tree->topLevelItem(i)->text(0).trimmed() == name) return tree->topLevelItem(i);
  return nullptr;
}

TEST_F(CheckFrame, CheckButtonDocksThePaneWithEveryProjectsLines) {
  QToolButton* check = frame->ribbon()->controls(view::view_kind::activity).check;
  ASSERT_NE(check, nullptr);
  EXPECT_FALSE(check->isEnabled());  // nothing to check yet
  EXPECT_EQ(frame->ribbon()->controls(view::view_kind::wbs).check, nullptr);
  ASSERT_TRUE(frame->open_file_now(demo));
  EXPECT_TRUE(check->isEnabled());
  check->click();
  QApplication::processEvents();
  CheckPane* pane = frame->check_pane();
  ASSERT_NE(pane, nullptr);
  EXPECT_TRUE(pane->isVisible());

  const analysis::schedule_check& c = pane->check();
  const size_t projects = frame->document()->project.size();
  ASSERT_EQ(c.projects.size(), projects);
  ASSERT_GT(projects, 0u);
  QTreeWidget* tree = pane->tree();
  ASSERT_EQ(tree->topLevelItemCount(), static_cast<int>(projects * 19));
  // A project's line, then its checks in the table's order, with the
  // cells the command line prints and a mark for every judged line.
  EXPECT_TRUE(tree->topLevelItem(0)->text(0).contains(QString::fromStdString(analysis::project_name(c.projects[0]))));
  EXPECT_TRUE(tree->topLevelItem(0)->text(0).contains(QStringLiteral("Data date")));
  for (int k = 0; k < analysis::check_count; ++k) {
    const analysis::check_line& l = c.projects[0].lines[static_cast<size_t>(k)];
    QTreeWidgetItem* item = tree->topLevelItem(1 + k);
    EXPECT_EQ(item->text(0).trimmed().toStdString(), analysis::check_name(l.kind));
    EXPECT_EQ(item->text(1).toStdString(), analysis::cells_of(l).count);
    EXPECT_EQ(item->text(3).toStdString(), analysis::cells_of(l).value);
    EXPECT_EQ(item->text(5).toStdString(), analysis::result_name(l.result));
    EXPECT_EQ(item->icon(5).isNull(), l.result == analysis::check_result::not_applicable) << k;
  }

  // Ctrl+C copies the whole table as the command line prints it.
  QApplication::clipboard()->clear();
  tree->setFocus();
  QTest::keyClick(tree, Qt::Key_C, Qt::ControlModifier);
  const QString copied = QApplication::clipboard()->text();
  EXPECT_TRUE(copied.startsWith(QStringLiteral("project\tcheck\tcount\tof\tvalue\tlimit\tresult\n")));
  EXPECT_EQ(copied.count(QLatin1Char('\n')), static_cast<qsizetype>(projects * 18 + 2));
  EXPECT_TRUE(copied.endsWith(QStringLiteral("#\tbaseline=planned\n")));

  // A double-click asks to show what the line counts.
  QSignalSpy asked(pane, &CheckPane::filter_requested);
  QTreeWidgetItem* logic = line_named(tree, QStringLiteral("logic"));
  ASSERT_NE(logic, nullptr);
  emit tree->itemDoubleClicked(logic, 0);
  ASSERT_EQ(asked.count(), 1);
  EXPECT_EQ(asked.at(0).at(0).toString(), QStringLiteral("Check: logic"));
  // The Activity view then shows exactly those activities, and says so.
  EXPECT_EQ(frame->category(), view::view_kind::activity);
  const analysis::shown_activities* shown = view::shown_of(*frame->view_at(views::activity_table));
  ASSERT_NE(shown, nullptr);
  const analysis::check_line& logic_line = c.projects[0].lines[0];
  EXPECT_EQ(shown->count, CheckPane::activities_of(logic_line).size());
  EXPECT_TRUE(frame->shown_control().status_text().endsWith(QStringLiteral(" activities: Check: logic")))
      << frame->shown_control().status_text().toStdString();
  // A project line asks nothing.
  emit tree->itemDoubleClicked(tree->topLevelItem(0), 0);
  EXPECT_EQ(asked.count(), 1);

  // Another open checks the new schedule.
  ASSERT_TRUE(frame->open_file_now(demo));
  EXPECT_EQ(pane->check().projects.size(), frame->document()->project.size());
  ASSERT_FALSE(pane->check().projects.empty());
  EXPECT_EQ(pane->check().projects[0].project, &frame->document()->project[0]);
}

// While a comparison is open its other file is the baseline.
TEST_F(CheckFrame, TheComparedFileIsTheBaseline) {
  ASSERT_TRUE(frame->open_file_now(demo));
  frame->show_check();
  ASSERT_NE(frame->check_pane(), nullptr);
  EXPECT_FALSE(frame->check_pane()->check().baseline_file);
  // The waiting form of the open says nothing; the window's own says it
  // has finished, and the pane checks again.
  ASSERT_TRUE(frame->comparison()->open_other_now(demo));
  emit frame->comparison()->compare_finished(true);
  EXPECT_TRUE(frame->check_pane()->check().baseline_file);
  EXPECT_TRUE(frame->check_pane()->table_text().endsWith(QStringLiteral("#\tbaseline=file\n")));
  EXPECT_NE(frame->check_pane()->findChild<QLabel*>()->text().indexOf(QStringLiteral("demo.xer")), -1);
  // Closing the comparison takes the baseline away again.
  frame->comparison()->close();
  EXPECT_FALSE(frame->check_pane()->check().baseline_file);
}

// Both ends of a relationship check's relationships, each once.
TEST(CheckPaneLines, RelationshipLinesShowBothEndsOnce) {
  document::TASK a, b, c;
  document::TASKPRED ab, cb;
  ab.predtask = &a;
  ab.task = &b;
  cb.predtask = &c;
  cb.task = &b;
  analysis::check_line l;
  l.kind = analysis::check_kind::lags;
  l.relationships = {&ab, &cb};
  EXPECT_EQ(CheckPane::activities_of(l), (std::vector<const document::TASK*>{&a, &b, &c}));
  document::TASKPRED dangling;
  dangling.task = &a;
  l.relationships = {&dangling};
  EXPECT_EQ(CheckPane::activities_of(l), (std::vector<const document::TASK*>{&a}));
}

}  // namespace
}  // namespace tessel::app
