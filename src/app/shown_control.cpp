#include "app/shown_control.h"

#include <QAction>
#include <QMenu>
#include <QStatusBar>

#include "analysis/text_match.h"
#include "app/main_frame.h"
#include "view/gantt/go_to.h"
#include "view/table/shown_rows.h"

namespace tessel::app {
namespace {

QDate qdate_of(analysis::day_number d) { return QDate(1970, 1, 1).addDays(d); }
analysis::day_number day_of(const QDate& d) { return QDate(1970, 1, 1).daysTo(d); }

}  // namespace

ShownControl::ShownControl(CMainFrame& frame) : QObject(&frame), frame_(frame) {
  bar_ = new FindBar;
  bar_holder_ = new QToolBar(QStringLiteral("Find"));
  bar_holder_->setObjectName(QStringLiteral("findToolBar"));
  bar_holder_->setMovable(false);
  bar_holder_->setFloatable(false);
  bar_holder_->addWidget(bar_);
  frame_.addToolBar(Qt::BottomToolBarArea, bar_holder_);
  bar_holder_->hide();
  status_ = new QLabel;
  frame_.statusBar()->addWidget(status_);

  connect(bar_, &FindBar::text_edited, this, [this](const QString& t) { find(t); });
  connect(bar_, &FindBar::step, this, [this](bool forward) { find_step(forward); });
  connect(bar_, &FindBar::closed, this, [this] { close_find(); });

  auto add_action = [this](const QKeySequence& key, auto slot) {
    auto* a = new QAction(&frame_);
    a->setShortcut(key);
    a->setShortcutContext(Qt::WindowShortcut);
    connect(a, &QAction::triggered, this, slot);
    frame_.addAction(a);
  };
  add_action(QKeySequence(Qt::CTRL | Qt::Key_F), [this] { open_find(); });
  add_action(QKeySequence(Qt::Key_F3), [this] { find_step(true); });
  add_action(QKeySequence(Qt::SHIFT | Qt::Key_F3), [this] { find_step(false); });

  // The row's context menu: the trace commands for the row under the
  // pointer, which is selected first as a click would.
  QWidget* table = frame_.table_pane()->viewport();
  table->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(table, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    view::View* v = frame_.table_pane()->pane().view();
    if (!v || !v->isActivityTable() || pos.y() <= v->headerHeight()) return;
    view::HostPane& pane = frame_.table_pane()->pane();
    pane.left_button_down(0, static_cast<float>(pos.x()), static_cast<float>(pos.y()));
    pane.left_button_up(0, static_cast<float>(pos.x()), static_cast<float>(pos.y()));
    frame_.repaint_panes();
    const view::Row* row = v->selectedRow();
    if (!row || !row->activity()) return;
    const document::TASK* task = row->activity();
    const int depth = trace_depth_of(frame_.ribbon()->controls(view::view_kind::activity).trace.depth->currentText());
    QMenu menu;
    QAction* pred = menu.addAction(QStringLiteral("Trace Predecessors"));
    QAction* succ = menu.addAction(QStringLiteral("Trace Successors"));
    QAction* chosen = menu.exec(frame_.table_pane()->viewport()->mapToGlobal(pos));
    if (chosen == pred) trace_from(*task, analysis::trace_direction::predecessors, depth);
    else if (chosen == succ) trace_from(*task, analysis::trace_direction::successors, depth);
  });
  connect_panel();
}

ShownControl::~ShownControl() = default;

std::vector<filter_controls*> ShownControl::panels() const {
  std::vector<filter_controls*> out;
  for (view::view_kind k : {view::view_kind::activity, view::view_kind::wbs})
    if (filter_controls& c = frame_.ribbon()->controls(k).filter; c.critical) out.push_back(&c);
  return out;
}

