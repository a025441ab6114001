// Fixtures for the view tests that run on the bundled demo schedule with the
// shipped layouts: a sandboxed configuration, and an activity table beside a
// Gantt chart following it in linked panes, as the window sets them up.
#pragma once

#include <filesystem>
#include <string>

#include "config_sandbox.h"
#include "view/display_scale.h"
#include "view/gantt/gantt_view.h"
#include "view/host_pane.h"
#include "view/table/table_views.h"
#include "view/tessel_doc.h"

class demo_sandbox : public config_sandbox {
 protected:
  demo_sandbox() : config_sandbox("tessel-demo-view-") {}
  void SetUp() override {
    config_sandbox::SetUp();
    use_shipped_layouts();
  }
  void TearDown() override {
    tessel::view::set_display_scale(1.0f);
    config_sandbox::TearDown();
  }
  static std::u16string demo() { return std::filesystem::path(TESSEL_SOURCE_DIR "/samples/demo.xer").u16string(); }
};

// The demo in its "Classic WBS Layout": table pane 600 wide, chart pane 800,
// both 400 high (a header of 30 and rows of 18), the Details pane `dp` told
// of the selection.
class demo_panes : public demo_sandbox {
 protected:
  void SetUp() override {
    demo_sandbox::SetUp();
    ASSERT_TRUE(doc.open(demo()));
    layout = doc.configuration().layouts().find(tessel::view::view_kind::activity, u"Classic WBS Layout");
    ASSERT_NE(layout, nullptr);
    for (tessel::view::View* v : {static_cast<tessel::view::View*>(&table), static_cast<tessel::view::View*>(&gantt)}) {
      v->set_document(doc.document());
      v->set_layout(layout);
    }
    gantt.follow(&table);
    table.refresh();
    gantt.refresh();
    tp.set_view(&table);
    gp.set_view(&gantt);
    tp.set_linked(&gp);
    gp.set_linked(&tp);
    tp.set_details_pane(&dp);
    gp.set_details_pane(&dp);
    dp.on_children_changed = [this](int) { ++details_followed; };
    size(400);
  }
  void size(int height) {
    tp.set_client_size(600, height);
    gp.set_client_size(800, height);
  }

  tessel::view::TesselDoc doc;
  tessel::view::Layout* layout = nullptr;
  tessel::view::ActivityTableView table;
  tessel::view::GanttView gantt;
  tessel::view::HostPane tp, gp, dp;
  int details_followed = 0;
};
