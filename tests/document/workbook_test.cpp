// Reading a workbook file into sheets of cell texts: the compound-file
// container, the workbook's records (cells of every kind, shared strings
// split over continuation records, number formats that make dates), the
// sheets' layout, and damaged or hostile files refused or read as far as
// they go without harm. Most inputs are assembled here byte by byte.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>

#include "catalog/field_catalog.h"
#include "document/document_xls.h"
#include "document/workbook/biff_records.h"
#include "document/workbook/compound_file.h"
#include "document/workbook/workbook.h"
#include "document/workbook/workbook_import.h"
#include "document/biff_builder.h"
#include "test_support.h"
#include "values/display_prefs.h"
#include "values/enums.h"
#include "values/s_date.h"
#include "view/tessel_doc.h"

namespace tessel::document {
namespace {

namespace fs = std::filesystem;
using biff_text::number_shape;

using namespace biff_builder;

constexpr auto data_path = test_support::xls_path;

// ---- Cell texts ---------------------------------------------------------------

std::u16string date_text(double serial, number_shape shape, bool from_1904 = false) {
  std::u16string out;
  biff_text::append_date(out, serial, shape, from_1904);
  return out;
}

TEST(WorkbookText, NumbersDatesAndTheFormatsThatMakeThem) {
  for (auto [v, text] : {std::pair{1500.5, u"1500.5"}, {1e6, u"1000000"}, {0.1, u"0.1"}, {-2.0, u"-2"},
                         {1.0 / 3, u"0.333333333333333"}}) {
    std::u16string out;
    biff_text::append_number(out, v);
    EXPECT_EQ(out, text);
  }
  const auto dt = number_shape::date_time;
  const double h = 1.0 / 24;
  EXPECT_EQ(date_text(40913 + 8 * h, dt), u"1/5/2012 8:00:00 AM");
  EXPECT_EQ(date_text(40918 + 17 * h + 309 / 86400.0, dt), u"1/10/2012 5:05:09 PM");
  EXPECT_EQ(date_text(45419, dt), u"5/7/2024 12:00:00 AM");
  EXPECT_EQ(date_text(45419 + 12.5 * h, dt), u"5/7/2024 12:30:00 PM");
  EXPECT_EQ(date_text(45419 + 12.5 * h - 1e-9, dt), u"5/7/2024 12:30:00 PM");  // to the nearest second
  EXPECT_EQ(date_text(40945.75, number_shape::date), u"2/6/2012 12:00:00 AM");  // a date shows no time
  EXPECT_EQ(date_text(7 + 8.25 * h, number_shape::time), u"8:15:00 AM");        // a time no date
  // The 1900 system counts a 29 February 1900; the 1904 system starts at 0.
  EXPECT_EQ(date_text(59, dt), u"2/28/1900 12:00:00 AM");
  EXPECT_EQ(date_text(60, dt), u"2/29/1900 12:00:00 AM");
  EXPECT_EQ(date_text(61, dt), u"3/1/1900 12:00:00 AM");
  EXPECT_EQ(date_text(0, dt, true), u"1/1/1904 12:00:00 AM");
  EXPECT_EQ(date_text(40913 - 1462, dt, true), u"1/5/2012 12:00:00 AM");
  EXPECT_EQ(date_text(2958465.5, dt), u"12/31/9999 12:00:00 PM");
  // No date of the calendar: the number.
  for (auto [v, text] : {std::pair{0.5, u"0.5"}, {-1.0, u"-1"}, {2958466.0, u"2958466"}, {1e300, u"1e+300"},
                         {std::nan(""), u"nan"}})
    EXPECT_EQ(date_text(v, dt), text);
  EXPECT_EQ(date_text(-0.25, number_shape::time), u"-0.25");
  // Each text gives back the wall-clock time it was made from.
  EXPECT_EQ(s_date::parse(date_text(40918 + 17 * h + 309 / 86400.0, dt), s_date::form_workbook),
            s_date::from_ymd(2012, 1, 10, 17, 5).time + 9);
  EXPECT_EQ(s_date::parse(date_text(45419 + 12.5 * h, dt), s_date::form_workbook), s_date::from_ymd(2024, 5, 7, 12, 30).time);

  // Number formats that show dates or times.
  struct {
    uint16_t index;
    std::u16string_view custom;
    number_shape shape;
  } cases[] = {
      {0, u"", number_shape::number},        {14, u"", number_shape::date},
      {17, u"", number_shape::date},         {18, u"", number_shape::time},
      {22, u"", number_shape::date_time},    {45, u"", number_shape::time},
      {47, u"", number_shape::time},         {48, u"", number_shape::number},
      {164, u"General", number_shape::number},
      {164, u"M/D/YYYY h:mm:ss AM/PM", number_shape::date_time},
      {164, u"YYYY-MM-DD", number_shape::date},
      {164, u"mmm", number_shape::date},     {164, u"mm:ss", number_shape::time},
      {164, u"h:mm", number_shape::time},    {164, u"[h]:mm", number_shape::time},
      {164, u"[$-409]d-mmm", number_shape::date},
      {164, u"[Red]0.00", number_shape::number},
      {164, u"0.0\" days\"", number_shape::number},
      {164, u"0\\d", number_shape::number},  {164, u"0.00E+00", number_shape::number},
      {164, u"0_h;[Red]-d", number_shape::number},  // only the first section counts
  };
  for (const auto& c : cases)
    EXPECT_EQ(biff_text::shape_of_format(c.index, c.custom), c.shape) << c.index << " " << std::string(c.custom.begin(), c.custom.end());
}

// ---- Records --------------------------------------------------------------------

TEST(WorkbookRecords, CellsOfEveryKindAndSharedStringsSplitOverContinuations) {
  const std::string sst = rec(0x00FC, bytes().u32(1).u32(1).u16(6).u8(0).text("shared"));
  const std::string cells =
      dims(3, 5) + label(0, 0, "pl\xE4in") +
      rec(0x0204, bytes().u16(0).u16(1).u16(0).u16(2).u8(1).u16(0x03A9).u16(0x6F22)) +  // two bytes a character
      shared(0, 2, 0) + shared(0, 3, 1) + rec(0x0201, bytes().u16(0).u16(4).u16(0)) +
      number(1, 0, 1500.5) + rk(1, 1, 123 << 2 | 2) + rk(1, 2, 12345 << 2 | 3) + rk(1, 3, 0x3FE00000) +
      rk(1, 4, 0x3FF00000 | 1) +
      rec(0x00BD, bytes().u16(2).u16(1).u16(0).u32(uint32_t(-7) << 2 | 2).u16(0).u32(8 << 2 | 2).u16(0)
                      .u32(9 << 2 | 2).u16(3)) +
      rec(0x0006, bytes().u16(2).u16(0).u16(0).f64(42).u16(0).u32(0)) +  // a formula's number
      rec(0x0006, bytes().u16(2).u16(4).u16(0).u32(0).u32(0xFFFF0000).u16(0).u32(0)) +
      rec(0x0207, bytes().u16(4).u8(0).text("calc"));  // and its text
  workbook book;
  ASSERT_TRUE(book.open_bytes(compound(stream(sst, {{"One", cells}}))));
  ASSERT_EQ(book.sheets().size(), 1u);
  EXPECT_EQ(sheet_text(book.sheets()[0]), u"One\npläin|Ω漢|shared||\n1500.5|123|123.45|0.5|0.01\n42|-7|8|9|calc");

  // A string split in its characters goes on behind a fresh option byte
  // (here switching between one and two bytes a character); formatting runs
  // and phonetic data split anywhere go on directly.
  const std::string split =
      rec(0x00FC, bytes().u32(5).u32(5).u16(5).u8(0).text("plain").u16(6).u8(0).text("abc")) +
      rec(0x003C, bytes().u8(1).u16('d').u16(0xE9).u16('f').u16(4).u8(8).u16(2).text("rich").u32(0)) +
      rec(0x003C, bytes().u32(0).u16(3).u8(4).u32(6).text("ext").text("123456").u16(4).u8(1).u16(0xDC).u16(0x6F22)) +
      rec(0x003C, bytes().u8(0).text("ok"));
  std::string row = dims(1, 6);
  for (unsigned i = 0; i < 6; ++i) row += shared(0, i, i);
  workbook split_book;
  ASSERT_TRUE(split_book.open_bytes(compound(stream(split, {{"S", row}}))));
  EXPECT_EQ(sheet_text(split_book.sheets().at(0)), u"S\nplain|abcdéf|rich|ext|Ü漢ok|");
}

TEST(WorkbookRecords, NumberFormatsMakeDatesInEitherDateSystem) {
  // Formats may be defined after the styles that use them.
  const std::string styles = xf(0) + xf(14) + xf(164) + xf(165) + xf(18) + format(164, "d/m/yy h:mm") +
                             format(165, "0.0\" hours\"");
  const std::string cells = number(0, 0, 40913.5, 0) + number(0, 1, 40913.5, 1) + number(0, 2, 40913.5, 2) +
                            number(0, 3, 40913.5, 3) + number(0, 4, 40913.5, 4) + number(0, 5, 40913.5, 99);
  for (bool from_1904 : {false, true}) {
    workbook book;
    const std::string mode = rec(0x0022, bytes().u16(from_1904));
    ASSERT_TRUE(book.open_bytes(compound(stream(styles + mode, {{"D", cells}}))));
    // The last cell's style is one the workbook lacks.
    EXPECT_EQ(sheet_text(book.sheets().at(0)), from_1904
                  ? u"D\n40913.5|1/6/2016 12:00:00 AM|1/6/2016 12:00:00 PM|40913.5|12:00:00 PM|40913.5"
                  : u"D\n40913.5|1/5/2012 12:00:00 AM|1/5/2012 12:00:00 PM|40913.5|12:00:00 PM|40913.5");
  }
}

TEST(WorkbookRecords, SheetsAndCellsWhereverTheyStand) {
  // A chart sheet holds no table; a sheet whose records lie past the stream,
  // or back among records already read, reads as empty; cells may come out
  // of order and twice (the later counts), and cells past the declared size
  // grow the sheet.
  std::string s = stream("", {{"Chart", ""}, {"Alpha", dims(1, 1) + number(1, 1, 4) + number(0, 0, 1) + number(1, 1, 5) +
                                                          number(3, 2, 7)},
                              {"Past", ""}, {"Back", ""}});
  const size_t first = s.find("Chart") - 8;
  s[first + 5] = 2;  // the chart
  const size_t past = s.find("Past") - 8, back = s.find("Back") - 8;
  s.replace(past, 4, bytes().u32(1 << 30));
  s.replace(back, 4, s.substr(s.find("Alpha") - 8, 4));
  workbook book;
  ASSERT_TRUE(book.open_bytes(compound(s)));
  ASSERT_EQ(book.sheets().size(), 3u);
  EXPECT_EQ(sheet_text(book.sheets()[0]) + u"/" + sheet_text(book.sheets()[1]) + u"/" + sheet_text(book.sheets()[2]),
            u"Alpha\n1||\n|5|\n||\n||7/Past/Back");
}

TEST(WorkbookRecords, DamagedOrHostileStreamsStayWithinBounds) {
  workbook book;
  // Sheets claiming two billion rows, or rows without columns, are refused
  // before anything is allocated for them; older record versions are too.
  EXPECT_FALSE(book.open_bytes(compound(stream("", {{"Big", dims(0x80000000u, 256)}}))));
  EXPECT_FALSE(book.open_bytes(compound(stream("", {{"Tall", dims(0xFFFFFFFFu, 0)}}))));
  EXPECT_FALSE(book.open_bytes(compound(bof(0x0005, 0x0500) + rec(0x000A, ""))));
  EXPECT_TRUE(book.sheets().empty());

  // Within given limits: a cell past the cells is dropped, texts past theirs
  // refuse the workbook.
  std::vector<biff_sheet> sheets;
  const std::string s = stream("", {{"L", dims(10, 10) + label(200, 0, "far") + label(9, 9, "near")}});
  ASSERT_TRUE(read_biff_workbook(s, {100, 100}, sheets));
  EXPECT_EQ(sheets[0].rows, 10u);
  ASSERT_EQ(sheets[0].cells.size(), 1u);
  EXPECT_EQ(sheets[0].text, u"near");
  EXPECT_FALSE(read_biff_workbook(s, {100, 3}, sheets));
  EXPECT_TRUE(sheets.empty());

  // Every cut of a stream reads as far as it goes; the first cell stands
  // once its record is whole.
  const std::string whole = stream("", {{"T", dims(2, 2) + label(0, 0, "first") + number(1, 1, 2)}});
  const size_t first_cell_end = whole.find("first") + 5;
  for (size_t n = 0; n <= whole.size(); ++n) {
    if (!read_biff_workbook(std::string_view(whole).substr(0, n), {100, 100}, sheets)) continue;
    if (n >= first_cell_end) {
      EXPECT_EQ(sheets.at(0).text.substr(0, 5), u"first") << n;
    }
  }
}

// ---- The container ---------------------------------------------------------------

TEST(WorkbookContainer, UnsoundCompoundFilesAreRefused) {
  const std::string good = compound(stream("", {{"A", number(0, 0, 1)}}));
  std::string s;
  ASSERT_TRUE(workbook_stream(good, s));
  EXPECT_EQ(s.size(), 4096u);
  auto with = [&](size_t at, uint32_t v) { return std::string(good).replace(at, 4, bytes().u32(v)); };
  for (const std::string& bad : {
           with(fat_at + 8, 2),                  // a chain that loops back on itself
           with(dir_at + 128 + 116, 40),         // a stream starting past the end of the file
           with(dir_at + 128 + 68, 1),           // an entry that is its own sibling
           with(dir_at + 128 + 120, 1 << 20),    // a stream longer than its chain
           good.substr(0, good.size() - 1),      // the last sector cut short
           with(0, 0),                           // no signature
       }) {
    EXPECT_FALSE(workbook_stream(bad, s));
    EXPECT_TRUE(s.empty());
  }
}

// ---- Whole files ------------------------------------------------------------------

TEST(Workbook, ReadsEverySheetInOrderWithFormattedCells) {
  workbook book;
  ASSERT_TRUE(book.open(data_path("full_export.xls")));
  std::vector<std::string> names;
  for (const workbook_sheet& s : book.sheets()) names.push_back(s.name());
  EXPECT_EQ(names, (std::vector<std::string>{"USERDATA", "TASK", "TASKPRED", "PROJCOST", "RSRC", "TASKRSRC"}));
  const workbook_sheet* task = book.sheet("TASK");
  ASSERT_NE(task, nullptr);
  EXPECT_EQ(task->row_count(), 6u);
  EXPECT_EQ(task->column_count(), 37u);
  // A date-time cell (the other cells' texts show in WorkbookImport.FullExport).
  const int start = task->column(u"start_date");
  ASSERT_GE(start, 0);
  EXPECT_EQ(task->cell(2, task->column(u"end_date")), u"1/10/2012 5:00:00 PM");
  EXPECT_EQ(book.sheet("Task"), nullptr);

  // The import says which sheets it is done with, in order; a sheet freed
  // reads empty and leaves the others as they were.
  catalog::build_catalogs();
  Document_xls doc;
  std::vector<std::string> done;
  ASSERT_TRUE(import_book(doc, book, [&done](const workbook_sheet& s) { done.push_back(s.name()); }));
  EXPECT_EQ(done, (std::vector<std::string>{"TASK", "TASKPRED", "RSRC", "TASKRSRC"}));
  const std::u16string relationship(book.sheet("TASKPRED")->cell(2, 0));
  EXPECT_FALSE(relationship.empty());
  book.release(*task);
  EXPECT_EQ(task->row_count(), 0u);
  EXPECT_EQ(task->cell(2, start), u"");
  EXPECT_EQ(book.sheet("TASKPRED")->cell(2, 0), relationship);
  book.close();
  EXPECT_TRUE(book.sheets().empty());

  workbook small;
  ASSERT_TRUE(small.open(data_path("small_sheets.xls")));
  ASSERT_NE(small.sheet("TASKPRED"), nullptr);
  EXPECT_EQ(small.sheet("TASKPRED")->row_count(), 0u);
  EXPECT_EQ(small.sheet("TASK")->row_count(), 1u);

  // Cells outside a sheet read empty.
  const workbook_sheet s = workbook_sheet::from_rows(
      "TASK", {{u"task_code", u"task_name", u"task_code"}, {u"Activity ID", u"Activity Name"}, {u"A1", u"One", u"x"}});
  EXPECT_EQ(sheet_text(s), u"TASK\ntask_code|task_name|task_code\nActivity ID|Activity Name|\nA1|One|x");
  EXPECT_EQ(s.cell(3, 0), u"");
  EXPECT_EQ(s.cell(0, 3), u"");
  EXPECT_EQ(s.cell(0xFFFFFFFFu, 0xFFFFFFFFu), u"");
  EXPECT_EQ(s.column(u"task_code"), 0);  // the first of two
  EXPECT_EQ(s.column(u"task_name"), 1);
  EXPECT_EQ(s.column(u"Task_code"), -1);
  EXPECT_EQ(workbook_sheet().cell(0, 0), u"");
}

// Files that are not whole workbooks: refused by the open operation or by
// the layer, or read as far as they go; never a crash.
TEST(Workbook, BrokenFilesAreRefused) {
  const test_support::scratch s;
  const std::string whole = test_support::read_file(fs::path(data_path("full_export.xls")));
  ASSERT_GT(whole.size(), 4096u);
  std::mt19937 rng(7);
  std::string noise("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
  for (int i = 0; i < 20000; ++i) noise.push_back(static_cast<char>(rng()));
  std::string corrupted = whole;
  for (size_t i = 600; i < corrupted.size(); i += 97) corrupted[i] = static_cast<char>(rng());

  workbook book;
  EXPECT_FALSE(book.open_bytes(noise));
  EXPECT_TRUE(book.sheets().empty());
  // Every 97th byte changed from the allocation table on: no sound
  // compound file remains.
  EXPECT_FALSE(book.open_bytes(corrupted));

  // The open operation: a cut file and random bytes behind the signature
  // are no sound compound file; all are refused.
  view::TesselDoc doc;
  for (const std::u16string& p : {s.write("truncated.xls", whole.substr(0, whole.size() / 2)),
                                  s.write("random.xls", noise)}) {
    EXPECT_FALSE(doc.open(p));
    EXPECT_EQ(doc.document(), nullptr);
  }
  EXPECT_FALSE(doc.open(s.write("flipped.xls", corrupted)));
  ASSERT_TRUE(doc.open(data_path("full_export.xls")));
  EXPECT_TRUE(doc.last_load_complete());
}

// Inputs the fuzzer found (they seed it too). A workbook damaged inside its
// records reads as far as its records go, with its one project and the
// activities still readable; rows claimed past what 14 KB pay for are
// dropped.
TEST(Workbook, FuzzFindingsOpenAsFarAsTheyRead) {
  const fs::path dir = fs::path(TESSEL_TEST_DATA) / "fuzz" / "fuzz_workbook";
  const struct {
    const char* file;
    bool complete;
    size_t activities;
  } findings[] = {{"damaged-records.xls", true, 2}, {"double-free.xls", true, 4}, {"empty-rows-claimed.xls", true, 4}};
  // A finding added to the folder is listed here with what it must do.
  EXPECT_EQ(size_t(std::distance(fs::directory_iterator(dir), fs::directory_iterator())), std::size(findings));
  for (const auto& f : findings) {
    SCOPED_TRACE(f.file);
    view::TesselDoc doc;
    ASSERT_TRUE(doc.open((dir / f.file).u16string()));
    ASSERT_EQ(doc.document()->project.size(), 1u);
    EXPECT_EQ(doc.last_load_complete(), f.complete);
    EXPECT_EQ(doc.document()->task.size(), f.activities);
    for (const TASK& t : doc.document()->task) EXPECT_EQ(t.project, &doc.document()->project[0]);
  }
}

// A few bytes may declare many rows; rows become records whether they hold
// anything or not, so a workbook whose records would far outweigh its size
// is refused before they are made.
TEST(Workbook, RowsAreNotTakenOnTrust) {
  catalog::build_catalogs();
  const std::string user_data = dims(3, 1) + label(0, 0, "user_data");
  for (uint32_t rows : {100u, 60000u}) {
    workbook book;
    ASSERT_TRUE(book.open_bytes(compound(stream("", {{"USERDATA", user_data}, {"TASK", dims(rows, 1) + label(0, 0, "task_code")}}))));
    Document_xls doc;
    EXPECT_EQ(import_book(doc, book), rows == 100) << rows;
    EXPECT_EQ(doc.refused(), rows != 100);
    EXPECT_EQ(doc.task.size(), rows == 100 ? 98u : 0u);
  }
}

}  // namespace
}  // namespace tessel::document

// The workbook import: cell conversion by value type, the WBS tree built from
// WBS codes, the relationship sheet's stop rule, a workbook shaped like a
// full export read into records, links, available fields and the texts the
// views show, and a real export of a large project.
namespace tessel::document {
namespace {

using catalog::catalog_kind;
using test_support::wbs_by_path;
using test_support::task_by_code;
constexpr auto field = test_support::field_id;

// Texts joined by "|", so that a run of shown values compares in one.
std::u16string joined(std::initializer_list<std::u16string> texts) {
  std::u16string out;
  for (const std::u16string& t : texts) out += (&t == texts.begin() ? u"" : u"|") + t;
  return out;
}

// The WBS elements in order, each as path, short name and name, its
// parent's path and its own activities' codes, one element a line.
std::u16string wbs_text(const Document& doc) {
  std::u16string s;
  for (const PROJWBS& w : doc.projwbs) {
    s += w.wbs_path.value + u" (" + w.wbs_short_name.value + u", " + w.wbs_name.value + u") under " +
         (w.parent ? w.parent->wbs_path.value : u"-") + u":";
    for (const TASK* t : w.tasks) s += u" " + t->task_code.value;
    s += u"\n";
  }
  return s;
}

bool available(catalog_kind k, std::u16string_view key) {
  const catalog::field_entry* e = catalog::find_field(k, key);
  return e && e->available;
}

class WorkbookImport : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_prefs();
    catalog::build_catalogs();
  }
  void TearDown() override { reset_prefs(); }
};

TEST(WorkbookConvert, CellTextsByValueType) {
  for (auto [text, v] : {std::pair{u"  12.5 h", 12.5}, {u"-3e2x", -300.0}, {u"1e", 1.0}, {u".5", 0.5}, {u"1,000.00", 1.0}})
    EXPECT_DOUBLE_EQ(wb::leading_number(text), v);
  for (std::u16string_view zero : {u"$12", u"", u"inf", u"nan", u"-", u".", u"1e999"})
    EXPECT_EQ(wb::leading_number(zero), 0.0) << std::string(zero.begin(), zero.end());
  EXPECT_EQ(wb::leading_integer(u" -42.9"), -42);
  EXPECT_EQ(wb::leading_integer(u"99999999999"), 2147483647);
  EXPECT_EQ(wb::leading_integer(u"x1"), 0);

  // Flags are set unless the text is exactly "N".
  s_bool flag;
  for (std::u16string_view yes : {u"Y", u"Yes", u"", u"n", u"No"}) {
    wb::set_value(flag, yes);
    EXPECT_TRUE(flag.value) << std::string(yes.begin(), yes.end());
  }
  wb::set_value(flag, u"N");
  EXPECT_FALSE(flag.value);

  // Durations and quantities keep the number shown; an empty cell is empty.
  s_dur d;
  s_unit u;
  s_date date;
  wb::set_value(d, u"6.5");
  wb::set_value(u, u"40");
  wb::set_value(date, u"2/3/2012 5:00:00 PM");
  std::vector<double> got_values = {d.hours, double(d.dur_empty), u.amount, double(u.unit_empty), double(date.time),
                                    double(date.empty)};
  wb::set_value(d, u"");
  wb::set_value(date, u"");
  got_values.insert(got_values.end(), {double(d.dur_empty), double(date.empty), double(date.time)});
  EXPECT_EQ(got_values, (std::vector<double>{6.5, 0, 40, 0, double(s_date::from_ymd(2012, 2, 3, 17).time), 0, 1, 1, 0}));
  EXPECT_EQ(u.symbols, workbook_money_symbols());

  // Enumerations read their stored codes and the captions an export writes.
  s_activity_status status;
  wb::set_value(status, u"In Progress");
  EXPECT_EQ(status.code, s_activity_status(u"TK_Active").code);
  s_relationship_type type;
  wb::set_value(type, u"SS");
  EXPECT_EQ(type.code, s_relationship_type(u"PR_SS").code);
  wb::set_value(type, u"PR_FF");
  EXPECT_EQ(type.code, s_relationship_type(u"FF").code);

  // A column of a catalog value type holds values of that type.
  auto cost = wb::make_column(catalog::value_types::cost, 0);
  cost->set(3, u"1500.5");
  EXPECT_EQ(cost->at(0), nullptr);
  EXPECT_EQ(cost->at(4), nullptr);
  ASSERT_NE(cost->at(3), nullptr);
  EXPECT_EQ(cost->at(3)->text(), u"$1,500.50");
  EXPECT_EQ(cost->at(1)->text(), u"$0.00");

  // A text column keeps each record's own text, one copy of each; a text
  // set again replaces the record's, never another record's.
  auto names = wb::make_column(catalog::value_types::text, 0);
  for (uint32_t id : {1u, 4u, 6u}) names->set(id, u"Pour slab on grade");
  names->set(5, u"Strip forms");
  names->set(6, u"Cure");
  EXPECT_EQ(names->at(7), nullptr);
  std::vector<std::u16string> got;
  for (uint32_t id = 1; id <= 6; ++id) got.push_back(names->at(id)->text());
  EXPECT_EQ(got, (std::vector<std::u16string>{u"Pour slab on grade", u"", u"", u"Pour slab on grade", u"Strip forms",
                                               u"Cure"}));
  EXPECT_EQ(names->at(1), names->at(4));
  EXPECT_EQ(names->at(2)->type(), val_type::string);
}

// A WBS code names every element on its way: each prefix is an element
// under its parent, and codes led by the project's own code hang below the
// project's node.
TEST_F(WorkbookImport, WbsTreeFromWbsCodes) {
  Document_xls doc;
  std::vector<workbook_sheet> sheets;
  sheets.push_back(workbook_sheet::from_rows("USERDATA", {{u"user_data"}, {u""}, {u""}}));
  sheets.push_back(workbook_sheet::from_rows(
      "TASK", {{u"task_code", u"wbs_id", u"wbs_name"},
               {u"Activity ID", u"WBS Code", u"WBS Name"},
               {u"A", u"P.1.2", u"Two"},
               {u"B", u"P.1.3", u""},
               {u"C", u"P", u""},
               {u"D", u"", u""},
               {u"E", u"P.1.2", u"Not this one"}}));
  ASSERT_TRUE(import_sheets(doc, sheets));
  // The project's node, 1, 1.2 and 1.3.
  ASSERT_EQ(doc.projwbs.size(), 4u);
  ASSERT_EQ(doc.project.size(), 1u);
  const PROJWBS* node = &doc.projwbs[0];
  EXPECT_EQ(doc.project[0].top_wbs, node);
  EXPECT_EQ(doc.project[0].proj_short_name.value, u"P");
  // The first activity names an element.
  EXPECT_EQ(wbs_text(doc), u"P (P, ) under -: C D\nP.1 (1, ) under P:\nP.1.2 (2, Two) under P.1: A E\nP.1.3 (3, ) under P.1: B\n");
  EXPECT_EQ(wbs_by_path(doc, u"P.1")->children.size(), 2u);
  for (const PROJWBS& w : doc.projwbs) {
    EXPECT_EQ(w.project, &doc.project[0]);
    if (&w != node) {
      EXPECT_EQ(w.parent_wbs_id.value, w.parent->wbs_id.value);
    }
  }

  // A run of dots stays with the part before it, so no part is empty.
  Document_xls dots;
  sheets[1] = workbook_sheet::from_rows("TASK", {{u"wbs_id"}, {u""}, {u"X..1.2"}, {u"X..1.3"}});
  ASSERT_TRUE(import_sheets(dots, sheets));
  EXPECT_EQ(wbs_text(dots), u"X. (X., ) under -:\nX..1 (1, ) under X.:\nX..1.2 (2, ) under X..1: \nX..1.3 (3, ) under X..1: \n");

  // Codes without a common lead all hang below a project node without a
  // code of its own.
  Document_xls other;
  sheets[1] = workbook_sheet::from_rows("TASK", {{u"wbs_id"}, {u""}, {u"A.1"}, {u"B"}});
  ASSERT_TRUE(import_sheets(other, sheets));
  EXPECT_EQ(wbs_text(other), u" (, ) under -:\nA (A, ) under :\nA.1 (1, ) under A: \nB (B, ) under : \n");
}

// The relationship sheet carries the WBS names of both activities: each
// names its own activity's element.
TEST_F(WorkbookImport, RelationshipRowsNameEachSidesWbsElement) {
  Document_xls doc;
  std::vector<workbook_sheet> sheets;
  sheets.push_back(workbook_sheet::from_rows("USERDATA", {{u"user_data"}, {u""}, {u""}}));
  sheets.push_back(workbook_sheet::from_rows(
      "TASK", {{u"task_code", u"wbs_id"}, {u"Activity ID", u"WBS Code"}, {u"A", u"P.1"}, {u"B", u"P.2"}}));
  sheets.push_back(workbook_sheet::from_rows(
      "TASKPRED", {{u"task_id", u"pred_task_id", u"task__projwbs__wbs_full_name", u"predtask__projwbs__wbs_full_name"},
                   {u"Successor", u"Predecessor", u"Successor WBS", u"Predecessor WBS"},
                   {u"B", u"A", u"P.2 Second", u"P.1 First"}}));
  ASSERT_TRUE(import_sheets(doc, sheets));
  ASSERT_EQ(doc.taskpred.size(), 1u);
  const PROJWBS* first = wbs_by_path(doc, u"P.1");
  const PROJWBS* second = wbs_by_path(doc, u"P.2");
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->wbs_name.value, u"First");
  EXPECT_EQ(second->wbs_name.value, u"Second");
}