void ShownControl::connect_panel() {
  for (filter_controls* panel : panels()) {
    filter_controls& f = *panel;
    auto read = [this, &f] { read_panel(f); };
    for (QCheckBox* b : {f.critical, f.near_critical, f.milestones, f.not_started, f.in_progress, f.completed, f.active})
      connect(b, &QCheckBox::toggled, this, read);
    connect(f.float_days, &QDoubleSpinBox::valueChanged, this, [read, &f] {
      if (f.near_critical->isChecked()) read();
    });
    for (QDateEdit* d : {f.active_from, f.active_to})
      connect(d, &QDateEdit::dateChanged, this, [read, &f] {
        if (f.active->isChecked()) read();
      });
    connect(f.code_type, &QComboBox::currentIndexChanged, this, [this, read, &f] {
      if (reading_panel_) return;
      fill_code_values(f);
      read();
    });
    connect(f.code_value, &QComboBox::currentIndexChanged, this, read);
    connect(f.clear, &QToolButton::clicked, this, [this] { clear(); });
  }
  trace_controls& t = frame_.ribbon()->controls(view::view_kind::activity).trace;
  auto traced = [this, &t](analysis::trace_direction d) { trace(d, trace_depth_of(t.depth->currentText())); };
  connect(t.predecessors, &QToolButton::clicked, this, [traced] { traced(analysis::trace_direction::predecessors); });
  connect(t.successors, &QToolButton::clicked, this, [traced] { traced(analysis::trace_direction::successors); });
  connect(t.depth, &QComboBox::currentIndexChanged, this, [this, &t] {
    if (trace_) trace_from(*trace_->from, trace_->direction, trace_depth_of(t.depth->currentText()));
  });
}

void ShownControl::read_panel(const filter_controls& c) {
  if (reading_panel_) return;
  analysis::quick_filter f;
  f.text = filter_.text;
  f.critical = c.critical->isChecked();
  if (c.near_critical->isChecked()) f.float_days = c.float_days->value();
  f.milestones = c.milestones->isChecked();
  if (c.not_started->isChecked()) f.statuses |= analysis::status_not_started;
  if (c.in_progress->isChecked()) f.statuses |= analysis::status_in_progress;
  if (c.completed->isChecked()) f.statuses |= analysis::status_completed;
  if (c.active->isChecked()) {
    analysis::day_number a = day_of(c.active_from->date()), b = day_of(c.active_to->date());
    if (a > b) std::swap(a, b);
    f.active_from = a;
    f.active_to = b;
  }
  if (c.code_type->currentIndex() > 0 && c.code_value->currentIndex() >= 0) {
    f.code_type = c.code_type->currentText().toStdU16String();
    f.code_value = c.code_value->currentText().toStdU16String();
  }
  filter_ = f;
  // The other page's panel shows the same filter.
  show_in_panels(f, &c);
  apply();
}

void ShownControl::show_in_panels(const analysis::quick_filter& f, const filter_controls* except) {
  reading_panel_ = true;
  for (filter_controls* panel : panels()) {
    if (panel == except) continue;
    filter_controls& c = *panel;
    c.critical->setChecked(f.critical);
    c.near_critical->setChecked(f.float_days.has_value());
    if (f.float_days) c.float_days->setValue(*f.float_days);
    c.milestones->setChecked(f.milestones);
    c.not_started->setChecked(f.statuses & analysis::status_not_started);
    c.in_progress->setChecked(f.statuses & analysis::status_in_progress);
    c.completed->setChecked(f.statuses & analysis::status_completed);
    c.active->setChecked(f.active_from.has_value());
    if (f.active_from) {
      c.active_from->setDate(qdate_of(*f.active_from));
      c.active_to->setDate(qdate_of(*f.active_to));
    }
    c.code_type->setCurrentIndex(
        f.code_type ? std::max(0, c.code_type->findText(QString::fromStdU16String(*f.code_type))) : 0);
    fill_code_values(c);
    if (f.code_value) c.code_value->setCurrentIndex(c.code_value->findText(QString::fromStdU16String(*f.code_value)));
  }
  reading_panel_ = false;
}

void ShownControl::fill_code_types() {
  const bool was = reading_panel_;
  reading_panel_ = true;
  const document::Document* doc = frame_.document();
  const std::vector<std::u16string> names = doc ? analysis::code_type_names(*doc) : std::vector<std::u16string>{};
  for (filter_controls* panel : panels()) {
    panel->code_type->clear();
    panel->code_type->addItem(QStringLiteral("(any)"));
    for (const std::u16string& n : names) panel->code_type->addItem(QString::fromStdU16String(n));
    fill_code_values(*panel);
  }
  reading_panel_ = was;
}

void ShownControl::fill_code_values(filter_controls& c) {
  const bool was = reading_panel_;
  reading_panel_ = true;
  c.code_value->clear();
  const document::Document* doc = frame_.document();
  if (doc && c.code_type->currentIndex() > 0)
    for (const std::u16string& v : analysis::code_value_names(*doc, c.code_type->currentText().toStdU16String()))
      c.code_value->addItem(QString::fromStdU16String(v));
  c.code_value->setEnabled(c.code_value->count() > 0);
  reading_panel_ = was;
}

