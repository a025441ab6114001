// The column chooser: both lists filled from the catalog, the document's
// fields and the layout; Add and Remove on the table and on the relationship
// tables; and column files replaced whole or not at all.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "catalog/field_catalog.h"
#include "config/config_text.h"
#include "config/layout.h"
#include "config_sandbox.h"
#include "view/dialogs/column_chooser.h"

namespace fs = std::filesystem;
using namespace tessel;
using namespace tessel::view;
using catalog::catalog_kind;

namespace {

class ColumnChooser : public config_sandbox {
 protected:
  ColumnChooser() : config_sandbox("tessel-chooser-") {}

  // Only these activity captions are supplied by the "document".
  static void supply_only(std::initializer_list<std::u16string_view> captions) {
    catalog::catalogs().clear_available();
    for (auto caption : captions) {
      catalog::field_entry* e = catalog::catalogs()[catalog_kind::activity].find_caption(caption);
      ASSERT_NE(e, nullptr);
      catalog::catalog_set::mark_available(*e);
    }
  }
  static uint32_t id(std::u16string_view caption, catalog_kind kind = catalog_kind::activity) {
    const catalog::field_entry* e = catalog::catalogs()[kind].find_caption(caption);
    EXPECT_NE(e, nullptr);
    return e ? e->field_id : 0;
  }
  static std::u16string captions(const Layout& l) {
    std::u16string s;
    for (const Column& c : l.columns()) {
      if (!s.empty()) s += u",";
      s += catalog::find_field(c.field_id)->caption;
    }
    return s;
  }
};

}  // namespace

TEST_F(ColumnChooser, ListsShowSuppliedCaptionsSortedAndInTableOrderAddAppendsSorted) {
  supply_only({u"Activity ID", u"Activity Name", u"Start", u"Finish", u"Calendar", u"Total Float"});
  ActivityLayout l;
  l.add_column(id(u"Start"), 90);
  l.add_column(id(u"Activity Step Count"), 50);  // not supplied
  l.add_column(id(u"Activity ID"), 100);
  const column_target t{&l, chooser_list::table};
  column_lists lists = fill_column_lists(t);
  EXPECT_EQ(lists.inserted, (std::vector<std::u16string>{u"Start", u"Activity ID"}));
  EXPECT_EQ(lists.inserted_index, (std::vector<std::size_t>{0, 2}));
  EXPECT_EQ(lists.available,
            (std::vector<std::u16string>{u"Activity Name", u"Calendar", u"Finish", u"Total Float"}));
  EXPECT_TRUE(caption_less(u"abc", u"Abd"));
  EXPECT_FALSE(caption_less(u"b", u"A"));
  EXPECT_TRUE(caption_less(u"Start", u"start date"));
  EXPECT_TRUE(fill_column_lists({nullptr, chooser_list::table}).available.empty());

  // Add appends in the sorted order at 120 pixels.
  ActivityLayout m;
  m.add_column(id(u"Activity ID"), 100);
  const column_target u{&m, chooser_list::table};
  lists = fill_column_lists(u);
  ASSERT_EQ(lists.available.size(), 5u);
  // Three entries selected in the sorted list: its first, third and fifth.
  add_columns(u, {lists.available[0], lists.available[2], lists.available[4]});
  EXPECT_EQ(captions(m), u"Activity ID,Activity Name,Finish,Total Float");
  for (std::size_t i = 1; i < 4; ++i) EXPECT_FLOAT_EQ(m.columns()[i].width, 120.0f);
  EXPECT_FLOAT_EQ(m.columns()[0].width, 100.0f);
  lists = fill_column_lists(u);
  EXPECT_EQ(lists.available, (std::vector<std::u16string>{u"Calendar", u"Start"}));
  add_columns(u, {u"No Such Caption", u"Activity Step Count"});  // unknown, and not supplied
  add_columns(u, {});
  EXPECT_EQ(m.column_count(), 4u);
}

