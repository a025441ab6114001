// The workbook layer: cell texts as a spreadsheet shows them, bounded cell
// access, sheets read from generated workbooks, and broken files refused
// without harm.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include <unistd.h>

#include "document/workbook.h"
#include "values/s_date.h"
#include "view/tessel_doc.h"

namespace tessel::document {
namespace {

namespace fs = std::filesystem;
namespace wt = workbook_text;

std::u16string date_text(std::string_view library_text) {
  std::u16string out;
  wt::append_date(out, library_text);
  return out;
}

std::u16string number_text(double v) {
  std::u16string out;
  wt::append_number(out, v);
  return out;
}

std::u16string data_path(const char* name) {
  const std::string p = std::string(TESSEL_TEST_DATA) + "/xls/" + name;
  return std::u16string(p.begin(), p.end());
}

TEST(WorkbookText, Utf8ConvertsAndReplacesInvalidBytes) {
  EXPECT_EQ(wt::from_utf8("Grüße 漢字"), u"Grüße 漢字");
  EXPECT_EQ(wt::from_utf8("\xF0\x9F\x8F\x97"), u"\U0001F3D7");  // a surrogate pair
  // A stray continuation byte, an overlong slash, an encoded surrogate, a
  // byte that starts nothing, and a sequence cut off by the end.
  EXPECT_EQ(wt::from_utf8("a\x80" "b"), u"a\uFFFD" u"b");
  EXPECT_EQ(wt::from_utf8("\xC0\xAF"), u"\uFFFD\uFFFD");
  EXPECT_EQ(wt::from_utf8("\xED\xA0\x80" "x"), u"\uFFFD\uFFFD\uFFFD" u"x");
  EXPECT_EQ(wt::from_utf8("\xF5!"), u"\uFFFD!");
  EXPECT_EQ(wt::from_utf8("ok\xE6\x97"), u"ok\uFFFD\uFFFD");
}

TEST(WorkbookText, DatesReadBackByTheWorkbookDateForm) {
  EXPECT_EQ(date_text("2012-01-05 08:00:00"), u"1/5/2012 8:00:00 AM");
  EXPECT_EQ(date_text("2012-01-10 17:05:09"), u"1/10/2012 5:05:09 PM");
  EXPECT_EQ(date_text("2024-05-07 00:00:00"), u"5/7/2024 12:00:00 AM");
  EXPECT_EQ(date_text("2024-05-07 12:30:00"), u"5/7/2024 12:30:00 PM");
  EXPECT_EQ(date_text("2012-02-06"), u"2/6/2012 12:00:00 AM");
  EXPECT_EQ(date_text("08:15:00"), u"8:15:00 AM");
  EXPECT_EQ(date_text("not a date"), u"not a date");
  // Each text gives back the wall-clock time it was made from.
  EXPECT_EQ(s_date::parse(date_text("2012-01-10 17:05:09"), s_date::form_workbook),
            s_date::from_ymd(2012, 1, 10, 17, 5).time + 9);
  EXPECT_EQ(s_date::parse(date_text("2024-05-07 12:30:00"), s_date::form_workbook),
            s_date::from_ymd(2024, 5, 7, 12, 30).time);
  EXPECT_EQ(s_date::parse(date_text("2024-05-07 00:00:00"), s_date::form_workbook),
            s_date::from_ymd(2024, 5, 7).time);
}

TEST(WorkbookText, NumbersAsShortestDecimalText) {
  EXPECT_EQ(number_text(1500.5), u"1500.5");
  EXPECT_EQ(number_text(1e6), u"1000000");
  EXPECT_EQ(number_text(0.1), u"0.1");
  EXPECT_EQ(number_text(-2), u"-2");
  EXPECT_EQ(number_text(1.0 / 3), u"0.333333333333333");
}

TEST(WorkbookSheet, CellsOutsideTheSheetReadEmpty) {
  const workbook_sheet s = workbook_sheet::from_rows(
      "TASK", {{u"task_code", u"task_name", u"task_code"}, {u"Activity ID", u"Activity Name"}, {u"A1", u"One", u"x"}});
  EXPECT_EQ(s.row_count(), 3u);
  EXPECT_EQ(s.column_count(), 3u);
  EXPECT_EQ(s.cell(2, 1), u"One");
  EXPECT_EQ(s.cell(1, 2), u"");  // a short row
  EXPECT_EQ(s.cell(3, 0), u"");
  EXPECT_EQ(s.cell(0, 3), u"");
  EXPECT_EQ(s.cell(0xFFFFFFFFu, 0xFFFFFFFFu), u"");
  EXPECT_EQ(s.column(u"task_code"), 0);  // the first of two
  EXPECT_EQ(s.column(u"task_name"), 1);
  EXPECT_EQ(s.column(u"Task_code"), -1);
  EXPECT_EQ(workbook_sheet().cell(0, 0), u"");
}

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
  const int finish = task->column(u"end_date");
  const int start = task->column(u"start_date");
  ASSERT_GE(finish, 0);
  ASSERT_GE(start, 0);
  EXPECT_EQ(task->cell(2, finish), u"1/10/2012 5:00:00 PM");  // a date-time cell
  EXPECT_EQ(task->cell(2, start), u"1/5/2012 8:00:00 AM");    // a text cell
  EXPECT_EQ(task->cell(4, start), u"2/6/2012 12:00:00 AM");   // a date cell
  EXPECT_EQ(task->cell(2, task->column(u"total_cost")), u"1500.5");
  EXPECT_EQ(task->cell(4, task->column(u"total_cost")), u"1000000");
  EXPECT_EQ(task->cell(2, task->column(u"target_work_qty")), u"40");
  EXPECT_EQ(task->cell(5, task->column(u"target_work_qty")), u"");
  EXPECT_EQ(book.sheet("Task"), nullptr);
  book.close();
  EXPECT_TRUE(book.sheets().empty());

