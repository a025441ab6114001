// tessel-dump's restricted views: --where, --trace, --find and their
// refusals. What each form selects is proven on the core (find_filter_test);
// here, that the options reach it and combine.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "test_support.h"

namespace {

using test_support::quoted;
using test_support::run_dump;

// tests/data/xer/find-logic.xer: ONE (critical at most 0 h of float) with
// A "Alpha", B "Bravo" (a milestone in progress) and C "Charlie alpha";
// TWO (the driving path) with D "Delta" and a second A. A -> B -> C, C -> A
// (a loop), C -> D across projects.
class FindDump : public ::testing::Test {
 protected:
  std::string dump(const std::string& args, int* status = nullptr, bool with_stderr = false) {
    return run_dump(args + " " + quoted(file_), status, with_stderr);
  }
  // The first cell of every line of the activity view after its header
  // (the group title, then Activity IDs), joined by spaces.
  std::string ids(const std::string& args, int* status = nullptr) {
    std::istringstream in(dump("--view activity " + args, status));
    std::string line, out;
    std::getline(in, line);
    while (std::getline(in, line)) out += (out.empty() ? "" : " ") + line.substr(0, line.find('\t'));
    return out;
  }
  std::filesystem::path file_ = std::filesystem::path(TESSEL_TEST_DATA) / "xer" / "find-logic.xer";
};

TEST_F(FindDump, WhereFormsRestrictTheView) {
  int status = -1;
  EXPECT_EQ(ids("", &status), "No WBS A A B C D");
  ASSERT_EQ(status, 0);
  // ONE: float at most 0 h (A, C); TWO: the driving path (D).
  EXPECT_EQ(ids("--where critical", &status), "No WBS A C D");
  EXPECT_EQ(status, 0);
  // Several --where: AND.
  EXPECT_EQ(ids("--where critical --where text=ALPHA"), "No WBS A C");
  EXPECT_EQ(ids("--where milestone --where status=not-started"), "");
}

TEST_F(FindDump, TraceTakesTheFirstActivityWithTheId) {
  int status = -1;
  // The first A is project ONE's: its successors B, C, then D across projects.
  EXPECT_EQ(ids("--trace A --direction succ", &status), "No WBS A B C D");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ids("--trace A --direction succ --depth 1"), "No WBS A B");
  EXPECT_EQ(ids("--trace D --direction pred --depth 1"), "No WBS C D");
  // Trace AND filter.
  EXPECT_EQ(ids("--trace B --direction succ --where critical"), "No WBS A C D");
}

TEST_F(FindDump, FindPrintsMatchingIdsInViewOrder) {
  int status = -1;
  EXPECT_EQ(dump("--view activity --find ALPHA", &status), "A\nC\n");
  EXPECT_EQ(status, 0);
  // Every name holds an "a"; the layout lists them by Activity ID.
  EXPECT_EQ(dump("--find a"), "A\nA\nB\nC\nD\n");
  EXPECT_EQ(dump("--find a --where status=not-started --where text=second"), "A\n");
  EXPECT_EQ(dump("--find a --where status=in-progress"), "B\n");
  EXPECT_EQ(dump("--find zzz", &status), "");
  EXPECT_EQ(status, 0);
}

TEST_F(FindDump, UnreadableFormsAndUnknownIdsAreRefused) {
  // The core's message names the form and lists the forms it reads.
  int status = -1;
  std::string out = dump("--view activity --where 'float<=x'", &status, true);
  EXPECT_EQ(status, 2);
  EXPECT_NE(out.find("--where float<=x"), std::string::npos) << out;
  EXPECT_NE(out.find("float<=N"), std::string::npos) << out;
  out = dump("--view activity --trace ZZ --direction succ", &status, true);
  EXPECT_EQ(status, 2);
  EXPECT_NE(out.find("ZZ"), std::string::npos) << out;
  for (const std::string bad : {"--trace A", "--trace A --direction up", "--trace A --direction succ --depth -1",
                                 "--depth 2", "--where", "--where text="}) {
    dump("--view activity " + bad, &status);
    EXPECT_EQ(status, 2) << bad;
  }
  dump("--view project --where critical", &status);
  EXPECT_EQ(status, 2);
}

}  // namespace
