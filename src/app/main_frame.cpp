#include "app/main_frame.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QStatusBar>
#include <QThreadPool>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>
#include <QUrl>
#include <QtConcurrent/QtConcurrentRun>

#include "app/app_info.h"
#include "app/compare_session.h"
#include "app/frame_rules.h"
#include "app/main_frame_dialogs.h"
#include "app/load_notice.h"
#include "app/printing.h"
#include "config/data_folder.h"
#include "config/settings.h"
#include "view/details/detail_view.h"
#include "view/display_scale.h"
#include "view/gantt/go_to.h"

namespace tessel::app {
namespace {

float g_scale_override = 0.0f;
constexpr int recent_count = 10;

QSettings user_settings() { return QSettings(organisation, app_title); }

// Outer row 0 takes every pixel at start: a sum larger than any screen.
constexpr int whole = 1 << 20;

}  // namespace

void set_display_scale_override(float scale) { g_scale_override = scale; }

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent) {
  ribbon_ = new Ribbon(this);
  setMenuWidget(ribbon_);

  // The display scale, then the per-user folder and the settings, before any
  // view exists.
  float scale = g_scale_override;
  if (scale <= 0.0f) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    scale = screen ? static_cast<float>(screen->logicalDotsPerInchX() / 96.0) : 1.0f;
  }
  view::set_display_scale(scale);
  config::data_folder();
  config::LoadSettings();

  build_panes();
  connect_ribbon();

  status_warning_ = make_warning_icon();
  statusBar()->addWidget(status_warning_);
  status_counts_ = new QLabel;
  status_time_ = new QLabel;
  status_progress_text_ = new QLabel;
  progress_ = new QProgressBar;
  progress_->setRange(0, 0);
  progress_->setFixedWidth(160);
  progress_->setMaximumHeight(14);
  progress_->setTextVisible(false);
  statusBar()->addWidget(status_counts_);
  statusBar()->addWidget(status_time_);
  statusBar()->addPermanentWidget(status_progress_text_);
  statusBar()->addPermanentWidget(progress_);
  status_progress_text_->hide();
  progress_->hide();
  statusBar()->setSizeGripEnabled(false);

  auto add_action = [this](const QKeySequence& key, auto slot) {
    auto* a = new QAction(this);
    a->setShortcut(key);
    a->setShortcutContext(Qt::WindowShortcut);
    connect(a, &QAction::triggered, this, slot);
    addAction(a);
    return a;
  };
  add_action(QKeySequence(Qt::CTRL | Qt::Key_O), [this] { show_open_dialog(); });
  add_action(QKeySequence(Qt::CTRL | Qt::Key_P), [this] { print(); });
  add_action(QKeySequence(Qt::CTRL | Qt::Key_C), [this] { copy_table(); });
  add_action(QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { close(); });
  // Esc stops an open; otherwise it closes the find bar it is typed in, or
  // ends a trace.
  add_action(QKeySequence(Qt::Key_Escape), [this] {
    if (is_opening()) cancel_open();
    else shown_control_->escape();
  });
  shown_control_ = new ShownControl(*this);

  report_refusal = [this](const QString& message) { QMessageBox::warning(this, app_title, message); };
  compare_ = new CompareSession(*this);

  setAcceptDrops(true);
  set_theme(theme::colourful);
  fill_recent_menu();
  update_title();
  rebind_category();
  resize(1280, 800);
}

CMainFrame::~CMainFrame() {
  // A read still running must not outlive the window's catalogs.
  QThreadPool::globalInstance()->waitForDone();
  // The comparison points into the schedule and the views.
  delete compare_;
  compare_ = nullptr;
  for (int i = 0; i < view_set_size; ++i)
    if (view::View* v = views_.at(i)) {
      v->set_layout(nullptr);
      v->set_document(nullptr);
    }
}

