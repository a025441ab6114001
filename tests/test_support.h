// Small helpers most core tests share: a scratch folder of the test's own,
// running the built tessel-dump, the real exports beside the project, byte
// texts widened one byte to one character, catalog ids by key, and records
// found by their codes.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/field_catalog.h"
#include "values/civil.h"

namespace test_support {

namespace fs = std::filesystem;

// Each byte one character, as the XER reader's Latin-1 default reads them.
inline std::u16string u16(std::string_view s) {
  std::u16string out;
  for (unsigned char c : s) out += char16_t(c);
  return out;
}
inline std::string narrow(std::u16string_view s) { return std::string(s.begin(), s.end()); }

// Seconds since 1970 of a moment of the civil calendar.
inline int64_t at(int y, int m, int d, int h = 0, int min = 0) {
  return tessel::civil::days_from_civil(y, m, d) * 86400 + h * 3600 + min * 60;
}

inline std::string read_file(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}
inline void write_file(const fs::path& p, const std::string& bytes) {
  if (p.has_parent_path()) fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << bytes;
}

// An export written line by line: each line's fields joined by tabs, CR LF
// line ends as the database writes them.
inline std::string xer(const std::vector<std::vector<std::string>>& lines) {
  std::string out = "ERMHDR\t19.12\t2024-01-10\tProject\tadmin\n";
  for (const auto& fields : lines) {
    for (size_t i = 0; i < fields.size(); ++i) out += (i ? "\t" : "") + fields[i];
    out += "\r\n";
  }
  return out;
}

// The same from lines whose fields are joined by tabs already.
inline std::string xer_joined(const std::vector<std::string>& lines) {
  std::string out = xer({});
  for (const std::string& l : lines) out += l + "\r\n";
  return out;
}

// A folder named after the running test, removed with the object.
struct scratch {
  fs::path dir;
  scratch() {
    dir = fs::temp_directory_path() / ("tessel-test-" + std::to_string(::getpid()) + "-" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  ~scratch() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  fs::path file(const std::string& name, const std::string& bytes) const {
    write_file(dir / name, bytes);
    return dir / name;
  }
  std::u16string write(const std::string& name, const std::string& bytes) const {
    return file(name, bytes).u16string();
  }
};

// Runs the built tessel-dump with `args` (quoted by the caller); stdout, and
// stderr when asked. `status` is the exit code, -1 when it did not exit.
inline std::string run_dump(const std::string& args, int* status = nullptr, bool with_stderr = false) {
  const std::string cmd = std::string(TESSEL_DUMP_EXE) + " " + args + (with_stderr ? " 2>&1" : " 2>/dev/null");
  std::string out;
  FILE* p = ::popen(cmd.c_str(), "r");
  char buf[4096];
  for (size_t n; p && (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
  const int st = p ? ::pclose(p) : -1;
  if (status) *status = st != -1 && WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return out;
}
inline std::string quoted(const fs::path& p) { return "'" + p.string() + "'"; }

// Calendar data of a week worked Monday to Friday, 08:00-12:00 and
// 13:00-17:00, with the exception nodes given.
inline std::string weekdays_calendar(const std::string& exceptions = "") {
  std::string days = "(0||1()())";
  for (int d = 2; d <= 6; ++d)
    days += "(0||" + std::to_string(d) + "()((0||0(s|08:00|f|12:00)())(0||1(s|13:00|f|17:00)())))";
  return "(0||CalendarData()((0||DaysOfWeek()(" + days + "(0||7()())))(0||Exceptions()(" + exceptions + "))))";
}

// The id of a catalog's field (0, and a failure, when the catalog lacks it).
inline uint32_t field_id(tessel::catalog::catalog_kind kind, std::u16string_view key) {
  const tessel::catalog::field_entry* e = tessel::catalog::find_field(kind, key);
  EXPECT_NE(e, nullptr) << narrow(key);
  return e ? e->field_id : 0;
}

// The first activity with that code, the first WBS element with that path
// (nullptr when there is none).
template <class Doc>
auto task_by_code(const Doc& d, std::u16string_view code) -> decltype(&d.task[0]) {
  for (const auto& t : d.task)
    if (t.task_code.value == code) return &t;
  return nullptr;
}
template <class Doc>
auto wbs_by_path(const Doc& d, std::u16string_view path) -> decltype(&d.projwbs[0]) {
  for (const auto& w : d.projwbs)
    if (w.wbs_path.value == path) return &w;
  return nullptr;
}

// An export kept beside the tests, as its bytes.
inline std::string xer_data(const char* name) { return read_file(fs::path(TESSEL_TEST_DATA) / "xer" / name); }

// A workbook kept beside the tests.
inline std::u16string xls_path(const char* name) { return (fs::path(TESSEL_TEST_DATA) / "xls" / name).u16string(); }

// The real exports beside the project; tests skip when they are absent.
inline fs::path real_dir() { return fs::path(TESSEL_SHARED_DIR) / "testdata" / "real"; }
#define SKIP_WITHOUT_REAL_EXPORTS() \
  if (!std::filesystem::is_directory(test_support::real_dir())) GTEST_SKIP() << "no real exports beside the project"

}  // namespace test_support
