// The schedule check as the window shows it, rendered without a window:
// `tessel-reader --render OUT.png --dialog check FILE`.
#pragma once

#include <QString>

namespace tessel::app {

class CMainFrame;

// Renders the Schedule Check pane on the frame's open schedule to
// `out_png`; answers the exit code (0 written, 2 when there is no schedule
// or the file cannot be written, with a line on stderr).
int render_check(CMainFrame& frame, const QString& out_png);

}  // namespace tessel::app
