// tessel-reader: the schedule viewer's window, or its headless render and
// print modes (see command_line.h).
#include <QStringList>
#include <cstdio>
#include <cstdlib>

#include "app/command_line.h"
#include "app/tessel_app.h"

int main(int argc, char** argv) {
  using namespace tessel::app;
  QStringList args;
  for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  const command_line cl = parse_command_line(args);
  if (cl.mode == run_mode::help) {
    std::fputs(usage_text().toLocal8Bit().constData(), stdout);
    return 0;
  }
  if (cl.mode == run_mode::error) {
    std::fprintf(stderr, "tessel-reader: %s\n\n%s", cl.error.toLocal8Bit().constData(),
                 usage_text().toLocal8Bit().constData());
    return 2;
  }
  const bool headless = cl.mode == run_mode::render || cl.mode == run_mode::print_pdf;
  // Rendering needs no display: without a platform chosen, draw off-screen.
  if (headless && !std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  TesselApp app(argc, argv);
  if (headless) return run_headless(cl);
  auto frame = start_main_window(cl);
  return app.exec();
}
