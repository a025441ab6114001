// Opening schedules end to end: the open operation's refusals and the
// reason each gives, linking, the values the post-load passes derive, the
// load report of what an open found, and damaged or hostile files.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "catalog/field_catalog.h"
#include "config/filters.h"
#include "config/layout_reader.h"
#include "config/settings.h"
#include "document/biff_builder.h"
#include "document/calendars/calendar.h"
#include "document/critical.h"
#include "document/document.h"
#include "document/document_xls.h"
#include "document/io/open_limits.h"
#include "document/io/path_text.h"
#include "document/load_report.h"
#include "document/workbook/workbook.h"
#include "document/workbook/workbook_import.h"
#include "document/xer/data_parser.h"
#include "test_support.h"
#include "values/display_prefs.h"
#include "view/tessel_doc.h"

namespace fs = std::filesystem;
using namespace tessel;
using namespace tessel::document;

namespace {

using test_support::scratch;

using test_support::xer;

const TASK& by_code(const Document& d, const std::u16string& code) {
  for (const TASK& t : d.task)
    if (t.task_code.value == code) return t;
  ADD_FAILURE() << "no activity with that code";
  static const TASK none;
  return none;
}

// tests/data/xer/linked.xer: one project PRJ with a five-day calendar
// (08:00-12:00, 13:00-17:00) whose Wednesday 3 January 2024 is a holiday;
// relationships stand before the activities they name and WBS children
// before their parents; an assignment of activity 100 of another project;
// two TASK tables of nine activities in all, each named for what it is there
// for; a material resource priced in a currency with "," as decimal mark.
std::string schedule_text() { return test_support::xer_data("linked.xer"); }

}  // namespace

TEST(OpenSchedule, RefusesWhatIsNotAScheduleSayingWhy) {
  scratch s;
  view::TesselDoc doc;
  ASSERT_TRUE(doc.open(s.write("good.xer", schedule_text())));
  const Document* kept = doc.document();
  fs::create_directories(s.dir / "folder.xer");
  ASSERT_EQ(::mkfifo((s.dir / "pipe.xer").c_str(), 0600), 0);
  // A file past what may be opened is refused before a byte is read; a
  // sparse file has the size without the disk.
  const fs::path huge = s.file("huge.xer", "ERMHDR\t19.12\n");
  fs::resize_file(huge, uint64_t(3) << 30);
  const std::string not_xer = "The file is not a schedule export (it does not start with ERMHDR).";
  const std::pair<fs::path, std::string> refused[] = {
      {s.file("bom.xer", "\xEF\xBB" "ERMHDR\t19.12\n%T\tTASK\n"), not_xer},  // a broken byte-order mark
      {s.file("lower.xer", "ermhdr\t19.12\n"), not_xer},
      {s.file("longer.xer", "ERMHDRX\t19.12\n"), not_xer},
      {s.file("notes.xer", "HEADER\t8.0\n"), not_xer},
      {s.file("empty.xer", ""), "The file is empty."},
      {s.dir / "missing.xer", "The file does not exist."},
      {s.dir / "folder.xer", "This is a folder, not a file."},
      {s.dir / "pipe.xer", "This is not a regular file."},
      {huge, "The file is larger than the memory this computer has free."}};
  for (const auto& [path, reason] : refused) {
    EXPECT_FALSE(doc.open(path.u16string())) << path;
    EXPECT_EQ(doc.document(), kept) << "a refused open keeps the schedule";
    EXPECT_EQ(narrow_path(doc.refusal_reason()), reason) << path;
  }

  // The first bytes decide, whatever the name says: text under any name
  // opens, and a workbook's signature leads to the workbook reader, which
  // refuses a damaged one outright.
  for (const char* name : {"UPPER.XER", "text.xls", "notes.txt"}) {
    EXPECT_TRUE(doc.open(s.write(name, schedule_text()))) << name;
    ASSERT_NE(doc.document(), nullptr);
    EXPECT_EQ(doc.document()->task.size(), 9u) << name;
  }
  EXPECT_FALSE(doc.open(s.write("workbook.xer", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(600, '\0'))));
  EXPECT_EQ(doc.document(), nullptr);
}

