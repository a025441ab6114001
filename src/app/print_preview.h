// Print Preview: one page of the printout at a time, drawn when it is shown,
// so a schedule of thousands of pages previews at once; with the two print
// options, page buttons and "Page k of n".
#pragma once

namespace tessel::app {

class CMainFrame;

void show_print_preview(CMainFrame& frame);

}  // namespace tessel::app
