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
      "\n"
      "Opens a schedule (.xer, .xls or .xlsx) in the viewer, or renders it without a window.\n"
      "\n"
      "  --render OUT.png      draw the whole main window to a PNG image and exit\n"
      "  --print-pdf OUT.pdf   write what Print would print to a PDF file and exit\n"
      "  --category C          activity (default), wbs, project or resource\n"
      "  --layout NAME         the layout of that category to show\n"
      "  --size WxH            window size in pixels (default 1600x1000)\n"
      "  --select N            select the table's visible row N (0 = first)\n"
      "  --details TAB         show the Details pane on that tab\n"
      "  --scale S             display scale instead of the screen's (1.5 = 144 dpi)\n"
      "  --style S             colorful (default), dark or white\n"
      "  --dialog NAME [ARG..] render the named dialog over the window instead:\n"
      "                        calendar [--calendar NAME] [--month YYYY-MM], time-periods,\n"
      "                        workweek, columns [predecessors|successors],\n"
      "                        options [--page time-units|gridlines|layouts]\n"
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
    } else if (a == QLatin1String("--category")) {
      if (!value(v) || !category_of(v, c.category)) return failed(QStringLiteral("--category takes activity, wbs, project or resource"));
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
  if (!c.dialog.isEmpty() && c.mode != run_mode::render) return failed(QStringLiteral("--dialog goes with --render"));
  return c;
}

}  // namespace tessel::app
