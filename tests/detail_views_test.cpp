// The Details pane: tabs and their hit areas, the captioned values of each
// record kind, empty values for groups and unsupplied fields, and the
// relationship, code and step sub-tables following the table's selection.
#include <gtest/gtest.h>

#include "detail_test_support.h"
#include "view/code_table_views.h"
#include "view/detail_activity.h"
#include "view/detail_record_views.h"
#include "view/host_pane.h"
#include "view/relationship_table_view.h"
#include "view/step_table_view.h"

namespace {

using namespace detail_test;
using catalog::catalog_kind;

class DetailViews : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(file_.ok());
    activities_ = std::make_unique<followed_table>(doc(), layout(view_kind::activity));
  }
  const document::Document& doc() { return file_.doc(); }
  Layout& layout(view_kind kind) { return *file_.tessel().configuration().first_layout(kind); }

  private_data_folder data_;
  rows_test::opened file_{schedule_text()};
  std::unique_ptr<followed_table> activities_;
};

TEST_F(DetailViews, TabsTypeQueriesAndChildPanes) {
  ActivityDetailView act(activities_->get());
  EXPECT_EQ(act.tabs(), (std::vector<std::u16string>{u"General", u"Status", u"Predecessors", u"Successors",
                                                     u"Codes", u"Steps"}));
  EXPECT_EQ(act.currentTab(), u"General");
  EXPECT_TRUE(act.isDetail() && act.isActivityDetail());
  EXPECT_FALSE(act.isWbsDetail() || act.isProjectDetail() || act.isResourceDetail() || act.isActivityTable());
  EXPECT_EQ(act.childPaneIndex(), -1);
  const std::pair<const char16_t*, int> children[] = {
      {u"Predecessors", 0}, {u"Successors", 1}, {u"Codes", 2}, {u"Steps", 3}, {u"Status", -1}};
  for (const auto& [tab, index] : children) {
    ASSERT_TRUE(act.setCurrentTab(tab));
    EXPECT_EQ(act.childPaneIndex(), index);
  }
  EXPECT_FALSE(act.setCurrentTab(u"Notebook"));
  EXPECT_EQ(act.currentTab(), u"Status");
  EXPECT_EQ(act.contentWidth(), 0.0f);
  EXPECT_EQ(act.contentHeight(), 0.0f);

  WBSDetailView wbs;
  EXPECT_EQ(wbs.tabs(), std::vector<std::u16string>{u"General"});
  EXPECT_FALSE(wbs.setCurrentTab(u"Codes"));
  EXPECT_TRUE(wbs.isWbsDetail() && wbs.isDetail() && !wbs.isActivityDetail());
  ProjectDetailView project;
  ResourceDetailView resource;
  EXPECT_EQ(project.tabs(), (std::vector<std::u16string>{u"General", u"Codes"}));
  EXPECT_EQ(resource.tabs(), (std::vector<std::u16string>{u"General", u"Codes"}));
  EXPECT_TRUE(project.isProjectDetail() && resource.isResourceDetail());
  EXPECT_TRUE(project.setCurrentTab(u"Codes"));
  EXPECT_EQ(project.childPaneIndex(), 2);
}

TEST_F(DetailViews, TabClicksHitEdgesInclusiveWithScrollOffsets) {
  ActivityDetailView act(activities_->get());
  EXPECT_FALSE(act.onLButtonUp(0, 10.0f, 10.0f));  // nothing painted yet: no tab to hit
  EXPECT_EQ(act.currentTab(), u"General");
  paint(act);
  const std::vector<rect_f> tabs = act.tabRects();
  ASSERT_EQ(tabs.size(), 6u);
  for (size_t i = 1; i < tabs.size(); ++i) EXPECT_GT(tabs[i].x, tabs[i - 1].right());  // a gap between tabs

  EXPECT_FALSE(act.onLButtonUp(0, tabs[1].x, tabs[1].y));  // top-left corner
  EXPECT_EQ(act.currentTab(), u"Status");
  act.onLButtonUp(0, tabs[2].right(), tabs[2].bottom());  // bottom-right corner
  EXPECT_EQ(act.currentTab(), u"Predecessors");
  act.onLButtonUp(0, tabs[4].right() + 0.5f, tabs[4].y + 5.0f);  // in the gap: nothing changes
  EXPECT_EQ(act.currentTab(), u"Predecessors");
  act.onLButtonUp(0, tabs[5].x + 5.0f, tabs[5].y - 0.5f);  // just above the strip
  EXPECT_EQ(act.currentTab(), u"Predecessors");

  act.context().scroll_x = 30;
  act.onLButtonUp(0, tabs[3].x - 30.0f, tabs[3].y + 1.0f);
  EXPECT_EQ(act.currentTab(), u"Successors");
  act.context().scroll_x = 0;
}

