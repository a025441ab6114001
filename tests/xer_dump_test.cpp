// tessel-dump's table listing and table dump, run as the built program.
#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace {

using test_support::quoted;
using test_support::run_dump;

TEST(XerDump, ListsTablesDumpsEveryOccurrenceAsUtf8AndRefusesWhatIsNotXer) {
  test_support::scratch s;
  const std::string file = quoted(s.file("small.xer",
                                         "ERMHDR\t8.0\r\n"
                                         "%T\tTASK\r\n%F\ttask_id\ttask_name\tx\r\n"
                                         "%R\t1\tCaf\xE9\r\n%R\t2\t\t\r\n"
                                         "%T\tCALENDAR\r\n%F\tclndr_id\r\n"
                                         "%T\tTASK\r\n%F\ttask_id\r\n%R\t3\textra\r\n"
                                         "%E\r\n%T\tLATE\r\n"));
  int status = -1;
  EXPECT_EQ(run_dump(file, &status), "TASK\t3\t2\nCALENDAR\t1\t0\nTASK\t1\t1\n");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(run_dump("--table TASK " + file, &status),
            "task_id\ttask_name\tx\n1\tCaf\xC3\xA9\n2\t\n"
            "task_id\n3\textra\n");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(run_dump("--table CALENDAR " + file), "clndr_id\n");
  EXPECT_EQ(run_dump("--table NONE " + file, &status), "");
  EXPECT_EQ(status, 0);

  // What is not an XER file is refused.
  for (const std::filesystem::path& f : {s.file("bom.xer", "\xEF\xBB" "ERMHDR\t8.0\n%T\tTASK\n"),  // a broken mark
                                         s.file("empty.xer", ""), s.file("other.xer", "HEADER\t8.0\n"),
                                         s.dir / "missing.xer", s.dir}) {
    for (const std::string args : {"", "--table TASK "}) {
      status = -1;
      // The reason stands on the line below.
      EXPECT_EQ(run_dump(args + quoted(f), &status, true).rfind("Can't open document: " + f.string() + "\n", 0), 0u);
      EXPECT_EQ(status, 1) << f;
    }
  }
}

}  // namespace
