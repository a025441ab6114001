// The window the shell tests drive: a main frame 1400 x 900 shown off-screen
// at the screen's own scale, its refusals collected instead of shown.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QString>
#include <QStringList>
#include <memory>

#include "app/main_frame.h"

namespace tessel::app {

inline const QString demo = QStringLiteral(TESSEL_SOURCE_DIR "/samples/demo.xer");

class frame_fixture : public ::testing::Test {
 protected:
  void SetUp() override {
    set_display_scale_override(0.0f);
    frame = std::make_unique<CMainFrame>();
    frame->report_refusal = [this](const QString& m) { refusals << m; };
    frame->resize(1400, 900);
    frame->show();
    QApplication::processEvents();
  }
  void TearDown() override { frame.reset(); }

  std::unique_ptr<CMainFrame> frame;
  QStringList refusals;
};

// The same window with the demo schedule open.
class demo_frame : public frame_fixture {
 protected:
  void SetUp() override {
    frame_fixture::SetUp();
    ASSERT_TRUE(frame->open_file_now(demo));
    QApplication::processEvents();
  }
};

}  // namespace tessel::app
