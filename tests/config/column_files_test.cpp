// Column files: remembered table columns per layout, read with the layout
// files and again after a schedule is opened, written at program end.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>

#include "catalog/field_catalog.h"
#include "config/column_files.h"
#include "config/data_folder.h"
#include "config/layout_reader.h"
#include "config/settings.h"
#include "config/view_configuration.h"
#include "config_sandbox.h"
#include "test_support.h"
#include "view/tessel_doc.h"

namespace fs = std::filesystem;
using namespace tessel;
using namespace tessel::view;
using catalog::catalog_kind;

namespace {

uint32_t act_id(std::u16string_view key) { return test_support::field_id(catalog_kind::activity, key); }

// The columns as "key:width,...", "?" for a field no catalog knows.
std::string columns_of(const Layout& l) {
  std::ostringstream s;
  for (const Column& c : l.columns()) {
    const catalog::field_entry* e = catalog::find_field(c.field_id);
    s << (s.tellp() ? "," : "") << (e ? test_support::narrow(e->key) : "?") << ":" << c.width;
  }
  return s.str();
}

class ColumnFiles : public config_sandbox {
 protected:
  ColumnFiles() : config_sandbox("tessel-columns-") {}

  static void write(const fs::path& p, const std::string& text) { test_support::write_file(p, text); }
  static std::string read(const fs::path& p) { return test_support::read_file(p); }
  fs::path act_folder() const { return root_ / "data" / "VP_ACT"; }

