// A double click on a column's resize handle fits that column to its widest
// text; a first column the user made wider than its IDs need stays so.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "config_sandbox.h"
#include "view/host_pane.h"
#include "view/recording_surface.h"
#include "view/table/table_paint.h"
#include "view/table/table_views.h"
#include "view/tessel_doc.h"

namespace fs = std::filesystem;
using namespace tessel;
using namespace tessel::view;

namespace {

class ColumnFitClick : public config_sandbox {
 protected:
  ColumnFitClick() : config_sandbox("tessel-fit-click-") {}
  void SetUp() override {
    config_sandbox::SetUp();
    setenv("TESSEL_LAYOUTS_DIR", TESSEL_SOURCE_DIR "/Layouts", 1);
  }
  static std::u16string demo() { return fs::path(TESSEL_SOURCE_DIR "/samples/demo.xer").u16string(); }
};

TEST_F(ColumnFitClick, AWiderRememberedWidthStaysAndADoubleClickOnAHandleFits) {
  TesselDoc doc;
  ASSERT_TRUE(doc.open(demo()));
  Layout* l = doc.configuration().layouts().find(view_kind::activity, u"Classic WBS Layout");
  ASSERT_NE(l, nullptr);
  ASSERT_GE(l->column_count(), 2u);
  l->columns()[0].width = 900.0f;  // the user's own, wider than any ID needs
  ActivityTableView view;
  view.set_document(doc.document());
  view.set_layout(l);
  view.refresh();
  HostPane pane;
  pane.set_view(&view);
  pane.set_client_size(1200, 600);
  recording_surface s;
  pane.paint(s);
  EXPECT_FLOAT_EQ(l->columns()[0].width, 900.0f);

  // A double click on the second column's handle fits it to its widest text
  // (here the activity names), and on the first brings it back to its IDs.
  const float second_left = l->columns()[0].width;
  l->columns()[1].width = 40.0f;
  pane.paint(s);
  pane.left_button_double_click(0, second_left + 40.0f, 10.0f, s);
  const float name_width = l->columns()[1].width;
  EXPECT_GT(name_width, 150.0f);
  float widest = 0.0f;
  for (const Row* r : view.visibleRows())
    if (!r->is_group_row())
      widest = std::max(widest, s.text_width(r->field_value(l->columns()[1].field_id).text(),
                                             current_table_metrics().cell_style));
  EXPECT_GE(name_width, widest + 10.0f);
  EXPECT_LE(name_width, widest + 20.0f);

  pane.paint(s);
  pane.left_button_double_click(0, 900.0f, 10.0f, s);
  EXPECT_LT(l->columns()[0].width, 400.0f);
  // Every ID fits beside its row's indentation (grouped: level + 1 steps).
  float ids = 0.0f;
  for (const Row* r : view.visibleRows())
    if (!r->is_group_row())
      ids = std::max(ids, static_cast<float>(r->depth + 1) * 20.0f +
                              s.text_width(r->field_value(l->columns()[0].field_id).text(),
                                           current_table_metrics().cell_style) + 5.0f);
  EXPECT_GE(l->columns()[0].width, ids);
  // Off the header nothing is fitted.
  const float before = l->columns()[0].width;
  pane.left_button_double_click(0, 5.0f, 200.0f, s);
  EXPECT_FLOAT_EQ(l->columns()[0].width, before);
}

}  // namespace
