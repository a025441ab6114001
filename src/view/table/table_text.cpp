#include "view/table/table_text.h"

#include "catalog/field_catalog.h"
#include "rows/group_item.h"
#include "rows/tree_build.h"

namespace tessel::view {

std::u16string table_header_text(const std::vector<Column>& columns) {
  std::u16string out;
  for (size_t i = 0; i < columns.size(); ++i) {
    if (i) out.push_back(u'\t');
    if (const catalog::field_entry* e = catalog::find_field(columns[i].field_id)) out += e->caption;
  }
  return out;
}

std::u16string table_row_text(const Row& row, const std::vector<Column>& columns) {
  std::u16string out;
  const GroupItem* group = row.group_item();
  for (size_t i = 0; i < columns.size(); ++i) {
    if (i) out.push_back(u'\t');
    if (group && i == 0)
      out += group->label();
    else
      out += row.field_value(columns[i].field_id).text();
  }
  return out;
}

std::u16string table_text(const std::vector<Row*>& rows, const std::vector<Column>& columns) {
  std::u16string out = table_header_text(columns);
  out.push_back(u'\n');
  for (size_t i = 0; i < rows.size(); ++i) {
    if (i) out.push_back(u'\n');
    out += table_row_text(*rows[i], columns);
  }
  return out;
}

std::u16string table_text(Row& root, const std::vector<Column>& columns) {
  expand_all(root);
  std::vector<Row*> rows;
  visible_rows(root, rows);
  return table_text(rows, columns);
}

}  // namespace tessel::view
