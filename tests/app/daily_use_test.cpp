// The window as it is used all day: linked panes that stay aligned, the
// keyboard, Ctrl+C in a Details sub-table, where the Gantt chart shows, the
// column chooser's list, and what the window remembers from one run to the
// next.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QListWidget>
#include <QScrollBar>
#include <QSettings>
#include <QSplitter>
#include <QTest>
#include <QSlider>

#include "../config_sandbox.h"
#include "app/app_info.h"
#include "app/dialogs/columns_dlg.h"
#include "app/frame_rules.h"
#include "app/tessel_app.h"
#include "frame_fixture.h"
#include "view/display_scale.h"
#include "view/gantt/gantt_view.h"

namespace tessel::app {
namespace {

// Each test starts on the demo schedule with no remembered window.
class DailyUse : public demo_frame {
 protected:
  void SetUp() override {
    QSettings(organisation, app_title).remove(QStringLiteral("Window"));
    demo_frame::SetUp();
  }
  void TearDown() override {
    demo_frame::TearDown();
    QSettings(organisation, app_title).remove(QStringLiteral("Window"));
  }
  view::HostPane& tp() { return frame->table_pane()->pane(); }
  view::HostPane& gp() { return frame->gantt_pane()->pane(); }
};

}  // namespace

TEST_F(DailyUse, AnOpenShowsTheFirstBarsAndBothPanesKeepOneVerticalRange) {
  // The chart opens on the first bars, not on its lead-in.
  auto* g = dynamic_cast<view::GanttView*>(gp().view());
  ASSERT_NE(g, nullptr);
  ASSERT_GT(g->earliest_date(), 0);
  const int first = static_cast<int>(g->x_of(g->earliest_date()));
  EXPECT_EQ(gp().scroll_pos(view::scroll_bar::horizontal), first - 100);
  EXPECT_EQ(frame->gantt_pane()->horizontalScrollBar()->value(), first - 100);

  // A table narrower than its columns shows a horizontal bar; make the chart
  // wide enough to need none by zooming far out.
  frame->inner_splitter()->setSizes({300, 1100});
  frame->ribbon()->controls(view::view_kind::activity).zoom->setValue(zoom_slider_min);
  QApplication::processEvents();
  ASSERT_TRUE(frame->table_pane()->horizontalScrollBar()->isVisible());
  ASSERT_FALSE(frame->gantt_pane()->horizontalScrollBar()->isVisible());
  const int table_h = frame->table_pane()->viewport()->height();
  const int chart_h = frame->gantt_pane()->viewport()->height();
  ASSERT_NE(table_h, chart_h) << "the panes must differ for this test";
  EXPECT_EQ(tp().scroll_range(view::scroll_bar::vertical), gp().scroll_range(view::scroll_bar::vertical));
  frame->gantt_pane()->verticalScrollBar()->setValue(frame->gantt_pane()->verticalScrollBar()->maximum());
  EXPECT_EQ(tp().scroll_pos(view::scroll_bar::vertical), gp().scroll_pos(view::scroll_bar::vertical));
  EXPECT_GT(tp().scroll_pos(view::scroll_bar::vertical), 0);
}

TEST_F(DailyUse, ArrowKeysMoveTheSelectionAndCtrlCInASubTableCopiesThatSubTable) {
  view::View* table = frame->view_at(views::activity_table);
  ASSERT_NE(table, nullptr);
  frame->table_pane()->setFocus();
  QTest::keyClick(frame->table_pane(), Qt::Key_Down);
  QTest::keyClick(frame->table_pane(), Qt::Key_Down);
  EXPECT_EQ(table->selectedIndex(), 1);
  QTest::keyClick(frame->table_pane(), Qt::Key_End);
  EXPECT_EQ(table->selectedIndex(), static_cast<int>(table->visibleRows().size()) - 1);
  // Where the keys scroll to is the panes' concern (TableKeys in the view
  // tests); the scroll bars follow as they follow the wheel.
  EXPECT_GT(frame->table_pane()->verticalScrollBar()->value(), 0);

  // An activity with successors, its Successors tab shown.
  frame->toggle_details();
  ASSERT_TRUE(frame->show_details_tab("successors"));
  int with_successors = -1;
  for (std::size_t i = 0; i < table->visibleRows().size() && with_successors < 0; ++i) {
    const view::Row* r = table->visibleRows()[i];
    if (r->activity() && !r->activity()->succ_rels.empty()) with_successors = static_cast<int>(i);
  }
  ASSERT_GE(with_successors, 0);
  ASSERT_TRUE(frame->select_row(with_successors));
  QApplication::processEvents();
  TesselView* successors = frame->details_pane()->child_panes()[1];
  ASSERT_TRUE(successors->isVisibleTo(frame.get()));
  QTest::mouseClick(successors->viewport(), Qt::LeftButton, {}, QPoint(20, 5));
  EXPECT_EQ(QApplication::focusWidget(), successors);
  QApplication::clipboard()->clear();
  QTest::keyClick(frame.get(), Qt::Key_C, Qt::ControlModifier);
  const QString copied = QApplication::clipboard()->text();
  EXPECT_EQ(copied, QString::fromStdU16String(successors->pane().view()->selectionText()));
  EXPECT_NE(copied, QString::fromStdU16String(table->selectionText()));
  EXPECT_EQ(copied.count('\n'), static_cast<int>(table->visibleRows()[with_successors]->activity()->succ_rels.size()));
}

TEST_F(DailyUse, TheColumnChooserKeepsItsScrollPositionAndFilters) {
  view::Layout* layout = frame->current_layout(view::view_kind::activity);
  ASSERT_NE(layout, nullptr);
  ColumnsDlg dlg(layout);
  dlg.resize(500, 300);
  dlg.show();
  QApplication::processEvents();
  QScrollBar* bar = dlg.available_list()->verticalScrollBar();
  ASSERT_GT(bar->maximum(), 20);  // the list scrolls by items
  bar->setValue(bar->maximum() / 2);
  const int at = bar->value();
  const QListWidgetItem* item = dlg.available_list()->itemAt(5, 5);
  ASSERT_NE(item, nullptr);
  dlg.select_available({dlg.available_list()->row(item)});
  dlg.add();
  QApplication::processEvents();
  EXPECT_EQ(bar->value(), at);
  dlg.set_filter(QStringLiteral("float"));
  ASSERT_FALSE(dlg.available().isEmpty());
  EXPECT_LT(dlg.available().size(), 20);
  for (const QString& c : dlg.available())
    EXPECT_TRUE(c.contains(QStringLiteral("float"), Qt::CaseInsensitive)) << c.toStdString();
}

TEST_F(DailyUse, SizePositionThemeCategoryAndSplittersComeBackAtTheNextStart) {
  frame->resize(1100, 760);
  frame->move(40, 30);
  frame->set_theme(theme::dark_grey);
  frame->set_category(view::view_kind::project);
  frame->toggle_details();
  frame->inner_splitter()->setSizes({420, 900});
  QApplication::processEvents();
  const QList<int> rows = frame->outer_splitter()->sizes();
  const QList<int> cols = frame->inner_splitter()->sizes();
  ASSERT_GT(rows.value(1), 0);
  frame->close();
  frame.reset();

  CMainFrame next;
  next.recall_window();
  next.show();
  QApplication::processEvents();
  EXPECT_EQ(std::tuple(next.size(), next.current_theme(), next.category()),
            std::tuple(QSize(1100, 760), theme::dark_grey, view::view_kind::project));
  EXPECT_EQ(std::pair(next.outer_splitter()->sizes(), next.inner_splitter()->sizes()), std::pair(rows, cols));
}

}  // namespace tessel::app
