// The XER reader on real exports: row counts of the main tables, and the
// streaming form giving exactly the tables of the whole-file form.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "document/xer.h"

namespace {

using tessel::document::xer_parser;
using tessel::document::xer_table;
namespace fs = std::filesystem;

struct expected_rows {
  const char* file;
  size_t projwbs, task, taskpred, calendar, rsrc, taskrsrc;
};

// Row counts ("%R" lines per table) as listed beside the files.
const expected_rows real_files[] = {
    {"p6viewer-hotel-project.xer", 1025, 4236, 7586, 11, 11, 2278},
    {"pyp6xer-sp10-cost-loaded.xer", 2266, 3994, 5966, 6, 180, 692},
    {"xerpro-bfbps13.xer", 277, 1582, 3030, 4, 2, 966},
    {"bhatticoder-convention-center-roads-utilities.xer", 127, 1193, 1693, 6, 92, 3575},
    {"bishalde-katara-revised-baseline.xer", 185, 931, 1585, 10, 42, 882},
    {"xernative-wk2.xer", 1, 198, 301, 1, 59, 596},
    {"xer2csv-harbour-pointe-17.12.xer", 17, 131, 212, 3, 29, 417},
    {"xer2csv-johnstown-17.12.xer", 90, 134, 139, 6, 8, 151},
    {"bishalde-tx-baseline.xer", 32, 161, 311, 2, 0, 0},
    {"schedanalytics-54069-up-20251121.xer", 23, 50, 70, 5, 0, 0},
    {"schedanalytics-54069-up-20251218.xer", 23, 49, 69, 5, 0, 0},
    {"schedanalytics-54069-up-20251204.xer", 23, 49, 68, 5, 0, 0},
    {"schedanalytics-54069-bl-20250902.xer", 23, 47, 62, 5, 0, 0},
    {"bhatticoder-construction-6.0.xer", 4, 51, 59, 2, 21, 56},
    {"ashspace-xereditor-sample.xer", 6, 52, 61, 1, 0, 0},
    {"xernative-sample.xer", 6, 25, 40, 2, 1, 1},
    {"aspose-encoding1251.xer", 1, 2, 0, 5, 10, 4},
    {"bishalde-2.xer", 5, 9, 10, 1, 0, 0},
    {"mpxjnet-sample1.xer", 1, 3, 0, 1, 0, 0},
    {"aspose-test-5.0.xer", 1, 2, 0, 1, 4, 7},
    {"mpxj-invalid-calendar-8.4.xer", 1, 12, 0, 3, 0, 0},
    {"mpxj-percent-complete-8.4.xer", 1, 12, 0, 1, 0, 0},
    {"mpxjnet-locations.xer", 1, 3, 0, 1, 0, 0},
    {"mpxj-resource-rates-test.xer", 1, 1, 0, 1, 1, 5},
    {"aspose-schedule-options.xer", 4, 0, 0, 1, 0, 0},
    {"mpxj-predecessor-calendar.xer", 1, 1, 0, 1, 0, 0},
    {"mpxj-project-default-calendar.xer", 1, 1, 0, 1, 0, 0},
    {"mpxj-successor-calendar.xer", 1, 1, 0, 1, 0, 0},
    {"mpxjnet-activity-codes.xer", 1, 1, 0, 1, 0, 0},
};

const fs::path real_dir = fs::path(TESSEL_SHARED_DIR) / "testdata" / "real";

std::u16string u16(const std::string& s) { return std::u16string(s.begin(), s.end()); }

// Everything the tree holds, as one text.
std::string table_text(const xer_table& t) {
  std::string s(t.name().begin(), t.name().end());
  for (const auto& f : t.fields()) s += "|" + std::string(f->name().begin(), f->name().end());
  for (const auto& r : t.rows()) {
    s += "\n";
    for (size_t i = 0; i < r.size(); ++i) s += std::string(r.cell_bytes(i)) + (r.cell_field(i) ? "\t" : "#\t");
  }
  return s + "\n";
}

TEST(XerRealFiles, MainTablesHaveTheListedRowCounts) {
  if (!fs::is_directory(real_dir)) GTEST_SKIP() << "no real exports at " << real_dir;
  for (const expected_rows& e : real_files) {
    SCOPED_TRACE(e.file);
    const std::u16string path = u16((real_dir / e.file).string());
    ASSERT_TRUE(xer_parser::is_xer(path));
    auto doc = xer_parser::parse(path);
    ASSERT_NE(doc, nullptr);
    std::map<std::u16string, size_t> rows;
    for (const auto& t : doc->tables()) rows[t->name()] += t->rows().size();
    EXPECT_EQ(rows[u"PROJWBS"], e.projwbs);
    EXPECT_EQ(rows[u"TASK"], e.task);
    EXPECT_EQ(rows[u"TASKPRED"], e.taskpred);
    EXPECT_EQ(rows[u"CALENDAR"], e.calendar);
    EXPECT_EQ(rows[u"RSRC"], e.rsrc);
    EXPECT_EQ(rows[u"TASKRSRC"], e.taskrsrc);
    // Exports write a value for every field: each TASK cell has its field.
    for (const auto& t : doc->tables()) {
      if (t->name() != u"TASK") continue;
      for (const auto& r : t->rows()) {
        ASSERT_LE(r.size(), t->fields().size());
        if (r.size()) {
          ASSERT_EQ(r.cell(0).field()->name(), u"task_id");
        }
      }
    }
  }
}

TEST(XerRealFiles, TableByTableReadingGivesTheSameTables) {
  if (!fs::is_directory(real_dir)) GTEST_SKIP() << "no real exports at " << real_dir;
  size_t files = 0;
  for (const auto& entry : fs::directory_iterator(real_dir)) {
    if (entry.path().extension() != ".xer") continue;
    SCOPED_TRACE(entry.path().filename().string());
    ++files;
    const std::u16string path = u16(entry.path().string());
    auto doc = xer_parser::parse(path);
    ASSERT_NE(doc, nullptr);
    std::string whole, streamed;
    for (const auto& t : doc->tables()) whole += table_text(*t);
    EXPECT_TRUE(xer_parser::parse_tables(path, [&](const xer_table& t) { streamed += table_text(t); }));
    EXPECT_EQ(streamed, whole);
    EXPECT_GT(doc->tables().size(), 5u);
  }
  EXPECT_EQ(files, std::size(real_files));
}

}  // namespace
