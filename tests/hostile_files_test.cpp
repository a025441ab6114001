// Damaged and hostile files: every one either opens correctly or is refused
// with the usual message, quickly and within bounded memory; none crashes,
// hangs or takes the machine's memory.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "catalog/field_catalog.h"
#include "config/filters.h"
#include "config/layout_reader.h"
#include "config/settings.h"
#include "document/calendars/calendar.h"
#include "document/xer/data_parser.h"
#include "document/document.h"
#include "document/io/open_limits.h"
#include "test_support.h"
#include "view/tessel_doc.h"

namespace fs = std::filesystem;
using namespace tessel;
using namespace tessel::document;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool sanitized = true;
#elif defined(__has_feature)
constexpr bool sanitized = __has_feature(address_sanitizer);
#else
constexpr bool sanitized = false;
#endif

using test_support::scratch;

// `head`, then nothing (a hole the file system does not store) up to `size`.
std::u16string sparse(const fs::path& path, const std::string& head, uint64_t size) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  EXPECT_GE(fd, 0);
  EXPECT_EQ(::write(fd, head.data(), head.size()), ssize_t(head.size()));
  EXPECT_EQ(::ftruncate(fd, off_t(size)), 0);
  ::close(fd);
  return path.u16string();
}

const std::string header = "ERMHDR\t20.12\n";

// Loads `bytes` in a child process and answers the growth of its peak
// memory over the load, in bytes (-1 when the child failed), and the length
// of the first activity's name (-1 without activities).
long long peak_growth_of_load(const std::string& bytes, long long* name_length = nullptr) {
  int fds[2];
  if (::pipe(fds) != 0) return -1;
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    std::string mine = bytes;  // the copy the load takes is counted before it starts
    rusage before{};
    ::getrusage(RUSAGE_SELF, &before);
    catalog::build_catalogs();
    Document_xer doc;
    doc.load_bytes(std::move(mine));
    rusage after{};
    ::getrusage(RUSAGE_SELF, &after);
    // The growth, and the length of the first activity's name.
    const long long out[2] = {(after.ru_maxrss - before.ru_maxrss) * 1024LL,
                              doc.task.empty() ? -1LL : (long long)doc.task[0].task_name.value.size()};
    const bool sent = ::write(fds[1], out, sizeof out) == ssize_t(sizeof out);
    ::_exit(sent ? 0 : 1);
  }
  ::close(fds[1]);
  long long got[2] = {-1, -1};
  if (::read(fds[0], got, sizeof got) != ssize_t(sizeof got)) got[0] = -1;
  ::close(fds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (name_length) *name_length = got[1];
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? got[0] : -1;
}

double seconds_since(std::chrono::steady_clock::time_point t) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

}  // namespace

TEST(HostileFiles, SizeLimitsRefuseBeforeReading) {
  EXPECT_TRUE(size_acceptable(100 << 20, 0));
  EXPECT_TRUE(size_acceptable(100 << 20, uint64_t(600) << 20));
  EXPECT_FALSE(size_acceptable(100 << 20, uint64_t(599) << 20));  // six times the file must be free
  EXPECT_TRUE(size_acceptable(max_schedule_bytes, 0));
  EXPECT_FALSE(size_acceptable(max_schedule_bytes + 1, 0));
  // Real exports make up to four and a half times their size in records
  // and open; rows asking for more than the bound, or for more than the
  // free memory, are refused.
  const uint64_t mb100 = uint64_t(100) << 20;
  EXPECT_TRUE(records_acceptable(9 * mb100 / 2, mb100, 0));
  EXPECT_TRUE(records_acceptable(record_factor * mb100 + record_allowance, mb100, 0));
  EXPECT_FALSE(records_acceptable(record_factor * mb100 + record_allowance + 1, mb100, 0));
  EXPECT_FALSE(records_acceptable(4 * mb100, mb100, 4 * mb100 - 1));

  // Files of 2 GB and larger than the free memory, as XER and as workbook,
  // are refused at once: not a byte past the header is read.
  const uint64_t free_memory = available_memory();
  ASSERT_GT(free_memory, 0u);
  const auto start = std::chrono::steady_clock::now();
  for (uint64_t size : {uint64_t(2) << 30, free_memory + 1}) {
    scratch s;
    const std::u16string xer = sparse(s.dir / "big.xer", header + "%T\tTASK\n%F\ttask_id\n%R\t1\n", size);
    const std::u16string xls = sparse(s.dir / "big.xls", "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", size);
    view::TesselDoc doc;
    EXPECT_FALSE(doc.open(xer)) << size;
    EXPECT_FALSE(doc.open(xls)) << size;
    EXPECT_EQ(doc.document(), nullptr);
    Document_xer direct;  // the reader keeps to the same limit on its own
    EXPECT_FALSE(direct.load(xer));
  }
  EXPECT_LT(seconds_since(start), 5.0);
}

