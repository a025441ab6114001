// The window's find bar, Filter and Trace panels and the entry other parts
// use to show a set of activities, driven off-screen on the demo schedule.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>

#include "analysis/shown_activities.h"
#include "frame_fixture.h"

namespace tessel::app {
namespace {

class FindFilterFrame : public demo_frame {
 protected:
  view::View* table() const { return frame->view_at(views::activity_table); }
  QString selected_id() const {
    const view::Row* r = table()->selectedRow();
    return r && r->activity() ? QString::fromStdU16String(r->activity()->task_code.value) : QString();
  }
  std::vector<QString> visible_ids() const {
    std::vector<QString> out;
    for (const view::Row* r : table()->visibleRows())
      if (r->activity()) out.push_back(QString::fromStdU16String(r->activity()->task_code.value));
    return out;
  }
  const document::TASK& task(const char16_t* id) const {
    for (const document::TASK& t : frame->document()->task)
      if (t.task_code.value == id) return t;
    throw std::runtime_error("no such activity");
  }
};

TEST_F(FindFilterFrame, FindBarCountsGoesToMatchesAndWraps) {
  ShownControl& s = frame->shown_control();
  QTest::keyClick(frame.get(), Qt::Key_F, Qt::ControlModifier);
  QApplication::processEvents();
  ASSERT_TRUE(s.find_bar()->isVisible());
  table()->collapseAll();
  // Typed one key at a time: the count follows each press.
  QTest::keyClicks(s.find_bar()->edit(), QStringLiteral("STEEL"));
  EXPECT_EQ(s.match_count(), 4);
  EXPECT_EQ(s.find_bar()->count_text(), QStringLiteral("1 of 4"));
  // The first match inside a collapsed group was revealed and selected.
  EXPECT_EQ(selected_id(), QStringLiteral("A1040"));
  QTest::keyClick(s.find_bar()->edit(), Qt::Key_Return);
  EXPECT_EQ(selected_id(), QStringLiteral("A1300"));
  QTest::keyClick(frame.get(), Qt::Key_F3);
  QTest::keyClick(frame.get(), Qt::Key_F3);
  EXPECT_EQ(selected_id(), QStringLiteral("A1360"));
  EXPECT_EQ(s.find_bar()->count_text(), QStringLiteral("4 of 4"));
  QTest::keyClick(frame.get(), Qt::Key_F3);  // wraps to the first
  EXPECT_EQ(selected_id(), QStringLiteral("A1040"));
  QTest::keyClick(s.find_bar()->edit(), Qt::Key_Return, Qt::ShiftModifier);  // and back
  EXPECT_EQ(selected_id(), QStringLiteral("A1360"));
  // The selected row is in sight.
  const int index = table()->selectedIndex();
  const int top = frame->table_pane()->pane().scroll_pos(view::scroll_bar::vertical);
  EXPECT_GE(index * table()->rowHeight(), top);
  s.find(QStringLiteral("no such text"));
  EXPECT_EQ(s.find_bar()->count_text(), QStringLiteral("No matches"));
  QTest::keyClick(s.find_bar()->edit(), Qt::Key_Escape);
  EXPECT_FALSE(s.find_bar()->isVisible());
}

TEST_F(FindFilterFrame, FilterPanelRestrictsAndClearRestores) {
  ShownControl& s = frame->shown_control();
  filter_controls& c = frame->ribbon()->controls(view::view_kind::activity).filter;
  const std::size_t all = visible_ids().size();
  ASSERT_GT(all, 10u);
  c.critical->setChecked(true);
  const std::size_t critical = visible_ids().size();
  EXPECT_LT(critical, all);
  EXPECT_TRUE(s.status_text().startsWith(QStringLiteral("Showing %1 of 80 activities: Critical").arg(critical)))
      << s.status_text().toStdString();
  // The WBS page's panel shows the same filter and adds to it: milestones
  // AND critical, fewer still.
  filter_controls& w = frame->ribbon()->controls(view::view_kind::wbs).filter;
  ASSERT_NE(w.critical, nullptr);
  EXPECT_TRUE(w.critical->isChecked());
  w.milestones->setChecked(true);
  EXPECT_TRUE(c.milestones->isChecked());
  EXPECT_LT(visible_ids().size(), critical);
  EXPECT_TRUE(s.status_text().endsWith(QStringLiteral("Critical, Milestones"))) << s.status_text().toStdString();
  w.clear->click();
  EXPECT_EQ(visible_ids().size(), all);
  EXPECT_EQ(std::pair(c.critical->isChecked(), c.milestones->isChecked()), std::pair(false, false));
  EXPECT_EQ(s.status_text(), QString());
}

TEST_F(FindFilterFrame, AHandedInSetAndGoToActivity) {
  frame->set_category(view::view_kind::wbs);
  const std::vector<const document::TASK*> list{&task(u"A1340"), &task(u"A1000")};
  frame->show_activities(std::make_shared<analysis::shown_activities>(
      analysis::shown_of(*frame->document(), list, u"Check: logic")));
  EXPECT_EQ(frame->shown_control().status_text(), QStringLiteral("Showing 2 of 80 activities: Check: logic"));
  ASSERT_TRUE(frame->go_to_activity(task(u"A1340")));
  EXPECT_EQ(frame->category(), view::view_kind::activity);
  EXPECT_EQ(selected_id(), QStringLiteral("A1340"));
  EXPECT_EQ(visible_ids(), (std::vector<QString>{QStringLiteral("A1000"), QStringLiteral("A1340")}));
  frame->show_activities(nullptr);
  EXPECT_GT(visible_ids().size(), 2u);
  EXPECT_EQ(frame->shown_control().status_text(), QString());
}

TEST_F(FindFilterFrame, TraceFromTheSelectedRowToADepthAndEscEndsIt) {
  ASSERT_TRUE(frame->go_to_activity(task(u"A1330")));
  trace_controls& t = frame->ribbon()->controls(view::view_kind::activity).trace;
  t.depth->setCurrentText(QStringLiteral("1"));
  t.successors->click();
  EXPECT_EQ(visible_ids(), (std::vector<QString>{QStringLiteral("A1330"), QStringLiteral("A1340")}));
  EXPECT_EQ(selected_id(), QStringLiteral("A1330"));
  EXPECT_TRUE(frame->shown_control().status_text().endsWith(QStringLiteral("Successors of A1330 (depth 1)")));
  t.depth->setCurrentText(QStringLiteral("All"));
  EXPECT_GT(visible_ids().size(), 2u);
  QTest::keyClick(frame.get(), Qt::Key_Escape);
  EXPECT_FALSE(frame->shown_control().tracing());
  EXPECT_EQ(frame->shown_control().status_text(), QString());
}

}  // namespace
}  // namespace tessel::app
