#include "app/command_line.h"

namespace tessel::app {
namespace {

bool category_of(const QString& text, view::view_kind& out) {
  const QString t = text.toLower();
  if (t == QLatin1String("activity")) out = view::view_kind::activity;
  else if (t == QLatin1String("wbs")) out = view::view_kind::wbs;
  else if (t == QLatin1String("project")) out = view::view_kind::project;
  else if (t == QLatin1String("resource")) out = view::view_kind::resource;
  else return false;
  return true;
}

command_line failed(QString why) {
  command_line c;
  c.mode = run_mode::error;
  c.error = std::move(why);
  return c;
}

}  // namespace

QString usage_text() {
  return QStringLiteral(
      "Usage: tessel-reader [FILE]\n"
      "       tessel-reader --render OUT.png [options] FILE\n"
      "       tessel-reader --print-pdf OUT.pdf [options] FILE\n"
      "       tessel-reader [--render OUT.png [options]] --compare OLD NEW\n"
      "\n"
      "Opens a schedule (.xer, .xls or .xlsx) in the viewer, or renders it without a window.\n"
      "\n"
      "  --render OUT.png      draw the whole main window to a PNG image and exit\n"
      "  --print-pdf OUT.pdf   write what Print would print to a PDF file and exit\n"
      "  --repeat-table        with --print-pdf: the table on every page, not only the first across\n"
      "  --fit-timeline        with --print-pdf: scale the timeline to one page across\n"
      "  --category C          activity (default), wbs, project or resource; changes\n"
      "                        with --compare\n"
      "  --compare OLD NEW     open NEW and compare it with OLD, an earlier update\n"
      "  --layout NAME         the layout of that category to show\n"
      "  --size WxH            window size in pixels (default 1600x1000)\n"
      "  --select N            select the table's visible row N (0 = first)\n"
      "  --details TAB         show the Details pane on that tab\n"
      "  --scale S             display scale instead of the screen's (1.5 = 144 dpi)\n"
      "  --style S             colorful (default), dark or white\n"
      "  --where EXPR          show only the activities EXPR keeps (as tessel-dump --where); repeatable\n"
      "  --trace ID            show only the activity ID and its logic; with --direction pred|succ\n"
      "                        and --depth N (all by default)\n"
      "  --find TEXT           open the find bar with TEXT and go to its first match\n"
      "  --dialog NAME [ARG..] render the named dialog over the window instead:\n"
      "                        calendar [--calendar NAME] [--month YYYY-MM], time-periods,\n"
      "                        workweek, columns [predecessors|successors],\n"
      "                        options [--page time-units|gridlines|layouts],\n"
      "                        check (the Schedule Check pane), print-preview\n"
      "  --help                this text\n"
      "\n"
      "A refused file is reported on stderr and the exit status is 1.\n");
}

command_line parse_command_line(const QStringList& args) {
  command_line c;
  bool in_dialog = false;
  for (int i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    auto value = [&](QString& out) {
      if (i + 1 >= args.size()) return false;
      out = args[++i];
      return true;
    };
    QString v;
    if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
      c.mode = run_mode::help;
      return c;
    } else if (a == QLatin1String("--render") || a == QLatin1String("--print-pdf")) {
      if (!value(c.out)) return failed(a + QStringLiteral(" needs an output file"));
      c.mode = a == QLatin1String("--render") ? run_mode::render : run_mode::print_pdf;
      in_dialog = false;
    } else if (a == QLatin1String("--repeat-table")) {
      c.repeat_table = true;
    } else if (a == QLatin1String("--fit-timeline")) {
      c.fit_timeline = true;
    } else if (a == QLatin1String("--category")) {
      if (!value(v)) return failed(QStringLiteral("--category needs a name"));
      c.changes_category = v.toLower() == QLatin1String("changes");
      if (!c.changes_category && !category_of(v, c.category))
        return failed(QStringLiteral("--category takes activity, wbs, project, resource or changes"));
      in_dialog = false;
    } else if (a == QLatin1String("--layout")) {
      if (!value(c.layout)) return failed(QStringLiteral("--layout needs a name"));
      in_dialog = false;
    } else if (a == QLatin1String("--size")) {
      const QStringList wh = value(v) ? v.toLower().split(QLatin1Char('x')) : QStringList();
      bool ok_w = false, ok_h = false;
      const int w = wh.size() == 2 ? wh[0].toInt(&ok_w) : 0;
      const int h = wh.size() == 2 ? wh[1].toInt(&ok_h) : 0;
      if (!ok_w || !ok_h || w < 200 || h < 150 || w > 10000 || h > 10000)
        return failed(QStringLiteral("--size takes WxH, from 200x150 to 10000x10000"));
      c.size = QSize(w, h);
      in_dialog = false;
    } else if (a == QLatin1String("--select")) {
      bool ok = false;
      c.select = value(v) ? v.toInt(&ok) : -1;
      if (!ok || c.select < 0) return failed(QStringLiteral("--select takes a row number from 0"));
      in_dialog = false;
    } else if (a == QLatin1String("--details")) {
      if (!value(c.details_tab)) return failed(QStringLiteral("--details needs a tab name"));
      in_dialog = false;
    } else if (a == QLatin1String("--scale")) {
      bool ok = false;
      c.scale = value(v) ? v.toFloat(&ok) : 0.0f;
      if (!ok || c.scale < 0.5f || c.scale > 4.0f) return failed(QStringLiteral("--scale takes a number from 0.5 to 4"));
      in_dialog = false;
    } else if (a == QLatin1String("--style")) {
      const QString t = value(v) ? v.toLower() : QString();
      if (t == QLatin1String("colorful") || t == QLatin1String("colourful")) c.theme = 0;
      else if (t == QLatin1String("dark")) c.theme = 1;
      else if (t == QLatin1String("white")) c.theme = 2;
      else return failed(QStringLiteral("--style takes colorful, dark or white"));
      in_dialog = false;
    } else if (a == QLatin1String("--where")) {
      if (!value(v)) return failed(QStringLiteral("--where needs an expression"));
      c.wheres << v;
      in_dialog = false;
    } else if (a == QLatin1String("--trace")) {
      if (!value(c.trace_id)) return failed(QStringLiteral("--trace needs an Activity ID"));
      in_dialog = false;
    } else if (a == QLatin1String("--direction")) {
      if (!value(c.direction) || (c.direction != QLatin1String("pred") && c.direction != QLatin1String("succ")))
        return failed(QStringLiteral("--direction takes pred or succ"));
      in_dialog = false;
    } else if (a == QLatin1String("--depth")) {
      bool ok = false;
      c.depth = value(v) ? (v.toLower() == QLatin1String("all") ? (ok = true, -1) : v.toInt(&ok)) : -1;
      if (!ok || c.depth < -1) return failed(QStringLiteral("--depth takes a whole number from 0, or all"));
      in_dialog = false;
    } else if (a == QLatin1String("--find")) {
      if (!value(c.find) || c.find.isEmpty()) return failed(QStringLiteral("--find needs a text"));
      in_dialog = false;
    } else if (a == QLatin1String("--compare")) {
      if (i + 2 >= args.size()) return failed(QStringLiteral("--compare needs OLD and NEW"));
      c.compare_old = args[++i];
      c.file = args[++i];
      in_dialog = false;
    } else if (a == QLatin1String("--dialog")) {
      if (!value(c.dialog)) return failed(QStringLiteral("--dialog needs a name"));
      in_dialog = true;
    } else if (in_dialog && (a == QLatin1String("--calendar") || a == QLatin1String("--month") ||
                             a == QLatin1String("--page"))) {
      // Options of the dialog being rendered, handed on with their values.
      if (!value(v)) return failed(a + QStringLiteral(" needs a value"));
      c.dialog_args << a << v;
    } else if (a.startsWith(QLatin1String("--"))) {
      return failed(QStringLiteral("unknown option ") + a);
    } else if (i == args.size() - 1) {
      c.file = a;
    } else if (in_dialog) {
      c.dialog_args << a;
    } else {
      return failed(QStringLiteral("unexpected argument ") + a);
    }
  }
  if ((c.mode == run_mode::render || c.mode == run_mode::print_pdf) && c.file.isEmpty())
    return failed(QStringLiteral("a schedule file is needed"));
  if (c.changes_category && c.compare_old.isEmpty()) return failed(QStringLiteral("--category changes needs --compare"));
  if (!c.dialog.isEmpty() && c.mode != run_mode::render) return failed(QStringLiteral("--dialog goes with --render"));
  if (!c.trace_id.isEmpty() && c.direction.isEmpty()) return failed(QStringLiteral("--trace needs --direction pred|succ"));
  return c;
}

}  // namespace tessel::app