// Relationship rows are read until one names an unknown activity; an
// activity code carried twice names its first activity. A user-data sheet
// of another shape still shows figures as exported, in the units of time
// the user had chosen.
TEST_F(WorkbookImport, RelationshipsStopAtTheFirstUnknownActivity) {
  prefs().duration_unit = 3;
  Document_xls doc;
  ASSERT_TRUE(doc.load(data_path("stop_rule.xls")));
  ASSERT_EQ(doc.taskpred.size(), 2u);
  EXPECT_EQ(doc.taskpred[0].task_pred_id.value, 1u);
  EXPECT_EQ(doc.taskpred[1].task_pred_id.value, 2u);
  ASSERT_EQ(doc.task.size(), 4u);
  const TASK* first = &doc.task[0];
  EXPECT_EQ(doc.taskpred[0].predtask, first);
  EXPECT_EQ(doc.taskpred[0].pred_task_id.value, first->task_id.value);
  EXPECT_EQ(doc.taskpred[1].task, &doc.task[2]);
  EXPECT_EQ(first->succ_rels.size(), 1u);
  EXPECT_TRUE(doc.task[3].succ_rels.empty());
  EXPECT_EQ(doc.task[2].pred_rels.size(), 1u);
  EXPECT_EQ(prefs().duration_unit, 3);
  EXPECT_EQ(prefs().duration_decimals, 0);
  EXPECT_TRUE(prefs().duration_label);
  EXPECT_EQ(prefs().percent_decimals, 3);
}