void CMainFrame::build_panes() {
  outer_ = new QSplitter(Qt::Vertical);
  inner_ = new QSplitter(Qt::Horizontal);
  table_pane_ = new TesselView;
  gantt_pane_ = new TesselView;
  details_pane_ = new TesselView;
  inner_->addWidget(table_pane_);
  inner_->addWidget(gantt_pane_);
  outer_->addWidget(inner_);
  outer_->addWidget(details_pane_);
  for (QSplitter* s : {outer_, inner_}) {
    s->setChildrenCollapsible(true);
    s->setHandleWidth(3);
    s->setOpaqueResize(true);
  }
  // Extra room goes to the table rows and to the Gantt chart: a hidden
  // Details pane stays hidden and the table keeps its width.
  outer_->setStretchFactor(0, 1);
  outer_->setStretchFactor(1, 0);
  inner_->setStretchFactor(0, 0);
  inner_->setStretchFactor(1, 1);
  outer_->setSizes({whole, 0});
  inner_->setSizes({table_pane_width, whole});
  // The notice about the open file stands above the table.
  auto* central = new QWidget;
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  notice_ = new load_notice_bar;
  column->addWidget(notice_);
  column->addWidget(outer_, 1);
  setCentralWidget(central);
  connect(notice_, &load_notice_bar::details_requested, this, [this] { show_report(); });
  connect(outer_, &QSplitter::splitterMoved, this, [this] { update_pane_buttons(); });
  connect(inner_, &QSplitter::splitterMoved, this, [this] { update_pane_buttons(); });
}

void CMainFrame::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  update_pane_buttons();
  // Scripts that drive the window with a real pointer (the end-to-end test)
  // learn where the ribbon's tabs are from this one-time listing.
  if (qEnvironmentVariableIsSet("TESSEL_UI_MAP")) {
    QTimer::singleShot(0, this, [this] {
      QTabBar* tabs = ribbon_->tabs();
      for (int i = 0; i < tabs->count(); ++i) {
        const QRect r = tabs->tabRect(i);
        const QPoint at = tabs->mapTo(this, r.topLeft());
        std::printf("tab %s %d %d %d %d\n", tabs->tabText(i).toUtf8().constData(), at.x(), at.y(), r.width(),
                    r.height());
      }
      std::fflush(stdout);
    });
  }
}

void CMainFrame::connect_ribbon() {
  connect(ribbon_, &Ribbon::category_selected, this, [this](view::view_kind c) {
    if (c != category_) set_category(c);
  });
  connect(ribbon_, &Ribbon::options_requested, this, [this] { show_options(); });
  for (view::view_kind c :
       {view::view_kind::activity, view::view_kind::wbs, view::view_kind::project, view::view_kind::resource}) {
    category_controls& k = ribbon_->controls(c);
    connect(k.layout, &QComboBox::activated, this, [this, c](int index) {
      if (filling_ || index < 0) return;
      select_layout(c, ribbon_->controls(c).layout->itemText(index));
    });
    connect(k.details, &QToolButton::clicked, this, [this] { toggle_details(); });
    if (k.gantt) connect(k.gantt, &QToolButton::clicked, this, [this] { toggle_gantt(); });
    for (std::size_t i = 0; i < k.tables.size(); ++i) {
      connect(k.tables[i], &QToolButton::clicked, this, [this, c, i] {
        if (!doc_ || !current_layout(c)) return;
        if (i == 0) open_column_chooser(*this, c);
        else open_relationship_column_chooser(*this, static_cast<int>(i) - 1);
      });
    }
    connect(k.expand_all, &QToolButton::clicked, this, [this] { expand_all(); });
    connect(k.collapse_all, &QToolButton::clicked, this, [this] { collapse_all(); });
    if (k.go_to) connect(k.go_to, &QToolButton::clicked, this, [this] { go_to(); });
    connect(k.calendar, &QToolButton::clicked, this, [this] {
      if (doc_) open_calendar_dialog(*this);
    });
    if (k.check) connect(k.check, &QToolButton::clicked, this, [this] { show_check(); });
    if (k.timescale)
      connect(k.timescale, &QComboBox::activated, this, [this](int entry) {
        if (!filling_) choose_timescale(entry);
      });
    if (k.zoom)
      connect(k.zoom, &QSlider::valueChanged, this, [this](int p) {
        if (!filling_) set_zoom(p);
      });
  }
  file_controls& f = ribbon_->file();
  connect(f.open, &QToolButton::clicked, this, [this] { show_open_dialog(); });
  connect(f.print, &QToolButton::clicked, this, [this] { print(); });
  connect(f.preview, &QToolButton::clicked, this, [this] { print_preview(); });
  connect(f.export_pdf, &QToolButton::clicked, this, [this] { export_pdf(); });
  connect(f.options, &QToolButton::clicked, this, [this] { show_options(); });
  connect(f.exit, &QToolButton::clicked, this, [this] { close(); });
  connect(f.help_link, &QToolButton::clicked, this, [] { QDesktopServices::openUrl(QUrl(help_url())); });
  connect(f.web_link, &QToolButton::clicked, this, [] { QDesktopServices::openUrl(QUrl(website_url())); });
  connect(f.encoding_menu, &QMenu::aboutToShow, this, [this] {
    QMenu* menu = ribbon_->file().encoding_menu;
    menu->clear();
    fill_encoding_menu(menu);
    if (menu->isEmpty()) menu->addAction(QStringLiteral("(none available)"))->setEnabled(false);
  });
  f.version->setText(version_line());
  connect(f.report_link, &QToolButton::clicked, this, [this] { show_report(); });

  QMenu* styles = ribbon_->style_menu();
  auto* group = new QActionGroup(this);
  for (theme t : {theme::colourful, theme::dark_grey, theme::white}) {
    QAction* a = styles->addAction(theme_caption(t));
    a->setCheckable(true);
    a->setChecked(t == theme_);
    a->setData(static_cast<int>(t));
    group->addAction(a);
    connect(a, &QAction::triggered, this, [this, t] { set_theme(t); });
  }
  connect(ribbon_->about_button(), &QToolButton::clicked, this, [this] { show_about(); });
}

