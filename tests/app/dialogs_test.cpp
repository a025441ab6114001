// The dialogs as the user meets them: what they show when they open, what
// their buttons change, and the headless rendering.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSpinBox>
#include <filesystem>
#include <fstream>

#include "config/data_folder.h"
#include "config/settings.h"
#include "../config_sandbox.h"
#include "app/command_line.h"
#include "app/main_frame.h"
#include "app/main_frame_dialogs.h"
#include "app/dialogs/calendar_dlg.h"
#include "app/dialogs/calendar_sub_dlgs.h"
#include "app/dialogs/columns_dlg.h"
#include "app/dialogs/dialog_render.h"
#include "app/dialogs/options_dlg.h"
#include "document/records/record_lists.h"
#include "values/civil.h"
#include "values/display_prefs.h"

using namespace tessel;
using namespace tessel::app;

namespace {

int64_t day(int y, int m, int d) { return civil::days_from_civil(y, m, d) * 86400; }

class Dialogs : public config_sandbox {
 protected:
  Dialogs() : config_sandbox("tessel-dialogs-") {}
  void TearDown() override {
    reset_prefs();
    config_sandbox::TearDown();
  }
};

}  // namespace

TEST(CalendarDialog, OpensOnGlobalAndTodayAndFollowsTheTypeButtons) {
  document::record_lists doc;
  auto& base = doc.calendar.emplace_back();
  base.clndr_name.value = u"Corporate";
  auto& five = doc.calendar.emplace_back();
  five.clndr_name.value = u"Five Day";
  five.base = &base;
  five.calendar.set_base(&base.calendar);
  five.calendar.add_period(3, {8 * 60, 12 * 60});
  five.day_hr_cnt.value = 7.5;

  CalendarDlg dlg(&doc, day(2012, 1, 18) + 600);
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Calendar"));
  const auto radios = dlg.findChildren<QRadioButton*>();
  ASSERT_EQ(radios.size(), 3);
  EXPECT_TRUE(radios[0]->isChecked());
  EXPECT_EQ(radios[0]->text(), QStringLiteral("Global"));
  auto* list = dlg.findChild<QListWidget*>();
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->currentRow(), 0);
  EXPECT_EQ(std::pair(dlg.state().month, dlg.state().selected_date),
            std::pair(view::month_ref{2012, 1}, day(2012, 1, 18)));

  list->setCurrentRow(1);
  EXPECT_EQ(dlg.state().calendar, &five);
  const auto edits = dlg.findChildren<QLineEdit*>();
  ASSERT_EQ(edits.size(), 2);
  EXPECT_EQ(QStringList({edits[0]->text(), edits[1]->text()}), QStringList({"Five Day", "Corporate"}));
  EXPECT_TRUE(edits[0]->isReadOnly());

  CalendarTimePeriodsDlg periods(dlg.state().calendar);
  EXPECT_EQ(QStringList({periods.figure(0), periods.figure(1)}), QStringList({"7.5", "0.0"}));
  CalendarWorkweekDlg week(dlg.state().calendar);
  EXPECT_EQ(week.weekday(), 1);
  EXPECT_EQ(week.findChild<QListWidget*>()->item(0)->text(), QStringLiteral("Sunday"));

  radios[1]->click();  // "Resource": none in this schedule
  EXPECT_EQ(list->count(), 0);
  EXPECT_EQ(QStringList({edits[0]->text(), edits[1]->text()}), QStringList({"", ""}));
  EXPECT_EQ(dlg.state().calendar, nullptr);

  dlg.show_month({2012, 1});
  dlg.previous_month();
  EXPECT_EQ(std::pair(dlg.state().month, dlg.state().selected_date),
            std::pair(view::month_ref{2011, 12}, day(2011, 12, 1)));
}