TEST(HostileFiles, RowsThatWouldOutgrowMemoryAreRefused) {
  // Ten million one-cell rows: as activities they would take some 20 GB of
  // records, so the file is refused before any is built; in a table the
  // schedule does not hold they are passed over.
  std::string rows;
  rows.reserve(60 << 20);
  for (int i = 0; i < 10'000'000; ++i) rows += "%R\t1\n";
  const auto start = std::chrono::steady_clock::now();
  {
    Document_xer doc;
    EXPECT_FALSE(doc.load_bytes(header + "%T\tTASK\n%F\ttask_id\n" + rows));
    EXPECT_TRUE(doc.refused());
    EXPECT_TRUE(doc.task.empty());
  }
  {
    Document_xer doc;
    EXPECT_TRUE(doc.load_bytes(header + "%T\tNOT_A_TABLE\n%F\tx\n" + rows + "%T\tPROJECT\n%F\tproj_id\n%R\t7\n"));
    EXPECT_FALSE(doc.refused());
    ASSERT_EQ(doc.project.size(), 1u);
    EXPECT_EQ(doc.project[0].proj_id.value, 7u);
  }
  EXPECT_LT(seconds_since(start), sanitized ? 25.0 : 8.0);

  // The open answers the refusal and holds no schedule.
  scratch s;
  view::TesselDoc doc;
  EXPECT_FALSE(doc.open(s.write("rows.xer", header + "%T\tTASK\n%F\ttask_id\n" + rows)));
  EXPECT_EQ(doc.document(), nullptr);
}

// A 100 MB line reads whole, and the peak memory of reading it, or a file of
// many short rows in a table not read, stays within six times the file.
TEST(HostileFiles, ALineOf100MegabytesReadsWholeWithinSixTimesTheFile) {
  std::string line = header + "%T\tTASK\n%F\ttask_id\ttask_name\n%R\t1\t" + std::string(100 << 20, 'x') + "\n";
  if (sanitized) {  // the sanitizer's own memory hides the reader's
    Document_xer doc;
    ASSERT_TRUE(doc.load_bytes(line.substr(0, line.size() - 1)));  // without its line end
    ASSERT_EQ(doc.task.size(), 1u);
    EXPECT_EQ(doc.task[0].task_name.value.size(), size_t(100 << 20));
  } else {
    std::string rows = header + "%T\tOTHER\n%F\tx\n";
    for (int i = 0; i < 4'000'000; ++i) rows += "%R\t1\n";
    for (const std::string* bytes : {&line, &rows}) {
      long long name = 0;
      const long long growth = peak_growth_of_load(*bytes, &name);
      ASSERT_GE(growth, 0);
      EXPECT_LE(uint64_t(growth), memory_factor * bytes->size()) << growth;
      EXPECT_EQ(name, bytes == &line ? 100 << 20 : -1);  // the long line read whole
    }
  }

  // The key-and-value files take such a line as one more unknown setting.
  scratch s;
  config::reset_settings();
  config::LoadSettings(
      s.file("settings.cfg", "gridlines_VerticalScale:5\n" + std::string(100 << 20, 'k') + ":1\ngridlines_VerticalScale:7\n"));
  EXPECT_EQ(config::settings().gridlines_VerticalScale, 7);
  config::reset_settings();
}

