// Printing the current category: the whole table (every visible column and
// row) and the whole Gantt chart (the schedule's date range), laid out as a
// grid of pages. Rows go down the pages in bands; the timeline goes across
// them. The table prints on the first page of each band, or on every page
// when asked; each page repeats the column header and the timescale and
// ends with a footer line (file name, "Page k of n", print date). Output is
// vector: the views draw through the same QPainter surface as on screen,
// with text kept searchable in a PDF.
//
// Pages are drawn one at a time and report their progress, so a long
// printout leaves the window alive and can be cancelled.
#pragma once

#include <QPageLayout>
#include <QString>
#include <functional>

class QPagedPaintDevice;
class QPrinter;
class QPainter;
class QWidget;

namespace tessel::app {

class CMainFrame;

struct print_options {
  bool repeat_table = false;  // "Repeat table on every page"
  bool fit_timeline = false;  // "Fit timeline to page width"
};

// The page a printout starts with: the default printer's paper, else the
// local paper (A4, or Letter where inches rule); landscape, 10 mm margins.
QPageLayout default_page_layout();
// The page every printout uses (print, preview, Export PDF): the paper and
// orientation last chosen in the Print dialog or Page Setup (kept per
// user), else the default.
QPageLayout page_layout();
void save_page_layout(const QPageLayout& layout);

// The options last chosen (kept per user).
print_options saved_print_options();
void save_print_options(const print_options& o);

// The page arrangement, worked out before drawing (in view pixels unless
// said otherwise).
struct print_plan {
  int table_width = 0;     // the whole table
  int gantt_width = 0;     // the whole chart; 0: no chart
  float gantt_zoom = 0;    // the chart's zoom while printing
  float header_height = 0;
  float row_height = 0;
  int rows = 0;            // visible rows of the table
  int rows_per_page = 0;
  int bands = 0;           // bands of rows, down the pages
  int columns = 0;         // pages across each band
  int pages = 0;           // bands x columns
  double scale = 1.0;      // device units per view pixel
  double page_width = 0;   // the printable page
  double page_height = 0;
  int first_slice = 0;     // the chart's width beside the table
  int next_slice = 0;      // the chart's width on the pages after the first of a band
  bool repeat_table = false;

  // What page k (from 0, in reading order: across, then down) shows.
  struct page_part {
    int band = 0;
    int column = 0;
    bool table = false;  // the table stands at the page's left
    int gantt_x = 0;     // the chart's slice from this x on
    int gantt_w = 0;     // and this wide (0: none)
  };
  page_part part(int k) const;
};

// The plan for a page of `page_width` x `page_height` device units at `dpi`
// device units per inch.
print_plan plan_pages(CMainFrame& frame, double page_width, double page_height, const print_options& options = {},
                      double dpi = 300.0);

// Draws page k of `plan` (from 0) with `painter`, whose device's page
// starts at 0,0 in device units.
void draw_page(CMainFrame& frame, QPainter& painter, const print_plan& plan, int k);

// Hears after each page (k from 1) of n; answers false to stop.
using page_progress = std::function<bool(int page, int pages)>;

// Draws the pages on `device` (already set up with its page size), calling
// `progress` after each. Answers the number of pages drawn; fewer than the
// plan's when stopped.
int print_pages(CMainFrame& frame, QPagedPaintDevice& device, const print_options& options = {},
                const page_progress& progress = {});

void print_with_dialog(CMainFrame& frame);
// What an accepted Print dialog leads to: its options and the printer's
// paper and orientation kept for the next printout, then every page printed
// with a progress dialog. False when stopped.
bool print_accepted(CMainFrame& frame, QPrinter& printer, const print_options& options);
void preview_print(CMainFrame& frame);
// Writes the printed pages to a PDF file; false when it cannot be written
// or was stopped, and then no partial file is left behind and a file of
// that name stays as it was.
bool write_pdf(CMainFrame& frame, const QString& out, const print_options& options = {},
               const page_progress& progress = {});
// The same with a progress dialog ("Page k of n") that Esc or Cancel stops.
bool write_pdf_with_progress(CMainFrame& frame, const QString& out, const print_options& options);

// The file Export PDF proposes: the schedule's own folder and name.
QString proposed_pdf_path(const QString& schedule_path);
// Asks for the two print options; false when cancelled.
bool ask_print_options(QWidget* parent, print_options& options);

}  // namespace tessel::app