// One schedule opened from a file it may not write to: the file stays as it
// was, the records link whatever the table order, and the post-load passes
// derive dates, durations, roll-ups and prices.
TEST(OpenSchedule, LinksAndDerivesWithoutWritingTheFile) {
  reset_prefs();
  scratch s;
  const std::u16string path = s.write("ro.xer", schedule_text());
  ASSERT_EQ(::chmod(fs::path(path).c_str(), 0444), 0);
  struct stat before {};
  ASSERT_EQ(::stat(fs::path(path).c_str(), &before), 0);
  view::TesselDoc doc;
  ASSERT_TRUE(doc.open(path));
  struct stat after {};
  ASSERT_EQ(::stat(fs::path(path).c_str(), &after), 0);
  EXPECT_EQ(before.st_mtime, after.st_mtime);
  EXPECT_EQ(before.st_size, after.st_size);
  EXPECT_EQ(test_support::read_file(fs::path(path)), schedule_text());
  const Document& d = *doc.document();
  ASSERT_EQ(d.task.size(), 9u);  // both TASK tables

  const TASK& ip = by_code(d, u"IP");
  const TASK& susp = by_code(d, u"SUSP");
  ASSERT_EQ(ip.succ_rels.size(), 2u);
  EXPECT_EQ(ip.succ_rels[0]->task, &susp);
  EXPECT_EQ(susp.pred_rels.size(), 2u);
  EXPECT_EQ(susp.pred_rels[1]->predtask, nullptr);  // names no activity of the file
  EXPECT_EQ(ip.succ_list.value, u"SUSP, RESUMED");
  EXPECT_EQ(susp.pred_list.value, u"IP");  // the missing predecessor adds nothing

  // Assignments match on project and activity id together.
  ASSERT_EQ(ip.assignments.size(), 2u);
  EXPECT_EQ(ip.assignments[0]->rsrc->rsrc_short_name.value, u"CREW");
  EXPECT_EQ(ip.resource_list.value, u"Crew, Concrete");
  EXPECT_EQ(ip.taskrsrc_cnt.value, 2);
  EXPECT_EQ(d.taskrsrc[1].task, nullptr);

  // Step weights become percentages of their sum.
  ASSERT_EQ(ip.steps.size(), 2u);
  EXPECT_EQ((std::array{ip.steps[0]->step_pct.value, ip.steps[1]->step_pct.value}), (std::array{25.0, 75.0}));

  // The WBS: paths run from the top element down although children come first.
  ASSERT_EQ(d.project.size(), 1u);
  const PROJECT& p = d.project[0];
  ASSERT_TRUE(p.top_wbs && ip.projwbs && ip.projwbs->parent);
  EXPECT_EQ(p.top_wbs->wbs_short_name.value + u" " + p.top_wbs->node_type.text() + u" | " +
                ip.projwbs->parent->wbs_path.value + u" > " + ip.projwbs->wbs_path.value + u" " +
                ip.projwbs->node_type.text(),
            u"PRJ Project | PRJ.A > PRJ.A.B WBS");
  EXPECT_EQ(p.tasks.size(), 9u);

  // Shown dates: an actual one is marked "A", a constraint marks the date it
  // holds (never an actual one), milestones hide the date they do not have.
  const struct {
    const char16_t *code, *start, *finish;
  } shown[] = {{u"IP", u"1-Jan-2024 A", u"5-Jan-2024"}, {u"SM", u"8-Jan-2024", u""},
               {u"FM", u"", u"5-Jan-2024 A"},           {u"CS", u"8-Jan-2024*", u"9-Jan-2024"},
               {u"CF", u"8-Jan-2024", u"9-Jan-2024*"},  {u"DONE", u"1-Jan-2024 A", u"2-Jan-2024 A"}};
  for (const auto& t : shown) {
    EXPECT_EQ(by_code(d, t.code).start_date.text(), t.start) << test_support::narrow(t.code);
    EXPECT_EQ(by_code(d, t.code).end_date.text(), t.finish) << test_support::narrow(t.code);
  }

  // Total and actual hours. In progress across the Wednesday holiday: Mon,
  // Tue, Thu, Fri of 8 hours, and only a suspended activity has an actual
  // duration. Suspended without a resume date: whole hours worked before the
  // suspension (10 of 10.5). Suspended and resumed: the pause is not counted; actual =
  // total - remaining. Milestones hide the dates they do not have, but
  // durations still count them.
  const TASK &resumed = by_code(d, u"RESUMED"), &sm = by_code(d, u"SM"), &fm = by_code(d, u"FM");
  EXPECT_TRUE(ip.act_drtn_hr_cnt.dur_empty);
  EXPECT_EQ((std::array{ip.total_drtn_hr_cnt.hours, susp.total_drtn_hr_cnt.hours, susp.act_drtn_hr_cnt.hours,
                        resumed.total_drtn_hr_cnt.hours, resumed.act_drtn_hr_cnt.hours, sm.total_drtn_hr_cnt.hours}),
            (std::array{32.0, 72.0, 10.0, 72.0 - 22.0, 50.0 - 16.0, 0.0}));
  EXPECT_EQ((std::array{ip.active_cnt.value, ip.notstarted_cnt.value, fm.complete_cnt.value}), (std::array{1, 0, 1}));
  EXPECT_EQ(sm.reend_date.text() + fm.act_start_date.text(), u"");

  // Without a calendar there is nothing to count working time in.
  const TASK& nocal = by_code(d, u"NOCAL");
  EXPECT_TRUE(!nocal.calendar && nocal.total_drtn_hr_cnt.dur_empty && nocal.total_drtn_hr_cnt.text().empty());

  // The leaf element holds every activity; its counts are its own
  // activities'; the project rolls its top element's subtree up. Counts:
  // all, complete, active, not started; then actual start and finish, start
  // and finish.
  auto rollup = [](const auto& r) {
    return std::to_string(r.task_cnt.value) + "/" + std::to_string(r.complete_cnt.value) + "/" +
           std::to_string(r.active_cnt.value) + "/" + std::to_string(r.notstarted_cnt.value) + " " +
           test_support::narrow(r.act_start_date.text() + u" " + r.act_end_date.text() + u" " + r.start_date.text() +
                                u" " + r.end_date.text());
  };
  const PROJWBS& leaf = *ip.projwbs;
  EXPECT_EQ(rollup(leaf), "9/2/3/4 1-Jan-2024 5-Jan-2024 1-Jan-2024 12-Jan-2024");
  EXPECT_EQ(leaf.parent->task_cnt.value, 0) << "a parent counts only its own activities";
  EXPECT_EQ(rollup(p), "9/2/3/4 1-Jan-2024 5-Jan-2024 1-Jan-2024 12-Jan-2024");
  EXPECT_DOUBLE_EQ(p.total_drtn_hr_cnt.hours, 72.0);

  // A material resource is priced per unit in its own currency's symbols.
  ASSERT_EQ(d.rsrc.size(), 2u);
  const RSRC& conc = d.rsrc[0];
  ASSERT_TRUE(conc.rate && conc.currency);
  EXPECT_EQ(conc.cost_per_qty.text(), u"\u00A31.234,50/unit");
  EXPECT_EQ(conc.def_qty_per_hr.kind, s_unit::plain_rate);
  EXPECT_EQ(d.rsrc[1].cost_per_qty.text(), u"") << "a resource without prices shows none";
}