TEST_F(Dialogs, ColumnChooserAddsAndRemovesOnTheLayout) {
  view::ActivityLayout l;
  l.add_column(catalog::find_field(catalog::catalog_kind::activity, u"task_code")->field_id, 100);
  ColumnsDlg dlg(&l);  // its title is checked where the window opens it
  EXPECT_EQ(dlg.inserted(), QStringList{QStringLiteral("Activity ID")});
  const QStringList before = dlg.available();
  ASSERT_GE(before.size(), 5);
  int changes = 0;
  dlg.on_changed([&] { ++changes; });
  dlg.select_available({4, 0, 2});
  dlg.add();
  EXPECT_EQ(changes, 1);
  ASSERT_EQ(l.column_count(), 4u);
  EXPECT_EQ(dlg.inserted(), (QStringList{QStringLiteral("Activity ID"), before[0], before[2], before[4]}));

  dlg.select_inserted({0, 2});
  dlg.remove();
  EXPECT_EQ(dlg.inserted(), (QStringList{before[0], before[4]}));
  dlg.select_inserted({});
  dlg.remove();  // nothing selected: nothing happens
  EXPECT_EQ(changes, 2);

  RelationshipColumnsDlg pred(&l, true);
  pred.select_available({0});
  pred.add();
  EXPECT_EQ(l.detail_count(view::detail_list::predecessors), 1u);
  EXPECT_EQ(l.column_count(), 2u);
}

TEST_F(Dialogs, OptionsShowTheSettingsAndOnlyOkStoresThem) {
  {
    std::ofstream(config::settings_file(), std::ios::binary) << "gridlines_VerticalScale:8\n";
  }
  config::LoadSettings();
  {
    OptionsDlg dlg(false);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Options"));
    EXPECT_FALSE(dlg.units()->duration_unit->isEnabled());  // no schedule open
    EXPECT_EQ(dlg.units()->duration_unit->currentText(), QStringLiteral("Day"));
    EXPECT_EQ(dlg.gridlines()->scale->currentIndex(), -1);
    EXPECT_EQ(dlg.gridlines()->rows->value(), 5);
    dlg.show_page(1);
    dlg.gridlines()->rows->setValue(0);
    dlg.layouts()->remember->setChecked(false);  // page never shown: not stored
    dlg.reject();
    EXPECT_EQ(std::pair(config::settings().gridlines_VerticalScale, config::settings().gridlines_HorizontalScale),
              std::pair(8, 5));
  }
  {
    OptionsDlg dlg(true);
    EXPECT_TRUE(dlg.units()->duration_unit->isEnabled());
    dlg.units()->duration_unit->setCurrentText(QStringLiteral("Week"));
    dlg.show_page(1);
    dlg.gridlines()->rows->setValue(250);
    dlg.accept();
  }
  const auto& stored = config::settings();
  EXPECT_EQ(std::tuple(stored.gridlines_VerticalScale, stored.gridlines_HorizontalScale, prefs().duration_unit,
                       stored.layout_rememberChanges),
            std::tuple(2, 100, 2, true));
}

