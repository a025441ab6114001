// tessel-dump --draw, run as the built program: one paint of a pane after
// the scroll, selection and clicks asked for, and its closing line.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct run_result {
  std::vector<std::string> lines;
  int status = -1;
};

run_result draw(const std::string& args) {
  const std::string cmd =
      std::string(TESSEL_DUMP_EXE) + " --draw " + args + " 2>/dev/null";
  run_result r;
  FILE* p = ::popen(cmd.c_str(), "r");
  if (!p) return r;
  std::string out;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  const int st = ::pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  std::size_t at = 0;
  while (at < out.size()) {
    const std::size_t end = out.find('\n', at);
    r.lines.push_back(out.substr(at, end - at));
    if (end == std::string::npos) break;
    at = end + 1;
  }
  return r;
}

bool has(const run_result& r, const std::string& line) {
  for (const std::string& l : r.lines)
    if (l == line) return true;
  return false;
}

const std::string kDemo = TESSEL_SOURCE_DIR "/samples/demo.xer";

}  // namespace

TEST(DrawDump, TablePaneScrollSelectAndClick) {
  run_result r = draw("activity --size 400x100 " + kDemo);
  ASSERT_EQ(r.status, 0);
  ASSERT_GT(r.lines.size(), 10u);
  EXPECT_EQ(r.lines.front(), "fill 0 0 400 100 #FFFFFF");
  EXPECT_EQ(r.lines.back(), "# content 980 1974 range 590 1884 scroll 0 0");

  // Scroll positions are clamped to the range.
  r = draw("activity --size 400x100 --scroll 99999,36 " + kDemo);
  EXPECT_EQ(r.lines.back(), "# content 980 1974 range 590 1884 scroll 590 36");

  r = draw("activity --size 400x100 --select 3 " + kDemo);
  EXPECT_TRUE(has(r, "fill 0 85 980 17 #3399FF"));

  // A click in the first group's box collapses it (the whole project).
  r = draw("activity --size 400x100 --click 10,40 " + kDemo);
  EXPECT_EQ(r.lines.back(), "# content 980 48 range 590 0 scroll 0 0");
  EXPECT_TRUE(has(r, "line 10 38 10 42 #000000 1"));

  r = draw("resource --size 400x100 --scale 1.5 " + kDemo);
  ASSERT_EQ(r.status, 0);
  EXPECT_TRUE(has(r, "fill 0 0 1410 45 #F0F0F0"));
}

TEST(DrawDump, Refusals) {
  EXPECT_EQ(draw("nonsense " + kDemo).status, 2);
  EXPECT_EQ(draw("activity --size 10 " + kDemo).status, 2);
  EXPECT_EQ(draw("activity").status, 2);
  EXPECT_EQ(draw("activity --layout \"No Such Layout\" " + kDemo).status, 1);
  EXPECT_EQ(draw("activity /nonexistent.xer").status, 1);
}