// A start constraint (codes 2 to 5) marks the start, a finish constraint
// (6 to 9) the finish; no constraint and "As Late As Possible" mark nothing.
TEST(OpenSchedule, ConstraintsMarkTheDateTheyHold) {
  const char* const stored[] = {"",       "CS_ALAP", "CS_MSO",  "CS_MSOB",  "CS_MSOA",
                                "CS_MANDSTART", "CS_MEO", "CS_MEOB", "CS_MEOA", "CS_MANDFIN"};
  std::vector<std::vector<std::string>> lines = {
      {"%T", "PROJECT"}, {"%F", "proj_id", "proj_short_name"}, {"%R", "1", "P"}, {"%T", "TASK"},
      {"%F", "task_id", "proj_id", "task_code", "status_code", "cstr_type", "restart_date", "reend_date"}};
  for (int c = 0; c <= 9; ++c)
    lines.push_back({"%R", std::to_string(100 + c), "1", "C" + std::to_string(c), "TK_NotStart", stored[c],
                     "2024-01-08 08:00", "2024-01-09 17:00"});
  scratch s;
  view::TesselDoc doc;
  ASSERT_TRUE(doc.open(s.write("constraints.xer", xer(lines))));
  const Document& d = *doc.document();
  ASSERT_EQ(d.task.size(), 10u);
  for (int c = 0; c <= 9; ++c) {
    const TASK& t = d.task[static_cast<size_t>(c)];
    EXPECT_EQ(t.cstr_type.code, c);
    EXPECT_EQ(t.start_date.text(), c >= 2 && c <= 5 ? u"8-Jan-2024*" : u"8-Jan-2024") << c;
    EXPECT_EQ(t.end_date.text(), c >= 6 ? u"9-Jan-2024*" : u"9-Jan-2024") << c;
  }
}