// One window on the demo schedule: each dialog rendered headless, the
// command line's render request, and the modal dialogs its hooks open.
TEST_F(Dialogs, WindowHooksRenderAndOpenTheDialogsOfTheDemoSchedule) {
  use_shipped_layouts();
  const QString demo = QStringLiteral(TESSEL_SOURCE_DIR "/samples/demo.xer");
  CMainFrame frame;
  ASSERT_TRUE(frame.open_file_now(demo));
  view::Layout* layout = frame.current_layout(view::view_kind::activity);
  ASSERT_NE(layout, nullptr);

  const auto shot = root_ / "shot.png";
  dialog_render_request r;
  r.out = QString::fromStdString(shot.string());
  r.doc = frame.document();
  r.document_open = true;
  r.layout = layout;
  r.month = QStringLiteral("2025-09");
  for (const char* name : {"calendar", "time-periods", "workweek", "columns", "options"}) {
    r.dialog = QString::fromLatin1(name);
    std::filesystem::remove(shot);
    EXPECT_EQ(render_dialog_png(r), QString()) << name;
    const QImage img(r.out);
    EXPECT_GT(img.width(), 200) << name;
    EXPECT_GT(img.height(), 100) << name;
  }
  // A relationship table's chooser is rendered through the command line below.
  r.dialog = QStringLiteral("columns");
  r.table = QStringLiteral("sideways");
  EXPECT_NE(render_dialog_png(r), QString());
  r.table.clear();
  r.dialog = QStringLiteral("nonsense");
  EXPECT_NE(render_dialog_png(r), QString());
  r.dialog = QStringLiteral("calendar");
  r.calendar = QStringLiteral("No Such Calendar");
  EXPECT_NE(render_dialog_png(r), QString());
  r.calendar.clear();
  r.month = QStringLiteral("2025-13");
  EXPECT_NE(render_dialog_png(r), QString());

  const QString out = QString::fromStdString((root_ / "hook.png").string());
  const command_line cl = parse_command_line({QStringLiteral("--render"), out, QStringLiteral("--dialog"),
                                              QStringLiteral("calendar"), QStringLiteral("--calendar"),
                                              QStringLiteral("Tower Crane Hire"), QStringLiteral("--month"),
                                              QStringLiteral("2025-09"), demo});
  ASSERT_EQ(cl.mode, run_mode::render) << cl.error.toStdString();
  EXPECT_EQ(cl.dialog_args, (QStringList{QStringLiteral("--calendar"), QStringLiteral("Tower Crane Hire"),
                                         QStringLiteral("--month"), QStringLiteral("2025-09")}));
  EXPECT_TRUE(dialogs_available());
  EXPECT_EQ(render_dialog(frame, cl.dialog, cl.dialog_args, out), 0);
  EXPECT_FALSE(QImage(out).isNull());
  // The column chooser names its table, options their page; what cannot be
  // rendered exits with 2.
  EXPECT_EQ(render_dialog(frame, QStringLiteral("columns"), {QStringLiteral("successors")}, out), 0);
  EXPECT_EQ(render_dialog(frame, QStringLiteral("options"), {QStringLiteral("--page"), QStringLiteral("gridlines")},
                          out),
            0);
  EXPECT_EQ(render_dialog(frame, QStringLiteral("sundial"), {}, out), 2);

  // The modal dialogs are driven from inside their own event loops.
  const std::size_t before = layout->column_count();
  QString seen;
  QTimer::singleShot(0, [&] {
    auto* dlg = dynamic_cast<ColumnsDlg*>(QApplication::activeModalWidget());
    if (!dlg) return;
    seen = dlg->windowTitle();
    dlg->select_available({0, 1});
    dlg->add();
    dlg->accept();
  });
  open_column_chooser(frame, view::view_kind::activity);
  EXPECT_EQ(seen, QStringLiteral("Customize Columns"));
  EXPECT_EQ(layout->column_count(), before + 2);

  seen.clear();
  QTimer::singleShot(0, [&] {
    auto* dlg = dynamic_cast<CalendarDlg*>(QApplication::activeModalWidget());
    if (!dlg) return;
    seen = QString::number(dlg->state().names.size());
    dlg->accept();
  });
  open_calendar_dialog(frame);
  EXPECT_EQ(seen, QStringLiteral("2"));  // the demo's two global calendars

  QTimer::singleShot(0, [&] {
    if (auto* dlg = dynamic_cast<OptionsDlg*>(QApplication::activeModalWidget())) dlg->reject();
  });
  EXPECT_FALSE(open_options(frame));
  QTimer::singleShot(0, [&] {
    if (auto* dlg = dynamic_cast<OptionsDlg*>(QApplication::activeModalWidget())) dlg->accept();
  });
  EXPECT_TRUE(open_options(frame));
  EXPECT_TRUE(std::filesystem::exists(config::settings_file()));
}
