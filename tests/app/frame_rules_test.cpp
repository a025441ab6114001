#include <gtest/gtest.h>

#include "app/command_line.h"
#include "app/frame_rules.h"

namespace tessel::app {
namespace {

TEST(FrameRules, TimescaleEntriesZoomAndToggles) {
  const int32_t codes[] = {1, 2, 3, 4, 5, 6, 8};
  for (int e = 0; e < 7; ++e) {
    EXPECT_EQ(timescale_code_of_entry(e), codes[e]) << e;
    EXPECT_EQ(timescale_entry_of_code(codes[e]), e) << e;
  }
  EXPECT_EQ(timescale_code_of_entry(7), -1);
  EXPECT_EQ(timescale_code_of_entry(-1), -1);
  // Code 7 is never produced, and neither it nor 0 selects an entry.
  EXPECT_EQ(timescale_entry_of_code(7), -1);
  EXPECT_EQ(timescale_entry_of_code(0), -1);
  EXPECT_EQ(timescale_entry_of_code(9), -1);

  // The Details and Gantt toggles. Then the zoom, stored per display scale
  // and shown back truncated (its check stops at the first mismatch).
  EXPECT_EQ(details_toggled(0, 900), std::make_pair(400, 500));
  EXPECT_EQ(details_toggled(500, 900), std::make_pair(900, 0));
  EXPECT_EQ(details_toggled(1, 900), std::make_pair(900, 0));
  EXPECT_EQ(gantt_toggled(0, 1500), std::make_pair(600, 900));
  EXPECT_EQ(gantt_toggled(1, 1500), std::make_pair(1500, 0));
  EXPECT_EQ(gantt_toggled(0, 400), std::make_pair(600, 0));

  EXPECT_FLOAT_EQ(zoom_of_slider(5, 1.5f), 5.0f / 1.5f);
  for (int p = zoom_slider_min; p <= zoom_slider_max; ++p)
    for (float s : {1.0f, 1.25f, 1.5f, 1.75f, 2.0f}) ASSERT_EQ(slider_of_zoom(zoom_of_slider(p, s), s), p) << p << " " << s;
  // Truncated, not rounded.
  EXPECT_EQ(slider_of_zoom(50.9f, 1.0f), 50);
  EXPECT_EQ(slider_of_zoom(33.0f, 1.5f), 49);
}

TEST(CommandLine, RenderOptionsAndErrors) {
  command_line c = parse_command_line({"--render", "out.png", "--category", "WBS", "--layout", "List", "--size",
                                       "800x600", "--select", "3", "--details", "Codes", "f.xer"});
  EXPECT_EQ(c.mode, run_mode::render);
  EXPECT_EQ(c.out, "out.png");
  EXPECT_EQ(c.category, view::view_kind::wbs);
  EXPECT_EQ(c.layout, "List");
  EXPECT_EQ(c.size, QSize(800, 600));
  EXPECT_EQ(c.select, 3);
  EXPECT_EQ(c.details_tab, "Codes");
  EXPECT_EQ(c.file, "f.xer");

  c = parse_command_line({"--render", "o.png", "--dialog", "columns", "activity", "pred", "f.xer"});
  EXPECT_EQ(c.dialog, "columns");
  EXPECT_EQ(c.dialog_args, QStringList({"activity", "pred"}));
  EXPECT_EQ(c.file, "f.xer");

  EXPECT_EQ(c.theme, -1);
  EXPECT_EQ(parse_command_line({"--style", "Dark", "f.xer"}).theme, 1);
  EXPECT_EQ(parse_command_line({"--style", "white", "f.xer"}).theme, 2);

  c = parse_command_line({"plain.xer"});
  EXPECT_EQ(c.mode, run_mode::window);
  EXPECT_EQ(c.file, "plain.xer");
  EXPECT_EQ(parse_command_line({}).mode, run_mode::window);
  EXPECT_EQ(parse_command_line({"--help"}).mode, run_mode::help);

  for (const QStringList& bad : {QStringList{"--render", "o.png"}, QStringList{"--render"},
                                 QStringList{"--category", "tasks", "f.xer"}, QStringList{"--size", "10x10", "f"},
                                 QStringList{"--select", "-2", "f"}, QStringList{"--bogus", "f"},
                                 QStringList{"a", "b"}, QStringList{"--dialog", "x", "f.xer"},
                                 QStringList{"--style", "neon", "f.xer"}})
    EXPECT_EQ(parse_command_line(bad).mode, run_mode::error) << bad.join(' ').toStdString();
}

}  // namespace
}  // namespace tessel::app