TEST(OpenSchedule, DamagedFilesGivePartialSchedulesNeverACrash) {
  scratch s;
  const std::string full = schedule_text();
  view::TesselDoc doc;
  // Every cut of the file opens; a longer cut finds at least the activities
  // of a shorter one, and none finds more than the whole.
  size_t before = 0;
  for (size_t cut = 7; cut < full.size(); cut += 97) {
    ASSERT_TRUE(doc.open(s.write("cut.xer", full.substr(0, cut)))) << cut;
    EXPECT_GE(doc.document()->task.size(), before) << cut;
    EXPECT_LE(doc.document()->task.size(), 9u);
    before = doc.document()->task.size();
  }
  std::string noise = "ERMHDR\t1\n";
  uint32_t x = 12345;
  for (int i = 0; i < 200000; ++i) {
    x = x * 1103515245u + 12345u;
    const char pick[] = {'\t', '\n', '\r', '%', 'T', 'R', 'F', 'E', '(', ')', '|', char(x >> 24)};
    noise += pick[(x >> 16) % sizeof pick];
  }
  // Random bytes after the header: no table the schedule knows, so an empty schedule.
  ASSERT_TRUE(doc.open(s.write("noise.xer", noise)));
  EXPECT_TRUE(doc.document()->task.empty() && doc.document()->projwbs.empty());
  // Known tables with garbage in every cell.
  ASSERT_TRUE(doc.open(s.write("garbage.xer", xer({{"%T", "TASK"},
                                                  {"%F", "task_id", "clndr_id", "act_start_date", "status_code"},
                                                  {"%R", "x", "-1", "2024-13-45 99:99", "\x01\xFF"},
                                                  {"%T", "CALENDAR"},
                                                  {"%F", "clndr_id", "clndr_data"},
                                                  {"%R", "-1", "((((((((|||)))"}}))));
  EXPECT_EQ(doc.document()->task.size(), 1u);
}

// An activity is critical by its own project's rule: on the driving path
// where the project calls the longest path critical, else with total float
// at most the project's threshold; finished work never is.
TEST(OpenSchedule, CriticalFollowsEachProjectsRule) {
  scratch s;
  view::TesselDoc doc;
  // tests/data/xer/critical.xer: LONGEST calls the driving path critical,
  // FLOAT16 total float of at most 16 hours, PLAIN names no rule; the
  // "orphan" activities name project 99, which is not in the file.
  const std::u16string path = s.write("critical.xer", test_support::xer_data("critical.xer"));
  ASSERT_TRUE(doc.open(path));
  const Document& d = *doc.document();
  ASSERT_EQ(d.task.size(), 11u);
  const uint32_t shown = test_support::field_id(catalog::catalog_kind::activity, u"critical_flag");
  const std::pair<const char16_t*, bool> expected[] = {
      {u"L-drv", true}, {u"L-neg", false}, {u"L-done", false}, {u"F-16", true},  {u"F-17", false},
      {u"F-none", false}, {u"P-0", true}, {u"P-1", false},   {u"P-done", false}, {u"orphan", true},
      {u"orphan-done", false}};
  for (const auto& [code, critical] : expected) {
    EXPECT_EQ(by_code(d, code).critical_flag.value != 0, critical) << test_support::narrow(code);
    EXPECT_EQ(is_critical(by_code(d, code)), critical) << test_support::narrow(code);
    EXPECT_EQ(d.fields().value(by_code(d, code), shown).text(), critical ? u"Yes" : u"No");
  }
}

