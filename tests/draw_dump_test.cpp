// tessel-dump --draw, run as the built program: one paint of a pane after
// the scroll, selection and clicks asked for, and its closing line; the
// Details pane's tab and its sub-tables following the selection.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct run_result {
  std::string out;
  std::vector<std::string> lines;
  int status = -1;

  bool has(const std::string& line) const { return std::find(lines.begin(), lines.end(), line) != lines.end(); }
  // A text drawn in the panes' font.
  bool drawn(const std::string& text) const { return out.find(" Calibri 15 " + text + "\n") != std::string::npos; }
};

const std::string kDemo = TESSEL_SOURCE_DIR "/samples/demo.xer";

run_result draw(const std::string& args, const std::string& file = kDemo) {
  const std::string cmd = std::string(TESSEL_DUMP_EXE) + " --draw " + args + " " + file + " 2>/dev/null";
  run_result r;
  FILE* p = ::popen(cmd.c_str(), "r");
  if (!p) return r;
  char buf[4096];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) r.out.append(buf, n);
  const int st = ::pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  for (std::size_t at = 0; at < r.out.size();) {
    const std::size_t end = r.out.find('\n', at);
    r.lines.push_back(r.out.substr(at, end - at));
    if (end == std::string::npos) break;
    at = end + 1;
  }
  return r;
}

}  // namespace

TEST(DrawDump, TablePaneScrollSelectClickAndRefusals) {
  run_result r = draw("activity --size 400x100");
  ASSERT_EQ(r.status, 0);
  ASSERT_GT(r.lines.size(), 10u);
  EXPECT_EQ(r.lines.front(), "fill 0 0 400 100 #FFFFFF");
  EXPECT_EQ(r.lines.back(), "# content 1026 1974 range 636 1884 scroll 0 0");

  // Scroll positions are clamped to the range.
  EXPECT_EQ(draw("activity --size 400x100 --scroll 99999,36").lines.back(),
            "# content 1026 1974 range 636 1884 scroll 636 36");
  EXPECT_TRUE(draw("activity --size 400x100 --select 3").has("fill 0 85 1026 17 #3399FF"));

  // A click in the first group's box collapses it (the whole project).
  r = draw("activity --size 400x100 --click 10,40");
  EXPECT_EQ(r.lines.back(), "# content 1026 48 range 636 0 scroll 0 0");
  EXPECT_TRUE(r.has("line 10 38 10 42 #000000 1"));

  r = draw("resource --size 400x100 --scale 1.5");
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(r.has("fill 0 0 1410 45 #F0F0F0"));

  // Usage errors exit with 2, a file or layout that cannot be had with 1.
  const std::pair<const char*, int> cases[] = {{"nonsense", 2},
                                               {"activity --size 10", 2},
                                               {"activity-details --tab Notes", 2},
                                               {"wbs-details --tab Codes", 2},
                                               {"activity --layout \"No Such Layout\"", 1}};
  for (const auto& [args, status] : cases) EXPECT_EQ(draw(args).status, status) << args;
  EXPECT_EQ(draw("activity", "").status, 2);  // no file
  EXPECT_EQ(draw("activity", "/nonexistent.xer").status, 1);
}

TEST(DrawDump, DetailsTabsAndSubTablesFollowTheSelection) {
  // Row 3 of the demo's first activity layout is A1000 "Notice to Proceed".
  const run_result status = draw("activity-details --tab Status --select 3");
  ASSERT_EQ(status.status, 0);
  EXPECT_TRUE(status.drawn("Exp Finish"));
  EXPECT_TRUE(status.drawn("Notice to Proceed"));
  EXPECT_FALSE(status.drawn("Primary Resource"));  // a "General" caption

  // A1000 has no predecessor and four successors, A1010 the first.
  const run_result preds = draw("predecessors --select 3");
  ASSERT_EQ(preds.status, 0);
  EXPECT_TRUE(preds.drawn("Activity ID"));
  EXPECT_EQ(preds.out.find("A10"), std::string::npos);
  const run_result succs = draw("successors --select 3");
  ASSERT_EQ(succs.status, 0);
  EXPECT_TRUE(succs.drawn("A1010"));
  EXPECT_TRUE(succs.drawn("Mobilise and Establish Site Compound"));
  EXPECT_TRUE(succs.drawn("Total Float"));  // the successor list has its own columns

  const run_result codes = draw("activity-codes --select 3");
  ASSERT_EQ(codes.status, 0);
  EXPECT_TRUE(codes.drawn("Preconstruction"));
  EXPECT_FALSE(codes.drawn("Responsible Area"));  // A1000 has no value of that type
}