TEST_F(WorkbookImport, WorkbooksWithoutActivitiesOrUserData) {
  {
    Document_xls doc;
    EXPECT_FALSE(doc.load(data_path("no_userdata.xls")));
    ASSERT_EQ(doc.project.size(), 1u);
    EXPECT_TRUE(doc.task.empty());
    EXPECT_EQ(prefs().duration_decimals, display_prefs{}.duration_decimals);
    // Nothing was linked or rolled up.
    EXPECT_EQ(doc.fields().value(doc.project[0], field(catalog_kind::project, u"task_cnt")).text(), u"");
  }
  {
    // Sheets of a header alone, or of nothing.
    Document_xls doc;
    ASSERT_TRUE(doc.load(data_path("small_sheets.xls")));
    EXPECT_TRUE(doc.task.empty());
    EXPECT_TRUE(doc.taskpred.empty());
    EXPECT_TRUE(doc.rsrc.empty());
    EXPECT_EQ(doc.projwbs.size(), 1u);
  }
  {
    Document_xls doc;
    ASSERT_TRUE(doc.load(data_path("unicode.xls")));
    ASSERT_EQ(doc.task.size(), 2u);
    EXPECT_EQ(doc.task[0].task_code.value, u"Ü-1");
    EXPECT_EQ(doc.task[1].task_name.value, u"東京 \U0001F3D7 crane");
    EXPECT_EQ(doc.task[1].projwbs->wbs_name.value, u"Nordflügel");
  }
}