// Damaged and hostile files: every one either opens correctly or is refused
// with the usual message, quickly and within bounded memory; none crashes,
// hangs or takes the machine's memory.
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool sanitized = true;
#elif defined(__has_feature)
constexpr bool sanitized = __has_feature(address_sanitizer);
#else
constexpr bool sanitized = false;
#endif

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
  EXPECT_EQ(doc.refusal_reason(), u"The file's rows would take far more memory than a file of its size justifies.");
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
  // The node text's depth limit (DataParser tests) keeps every reader of
  // such text off the end of the stack: calendars, layouts, an export.
  for (const std::u16string* text : {&deep, &closed}) {
    ASSERT_TRUE(data_parser::parse(*text));
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
  ASSERT_EQ(doc.projwbs.size(), size_t(n));
  EXPECT_EQ(doc.taskpred.size(), size_t(n));
  ASSERT_FALSE(doc.task.empty());
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
  ASSERT_EQ(deep.projwbs.size(), 45000u);
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
  ASSERT_TRUE(wrapped.load_bytes(header +
                 "%T\tUDFTYPE\n%F\tudf_type_id\ttable_name\tudf_type_label\tlogical_data_type\n"
                 "%R\t4294967295\tTASK\tWrapped\tFT_TEXT\n%R\t7\tTASK\tKept\tFT_TEXT\n"
                 "%T\tACTVTYPE\n%F\tactv_code_type_id\tactv_code_type\n%R\t4294967000\tWrapped\n"));
  EXPECT_EQ(catalog::catalogs().size(), builtin + 1);  // only the ordinary user field
  EXPECT_NE(catalog::catalogs().find_id(catalog::user_field_base + 7), nullptr);
  EXPECT_EQ(catalog::catalogs().find_id(catalog::user_field_base - 1), nullptr);
  EXPECT_EQ(catalog::catalogs().find_id(uint32_t(4294967000ull + catalog::activity_code_base)), nullptr);
  catalog::build_catalogs();
}