void ShownControl::document_changed() {
  filter_ = {};
  trace_.reset();
  handed_.reset();
  positions_.reset();
  index_.reset();
  state_ = {};
  find_text_.clear();
  find_table_ = nullptr;
  for (int i : {views::activity_table, views::wbs_table})
    if (view::View* v = frame_.view_at(i)) view::apply_shown(*v, nullptr);
  bar_->edit()->clear();
  bar_->show_count(-1, 0);
  // The active range starts on the first project's data date (today
  // without one) and runs a month.
  QDate from = QDate::currentDate();
  if (const document::Document* doc = frame_.document(); doc && doc->project.size() > 0) {
    const s_date& data_date = doc->project[0].last_recalc_date;
    if (data_date.has_date()) from = qdate_of(analysis::day_of(data_date));
  }
  reading_panel_ = true;
  for (filter_controls* panel : panels()) {
    for (QCheckBox* b : {panel->critical, panel->near_critical, panel->milestones, panel->not_started,
                         panel->in_progress, panel->completed, panel->active})
      b->setChecked(false);
    panel->active_from->setDate(from);
    panel->active_to->setDate(from.addDays(30));
  }
  reading_panel_ = false;
  fill_code_types();
  status_->clear();
}

void ShownControl::show_activities(std::shared_ptr<const analysis::shown_activities> shown) {
  handed_ = std::move(shown);
  apply();
}

void ShownControl::set_filter(const analysis::quick_filter& f) {
  filter_ = f;
  // The panels show the filter they did not set themselves.
  show_in_panels(f, nullptr);
  apply();
}

bool ShownControl::trace(analysis::trace_direction direction, int depth) {
  const view::View* table = frame_.view_at(views::activity_table);
  const view::Row* row = table ? table->selectedRow() : nullptr;
  if (!row || !row->activity()) return false;
  return trace_from(*row->activity(), direction, depth);
}

bool ShownControl::trace_from(const document::TASK& from, analysis::trace_direction direction, int depth) {
  if (!frame_.document()) return false;
  trace_ = trace_state{&from, direction, depth};
  apply();
  go_to_activity(from);
  return true;
}

void ShownControl::end_trace() {
  if (!trace_) return;
  trace_.reset();
  apply();
}

void ShownControl::escape() {
  if (bar_holder_->isVisible() && bar_->edit()->hasFocus()) close_find();
  else end_trace();
}

void ShownControl::clear() {
  filter_ = {};
  trace_.reset();
  handed_.reset();
  show_in_panels(filter_, nullptr);
  apply();
}

void ShownControl::apply() {
  const document::Document* doc = frame_.document();
  if (!doc) return;
  std::optional<analysis::shown_activities> s;
  if (filter_.any()) s = analysis::filter_activities(*doc, filter_);
  if (trace_) {
    if (!positions_) positions_ = std::make_unique<analysis::activity_positions>(*doc);
    analysis::shown_activities t = analysis::trace_logic(*positions_, *trace_->from, trace_->direction, trace_->depth);
    s = s ? analysis::intersect(*s, t) : std::move(t);
  }
  if (handed_) s = s ? analysis::intersect(*s, *handed_) : *handed_;
  std::shared_ptr<const analysis::shown_activities> shown;
  if (s) shown = std::make_shared<const analysis::shown_activities>(std::move(*s));

  view::View* activities = frame_.view_at(views::activity_table);
  const view::Row* selected = activities ? activities->selectedRow() : nullptr;
  const document::TASK* keep = selected ? selected->activity() : nullptr;
  // The table on screen shows it at once, the other when it is shown.
  const view::view_kind on_screen = frame_.category();
  if (view::View* v = frame_.view_at(views::activity_table))
    view::apply_shown(*v, shown, on_screen == view::view_kind::activity);
  if (view::View* v = frame_.view_at(views::wbs_table)) view::apply_shown(*v, shown, on_screen == view::view_kind::wbs);
  // The selected activity stays selected when it is still shown; under a
  // restriction that hides it the first shown activity is selected, so
  // that the table and the Gantt chart open on what is shown.
  int index = -1;
  if (frame_.category() == view::view_kind::activity && activities && activities->layout()) {
    if (keep) index = view::reveal_activity(*activities, *keep);
    const std::vector<view::Row*>& rows = activities->visibleRows();
    for (std::size_t i = 0; index < 0 && shown && i < rows.size(); ++i)
      if (rows[i]->activity()) index = static_cast<int>(i);
  }
  for (TesselView* p : {frame_.table_pane(), frame_.gantt_pane()}) p->pane().update_ranges();
  update_status();
  if (index >= 0) {
    frame_.select_row(index);
    view::go_to(&frame_.table_pane()->pane(), &frame_.gantt_pane()->pane());
  }
  frame_.details_pane()->pane().layout_children();
  index_rows_if_finding();
  frame_.repaint_panes();
}

