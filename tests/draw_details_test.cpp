// tessel-dump --draw for the Details pane and its sub-tables, run as the
// built program: the tab asked for, and sub-tables that show the selection
// made on the command line.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace {

// The program's output and exit status.
std::pair<std::string, int> draw(const std::string& args) {
  const std::string cmd = std::string(TESSEL_DUMP_EXE) + " --draw " + args + " 2>/dev/null";
  std::string out;
  FILE* p = ::popen(cmd.c_str(), "r");
  if (!p) return {out, -1};
  char buf[4096];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
  const int st = ::pclose(p);
  return {out, WIFEXITED(st) ? WEXITSTATUS(st) : -1};
}

const std::string kDemo = TESSEL_SOURCE_DIR "/samples/demo.xer";

bool drawn(const std::string& out, const std::string& text) {
  return out.find(" Calibri 15 " + text + "\n") != std::string::npos;
}

}  // namespace

TEST(DrawDetails, TabsAndSubTablesFollowTheCommandLine) {
  // Row 3 of the demo's first activity layout is A1000 "Notice to Proceed".
  auto [status, code] = draw("activity-details --tab Status --select 3 " + kDemo);
  ASSERT_EQ(code, 0);
  EXPECT_TRUE(drawn(status, "Exp Finish"));
  EXPECT_TRUE(drawn(status, "Notice to Proceed"));
  EXPECT_FALSE(drawn(status, "Primary Resource"));  // a "General" caption

  EXPECT_EQ(draw("activity-details --tab Notes " + kDemo).second, 2);
  EXPECT_EQ(draw("wbs-details --tab Codes " + kDemo).second, 2);

  // A1000 has no predecessor and four successors, A1010 the first.
  auto [preds, pcode] = draw("predecessors --select 3 " + kDemo);
  ASSERT_EQ(pcode, 0);
  EXPECT_TRUE(drawn(preds, "Activity ID"));
  EXPECT_EQ(preds.find("A10"), std::string::npos);
  auto [succs, scode] = draw("successors --select 3 " + kDemo);
  ASSERT_EQ(scode, 0);
  EXPECT_TRUE(drawn(succs, "A1010"));
  EXPECT_TRUE(drawn(succs, "Mobilise and Establish Site Compound"));
  EXPECT_TRUE(drawn(succs, "Total Float"));  // the successor list has its own columns

  auto [codes, ccode] = draw("activity-codes --select 3 " + kDemo);
  ASSERT_EQ(ccode, 0);
  EXPECT_TRUE(drawn(codes, "Preconstruction"));
  EXPECT_FALSE(drawn(codes, "Responsible Area"));  // A1000 has no value of that type
}