TEST(HostileFiles, NestingAHundredThousandDeepNeverRecurses) {
  std::u16string deep;
  for (int i = 0; i < 100'000; ++i) deep += u"(0||CalendarData()(";
  std::u16string closed = deep;
  for (int i = 0; i < 100'000; ++i) closed += u"))";
  for (const std::u16string* text : {&deep, &closed}) {
    auto root = data_parser::parse(*text);
    ASSERT_TRUE(root);
    // Nesting is cut at the depth limit; a child that never closes is dropped.
    int depth = 1;
    for (const data_node* n = root.get(); !n->children().empty(); n = &n->children()[0]) {
      EXPECT_EQ(n->children().size(), 1u);
      EXPECT_EQ(n->name(), u"CalendarData");
      ++depth;
    }
    EXPECT_EQ(depth, text == &closed ? data_parser::max_depth : 1);
    work_calendar cal;
    cal.build(*text);
    EXPECT_TRUE(cal.exceptions().empty());
  }
  // The same nesting as a layout file, and as a calendar inside an export.
  catalog::build_catalogs();
  view::filter_lists filters;
  view::BuildPredefinedFilters(filters);
  std::string layout = "(0||Layout(view_type|VP_ACT|view_name|Deep)(";
  for (int i = 0; i < 100'000; ++i) layout += "(0||Columns()(";
  EXPECT_NE(view::ReadLayoutText(layout, filters), nullptr);
  std::string cal = header + "%T\tCALENDAR\n%F\tclndr_id\tclndr_data\n%R\t1\t";
  for (int i = 0; i < 100'000; ++i) cal += "(0||DaysOfWeek()(";
  Document_xer doc;
  ASSERT_TRUE(doc.load_bytes(cal));
  EXPECT_EQ(doc.calendar.size(), 1u);
}

TEST(HostileFiles, CyclesOfWbsElementsAndRelationshipsEnd) {
  // Every element's parent is the next one, the last's the first; every
  // activity follows the next one round the ring. Names as long as real
  // ones give the rows the size that pays for their records.
  constexpr int n = 10'000;
  const std::string name = "\t" + std::string(400, 'n');
  std::string x = header + "%T\tPROJECT\n%F\tproj_id\n%R\t1\n%T\tPROJWBS\n"
                           "%F\twbs_id\tproj_id\tparent_wbs_id\twbs_short_name\twbs_name\n";
  for (int i = 0; i < n; ++i)
    x += "%R\t" + std::to_string(100 + i) + "\t1\t" + std::to_string(100 + (i + 1) % n) + "\tW" + std::to_string(i) +
         name + "\n";
  x += "%T\tTASK\n%F\ttask_id\tproj_id\twbs_id\ttask_code\ttask_name\n";
  for (int i = 0; i < n; ++i) x += "%R\t" + std::to_string(i + 1) + "\t1\t" + std::to_string(100 + i) + "\tA" + name + "\n";
  x += "%T\tTASKPRED\n%F\ttask_pred_id\ttask_id\tpred_task_id\tproj_id\tpred_proj_id\n";
  for (int i = 0; i < n; ++i)
    x += "%R\t" + std::to_string(i + 1) + "\t" + std::to_string(i + 1) + "\t" + std::to_string((i + 1) % n + 1) + "\t1\t1\n";
  const auto start = std::chrono::steady_clock::now();
  Document_xer doc;
  ASSERT_TRUE(doc.load_bytes(x));
  EXPECT_EQ(doc.projwbs.size(), size_t(n));
  EXPECT_EQ(doc.taskpred.size(), size_t(n));
  ASSERT_NE(doc.task[0].projwbs, nullptr);
  // A path walks the ring once, never round it again.
  EXPECT_LE(doc.projwbs[0].wbs_path.value.size(), size_t(n) * 8);
  EXPECT_LT(seconds_since(start), sanitized ? 25.0 : 5.0);

  // A chain 45,000 deep under a code of a megabyte: paths are built without
  // recursion and stay short, rather than every element copying its parent's.
  std::string chain = header + "%T\tPROJWBS\n%F\twbs_id\tparent_wbs_id\twbs_short_name\twbs_name\n%R\t1\t\t" +
                      std::string(1 << 20, 'c') + "\n";
  for (int i = 2; i <= 45'000; ++i)
    chain += "%R\t" + std::to_string(i) + "\t" + std::to_string(i - 1) + "\tx" + name.substr(0, 240) + "\n";
  Document_xer deep;
  ASSERT_TRUE(deep.load_bytes(chain));
  size_t longest = 0;
  for (const PROJWBS& w : deep.projwbs) longest = std::max(longest, w.wbs_path.value.size());
  EXPECT_EQ(longest, 512u);
  EXPECT_EQ(deep.projwbs[1].wbs_path.value, deep.projwbs[0].wbs_path.value);  // no room left for its own code

  // A million-element ring in a few bytes a row is refused for its size.
  std::string ring = header + "%T\tPROJWBS\n%F\twbs_id\tparent_wbs_id\n";
  for (int i = 0; i < 1'000'000; ++i) ring += "%R\t" + std::to_string(i) + "\t" + std::to_string((i + 1) % 1'000'000) + "\n";
  Document_xer big;
  EXPECT_FALSE(big.load_bytes(ring));
  EXPECT_TRUE(big.refused());
}

TEST(HostileFiles, NulBytesInvalidUtf8AndTopmostTypeIds) {
  const std::string junk("\0\xff\xfe\xc3(\xed\xa0\x80\x80\0", 10);
  std::string x = header + "%T\tPROJECT\n%F\tproj_id\tproj_short_name\n%R\t1\t" + junk + "\n" +
                  "%T\tTASK\n%F\ttask_id\tproj_id\ttask_code\ttask_name\tstatus_code\tact_start_date\n" +
                  "%R\t2\t1\t" + junk + "\t" + junk + "\t" + junk + "\t" + junk + "\n" +
                  "%T\tCALENDAR\n%F\tclndr_id\tclndr_data\n%R\t3\t(0||" + junk + "()(" + junk + "))\n" +
                  "%T\t" + junk + "\n%F\t" + junk + "\n%R\t" + junk + "\n";
  Document_xer doc;
  ASSERT_TRUE(doc.load_bytes(x));
  ASSERT_EQ(doc.task.size(), 1u);
  // A NUL is a character like any other: the text goes on after it.
  const std::u16string& code = doc.task[0].task_code.value;
  ASSERT_FALSE(code.empty());
  EXPECT_EQ(code.front(), u'\0');
  EXPECT_GT(code.size(), 2u);

  catalog::build_catalogs();
  view::filter_lists filters;
  view::BuildPredefinedFilters(filters);
  EXPECT_EQ(view::ReadLayoutText("(0||Layout(view_type|" + junk + ")())", filters), nullptr);

  // A type id near the top of the id space would wrap round below its range's
  // base when the base is added: into the built-in fields or another range.
  const size_t builtin = catalog::catalogs().size();
  Document_xer wrapped;
  wrapped.load_bytes(header +
                 "%T\tUDFTYPE\n%F\tudf_type_id\ttable_name\tudf_type_label\tlogical_data_type\n"
                 "%R\t4294967295\tTASK\tWrapped\tFT_TEXT\n%R\t7\tTASK\tKept\tFT_TEXT\n"
                 "%T\tACTVTYPE\n%F\tactv_code_type_id\tactv_code_type\n%R\t4294967000\tWrapped\n");
  EXPECT_EQ(catalog::catalogs().size(), builtin + 1);  // only the ordinary user field
  EXPECT_NE(catalog::catalogs().find_id(catalog::user_field_base + 7), nullptr);
  EXPECT_EQ(catalog::catalogs().find_id(catalog::user_field_base - 1), nullptr);
  EXPECT_EQ(catalog::catalogs().find_id(uint32_t(4294967000ull + catalog::activity_code_base)), nullptr);
  catalog::build_catalogs();
}

