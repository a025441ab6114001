// Printing the current category: the table and the Gantt chart side by side
// with the widths they have on screen, every visible row, as many pages as
// the rows need, the column headers repeated at the top of each page and a
// footer line (file name, page number, print date). Output is vector: the
// views draw through the same QPainter surface as on screen.
#pragma once

#include <QString>

class QPainter;
class QPagedPaintDevice;
class QPrinter;

namespace tessel::app {

class CMainFrame;

// The page arrangement, worked out before drawing (in view pixels).
struct print_plan {
  int table_width = 0;
  int gantt_width = 0;       // 0: no chart beside the table
  int gantt_scroll_x = 0;    // the chart starts where the screen shows it
  float header_height = 0;
  float row_height = 0;
  int rows = 0;              // visible rows of the table
  int rows_per_page = 0;
  int pages = 0;
  double scale = 1.0;        // device units per view pixel
};

// The plan for a page of `page_width` x `page_height` device units.
print_plan plan_pages(CMainFrame& frame, double page_width, double page_height);

// Draws every page on `device` (already set up with its page size).
// Answers the number of pages drawn.
int print_pages(CMainFrame& frame, QPagedPaintDevice& device);

void print_with_dialog(CMainFrame& frame);
void preview_print(CMainFrame& frame);
// Writes the printed pages to a PDF file; false when it cannot be written.
bool write_pdf(CMainFrame& frame, const QString& out);

}  // namespace tessel::app
