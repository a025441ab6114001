#include "app/dialogs/dialog_render.h"

#include <QApplication>
#include <QPixmap>
#include <memory>

#include "app/dialogs/calendar_dlg.h"
#include "app/dialogs/calendar_sub_dlgs.h"
#include "app/dialogs/columns_dlg.h"
#include "app/dialogs/options_dlg.h"

namespace tessel::app {

namespace {

std::u16string u16(const QString& s) { return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), s.size()); }

// The calendar dialog on the requested calendar (found under whichever type
// lists it) and month.
QString prepare_calendar(CalendarDlg& dlg, const dialog_render_request& r) {
  if (!r.calendar.isEmpty()) {
    bool found = false;
    for (auto kind : {view::calendar_kind::global, view::calendar_kind::resource, view::calendar_kind::project}) {
      dlg.set_kind(kind);
      if ((found = dlg.select_name(u16(r.calendar)))) break;
    }
    if (!found) {
      dlg.set_kind(view::calendar_kind::global);
      return QStringLiteral("no calendar named \"%1\"").arg(r.calendar);
    }
  }
  if (!r.month.isEmpty()) {
    const QStringList parts = r.month.split(QLatin1Char('-'));
    bool y_ok = false;
    bool m_ok = false;
    const int y = parts.size() == 2 ? parts[0].toInt(&y_ok) : 0;
    const int m = parts.size() == 2 ? parts[1].toInt(&m_ok) : 0;
    if (!y_ok || !m_ok || m < 1 || m > 12) return QStringLiteral("--month wants YYYY-MM, not \"%1\"").arg(r.month);
    dlg.show_month({y, m});
  }
  return {};
}

QString save(QDialog& dlg, const QString& out) {
  dlg.adjustSize();
  dlg.show();
  QApplication::processEvents();
  const QPixmap shot = dlg.grab();
  dlg.hide();
  if (!shot.save(out, "PNG")) return QStringLiteral("cannot write %1").arg(out);
  return {};
}

}  // namespace

QString render_dialog_png(const dialog_render_request& r) {
  if (r.dialog == QLatin1String("calendar") || r.dialog == QLatin1String("time-periods") ||
      r.dialog == QLatin1String("workweek")) {
    CalendarDlg dlg(r.doc, CalendarDlg::local_today());
    if (QString e = prepare_calendar(dlg, r); !e.isEmpty()) return e;
    if (r.dialog == QLatin1String("calendar")) return save(dlg, r.out);
    if (r.dialog == QLatin1String("time-periods")) {
      CalendarTimePeriodsDlg sub(dlg.state().calendar);
      return save(sub, r.out);
    }
    CalendarWorkweekDlg sub(dlg.state().calendar);
    return save(sub, r.out);
  }
  if (r.dialog == QLatin1String("columns")) {
    if (!r.layout) return QStringLiteral("no layout to choose columns for");
    if (r.table.isEmpty()) {
      ColumnsDlg dlg(r.layout);
      return save(dlg, r.out);
    }
    if (r.table != QLatin1String("predecessors") && r.table != QLatin1String("successors"))
      return QStringLiteral("columns takes predecessors or successors, not \"%1\"").arg(r.table);
    if (!r.layout->detail_columns(view::detail_list::predecessors))
      return QStringLiteral("only activity layouts have relationship tables");
    RelationshipColumnsDlg dlg(r.layout, r.table == QLatin1String("predecessors"));
    return save(dlg, r.out);
  }
  if (r.dialog == QLatin1String("options")) {
    OptionsDlg dlg(r.document_open);
    if (r.page == QLatin1String("gridlines")) dlg.show_page(1);
    else if (r.page == QLatin1String("layouts")) dlg.show_page(2);
    else if (!r.page.isEmpty() && r.page != QLatin1String("time-units"))
      return QStringLiteral("unknown options page \"%1\"").arg(r.page);
    return save(dlg, r.out);
  }
  return QStringLiteral("unknown dialog \"%1\" (calendar, time-periods, workweek, columns, options)").arg(r.dialog);
}

}  // namespace tessel::app
