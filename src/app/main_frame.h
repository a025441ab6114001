// The main window: the ribbon, the three panes (table and Gantt chart side
// by side over the Details pane), the seventeen views, the open schedule and
// every ribbon command.
#pragma once

#include <optional>

#include <QElapsedTimer>
#include <QFutureWatcher>
#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QSplitter>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>

#include "app/ribbon.h"
#include "app/schedule_open.h"
#include "app/shown_control.h"
#include "app/tessel_view.h"
#include "app/themes.h"
#include "app/view_set.h"
#include "view/tessel_doc.h"

namespace tessel::app {

class CompareSession;

// The display scale the next window uses instead of the screen's (0: the
// screen's logical dots per inch / 96); set by --scale.
void set_display_scale_override(float scale);

class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  explicit CMainFrame(QWidget* parent = nullptr);
  ~CMainFrame() override;

  // ---- the schedule ----------------------------------------------------------
  // Opens a file on a worker thread; the window keeps the schedule it shows
  // until the new one has been read. A refused file is reported through
  // `report_refusal` at once. While an open runs, another open replaces it.
  // With an encoding the file's XER text is read in it (the "Text
  // Encoding" menu), and the choice is remembered for the file.
  void open_file(const QString& path, std::optional<document::text_encoding> encoding = std::nullopt);
  // The same, waiting for the result (command line of the headless modes,
  // tests). Answers whether the file was accepted.
  bool open_file_now(const QString& path);
  bool is_opening() const { return opening_generation_ != 0; }
  // Esc while opening: the window keeps its schedule. Reading cannot be
  // interrupted, so the worker runs to its end and its result is dropped.
  void cancel_open();

  view::TesselDoc* tessel_doc() const { return doc_.get(); }
  const document::Document* document() const { return doc_ ? doc_->document() : nullptr; }
  QString file_path() const { return path_; }
  // How a refusal is shown; a message box unless replaced (tests, headless).
  std::function<void(const QString& message)> report_refusal;

  // ---- categories, layouts and panes ----------------------------------------
  view::view_kind category() const { return category_; }
  void set_category(view::view_kind category);
  view::Layout* current_layout(view::view_kind category) const;
  // Makes the named layout the category's current one; false when the open
  // schedule has none of that name.
  bool select_layout(view::view_kind category, const QString& name);
  // Plugs the current category's views into the panes again and refreshes
  // them (after a layout or its columns changed).
  void rebind_category();
  void repaint_panes();
  // Every Gantt view recomputes its timescale (after the options changed).
  void recompute_timescales();

  view::View* view_at(int index) const { return views_.at(index); }
  Ribbon* ribbon() const { return ribbon_; }
  QSplitter* outer_splitter() const { return outer_; }
  QSplitter* inner_splitter() const { return inner_; }
  TesselView* table_pane() const { return table_pane_; }
  TesselView* gantt_pane() const { return gantt_pane_; }
  TesselView* details_pane() const { return details_pane_; }

  // ---- commands ----------------------------------------------------------------
  void toggle_details();
  void toggle_gantt();
  void expand_all();
  void collapse_all();
  // Scrolls the Gantt chart to the selected row's start; false when there
  // is nothing to go to.
  bool go_to();
  void choose_timescale(int entry);
  void set_zoom(int slider_position);
  // Ctrl+C: the focused pane's copy text, else the category's table's.
  bool copy_table();
  // Makes `tab` the Details pane's current tab and lays out its child
  // panes; false when the category's detail view has no such tab.
  bool show_details_tab(const QString& tab);
  // Selects the table's visible row `index` (0 = first) as a click would.
  bool select_row(int index);
  void set_theme(theme t);
  theme current_theme() const { return theme_; }
  void show_open_dialog();
  void show_about();
  void print();
  void print_preview();
  void export_pdf();
  void show_options();

  // The comparison with another update of the open schedule (File >
  // Compare With...).
  CompareSession* comparison() const { return compare_; }

  // ---- shown activities, find, trace (see shown_control.h) --------------------
  // Shows only these activities in the Activity view (with the Filter
  // panel's filters and a trace, AND); the status bar says "Showing n of m
  // activities: LABEL". Null shows every activity again.
  void show_activities(std::shared_ptr<const analysis::shown_activities> shown) {
    shown_control_->show_activities(std::move(shown));
  }
  // Selects the activity in the Activity view: groups expanded, row in view
  // in the table and the Gantt chart, Details following.
  bool go_to_activity(const document::TASK& task) { return shown_control_->go_to_activity(task); }
  ShownControl& shown_control() const { return *shown_control_; }

  // The recent-file list, newest first (at most ten).
  QStringList recent_files() const;
  // Fills the File page's "Text Encoding" menu: every offered encoding,
  // the one the open schedule was read in checked; picking another reads
  // the file again in it. Empty for a workbook, whose text carries its own.
  void fill_encoding_menu(QMenu* menu);

 signals:
  // An open finished: accepted, refused or dropped after a cancel.
  void open_finished(bool accepted);

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void build_panes();
  void connect_ribbon();
  void adopt(std::unique_ptr<opened_schedule> opened);
  void finish_open(std::unique_ptr<opened_schedule> opened, quint64 generation);
  void update_title();
  void update_enabling();
  void update_pane_buttons();
  void fill_layout_combo();
  void fill_timescale_controls();
  void fill_recent_menu();
  void add_recent(const QString& path);
  void show_status();

  Ribbon* ribbon_ = nullptr;
  QSplitter* outer_ = nullptr;
  QSplitter* inner_ = nullptr;
  TesselView* table_pane_ = nullptr;
  TesselView* gantt_pane_ = nullptr;
  TesselView* details_pane_ = nullptr;
  QLabel* status_counts_ = nullptr;
  QLabel* status_time_ = nullptr;
  QLabel* status_progress_text_ = nullptr;
  QProgressBar* progress_ = nullptr;

  view_set views_;
  // The open schedule; the process-wide catalogs are the ones it was read
  // with.
  std::unique_ptr<view::TesselDoc> doc_;
  QString path_;
  double open_ms_ = 0.0;
  view::view_kind category_ = view::view_kind::activity;
  std::array<view::Layout*, 4> layouts_{};
  theme theme_ = theme::colourful;
  bool filling_ = false;  // combos being refilled: their signals are ignored

  CompareSession* compare_ = nullptr;
  quint64 opening_generation_ = 0;
  quint64 next_generation_ = 1;
  QElapsedTimer open_timer_;
  ShownControl* shown_control_ = nullptr;  // a child of the window
};

}  // namespace tessel::app
