// The copy text of a table: a header of captions, one tab-separated line per
// visible row, group rows with their title then their summaries.
#include "rows_test_support.h"
#include "view/table_text.h"

using namespace rows_test;

namespace {

std::vector<Column> columns(std::initializer_list<std::u16string_view> keys) {
  std::vector<Column> out;
  for (std::u16string_view k : keys) out.push_back({act(k), 80.0f, {}});
  return out;
}

}  // namespace

TEST(TableText, HeaderGroupLinesRowLinesAndEmptyTables) {
  opened o(schedule({
      {"1", "A10", {{"rsrc_id", "501"}, {"restart_date", "2024-01-08 08:00"}, {"reend_date", "2024-01-09 17:00"}}},
      {"2", "A20", {{"rsrc_id", "501"}, {"restart_date", "2024-01-10 08:00"}, {"reend_date", "2024-01-12 17:00"}}},
      {"3", "A30", {{"restart_date", "2024-01-15 08:00"}, {"reend_date", "2024-01-15 17:00"}}},
  }));
  const GroupSortSettings s = grouped({group_by(act(u"rsrc_id"))});
  auto root = build_activity_tree(o.doc(), s);
  const auto cols = columns({u"task_code", u"start_date", u"end_date", u"total_drtn_hr_cnt"});

  EXPECT_EQ(table_header_text(cols), u"Activity ID\tStart\tFinish\tAt Completion Duration");
  // Group rows: the title in the first column, summaries in the others.
  EXPECT_EQ(table_row_text(*root->children()[0], cols), u"R1.Crane\t8-Jan-2024\t12-Jan-2024\t5");
  EXPECT_EQ(table_row_text(*root->children()[0]->children()[1], cols), u"A20\t10-Jan-2024\t12-Jan-2024\t3");

  const std::u16string text = table_text(*root, cols);
  EXPECT_EQ(text,
            u"Activity ID\tStart\tFinish\tAt Completion Duration\n"
            u"R1.Crane\t8-Jan-2024\t12-Jan-2024\t5\n"
            u"A10\t8-Jan-2024\t9-Jan-2024\t2\n"
            u"A20\t10-Jan-2024\t12-Jan-2024\t3\n"
            u"No primary Resource\t15-Jan-2024\t15-Jan-2024\t1\n"
            u"A30\t15-Jan-2024\t15-Jan-2024\t1");

  // Only visible rows are copied: a collapsed group is one line.
  root->children()[0]->expanded = false;
  std::vector<Row*> rows;
  visible_rows(*root, rows);
  EXPECT_EQ(table_text(rows, cols),
            u"Activity ID\tStart\tFinish\tAt Completion Duration\n"
            u"R1.Crane\t8-Jan-2024\t12-Jan-2024\t5\n"
            u"No primary Resource\t15-Jan-2024\t15-Jan-2024\t1\n"
            u"A30\t15-Jan-2024\t15-Jan-2024\t1");
  // The whole-tree form shows every group expanded again.
  EXPECT_EQ(table_text(*root, cols), text);

  // A schedule without activities copies its header line alone, ended by a
  // line feed; without columns, an empty line per row.
  opened none(schedule({}));
  auto empty = build_activity_tree(none.doc(), {});
  const auto two = columns({u"task_code", u"task_name"});
  EXPECT_EQ(table_text(*empty, two), u"Activity ID\tActivity Name\n");
  EXPECT_EQ(table_text(*empty, {}), u"\n");
  // A column whose field the catalogs lack shows an empty caption and cells.
  std::vector<Column> odd = two;
  odd.push_back({999999, 50.0f, {}});
  EXPECT_EQ(table_header_text(odd), u"Activity ID\tActivity Name\t");
}
