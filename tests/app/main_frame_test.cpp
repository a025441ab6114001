// The window driven off-screen on the demo schedule: opening (command line,
// drop, refusal, cancel), category and layout switches, the pane toggles,
// the timescale and zoom controls, scrolling, recent files, themes and
// copying the table; the rules behind its controls and its command line.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QWheelEvent>
#include <tuple>

#include "app/command_line.h"
#include "frame_fixture.h"
#include "app/frame_rules.h"
#include "app/tessel_app.h"
#include "view/table/table_text.h"
#include "view/display_scale.h"

namespace tessel::app {
namespace {

using Frame = frame_fixture;
using DemoFrame = demo_frame;

TEST_F(Frame, EmptyWindowHasNoScheduleAndOpensADroppedFile) {
  EXPECT_EQ(frame->windowTitle(), "Corvane Tessel Reader");
  EXPECT_EQ(frame->document(), nullptr);
  category_controls& c = frame->ribbon()->controls(view::view_kind::activity);
  const std::initializer_list<QWidget*> idle{c.details, c.timescale, c.expand_all, frame->ribbon()->file().print};
  for (QWidget* w : idle) EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
  EXPECT_FALSE(frame->copy_table());
  // Details is hidden and the table pane is 600 pixels wide at start.
  EXPECT_EQ(frame->outer_splitter()->sizes().value(1), 0);
  EXPECT_EQ(frame->inner_splitter()->sizes().value(0), table_pane_width);
  frame->toggle_details();  // nothing without a schedule
  EXPECT_EQ(frame->outer_splitter()->sizes().value(1), 0);

  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(demo)});
  QDragEnterEvent enter(QPoint(100, 300), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(frame.get(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(100, 300), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QSignalSpy spy(frame.get(), &CMainFrame::open_finished);
  QApplication::sendEvent(frame.get(), &drop);
  ASSERT_TRUE(spy.wait(60000));
  EXPECT_TRUE(spy.takeFirst().at(0).toBool());
  ASSERT_NE(frame->document(), nullptr);
  EXPECT_EQ(frame->windowTitle(), "demo.xer - Corvane Tessel Reader");
  EXPECT_EQ(frame->ribbon()->controls(view::view_kind::activity).layout->currentText(), "Classic WBS Layout");
}

TEST(FrameStart, FileOnTheCommandLineOpensInTheFreshWindow) {
  command_line cl = parse_command_line({demo});
  auto frame = start_main_window(cl);
  ASSERT_TRUE(frame->isVisible());
  QSignalSpy spy(frame.get(), &CMainFrame::open_finished);
  if (frame->is_opening()) {
    ASSERT_TRUE(spy.wait(60000));
  }
  ASSERT_NE(frame->document(), nullptr);
  EXPECT_EQ(frame->windowTitle(), "demo.xer - Corvane Tessel Reader");
  EXPECT_EQ(frame->recent_files().value(0), QFileInfo(demo).absoluteFilePath());
}

// One window on the demo schedule driven through its controls in turn; each
// step leaves the window as the next one expects it.
TEST_F(DemoFrame, DemoScheduleThroughTheRibbonPanesAndKeys) {
  const category_controls& c = frame->ribbon()->controls(view::view_kind::activity);
  view::HostPane& tp = frame->table_pane()->pane();
  view::HostPane& gp = frame->gantt_pane()->pane();
  view::View* table = frame->view_at(views::activity_table);
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(tp.view(), table);

  // Ctrl+C copies the table text.
  QApplication::clipboard()->clear();
  frame->table_pane()->setFocus();
  QTest::keyClick(frame.get(), Qt::Key_C, Qt::ControlModifier);
  const QString text = QApplication::clipboard()->text();
  ASSERT_FALSE(text.isEmpty());
  EXPECT_EQ(text, QString::fromStdU16String(table->selectionText()));
  EXPECT_TRUE(text.section('\n', 0, 0).contains('\t'));

  // The wheel and the scroll bars move the linked pane too.
  ASSERT_GT(tp.scroll_range(view::scroll_bar::vertical), 100);
  EXPECT_EQ(frame->table_pane()->verticalScrollBar()->maximum(), tp.scroll_range(view::scroll_bar::vertical));
  QWheelEvent down(QPointF(50, 50), frame->table_pane()->viewport()->mapToGlobal(QPointF(50, 50)), QPoint(),
                   QPoint(0, -240), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(frame->table_pane()->viewport(), &down);
  EXPECT_EQ(tp.scroll_pos(view::scroll_bar::vertical), 40);  // two notches, 20 pixels each
  EXPECT_EQ(gp.scroll_pos(view::scroll_bar::vertical), 40);
  EXPECT_EQ(frame->table_pane()->verticalScrollBar()->value(), 40);
  EXPECT_EQ(frame->gantt_pane()->verticalScrollBar()->value(), 40);
  // A vertical bar moves both panes (DailyUse drags the chart's to its end);
  // horizontal positions stay each pane's own.
  frame->gantt_pane()->horizontalScrollBar()->setValue(200);
  EXPECT_EQ(std::pair(gp.scroll_pos(view::scroll_bar::horizontal), tp.scroll_pos(view::scroll_bar::horizontal)),
            std::pair(200, 0));

  // Details and Gantt toggled twice restore their splits.
  QSplitter* outer = frame->outer_splitter();
  QSplitter* inner = frame->inner_splitter();
  const int height = outer->sizes().value(0) + outer->sizes().value(1);
  const int width = inner->sizes().value(0) + inner->sizes().value(1);
  ASSERT_EQ(outer->sizes().value(1), 0);
  EXPECT_TRUE(c.gantt->isChecked());
  // {button, splitter, first and second pane's size after the click, checked}
  const std::tuple<QToolButton*, QSplitter*, int, int, bool> clicks[] = {
      // A 900-pixel window gives Details two fifths of its height, not 500.
      {c.details, outer, height - frame->height() * 2 / 5, frame->height() * 2 / 5, true},
      {c.details, outer, height, 0, false},
      {c.gantt, inner, width, 0, false},
      {c.gantt, inner, table_pane_width, width - table_pane_width, true}};
  for (const auto& [button, splitter, first, second, checked] : clicks) {
    button->click();
    EXPECT_EQ(std::tuple(splitter->sizes().value(0), splitter->sizes().value(1), button->isChecked()),
              std::tuple(first, second, checked)) << button->text().toStdString();
  }

  // The selected row shows in the Details child pane of its tab.
  frame->toggle_details();
  EXPECT_FALSE(frame->show_details_tab("Nonsense"));
  ASSERT_TRUE(frame->show_details_tab("successors"));
  const std::array<TesselView*, 4> kids = frame->details_pane()->child_panes();
  EXPECT_TRUE(kids[1]->isVisibleTo(frame.get()));
  EXPECT_FALSE(kids[0]->isVisibleTo(frame.get()));
  EXPECT_EQ(kids[1]->pane().view(), frame->view_at(views::successors));
  ASSERT_TRUE(frame->select_row(3));
  EXPECT_EQ(table->selectedIndex(), 3);
  EXPECT_FALSE(frame->select_row(100000));
  ASSERT_TRUE(frame->show_details_tab("General"));
  for (TesselView* k : kids) EXPECT_FALSE(k->isVisibleTo(frame.get()));

  // Go To scrolls the chart to a late activity's start.
  ASSERT_TRUE(frame->select_row(static_cast<int>(table->visibleRows().size()) - 1));
  gp.set_scroll_pos(view::scroll_bar::horizontal, 0);
  ASSERT_TRUE(frame->go_to());
  EXPECT_GT(gp.scroll_pos(view::scroll_bar::horizontal), 0);

  // The timescale combo stores codes and shows no entry for unknown ones.
  view::DateSettings* ds = frame->current_layout(view::view_kind::activity)->date_settings();
  ASSERT_NE(ds, nullptr);
  ASSERT_EQ(c.timescale->count(), 7);
  EXPECT_EQ(c.timescale->currentIndex(), timescale_entry_of_code(ds->timescale));
  c.timescale->setCurrentIndex(6);
  emit c.timescale->activated(6);
  EXPECT_EQ(ds->timescale, 8);
  for (int32_t code : {7, 0}) {
    ds->timescale = code;
    frame->rebind_category();
    EXPECT_EQ(c.timescale->currentIndex(), -1) << code;
    EXPECT_EQ(ds->timescale, code);  // showing it changes nothing
  }
  ds->timescale = 8;
  frame->rebind_category();
  EXPECT_EQ(c.timescale->currentText(), "Day/Hour");

  // The layout combo switches the category's layout.
  QComboBox* combo = c.layout;
  ASSERT_GE(combo->count(), 2);
  EXPECT_EQ(combo->currentText(), "Classic WBS Layout");
  const int other = combo->findText("Classic Schedule Layout");
  ASSERT_GE(other, 0);
  combo->setCurrentIndex(other);
  emit combo->activated(other);
  view::Layout* now = frame->current_layout(view::view_kind::activity);
  ASSERT_NE(now, nullptr);
  EXPECT_EQ(now->name(), u"Classic Schedule Layout");
  view::View* rebuilt = tp.view();
  ASSERT_NE(rebuilt, nullptr);
  EXPECT_EQ(rebuilt->layout(), now);
  // The rebuilt table shows the new layout's columns.
  EXPECT_EQ(QString::fromStdU16String(rebuilt->selectionText()).section('\n', 0, 0),
            QString::fromStdU16String(view::table_header_text(now->columns())));
  EXPECT_FALSE(frame->select_layout(view::view_kind::activity, "No Such Layout"));
  EXPECT_EQ(frame->current_layout(view::view_kind::activity), now);

  // The Gantt column hides for resources only, and its button is pressed
  // again once the splitter has laid the column out.
  frame->set_category(view::view_kind::resource);
  QApplication::processEvents();
  EXPECT_EQ(frame->ribbon()->tabs()->currentIndex(), 4);
  EXPECT_TRUE(frame->gantt_pane()->isHidden());
  EXPECT_EQ(frame->ribbon()->controls(view::view_kind::resource).gantt, nullptr);
  EXPECT_EQ(frame->current_layout(view::view_kind::resource)->name(), u"All Resources");
  EXPECT_FALSE(frame->go_to());  // no chart to go to
  // Clicking the WBS tab brings the column back.
  frame->ribbon()->tabs()->setCurrentIndex(2);
  QApplication::processEvents();
  EXPECT_EQ(frame->category(), view::view_kind::wbs);
  EXPECT_FALSE(frame->gantt_pane()->isHidden());
  EXPECT_GT(frame->inner_splitter()->sizes().value(1), 0);
  EXPECT_TRUE(frame->ribbon()->controls(view::view_kind::wbs).gantt->isChecked());
  EXPECT_EQ(frame->ribbon()->controls(view::view_kind::wbs).layout->currentText(), "Project Status");
}

TEST_F(DemoFrame, RefusedOrCancelledOpensKeepTheScheduleAndItsTitle) {
  EXPECT_FALSE(frame->go_to());  // nothing selected
  const document::Document* before = frame->document();
  QTemporaryDir dir;
  const QString bad = dir.filePath("broken.xer");
  QFile f(bad);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("not a schedule\n");
  f.close();
  QSignalSpy spy(frame.get(), &CMainFrame::open_finished);
  frame->open_file(bad);
  ASSERT_EQ(refusals.size(), 1);
  EXPECT_EQ(refusals[0], "Can't open document: " + bad +
                            "\nThe file is not a schedule export (it does not start with ERMHDR).");
  EXPECT_EQ(frame->document(), before);
  EXPECT_EQ(frame->windowTitle(), "demo.xer - Corvane Tessel Reader");
  EXPECT_FALSE(frame->open_file_now(dir.filePath("missing.xls")));
  EXPECT_EQ(refusals.size(), 2);
  EXPECT_EQ(frame->document(), before);

  // Escape while a copy is being read.
  const QString copy = dir.filePath("second.xer");
  ASSERT_TRUE(QFile::copy(demo, copy));
  spy.clear();
  frame->open_file(copy);
  ASSERT_TRUE(frame->is_opening());
  QTest::keyClick(frame.get(), Qt::Key_Escape);
  EXPECT_FALSE(frame->is_opening());
  ASSERT_TRUE(spy.wait(60000));
  EXPECT_FALSE(spy.takeFirst().at(0).toBool());
  EXPECT_EQ(frame->document(), before);
  EXPECT_EQ(frame->windowTitle(), "demo.xer - Corvane Tessel Reader");
  // The window still works with the kept schedule.
  frame->set_category(view::view_kind::wbs);
  EXPECT_EQ(frame->current_layout(view::view_kind::wbs)->name(), u"Project Status");
}

TEST_F(Frame, TextEncodingMenuReadsTheFileAgainInTheChosenEncoding) {
  // A Cyrillic name written by a machine on code page 1251.
  QTemporaryDir dir;
  const QString path = dir.filePath("cyrillic.xer");
  QFile out(path);
  ASSERT_TRUE(out.open(QIODevice::WriteOnly));
  out.write("ERMHDR\t8.0\n%T\tPROJECT\n%F\tproj_id\tproj_short_name\n%R\t1\tP\n"
            "%T\tTASK\n%F\ttask_id\tproj_id\ttask_code\ttask_name\n%R\t10\t1\tA1\t\xC7\xE0\xE4\xE0\xF7\xE0\n%E\n");
  out.close();
  ASSERT_TRUE(frame->open_file_now(path));

  QMenu menu;
  frame->fill_encoding_menu(&menu);
  const QList<QAction*> entries = menu.actions();
  ASSERT_EQ(entries.size(), qsizetype(view::offered_text_encodings().size()));
  QAction* cyrillic = nullptr;
  int checked = 0;
  for (QAction* a : entries) {
    checked += a->isChecked();
    if (a->text().contains(QStringLiteral("1251"))) cyrillic = a;
  }
  EXPECT_EQ(checked, 1);  // the encoding the bytes suggested
  ASSERT_NE(cyrillic, nullptr);
  EXPECT_FALSE(cyrillic->isChecked());

  QSignalSpy spy(frame.get(), &CMainFrame::open_finished);
  cyrillic->trigger();
  ASSERT_TRUE(spy.wait(60000));
  ASSERT_TRUE(spy.takeFirst().at(0).toBool());
  ASSERT_EQ(frame->document()->task.size(), 1u);
  EXPECT_EQ(frame->document()->task[0].task_name.value, u"\u0417\u0430\u0434\u0430\u0447\u0430");
  // The choice is remembered: a plain open of the same file reads 1251 again.
  ASSERT_TRUE(frame->open_file_now(path));
  ASSERT_EQ(frame->document()->task.size(), 1u);
  EXPECT_EQ(frame->document()->task[0].task_name.value, u"\u0417\u0430\u0434\u0430\u0447\u0430");

  // A workbook's text carries its own encoding: the menu offers nothing.
  ASSERT_TRUE(frame->open_file_now(QStringLiteral(TESSEL_SOURCE_DIR "/tests/data/xls/full_export.xls")));
  QMenu none;
  frame->fill_encoding_menu(&none);
  EXPECT_TRUE(none.actions().isEmpty());
}

TEST(FrameScale, SliderAtScaleOneAndAHalfStoresAThirdAndShowsItBack) {
  set_display_scale_override(1.5f);
  auto frame = std::make_unique<CMainFrame>();
  set_display_scale_override(0.0f);
  frame->report_refusal = [](const QString&) {};
  EXPECT_FLOAT_EQ(view::display_scale(), 1.5f);
  ASSERT_TRUE(frame->open_file_now(demo));
  QSlider* slider = frame->ribbon()->controls(view::view_kind::activity).zoom;
  view::DateSettings* ds = frame->current_layout(view::view_kind::activity)->date_settings();
  slider->setValue(5);
  EXPECT_FLOAT_EQ(ds->zoom, 5.0f / 1.5f);
  frame->set_category(view::view_kind::wbs);
  slider->setValue(100);  // another category's slider is not this layout's
  EXPECT_FLOAT_EQ(ds->zoom, 5.0f / 1.5f);
  frame->ribbon()->controls(view::view_kind::wbs).zoom->setValue(30);
  frame->set_category(view::view_kind::activity);
  EXPECT_EQ(slider->value(), 5);
  EXPECT_FLOAT_EQ(frame->current_layout(view::view_kind::wbs)->date_settings()->zoom, 20.0f);
  view::set_display_scale(1.0f);
}

TEST_F(Frame, RecentFilesKeepTenNewestFirstAndThemesRestyle) {
  QTemporaryDir dir;
  for (int i = 0; i < 12; ++i) {
    const QString copy = dir.filePath(QStringLiteral("s%1.xer").arg(i));
    ASSERT_TRUE(QFile::copy(demo, copy));
    ASSERT_TRUE(frame->open_file_now(copy));
  }
  ASSERT_TRUE(frame->open_file_now(dir.filePath("s5.xer")));
  QStringList newest_first = {dir.filePath("s5.xer")};  // reopened: moved up, not listed twice
  for (int i : {11, 10, 9, 8, 7, 6, 4, 3, 2}) newest_first << dir.filePath(QStringLiteral("s%1.xer").arg(i));
  EXPECT_EQ(frame->recent_files(), newest_first);
  EXPECT_EQ(frame->windowTitle(), "s5.xer - Corvane Tessel Reader");
  EXPECT_EQ(frame->ribbon()->file().recent_menu->actions().size(), 10);

  // Themes restyle the window and tick their menu entry.
  EXPECT_EQ(frame->current_theme(), theme::colourful);
  EXPECT_TRUE(frame->styleSheet().contains("#b61f25"));
  frame->set_theme(theme::dark_grey);
  EXPECT_TRUE(frame->styleSheet().contains("#2b2b2b"));
  int ticked = 0;
  for (QAction* a : frame->ribbon()->style_menu()->actions())
    if (a->isChecked()) {
      ++ticked;
      EXPECT_EQ(a->text(), "Dark Gray");
    }
  EXPECT_EQ(ticked, 1);
  frame->set_theme(theme::white);
  EXPECT_FALSE(frame->styleSheet().contains("#2b2b2b"));
}

// The rules behind the window's controls, and its command line.
TEST(FrameRules, TimescaleEntriesZoomAndToggles) {
  const int32_t codes[] = {1, 2, 3, 4, 5, 6, 8};
  for (int e = 0; e < 7; ++e) {
    EXPECT_EQ(timescale_code_of_entry(e), codes[e]) << e;
    EXPECT_EQ(timescale_entry_of_code(codes[e]), e) << e;
  }
  EXPECT_EQ(timescale_code_of_entry(7), -1);
  EXPECT_EQ(timescale_code_of_entry(-1), -1);
  // Code 7 is never produced, and neither it nor 0 selects an entry (the
  // ribbon's combo shows both in DemoFrame); nor does a code past the list.
  EXPECT_EQ(timescale_entry_of_code(9), -1);

  // The Details and Gantt toggles. Then the zoom, stored per display scale
  // and shown back truncated (its check stops at the first mismatch).
  EXPECT_EQ(details_toggled(0, 900, 1300), std::make_pair(400, 500));
  EXPECT_EQ(details_toggled(500, 900, 1300), std::make_pair(900, 0));
  EXPECT_EQ(details_toggled(1, 900, 1300), std::make_pair(900, 0));
  EXPECT_EQ(details_toggled(0, 560, 700), std::make_pair(280, 280));  // two fifths of a small window
  EXPECT_EQ(gantt_toggled(0, 1500), std::make_pair(600, 900));
  EXPECT_EQ(gantt_toggled(1, 1500), std::make_pair(1500, 0));
  EXPECT_EQ(gantt_toggled(0, 400), std::make_pair(600, 0));

  for (int p = zoom_slider_min; p <= zoom_slider_max; ++p)
    for (float s : {1.0f, 1.25f, 1.5f, 1.75f, 2.0f})
      ASSERT_EQ(slider_of_zoom(zoom_of_slider(p, s), s), p) << p << " " << s;
  // Truncated, not rounded.
  EXPECT_EQ(slider_of_zoom(50.9f, 1.0f), 50);
  EXPECT_EQ(slider_of_zoom(33.0f, 1.5f), 49);
}

TEST(CommandLine, RenderOptionsAndErrors) {
  command_line c = parse_command_line({"--render", "out.png", "--category", "WBS", "--layout", "List", "--size",
                                       "800x600", "--select", "3", "--details", "Codes", "f.xer"});
  EXPECT_EQ(std::tuple(c.mode, c.category, c.size, c.select),
            std::tuple(run_mode::render, view::view_kind::wbs, QSize(800, 600), 3));
  EXPECT_EQ(QStringList({c.out, c.layout, c.details_tab, c.file}), QStringList({"out.png", "List", "Codes", "f.xer"}));

  c = parse_command_line({"--render", "o.png", "--dialog", "columns", "activity", "pred", "f.xer"});
  EXPECT_EQ(QStringList({c.dialog, c.file}) + c.dialog_args, QStringList({"columns", "f.xer", "activity", "pred"}));

  EXPECT_EQ(c.theme, -1);
  EXPECT_EQ(parse_command_line({"--style", "Dark", "f.xer"}).theme, 1);
  EXPECT_EQ(parse_command_line({"--style", "white", "f.xer"}).theme, 2);

  // A comparison takes OLD and NEW, and only it has the Changes category.
  c = parse_command_line({"--render", "out.png", "--category", "changes", "--compare", "old.xer", "new.xer"});
  EXPECT_EQ(std::tuple(c.mode, c.changes_category), std::tuple(run_mode::render, true));
  EXPECT_EQ(QStringList({c.compare_old, c.file}), QStringList({"old.xer", "new.xer"}));

  c = parse_command_line({"plain.xer"});
  EXPECT_EQ(std::tuple(c.mode, c.file), std::tuple(run_mode::window, QStringLiteral("plain.xer")));
  EXPECT_EQ(parse_command_line({}).mode, run_mode::window);
  EXPECT_EQ(parse_command_line({"--help"}).mode, run_mode::help);
  // Sizes from 200x150 up to 10000x10000.
  EXPECT_EQ(parse_command_line({"--size", "200x150", "f"}).size, QSize(200, 150));
  EXPECT_EQ(parse_command_line({"--size", "10000x10000", "f"}).size, QSize(10000, 10000));

  for (const QStringList& bad : {QStringList{"--render", "o.png"}, QStringList{"--render"},
                                 QStringList{"--category", "tasks", "f.xer"}, QStringList{"--size", "199x150", "f"},
                                 QStringList{"--select", "-2", "f"}, QStringList{"--bogus", "f"},
                                 QStringList{"a", "b"}, QStringList{"--dialog", "x", "f.xer"},
                                 QStringList{"--style", "neon", "f.xer"}, QStringList{"--category", "changes", "f.xer"},
                                 QStringList{"--compare", "old.xer"}, QStringList{"--size", "200x149", "f"},
                                 QStringList{"--size", "10001x600", "f"}, QStringList{"--size", "800x10001", "f"}})
    EXPECT_EQ(parse_command_line(bad).mode, run_mode::error) << bad.join(' ').toStdString();
}

}  // namespace
}  // namespace tessel::app
