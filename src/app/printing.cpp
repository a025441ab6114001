#include "app/printing.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QSaveFile>
#include <QSettings>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "app/app_info.h"
#include "app/main_frame.h"
#include "app/print_preview.h"
#include "app/qpainter_surface.h"

namespace tessel::app {
namespace {

// Room under the rows for the footer line, in view pixels.
constexpr double footer_height = 26.0;
// Printed text is this size of the screen's (a view pixel is 1/96 inch on
// screen): smaller, as paper is read closer.
constexpr double print_size = 0.7;
// With a chart beside it, the table takes at most this share of a page.
constexpr double table_share = 0.6;

view::View* table_of(CMainFrame& f) { return f.table_pane()->pane().view(); }

view::View* gantt_of(CMainFrame& f) {
  if (!f.gantt_pane()->isVisible() && f.category() == view::view_kind::resource) return nullptr;
  if (f.inner_splitter()->sizes().value(1) <= 0) return nullptr;
  view::View* g = f.gantt_pane()->pane().view();
  return g && g->isGantt() && g->layout() && g->layout()->date_settings() ? g : nullptr;
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

// Sets the chart's zoom for a printout and puts it back after.
class zoom_for_print {
 public:
  zoom_for_print(view::View* gantt, float zoom) {
    if (!gantt || zoom <= 0) return;
    settings_ = gantt->layout()->date_settings();
    saved_ = settings_->zoom;
    settings_->zoom = zoom;
  }
  ~zoom_for_print() {
    if (settings_) settings_->zoom = saved_;
  }
  zoom_for_print(const zoom_for_print&) = delete;
  zoom_for_print& operator=(const zoom_for_print&) = delete;

 private:
  view::DateSettings* settings_ = nullptr;
  float saved_ = 0;
};

void draw_footer(QPainter& painter, const print_plan& plan, int k, const QString& file, const QString& date,
                 double width) {
  const double top = plan.page_height - footer_height;
  painter.setPen(QPen(QColor(160, 160, 160), 0.8));
  painter.drawLine(QPointF(0, top + 4), QPointF(width, top + 4));
  QFont font(QStringLiteral("Calibri"));
  font.setPixelSize(12);
  keep_letters(font);
  painter.setFont(font);
  painter.setPen(QColor(60, 60, 60));
  const QRectF line(0, top + 6, width, footer_height - 6);
  painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, file);
  painter.drawText(line, Qt::AlignHCenter | Qt::AlignVCenter, QStringLiteral("Page %1 of %2").arg(k + 1).arg(plan.pages));
  painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter, date);
}

}  // namespace

