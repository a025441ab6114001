// Print Preview: one page of the printout at a time, drawn when it is shown,
// so a schedule of thousands of pages previews at once; with the two print
// options, page buttons and "Page k of n".
#pragma once

#include <QImage>
#include <QString>
#include <QSize>

namespace tessel::app {

class CMainFrame;
struct print_plan;

// The preview's page, in screen pixels; plan it at 96 dpi.
QSize preview_page_size();
// Page k of `plan` as the preview shows it.
QImage render_preview_page(CMainFrame& frame, const print_plan& plan, int k);

void show_print_preview(CMainFrame& frame);
// The preview of the first page drawn to a PNG, for looking at it without
// a display.
bool render_print_preview(CMainFrame& frame, const QString& out_png);

}  // namespace tessel::app