// ---- opening ----------------------------------------------------------------------

void CMainFrame::open_file(const QString& path, std::optional<document::text_encoding> encoding) {
  std::u16string why;
  if (document::sniff_schedule(path.toStdU16String(), &why) == document::schedule_format::none) {
    refuse(path, why);
    emit open_finished(false);
    return;
  }
  // The columns the user changed are written before the new file's layouts
  // read them back.
  if (doc_) doc_->configuration().save_columns();
  const quint64 generation = next_generation_++;
  opening_generation_ = generation;
  open_timer_.start();
  const QFileInfo info(path);
  status_progress_text_->setText(QStringLiteral("Opening %1 (%2 MB) - Esc cancels")
                                     .arg(info.fileName())
                                     .arg(static_cast<double>(info.size()) / 1048576.0, 0, 'f', 1));
  status_progress_text_->show();
  progress_->show();
  auto* watcher = new QFutureWatcher<opened_schedule*>(this);
  connect(watcher, &QFutureWatcher<opened_schedule*>::finished, this, [this, watcher, generation] {
    std::unique_ptr<opened_schedule> result(watcher->result());
    watcher->deleteLater();
    finish_open(std::move(result), generation);
  });
  watcher->setFuture(QtConcurrent::run([path, encoding] { return read_schedule(path, encoding).release(); }));
}

bool CMainFrame::open_file_now(const QString& path) {
  std::u16string why;
  if (document::sniff_schedule(path.toStdU16String(), &why) == document::schedule_format::none) {
    refuse(path, why);
    return false;
  }
  if (doc_) doc_->configuration().save_columns();
  opening_generation_ = 0;
  std::unique_ptr<opened_schedule> result = read_schedule(path);
  if (!result->accepted) {
    refuse(path, result->refusal);
    return false;
  }
  adopt(std::move(result));
  return true;
}

void CMainFrame::refuse(const QString& path, const std::u16string& why) {
  if (report_refusal) report_refusal(QString::fromStdU16String(view::refusal_message(path.toStdU16String(), why)));
}

void CMainFrame::fill_encoding_menu(QMenu* menu) {
  if (!doc_ || !doc_->encoding_used()) return;
  const document::text_encoding used = *doc_->encoding_used();
  auto* group = new QActionGroup(menu);
  for (const document::encoding_info& e : view::offered_text_encodings()) {
    QAction* a = menu->addAction(QString::fromStdU16String(std::u16string(e.display_name)));
    a->setCheckable(true);
    a->setChecked(e.encoding == used);
    group->addAction(a);
    const document::text_encoding chosen = e.encoding;
    connect(a, &QAction::triggered, this, [this, chosen] {
      if (!path_.isEmpty()) open_file(path_, chosen);
    });
  }
}

void CMainFrame::cancel_open() {
  if (compare_ && compare_->cancel()) return;
  if (!opening_generation_) return;
  opening_generation_ = 0;
  progress_->hide();
  status_progress_text_->hide();
  statusBar()->showMessage(QStringLiteral("Opening cancelled"), 4000);
}

