// Loads the real exports of the shared test data and checks activities
// against the text of their own rows.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "document/table_loaders.h"

using namespace tessel;
using namespace tessel::document;
namespace fs = std::filesystem;

namespace {

std::u16string widen_bytes(std::string_view b) {
  std::u16string s;
  for (char c : b) s += static_cast<char16_t>(static_cast<unsigned char>(c));
  return s;
}

// Index of the last field of that name, or -1.
int column(const xer_table& t, std::u16string_view name) {
  int found = -1;
  for (size_t i = 0; i < t.fields().size(); ++i)
    if (t.fields()[i]->name() == name) found = static_cast<int>(i);
  return found;
}

std::string_view cell_at(const xer_row& row, int col) {
  return col >= 0 && static_cast<size_t>(col) < row.size() ? row.cell_bytes(col) : std::string_view();
}

}  // namespace

TEST(RecordsRealTest, EveryActivityOfEveryRealFileLoadsAsItsRowReads) {
  const fs::path dir = fs::path(TESSEL_SHARED_DIR) / "testdata" / "real";
  if (!fs::is_directory(dir)) GTEST_SKIP() << "no real test files";
  std::vector<fs::path> files;
  for (const auto& e : fs::directory_iterator(dir))
    if (e.is_regular_file() && e.path().extension() == ".xer") files.push_back(e.path());
  if (files.empty()) GTEST_SKIP() << "no real XER files";

  size_t total_tasks = 0, dated = 0;
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.filename().string());
    const std::string p = file.string();
    std::unique_ptr<xer_doc> doc = xer_parser::parse(std::u16string(p.begin(), p.end()));
    ASSERT_TRUE(doc);
    record_lists lists;
    size_t rows = 0;
    for (const auto& t : doc->tables()) {
      load_table(lists, *t);
      if (t->name() == u"TASK") rows += t->rows().size();
    }
    ASSERT_EQ(lists.task.size(), rows);
    total_tasks += rows;

    size_t next = 0;  // the record made from the next TASK row
    for (const auto& t : doc->tables()) {
      if (t->name() != u"TASK") continue;
      const int code_col = column(*t, u"task_code"), status_col = column(*t, u"status_code");
      const int date_cols[] = {column(*t, u"act_start_date"), column(*t, u"target_end_date"),
                               column(*t, u"early_start_date")};
      for (const xer_row& row : t->rows()) {
        const TASK& task = lists.task[next++];
        EXPECT_EQ(task.task_code.value, widen_bytes(cell_at(row, code_col)));
        const std::string_view status = cell_at(row, status_col);
        EXPECT_TRUE(status == "TK_Complete" || status == "TK_Active" || status == "TK_NotStart" || status.empty())
            << status;
        EXPECT_EQ(task.status_code.code, status == "TK_Complete" ? 0 : status == "TK_Active" ? 1 : 2);
        const s_date* dates[] = {&task.act_start_date, &task.target_end_date, &task.early_start_date};
        for (int k = 0; k < 3; ++k) {
          const std::string_view text = cell_at(row, date_cols[k]);
          if (text.empty()) {
            EXPECT_FALSE(dates[k]->has_date());
            continue;
          }
          // "yyyy-mm-dd hh:mm": the shown day is the row's own day.
          ASSERT_GE(text.size(), 10u) << text;
          const int y = std::stoi(std::string(text.substr(0, 4)));
          const int mo = std::stoi(std::string(text.substr(5, 2)));
          const int d = std::stoi(std::string(text.substr(8, 2)));
          ASSERT_GT(y, 1970) << text;
          EXPECT_EQ(dates[k]->time / 86400, s_date::from_ymd(y, mo, d).time / 86400) << text;
          EXPECT_FALSE(dates[k]->text().empty()) << text;
          ++dated;
        }
      }
    }
  }
  EXPECT_GT(total_tasks, 1000u);
  EXPECT_GT(dated, 1000u);
}