QPageLayout default_page_layout() {
  const bool us = QLocale().measurementSystem() == QLocale::ImperialUSSystem;
  QPageSize paper(us ? QPageSize::Letter : QPageSize::A4);
  // The default printer's paper, when the system has one set up.
  if (const QPrinterInfo printer = QPrinterInfo::defaultPrinter(); !printer.isNull() && printer.defaultPageSize().isValid())
    paper = printer.defaultPageSize();
  return QPageLayout(paper, QPageLayout::Landscape, QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
}

QPageLayout page_layout() {
  QPageLayout layout = default_page_layout();
  QSettings s(organisation, app_title);
  const QString size = s.value(QStringLiteral("Print/PageSize")).toString();
  const QSizeF mm = s.value(QStringLiteral("Print/PageSizeMillimeters")).toSizeF();
  if (!size.isEmpty() && mm.width() > 0 && mm.height() > 0)
    layout.setPageSize(QPageSize(mm, QPageSize::Millimeter, size, QPageSize::FuzzyMatch));
  const QString orientation = s.value(QStringLiteral("Print/Orientation")).toString();
  if (orientation == QLatin1String("portrait")) layout.setOrientation(QPageLayout::Portrait);
  else if (orientation == QLatin1String("landscape")) layout.setOrientation(QPageLayout::Landscape);
  return layout;
}

void save_page_layout(const QPageLayout& layout) {
  QSettings s(organisation, app_title);
  s.setValue(QStringLiteral("Print/PageSize"), layout.pageSize().name());
  s.setValue(QStringLiteral("Print/PageSizeMillimeters"), layout.pageSize().size(QPageSize::Millimeter));
  s.setValue(QStringLiteral("Print/Orientation"), layout.orientation() == QPageLayout::Portrait
                                                      ? QStringLiteral("portrait")
                                                      : QStringLiteral("landscape"));
}

print_options saved_print_options() {
  QSettings s(organisation, app_title);
  return {s.value(QStringLiteral("Print/RepeatTable"), false).toBool(),
          s.value(QStringLiteral("Print/FitTimeline"), false).toBool()};
}

void save_print_options(const print_options& o) {
  QSettings s(organisation, app_title);
  s.setValue(QStringLiteral("Print/RepeatTable"), o.repeat_table);
  s.setValue(QStringLiteral("Print/FitTimeline"), o.fit_timeline);
}

print_plan::page_part print_plan::part(int k) const {
  page_part p;
  if (columns <= 0) return p;
  p.band = k / columns;
  p.column = k % columns;
  p.table = p.column == 0 || gantt_width == 0 || repeat_table;
  if (gantt_width <= 0) return p;
  p.gantt_x = p.column == 0 ? 0 : first_slice + (p.column - 1) * next_slice;
  p.gantt_w = std::max(0, std::min(p.column == 0 ? first_slice : next_slice, gantt_width - p.gantt_x));
  return p;
}

print_plan plan_pages(CMainFrame& frame, double page_width, double page_height, const print_options& options,
                      double dpi) {
  print_plan plan;
  view::View* table = table_of(frame);
  view::View* gantt = gantt_of(frame);
  if (!table || page_width <= 0 || page_height <= 0) return plan;
  plan.table_width = std::max(1, static_cast<int>(std::ceil(table->contentWidth())));
  plan.scale = dpi / 96.0 * print_size;
  // A wide table is made smaller rather than cut: it keeps a share of the
  // page beside the chart, or the whole page alone.
  const double share = gantt ? table_share : 1.0;
  plan.scale = std::min(plan.scale, page_width * share / plan.table_width);
  plan.page_width = page_width / plan.scale;
  plan.page_height = page_height / plan.scale;
  plan.header_height = std::max(table->headerHeight(), gantt ? gantt->headerHeight() : 0.0f);
  plan.row_height = std::max(1.0f, table->rowHeight());
  plan.rows = static_cast<int>(table->visibleRows().size());
  const double body = plan.page_height - footer_height - plan.header_height;
  plan.rows_per_page = std::max(1, static_cast<int>(body / plan.row_height));
  plan.bands = std::max(1, (plan.rows + plan.rows_per_page - 1) / plan.rows_per_page);
  plan.columns = 1;
  plan.repeat_table = options.repeat_table;
  if (gantt) {
    const float zoom = gantt->layout()->date_settings()->zoom;
    const double whole = gantt->contentWidth();
    plan.first_slice = std::max(1, static_cast<int>(plan.page_width) - plan.table_width);
    plan.next_slice = options.repeat_table ? plan.first_slice : static_cast<int>(plan.page_width);
    plan.gantt_zoom = zoom;
    if (options.fit_timeline && whole > 0) plan.gantt_zoom = static_cast<float>(zoom * plan.first_slice / whole);
    plan.gantt_width = std::max(1, static_cast<int>(std::ceil(whole * plan.gantt_zoom / zoom)));
    // Fitted, a rounding must not spill a sliver onto a second page.
    if (options.fit_timeline) plan.gantt_width = std::min(plan.gantt_width, plan.first_slice);
    if (plan.gantt_width > plan.first_slice)
      plan.columns = 1 + (plan.gantt_width - plan.first_slice + plan.next_slice - 1) / plan.next_slice;
  }
  plan.pages = plan.bands * plan.columns;
  return plan;
}

void draw_page(CMainFrame& frame, QPainter& painter, const print_plan& plan, int k) {
  view::View* table = table_of(frame);
  view::View* gantt = gantt_of(frame);
  const zoom_for_print zoom(gantt, plan.gantt_zoom);
  const print_plan::page_part part = plan.part(k);
  const double height = plan.header_height + plan.rows_per_page * plan.row_height;
  painter.save();
  painter.scale(plan.scale, plan.scale);
  const int scroll_y = static_cast<int>(std::lround(part.band * plan.rows_per_page * plan.row_height));
  double x = 0;
  if (table && part.table) {
    draw_view(*table, painter, 0, plan.table_width, height, 0, scroll_y);
    x = plan.table_width;
  }
  if (gantt && part.gantt_w > 0) {
    draw_view(*gantt, painter, x, part.gantt_w, height, part.gantt_x, scroll_y);
    x += part.gantt_w;
  }
  const QString file = QFileInfo(frame.file_path()).fileName();
  const QString date = QLocale().toString(QDateTime::currentDateTime(), QLocale::ShortFormat);
  draw_footer(painter, plan, k, file, date, std::max(x, plan.page_width));
  painter.restore();
}

int print_pages(CMainFrame& frame, QPagedPaintDevice& device, const print_options& options,
                const page_progress& progress) {
  QPainter painter;
  if (!painter.begin(&device)) return 0;
  const print_plan plan = plan_pages(frame, device.width(), device.height(), options, device.logicalDpiX());
  int drawn = 0;
  for (int k = 0; k < plan.pages; ++k) {
    if (k) device.newPage();
    draw_page(frame, painter, plan, k);
    ++drawn;
    if (progress && !progress(k + 1, plan.pages)) break;
  }
  painter.end();
  return drawn;
}

namespace {

// Pages start as the paper chosen last; the print dialog may change it.
void default_page(QPagedPaintDevice& device) { device.setPageLayout(page_layout()); }

// The two options as check boxes, for the print dialog's own tab and for
// the Export PDF question.
class options_panel : public QWidget {
 public:
  explicit options_panel(const print_options& o, QWidget* parent = nullptr) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Pages"));
    auto* box = new QVBoxLayout(this);
    repeat_ = new QCheckBox(QStringLiteral("Repeat table on every page"), this);
    fit_ = new QCheckBox(QStringLiteral("Fit timeline to page width"), this);
    repeat_->setChecked(o.repeat_table);
    fit_->setChecked(o.fit_timeline);
    box->addWidget(repeat_);
    box->addWidget(fit_);
    box->addStretch();
  }
  print_options options() const { return {repeat_->isChecked(), fit_->isChecked()}; }

 private:
  QCheckBox* repeat_;
  QCheckBox* fit_;
};

// Runs `draw` with a progress dialog; answers whether every page was drawn.
bool with_progress(QWidget* parent, const QString& title, const std::function<int(const page_progress&)>& draw,
                   int* pages_out = nullptr) {
  QProgressDialog dialog(QStringLiteral("Preparing pages..."), QStringLiteral("Cancel"), 0, 1, parent);
  dialog.setWindowTitle(title);
  dialog.setWindowModality(Qt::WindowModal);
  dialog.setMinimumDuration(300);
  bool finished = false;
  const int drawn = draw([&](int k, int n) {
    dialog.setMaximum(n);
    dialog.setValue(k);
    dialog.setLabelText(QStringLiteral("Page %1 of %2").arg(k).arg(n));
    // The window stays alive between pages: it repaints and hears Esc.
    QCoreApplication::processEvents();
    finished = k == n;
    return !dialog.wasCanceled();
  });
  if (pages_out) *pages_out = drawn;
  return finished && !dialog.wasCanceled();
}

}  // namespace