void CMainFrame::finish_open(std::unique_ptr<opened_schedule> opened, quint64 generation) {
  if (!opened || generation != opening_generation_) {
    // Cancelled or replaced: the schedule read in vain is freed off the
    // window's thread, a big one takes a while.
    if (opened) QThreadPool::globalInstance()->start([p = opened.release()] { delete p; });
    emit open_finished(false);
    return;
  }
  opening_generation_ = 0;
  progress_->hide();
  status_progress_text_->hide();
  if (!opened->accepted) {
    refuse(opened->path, opened->refusal);
    emit open_finished(false);
    return;
  }
  opened->milliseconds = static_cast<double>(open_timer_.nsecsElapsed()) / 1e6;
  adopt(std::move(opened));
  emit open_finished(true);
}

void CMainFrame::adopt(std::unique_ptr<opened_schedule> opened) {
  // A comparison points into the schedule that is about to go.
  if (compare_) compare_->close();
  std::unique_ptr<view::TesselDoc> old_doc = std::move(doc_);
  doc_ = std::move(opened->doc);
  std::unique_ptr<catalog::catalog_set> old_catalogs = catalog::adopt_catalogs(std::move(opened->catalogs));
  path_ = opened->path;
  open_ms_ = opened->milliseconds;
  // Every view lets go of the old layouts before they are destroyed.
  for (int i = 0; i < view_set_size; ++i)
    if (view::View* v = views_.at(i)) {
      v->set_layout(nullptr);
      v->set_document(doc_->document());
    }
  for (view::view_kind k :
       {view::view_kind::activity, view::view_kind::wbs, view::view_kind::project, view::view_kind::resource})
    layouts_[static_cast<std::size_t>(k)] = doc_->configuration().first_layout(k);
  shown_control_->document_changed();
  rebind_category();
  view::show_earliest(&gantt_pane_->pane());  // the first bars, not the chart's lead-in
  refresh_check();
  old_doc.reset();
  old_catalogs.reset();
  add_recent(path_);
  update_title();
  show_status();
}

// ---- categories and panes ----------------------------------------------------------

void CMainFrame::set_category(view::view_kind category) {
  category_ = category;
  if (ribbon_->tabs()->currentIndex() != Ribbon::tab_of(category))
    ribbon_->tabs()->setCurrentIndex(Ribbon::tab_of(category));
  rebind_category();
  // A Gantt column shown again gets its width only when the splitter lays
  // out: the buttons are read from the sizes after that.
  QTimer::singleShot(0, this, [this] { update_pane_buttons(); });
}

view::Layout* CMainFrame::current_layout(view::view_kind category) const {
  return doc_ ? layouts_[static_cast<std::size_t>(category)] : nullptr;
}

bool CMainFrame::select_layout(view::view_kind category, const QString& name) {
  if (!doc_) return false;
  view::Layout* l = doc_->configuration().layouts().find(category, name.toStdU16String());
  if (!l) return false;
  layouts_[static_cast<std::size_t>(category)] = l;
  if (category == category_) rebind_category();
  return true;
}

void CMainFrame::rebind_category() {
  const category_views cv = views_of(category_);
  view::View* table = views_.at(cv.table);
  view::View* gantt = views_.at(cv.gantt);
  view::View* detail = views_.at(cv.detail);
  view::HostPane& tp = table_pane_->pane();
  view::HostPane& gp = gantt_pane_->pane();
  view::HostPane& dp = details_pane_->pane();
  tp.set_view(table);
  gp.set_view(gantt);
  dp.set_view(detail);
  tp.set_linked(gantt ? &gp : nullptr);
  gp.set_linked(gantt ? &tp : nullptr);
  tp.clear_repaint_panes();
  tp.add_repaint_pane(&gp);
  tp.add_repaint_pane(&dp);
  tp.set_details_pane(&dp);
  gp.clear_repaint_panes();
  gp.add_repaint_pane(&dp);
  gp.set_details_pane(gantt ? &dp : nullptr);  // a click on a bar selects its row
  // The Resource category has no Gantt column.
  gantt_pane_->setVisible(category_ != view::view_kind::resource);

  const document::Document* d = document();
  view::Layout* layout = current_layout(category_);
  auto plug = [&](view::View* v) {
    if (!v) return;
    v->set_document(d);
    v->set_layout(layout);
    if (d && layout) v->refresh();
  };
  plug(table);
  plug(gantt);
  plug(detail);
  std::array<view::View*, 4> child_views{};
  for (std::size_t i = 0; i < 4; ++i) {
    child_views[i] = views_.at(cv.children[i]);
    plug(child_views[i]);
  }
  const std::array<TesselView*, 4> kids = details_pane_->child_panes();
  dp.set_children({&kids[0]->pane(), &kids[1]->pane(), &kids[2]->pane(), &kids[3]->pane()}, child_views);
  dp.layout_children();
  for (TesselView* p : {table_pane_, gantt_pane_, details_pane_}) p->pane().update_ranges();

  fill_layout_combo();
  fill_timescale_controls();
  update_enabling();
  update_pane_buttons();
  repaint_panes();
}

