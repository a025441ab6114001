// tessel-dump --draw --click on the table header acts as a click in the
// window does: the header's hit areas exist before the clicks are replayed.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "test_support.h"

namespace {

const std::string kDemo = TESSEL_SOURCE_DIR "/samples/demo.xer";

// The left edge of the header caption `caption` in a paint, or -1.
int caption_left(const std::string& paint, const std::string& caption) {
  std::istringstream in(paint);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("text ", 0) != 0 || !line.ends_with(" Calibri 15 " + caption)) continue;
    std::istringstream fields(line.substr(5));
    float x = 0.0f, y = 0.0f;
    fields >> x >> y;
    if (y == 0.0f) return static_cast<int>(x);
  }
  return -1;
}

}  // namespace

TEST(DrawClick, AClickOnAHeaderCaptionSortsBySelectsThatColumn) {
  int status = -1;
  const std::string plain = test_support::run_dump("--draw activity --size 1200x200 '" + kDemo + "'", &status);
  ASSERT_EQ(status, 0);
  const int x = caption_left(plain, "Activity Name");
  ASSERT_GT(x, 0);
  EXPECT_EQ(plain.find("#3399FF"), std::string::npos);  // nothing selected yet

  const std::string clicked = test_support::run_dump(
      "--draw activity --size 1200x200 --click " + std::to_string(x + 10) + ",10 '" + kDemo + "'", &status);
  ASSERT_EQ(status, 0);
  // The clicked column's header cell is drawn selected.
  const std::string cell = "fill " + std::to_string(x - 5) + " 0 ";
  bool selected_cell = false;
  std::istringstream in(clicked);
  for (std::string line; std::getline(in, line);)
    selected_cell = selected_cell || (line.rfind(cell, 0) == 0 && line.ends_with(" 30 #3399FF"));
  EXPECT_TRUE(selected_cell) << "no selected header cell at " << x - 5;
  EXPECT_NE(clicked, plain);
}