TEST_F(DetailViews, ActivityGeneralAndStatusShowTheSelectedRecord) {
  ActivityDetailView act(activities_->get());
  // Without a selection the strip, the title and the captions are drawn,
  // every box empty.
  recording_surface none = paint(act);
  EXPECT_EQ(value_of(none, u"Activity"), u"");
  EXPECT_EQ(value_of(none, u"Activity Type"), u"");
  EXPECT_EQ(act.tabRects().size(), 6u);

  ASSERT_TRUE(activities_->select_activity(u"A1"));
  recording_surface general = paint(act);
  std::vector<std::u16string> drawn = texts(general);
  auto at = std::find(drawn.begin(), drawn.end(), u"Activity");
  ASSERT_NE(at, drawn.end());
  ASSERT_GE(drawn.end() - at, 3);
  EXPECT_EQ(at[1], u"A1");
  EXPECT_EQ(at[2], u"Activity A1");
  EXPECT_EQ(value_of(general, u"Activity Type"), u"Task Dependent");
  EXPECT_EQ(value_of(general, u"Activity Calendar"), u"Standard 5 Day Workweek");
  EXPECT_EQ(value_of(general, u"Responsible Manager"), u"Area A1");
  EXPECT_EQ(value_of(general, u"Primary Resource"), u"R1.Crane");
  EXPECT_NE(value_of(general, u"Duration Type"), u"");
  EXPECT_NE(value_of(general, u"% Complete Type"), u"");

  // A field the document does not supply leaves its box empty on "General";
  // "Status" reads the record itself.
  catalog::catalog_set::mark_available(*catalog::find_field(140), false);
  catalog::catalog_set::mark_available(*catalog::find_field(catalog_kind::activity, u"total_float_hr_cnt"), false);
  EXPECT_EQ(value_of(paint(act), u"Duration Type"), u"");
  ASSERT_TRUE(act.setCurrentTab(u"Status"));
  recording_surface status = paint(act);
  for (const char16_t* group : {u"Duration", u"Status", u"Constraints"}) {
    EXPECT_NE(std::find(texts(status).begin(), texts(status).end(), group), texts(status).end());
  }
  EXPECT_EQ(value_of(status, u"Total Float"), u"2");  // 16 h on an 8-hour calendar, in days
  EXPECT_EQ(value_of(status, u"Started"), u"");
  EXPECT_EQ(value_of(status, u"Date", 0), u"");
  EXPECT_EQ(value_of(status, u"Date", 1), u"");
  EXPECT_EQ(value_of(status, u"Primary"), u"");  // no constraint
  EXPECT_EQ(value_of(status, u"Secondary"), u"");
}

TEST_F(DetailViews, GroupRowSelectedEmptiesEveryValue) {
  followed_table grouped(doc(), layout(view_kind::activity));  // grouped by WBS
  ActivityDetailView act(grouped.get());
  ASSERT_TRUE(grouped.select([](const Row& r) { return r.is_group_row(); }));
  recording_surface s = paint(act);
  EXPECT_EQ(act.tabRects().size(), 6u);
  EXPECT_EQ(value_of(s, u"Activity"), u"");
  for (const char16_t* caption : {u"Activity Type", u"Duration Type", u"% Complete Type", u"Activity Calendar",
                                  u"Responsible Manager", u"Primary Resource"}) {
    EXPECT_EQ(value_of(s, caption), u"") << std::string(caption, caption + 3);
  }
  act.setCurrentTab(u"Predecessors");  // the strip alone: a child pane shows the rest
  recording_surface strip = paint(act);
  EXPECT_EQ(texts(strip), act.tabs());
}