void CMainFrame::repaint_panes() {
  for (TesselView* p : {table_pane_, gantt_pane_, details_pane_}) p->viewport()->update();
  for (TesselView* c : details_pane_->child_panes()) c->viewport()->update();
}

void CMainFrame::recompute_timescales() {
  for (int i : {views::activity_gantt, views::wbs_gantt, views::project_gantt})
    if (view::View* v = views_.at(i); v && v->document() && v->layout()) v->refresh();
  repaint_panes();
}

void CMainFrame::fill_layout_combo() {
  filling_ = true;
  QComboBox* combo = ribbon_->controls(category_).layout;
  combo->clear();
  if (doc_) {
    for (const auto& l : doc_->configuration().layouts().of(category_))
      combo->addItem(QString::fromStdU16String(l->name()));
    if (view::Layout* cur = current_layout(category_))
      combo->setCurrentIndex(combo->findText(QString::fromStdU16String(cur->name())));
  }
  filling_ = false;
}

void CMainFrame::fill_timescale_controls() {
  category_controls& k = ribbon_->controls(category_);
  if (!k.timescale) return;
  filling_ = true;
  const view::Layout* layout = current_layout(category_);
  const view::DateSettings* ds = layout ? layout->date_settings() : nullptr;
  k.timescale->setCurrentIndex(ds ? timescale_entry_of_code(ds->timescale) : -1);
  if (ds) k.zoom->setValue(slider_of_zoom(ds->zoom, view::display_scale()));
  filling_ = false;
}

void CMainFrame::update_enabling() {
  const bool open = doc_ != nullptr;
  for (view::view_kind c :
       {view::view_kind::activity, view::view_kind::wbs, view::view_kind::project, view::view_kind::resource}) {
    category_controls& k = ribbon_->controls(c);
    const bool has_layout = open && current_layout(c) != nullptr;
    for (QWidget* w : std::initializer_list<QWidget*>{k.layout, k.details, k.gantt, k.expand_all, k.collapse_all,
                                                     k.go_to, k.timescale, k.zoom, k.check})
      if (w) w->setEnabled(open);
    k.calendar->setEnabled(open && dialogs_available());
    for (QToolButton* t : k.tables) t->setEnabled(has_layout && dialogs_available());
  }
  file_controls& f = ribbon_->file();
  for (QToolButton* b : {f.print, f.preview, f.export_pdf, f.encoding}) b->setEnabled(open);
}

void CMainFrame::update_pane_buttons() {
  const QList<int> rows = outer_->sizes();
  const QList<int> cols = inner_->sizes();
  for (view::view_kind c :
       {view::view_kind::activity, view::view_kind::wbs, view::view_kind::project, view::view_kind::resource}) {
    category_controls& k = ribbon_->controls(c);
    k.details->setChecked(rows.size() > 1 && rows[1] > 0);
    if (k.gantt) k.gantt->setChecked(cols.size() > 1 && cols[1] > 0);
  }
}

// ---- commands ----------------------------------------------------------------------

void CMainFrame::toggle_details() {
  if (!doc_) return;
  const QList<int> rows = outer_->sizes();
  const auto [top, bottom] = details_toggled(rows.value(1), rows.value(0) + rows.value(1), height());
  outer_->setSizes({top, bottom});
  update_pane_buttons();
}

void CMainFrame::toggle_gantt() {
  if (!doc_ || category_ == view::view_kind::resource) return;
  const QList<int> cols = inner_->sizes();
  const auto [left, right] = gantt_toggled(cols.value(1), cols.value(0) + cols.value(1));
  inner_->setSizes({left, right});
  update_pane_buttons();
}

