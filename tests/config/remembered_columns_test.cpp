// Remembered columns survive a file that lacks some of their fields: the
// window writes the column files before every open, and a workbook supplies
// far fewer fields than an XER export. Columns hidden for that reason must
// come back, unchanged, with the next file that has them.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "config/column_files.h"
#include "config/data_folder.h"
#include "config_sandbox.h"
#include "test_support.h"
#include "view/tessel_doc.h"

namespace fs = std::filesystem;
using namespace tessel;
using namespace tessel::view;

namespace {

class RememberedColumns : public config_sandbox {
 protected:
  RememberedColumns() : config_sandbox("tessel-remembered-") {}
  void SetUp() override {
    config_sandbox::SetUp();
    setenv("TESSEL_LAYOUTS_DIR", TESSEL_SOURCE_DIR "/Layouts", 1);
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

  void demo_then_workbook_then_demo(const std::u16string& workbook) {
    const std::u16string demo = fs::path(TESSEL_SOURCE_DIR "/samples/demo.xer").u16string();
    TesselDoc doc;
    open(doc, demo);
    doc.configuration().save_columns();
    const auto first = column_files();
    ASSERT_GE(first.size(), 10u);
    const Layout* resources = doc.configuration().layouts().find(view_kind::resource, u"All Resources");
    ASSERT_NE(resources, nullptr);
    const std::size_t resource_columns = resources->column_count();
    ASSERT_GT(resource_columns, 2u);

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

TEST_F(RememberedColumns, ARemovedAvailableColumnStaysRemovedAndAHiddenOneKeepsItsPlace) {
  const std::u16string demo = fs::path(TESSEL_SOURCE_DIR "/samples/demo.xer").u16string();
  TesselDoc doc;
  open(doc, demo);
  Layout* l = doc.configuration().layouts().find(view_kind::resource, u"All Resources");
  ASSERT_NE(l, nullptr);
  ASSERT_GE(l->column_count(), 3u);
  l->remove_column(1);  // the user's own removal is remembered
  doc.configuration().save_columns();
  const auto after_removal = column_files();

  open(doc, test_support::xls_path("full_export.xls"));
  open(doc, demo);
  doc.configuration().save_columns();
  EXPECT_EQ(column_files(), after_removal);
}

}  // namespace
