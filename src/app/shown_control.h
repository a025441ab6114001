// What the window shows of the Activity (and WBS) table and how it finds
// rows: the quick filters of the Filter panel, a logic trace, a set of
// activities handed in from elsewhere (a check or compare line), all
// combined with AND; the find bar; going to one activity. The window owns
// one and forwards to it.
#pragma once

#include <QLabel>
#include <QObject>
#include <QToolBar>
#include <memory>
#include <optional>
#include <vector>

#include "analysis/find_rows.h"
#include "analysis/logic_trace.h"
#include "analysis/quick_filters.h"
#include "app/filter_panel.h"
#include "app/find_bar.h"
#include "view/table/table_core.h"
#include "view/view.h"

namespace tessel::app {

class CMainFrame;

class ShownControl : public QObject {
  Q_OBJECT

 public:
  // Adds the find bar (hidden) above the status bar and the shown-count
  // label to it, and connects the Activity page's Filter and Trace panels.
  explicit ShownControl(CMainFrame& frame);
  ~ShownControl() override;

  // A new schedule: every restriction and the find state go (they refer to
  // the old schedule's activities); the code pick lists are filled again.
  void document_changed();

  // ---- restrictions ---------------------------------------------------------
  // Shows only `shown` (with the filters and trace, AND); null drops it.
  void show_activities(std::shared_ptr<const analysis::shown_activities> shown);
  void set_filter(const analysis::quick_filter& f);
  const analysis::quick_filter& filter() const { return filter_; }
  // Traces from the Activity table's selected activity; false when none is
  // selected.
  bool trace(analysis::trace_direction direction, int depth);
  bool trace_from(const document::TASK& from, analysis::trace_direction direction, int depth);
  bool tracing() const { return trace_.has_value(); }
  void end_trace();
  // Esc: closes the find bar when its text has the focus, else ends a trace.
  void escape();
  // Filters, trace and handed-in set all go; the tree comes back as it was.
  void clear();
  // The status bar's "Showing n of m activities: ..." (empty: not shown).
  QString shown_text() const;
  // What the status bar shows of it now.
  QString status_text() const { return status_->text(); }

  // ---- find -------------------------------------------------------------------
  FindBar* find_bar() const { return bar_; }
  void open_find();
  void close_find();
  // Sets the find text (as typing does) and goes to the first match.
  void find(const QString& text);
  // F3 / Shift+F3: the next or previous match, wrapping.
  bool find_step(bool forward);
  int match_count() const { return static_cast<int>(state_.matches.size()); }
  int current_match() const { return state_.current; }

  // ---- go to ------------------------------------------------------------------
  // The activity's groups expanded, its row selected and in view in the
  // table and the Gantt chart, the Details pane following. Switches to the
  // Activity view first. False when the table does not show it.
  bool go_to_activity(const document::TASK& task);

 private:
  // The Filter panels of the Activity and WBS pages: one filter, shown in
  // both.
  std::vector<filter_controls*> panels() const;
  void connect_panel();
  void read_panel(const filter_controls& c);
  void show_in_panels(const analysis::quick_filter& f, const filter_controls* except);
  void apply();
  void update_status();
  bool refind_if_stale();
  void index_rows(const view::View& table, const view::TableCore& core);
  // While the find bar shows, a new tree is read at once, not at the next key.
  void index_rows_if_finding();
  bool go_to_row(view::Row& row);
  void show_selected(view::View& table, int index);
  void fill_code_types();
  void fill_code_values(filter_controls& c);

  CMainFrame& frame_;
  FindBar* bar_ = nullptr;
  QToolBar* bar_holder_ = nullptr;
  QLabel* status_ = nullptr;
  bool reading_panel_ = false;

  analysis::quick_filter filter_;
  struct trace_state {
    const document::TASK* from;
    analysis::trace_direction direction;
    int depth;
  };
  std::optional<trace_state> trace_;
  std::shared_ptr<const analysis::shown_activities> handed_;
  std::unique_ptr<analysis::activity_positions> positions_;

  analysis::find_state state_;
  std::u16string find_text_;
  uint64_t find_tree_version_ = ~uint64_t{0};
  const view::View* find_table_ = nullptr;
  // The texts find scans, read from the tree of `index_table_`.
  std::unique_ptr<analysis::find_index> index_;
  const view::View* index_table_ = nullptr;
  uint64_t index_tree_version_ = ~uint64_t{0};
};

}  // namespace tessel::app
