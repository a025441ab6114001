// tessel-dump's table listing and table dump, run as the built program.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

struct run_result {
  std::string out;
  int status;
};

// Runs tessel-dump with `args`; stderr goes with stdout when asked.
run_result run_dump(const std::string& args, bool with_stderr = false) {
  const std::string cmd = std::string(TESSEL_DUMP_EXE) + " " + args + (with_stderr ? " 2>&1" : " 2>/dev/null");
  run_result r{"", -1};
  FILE* p = ::popen(cmd.c_str(), "r");
  if (!p) return r;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  const int st = ::pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return r;
}

class XerDump : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("tessel_dump_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  std::string write(const std::string& name, const std::string& bytes) {
    const fs::path p = dir_ / name;
    std::ofstream(p, std::ios::binary) << bytes;
    return "'" + p.string() + "'";
  }
  fs::path dir_;
};

TEST_F(XerDump, ListsTablesAndDumpsEveryOccurrenceAsUtf8) {
  const std::string file = write("small.xer",
                                 "ERMHDR\t8.0\r\n"
                                 "%T\tTASK\r\n%F\ttask_id\ttask_name\tx\r\n"
                                 "%R\t1\tCaf\xE9\r\n%R\t2\t\t\r\n"
                                 "%T\tCALENDAR\r\n%F\tclndr_id\r\n"
                                 "%T\tTASK\r\n%F\ttask_id\r\n%R\t3\textra\r\n"
                                 "%E\r\n%T\tLATE\r\n");
  run_result r = run_dump(file);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "TASK\t3\t2\nCALENDAR\t1\t0\nTASK\t1\t1\n");

  r = run_dump("--table TASK " + file);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "task_id\ttask_name\tx\n1\tCaf\xC3\xA9\n2\t\n"
            "task_id\n3\textra\n");

  r = run_dump("--table CALENDAR " + file);
  EXPECT_EQ(r.out, "clndr_id\n");
  r = run_dump("--table NONE " + file);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "");
}

TEST_F(XerDump, RefusesWhatIsNotAnXerFile) {
  const std::string bom = write("bom.xer", "\xEF\xBB" "ERMHDR\t8.0\n%T\tTASK\n");  // a broken mark
  const std::string empty = write("empty.xer", "");
  const std::string other = write("other.xer", "HEADER\t8.0\n");
  const std::string missing = "'" + (dir_ / "missing.xer").string() + "'";
  const std::string folder = "'" + dir_.string() + "'";
  for (const std::string& f : {bom, empty, other, missing, folder}) {
    const std::string path = f.substr(1, f.size() - 2);
    run_result r = run_dump(f, true);
    EXPECT_EQ(r.status, 1) << f;
    EXPECT_EQ(r.out, "Can't open document: " + path + "\n");
    r = run_dump("--table TASK " + f, true);
    EXPECT_EQ(r.status, 1) << f;
    EXPECT_EQ(r.out, "Can't open document: " + path + "\n");
  }
}

}  // namespace