QString ShownControl::shown_text() const {
  const view::View* table = frame_.view_at(views::activity_table);
  return table ? QString::fromStdU16String(view::shown_text(*table)) : QString();
}

void ShownControl::update_status() {
  status_->setText(shown_text());
  for (view::view_kind k : {view::view_kind::activity, view::view_kind::wbs})
    if (RibbonPanel* p = frame_.ribbon()->controls(k).filter_panel) p->set_marked(filter_.any());
  if (RibbonPanel* p = frame_.ribbon()->controls(view::view_kind::activity).trace_panel) p->set_marked(tracing());
}

void ShownControl::open_find() {
  bar_holder_->show();
  // Read the rows' texts now, so that the first key press only scans them.
  index_rows_if_finding();
  bar_->edit()->setFocus();
  bar_->edit()->selectAll();
}

void ShownControl::close_find() {
  bar_holder_->hide();
  frame_.table_pane()->setFocus();
}

void ShownControl::find(const QString& text) {
  if (bar_->edit()->text() != text) bar_->edit()->setText(text);
  find_text_ = text.toStdU16String();
  find_table_ = nullptr;  // matches for the new text
  refind_if_stale();
  state_.current = -1;
  if (!state_.matches.empty()) find_step(true);
  else bar_->show_count(-1, 0);
}

bool ShownControl::refind_if_stale() {
  view::View* table = frame_.table_pane()->pane().view();
  const view::TableCore* core = table ? view::table_core_of(*table) : nullptr;
  if (!core || !core->root()) {
    state_ = {};
    index_.reset();
    return false;
  }
  if (find_table_ == table && find_tree_version_ == core->tree_version()) return true;
  index_rows(*table, *core);
  state_.matches = index_->matches(find_text_);
  state_.current = -1;
  find_table_ = table;
  find_tree_version_ = core->tree_version();
  return true;
}

void ShownControl::index_rows(const view::View& table, const view::TableCore& core) {
  // The rows' texts are read once per tree: each key press then scans them.
  if (index_ && index_table_ == &table && index_tree_version_ == core.tree_version()) return;
  index_ = core.root() ? std::make_unique<analysis::find_index>(*core.root()) : nullptr;
  index_table_ = &table;
  index_tree_version_ = core.tree_version();
}

void ShownControl::index_rows_if_finding() {
  if (bar_holder_->isHidden()) return;
  const view::View* table = frame_.table_pane()->pane().view();
  if (const view::TableCore* core = table ? view::table_core_of(*table) : nullptr) index_rows(*table, *core);
}

bool ShownControl::find_step(bool forward) {
  if (find_text_.empty() || !refind_if_stale()) return false;
  const int k = analysis::step_match(state_, forward);
  bar_->show_count(k, match_count());
  return k >= 0 && go_to_row(*state_.matches[static_cast<std::size_t>(k)]);
}

bool ShownControl::go_to_row(view::Row& row) {
  view::View* table = frame_.table_pane()->pane().view();
  if (!table) return false;
  const int index = view::reveal_row(*table, row);
  if (index < 0) return false;
  show_selected(*table, index);
  return true;
}

void ShownControl::show_selected(view::View& table, int index) {
  // The row is selected already (selecting walks every visible row, once
  // is enough): bring it into sight, the Gantt chart to its dates and the
  // Details pane to it.
  view::HostPane& tp = frame_.table_pane()->pane();
  tp.update_ranges();
  frame_.gantt_pane()->pane().update_ranges();
  const float top = static_cast<float>(index) * table.rowHeight();
  const float sight = static_cast<float>(tp.client_height()) - table.headerHeight();
  const int pos = tp.scroll_pos(view::scroll_bar::vertical);
  if (top < static_cast<float>(pos) || top + table.rowHeight() > static_cast<float>(pos) + sight)
    tp.set_scroll_pos(view::scroll_bar::vertical, static_cast<int>(top));
  view::go_to(&tp, &frame_.gantt_pane()->pane());
  frame_.details_pane()->pane().layout_children();
  frame_.repaint_panes();
}

bool ShownControl::go_to_activity(const document::TASK& task) {
  if (frame_.category() != view::view_kind::activity) frame_.set_category(view::view_kind::activity);
  view::View* table = frame_.view_at(views::activity_table);
  if (!table) return false;
  const int index = view::reveal_activity(*table, task);
  if (index < 0) return false;
  show_selected(*table, index);
  return true;
}

}  // namespace tessel::app
