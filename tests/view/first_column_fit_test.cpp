// Activity IDs, WBS codes and project IDs are drawn whole in the first
// column of every shipped layout, however deep their rows are indented.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "config_sandbox.h"
#include "test_support.h"
#include "view/display_scale.h"
#include "view/host_pane.h"
#include "view/recording_surface.h"
#include "view/table/table_paint.h"
#include "view/table/table_views.h"
#include "view/tessel_doc.h"

namespace fs = std::filesystem;
using namespace tessel;
using namespace tessel::view;

namespace {

class FirstColumn : public config_sandbox {
 protected:
  FirstColumn() : config_sandbox("tessel-first-column-") {}
  void SetUp() override {
    config_sandbox::SetUp();
    setenv("TESSEL_LAYOUTS_DIR", TESSEL_SOURCE_DIR "/Layouts", 1);
  }
  void TearDown() override {
    set_display_scale(1.0f);
    config_sandbox::TearDown();
  }

  static std::u16string demo() { return fs::path(TESSEL_SOURCE_DIR "/samples/demo.xer").u16string(); }

  // Paints the first column of every row of one layout and answers how many
  // record rows with a first-column text did not show it whole (`example`
  // names the first).
  static int clipped_ids(const document::Document& doc, Layout& layout, std::string& example, int& checked) {
    std::unique_ptr<View> view = make_table_view(layout.view());
    view->set_document(&doc);
    view->set_layout(&layout);
    view->refresh();
    const table_metrics m = current_table_metrics();
    HostPane pane;
    pane.set_view(view.get());
    // Narrow: only the first column is in sight, every row is.
    pane.set_client_size(40, static_cast<int>(view->contentHeight()) + 10);
    recording_surface s;
    pane.paint(s);
    if (layout.columns().empty()) return 0;
    const uint32_t field = layout.columns().front().field_id;
    const float first_right = layout.columns().front().width * m.scale;
    std::vector<const recorded_call*> by_row(view->visibleRows().size(), nullptr);
    for (const recorded_call& c : s.calls()) {
      if (c.what != recorded_call::kind::text || c.rect.y < m.header_height || c.rect.x >= first_right) continue;
      const auto row = static_cast<std::size_t>((c.rect.y - 1.0f - m.header_height) / m.row_height + 0.5f);
      if (row < by_row.size()) by_row[row] = &c;
    }
    int clipped = 0;
    for (std::size_t i = 0; i < by_row.size(); ++i) {
      const Row& row = *view->visibleRows()[i];
      if (row.is_group_row()) continue;
      const std::u16string id = row.field_value(field).text();
      if (id.empty()) continue;
      ++checked;
      const recorded_call* c = by_row[i];
      const bool whole = c && c->text == id && c->rect.w >= s.text_width(id, m.cell_style) &&
                         c->rect.right() <= first_right;
      if (!whole && clipped++ == 0)
        example = test_support::narrow(layout.name()) + ": \"" + test_support::narrow(id) + "\" at depth " +
                  std::to_string(row.depth);
    }
    return clipped;
  }

  // Every shipped layout of the three tree views on one file.
  void every_layout_shows_whole_ids(const std::u16string& path) {
    TesselDoc doc;
    if (!doc.open(path)) return;  // a file this build refuses has no IDs to show
    int checked = 0;
    for (view_kind v : {view_kind::activity, view_kind::wbs, view_kind::project}) {
      for (auto& layout : doc.configuration().layouts().of(v)) {
        std::string example;
        EXPECT_EQ(clipped_ids(*doc.document(), *layout, example, checked), 0) << example;
      }
    }
    EXPECT_GT(checked, 0);
  }
};

TEST_F(FirstColumn, TheDemoShowsWholeIdsInEveryLayoutAtOneAndAHalfToo) {
  every_layout_shows_whole_ids(demo());
  set_display_scale(1.5f);
  every_layout_shows_whole_ids(demo());
}

TEST_F(FirstColumn, EveryRealExportShowsWholeIdsInEveryLayout) {
  SKIP_WITHOUT_REAL_EXPORTS();
  int files = 0;
  for (const auto& e : fs::recursive_directory_iterator(test_support::real_dir())) {
    const std::string ext = e.path().extension().string();
    if (!e.is_regular_file() || (ext != ".xer" && ext != ".xls" && ext != ".xlsx")) continue;
    SCOPED_TRACE(e.path().filename().string());
    every_layout_shows_whole_ids(e.path().u16string());
    ++files;
  }
  EXPECT_GE(files, 20);
}

}  // namespace