void CMainFrame::expand_all() {
  view::View* table = table_pane_->pane().view();
  if (!doc_ || !table || !table->layout()) return;
  table->expandAll();
  table->refresh();
  if (view::View* g = gantt_pane_->pane().view()) g->refresh();
  for (TesselView* p : {table_pane_, gantt_pane_}) p->pane().update_ranges();
  repaint_panes();
}

void CMainFrame::collapse_all() {
  view::View* table = table_pane_->pane().view();
  if (!doc_ || !table || !table->layout()) return;
  table->collapseAll();
  if (view::View* g = gantt_pane_->pane().view()) g->refresh();
  if (category_ == view::view_kind::activity)
    for (int i : {views::predecessors, views::successors, views::activity_codes, views::activity_steps})
      if (view::View* v = views_.at(i); v && v->layout()) v->refresh();
  for (TesselView* p : {table_pane_, gantt_pane_}) p->pane().update_ranges();
  repaint_panes();
}

bool CMainFrame::go_to() {
  if (!doc_ || category_ == view::view_kind::resource) return false;
  return view::go_to(&table_pane_->pane(), &gantt_pane_->pane());
}

void CMainFrame::choose_timescale(int entry) {
  view::Layout* layout = current_layout(category_);
  view::DateSettings* ds = layout ? layout->date_settings() : nullptr;
  const int32_t code = timescale_code_of_entry(entry);
  if (!ds || code < 0) return;
  const std::optional<int64_t> centre = view::centre_date(gantt_pane_->pane());
  ds->timescale = code;
  if (view::View* g = gantt_pane_->pane().view(); g && g->isGantt()) g->refresh();
  gantt_pane_->pane().update_ranges();
  if (centre) view::centre_on(gantt_pane_->pane(), *centre);
  repaint_panes();
}

void CMainFrame::set_zoom(int slider_position) {
  view::Layout* layout = current_layout(category_);
  view::DateSettings* ds = layout ? layout->date_settings() : nullptr;
  if (!ds) return;
  const std::optional<int64_t> centre = view::centre_date(gantt_pane_->pane());
  ds->zoom = zoom_of_slider(slider_position, view::display_scale());
  if (view::View* g = gantt_pane_->pane().view(); g && g->isGantt()) g->refresh();
  gantt_pane_->pane().update_ranges();
  if (centre) view::centre_on(gantt_pane_->pane(), *centre);
  repaint_panes();
}

bool CMainFrame::copy_table() {
  if (auto* focused = qobject_cast<TesselView*>(QApplication::focusWidget()); focused && focused->window() == this)
    if (focused->copy_to_clipboard()) return true;
  return table_pane_->copy_to_clipboard();
}

bool CMainFrame::select_row(int index) {
  view::View* table = table_pane_->pane().view();
  if (!table || index < 0 || static_cast<std::size_t>(index) >= table->visibleRows().size()) return false;
  table->selectVisibleRow(index);
  // Bring the row into sight when it is not.
  view::HostPane& tp = table_pane_->pane();
  const float top = static_cast<float>(index) * table->rowHeight();
  const float sight = static_cast<float>(tp.client_height()) - table->headerHeight();
  const int pos = tp.scroll_pos(view::scroll_bar::vertical);
  if (top < static_cast<float>(pos) || top + table->rowHeight() > static_cast<float>(pos) + sight)
    tp.set_scroll_pos(view::scroll_bar::vertical, static_cast<int>(top));
  details_pane_->pane().layout_children();
  repaint_panes();
  return table->selectedRow() == table->visibleRows()[static_cast<std::size_t>(index)];
}

bool CMainFrame::show_details_tab(const QString& tab) {
  auto* detail = dynamic_cast<view::DetailView*>(details_pane_->pane().view());
  if (!detail) return false;
  for (const std::u16string& name : detail->tabs()) {
    if (QString::fromStdU16String(name).compare(tab, Qt::CaseInsensitive) != 0) continue;
    detail->setCurrentTab(name);
    details_pane_->pane().layout_children();
    repaint_panes();
    return true;
  }
  return false;
}

void CMainFrame::set_theme(theme t) {
  theme_ = t;
  setStyleSheet(theme_style_sheet(t));
  ribbon_->set_icon_ink(theme_icon_ink(t));
  for (QAction* a : ribbon_->style_menu()->actions()) a->setChecked(a->data().toInt() == static_cast<int>(t));
}