TEST_F(ColumnChooser, RemoveTakesExactlyTheSelectedColumns) {
  supply_only({u"Activity ID", u"Activity Name", u"Start", u"Finish", u"Calendar"});
  ActivityLayout l;
  for (auto c : {u"Activity ID", u"Activity Name", u"Start", u"Finish"}) l.add_column(id(c), 80);
  const column_target t{&l, chooser_list::table};
  remove_columns(t, fill_column_lists(t), {0, 2});
  EXPECT_EQ(captions(l), u"Activity Name,Finish");
  remove_columns(t, fill_column_lists(t), {});
  remove_columns(t, fill_column_lists(t), {7});
  EXPECT_EQ(l.column_count(), 2u);

  // A column the document does not supply is not listed and never removed
  // in place of its neighbour.
  ActivityLayout m;
  m.add_column(id(u"Activity ID"), 80);
  m.add_column(id(u"Total Float"), 80);  // not supplied
  m.add_column(id(u"Start"), 80);
  m.add_column(id(u"Finish"), 80);
  const column_target u{&m, chooser_list::table};
  remove_columns(u, fill_column_lists(u), {2, 1});
  EXPECT_EQ(captions(m), u"Activity ID,Total Float");
}

TEST_F(ColumnChooser, RelationshipTablesEditTheirOwnLists) {
  ActivityLayout l;
  l.add_column(id(u"Activity ID"), 100);
  l.add_detail_column(detail_list::predecessors, id(u"Activity ID", catalog_kind::predecessor), 90);
  const column_target pred{&l, chooser_list::predecessors};
  const column_target succ{&l, chooser_list::successors};
  EXPECT_EQ(chooser_catalog(pred), catalog_kind::predecessor);
  EXPECT_EQ(chooser_catalog(succ), catalog_kind::successor);
  EXPECT_EQ(chooser_catalog({&l, chooser_list::table}), catalog_kind::activity);
  column_lists lists = fill_column_lists(pred);
  EXPECT_EQ(lists.inserted, (std::vector<std::u16string>{u"Activity ID"}));
  EXPECT_EQ(std::count(lists.available.begin(), lists.available.end(), u"Activity ID"), 0);
  add_columns(pred, {u"Activity Name", u"Early Start"});
  add_columns(succ, {u"Activity Status"});
  ASSERT_EQ(l.detail_count(detail_list::predecessors), 3u);
  EXPECT_EQ(l.detail_at(detail_list::predecessors, 1)->field_id, id(u"Activity Name", catalog_kind::predecessor));
  EXPECT_EQ(l.detail_at(detail_list::predecessors, 2)->field_id, id(u"Early Start", catalog_kind::predecessor));
  EXPECT_FLOAT_EQ(l.detail_at(detail_list::predecessors, 2)->width, 120.0f);
  ASSERT_EQ(l.detail_count(detail_list::successors), 1u);
  EXPECT_EQ(l.detail_at(detail_list::successors, 0)->field_id, id(u"Activity Status", catalog_kind::successor));
  EXPECT_EQ(l.column_count(), 1u);

  remove_columns(pred, fill_column_lists(pred), {0, 2});
  ASSERT_EQ(l.detail_count(detail_list::predecessors), 1u);
  EXPECT_EQ(l.detail_at(detail_list::predecessors, 0)->field_id, id(u"Activity Name", catalog_kind::predecessor));

  // A layout of another view has no relationship tables.
  WBSLayout w;
  add_columns({&w, chooser_list::predecessors}, {u"Activity Name"});
  EXPECT_TRUE(fill_column_lists({&w, chooser_list::predecessors}).inserted.empty());
}

TEST_F(ColumnChooser, ColumnFilesAreReplacedWholeOrNotAtAll) {
  const fs::path folder = root_ / "data" / "VP_ACT";
  fs::create_directories(folder);
  const fs::path file = folder / "Mine_columns.cfg";
  ASSERT_TRUE(config_text::write_file(file, "task_code:100\n"));
  ASSERT_TRUE(config_text::write_file(file, "end_date:120\n"));
  std::ifstream in(file, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text, "end_date:120\n");
  // No temporary file is left beside it.
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
  // A file that cannot be written leaves nothing behind and reports it.
  EXPECT_FALSE(config_text::write_file(root_ / "no such folder" / "x.cfg", "a:1\n"));
  // A target that cannot be replaced (a folder stands in its place) stays.
  fs::create_directories(folder / "Busy_columns.cfg" / "inside");
  EXPECT_FALSE(config_text::write_file(folder / "Busy_columns.cfg", "a:1\n"));
  EXPECT_TRUE(fs::is_directory(folder / "Busy_columns.cfg" / "inside"));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
}