TEST_F(DetailViews, RecordDetailsOfWbsProjectAndResource) {
  followed_table wbs_table(doc(), layout(view_kind::wbs));
  WBSDetailView wbs(wbs_table.get());
  ASSERT_TRUE(wbs_table.select([](const Row& r) { return r.wbs() && r.wbs()->wbs_short_name.value == u"A"; }));
  recording_surface a = paint(wbs);
  EXPECT_EQ(value_of(a, u"WBS Name"), u"Area A");
  EXPECT_EQ(value_of(a, u"Responsible Manager"), u"Site");
  EXPECT_NE(value_of(a, u"WBS Code"), u"");
  // C has no responsible manager: its box is there and empty.
  ASSERT_TRUE(wbs_table.select([](const Row& r) { return r.wbs() && r.wbs()->wbs_short_name.value == u"C"; }));
  recording_surface c = paint(wbs);
  EXPECT_EQ(value_of(c, u"WBS Name"), u"Area C");
  EXPECT_EQ(value_of(c, u"Responsible Manager"), u"");

  followed_table projects(doc(), layout(view_kind::project));
  ProjectDetailView project(projects.get());
  ASSERT_TRUE(projects.select([](const Row& r) { return r.project() != nullptr; }));
  recording_surface p = paint(project);
  EXPECT_EQ(value_of(p, u"Project ID"), u"P1");
  EXPECT_EQ(value_of(p, u"Responsible Manager"), u"Team");

  followed_table resources(doc(), layout(view_kind::resource));
  ResourceDetailView resource(resources.get());
  ASSERT_TRUE(resources.select([](const Row& r) { return r.resource() && r.resource()->rsrc_id.value == 502; }));
  recording_surface r = paint(resource);
  EXPECT_EQ(value_of(r, u"Resource ID"), u"R2");
  EXPECT_EQ(value_of(r, u"Resource Name"), u"Crew");
}

TEST_F(DetailViews, FormScalesWithTheDisplay) {
  ActivityDetailView act(activities_->get());
  activities_->select_activity(u"A1");
  auto boxes = [](const recording_surface& s) {
    std::vector<float> heights;  // vertical outline segments of value boxes
    for (const recorded_call& c : s.calls())
      if (c.what == recorded_call::kind::line && c.a.x == c.b.x && c.color == rgb(122, 122, 122))
        heights.push_back(std::abs(c.b.y - c.a.y));
    return heights;
  };
  const recording_surface one = paint(act);
  set_display_scale(1.5f);
  const recording_surface big = paint(act);
  EXPECT_EQ(DetailView::stripHeight(), 45.0f);
  ASSERT_FALSE(boxes(one).empty());
  ASSERT_EQ(boxes(one).size(), boxes(big).size());
  EXPECT_NEAR(boxes(one).back() * 1.5f, boxes(big).back(), 1.0f);
  float tallest = 0.0f;
  for (const recorded_call& c : big.calls())
    if (c.what == recorded_call::kind::text) tallest = std::max<float>(tallest, c.style.pixel_height);
  EXPECT_EQ(tallest, 22.0f);  // 15 x 1.5, truncated
  // Values still sit right of every caption.
  EXPECT_EQ(value_of(big, u"Primary Resource"), u"R1.Crane");
}

// ---- sub-tables ----

TEST_F(DetailViews, RelationshipTablesListTheSelectedActivitysLinks) {
  RelationshipTableView preds(0, activities_->get());
  RelationshipTableView succs(1, activities_->get());
  EXPECT_TRUE(preds.isRelationshipTable() && !preds.isActivityCodeTable());
  EXPECT_EQ(succs.kind(), 1);
  preds.refresh();
  EXPECT_TRUE(preds.visibleRows().empty());
  EXPECT_FLOAT_EQ(preds.contentHeight(), 18.0f);  // the header alone

  activities_->select_activity(u"A4");
  preds.refresh();
  succs.refresh();
  ASSERT_EQ(preds.visibleRows().size(), 3u);
  ASSERT_EQ(succs.visibleRows().size(), 1u);
  EXPECT_FLOAT_EQ(preds.contentHeight(), 4 * 18.0f);
  const std::vector<ListColumn>& columns = *layout(view_kind::activity).detail_columns(detail_list::predecessors);
  float width = 0.0f;
  for (const ListColumn& c : columns) width += c.width;
  EXPECT_FLOAT_EQ(preds.contentWidth(), width);

  const auto pred_codes = [&](View& v) {
    std::vector<std::u16string> out;
    for (const Row* r : v.visibleRows()) {
      EXPECT_TRUE(r->is_relationship_row());
      out.push_back(r->relationship()->predtask->task_code.value);
    }
    return out;
  };
  EXPECT_EQ(pred_codes(preds), (std::vector<std::u16string>{u"A1", u"A2", u"A3"}));
  EXPECT_EQ(succs.visibleRows()[0]->relationship()->task->task_code.value, u"A5");

  // Each row shows the other activity's columns: the first column is the
  // predecessor's (or successor's) activity id.
  ASSERT_EQ(catalog::find_field(columns[0].field_id)->key, u"predtask\\7Ctask_code");
  const auto rows = cells(paint(preds), preds.headerHeight());
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1][0], u"A2");
  EXPECT_NE(std::find(rows[1].begin(), rows[1].end(), u"Start To Start"), rows[1].end());
  EXPECT_EQ(cells(paint(succs), succs.headerHeight()).at(0).at(0), u"A5");
  const std::vector<std::u16string> header = texts(paint(preds));
  EXPECT_EQ(header[header.size() - columns.size()], u"Activity ID");  // the header is drawn last

  // Another selection, another list, at the next refresh.
  activities_->select_activity(u"A1");
  preds.refresh();
  succs.refresh();
  EXPECT_TRUE(preds.visibleRows().empty());
  EXPECT_EQ(succs.visibleRows().size(), 1u);
  EXPECT_EQ(preds.selectionText(), u"");
}

