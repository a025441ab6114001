// Comparing in the window: File > Compare With... on the worker (and its
// cancel), the Changes tab and page, a click on a change line selecting the
// activity, the other file's bars in the Gantt chart, the Δ columns, and
// Close Comparison.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <QTreeWidget>
#include <filesystem>

#include "analysis/compare_columns.h"
#include "app/compare_changes_panel.h"
#include "app/compare_session.h"
#include "app/tessel_app.h"
#include "frame_fixture.h"
#include "view/gantt/gantt_view.h"

namespace tessel::app {
namespace {

const QString real = QStringLiteral(TESSEL_SHARED_DIR "/testdata/real/");
const QString old_file = real + QStringLiteral("schedanalytics-54069-bl-20250902.xer");
const QString new_file = real + QStringLiteral("schedanalytics-54069-up-20251121.xer");

class CompareWindow : public frame_fixture {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(old_file.toStdString())) GTEST_SKIP() << "no real exports beside the project";
    frame_fixture::SetUp();
    ASSERT_TRUE(frame->open_file_now(new_file));
  }

  const view::GanttView* gantt() const {
    return dynamic_cast<const view::GanttView*>(frame->view_at(views::activity_gantt));
  }
};

TEST_F(CompareWindow, ChangesTabListsTheLinesUntilTheComparisonCloses) {
  CompareSession& c = *frame->comparison();
  const QToolButton* close = frame->ribbon()->file().close_compare;
  EXPECT_EQ(std::pair(c.active(), close->isEnabled()), std::pair(false, false));
  ASSERT_TRUE(c.open_other_now(old_file));
  EXPECT_EQ(std::pair(c.active(), close->isEnabled()), std::pair(true, true));
  ASSERT_EQ(frame->ribbon()->tabs()->count(), 6);
  EXPECT_EQ(frame->ribbon()->tabs()->tabText(5), "Changes");
  EXPECT_EQ(gantt()->other_bars(), c.match());
  const catalog::field_entry* delta = catalog::catalogs().find_id(analysis::start_delta_field);
  ASSERT_NE(delta, nullptr);
  EXPECT_TRUE(delta->available);

  ASSERT_TRUE(c.show_changes());
  QTreeWidget* tree = c.panel()->tree();
  ASSERT_EQ(static_cast<size_t>(tree->topLevelItemCount()), c.panel()->table().groups.size());
  EXPECT_EQ(tree->topLevelItem(0)->text(0), "Data date (1)");
  const QString header = c.panel()->header()->text();
  EXPECT_TRUE(header.contains("Finish slip: +39.0 days")) << header.toStdString();
  size_t shown = 0;
  for (int i = 0; i < tree->topLevelItemCount(); ++i) shown += static_cast<size_t>(tree->topLevelItem(i)->childCount());
  EXPECT_EQ(shown, c.lines().size());

  // A click on a line of PCS-140 shows it selected in the Activity view.
  QTreeWidgetItem* pcs = nullptr;
  for (int i = 0; i < tree->topLevelItemCount() && !pcs; ++i)
    for (int k = 0; k < tree->topLevelItem(i)->childCount(); ++k)
      if (tree->topLevelItem(i)->child(k)->text(0) == "PCS-140") pcs = tree->topLevelItem(i)->child(k);
  ASSERT_NE(pcs, nullptr);
  emit tree->itemClicked(pcs, 0);
  EXPECT_FALSE(c.showing_changes());
  EXPECT_EQ(frame->category(), view::view_kind::activity);
  const view::Row* selected = frame->view_at(views::activity_table)->selectedRow();
  ASSERT_NE(selected, nullptr);
  ASSERT_NE(selected->activity(), nullptr);
  EXPECT_EQ(selected->activity()->task_code.value, u"PCS-140");

  c.close();
  EXPECT_FALSE(c.active());
  EXPECT_EQ(frame->ribbon()->tabs()->count(), 5);
  EXPECT_EQ(gantt()->other_bars(), nullptr);
  EXPECT_FALSE(delta->available);
  EXPECT_TRUE(c.lines().empty());
}

TEST_F(CompareWindow, OpensOnTheWorkerCancelsAndEndsWithANewSchedule) {
  CompareSession& c = *frame->comparison();
  {
    QSignalSpy done(&c, &CompareSession::compare_finished);
    c.open_other(old_file);
    EXPECT_TRUE(c.is_opening());
    EXPECT_TRUE(c.cancel());
    ASSERT_TRUE(done.wait(60000));
    EXPECT_FALSE(done.takeFirst().at(0).toBool());
    EXPECT_FALSE(c.active());
  }
  {
    QSignalSpy done(&c, &CompareSession::compare_finished);
    c.open_other(old_file);
    ASSERT_TRUE(done.wait(60000));
    EXPECT_TRUE(done.takeFirst().at(0).toBool());
    EXPECT_TRUE(c.active());
    EXPECT_GT(c.lines().size(), 100u);
  }
  // Another schedule opened: the comparison, which pointed into the old
  // one, is over.
  ASSERT_TRUE(frame->open_file_now(old_file));
  EXPECT_FALSE(c.active());
  EXPECT_EQ(frame->ribbon()->tabs()->count(), 5);
  // A file that is no schedule is refused.
  c.open_other(QStringLiteral(TESSEL_SOURCE_DIR "/README.md"));
  EXPECT_EQ(refusals.size(), 1);
}

}  // namespace
}  // namespace tessel::app