  workbook small;
  ASSERT_TRUE(small.open(data_path("small_sheets.xls")));
  ASSERT_NE(small.sheet("TASKPRED"), nullptr);
  EXPECT_EQ(small.sheet("TASKPRED")->row_count(), 0u);
  EXPECT_EQ(small.sheet("TASK")->row_count(), 1u);
}

// Files that are not whole workbooks: refused by the open operation or by
// the layer, or read as far as they go; never a crash.
TEST(Workbook, BrokenFilesAreRefusedOrReadPartly) {
  const fs::path dir = fs::temp_directory_path() / ("tessel_workbook_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  auto write = [&](const char* name, const std::string& bytes) {
    std::ofstream(dir / name, std::ios::binary) << bytes;
    const std::string p = (dir / name).string();
    return std::u16string(p.begin(), p.end());
  };
  std::ifstream in(std::string(TESSEL_TEST_DATA) + "/xls/full_export.xls", std::ios::binary);
  const std::string whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GT(whole.size(), 4096u);

  std::mt19937 rng(7);
  std::string noise("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
  for (int i = 0; i < 20000; ++i) noise.push_back(static_cast<char>(rng()));
  std::string corrupted = whole;
  for (size_t i = 600; i < corrupted.size(); i += 97) corrupted[i] = static_cast<char>(rng());

  const std::u16string truncated = write("truncated.xls", whole.substr(0, whole.size() / 2));
  const std::u16string random = write("random.xls", noise);
  const std::u16string flipped = write("flipped.xls", corrupted);
  const std::u16string zipped = write("renamed.xls", std::string("PK\x03\x04\x14\x00\x06\x00", 8) + noise);
  const std::u16string empty = write("empty.xls", "");

  workbook book;
  EXPECT_FALSE(book.open(data_path("no_such_file.xls")));
  EXPECT_FALSE(book.open(random));
  EXPECT_TRUE(book.sheets().empty());
  for (const std::u16string& p : {truncated, flipped}) {
    if (book.open(p))
      for (const workbook_sheet& s : book.sheets()) (void)s.cell(s.row_count() - 1, s.column_count() - 1);
  }

  // The open operation: a workbook renamed from a newer format and an empty
  // file lack the compound-file signature; a cut file and random bytes
  // behind the signature are no sound compound file. All are refused.
  view::TesselDoc doc;
  for (const std::u16string& p : {zipped, empty, truncated, random}) {
    EXPECT_FALSE(doc.open(p));
    EXPECT_EQ(doc.document(), nullptr);
  }
  // Bytes changed inside the streams may leave the structure sound: such a
  // file opens with whatever could be read.
  if (doc.open(flipped)) {
    EXPECT_EQ(doc.document()->project.size(), 1u);
  }
  ASSERT_TRUE(doc.open(data_path("full_export.xls")));
  EXPECT_TRUE(doc.last_load_complete());
  fs::remove_all(dir);
}

}  // namespace
}  // namespace tessel::document