TEST_F(DetailViews, RelationshipColumnsResizeIntoTheLayout) {
  RelationshipTableView preds(0, activities_->get());
  activities_->select_activity(u"A4");
  preds.refresh();
  set_display_scale(1.5f);
  paint(preds);  // the header paint places the resize handles
  std::vector<ListColumn>& columns = *layout(view_kind::activity).detail_columns(detail_list::predecessors);
  ASSERT_GE(columns.size(), 2u);
  const float first = columns[0].width * 1.5f;
  const float edge = first + columns[1].width * 1.5f;  // right edge of the second column
  EXPECT_TRUE(preds.onMouseMove(0, edge + 2.0f, 10.0f));  // over the handle: sizing cursor
  EXPECT_EQ(preds.context().cursor, cursor_shape::size_we);
  EXPECT_FALSE(preds.onMouseMove(0, edge + 20.0f, 10.0f));
  EXPECT_FALSE(preds.onMouseMove(0, edge, 40.0f));  // below the header: no handle

  preds.onLButtonDown(mouse_left_held, edge - 1.0f, 10.0f);
  EXPECT_EQ(preds.resizingColumn(), 1);
  EXPECT_TRUE(preds.onMouseMove(mouse_left_held, first + 90.0f, 10.0f));
  EXPECT_FLOAT_EQ(columns[1].width, 60.0f);  // stored unscaled
  preds.onMouseMove(mouse_left_held, first + 3.0f, 10.0f);
  EXPECT_FLOAT_EQ(columns[1].width, 30.0f);  // never narrower than 30
  EXPECT_TRUE(preds.onLButtonUp(0, first + 3.0f, 10.0f));
  EXPECT_EQ(preds.resizingColumn(), -1);

  preds.onLButtonDown(mouse_left_held, first, 10.0f);  // the first column's edge
  EXPECT_EQ(preds.resizingColumn(), 0);
  preds.onMouseMove(mouse_left_held, 10.0f, 10.0f);
  EXPECT_FLOAT_EQ(columns[0].width, 50.0f);  // its rows' indentation (one level) plus 30
  preds.onLButtonUp(0, 10.0f, 10.0f);
  preds.onMouseMove(0, 500.0f, 10.0f);
  EXPECT_FLOAT_EQ(columns[0].width, 50.0f);  // no button held: nothing moves
}