// Every refusal says why: the reason under "Can't open document: PATH", one
// case per reason the core gives, through the open the window and
// tessel-dump share, and as tessel-dump prints it.
namespace tessel::document {
namespace {

namespace fs = std::filesystem;
using test_support::scratch;

// The reason the shared open gives for the file at `path` (empty when it
// was accepted).
std::u16string reason_for(const std::u16string& path) {
  view::TesselDoc doc;
  if (doc.open(path)) return u"(accepted)";
  return doc.refusal_reason();
}
std::string reason_for(const fs::path& path) { return narrow_path(reason_for(path.u16string())); }

using namespace biff_builder;

const std::string user_data = dims(3, 1) + label(0, 0, "user_data");

// ---- What the first look refuses ------------------------------------------------

TEST(RefusalReasons, NoPermission) {
  if (::geteuid() == 0) GTEST_SKIP() << "the superuser reads every file";
  scratch s;
  const fs::path locked = s.file("locked.xer", "ERMHDR\t19.12\n%E\n");
  fs::permissions(locked, fs::perms::none);
  EXPECT_EQ(reason_for(locked), "You have no permission to read this file.");
}

// ---- What reading an export refuses --------------------------------------------

TEST(RefusalReasons, ExportUnreadableWhenRead) {
  // Taken for an export at first look, not one when read: nothing is built.
  Document_xer doc;
  EXPECT_FALSE(doc.load_bytes("ERMHDX\n%T\tTASK\n"));
  EXPECT_TRUE(doc.refused());
  EXPECT_EQ(doc.refusal_reason(), u"The file could not be read.");
}

// ---- What reading a workbook refuses --------------------------------------------

TEST(RefusalReasons, DamagedOrOldWorkbooks) {
  catalog::build_catalogs();
  scratch s;
  EXPECT_EQ(reason_for(s.file("torn.xls", "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + std::string(600, 'x'))),
            narrow_path(workbook_refusal::damaged_container));
  EXPECT_EQ(reason_for(s.file("noise.xls", compound(std::string(64, '\x11')))),
            narrow_path(workbook_refusal::damaged_records));
  EXPECT_EQ(reason_for(s.file("old.xls", compound(bof(0x0005, 0x0500) + rec(0x000A, "")))),
            narrow_path(workbook_refusal::old_version));
  EXPECT_EQ(reason_for(s.file("vast.xls", compound(stream({{"USERDATA", user_data}, {"Big", dims(0x80000000u, 256)}})))),
            narrow_path(workbook_refusal::too_many_cells));
  // Rows declared but empty: within the cell limit, yet each would be an
  // activity record.
  EXPECT_EQ(reason_for(s.file("claims.xls", compound(stream({{"USERDATA", user_data},
                                                              {"TASK", dims(60000, 1) + label(0, 0, "task_code")}})))),
            narrow_path(workbook_refusal::too_many_records));
}

TEST(RefusalReasons, WorkbooksWithoutASchedule) {
  catalog::build_catalogs();
  scratch s;
  EXPECT_EQ(reason_for(s.file("plain.xls", compound(stream({{"Sheet1", label(0, 0, "x")}})))),
            "The workbook has no USERDATA sheet: it is not a schedule export.");
  EXPECT_EQ(reason_for(s.file("notasks.xls", compound(stream({{"USERDATA", user_data}, {"Task", label(0, 0, "x")}})))),
            "The workbook has no TASK sheet.");
  EXPECT_EQ(reason_for(fs::path(test_support::xls_path("no_task_sheet.xls"))), "The workbook has no TASK sheet.");
  // A workbook with both opens.
  EXPECT_EQ(reason_for(s.file("good.xls", compound(stream({{"USERDATA", user_data},
                                                            {"TASK", dims(3, 1) + label(0, 0, "task_code") +
                                                                         label(2, 0, "A1")}})))),
            "(accepted)");
}

// ---- As the user reads them -----------------------------------------------------

TEST(RefusalReasons, MessageHasTheReasonUnderThePath) {
  EXPECT_EQ(view::refusal_message(u"/x/y.xer", u"The file is empty."),
            u"Can't open document: /x/y.xer\nThe file is empty.");
  EXPECT_EQ(view::refusal_message(u"/x/y.xer"), u"Can't open document: /x/y.xer");

  scratch s;
  const fs::path torn = s.file("torn.xls", "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + std::string(600, 'x'));
  const fs::path empty = s.file("empty.xer", "");
  // Commands that open a document, and the one that reads the text tree.
  for (const std::string command : {"--summary ", "--report ", "--table TASK ", ""}) {
    int status = -1;
    EXPECT_EQ(test_support::run_dump(command + test_support::quoted(empty), &status, true),
              "Can't open document: " + empty.string() + "\nThe file is empty.\n");
    EXPECT_EQ(status, 1);
  }
  int status = -1;
  EXPECT_EQ(test_support::run_dump("--summary " + test_support::quoted(torn), &status, true),
            "Can't open document: " + torn.string() + "\n" + narrow_path(workbook_refusal::damaged_container) + "\n");
  EXPECT_EQ(status, 1);
}

}  // namespace
}  // namespace tessel::document


// The load report: what an open found in a file. A file cut inside its
// activity table, rows at fault, references to records the file does not
// hold, unreadable dates, tables the viewer does not read, a workbook's
// sheets, and clean exports that give no warning.
namespace tessel::document {
namespace {

namespace fs = std::filesystem;
using test_support::scratch;
using test_support::xer;

using lines = std::vector<std::vector<std::string>>;

// A small schedule: one project, one WBS element, one calendar, activities
// with ids from 1 on. Line numbers: the header is 1, so "%T TASK" stands on
// line 11 and activity k (from 1) on line 12 + k.
lines schedule(int activities) {
  lines l = {
      {"%T", "PROJECT"},  {"%F", "proj_id", "proj_short_name"}, {"%R", "1", "PRJ"},
      {"%T", "PROJWBS"},  {"%F", "wbs_id", "proj_id", "proj_node_flag", "wbs_short_name"},
      {"%R", "10", "1", "Y", "PRJ"},
      {"%T", "CALENDAR"}, {"%F", "clndr_id", "clndr_name"}, {"%R", "5", "Standard"},
      {"%T", "TASK"},     {"%F", "task_id", "proj_id", "wbs_id", "clndr_id", "task_code", "target_start_date"},
  };
  for (int k = 1; k <= activities; ++k)
    l.push_back({"%R", std::to_string(k), "1", "10", "5", "A" + std::to_string(k), "2024-01-08 08:00"});
  return l;
}

load_report report_of(const std::string& bytes) {
  Document_xer doc;
  EXPECT_TRUE(doc.load_bytes(bytes));
  return doc.report();
}

const load_report::fault_lines& faults(const load_report& r, const std::string& table, row_fault kind) {
  static const load_report::fault_lines none;
  for (const load_report::table_faults& t : r.row_faults)
    if (t.table == table) return t.faults[size_t(kind)];
  return none;
}

TEST(LoadReport, FileCutInsideItsActivityTable) {
  lines l = schedule(63);
  // The write stopped inside the last row: no end marker, and the last
  // activity has only its first values.
  l.back().resize(3);
  const load_report r = report_of(xer(l));
  EXPECT_EQ(report_text(r),
            "Format: XER text export\n"
            "Encoding: windows-1252\n"
            "End marker: missing (the file was cut short)\n"
            "Warning: This file seems cut short: 63 activities read, no end marker.\n"
            "Tables read:\n  PROJECT\t1\n  PROJWBS\t1\n  CALENDAR\t1\n  TASK\t63\n"
            "Tables not read: none\n"
            "Rows at fault (read as far as they go):\n"
            "  TASK: 1 row with fewer values than fields (line 75)\n"
            "References that point nowhere: none\n"
            "Dates that could not be read: none\n");
}

TEST(LoadReport, WholeFileHasNoWarning) {
  lines l = schedule(3);
  l.push_back({"%E"});
  const load_report r = report_of(xer(l));
  EXPECT_EQ(r.end_marker, std::optional<bool>(true));
  EXPECT_TRUE(!r.has_warning() && r.notice().empty() && r.row_faults.empty() && r.dangling_total() == 0);
  // An empty last value ends its line with a TAB, or, from some writers,
  // is left out: the row is whole either way. Two values short it is not.
  lines t = schedule(0);
  t.push_back({"%R", "1", "1", "10", "5", "A1", ""});
  t.push_back({"%R", "2", "1", "10", "5", "A2"});
  t.push_back({"%E"});
  EXPECT_FALSE(report_of(xer(t)).has_warning());
  t.insert(t.end() - 1, {"%R", "3", "1", "10", "5"});
  EXPECT_EQ(faults(report_of(xer(t)), "TASK", row_fault::too_few_values).first_lines, std::vector<size_t>{15});
}

TEST(LoadReport, BadRowsAndDuplicateIds) {
  lines l = schedule(4);
  l.push_back({"%R", "2", "1", "10", "5", "DUP", "2024-01-08 08:00"});                // line 17
  l.push_back({"%R", "x7", "1", "10", "5", "BADID", "2024-01-08 08:00"});             // line 18
  l.push_back({"%R", "8", "1", "10", "5", "LONG", "2024-01-08 08:00", "extra"});       // line 19
  l.push_back({"%R", "9", "1", "10", "5", "BADDATE", "2024-02-30 08:00"});            // line 20
  l.push_back({"%R", "", "1", "10", "5", "NOID", "2024-01-08 08:00"});                // line 21
  // A second TASK table shares the ids of the first.
  l.push_back({"%T", "TASK"});
  l.push_back({"%F", "task_id", "task_code"});
  l.push_back({"%R", "3", "AGAIN"});  // line 24
  l.push_back({"%E"});
  EXPECT_EQ(report_text(report_of(xer(l))),
            "Format: XER text export\nEncoding: windows-1252\nEnd marker: present\n"
            "Warning: Some rows of this file are damaged: 10 activities read, 5 rows at fault.\n"
            "Tables read:\n  PROJECT\t1\n  PROJWBS\t1\n  CALENDAR\t1\n  TASK\t9\n  TASK\t1\nTables not read: none\n"
            "Rows at fault (read as far as they go):\n"
            "  TASK: 1 row with more values than fields (line 19)\n"
            "  TASK: 2 rows with id that is not a number (lines 18, 21)\n"
            "  TASK: 2 rows with id already taken (lines 17, 24)\n"
            "References that point nowhere: none\nDates that could not be read: 1 (line 20)\n");
  // Tables that tie records together have no id of their own to repeat.
  lines codes = schedule(1);
  codes.push_back({"%T", "TASKACTV"});
  codes.push_back({"%F", "task_id", "actv_code_type_id", "actv_code_id"});
  codes.push_back({"%R", "1", "1", "1"});
  codes.push_back({"%R", "1", "2", "3"});
  codes.push_back({"%E"});
  EXPECT_TRUE(report_of(xer(codes)).row_faults.empty());
}

TEST(LoadReport, ReferencesThatPointNowhere) {
  lines l = schedule(2);
  l.push_back({"%R", "3", "1", "99", "77", "LOST", ""});  // WBS element 99 and calendar 77 are not in the file
  l.push_back({"%T", "TASKPRED"});
  l.push_back({"%F", "task_pred_id", "task_id", "pred_task_id", "proj_id", "pred_proj_id"});
  l.push_back({"%R", "1", "2", "1", "1", "1"});    // whole
  l.push_back({"%R", "2", "2", "500", "1", "4"});  // from project 4, not in the file
  l.push_back({"%R", "3", "2", "501", "1", "4"});
  l.push_back({"%R", "4", "2", "600", "1", "1"});  // activity 600 of this project is missing
  l.push_back({"%T", "RSRC"});
  l.push_back({"%F", "rsrc_id", "rsrc_name"});
  l.push_back({"%R", "70", "Crew"});
  l.push_back({"%T", "TASKRSRC"});
  l.push_back({"%F", "taskrsrc_id", "task_id", "proj_id", "rsrc_id"});
  l.push_back({"%R", "1", "1", "1", "70"});
  l.push_back({"%R", "2", "1", "1", "71"});  // resource 71 is missing
  l.push_back({"%R", "3", "9", "1", "70"});  // activity 9 is missing
  l.push_back({"%R", "4", "1", "1", ""});    // names no resource (a role's): nothing missing
  l.push_back({"%T", "FOO"});
  l.push_back({"%F", "a"});
  l.push_back({"%R", "1"});
  l.push_back({"%R", "2"});
  l.push_back({"%E"});
  EXPECT_EQ(report_text(report_of(xer(l))),
            "Format: XER text export\nEncoding: windows-1252\nEnd marker: present\n"
            "Warning: This file refers to records it does not hold: 3 activities read, 7 references point nowhere.\n"
            "Tables read:\n  PROJECT\t1\n  PROJWBS\t1\n  CALENDAR\t1\n  TASK\t3\n  TASKPRED\t4\n  RSRC\t1\n"
            "  TASKRSRC\t4\nTables not read:\n  FOO\t2\nRows at fault (read as far as they go): none\n"
            "References that point nowhere:\n"
            "  1 relationships to an activity not in the file\n  2 relationships to a project not in the file\n"
            "  1 assignments of an activity not in the file\n  1 assignments of a resource not in the file\n"
            "  1 activities in a WBS element not in the file\n  1 activities on a calendar not in the file\n"
            "Dates that could not be read: none\n");
}

TEST(LoadReport, ManyFaultsKeepTheirFirstLines) {
  lines l = schedule(0);
  for (int k = 0; k < 12; ++k) l.push_back({"%R", "1", "1", "10", "5", "SAME", ""});
  l.push_back({"%E"});
  const load_report r = report_of(xer(l));
  const auto& dup = faults(r, "TASK", row_fault::duplicate_id);
  EXPECT_EQ(dup.count, 11u);
  EXPECT_EQ(dup.first_lines, (std::vector<size_t>{14, 15, 16, 17, 18}));
  EXPECT_NE(report_text(r).find("11 rows with id already taken (lines 14, 15, 16, 17, 18, ...)"), std::string::npos);

  // Ids of every size: small ones, ones of many millions, and one past
  // what 32 bits hold.
  lines big = schedule(0);
  for (const char* id : {"90000000", "64", "90000000", "5000000000", "63", "64", "5000000000", "90000001"})
    big.push_back({"%R", id, "1", "10", "5", "X", ""});
  big.push_back({"%E"});
  EXPECT_EQ(faults(report_of(xer(big)), "TASK", row_fault::duplicate_id).first_lines,
            (std::vector<size_t>{15, 18, 19}));
}

TEST(LoadReport, ThroughTheSharedOpen) {
  scratch s;
  view::TesselDoc doc;
  ASSERT_TRUE(doc.open(fs::path(TESSEL_SOURCE_DIR "/samples/demo.xer").u16string()));
  const load_report& demo = doc.document()->report();
  EXPECT_FALSE(demo.has_warning()) << report_text(demo);
  EXPECT_EQ(demo.activities, doc.document()->task.size());
  EXPECT_EQ(demo.end_marker, std::optional<bool>(true));
  lines l = schedule(5);
  ASSERT_TRUE(doc.open(s.write("cut.xer", xer(l))));
  EXPECT_EQ(doc.document()->report().notice(), "This file seems cut short: 5 activities read, no end marker.");
}

TEST(LoadReport, WorkbookSheets) {
  catalog::build_catalogs();
  Document_xls doc;
  ASSERT_TRUE(doc.load(test_support::xls_path("full_export.xls")));
  const load_report& r = doc.report();
  EXPECT_EQ(r.format, "XLS workbook");
  EXPECT_FALSE(r.end_marker.has_value());
  EXPECT_EQ(r.activities, doc.task.size());
  ASSERT_FALSE(r.tables_read.empty());
  bool task_sheet = false;
  for (const load_report::table_rows& t : r.tables_read)
    if (t.name == "TASK") task_sheet = t.rows == doc.task.size();
  EXPECT_TRUE(task_sheet) << report_text(r);
  EXPECT_EQ(report_text(r).find("End marker"), std::string::npos);
}

}  // namespace
}  // namespace tessel::document