// A workbook shaped like a full export of one project.
TEST_F(WorkbookImport, FullExport) {
  Document_xls doc;
  ASSERT_TRUE(doc.load(data_path("full_export.xls")));
  const field_lookup& f = doc.fields();
  auto shown = [&](const TASK* t, std::u16string_view key) {
    return f.value(*t, field(catalog_kind::activity, key)).text();
  };

  // Records and links.
  ASSERT_EQ(doc.task.size(), 4u);
  ASSERT_EQ(doc.project.size(), 1u);
  const TASK* a1000 = task_by_code(doc, u"A1000");
  const TASK* a1010 = task_by_code(doc, u"A1010");
  const TASK* a2000 = task_by_code(doc, u"A2000");
  const TASK* m9000 = task_by_code(doc, u"M9000");
  ASSERT_TRUE(a1000 && a1010 && a2000 && m9000);
  for (const TASK& t : doc.task) EXPECT_EQ(t.project, &doc.project[0]);
  EXPECT_EQ(doc.project[0].tasks.size(), 4u);
  EXPECT_EQ(a1010->status_code.code, s_activity_status(u"TK_Active").code);
  EXPECT_EQ(a2000->task_type.code, s_activity_type(u"Resource Dependent").code);
  EXPECT_EQ(a1010->cstr_type.code, s_constraint_type(u"Start On or After").code);
  EXPECT_EQ(a1000->projwbs, a1010->projwbs);
  EXPECT_EQ(a2000->projwbs->wbs_path.value, u"OFC.BLD.FRAME");
  EXPECT_EQ(a2000->projwbs->parent, wbs_by_path(doc, u"OFC.BLD"));
  EXPECT_EQ(m9000->projwbs, doc.project[0].top_wbs);

  ASSERT_EQ(doc.taskpred.size(), 3u);
  const TASKPRED& ff = doc.taskpred[2];
  EXPECT_EQ(ff.predtask, a1010);
  EXPECT_EQ(ff.task, m9000);
  EXPECT_EQ(ff.pred_type.code, s_relationship_type(u"PR_FF").code);
  EXPECT_EQ(doc.taskpred[1].pred_type.code, s_relationship_type(u"PR_SS").code);
  EXPECT_EQ(a1010->succ_rels.size(), 2u);

  ASSERT_EQ(doc.rsrc.size(), 2u);
  const RSRC& crane = doc.rsrc[0];
  const RSRC& crew = doc.rsrc[1];
  ASSERT_EQ(doc.calendar.size(), 2u);
  ASSERT_EQ(doc.currtype.size(), 1u);
  EXPECT_EQ(crew.calendar->clndr_name.value, u"Night shifts");
  EXPECT_EQ(crane.currency, crew.currency);
  // Assignments: by activity code and by resource name or id; the fourth
  // names no activity, the fifth no resource.
  ASSERT_EQ(doc.taskrsrc.size(), 5u);
  EXPECT_EQ(doc.taskrsrc[2].rsrc, &crane);
  EXPECT_EQ(doc.taskrsrc[3].task, nullptr);
  EXPECT_EQ(doc.taskrsrc[3].rsrc, &crane);
  EXPECT_EQ(doc.taskrsrc[4].task, a1000);
  EXPECT_EQ(doc.taskrsrc[4].rsrc, nullptr);
  EXPECT_EQ(crane.assignments.size(), 3u);
  EXPECT_EQ(a2000->resource_list.value, u"Steel crew, Tower crane");
  EXPECT_EQ(shown(a2000, u"taskrsrc_cnt"), u"2");

  // What the catalogs offer: the columns the workbook carries.
  std::string offered;
  for (auto [kind, key] : {std::pair{catalog_kind::activity, u"total_cost"}, {catalog_kind::activity, u"act_work_cost"},
                           {catalog_kind::activity, u"early_start_date"}, {catalog_kind::activity, u"bcwp"},
                           {catalog_kind::wbs, u"task_cnt"}, {catalog_kind::predecessor, u"predtask\\7Ctask_name"},
                           {catalog_kind::predecessor, u"predtask\\7Cend_date"},
                           {catalog_kind::successor, u"task\\7Cend_datee"}, {catalog_kind::resource, u"role_list"}})
    offered += available(kind, key) ? "Y" : "n";
  EXPECT_EQ(offered, "YnnYYYnYY");
  const catalog::field_entry* user_field = catalog::find_field(100012);
  ASSERT_NE(user_field, nullptr);
  EXPECT_EQ(user_field->caption, u"Site Contact");
  EXPECT_TRUE(user_field->available);
  EXPECT_EQ(catalog::find_field(100000), nullptr);  // user_field_0 registers nothing
  const catalog::field_entry* code = catalog::find_field(500007);
  ASSERT_NE(code, nullptr);
  EXPECT_EQ(code->caption, u"Responsible Area");
  EXPECT_EQ(catalog::find_field(catalog_kind::resource, u"user_field_30")->field_id, 100030u);

  // Figures shown as exported: durations in days with their letter, units
  // of work in hours, costs from the leading number ("$2,000.00" has a
  // currency symbol in front, so reads 0).
  EXPECT_EQ(prefs().duration_unit, 1);
  const struct {
    const TASK* task;
    std::u16string_view key, text;
  } figures[] = {
      {a1000, u"target_drtn_hr_cnt", u"5d"}, {a1010, u"remain_drtn_hr_cnt", u"6.5d"},
      {a1010, u"total_float_hr_cnt", u"-1.5d"}, {a1000, u"target_work_qty", u"40h"},
      {m9000, u"target_work_qty", u""}, {a1000, u"total_cost", u"$1,500.50"},
      {a1010, u"total_cost", u"$0.00"}, {a2000, u"total_cost", u"$1,000,000.00"},
      {a1010, u"bcwp", u"$250.25"}, {a1010, u"complete_pct", u"35%"},
      {a1000, u"act_work_cost", u""}, {a1010, u"critical_flag", u"Yes"},
      {a1000, u"start_date", u"5-Jan-2012"}, {a1010, u"end_date", u"3-Feb-2012"},
      {a2000, u"start_date", u"6-Feb-2012"},
      {m9000, u"end_date", u"30-Mar-2012"},  // a finish the workbook left empty takes the start
      {a1000, u"wbs_id", u"OFC.SITE"}, {a1000, u"wbs_name", u"Site Works"},
      {a1000, u"project\\7Cproj_short_name", u"OFC"}, {a1000, u"project\\7Cproj_name", u"Office Building"},
      {a1010, u"projwbs\\7Cstatus_code", u"Active"}, {a1010, u"pred_list", u"A1000"},
  };
  for (const auto& c : figures)
    EXPECT_EQ(shown(c.task, c.key), c.text) << std::string(c.key.begin(), c.key.end());
  EXPECT_FALSE(a1000->rev_fdbk_flag.value);
  EXPECT_TRUE(a2000->lock_plan_flag.value);  // an empty cell reads as set
  EXPECT_EQ(f.value(*a1000, 100012).text(), u"Miller");
  EXPECT_EQ(f.value(*a1010, 100012).text(), u"");
  EXPECT_EQ(f.value(*a2000, 500007).text(), u"North");
  EXPECT_EQ(f.value(*m9000, 500007).text(), u"");

  // A relationship shows its own copies of its activities' columns; WBS
  // elements the figures the activities' group columns carry, else those of
  // their subtree; resources rates and prices as exported, calendar and
  // currency by name.
  auto pred = [&](const TASKPRED& r, std::u16string_view key) {
    return f.predecessor_value(r, field(catalog_kind::predecessor, key)).text();
  };
  const PROJWBS* site = wbs_by_path(doc, u"OFC.SITE");
  const PROJWBS* building = wbs_by_path(doc, u"OFC.BLD");
  ASSERT_TRUE(site && building);
  auto wbs = [&](const PROJWBS* w, std::u16string_view key) { return f.value(*w, field(catalog_kind::wbs, key)).text(); };
  auto rsrc = [&](const RSRC& r, std::u16string_view key) { return f.value(r, field(catalog_kind::resource, key)).text(); };
  EXPECT_EQ(joined({pred(doc.taskpred[0], u"predtask\\7Ctask_name"), pred(doc.taskpred[1], u"predtask\\7Ctask_name"),
                                  f.successor_value(doc.taskpred[0], field(catalog_kind::successor, u"task\\7Cend_datee")).text(),
                                  pred(ff, u"lag_hr_cnt"), pred(doc.taskpred[1], u"rsff"), wbs(site, u"task_cnt"),
                                  wbs(site, u"status_code"), wbs(building, u"task_cnt"), wbs(building, u"start_date"),
                                  f.value(doc.project[0], field(catalog_kind::project, u"task_cnt")).text(),
                                  rsrc(crane, u"cost_per_qty"), rsrc(crew, u"curr_id"), rsrc(crane, u"clndr_id"),
                                  rsrc(crew, u"role_list"), rsrc(crew, u"rsrc_type"), f.value(crane, 100030).text()}),
            u"Excavation (as exported)|Foundations|3-Feb-2012|1.5d|1|2|Active|1|6-Feb-2012|4|$120/h|US Dollar|"
            u"Standard 5 Day|Steel, Welding|Labor|B-17");
  EXPECT_EQ(crew.max_qty_per_hr.kind, s_unit::rate);
  EXPECT_EQ(crew.max_qty_per_hr.amount, 16.0);
}