  // An activity layout file with the given name and two columns.
  void write_layout(const std::string& rel, const std::string& name) {
    write(root_ / "layouts" / rel,
          "(0||L(view_type|VP_ACT|view_name|" + name + ")((0||TaskView()("
          "(0||Columns()((0||task_code(width|100)())(0||task_name(width|200)())))"
          "(0||TaskPredColumns()((0||predtask\\7Ctask_code(width|100)())))))))");
  }
};

TEST_F(ColumnFiles, ReadingAppendsKnownAvailableNewFieldsOnlyAndSavingWritesEveryList) {
  ActivityLayout l;
  l.set_name(u"L");
  l.add_column(act_id(u"task_code"), 100.0f);
  const fs::path file = act_folder() / "L_columns.cfg";
  // complete_pct is a catalog field the open schedule does not supply.
  write(file,
        "task_name:87.5\ntask_name:100\r\ntask_code:50\nbogus:10\nno colon\n:start_date\n"
        "complete_pct:80\nstart_date:wide\tend_date:1e2\tend_date:3\n");
  ASSERT_TRUE(ReadColumnFile(l, file));
  // An existing column stays as it was; the first of a repeated key counts.
  EXPECT_EQ(columns_of(l), "task_code:100,task_name:87.5,start_date:0,end_date:100");

  EXPECT_FALSE(ReadColumnFile(l, act_folder() / "missing_columns.cfg"));
  EXPECT_EQ(l.column_count(), 4u);

  // A WBS layout looks its keys up in the WBS catalog.
  WBSLayout w;
  write(root_ / "data" / "VP_WBS" / "W_columns.cfg", "wbs_concat_name:120\ntask_code:100\n");
  ASSERT_TRUE(ReadColumnFile(w, root_ / "data" / "VP_WBS" / "W_columns.cfg"));
  EXPECT_EQ(columns_of(w), "wbs_concat_name:120");

  // Saving writes every layout's lists.
  layout_lists layouts;
  auto a = std::make_unique<ActivityLayout>();
  a->set_name(u"Act One");
  a->add_column(act_id(u"task_code"), 100.0f);
  a->add_column(act_id(u"task_name"), 87.5f);
  a->add_column(act_id(u"start_date"), 0.1f);
  const catalog::field_entry* pred = catalog::find_field(catalog_kind::predecessor, u"lag_hr_cnt");
  ASSERT_NE(pred, nullptr);
  a->add_detail_column(detail_list::predecessors, pred->field_id, 60.0f);
  layouts.of(view_kind::activity).push_back(std::move(a));
  auto r = std::make_unique<ResourceLayout>();
  r->set_name(u"Res");
  layouts.of(view_kind::resource).push_back(std::move(r));

  SaveColumnFiles(layouts);
  EXPECT_EQ(read(act_folder() / "Act One_columns.cfg"), "task_code:100\ntask_name:87.5\nstart_date:0.1\n");
  EXPECT_EQ(read(act_folder() / "Act One_pred_columns.cfg"), "lag_hr_cnt:60\n");
  ASSERT_TRUE(fs::exists(act_folder() / "Act One_succ_columns.cfg"));
  EXPECT_EQ(read(act_folder() / "Act One_succ_columns.cfg"), "");
  ASSERT_TRUE(fs::exists(root_ / "data" / "VP_RES" / "Res_columns.cfg"));
  EXPECT_FALSE(fs::exists(root_ / "data" / "VP_RES" / "Res_pred_columns.cfg"));

  // With remembering off nothing is written.
  layouts.of(view_kind::activity)[0]->remove_column(0);
  config::settings().layout_rememberChanges = false;
  SaveColumnFiles(layouts);
  EXPECT_EQ(read(act_folder() / "Act One_columns.cfg"), "task_code:100\ntask_name:87.5\nstart_date:0.1\n");
}

TEST_F(ColumnFiles, RememberedColumnsReplaceTheLayoutFilesColumns) {
  write_layout("VP_ACT/Classic Schedule Layout.tlf", "Mine");
  write(act_folder() / "Mine_columns.cfg", "end_date:90\ntask_code:70\n");
  write(act_folder() / "Mine_pred_columns.cfg", "predtask\\7Ctask_name:150\n");

  layout_lists layouts;
  LoadLayouts(layouts, filters_);
  ASSERT_EQ(layouts.of(view_kind::activity).size(), 1u);
  const Layout& l = *layouts.of(view_kind::activity)[0];
  EXPECT_EQ(columns_of(l), "end_date:90,task_code:70");
  ASSERT_EQ(l.detail_count(detail_list::predecessors), 1u);
  EXPECT_EQ(l.detail_at(detail_list::predecessors, 0)->field_id,
            catalog::find_field(catalog_kind::predecessor, u"predtask\\7Ctask_name")->field_id);

  // With remembering off the layout file's columns stand.
  config::settings().layout_rememberChanges = false;
  layouts.clear();
  LoadLayouts(layouts, filters_);
  EXPECT_EQ(columns_of(*layouts.of(view_kind::activity)[0]), "task_code:100,task_name:200");
  EXPECT_EQ(layouts.of(view_kind::activity)[0]->detail_count(detail_list::predecessors), 1u);

  // A renamed layout starts without remembered columns: its file follows its name.
  config::settings().layout_rememberChanges = true;
  write_layout("VP_ACT/Classic Schedule Layout.tlf", "Mine Renamed");
  layouts.clear();
  LoadLayouts(layouts, filters_);
  EXPECT_EQ(columns_of(*layouts.of(view_kind::activity)[0]), "task_code:100,task_name:200");
}

TEST_F(ColumnFiles, PruneThenReloadAfterOpening) {
  write_layout("VP_ACT/Classic Schedule Layout.tlf", "Mine");
  layout_lists layouts;
  LoadLayouts(layouts, filters_);
  Layout& l = *layouts.of(view_kind::activity)[0];
  l.add_column(99999999, 10.0f);  // a field no catalog knows stays
  l.add_column(act_id(u"end_date"), 10.0f);
  write(column_file(l), "task_name:300\nstart_date:80\ntask_code:5\n");

  // The schedule opened supplies neither task_name nor end_date.
  for (std::u16string_view key : {u"task_name", u"end_date"}) {
    catalog::field_entry* e = catalog::find_field(catalog_kind::activity, key);
    ASSERT_NE(e, nullptr);
    catalog::catalogs().mark_available(*e, false);
  }
  for (view_kind v : {view_kind::activity, view_kind::wbs, view_kind::project, view_kind::resource})
    PruneUnavailableColumns(layouts, v);
  EXPECT_EQ(columns_of(l), "task_code:100,?:10");
  ReloadColumnFiles(layouts);
  EXPECT_EQ(columns_of(l), "task_code:100,?:10,start_date:80");  // task_name is not added back

  // Remembering off: nothing is read again.
  config::settings().layout_rememberChanges = false;
  l.remove_column(2);
  ReloadColumnFiles(layouts);
  EXPECT_EQ(l.column_count(), 2u);
}

TEST_F(ColumnFiles, ViewConfigurationSavesOnlyOnceBuilt) {
  view_configuration config;
  config.save_columns();  // nothing to write before the first open
  EXPECT_FALSE(fs::exists(act_folder() / "Mine_columns.cfg"));
  write_layout("VP_ACT/Classic WBS Layout.tlf", "Mine");
  config.rebuild();
  ASSERT_TRUE(config.built());
  EXPECT_EQ(config.filters().activity.size(), 13u);
  ASSERT_NE(config.first_layout(view_kind::activity), nullptr);
  EXPECT_EQ(config.first_layout(view_kind::activity)->name(), u"Mine");  // the first when none has the name
  EXPECT_EQ(config.first_layout(view_kind::wbs), nullptr);
  config.layouts().of(view_kind::activity)[0]->move_column(1, 0);
  config.save_columns();
  EXPECT_EQ(read(act_folder() / "Mine_columns.cfg"), "task_name:200\ntask_code:100\n");

  // A rebuild replaces filters and layouts, and reads the remembered order.
  config.rebuild();
  EXPECT_EQ(config.filters().activity.size(), 13u);
  ASSERT_EQ(config.layouts().of(view_kind::activity).size(), 1u);
  EXPECT_EQ(columns_of(*config.layouts().of(view_kind::activity)[0]), "task_name:200,task_code:100");
}

}  // namespace

