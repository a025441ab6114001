// Find, quick filters and trace in the window on a big schedule, off-screen
// at 1920 x 1080: applying and clearing each quick filter with the repaint
// of the table and Gantt panes, each key press of a find text, find next,
// and a full trace in both directions (the walk alone, and in the window
// with its repaint).
//
//   app_find [FILE] [RUNS]      (FILE defaults to /tmp/x100k.xer)
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "analysis/find_rows.h"
#include "analysis/logic_trace.h"
#include "analysis/quick_filters.h"
#include "app/main_frame.h"
#include "view/table/shown_rows.h"

using namespace tessel;

namespace {

double ms(const QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }

struct stats {
  std::vector<double> v;
  void add(double x) { v.push_back(x); }
  double median() {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
  }
  double max() const { return v.empty() ? 0 : *std::max_element(v.begin(), v.end()); }
};

void repaint(app::CMainFrame& f, QImage& a, QImage& b) {
  QPainter pa(&a);
  f.table_pane()->viewport()->render(&pa);
  QPainter pb(&b);
  f.gantt_pane()->viewport()->render(&pb);
}

void line(const char* what, stats& s) { std::printf("%-44s median %8.2f ms   max %8.2f ms\n", what, s.median(), s.max()); }

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const char* file = argc > 1 ? argv[1] : "/tmp/x100k.xer";
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  QApplication qapp(argc, argv);
  app::CMainFrame frame;
  frame.setAttribute(Qt::WA_DontShowOnScreen);
  frame.resize(1920, 1080);
  frame.show();
  QApplication::processEvents();
  if (!frame.open_file_now(QString::fromLocal8Bit(file))) {
    std::fprintf(stderr, "cannot open %s\n", file);
    return 1;
  }
  QApplication::processEvents();
  const document::Document& doc = *frame.document();
  std::printf("%s: %zu activities, %zu relationships\n", file, doc.task.size(), doc.taskpred.size());
  QImage a(frame.table_pane()->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
  QImage b(frame.gantt_pane()->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
  app::ShownControl& shown = frame.shown_control();

  // ---- quick filters: apply + repaint, clear + repaint ---------------------
  std::vector<std::pair<const char*, analysis::quick_filter>> filters;
  auto add = [&filters](const char* name, auto set) {
    analysis::quick_filter f;
    set(f);
    filters.emplace_back(name, f);
  };
  add("critical", [](analysis::quick_filter& f) { f.critical = true; });
  add("float <= 10 d", [](analysis::quick_filter& f) { f.float_days = 10.0; });
  add("status in progress", [](analysis::quick_filter& f) { f.statuses = analysis::status_in_progress; });
  add("status not started", [](analysis::quick_filter& f) { f.statuses = analysis::status_not_started; });
  add("milestones", [](analysis::quick_filter& f) { f.milestones = true; });
  add("text \"1\"", [](analysis::quick_filter& f) { f.text = u"1"; });
  {
    // A month from the first project's data date.
    analysis::quick_filter f;
    const s_date& d = doc.project.size() ? doc.project[0].last_recalc_date : s_date{};
    f.active_from = analysis::day_of(d);
    f.active_to = *f.active_from + 30;
    filters.emplace_back("active a month", f);
  }
  {
    // The first code type's most assigned value.
    const std::vector<std::u16string> types = analysis::code_type_names(doc);
    if (!types.empty()) {
      std::map<std::u16string, std::size_t> uses;
      for (const document::TASKACTV& a : doc.taskactv)
        if (a.code && a.code->type && a.code->type->actv_code_type.value == types[0]) ++uses[a.code->short_name.value];
      if (!uses.empty()) {
        analysis::quick_filter f;
        f.code_type = types[0];
        f.code_value = std::max_element(uses.begin(), uses.end(), [](const auto& a, const auto& b) {
                         return a.second < b.second;
                       })->first;
        filters.emplace_back("code (first type, most used value)", f);
      }
    }
  }
  {
    // What a repaint alone costs (the same rows, nothing changed), and one
    // after a new row list (the Gantt chart indexes its links again).
    stats plain, fresh;
    for (int r = 0; r < runs; ++r) {
      QElapsedTimer t;
      t.start();
      repaint(frame, a, b);
      plain.add(ms(t));
      frame.view_at(app::views::activity_table)->refresh();
      t.restart();
      repaint(frame, a, b);
      fresh.add(ms(t));
    }
    line("repaint of table and Gantt panes", plain);
    line("repaint after a new visible row list", fresh);
  }
  for (auto& [name, f] : filters) {
    stats apply, clear;
    for (int r = 0; r < runs; ++r) {
      QElapsedTimer t;
      t.start();
      shown.set_filter(f);
      repaint(frame, a, b);
      apply.add(ms(t));
      t.restart();
      shown.clear();
      repaint(frame, a, b);
      clear.add(ms(t));
    }
    shown.set_filter(f);
    std::printf("filter %-30s shows %7zu   ", name, frame.view_at(app::views::activity_table)->visibleRows().size());
    shown.clear();
    std::printf("apply+repaint median %7.2f max %7.2f   clear+repaint median %7.2f max %7.2f ms\n", apply.median(),
                apply.max(), clear.median(), clear.max());
  }

  // ---- find: key presses, next ------------------------------------------
  {
    QElapsedTimer t;
    t.start();
    shown.open_find();
    std::printf("find: opening the bar (Ctrl+F) reads the rows' texts: %.2f ms\n", ms(t));
  }
  for (const char* text : {"A1", "Activity 9999", "zz"}) {
    stats press;
    for (int r = 0; r < runs; ++r) {
      const std::string s(text);
      for (std::size_t n = 1; n <= s.size(); ++n) {
        QElapsedTimer t;
        t.start();
        shown.find(QString::fromStdString(s.substr(0, n)));
        repaint(frame, a, b);
        press.add(ms(t));
      }
    }
    std::printf("find key press (typing \"%s\", %d matches)  ", text, shown.match_count());
    line("", press);
  }
  {
    // Reading and folding every row's texts, which opening the find bar does
    // once per tree.
    stats build;
    view::View* table = frame.view_at(app::views::activity_table);
    for (int r = 0; r < runs; ++r) {
      QElapsedTimer t;
      t.start();
      const analysis::find_index texts(*view::table_core_of(*table)->root());
      build.add(ms(t));
    }
    line("find: the rows' texts read once per tree", build);
  }
  {
    // The find alone, without the repaint: a first key over every row.
    stats first, narrowed;
    for (int r = 0; r < runs; ++r) {
      shown.find(QString());
      QElapsedTimer t;
      t.start();
      shown.find(QStringLiteral("A"));
      first.add(ms(t));
      t.restart();
      shown.find(QStringLiteral("A1"));
      narrowed.add(ms(t));
    }
    line("find \"A\" without the repaint", first);
    line("then \"A1\" without the repaint", narrowed);
  }
  shown.find(QStringLiteral("A1"));
  stats next, previous;
  for (int r = 0; r < 200; ++r) {
    QElapsedTimer t;
    t.start();
    shown.find_step(true);
    next.add(ms(t));
    t.restart();
    shown.find_step(false);
    previous.add(ms(t));
  }
  std::printf("find next / previous over %d matches\n", shown.match_count());
  line("  find next (F3)", next);
  line("  find previous (Shift+F3)", previous);
  shown.find(QString());

  // ---- trace ---------------------------------------------------------------
  const analysis::activity_positions positions(doc);
  // The activities with the longest reach: the first of the file forward,
  // the last backward.
  const document::TASK& first = doc.task[0];
  const document::TASK& last = doc.task[doc.task.size() - 1];
  for (auto [task, dir, name] :
       {std::tuple{&first, analysis::trace_direction::successors, "successors of the first activity"},
        std::tuple{&last, analysis::trace_direction::predecessors, "predecessors of the last activity"}}) {
    stats walk, window;
    std::size_t reached = 0;
    for (int r = 0; r < runs; ++r) {
      QElapsedTimer t;
      t.start();
      reached = analysis::trace_logic(positions, *task, dir).count;
      walk.add(ms(t));
      t.restart();
      shown.trace_from(*task, dir, analysis::trace_all);
      repaint(frame, a, b);
      window.add(ms(t));
      shown.clear();
    }
    std::printf("full trace, %s: %zu activities\n", name, reached);
    line("  the walk", walk);
    line("  in the window with the repaint", window);
  }
  return 0;
}