// A real spreadsheet export of a large project (7,107 activities, 18,550
// relationships), converted to an Excel 97-2003 workbook: its dates arrive
// as date-time cells.
const char* const kWorkbook = TESSEL_SHARED_DIR "/testdata/real/xls/delayprediction-p2543-r01-oct24-rel.xls";

TEST_F(WorkbookImport, RealExportOfALargeProject) {
  if (!std::filesystem::exists(kWorkbook)) GTEST_SKIP() << "real workbooks not present";
  const std::string p = kWorkbook;
  Document_xls doc;
  ASSERT_TRUE(doc.load(std::u16string(p.begin(), p.end())));

  // The export's days are shown as days.
  EXPECT_EQ(prefs().duration_unit, 1);
  EXPECT_EQ(prefs().unit_unit, 0);

  ASSERT_EQ(doc.task.size(), 7107u);
  ASSERT_EQ(doc.project.size(), 1u);
  size_t completed = 0, active = 0, with_start = 0;
  for (const TASK& t : doc.task) {
    EXPECT_FALSE(t.task_code.value.empty());
    EXPECT_FALSE(t.task_name.value.empty());
    EXPECT_TRUE(t.end_date.has_date()) << std::string(t.task_code.value.begin(), t.task_code.value.end());
    with_start += t.start_date.has_date();
    completed += t.status_code.code == s_activity_status(u"TK_Complete").code;
    active += t.status_code.code == s_activity_status(u"TK_Active").code;
    EXPECT_EQ(t.project, &doc.project[0]);
    ASSERT_NE(t.projwbs, nullptr);
  }
  EXPECT_EQ(completed, 2009u);
  EXPECT_EQ(active, 292u);
  // Finish milestones are exported without a start.
  EXPECT_EQ(with_start, 7107u - 154u);
  const TASK& first = doc.task[0];
  EXPECT_EQ(first.task_code.value, u"C-52-0203-PL-CI-1000");
  EXPECT_EQ(first.start_date.text(), u"26-Jan-2024");
  EXPECT_EQ(first.end_date.text(), u"7-May-2024");
  EXPECT_EQ(first.projwbs->wbs_path.value, u"P2543-R01-Oct24..4.3.1.3.20");
  EXPECT_EQ(first.succ_list.value, u"C-52-0203-PL-CI-1800, C-52-0304-PL-CI-1000");

  // Every relationship row names activities of the activity sheet, so all
  // are read, each tied to both activities.
  ASSERT_EQ(doc.taskpred.size(), 18550u);
  for (const TASKPRED& r : doc.taskpred) {
    ASSERT_TRUE(r.task && r.predtask);
    EXPECT_EQ(r.task_id.value, r.task->task_id.value);
  }
  EXPECT_EQ(doc.taskpred[3].pred_type.code, s_relationship_type(u"PR_FF").code);
  EXPECT_EQ(doc.taskpred[3].lag_hr_cnt.text(), u"2d");

  // The WBS tree: the project's node, every element below its parent and
  // its code led by the parent's.
  const PROJWBS* node = doc.project[0].top_wbs;
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(node->wbs_path.value, u"P2543-R01-Oct24.");
  EXPECT_GT(doc.projwbs.size(), 1000u);
  for (const PROJWBS& w : doc.projwbs) {
    if (&w == node) continue;
    ASSERT_NE(w.parent, nullptr);
    EXPECT_EQ(w.wbs_path.value.substr(0, w.parent->wbs_path.value.size()), w.parent->wbs_path.value);
  }
  EXPECT_EQ(doc.task[0].projwbs->wbs_name.value, u"Surveying of Pipeline Route (HGCP to Sweihan 161.7Km)CCOPL52300");
  EXPECT_EQ(doc.fields().value(doc.project[0], catalog::find_field(catalog::catalog_kind::project, u"task_cnt")->field_id)
                .text(),
            u"7107");
}

}  // namespace
}  // namespace tessel::document
