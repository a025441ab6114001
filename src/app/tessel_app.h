// The application object and the three ways the program runs: the window,
// a headless render of the window to a PNG image, and a headless print to
// PDF.
#pragma once

#include <QApplication>
#include <memory>

#include "app/command_line.h"
#include "app/main_frame.h"

namespace tessel::app {

class TesselApp : public QApplication {
  Q_OBJECT

 public:
  TesselApp(int& argc, char** argv);
};

// The window as the command line asks for it: created empty and shown, then
// the file (if any) is opened into it.
std::unique_ptr<CMainFrame> start_main_window(const command_line& cl);

// Prepares the window off-screen at the asked size with the file, category,
// layout, selection and Details tab of `cl`; false (reported on stderr) when
// the file is refused or the layout is unknown.
bool prepare_headless(CMainFrame& frame, const command_line& cl);

// --render and --print-pdf: the process exit code.
int run_headless(const command_line& cl);

}  // namespace tessel::app