TEST_F(DetailViews, SubTableRowsSelectByClick) {
  RelationshipTableView preds(0, activities_->get());
  activities_->select_activity(u"A4");
  preds.refresh();
  paint(preds);
  EXPECT_TRUE(preds.onLButtonDown(mouse_left_held, 50.0f, 18.0f * 2 + 1.0f));  // second row's top edge
  ASSERT_TRUE(preds.selectedRow());
  EXPECT_EQ(preds.selectedRow(), preds.visibleRows()[1]);
  preds.onLButtonUp(0, 50.0f, 40.0f);
  preds.onLButtonDown(mouse_left_held, 50.0f, 5.0f);  // a header click keeps the selection
  EXPECT_EQ(preds.selectedRow(), preds.visibleRows()[1]);
  preds.onLButtonDown(mouse_left_held, 50.0f, 300.0f);  // below the rows: nothing selected
  EXPECT_EQ(preds.selectedRow(), nullptr);

  // The selected row is filled and its text drawn white.
  ActivityStepTableView steps(activities_->get());
  activities_->select_activity(u"A1");
  steps.refresh();
  paint(steps);
  EXPECT_TRUE(steps.onLButtonDown(mouse_left_held, 10.0f, 18.0f + 5.0f));
  EXPECT_TRUE(steps.onLButtonUp(0, 10.0f, 18.0f + 5.0f));
  recording_surface s = paint(steps);
  bool filled = false, white_text = false;
  for (const recorded_call& c : s.calls()) {
    filled |= c.what == recorded_call::kind::fill && c.color == rgb(51, 153, 255);
    white_text |= c.what == recorded_call::kind::text && c.text == u"Survey" && c.color == rgb(255, 255, 255);
  }
  EXPECT_TRUE(filled && white_text);
  EXPECT_EQ(steps.selectionText(), u"");
}

TEST_F(DetailViews, CodeTablesListOnlyTypesWithAValueInTypeOrder) {
  ActivityCodeTableView codes(activities_->get());
  EXPECT_TRUE(codes.isActivityCodeTable() && !codes.isRelationshipTable());
  activities_->select_activity(u"A1");
  codes.refresh();
  EXPECT_FLOAT_EQ(codes.contentWidth(), 600.0f);
  const auto a1 = cells(paint(codes), codes.headerHeight());
  ASSERT_EQ(a1.size(), 2u);
  EXPECT_EQ(a1[0], (std::vector<std::u16string>{u"Phase", u"DES", u"Design"}));
  EXPECT_EQ(a1[1], (std::vector<std::u16string>{u"Area", u"NTH", u"North"}));
  EXPECT_EQ(texts(paint(codes)).back(), u"Description");

  activities_->select_activity(u"A2");
  codes.refresh();
  const auto a2 = cells(paint(codes), codes.headerHeight());
  ASSERT_EQ(a2.size(), 1u);
  EXPECT_EQ(a2[0][1], u"STH");
  // A3's only code value has no short name: no row at all.
  activities_->select_activity(u"A3");
  codes.refresh();
  EXPECT_TRUE(codes.visibleRows().empty());
  EXPECT_FLOAT_EQ(codes.contentHeight(), 18.0f);

  followed_table projects(doc(), layout(view_kind::project));
  ProjectCodeTableView project_codes(projects.get());
  projects.select([](const Row& r) { return r.project() != nullptr; });
  project_codes.refresh();
  const recording_surface ps = paint(project_codes);
  EXPECT_EQ(cells(ps, 18.0f), (std::vector<std::vector<std::u16string>>{{u"Sector", u"PUB", u"Public"}}));
  EXPECT_EQ(texts(ps)[texts(ps).size() - 3], u"Project Code");

  followed_table resources(doc(), layout(view_kind::resource));
  ResourceCodeTableView resource_codes(resources.get());
  resources.select([](const Row& r) { return r.resource() && r.resource()->rsrc_id.value == 501; });
  resource_codes.refresh();
  EXPECT_EQ(cells(paint(resource_codes), 18.0f),
            (std::vector<std::vector<std::u16string>>{{u"Trade", u"MEC", u"Mechanical"}}));
  resources.select([](const Row& r) { return r.resource() && r.resource()->rsrc_id.value == 502; });
  resource_codes.refresh();
  EXPECT_TRUE(resource_codes.visibleRows().empty());
}

TEST_F(DetailViews, StepsFollowTheSelection) {
  ActivityStepTableView steps(activities_->get());
  activities_->select_activity(u"A1");
  steps.refresh();
  EXPECT_FLOAT_EQ(steps.contentWidth(), 1200.0f);
  const auto a1 = cells(paint(steps), steps.headerHeight());
  ASSERT_EQ(a1.size(), 2u);
  EXPECT_EQ(a1[0], (std::vector<std::u16string>{u"Survey", u"Yes", u"100%", u"1.00", u"25%"}));
  EXPECT_EQ(a1[1], (std::vector<std::u16string>{u"Report", u"No", u"40%", u"3.00", u"75%"}));

  activities_->select_activity(u"A2");
  steps.refresh();
  const auto a2 = cells(paint(steps), steps.headerHeight());
  ASSERT_EQ(a2.size(), 1u);
  EXPECT_EQ(a2[0][0], u"Check");
  activities_->select_activity(u"A5");
  steps.refresh();
  EXPECT_TRUE(steps.visibleRows().empty());
  // Only the header is drawn, with the fixed captions.
  EXPECT_EQ(texts(paint(steps)), (std::vector<std::u16string>{u"Step Name", u"Completed", u"Step % Complete",
                                                              u"Step Weight", u"Step Weight Percent"}));
}

