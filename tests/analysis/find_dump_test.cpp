// tessel-dump's restricted views: --where, --trace, --find, their refusals,
// and the critical filter on every real export.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>

#include "analysis/quick_filters.h"
#include "document/critical.h"
#include "document/io/path_text.h"
#include "rows/tree_build.h"
#include "test_support.h"
#include "view/table/table_text.h"
#include "view/tessel_doc.h"

namespace {

using namespace tessel;
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
  EXPECT_EQ(ids("--where active=2024-03-15..2024-03-18"), "No WBS C D");
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
  for (const std::string bad : {"bogus", "text=", "active=2024-03-10..2024-03-01", "active=2024-13-01..2024-12-01",
                                "float<=x", "status=finished", "code=NoColon"}) {
    int status = -1;
    const std::string out = dump("--view activity --where '" + bad + "'", &status, true);
    EXPECT_EQ(status, 2) << bad;
    EXPECT_NE(out.find("--where " + bad), std::string::npos) << out;
    EXPECT_NE(out.find("float<=N"), std::string::npos) << out;
  }
  int status = -1;
  std::string out = dump("--view activity --trace ZZ --direction succ", &status, true);
  EXPECT_EQ(status, 2);
  EXPECT_NE(out.find("ZZ"), std::string::npos) << out;
  for (const std::string bad : {"--trace A", "--trace A --direction up", "--trace A --direction succ --depth -1",
                                 "--depth 2", "--where"}) {
    dump("--view activity " + bad, &status);
    EXPECT_EQ(status, 2) << bad;
  }
  dump("--view project --where critical", &status);
  EXPECT_EQ(status, 2);
}

// Every real export: --where critical prints exactly the tree of the
// activities critical by the one definition.
TEST(FindDumpReal, CriticalFilterMatchesTheDefinition) {
  SKIP_WITHOUT_REAL_EXPORTS();
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(test_support::real_dir())) {
    const std::string ext = entry.path().extension().string();
    if (ext != ".xer" && ext != ".xls" && ext != ".xlsx") continue;
    view::TesselDoc doc;
    if (!doc.open(entry.path().u16string())) continue;
    ++files;
    const document::Document& d = *doc.document();
    std::vector<uint8_t> flags;
    std::size_t critical = 0;
    for (const document::TASK& t : d.task) {
      flags.push_back(document::is_critical(t) ? 1 : 0);
      critical += flags.back();
    }
    const view::Layout* layout = doc.configuration().first_layout(view::view_kind::activity);
    ASSERT_NE(layout, nullptr);
    std::unique_ptr<view::RootRow> root = view::build_activity_tree(d, layout->group_sort(), flags);
    // The tree holds exactly the critical activities.
    std::vector<view::Row*> leaves, all;
    view::visible_rows(*root, all);
    for (view::Row* r : all)
      if (const document::TASK* t = r->activity()) {
        leaves.push_back(r);
        EXPECT_TRUE(document::is_critical(*t));
      }
    EXPECT_EQ(leaves.size(), critical) << entry.path();
    int status = -1;
    const std::string out = run_dump("--view activity --where critical " + quoted(entry.path()), &status);
    EXPECT_EQ(status, 0) << entry.path();
    // The dump keeps the view's order (groups stay where the whole view
    // has them), so its lines are compared as a multiset: every critical
    // activity's line is there, and the lines are as many as the tree's.
    std::multiset<std::string> printed;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) printed.insert(line);
    EXPECT_EQ(printed.size(), all.size() + 1) << entry.path();
    std::istringstream expected(document::narrow_path(view::table_text(leaves, layout->columns())));
    std::string line;
    std::getline(expected, line);  // the header
    while (std::getline(expected, line)) {
      auto it = printed.find(line);
      EXPECT_NE(it, printed.end()) << entry.path() << ": " << line;
      if (it != printed.end()) printed.erase(it);
    }
  }
  EXPECT_GT(files, 10);
}

}  // namespace
