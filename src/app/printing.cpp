#include "app/printing.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <algorithm>
#include <cmath>

#include "app/main_frame.h"
#include "app/qpainter_surface.h"

namespace tessel::app {
namespace {

// Room under the rows for the footer line, in view pixels.
constexpr double footer_height = 26.0;

view::View* table_of(CMainFrame& f) { return f.table_pane()->pane().view(); }

view::View* gantt_of(CMainFrame& f) {
  if (!f.gantt_pane()->isVisible() && f.category() == view::view_kind::resource) return nullptr;
  if (f.inner_splitter()->sizes().value(1) <= 0) return nullptr;
  return f.gantt_pane()->pane().view();
}

// Draws one view's slice: its header and the rows from `scroll_y` on.
void draw_view(view::View& v, QPainter& painter, double x, int width, double height, int scroll_x, int scroll_y) {
  painter.save();
  painter.translate(x, 0);
  painter.setClipRect(QRectF(0, 0, width, height));
  {
    qpainter_surface surface(painter, false);
    surface.fill_rect({0, 0, float(width), float(height)}, view::rgb(255, 255, 255));
    view::drawing_context& dc = v.context();
    const view::drawing_context saved = dc;
    dc.surface = &surface;
    dc.scroll_x = scroll_x;
    dc.scroll_y = scroll_y;
    v.draw({0, 0, float(width), float(height)});
    dc = saved;
  }
  painter.restore();
}

}  // namespace

print_plan plan_pages(CMainFrame& frame, double page_width, double page_height) {
  print_plan plan;
  view::View* table = table_of(frame);
  view::View* gantt = gantt_of(frame);
  if (!table) return plan;
  const int screen_table = std::max(1, frame.table_pane()->viewport()->width());
  plan.table_width = gantt ? screen_table : std::max(screen_table, static_cast<int>(std::ceil(table->contentWidth())));
  plan.table_width = std::min(plan.table_width, std::max(1, static_cast<int>(std::ceil(table->contentWidth()))));
  if (gantt) {
    plan.gantt_width = std::max(1, frame.gantt_pane()->viewport()->width());
    plan.gantt_scroll_x = frame.gantt_pane()->pane().scroll_pos(view::scroll_bar::horizontal);
  }
  plan.header_height = std::max(table->headerHeight(), gantt ? gantt->headerHeight() : 0.0f);
  plan.row_height = std::max(1.0f, table->rowHeight());
  plan.rows = static_cast<int>(table->visibleRows().size());
  plan.scale = page_width / static_cast<double>(plan.table_width + plan.gantt_width);
  const double body = page_height / plan.scale - footer_height - plan.header_height;
  plan.rows_per_page = std::max(1, static_cast<int>(body / plan.row_height));
  plan.pages = std::max(1, (plan.rows + plan.rows_per_page - 1) / plan.rows_per_page);
  return plan;
}

int print_pages(CMainFrame& frame, QPagedPaintDevice& device) {
  QPainter painter;
  if (!painter.begin(&device)) return 0;
  const QRectF page = QRectF(0, 0, device.width(), device.height());
  const print_plan plan = plan_pages(frame, page.width(), page.height());
  view::View* table = table_of(frame);
  view::View* gantt = gantt_of(frame);
  const QString file = QFileInfo(frame.file_path()).fileName();
  const QString date = QLocale().toString(QDateTime::currentDateTime(), QLocale::ShortFormat);
  for (int k = 0; k < plan.pages; ++k) {
    if (k) device.newPage();
    painter.save();
    painter.scale(plan.scale, plan.scale);
    const double height = plan.header_height + plan.rows_per_page * plan.row_height;
    const int scroll_y = static_cast<int>(std::lround(k * plan.rows_per_page * plan.row_height));
    if (table) draw_view(*table, painter, 0, plan.table_width, height, 0, scroll_y);
    if (gantt) draw_view(*gantt, painter, plan.table_width, plan.gantt_width, height, plan.gantt_scroll_x, scroll_y);
    // Footer: file name, page, date, under a thin rule.
    const double width = plan.table_width + plan.gantt_width;
    const double top = page.height() / plan.scale - footer_height;
    painter.setPen(QPen(QColor(160, 160, 160), 0.8));
    painter.drawLine(QPointF(0, top + 4), QPointF(width, top + 4));
    QFont font(QStringLiteral("Calibri"));
    font.setPixelSize(12);
    painter.setFont(font);
    painter.setPen(QColor(60, 60, 60));
    const QRectF line(0, top + 6, width, footer_height - 6);
    painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, file);
    painter.drawText(line, Qt::AlignHCenter | Qt::AlignVCenter,
                     QStringLiteral("Page %1 of %2").arg(k + 1).arg(plan.pages));
    painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter, date);
    painter.restore();
  }
  painter.end();
  return plan.pages;
}

namespace {

void setup_page(QPagedPaintDevice& device) {
  device.setPageSize(QPageSize(QPageSize::A4));
  device.setPageOrientation(QPageLayout::Landscape);
  device.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
}

}  // namespace

void print_with_dialog(CMainFrame& frame) {
  QPrinter printer(QPrinter::HighResolution);
  setup_page(printer);
  QPrintDialog dialog(&printer, &frame);
  if (dialog.exec() == QDialog::Accepted) print_pages(frame, printer);
}

void preview_print(CMainFrame& frame) {
  QPrinter printer(QPrinter::HighResolution);
  setup_page(printer);
  QPrintPreviewDialog dialog(&printer, &frame);
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &frame,
                   [&frame](QPrinter* p) { print_pages(frame, *p); });
  dialog.exec();
}

bool write_pdf(CMainFrame& frame, const QString& out) {
  QPdfWriter writer(out);
  writer.setResolution(300);
  writer.setCreator(QStringLiteral("Corvane Tessel Reader"));
  writer.setTitle(QFileInfo(frame.file_path()).fileName());
  setup_page(writer);
  return print_pages(frame, writer) > 0;
}

}  // namespace tessel::app