// The window's arrangement without the window: a click in the table pane
// selects, and its button up makes the Details pane show the child of its
// current tab, refreshed from the new selection.
TEST_F(DetailViews, ChildPanesFollowTabAndSelectionThroughTheHost) {
  View& table = *activities_->get();
  ActivityDetailView details(&table);
  RelationshipTableView preds(0, &table), succs(1, &table);
  ActivityCodeTableView codes(&table);
  ActivityStepTableView steps(&table);
  HostPane table_pane, details_pane, p0, p1, p2, p3;
  table_pane.set_view(&table);
  table_pane.set_client_size(800, 600);
  details_pane.set_view(&details);
  details_pane.set_client_size(800, 300);
  table_pane.set_details_pane(&details_pane);
  details_pane.set_children({&p0, &p1, &p2, &p3}, {&preds, &succs, &codes, &steps});
  recording_surface s;
  table_pane.paint(s);
  details_pane.paint(s);  // places the tabs

  // The client y of an activity's line in the table pane.
  const auto line_of = [&](std::u16string_view code) {
    for (const Row* r : table.visibleRows())
      if (r->activity() && r->activity()->task_code.value == code) return r->table_rect.y + 2.0f;
    ADD_FAILURE() << "activity not shown";
    return 0.0f;
  };
  const auto click = [](HostPane& pane, float x, float y) {
    pane.left_button_down(mouse_left_held, x, y);
    pane.left_button_up(0, x, y);
  };
  const rect_f predecessors_tab = details.tabRects()[2];
  click(details_pane, predecessors_tab.x + 3.0f, predecessors_tab.y + 3.0f);
  EXPECT_EQ(details.currentTab(), u"Predecessors");
  EXPECT_EQ(details_pane.shown_child(), 0);
  EXPECT_TRUE(preds.visibleRows().empty());  // nothing selected yet

  click(table_pane, 40.0f, line_of(u"A4"));
  EXPECT_EQ(details_pane.shown_child(), 0);
  EXPECT_EQ(p0.view(), &preds);
  EXPECT_EQ(preds.visibleRows().size(), 3u);
  click(table_pane, 40.0f, line_of(u"A5"));
  ASSERT_EQ(preds.visibleRows().size(), 1u);
  EXPECT_EQ(preds.visibleRows()[0]->relationship()->predtask->task_code.value, u"A4");

  const rect_f steps_tab = details.tabRects()[5];
  click(details_pane, steps_tab.right(), steps_tab.bottom());
  EXPECT_EQ(details_pane.shown_child(), 3);
  EXPECT_TRUE(steps.visibleRows().empty());  // A5 has none
  click(table_pane, 40.0f, line_of(u"A1"));
  EXPECT_EQ(steps.visibleRows().size(), 2u);
  click(table_pane, 40.0f, line_of(u"A2"));
  ASSERT_EQ(steps.visibleRows().size(), 1u);
  EXPECT_EQ(steps.visibleRows()[0]->activity_step()->proc_name.value, u"Check");

  const rect_f general_tab = details.tabRects()[0];
  click(details_pane, general_tab.x, general_tab.y);
  EXPECT_EQ(details_pane.shown_child(), -1);
}

TEST(DetailViewsWithoutSchedule, PaintNothingAndReportNoSize) {
  ActivityDetailView act;
  RelationshipTableView preds(0);
  ActivityCodeTableView codes;
  ActivityStepTableView steps;
  for (View* v : std::initializer_list<View*>{&act, &preds, &codes, &steps}) {
    v->refresh();
    EXPECT_TRUE(paint(*v).calls().empty());
    EXPECT_EQ(v->contentWidth(), 0.0f);
    EXPECT_EQ(v->contentHeight(), 0.0f);
  }
}

}  // namespace