void print_with_dialog(CMainFrame& frame) {
  QPrinter printer(QPrinter::HighResolution);
  default_page(printer);
  QPrintDialog dialog(&printer, &frame);
  auto* panel = new options_panel(saved_print_options());
  dialog.setOptionTabs({panel});
  if (dialog.exec() != QDialog::Accepted) return;
  print_accepted(frame, printer, panel->options());
}

bool print_accepted(CMainFrame& frame, QPrinter& printer, const print_options& options) {
  save_print_options(options);
  // The paper and orientation chosen here are what the preview and Export
  // PDF use from now on.
  save_page_layout(printer.pageLayout());
  return with_progress(&frame, QStringLiteral("Print"),
                       [&](const page_progress& progress) { return print_pages(frame, printer, options, progress); });
}

void preview_print(CMainFrame& frame) { show_print_preview(frame); }

bool write_pdf(CMainFrame& frame, const QString& out, const print_options& options, const page_progress& progress) {
  // Written beside the target and put in its place at the end: a stopped or
  // failed printout leaves no partial file behind and keeps a PDF of that
  // name that was there before, and replacing a big earlier PDF costs
  // nothing before the first page.
  QSaveFile file(out);
  if (!file.open(QIODevice::WriteOnly)) return false;
  bool whole = false;
  {
    QPdfWriter writer(&file);
    writer.setResolution(300);
    writer.setCreator(QStringLiteral("Corvane Tessel Reader"));
    writer.setTitle(QFileInfo(frame.file_path()).fileName());
    default_page(writer);
    int pages = 0;
    const int drawn = print_pages(frame, writer, options, [&](int k, int n) {
      pages = n;
      return !progress || progress(k, n);
    });
    whole = drawn > 0 && drawn == pages;
  }
  // Not committed, the file discards what it wrote.
  return whole && file.commit();
}

bool write_pdf_with_progress(CMainFrame& frame, const QString& out, const print_options& options) {
  return with_progress(&frame, QStringLiteral("Export PDF"), [&](const page_progress& progress) {
    int pages = 0;
    const bool whole = write_pdf(frame, out, options, [&](int k, int n) {
      pages = k;
      return progress(k, n);
    });
    return whole ? pages : 0;
  });
}

QString proposed_pdf_path(const QString& schedule_path) {
  if (schedule_path.isEmpty()) return QDir::home().filePath(QStringLiteral("schedule.pdf"));
  const QFileInfo info(schedule_path);
  return info.absoluteDir().filePath(info.completeBaseName() + QStringLiteral(".pdf"));
}

bool ask_print_options(QWidget* parent, print_options& options) {
  QDialog dialog(parent);
  dialog.setWindowTitle(QStringLiteral("Export PDF"));
  auto* box = new QVBoxLayout(&dialog);
  auto* panel = new options_panel(options, &dialog);
  box->addWidget(panel);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  box->addWidget(buttons);
  if (dialog.exec() != QDialog::Accepted) return false;
  options = panel->options();
  return true;
}

}  // namespace tessel::app
