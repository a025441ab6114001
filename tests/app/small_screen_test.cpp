// The window on a small screen: a ribbon too wide for it folds panels into
// buttons that drop their controls down (nothing overlaps, the controls
// work folded, and open out again as the window widens); Print Preview
// opens within the screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "app/app_info.h"
#include "app/print_preview.h"
#include "app/ribbon.h"
#include "app/ribbon_panel.h"
#include "frame_fixture.h"

namespace tessel::app {
namespace {

TEST(RibbonFit, FoldsFromTheRightWhatGivesBackRoom) {
  // The last panel would give back too little folded to be worth it.
  const std::vector<int> open{100, 500, 180, 60 + min_fold_gain - 1}, folded{60, 70, 70, 60};
  const int all = 840 + min_fold_gain - 1;
  EXPECT_EQ(panels_to_fold(open, folded, all), (std::vector<bool>{false, false, false, false}));
  EXPECT_EQ(panels_to_fold(open, folded, all - 1), (std::vector<bool>{false, false, true, false}));
  // 110 from the third is not enough for 111.
  EXPECT_EQ(panels_to_fold(open, folded, all - 111), (std::vector<bool>{false, true, true, false}));
  // Never room enough: all that gain enough fold.
  EXPECT_EQ(panels_to_fold(open, folded, 0), (std::vector<bool>{true, true, true, false}));
}

// The visible panels of the current page lie side by side within it.
void expect_side_by_side(QWidget* page) {
  int right = 0;
  for (RibbonPanel* p : static_cast<RibbonPage*>(page)->panels()) {
    if (!p->isVisible()) continue;
    EXPECT_GE(p->geometry().left(), right) << p->fold_button()->toolTip().toStdString();
    right = p->geometry().right();
  }
  EXPECT_LE(right, page->width());
}

using SmallScreen = frame_fixture;

TEST_F(SmallScreen, ANarrowWindowFoldsTheFilterWhoseControlsStillWork) {
  ASSERT_TRUE(frame->open_file_now(demo));
  filter_controls& c = frame->ribbon()->controls(view::view_kind::activity).filter;
  // Folded or open, the checkbox's panel is above it and the page above that.
  QWidget* above = c.critical->parentWidget();
  while (above && !dynamic_cast<RibbonPanel*>(above)) above = above->parentWidget();
  auto* filter = static_cast<RibbonPanel*>(above);
  ASSERT_TRUE(filter && filter->fold_button()->toolTip() == QStringLiteral("Filter"));
  QWidget* page = filter->parentWidget();

  frame->resize(1000, 700);
  QApplication::processEvents();
  expect_side_by_side(page);
  ASSERT_TRUE(filter->folded());
  EXPECT_FALSE(c.critical->isVisible());
  QTest::mouseClick(filter->fold_button(), Qt::LeftButton);
  ASSERT_TRUE(filter->drop_down()->isVisible());
  EXPECT_TRUE(c.critical->isVisible());
  const QString before = frame->shown_control().status_text();
  QTest::mouseClick(c.critical, Qt::LeftButton, {}, QPoint(6, c.critical->height() / 2));
  EXPECT_TRUE(c.critical->isChecked());
  EXPECT_NE(frame->shown_control().status_text(), before);
  EXPECT_TRUE(filter->fold_button()->property("marked").toBool()) << "a filter set shows on the folded button";
  EXPECT_TRUE(filter->drop_down()->isVisible()) << "a tick leaves the drop-down open";
  QTest::mouseClick(c.clear, Qt::LeftButton);
  EXPECT_FALSE(filter->drop_down()->isVisible()) << "a command closes it";
  EXPECT_FALSE(c.critical->isChecked());
  EXPECT_FALSE(filter->fold_button()->property("marked").toBool());

  // Wide again: every panel open, the checkbox back in its panel.
  frame->resize(1800, 700);
  QApplication::processEvents();
  expect_side_by_side(page);
  for (RibbonPanel* p : static_cast<RibbonPage*>(page)->panels()) EXPECT_FALSE(p->folded());
  EXPECT_TRUE(c.critical->isVisible());
  EXPECT_EQ(c.critical->window(), frame.get());
}

TEST(SmallScreenStart, TheFirstWindowFitsTheScreen) {
  QSettings(organisation, app_title).remove(QStringLiteral("Window"));
  CMainFrame first;
  first.recall_window();
  const QSize room = first.screen()->availableGeometry().size();
  ASSERT_TRUE(room.width() < 1280 || room.height() < 800) << room.width() << "x" << room.height();
  EXPECT_TRUE(first.width() <= room.width() && first.height() <= room.height()) << first.width() << "x" << first.height();
}

TEST_F(SmallScreen, PrintPreviewOpensWithinTheScreen) {
  ASSERT_TRUE(frame->open_file_now(demo));
  frame->resize(1000, 600);  // drawn without a display, the window stands for the screen
  const QTemporaryDir dir;
  const QString png = dir.filePath(QStringLiteral("preview.png"));
  ASSERT_TRUE(render_print_preview(*frame, png));
  const QImage shot(png);
  ASSERT_FALSE(shot.isNull());
  EXPECT_LE(shot.height(), 600);
  EXPECT_LE(shot.width(), 1000);
  EXPECT_GT(preview_page_size().height(), 600) << "the page itself is taller than the screen";
}

}  // namespace
}  // namespace tessel::app