QString CMainFrame::open_dialog_folder() const {
  // The folder of the file open now, else of the last one opened.
  const QString last = path_.isEmpty() ? recent_files().value(0) : path_;
  return last.isEmpty() ? QString() : QFileInfo(last).absolutePath();
}

void CMainFrame::show_open_dialog() {
  const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Open"), open_dialog_folder(),
                                                    QStringLiteral("Tessel Files (*.xer *.xls *.xlsx)"));
  if (!path.isEmpty()) open_file(path);
}

void CMainFrame::show_about() {
  QMessageBox box(this);
  box.setWindowTitle(QStringLiteral("About ") + app_title);
  box.setTextFormat(Qt::RichText);
  box.setText(QStringLiteral("<b>%1</b><br>%2<br><a href=\"%3\" title=\"Corvane Tessel Reader Website\">%3</a>")
                  .arg(app_title, version_line(), website_url()));
  box.setTextInteractionFlags(Qt::TextBrowserInteraction);
  box.exec();
}

void CMainFrame::print() {
  if (doc_) print_with_dialog(*this);
}

void CMainFrame::print_preview() {
  if (doc_) preview_print(*this);
}

void CMainFrame::export_pdf() {
  if (!doc_) return;
  print_options options = saved_print_options();
  if (!ask_print_options(this, options)) return;
  save_print_options(options);
  const QString out = QFileDialog::getSaveFileName(this, QStringLiteral("Export PDF"), proposed_pdf_path(path_),
                                                   QStringLiteral("PDF Files (*.pdf)"));
  if (!out.isEmpty()) write_pdf_with_progress(*this, out, options);
}

void CMainFrame::show_options() {
  if (open_options(*this)) recompute_timescales();
}

// ---- recent files, title, status ---------------------------------------------------

QStringList CMainFrame::recent_files() const { return user_settings().value(QStringLiteral("Recent File List")).toStringList(); }

void CMainFrame::add_recent(const QString& path) {
  const QString full = QFileInfo(path).absoluteFilePath();
  QStringList list = recent_files();
  list.removeAll(full);
  list.prepend(full);
  while (list.size() > recent_count) list.removeLast();
  user_settings().setValue(QStringLiteral("Recent File List"), list);
  fill_recent_menu();
}

void CMainFrame::fill_recent_menu() {
  QMenu* menu = ribbon_->file().recent_menu;
  menu->clear();
  const QStringList list = recent_files();
  int n = 1;
  for (const QString& p : list) {
    QAction* a = menu->addAction(QStringLiteral("&%1 %2").arg(n++ % 10).arg(QFileInfo(p).fileName()));
    a->setToolTip(p);
    connect(a, &QAction::triggered, this, [this, p] { open_file(p); });
  }
  if (list.isEmpty()) menu->addAction(QStringLiteral("(no recent files)"))->setEnabled(false);
}

void CMainFrame::update_title() { setWindowTitle(window_title(path_)); }

void CMainFrame::show_status() {
  if (!doc_) return;
  const schedule_counts c = counts_of(*doc_->document());
  status_counts_->setText(QStringLiteral("Activities: %1    Relationships: %2    WBS elements: %3")
                              .arg(c.activities)
                              .arg(c.relationships)
                              .arg(c.wbs));
  status_time_->setText(QStringLiteral("Opened in %1 ms").arg(open_ms_, 0, 'f', 0));
  const document::load_report& report = doc_->document()->report();
  notice_->show_for(report);
  status_warning_->setVisible(report.has_warning());
  ribbon_->file().report_line->setText(report_summary(report));
  ribbon_->file().report_link->setEnabled(true);
}

void CMainFrame::show_report() {
  if (doc_) show_load_report(this, path_, doc_->document()->report());
}

QString CMainFrame::notice_text() const { return notice_->text(); }
bool CMainFrame::warning_shown() const { return !status_warning_->isHidden(); }

// ---- drops and closing ---------------------------------------------------------------

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls() && !event->mimeData()->urls().isEmpty() &&
      event->mimeData()->urls().first().isLocalFile())
    event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.isEmpty() || !urls.first().isLocalFile()) return;
  event->acceptProposedAction();
  open_file(urls.first().toLocalFile());
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (doc_) doc_->configuration().save_columns();
  remember_window();
  QMainWindow::closeEvent(event);
}

}  // namespace tessel::app