// Remembered columns survive a file that lacks some of their fields: the
// window writes the column files before every open, and a workbook supplies
// far fewer fields than an XER export. Columns hidden for that reason must
// come back, unchanged, with the next file that has them.
namespace {

class RememberedColumns : public config_sandbox {
 protected:
  RememberedColumns() : config_sandbox("tessel-remembered-") {}
  void SetUp() override {
    config_sandbox::SetUp();
    use_shipped_layouts();
  }

  // Every column file in the data folder with its text.
  std::map<std::string, std::string> column_files() const {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(root_ / "data"))
      if (e.is_regular_file() && e.path().filename().string().ends_with("_columns.cfg"))
        files[fs::relative(e.path(), root_ / "data").string()] = test_support::read_file(e.path());
    return files;
  }

  // What the window does on every open: the current columns are written,
  // then the next file is opened.
  void open(TesselDoc& doc, const std::u16string& path) {
    doc.configuration().save_columns();
    ASSERT_TRUE(doc.open(path)) << test_support::narrow(path);
  }

  // The user removes a column the demo shows: that removal is remembered,
  // while the columns the workbook hides come back in their places.
  void demo_then_workbook_then_demo(const std::u16string& workbook) {
    const std::u16string demo = fs::path(TESSEL_SOURCE_DIR "/samples/demo.xer").u16string();
    TesselDoc doc;
    open(doc, demo);
    Layout* resources = doc.configuration().layouts().find(view_kind::resource, u"All Resources");
    ASSERT_NE(resources, nullptr);
    ASSERT_GE(resources->column_count(), 4u);
    resources->remove_column(1);
    const std::size_t resource_columns = resources->column_count();
    doc.configuration().save_columns();
    const auto first = column_files();
    ASSERT_GE(first.size(), 10u);

    open(doc, workbook);
    // The workbook lacks fields: some layouts show fewer columns now.
    const Layout* hidden = doc.configuration().layouts().find(view_kind::resource, u"All Resources");
    ASSERT_NE(hidden, nullptr);
    EXPECT_LT(hidden->column_count(), resource_columns);

    open(doc, demo);
    doc.configuration().save_columns();
    EXPECT_EQ(column_files(), first);
    const Layout* back = doc.configuration().layouts().find(view_kind::resource, u"All Resources");
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->column_count(), resource_columns);
  }
};

TEST_F(RememberedColumns, AWorkbookBetweenTwoOpensOfTheDemoLeavesTheColumnFilesAsTheyWere) {
  demo_then_workbook_then_demo(test_support::xls_path("full_export.xls"));
}

TEST_F(RememberedColumns, TheRealWorkbookExportLeavesThemAsTheyWereToo) {
  SKIP_WITHOUT_REAL_EXPORTS();
  for (const auto& e : fs::directory_iterator(test_support::real_dir() / "xls")) {
    SCOPED_TRACE(e.path().string());
    demo_then_workbook_then_demo(e.path().u16string());
    fs::remove_all(root_ / "data");
    config::reset_data_folder();
  }
}

}  // namespace
